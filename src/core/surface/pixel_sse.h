// A pixel as four single-precision lanes (blue, green, red and one lane that
// is thrown away), for blends whose every product and sum is the same
// single-precision operation as in a plain per-channel loop.
#pragma once

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>

namespace vorq {

// The three bytes at p and the one after them, which every surface can read
// (kReadSlack).
inline __m128 LoadPixelPs(const uint8_t* p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  const __m128i zero = _mm_setzero_si128();
  return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(v), zero), zero));
}

// Nearest whole numbers (an exact half to even: the default rounding mode),
// limited to 0 .. 255, stored as three bytes.
inline void StorePixelPs(uint8_t* d, __m128 v) {
  const __m128i n = _mm_cvtps_epi32(v);
  const __m128i n16 = _mm_packs_epi32(n, n);
  const uint32_t px = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(n16, n16)));
  d[0] = uint8_t(px);
  d[1] = uint8_t(px >> 8);
  d[2] = uint8_t(px >> 16);
}

}  // namespace vorq
#endif
