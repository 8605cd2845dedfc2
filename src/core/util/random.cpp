#include "core/util/random.h"

#include <chrono>

namespace vorq {
namespace {
uint32_t gSeed = 0;
bool gFixed = false;
uint32_t Next() {
  gSeed = gSeed * 134775813u + 1u;
  return gSeed;
}
}  // namespace

int32_t Random(int32_t n) {
  if (n <= 0) return 0;
  return static_cast<int32_t>((uint64_t(Next()) * uint64_t(n)) >> 32);
}

double RandomReal() { return double(Next()) / 4294967296.0; }

void Randomize() {
  if (gFixed) return;
  gSeed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

void SetRandSeed(uint32_t seed) { gSeed = seed; }

void FixSeed(uint32_t seed) {
  gSeed = seed;
  gFixed = true;
}

}  // namespace vorq
