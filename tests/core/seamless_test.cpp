#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/effects/geometry.h"
#include "core/effects/seamless.h"
#include "core/util/arith.h"
#include "test_util.h"

using namespace vorq;
using test::Clone;
using test::Random;
using test::SamePixels;

namespace {

// The strip blend as described: B is a mirrored copy of the leading strip,
// A the trailing strip; B := A + MulDiv(k, B - A, n - 1); B copied back.
void RefBlend(TFastDIB& S, int sw, int sh) {
  const int W = S.Width(), H = S.Height();
  if (sw >= 2) {
    TFastDIB B;
    B.SetSize(sw, H, 24, 0);
    S.DrawPart(B, 0, 0, sw, H, 0, 0);
    B.FlipHorizontal();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < sw; ++x)
        for (int c = 0; c < 3; ++c) {
          const int a = S.Row(y)[3 * (W - sw + x) + c], b = B.Row(y)[3 * x + c];
          B.Row(y)[3 * x + c] = uint8_t(a + MulDiv(x, b - a, sw - 1));
        }
    B.Draw(S, W - sw, 0);
  }
  if (sh >= 2) {
    TFastDIB B;
    B.SetSize(W, sh, 24, 0);
    S.DrawPart(B, 0, 0, W, sh, 0, 0);
    B.FlipVertical();
    for (int y = 0; y < sh; ++y)
      for (int x = 0; x < W; ++x)
        for (int c = 0; c < 3; ++c) {
          const int a = S.Row(H - sh + y)[3 * x + c], b = B.Row(y)[3 * x + c];
          B.Row(y)[3 * x + c] = uint8_t(a + MulDiv(y, b - a, sh - 1));
        }
    B.Draw(S, 0, H - sh);
  }
}

// cols / rows false: that axis's strips are left out of both blends.
void RefSeamlessEdge(TFastDIB& S, int s, bool cols = true, bool rows = true) {
  const int m = std::min(S.Width() - 1, S.Height() - 1);
  if (s > m) s = m / 2;
  RefBlend(S, cols ? s : 0, rows ? s : 0);
  S.FlipHorizontal();
  S.FlipVertical();
  RefBlend(S, cols ? s : 0, rows ? s : 0);
  S.FlipHorizontal();
  S.FlipVertical();
}

// Bilinear wrapped rotation from the description, single precision throughout.
TFastDIB RefRotateBilinear(const TFastDIB& Src, int Wt, int Ht, int CX, int CY, double Angle) {
  const int Ws = Src.Width(), Hs = Src.Height();
  TFastDIB T;
  T.SetSize(Wt, Ht, 24, 0);
  const float th = float(-Angle * M_PI / 180.0);
  const float s = std::sin(th), c = std::cos(th);
  const int dx = (Wt - Ws) / 2, dy = (Ht - Hs) / 2;
  for (int y = 0; y < Ht; ++y)
    for (int x = 0; x < Wt; ++x) {
      const float u = float(double(x - CX) * c - double(y - CY) * s + CX - dx);
      const float v = float(double(x - CX) * s + double(y - CY) * c + CY - dy);
      int iu = int(u), iv = int(v);
      // Left of (above) 0 the weights swap: the truncated index gets its own distance from the position.
      const float fu = u >= 0 ? u - float(iu) : float(iu) - u, fv = v >= 0 ? v - float(iv) : float(iv) - v;
      const float wx[2] = {u >= 0 ? 1 - fu : fu, u >= 0 ? fu : 1 - fu};
      const float wy[2] = {v >= 0 ? 1 - fv : fv, v >= 0 ? fv : 1 - fv};
      if (iu < 0) iu = Ws - 1 - (-iu) % Ws;
      if (iu > Ws - 1) iu %= Ws;
      if (iv < 0) iv = Hs - 1 - (-iv) % Hs;
      if (iv > Hs - 1) iv %= Hs;
      const int col[2] = {iu, iu + 1 == Ws ? 0 : iu + 1}, row[2] = {iv, iv + 1 == Hs ? 0 : iv + 1};
      for (int ch = 0; ch < 3; ++ch) {
        float value = 0;
        for (int i = 0; i < 2; ++i)
          for (int j = 0; j < 2; ++j) value += wx[i] * wy[j] * float(Src.Row(row[j])[3 * col[i] + ch]);
        T.Row(y)[3 * x + ch] = uint8_t(std::clamp(std::nearbyint(value), 0.0f, 255.0f));
      }
    }
  return T;
}

// Rotate Seamless step by step with the large temporaries.
TFastDIB RefRotateSeamless(const TFastDIB& img) {
  const int W = img.Width(), H = img.Height();
  const int a = int(std::nearbyint(W * std::sin(M_PI / 4))), b = int(std::nearbyint(H * std::sin(M_PI / 4)));
  TFastDIB scratch = Clone(img);
  EXPECT_TRUE(ResizeBilinear(scratch, a, b, 0));
  TFastDIB T;
  T.SetSize(3 * a, 3 * b, 24, 0);
  scratch.TileDraw(T, 0, 0, 3 * a, 3 * b);
  TFastDIB stage;
  stage.SetSize(2 * a, 2 * b, 24, 0);
  T.DrawPart(stage, 0, 0, 2 * a, 2 * b, a / 2, b / 2);
  TFastDIB turned = RefRotateBilinear(stage, 2 * a, 2 * b, a, b, 45);
  TFastDIB out;
  out.SetSize(W, H, 24, 0);
  turned.DrawPart(out, 0, 0, W, H, (2 * a - W) / 2, (2 * b - H) / 2);
  return out;
}

}  // namespace

// Edge Merge is the strip blend with strips of an Nth of each side (of the whole side for 1/1, see below).
TEST(EdgeMerge, StripsOfAnNthMatchTheBlendAndTheEdges) {
  // Strips of one pixel or less (20 / 16, 31 / 16) leave the image: the blend would divide by zero.
  for (auto [w, h, n] : {std::tuple{256, 256, 16}, {97, 61, 16}, {256, 256, 4}, {97, 61, 4}, {20, 20, 16}, {31, 5, 16},
                         {1, 1, 4}, {7, 3, 8}, {20, 20, 0}, {20, 20, -4}}) {
    SCOPED_TRACE(::testing::Message() << w << "x" << h << " 1/" << n);
    const TFastDIB src = Random(w, h, uint32_t(n + w));
    TFastDIB img = Clone(src), ref = Clone(src);
    EdgeMerge(img, n);
    if (n > 0) RefBlend(ref, w / n, h / n);
    EXPECT_TRUE(SamePixels(img, ref));
  }
}

TEST(SeamlessEdge, MatchesReferenceEdgesMatchAndOneAxisIsThatHalf) {
  struct Case {
    int w, h, s;
  } cases[] = {{64, 48, 16}, {30, 40, 100}, {50, 50, 49}, {100, 7, 3}, {30, 40, 1}, {30, 40, -5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << " amount " << c.s);
    const TFastDIB src = Random(c.w, c.h, uint32_t(c.s));
    TFastDIB img = Clone(src), ref = Clone(src);
    SeamlessEdge(img, c.s);
    RefSeamlessEdge(ref, c.s);
    EXPECT_TRUE(SamePixels(img, ref));
  }
  // 37 x 23: Edge Merge 1/4 has strips of 9 columns or 5 rows; Seamless Edge 100 is clamped to 11.
  const TFastDIB src = Random(37, 23, 5);
  for (bool cols : {true, false}) {
    SCOPED_TRACE(cols ? "left/right" : "top/bottom");
    const SeamAxis axis = cols ? SeamAxis::LeftRight : SeamAxis::TopBottom;
    TFastDIB merged = Clone(src), edged = Clone(src), ref1 = Clone(src), ref2 = Clone(src);
    EdgeMerge(merged, 4, axis);
    RefBlend(ref1, cols ? 9 : 0, cols ? 0 : 5);
    EXPECT_TRUE(SamePixels(merged, ref1));
    merged = Clone(src), ref1 = Clone(src);  // 1/1: strips as wide as the image
    EdgeMerge(merged, 1, axis);
    RefBlend(ref1, cols ? 37 : 0, cols ? 0 : 23);
    EXPECT_TRUE(SamePixels(merged, ref1));
    SeamlessEdge(edged, 100, axis);
    RefSeamlessEdge(ref2, 100, cols, !cols);
    EXPECT_TRUE(SamePixels(edged, ref2));
  }
}

TEST(FourWayFlip, QuadrantsMirrorTheImage) {
  const TFastDIB src = Random(3, 2, 12);
  TFastDIB img = Clone(src), scratch;
  ASSERT_TRUE(FourWayFlip(img, scratch));
  auto mirrored = [&](int x, int y) { return src.GetPixel(y < 2 ? y : 3 - y, x < 3 ? x : 5 - x); };
  EXPECT_TRUE(SamePixels(img, test::Painted(6, 4, mirrored)));

  TFastDIB wide;
  wide.SetSize(int(kMaxSide), 2, 24, 0);
  EXPECT_FALSE(FourWayFlip(wide, scratch));
  EXPECT_EQ(wide.Width(), kMaxSide);
  TFastDIB big;  // 2^27 pixels doubled is 2^29, beyond the pixel limit
  ASSERT_TRUE(big.SetSize(16384, 8192, 24, 0));
  EXPECT_FALSE(FourWayFlip(big, scratch));
  EXPECT_EQ(big.Height(), 8192);
}

TEST(RotateSeamless, MatchesTheStepByStepReference) {
  for (int side : {256, 21, 2, 1}) {
    SCOPED_TRACE(side);
    const TFastDIB src = Random(side, side, uint32_t(side));
    TFastDIB img = Clone(src), scratch;
    ASSERT_TRUE(RotateSeamless(img, scratch));
    EXPECT_TRUE(SamePixels(img, RefRotateSeamless(src)));  // the same size, too
  }
  const TFastDIB src = Random(256, 200, 1);  // not square: refused
  TFastDIB img = Clone(src), scratch;
  EXPECT_FALSE(RotateSeamless(img, scratch));
  EXPECT_TRUE(SamePixels(img, src));
  // Weights summing to a hair over 1 keep white at 255 and black at 0.
  for (uint8_t v : {255, 0}) {
    TFastDIB flat = test::Uniform(64, 64, MakePixel(v, v, v));
    ASSERT_TRUE(RotateSeamless(flat, scratch));
    EXPECT_TRUE(SamePixels(flat, test::Uniform(64, 64, MakePixel(v, v, v)))) << int(v);
  }
}

TEST(RotateBilinearWrapped, MatchesReferenceOnEveryWrapSide) {
  // Centres at a corner or outside put many sources at negative positions.
  struct Case {
    int ws, hs, wt, ht, cx, cy;
    double angle;
  } cases[] = {{9, 7, 9, 7, 0, 0, 30}, {20, 13, 31, 17, 25, -4, -75}, {1, 1, 3, 2, 0, 0, 45}, {16, 16, 16, 16, 8, 8, 200},
               {7, 20, 13, 31, 3, 10, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.ws << "x" << c.hs << " angle " << c.angle);
    const TFastDIB src = Random(c.ws, c.hs, uint32_t(c.ws * 5 + c.hs));
    TFastDIB dst;
    dst.SetSize(c.wt, c.ht, 24, 0);
    RotateBilinearWrapped(src, dst, c.cx, c.cy, c.angle);
    EXPECT_TRUE(SamePixels(dst, RefRotateBilinear(src, c.wt, c.ht, c.cx, c.cy, c.angle)));
  }
}
