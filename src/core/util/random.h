// The one process-wide random generator: Random(n) gives 0 <= r < n.
// It starts from a fixed seed; Randomize reseeds it from the clock, unless a
// seed was fixed for reproducible runs (tests, the batch tool's --seed).
#pragma once

#include <cstdint>

namespace vorq {

int32_t Random(int32_t n);
double RandomReal();  // 0 <= r < 1
void Randomize();
void SetRandSeed(uint32_t seed);
// After FixSeed, Randomize no longer reads the clock.
void FixSeed(uint32_t seed);

}  // namespace vorq
