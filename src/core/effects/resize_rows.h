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

}  // namespace vorq::resize_rows
