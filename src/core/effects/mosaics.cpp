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

namespace {

struct Centre {
  int64_t x, y;
};

// The running colour of square n: 0xF08000 + 16 n, kept within 24 bits by
// wrapping.
TPixel24 CycloidColour(int64_t n) { return PixelFromColour(uint32_t((0xF08000 + 16 * n) & 0xFFFFFF)); }

// All squares have the same size, so pixel (x, y) shows the last square whose
// centre lies in (x - s, x + s] x (y - s, y + s]: the largest index there.
// Rows are swept top to bottom; each centre column keeps the squares whose
// rows reach the current row in a deque of falling indices, and a second such
// deque runs along the row over the columns. The work is about (W + the
// columns with centres) per row, whatever s is.
void SweepSquares(TFastDIB& Work, const std::vector<Centre>& sq, int64_t s) {
  const int64_t W = Work.Width(), H = Work.Height();
  std::vector<int32_t> order;  // squares that reach the image, by centre row
  for (size_t n = 0; n < sq.size(); ++n)
    if (sq[n].x - s < W && sq[n].x + s > 0 && sq[n].y - s < H && sq[n].y + s > 0) order.push_back(int32_t(n));
  if (order.empty()) return;
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return sq[size_t(a)].y < sq[size_t(b)].y; });
  int64_t lo = INT64_MAX, hi = INT64_MIN;
  for (int32_t n : order) lo = std::min(lo, sq[size_t(n)].x), hi = std::max(hi, sq[size_t(n)].x);
  const size_t cols = size_t(hi - lo + 1);
  std::vector<std::vector<int32_t>> column(cols);
  std::vector<size_t> head(cols, 0);
  std::vector<int32_t> best(cols, -1), along(cols);
  size_t next = 0;
  for (int64_t y = 0; y < H; ++y) {
    for (; next < order.size() && sq[size_t(order[next])].y <= y + s; ++next) {
      const int32_t n = order[next];
      const size_t c = size_t(sq[size_t(n)].x - lo);
      std::vector<int32_t>& q = column[c];
      while (q.size() > head[c] && q.back() <= n) q.pop_back();
      q.push_back(n);
    }
    for (size_t c = 0; c < cols; ++c) {
      const std::vector<int32_t>& q = column[c];
      while (head[c] < q.size() && sq[size_t(q[head[c]])].y <= y - s) ++head[c];
      best[c] = head[c] < q.size() ? q[head[c]] : -1;
    }
    TPixel24* row = Work.Row24(int(y));
    size_t qh = 0, qt = 0;
    int64_t add = std::max(lo, 1 - s);  // next centre column to enter
    for (int64_t x = 0; x < W; ++x) {
      for (; add <= std::min(hi, x + s); ++add) {
        const size_t c = size_t(add - lo);
        if (best[c] < 0) continue;
        while (qt > qh && best[size_t(along[qt - 1])] <= best[c]) --qt;
        along[qt++] = int32_t(c);
      }
      while (qh < qt && int64_t(along[qh]) + lo <= x - s) ++qh;
      if (qh < qt) row[x] = CycloidColour(best[size_t(along[qh])]);
    }
  }
}

}  // namespace

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
  std::vector<Centre> sq;
  sq.reserve(size_t(curves) * 361);
  for (int k = 1; k <= curves; ++k)
    for (int t = 0; t <= 360; ++t)
      sq.push_back(
          Centre{Nearest(7.0 * k * cosT[t] - k * cos7T[t] + cx), Nearest(7.0 * k * sinT[t] - k * sin7T[t] + cy)});
  // Small squares are painted one after the other; when that would paint
  // the image over many times, the sweep finds each pixel's last square.
  const int64_t side = 2 * s;
  if (int64_t(sq.size()) * std::min<int64_t>(side, W) * std::min<int64_t>(side, H) > 16 * int64_t(W) * H) {
    SweepSquares(Work, sq, s);
    return;
  }
  for (size_t n = 0; n < sq.size(); ++n)
    FillRect(Work, int(sq[n].x - s), int(sq[n].y - s), int(sq[n].x + s), int(sq[n].y + s), CycloidColour(int64_t(n)));
}

// ---------------------------------------------------------------------------
// Concentric Rects

bool ConcentricRects(TFastDIB& Work, TFastDIB& Scratch, int SizeDifference) {
  if (!ConcentricRectsAllowed(SizeDifference)) return false;
  if (Work.Empty()) return true;
  const int64_t W = Work.Width(), H = Work.Height(), D = SizeDifference;
  int stages = 0;
  for (int64_t k = D, width = W; width > W / 2 - D && W - 2 * k >= 1 && H - 2 * k >= 1; k += D, ++stages)
    width = W - 2 * k;
  if (stages > 0 && ResizeBilinearNested(Work, Scratch, SizeDifference, stages)) Work.Swap(Scratch);
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
