// Shared pieces of the benchmark programs.
#pragma once

#include <cstdint>

#include <benchmark/benchmark.h>

#include "core/surface/fast_dib.h"
#include "core/util/parallel.h"

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

// Args: side, worker count. fn(image, scratch) runs on the same noise image
// every iteration, not restored between runs: for these effects the cost
// does not depend on the pixels. Items are pixels.
template <typename Fn>
void RunInPlace(benchmark::State& state, Fn fn) {
  const int side = int(state.range(0));
  SetWorkerCount(int(state.range(1)));
  TFastDIB img = Noise(side), scratch;
  fn(img, scratch);  // warm-up: the scratch surface's first allocation is not the effect's cost
  for (auto _ : state) {
    fn(img, scratch);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
  SetWorkerCount(2);
}

}  // namespace vorq::bench
