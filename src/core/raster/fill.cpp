#include "core/raster/fill.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/util/parallel.h"

namespace vorq {

namespace {

constexpr int64_t kLimit = int64_t(1) << 28;
constexpr int64_t kNone = INT64_MIN, kAll = INT64_MAX;

int64_t Clamp(int64_t v) { return std::clamp(v, -kLimit, kLimit); }

struct Box {
  int64_t L, T, R, B;  // R and B excluded
  bool Empty() const { return R <= L || B <= T; }
  bool operator==(const Box&) const = default;
};

Box BoxOf(const FillShape& s) {
  const int64_t x0 = Clamp(s.x0), x1 = Clamp(s.x1), y0 = Clamp(s.y0), y1 = Clamp(s.y1);
  return Box{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Columns of row y inside the ellipse inscribed in b. In doubled
// coordinates relative to the centre, u = 2x - (L + R - 1) and
// v = 2y - (T + B - 1); inside means u^2 (B - T)^2 + v^2 (R - L)^2 <=
// (R - L)^2 (B - T)^2.
RowSpan EllipseSpan(const Box& b, int64_t y) {
  RowSpan none;
  if (b.Empty()) return none;
  const int64_t rx = b.R - b.L, bh = b.B - b.T;
  const int64_t v = 2 * y - (b.T + b.B - 1), s = b.L + b.R - 1;
  if (v > bh || v < -bh) return none;
  using U = unsigned __int128;
  const U k = U(uint64_t(rx) * uint64_t(rx)) * U(uint64_t(bh * bh - v * v));
  // Largest m with (m bh)^2 <= k: a floating estimate, then exact steps.
  int64_t m = int64_t(double(rx) * std::sqrt(double(bh * bh - v * v)) / double(bh));
  m = std::clamp<int64_t>(m, 0, rx);
  auto fits = [&](int64_t t) {
    const uint64_t q = uint64_t(t) * uint64_t(bh);
    return U(q) * U(q) <= k;
  };
  while (m > 0 && !fits(m)) --m;
  while (m < rx && fits(m + 1)) ++m;
  if (((m ^ s) & 1) != 0) --m;  // u and s have the same parity
  if (m < 0) return none;
  return RowSpan{(s - m) / 2, (s + m) / 2};
}

// Columns x of row v (doubled, centred) with cross(ray, (2x - cx2, v)) >= 0
// as a closed half-line [lo, hi]; kNone/kAll stand for unbounded ends and
// lo > hi for nothing.
RowSpan RightOfRay(int64_t rx, int64_t ry, int64_t cx2, int64_t v) {
  // rx v - ry (2x - cx2) >= 0  <=>  2 ry x <= rx v + ry cx2
  const int64_t a = 2 * ry, c = rx * v + ry * cx2;
  if (a > 0) return RowSpan{kNone, FloorDiv(c, a)};
  if (a < 0) return RowSpan{-FloorDiv(c, -a), kAll};  // ceil(c / a) for a < 0
  return c >= 0 ? RowSpan{kNone, kAll} : RowSpan{};
}

RowSpan Intersect(RowSpan a, RowSpan b) { return RowSpan{std::max(a.Lo, b.Lo), std::min(a.Hi, b.Hi)}; }

int PieSpans(const FillShape& sh, const Box& b, const RowSpan& ellipse, int64_t y, RowSpan out[2]) {
  if (ellipse.Lo > ellipse.Hi) return 0;
  const int64_t cx2 = b.L + b.R - 1, cy2 = b.T + b.B - 1, v = 2 * y - cy2;
  const int64_t ax = 2 * Clamp(sh.ax) - cx2, ay = 2 * Clamp(sh.ay) - cy2;
  const int64_t bx = 2 * Clamp(sh.bx) - cx2, by = 2 * Clamp(sh.by) - cy2;
  if ((ax == 0 && ay == 0) || (bx == 0 && by == 0)) return 0;
  const int64_t cross = ax * by - ay * bx, dot = ax * bx + ay * by;
  const RowSpan afterA = RightOfRay(ax, ay, cx2, v);
  if (cross == 0) {
    if (dot > 0) return 0;  // the same ray twice
    const RowSpan r = Intersect(afterA, ellipse);
    out[0] = r;
    return r.Lo <= r.Hi ? 1 : 0;
  }
  // cross(v, B) >= 0 is cross(-B, v) >= 0.
  const RowSpan beforeB = RightOfRay(-bx, -by, cx2, v);
  if (cross > 0) {
    const RowSpan r = Intersect(Intersect(afterA, beforeB), ellipse);
    out[0] = r;
    return r.Lo <= r.Hi ? 1 : 0;
  }
  // More than a half turn: either half-plane will do.
  int n = 0;
  for (const RowSpan& h : {afterA, beforeB}) {
    const RowSpan r = Intersect(h, ellipse);
    if (r.Lo <= r.Hi) out[n++] = r;
  }
  if (n == 2 && out[0].Lo <= out[1].Hi + 1 && out[1].Lo <= out[0].Hi + 1) {
    out[0] = RowSpan{std::min(out[0].Lo, out[1].Lo), std::max(out[0].Hi, out[1].Hi)};
    n = 1;
  }
  return n;
}

// Shape spans with the ellipse span of the shape's box already known.
int SpansWith(const FillShape& sh, const Box& b, const RowSpan& ellipse, int64_t y, RowSpan out[2]) {
  switch (sh.kind) {
    case FillShape::Kind::Rectangle:
      if (b.Empty() || y < b.T || y >= b.B) return 0;
      out[0] = RowSpan{b.L, b.R - 1};
      return 1;
    case FillShape::Kind::Ellipse:
      out[0] = ellipse;
      return ellipse.Lo <= ellipse.Hi ? 1 : 0;
    case FillShape::Kind::Pie: return PieSpans(sh, b, ellipse, y, out);
  }
  return 0;
}

inline void Paint(TPixel24* row, int64_t lo, int64_t hi, TPixel24 c) { FillPixels(row + lo, size_t(hi - lo + 1), c); }

// Fills one shape directly, row by row.
void FillOne(TFastDIB& s, const FillShape& sh) {
  const int W = s.Width(), H = s.Height();
  const Box b = BoxOf(sh);
  if (s.Empty() || b.Empty()) return;
  const int64_t y0 = std::max<int64_t>(b.T, 0), y1 = std::min<int64_t>(b.B, H);
  for (int64_t y = y0; y < y1; ++y) {
    const RowSpan e = sh.kind == FillShape::Kind::Rectangle ? RowSpan{} : EllipseSpan(b, y);
    RowSpan sp[2];
    const int n = SpansWith(sh, b, e, y, sp);
    for (int i = 0; i < n; ++i) {
      const int64_t lo = std::max<int64_t>(sp[i].Lo, 0), hi = std::min<int64_t>(sp[i].Hi, W - 1);
      if (lo <= hi) Paint(s.Row24(int(y)), lo, hi, sh.Color);
    }
  }
}

}  // namespace

void FillPixels(TPixel24* dst, size_t count, TPixel24 colour) {
  if (count < 8) {
    for (size_t i = 0; i < count; ++i) dst[i] = colour;
    return;
  }
  // Eight pixels are three whole words; copy that pattern along the run.
  TPixel24 pattern[8];
  for (TPixel24& p : pattern) p = colour;
  uint8_t* d = reinterpret_cast<uint8_t*>(dst);
  const size_t bytes = 3 * count;
  size_t i = 0;
  for (; i + 24 <= bytes; i += 24) std::memcpy(d + i, pattern, 24);
  if (i < bytes) std::memcpy(d + bytes - 24, pattern, 24);  // ends on a pixel boundary: bytes - 24 is a multiple of 3
}

int ShapeRowSpans(const FillShape& shape, int64_t y, RowSpan out[2]) {
  const Box b = BoxOf(shape);
  const RowSpan e = shape.kind == FillShape::Kind::Rectangle ? RowSpan{} : EllipseSpan(b, y);
  return SpansWith(shape, b, e, y, out);
}

void FillRect(TFastDIB& surface, int x0, int y0, int x1, int y1, TPixel24 colour) {
  FillOne(surface, FillShape{FillShape::Kind::Rectangle, x0, y0, x1, y1, 0, 0, 0, 0, colour});
}

void FillEllipse(TFastDIB& surface, int x0, int y0, int x1, int y1, TPixel24 colour) {
  FillOne(surface, FillShape{FillShape::Kind::Ellipse, x0, y0, x1, y1, 0, 0, 0, 0, colour});
}

void FillPie(TFastDIB& surface, int x0, int y0, int x1, int y1, int ax, int ay, int bx, int by, TPixel24 colour) {
  FillOne(surface, FillShape{FillShape::Kind::Pie, x0, y0, x1, y1, ax, ay, bx, by, colour});
}

void FillShapes(TFastDIB& surface, std::span<const FillShape> shapes, TPixel24 background) {
  if (surface.Empty()) return;
  const int W = surface.Width();
  std::vector<Box> boxes(shapes.size());
  for (size_t i = 0; i < shapes.size(); ++i) boxes[i] = BoxOf(shapes[i]);
  ParallelRows(surface.Height(), [&](int begin, int end) {
    // The covered runs of the row, sorted, neither overlapping nor touching.
    std::vector<RowSpan> cov;
    for (int y = begin; y < end; ++y) {
      TPixel24* row = surface.Row24(y);
      cov.clear();
      Box lastBox{0, 0, 0, 0};
      RowSpan lastEllipse;
      for (size_t i = shapes.size(); i-- > 0;) {
        const FillShape& sh = shapes[i];
        if (sh.kind != FillShape::Kind::Rectangle && !(boxes[i] == lastBox)) {
          lastBox = boxes[i];
          lastEllipse = EllipseSpan(lastBox, y);
        }
        RowSpan sp[2];
        const int n = SpansWith(sh, boxes[i], lastEllipse, y, sp);
        for (int k = 0; k < n; ++k) {
          const int64_t l = std::max<int64_t>(sp[k].Lo, 0), r = std::min<int64_t>(sp[k].Hi, W - 1);
          if (l > r) continue;
          // Paint the gaps of [l, r] that later shapes left open, then merge.
          size_t a = 0;
          while (a < cov.size() && cov[a].Hi < l - 1) ++a;
          size_t e = a;
          int64_t pos = l, nl = l, nr = r;
          for (; e < cov.size() && cov[e].Lo <= r + 1; ++e) {
            if (cov[e].Lo > pos) Paint(row, pos, std::min(cov[e].Lo - 1, r), sh.Color);
            pos = std::max(pos, cov[e].Hi + 1);
            nl = std::min(nl, cov[e].Lo);
            nr = std::max(nr, cov[e].Hi);
          }
          if (pos <= r) Paint(row, pos, r, sh.Color);
          if (a == e) {
            cov.insert(cov.begin() + ptrdiff_t(a), RowSpan{nl, nr});
          } else {
            cov[a] = RowSpan{nl, nr};
            cov.erase(cov.begin() + ptrdiff_t(a) + 1, cov.begin() + ptrdiff_t(e));
          }
        }
        if (cov.size() == 1 && cov[0].Lo == 0 && cov[0].Hi == W - 1) break;  // earlier shapes are hidden
      }
      int64_t pos = 0;
      for (const RowSpan& c : cov) {
        if (c.Lo > pos) Paint(row, pos, c.Lo - 1, background);
        pos = c.Hi + 1;
      }
      if (pos <= W - 1) Paint(row, pos, W - 1, background);
    }
  });
}

}  // namespace vorq
