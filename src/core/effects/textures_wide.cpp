// Built with 512-bit vector instructions and without fused multiply-adds
// (see CMakeLists.txt); called only when the processor has them. Nothing
// here may instantiate a library template: another file's copy of it could
// be replaced by this one's.
#include "core/effects/textures_wide.h"

#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__) && defined(__AVX512VBMI__)
#include <immintrin.h>

namespace vorq::nova_rows {

bool Built() { return true; }

int Row(uint8_t* p, const double* ux, const double* an, double v, int n, const double* sp, const double* co, int W) {
  constexpr double kTwoPi = 2 * 3.14159265358979323846;
  const __m512d one = _mm512_set1_pd(1.0), vv = _mm512_set1_pd(v * v), twoPi = _mm512_set1_pd(kTwoPi);
  const __m512d half51 = _mm512_set1_pd(0.51), spokes = _mm512_set1_pd(double(n));
  const __m256i nv = _mm256_set1_epi32(n), zero = _mm256_setzero_si256(), top = _mm256_set1_epi32(255);
  // Channel k of 8 pixels (24 bytes), and back.
  const __m256i channel[3] = {_mm256_setr_epi8(0, 3, 6, 9, 12, 15, 18, 21, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
                              _mm256_setr_epi8(1, 4, 7, 10, 13, 16, 19, 22, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
                              _mm256_setr_epi8(2, 5, 8, 11, 14, 17, 20, 23, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0)};
  const __m256i interleave = _mm256_setr_epi8(0, 8, 16, 1, 9, 17, 2, 10, 18, 3, 11, 19, 4, 12, 20, 5, 13, 21, 6, 14,
                                              22, 7, 15, 23, 0, 0, 0, 0, 0, 0, 0, 0);
  int x = 0;
  for (; x + 8 <= W; x += 8, p += 24) {
    const __m512d u = _mm512_loadu_pd(ux + x);
    const __m512d c = _mm512_sqrt_pd(_mm512_add_pd(_mm512_mul_pd(u, u), vv));
    const __m512d t =
        _mm512_mul_pd(_mm512_add_pd(_mm512_div_pd(_mm512_loadu_pd(an + x), twoPi), half51), spokes);
    __m256i i = _mm512_cvttpd_epi32(t);  // t > 0: truncation is the floor
    const __m512d f = _mm512_sub_pd(t, _mm512_cvtepi32_pd(i));
    i = _mm256_mask_sub_epi32(i, _mm256_cmpge_epi32_mask(i, nv), i, nv);
    const __m512d omf = _mm512_sub_pd(one, f);
    const __m512d sl = _mm512_add_pd(_mm512_mul_pd(omf, _mm512_i32gather_pd(i, sp, 8)),
                                     _mm512_mul_pd(f, _mm512_i32gather_pd(_mm256_add_epi32(i, _mm256_set1_epi32(1)), sp, 8)));
    const __m512d w = _mm512_div_pd(_mm512_set1_pd(0.9), _mm512_add_pd(c, _mm512_set1_pd(0.001)));
    const __m512d a = _mm512_min_pd(w, one);  // w < 1 ? w : 1
    const __m512d glow =
        _mm512_mul_pd(_mm512_set1_pd(255.0), _mm512_min_pd(_mm512_mul_pd(_mm512_mul_pd(sl, sl), w), one));
    const __mmask8 bright = _mm512_cmp_pd_mask(w, one, _CMP_GT_OQ);
    const __m512d oma = _mm512_sub_pd(one, a);
    const __m256i i3 = _mm256_add_epi32(_mm256_add_epi32(i, i), i);
    // Separate loads and stores of the 24 bytes: a wider store would seem to
    // overlap the next pixels' load and hold it up.
    const __m256i px = _mm256_maskz_loadu_epi8(0xFFFFFF, p);
    __m256i out[3];
    for (int k = 0; k < 3; ++k) {
      const __m512d pk = _mm512_cvtepi32_pd(_mm256_cvtepu8_epi32(_mm256_castsi256_si128(_mm256_permutexvar_epi8(channel[k], px))));
      const __m512d c0 = _mm512_i32gather_pd(_mm256_add_epi32(i3, _mm256_set1_epi32(2 - k)), co, 8);
      const __m512d c1 = _mm512_i32gather_pd(_mm256_add_epi32(i3, _mm256_set1_epi32(5 - k)), co, 8);
      const __m512d col = _mm512_add_pd(_mm512_mul_pd(omf, c0), _mm512_mul_pd(f, c1));
      const __m256i lit = _mm256_min_epi32(_mm256_max_epi32(_mm512_cvttpd_epi32(_mm512_mul_pd(col, w)), zero), top);
      const __m256i mixed = _mm512_cvttpd_epi32(_mm512_add_pd(_mm512_mul_pd(pk, oma), _mm512_mul_pd(col, a)));
      const __m256i val = _mm256_mask_blend_epi32(bright, mixed, lit);
      out[k] = _mm256_min_epi32(_mm256_max_epi32(_mm512_cvttpd_epi32(_mm512_add_pd(glow, _mm512_cvtepi32_pd(val))), zero),
                                top);
    }
    // Bytes b0..b7 g0..g7 r0..r7, then interleaved.
    const __m128i lo = _mm_unpacklo_epi64(_mm256_cvtepi32_epi8(out[0]), _mm256_cvtepi32_epi8(out[1]));
    const __m256i planes = _mm256_inserti128_si256(_mm256_castsi128_si256(lo), _mm256_cvtepi32_epi8(out[2]), 1);
    // The permutation's bytes 16 .. 23 come from the upper half: index 16 + j.
    const __m256i bytes = _mm256_permutexvar_epi8(interleave, planes);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(bytes));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 16), _mm256_extracti128_si256(bytes, 1));
  }
  return x;
}

}  // namespace vorq::nova_rows

#else

namespace vorq::nova_rows {
bool Built() { return false; }
int Row(uint8_t*, const double*, const double*, double, int, const double*, const double*, int) { return 0; }
}  // namespace vorq::nova_rows

#endif
