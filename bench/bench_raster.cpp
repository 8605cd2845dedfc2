#include <benchmark/benchmark.h>

#include <cstdint>

#include "core/raster/pen.h"
#include "core/raster/shapes.h"

namespace {

using namespace vorq;

// Flood fill of a whole single-colour 4096 x 4096 image; each run fills with
// the other of two colours so that every run does the full work.
void BM_FloodFillWhole(benchmark::State& state) {
  const int side = int(state.range(0));
  TFastDIB s;
  s.SetSize(side, side, 24, 0);
  bool flip = false;
  for (auto _ : state) {
    FloodFill(s, side / 2, side / 2, flip ? TPixel24{0, 0, 0} : TPixel24{255, 255, 255});
    flip = !flip;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * int64_t(side) * side);
}
BENCHMARK(BM_FloodFillWhole)->Arg(4096)->Unit(benchmark::kMillisecond);

// Flood fill through a serpentine: walls every other column with alternating
// gaps, the worst shape for run-based fills (many short runs, long path).
void BM_FloodFillSerpentine(benchmark::State& state) {
  const int side = int(state.range(0));
  TFastDIB s;
  s.SetSize(side, side, 24, 0);
  for (int x = 1; x < side; x += 2)
    for (int y = 0; y < side; ++y)
      if (!(((x / 2) % 2 == 0) ? y == side - 1 : y == 0)) s.SetPixel(y, x, TPixel24{255, 255, 255});
  bool flip = false;
  for (auto _ : state) {
    FloodFill(s, 0, 0, flip ? TPixel24{0, 0, 0} : TPixel24{0, 0, 255});
    flip = !flip;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FloodFillSerpentine)->Arg(4096)->Unit(benchmark::kMillisecond);

// A diagonal line across 4096 x 4096 with a thick pen; Normal and XOR (which
// still changes each pixel once).
void BM_ThickLine(benchmark::State& state) {
  TFastDIB s;
  s.SetSize(4096, 4096, 24, 0);
  const Pen pen{TPixel24{10, 200, 30}, int(state.range(0)), PenMode(state.range(1))};
  for (auto _ : state) {
    DrawPenLine(s, -100, 50, 4200, 3900, pen);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ThickLine)
    ->Args({2, int(PenMode::Normal)})
    ->Args({64, int(PenMode::Normal)})
    ->Args({64, int(PenMode::XORPen)})
    ->Args({kMaxPenWidth, int(PenMode::Normal)})
    ->Unit(benchmark::kMillisecond);

// A free-hand stroke of many short XOR segments, as mouse moves produce.
void BM_FreeHandStroke(benchmark::State& state) {
  TFastDIB s;
  s.SetSize(2048, 2048, 24, 0);
  for (auto _ : state) {
    PenStroke stroke(s, Pen{TPixel24{255, 255, 255}, 8, PenMode::XORPen}, 0, 0);
    for (int i = 1; i <= 1000; ++i) stroke.LineTo(i * 2, (i * 37) % 2048);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FreeHandStroke)->Unit(benchmark::kMillisecond);

}  // namespace
