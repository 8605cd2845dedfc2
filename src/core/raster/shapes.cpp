#include "core/raster/shapes.h"
#include "core/raster/wrap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace vorq {

namespace {

struct Box {
  int64_t Left, Top, Right, Bottom;  // Right and Bottom excluded
  bool Empty() const { return Right <= Left || Bottom <= Top; }
};

Box BoxOf(int x0, int y0, int x1, int y1) {
  return Box{std::min<int64_t>(x0, x1), std::min<int64_t>(y0, y1), std::max<int64_t>(x0, x1),
             std::max<int64_t>(y0, y1)};
}

// Applies [x0, x1] of row y and records what changed.
void Span(TFastDIB& s, int64_t y, int64_t x0, int64_t x1, TPixel24 colour, PenMode mode, PixelRect& changed) {
  if (y < 0 || y >= s.Height()) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, int64_t(s.Width()) - 1);
  if (x0 > x1) return;
  ApplySpan(s, int(y), x0, x1, colour, mode);
  changed.Include(PixelRect{int(x0), int(y), int(x1) + 1, int(y) + 1});
}

// Columns [l, r] of row y whose centres lie inside the ellipse with centre
// (cx, cy) and semi-axes a, b; false when there are none.
bool EllipseRow(double cx, double cy, double a, double b, int64_t y, int64_t& l, int64_t& r) {
  if (a <= 0 || b <= 0) return false;
  const double t = (double(y) - cy) / b;
  const double q = 1.0 - t * t;
  if (q < 0) return false;
  const double hw = a * std::sqrt(q);
  l = int64_t(std::ceil(cx - hw));
  r = int64_t(std::floor(cx + hw));
  return l <= r;
}

}  // namespace

PixelRect DrawRectangle(TFastDIB& s, int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) {
  PixelRect changed;
  const Box b = BoxOf(x0, y0, x1, y1);
  if (b.Empty() || s.Width() <= 0 || s.Height() <= 0) return changed;
  const PenShape shape(pen.Width);
  const int64_t w = shape.Width, half = shape.Half;
  // Outer edge of the outline, and the inside it leaves (may be empty).
  const int64_t oL = b.Left - half, oR = b.Right - 1 - half + w - 1;
  const int64_t oT = b.Top - half, oB = b.Bottom - 1 - half + w - 1;
  const int64_t iL = oL + w, iR = b.Right - 1 - half - 1;
  const int64_t iT = oT + w, iB = b.Bottom - 1 - half - 1;
  const bool inside = iL <= iR && iT <= iB;
  const int64_t yFrom = std::max<int64_t>(oT, 0), yTo = std::min<int64_t>(oB, s.Height() - 1);
  for (int64_t y = yFrom; y <= yTo; ++y) {
    if (inside && y >= iT && y <= iB) {
      Span(s, y, oL, iL - 1, pen.Color, pen.Mode, changed);
      Span(s, y, iR + 1, oR, pen.Color, pen.Mode, changed);
      if (brush.Solid) Span(s, y, iL, iR, brush.Color, pen.Mode, changed);
    } else {
      Span(s, y, oL, oR, pen.Color, pen.Mode, changed);
    }
  }
  return changed;
}

PixelRect DrawEllipse(TFastDIB& s, int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) {
  PixelRect changed;
  const Box b = BoxOf(x0, y0, x1, y1);
  if (b.Empty() || s.Width() <= 0 || s.Height() <= 0) return changed;
  const double w = ClampPenWidth(pen.Width);
  const double cx = double(b.Left + b.Right - 1) / 2, cy = double(b.Top + b.Bottom - 1) / 2;
  const double a = double(b.Right - b.Left - 1) / 2, bb = double(b.Bottom - b.Top - 1) / 2;
  const double oa = a + w / 2, ob = bb + w / 2, ia = a - w / 2, ib = bb - w / 2;
  const int64_t yFrom = std::max<int64_t>(int64_t(std::ceil(cy - ob)), 0);
  const int64_t yTo = std::min<int64_t>(int64_t(std::floor(cy + ob)), s.Height() - 1);
  // The outer ellipse's run of a row; empty (lo > hi) where it has none.
  auto outer = [&](int64_t y, int64_t& lo, int64_t& hi) {
    if (!EllipseRow(cx, cy, oa, ob, y, lo, hi)) {
      lo = 1;
      hi = 0;
    }
  };
  int64_t pl, pr, ol, orr, nl, nr;  // outer runs of the rows above, this and below
  outer(yFrom - 1, pl, pr);
  outer(yFrom, ol, orr);
  for (int64_t y = yFrom; y <= yTo; ++y) {
    outer(y + 1, nl, nr);
    if (ol <= orr) {
      // The inside: within the inner ellipse and at least one pixel in from
      // the outer edge in all four directions. For thin pens on narrow
      // ellipses the band alone can break where the curve runs steeply;
      // keeping the inside off the outer edge keeps the outline closed.
      int64_t il = 1, ir = 0;
      if (EllipseRow(cx, cy, ia, ib, y, il, ir)) {
        il = std::max({il, ol + 1, pl, nl});
        ir = std::min({ir, orr - 1, pr, nr});
      }
      if (il <= ir) {
        Span(s, y, ol, il - 1, pen.Color, pen.Mode, changed);
        Span(s, y, ir + 1, orr, pen.Color, pen.Mode, changed);
        if (brush.Solid) Span(s, y, il, ir, brush.Color, pen.Mode, changed);
      } else {
        Span(s, y, ol, orr, pen.Color, pen.Mode, changed);
      }
    }
    pl = ol;
    pr = orr;
    ol = nl;
    orr = nr;
  }
  return changed;
}

// One scan-line fill for the plain and the wrapped flood fill. A popped seed
// still open grows into its whole run, which is filled at once, and every
// open run touching it in the rows above and below becomes one new seed.
// Wrapped, a run may go over the side edges (at most the whole row) and the
// rows above the first and below the last are the last and the first;
// columns are then kept unwrapped as l..r and taken modulo W. With a
// tolerance, filled pixels may still be near the start's colour, so a mask
// says which are done.
template <bool Wrap>
PixelRect FillFrom(TFastDIB& s, int x, int y, TPixel24 colour, int tolerance) {
  PixelRect changed;
  const int w = s.Width(), h = s.Height();
  if (x < 0 || y < 0 || x >= w || y >= h) return changed;
  const int t = std::clamp(tolerance, 0, 255);
  const TPixel24 target = s.GetPixel(y, x);
  if (t == 0 && target == colour) return changed;
  std::vector<uint8_t> done(t > 0 ? size_t(w) * size_t(h) : 0, 0);
  auto open = [&](int cx, int cy, const TPixel24* row) {
    const TPixel24& p = row[cx];
    if (t == 0) return p == target;
    return !done[size_t(cy) * size_t(w) + size_t(cx)] && std::abs(int(p.R) - int(target.R)) <= t &&
           std::abs(int(p.G) - int(target.G)) <= t && std::abs(int(p.B) - int(target.B)) <= t;
  };
  auto at = [w](int c) {  // |c| stays below 2w
    if constexpr (Wrap) return c < 0 ? c + w : (c >= w ? c - w : c);
    return c;
  };
  struct Seed {
    int X, Y;
  };
  std::vector<Seed> stack{{x, y}};
  while (!stack.empty()) {
    const Seed seed = stack.back();
    stack.pop_back();
    TPixel24* row = s.Row24(seed.Y);
    if (!open(seed.X, seed.Y, row)) continue;
    int l = seed.X, r = seed.X;
    if constexpr (Wrap) {
      while (r - l + 1 < w && open(at(l - 1), seed.Y, row)) --l;
      while (r - l + 1 < w && open(at(r + 1), seed.Y, row)) ++r;
    } else {
      while (l > 0 && open(l - 1, seed.Y, row)) --l;
      while (r < w - 1 && open(r + 1, seed.Y, row)) ++r;
    }
    for (int c = l; c <= r; ++c) {
      row[at(c)] = colour;
      if (t > 0) done[size_t(seed.Y) * size_t(w) + size_t(at(c))] = 1;
    }
    if (l < 0 || r >= w)
      changed.Include(PixelRect{0, seed.Y, w, seed.Y + 1});
    else
      changed.Include(PixelRect{l, seed.Y, r + 1, seed.Y + 1});
    for (const int dy : {-1, 1}) {
      int ny = seed.Y + dy;
      if constexpr (Wrap) {
        ny = (ny + h) % h;
      } else if (ny < 0 || ny >= h) {
        continue;
      }
      const TPixel24* next = s.Row24(ny);
      for (int c = l; c <= r;) {
        if (open(at(c), ny, next)) {
          stack.push_back({at(c), ny});
          while (c <= r && open(at(c), ny, next)) ++c;
        } else {
          ++c;
        }
      }
    }
  }
  return changed;
}

PixelRect FloodFill(TFastDIB& s, int x, int y, TPixel24 colour) { return FillFrom<false>(s, x, y, colour, 0); }

PixelRect FloodFill(TFastDIB& s, int x, int y, TPixel24 colour, int tolerance) {
  return FillFrom<false>(s, x, y, colour, tolerance);
}

PixelRect FloodFillWrapped(TFastDIB& s, int x, int y, TPixel24 colour, int tolerance) {
  return FillFrom<true>(s, x, y, colour, tolerance);
}

}  // namespace vorq
