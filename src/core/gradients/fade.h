// The fade control's arithmetic: the cross-fade of a saved picture into a
// target picture in steps of 1/32, and the random-pixel dissolve.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/surface/fast_dib.h"

namespace vorq {

// The fade control's own error.
struct EVorqFade : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Blend steps are kept within 1 .. 256: more frames than that show no new
// shade (there are only 33), and the transition must end.
constexpr int kMaxBlendRate = 256;
int ClampBlendRate(int64_t rate);
// Raises EVorqFade "BlendRate must be between 0 and 256" below 1 or above 256.
void CheckBlendRate(int rate);
// The weight of the target in frame i = 0 .. blendRate: (32 * i) div blendRate.
int BlendAlpha(int frame, int blendRate);

// Every byte of dst becomes (s * (32 - a) + t * a) div 32, s and t the bytes
// of saved and to at the same place, a in 0 .. 32. Four bytes are worked at
// once: even and odd bytes each get a 16-bit lane of a 32-bit word.
void BlendBytes(uint8_t* dst, const uint8_t* saved, const uint8_t* to, size_t count, int a);
// The same over whole surfaces, row filler bytes included; all three must
// have one size (nothing happens otherwise).
void BlendSurface(TFastDIB& from, const TFastDIB& saved, const TFastDIB& to, int a);

// Dissolve frames are kept within 1 .. the number of pixels.
int ClampDisolvRate(int64_t rate, int64_t pixels);

// How a dissolve of pixels pixels at disolvRate frames proceeds: Frames
// frames of Chunk pixels each, then the Rest.
struct DissolvePlan {
  int64_t Chunk = 0, Frames = 0, Rest = 0;
};
DissolvePlan PlanDissolve(int64_t pixels, int disolvRate);

// Every pixel of a width x height picture (row * width + column) once, in
// the order of a shuffle by the process-wide random generator: entry i
// swapped with entry Random(N) for each i in turn.
std::vector<uint32_t> DissolveOrder(int width, int height);
// Copies the pixels order[0 .. count-1] from to into from (same sizes).
void DissolveCopy(TFastDIB& from, const TFastDIB& to, const uint32_t* order, size_t count);

}  // namespace vorq
