// StretchBlur's blend in 512-bit vectors. Built with those instructions (see
// CMakeLists.txt) and called only when the processor has them. Nothing here
// may instantiate a library template: another file's copy of it could be
// replaced by this one's.
#include "core/effects/smears_wide.h"

#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__) && defined(__AVX512VBMI__)
#include <immintrin.h>

namespace vorq::smear_rows {

bool Built() { return true; }

int Blend(uint8_t* d, const uint8_t* moved, const uint8_t* kept, const uint8_t* map, int n) {
  constexpr __mmask64 k48 = (__mmask64(1) << 48) - 1;
  // Byte c of every pixel among 16, for the map's sums.
  alignas(64) static constexpr uint8_t kChannel[3][64] = {
      {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45},
      {1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 31, 34, 37, 40, 43, 46},
      {2, 5, 8, 11, 14, 17, 20, 23, 26, 29, 32, 35, 38, 41, 44, 47}};
  // The pixel of each of the 48 channels, 16 channels a vector.
  alignas(64) static constexpr int32_t kPixel[3][16] = {{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5},
                                                        {5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10},
                                                        {10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15}};
  const __m512i c765 = _mm512_set1_epi32(765);
  const __m512 inv = _mm512_set1_ps(1.0f / 765.0f);
  const __m512i zero = _mm512_setzero_si512();
  int i = 0;
  for (; i + 16 <= n; i += 16, d += 48, moved += 48, kept += 48, map += 48) {
    const __m512i k = _mm512_maskz_loadu_epi8(k48, kept);
    const __m512i p = map == kept ? k : _mm512_maskz_loadu_epi8(k48, map);
    auto channel = [&](int c) {
      return _mm512_cvtepu8_epi32(_mm512_castsi512_si128(_mm512_permutexvar_epi8(_mm512_load_si512(kChannel[c]), p)));
    };
    const __m512i sums = _mm512_add_epi32(_mm512_add_epi32(channel(0), channel(1)), channel(2));
    for (int j = 0; j < 3; ++j) {
      const __m512i w = _mm512_permutexvar_epi32(_mm512_load_si512(kPixel[j]), sums);
      const __m512i mv = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(moved + 16 * j)));
      const __m512i kv = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(kept + 16 * j)));
      // moved * (765 - s) + kept * s, the same whole number as moved * 765 + (kept - moved) * s
      const __m512i v = _mm512_add_epi32(_mm512_mullo_epi32(mv, c765),
                                         _mm512_mullo_epi32(_mm512_sub_epi32(kv, mv), w));
      const __m512i q = _mm512_cvtps_epi32(_mm512_mul_ps(_mm512_cvtepi32_ps(v), inv));
      // Sixteen-byte stores: a wider (masked) one would seem to overlap the
      // next pixels' reads when d is kept itself, and hold them up.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * j), _mm512_cvtusepi32_epi8(_mm512_max_epi32(q, zero)));
    }
  }
  return i;
}

}  // namespace vorq::smear_rows

#else

namespace vorq::smear_rows {
bool Built() { return false; }
int Blend(uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, int) { return 0; }
}  // namespace vorq::smear_rows

#endif
