// New, Reset and the commands that go through the clipboard.
#include "core/oplog/line_shapes.h"
#include "core/raster/wrap.h"
#include "core/raster/pen.h"
#include "editor/editor.h"

namespace vorq {

void Editor::New1Click() {
  const uint32_t brush = ToolBox.BrushColor;
  Run({.Busy = false,
       .Pixels =
           [&] {
             const TPixel24 p = PixelFromColour(brush);
             for (int y = 0; y < WorkSurface.Height(); ++y) std::fill_n(WorkSurface.Row24(y), WorkSurface.Width(), p);
           },
       .Line = [&] { return WriteLine(LineKind::NewImage, {Int(brush)}); }});
}

void Editor::Reset1Click() {
  Run({.Busy = false,
       .Pixels = [&] { CopySurface(ResetSurface, WorkSurface); },
       .Line = [] { return WriteLine(LineKind::ImageReset); }});
}

void Editor::Copy1Click() {
  EndPreview();  // the image itself, not a preview of an effect
  ui_.SetClipboardImage(WorkSurface);
  WriteLog(WriteLine(LineKind::CopyImageToClipboard));
}

void Editor::CopyBuffertoClipboard1Click() {
  ui_.SetClipboardImage(BufferSurface);
  WriteLog(WriteLine(LineKind::CopyBufferToClipboard));
}

void Editor::ReplaceImage1Click() {
  TFastDIB pasted;
  if (!ui_.ClipboardImage(pasted)) return;
  Run({.Busy = false,
       .Pixels =
           [&] {
             WorkSurface = std::move(pasted);
             ScratchSurface.Reshape(WorkSurface.Width(), WorkSurface.Height());
           },
       .Line = [] { return WriteLine(LineKind::PasteClipboardToImage); }});
}

void Editor::PasteClipboardtoBuffer1Click() {
  TFastDIB pasted;
  if (!ui_.ClipboardImage(pasted)) return;
  BufferSurface = std::move(pasted);
  BufferFilled = true;
  ui_.BufferChanged();
  WriteLog(WriteLine(LineKind::PasteClipboardToBuffer));
}

void Editor::PasteAsSelectionAt(int x, int y) {
  TFastDIB pasted;
  if (ui_.ClipboardImage(pasted)) PlaceSelection(pasted, x, y);
}

void Editor::PlaceSelection(const TFastDIB& piece, int x, int y) {
  if (piece.Empty()) return;
  // With Wrap Painting the parts beyond an edge come back at the opposite one.
  const bool wrap = WrapPainting;
  Run({.Busy = false,
       .Pixels =
           [&] {
             if (!wrap) return piece.Draw(WorkSurface, x, y);
             DrawWrapped(WorkSurface, x, y, int64_t(x) + piece.Width() - 1, int64_t(y) + piece.Height() - 1,
                         [&](int64_t dx, int64_t dy) {
                           piece.Draw(WorkSurface, int(x + dx), int(y + dy));
                           return PixelRect{};
                         });
           },
       .Line = [&] {
         return WriteLine(wrap ? LineKind::PasteAsSelectionWrap : LineKind::PasteAsSelection, {Int(x), Int(y)});
       }});
}

}  // namespace vorq
