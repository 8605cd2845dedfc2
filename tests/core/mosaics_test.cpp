#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "core/effects/distortions.h"
#include "core/effects/geometry.h"
#include "core/effects/mosaics.h"
#include "core/effects/seamless.h"
#include "core/raster/pen.h"
#include "test_util.h"

using namespace vorq;

namespace {

using test::Clone;
using test::Random;
using test::SamePixels;
TPixel24 Px(const TFastDIB& s, int x, int y) { return s.GetPixel(y, x); }

void Block(TFastDIB& s, int x0, int y0, int w, int h, TPixel24 c) {
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) s.SetPixel(y, x, c);
}

// Mosaic as described: cells from a copy, then the right strip of each cell
// row, then the bottom strip cell by cell and its corner.
TFastDIB RefMosaic(const TFastDIB& in, int c) {
  const int W = in.Width(), H = in.Height(), h = c / 2;
  TFastDIB out = Clone(in);
  for (int r = 0; r < H / c; ++r) {
    for (int q = 0; q < W / c; ++q) Block(out, q * c, r * c, c, c, Px(in, q * c + h, r * c + h));
    if (W % c) Block(out, W - W % c, r * c, W % c, c, Px(in, W - 1, r * c + h));
  }
  if (H % c) {
    for (int q = 0; q < W / c; ++q) Block(out, q * c, H - H % c, c, H % c, Px(in, q * c + h, H - 1));
    if (W % c) Block(out, W - W % c, H - H % c, W % c, H % c, Px(in, W - 1, H - 1));
  }
  return out;
}

// Circles inscribed in c x c boxes, pixel centres inside or on the ellipse,
// drawn over a copy with colours read from the untouched image.
TFastDIB RefCircleMosaic(const TFastDIB& in, int c) {
  const int W = in.Width(), H = in.Height(), h = c / 2;
  TFastDIB out = Clone(in);
  auto circle = [&](int x0, int y0, TPixel24 col) {
    for (int y = 0; y < c; ++y)
      for (int x = 0; x < c; ++x) {
        const long long u = 2 * x - (c - 1), v = 2 * y - (c - 1);
        if (u * u + v * v <= (long long)c * c) out.SetPixel(y0 + y, x0 + x, col);
      }
  };
  for (int r = 0; r < H / c; ++r) {
    for (int q = 0; q < W / c; ++q) circle(q * c, r * c, Px(in, q * c + h, r * c + h));
    if (W % c) circle(W - c, r * c, Px(in, W - 1, r * c + h));
  }
  if (H % c) {
    for (int q = 0; q < W / c; ++q) circle(q * c, H - c, Px(in, q * c + h, H - 1));
    if (W % c) circle(W - c, H - c, Px(in, W - 1, H - 1));
  }
  return out;
}

// Every square drawn in order, pixel by pixel, colour 0xF08000 + 16 n in 24 bits.
TFastDIB RefCycloid(const TFastDIB& in, int s) {
  const int W = in.Width(), H = in.Height(), cx = W / 2, cy = H / 2;
  const long long a = std::llabs(s);
  TFastDIB out = Clone(in);
  long long n = 0;
  for (int k = 1; k <= cx / 6; ++k)
    for (int t = 0; t <= 360; ++t, ++n) {
      const long long x = std::llrint(7.0 * k * std::cos(t) - k * std::cos(7.0 * t) + cx);
      const long long y = std::llrint(7.0 * k * std::sin(t) - k * std::sin(7.0 * t) + cy);
      const unsigned v = unsigned(0xF08000 + 16 * n) & 0xFFFFFF;
      for (long long py = std::max(0LL, y - a); py < std::min<long long>(H, y + a); ++py)
        for (long long px = std::max(0LL, x - a); px < std::min<long long>(W, x + a); ++px)
          out.SetPixel(int(py), int(px), MakePixel(uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16)));
    }
  return out;
}

// The described loop: reduce the scratch copy in place and lay it centred.
TFastDIB RefConcentric(const TFastDIB& in, int D, std::vector<int>* widths = nullptr) {
  const int W = in.Width(), H = in.Height();
  TFastDIB out = Clone(in), scratch = Clone(in);
  for (int k = D; scratch.Width() > W / 2 - D && W - 2 * k >= 1 && H - 2 * k >= 1; k += D) {
    ResizeBilinear(scratch, W - 2 * k, H - 2 * k, 1);
    scratch.Draw(out, (W - scratch.Width()) / 2, (H - scratch.Height()) / 2);
    if (widths) widths->push_back(scratch.Width());
  }
  return out;
}

}  // namespace

TEST(Mosaic, CellsAndStripsFromTheSpecifiedPixels) {
  const TFastDIB img = Random(256, 256, 1);
  TFastDIB m = Clone(img);
  ASSERT_TRUE(Mosaic(m, 16));
  EXPECT_EQ(Px(m, 0, 0), Px(img, 8, 8));
  EXPECT_EQ(Px(m, 255, 255), Px(img, 248, 248));
  EXPECT_TRUE(SamePixels(m, RefMosaic(img, 16)));
  m = Clone(img);
  ASSERT_TRUE(Mosaic(m, 10));  // 25 x 25 cells and 6-pixel strips
  EXPECT_EQ(Px(m, 252, 3), Px(img, 255, 5));
  EXPECT_EQ(Px(m, 3, 252), Px(img, 5, 255));
  EXPECT_EQ(Px(m, 250, 250), Px(img, 255, 255));
  EXPECT_TRUE(SamePixels(m, RefMosaic(img, 10)));
  for (const auto& sz : {std::pair{37, 19}, std::pair{4, 4}, std::pair{5, 9}, std::pair{300, 7}})
    for (int c = 2; c <= std::min(sz.first, sz.second) / 2; ++c) {
      const TFastDIB in = Random(sz.first, sz.second, uint32_t(c));
      TFastDIB out = Clone(in);
      ASSERT_TRUE(Mosaic(out, c));
      EXPECT_TRUE(SamePixels(out, RefMosaic(in, c))) << sz.first << "x" << sz.second << " c " << c;
    }
}

TEST(Mosaic, RefusedCellSizesChangeNothing) {
  EXPECT_FALSE(MosaicCellAllowed(129, 256, 256));
  EXPECT_TRUE(MosaicCellAllowed(128, 256, 256));
  EXPECT_FALSE(MosaicCellAllowed(1, 256, 256));
  EXPECT_FALSE(MosaicCellAllowed(11, 300, 20));  // above half the height
  EXPECT_FALSE(MosaicCellAllowed(2, 3, 300));
  EXPECT_FALSE(MosaicCellAllowed(INT_MIN, 256, 256));
  EXPECT_FALSE(MosaicCellAllowed(INT_MAX, 256, 256));
  EXPECT_FALSE(MosaicCellAllowed(2, 0, 0));
  const TFastDIB img = Random(256, 256, 2);
  for (int c : {129, 1, 0, -5, INT_MAX, INT_MIN}) {
    TFastDIB a = Clone(img), b = Clone(img);
    EXPECT_FALSE(Mosaic(a, c));
    EXPECT_FALSE(CircleMosaic(b, c));
    EXPECT_TRUE(SamePixels(a, img));
    EXPECT_TRUE(SamePixels(b, img));
  }
  EXPECT_FALSE(ConcentricRectsAllowed(0));
  EXPECT_TRUE(ConcentricRectsAllowed(1));
  TFastDIB c = Clone(img), scratch;
  EXPECT_FALSE(ConcentricRects(c, scratch, -3));
  EXPECT_TRUE(SamePixels(c, img));
}

TEST(Mosaic, CircleMosaicKeepsCellCorners) {
  for (const auto& sz : {std::pair{256, 256}, std::pair{37, 19}, std::pair{9, 8}, std::pair{101, 45}})
    for (int c : {4, 5, 7, 9}) {
      if (!MosaicCellAllowed(c, sz.first, sz.second)) continue;
      const TFastDIB in = Random(sz.first, sz.second, uint32_t(c + 10));
      TFastDIB out = Clone(in);
      ASSERT_TRUE(CircleMosaic(out, c));
      EXPECT_TRUE(SamePixels(out, RefCircleMosaic(in, c))) << sz.first << "x" << sz.second << " c " << c;
      for (int r = 0; r < sz.second / c; ++r)
        for (int q = 0; q < sz.first / c - 1; ++q)  // the edge circles may cover the last column's corners
          ASSERT_EQ(Px(out, q * c, r * c), Px(in, q * c, r * c));
    }
}

TEST(Mosaic, CycloidSquaresInTheRunningColour) {
  for (int s : {3, -3, 0, 1, 40, INT_MAX, INT_MIN}) {
    const TFastDIB in = Random(64, 48, 3);
    TFastDIB out = Clone(in);
    CycloidMosaic(out, s);
    EXPECT_TRUE(SamePixels(out, RefCycloid(in, s))) << s;
  }
  // Beyond 63 488 squares the colour wraps within 24 bits: on a 2112-wide
  // image (176 curves) the square before the last, at t = 359, is
  // 0xF08000 + 16 * 63534 - 2^24 = 0x0002E0.
  TFastDIB big = test::Uniform(2112, 2112, {});
  CycloidMosaic(big, 3);
  const int x = int(std::llrint(7.0 * 176 * std::cos(359.0) - 176 * std::cos(2513.0) + 1056));
  const int y = int(std::llrint(7.0 * 176 * std::sin(359.0) - 176 * std::sin(2513.0) + 1056));
  EXPECT_EQ(Px(big, x, y), MakePixel(0xE0, 0x02, 0x00));
}

TEST(Mosaic, ConcentricRectsFrames) {
  const TFastDIB img = Random(256, 256, 4);
  TFastDIB out = Clone(img), scratch;
  ASSERT_TRUE(ConcentricRects(out, scratch, 10));
  std::vector<int> widths;
  EXPECT_TRUE(SamePixels(out, RefConcentric(img, 10, &widths)));
  const std::vector<int> want{236, 216, 196, 176, 156, 136, 116};
  EXPECT_EQ(widths, want);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(Px(out, x, y), Px(img, x, y));  // outside the first frame
  // A wide, low image stops when the height runs out; huge differences do nothing.
  for (const auto& sz : {std::pair{300, 20}, std::pair{7, 1}, std::pair{37, 19}})
    for (int D : {1, 3, 9, INT_MAX}) {
      const TFastDIB in = Random(sz.first, sz.second, uint32_t(D));
      TFastDIB o = Clone(in);
      ASSERT_TRUE(ConcentricRects(o, scratch, D));
      EXPECT_TRUE(SamePixels(o, RefConcentric(in, D == INT_MAX ? 1 << 20 : D))) << sz.first << " D " << D;
    }
}

TEST(Mosaic, VorqSwizzleIsWaveFlipAndShrink) {
  // The wave, the four-way flip and the scaled copy back, one after another.
  for (const auto& sz : {std::pair{6, 4}, std::pair{37, 19}, std::pair{1, 7}, std::pair{64, 64}})
    for (int S : {0, 9, -30, 1000}) {
      const int W = sz.first, H = sz.second;
      const TFastDIB in = Random(W, H, 5);
      TFastDIB want = Clone(in), scratch, back;
      const int used = SineWaveUD(want, scratch, S, W - 1, S > 0, S != 9);
      FourWayFlip(want, scratch);
      back.SetSize(W, H, 24, 0);
      want.StretchDraw(back, 0, 0, W, H);
      TFastDIB got = Clone(in);
      EXPECT_EQ(VorqSwizzle(got, scratch, S, S > 0, S != 9), used);
      EXPECT_TRUE(SamePixels(got, back)) << W << "x" << H << " S " << S;
    }
  TFastDIB t = Random(20, 19, 6), scratch;
  EXPECT_EQ(VorqSwizzle(t, scratch, 1000, false, true), 19);  // the wave height is limited to H
}

TEST(Blend, GradientBarsRow) {
  const uint32_t c1 = 0x0A14F0, c2 = 0xF0C805;
  TFastDIB t = Random(256, 5, 7);
  GradientBars(t, 1, c1, c2);
  EXPECT_EQ(Px(t, 0, 4), PixelFromColour(c1));
  EXPECT_EQ(Px(t, 128, 2), PixelFromColour(c2));
  for (int n : {1, 3, 7, 50, -3, 0})
    for (int W : {1, 7, 256, 333}) {
      TFastDIB g = Random(W, 3, 8);
      GradientBars(g, n, c1, c2);
      for (int x = 0; x < W; ++x) {
        const int t8 = int(std::fabs(std::sin(x / (double(W) / n) * M_PI)) * 255);
        auto ch = [&](int s) { return uint8_t(int((c1 >> s) & 255) + (int((c2 >> s) & 255) - int((c1 >> s) & 255)) * t8 / 255); };
        for (int y = 0; y < 3; ++y) ASSERT_EQ(Px(g, x, y), MakePixel(ch(0), ch(8), ch(16))) << n << " " << W << " " << x;
      }
    }
}

TEST(Blend, MergeBufferPerChannel) {
  const TFastDIB img = Random(37, 19, 9);
  // A buffer equal to the image at 50 %: unchanged; at 99 %: almost the buffer.
  TFastDIB same = Clone(img);
  MergeBuffer(same, img, 50);
  EXPECT_TRUE(SamePixels(same, img));
  const TFastDIB buf = Random(37, 19, 10);
  TFastDIB near = Clone(img);
  MergeBuffer(near, buf, 99);
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_LE(std::abs(Px(near, x, y).G - Px(buf, x, y).G), 3);
  // Reference in extended precision, the buffer scaled by dropping or
  // repeating rows and columns; an empty buffer is black.
  const TFastDIB sizes[] = {Random(37, 19, 11), Random(10, 40, 12), Random(1, 1, 13), TFastDIB{}};
  for (const TFastDIB& b : sizes)
    for (int P : {1, 33, 50, 99, 0, 100, -20, 180, INT_MIN, INT_MAX}) {
      TFastDIB got = Clone(img);
      MergeGradient(got, b, P);
      const float a = float((long double)P / 100), rest = 1.0f - a;
      for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 37; ++x) {
          const TPixel24 s = b.Empty() ? TPixel24{} : Px(b, x * b.Width() / 37, y * b.Height() / 19), i = Px(img, x, y);
          auto mix = [&](uint8_t sv, uint8_t iv) {
            const long double v = std::nearbyint((long double)sv * a + (long double)iv * rest);
            return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
          };
          ASSERT_EQ(Px(got, x, y), TPixel24(mix(s.B, i.B), mix(s.G, i.G), mix(s.R, i.R)))
              << x << "," << y << " P " << P << " buffer " << b.Width();
        }
    }
}

TEST(Mosaic, HostileValuesOnTinyImages) {
  // Nothing may read or write outside a surface (the sanitizer build checks);
  // every effect keeps the image's size.
  for (const auto& sz : test::kSizes)
    for (int v : {0, 1, -1, 2, -2, 7, INT_MAX, INT_MIN}) {
      const TFastDIB in = Random(sz[0], sz[1], 14);
      TFastDIB w = Clone(in), scratch;
      Mosaic(w, v);
      CircleMosaic(w, v);
      CycloidMosaic(w, v);
      ConcentricRects(w, scratch, v);
      VorqSwizzle(w, scratch, v, v % 2 == 0, v > 0);
      GradientBars(w, v, 0x123456, 0xABCDEF);
      MergeBuffer(w, Random(sz[1], sz[0] + 1, 15), v);
      MergeGradient(w, w, v);
      EXPECT_EQ(w.Width(), sz[0]);
      EXPECT_EQ(w.Height(), sz[1]);
    }
  TFastDIB empty, scratch;
  Mosaic(empty, 2);
  CycloidMosaic(empty, 3);
  ConcentricRects(empty, scratch, 1);
  VorqSwizzle(empty, scratch, 5, true, true);
  GradientBars(empty, 3, 0, 0);
  MergeBuffer(empty, Random(3, 3, 1), 50);
  EXPECT_TRUE(empty.Empty());
}
