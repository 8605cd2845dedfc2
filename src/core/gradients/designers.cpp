#include "core/gradients/designers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/raster/fill.h"
#include "core/raster/pen.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

namespace vorq {

namespace {

// a * b / c rounded to the nearest integer, halves away from zero (c > 0).
int64_t RoundedMulDiv(int64_t a, int64_t b, int64_t c) {
  const int64_t p = a * b;
  return p < 0 ? -((-p + c / 2) / c) : (p + c / 2) / c;
}

// The 256 x 256 wheel, packed rows of blue, green, red. It never changes,
// so it is worked out once.
const std::vector<uint8_t>& WheelPixels() {
  static const std::vector<uint8_t> pixels = [] {
    std::vector<uint8_t> px(256 * 256 * 3);
    for (int r = 0; r < 256; ++r)
      for (int c = 0; c < 256; ++c) {
        const int x = c - 128, y = r - 128;
        double a = x == 0 ? kPi / 2 : std::atan(double(y) / x);
        if (x < 0 || (x == 0 && y < 0)) a += kPi;
        int64_t h = Nearest(a * 192 / kPi);
        if (h < 0) h += 384;
        double v[3];  // red, green, blue
        const double f = double(h % 64) / 64;
        switch (h / 64) {
          case 0: v[0] = 1, v[1] = f, v[2] = 0; break;
          case 1: v[0] = 1 - f, v[1] = 1, v[2] = 0; break;
          case 2: v[0] = 0, v[1] = 1, v[2] = f; break;
          case 3: v[0] = 0, v[1] = 1 - f, v[2] = 1; break;
          case 4: v[0] = f, v[1] = 0, v[2] = 1; break;
          default: v[0] = 1, v[1] = 0, v[2] = 1 - f; break;
        }
        const double d = std::sqrt(double(x * x + y * y)) / 64;
        for (double& ch : v) ch = d < 1 ? (1 - d) + ch * d : (d < 2 ? (2 - d) * ch : 0.0);
        uint8_t* p = &px[size_t(r * 256 + c) * 3];
        p[0] = uint8_t(Nearest(255 * v[2]));
        p[1] = uint8_t(Nearest(255 * v[1]));
        p[2] = uint8_t(Nearest(255 * v[0]));
      }
    return px;
  }();
  return pixels;
}

}  // namespace

void PaintMultiGradient(TFastDIB& Target, uint32_t Side, uint32_t Left, uint32_t Right, int LeftPos, int RightPos) {
  if (Target.Empty()) return;
  const int64_t W = Target.Width(), P1 = LeftPos, P2 = RightPos;
  TPixel24* row = Target.Row24(0);
  FillPixels(row, size_t(W), PixelFromColour(Side));
  // One run: 151 bands from `from` over `span` columns, colours a to b; the
  // last band reaches one band beyond the run (the next run paints over it).
  auto run = [&](int64_t from, int64_t span, uint32_t a, uint32_t b) {
    const TPixel24 ca = PixelFromColour(a), cb = PixelFromColour(b);
    for (int64_t i = 0; i <= 150; ++i) {
      const int64_t x0 = from + RoundedMulDiv(i, span, 150), x1 = from + RoundedMulDiv(i + 1, span, 150);
      const int64_t lo = std::max<int64_t>(std::min(x0, x1), 0), hi = std::min(std::max(x0, x1), W);
      if (lo >= hi) continue;
      const TPixel24 c{uint8_t(ca.B + RoundedMulDiv(i, cb.B - ca.B, 150)),
                       uint8_t(ca.G + RoundedMulDiv(i, cb.G - ca.G, 150)),
                       uint8_t(ca.R + RoundedMulDiv(i, cb.R - ca.R, 150))};
      FillPixels(row + lo, size_t(hi - lo), c);
    }
  };
  run(0, P1, Side, Left);
  run(P1, P2 - P1, Left, Right);
  run(P2, W - P2, Right, Side);
  for (int y = 1; y < Target.Height(); ++y) std::memcpy(Target.Row(y), row, size_t(W) * 3);
}

bool ColorWheel(TFastDIB& Work) {
  const std::vector<uint8_t>& px = WheelPixels();
  TFastDIB wheel;
  if (!wheel.SetSize(256, 256, 24, 0)) return false;
  std::memcpy(wheel.Bits, px.data(), px.size());  // 768-byte rows need no padding
  Work = std::move(wheel);
  return true;
}

void Rainbow(TFastDIB& Work) {
  if (Work.Empty()) return;
  const int W = Work.Width(), H = Work.Height();
  constexpr int32_t kOne = 1 << 20;
  const int32_t dx = W > 1 ? kOne / (W - 1) : 0, dy = H > 1 ? kOne / (H - 1) : 0;
  // Corners as blue, green, red.
  constexpr int32_t TL[3] = {255, 0, 0}, TR[3] = {255, 0, 255}, BL[3] = {0, 255, 0}, BR[3] = {148, 80, 64};
  ParallelRows(H, [&](int begin, int end) {
    for (int k = begin; k < end; ++k) {
      const int32_t wt = kOne - k * dy, wb = k * dy;
      int32_t acc[3], step[3];
      for (int c = 0; c < 3; ++c) {
        const int32_t left = TL[c] * wt + BL[c] * wb, right = TR[c] * wt + BR[c] * wb;
        acc[c] = left & ~(kOne - 1);
        step[c] = ((right >> 20) - (left >> 20)) * dx;
      }
      uint8_t* p = Work.Row(k);
      for (int j = 0; j < W; ++j, p += 3) {
        p[0] = uint8_t(acc[0] >> 20);
        p[1] = uint8_t(acc[1] >> 20);
        p[2] = uint8_t(acc[2] >> 20);
        acc[0] += step[0];
        acc[1] += step[1];
        acc[2] += step[2];
      }
    }
  });
}

}  // namespace vorq
