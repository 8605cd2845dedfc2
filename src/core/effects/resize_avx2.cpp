// The nested reductions' rows in 256-bit vectors, eight pixels at a time,
// for processors with AVX2 but not the 512-bit rows (resize_wide.cpp), with
// the same single-precision products and sums. Built with AVX2 and without
// fused multiply-adds (see CMakeLists.txt); called only when the processor
// has them. Nothing here may instantiate a library template: another
// file's copy of it could be replaced by this one's.
#include <cstring>

#include "core/effects/resize_rows.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace vorq::resize_rows::avx2 {

bool Built() { return true; }

void BlendRows(const uint8_t* r0, const uint8_t* r1, const Eights* eights, const int* o0, const int* o1,
               const float* wx1, float wy0, float wy1, int n, uint8_t* d) {
  const __m256 y0 = _mm256_set1_ps(wy0), y1 = _mm256_set1_ps(wy1), one = _mm256_set1_ps(1.0f);
  // Adding to 0x80 keeps the top bit: those bytes still read as zero.
  const __m256i c1 = _mm256_set1_epi8(1), c2 = _mm256_set1_epi8(2);
  // Packed, each half holds its four pixels as four red, four green, four
  // blue and four blue bytes; out byte 3 i + c comes from 4 c + i.
  const __m256i order = _mm256_setr_epi8(0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11, -128, -128, -128, -128,  //
                                         0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11, -128, -128, -128, -128);
  alignas(32) uint8_t copied[4][32] = {};  // far-apart pixels: left/right of r0, r1
  for (int x = 0; x < n; x += 8, ++eights) {
    const Eights& g = *eights;
    __m256i l0, g0, l1, g1;  // windows for the left and right neighbours of r0 and r1
    if (g.near) {
      // 16-byte reads: surfaces are readable 16 bytes past their pixels.
      l0 = g0 = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(r0 + g.base[1]),
                                    reinterpret_cast<const __m128i*>(r0 + g.base[0]));
      l1 = g1 = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(r1 + g.base[1]),
                                    reinterpret_cast<const __m128i*>(r1 + g.base[0]));
    } else {
      const int end = n - x < 8 ? n - x : 8;
      for (int i = 0; i < end; ++i) {
        const int at = 16 * (i / 4) + 3 * (i % 4);
        std::memcpy(copied[0] + at, r0 + o0[x + i], 3);
        std::memcpy(copied[1] + at, r0 + o1[x + i], 3);
        std::memcpy(copied[2] + at, r1 + o0[x + i], 3);
        std::memcpy(copied[3] + at, r1 + o1[x + i], 3);
      }
      l0 = _mm256_load_si256(reinterpret_cast<const __m256i*>(copied[0]));
      g0 = _mm256_load_si256(reinterpret_cast<const __m256i*>(copied[1]));
      l1 = _mm256_load_si256(reinterpret_cast<const __m256i*>(copied[2]));
      g1 = _mm256_load_si256(reinterpret_cast<const __m256i*>(copied[3]));
    }
    const __m256i li = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g.left));
    const __m256i ri = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(g.right));
    const __m256 w1 = _mm256_loadu_ps(wx1 + x), w0 = _mm256_sub_ps(one, w1);
    const __m256 p00 = _mm256_mul_ps(w0, y0), p01 = _mm256_mul_ps(w0, y1);
    const __m256 p10 = _mm256_mul_ps(w1, y0), p11 = _mm256_mul_ps(w1, y1);
    __m256i q[3];
    for (int c = 0; c < 3; ++c) {
      const __m256i lc = c == 0 ? li : _mm256_add_epi8(li, c == 1 ? c1 : c2);
      const __m256i rc = c == 0 ? ri : _mm256_add_epi8(ri, c == 1 ? c1 : c2);
      auto at = [](__m256i idx, __m256i window) { return _mm256_cvtepi32_ps(_mm256_shuffle_epi8(window, idx)); };
      __m256 v = _mm256_mul_ps(p00, at(lc, l0));
      v = _mm256_add_ps(v, _mm256_mul_ps(p01, at(lc, l1)));
      v = _mm256_add_ps(v, _mm256_mul_ps(p10, at(rc, g0)));
      v = _mm256_add_ps(v, _mm256_mul_ps(p11, at(rc, g1)));
      q[c] = _mm256_cvtps_epi32(v);  // nearest, an exact half to even
    }
    // Saturating packs limit to 0 .. 255.
    const __m256i bytes = _mm256_shuffle_epi8(
        _mm256_packus_epi16(_mm256_packus_epi32(q[0], q[1]), _mm256_packus_epi32(q[2], q[2])), order);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 3 * x), _mm256_castsi256_si128(bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 3 * x + 12), _mm256_extracti128_si256(bytes, 1));
  }
}

}  // namespace vorq::resize_rows::avx2

#else

namespace vorq::resize_rows::avx2 {
bool Built() { return false; }
void BlendRows(const uint8_t*, const uint8_t*, const Eights*, const int*, const int*, const float*, float, float, int,
               uint8_t*) {}
}  // namespace vorq::resize_rows::avx2

#endif
