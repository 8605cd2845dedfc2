// The wrapped 2 x 2 sample in 256-bit vectors, eight pixels at a time, for
// processors with AVX2 but not the 512-bit rows (sample_wide.cpp), which
// it follows step for step. Built with AVX2 and without fused multiply-adds
// (see CMakeLists.txt); called only when the processor has them. Nothing
// here may instantiate a library template: another file's copy of it could
// be replaced by this one's.
#include <cstring>

#include "core/effects/sample_wide.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace vorq::sample_rows::avx2 {

bool Built() { return true; }

namespace {

struct Taps {
  __m256i i0, i1;
  __m256 w0, w1;
};

// All ones in the first m lanes.
inline __m256i Lanes(int m) { return _mm256_cmpgt_epi32(_mm256_set1_epi32(m), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)); }

// The taps of positions s along an axis of n, for whole parts within
// -n + 1 .. 2n - 1; bad gets the used lanes where that does not hold.
inline Taps AxisTaps(__m256 s, int n, __m256i lanes, __m256i& bad) {
  const __m256i nv = _mm256_set1_epi32(n), one = _mm256_set1_epi32(1), zero = _mm256_setzero_si256();
  const __m256 fone = _mm256_set1_ps(1.0f), fzero = _mm256_setzero_ps();
  const __m256 absS = _mm256_and_ps(s, _mm256_castsi256_ps(_mm256_set1_epi32(0x7FFFFFFF)));
  const __m256i small = _mm256_castps_si256(_mm256_cmp_ps(absS, _mm256_set1_ps(1.0e9f), _CMP_LT_OQ));
  const __m256i i = _mm256_cvttps_epi32(s);  // toward zero
  const __m256 f = _mm256_sub_ps(s, _mm256_cvtepi32_ps(i));
  const __m256i inside = _mm256_and_si256(_mm256_cmpgt_epi32(i, _mm256_sub_epi32(zero, nv)),
                                          _mm256_cmpgt_epi32(_mm256_add_epi32(nv, nv), i));
  bad = _mm256_or_si256(bad, _mm256_andnot_si256(_mm256_and_si256(small, inside), lanes));
  // Below 0: n - 1 + i; from n on: i - n.
  __m256i i0 = _mm256_blendv_epi8(i, _mm256_add_epi32(i, _mm256_sub_epi32(nv, one)), _mm256_cmpgt_epi32(zero, i));
  i0 = _mm256_blendv_epi8(_mm256_sub_epi32(i0, nv), i0, _mm256_cmpgt_epi32(nv, i0));
  const __m256 up = _mm256_cmp_ps(s, fzero, _CMP_GE_OQ);
  // s >= 0: (1 - f, f); below: (-f, 1 - (-f)).
  const __m256 negf = _mm256_sub_ps(fzero, f);
  Taps t;
  t.w0 = _mm256_blendv_ps(negf, _mm256_sub_ps(fone, f), up);
  t.w1 = _mm256_blendv_ps(_mm256_sub_ps(fone, negf), f, up);
  t.i0 = i0;
  t.i1 = _mm256_andnot_si256(_mm256_cmpeq_epi32(i0, _mm256_sub_epi32(nv, one)), _mm256_add_epi32(i0, one));
  return t;
}

}  // namespace

void Prefetch(const uint8_t* base, int32_t rowStep, int W, int H, const float* sx, const float* sy, int count) {
  alignas(32) int32_t at[8];
  const __m256i zero = _mm256_setzero_si256(), lastX = _mm256_set1_epi32(W - 1), lastY = _mm256_set1_epi32(H - 1);
  for (int k = 0; k < count; k += 8) {
    const int m = count - k >= 8 ? 8 : count - k;
    const __m256i lanes = Lanes(m);
    const __m256i x = _mm256_min_epi32(_mm256_max_epi32(_mm256_cvttps_epi32(_mm256_maskload_ps(sx + k, lanes)), zero), lastX);
    const __m256i y = _mm256_min_epi32(_mm256_max_epi32(_mm256_cvttps_epi32(_mm256_maskload_ps(sy + k, lanes)), zero), lastY);
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), _mm256_add_epi32(_mm256_mullo_epi32(y, _mm256_set1_epi32(rowStep)),
                                                                      _mm256_mullo_epi32(x, _mm256_set1_epi32(3))));
    for (int i = 0; i < m; ++i) {
      _mm_prefetch(reinterpret_cast<const char*>(base + at[i]), _MM_HINT_T0);
      _mm_prefetch(reinterpret_cast<const char*>(base + at[i] + rowStep), _MM_HINT_T0);
    }
  }
}

bool Row(const uint8_t* base, int32_t rowStep, int W, int H, const float* sx, const float* sy, int count, uint8_t* d) {
  // First every position's taps, so that nothing is written unless all are usable.
  __m256i bad = _mm256_setzero_si256();
  for (int k = 0; k < count; k += 8) {
    const __m256i lanes = Lanes(count - k);
    AxisTaps(_mm256_maskload_ps(sx + k, lanes), W, lanes, bad);
    AxisTaps(_mm256_maskload_ps(sy + k, lanes), H, lanes, bad);
  }
  if (!_mm256_testz_si256(bad, bad)) return false;
  // Bytes 0, 1, 2 of every 32-bit lane, packed, in each half.
  const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                        0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  const __m256i three = _mm256_set1_epi32(3), byte = _mm256_set1_epi32(0xFF), top = _mm256_set1_epi32(255);
  const __m256i step = _mm256_set1_epi32(rowStep), zero = _mm256_setzero_si256();
  for (int k = 0; k < count; k += 8, d += 24) {
    const int m = count - k >= 8 ? 8 : count - k;
    const __m256i lanes = Lanes(m);
    __m256i unused = zero;
    const Taps c = AxisTaps(_mm256_maskload_ps(sx + k, lanes), W, lanes, unused);
    const Taps r = AxisTaps(_mm256_maskload_ps(sy + k, lanes), H, lanes, unused);
    const __m256 w00 = _mm256_mul_ps(c.w0, r.w0), w10 = _mm256_mul_ps(c.w1, r.w0);
    const __m256 w01 = _mm256_mul_ps(c.w0, r.w1), w11 = _mm256_mul_ps(c.w1, r.w1);
    const __m256i row0 = _mm256_mullo_epi32(r.i0, step), row1 = _mm256_mullo_epi32(r.i1, step);
    const __m256i col0 = _mm256_mullo_epi32(c.i0, three), col1 = _mm256_mullo_epi32(c.i1, three);
    // Four bytes at each pixel: its three and one more, which every surface can read.
    auto fetch = [&](__m256i row, __m256i col) {
      return _mm256_mask_i32gather_epi32(zero, reinterpret_cast<const int*>(base), _mm256_add_epi32(row, col), lanes, 1);
    };
    const __m256i p00 = fetch(row0, col0), p10 = fetch(row0, col1), p01 = fetch(row1, col0), p11 = fetch(row1, col1);
    __m256i out = zero;
    for (int ch = 0; ch < 3; ++ch) {
      const __m128i shift = _mm_cvtsi32_si128(8 * ch);
      auto channel = [&](__m256i p) { return _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srl_epi32(p, shift), byte)); };
      __m256 sum = _mm256_mul_ps(w00, channel(p00));
      sum = _mm256_add_ps(sum, _mm256_mul_ps(w10, channel(p10)));
      sum = _mm256_add_ps(sum, _mm256_mul_ps(w01, channel(p01)));
      sum = _mm256_add_ps(sum, _mm256_mul_ps(w11, channel(p11)));
      // Nearest (an exact half to even), limited to 0 .. 255.
      const __m256i v = _mm256_min_epi32(_mm256_max_epi32(_mm256_cvtps_epi32(sum), zero), top);
      out = _mm256_or_si256(out, _mm256_sll_epi32(v, shift));
    }
    const __m256i packed = _mm256_shuffle_epi8(out, pack);
    alignas(32) uint8_t bytes[32];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), _mm256_castsi256_si128(packed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + 12), _mm256_extracti128_si256(packed, 1));
    std::memcpy(d, bytes, size_t(3 * m));
  }
  return true;
}

}  // namespace vorq::sample_rows::avx2

#else

namespace vorq::sample_rows::avx2 {
bool Built() { return false; }
void Prefetch(const uint8_t*, int32_t, int, int, const float*, const float*, int) {}
bool Row(const uint8_t*, int32_t, int, int, const float*, const float*, int, uint8_t*) { return false; }
}  // namespace vorq::sample_rows::avx2

#endif
