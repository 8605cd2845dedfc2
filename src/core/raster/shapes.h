// Rectangles, ellipses and flood fill on a 24-bit surface.
//
// A shape is given by two corner points in any order; its box is
// [min x, max x) x [min y, max y): the larger coordinate is excluded, as the
// end point of a line is. A box of zero width or height draws nothing.
//
// Rectangle: the outline is the one-pixel border of the box thickened to the
// pen width, centred on the border the same way a pen disc is centred on its
// point (offsets -(w-1)/2 .. w/2); corners stay square. The brush fills what
// lies inside the outline.
//
// Ellipse: the ellipse inscribed in the box passes through the centres of the
// box's outermost pixels. The outline is the band between that ellipse grown
// and shrunk by half the pen width (semi-axes a + w/2 and a - w/2), taken
// at pixel centres; the brush fills what lies inside the band. Where a thin
// band would break (steep parts of narrow ellipses) the inside is kept one
// pixel off the outer edge, so the outline always encloses its inside.
//
// Each pixel is changed at most once per shape; everything is clipped to the
// surface.
#pragma once

#include <cstdint>

#include "core/raster/pen.h"
#include "core/surface/fast_dib.h"

namespace vorq {

struct Brush {
  TPixel24 Color{255, 255, 255};
  bool Solid = true;  // false: hollow, the inside is left alone
};

PixelRect DrawRectangle(TFastDIB& surface, int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush);
PixelRect DrawEllipse(TFastDIB& surface, int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush);

// Replaces the 4-connected area of pixels that have the colour of (x, y) with
// colour. Nothing happens outside the surface or when the area already has
// that colour. Uses an explicit stack of row runs, so any area size is safe.
// Returns the part of the surface changed.
PixelRect FloodFill(TFastDIB& surface, int x, int y, TPixel24 colour);

// The same with a tolerance: a pixel belongs to the area when none of its
// channels differs from (x, y)'s by more than tolerance (0 is the exact
// match above; below 0 counts as 0, above 255 as 255). A pixel is filled at
// most once, so a colour inside the tolerance cannot make it loop.
PixelRect FloodFill(TFastDIB& surface, int x, int y, TPixel24 colour, int tolerance);

}  // namespace vorq
