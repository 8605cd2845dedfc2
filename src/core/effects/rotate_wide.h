// Rotate 90's blocks of 16 x 16 pixels in 512-bit vectors, for processors
// that have them (WideVectors()): the same bytes moved to the same places.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorq::rotate_rows {

// Whether this build has the wide blocks at all.
bool Built();

// Source rows src[0 .. 15] (rows y0 ..), the 16 pixels from byte offset
// `at` of each, turned a quarter clockwise: pixel i of src[r] goes to pixel
// 15 - r of dst[i] (each dst[i] a target row from the column of source row
// y0 + 15 on).
void Block(const uint8_t* const* src, size_t at, uint8_t* const* dst);

}  // namespace vorq::rotate_rows
