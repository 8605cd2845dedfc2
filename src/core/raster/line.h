// One-pixel solid lines on a 24-bit surface, the way a drawing canvas's
// LineTo draws them: the start point is drawn, the end point is not.
//
// Rasterisation: Bresenham's midpoint rule. The major axis is x when
// |dx| >= |dy|, else y; step k = 0 .. len-1 (len = the major length) plots
// the minor offset round(k * minor / len), an exact half rounding towards
// the start point (the classic "step when the error is > 0"). The pixels do
// not depend on clipping: only the part inside the surface is visited, so a
// line far beyond the surface costs nothing.
#pragma once

#include "core/surface/fast_dib.h"

namespace vorq {

// Draws from (x0, y0) towards (x1, y1), end point excluded, clipped to the surface.
void LineTo(TFastDIB& Surface, int x0, int y0, int x1, int y1, TPixel24 Colour);
// The part of that line within rows RowBegin .. RowEnd-1: the same pixels,
// so bands of rows can be drawn on different cores.
void LineToRows(TFastDIB& Surface, int x0, int y0, int x1, int y1, TPixel24 Colour, int RowBegin, int RowEnd);

// A pen with a current point, as a canvas keeps it.
class Canvas {
 public:
  explicit Canvas(TFastDIB& target) : Target(target) {}
  TPixel24 PenColour{0, 0, 0};
  int PenX = 0, PenY = 0;

  void MoveTo(int x, int y) {
    PenX = x;
    PenY = y;
  }
  // Line from the current point to (x, y), which becomes the current point.
  void LineTo(int x, int y) {
    vorq::LineTo(Target, PenX, PenY, x, y, PenColour);
    MoveTo(x, y);
  }

 private:
  TFastDIB& Target;
};

}  // namespace vorq
