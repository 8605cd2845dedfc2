#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench/bench_util.h"
#include "core/effects/mosaics.h"
#include "core/util/parallel.h"

namespace {

using namespace vorq;

using bench::Noise;
using bench::RunInPlace;

// Args: side, worker count (cell size 6 where one is needed).
void BM_Mosaic(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB&) { Mosaic(i, 6); }); }
void BM_CircleMosaic(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB&) { CircleMosaic(i, 6); }); }
// Third argument: the square half-size (30 and up take the sweep).
void BM_CycloidMosaic(benchmark::State& s) {
  const int size = int(s.range(2));
  RunInPlace(s, [&](TFastDIB& i, TFastDIB&) { CycloidMosaic(i, size); });
}
void BM_ConcentricRects(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { ConcentricRects(i, t, 25); });
}
// The same on processors with AVX2 but not 512-bit vectors, and with neither.
void BM_ConcentricRectsAvx2(benchmark::State& s) {
  SetVectorBits(256);
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { ConcentricRects(i, t, 25); });
  SetVectorBits(512);
}
void BM_ConcentricRectsPlain(benchmark::State& s) {
  SetWideVectors(false);
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { ConcentricRects(i, t, 25); });
  SetWideVectors(true);
}
void BM_VorqSwizzle(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { VorqSwizzle(i, t, 64, true, true); });
}
void BM_GradientBars(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB&) { GradientBars(i, 3, 0x800000, 0xFFFF00); });
}

// The second picture: the same size, or a 256 x 256 one scaled up.
void BM_MergeBuffer(benchmark::State& state) {
  const TFastDIB buffer = Noise(int(state.range(2)), 99);
  RunInPlace(state, [&](TFastDIB& i, TFastDIB&) { MergeBuffer(i, buffer, 37); });
}
void BM_MergeGradient(benchmark::State& state) {
  const TFastDIB gradient = Noise(int(state.range(2)), 98);
  RunInPlace(state, [&](TFastDIB& i, TFastDIB&) { MergeGradient(i, gradient, 50); });
}

void Args(benchmark::internal::Benchmark* b) {
  b->Args({4096, 1})->Args({4096, 2})->ArgNames({"side", "threads"})->Unit(benchmark::kMillisecond)->UseRealTime();
}
void MergeArgs(benchmark::internal::Benchmark* b) {
  b->Args({4096, 1, 4096})->Args({4096, 1, 256})->Args({4096, 2, 4096});
  b->ArgNames({"side", "threads", "second"})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_Mosaic)->Apply(Args);
BENCHMARK(BM_CircleMosaic)->Apply(Args);
BENCHMARK(BM_CycloidMosaic)
    ->Args({4096, 1, 3})
    ->Args({4096, 1, 30})
    ->Args({4096, 1, 300})
    ->ArgNames({"side", "threads", "s"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ConcentricRects)->Apply(Args);
BENCHMARK(BM_ConcentricRectsAvx2)->Apply(Args);
BENCHMARK(BM_ConcentricRectsPlain)->Apply(Args);
BENCHMARK(BM_VorqSwizzle)->Apply(Args);
BENCHMARK(BM_GradientBars)->Apply(Args);
BENCHMARK(BM_MergeBuffer)->Apply(MergeArgs);
BENCHMARK(BM_MergeGradient)->Apply(MergeArgs);

}  // namespace
