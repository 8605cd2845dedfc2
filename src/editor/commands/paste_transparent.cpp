// Edit ▸ Paste ▸ Transparent.
#include "core/oplog/line_shapes.h"
#include "core/raster/pen.h"
#include "editor/editor.h"

namespace vorq {

void Editor::Transparent1Click() {
  TFastDIB pasted;
  if (!ui_.ClipboardImage(pasted)) return;
  LowerLeftColor = ColourFromPixel(pasted.GetPixel(pasted.Height() - 1, 0));
  Transparent.LowerLeft = LowerLeftColor;
  Transparent.PenColor = ToolBox.PenColor;
  Transparent.Color = Transparent.ColorFor(Transparent.Mode);
  if (!ui_.EditTransparent(Transparent)) return;
  const TPixel24 key = PixelFromColour(Transparent.Color);
  Run({.Busy = false,
       .Pixels =
           [&] {
             const int w = WorkSurface.Width(), h = WorkSurface.Height();
             if (Transparent.ReSize && (pasted.Width() != w || pasted.Height() != h)) {
               // Stretched through the scratch surface, which is the image's size.
               if (ScratchSurface.SetSize(w, h, 24, 0)) {
                 pasted.StretchDraw(ScratchSurface, 0, 0, w, h);
                 ScratchSurface.DrawTransparent(WorkSurface, 0, 0, key);
                 return;
               }
             }
             pasted.DrawTransparent(WorkSurface, 0, 0, key);
           },
       .Line = [] { return WriteLine(LineKind::PasteTransparent); }});
}

}  // namespace vorq
