#include "core/surface/view_render.h"

#include <algorithm>
#include <cstring>

namespace vorq {

namespace {

int Zoom(const ViewGeometry& g) { return std::clamp(g.ZoomLog2, kMinZoomLog2, kMaxZoomLog2); }

// Screen coordinate to the coordinate in the plane of copies (0..3*side-1 when tiled).
int64_t ToPlane(int zoom, int64_t v) { return zoom >= 0 ? (v >> zoom) : v * (int64_t(1) << -zoom); }

// Dimmed copies: half the contrast around mid grey, so they read as "not the image".
inline uint32_t Dimmed(uint32_t c) { return 0xff000000u | (((c >> 1) & 0x7f7f7fu) + 0x404040u); }

}  // namespace

int ViewExtent(const ViewGeometry& g, int side) {
  const int zoom = Zoom(g);
  const int64_t plane = int64_t(std::max(side, 0)) * (g.Tiled ? 3 : 1);
  if (zoom >= 0) return int(plane << zoom);
  const int64_t step = int64_t(1) << -zoom;
  return int((plane + step - 1) / step);
}

int ViewToImage(const ViewGeometry& g, int side, int v) {
  return int(ToPlane(Zoom(g), v) - (g.Tiled ? side : 0));
}

int ImageToView(const ViewGeometry& g, int side, int i) {
  const int zoom = Zoom(g);
  const int64_t p = int64_t(i) + (g.Tiled ? side : 0);
  if (zoom >= 0) return int(p * (int64_t(1) << zoom));
  // The first screen pixel whose plane coordinate reaches p.
  const int64_t step = int64_t(1) << -zoom;
  return int(p >= 0 ? (p + step - 1) / step : -((-p) / step));
}

void RenderView(const TFastDIB& src, const ViewGeometry& g, int x0, int y0, int w, int h, uint32_t* out,
                ptrdiff_t stride, ViewScratch& scratch) {
  if (w <= 0 || h <= 0) return;
  const int W = src.Width(), H = src.Height();
  const int zoom = Zoom(g);
  const int copies = g.Tiled ? 3 : 1;
  const bool dim = g.Tiled && g.Dim;
  // One table for the columns: where each reads in a row, and which of them
  // show the image itself rather than a copy (a single run, as the middle copy is one).
  scratch.Column.resize(size_t(w));
  int32_t* col = scratch.Column.data();
  int mid0 = w, mid1 = w;
  for (int i = 0; i < w; ++i) {
    const int64_t p = ToPlane(zoom, int64_t(x0) + i);
    if (W <= 0 || p < 0 || p >= int64_t(W) * copies) {
      col[i] = -1;
      continue;
    }
    col[i] = int32_t(3 * (p % W));
    if (!g.Tiled || p / W == 1) {
      if (mid0 == w) mid0 = i;
      mid1 = i + 1;
    }
  }
  int64_t lastRow = -2;  // plane row of the screen row above, to copy rather than recompute
  uint32_t* prev = nullptr;
  for (int j = 0; j < h; ++j) {
    uint32_t* o = out + ptrdiff_t(j) * stride;
    const int64_t p = ToPlane(zoom, int64_t(y0) + j);
    const bool inside = H > 0 && p >= 0 && p < int64_t(H) * copies;
    const int64_t row = inside ? p : -1;
    if (prev && row == lastRow) {
      std::memcpy(o, prev, size_t(w) * sizeof(uint32_t));
      prev = o;
      continue;
    }
    lastRow = row;
    prev = o;
    if (!inside) {
      std::fill(o, o + w, 0xff000000u);
      continue;
    }
    const uint8_t* s = src.RowTable[p % H];
    for (int i = 0; i < w; ++i) {
      const int32_t at = col[i];
      o[i] = at < 0 ? 0xff000000u
                    : 0xff000000u | uint32_t(s[at + 2]) << 16 | uint32_t(s[at + 1]) << 8 | uint32_t(s[at]);
    }
    if (!dim) continue;
    if (p / H != 1) {
      for (int i = 0; i < w; ++i) o[i] = Dimmed(o[i]);
    } else {
      for (int i = 0; i < mid0; ++i) o[i] = Dimmed(o[i]);
      for (int i = mid1; i < w; ++i) o[i] = Dimmed(o[i]);
    }
  }
}

}  // namespace vorq
