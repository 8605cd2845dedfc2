#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

#include <cstdint>

#include "core/effects/filters.h"
#include "core/util/parallel.h"

namespace {

using namespace vorq;

using bench::Noise;

using bench::RunInPlace;

void BM_FixedFilter(benchmark::State& state) {
  const FixedFilter& f = kFixedFilters[state.range(2)];
  state.SetLabel(std::to_string(f.EffectId));
  RunInPlace(state, [&](TFastDIB& img, TFastDIB&) { Convolve3x3(f.Kernel, f.Divisor, img); });
}
void BM_GaussianBlurCommand(benchmark::State& state) {
  RunInPlace(state, [](TFastDIB& img, TFastDIB& scratch) { GaussianBlurCommand(img, scratch, 2); });
}
void BM_ClassicEmboss(benchmark::State& state) {
  RunInPlace(state, [](TFastDIB& img, TFastDIB& scratch) { ClassicEmboss(img, scratch, 250); });
}
void BM_SplitBlur(benchmark::State& state) {
  RunInPlace(state, [](TFastDIB& img, TFastDIB&) { SplitBlur(img, 4); });
}
void BM_SplitGauss(benchmark::State& state) {
  RunInPlace(state, [](TFastDIB& img, TFastDIB&) { SplitGauss(img, 3); });
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
