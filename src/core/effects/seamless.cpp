#include "core/effects/seamless.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/effects/geometry.h"
#include "core/surface/pixel_sse.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

// Weights and sums are rounded one operation at a time.
#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF
#endif

namespace vorq {
namespace {

// MulDiv(k, d, c) for 0 <= k <= c < 2^15 and |d| <= 255 without a division:
// (|k d| + c / 2) / c as a multiply by ceil(2^40 / c) and a shift. The
// numerator stays below 2^23, so the error of the reciprocal (< 2^-17 after
// the multiply) never reaches the next whole number (the fraction of a
// quotient by c is at most 1 - 1/c).
struct RoundDiv {
  uint64_t m = 0;
  int64_t half = 0;
  explicit RoundDiv(int c) : m(((uint64_t(1) << 40) + uint64_t(c) - 1) / uint64_t(c)), half(c / 2) {}
  int operator()(int k, int d) const {
    const int64_t p = int64_t(k) * d;
    const uint64_t ap = uint64_t(p < 0 ? -p : p) + uint64_t(half);
    const int q = int((ap * m) >> 40);
    return p < 0 ? -q : q;
  }
};

// One pass of the strip blend. towardEnd: the right and bottom strips are
// rewritten from the left and top ones (BlendEdgeStrips as such). Otherwise
// the left and top strips are rewritten from the right and bottom ones,
// which is the same pass on the image turned by a half turn.
void BlendPass(TFastDIB& S, int sw, int sh, bool towardEnd) {
  const int W = S.Width(), H = S.Height();
  if (S.Empty()) return;
  if (sw >= 2 && sw <= W) {
    const RoundDiv div(sw - 1);
    ParallelRows(H, [&](int begin, int end) {
      std::vector<TPixel24> out(static_cast<size_t>(sw));
      for (int y = begin; y < end; ++y) {
        TPixel24* row = S.Row24(y);
        for (int x = 0; x < sw; ++x) {
          const int ia = towardEnd ? W - sw + x : sw - 1 - x;
          const int ib = towardEnd ? sw - 1 - x : W - sw + x;
          const uint8_t* a = &row[ia].B;
          const uint8_t* b = &row[ib].B;
          uint8_t* o = &out[size_t(x)].B;
          for (int c = 0; c < 3; ++c) o[c] = uint8_t(a[c] + div(x, b[c] - a[c]));
        }
        // Every read of this row is done before it is written (the strips
        // overlap when sw > W / 2).
        for (int x = 0; x < sw; ++x) row[towardEnd ? W - sw + x : sw - 1 - x] = out[size_t(x)];
      }
    });
  }
  if (sh >= 2 && sh <= H) {
    const RoundDiv div(sh - 1);
    const size_t n = size_t(3) * size_t(W);
    std::vector<uint8_t> strip(n * size_t(sh));
    ParallelRows(sh, [&](int begin, int end) {
      for (int y = begin; y < end; ++y) {
        const uint8_t* a = S.Row(towardEnd ? H - sh + y : sh - 1 - y);
        const uint8_t* b = S.Row(towardEnd ? sh - 1 - y : H - sh + y);
        uint8_t* o = &strip[size_t(y) * n];
        for (size_t i = 0; i < n; ++i) o[i] = uint8_t(a[i] + div(y, b[i] - a[i]));
      }
    });
    // Written back only when every row is done: the strips may overlap.
    for (int y = 0; y < sh; ++y) std::memcpy(S.Row(towardEnd ? H - sh + y : sh - 1 - y), &strip[size_t(y) * n], n);
  }
}

// Rotation of a virtual source of Ws x Hs pixels whose column i is the real
// column colMap[i] and row j the real row rowMap[j]; target pixel (x, y)
// stands at (x + offX, y + offY) of a virtual target of the source's size
// shifted by (dx, dy).
struct RotateFrame {
  const TFastDIB* Source;
  std::vector<int> ColMap, RowMap;
  int Ws, Hs, OffX, OffY, Dx, Dy, CX, CY;
  float Sin, Cos;
};

void RotateBilinearFrame(const RotateFrame& f, TFastDIB& Target) {
  const int Wt = Target.Width(), Ht = Target.Height();
  const int Ws = f.Ws, Hs = f.Hs;
  ParallelRows(Ht, [&](int begin, int end) {
    for (int ty = begin; ty < end; ++ty) {
      const double ry = double(ty + f.OffY - f.CY);
      uint8_t* d = Target.Row(ty);
      for (int tx = 0; tx < Wt; ++tx, d += 3) {
        const double rx = double(tx + f.OffX - f.CX);
        const float u = float(rx * f.Cos - ry * f.Sin + f.CX - f.Dx);
        const float v = float(rx * f.Sin + ry * f.Cos + f.CY - f.Dy);
        int iu = int(u), iv = int(v);
        float wx0, wx1, wy0, wy1;
        if (u >= 0) {
          wx1 = u - float(iu);
          wx0 = 1.0f - wx1;
        } else {
          wx0 = float(iu) - u;
          wx1 = 1.0f - wx0;
        }
        if (v >= 0) {
          wy1 = v - float(iv);
          wy0 = 1.0f - wy1;
        } else {
          wy0 = float(iv) - v;
          wy1 = 1.0f - wy0;
        }
        if (iu < 0)
          iu = Ws - 1 - (-iu) % Ws;
        else if (iu > Ws - 1)
          iu %= Ws;
        if (iv < 0)
          iv = Hs - 1 - (-iv) % Hs;
        else if (iv > Hs - 1)
          iv %= Hs;
        const int iu1 = iu + 1 == Ws ? 0 : iu + 1;
        const int iv1 = iv + 1 == Hs ? 0 : iv + 1;
        const uint8_t* r0 = f.Source->Row(f.RowMap[size_t(iv)]);
        const uint8_t* r1 = f.Source->Row(f.RowMap[size_t(iv1)]);
        const uint8_t* p00 = r0 + 3 * f.ColMap[size_t(iu)];
        const uint8_t* p01 = r1 + 3 * f.ColMap[size_t(iu)];
        const uint8_t* p10 = r0 + 3 * f.ColMap[size_t(iu1)];
        const uint8_t* p11 = r1 + 3 * f.ColMap[size_t(iu1)];
        const float w00 = wx0 * wy0, w01 = wx0 * wy1, w10 = wx1 * wy0, w11 = wx1 * wy1;
#if defined(__SSE2__)
        // The three channels side by side: the same products and sums in the same order.
        __m128 s = _mm_mul_ps(_mm_set1_ps(w00), LoadPixelPs(p00));
        s = _mm_add_ps(s, _mm_mul_ps(_mm_set1_ps(w01), LoadPixelPs(p01)));
        s = _mm_add_ps(s, _mm_mul_ps(_mm_set1_ps(w10), LoadPixelPs(p10)));
        s = _mm_add_ps(s, _mm_mul_ps(_mm_set1_ps(w11), LoadPixelPs(p11)));
        StorePixelPs(d, s);
#else
        for (int c = 0; c < 3; ++c) {
          float s = w00 * float(p00[c]);
          s += w01 * float(p01[c]);
          s += w10 * float(p10[c]);
          s += w11 * float(p11[c]);
          const float r = RoundHalfEven(s);
          d[c] = uint8_t(r < 0 ? 0 : (r > 255 ? 255 : r));
        }
#endif
      }
    }
  });
}

void AngleSinCos(double Angle, float& s, float& c) {
  const float theta = float(-Angle * kPi / 180.0);
  s = float(std::sin(double(theta)));
  c = float(std::cos(double(theta)));
}

}  // namespace

void BlendEdgeStrips(TFastDIB& Surface, int StripWidth, int StripHeight) {
  BlendPass(Surface, StripWidth, StripHeight, true);
}

void EdgeMerge(TFastDIB& Surface, int N, SeamAxis Axis) {
  if (N < 1) return;
  // A strip of 0 is no blend: that axis keeps its pixels.
  const int sw = Axis == SeamAxis::TopBottom ? 0 : Surface.Width() / N;
  const int sh = Axis == SeamAxis::LeftRight ? 0 : Surface.Height() / N;
  BlendEdgeStrips(Surface, sw, sh);
}

void SeamlessEdge(TFastDIB& Surface, int S, SeamAxis Axis) {
  if (Surface.Empty()) return;
  const int limit = std::min(Surface.Width() - 1, Surface.Height() - 1);
  if (S > limit) S = limit / 2;
  const int sw = Axis == SeamAxis::TopBottom ? 0 : S;
  const int sh = Axis == SeamAxis::LeftRight ? 0 : S;
  BlendPass(Surface, sw, sh, true);
  // The same blend on the half-turned image, done in place.
  BlendPass(Surface, sw, sh, false);
}

bool FourWayFlip(TFastDIB& Image, TFastDIB& Scratch) {
  const int W = Image.Width(), H = Image.Height();
  if (Image.Empty()) return true;
  if (!SizeAllowed(int64_t(2) * W, int64_t(2) * H)) return false;
  TFastDIB local;
  TFastDIB& T = &Scratch == &Image ? local : Scratch;
  if (!T.Reshape(2 * W, 2 * H)) return false;
  ParallelRows(H, [&](int begin, int end) {
    for (int y = begin; y < end; ++y) {
      const TPixel24* s = Image.Row24(y);
      TPixel24* top = T.Row24(y);
      std::memcpy(top, s, size_t(W) * 3);
      std::reverse_copy(s, s + W, top + W);
      std::memcpy(T.Row24(2 * H - 1 - y), top, size_t(W) * 6);
    }
  });
  Image.Swap(T);
  return true;
}

void RotateBilinearWrapped(const TFastDIB& Source, TFastDIB& Target, int CX, int CY, double Angle) {
  if (&Source == &Target || Source.Empty() || Target.Empty() || !std::isfinite(Angle)) return;
  RotateFrame f;
  f.Source = &Source;
  f.Ws = Source.Width();
  f.Hs = Source.Height();
  f.ColMap.resize(size_t(f.Ws));
  f.RowMap.resize(size_t(f.Hs));
  for (int i = 0; i < f.Ws; ++i) f.ColMap[size_t(i)] = i;
  for (int j = 0; j < f.Hs; ++j) f.RowMap[size_t(j)] = j;
  f.OffX = f.OffY = 0;
  f.Dx = (Target.Width() - f.Ws) / 2;
  f.Dy = (Target.Height() - f.Hs) / 2;
  f.CX = CX;
  f.CY = CY;
  AngleSinCos(Angle, f.Sin, f.Cos);
  RotateBilinearFrame(f, Target);
}

bool RotateSeamless(TFastDIB& Image, TFastDIB& Scratch) {
  const int W = Image.Width(), H = Image.Height();
  if (Image.Empty() || W != H) return false;
  const double s45 = std::sin(45.0 * kPi / 180.0);
  const int a = int(Nearest(W * s45)), b = int(Nearest(H * s45));
  // The reduced tile, in Scratch.
  TFastDIB local;
  TFastDIB& reduced = &Scratch == &Image ? local : Scratch;
  if (!ResizeBilinearInto(Image, reduced, a, b, 0)) return false;
  // The tile laid 3 x 3, cut to 2a x 2b from (a / 2, b / 2), turned about
  // (a, b) and cut to W x H from ((2a - W) / 2, (2b - H) / 2): every pixel of
  // the 2a x 2b stage is a pixel of the tile, so the rotation reads the tile
  // directly and only the W x H part that is kept is computed.
  RotateFrame f;
  f.Source = &reduced;
  f.Ws = 2 * a;
  f.Hs = 2 * b;
  f.ColMap.resize(size_t(f.Ws));
  f.RowMap.resize(size_t(f.Hs));
  for (int i = 0; i < f.Ws; ++i) f.ColMap[size_t(i)] = (i + a / 2) % a;
  for (int j = 0; j < f.Hs; ++j) f.RowMap[size_t(j)] = (j + b / 2) % b;
  f.OffX = (2 * a - W) / 2;
  f.OffY = (2 * b - H) / 2;
  f.Dx = f.Dy = 0;
  f.CX = a;
  f.CY = b;
  AngleSinCos(45.0, f.Sin, f.Cos);
  // Every pixel of the image is written from the tile alone.
  RotateBilinearFrame(f, Image);
  return true;
}

}  // namespace vorq
