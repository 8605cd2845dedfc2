#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

#include <cstdint>

#include "core/effects/geometry.h"
#include "core/effects/seamless.h"
#include "core/util/parallel.h"

namespace {

using namespace vorq;

using bench::Noise;

// Args: side, worker count. Operations that change the image's size get a
// fresh copy before every run (outside the timing); items are output pixels.
template <typename Fn>
void Run(benchmark::State& state, bool restore, int64_t outPixelsPerSide2, Fn fn) {
  const int side = int(state.range(0));
  SetWorkerCount(int(state.range(1)));
  const TFastDIB source = Noise(side);
  TFastDIB img, scratch;
  CopySurface(source, img);
  for (auto _ : state) {
    if (restore) {
      state.PauseTiming();
      CopySurface(source, img);
      state.ResumeTiming();
    }
    fn(img, scratch);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side * outPixelsPerSide2 / 4);
  SetWorkerCount(2);
}

// Output pixels per 4 source pixels: 1 for a halving, 4 for the same size, 16 for a doubling.
void BM_ResizeBilinearHalf(benchmark::State& state) {
  Run(state, true, 1, [](TFastDIB& img, TFastDIB&) { ResizeBilinear(img, img.Width() / 2, img.Height() / 2, 0); });
}
void BM_ResizeBilinearDouble(benchmark::State& state) {
  Run(state, true, 16, [](TFastDIB& img, TFastDIB&) { ResizeBilinear(img, img.Width() * 2, img.Height() * 2, 0); });
}
void BM_ResizeFastHalf(benchmark::State& state) {  // the stretch copy ReSize Fast uses
  Run(state, false, 1, [](TFastDIB& img, TFastDIB& scratch) {
    scratch.Reshape(img.Width() / 2, img.Height() / 2);
    img.StretchDraw(scratch, 0, 0, img.Width() / 2, img.Height() / 2);
  });
}
void BM_Rotate90Clockwise(benchmark::State& state) {
  Run(state, false, 4, [](TFastDIB& img, TFastDIB& scratch) { Rotate90Clockwise(img, scratch); });
}
void BM_MirrorLR(benchmark::State& state) {
  Run(state, false, 4, [](TFastDIB& img, TFastDIB&) { img.FlipHorizontal(); });
}
void BM_MirrorUD(benchmark::State& state) {
  Run(state, false, 4, [](TFastDIB& img, TFastDIB&) { img.FlipVertical(); });
}
// Rotate Angle as the command runs it: into the scratch, then copied back.
void BM_RotateAngle45(benchmark::State& state) {  // as the command runs it: into the scratch surface, swapped in
  Run(state, false, 4, [](TFastDIB& img, TFastDIB& scratch) {
    scratch.Reshape(img.Width(), img.Height());
    RotateWrapped(img, scratch, img.Width() / 2, img.Height() / 2, 45);
    img.Swap(scratch);
  });
}
void BM_EdgeMerge(benchmark::State& state) {
  const int n = int(state.range(2));
  Run(state, false, 4, [n](TFastDIB& img, TFastDIB&) { EdgeMerge(img, n); });
}
void BM_SeamlessEdge16(benchmark::State& state) {
  Run(state, false, 4, [](TFastDIB& img, TFastDIB&) { SeamlessEdge(img, 16); });
}
void BM_FourWayFlip(benchmark::State& state) {
  Run(state, true, 16, [](TFastDIB& img, TFastDIB& scratch) { FourWayFlip(img, scratch); });
}
void BM_RotateSeamless(benchmark::State& state) {
  Run(state, false, 4, [](TFastDIB& img, TFastDIB& scratch) { RotateSeamless(img, scratch); });
}

void Args(benchmark::internal::Benchmark* b) {
  for (int side : {1024, 4096})
    for (int workers : {1, 2}) b->Args({side, workers});
}
void MergeArgs(benchmark::internal::Benchmark* b) {
  for (int side : {1024, 4096})
    for (int workers : {1, 2})
      for (int n : {16, 8, 4}) b->Args({side, workers, n});
}

#define GEO_BENCH(fn) BENCHMARK(fn)->Apply(Args)->ArgNames({"side", "workers"})->Unit(benchmark::kMillisecond)->UseRealTime()
GEO_BENCH(BM_ResizeBilinearHalf);
GEO_BENCH(BM_ResizeBilinearDouble);
GEO_BENCH(BM_ResizeFastHalf);
GEO_BENCH(BM_Rotate90Clockwise);
GEO_BENCH(BM_MirrorLR);
GEO_BENCH(BM_MirrorUD);
GEO_BENCH(BM_RotateAngle45);
GEO_BENCH(BM_SeamlessEdge16);
GEO_BENCH(BM_FourWayFlip);
GEO_BENCH(BM_RotateSeamless);
BENCHMARK(BM_EdgeMerge)->Apply(MergeArgs)->ArgNames({"side", "workers", "n"})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
