// Mosaic, Circle Mosaic, Cycloid Mosaic, Concentric Rects and VorqSwizzle.
// Gradient Bars and the merges live in mosaics_blend.cpp.
#include "core/effects/mosaics.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/effects/distortions.h"
#include "core/effects/geometry.h"
#include "core/raster/fill.h"
#include "core/raster/pen.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

namespace vorq {

bool MosaicCellAllowed(int CellSize, int Width, int Height) {
  return Width > 0 && Height > 0 && CellSize >= 2 && CellSize <= Width / 2 && CellSize <= Height / 2;
}

// ---------------------------------------------------------------------------
// Mosaic. Every band of c rows takes its colours from one row inside the
// band (row r c + c div 2, or the last row for the bottom strip), so each
// band is worked out into one line and copied down the band; no copy of the
// image is needed.

bool Mosaic(TFastDIB& Work, int CellSize) {
  if (Work.Empty() || !MosaicCellAllowed(CellSize, Work.Width(), Work.Height())) return false;
  const int W = Work.Width(), H = Work.Height(), c = CellSize, h = c / 2;
  const int cols = W / c, rows = H / c, wr = W % c, hr = H % c;
  const int bands = rows + (hr != 0 ? 1 : 0);
  ParallelRows(bands, [&](int begin, int end) {
    std::vector<TPixel24> line(static_cast<size_t>(W));
    for (int r = begin; r < end; ++r) {
      const bool strip = r == rows;  // the bottom strip
      const int top = r * c, height = strip ? hr : c;
      const TPixel24* src = Work.Row24(strip ? H - 1 : top + h);
      for (int q = 0; q < cols; ++q) FillPixels(&line[size_t(q * c)], size_t(c), src[q * c + h]);
      if (wr != 0) FillPixels(&line[size_t(W - wr)], size_t(wr), src[W - 1]);
      for (int j = 0; j < height; ++j) std::memcpy(Work.Row24(top + j), line.data(), size_t(W) * 3);
    }
  });
  return true;
}

// ---------------------------------------------------------------------------
// Circle Mosaic. All circles have the cell's size, so the runs of one are
// worked out once and moved to each cell. Each circle's colour is read just
// before it is drawn: no circle drawn earlier covers that pixel, so drawing
// straight into the image gives what drawing on a copy would.

bool CircleMosaic(TFastDIB& Work, int CellSize) {
  if (Work.Empty() || !MosaicCellAllowed(CellSize, Work.Width(), Work.Height())) return false;
  const int W = Work.Width(), H = Work.Height(), c = CellSize, h = c / 2;
  const int cols = W / c, rows = H / c, wr = W % c, hr = H % c;
  std::vector<RowSpan> runs(static_cast<size_t>(c));
  const FillShape circle{FillShape::Kind::Ellipse, 0, 0, c, c};
  for (int j = 0; j < c; ++j) {
    RowSpan s[2];
    if (ShapeRowSpans(circle, j, s) == 0) s[0] = RowSpan{};
    runs[size_t(j)] = s[0];
  }
  auto draw = [&](int left, int top, TPixel24 colour) {
    for (int j = 0; j < c; ++j) {
      const RowSpan& s = runs[size_t(j)];
      if (s.Lo <= s.Hi) FillPixels(Work.Row24(top + j) + left + s.Lo, size_t(s.Hi - s.Lo + 1), colour);
    }
  };
  for (int r = 0; r < rows; ++r) {
    for (int q = 0; q < cols; ++q) draw(q * c, r * c, Work.Row24(r * c + h)[q * c + h]);
    if (wr != 0) draw(W - c, r * c, Work.Row24(r * c + h)[W - 1]);
  }
  if (hr != 0) {
    for (int q = 0; q < cols; ++q) draw(q * c, H - c, Work.Row24(H - 1)[q * c + h]);
    if (wr != 0) draw(W - c, H - c, Work.Row24(H - 1)[W - 1]);
  }
  return true;
}

// ---------------------------------------------------------------------------
// Cycloid Mosaic

void CycloidMosaic(TFastDIB& Work, int CellSize) {
  if (Work.Empty()) return;
  const int W = Work.Width(), H = Work.Height();
  const int cx = W / 2, cy = H / 2, curves = cx / 6;
  // Every square's centre lies within 8 k <= W of the centre, so squares
  // wider than this cover the whole image whatever their size: the smaller
  // size draws the same pixels.
  const int64_t s = std::min<int64_t>(std::abs(int64_t(CellSize)), 2 * int64_t(std::max(W, H)) + 2);
  if (s == 0 || curves == 0) return;
  // t runs over whole radians 0 .. 360.
  double cosT[361], sinT[361], cos7T[361], sin7T[361];
  for (int t = 0; t <= 360; ++t) {
    cosT[t] = std::cos(double(t));
    sinT[t] = std::sin(double(t));
    cos7T[t] = std::cos(7.0 * t);
    sin7T[t] = std::sin(7.0 * t);
  }
  // Visits the squares in drawing order: fn(index, x, y).
  auto each = [&](auto fn) {
    int64_t n = 0;
    for (int k = 1; k <= curves; ++k)
      for (int t = 0; t <= 360; ++t, ++n) {
        const int64_t x = Nearest(7.0 * k * cosT[t] - k * cos7T[t] + cx);
        const int64_t y = Nearest(7.0 * k * sinT[t] - k * sin7T[t] + cy);
        fn(n, x, y);
      }
  };
  // The running colour 0xF08000 + 16 n, kept within 24 bits by wrapping.
  auto colour = [](int64_t n) { return PixelFromColour(uint32_t((0xF08000 + 16 * n) & 0xFFFFFF)); };
  // Squares before the last one that covers the whole image cannot show.
  int64_t first = 0;
  each([&](int64_t n, int64_t x, int64_t y) {
    if (x - s <= 0 && x + s >= W && y - s <= 0 && y + s >= H) first = n;
  });
  each([&](int64_t n, int64_t x, int64_t y) {
    if (n >= first) FillRect(Work, int(x - s), int(y - s), int(x + s), int(y + s), colour(n));
  });
}

// ---------------------------------------------------------------------------
// Concentric Rects

bool ConcentricRects(TFastDIB& Work, TFastDIB& Scratch, int SizeDifference) {
  if (!ConcentricRectsAllowed(SizeDifference)) return false;
  if (Work.Empty()) return true;
  const int64_t W = Work.Width(), H = Work.Height(), D = SizeDifference;
  // Each reduction reads the previous one: Scratch and a second surface
  // take turns (the first reads the image itself).
  TFastDIB other;
  const TFastDIB* from = &Work;
  int64_t width = W;
  for (int64_t k = D;; k += D) {
    if (width <= W / 2 - D) break;
    const int64_t nw = W - 2 * k, nh = H - 2 * k;
    if (nw < 1 || nh < 1) break;  // a side would vanish
    TFastDIB& to = from == &Scratch ? other : Scratch;
    if (!ResizeBilinearInto(*from, to, int(nw), int(nh), 1)) break;
    to.Draw(Work, int((W - nw) / 2), int((H - nh) / 2));
    from = &to;
    width = nw;
  }
  return true;
}

// ---------------------------------------------------------------------------
// VorqSwizzle

int VorqSwizzle(TFastDIB& Work, TFastDIB& Scratch, int SwizzleWidth, bool UsePeaks, bool Wrap) {
  if (Work.Empty()) return SwizzleWidth;
  const int W = Work.Width(), H = Work.Height();
  const int used = SineWaveUD(Work, Scratch, SwizzleWidth, double(W - 1), UsePeaks, Wrap);
  // The four-way mirror tile is 2W x 2H; drawn scaled into W x H it keeps
  // its columns and rows 2x and 2y, which are the waved image's m(2x) and
  // m(2y) with m(j) = j below n, else 2n - 1 - j. Picking those directly
  // gives the same pixels without building the tile.
  auto m = [](int j, int n) { return j < n ? j : 2 * n - 1 - j; };
  if (!Scratch.SetSize(W, H, 24, 0)) return used;
  std::vector<int> col(static_cast<size_t>(W));
  for (int x = 0; x < W; ++x) col[size_t(x)] = m(2 * x, W);
  ParallelRows(H, [&](int begin, int end) {
    for (int y = begin; y < end; ++y) {
      const TPixel24* src = Work.Row24(m(2 * y, H));
      TPixel24* dst = Scratch.Row24(y);
      for (int x = 0; x < W; ++x) dst[x] = src[col[size_t(x)]];
    }
  });
  CopySurface(Scratch, Work);
  return used;
}

}  // namespace vorq
