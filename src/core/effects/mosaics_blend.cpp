// Gradient Bars and the two merges with a second picture.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/effects/mosaics.h"
#include "core/raster/pen.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

namespace vorq {

void GradientBars(TFastDIB& Work, int NumberOfBars, uint32_t BeginColor, uint32_t EndColor) {
  if (Work.Empty()) return;
  const int W = Work.Width(), H = Work.Height();
  const TPixel24 c1 = PixelFromColour(BeginColor), c2 = PixelFromColour(EndColor);
  // With no bars p is infinite and every x / p is 0: the begin colour.
  const double p = double(W) / NumberOfBars;
  TPixel24* row = Work.Row24(0);
  for (int x = 0; x < W; ++x) {
    const int t = int(Trunc(std::fabs(std::sin(x / p * kPi)) * 255));
    row[x] = TPixel24{uint8_t(c1.B + (c2.B - c1.B) * t / 255), uint8_t(c1.G + (c2.G - c1.G) * t / 255),
                      uint8_t(c1.R + (c2.R - c1.R) * t / 255)};
  }
  for (int y = 1; y < H; ++y) std::memcpy(Work.Row(y), row, size_t(W) * 3);
}

namespace {

// One output byte for each pair (second picture's byte, image's byte):
// Nearest(s a + i b), clamped. Both products and their sum are exact in
// double precision, so the rounding sees the exact value.
void BlendTable(int Percent, std::vector<uint8_t>& table) {
  const float a = float(static_cast<long double>(Percent) / 100);
  const float b = 1.0f - a;
  table.resize(256 * 256);
  for (int s = 0; s < 256; ++s)
    for (int i = 0; i < 256; ++i) {
      const int64_t v = Nearest(s * double(a) + i * double(b));
      table[size_t(s << 8 | i)] = uint8_t(std::clamp<int64_t>(v, 0, 255));
    }
}

// One row of bytes: d = T[s, d]. The indices of a chunk come first (a loop
// the compiler turns into vector unpacks), then one table read per byte.
void BlendRow(uint8_t* d, const uint8_t* s, size_t n, const uint8_t* T) {
  uint16_t idx[256];
  for (size_t j0 = 0; j0 < n; j0 += 256) {
    const size_t m = std::min<size_t>(256, n - j0);
    for (size_t j = 0; j < m; ++j) idx[j] = uint16_t(s[j0 + j] << 8 | d[j0 + j]);
    for (size_t j = 0; j < m; ++j) d[j0 + j] = T[idx[j]];
  }
}

void MergeSecond(TFastDIB& Work, const TFastDIB& Second, int Percent) {
  if (Work.Empty()) return;
  const int W = Work.Width(), H = Work.Height();
  std::vector<uint8_t> table;
  BlendTable(Percent, table);
  const uint8_t* T = table.data();
  const size_t n = size_t(W) * 3;
  const bool sameSize = Second.Width() == W && Second.Height() == H;
  ParallelRows(H, [&](int begin, int end) {
    // A second picture of another size is scaled one row at a time: row y
    // of the picture drawn scaled over W x H at (0, -y) lands in `line`.
    TFastDIB line;
    int64_t lineRow = -1;
    if (!sameSize && !line.SetSize(W, 1, 24, 0)) return;
    for (int y = begin; y < end; ++y) {
      uint8_t* d = Work.Row(y);
      if (Second.Empty()) {
        for (size_t j = 0; j < n; ++j) d[j] = T[d[j]];  // black
      } else if (sameSize) {
        BlendRow(d, Second.Row(y), n, T);
      } else {
        const int64_t sy = int64_t(y) * Second.Height() / H;
        if (sy != lineRow) {
          Second.StretchDraw(line, 0, -y, W, H);
          lineRow = sy;
        }
        BlendRow(d, line.Row(0), n, T);
      }
    }
  });
}

}  // namespace

void MergeGradient(TFastDIB& Work, const TFastDIB& Gradient, int Percent) { MergeSecond(Work, Gradient, Percent); }

void MergeBuffer(TFastDIB& Work, const TFastDIB& Buffer, int Percent) { MergeSecond(Work, Buffer, Percent); }

}  // namespace vorq
