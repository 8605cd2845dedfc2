// New, Reset and the commands that go through the clipboard.
#include "core/oplog/line_shapes.h"
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
             ScratchSurface.SetSize(WorkSurface.Width(), WorkSurface.Height(), 24, 0);
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
  Run({.Busy = false,
       .Pixels = [&] { piece.Draw(WorkSurface, x, y); },
       .Line = [&] { return WriteLine(LineKind::PasteAsSelection, {Int(x), Int(y)}); }});
}

}  // namespace vorq
