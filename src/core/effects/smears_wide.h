// StretchBlur's blend in 512-bit vectors, for processors that have them
// (WideVectors()); the same whole numbers and the same single-precision
// quotient as the portable blend in smears.cpp, so the same bytes.
#pragma once

#include <cstdint>

namespace vorq::smear_rows {

// Whether this build has the wide blend at all.
bool Built();

// The first 16 * (n div 16) of n pixels: every channel of d becomes
// Nearest((moved * (765 - w) + kept * w) / 765), w being the sum of the
// channels of map's pixel (map may be kept). Returns how many were done.
int Blend(uint8_t* d, const uint8_t* moved, const uint8_t* kept, const uint8_t* map, int n);

}  // namespace vorq::smear_rows
