// Twist and Fisheye (single precision, wrapped 2 x 2 sample), Circular and
// Astroid (curves drawn in the image's own colours).
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <vector>

#include "core/effects/distortions.h"
#include "core/effects/sample_wide.h"
#include "core/raster/line.h"
#include "core/surface/pixel_sse.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

#if defined(__SSE2__)
#include <xmmintrin.h>  // _mm_prefetch
#endif

namespace vorq {
namespace {

bool Usable(const TFastDIB& s) { return !s.Empty() && s.Width() > 0 && s.Height() > 0; }

// Column (or row) pair and weights of the wrapped 2 x 2 sample along one axis.
struct Taps {
  int i0, i1;
  float w0, w1;
};

inline Taps AxisTaps(float s, int n) {
  Taps t;
  float f = 0;
  if (std::fabs(s) < 4.0e18f) {
    const int64_t i = Trunc(s);
    f = s - float(i);
    t.i0 = int(WrapIndex(i, n));
  } else {  // an integer already (f = 0); fmod is exact
    t.i0 = s > 0 ? int(std::fmod(double(s), n)) : int((n - 1) - std::fmod(-double(s), n));
  }
  if (s >= 0) {
    t.w0 = 1 - f;
    t.w1 = f;
  } else {
    t.w0 = -f;
    t.w1 = 1 - t.w0;
  }
  t.i1 = t.i0 == n - 1 ? 0 : t.i0 + 1;
  return t;
}

// Wrapped 2 x 2 sample with column taps c and row taps r: weights multiplied
// and summed in single precision, in the order (i0, j0), (i1, j0), (i0, j1),
// (i1, j1).
inline TPixel24 Sample(const uint8_t* const* rows, const Taps& c, const Taps& r) {
  const float w00 = c.w0 * r.w0, w10 = c.w1 * r.w0, w01 = c.w0 * r.w1, w11 = c.w1 * r.w1;
  const uint8_t* p00 = rows[r.i0] + 3 * c.i0;
  const uint8_t* p10 = rows[r.i0] + 3 * c.i1;
  const uint8_t* p01 = rows[r.i1] + 3 * c.i0;
  const uint8_t* p11 = rows[r.i1] + 3 * c.i1;
  TPixel24 out;
#if defined(__SSE2__)
  // The three channels side by side: the same products and sums, in the same order.
  __m128 sum = _mm_mul_ps(_mm_set1_ps(w00), LoadPixelPs(p00));
  sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(w10), LoadPixelPs(p10)));
  sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(w01), LoadPixelPs(p01)));
  sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(w11), LoadPixelPs(p11)));
  StorePixelPs(&out.B, sum);
#else
  uint8_t* o = &out.B;
  for (int ch = 0; ch < 3; ++ch) {
    float sum = w00 * float(p00[ch]);
    sum += w10 * float(p10[ch]);
    sum += w01 * float(p01[ch]);
    sum += w11 * float(p11[ch]);
    o[ch] = ClampByte(int(RoundHalfEven(sum)));
  }
#endif
  return out;
}

// Samples gathered a hundred or so at a time: each one's source rows are
// asked for as it is queued, the blends run when the queue is full, so the
// fetches of scattered sources overlap instead of waiting one by one.
class SampleQueue {
 public:
  SampleQueue(const uint8_t* const* src, int W, int H) : src_(src), W_(W), H_(H) {}
  ~SampleQueue() { Flush(); }
  // *dst := the sample at (sx, sy); a position that is not a number keeps
  // the source pixel (x, y).
  void Add(TPixel24* dst, int x, int y, float sx, float sy) {
    Entry& q = queue_[n_];
    q.dst = dst;
    if (std::isfinite(sx) && std::isfinite(sy)) {
      q.keep = nullptr;
      q.c = AxisTaps(sx, W_);
      q.t = AxisTaps(sy, H_);
#if defined(__SSE2__)
      _mm_prefetch(reinterpret_cast<const char*>(src_[q.t.i0] + 3 * q.c.i0), _MM_HINT_T0);
      _mm_prefetch(reinterpret_cast<const char*>(src_[q.t.i1] + 3 * q.c.i0), _MM_HINT_T0);
#endif
    } else {
      q.keep = reinterpret_cast<const TPixel24*>(src_[y]) + x;
    }
    if (++n_ == kSize) Flush();
  }
  void Flush() {
    for (int i = 0; i < n_; ++i) {
      const Entry& q = queue_[i];
      *q.dst = q.keep ? *q.keep : Sample(src_, q.c, q.t);
    }
    n_ = 0;
  }

 private:
  static constexpr int kSize = 128;
  struct Entry {
    TPixel24* dst;
    const TPixel24* keep;
    Taps c, t;
  };
  const uint8_t* const* src_;
  int W_, H_, n_ = 0;
  Entry queue_[kSize];
};

// Samples for runs of up to kRun pixels of a row: sixteen (or eight) at a time
// in vectors where the processor has them, each run's sources asked for while
// the run before it is taken; otherwise, or where a position is not a
// number or lies far outside, through the queue. A pixel whose position is
// not a number keeps the source pixel at its own place.
class SampleRuns {
 public:
  static constexpr int kRun = 32;
  SampleRuns(TFastDIB& Target, const TFastDIB& Source, SampleQueue& queue)
      : target_(Target), queue_(queue), base_(Source.Row(0)),
        step_(Source.Height() > 1 ? int32_t(Source.Row(1) - Source.Row(0)) : 0), W_(Source.Width()),
        H_(Source.Height()) {
    if (WideVectors() && sample_rows::Built()) {
      row_ = sample_rows::Row;
      prefetch_ = sample_rows::Prefetch;
    } else if (Avx2Vectors() && sample_rows::avx2::Built()) {
      row_ = sample_rows::avx2::Row;
      prefetch_ = sample_rows::avx2::Prefetch;
    }
  }
  ~SampleRuns() { Take(); }
  // Pixels (x .. x + count - 1, y) of the target from positions sx, sy.
  void Add(int y, int x, const float* sx, const float* sy, int count) {
    if (row_ == nullptr) {
      for (int i = 0; i < count; ++i) queue_.Add(target_.Row24(y) + x + i, x + i, y, sx[i], sy[i]);
      return;
    }
    prefetch_(base_, step_, W_, H_, sx, sy, count);
    Take();
    waiting_.y = y;
    waiting_.x = x;
    waiting_.count = count;
    std::memcpy(waiting_.sx, sx, sizeof(float) * size_t(count));
    std::memcpy(waiting_.sy, sy, sizeof(float) * size_t(count));
  }

 private:
  void Take() {
    Run& r = waiting_;
    if (r.count == 0) return;
    TPixel24* d = target_.Row24(r.y) + r.x;
    if (!row_(base_, step_, W_, H_, r.sx, r.sy, r.count, &d->B))
      for (int i = 0; i < r.count; ++i) queue_.Add(d + i, r.x + i, r.y, r.sx[i], r.sy[i]);
    r.count = 0;
  }
  struct Run {
    int y = 0, x = 0, count = 0;
    float sx[kRun], sy[kRun];
  };
  TFastDIB& target_;
  SampleQueue& queue_;
  const uint8_t* base_;
  int32_t step_;
  int W_, H_;
  // The vector sample this processor has, or none (the queue).
  bool (*row_)(const uint8_t*, int32_t, int, int, const float*, const float*, int, uint8_t*) = nullptr;
  void (*prefetch_)(const uint8_t*, int32_t, int, int, const float*, const float*, int) = nullptr;
  Run waiting_;
};

// Work's pixels go to Scratch (a swap, not a copy) and Work becomes a surface
// of the same size (row padding kept) whose pixels the caller writes, every
// one. False (Work as it was) when no memory is left.
bool TakeSource(TFastDIB& Work, TFastDIB& Scratch) {
  const int W = Work.Width(), H = Work.Height();
  Work.Swap(Scratch);
  if (Work.Reshape(W, H)) {
    CopyGapBytes(Scratch, Work);
    return true;
  }
  Work.Swap(Scratch);
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// Twist

void Twist(TFastDIB& Work, TFastDIB& ScratchIn, int Looseness) {
  TFastDIB own;  // for a caller that passes Work as its own scratch
  TFastDIB& Scratch = &ScratchIn == &Work ? own : ScratchIn;
  if (!Usable(Work) || Looseness == 0) return;  // r / 0: no defined angle
  const int W = Work.Width(), H = Work.Height();
  // The source moves to Scratch and every pixel of Work is written anew.
  if (!TakeSource(Work, Scratch)) return;
  const float cx = float(W - 1) / 2, cy = float(H - 1) / 2, K = float(Looseness);
  const float halfPi = std::numbers::pi_v<float> / 2, pi = std::numbers::pi_v<float>;
  const uint8_t* const* src = Scratch.RowTable.data();
  // The source position of a pixel of the middle row (odd H, dy = 0) whose
  // offset from the centre is dx, r its distance and q = atan(0 / dx); dx =
  // 0 is the centre itself, r = 0.
  auto source = [&](float dx, float r, float q, float& sx, float& sy) {
    sx = cx;
    sy = cy;
    if (r != 0) {
      const float theta = (dx < 0 ? q + pi : q) - r / K + halfPi;
      sx = cx + r * std::cos(theta);
      sy = cy + r * std::sin(theta);
    }
  };
  // Pixel (x, y) and its mirror (W-1-x, H-1-y) through the centre have
  // offsets of opposite sign, exactly (the offsets are small multiples of a
  // half), so they share r and the quotient dy / dx and with it the arc
  // tangent. The rows above the middle are taken with their mirrors; a middle
  // row (odd H) on its own.
  //
  // A twisted tile's source is the tile turned and sheared (by r / K per
  // pixel outward), so square tiles keep the sources the queue fetches
  // compact at any radius. The positions are always numbers: |sx|, |sy| <=
  // cx + r.
  constexpr int kTile = SampleRuns::kRun;
  const int pairedRows = H / 2;
  ParallelBands(pairedRows + H % 2, kTile, [&](int b, int e) {
    SampleQueue queue(src, W, H);
    SampleRuns runs(Work, Scratch, queue);
    float ax[kTile], ay[kTile], bx[kTile], by[kTile];
    if (e > pairedRows) {  // the middle row
      const int y = pairedRows;
      const float dy = float(y) - cy;
      for (int x0 = 0; x0 < W; x0 += kTile) {
        const int x1 = std::min(W, x0 + kTile);
        for (int x = x0; x < x1; ++x) {
          const float dx = float(x) - cx;
          const float r = std::sqrt(dx * dx + dy * dy);
          source(dx, r, r != 0 ? std::atan(dy / dx) : 0, ax[x - x0], ay[x - x0]);
        }
        runs.Add(y, x0, ax, ay, x1 - x0);
      }
      e = pairedRows;
    }
    // The steps of source(), where dx = 0 gives the polar angle +-pi/2,
    // taken a step at a time over a tile's row, so that all but the
    // library's arc tangents, sines and cosines run in vectors. Off the
    // middle row dy is never 0, so neither is r.
    float rs[kTile], ts[kTile], ta[kTile], tb[kTile], ca[kTile], sa[kTile], cb[kTile], sb[kTile];
    for (int x0 = 0; x0 < W; x0 += kTile) {
      const int x1 = std::min(W, x0 + kTile), n = x1 - x0;
      for (int y = b; y < e; ++y) {
        const float dy = float(y) - cy;
        const float up = dy > 0 ? halfPi : -halfPi;  // polar angle where dx = 0
        for (int i = 0; i < n; ++i) {
          const float dx = float(x0 + i) - cx;
          rs[i] = std::sqrt(dx * dx + dy * dy);
          ts[i] = dy / dx;  // and its arc tangent, unused where dx = 0
        }
        for (int i = 0; i < n; ++i) ts[i] = std::atan(ts[i]);
        for (int i = 0; i < n; ++i) {
          const float dx = float(x0 + i) - cx, q = ts[i], turn = rs[i] / K;
          ta[i] = (dx == 0 ? up : dx < 0 ? q + pi : q) - turn + halfPi;
          tb[i] = (dx == 0 ? -up : dx > 0 ? q + pi : q) - turn + halfPi;  // the mirror: -dx, -dy
        }
        for (int i = 0; i < n; ++i) {
          ca[i] = std::cos(ta[i]);
          sa[i] = std::sin(ta[i]);
          cb[i] = std::cos(tb[i]);
          sb[i] = std::sin(tb[i]);
        }
        for (int i = 0; i < n; ++i) {
          ax[i] = cx + rs[i] * ca[i];
          ay[i] = cy + rs[i] * sa[i];
          bx[n - 1 - i] = cx + rs[i] * cb[i];  // the mirrors run the other way
          by[n - 1 - i] = cy + rs[i] * sb[i];
        }
        runs.Add(y, x0, ax, ay, x1 - x0);
        runs.Add(H - 1 - y, W - x1, bx, by, x1 - x0);
      }
    }
  });
}

// ---------------------------------------------------------------------------
// Fisheye

namespace {

// Distance of (x, y) from the lens centre as the effect computes it.
inline float LensDistance(int x, int y, float cx, float cy) {
  const float dx = float(x) - cx, dy = float(y) - cy;
  return std::sqrt(dx * dx + dy * dy);
}

// First x >= from in row y whose distance equals R (distance 0 never
// counts), or -1. Along a row the distance falls up to the centre column and
// rises after it, also in float arithmetic, so each side is one binary search.
int FirstRadiusHit(int y, int from, int W, float cx, float cy, float R) {
  const int mid = std::min(W - 1, int(std::floor(cx)));  // last column left of or at the centre
  if (from <= mid) {
    int lo = from, hi = mid + 1;  // first x with d <= R
    while (lo < hi) {
      const int m = lo + (hi - lo) / 2;
      if (LensDistance(m, y, cx, cy) <= R) hi = m;
      else lo = m + 1;
    }
    if (lo <= mid) {
      const float d = LensDistance(lo, y, cx, cy);
      if (d == R && d != 0) return lo;
    }
  }
  int lo = std::max(from, mid + 1), hi = W;  // first x with d >= R
  while (lo < hi) {
    const int m = lo + (hi - lo) / 2;
    if (LensDistance(m, y, cx, cy) >= R) hi = m;
    else lo = m + 1;
  }
  if (lo < W) {
    const float d = LensDistance(lo, y, cx, cy);
    if (d == R && d != 0) return lo;
  }
  return -1;
}

struct RadiusStep {
  int y, x;
  float R;  // in force from pixel (x, y) on, in row order
};


}  // namespace

void FishEye(TFastDIB& Work, TFastDIB& ScratchIn, float Magnification) {
  TFastDIB own;  // for a caller that passes Work as its own scratch
  TFastDIB& Scratch = &ScratchIn == &Work ? own : ScratchIn;
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  const float cx = float(W) / 2, cy = float(H) / 2;
  const float R0 = float(W) * Magnification;
  // R grows by 0.01 whenever a pixel lies exactly on it, and stays grown for
  // the rest of the run in row order. Find those places first so that the
  // rows can then run in any order.
  std::vector<RadiusStep> steps;
  {
    float R = R0;
    for (int y = 0; y < H; ++y)
      for (int x = FirstRadiusHit(y, 0, W, cx, cy, R); x >= 0; x = FirstRadiusHit(y, x + 1, W, cx, cy, R)) {
        R += 0.01f;
        steps.push_back({y, x, R});
      }
  }
  // R at the start of every row, and whether it changes within the row.
  std::vector<float> rowR(static_cast<size_t>(H));
  std::vector<uint8_t> rowSteps(static_cast<size_t>(H), 0);
  {
    float R = R0;
    size_t next = 0;
    for (int y = 0; y < H; ++y) {
      rowR[size_t(y)] = R;
      for (; next < steps.size() && steps[next].y == y; ++next) {
        R = steps[next].R;
        rowSteps[size_t(y)] = 1;
      }
    }
  }
  if (!TakeSource(Work, Scratch)) return;
  const uint8_t* const* src = Scratch.RowTable.data();
  // Pixel (x, y) with the radius in force there.
  auto pixel = [&](SampleQueue& q, TPixel24* dst, int x, int y, float R) {
    const float dx = float(x) - cx, dy = float(y) - cy;
    const float d = std::sqrt(dx * dx + dy * dy);
    if (d == 0) return q.Add(dst, x, y, cx, cy);
    const float k = (1 / (1 - d / R) - 1) * R / 2;
    q.Add(dst, x, y, cx + dx * k / d, cy + dy * k / d);
  };
  // A row on its own, following the steps within it.
  auto plainRow = [&](SampleQueue& q, int y) {
    size_t next = size_t(std::lower_bound(steps.begin(), steps.end(), y,
                                          [](const RadiusStep& s, int row) { return s.y < row; }) -
                         steps.begin());
    float R = rowR[size_t(y)];
    TPixel24* out = Work.Row24(y);
    for (int x = 0; x < W; ++x) {
      if (next < steps.size() && steps[next].y == y && steps[next].x == x) R = steps[next++].R;
      pixel(q, out + x, x, y, R);
    }
  };
  // The offsets of (x, y), (W-x, y), (x, H-y) and (W-x, H-y) from the centre
  // (W/2, H/2) differ only in sign, exactly, so with one radius the four share
  // their distance and k, and dx k / d changes only its sign. Column 0 and
  // row 0 have no mirror. Row y is paired with row H-y for y = 1 .. H/2.
  const int pairs = H / 2 + 1;  // row 0 alone, then the pairs
  constexpr int kRun = SampleRuns::kRun;
  ParallelRows(pairs, [&](int b, int e) {
    SampleQueue q(src, W, H);
    SampleRuns runs(Work, Scratch, q);
    // Runs of columns x0 .. x1 - 1 and their mirrors W - x, which run the
    // other way: in this row and in its mirror row.
    float ax[kRun], ay[kRun], bx[kRun], by[kRun], cx2[kRun], cy2[kRun], dx2[kRun], dy2[kRun];
    for (int p = b; p < e; ++p) {
      const int y = p, ym = p == 0 ? -1 : H - p;
      const bool mirrored = ym >= 0 && ym != y;
      const float R = rowR[size_t(y)];
      if (rowSteps[size_t(y)] || (mirrored && (rowSteps[size_t(ym)] || rowR[size_t(ym)] != R))) {
        plainRow(q, y);
        if (mirrored) plainRow(q, ym);
        continue;
      }
      const float dy = float(y) - cy;
      pixel(q, Work.Row24(y), 0, y, R);
      if (mirrored) pixel(q, Work.Row24(ym), 0, ym, R);
      // Column W / 2 of an even width is its own mirror: both runs give it
      // the same sample (tx is 0 there, or not a number in both).
      for (int x0 = 1; x0 <= W / 2; x0 += kRun) {
        const int x1 = std::min(W / 2 + 1, x0 + kRun), m = x1 - x0;
        for (int x = x0; x < x1; ++x) {
          const float dx = float(x) - cx;
          const float d = std::sqrt(dx * dx + dy * dy);
          float tx = 0, ty = 0;  // the centre samples itself
          if (d != 0) {
            const float k = (1 / (1 - d / R) - 1) * R / 2;
            tx = dx * k / d;
            ty = dy * k / d;
          }
          const int i = x - x0, j = m - 1 - i;
          ax[i] = cx + tx, ay[i] = cy + ty;
          bx[j] = cx - tx, by[j] = cy + ty;
          cx2[i] = cx + tx, cy2[i] = cy - ty;
          dx2[j] = cx - tx, dy2[j] = cy - ty;
        }
        runs.Add(y, x0, ax, ay, m);
        runs.Add(y, W - x1 + 1, bx, by, m);
        if (mirrored) {
          runs.Add(ym, x0, cx2, cy2, m);
          runs.Add(ym, W - x1 + 1, dx2, dy2, m);
        }
      }
    }
  });
}

// ---------------------------------------------------------------------------
// Circular

namespace {

constexpr int kSpirals = 721, kSpiralPoints = 901;

// Nearest(cos(theta) * r) and Nearest(sin(theta) * r) as the extended
// precision gives them. The double-precision values lie within 1e-11 of the
// extended ones (|theta| < 40, r < 200), so unless one is within 1e-9 of a
// half their rounding is the same; those few are done in extended precision.
template <typename Real>
inline void SpiralPoint(Real theta, Real r, int& px, int& py) {
  const double td = double(theta), rd = double(r);
  const double vx = std::cos(td) * rd, vy = std::sin(td) * rd;
  const double nx = RoundHalfEven(vx), ny = RoundHalfEven(vy);
  constexpr double kSafe = 0.5 - 1e-9;
  px = std::fabs(vx - nx) < kSafe ? int(nx) : int(std::nearbyint(std::cos(theta) * r));
  py = std::fabs(vy - ny) < kSafe ? int(ny) : int(std::nearbyint(std::sin(theta) * r));
}

}  // namespace

void Circular(TFastDIB& Work, TFastDIB& Scratch) {
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  CopySurface(Work, Scratch);
  if (Scratch.Empty()) return;
  using Real = long double;  // extended precision, as the spirals were designed
  const Real degree = std::numbers::pi_v<Real> / 180;
  const int cx = W / 2, cy = H / 2;
  // The radius after j steps is the same for every spiral.
  Real radius[kSpiralPoints];
  {
    Real r = 0;
    for (int j = 0; j < kSpiralPoints; ++j) {
      radius[j] = r;
      r = r / Real(j + 20) + Real(0.052L) + r;
    }
  }
  // Spiral i plots point j at the pixel index where[i][j] (-1: outside)
  // with the colour of row i mod H, column j mod W. The points are worked
  // out on both cores, then drawn in order, so later spirals cover earlier
  // ones as they always did.
  std::vector<int32_t> where(size_t(kSpirals) * kSpiralPoints);
  ParallelRows(kSpirals, [&](int b, int e) {
    for (int i = b; i < e; ++i) {
      int32_t* out = &where[size_t(i) * kSpiralPoints];
      Real theta = Real(i) / Real(0.72L) * degree;
      for (int j = 0; j < kSpiralPoints; ++j) {
        int px, py;
        SpiralPoint(theta, radius[j], px, py);
        px += cx;
        py += cy;
        out[j] = py >= 0 && py < H && px >= 0 && px < W ? py * W + px : -1;
        theta += degree;
      }
    }
  });
  for (int i = 0; i < kSpirals; ++i) {
    const TPixel24* row = Scratch.Row24(i % H);
    const int32_t* at = &where[size_t(i) * kSpiralPoints];
    for (int j = 0, c = 0; j < kSpiralPoints; ++j, c = c + 1 == W ? 0 : c + 1)
      if (at[j] >= 0) Work.SetPixel(at[j] / W, at[j] % W, row[c]);
  }
}

// ---------------------------------------------------------------------------
// Astroid

namespace {

// Integer power by repeated squaring; odd powers keep the sign.
double IntPower(double base, int exponent) {
  double result = 1;
  for (unsigned e = unsigned(exponent); e != 0; e >>= 1) {
    if (e & 1) result *= base;
    base *= base;
  }
  return result;
}

}  // namespace

void Astroid(TFastDIB& Work, int Thickness) {
  if (!Usable(Work) || Thickness < 0) return;
  const int W = Work.Width(), H = Work.Height();
  // The colours come from column 0 as it was before any curve was drawn;
  // the curves go straight onto the image.
  std::vector<TPixel24> colours(static_cast<size_t>(H));
  for (int y = 0; y < H; ++y) colours[size_t(y)] = Work.GetPixel(y, 0);
  const double degree = std::numbers::pi / 180;
  double cosT[361], sinT[361];
  for (int a = 0; a <= 360; ++a) {
    cosT[a] = IntPower(std::cos(a * degree), Thickness);
    sinT[a] = IntPower(std::sin(a * degree), Thickness);
  }
  const int cx = W / 2, cy = H / 2;
  // Each core draws every curve, in order, into its own band of rows; a line
  // gives the same pixels whatever part of it is drawn, so the bands put
  // together are the image drawn on one core.
  ParallelRows(H, [&](int rowBegin, int rowEnd) {
    int q = 0;
    for (int j = 0; j <= 2 * (H - 1); ++j) {
      if (q > H - 1) q -= H;
      const TPixel24 colour = colours[size_t(q)];
      ++q;
      // |cos^T|, |sin^T| <= 1 for T >= 0, so the points stay within 2 H of the centre.
      int px = cx + j, py = cy;
      for (int a = 0; a <= 360; ++a) {
        const int nx = cx + int(Nearest(cosT[a] * j)), ny = cy + int(Nearest(sinT[a] * j));
        LineToRows(Work, px, py, nx, ny, colour, rowBegin, rowEnd);
        px = nx;
        py = ny;
      }
    }
  });
}

}  // namespace vorq
