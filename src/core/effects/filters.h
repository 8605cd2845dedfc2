// The Filters effects: fixed and user 3x3 kernels, gaussian blur, Classic
// Emboss, Split Blur and Split Gauss. All of them treat the image as a tile:
// what lies beyond an edge is taken from the opposite edge.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

// Kernel in row-major order: K0..K2 the row above, K4 the pixel itself.
struct FixedFilter {
  int EffectId;
  int32_t Kernel[9];
  uint16_t Divisor;
};

// Effect ids 0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12 in that order.
extern const FixedFilter kFixedFilters[12];
const FixedFilter* FindFixedFilter(int effectId);  // nullptr for any other id

// Filters Surface in place. Sums are signed 32-bit (wrapping like the
// original arithmetic), divided by int32(Divisor) truncating toward zero and
// clamped to 0..255. Edges wrap to the opposite side, the four corners repeat
// the image's own corner pixel. Divisor 0 is refused by the caller; if it
// arrives anyway the surface is left unchanged.
void Convolve3x3(const int32_t (&Kernel)[9], uint16_t Divisor, TFastDIB& Surface);

// Gaussian kernel: weights for offsets -Size .. Size, Weights[10 + j] is the
// weight of offset j; unused entries are 0.
struct GaussKernel {
  int Size = 0;
  float Weights[21] = {};
};
GaussKernel MakeGaussKernel(double Radius);
// A channel sum to a byte: below 0 gives 0, 255.0 or more gives 255, else
// truncated.
uint8_t GaussSumToByte(double v);

// Separable gaussian blur in place; the row and column ends repeat the edge
// pixel. Returns false (changing nothing) unless Bitmap is a 24-bit surface
// with pixels. A radius that is not positive (or NaN) leaves it unchanged.
bool GBlur(TFastDIB& Bitmap, double Radius);

// The Gaussian Blur command: blurs Work as a tile with radius Radius + 1.
// Scratch receives the wrapped image with its margin. A Radius below 0 leaves
// Work unchanged.
void GaussianBlurCommand(TFastDIB& Work, TFastDIB& Scratch, int Radius);

// Every pixel p becomes Level/2 + (pixel two right and two down of p) - p,
// clamped, reading from a copy kept in Scratch.
void ClassicEmboss(TFastDIB& Target, TFastDIB& Scratch, int Level);

// In place, top to bottom and left to right: each pixel becomes the
// truncated mean of the four pixels at (x +- Distance, y +- Distance),
// wrapped; pixels already done in this pass are read with their new values.
void SplitBlur(TFastDIB& Surface, int Distance);
// One pass per unit of D: the work grows with D, so it is bounded.
constexpr int kMaxSplitGaussAmount = 1000;
// SplitBlur with D, D-1, ..., 0; nothing for D < 0. D above
// kMaxSplitGaussAmount runs as kMaxSplitGaussAmount (the command refuses it).
void SplitGauss(TFastDIB& Surface, int D);

namespace detail {
// Multiplier and shift with (a * mul) >> (16 + shift) == a / divisor for
// every a in 0 .. maxAbs (maxAbs <= 32768); false when there is none.
bool FindMagic16(uint32_t divisor, int maxAbs, uint16_t& mul, int& shift);
// ClampByte(sums[i] / divisor) through the same vector division Convolve3x3
// uses for small kernels.
void DivideSums16(const int16_t* sums, uint8_t* out, int n, uint16_t divisor);
// Off: GBlur sums in double on every path (same results, for comparison).
void UseVectorGauss(bool on);
}  // namespace detail

}  // namespace vorq
