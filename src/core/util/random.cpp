#include "core/util/random.h"

#include <chrono>

namespace vorq {
namespace {

uint32_t gSeed = 0;
bool gFixed = false;
uint64_t gBase = 0;      // the fixed seed, or nothing when the clock is used
uint64_t gReseeds = 0;   // Randomize calls since start or the last FixSeed

// Spreads every bit of base and count over the 32-bit state (a 64-bit
// finaliser), so neighbouring counts give unrelated sequences.
uint32_t Mix(uint64_t base, uint64_t count) {
  uint64_t z = base + count * 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return uint32_t(z ^ (z >> 32));
}

}  // namespace

int32_t Random(int32_t n) {
  gSeed = RandStep(gSeed);
  return RandScale(gSeed, n);
}

double RandomReal() {
  gSeed = RandStep(gSeed);
  return double(gSeed) / 4294967296.0;
}

void Randomize() {
  ++gReseeds;
  if (gFixed) {
    gSeed = Mix(gBase, gReseeds);
    return;
  }
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  gSeed = Mix(uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()), gReseeds);
}

void SetRandSeed(uint32_t seed) { gSeed = seed; }
uint32_t RandSeed() { return gSeed; }

void FixSeed(uint32_t seed) {
  gFixed = true;
  gBase = seed;
  gReseeds = 0;
  gSeed = Mix(gBase, 0);
}

void UnfixSeed() { gFixed = false; }

uint32_t RandSkip(uint32_t s, uint64_t k) {
  // s -> a s + c applied k times, by squaring the affine map.
  uint32_t a = 134775813u, c = 1u, accA = 1u, accC = 0u;
  for (; k; k >>= 1) {
    if (k & 1) {
      accA *= a;
      accC = accC * a + c;
    }
    c = c * a + c;
    a *= a;
  }
  return accA * s + accC;
}

}  // namespace vorq
