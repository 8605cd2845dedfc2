// Whirl/Pinch's source lookups in 256-bit vectors, for processors with AVX2
// but not the 512-bit rows (whirl_wide.cpp), which it follows step for step,
// four offsets a vector. Built with AVX2 and without fused multiply-adds
// (see CMakeLists.txt); called only when the processor has them. Nothing
// here may instantiate a library template: another file's copy of it could
// be replaced by this one's.
#include <cstring>

#include "core/effects/whirl_wide.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace vorq::whirl_rows::avx2 {

bool Built() { return true; }

namespace {

// Nearest(v < 0 ? v - 1 : v) wrapped into 0 .. n - 1 for whole parts within
// -n + 1 .. 2n - 1; bad gets the used lanes (all ones in lanes) where that
// does not hold.
inline __m128i Wrapped(__m256d v, int n, __m256i lanes, __m256i& bad) {
  const __m256d zero = _mm256_setzero_pd();
  v = _mm256_blendv_pd(v, _mm256_sub_pd(v, _mm256_set1_pd(1.0)), _mm256_cmp_pd(v, zero, _CMP_LT_OQ));
  const __m256d r = _mm256_round_pd(v, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);  // an exact half to even
  const __m256d inRange = _mm256_and_pd(_mm256_cmp_pd(r, _mm256_set1_pd(-double(n)), _CMP_GT_OQ),
                                        _mm256_cmp_pd(r, _mm256_set1_pd(2.0 * n), _CMP_LT_OQ));
  bad = _mm256_or_si256(bad, _mm256_andnot_si256(_mm256_castpd_si256(inRange), lanes));
  const __m128i i = _mm256_cvtpd_epi32(_mm256_and_pd(r, _mm256_castsi256_pd(lanes)));  // whole already
  const __m128i nv = _mm_set1_epi32(n);
  // Below 0: n - 1 + i; from n on: i - n.
  __m128i w = _mm_blendv_epi8(i, _mm_add_epi32(i, _mm_sub_epi32(nv, _mm_set1_epi32(1))), _mm_cmplt_epi32(i, _mm_setzero_si128()));
  return _mm_blendv_epi8(_mm_sub_epi32(w, nv), w, _mm_cmpgt_epi32(nv, w));
}

}  // namespace

bool Row(const Run& r, const uint8_t* base, int32_t rowStep, int W, int H, uint8_t* out) {
  const __m256d kx = _mm256_set1_pd(r.kx), ky = _mm256_set1_pd(r.ky), dy = _mm256_set1_pd(r.dy);
  const __m256d cx = _mm256_set1_pd(double(r.cx)), cy = _mm256_set1_pd(double(r.cy));
  const __m256d y = _mm256_set1_pd(double(r.y)), zero = _mm256_setzero_pd();
  const bool squareX = r.kx == 1, squareY = r.ky == 1;
  const __m128i lane = _mm_setr_epi32(0, 1, 2, 3);
  // First every source's place, each asked for at once, so that the
  // fetches overlap; nothing is written unless every lane is in range.
  constexpr int kMost = 64;
  alignas(32) int32_t places[kMost];
  if (r.count > kMost) return false;
  __m256i bad = _mm256_setzero_si256();
  for (int k = 0; k < r.count; k += 4) {
    const int m = r.count - k >= 4 ? 4 : r.count - k;
    const __m256i lanes = _mm256_cvtepi32_epi64(_mm_cmpgt_epi32(_mm_set1_epi32(m), lane));
    const __m128i xi = _mm_add_epi32(_mm_set1_epi32(r.x0 + r.step * k), _mm_mullo_epi32(lane, _mm_set1_epi32(r.step)));
    const __m256d x = _mm256_cvtepi32_pd(xi);
    // dx = (x - cx) kx, the difference taken in whole numbers.
    const __m256d dx = _mm256_mul_pd(_mm256_cvtepi32_pd(_mm_sub_epi32(xi, _mm_set1_epi32(r.cx))), kx);
    const __m256d g = _mm256_maskload_pd(r.g + k, lanes), cb = _mm256_maskload_pd(r.cb + k, lanes);
    const __m256d sb = _mm256_maskload_pd(r.sb + k, lanes);
    int32_t flags;
    std::memcpy(&flags, r.inside + k, 4);  // the tile has room past every row
    const __m256i inside = _mm256_and_si256(
        lanes, _mm256_cvtepi32_epi64(_mm_cmpgt_epi32(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(flags)), _mm_setzero_si128())));
    const __m256d dxp = _mm256_mul_pd(dx, g), dyp = _mm256_mul_pd(dy, g);
    __m256d tx = _mm256_sub_pd(_mm256_mul_pd(cb, dxp), _mm256_mul_pd(sb, dyp));
    __m256d ty = _mm256_add_pd(_mm256_mul_pd(sb, dxp), _mm256_mul_pd(cb, dyp));
    if (!squareX) tx = _mm256_div_pd(tx, kx);  // dividing by 1 is exact: skipped
    if (!squareY) ty = _mm256_div_pd(ty, ky);
    __m256d sx = _mm256_add_pd(tx, cx), sy = _mm256_add_pd(ty, cy);
    // Outside the disc, or not a number (a negative sine to a fractional
    // power): the pixel stays.
    const __m256d finite = _mm256_and_pd(_mm256_cmp_pd(_mm256_sub_pd(sx, sx), zero, _CMP_EQ_OQ),
                                         _mm256_cmp_pd(_mm256_sub_pd(sy, sy), zero, _CMP_EQ_OQ));
    const __m256d moved = _mm256_and_pd(_mm256_castsi256_pd(inside), finite);
    sx = _mm256_blendv_pd(x, sx, moved);
    sy = _mm256_blendv_pd(y, sy, moved);
    const __m128i ix = Wrapped(sx, W, lanes, bad), iy = Wrapped(sy, H, lanes, bad);
    _mm_store_si128(reinterpret_cast<__m128i*>(places + k),
                    _mm_add_epi32(_mm_mullo_epi32(iy, _mm_set1_epi32(rowStep)), _mm_mullo_epi32(ix, _mm_set1_epi32(3))));
  }
  if (!_mm256_testz_si256(bad, bad)) return false;
  for (int k = 0; k < r.count; ++k) _mm_prefetch(reinterpret_cast<const char*>(base + places[k]), _MM_HINT_T0);
  // Bytes 0, 1, 2 of every 32-bit lane, packed, in each half; or the four
  // pixels in reverse, for a run that goes left.
  const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                        0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m256i packBack = _mm256_setr_epi8(12, 13, 14, 8, 9, 10, 4, 5, 6, 0, 1, 2, -1, -1, -1, -1,  //
                                            12, 13, 14, 8, 9, 10, 4, 5, 6, 0, 1, 2, -1, -1, -1, -1);
  const __m256i order = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  for (int k = 0; k < r.count; k += 8) {
    const int m = r.count - k >= 8 ? 8 : r.count - k;
    const __m256i lanes = _mm256_cmpgt_epi32(_mm256_set1_epi32(m), order);
    const __m256i at = _mm256_load_si256(reinterpret_cast<const __m256i*>(places + k));
    // Four bytes at each source pixel: its three and one more, which every surface can read.
    const __m256i px = _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int*>(base), at, lanes, 1);
    alignas(32) uint8_t tmp[32];
    if (r.step > 0) {
      const __m256i bytes = _mm256_shuffle_epi8(px, pack);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(tmp), _mm256_castsi256_si128(bytes));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(tmp + 12), _mm256_extracti128_si256(bytes, 1));
    } else {  // pixels 7 .. 0
      const __m256i bytes = _mm256_shuffle_epi8(px, packBack);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(tmp), _mm256_extracti128_si256(bytes, 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(tmp + 12), _mm256_castsi256_si128(bytes));
    }
    // Going left, pixel i lands at x0 - i: the run's bytes start at its last
    // pixel, which sits at the top of the eight.
    uint8_t* d = out + 3 * (r.step > 0 ? r.x0 + k : r.x0 - k - (m - 1));
    std::memcpy(d, tmp + (r.step > 0 ? 0 : 3 * (8 - m)), size_t(3 * m));
  }
  return true;
}

}  // namespace vorq::whirl_rows::avx2

#else

namespace vorq::whirl_rows::avx2 {
bool Built() { return false; }
bool Row(const Run&, const uint8_t*, int32_t, int, int, uint8_t*) { return false; }
}  // namespace vorq::whirl_rows::avx2

#endif
