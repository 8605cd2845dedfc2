// Built with 512-bit vector instructions and without fused multiply-adds
// (see CMakeLists.txt); called only when the processor has them. Nothing
// here may instantiate a library template: another file's copy of it could
// be replaced by this one's.
#include "core/effects/resize_rows.h"

#include <cstring>

#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__) && defined(__AVX512VBMI__)
#include <immintrin.h>

namespace vorq::resize_rows {

bool Built() { return true; }

void Gather(const uint8_t* r, const Group* groups, const int* o0, const int* o1, int newW, uint8_t* left,
            uint8_t* right) {
  for (int x = 0; x < newW; x += 16, ++groups, left += 48, right += 48) {
    const Group& g = *groups;
    if (g.span == 0) {
      const int end = newW - x < 16 ? newW - x : 16;
      // Four-byte copies: each extra byte is overwritten by the next pixel
      // or group, and surfaces are readable one byte past every pixel.
      for (int i = 0; i < end; ++i) {
        std::memcpy(left + 3 * i, r + o0[x + i], 4);
        std::memcpy(right + 3 * i, r + o1[x + i], 4);
      }
      continue;
    }
    // Masked reads do not wake the hardware's prefetcher here: ask ahead.
    _mm_prefetch(reinterpret_cast<const char*>(r + g.base) + 2048, _MM_HINT_T0);
    // Masked-off bytes are not read, so the window may end anywhere.
    const __m512i window = _mm512_maskz_loadu_epi8(g.span == 64 ? ~0ull : (1ull << g.span) - 1, r + g.base);
    // 64 bytes stored, 48 kept: the next group overwrites the rest.
    _mm512_storeu_si512(left, _mm512_permutexvar_epi8(_mm512_loadu_si512(g.left), window));
    _mm512_storeu_si512(right, _mm512_permutexvar_epi8(_mm512_loadu_si512(g.right), window));
  }
}

void Blend(const uint8_t* s00, const uint8_t* s01, const uint8_t* s10, const uint8_t* s11, const float* wx0,
           const float* wx1, float wy0, float wy1, int n, uint8_t* d) {
  const __m512 y0 = _mm512_set1_ps(wy0), y1 = _mm512_set1_ps(wy1);
  const __m512i zero = _mm512_setzero_si512();
  auto floats = [](const uint8_t* p) {
    return _mm512_cvtepi32_ps(_mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
  };
  for (int k = 0; k < n; k += 16) {
    const __m512 w0 = _mm512_loadu_ps(wx0 + k), w1 = _mm512_loadu_ps(wx1 + k);
    __m512 v = _mm512_mul_ps(_mm512_mul_ps(w0, y0), floats(s00 + k));
    v = _mm512_add_ps(v, _mm512_mul_ps(_mm512_mul_ps(w0, y1), floats(s01 + k)));
    v = _mm512_add_ps(v, _mm512_mul_ps(_mm512_mul_ps(w1, y0), floats(s10 + k)));
    v = _mm512_add_ps(v, _mm512_mul_ps(_mm512_mul_ps(w1, y1), floats(s11 + k)));
    // Nearest, an exact half to even (the default rounding), then 0 .. 255.
    const __m128i bytes = _mm512_cvtusepi32_epi8(_mm512_max_epi32(_mm512_cvtps_epi32(v), zero));
    const int left = n - k;
    _mm_mask_storeu_epi8(d + k, left >= 16 ? __mmask16(0xFFFF) : __mmask16((1u << left) - 1), bytes);
  }
}

}  // namespace vorq::resize_rows

#else

namespace vorq::resize_rows {
bool Built() { return false; }
void Gather(const uint8_t*, const Group*, const int*, const int*, int, uint8_t*, uint8_t*) {}
void Blend(const uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, const float*, const float*, float, float,
           int, uint8_t*) {}
}  // namespace vorq::resize_rows

#endif
