#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "core/effects/distortions.h"
#include "core/effects/geometry.h"
#include "core/effects/mosaics.h"
#include "core/effects/seamless.h"
#include "core/raster/pen.h"
#include "core/util/parallel.h"
#include "test_util.h"

using namespace vorq;

namespace {

using test::Clone;
using test::Random;
using test::SamePixels;
TPixel24 Px(const TFastDIB& s, int x, int y) { return s.GetPixel(y, x); }

// Mosaic (circles == false) and Circle Mosaic as described: cells, the right
// strip or edge circle after each cell row, then the bottom strip and its
// corner; colours from the untouched image, drawn over a copy. Circles hold
// the pixel centres inside or on the ellipse inscribed in the c x c box.
TFastDIB RefCells(const TFastDIB& in, int c, bool circles) {
  const int W = in.Width(), H = in.Height(), h = c / 2, wr = W % c, hr = H % c;
  TFastDIB out = Clone(in);
  auto cell = [&](int x0, int y0, int w, int ht, TPixel24 col) {
    for (int y = 0; y < (circles ? c : ht); ++y)
      for (int x = 0; x < (circles ? c : w); ++x) {
        const long long u = 2 * x - (c - 1), v = 2 * y - (c - 1);
        if (!circles || u * u + v * v <= (long long)c * c) out.SetPixel(y0 + y, x0 + x, col);
      }
  };
  for (int r = 0; r < H / c; ++r) {
    for (int q = 0; q < W / c; ++q) cell(q * c, r * c, c, c, Px(in, q * c + h, r * c + h));
    if (wr) cell(circles ? W - c : W - wr, r * c, wr, c, Px(in, W - 1, r * c + h));
  }
  for (int q = 0; hr && q < W / c; ++q) cell(q * c, circles ? H - c : H - hr, c, hr, Px(in, q * c + h, H - 1));
  if (hr && wr) cell(circles ? W - c : W - wr, circles ? H - c : H - hr, wr, hr, Px(in, W - 1, H - 1));
  return out;
}

}  // namespace

TEST(Mosaic, CellsAndStripsFromTheSpecifiedPixels) {
  // On 256 x 256, c = 16 gives cells only; c = 10 adds 6-pixel strips.
  for (const auto& [W, H] : {std::pair{256, 256}, std::pair{37, 19}, std::pair{4, 4}, std::pair{300, 7}})
    for (int c : {2, 3, 4, 5, 9, 10, 16}) {
      if (!MosaicCellAllowed(c, W, H)) continue;
      const TFastDIB in = Random(W, H, uint32_t(c));
      TFastDIB sq = Clone(in), ci = Clone(in);
      ASSERT_TRUE(Mosaic(sq, c));
      EXPECT_TRUE(SamePixels(sq, RefCells(in, c, false))) << W << "x" << H << " c " << c;
      ASSERT_TRUE(CircleMosaic(ci, c));
      EXPECT_TRUE(SamePixels(ci, RefCells(in, c, true))) << W << "x" << H << " c " << c;
    }
}

TEST(Mosaic, CycloidSquaresInTheRunningColour) {
  // Squares [x - s, x + s) x [y - s, y + s) painted in order, pixel by pixel.
  for (int s : {1, 2, 0, -3, 3, 40, INT_MAX, INT_MIN}) {  // painted one by one up to 2, swept from 3 on
    const TFastDIB in = Random(64, 48, 3);
    TFastDIB out = Clone(in), want = Clone(in);
    CycloidMosaic(out, s);
    const long long a = std::llabs(s);
    for (int k = 1, n = 0; k <= 32 / 6; ++k)
      for (int t = 0; t <= 360; ++t, ++n) {
        const long long x = std::llrint(7.0 * k * std::cos(t) - k * std::cos(7.0 * t) + 32);
        const long long y = std::llrint(7.0 * k * std::sin(t) - k * std::sin(7.0 * t) + 24);
        for (long long py = std::max(0LL, y - a); py < std::min(48LL, y + a); ++py)
          for (long long px = std::max(0LL, x - a); px < std::min(64LL, x + a); ++px)
            want.SetPixel(int(py), int(px), PixelFromColour(0xF08000 + 16 * n));
      }
    EXPECT_TRUE(SamePixels(out, want)) << s;
  }
  // Beyond 63 488 squares the colour wraps within 24 bits: 2112 wide, 176 curves,
  // the last curve's square at t = 359 is 0xF08000 + 16 * 63534 - 2^24 = 0x0002E0.
  TFastDIB big = test::Uniform(2112, 2112, {});
  CycloidMosaic(big, 3);
  const int x = int(std::llrint(7.0 * 176 * std::cos(359.0) - 176 * std::cos(2513.0) + 1056));
  const int y = int(std::llrint(7.0 * 176 * std::sin(359.0) - 176 * std::sin(2513.0) + 1056));
  EXPECT_EQ(Px(big, x, y), MakePixel(0xE0, 0x02, 0x00));
}

TEST(Mosaic, ConcentricRectsFrames) {
  // The described loop: reduce a copy again and again in place and lay it
  // centred, until it is no wider than W div 2 - D or a side would vanish.
  // W, H, D; 20 x 30 by 2 reaches width 8 = W div 2 - D exactly; 100 x 90
  // by 20 reads pixels more than 64 bytes apart for 16 in a row.
  // Big enough for two cores' bands (odd heights: the lower band starts each
  // stage where the next one's first row reads it), in 512-bit, 256-bit and
  // plain rows.
  const int cases[][3] = {{256, 256, 10}, {300, 20, 3}, {37, 19, 1}, {7, 1, 1}, {37, 19, INT_MAX}, {20, 30, 2},
                          {300, 200, 1}, {100, 90, 20}, {101, 121, 2}};
  for (const auto& [W, H, D] : cases) {
    const TFastDIB in = Random(W, H, 4);
    TFastDIB want = Clone(in), copy = Clone(in);
    for (long long k = D; copy.Width() > W / 2 - (long long)D && W - 2 * k >= 1 && H - 2 * k >= 1; k += D) {
      ResizeBilinear(copy, int(W - 2 * k), int(H - 2 * k), 1);
      copy.Draw(want, (W - copy.Width()) / 2, (H - copy.Height()) / 2);
    }
    test::BothVectorPaths([&](bool) {
      TFastDIB out = Clone(in), scratch;
      ASSERT_TRUE(ConcentricRects(out, scratch, D));
      EXPECT_TRUE(SamePixels(out, want)) << W << "x" << H << " D " << D;
    });
  }
}

TEST(Mosaic, VorqSwizzleIsWaveFlipAndShrink) {
  for (const auto& [W, H] : {std::pair{6, 4}, std::pair{37, 19}, std::pair{1, 7}, std::pair{64, 64}})
    for (int S : {0, 9, -30, 1000}) {
      const TFastDIB in = Random(W, H, 5);
      TFastDIB want = Clone(in), got = Clone(in), scratch, back;
      const int used = SineWaveUD(want, scratch, S, W - 1, S > 0, S != 9);
      FourWayFlip(want, scratch);
      back.SetSize(W, H, 24, 0);
      want.StretchDraw(back, 0, 0, W, H);
      EXPECT_EQ(VorqSwizzle(got, scratch, S, S > 0, S != 9), used);  // the height used, limited to H
      EXPECT_TRUE(SamePixels(got, back)) << W << "x" << H << " S " << S;
    }
}

TEST(Blend, GradientBarsRowAndMergeBufferPerChannel) {
  // One bar on 256 columns: the begin colour at 0, the end colour at 128.
  const uint32_t c1 = 0x0A14F0, c2 = 0xF0C805;
  for (int n : {1, 3, 7, 50, -3, 0})
    for (int W : {1, 7, 256, 333}) {
      TFastDIB g = Random(W, 3, 8);
      GradientBars(g, n, c1, c2);
      for (int x = 0; x < W; ++x) {
        const int k = int(std::fabs(std::sin(x / (double(W) / n) * M_PI)) * 255);
        auto ch = [&](int s) { return uint8_t(int(c1 >> s & 255) + int((c2 >> s & 255) - (c1 >> s & 255)) * k / 255); };
        for (int y = 0; y < 3; ++y) ASSERT_EQ(Px(g, x, y), MakePixel(ch(0), ch(8), ch(16))) << n << " " << x;
      }
    }
  const TFastDIB img = Random(37, 19, 9), buf = Random(37, 19, 10);
  TFastDIB self = Clone(img);
  MergeBuffer(self, self, 50);  // the image as its own buffer: unchanged
  EXPECT_TRUE(SamePixels(self, img));
  // In extended precision, the buffer scaled by dropping or repeating rows
  // and columns, an empty one black, results clamped.
  for (const TFastDIB& b : {Clone(buf), Random(10, 40, 12), Random(1, 1, 13), Random(37, 40, 14), TFastDIB{}})
    for (int P : {1, 33, 50, 99, 0, 100, -20, 180, INT_MIN, INT_MAX}) {
      TFastDIB got = Clone(img);
      MergeGradient(got, b, P);
      const float a = float((long double)P / 100), rest = 1.0f - a;
      auto mix = [&](uint8_t s, uint8_t i) {
        const long double v = std::nearbyint((long double)s * a + (long double)i * rest);
        return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
      };
      for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 37; ++x) {
          const TPixel24 s = b.Empty() ? TPixel24{} : Px(b, x * b.Width() / 37, y * b.Height() / 19), i = Px(img, x, y);
          ASSERT_EQ(Px(got, x, y), TPixel24(mix(s.B, i.B), mix(s.G, i.G), mix(s.R, i.R))) << x << "," << y << " " << P;
        }
    }
}

TEST(Mosaic, RefusalsAndHostileValues) {
  EXPECT_TRUE(MosaicCellAllowed(128, 256, 256) && MosaicCellAllowed(2, 4, 4) && ConcentricRectsAllowed(1));
  const int refused[][3] = {{129, 256, 256}, {1, 256, 256}, {11, 300, 20}, {2, 3, 300}, {2, 0, 0}, {INT_MIN, 9, 9}};
  for (const auto& [c, W, H] : refused) EXPECT_FALSE(MosaicCellAllowed(c, W, H)) << c << " " << W << "x" << H;
  EXPECT_FALSE(ConcentricRectsAllowed(0));
  // A refusal changes nothing (other extreme values are swept through the editor).
  for (const auto& sz : test::kSizes)
    for (int v : {0, 1, -1, 2, -2, 7, INT_MAX, INT_MIN}) {
      const TFastDIB in = Random(sz[0], sz[1], 14);
      TFastDIB w = Clone(in), scratch;
      const bool cells = MosaicCellAllowed(v, sz[0], sz[1]);
      EXPECT_EQ(Mosaic(w, v), cells);
      EXPECT_EQ(CircleMosaic(w, v), cells);
      EXPECT_EQ(ConcentricRects(w, scratch, v), v >= 1);
      EXPECT_TRUE(cells || v >= 1 || SamePixels(w, in));
      MergeBuffer(w, Random(sz[1], sz[0] + 1, 15), v);  // a buffer of another size
      MergeGradient(w, w, v);
    }
  TFastDIB empty, scratch;
  EXPECT_FALSE(Mosaic(empty, 2));
  VorqSwizzle(empty, scratch, 5, true, true);
  MergeBuffer(empty, Random(3, 3, 1), 50);
  EXPECT_TRUE(empty.Empty());
}
