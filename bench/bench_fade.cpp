// The fade control's frames: one blend step over a whole frame, and one
// dissolve of a whole frame (all chunks).
#include <benchmark/benchmark.h>

#include "bench/bench_util.h"
#include "core/gradients/fade.h"

namespace {

using namespace vorq;

// Arg: side. One frame at a weight that changes every byte.
void BM_FadeBlendFrame(benchmark::State& state) {
  const int side = int(state.range(0));
  TFastDIB from = bench::Noise(side, 1), to = bench::Noise(side, 2);
  const TFastDIB saved = bench::Noise(side, 3);
  int a = 1;
  for (auto _ : state) {
    BlendSurface(from, saved, to, a);
    a = a % 31 + 1;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
}

void BM_FadeDissolveFrame(benchmark::State& state) {
  const int side = int(state.range(0));
  TFastDIB from = bench::Noise(side, 1);
  const TFastDIB to = bench::Noise(side, 2);
  const std::vector<uint32_t> order = DissolveOrder(side, side);
  for (auto _ : state) {
    DissolveCopy(from, to, order.data(), order.size());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
}

}  // namespace

BENCHMARK(BM_FadeBlendFrame)->Arg(256)->Arg(512)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FadeDissolveFrame)->Arg(512)->Unit(benchmark::kMicrosecond);
