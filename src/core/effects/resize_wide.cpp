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

void BlendRows(const uint8_t* r0, const uint8_t* r1, const Lanes* lanes, const int* o0, const int* o1,
               const float* wx1, float wy0, float wy1, int n, uint8_t* d) {
  const __m512 y0 = _mm512_set1_ps(wy0), y1 = _mm512_set1_ps(wy1), one = _mm512_set1_ps(1.0f);
  const __m512i c1 = _mm512_set1_epi32(1), c2 = _mm512_set1_epi32(2);
  // Packed lane k holds pixels 4k .. 4k + 3 as four red, four green, four
  // blue and four blue bytes; out byte 3 i + c comes from 16 (i / 4) + 4 c + i % 4.
  alignas(64) static constexpr uint8_t kOrder[64] = {
      0,  4,  8,  1,  5,  9,  2,  6,  10, 3,  7,  11, 16, 20, 24, 17, 21, 25, 18, 22, 26, 19,
      23, 27, 32, 36, 40, 33, 37, 41, 34, 38, 42, 35, 39, 43, 48, 52, 56, 49, 53, 57, 50, 54,
      58, 51, 55, 59, 0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0};
  const __m512i order = _mm512_load_si512(kOrder);
  constexpr __mmask64 kLow = 0x1111111111111111ull;  // byte 0 of each 32-bit lane
  alignas(64) uint8_t copied[4][64];                // far-apart pixels: left/right of r0, r1
  for (int x = 0; x < n; x += 16, ++lanes) {
    const Lanes& g = *lanes;
    __m512i l0, g0, l1, g1;  // windows for the left and right neighbours of r0 and r1
    if (g.span != 0) {
      const __mmask64 m = g.span == 64 ? ~0ull : (1ull << g.span) - 1;
      l0 = g0 = _mm512_maskz_loadu_epi8(m, r0 + g.base);
      l1 = g1 = _mm512_maskz_loadu_epi8(m, r1 + g.base);
    } else {
      const int end = n - x < 16 ? n - x : 16;
      for (int i = 0; i < end; ++i) {
        std::memcpy(copied[0] + 3 * i, r0 + o0[x + i], 3);
        std::memcpy(copied[1] + 3 * i, r0 + o1[x + i], 3);
        std::memcpy(copied[2] + 3 * i, r1 + o0[x + i], 3);
        std::memcpy(copied[3] + 3 * i, r1 + o1[x + i], 3);
      }
      l0 = _mm512_load_si512(copied[0]);
      g0 = _mm512_load_si512(copied[1]);
      l1 = _mm512_load_si512(copied[2]);
      g1 = _mm512_load_si512(copied[3]);
    }
    const __m512i li = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(g.left)));
    const __m512i ri = _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(g.right)));
    const __m512 w1 = _mm512_loadu_ps(wx1 + x), w0 = _mm512_sub_ps(one, w1);
    const __m512 p00 = _mm512_mul_ps(w0, y0), p01 = _mm512_mul_ps(w0, y1);
    const __m512 p10 = _mm512_mul_ps(w1, y0), p11 = _mm512_mul_ps(w1, y1);
    __m512i q[3];
    for (int c = 0; c < 3; ++c) {
      const __m512i lc = c == 0 ? li : _mm512_add_epi32(li, c == 1 ? c1 : c2);
      const __m512i rc = c == 0 ? ri : _mm512_add_epi32(ri, c == 1 ? c1 : c2);
      auto at = [&](__m512i idx, __m512i window) {
        return _mm512_cvtepi32_ps(_mm512_maskz_permutexvar_epi8(kLow, idx, window));
      };
      __m512 v = _mm512_mul_ps(p00, at(lc, l0));
      v = _mm512_add_ps(v, _mm512_mul_ps(p01, at(lc, l1)));
      v = _mm512_add_ps(v, _mm512_mul_ps(p10, at(rc, g0)));
      v = _mm512_add_ps(v, _mm512_mul_ps(p11, at(rc, g1)));
      q[c] = _mm512_cvtps_epi32(v);  // nearest, an exact half to even
    }
    // Saturating packs limit to 0 .. 255.
    const __m512i bytes = _mm512_packus_epi16(_mm512_packus_epi32(q[0], q[1]), _mm512_packus_epi32(q[2], q[2]));
    _mm512_storeu_si512(d + 3 * x, _mm512_permutexvar_epi8(order, bytes));
  }
}

}  // namespace vorq::resize_rows

#else

namespace vorq::resize_rows {
bool Built() { return false; }
void Gather(const uint8_t*, const Group*, const int*, const int*, int, uint8_t*, uint8_t*) {}
void Blend(const uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, const float*, const float*, float, float,
           int, uint8_t*) {}
void BlendRows(const uint8_t*, const uint8_t*, const Lanes*, const int*, const int*, const float*, float, float, int,
               uint8_t*) {}
}  // namespace vorq::resize_rows

#endif
