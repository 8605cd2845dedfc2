#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

#include <cstdint>

#include "core/effects/distortions.h"
#include "core/util/parallel.h"
#include "core/util/progress.h"

namespace {

using namespace vorq;

using bench::Noise;

using bench::RunInPlace;

void BM_SineWaveUD(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { SineWaveUD(i, t, 50, 3, true, true); }); }
void BM_SineWaveUDNoWrap(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { SineWaveUD(i, t, 50, 3, true, false); });
}
void BM_SineWaveLR(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { SineWaveLR(i, t, 64, 2, true, true); }); }
void BM_SineWaveBoth(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { SineWaveBoth(i, t, 50, 64, 2, 3); });
}
void BM_Twist(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { Twist(i, t, 100); }); }
// Twist with a listener, as the window runs it: the cost of the progress reports.
class CountingSink final : public ProgressSink {
 public:
  bool Report(int64_t done, int64_t) override {
    benchmark::DoNotOptimize(last_ = done);
    return true;
  }

 private:
  int64_t last_ = 0;
};
void BM_TwistReported(benchmark::State& s) {
  CountingSink sink;
  ProgressScope scope(&sink);
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { Twist(i, t, 100); });
}
void BM_FishEye(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { FishEye(i, t, 0.75f); }); }
void BM_Circular(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { Circular(i, t); }); }
void BM_Astroid(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB&) { Astroid(i, 5); }); }
void BM_RippleTooth(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { RippleTooth(i, t, 16); }); }
void BM_Waves(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { Waves(i, t, 24, 10, 8, false); }); }
void BM_WhirlPinch(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { WhirlPinch(i, t, 270, 0.5, 1); }); }

void Args(benchmark::internal::Benchmark* b) {
  for (int side : {1024, 4096})
    for (int workers : {1, 2}) b->Args({side, workers});
  b->ArgNames({"side", "threads"})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_SineWaveUD)->Apply(Args);
BENCHMARK(BM_SineWaveUDNoWrap)->Apply(Args);
BENCHMARK(BM_SineWaveLR)->Apply(Args);
BENCHMARK(BM_SineWaveBoth)->Apply(Args);
BENCHMARK(BM_Twist)->Apply(Args);
BENCHMARK(BM_TwistReported)->Apply(Args);
BENCHMARK(BM_FishEye)->Apply(Args);
BENCHMARK(BM_Circular)->Apply(Args)->Args({256, 1})->Args({256, 2});  // the size it is meant for
BENCHMARK(BM_Astroid)->Apply(Args);
BENCHMARK(BM_RippleTooth)->Apply(Args);
BENCHMARK(BM_Waves)->Apply(Args);
BENCHMARK(BM_WhirlPinch)->Apply(Args);

}  // namespace
