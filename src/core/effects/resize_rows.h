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

}  // namespace vorq::resize_rows
