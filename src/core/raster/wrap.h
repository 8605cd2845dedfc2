// Painting on a tile: whatever leaves one edge comes back at the opposite
// one. A shape is drawn once for every whole-tile shift that brings part of
// it onto the surface, so its pixels land where (x mod W, y mod H) says.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/raster/pen.h"
#include "core/surface/fast_dib.h"

namespace vorq {

// More shifts than this per axis only redraw a shape that covers the whole
// tile many times over; the bound keeps absurd coordinates cheap.
constexpr int64_t kMaxWrapShifts = 64;

// Calls draw(dx, dy) -> PixelRect for every shift (multiples of the width and
// height) that brings the box [minX, maxX] x [minY, maxY] (inclusive) onto
// the surface; returns the union of what the calls changed.
template <typename Draw>
PixelRect DrawWrapped(const TFastDIB& s, int64_t minX, int64_t minY, int64_t maxX, int64_t maxY, Draw draw) {
  PixelRect changed;
  const int64_t W = s.Width(), H = s.Height();
  if (W <= 0 || H <= 0) return changed;
  auto floorDiv = [](int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
  // Shift k*W lands the box on [0, W) when minX + kW <= W-1 and maxX + kW >= 0.
  const int64_t kx0 = -floorDiv(maxX, W), kx1 = std::min(floorDiv(W - 1 - minX, W), kx0 + kMaxWrapShifts - 1);
  const int64_t ky0 = -floorDiv(maxY, H), ky1 = std::min(floorDiv(H - 1 - minY, H), ky0 + kMaxWrapShifts - 1);
  for (int64_t ky = ky0; ky <= ky1; ++ky)
    for (int64_t kx = kx0; kx <= kx1; ++kx) changed.Include(draw(kx * W, ky * H));
  return changed;
}

// FloodFill on a torus: the area spreads from the last column to the first,
// from the last row to the first, and back. 4-connected, like FloodFill, and
// with the same tolerance rule (each channel within tolerance of the start's).
PixelRect FloodFillWrapped(TFastDIB& surface, int x, int y, TPixel24 colour, int tolerance = 0);

}  // namespace vorq
