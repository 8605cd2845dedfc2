// The bilinear resize's inner rows in 512-bit vectors, for processors that
// have them (WideVectors()). They do the same single-precision products and
// sums, in the same order, as the portable rows in geometry.cpp, so either
// gives the same bytes.
#pragma once

#include <cstdint>

namespace vorq::resize_rows {

// Sixteen target pixels' source bytes: one masked read of `span` bytes from
// `base`, then a byte permutation for the left and the right neighbours.
// span 0: the pixels lie too far apart and are copied one by one.
struct Group {
  int base = 0, span = 0;
  uint8_t left[64] = {}, right[64] = {};
};

// Sixteen target pixels read straight from two source rows: left[i] and
// right[i] are pixel i's neighbours' byte offsets from `base` (masked read
// of `span` bytes). span 0: the neighbours lie too far apart; left and right
// then hold 3 i and the bytes are copied out first, from o0 and o1.
struct Lanes {
  int base = 0, span = 0;
  uint8_t left[16] = {}, right[16] = {};
};

// Eight target pixels for the 256-bit rows, as two fours: four h reads the
// 16 bytes from base[h]; byte 0 of pixel i's 32-bit lane of left (right)
// is its neighbour's offset there, the other bytes 0x80 (read as zero).
// near false: the neighbours lie too far apart; the offsets are then 3 i
// into the bytes copied out first, from o0 and o1.
struct Eights {
  int base[2] = {};
  bool near = false;
  uint8_t left[32] = {}, right[32] = {};
};

// Whether this build has the wide rows at all.
bool Built();

// Source row r rearranged into left (byte k = target byte k's left
// neighbour) and right; o0/o1 are the neighbours' byte offsets. Both
// outputs need 64 bytes of room past the row.
void Gather(const uint8_t* r, const Group* groups, const int* o0, const int* o1, int newW, uint8_t* left,
            uint8_t* right);

// n bytes of a target row: (wx0 wy0) s00 + (wx0 wy1) s01 + (wx1 wy0) s10 +
// (wx1 wy1) s11, rounded to nearest (ties to even) and limited to a byte.
// The inputs need 16 readable bytes (floats) past n.
void Blend(const uint8_t* s00, const uint8_t* s01, const uint8_t* s10, const uint8_t* s11, const float* wx0,
           const float* wx1, float wy0, float wy1, int n, uint8_t* d);

// n target pixels straight from source rows r0 (weight wy0) and r1 (wy1):
// the same arithmetic as Blend, with wx0 = 1 - wx1 per pixel. wx1 needs 16
// readable floats past n; d gets 3 n bytes and may be written up to 64
// bytes past them.
void BlendRows(const uint8_t* r0, const uint8_t* r1, const Lanes* lanes, const int* o0, const int* o1,
               const float* wx1, float wy0, float wy1, int n, uint8_t* d);

namespace avx2 {
// Whether this build has the 256-bit rows.
bool Built();
// BlendRows for processors with AVX2 but not the 512-bit rows; d may be
// written up to 32 bytes past its 3 n bytes.
void BlendRows(const uint8_t* r0, const uint8_t* r1, const Eights* eights, const int* o0, const int* o1,
               const float* wx1, float wy0, float wy1, int n, uint8_t* d);
}  // namespace avx2

}  // namespace vorq::resize_rows
