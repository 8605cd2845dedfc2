#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

#include <cstdint>

#include "core/effects/filters.h"
#include "core/util/parallel.h"

namespace {

using namespace vorq;

using bench::Noise;

// Args: side, worker count. The image is not restored between runs: every
// effect here costs the same whatever the pixels hold.
template <typename Fn>
void Run(benchmark::State& state, Fn fn) {
  const int side = int(state.range(0));
  SetWorkerCount(int(state.range(1)));
  TFastDIB img = Noise(side), scratch;
  for (auto _ : state) {
    fn(img, scratch);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
  SetWorkerCount(2);
}

void BM_FixedFilter(benchmark::State& state) {
  const FixedFilter& f = kFixedFilters[state.range(2)];
  state.SetLabel(std::to_string(f.EffectId));
  Run(state, [&](TFastDIB& img, TFastDIB&) { Convolve3x3(f.Kernel, f.Divisor, img); });
}
void BM_GaussianBlurCommand(benchmark::State& state) {
  Run(state, [](TFastDIB& img, TFastDIB& scratch) { GaussianBlurCommand(img, scratch, 2); });
}
void BM_ClassicEmboss(benchmark::State& state) {
  Run(state, [](TFastDIB& img, TFastDIB& scratch) { ClassicEmboss(img, scratch, 250); });
}
void BM_SplitBlur(benchmark::State& state) {
  Run(state, [](TFastDIB& img, TFastDIB&) { SplitBlur(img, 4); });
}
void BM_SplitGauss(benchmark::State& state) {
  Run(state, [](TFastDIB& img, TFastDIB&) { SplitGauss(img, 3); });
}

void FilterArgs(benchmark::internal::Benchmark* b) {
  for (int side : {1024, 4096})
    for (int workers : {1, 2})
      for (int f = 0; f < 12; ++f) b->Args({side, workers, f});
}
void Args(benchmark::internal::Benchmark* b) {
  for (int side : {1024, 4096})
    for (int workers : {1, 2}) b->Args({side, workers});
}

BENCHMARK(BM_FixedFilter)->Apply(FilterArgs)->ArgNames({"side", "workers", "filter"})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GaussianBlurCommand)->Apply(Args)->ArgNames({"side", "workers"})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ClassicEmboss)->Apply(Args)->ArgNames({"side", "workers"})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SplitBlur)->Apply(Args)->ArgNames({"side", "workers"})->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SplitGauss)->Apply(Args)->ArgNames({"side", "workers"})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
