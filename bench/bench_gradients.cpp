#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

#include "bench/bench_util.h"
#include "core/gradients/designers.h"
#include "core/gradients/gradient.h"
#include "core/util/parallel.h"

namespace {

using namespace vorq;

// Args: style (0 .. 7 in TGradientStyle order), side, worker count. One
// full render per iteration (the cached path would copy nothing).
void BM_RenderGradient(benchmark::State& state) {
  const int side = int(state.range(1));
  SetWorkerCount(int(state.range(2)));
  TFastDIB t;
  t.SetSize(side, side, 24, 0);
  std::memset(t.Bits, 1, t.ImageSize());  // the pages exist before the first run
  GradientParams p;
  p.Style = TGradientStyle(state.range(0));
  p.StartAngle = 30;
  for (auto _ : state) {
    RenderGradient(t, p);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
  SetWorkerCount(2);
}
BENCHMARK(BM_RenderGradient)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7}, {4096}, {1, 2}})
    ->ArgNames({"style", "side", "threads"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The wheel is the same every time: the first call works it out, later ones
// copy it. The first call is timed on its own (run it before BM_ColorWheel).
void BM_ColorWheelFirst(benchmark::State& state) {
  TFastDIB t;
  for (auto _ : state) ColorWheel(t);
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_ColorWheelFirst)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ColorWheel(benchmark::State& state) {
  TFastDIB t;
  for (auto _ : state) {
    ColorWheel(t);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_ColorWheel)->Unit(benchmark::kMicrosecond);

void BM_Rainbow(benchmark::State& s) {
  bench::RunInPlace(s, [](TFastDIB& i, TFastDIB&) { Rainbow(i); });
}
void BM_MultiGradient(benchmark::State& s) {
  bench::RunInPlace(s, [](TFastDIB& i, TFastDIB&) { PaintMultiGradient(i, 0, 0xFF00FF, 0xFFFF00, 1365, 2730); });
}
void Args(benchmark::internal::Benchmark* b) {
  b->Args({4096, 1})->Args({4096, 2})->ArgNames({"side", "threads"})->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_Rainbow)->Apply(Args);
BENCHMARK(BM_MultiGradient)->Apply(Args);

}  // namespace
