// The canvas: one full frame of the view rendered from a 4096 x 4096 image,
// and the seam meter that runs after every command.
#include <vector>

#include "bench/bench_util.h"
#include "core/effects/seam_meter.h"
#include "core/surface/view_render.h"

namespace vorq::bench {
namespace {

const TFastDIB& Image4096() {
  static const TFastDIB image = Noise(4096);
  return image;
}

// Args: zoom (log2), tiled. A 1920 x 1080 viewport over the top left corner
// of the image itself, so a tiled view shows copies and image alike.
void BM_CanvasFrame(benchmark::State& state) {
  const TFastDIB& s = Image4096();
  const ViewGeometry g{s.Width(), s.Height(), int(state.range(0)), state.range(1) != 0, true};
  const int w = 1920, h = 1080;
  const int x0 = ImageToView(g, s.Width(), 0) - w / 2, y0 = ImageToView(g, s.Height(), 0) - h / 2;
  std::vector<uint32_t> frame(size_t(w) * h);
  ViewScratch scratch;
  for (auto _ : state) {
    RenderView(s, g, x0, y0, w, h, frame.data(), w, scratch);
    benchmark::DoNotOptimize(frame.data());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * w * h);
}
BENCHMARK(BM_CanvasFrame)->Args({2, 1})->Args({0, 1})->Args({-2, 1})->Args({0, 0})->Unit(benchmark::kMillisecond);

void BM_SeamMeter(benchmark::State& state) {
  const TFastDIB& s = Image4096();
  for (auto _ : state) benchmark::DoNotOptimize(MeasureSeams(s));
}
BENCHMARK(BM_SeamMeter)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorq::bench
