#include "core/effects/smears.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <cstring>
#include <utility>
#include <vector>

#include "core/effects/distortions.h"  // WrapIndex
#include "core/effects/geometry.h"     // ResizeBilinearInto
#include "core/effects/smears_wide.h"
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
inline void Blend16(uint8_t* d, const uint8_t* moved, const uint8_t* kept, const uint8_t* map) {
  const __m128i zero = _mm_setzero_si128();
  auto at = [&](int i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(map + i)); };
  // sums of pixels 0 .. 7 and 8 .. 15
  const __m128i lo = _mm_unpacklo_epi64(SumsOf4(at(0)), SumsOf4(at(12)));
  const __m128i hi = _mm_unpacklo_epi64(SumsOf4(at(24)), SumsOf4(_mm_srli_si128(at(32), 4)));
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

// n pixels: d = Nearest(moved * k + kept * b) with the sums of the map's
// pixels (which may be kept itself).
void BlendSpan(uint8_t* d, const uint8_t* moved, const uint8_t* kept, const uint8_t* map, int n) {
  int i = WideVectors() && smear_rows::Built() ? smear_rows::Blend(d, moved, kept, map, n) : 0;
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) Blend16(d + 3 * i, moved + 3 * i, kept + 3 * i, map + 3 * i);
  // Then four pixels a step; loads reach 16 bytes, so the last pixels go
  // through the plain loop.
  const __m128i zero = _mm_setzero_si128();
  for (; i + 6 <= n; i += 4) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(moved + 3 * i));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kept + 3 * i));
    const __m128i alo = _mm_unpacklo_epi8(a, zero), clo = _mm_unpacklo_epi8(c, zero);
    const __m128i ahi = _mm_unpackhi_epi8(a, zero), chi = _mm_unpackhi_epi8(c, zero);
    const __m128i w = WeightPairs(SumsOf4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(map + 3 * i))), false);
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
    const uint32_t w = map[3 * i] + map[3 * i + 1] + map[3 * i + 2], k = 765 - w;
    for (int c = 0; c < 3; ++c) d[3 * i + c] = uint8_t((moved[3 * i + c] * k + kept[3 * i + c] * w + 382) / 765);
  }
}

// One row of a repetition: out(x - fdx) := the blend of moved(x + lm) with
// kept(x), weighted by the sums of map(x), or of kept(x) itself when map is
// null; positions wrap within W. out may be kept itself when fdx is 0 (each
// pixel is read before it is written), but not moved.
void RepeatRow(const uint8_t* kept, const uint8_t* moved, const uint8_t* map, uint8_t* out, int W, int lm, int fdx) {
  if (map == nullptr) map = kept;
  // Spans between the places where the moved source or the target wraps.
  int cuts[4] = {0, W - lm, fdx, W};
  std::sort(cuts + 1, cuts + 3);
  for (int c = 0; c < 3; ++c) {
    const int a = cuts[c], b = cuts[c + 1];
    if (a >= b) continue;
    const int to = a >= fdx ? a - fdx : a - fdx + W;
    const int from = a + lm < W ? a + lm : a + lm - W;
    uint8_t* const d = out + 3 * size_t(to);
    BlendSpan(d, moved + 3 * size_t(from), kept + 3 * size_t(a), map + 3 * size_t(a), b - a);
  }
}

// One repetition from In into Out (different surfaces of the same size):
// the blend of In at (x + lm, y + vm) with In at (x, y), weighted by the
// sums of Map at (x, y) or, when Map is null, of In's own. The result
// lands wrapped by (fdx, fdy), i.e. at (x - fdx, y - fdy), so the last
// repetition also does the final shift. All offsets are in 0 .. size - 1.
void Repetition(const TFastDIB& In, TFastDIB& Out, const TFastDIB* Map, int lm, int vm, int fdx, int fdy) {
  const int W = In.Width(), H = In.Height();
  ParallelRows(H, [&](int begin, int end) {
    for (int y = begin; y < end; ++y)
      RepeatRow(In.Row(y), In.Row(y + vm < H ? y + vm : y + vm - H),
                Map != nullptr ? Map->Row(y) : nullptr, Out.Row(y >= fdy ? y - fdy : y - fdy + H), W,
                lm, fdx);
  });
}

// Rows in flight at most for the sweep below: beyond this the passes are
// cheaper than the cache misses.
constexpr int64_t kSweepBytes = int64_t(8) << 20;

// All R repetitions in one sweep down the rows, in place in Work; the last
// writes into Scratch with the final shift, and the two change places.
// Repetition r's row y reads repetition r - 1's rows y and y + d (d being
// the row offset towards the nearer side; the rows are walked upwards when
// the offset points up). Each repetition follows the one before it d rows
// behind, taken after it within a step, so every row it reads is still as
// that one left it.
//
// Each core sweeps a band of rows. A band keeps its first d rows aside as
// every repetition leaves them: the rows of the band before it (the last
// band's, past the end, wrap to the first) read them there once the band
// itself has moved on. False, doing nothing, when the rows in flight would
// not stay in cache.
bool Sweep(TFastDIB& Work, TFastDIB& Scratch, const TFastDIB* Map, int lm, int vm, int fdx, int fdy, int R) {
  const int W = Work.Width(), H = Work.Height();
  const bool up = vm > H / 2;
  const int d = up ? H - vm : vm, lag = d;
  const size_t n = 3 * size_t(W);
  if (int64_t(R) * (lag + 1) * int64_t(n) > kSweepBytes) return false;
  auto row = [&](int i) { return Work.Row(up ? H - 1 - i : i); };
  // Two bands when both are at least 2d + 2 rows: a band then needs the
  // next band's rows of a repetition only after that band has kept them.
  const int bands = WorkerCount() >= 2 && H / 2 >= 2 * d + 2 && H >= 64 ? 2 : 1;
  struct Band {
    int begin, end;
    std::vector<uint8_t> kept;  // rows begin .. begin + d - 1 of repetitions 0 .. R - 1
    std::vector<uint8_t> temp;  // a row, when it cannot be written in place
    std::atomic<int> ready{0};  // repetitions whose rows are all kept
  };
  std::vector<Band> band(static_cast<size_t>(bands));
  for (int k = 0; k < bands; ++k) {
    band[size_t(k)].begin = H * k / bands;
    band[size_t(k)].end = H * (k + 1) / bands;
    // Taken here, before any row changes: running out leaves Work as it was.
    band[size_t(k)].kept.resize(size_t(R) * size_t(d) * n);
    band[size_t(k)].temp.resize(d == 0 ? n : 0);
  }
  auto kept = [&](Band& b, int r, int j) { return b.kept.data() + (size_t(r) * size_t(d) + size_t(j)) * n; };
  ParallelTasks(bands, [&](int k) {
    Band& own = band[size_t(k)];
    Band& next = band[size_t((k + 1) % bands)];
    const int len = own.end - own.begin;
    for (int j = 0; j < d; ++j) std::memcpy(kept(own, 0, j), row(own.begin + j), n);
    own.ready.store(1, std::memory_order_release);
    for (int t = 0; t < len + (R - 1) * lag; ++t) {
      for (int r = 1; r <= R; ++r) {
        const int y = t - (r - 1) * lag;
        if (y < 0) break;  // this repetition and the later ones have not begun
        if (y >= len) continue;
        const int gy = own.begin + y, ry = up ? H - 1 - gy : gy;
        const uint8_t* moved;
        if (y + d < len) {
          moved = row(gy + d);
        } else {
          while (next.ready.load(std::memory_order_acquire) < r) std::this_thread::yield();
          moved = kept(next, r - 1, y + d - len);
        }
        const uint8_t* s = Map != nullptr ? Map->Row(ry) : nullptr;
        if (r == R) {
          RepeatRow(row(gy), moved, s, Scratch.Row(ry >= fdy ? ry - fdy : ry - fdy + H), W, lm, fdx);
          continue;
        }
        // In place when the moved row is another one: each pixel is read
        // before it is written.
        uint8_t* const out = row(gy);
        if (d == 0) {
          RepeatRow(out, moved, s, own.temp.data(), W, lm, 0);
          std::memcpy(out, own.temp.data(), n);
        } else {
          RepeatRow(out, moved, s, out, W, lm, 0);
        }
        if (y < d) std::memcpy(kept(own, r, y), out, n);
      }
      // Repetition q's kept rows are complete once it has done row d - 1.
      if (d > 0 && t >= d - 1) own.ready.store(std::min(R, (t - (d - 1)) / lag + 2), std::memory_order_release);
    }
  });
  CopyGapBytes(Work, Scratch);  // the image keeps its own
  std::swap(Work, Scratch);
  return true;
}

// Map null: the map is the image itself, as each repetition leaves it.
// Otherwise a surface of the image's size other than Work and Scratch.
void StretchBlur(TFastDIB& Work, TFastDIB& Scratch, const TFastDIB* Map, int L, int V, int R) {
  const int W = Work.Width(), H = Work.Height();
  R = std::clamp(R, 0, kMaxStretchBlurRepetitions);
  if (R == 0) return;  // no repetition, no accumulated shift
  // Shifting by L is shifting by L mod W; the final shift needs the whole
  // product, which 64 bits hold.
  const int lm = FloorMod(L, W), vm = FloorMod(V, H);
  const int fdx = FloorMod(-int64_t(L) * R / 2, W), fdy = FloorMod(-int64_t(V) * R / 2, H);
  if (!Scratch.Reshape(W, H)) return;  // every pixel is written
  if (R > 1 && Sweep(Work, Scratch, Map, lm, vm, fdx, fdy, R)) return;
  // Repetitions alternate between the two surfaces; an odd count leaves the
  // result in Scratch, which then changes places with Work.
  TFastDIB* in = &Work;
  TFastDIB* out = &Scratch;
  for (int r = 1; r <= R; ++r) {
    const bool last = r == R;
    Repetition(*in, *out, Map, lm, vm, last ? fdx : 0, last ? fdy : 0);
    std::swap(in, out);
  }
  if (R % 2 == 1) {
    CopyGapBytes(Work, Scratch);  // the image keeps its own
    std::swap(Work, Scratch);
  }
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
  const int W = Work.Width(), H = Work.Height();
  // The map is read as the buffer is now, all along: a buffer of another
  // size is scaled the way the screen would draw it, an empty one is black,
  // and one the repetitions write (Work or Scratch) is copied first.
  TFastDIB own;
  const TFastDIB* map = &Buffer;
  if (Buffer.Empty()) {
    if (!own.SetSize(W, H, 24, 0)) return;
    map = &own;
  } else if (Buffer.Width() != W || Buffer.Height() != H) {
    if (!own.SetSize(W, H, 24, 0)) return;
    Buffer.StretchDraw(own, 0, 0, W, H);
    map = &own;
  } else if (&Buffer == &Work || &Buffer == &Scratch) {
    CopySurface(Buffer, own);
    map = &own;
  }
  StretchBlur(Work, Scratch, map, LR, UD, Repetitions);
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
