#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/effects/geometry.h"
#include "test_util.h"

using namespace vorq;
using test::BothVectorPaths;
using test::Clone;
using test::Random;
using test::SamePixels;

namespace {

// Bilinear resize written straight from the arithmetic: single-precision
// factors, weights and sums, (i, j) summed with i (the column step) outer.
TFastDIB RefResize(const TFastDIB& S, int NewW, int NewH, int mode) {
  const int W = S.Width(), H = S.Height();
  TFastDIB T;
  T.SetSize(NewW, NewH, 24, 0);
  const float fx = mode == 0 ? float(NewW) / float(W - 1) : float(NewW) / float(W);
  const float fy = mode == 0 ? float(NewH) / float(H - 1) : float(NewH) / float(H);
  for (int y = 0; y < NewH; ++y) {
    // A single row is constant: position 0, no second row.
    const float sy = H == 1 && mode == 0 ? 0.0f : float(y) / fy;
    const int iy = int(sy);
    const float wy[2] = {1.0f - (sy - float(iy)), sy - float(iy)};
    for (int x = 0; x < NewW; ++x) {
      const float sx = W == 1 && mode == 0 ? 0.0f : float(x) / fx;
      const int ix = int(sx);
      const float wx[2] = {1.0f - (sx - float(ix)), sx - float(ix)};
      for (int c = 0; c < 3; ++c) {
        float v = 0;
        for (int i = 0; i < 2; ++i)  // a sample beyond the last column or row has weight 0
          for (int j = 0; j < 2; ++j)
            v += wx[i] * wy[j] * float(S.Row(std::min(iy + j, H - 1))[3 * std::min(ix + i, W - 1) + c]);
        T.Row(y)[3 * x + c] = uint8_t(std::nearbyint(v));
      }
    }
  }
  return T;
}

// RotateWrapped from the description: 32-bit 16.16 stepping, the negative
// side counted from the far end.
TFastDIB RefRotateWrapped(const TFastDIB& Src, int Wt, int Ht, int CX, int CY, double Angle) {
  const int Ws = Src.Width(), Hs = Src.Height();
  TFastDIB T;
  T.SetSize(Wt, Ht, 24, 0);
  const double th = -Angle * M_PI / 180.0, S = std::sin(th), C = std::cos(th);
  const int32_t Sf = int32_t(std::nearbyint(S * 65536)), Cf = int32_t(std::nearbyint(C * 65536));
  const double dx = (Wt - Ws) / 2.0, dy = (Ht - Hs) / 2.0;
  auto wrap = [](int32_t X, int n) {
    if (X >= 0) {
      int u = X >> 16;
      return u > n - 1 ? u % n : u;
    }
    return n - 1 - ((-X) >> 16) % n;
  };
  for (int y = 0; y < Ht; ++y) {
    int32_t X = int32_t(std::nearbyint(((-CX) * C + CX - (y - CY) * S - dx) * 65536));
    int32_t Y = int32_t(std::nearbyint(((-CX) * S + CY + (y - CY) * C - dy) * 65536));
    for (int x = 0; x < Wt; ++x) {
      T.SetPixel(y, x, Src.GetPixel(wrap(Y, Hs), wrap(X, Ws)));
      X += Cf;
      Y += Sf;
    }
  }
  return T;
}

}  // namespace

TEST(ResizeBilinear, MatchesReferenceInBothModesKnownValuesAndRefusals) {
  struct Case {
    int w, h, nw, nh, mode;
  } cases[] = {{7, 5, 13, 11, 0},  {256, 256, 100, 80, 0}, {37, 23, 11, 9, 0},  {1, 4, 3, 8, 0},
               {4, 1, 9, 3, 0},    {1, 1, 4, 2, 0},        {40, 30, 17, 13, 1}, {5, 9, 1, 1, 0},
               {301, 40, 289, 35, 1}, {97, 33, 400, 70, 0}};
  BothVectorPaths([&](bool wide) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " -> " << c.nw << "x" << c.nh << " mode " << c.mode
                                        << " wide " << wide);
      const TFastDIB src = Random(c.w, c.h, uint32_t(c.w * 31 + c.h));
      TFastDIB img = Clone(src);
      ASSERT_TRUE(ResizeBilinear(img, c.nw, c.nh, c.mode));
      EXPECT_TRUE(SamePixels(img, RefResize(src, c.nw, c.nh, c.mode)));
    }
  });
  // Halves land between two pixels: 0 and 1 -> 0.5 -> 0 (even), 1 and 2 -> 1.5 -> 2.
  TFastDIB ties = test::Painted(3, 2, [](int x, int) { return test::Grey(x); });
  ASSERT_TRUE(ResizeBilinear(ties, 4, 2, 0));  // fx = 4 / 2: positions 0, 0.5, 1, 1.5
  EXPECT_EQ(ties.GetPixel(0, 1).R, 0);
  EXPECT_EQ(ties.GetPixel(0, 3).R, 2);
  // White stays 255 and black 0, also in the last row (4 wide: no row padding).
  for (uint8_t v : {255, 0}) {
    TFastDIB flat = test::Uniform(4, 3, MakePixel(v, v, v));
    ASSERT_TRUE(ResizeBilinear(flat, 9, 7, 0));
    EXPECT_TRUE(SamePixels(flat, test::Uniform(9, 7, MakePixel(v, v, v)))) << int(v);
  }
  const TFastDIB src = Random(17, 9, 3);
  TFastDIB img = Clone(src);
  EXPECT_TRUE(ResizeBilinear(img, 17, 9, 0));
  EXPECT_TRUE(SamePixels(img, src));
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {-3, 4}, {int(kMaxSide) + 1, 1}, {16384, 16385}}) {
    EXPECT_FALSE(ResizeBilinear(img, w, h, 0)) << w << "x" << h;
    EXPECT_TRUE(SamePixels(img, src));
  }
  EXPECT_FALSE(ResizeBilinear(img, 4, 4, 2));  // unknown mode
  TFastDIB empty;
  EXPECT_FALSE(ResizeBilinear(empty, 4, 4, 0));
}

TEST(Rotate90Clockwise, TurnsAQuarter) {
  // Every pixel: new (H - 1 - y, x) is old (x, y); blocks of 16 and the rest.
  const TFastDIB big = Random(131, 70, 2);
  BothVectorPaths([&](bool wide) {
    TFastDIB b = Clone(big), scratch;
    Rotate90Clockwise(b, scratch);
    EXPECT_TRUE(SamePixels(b, test::Painted(70, 131, [&](int x, int y) { return big.GetPixel(69 - x, y); }))) << wide;
    // Four quarter turns are the identity; the scratch may be the image itself.
    for (int i = 0; i < 3; ++i) Rotate90Clockwise(b, b);
    EXPECT_TRUE(SamePixels(b, big)) << wide;
  });
}

TEST(RotateWrapped, MatchesReference) {
  struct Case {
    int ws, hs, wt, ht;
    double angle;
  } cases[] = {{64, 48, 64, 48, 30}, {33, 17, 33, 17, -60}, {20, 20, 20, 20, 123},
               {64, 48, 40, 70, 45}, {5, 3, 50, 40, 10},    {31, 9, 31, 9, 359},
               // whole-pixel positions left of and above the source: -1 counts from the far side to W - 2
               {5, 3, 9, 7, 0},      {5, 3, 9, 7, 180},     {40, 26, 40, 26, 180}, {40, 26, 40, 26, 360}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.ws << "x" << c.hs << " -> " << c.wt << "x" << c.ht << " angle " << c.angle);
    const TFastDIB src = Random(c.ws, c.hs, uint32_t(c.ws + 7 * c.hs));
    TFastDIB dst;
    dst.SetSize(c.wt, c.ht, 24, 0);
    RotateWrapped(src, dst, c.ws / 2, c.hs / 2, c.angle);
    EXPECT_TRUE(SamePixels(dst, RefRotateWrapped(src, c.wt, c.ht, c.ws / 2, c.hs / 2, c.angle)));
  }
}
