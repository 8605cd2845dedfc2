// Decoding and encoding every format at 4096 x 4096, all in memory.
//
// Compare JPEG with libjpeg-turbo's tools on the same picture:
//   VORQ_BENCH_DUMP=/tmp/tile ./vorq_bench --benchmark_filter=Jpeg
// writes /tmp/tile.ppm and /tmp/tile.jpg (quality 90); then time
//   cjpeg -quality 90 -outfile /dev/null /tmp/tile.ppm
//   djpeg -bmp -outfile /dev/null /tmp/tile.jpg
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/imageio/image_file.h"

namespace {

using namespace vorq;

constexpr int kSide = 4096;

// Photograph-like content: smooth shading, edges and a little grain, so the
// compressors do realistic work (pure noise or flat colour would not).
const TFastDIB& Picture() {
  static const TFastDIB picture = [] {
    TFastDIB s;
    s.SetSize(kSide, kSide, 24, 0);
    uint32_t seed = 99;
    for (int y = 0; y < kSide; ++y) {
      TPixel24* row = s.Row24(y);
      for (int x = 0; x < kSide; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int grain = int(seed >> 29) - 4;
        const double v = 96 + 60 * std::sin(x * 0.013) * std::cos(y * 0.021) + ((x / 256 + y / 256) % 2) * 40;
        auto c = [&](double k) { return uint8_t(std::clamp(int(v * k) + grain, 0, 255)); };
        row[x] = MakePixel(c(1.2), c(1.0), c(0.7));
      }
    }
    return s;
  }();
  return picture;
}

std::vector<uint8_t> Encoded(ImageFormat format) {
  std::vector<uint8_t> out;
  std::string reason;
  bool cancelled = false;
  if (!EncodeImage(format, Picture(), SaveOptions{}, out, reason, cancelled)) std::fprintf(stderr, "%s\n", reason.c_str());
  return out;
}

void DumpForTools(const std::vector<uint8_t>& jpeg) {
  const char* base = std::getenv("VORQ_BENCH_DUMP");
  if (base == nullptr) return;
  const TFastDIB& p = Picture();
  if (std::FILE* f = std::fopen((std::string(base) + ".ppm").c_str(), "wb")) {
    std::fprintf(f, "P6\n%d %d\n255\n", kSide, kSide);
    std::vector<uint8_t> rgb(size_t(kSide) * 3);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const TPixel24 c = p.Row24(y)[x];
        rgb[size_t(3 * x)] = c.R, rgb[size_t(3 * x + 1)] = c.G, rgb[size_t(3 * x + 2)] = c.B;
      }
      std::fwrite(rgb.data(), 1, rgb.size(), f);
    }
    std::fclose(f);
  }
  if (std::FILE* f = std::fopen((std::string(base) + ".jpg").c_str(), "wb")) {
    std::fwrite(jpeg.data(), 1, jpeg.size(), f);
    std::fclose(f);
  }
}

void Decode(benchmark::State& state, ImageFormat format) {
  const std::vector<uint8_t> data = Encoded(format);
  if (format == ImageFormat::Jpeg) DumpForTools(data);
  TFastDIB out;
  std::string error;
  for (auto _ : state) {
    if (!LoadImageMemory(data.data(), data.size(), out, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(out.Bits);
  }
  state.counters["file_MB"] = double(data.size()) / 1e6;
  state.SetItemsProcessed(state.iterations() * int64_t(kSide) * kSide);
}

void Encode(benchmark::State& state, ImageFormat format) {
  Picture();
  std::vector<uint8_t> out;
  std::string reason;
  bool cancelled = false;
  for (auto _ : state) {
    if (!EncodeImage(format, Picture(), SaveOptions{}, out, reason, cancelled)) state.SkipWithError(reason.c_str());
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["file_MB"] = double(out.size()) / 1e6;
  state.SetItemsProcessed(state.iterations() * int64_t(kSide) * kSide);
}

}  // namespace

BENCHMARK_CAPTURE(Decode, Bmp, ImageFormat::Bmp)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, Jpeg, ImageFormat::Jpeg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, Gif, ImageFormat::Gif)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, Png, ImageFormat::Png)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, Bmp, ImageFormat::Bmp)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, Jpeg, ImageFormat::Jpeg)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, Gif, ImageFormat::Gif)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(Encode, Png, ImageFormat::Png)->Unit(benchmark::kMillisecond);
