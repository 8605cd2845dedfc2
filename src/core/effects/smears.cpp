#include "core/effects/smears.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "core/effects/distortions.h"  // WrapIndex
#include "core/effects/geometry.h"     // ResizeBilinearInto
#include "core/util/parallel.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorq {
namespace {

// i mod n in 0 .. n - 1 for any i.
inline int FloorMod(int64_t i, int n) {
  const int64_t r = i % n;
  return int(r < 0 ? r + n : r);
}

// ---------------------------------------------------------------------------
// StretchBlur. With s = red + green + blue of the map, b = s / 765 and
// k = 1 - b in single precision, moved * k + value * b lies within
// 255 * 2^-23 of the rational (moved * (765 - s) + value * s) / 765, whose
// fraction is a multiple of 1/765 and so never nearer than 1/1530 to a
// half. Rounding either gives the same whole number, so the blend works on
// the exact sums; the single-precision quotient below is just as far from
// any half.

// The map's sums of one row.
void RowSums(const uint8_t* map, uint16_t* s, int n) {
  for (int i = 0; i < n; ++i, map += 3) s[i] = uint16_t(map[0] + map[1] + map[2]);
}

#if defined(__SSE2__)
// The channel sums of the four pixels in bytes 0 .. 11, as 16-bit lanes 0 .. 3.
inline __m128i SumsOf4(__m128i c) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i first = _mm_setr_epi8(-1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m128i firstAndLast = _mm_setr_epi8(-1, -1, -1, 0, 0, 0, 0, 0, 0, -1, -1, -1, 0, 0, 0, 0);
  const __m128i s03 = _mm_sad_epu8(_mm_and_si128(c, firstAndLast), zero);  // 64-bit lanes
  const __m128i s1 = _mm_sad_epu8(_mm_and_si128(_mm_srli_si128(c, 3), first), zero);
  const __m128i s2 = _mm_sad_epu8(_mm_and_si128(_mm_srli_si128(c, 6), first), zero);
  return _mm_or_si128(_mm_or_si128(_mm_move_epi64(s03), _mm_slli_epi64(s1, 16)),
                      _mm_or_si128(_mm_slli_epi64(s2, 32), _mm_srli_si128(s03, 2)));
}

// Weight pairs (765 - s, s) of the pixels of the four channels 4g .. 4g + 3
// of a 4-pixel group whose pairs are in w: channel j belongs to pixel j / 3.
inline __m128i ChannelWeights(__m128i w, int g) {
  switch (g) {
    case 0: return _mm_shuffle_epi32(w, _MM_SHUFFLE(1, 0, 0, 0));
    case 1: return _mm_shuffle_epi32(w, _MM_SHUFFLE(2, 2, 1, 1));
    default: return _mm_shuffle_epi32(w, _MM_SHUFFLE(3, 3, 3, 2));
  }
}

// Four channels: the pairs (moved, kept) meet their weight pairs in one
// multiply-add; the quotient by 765 in single precision is exact (above).
inline __m128i BlendChannels(__m128i pairs, __m128i weights) {
  const __m128 inv = _mm_set1_ps(1.0f / 765.0f);
  return _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(_mm_madd_epi16(pairs, weights)), inv));
}

inline __m128i WeightPairs(__m128i sums, bool high) {
  const __m128i k = _mm_sub_epi16(_mm_set1_epi16(765), sums);
  return high ? _mm_unpackhi_epi16(k, sums) : _mm_unpacklo_epi16(k, sums);
}

// Sixteen pixels, three whole vectors of channels.
template <bool Self>
inline void Blend16(uint8_t* d, const uint8_t* moved, const uint8_t* kept, const uint16_t* s) {
  const __m128i zero = _mm_setzero_si128();
  __m128i lo, hi;  // sums of pixels 0 .. 7 and 8 .. 15
  if (Self) {
    auto at = [&](int i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(kept + i)); };
    lo = _mm_unpacklo_epi64(SumsOf4(at(0)), SumsOf4(at(12)));
    hi = _mm_unpacklo_epi64(SumsOf4(at(24)), SumsOf4(_mm_srli_si128(at(32), 4)));
  } else {
    lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 8));
  }
  const __m128i w[4] = {WeightPairs(lo, false), WeightPairs(lo, true), WeightPairs(hi, false), WeightPairs(hi, true)};
  for (int v = 0; v < 3; ++v) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(moved + 16 * v));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kept + 16 * v));
    const __m128i alo = _mm_unpacklo_epi8(a, zero), clo = _mm_unpacklo_epi8(c, zero);
    const __m128i ahi = _mm_unpackhi_epi8(a, zero), chi = _mm_unpackhi_epi8(c, zero);
    const __m128i pairs[4] = {_mm_unpacklo_epi16(alo, clo), _mm_unpackhi_epi16(alo, clo),
                              _mm_unpacklo_epi16(ahi, chi), _mm_unpackhi_epi16(ahi, chi)};
    __m128i r[4];
    for (int g = 0; g < 4; ++g) {
      const int group = 4 * v + g;  // of four channels, three to a 4-pixel weight vector
      r[g] = BlendChannels(pairs[g], ChannelWeights(w[group / 3], group % 3));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * v),
                     _mm_packus_epi16(_mm_packs_epi32(r[0], r[1]), _mm_packs_epi32(r[2], r[3])));
  }
}
#endif

// n pixels: d = Nearest(moved * k + kept * b) with s the map's sums, or
// with the sums of kept itself when Self.
template <bool Self>
void BlendSpan(uint8_t* d, const uint8_t* moved, const uint8_t* kept, const uint16_t* s, int n) {
  int i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) Blend16<Self>(d + 3 * i, moved + 3 * i, kept + 3 * i, s + i);
  // Then four pixels a step; loads reach 16 bytes, so the last pixels go
  // through the plain loop.
  const __m128i zero = _mm_setzero_si128();
  for (; i + 6 <= n; i += 4) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(moved + 3 * i));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kept + 3 * i));
    const __m128i alo = _mm_unpacklo_epi8(a, zero), clo = _mm_unpacklo_epi8(c, zero);
    const __m128i ahi = _mm_unpackhi_epi8(a, zero), chi = _mm_unpackhi_epi8(c, zero);
    const __m128i w = WeightPairs(Self ? SumsOf4(c) : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i)), false);
    const __m128i r0 = BlendChannels(_mm_unpacklo_epi16(alo, clo), ChannelWeights(w, 0));
    const __m128i r1 = BlendChannels(_mm_unpackhi_epi16(alo, clo), ChannelWeights(w, 1));
    const __m128i r2 = BlendChannels(_mm_unpacklo_epi16(ahi, chi), ChannelWeights(w, 2));
    const __m128i out = _mm_packus_epi16(_mm_packs_epi32(r0, r1), _mm_packs_epi32(r2, r2));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 3 * i), out);
    const int32_t tail = _mm_cvtsi128_si32(_mm_srli_si128(out, 8));
    std::memcpy(d + 3 * i + 8, &tail, 4);
  }
#endif
  for (; i < n; ++i) {
    const uint32_t w = Self ? kept[3 * i] + kept[3 * i + 1] + kept[3 * i + 2] : s[i], k = 765 - w;
    for (int c = 0; c < 3; ++c) d[3 * i + c] = uint8_t((moved[3 * i + c] * k + kept[3 * i + c] * w + 382) / 765);
  }
}

// One repetition from In into Out (different surfaces of the same size):
// the blend of In at (x + lm, y + vm) with In at (x, y), weighted by the
// map's sums at (x, y): Sums (W x H) or, when null, In's own. The result
// lands wrapped by (fdx, fdy), i.e. at (x - fdx, y - fdy), so the last
// repetition also does the final shift. All offsets are in 0 .. size - 1.
void Repetition(const TFastDIB& In, TFastDIB& Out, const uint16_t* Sums, int lm, int vm, int fdx, int fdy) {
  const int W = In.Width(), H = In.Height();
  // Spans between the places where the moved source or the target wraps.
  int cuts[4] = {0, W - lm, fdx, W};
  std::sort(cuts + 1, cuts + 3);
  ParallelRows(H, [&](int begin, int end) {
    for (int y = begin; y < end; ++y) {
      const uint8_t* kept = In.Row(y);
      const uint8_t* moved = In.Row(y + vm < H ? y + vm : y + vm - H);
      const uint16_t* s = Sums != nullptr ? Sums + size_t(y) * size_t(W) : nullptr;
      uint8_t* out = Out.Row(y >= fdy ? y - fdy : y - fdy + H);
      for (int c = 0; c < 3; ++c) {
        const int a = cuts[c], b = cuts[c + 1];
        if (a >= b) continue;
        const int to = a >= fdx ? a - fdx : a - fdx + W;
        const int from = a + lm < W ? a + lm : a + lm - W;
        uint8_t* const d = out + 3 * size_t(to);
        if (s != nullptr)
          BlendSpan<false>(d, moved + 3 * size_t(from), kept + 3 * size_t(a), s + a, b - a);
        else
          BlendSpan<true>(d, moved + 3 * size_t(from), kept + 3 * size_t(a), nullptr, b - a);
      }
    }
  });
}

// Sums null: the map is the image itself, as each repetition leaves it.
void StretchBlur(TFastDIB& Work, TFastDIB& Scratch, const uint16_t* Sums, int L, int V, int R) {
  const int W = Work.Width(), H = Work.Height();
  R = std::clamp(R, 0, kMaxStretchBlurRepetitions);
  if (R == 0) return;  // no repetition, no accumulated shift
  // Shifting by L is shifting by L mod W; the final shift needs the whole
  // product, which 64 bits hold.
  const int lm = FloorMod(L, W), vm = FloorMod(V, H);
  const int fdx = FloorMod(-int64_t(L) * R / 2, W), fdy = FloorMod(-int64_t(V) * R / 2, H);
  if (!Scratch.SetSize(W, H, 24, 0)) return;
  // Repetitions alternate between the two surfaces; an odd count leaves the
  // result in Scratch, which then changes places with Work.
  TFastDIB* in = &Work;
  TFastDIB* out = &Scratch;
  for (int r = 1; r <= R; ++r) {
    const bool last = r == R;
    Repetition(*in, *out, Sums, lm, vm, last ? fdx : 0, last ? fdy : 0);
    std::swap(in, out);
  }
  if (R % 2 == 1) std::swap(Work, Scratch);
}

// ---------------------------------------------------------------------------
// Water. A pixel's source coordinate along an axis of n is
// wrap(Nearest(A * m + i + A)), where m takes only 256 values. For each
// maximum channel value and each parity of i the rounding is a fixed
// integer start plus i, and each start is reduced to -2n .. n - 1 without
// changing what the wrap rule gives for i = 0 .. n - 1; the wrap rule is
// then a table over -2n .. 2n - 1.
struct WaterAxis {
  int Start[2][256];       // [parity of i][max]
  std::vector<int> Wrap;   // Wrap[j + 2n] = wrapped j times Scale
  int Size;

  WaterAxis(int A, int n, int Scale) : Wrap(size_t(4) * size_t(n)), Size(n) {
    for (int j = -2 * n; j < 2 * n; ++j) Wrap[size_t(j + 2 * n)] = int(WrapIndex(j, n)) * Scale;
    for (int mx = 0; mx < 256; ++mx) {
      const float m = float(mx) / 255.0f;
      // m >= 1/255 > 2^-8 has no bits below 2^-31, so m * 2^31 is whole and
      // A * m + A = base + rem / 2^31 exactly.
      const int64_t q = int64_t(double(m) * 2147483648.0);
      const int64_t aq = int64_t(A) * q;  // |aq| <= 2^62
      const int64_t fl = aq >> 31;         // floor
      const int64_t rem = aq - fl * (int64_t(1) << 31);
      const int64_t base = int64_t(A) + fl;
      constexpr int64_t kHalf = int64_t(1) << 30;
      for (int parity = 0; parity < 2; ++parity) {
        // An exact half goes to the even neighbour of base + i.
        const int64_t up = rem > kHalf ? 1 : (rem < kHalf ? 0 : ((base + parity) & 1));
        Start[parity][mx] = Reduce(base + up, n);
      }
    }
  }

  // Start + i for i = 0 .. n - 1 wraps like s + i.
  static int Reduce(int64_t s, int n) {
    if (s >= 0) return FloorMod(s, n);
    if (s >= -n) return int(s);
    return FloorMod(s, n) - 2 * n;  // all negative either way
  }

  // Start[..][mx] + i indexes Wrap from its middle.
  const int* Middle() const { return Wrap.data() + 2 * Size; }
  int operator()(int mx, int i) const { return Middle()[Start[i & 1][mx] + i]; }
};

// Pixels x0 .. x1 - 1 (x0 even) of one row: d(x) takes the pixel at byte
// offset wrap[start[x & 1][max] + x] of the source row from[max], max being
// the map's brightest channel there. Kept out of line so that its few
// pointers stay in registers.
[[gnu::noinline]] void WaterSpan(const uint8_t* m, uint8_t* __restrict d, int x0, int x1, const uint8_t* const* from,
                                 const int (&start)[2][256], const int* wrap) {
  m += 3 * x0;
  d += 3 * x0;
  auto pixel = [&](int x, const int* s) {
    const int mx = std::max(std::max(m[0], m[1]), m[2]);
    const uint8_t* p = from[mx] + wrap[s[mx] + x];
    d[0] = p[0];
    d[1] = p[1];
    d[2] = p[2];
    m += 3;
    d += 3;
  };
  int x = x0;
  for (; x + 1 < x1; x += 2) {
    pixel(x, start[0]);
    pixel(x + 1, start[1]);
  }
  if (x < x1) pixel(x, start[0]);
}

// Target(x, y) := Source(sx, sy) with the offsets scaled by Map(x, y); all
// three of the same size, Target different from the other two.
void WaterPass(const TFastDIB& Source, const TFastDIB& Map, TFastDIB& Target, int L, int V) {
  const int W = Source.Width(), H = Source.Height();
  const WaterAxis ax(L, W, 3), ay(V, H, 1);
  // Sources of neighbouring pixels lie within (L, V) of each other, so the
  // image is walked in blocks of rows and, within them, column strips: the
  // sources stay in cache. Each row of a block has its source row for every
  // map value looked up once.
  constexpr int kRows = 64, kStrip = 256;
  ParallelRows(H, [&](int begin, int end) {
    std::vector<const uint8_t*> rows(size_t(kRows) * 256);
    for (int y0 = begin; y0 < end; y0 += kRows) {
      const int y1 = std::min(end, y0 + kRows);
      for (int y = y0; y < y1; ++y)
        for (int mx = 0; mx < 256; ++mx) rows[size_t((y - y0) * 256 + mx)] = Source.Row(ay(mx, y));
      for (int x0 = 0; x0 < W; x0 += kStrip) {
        const int x1 = std::min(W, x0 + kStrip);
        for (int y = y0; y < y1; ++y)
          WaterSpan(Map.Row(y), Target.Row(y), x0, x1, &rows[size_t((y - y0) * 256)], ax.Start, ax.Middle());
      }
    }
  });
}

}  // namespace

void StretchBlurWithBuffer(TFastDIB& Work, TFastDIB& Scratch, const TFastDIB& Buffer, int LR, int UD,
                           int Repetitions) {
  if (Work.Empty() || !StretchBlurChanges(LR, UD)) return;
  if (&Buffer == &Scratch) {  // Scratch is needed for the repetitions
    TFastDIB copy;
    CopySurface(Buffer, copy);
    StretchBlurWithBuffer(Work, Scratch, copy, LR, UD, Repetitions);
    return;
  }
  const int W = Work.Width(), H = Work.Height();
  // The map's sums are read once; a buffer of another size is scaled into
  // Scratch the way the screen would draw it. An empty buffer is black.
  std::vector<uint16_t> sums(size_t(W) * size_t(H), 0);
  const TFastDIB* map = &Buffer;
  if (!Buffer.Empty() && (Buffer.Width() != W || Buffer.Height() != H)) {
    if (!Scratch.SetSize(W, H, 24, 0)) return;
    Buffer.StretchDraw(Scratch, 0, 0, W, H);
    map = &Scratch;
  }
  if (!Buffer.Empty())
    for (int y = 0; y < H; ++y) RowSums(map->Row(y), &sums[size_t(y) * size_t(W)], W);
  StretchBlur(Work, Scratch, sums.data(), LR, UD, Repetitions);
}

void StretchBlurWithSelf(TFastDIB& Work, TFastDIB& Scratch, int LR, int UD, int Repetitions) {
  if (Work.Empty() || !StretchBlurChanges(LR, UD)) return;
  StretchBlur(Work, Scratch, nullptr, LR, UD, Repetitions);
}

void WaterWithBuffer(TFastDIB& Work, TFastDIB& Scratch, const TFastDIB& Buffer, int LR, int UD) {
  if (Work.Empty()) return;
  const int W = Work.Width(), H = Work.Height();
  TFastDIB own;
  const TFastDIB* map = &Buffer;
  if (&Buffer == &Scratch) {  // about to receive the result
    CopySurface(Buffer, own);
    map = &own;
  }
  if (map->Empty()) {
    if (!own.SetSize(W, H, 24, 0)) return;  // black
    map = &own;
  } else if (map->Width() != W || map->Height() != H) {
    if (map == &own ? !ResizeBilinear(own, W, H, 0) : !ResizeBilinearInto(Buffer, own, W, H, 0)) return;
    map = &own;
  }
  if (!Scratch.SetSize(W, H, 24, 0)) return;
  WaterPass(Work, *map, Scratch, LR, UD);
  std::swap(Work, Scratch);
}

void WaterWithSelf(TFastDIB& Work, TFastDIB& Scratch, int LR, int UD) {
  if (Work.Empty() || !Scratch.SetSize(Work.Width(), Work.Height(), 24, 0)) return;
  WaterPass(Work, Work, Scratch, LR, UD);
  std::swap(Work, Scratch);
}

}  // namespace vorq
