// Shared pieces of the benchmark programs.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq::bench {

// A side x side image of pseudo-random bytes: no effect gets an easy,
// uniform input.
inline TFastDIB Noise(int side, uint32_t seed = 12345) {
  TFastDIB s;
  s.SetSize(side, side, 24, 0);
  for (int y = 0; y < side; ++y) {
    uint8_t* r = s.Row(y);
    for (int i = 0; i < 3 * side; ++i) r[i] = uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
  }
  return s;
}

}  // namespace vorq::bench
