// Sine waves, RippleTooth, Waves and Whirl/Pinch. Twist, Fisheye, Circular
// and Astroid live in distortions_lens.cpp.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <vector>

#include "core/effects/distortions.h"
#include "core/effects/whirl_wide.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

namespace vorq {
namespace {

using Real = long double;  // the sine waves compute in extended precision

int LimitAmplitude(int a, int size) { return a > size ? size : (a < -size ? -size : a); }

// Nearest(sin(i / D) * A) for i = 0 .. count-1, with D = size / pi / value
// (peaks) or D = value (wavelength). A zero value means D = infinity or
// D = 0: no shift at all rather than a division by zero.
std::vector<int> SineShifts(int count, int size, int a, double value, bool usePeaks) {
  std::vector<int> s(size_t(count), 0);
  if (value == 0 || a == 0) return s;
  const Real d = usePeaks ? Real(size) / std::numbers::pi_v<Real> / Real(value) : Real(value);
  for (int i = 0; i < count; ++i) {
    const Real v = std::sin(Real(i) / d) * Real(a);
    // |v| <= |a| unless the value was not a number
    s[size_t(i)] = std::isfinite(v) ? int(std::nearbyint(v)) : 0;
  }
  return s;
}

// Source index along an axis of n for a destination index shifted by s:
// the inverse of "r = i + s, corrected once by +-n" (|s| <= n), or without
// wrap the row/column that the margins of the shifted buffer hold (the
// top/left fill, the bottom/right fill winning from index n - 1 on).
inline int ShiftSource(int r, int s, int n, bool wrap, int margin) {
  int i = r - s;
  if (wrap) {
    if (i < 0) i += n;
    else if (i > n - 1) i -= n;
    return i;
  }
  if (i >= 0 && i <= n - 1) return i;
  return r + margin >= n - 1 ? n - 1 : 0;
}

bool Usable(const TFastDIB& s) { return !s.Empty() && s.Width() > 0 && s.Height() > 0; }

// n >= 1 bytes between buffers that do not overlap, in word-sized pieces
// (the last piece may overlap the one before it).
inline void CopyBytes(uint8_t* d, const uint8_t* s, size_t n) {
  if (n >= 8) {
    size_t i = 0;
    for (; i + 16 <= n; i += 16) std::memcpy(d + i, s + i, 16);
    if (i + 8 <= n) {
      std::memcpy(d + i, s + i, 8);
      i += 8;
    }
    if (i < n) std::memcpy(d + n - 8, s + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(d, s, 4);
    std::memcpy(d + n - 4, s + n - 4, 4);
  } else {
    for (size_t i = 0; i < n; ++i) d[i] = s[i];
  }
}

// Nearest(v) through the wrap rule; v finite. Beyond 2^62 v is an integer
// already and fmod is exact.
inline int NearestWrapped(double v, int n) {
  if (std::fabs(v) < 4.0e18) return int(WrapIndex(Nearest(v), n));
  return v > 0 ? int(std::fmod(v, n)) : int((n - 1) - std::fmod(-v, n));
}

}  // namespace

// ---------------------------------------------------------------------------
// Sine waves. The forward mappings shift every column (row) as a whole, so
// they are computed as the equivalent backward mapping, row by row.

int SineWaveUD(TFastDIB& Work, TFastDIB& ScratchIn, int Height, double Value, bool UsePeaks, bool Wrap) {
  TFastDIB own;  // for a caller that passes Work as its own scratch
  TFastDIB& Scratch = &ScratchIn == &Work ? own : ScratchIn;
  if (!Usable(Work)) return Height;
  const int W = Work.Width(), H = Work.Height();
  const int A = LimitAmplitude(Height, H);
  const int margin = A < 0 ? -A : A;
  const std::vector<int> shift = SineShifts(W, W, A, Value, UsePeaks);
  // Neighbouring columns mostly share a shift: each run of equal shifts is
  // one block copy from a single source row.
  struct Run {
    int begin, bytes, shift;
  };
  std::vector<Run> runs;
  for (int x = 0; x < W;) {
    int end = x + 1;
    while (end < W && shift[size_t(end)] == shift[size_t(x)]) ++end;
    runs.push_back({3 * x, 3 * (end - x), shift[size_t(x)]});
    x = end;
  }
  // The shifted buffer is only H rows tall here: rows A .. A+H-1 of the
  // described W x (H + 2A) buffer are all that reach the image.
  if (!Scratch.Reshape(W, H)) return A;
  const uint8_t* const* src = Work.RowTable.data();
  ParallelRows(H, [&](int b, int e) {
    for (int r = b; r < e; ++r) {
      uint8_t* dst = Scratch.Row(r);
      for (const Run& run : runs)
        CopyBytes(dst + run.begin, src[ShiftSource(r, run.shift, H, Wrap, margin)] + run.begin, size_t(run.bytes));
    }
  });
  Work.Swap(Scratch);
  return A;
}

int SineWaveLR(TFastDIB& Work, TFastDIB& ScratchIn, int Height, double Value, bool UsePeaks, bool Wrap) {
  TFastDIB own;  // for a caller that passes Work as its own scratch
  TFastDIB& Scratch = &ScratchIn == &Work ? own : ScratchIn;
  if (!Usable(Work)) return Height;
  const int W = Work.Width(), H = Work.Height();
  const int A = LimitAmplitude(Height, W);
  const int margin = A < 0 ? -A : A;
  const std::vector<int> shift = SineShifts(H, H, A, Value, UsePeaks);
  if (!Scratch.Reshape(W, H)) return A;
  ParallelRows(H, [&](int b, int e) {
    for (int y = b; y < e; ++y) {
      const TPixel24* in = Work.Row24(y);
      TPixel24* out = Scratch.Row24(y);
      const int s = shift[size_t(y)];
      if (Wrap) {
        // A rotation by s: two block copies.
        const int k = ((s % W) + W) % W;
        std::memcpy(out + k, in, size_t(W - k) * 3);
        std::memcpy(out, in + (W - k), size_t(k) * 3);
      } else {
        for (int c = 0; c < W; ++c) out[c] = in[ShiftSource(c, s, W, false, margin)];
      }
    }
  });
  Work.Swap(Scratch);
  return A;
}

void SineWaveBoth(TFastDIB& Work, TFastDIB& ScratchIn, int HeightUD, int HeightLR, double PeaksLR, double PeaksUD) {
  TFastDIB own;  // for a caller that passes Work as its own scratch
  TFastDIB& Scratch = &ScratchIn == &Work ? own : ScratchIn;
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  const int AU = LimitAmplitude(HeightUD, H), AL = LimitAmplitude(HeightLR, W);
  const std::vector<int> su = SineShifts(W, W, AU, PeaksUD, true);  // per column
  const std::vector<int> sl = SineShifts(H, H, AL, PeaksLR, true);  // per row
  if (!Scratch.Reshape(W, H)) return;
  const uint8_t* const* src = Work.RowTable.data();
  ParallelRows(H, [&](int b, int e) {
    for (int y = b; y < e; ++y) {
      TPixel24* out = Scratch.Row24(y);
      int sx = sl[size_t(y)];  // sx - x
      for (int x = 0; x < W; ++x, ++sx) {
        int cx = sx, sy = y + su[size_t(x)];
        if (cx < 0) cx += W;
        else if (cx > W - 1) cx -= W;
        if (sy < 0) sy += H;
        else if (sy > H - 1) sy -= H;
        out[x] = reinterpret_cast<const TPixel24*>(src[sy])[cx];
      }
    }
  });
  Work.Swap(Scratch);
}

// ---------------------------------------------------------------------------
// RippleTooth

void RippleTooth(TFastDIB& Work, TFastDIB& ScratchIn, int Amount) {
  TFastDIB own;  // for a caller that passes Work as its own scratch
  TFastDIB& Scratch = &ScratchIn == &Work ? own : ScratchIn;
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  const int m = std::min(H / 2, Amount);
  // The shift of column x: an eight-bit counter restarting after m - 1. It
  // is below H, so "t mod H" is one subtraction and every column is a
  // rotation of itself.
  std::vector<int> k(static_cast<size_t>(W));
  int c = 0;
  for (int x = 0; x < W; ++x) {
    k[size_t(x)] = c;
    c = (c + 1) & 255;
    if (c >= m) c = 0;  // "c > m - 1" without the overflow of m - 1
  }
  if (!Scratch.Reshape(W, H)) return;
  const uint8_t* const* src = Work.RowTable.data();
  ParallelRows(H, [&](int b, int e) {
    for (int t = b; t < e; ++t) {
      TPixel24* out = Scratch.Row24(t);
      for (int x = 0; x < W; ++x) {
        int y = t - k[size_t(x)];
        if (y < 0) y += H;
        out[x] = reinterpret_cast<const TPixel24*>(src[y])[x];
      }
    }
  });
  Work.Swap(Scratch);
}

// ---------------------------------------------------------------------------
// Waves

namespace {

struct WavesFrame {
  int W, H;
  double cx, cy, kx, ky, L2, twoPi, phase, A;
};

// Rows y and H-1-y of the Waves image for y in rb .. re-1. The pixel (x, y)
// and its mirrors (W-1-x, y), (x, H-1-y), (W-1-x, H-1-y) have offsets from
// the centre that differ only in sign (the offsets are whole or half
// numbers), so their distance, angle and sine are the same bits: they are
// worked out once for the four.
template <bool Reflective>
void WavesRows(const WavesFrame& f, const uint8_t* const* src, TFastDIB& out, int rb, int re) {
  const int W = f.W, H = f.H;
  const double cx = f.cx, cy = f.cy, kx = f.kx, ky = f.ky;
  // Source pixel of (px, py), whose offsets are (u, v), for the sine s.
  auto source = [&](int px, int py, double u, double v, double s) {
    double sx, sy;
    if constexpr (Reflective) {
      sx = s * u, sy = s * v;
    } else {
      sx = s + u, sy = s + v;
    }
    // Dividing by 1 is exact: skipped.
    sx = (kx == 1 ? sx : sx / kx) + cx;
    sy = (ky == 1 ? sy : sy / ky) + cy;
    int ix, iy;
    if (!std::isfinite(sx) || !std::isfinite(sy)) {
      ix = px;  // a phase that is not a number: the pixel stays
      iy = py;
    } else if constexpr (Reflective) {
      ix = sx <= 0 ? 0 : (sx >= W - 1 ? W - 1 : int(Nearest(sx)));
      iy = sy <= 0 ? 0 : (sy >= H - 1 ? H - 1 : int(Nearest(sy)));
    } else {
      ix = NearestWrapped(sx, W);
      iy = NearestWrapped(sy, H);
    }
    return reinterpret_cast<const TPixel24*>(src[iy])[ix];
  };
  const int halfW = (W + 1) / 2;
  for (int y = rb; y < re; ++y) {
    const int ym = H - 1 - y;
    TPixel24* row = out.Row24(y);
    TPixel24* rowM = out.Row24(ym);
    const double v = (y - cy) * ky, vm = (ym - cy) * ky;
    for (int x = 0; x < halfW; ++x) {
      const int xm = W - 1 - x;
      const double u = (x - cx) * kx, um = (xm - cx) * kx;
      const double d = std::sqrt(u * u + v * v);
      const double angle = d / f.L2 * f.twoPi + f.phase;
      const double s = (Reflective ? std::fabs(std::sin(angle)) : std::sin(angle)) * f.A;
      row[x] = source(x, y, u, v, s);
      if (xm != x) row[xm] = source(xm, y, um, v, s);
      if (ym != y) {
        rowM[x] = source(x, ym, u, vm, s);
        if (xm != x) rowM[xm] = source(xm, ym, um, vm, s);
      }
    }
  }
}

}  // namespace

void Waves(TFastDIB& Work, TFastDIB& ScratchIn, int Amplitude, int WaveLength, double PhaseDegrees, bool Reflective) {
  TFastDIB own;  // for a caller that passes Work as its own scratch
  TFastDIB& Scratch = &ScratchIn == &Work ? own : ScratchIn;
  if (!Usable(Work) || WaveLength == 0) return;  // the ring spacing divides by the wave length
  WavesFrame f;
  f.W = Work.Width();
  f.H = Work.Height();
  const double pi = std::numbers::pi;
  f.phase = PhaseDegrees * pi / 180;
  f.cx = (f.W - 1) / 2.0;
  f.cy = (f.H - 1) / 2.0;
  const double a = f.W / 2.0, b = f.H / 2.0;
  f.kx = 1;
  f.ky = 1;
  if (a < b) f.kx = b / a;
  else f.ky = a / b;
  f.L2 = 2.0 * WaveLength;
  f.twoPi = 2 * pi;
  f.A = Amplitude;
  if (!Scratch.Reshape(f.W, f.H)) return;
  const uint8_t* const* src = Work.RowTable.data();
  ParallelRows((f.H + 1) / 2, [&](int rb, int re) {
    if (Reflective) WavesRows<true>(f, src, Scratch, rb, re);
    else WavesRows<false>(f, src, Scratch, rb, re);
  });
  Work.Swap(Scratch);
}

// ---------------------------------------------------------------------------
// Whirl/Pinch

void WhirlPinch(TFastDIB& Work, TFastDIB& ScratchIn, int AngleDegrees, double Pinch, double Radius) {
  TFastDIB own;  // for a caller that passes Work as its own scratch
  TFastDIB& Scratch = &ScratchIn == &Work ? own : ScratchIn;
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  const double p = std::isnan(Pinch) ? 0 : std::clamp(Pinch, -1.0, 1.0);
  const double rho = Radius < 0 || std::isnan(Radius) ? 0 : Radius;
  const double pi = std::numbers::pi;
  const int cx = int(Nearest((W - 1) / 2.0)), cy = int(Nearest((H - 1) / 2.0));
  const double rx = (W - 2) / 2.0, ry = (H - 2) / 2.0;
  // A two-pixel side with a longer other side would scale by a ratio over 0.
  if (rx != ry && (rx == 0 || ry == 0)) return;
  double kx = 1, ky = 1;
  if (rx < ry) kx = ry / rx;
  else if (rx != ry) ky = rx / ry;
  const double R = std::max(rx, ry);
  const double alpha = AngleDegrees * pi / 180;
  const double limit = R * R * rho;
  if (!(limit > 0)) return;  // an empty disc (radius 0): nothing moves
  if (!Scratch.Reshape(W, H)) return;
  TFastDIB& temp = Scratch;
  const uint8_t* const* src = Work.RowTable.data();
  // The pinch and the turn depend only on the distance from the centre, and
  // a pixel and its mirror images about the centre lines have the same
  // distance bit for bit (their offsets differ only in sign). So the costly
  // factors are worked out once per offset (a, b) >= 0 and used for the up
  // to four pixels (cx +- b, cy +- a). Tiles of 16 x 64 offsets keep the
  // factors and each quadrant's turned sources in cache.
  constexpr int kRows = 16, kCols = 64;
  const int aCount = std::max(cy, H - 1 - cy) + 1, bCount = std::max(cx, W - 1 - cx) + 1;
  // The vector rows this processor has, or none (the plain loop).
  bool (*const rows)(const whirl_rows::Run&, const uint8_t*, int32_t, int, int, uint8_t*) =
      WideVectors() && whirl_rows::Built()           ? whirl_rows::Row
      : Avx2Vectors() && whirl_rows::avx2::Built() ? whirl_rows::avx2::Row
                                                     : nullptr;
  const int32_t rowStep = H > 1 ? int32_t(Work.Row(1) - Work.Row(0)) : 0;
  ParallelBands(aCount, kRows, [&](int a0, int a1) {
    // The factors of a tile of offsets, each kind in an array of its own for
    // the wide rows' loads (inside has room for one load past a row).
    struct Tile {
      double g[kRows][kCols], cb[kRows][kCols], sb[kRows][kCols];
      uint8_t inside[kRows][kCols + 8];
    };
    Tile tile;
    for (int b0 = 0; b0 < bCount; b0 += kCols) {
      const int b1 = std::min(bCount, b0 + kCols);
      for (int a = a0; a < a1; ++a) {
        const double dy = a * ky;
        for (int b = b0; b < b1; ++b) {
          const double dx = b * kx;
          const double d2 = dx * dx + dy * dy;
          const int i = a - a0, j = b - b0;
          tile.inside[i][j] = d2 < limit;
          // Outside the disc the factors are never used; set, so that the
          // wide rows read numbers.
          tile.g[i][j] = tile.cb[i][j] = tile.sb[i][j] = 0;
          if (!tile.inside[i][j]) continue;
          const double f = std::sqrt(d2 / rho) / R;
          const double s = std::sin(pi / 2 * f);
          tile.g[i][j] = s == 0 ? 0 : (p == 0 ? 1 : std::pow(s, -p));
          const double beta = alpha * (1 - f) * (1 - f);
          tile.cb[i][j] = std::cos(beta);
          tile.sb[i][j] = std::sin(beta);
        }
      }
      // Quadrants: rows cy + a then cy - a (a > 0), columns likewise.
      for (int qy = 1; qy >= -1; qy -= 2)
        for (int qx = 1; qx >= -1; qx -= 2) {
          // Offsets whose pixel lies in the image, 0 only in the first quadrant.
          const int aLo = std::max(a0, qy < 0 ? 1 : 0), aHi = std::min(a1, qy > 0 ? H - cy : cy + 1);
          const int bLo = std::max(b0, qx < 0 ? 1 : 0), bHi = std::min(b1, qx > 0 ? W - cx : cx + 1);
          for (int a = aLo; a < aHi; ++a) {
            const int y = cy + qy * a;
            TPixel24* out = temp.Row24(y);
            const double dy = (y - cy) * ky;
            const int i = a - a0;
            if (rows != nullptr && bLo < bHi) {
              const whirl_rows::Run run{&tile.inside[i][bLo - b0], &tile.g[i][bLo - b0], &tile.cb[i][bLo - b0],
                                        &tile.sb[i][bLo - b0], bHi - bLo, cx + qx * bLo, qx, y, cx, cy, kx, ky, dy};
              if (rows(run, src[0], rowStep, W, H, &out->B)) continue;
            }
            for (int b = bLo; b < bHi; ++b) {
              const int x = cx + qx * b, j = b - b0;
              double sx = x, sy = y;
              if (tile.inside[i][j]) {
                const double dx = (x - cx) * kx;
                const double dxp = dx * tile.g[i][j], dyp = dy * tile.g[i][j];
                const double cb = tile.cb[i][j], sb = tile.sb[i][j];
                // Dividing by 1 is exact: skip it on square images.
                sx = (kx == 1 ? cb * dxp - sb * dyp : (cb * dxp - sb * dyp) / kx) + cx;
                sy = (ky == 1 ? sb * dxp + cb * dyp : (sb * dxp + cb * dyp) / ky) + cy;
                if (!std::isfinite(sx) || !std::isfinite(sy)) {
                  sx = x;  // a negative sine to a fractional power (1 x 1 image): the pixel stays
                  sy = y;
                }
              }
              const int ix = NearestWrapped(sx < 0 ? sx - 1 : sx, W);
              const int iy = NearestWrapped(sy < 0 ? sy - 1 : sy, H);
              out[x] = reinterpret_cast<const TPixel24*>(src[iy])[ix];
            }
          }
        }
    }
  });
  Work.Swap(Scratch);
}

}  // namespace vorq
