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
  // The bytes of 16 pixels as red, green, blue in each 32-bit lane (its
  // fourth byte zeroed).
  alignas(64) static constexpr uint8_t kQuad[64] = {0,  1,  2,  0, 3,  4,  5,  0, 6,  7,  8,  0, 9,  10, 11, 0,
                                                    12, 13, 14, 0, 15, 16, 17, 0, 18, 19, 20, 0, 21, 22, 23, 0,
                                                    24, 25, 26, 0, 27, 28, 29, 0, 30, 31, 32, 0, 33, 34, 35, 0,
                                                    36, 37, 38, 0, 39, 40, 41, 0, 42, 43, 44, 0, 45, 46, 47, 0};
  // Channels 16j .. 16j + 15 of moved (bytes 0 .. 63) and kept (64 .. 127)
  // as 16-bit pairs (moved, kept); every odd byte is zeroed.
  alignas(64) static constexpr uint8_t kPairs[3][64] = {
#define VORQ_PAIRS(j)                                                                                                  \
  {16 * j + 0,  0, 64 + 16 * j + 0,  0, 16 * j + 1,  0, 64 + 16 * j + 1,  0, 16 * j + 2,  0, 64 + 16 * j + 2,  0,     \
   16 * j + 3,  0, 64 + 16 * j + 3,  0, 16 * j + 4,  0, 64 + 16 * j + 4,  0, 16 * j + 5,  0, 64 + 16 * j + 5,  0,     \
   16 * j + 6,  0, 64 + 16 * j + 6,  0, 16 * j + 7,  0, 64 + 16 * j + 7,  0, 16 * j + 8,  0, 64 + 16 * j + 8,  0,     \
   16 * j + 9,  0, 64 + 16 * j + 9,  0, 16 * j + 10, 0, 64 + 16 * j + 10, 0, 16 * j + 11, 0, 64 + 16 * j + 11, 0,     \
   16 * j + 12, 0, 64 + 16 * j + 12, 0, 16 * j + 13, 0, 64 + 16 * j + 13, 0, 16 * j + 14, 0, 64 + 16 * j + 14, 0,     \
   16 * j + 15, 0, 64 + 16 * j + 15, 0}
      VORQ_PAIRS(0), VORQ_PAIRS(1), VORQ_PAIRS(2)};
#undef VORQ_PAIRS
  // The pixel of each of the 48 channels, 16 channels a vector.
  alignas(64) static constexpr int32_t kPixel[3][16] = {{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5},
                                                        {5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10},
                                                        {10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15}};
  constexpr __mmask64 kEvenBytes = 0x5555555555555555ull, kNotFourth = 0x7777777777777777ull;
  const __m512i c765 = _mm512_set1_epi32(765), ones8 = _mm512_set1_epi8(1), ones16 = _mm512_set1_epi16(1);
  const __m512 inv = _mm512_set1_ps(1.0f / 765.0f);
  const __m512i quad = _mm512_load_si512(kQuad);
  int i = 0;
  for (; i + 16 <= n; i += 16, d += 48, moved += 48, kept += 48, map += 48) {
    const __m512i k = _mm512_maskz_loadu_epi8(k48, kept);
    const __m512i m = _mm512_maskz_loadu_epi8(k48, moved);
    const __m512i p = map == kept ? k : _mm512_maskz_loadu_epi8(k48, map);
    // s = red + green + blue of each map pixel, then its weight pair (765 - s, s).
    const __m512i s = _mm512_madd_epi16(_mm512_maddubs_epi16(_mm512_maskz_permutexvar_epi8(kNotFourth, quad, p), ones8), ones16);
    const __m512i pair = _mm512_or_si512(_mm512_sub_epi32(c765, s), _mm512_slli_epi32(s, 16));
    for (int j = 0; j < 3; ++j) {
      const __m512i w = _mm512_permutexvar_epi32(_mm512_load_si512(kPixel[j]), pair);
      const __m512i mk = _mm512_maskz_permutex2var_epi8(kEvenBytes, m, _mm512_load_si512(kPairs[j]), k);
      // moved * (765 - s) + kept * s, a whole number below 2^18
      const __m512i v = _mm512_madd_epi16(mk, w);
      const __m512i q = _mm512_cvtps_epi32(_mm512_mul_ps(_mm512_cvtepi32_ps(v), inv));
      // Sixteen-byte stores: a wider (masked) one would seem to overlap the
      // next pixels' reads when d is kept itself, and hold them up.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16 * j), _mm512_cvtusepi32_epi8(q));
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
