#include "core/effects/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/surface/pixel_sse.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

// Products and sums below are rounded one at a time, as the single-precision
// arithmetic requires; a fused multiply-add would change results.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif

namespace vorq {
namespace {

// Byte values as floats: a load instead of a conversion in the inner loop.
struct ByteFloats {
  float v[256];
  constexpr ByteFloats() : v() {
    for (int i = 0; i < 256; ++i) v[i] = float(i);
  }
};
constexpr ByteFloats kByteFloat;

// Nearest integer of a float, ties to even, clamped to a byte.
inline uint8_t RoundToByte(float v) {
  const int i = int(RoundHalfEven(v));
  return uint8_t(i < 0 ? 0 : (i > 255 ? 255 : i));
}

// Source index and weights of every target column (or row) of a resize.
struct Axis {
  std::vector<int> i0, i1;
  std::vector<float> w0, w1;
};

Axis MakeAxis(int n, int newN, int mode) {
  Axis a;
  a.i0.resize(size_t(newN));
  a.i1.resize(size_t(newN));
  a.w0.resize(size_t(newN));
  a.w1.resize(size_t(newN));
  const bool constant = mode == 0 && n == 1;  // W - 1 = 0: one column for all
  const float f = constant ? 1.0f : float(newN) / float(mode == 0 ? n - 1 : n);
  for (int k = 0; k < newN; ++k) {
    int i = 0;
    float w1 = 0;
    if (!constant) {
      const float s = float(k) / f;
      i = int(s);  // toward zero; s is never negative
      w1 = s - float(i);
    }
    a.i0[size_t(k)] = std::min(i, n - 1);
    a.i1[size_t(k)] = std::min(i + 1, n - 1);
    a.w1[size_t(k)] = w1;
    a.w0[size_t(k)] = 1.0f - w1;
  }
  return a;
}

#if defined(__SSE2__)
// One target row with the three channels of a pixel in one vector (the
// fourth lane is ignored). Every product and sum is the same single-precision
// operation as in the plain loop, so the results are identical.
void ResizeRowSse2(const uint8_t* r0, const uint8_t* r1, float wy0, float wy1, const float* wx0s, const float* wx1s,
                   const int* o0s, const int* o1s, int newW, uint8_t* d) {
  for (int x = 0; x < newW; ++x, d += 3) {
    const float wx0 = wx0s[x], wx1 = wx1s[x];
    const __m128 w00 = _mm_set1_ps(wx0 * wy0), w01 = _mm_set1_ps(wx0 * wy1);
    const __m128 w10 = _mm_set1_ps(wx1 * wy0), w11 = _mm_set1_ps(wx1 * wy1);
    __m128 v = _mm_mul_ps(w00, LoadPixelPs(r0 + o0s[x]));
    v = _mm_add_ps(v, _mm_mul_ps(w01, LoadPixelPs(r1 + o0s[x])));
    v = _mm_add_ps(v, _mm_mul_ps(w10, LoadPixelPs(r0 + o1s[x])));
    v = _mm_add_ps(v, _mm_mul_ps(w11, LoadPixelPs(r1 + o1s[x])));
    StorePixelPs(d, v);
  }
}
#endif

}  // namespace

bool ResizeBilinearInto(const TFastDIB& Source, TFastDIB& Target, int NewW, int NewH, int Mode) {
  if (&Source == &Target || Source.Empty() || (Mode != 0 && Mode != 1) || !SizeAllowed(NewW, NewH)) return false;
  const int W = Source.Width(), H = Source.Height();
  if (!Target.Reshape(NewW, NewH)) return false;
  const Axis ax = MakeAxis(W, NewW, Mode), ay = MakeAxis(H, NewH, Mode);
  std::vector<int> off0(static_cast<size_t>(NewW)), off1(static_cast<size_t>(NewW));
  for (size_t x = 0; x < size_t(NewW); ++x) {
    off0[x] = 3 * ax.i0[x];
    off1[x] = 3 * ax.i1[x];
  }
  const float* const wx0s = ax.w0.data();
  const float* const wx1s = ax.w1.data();
  const int* const o0s = off0.data();
  const int* const o1s = off1.data();
  ParallelRows(NewH, [&](int begin, int end) {
    for (int y = begin; y < end; ++y) {
      const uint8_t* r0 = Source.Row(ay.i0[size_t(y)]);
      const uint8_t* r1 = Source.Row(ay.i1[size_t(y)]);
      const float wy0 = ay.w0[size_t(y)], wy1 = ay.w1[size_t(y)];
      uint8_t* d = Target.Row(y);
#if defined(__SSE2__)
      ResizeRowSse2(r0, r1, wy0, wy1, wx0s, wx1s, o0s, o1s, NewW, d);
#else
      const float* F = kByteFloat.v;
      for (int x = 0; x < NewW; ++x, d += 3) {
        const float wx0 = wx0s[x], wx1 = wx1s[x];
        const float w00 = wx0 * wy0, w01 = wx0 * wy1, w10 = wx1 * wy0, w11 = wx1 * wy1;
        const uint8_t* p00 = r0 + o0s[x];
        const uint8_t* p01 = r1 + o0s[x];
        const uint8_t* p10 = r0 + o1s[x];
        const uint8_t* p11 = r1 + o1s[x];
        for (int c = 0; c < 3; ++c) {
          float v = w00 * F[p00[c]];
          v += w01 * F[p01[c]];
          v += w10 * F[p10[c]];
          v += w11 * F[p11[c]];
          d[c] = RoundToByte(v);
        }
      }
#endif
    }
  });
  return true;
}

bool ResizeBilinear(TFastDIB& Surface, int NewW, int NewH, int Mode) {
  if (Surface.Empty() || (Mode != 0 && Mode != 1) || !SizeAllowed(NewW, NewH)) return false;
  if (NewW == Surface.Width() && NewH == Surface.Height()) return true;
  TFastDIB T;
  if (!ResizeBilinearInto(Surface, T, NewW, NewH, Mode)) return false;
  Surface = std::move(T);  // the temporary's pixels become the surface's
  return true;
}

void Rotate90Clockwise(TFastDIB& Surface, TFastDIB& Scratch) {
  if (Surface.Empty()) return;
  TFastDIB local;
  TFastDIB& T = &Scratch == &Surface ? local : Scratch;
  const int W = Surface.Width(), H = Surface.Height();
  if (!T.Reshape(H, W)) return;
  // Target row x holds source column x from the bottom up. Tiles of 32 x 32
  // pixels keep the 32 source rows read and the 32 target rows written
  // within a few pages; each core takes whole bands of target rows.
  constexpr int kTile = 32;
  const TPixel24* const* rows = reinterpret_cast<const TPixel24* const*>(Surface.RowTable.data());
  ParallelBands(W, kTile, [&](int x0, int x1) {
    for (int y0 = 0; y0 < H; y0 += kTile) {
      const int y1 = std::min(H, y0 + kTile);
      for (int x = x0; x < x1; ++x) {
        TPixel24* d = T.Row24(x) + (H - 1);
        for (int y = y0; y < y1; ++y) d[-y] = rows[y][x];
      }
    }
  });
  Surface.Swap(T);
}

namespace {
// Index of a 16.16 position: X >> 16 when X >= 0; below 0 the position is
// counted from the far side, W - 1 - ((-X >> 16) mod W), which is the same
// as wrapping (X - 1) >> 16.
inline int64_t FixedIndex(int64_t X) { return (X - (X < 0 ? 1 : 0)) >> 16; }

// Wrapped index q mod n for every q in lo .. hi.
std::vector<int> WrapTable(int64_t lo, int64_t hi, int n) {
  std::vector<int> t(size_t(hi - lo + 1));
  int64_t r = lo % n;
  if (r < 0) r += n;
  for (size_t i = 0; i < t.size(); ++i) {
    t[i] = int(r);
    if (++r == n) r = 0;
  }
  return t;
}
}  // namespace

void RotateWrapped(const TFastDIB& Source, TFastDIB& Target, int CX, int CY, double Angle) {
  if (&Source == &Target || Source.Empty() || Target.Empty() || !std::isfinite(Angle)) return;
  const int Ws = Source.Width(), Hs = Source.Height(), Wt = Target.Width(), Ht = Target.Height();
  const double theta = -Angle * kPi / 180.0;
  const double S = std::sin(theta), C = std::cos(theta);
  const int64_t Sf = int32_t(Nearest(S * 65536.0)), Cf = int32_t(Nearest(C * 65536.0));
  const double dx = (Wt - Ws) / 2.0, dy = (Ht - Hs) / 2.0;
  // Row starts in 16.16; 64-bit so that no target size can overflow them.
  std::vector<int64_t> X0(static_cast<size_t>(Ht)), Y0(static_cast<size_t>(Ht));
  int64_t xMin = INT64_MAX, xMax = INT64_MIN, yMin = INT64_MAX, yMax = INT64_MIN;
  for (int y = 0; y < Ht; ++y) {
    const int64_t X = Nearest(((-CX) * C + CX - (y - CY) * S - dx) * 65536.0);
    const int64_t Y = Nearest(((-CX) * S + CY + (y - CY) * C - dy) * 65536.0);
    X0[size_t(y)] = X;
    Y0[size_t(y)] = Y;
    const int64_t Xe = X + int64_t(Wt - 1) * Cf, Ye = Y + int64_t(Wt - 1) * Sf;
    xMin = std::min({xMin, X, Xe});
    xMax = std::max({xMax, X, Xe});
    yMin = std::min({yMin, Y, Ye});
    yMax = std::max({yMax, Y, Ye});
  }
  // The positions move linearly along a row, so the indices met lie between
  // those of the row ends; wrapping them is a table look-up.
  const int64_t uLo = FixedIndex(xMin), uHi = FixedIndex(xMax);
  const int64_t vLo = FixedIndex(yMin), vHi = FixedIndex(yMax);
  constexpr int64_t kMaxTable = int64_t(1) << 22;
  const bool tables = uHi - uLo < kMaxTable && vHi - vLo < kMaxTable;
  const std::vector<int> uWrap = tables ? WrapTable(uLo, uHi, Ws) : std::vector<int>();
  const std::vector<int> vWrap = tables ? WrapTable(vLo, vHi, Hs) : std::vector<int>();
  const TPixel24* const* rows = reinterpret_cast<const TPixel24* const*>(Source.RowTable.data());

  // The target is walked in square tiles: a tile's source footprint stays in
  // cache whatever the angle, where whole rows would run across the source.
  constexpr int kTile = 64;
  ParallelRows(Ht, [&](int begin, int end) {
    for (int ty = begin; ty < end; ty += kTile) {
      const int ty1 = std::min(end, ty + kTile);
      for (int tx = 0; tx < Wt; tx += kTile) {
        const int tx1 = std::min(Wt, tx + kTile);
        for (int y = ty; y < ty1; ++y) {
          int64_t X = X0[size_t(y)] + int64_t(tx) * Cf, Y = Y0[size_t(y)] + int64_t(tx) * Sf;
          TPixel24* d = Target.Row24(y);
          if (tables) {
            const int* uw = uWrap.data() - uLo;
            const int* vw = vWrap.data() - vLo;
            for (int x = tx; x < tx1; ++x) {
              d[x] = rows[vw[FixedIndex(Y)]][uw[FixedIndex(X)]];
              X += Cf;
              Y += Sf;
            }
          } else {
            for (int x = tx; x < tx1; ++x) {
              int64_t u = FixedIndex(X) % Ws, v = FixedIndex(Y) % Hs;
              if (u < 0) u += Ws;
              if (v < 0) v += Hs;
              d[x] = rows[v][u];
              X += Cf;
              Y += Sf;
            }
          }
        }
      }
    }
  });
}

}  // namespace vorq
