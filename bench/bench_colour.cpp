// The Color effects and the colour slider preview.
// Throughput: items_per_second is pixels per second.
#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

#include <cstdint>

#include "core/effects/colour.h"
#include "core/effects/colour_sliders.h"
#include "core/util/parallel.h"

namespace {

using namespace vorq;

using bench::Noise;

// Args: side, worker count. The image is not restored between runs: each
// effect costs the same whatever the pixels hold (Erase to Black and the
// exchange of an all-matching image included).
template <typename Fn>
void Run(benchmark::State& state, Fn fn) {
  const int side = int(state.range(0));
  SetWorkerCount(int(state.range(1)));
  TFastDIB img = Noise(side);
  for (auto _ : state) {
    fn(img);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
  SetWorkerCount(2);
}

void BM_ColorRotate(benchmark::State& s) { Run(s, [](TFastDIB& i) { ColorRotate(i, 5); }); }
void BM_Negative(benchmark::State& s) { Run(s, [](TFastDIB& i) { Negative(i); }); }
void BM_Brighten(benchmark::State& s) { Run(s, [](TFastDIB& i) { Brighten(i); }); }
void BM_Lighten(benchmark::State& s) { Run(s, [](TFastDIB& i) { Lighten(i); }); }
void BM_Tint(benchmark::State& s) { Run(s, [](TFastDIB& i) { Tint(i, 0x3264C8); }); }
void BM_GrayScale(benchmark::State& s) { Run(s, [](TFastDIB& i) { GrayScaleSurface(i); }); }
void BM_EraseToBlack(benchmark::State& s) { Run(s, [](TFastDIB& i) { EraseToBlack(i); }); }
void BM_ExchangeColor(benchmark::State& s) { Run(s, [](TFastDIB& i) { ExchangeColor(i, 0x808080, 0x102030, 60); }); }

// One preview event: WorkSurface copied into the preview and all four
// adjustments applied (every amount away from neutral).
void BM_SliderPreview(benchmark::State& state) {
  const int side = int(state.range(0));
  SetWorkerCount(int(state.range(1)));
  const TFastDIB work = Noise(side);
  TFastDIB preview;
  const SliderAmounts a{30, -40, 380, 12, -7, 25};
  for (auto _ : state) {
    ApplySliderChain(work, preview, a);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
  SetWorkerCount(2);
}

// The same event done as a copy plus the four separate passes.
void BM_SliderPreviewPasses(benchmark::State& state) {
  const int side = int(state.range(0));
  SetWorkerCount(int(state.range(1)));
  const TFastDIB work = Noise(side);
  TFastDIB preview;
  for (auto _ : state) {
    CopySurface(work, preview);
    ApplyLightness(preview, 30, 30, 30);
    ApplyContrast(preview, -40, -40, -40);
    ApplySaturation(preview, 380);
    ApplyChannelShift(preview, 12, -7, 25);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
  SetWorkerCount(2);
}

void Args(benchmark::internal::Benchmark* b) {
  for (int side : {1024, 4096})
    for (int workers : {1, 2}) b->Args({side, workers});
}

#define VORQ_COLOUR_BENCH(fn) \
  BENCHMARK(fn)->Apply(Args)->ArgNames({"side", "workers"})->Unit(benchmark::kMillisecond)->UseRealTime()

VORQ_COLOUR_BENCH(BM_ColorRotate);
VORQ_COLOUR_BENCH(BM_Negative);
VORQ_COLOUR_BENCH(BM_Brighten);
VORQ_COLOUR_BENCH(BM_Lighten);
VORQ_COLOUR_BENCH(BM_Tint);
VORQ_COLOUR_BENCH(BM_GrayScale);
VORQ_COLOUR_BENCH(BM_EraseToBlack);
VORQ_COLOUR_BENCH(BM_ExchangeColor);
VORQ_COLOUR_BENCH(BM_SliderPreview);
VORQ_COLOUR_BENCH(BM_SliderPreviewPasses);

}  // namespace
