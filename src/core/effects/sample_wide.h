// The wrapped 2 x 2 sample of Twist, sixteen pixels at a time in 512-bit
// vectors, for processors that have them (WideVectors()): the same
// single-precision taps, products and sums, in the same order, as the plain
// sample in distortions_lens.cpp, so the same bytes.
#pragma once

#include <cstdint>

namespace vorq::sample_rows {

// Whether this build has the wide sample at all.
bool Built();

// Asks ahead of time for the source pixels of samples at (sx[i], sy[i]),
// row j of the source being at base + j * rowStep.
void Prefetch(const uint8_t* base, int32_t rowStep, int W, int H, const float* sx, const float* sy, int count);

// count pixels of d (three bytes each, in a row) := the wrapped samples of
// the W x H source at (sx[i], sy[i]), row j of the source being at
// base + j * rowStep. Returns false, writing nothing, when a position is not
// a number or lies beyond -n .. 2n - 1 along its axis of n (the caller takes
// the plain path).
bool Row(const uint8_t* base, int32_t rowStep, int W, int H, const float* sx, const float* sy, int count, uint8_t* d);

// The same eight pixels at a time in 256-bit vectors (AVX2), for processors
// without the 512-bit ones (Avx2Vectors()); the same bytes again.
namespace avx2 {
bool Built();
void Prefetch(const uint8_t* base, int32_t rowStep, int W, int H, const float* sx, const float* sy, int count);
bool Row(const uint8_t* base, int32_t rowStep, int W, int H, const float* sx, const float* sy, int count, uint8_t* d);
}  // namespace avx2

}  // namespace vorq::sample_rows
