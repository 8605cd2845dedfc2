// Built with 512-bit vector instructions and without fused multiply-adds
// (see CMakeLists.txt); called only when the processor has them. Nothing
// here may instantiate a library template: another file's copy of it could
// be replaced by this one's.
#include "core/effects/sample_wide.h"

#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__) && defined(__AVX512VBMI__)
#include <immintrin.h>

namespace vorq::sample_rows {

bool Built() { return true; }

namespace {

struct Taps {
  __m512i i0, i1;
  __m512 w0, w1;
};

// The taps of positions s along an axis of n, for whole parts within
// -n + 1 .. 2n - 1; false (in ok) for any other lane.
inline Taps AxisTaps(__m512 s, int n, __mmask16 lanes, bool& ok) {
  const __m512i nv = _mm512_set1_epi32(n), one = _mm512_set1_epi32(1);
  const __m512 fone = _mm512_set1_ps(1.0f);
  ok = ok && _mm512_mask_cmp_ps_mask(lanes, _mm512_abs_ps(s), _mm512_set1_ps(1.0e9f), _CMP_LT_OQ) == lanes;
  const __m512i i = _mm512_cvttps_epi32(s);  // toward zero
  const __m512 f = _mm512_sub_ps(s, _mm512_cvtepi32_ps(i));
  ok = ok && _mm512_mask_cmpgt_epi32_mask(lanes, i, _mm512_sub_epi32(_mm512_setzero_si512(), nv)) == lanes &&
       _mm512_mask_cmplt_epi32_mask(lanes, i, _mm512_add_epi32(nv, nv)) == lanes;
  // Below 0: n - 1 + i; from n on: i - n.
  __m512i i0 = _mm512_mask_add_epi32(i, _mm512_cmplt_epi32_mask(i, _mm512_setzero_si512()), i,
                                     _mm512_sub_epi32(nv, one));
  i0 = _mm512_mask_sub_epi32(i0, _mm512_cmpge_epi32_mask(i0, nv), i0, nv);
  const __mmask16 up = _mm512_cmp_ps_mask(s, _mm512_setzero_ps(), _CMP_GE_OQ);
  Taps t;
  // s >= 0: (1 - f, f); below: (-f, 1 - (-f)).
  const __m512 negf = _mm512_sub_ps(_mm512_setzero_ps(), f);
  t.w0 = _mm512_mask_blend_ps(up, negf, _mm512_sub_ps(fone, f));
  t.w1 = _mm512_mask_blend_ps(up, _mm512_sub_ps(fone, negf), f);
  t.i0 = i0;
  t.i1 = _mm512_mask_blend_epi32(_mm512_cmpeq_epi32_mask(i0, _mm512_sub_epi32(nv, one)), _mm512_add_epi32(i0, one),
                                 _mm512_setzero_si512());
  return t;
}

}  // namespace

void Prefetch(const uint8_t* base, int32_t rowStep, int W, int H, const float* sx, const float* sy, int count) {
  // Near enough: the pixel at the positions' whole parts, kept inside the
  // image (a wrapped sample's pixels are not asked for).
  alignas(64) int32_t at[16];
  const __m512i zero = _mm512_setzero_si512(), lastX = _mm512_set1_epi32(W - 1), lastY = _mm512_set1_epi32(H - 1);
  for (int k = 0; k < count; k += 16) {
    const int m = count - k >= 16 ? 16 : count - k;
    const __mmask16 lanes = __mmask16((1u << m) - 1);
    const __m512i x = _mm512_min_epi32(_mm512_max_epi32(_mm512_cvttps_epi32(_mm512_maskz_loadu_ps(lanes, sx + k)), zero), lastX);
    const __m512i y = _mm512_min_epi32(_mm512_max_epi32(_mm512_cvttps_epi32(_mm512_maskz_loadu_ps(lanes, sy + k)), zero), lastY);
    _mm512_store_si512(at, _mm512_add_epi32(_mm512_mullo_epi32(y, _mm512_set1_epi32(rowStep)),
                                            _mm512_mullo_epi32(x, _mm512_set1_epi32(3))));
    for (int i = 0; i < m; ++i) {
      _mm_prefetch(reinterpret_cast<const char*>(base + at[i]), _MM_HINT_T0);
      _mm_prefetch(reinterpret_cast<const char*>(base + at[i] + rowStep), _MM_HINT_T0);
    }
  }
}

bool Row(const uint8_t* base, int32_t rowStep, int W, int H, const float* sx, const float* sy, int count, uint8_t* d) {
  // Bytes 0, 1, 2 of every 32-bit lane, packed.
  alignas(64) static constexpr uint8_t kPack[64] = {0,  1,  2,  4,  5,  6,  8,  9,  10, 12, 13, 14, 16, 17, 18, 20,
                                                    21, 22, 24, 25, 26, 28, 29, 30, 32, 33, 34, 36, 37, 38, 40, 41,
                                                    42, 44, 45, 46, 48, 49, 50, 52, 53, 54, 56, 57, 58, 60, 61, 62};
  const __m512i three = _mm512_set1_epi32(3), byte = _mm512_set1_epi32(0xFF), top = _mm512_set1_epi32(255);
  // First every position's taps, so that nothing is written unless all are usable.
  for (int k = 0; k < count; k += 16) {
    const __mmask16 lanes = count - k >= 16 ? __mmask16(0xFFFF) : __mmask16((1u << (count - k)) - 1);
    bool ok = true;
    AxisTaps(_mm512_maskz_loadu_ps(lanes, sx + k), W, lanes, ok);
    AxisTaps(_mm512_maskz_loadu_ps(lanes, sy + k), H, lanes, ok);
    if (!ok) return false;
  }
  for (int k = 0; k < count; k += 16, d += 48) {
    const __mmask16 lanes = count - k >= 16 ? __mmask16(0xFFFF) : __mmask16((1u << (count - k)) - 1);
    bool ok = true;
    const Taps c = AxisTaps(_mm512_maskz_loadu_ps(lanes, sx + k), W, lanes, ok);
    const Taps r = AxisTaps(_mm512_maskz_loadu_ps(lanes, sy + k), H, lanes, ok);
    const __m512 w00 = _mm512_mul_ps(c.w0, r.w0), w10 = _mm512_mul_ps(c.w1, r.w0);
    const __m512 w01 = _mm512_mul_ps(c.w0, r.w1), w11 = _mm512_mul_ps(c.w1, r.w1);
    const __m512i step = _mm512_set1_epi32(rowStep);
    const __m512i row0 = _mm512_mullo_epi32(r.i0, step), row1 = _mm512_mullo_epi32(r.i1, step);
    const __m512i col0 = _mm512_mullo_epi32(c.i0, three), col1 = _mm512_mullo_epi32(c.i1, three);
    // Four bytes at each pixel: its three and one more, which every surface can read.
    auto fetch = [&](__m512i row, __m512i col) {
      return _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), lanes, _mm512_add_epi32(row, col), base, 1);
    };
    const __m512i p00 = fetch(row0, col0), p10 = fetch(row0, col1), p01 = fetch(row1, col0), p11 = fetch(row1, col1);
    __m512i out = _mm512_setzero_si512();
    for (int ch = 0; ch < 3; ++ch) {
      const __m128i shift = _mm_cvtsi32_si128(8 * ch);
      auto channel = [&](__m512i p) {
        return _mm512_cvtepi32_ps(_mm512_and_si512(_mm512_srl_epi32(p, shift), byte));
      };
      __m512 sum = _mm512_mul_ps(w00, channel(p00));
      sum = _mm512_add_ps(sum, _mm512_mul_ps(w10, channel(p10)));
      sum = _mm512_add_ps(sum, _mm512_mul_ps(w01, channel(p01)));
      sum = _mm512_add_ps(sum, _mm512_mul_ps(w11, channel(p11)));
      // Nearest (an exact half to even), limited to 0 .. 255.
      const __m512i v = _mm512_min_epi32(_mm512_max_epi32(_mm512_cvtps_epi32(sum), _mm512_setzero_si512()), top);
      out = _mm512_or_si512(out, _mm512_sll_epi32(v, shift));
    }
    const __m512i bytes = _mm512_permutexvar_epi8(_mm512_load_si512(kPack), out);
    const int n = count - k >= 16 ? 48 : 3 * (count - k);
    _mm512_mask_storeu_epi8(d, n == 64 ? ~0ull : (1ull << n) - 1, bytes);
  }
  return true;
}

}  // namespace vorq::sample_rows

#else

namespace vorq::sample_rows {
bool Built() { return false; }
void Prefetch(const uint8_t*, int32_t, int, int, const float*, const float*, int) {}
bool Row(const uint8_t*, int32_t, int, int, const float*, const float*, int, uint8_t*) { return false; }
}  // namespace vorq::sample_rows

#endif
