#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

#include "core/effects/bevels.h"
#include "core/effects/smears.h"

namespace {

using namespace vorq;

using bench::Noise;
using bench::RunInPlace;

// Default parameters throughout: Edge Size 20, Repetitions 32, the stored
// amounts of each effect.
void BM_Buttonize(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB&) { Buttonize(i, 20, 0x000000, 0xC0C0C0); });
}
void BM_Trace(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB&) { Trace(i, 2, 0x000000); }); }

void BM_StretchBlurWithBuffer(benchmark::State& s) {
  const TFastDIB buffer = Noise(int(s.range(0)), 777);
  RunInPlace(s, [&](TFastDIB& i, TFastDIB& t) { StretchBlurWithBuffer(i, t, buffer, 1, 1, 32); });
}
void BM_StretchBlurWithSelf(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { StretchBlurWithSelf(i, t, -1, 1, 32); });
}
void BM_WaterWithBuffer(benchmark::State& s) {
  const TFastDIB buffer = Noise(int(s.range(0)), 777);
  RunInPlace(s, [&](TFastDIB& i, TFastDIB& t) { WaterWithBuffer(i, t, buffer, 64, 100); });
}
void BM_WaterWithSelf(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { WaterWithSelf(i, t, 128, -128); });
}

void Args(benchmark::internal::Benchmark* b) {
  for (int side : {1024, 4096})
    for (int workers : {1, 2}) b->Args({side, workers});
  b->ArgNames({"side", "threads"})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_Buttonize)->Apply(Args);
BENCHMARK(BM_Trace)->Apply(Args);
BENCHMARK(BM_StretchBlurWithBuffer)->Apply(Args);
BENCHMARK(BM_StretchBlurWithSelf)->Apply(Args);
BENCHMARK(BM_WaterWithBuffer)->Apply(Args);
BENCHMARK(BM_WaterWithSelf)->Apply(Args);

}  // namespace
