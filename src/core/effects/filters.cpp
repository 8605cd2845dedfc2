#include "core/effects/filters.h"

#include "core/effects/catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/util/arith.h"
#include "core/util/parallel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorq {

const FixedFilter kFixedFilters[12] = {
    {fx::SoftenMore, {2, 2, 2, 2, 0, 2, 2, 2, 2}, 16},          // Soften More
    {fx::SoftenLess, {0, 1, 0, 1, 2, 1, 0, 1, 0}, 6},           // Soften Less
    {fx::EdgeEnhanceMore, {-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1},   // Edge Enhance More
    {fx::EdgeEnhanceLess, {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1},       // Edge Enhance Less
    {fx::EdgeEmbossMore, {2, 0, 2, 0, 1, 0, 2, 0, -6}, 1},          // Edge Emboss More
    {fx::EdgeEmbossLess, {1, 0, 1, 0, 0, 0, 1, 0, -2}, 1},          // Edge Emboss Less
    {fx::HiPass, {-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1},   // Hi Pass
    {fx::Sharpen, {-1, -1, -1, -1, 16, -1, -1, -1, -1}, 8},  // Sharpen
    {fx::Laplace, {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1},   // Laplace
    {fx::Blur, {3, 3, 3, 3, 8, 3, 3, 3, 3}, 32},         // Blur
    {fx::FindEdges, {1, 1, 1, 1, -2, 1, -1, -1, -1}, 1},      // Find Edges
    {fx::GaussianSoft, {1, 2, 1, 2, 4, 2, 1, 2, 1}, 16},         // Gaussian Soft
};

const FixedFilter* FindFixedFilter(int effectId) {
  for (const FixedFilter& f : kFixedFilters)
    if (f.EffectId == effectId) return &f;
  return nullptr;
}

// ---------------------------------------------------------------------------
// 3x3 convolution

namespace detail {

bool FindMagic16(uint32_t divisor, int maxAbs, uint16_t& mul, int& shift) {
  if (divisor == 0) return false;
  for (int s = 0; s < 16; ++s) {
    const uint64_t m = ((uint64_t(1) << (16 + s)) + divisor - 1) / divisor;
    if (m > 0xFFFF) continue;
    // Both sides are non-decreasing steps in a, so agreeing at both ends of
    // every quotient step means agreeing everywhere in 0..maxAbs.
    bool ok = true;
    for (uint64_t k = 0; ok && k * divisor <= uint64_t(maxAbs); ++k) {
      const uint64_t lo = k * divisor, hi = std::min<uint64_t>(lo + divisor - 1, uint64_t(maxAbs));
      ok = ((lo * m) >> (16 + s)) == k && ((hi * m) >> (16 + s)) == k;
    }
    if (ok) {
      mul = uint16_t(m);
      shift = s;
      return true;
    }
  }
  return false;
}

}  // namespace detail

namespace {

struct ConvPlan {
  int32_t K[9];
  int32_t Div;
  bool Small = false;  // every partial sum fits in 16 bits
  bool DivOne = false;
  int16_t K16[9] = {};
  uint16_t Mul = 0;
  int Shift = 0;
};

ConvPlan MakeConvPlan(const int32_t (&Kernel)[9], uint16_t Divisor) {
  ConvPlan p;
  int64_t absSum = 0;
  for (int t = 0; t < 9; ++t) {
    p.K[t] = Kernel[t];
    absSum += Kernel[t] < 0 ? -int64_t(Kernel[t]) : int64_t(Kernel[t]);
  }
  p.Div = int32_t(Divisor);
  p.DivOne = Divisor == 1;
  const int64_t maxAbs = 255 * absSum;
  if (maxAbs <= 32767 && (p.DivOne || detail::FindMagic16(Divisor, int(maxAbs), p.Mul, p.Shift))) {
    p.Small = true;
    for (int t = 0; t < 9; ++t) p.K16[t] = int16_t(Kernel[t]);
  }
  return p;
}

#if defined(__SSE2__)
// Truncating signed division of eight 16-bit sums through |s| * mul >> (16 + shift).
inline __m128i Div16(__m128i s, __m128i mul, __m128i shift) {
  const __m128i sign = _mm_srai_epi16(s, 15);
  const __m128i a = _mm_sub_epi16(_mm_xor_si128(s, sign), sign);
  const __m128i q = _mm_srl_epi16(_mm_mulhi_epu16(a, mul), shift);
  return _mm_sub_epi16(_mm_xor_si128(q, sign), sign);
}
#endif

// One output row from three rows of the bordered copy; n = 3 * width bytes.
void ConvolveRow(const uint8_t* t0, const uint8_t* t1, const uint8_t* t2, uint8_t* out, int n, const ConvPlan& p) {
  const uint8_t* src[9] = {t0, t0 + 3, t0 + 6, t1, t1 + 3, t1 + 6, t2, t2 + 3, t2 + 6};
  int i = 0;
  if (p.Small) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i mul = _mm_set1_epi16(int16_t(p.Mul));
    const __m128i shift = _mm_cvtsi32_si128(p.Shift);
    __m128i k[9];
    for (int t = 0; t < 9; ++t) k[t] = _mm_set1_epi16(p.K16[t]);
    // The taps reach 6 bytes beyond i, and the bordered rows are n + 6 long.
    for (; i + 16 <= n; i += 16) {
      __m128i lo = zero, hi = zero;
      for (int t = 0; t < 9; ++t) {
        if (p.K16[t] == 0) continue;
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src[t] + i));
        lo = _mm_add_epi16(lo, _mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), k[t]));
        hi = _mm_add_epi16(hi, _mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), k[t]));
      }
      if (!p.DivOne) {
        lo = Div16(lo, mul, shift);
        hi = Div16(hi, mul, shift);
      }
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) {
      int s = 0;
      for (int t = 0; t < 9; ++t) s += p.K16[t] * src[t][i];
      out[i] = ClampByte(s / p.Div);
    }
    return;
  }
  // Large kernels: 32-bit sums that wrap on overflow, as the integer
  // arithmetic they model does.
  for (; i < n; ++i) {
    uint32_t s = 0;
    for (int t = 0; t < 9; ++t) s += uint32_t(p.K[t]) * uint32_t(src[t][i]);
    out[i] = ClampByte(int32_t(s) / p.Div);
  }
}

// Row ty of the bordered copy: row 0 above the image, rows 1..H the image
// with its wrapped left and right neighbours, row H+1 below. The corners of
// the border repeat the image's own corner pixels.
void BorderRow(const TFastDIB& s, int ty, uint8_t* dst) {
  const int W = s.Width(), H = s.Height();
  auto* d = reinterpret_cast<TPixel24*>(dst);
  if (ty == 0) {
    d[0] = s.Row24(0)[0];
    std::memcpy(d + 1, s.Row24(H - 1), size_t(W) * 3);
    d[W + 1] = s.Row24(0)[W - 1];
  } else if (ty == H + 1) {
    d[0] = s.Row24(H - 1)[0];
    std::memcpy(d + 1, s.Row24(0), size_t(W) * 3);
    d[W + 1] = s.Row24(H - 1)[W - 1];
  } else {
    const TPixel24* r = s.Row24(ty - 1);
    d[0] = r[W - 1];
    std::memcpy(d + 1, r, size_t(W) * 3);
    d[W + 1] = r[0];
  }
}

}  // namespace

namespace detail {

void DivideSums16(const int16_t* sums, uint8_t* out, int n, uint16_t divisor) {
  int32_t k[9] = {0, 0, 0, 0, 1, 0, 0, 0, 0};
  ConvPlan p = MakeConvPlan(k, divisor);
  int maxAbs = 0;
  for (int i = 0; i < n; ++i) maxAbs = std::max(maxAbs, std::abs(int(sums[i])));
  p.Small = p.DivOne || FindMagic16(divisor, maxAbs, p.Mul, p.Shift);
  int i = 0;
#if defined(__SSE2__)
  if (p.Small) {
    const __m128i mul = _mm_set1_epi16(int16_t(p.Mul));
    const __m128i shift = _mm_cvtsi32_si128(p.Shift);
    for (; i + 16 <= n; i += 16) {
      __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i));
      __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i + 8));
      if (!p.DivOne) {
        lo = Div16(lo, mul, shift);
        hi = Div16(hi, mul, shift);
      }
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
    }
  }
#endif
  for (; i < n; ++i) out[i] = ClampByte(sums[i] / int32_t(divisor));
}

}  // namespace detail

void Convolve3x3(const int32_t (&Kernel)[9], uint16_t Divisor, TFastDIB& Surface) {
  if (Divisor == 0 || Surface.Empty()) return;
  const int W = Surface.Width(), H = Surface.Height();
  const int n = 3 * W;
  const size_t rowLen = size_t(W + 2) * 3;
  const ConvPlan plan = MakeConvPlan(Kernel, Divisor);

  // Bands run in parallel and overwrite their rows in place. Each band keeps
  // the original of its own rows in three rolling bordered rows; its first
  // and last output rows are held back until all bands finish, so every row
  // a band reads from a neighbour (and the wrapped rows 0 and H-1) is still
  // the original.
  std::vector<std::vector<uint8_t>> heldBack(static_cast<size_t>(H));
  ParallelRows(H, [&](int b, int e) {
    std::vector<uint8_t> buf(3 * rowLen);
    uint8_t* prev = buf.data();
    uint8_t* cur = prev + rowLen;
    uint8_t* next = cur + rowLen;
    BorderRow(Surface, b, prev);
    BorderRow(Surface, b + 1, cur);
    for (int y = b; y < e; ++y) {
      BorderRow(Surface, y + 2, next);
      uint8_t* out;
      if (y == b || y == e - 1) {
        heldBack[size_t(y)].resize(size_t(n));
        out = heldBack[size_t(y)].data();
      } else {
        out = Surface.Row(y);
      }
      ConvolveRow(prev, cur, next, out, n, plan);
      std::swap(prev, cur);
      std::swap(cur, next);
    }
  });
  for (int y = 0; y < H; ++y)
    if (!heldBack[size_t(y)].empty()) std::memcpy(Surface.Row(y), heldBack[size_t(y)].data(), size_t(n));
}

// ---------------------------------------------------------------------------
// Gaussian blur

GaussKernel MakeGaussKernel(double Radius) {
  GaussKernel k;
  float* w = k.Weights + 10;  // w[j], j = -10 .. 10
  double sum = 0;
  for (int j = -10; j <= 10; ++j) {
    const double t = j / Radius;
    w[j] = float(std::exp(-(t * t) / 2));
    sum += w[j];
  }
  for (int j = -10; j <= 10; ++j) w[j] = float(w[j] / sum);
  // Drop the outer weights whose total stays below half a grey level.
  const double granularity = 1.0 / (2 * 255.0);
  int s = 10;
  double acc = 0;
  while (acc < granularity && s > 1) {
    acc += 2.0 * double(w[s]);
    --s;
  }
  sum = 0;
  for (int j = -s; j <= s; ++j) sum += w[j];
  for (int j = -10; j <= 10; ++j) w[j] = (j < -s || j > s) ? 0.0f : float(w[j] / sum);
  k.Size = s;
  return k;
}

uint8_t GaussSumToByte(double v) {
  if (!(v > 0)) return 0;
  if (v >= 255.0) return 255;
  return uint8_t(int(v));
}

namespace {

struct GaussPlan {
  int S = 1;
  double W[11] = {};  // W[k]: weight of offsets +k and -k (the kernel is symmetric)
  // Every product weight * byte is a multiple of the smallest weight's float
  // ulp; when 255 * sum(weights) in those units stays below 2^53 every
  // partial sum is exact in double, so any summation order (and pairing the
  // symmetric taps) gives the same bits as the plain left-to-right sum.
  bool Exact = false;
  // The same sum in integers: weight k is (Hi[k] << 15) + Lo[k] units of
  // 2^-(Shift + 15), so v = (A * 2^15 + B) / 2^(Shift + 15) with
  // A = sum Hi * byte and B = sum Lo * byte, and trunc(v) =
  // (A + (B >> 15)) >> Shift. Usable when every weight is under 2^30 units.
  bool Int = false;
  int16_t Hi[12] = {}, Lo[12] = {};
  int Shift = 0;
};

bool gVectorGauss = true;

GaussPlan MakeGaussPlan(const GaussKernel& k) {
  GaussPlan g;
  g.S = k.Size;
  double minW = 1;
  for (int j = 0; j <= g.S; ++j) {
    g.W[j] = k.Weights[10 + j];
    if (g.W[j] > 0) minW = std::min(minW, g.W[j]);
  }
  // Sums stay below 2^9; float ulp of minW is 2^(e-24).
  int e = 0;
  std::frexp(minW, &e);
  g.Exact = minW >= 0x1p-126 && e - 24 >= 9 - 53;
  if (g.Exact) {
    const int K = 24 - e;  // one unit = the ulp of the smallest weight
    g.Int = gVectorGauss;
    for (int j = 0; j <= g.S && g.Int; ++j) {
      const double units = std::ldexp(g.W[j], K);
      g.Int = units < 0x1p30 && units == std::floor(units);
      if (!g.Int) break;  // units may not fit an int: no conversion
      const int32_t u = int32_t(units);
      g.Hi[j] = int16_t(u >> 15);
      g.Lo[j] = int16_t(u & 0x7FFF);
    }
    g.Shift = K - 15;
  }
  return g;
}

inline uint8_t SumToByteFast(double v) {
  v = v < 255.0 ? v : 255.0;
  v = v > 0.0 ? v : 0.0;
  return uint8_t(int(v));
}

// c points at the first real element; c[-3S] .. c[n - 1 + 3S] are readable.
// Sums go through a small buffer: a loop that both sums in double and
// packs bytes runs out of registers.
constexpr int kChunk = 64;

inline void ChunkToBytes(const double* v, uint8_t* __restrict out, int len) {
  for (int i = 0; i < len; ++i) out[i] = SumToByteFast(v[i]);
}

template <int S>
void HRowExact(const double* __restrict c, uint8_t* __restrict out, int n, const double* w) {
  alignas(16) double v[kChunk];
  for (int i0 = 0; i0 < n; i0 += kChunk) {
    const int len = std::min(kChunk, n - i0);
    const double* __restrict x = c + i0;
    for (int i = 0; i < len; ++i) {
      double t = w[0] * x[i];
      for (int k = 1; k <= S; ++k) t += w[k] * (x[i - 3 * k] + x[i + 3 * k]);
      v[i] = t;
    }
    ChunkToBytes(v, out + i0, len);
  }
}

void HRowInOrder(const double* c, uint8_t* out, int n, const GaussPlan& g) {
  for (int i = 0; i < n; ++i) {
    double v = 0;
    for (int j = -g.S; j <= g.S; ++j) v += g.W[j < 0 ? -j : j] * c[i - 3 * j];
    out[i] = SumToByteFast(v);
  }
}

// p[S + k] is the input row at offset k from the output row.
template <int S>
void VRowExact(const double* const* p, uint8_t* __restrict out, int n, const double* w) {
  alignas(16) double v[kChunk];
  for (int i0 = 0; i0 < n; i0 += kChunk) {
    const int len = std::min(kChunk, n - i0);
    const double* __restrict mid = p[S] + i0;
    for (int i = 0; i < len; ++i) {
      double t = w[0] * mid[i];
      for (int k = 1; k <= S; ++k) t += w[k] * (p[S - k][i0 + i] + p[S + k][i0 + i]);
      v[i] = t;
    }
    ChunkToBytes(v, out + i0, len);
  }
}

void VRowInOrder(const double* const* p, uint8_t* out, int n, const GaussPlan& g) {
  for (int i = 0; i < n; ++i) {
    double v = 0;
    // in(y - j) for j = -S .. S
    for (int j = -g.S; j <= g.S; ++j) v += g.W[j < 0 ? -j : j] * p[g.S - j][i];
    out[i] = SumToByteFast(v);
  }
}

#if defined(__SSE2__)
// a[0] is the centre row, a[k] and b[k] (k = 1..S) the rows at offsets -k
// and +k. Pair sums of bytes fit 16 bits; pmaddwd then multiplies two taps
// with their weight halves and adds them in 32 bits.
template <int S>
void IntRow(const int16_t* const* a, const int16_t* const* b, uint8_t* out, int n, const GaussPlan& g) {
  constexpr int kPairs = (S + 2) / 2;
  __m128i hw[kPairs], lw[kPairs];
  for (int j = 0; j < kPairs; ++j) {
    hw[j] = _mm_set1_epi32(int32_t(uint16_t(g.Hi[2 * j]) | (uint32_t(uint16_t(g.Hi[2 * j + 1])) << 16)));
    lw[j] = _mm_set1_epi32(int32_t(uint16_t(g.Lo[2 * j]) | (uint32_t(uint16_t(g.Lo[2 * j + 1])) << 16)));
  }
  const __m128i shift = _mm_cvtsi32_si128(g.Shift);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m128i t[S + 2];
    t[0] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a[0] + i));
    for (int k = 1; k <= S; ++k)
      t[k] = _mm_add_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a[k] + i)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(b[k] + i)));
    t[S + 1] = _mm_setzero_si128();
    __m128i a0 = _mm_setzero_si128(), a1 = a0, b0 = a0, b1 = a0;
    for (int j = 0; j < kPairs; ++j) {
      const __m128i u0 = _mm_unpacklo_epi16(t[2 * j], t[2 * j + 1]);
      const __m128i u1 = _mm_unpackhi_epi16(t[2 * j], t[2 * j + 1]);
      a0 = _mm_add_epi32(a0, _mm_madd_epi16(u0, hw[j]));
      a1 = _mm_add_epi32(a1, _mm_madd_epi16(u1, hw[j]));
      b0 = _mm_add_epi32(b0, _mm_madd_epi16(u0, lw[j]));
      b1 = _mm_add_epi32(b1, _mm_madd_epi16(u1, lw[j]));
    }
    const __m128i q0 = _mm_srl_epi32(_mm_add_epi32(a0, _mm_srli_epi32(b0, 15)), shift);
    const __m128i q1 = _mm_srl_epi32(_mm_add_epi32(a1, _mm_srli_epi32(b1, 15)), shift);
    const __m128i w16 = _mm_packs_epi32(q0, q1);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(w16, w16));
  }
  for (; i < n; ++i) {
    int32_t A = g.Hi[0] * a[0][i], B = g.Lo[0] * a[0][i];
    for (int k = 1; k <= S; ++k) {
      const int p = a[k][i] + b[k][i];
      A += g.Hi[k] * p;
      B += g.Lo[k] * p;
    }
    const uint32_t q = g.Shift < 32 ? uint32_t(A + (B >> 15)) >> g.Shift : 0;
    out[i] = uint8_t(std::min<uint32_t>(q, 255));
  }
}

template <int S>
void HInt(const int16_t* c, uint8_t* out, int n, const GaussPlan& g) {
  const int16_t* a[S + 1];
  const int16_t* b[S + 1];
  for (int k = 0; k <= S; ++k) {
    a[k] = c - 3 * k;
    b[k] = c + 3 * k;
  }
  IntRow<S>(a, b, out, n, g);
}
template <int S>
void VInt(const int16_t* const* p, uint8_t* out, int n, const GaussPlan& g) {
  const int16_t* a[S + 1];
  const int16_t* b[S + 1];
  for (int k = 0; k <= S; ++k) {
    a[k] = p[S - k];
    b[k] = p[S + k];
  }
  IntRow<S>(a, b, out, n, g);
}
#endif

template <int S>
void HPass(const double* c, uint8_t* out, int n, const GaussPlan& g) {
  HRowExact<S>(c, out, n, g.W);
}
template <int S>
void VPass(const double* const* p, uint8_t* out, int n, const GaussPlan& g) {
  VRowExact<S>(p, out, n, g.W);
}

template <typename T>
using HFn = void (*)(const T*, uint8_t*, int, const GaussPlan&);
template <typename T>
using VFn = void (*)(const T* const*, uint8_t*, int, const GaussPlan&);

template <typename T>
void RunPasses(TFastDIB& Bitmap, const GaussPlan& g, HFn<T> hrow, VFn<T> vrow) {
  const int S = g.S, W = Bitmap.Width(), H = Bitmap.Height(), n = 3 * W;

  // Horizontal: each row is read whole into a padded buffer (ends repeated)
  // before it is written back.
  ParallelRows(H, [&](int b, int e) {
    std::vector<T> buf(size_t(n) + 6 * size_t(S));
    T* c = buf.data() + 3 * S;
    for (int y = b; y < e; ++y) {
      uint8_t* row = Bitmap.Row(y);
      for (int i = 0; i < n; ++i) c[i] = row[i];
      for (int k = 1; k <= S; ++k)
        for (int ch = 0; ch < 3; ++ch) {
          c[-3 * k + ch] = row[ch];
          c[n - 3 + 3 * k + ch] = row[n - 3 + ch];
        }
      hrow(c, row, n, g);
    }
  });

  // Vertical: every byte column is independent, so the image is cut into
  // strips of byte columns; each strip keeps a ring of 2S+1 rows and writes
  // row y once rows y-S .. y+S are in the ring.
  int strip = (n / 32 + 15) & ~15;
  strip = std::clamp(strip, 32, 2048 / int(sizeof(T)));
  const int strips = (n + strip - 1) / strip;
  const int R = 2 * S + 1;
  ParallelRows(strips, [&](int b, int e) {
    std::vector<T> ring(size_t(R) * size_t(strip));
    const T* p[21];
    for (int st = b; st < e; ++st) {
      const int c0 = st * strip, len = std::min(strip, n - c0);
      auto slot = [&](int r) { return ring.data() + size_t(r % R) * size_t(strip); };
      auto load = [&](int r) {
        const uint8_t* src = Bitmap.Row(r) + c0;
        T* d = slot(r);
        for (int i = 0; i < len; ++i) d[i] = src[i];
      };
      for (int r = 0; r <= std::min(S, H - 1); ++r) load(r);
      for (int y = 0; y < H; ++y) {
        if (y >= 1 && y + S <= H - 1) load(y + S);
        for (int k = -S; k <= S; ++k) p[S + k] = slot(std::clamp(y + k, 0, H - 1));
        vrow(p, Bitmap.Row(y) + c0, len, g);
      }
    }
  });
}

#define VORQ_TAPS(F) {nullptr, F<1>, F<2>, F<3>, F<4>, F<5>, F<6>, F<7>, F<8>, F<9>, F<10>}

void BlurWithKernel(TFastDIB& Bitmap, const GaussKernel& kernel) {
  const GaussPlan g = MakeGaussPlan(kernel);
#if defined(__SSE2__)
  if (g.Int) {
    static constexpr HFn<int16_t> h[11] = VORQ_TAPS(HInt);
    static constexpr VFn<int16_t> v[11] = VORQ_TAPS(VInt);
    RunPasses<int16_t>(Bitmap, g, h[g.S], v[g.S]);
    return;
  }
#endif
  if (g.Exact) {
    static constexpr HFn<double> h[11] = VORQ_TAPS(HPass);
    static constexpr VFn<double> v[11] = VORQ_TAPS(VPass);
    RunPasses<double>(Bitmap, g, h[g.S], v[g.S]);
  } else {
    RunPasses<double>(Bitmap, g, HRowInOrder, VRowInOrder);
  }
}

#undef VORQ_TAPS

}  // namespace

void detail::UseVectorGauss(bool on) { gVectorGauss = on; }

bool GBlur(TFastDIB& Bitmap, double Radius) {
  if (Bitmap.Empty() || Bitmap.BitsPerPixel() != 24) return false;
  // Radius 0 would divide by zero and a negative radius has no meaning for
  // a blur: both leave the bitmap as it is.
  if (!(Radius > 0)) return true;
  BlurWithKernel(Bitmap, MakeGaussKernel(Radius));
  return true;
}

void GaussianBlurCommand(TFastDIB& Work, TFastDIB& Scratch, int Radius) {
  if (Work.Empty()) return;
  const int64_t m = int64_t(Radius) + 1;
  if (m <= 0) return;  // no margin means no blur
  const GaussKernel kernel = MakeGaussKernel(double(m));
  // The blur reaches only Size pixels; a wider margin cannot change the
  // centre, so it is not built.
  const int margin = int(std::min<int64_t>(m, kernel.Size));
  const int W = Work.Width(), H = Work.Height();

  TFastDIB local;
  TFastDIB& wrapped = (&Scratch == &Work) ? local : Scratch;
  if (!wrapped.Reshape(W + 2 * margin, H + 2 * margin)) return;
  // The image as a tile with a margin all round; the modulo also covers a
  // margin wider or higher than the image.
  ParallelRows(H + 2 * margin, [&](int b, int e) {
    for (int j = b; j < e; ++j) {
      const TPixel24* src = Work.Row24(WrapMod(j - margin, H));
      TPixel24* dst = wrapped.Row24(j);
      for (int i = 0; i < margin; ++i) {
        dst[i] = src[WrapMod(i - margin, W)];
        dst[margin + W + i] = src[i % W];
      }
      std::memcpy(dst + margin, src, size_t(W) * 3);
    }
  });
  BlurWithKernel(wrapped, kernel);
  wrapped.DrawPart(Work, 0, 0, W, H, margin, margin);
}

// ---------------------------------------------------------------------------
// Classic Emboss

void ClassicEmboss(TFastDIB& Target, TFastDIB& Scratch, int Level) {
  if (Target.Empty()) return;
  const int W = Target.Width(), H = Target.Height();
  TFastDIB local;
  TFastDIB& copy = (&Scratch == &Target) ? local : Scratch;
  // The source moves to the scratch surface and every byte of Target is written anew.
  Target.Swap(copy);
  if (!Target.Reshape(W, H)) {
    Target.Swap(copy);
    return;
  }
  CopyGapBytes(copy, Target);
  // Outside -256 .. 511 every result clamps the same way, so the narrowed
  // value keeps the arithmetic in 16 bits.
  const int half = std::clamp(Level / 2, -256, 511);
  // Pixel p of row yy gets the pixel two right and two down of it; both
  // offsets wrap modulo the size, which also covers images under 2 pixels.
  ParallelRows(H, [&](int b, int e) {
    for (int y = b; y < e; ++y) {
      const int yy = WrapMod(y - 2, H);
      const uint8_t* __restrict down = copy.Row(y);
      const uint8_t* __restrict self = copy.Row(yy);
      uint8_t* __restrict out = Target.Row(yy);
      const int body = std::max(W - 2, 0);
      for (int i = 0; i < 3 * body; ++i) out[i] = ClampByte(half - self[i] + down[i + 6]);
      for (int xx = body; xx < W; ++xx) {
        const int x = (xx + 2) % W;
        for (int ch = 0; ch < 3; ++ch) out[3 * xx + ch] = ClampByte(half - self[3 * xx + ch] + down[3 * x + ch]);
      }
    }
  });
}

// ---------------------------------------------------------------------------
// Split Blur / Split Gauss

namespace {

// Row y from rows ya and yb (both other than y); dx <= W / 2.
void SplitRow(const uint8_t* __restrict a, const uint8_t* __restrict b, uint8_t* __restrict o, int W, int dx) {
  auto pixel = [&](int x) {
    const int xa = x - dx < 0 ? x - dx + W : x - dx;
    const int xb = x + dx >= W ? x + dx - W : x + dx;
    for (int ch = 0; ch < 3; ++ch)
      o[3 * x + ch] = uint8_t((a[3 * xa + ch] + a[3 * xb + ch] + b[3 * xa + ch] + b[3 * xb + ch]) >> 2);
  };
  for (int x = 0; x < dx; ++x) pixel(x);
  // Wrap-free middle, no dependency between its pixels.
  const int sh = 3 * dx;
  for (int i = 3 * dx; i < 3 * (W - dx); ++i)
    o[i] = uint8_t((unsigned(a[i - sh]) + a[i + sh] + b[i - sh] + b[i + sh]) >> 2);
  for (int x = std::max(W - dx, dx); x < W; ++x) pixel(x);
}

}  // namespace

void SplitBlur(TFastDIB& Surface, int Distance) {
  if (Surface.Empty()) return;
  const int W = Surface.Width(), H = Surface.Height();
  // Only the offset modulo the size matters, and x - d, x + d form the same
  // pair as x + d, x - d, so the shorter way round is used.
  int dx = WrapMod(Distance, W), dy = WrapMod(Distance, H);
  dx = std::min(dx, W - dx);
  dy = std::min(dy, H - dy);
  if (dy == 0) {
    // All four samples come from the row being written, left to right.
    if (dx == 0) return;  // four copies of the pixel itself
    for (int y = 0; y < H; ++y) {
      uint8_t* p = Surface.Row(y);
      for (int x = 0; x < W; ++x) {
        const int xa = x - dx < 0 ? x - dx + W : x - dx;
        const int xb = x + dx >= W ? x + dx - W : x + dx;
        for (int ch = 0; ch < 3; ++ch) p[3 * x + ch] = uint8_t((2 * p[3 * xa + ch] + 2 * p[3 * xb + ch]) >> 2);
      }
    }
    return;
  }
  // Rows run strictly in order: row y - dy may already hold new values.
  for (int y = 0; y < H; ++y) {
    const int ya = y - dy < 0 ? y - dy + H : y - dy;
    const int yb = y + dy >= H ? y + dy - H : y + dy;
    SplitRow(Surface.Row(ya), Surface.Row(yb), Surface.Row(y), W, dx);
  }
}

void SplitGauss(TFastDIB& Surface, int D) {
  for (int d = std::min(D, kMaxSplitGaussAmount); d >= 0; --d) SplitBlur(Surface, d);
}

}  // namespace vorq
