// How the canvas maps its on-screen pixels to the image: a power-of-two zoom
// (1/16x to 32x, nearest neighbour) and, in the tiled view, the image
// surrounded by its eight copies. Everything here is integer arithmetic, so a
// screen pixel always names exactly one image pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/surface/fast_dib.h"

namespace vorq {

constexpr int kMinZoomLog2 = -4;  // 1/16x
constexpr int kMaxZoomLog2 = 5;   // 32x
constexpr int kGridZoomLog2 = 3;  // the pixel grid shows from 8x

struct ViewGeometry {
  int Width = 0, Height = 0;  // the image
  int ZoomLog2 = 0;           // clamped to [kMinZoomLog2, kMaxZoomLog2]
  bool Tiled = false;         // 3 x 3 copies, the image itself in the middle
  bool Dim = false;           // the copies darker than the image
};

// Screen pixels along one axis for an image side (three sides when tiled).
int ViewExtent(const ViewGeometry& g, int side);
// Screen coordinate to image coordinate along one axis; the image proper is
// 0..side-1, copies left/above are negative, right/below are >= side.
int ViewToImage(const ViewGeometry& g, int side, int v);
// Image coordinate to the first screen coordinate showing it (the middle copy when tiled).
int ImageToView(const ViewGeometry& g, int side, int i);

// Renders screen pixels [x0, x0+w) x [y0, y0+h) as 0xffRRGGBB into out
// (stride in pixels). Pixels outside the view come out black.
// The scratch tables are the caller's, so repeated frames allocate nothing.
struct ViewScratch {
  std::vector<int32_t> Column;  // byte offset of each screen column in a row, -1 outside
};
void RenderView(const TFastDIB& src, const ViewGeometry& g, int x0, int y0, int w, int h, uint32_t* out,
                ptrdiff_t stride, ViewScratch& scratch);

}  // namespace vorq
