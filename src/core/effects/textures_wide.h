// SuperNova's rows in 512-bit vectors, for processors that have them
// (WideVectors()): the same double-precision operations in the same order
// as the plain loop in textures_light.cpp, so the same bytes.
#pragma once

#include <cstdint>

namespace vorq::nova_rows {

// Whether this build has the wide rows at all.
bool Built();

// Pixels 0 .. 8 * (W div 8) - 1 of one row p of the star: ux the columns'
// offsets from the centre over the radius, an their angles, v the row's
// offset; n spokes with brightness sp and colours co (red, green, blue)
// for spokes 0 .. n. Returns how many pixels were done.
int Row(uint8_t* p, const double* ux, const double* an, double v, int n, const double* sp, const double* co, int W);

}  // namespace vorq::nova_rows
