#include "core/raster/pen.h"

#include <algorithm>
#include <array>
#include <limits>

namespace vorq {

namespace {

constexpr std::array<const char*, kPenModeCount> kPenModeNames{
    "Normal",      "MaskNotPen",  "MaskPen",    "MaskPenNot", "MergeNotPen", "MergePen",
    "MergePenNot", "NotCopyPen", "NotMaskPen", "NotMergePen", "NotXORPen",   "XORPen"};

// For each surface row a line touches, the first and last column its discs
// cover. Consecutive points of a line are neighbours and every disc row
// includes the disc's centre column, so within one row the discs of one line
// always join into a single run.
struct RowRuns {
  int64_t First = 0;  // surface row of Lo[0]
  std::vector<int64_t> Lo, Hi;
  bool Empty(size_t k) const { return Lo[k] > Hi[k]; }
};

// Index range [lo, hi] of the steps i in [0, n) whose major coordinate
// start + s * i lies in [a, b]; empty when lo > hi.
void StepRange(int64_t start, int s, int64_t a, int64_t b, int64_t n, int64_t& lo, int64_t& hi) {
  if (s > 0) {
    lo = a - start;
    hi = b - start;
  } else {
    lo = start - b;
    hi = start - a;
  }
  lo = std::max<int64_t>(lo, 0);
  hi = std::min<int64_t>(hi, n - 1);
}

// The runs of the line (x0, y0) -> (x1, y1), end excluded, drawn with shape.
// Only rows and steps that can reach the surface are visited, so far-away
// coordinates cost nothing.
bool LineRuns(const TFastDIB& s, int64_t x0, int64_t y0, int64_t x1, int64_t y1, const PenShape& shape,
              RowRuns& runs) {
  const int64_t w = s.Width(), h = s.Height();
  if (w <= 0 || h <= 0) return false;
  const int64_t dx = x1 - x0, dy = y1 - y0;
  const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const int64_t n = std::max(adx, ady);
  if (n == 0) return false;
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const bool xMajor = adx >= ady;
  const int64_t below = shape.Half, above = shape.Width - 1 - shape.Half;  // disc extent either side

  int64_t iLo, iHi;
  if (xMajor)
    StepRange(x0, sx, -above, w - 1 + below, n, iLo, iHi);
  else
    StepRange(y0, sy, -above, h - 1 + below, n, iLo, iHi);
  if (iLo > iHi) return false;

  const int64_t firstRow = std::max<int64_t>(0, std::min(y0, y1) - below);
  const int64_t lastRow = std::min<int64_t>(h - 1, std::max(y0, y1) + above);
  if (firstRow > lastRow) return false;
  runs.First = firstRow;
  runs.Lo.assign(size_t(lastRow - firstRow + 1), std::numeric_limits<int64_t>::max());
  runs.Hi.assign(runs.Lo.size(), std::numeric_limits<int64_t>::min());

  const int64_t minorDelta = xMajor ? ady : adx;
  bool any = false;
  for (int64_t i = iLo; i <= iHi; ++i) {
    // round(i * minorDelta / n), halves towards the start; 128 bits because
    // both factors may be near 2^32.
    const int64_t step = int64_t((__int128(2) * i * minorDelta + n - 1) / (__int128(2) * n));
    const int64_t cx = xMajor ? x0 + sx * i : x0 + sx * step;
    const int64_t cy = xMajor ? y0 + sy * step : y0 + sy * i;
    const int64_t kFrom = std::max<int64_t>(0, firstRow - (cy - below));
    const int64_t kTo = std::min<int64_t>(shape.Width - 1, lastRow - (cy - below));
    for (int64_t k = kFrom; k <= kTo; ++k) {
      const size_t r = size_t(cy - below + k - firstRow);
      runs.Lo[r] = std::min(runs.Lo[r], cx + shape.Lo[size_t(k)]);
      runs.Hi[r] = std::max(runs.Hi[r], cx + shape.Hi[size_t(k)]);
      any = true;
    }
  }
  return any;
}

}  // namespace

const char* PenModeName(int mode) {
  return mode >= 0 && mode < kPenModeCount ? kPenModeNames[size_t(mode)] : kPenModeNames[0];
}

int PenModeFromName(std::string_view name) {
  for (int i = 0; i < kPenModeCount; ++i)
    if (name == kPenModeNames[size_t(i)]) return i;
  return -1;
}

PenMode PenModeFromIndex(int index) {
  return index >= 0 && index < kPenModeCount ? PenMode(index) : PenMode::Normal;
}

void PixelRect::Include(const PixelRect& r) {
  if (r.Empty()) return;
  if (Empty()) {
    *this = r;
    return;
  }
  Left = std::min(Left, r.Left);
  Top = std::min(Top, r.Top);
  Right = std::max(Right, r.Right);
  Bottom = std::max(Bottom, r.Bottom);
}

PenShape::PenShape(int width) : Width(ClampPenWidth(width)), Half((Width - 1) / 2) {
  // Pixel centres inside the circle of diameter Width around the disc's
  // centre, in doubled units so that even widths (centre between pixels)
  // stay integral.
  const int odd = (Width - 1) - 2 * Half;  // 0 for odd widths, 1 for even
  const int64_t r2 = int64_t(Width) * Width;
  Lo.resize(size_t(Width));
  Hi.resize(size_t(Width));
  for (int k = 0; k < Width; ++k) {
    const int64_t v = 2 * (k - Half) - odd;
    int d = 0;  // columns either side of the centre column(s)
    while (true) {
      const int64_t u = 2 * (d + 1) + odd;  // doubled offset of the next column out
      if (u * u + v * v > r2) break;
      ++d;
    }
    Lo[size_t(k)] = -d;
    Hi[size_t(k)] = d + odd;
  }
}

void PlotPixel(TFastDIB& surface, int x, int y, const Pen& pen) {
  if (x < 0 || y < 0 || x >= surface.Width() || y >= surface.Height()) return;
  TPixel24* p = surface.Row24(y) + x;
  *p = ApplyPenMode(pen.Mode, *p, pen.Color);
}

void ApplySpan(TFastDIB& surface, int y, int64_t x0, int64_t x1, TPixel24 colour, PenMode mode) {
  if (y < 0 || y >= surface.Height()) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, int64_t(surface.Width()) - 1);
  if (x0 > x1) return;
  TPixel24* row = surface.Row24(y);
  if (mode == PenMode::Normal) {
    std::fill(row + x0, row + x1 + 1, colour);
    return;
  }
  for (int64_t x = x0; x <= x1; ++x) row[x] = ApplyPenMode(mode, row[x], colour);
}

PixelRect DrawPenLine(TFastDIB& surface, int x0, int y0, int x1, int y1, const Pen& pen) {
  const PenShape shape(pen.Width);
  RowRuns runs;
  PixelRect changed;
  if (!LineRuns(surface, x0, y0, x1, y1, shape, runs)) return changed;
  for (size_t k = 0; k < runs.Lo.size(); ++k) {
    if (runs.Empty(k)) continue;
    const int64_t lo = std::max<int64_t>(runs.Lo[k], 0);
    const int64_t hi = std::min<int64_t>(runs.Hi[k], surface.Width() - 1);
    if (lo > hi) continue;
    const int y = int(runs.First + int64_t(k));
    ApplySpan(surface, y, lo, hi, pen.Color, pen.Mode);
    changed.Include(PixelRect{int(lo), y, int(hi) + 1, y + 1});
  }
  return changed;
}

PenStroke::PenStroke(TFastDIB& surface, const Pen& pen, int x, int y)
    : surface_(surface), pen_(pen), shape_(pen.Width), x_(x), y_(y), width_(-1), height_(-1) {
  pen_.Width = shape_.Width;
  ResetMask();
}

void PenStroke::ResetMask() {
  width_ = surface_.Width();
  height_ = surface_.Height();
  if (!PenModeIdempotent(pen_.Mode)) done_.assign((size_t(width_) * size_t(height_) + 63) / 64, 0);
}

PixelRect PenStroke::LineTo(int x, int y) {
  PixelRect changed;
  // The surface may have been replaced between two calls (an Undo in the
  // middle of a stroke); the mask then starts afresh for the new pixels.
  if (surface_.Width() != width_ || surface_.Height() != height_) ResetMask();
  RowRuns runs;
  const bool any = LineRuns(surface_, x_, y_, x, y, shape_, runs);
  x_ = x;
  y_ = y;
  if (!any) return changed;
  const size_t w = size_t(surface_.Width());
  for (size_t k = 0; k < runs.Lo.size(); ++k) {
    if (runs.Empty(k)) continue;
    const int64_t lo = std::max<int64_t>(runs.Lo[k], 0);
    const int64_t hi = std::min<int64_t>(runs.Hi[k], int64_t(w) - 1);
    if (lo > hi) continue;
    const int row = int(runs.First + int64_t(k));
    if (done_.empty()) {
      ApplySpan(surface_, row, lo, hi, pen_.Color, pen_.Mode);
    } else {
      TPixel24* p = surface_.Row24(row);
      for (int64_t c = lo; c <= hi; ++c) {
        const size_t bit = size_t(row) * w + size_t(c);
        uint64_t& word = done_[bit / 64];
        const uint64_t mask = uint64_t(1) << (bit % 64);
        if (word & mask) continue;
        word |= mask;
        p[c] = ApplyPenMode(pen_.Mode, p[c], pen_.Color);
      }
    }
    changed.Include(PixelRect{int(lo), row, int(hi) + 1, row + 1});
  }
  return changed;
}

PixelRect DrawPolyline(TFastDIB& surface, std::span<const PenPoint> points, const Pen& pen) {
  PixelRect changed;
  if (points.empty()) return changed;
  PenStroke stroke(surface, pen, points[0].X, points[0].Y);
  for (size_t i = 1; i < points.size(); ++i) changed.Include(stroke.LineTo(points[i].X, points[i].Y));
  return changed;
}

}  // namespace vorq
