// Sine waves, RippleTooth, Waves and Whirl/Pinch. Twist, Fisheye, Circular
// and Astroid live in distortions_lens.cpp.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "core/effects/distortions.h"
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

int SineWaveUD(TFastDIB& Work, TFastDIB& Scratch, int Height, double Value, bool UsePeaks, bool Wrap) {
  if (!Usable(Work)) return Height;
  const int W = Work.Width(), H = Work.Height();
  const int A = LimitAmplitude(Height, H);
  const int margin = A < 0 ? -A : A;
  const std::vector<int> shift = SineShifts(W, W, A, Value, UsePeaks);
  // The shifted buffer is only H rows tall here: rows A .. A+H-1 of the
  // described W x (H + 2A) buffer are all that reach the image.
  if (!Scratch.SetSize(W, H, 24, 0)) return A;
  const uint8_t* const* src = Work.RowTable.data();
  ParallelRows(H, [&](int b, int e) {
    for (int r = b; r < e; ++r) {
      TPixel24* dst = Scratch.Row24(r);
      for (int x = 0; x < W; ++x)
        dst[x] = reinterpret_cast<const TPixel24*>(src[ShiftSource(r, shift[size_t(x)], H, Wrap, margin)])[x];
    }
  });
  CopySurface(Scratch, Work);
  return A;
}

int SineWaveLR(TFastDIB& Work, TFastDIB& Scratch, int Height, double Value, bool UsePeaks, bool Wrap) {
  if (!Usable(Work)) return Height;
  const int W = Work.Width(), H = Work.Height();
  const int A = LimitAmplitude(Height, W);
  const int margin = A < 0 ? -A : A;
  const std::vector<int> shift = SineShifts(H, H, A, Value, UsePeaks);
  if (!Scratch.SetSize(W, H, 24, 0)) return A;
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
  CopySurface(Scratch, Work);
  return A;
}

void SineWaveBoth(TFastDIB& Work, TFastDIB& Scratch, int HeightUD, int HeightLR, double PeaksLR, double PeaksUD) {
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  const int AU = LimitAmplitude(HeightUD, H), AL = LimitAmplitude(HeightLR, W);
  const std::vector<int> su = SineShifts(W, W, AU, PeaksUD, true);  // per column
  const std::vector<int> sl = SineShifts(H, H, AL, PeaksLR, true);  // per row
  if (!Scratch.SetSize(W, H, 24, 0)) return;
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
  CopySurface(Scratch, Work);
}

// ---------------------------------------------------------------------------
// RippleTooth

void RippleTooth(TFastDIB& Work, int Amount) {
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
    if (c > m - 1) c = 0;
  }
  TFastDIB copy;
  CopySurface(Work, copy);
  if (copy.Empty()) return;
  const uint8_t* const* src = copy.RowTable.data();
  ParallelRows(H, [&](int b, int e) {
    for (int t = b; t < e; ++t) {
      TPixel24* out = Work.Row24(t);
      for (int x = 0; x < W; ++x) {
        int y = t - k[size_t(x)];
        if (y < 0) y += H;
        out[x] = reinterpret_cast<const TPixel24*>(src[y])[x];
      }
    }
  });
}

// ---------------------------------------------------------------------------
// Waves

void Waves(TFastDIB& Work, int Amplitude, int WaveLength, double PhaseDegrees, bool Reflective) {
  if (!Usable(Work) || WaveLength == 0) return;  // the ring spacing divides by the wave length
  const int W = Work.Width(), H = Work.Height();
  const double pi = std::numbers::pi;
  const double phase = PhaseDegrees * pi / 180;
  const double cx = (W - 1) / 2.0, cy = (H - 1) / 2.0;
  const double a = W / 2.0, b = H / 2.0;
  double kx = 1, ky = 1;
  if (a < b) kx = b / a;
  else ky = a / b;
  const double L2 = 2.0 * WaveLength, twoPi = 2 * pi, A = Amplitude;
  TFastDIB temp;
  if (!temp.SetSize(W, H, 24, 0)) return;
  const uint8_t* const* src = Work.RowTable.data();
  ParallelRows(H, [&](int rb, int re) {
    for (int y = rb; y < re; ++y) {
      TPixel24* out = temp.Row24(y);
      const double v = (y - cy) * ky;
      for (int x = 0; x < W; ++x) {
        const double u = (x - cx) * kx;
        const double d = std::sqrt(u * u + v * v);
        const double angle = d / L2 * twoPi + phase;
        double sx, sy;
        if (Reflective) {
          const double s = std::fabs(std::sin(angle)) * A;
          sx = s * u / kx + cx;
          sy = s * v / ky + cy;
        } else {
          const double s = std::sin(angle) * A;
          sx = (s + u) / kx + cx;
          sy = (s + v) / ky + cy;
        }
        int ix, iy;
        if (!std::isfinite(sx) || !std::isfinite(sy)) {
          ix = x;  // a phase that is not a number: the pixel stays
          iy = y;
        } else if (Reflective) {
          ix = sx <= 0 ? 0 : (sx >= W - 1 ? W - 1 : int(Nearest(sx)));
          iy = sy <= 0 ? 0 : (sy >= H - 1 ? H - 1 : int(Nearest(sy)));
        } else {
          ix = NearestWrapped(sx, W);
          iy = NearestWrapped(sy, H);
        }
        out[x] = reinterpret_cast<const TPixel24*>(src[iy])[ix];
      }
    }
  });
  CopySurface(temp, Work);
}

// ---------------------------------------------------------------------------
// Whirl/Pinch

void WhirlPinch(TFastDIB& Work, int AngleDegrees, double Pinch, double Radius) {
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
  TFastDIB temp;
  if (!temp.SetSize(W, H, 24, 0)) return;
  const uint8_t* const* src = Work.RowTable.data();
  // Tiles of 16 rows x 64 columns keep the turned sources in cache.
  ParallelRows(H, [&](int rb, int re) {
    for (int y0 = rb; y0 < re; y0 += 16)
    for (int x0 = 0; x0 < W; x0 += 64)
    for (int y = y0; y < std::min(re, y0 + 16); ++y) {
      TPixel24* out = temp.Row24(y);
      const double dy = (y - cy) * ky;
      for (int x = x0; x < std::min(W, x0 + 64); ++x) {
        const double dx = (x - cx) * kx;
        const double d2 = dx * dx + dy * dy;
        double sx = x, sy = y;
        if (d2 < limit) {
          const double f = std::sqrt(d2 / rho) / R;
          const double s = std::sin(pi / 2 * f);
          const double g = s == 0 ? 0 : (p == 0 ? 1 : std::pow(s, -p));
          const double dxp = dx * g, dyp = dy * g;
          const double beta = alpha * (1 - f) * (1 - f);
          const double cb = std::cos(beta), sb = std::sin(beta);
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
  });
  CopySurface(temp, Work);
}

}  // namespace vorq
