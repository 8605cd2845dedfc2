#include <benchmark/benchmark.h>

#include "bench/bench_util.h"

#include "core/effects/textures.h"
#include "core/util/random.h"

namespace {

using namespace vorq;

using bench::RunInPlace;

void BM_PlasmaCloud(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB&) { PlasmaCloud(i, 700); }); }
void BM_Marble(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { Marble(i, t, 700, 2.0f, 120); }); }
void BM_Spray(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { Spray(i, t, 15); }); }
void BM_ColorNoise(benchmark::State& s) { RunInPlace(s, [](TFastDIB& i, TFastDIB&) { ColorNoise(i, 50); }); }
void BM_SuperNova(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB&) { SuperNova(i, 32, 64, 32, 24, 36, 0x3080F0); });
}
// The star in the middle: the columns mirrored about it share their angles.
void BM_SuperNovaCentred(benchmark::State& s) {
  const int c = int(s.range(0)) / 2;
  RunInPlace(s, [c](TFastDIB& i, TFastDIB&) { SuperNova(i, 32, 64, 32, c, c, 0x3080F0); });
}
void BM_HeightMap(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { HeightMap(i, t, 32, 20, 16, true); });
}
void BM_HeightMapGrey(benchmark::State& s) {
  RunInPlace(s, [](TFastDIB& i, TFastDIB& t) { HeightMap(i, t, 32, 20, 16, false); });
}
// A texture of another size: grey, resize and the mapping.
void BM_MapTexture(benchmark::State& s) {
  TFastDIB tex = bench::Noise(1000, 7);
  RunInPlace(s, [&](TFastDIB& i, TFastDIB& t) { MapTexture(i, t, tex, 1.8); });
}

void Args(benchmark::internal::Benchmark* b) {
  FixSeed(1);
  for (int side : {1024, 4096})
    for (int workers : {1, 2}) b->Args({side, workers});
  b->ArgNames({"side", "threads"})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_PlasmaCloud)->Apply(Args);
BENCHMARK(BM_Marble)->Apply(Args);
BENCHMARK(BM_Spray)->Apply(Args);
BENCHMARK(BM_ColorNoise)->Apply(Args);
BENCHMARK(BM_SuperNova)->Apply(Args);
BENCHMARK(BM_SuperNovaCentred)->Apply(Args);
BENCHMARK(BM_HeightMap)->Apply(Args);
BENCHMARK(BM_HeightMapGrey)->Apply(Args);
BENCHMARK(BM_MapTexture)->Apply(Args);

}  // namespace
