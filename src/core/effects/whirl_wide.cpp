// Built with 512-bit vector instructions and without fused multiply-adds
// (see CMakeLists.txt); called only when the processor has them. Nothing
// here may instantiate a library template: another file's copy of it could
// be replaced by this one's.
#include "core/effects/whirl_wide.h"

#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__) && defined(__AVX512VBMI__)
#include <immintrin.h>

namespace vorq::whirl_rows {

bool Built() { return true; }

namespace {

// Nearest(v < 0 ? v - 1 : v) wrapped into 0 .. n - 1 for whole parts within
// -n + 1 .. 2n - 1; false (in ok) for any other lane.
inline __m256i Wrapped(__m512d v, int n, __mmask8 lanes, bool& ok) {
  const __mmask8 negative = _mm512_cmp_pd_mask(v, _mm512_setzero_pd(), _CMP_LT_OQ);
  v = _mm512_mask_sub_pd(v, negative, v, _mm512_set1_pd(1.0));
  const __m512d r = _mm512_roundscale_pd(v, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);  // an exact half to even
  ok = ok && _mm512_mask_cmp_pd_mask(lanes, r, _mm512_set1_pd(-double(n)), _CMP_GT_OQ) == lanes &&
       _mm512_mask_cmp_pd_mask(lanes, r, _mm512_set1_pd(2.0 * n), _CMP_LT_OQ) == lanes;
  const __m256i i = _mm512_cvtpd_epi32(_mm512_maskz_mov_pd(lanes, r));  // whole already
  const __m256i nv = _mm256_set1_epi32(n);
  // Below 0: n - 1 + i; from n on: i - n.
  __m256i w = _mm256_mask_add_epi32(i, _mm256_cmplt_epi32_mask(i, _mm256_setzero_si256()), i,
                                    _mm256_sub_epi32(nv, _mm256_set1_epi32(1)));
  return _mm256_mask_sub_epi32(w, _mm256_cmpge_epi32_mask(w, nv), w, nv);
}

}  // namespace

bool Row(const Run& r, const uint8_t* base, int32_t rowStep, int W, int H, uint8_t* out) {
  const __m512d kx = _mm512_set1_pd(r.kx), ky = _mm512_set1_pd(r.ky), dy = _mm512_set1_pd(r.dy);
  const __m512d cx = _mm512_set1_pd(double(r.cx)), cy = _mm512_set1_pd(double(r.cy));
  const __m512d y = _mm512_set1_pd(double(r.y));
  const bool squareX = r.kx == 1, squareY = r.ky == 1;
  // Lane i's column, and the byte order of 8 pixels when the run goes left.
  const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  alignas(64) static constexpr uint8_t kPack[32] = {0,  1,  2,  4,  5,  6,  8,  9,  10, 12, 13, 14, 16, 17, 18, 20,
                                                    21, 22, 24, 25, 26, 28, 29, 30, 0,  0,  0,  0,  0,  0,  0,  0};
  alignas(64) static constexpr uint8_t kPackBack[32] = {28, 29, 30, 24, 25, 26, 20, 21, 22, 16, 17, 18, 12, 13, 14, 8,
                                                        9,  10, 4,  5,  6,  0,  1,  2,  0,  0,  0,  0,  0,  0,  0,  0};
  // First every source's place, each asked for at once, so that the
  // fetches overlap; nothing is written unless every lane is in range.
  constexpr int kMost = 64;
  alignas(32) int32_t places[kMost];
  if (r.count > kMost) return false;
  for (int k = 0; k < r.count; k += 8) {
    const int m = r.count - k >= 8 ? 8 : r.count - k;
    const __mmask8 lanes = __mmask8((1u << m) - 1);
    const __m256i xi = _mm256_add_epi32(_mm256_set1_epi32(r.x0 + r.step * k), _mm256_mullo_epi32(lane, _mm256_set1_epi32(r.step)));
    const __m512d x = _mm512_cvtepi32_pd(xi);
    // dx = (x - cx) kx, the difference taken in whole numbers.
    const __m512d dx = _mm512_mul_pd(_mm512_cvtepi32_pd(_mm256_sub_epi32(xi, _mm256_set1_epi32(r.cx))), kx);
    const __m512d g = _mm512_maskz_loadu_pd(lanes, r.g + k), cb = _mm512_maskz_loadu_pd(lanes, r.cb + k);
    const __m512d sb = _mm512_maskz_loadu_pd(lanes, r.sb + k);
    const __mmask8 inside =
        _mm256_mask_cmpneq_epi32_mask(lanes, _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r.inside + k))),
                                      _mm256_setzero_si256());
    const __m512d dxp = _mm512_mul_pd(dx, g), dyp = _mm512_mul_pd(dy, g);
    __m512d tx = _mm512_sub_pd(_mm512_mul_pd(cb, dxp), _mm512_mul_pd(sb, dyp));
    __m512d ty = _mm512_add_pd(_mm512_mul_pd(sb, dxp), _mm512_mul_pd(cb, dyp));
    if (!squareX) tx = _mm512_div_pd(tx, kx);  // dividing by 1 is exact: skipped
    if (!squareY) ty = _mm512_div_pd(ty, ky);
    __m512d sx = _mm512_add_pd(tx, cx), sy = _mm512_add_pd(ty, cy);
    // Outside the disc, or not a number (a negative sine to a fractional
    // power): the pixel stays.
    const __mmask8 finite = _mm512_cmp_pd_mask(_mm512_sub_pd(sx, sx), _mm512_setzero_pd(), _CMP_EQ_OQ) &
                            _mm512_cmp_pd_mask(_mm512_sub_pd(sy, sy), _mm512_setzero_pd(), _CMP_EQ_OQ);
    const __mmask8 moved = inside & finite;
    sx = _mm512_mask_blend_pd(moved, x, sx);
    sy = _mm512_mask_blend_pd(moved, y, sy);
    bool ok = true;
    const __m256i ix = Wrapped(sx, W, lanes, ok), iy = Wrapped(sy, H, lanes, ok);
    if (!ok) return false;
    _mm256_store_si256(reinterpret_cast<__m256i*>(places + k),
                       _mm256_add_epi32(_mm256_mullo_epi32(iy, _mm256_set1_epi32(rowStep)),
                                        _mm256_mullo_epi32(ix, _mm256_set1_epi32(3))));
    for (int i = 0; i < m; ++i) _mm_prefetch(reinterpret_cast<const char*>(base + places[k + i]), _MM_HINT_T0);
  }
  for (int k = 0; k < r.count; k += 8) {
    const int m = r.count - k >= 8 ? 8 : r.count - k;
    const __mmask8 lanes = __mmask8((1u << m) - 1);
    const __m256i at = _mm256_load_si256(reinterpret_cast<const __m256i*>(places + k));
    // Four bytes at each source pixel: its three and one more, which every surface can read.
    const __m256i px = _mm256_mmask_i32gather_epi32(_mm256_setzero_si256(), lanes, at, base, 1);
    const __m256i bytes = _mm256_permutexvar_epi8(_mm256_load_si256(reinterpret_cast<const __m256i*>(r.step > 0 ? kPack : kPackBack)), px);
    // Going left, pixel i lands at x0 - i: the run's bytes start at its last pixel.
    uint8_t* d = out + 3 * (r.step > 0 ? r.x0 + k : r.x0 - k - (m - 1));
    if (r.step > 0 || m == 8) {
      _mm256_mask_storeu_epi8(d, (1u << (3 * m)) - 1, bytes);
    } else {  // a short run going left: its pixels sit at the top of the 8
      alignas(32) uint8_t tmp[32];
      _mm256_store_si256(reinterpret_cast<__m256i*>(tmp), bytes);
      for (int i = 0; i < 3 * m; ++i) d[i] = tmp[3 * (8 - m) + i];
    }
  }
  return true;
}

}  // namespace vorq::whirl_rows

#else

namespace vorq::whirl_rows {
bool Built() { return false; }
bool Row(const Run&, const uint8_t*, int32_t, int, int, uint8_t*) { return false; }
}  // namespace vorq::whirl_rows

#endif
