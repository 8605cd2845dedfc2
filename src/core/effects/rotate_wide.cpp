// Built with 512-bit vector instructions (see CMakeLists.txt); called only
// when the processor has them. Nothing here may instantiate a library
// template: another file's copy of it could be replaced by this one's.
#include "core/effects/rotate_wide.h"

#if defined(__AVX512F__) && defined(__AVX512BW__) && defined(__AVX512VL__) && defined(__AVX512VBMI__)
#include <immintrin.h>

namespace vorq::rotate_rows {

bool Built() { return true; }

void Block(const uint8_t* const* src, size_t at, uint8_t* const* dst) {
  constexpr __mmask64 k48 = (__mmask64(1) << 48) - 1;
  // 16 three-byte pixels spread to 16 four-byte lanes, and back.
  alignas(64) static constexpr uint8_t kSpread[64] = {
      0,  1,  2,  0, 3,  4,  5,  0, 6,  7,  8,  0, 9,  10, 11, 0, 12, 13, 14, 0, 15, 16, 17, 0,
      18, 19, 20, 0, 21, 22, 23, 0, 24, 25, 26, 0, 27, 28, 29, 0, 30, 31, 32, 0, 33, 34, 35, 0,
      36, 37, 38, 0, 39, 40, 41, 0, 42, 43, 44, 0, 45, 46, 47, 0};
  alignas(64) static constexpr uint8_t kPack[64] = {
      0,  1,  2,  4,  5,  6,  8,  9,  10, 12, 13, 14, 16, 17, 18, 20, 21, 22, 24, 25, 26, 28, 29, 30,
      32, 33, 34, 36, 37, 38, 40, 41, 42, 44, 45, 46, 48, 49, 50, 52, 53, 54, 56, 57, 58, 60, 61, 62};
  const __m512i spread = _mm512_load_si512(kSpread), pack = _mm512_load_si512(kPack);
  // Row r of the matrix is source row y0 + 15 - r, so that its transpose's
  // row i is target row x0 + i in order.
  __m512i a[16], b[16];
  for (int r = 0; r < 16; ++r) a[r] = _mm512_permutexvar_epi8(spread, _mm512_maskz_loadu_epi8(k48, src[15 - r] + at));
  // The 16 x 16 transpose of four-byte lanes: pairs, then quads within each
  // 128-bit lane, then the lanes themselves.
  for (int k = 0; k < 8; ++k) {
    b[2 * k] = _mm512_unpacklo_epi32(a[2 * k], a[2 * k + 1]);
    b[2 * k + 1] = _mm512_unpackhi_epi32(a[2 * k], a[2 * k + 1]);
  }
  for (int k = 0; k < 4; ++k) {
    a[4 * k] = _mm512_unpacklo_epi64(b[4 * k], b[4 * k + 2]);
    a[4 * k + 1] = _mm512_unpackhi_epi64(b[4 * k], b[4 * k + 2]);
    a[4 * k + 2] = _mm512_unpacklo_epi64(b[4 * k + 1], b[4 * k + 3]);
    a[4 * k + 3] = _mm512_unpackhi_epi64(b[4 * k + 1], b[4 * k + 3]);
  }
  // a[4k + m], 128-bit lane L: column 4L + m of rows 4k .. 4k + 3.
  for (int m = 0; m < 4; ++m) {
    const __m512i c0 = _mm512_shuffle_i32x4(a[m], a[4 + m], 0x44), c1 = _mm512_shuffle_i32x4(a[m], a[4 + m], 0xEE);
    const __m512i c2 = _mm512_shuffle_i32x4(a[8 + m], a[12 + m], 0x44),
                  c3 = _mm512_shuffle_i32x4(a[8 + m], a[12 + m], 0xEE);
    b[m] = _mm512_shuffle_i32x4(c0, c2, 0x88);
    b[4 + m] = _mm512_shuffle_i32x4(c0, c2, 0xDD);
    b[8 + m] = _mm512_shuffle_i32x4(c1, c3, 0x88);
    b[12 + m] = _mm512_shuffle_i32x4(c1, c3, 0xDD);
  }
  for (int i = 0; i < 16; ++i) _mm512_mask_storeu_epi8(dst[i], k48, _mm512_permutexvar_epi8(pack, b[i]));
}

}  // namespace vorq::rotate_rows

#else

namespace vorq::rotate_rows {
bool Built() { return false; }
void Block(const uint8_t* const*, size_t, uint8_t* const*) {}
}  // namespace vorq::rotate_rows

#endif
