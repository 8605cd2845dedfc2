// Whirl/Pinch's source lookups eight pixels at a time in 512-bit vectors, for
// processors that have them (WideVectors()): the same double-precision
// operations in the same order as the plain loop in distortions.cpp, so the
// same pixels.
#pragma once

#include <cstdint>

namespace vorq::whirl_rows {

// Whether this build has the wide rows at all.
bool Built();

// What one run of pixels needs: the factors of offsets b .. b + count - 1
// (inside 0/1, g, cos and sin of the turn), and the row's geometry.
struct Run {
  const uint8_t* inside;
  const double *g, *cb, *sb;
  int count;
  int x0, step;  // pixel i lies at x0 + step * i (step 1 or -1); its offset is cx + ... (x - cx)
  int y, cx, cy;
  double kx, ky, dy;
};

// The pixels of the run in row out (three bytes each), from the W x H source
// whose row j is at base + j * rowStep. Returns false, writing nothing,
// when a source lies beyond the range the vectors take (the caller takes
// the plain loop).
bool Row(const Run& r, const uint8_t* base, int32_t rowStep, int W, int H, uint8_t* out);

// The same four offsets at a time in 256-bit vectors (AVX2), for processors
// without the 512-bit ones (Avx2Vectors()); the same pixels again.
namespace avx2 {
bool Built();
bool Row(const Run& r, const uint8_t* base, int32_t rowStep, int W, int H, uint8_t* out);
}  // namespace avx2

}  // namespace vorq::whirl_rows
