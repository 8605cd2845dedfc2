#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "core/gradients/designers.h"
#include "core/gradients/gradient.h"
#include "core/raster/fill.h"
#include "core/raster/pen.h"
#include "test_util.h"

using namespace vorq;

namespace {

using G = TGradientStyle;
constexpr G kAllStyles[] = {G::gsHorizontal, G::gsVertical,    G::gsElliptic, G::gsRectangle,
                            G::gsVertCenter, G::gsHorizCenter, G::gsRadial1,  G::gsRadial2};
const TPixel24 kNavy = MakePixel(0, 0, 128), kAqua = MakePixel(0, 255, 255);

TFastDIB Render(int w, int h, GradientParams p) {
  TFastDIB t = test::Uniform(w, h, MakePixel(1, 2, 3));
  RenderGradient(t, p);
  return t;
}

// Step k of n per channel, written out from the colour arithmetic.
TPixel24 Step(uint32_t a, uint32_t b, long long k, long long n) {
  auto ch = [&](int s) {
    const long long c1 = (a >> s) & 255, c2 = (b >> s) & 255;
    return uint8_t(c1 + k * (c2 - c1) / n);
  };
  return MakePixel(ch(0), ch(8), ch(16));
}

}  // namespace

TEST(Gradient, BandStylesPaintedBandByBand) {
  GradientParams p;  // navy to aqua, vertical, 255 steps
  TFastDIB v = Render(256, 256, p);
  EXPECT_EQ(v.GetPixel(0, 17), kNavy);
  EXPECT_EQ(v.GetPixel(255, 3), kAqua);
  EXPECT_EQ(v.GetPixel(128, 200), MakePixel(0, 128, 191));
  // Reference: bands i = 0 .. Steps drawn in order over odd sizes and step counts.
  for (int steps : {1, 2, 7, 255, 1000})
    for (const auto& sz : test::kSizes) {
      const int W = sz[0], H = sz[1];
      p.BeginColor = 0x10F020;
      p.EndColor = 0xF0100A;
      p.Steps = steps;
      TFastDIB wantH = test::Uniform(W, H, {}), wantV = test::Uniform(W, H, {});
      for (long long i = 0; i <= steps; ++i) {
        const TPixel24 c = Step(p.BeginColor, p.EndColor, i, steps);
        FillRect(wantH, int(i * W / (steps + 1)), 0, int((i + 1) * W / (steps + 1)), H, c);
        FillRect(wantV, 0, int(i * H / (steps + 1)), W, int((i + 1) * H / (steps + 1)), c);
      }
      p.Style = G::gsHorizontal;
      EXPECT_TRUE(test::SamePixels(Render(W, H, p), wantH)) << W << "x" << H << " steps " << steps;
      p.Style = G::gsVertical;
      EXPECT_TRUE(test::SamePixels(Render(W, H, p), wantV)) << W << "x" << H << " steps " << steps;
    }
}

TEST(Gradient, CentreStylesMirrorAboutTheMiddle) {
  GradientParams p;
  p.Style = G::gsVertCenter;
  TFastDIB v = Render(3, 256, p);
  EXPECT_EQ(v.GetPixel(0, 0), kNavy);
  EXPECT_EQ(v.GetPixel(128, 1), kAqua);
  for (int y = 1; y < 256; ++y) ASSERT_EQ(v.GetPixel(y, 2), v.GetPixel(256 - y, 0));
  // Odd sizes: rows i and H - i painted in order with step i of H div 2.
  for (int H : {1, 2, 7, 19}) {
    TFastDIB want = test::Uniform(2, H, {});
    for (int i = 0; i <= H / 2; ++i) {
      const TPixel24 c = H / 2 == 0 ? kNavy : Step(p.BeginColor, p.EndColor, i, H / 2);
      FillRect(want, 0, i, 2, i + 1, c);
      FillRect(want, 0, H - i, 2, H - i + 1, c);
    }
    p.Style = G::gsVertCenter;
    EXPECT_TRUE(test::SamePixels(Render(2, H, p), want)) << H;
    p.Style = G::gsHorizCenter;
    TFastDIB h = Render(H, 2, p);
    for (int x = 0; x < H; ++x) ASSERT_EQ(h.GetPixel(1, x), want.GetPixel(x, 0)) << H << " col " << x;
  }
}

TEST(Gradient, ShapeStylesAreTheirShapesDrawnInOrder) {
  GradientParams p;
  p.BeginColor = 0x2040F0;
  p.EndColor = 0xE0C010;
  for (const auto& sz : {std::pair{64, 48}, std::pair{37, 19}, std::pair{600, 9}}) {
    const int W = sz.first, H = sz.second;
    const TPixel24 begin = PixelFromColour(p.BeginColor);
    // Rectangle: every rectangle drawn over the last, corner order free.
    TFastDIB rect = test::Uniform(W, H, begin);
    double x1 = 0, y1 = 0, x2 = W + 2, y2 = H + 2;
    for (int i = 0; i <= 255; ++i) {
      x1 += W / 2.0 / 255, y1 += H / 2.0 / 255, x2 -= W / 2.0 / 255, y2 -= H / 2.0 / 255;
      FillRect(rect, int(x1), int(y1), int(x2), int(y2), Step(p.BeginColor, p.EndColor, i, 255));
    }
    p.Style = G::gsRectangle;
    EXPECT_TRUE(test::SamePixels(Render(W, H, p), rect)) << W << "x" << H;
    // Elliptic: 156 ellipses, steps of 155.
    TFastDIB ell = test::Uniform(W, H, begin);
    x1 = -W / 4.0, x2 = W + W / 4.0 + 4, y1 = -H / 4.0, y2 = H + H / 4.0 + 4;
    const double dx = (W / 4.0 + W / 2.0) / 155, dy = (H / 4.0 + H / 2.0) / 155;
    for (int i = 0; i <= 155; ++i) {
      x1 += dx, x2 -= dx, y1 += dy, y2 -= dy;
      FillEllipse(ell, int(x1), int(y1), int(x2), int(y2), Step(p.BeginColor, p.EndColor, i, 155));
    }
    p.Style = G::gsElliptic;
    EXPECT_TRUE(test::SamePixels(Render(W, H, p), ell)) << W << "x" << H;
    // Radial1: 360 two-degree pies there and back, from StartAngle 17.
    const int S = 17, r = std::max(W, H) / 2;
    auto px = [&](int a) { return W / 2 + int(std::nearbyint(r * std::sin(a * M_PI / 180))); };
    auto py = [&](int a) { return H / 2 - int(std::nearbyint(r * std::cos(a * M_PI / 180))); };
    TFastDIB rad = test::Uniform(W, H, begin);
    for (int a = S; a <= S + 359; ++a)
      FillPie(rad, -(W / 4), -(H / 4), W + W / 4, H + H / 4, px(a), py(a), px(a + 2), py(a + 2),
              Step(p.BeginColor, p.EndColor, a < S + 180 ? a - S : S + 359 - a, 180));
    p.Style = G::gsRadial1;
    p.StartAngle = S;
    EXPECT_TRUE(test::SamePixels(Render(W, H, p), rad)) << W << "x" << H;
  }
}

TEST(Gradient, RadialStartAngleAndTwoSweeps) {
  GradientParams p;
  p.Style = G::gsRadial1;
  TFastDIB up = Render(256, 256, p);
  p.StartAngle = 90;
  TFastDIB right = Render(256, 256, p);
  // The sweep begins (and ends) at 12 o'clock, or at 3 o'clock for 90; the
  // far end lies opposite. Pixels are taken just before the starting ray.
  EXPECT_EQ(up.GetPixel(5, 127), kNavy);
  EXPECT_EQ(right.GetPixel(127, 250), kNavy);
  EXPECT_GE(up.GetPixel(250, 127).G, 245);
  EXPECT_GE(right.GetPixel(127, 5).G, 245);
  // Radial2 reaches the end colour twice: at 3 and at 9 o'clock.
  p.Style = G::gsRadial2;
  p.StartAngle = 0;
  TFastDIB two = Render(256, 256, p);
  EXPECT_EQ(two.GetPixel(5, 127), kNavy);
  EXPECT_EQ(two.GetPixel(250, 127), kNavy);
  EXPECT_GE(two.GetPixel(126, 250).G, 245);
  EXPECT_GE(two.GetPixel(128, 5).G, 245);
}

TEST(Gradient, EveryStyleStaysBetweenItsColoursWhateverTheValues) {
  // One colour gives a uniform bitmap; any size, step count or angle keeps
  // every channel between the two colours (and reaches every pixel).
  for (G style : kAllStyles)
    for (const auto& sz : {std::pair{1, 1}, std::pair{1, 7}, std::pair{7, 1}, std::pair{2, 2}, std::pair{37, 19}})
      for (int v : {0, 1, -1, 2, INT_MAX, INT_MIN}) {
        GradientParams p;
        p.Style = style;
        p.Steps = v;
        p.StartAngle = v;
        p.BeginColor = p.EndColor = 0x123456;
        EXPECT_EQ(test::Count(Render(sz.first, sz.second, p), MakePixel(0x56, 0x34, 0x12)), sz.first * sz.second);
        p.BeginColor = 0x0A1420;
        p.EndColor = 0xC8B4A0;
        TFastDIB t = Render(sz.first, sz.second, p);
        for (int y = 0; y < t.Height(); ++y)
          for (int x = 0; x < t.Width(); ++x) {
            const TPixel24 c = t.GetPixel(y, x);
            ASSERT_TRUE(c.R >= 0x20 && c.R <= 0xA0 && c.G >= 0x14 && c.G <= 0xB4 && c.B >= 0x0A && c.B <= 0xC8)
                << int(style) << " " << x << "," << y << " v " << v;
          }
      }
}

TEST(Gradient, ControlRendersOnlyAfterAChange) {
  TVorqGradient g;
  EXPECT_EQ(g.Width(), 75);
  EXPECT_TRUE(g.NeedsRender());
  EXPECT_EQ(g.Paint().Width(), 75);
  EXPECT_FALSE(g.NeedsRender());
  EXPECT_FALSE(g.SetBeginColor(0x800000));  // the same value: nothing to do
  EXPECT_FALSE(g.SetGradientStyle(G::gsVertical));
  EXPECT_FALSE(g.NeedsRender());
  g.SetWidth(120);  // noticed by the next paint
  EXPECT_TRUE(g.NeedsRender());
  EXPECT_EQ(g.Paint().Width(), 120);
  EXPECT_TRUE(g.SetStartAngle(45));
  EXPECT_TRUE(g.NeedsRender());
  g.Paint();
  EXPECT_TRUE(g.SetSteps(0));  // kept at 1
  EXPECT_EQ(g.Steps(), 1);
  EXPECT_TRUE(g.SetCtl3D(true));
  const TFastDIB& b = g.Paint();
  EXPECT_EQ(b.GetPixel(0, 0), MakePixel(128, 128, 128));
  EXPECT_EQ(b.GetPixel(74, 119), MakePixel(255, 255, 255));
  EXPECT_EQ(b.GetPixel(1, 5), MakePixel(0, 0, 0));
  EXPECT_EQ(b.GetPixel(73, 5), MakePixel(192, 192, 192));
  g.SetHeight(0);  // refused size: an empty bitmap, no crash
  EXPECT_TRUE(g.Paint().Empty());
  // The style box names.
  TGradientStyle s = G::gsVertical;
  EXPECT_TRUE(GradientStyleFromName("VertCenter", s));
  EXPECT_EQ(s, G::gsVertCenter);
  EXPECT_FALSE(GradientStyleFromName("vertcenter", s));
  EXPECT_STREQ(GradientStyleName(G::gsRadial2), "Radial2");
}

TEST(Designers, RainbowCornersAndFixedPoint) {
  TFastDIB t = test::Uniform(2, 2, {});
  Rainbow(t);
  EXPECT_EQ(t.GetPixel(0, 0), MakePixel(0, 0, 255));
  EXPECT_EQ(t.GetPixel(0, 1), MakePixel(255, 0, 255));
  EXPECT_EQ(t.GetPixel(1, 0), MakePixel(0, 255, 0));
  EXPECT_EQ(t.GetPixel(1, 1), MakePixel(64, 80, 148));
  // Per pixel from the row's 20-bit weights.
  const int corners[4][3] = {{0, 0, 255}, {255, 0, 255}, {0, 255, 0}, {64, 80, 148}};  // TL TR BL BR as RGB
  for (const auto& sz : {std::pair{1, 1}, std::pair{1, 7}, std::pair{7, 1}, std::pair{37, 19}}) {
    const int W = sz.first, H = sz.second;
    TFastDIB r = test::Uniform(W, H, {});
    Rainbow(r);
    const long long one = 1 << 20, dx = W > 1 ? one / (W - 1) : 0, dy = H > 1 ? one / (H - 1) : 0;
    for (int k = 0; k < H; ++k)
      for (int j = 0; j < W; ++j)
        for (int c = 0; c < 3; ++c) {
          const long long left = corners[0][c] * (one - k * dy) + corners[2][c] * (k * dy);
          const long long right = corners[1][c] * (one - k * dy) + corners[3][c] * (k * dy);
          const long long v = ((left >> 20 << 20) + j * (((right >> 20) - (left >> 20)) * dx)) >> 20;
          const TPixel24 p = r.GetPixel(k, j);
          ASSERT_EQ(c == 0 ? p.R : c == 1 ? p.G : p.B, v) << W << "x" << H << " " << j << "," << k;
        }
  }
}

TEST(Designers, ColorWheelFromTheAngleAndDistance) {
  TFastDIB w;
  ASSERT_TRUE(ColorWheel(w));
  ASSERT_EQ(w.Width(), 256);
  EXPECT_EQ(w.GetPixel(128, 128), MakePixel(255, 255, 255));
  EXPECT_EQ(w.GetPixel(128, 192), MakePixel(255, 0, 0));
  EXPECT_EQ(w.GetPixel(0, 0), MakePixel(0, 0, 0));
  EXPECT_EQ(w.GetPixel(128, 0), MakePixel(0, 0, 0));
  // Every pixel, with the angle from atan2 instead of the quadrant rule.
  for (int r = 0; r < 256; ++r)
    for (int c = 0; c < 256; ++c) {
      const int x = c - 128, y = r - 128;
      long long h = std::llrint(std::atan2(double(y), double(x)) * 192 / M_PI);
      h = ((h % 384) + 384) % 384;
      const double f = (h % 64) / 64.0;
      const double hues[6][3] = {{1, f, 0}, {1 - f, 1, 0}, {0, 1, f}, {0, 1 - f, 1}, {f, 0, 1}, {1, 0, 1 - f}};
      const double d = std::hypot(x, y) / 64;
      uint8_t want[3];
      for (int i = 0; i < 3; ++i) {
        const double v = hues[h / 64][i];
        want[i] = uint8_t(std::llrint(255 * (d < 1 ? 1 - d + v * d : d < 2 ? (2 - d) * v : 0)));
      }
      ASSERT_EQ(w.GetPixel(r, c), MakePixel(want[0], want[1], want[2])) << c << "," << r;
    }
}

TEST(Designers, MultiGradientRunsAndMarkers) {
  const uint32_t S = 0x102030, L = kMultiLeftColour, R = kMultiRightColour;
  TFastDIB t = test::Uniform(256, 3, {});
  PaintMultiGradient(t, S, L, R, 85, 170);
  EXPECT_EQ(t.GetPixel(2, 0), PixelFromColour(S));
  EXPECT_EQ(t.GetPixel(1, 85), PixelFromColour(L));
  EXPECT_EQ(t.GetPixel(0, 170), PixelFromColour(R));
  // The last column is within one band step of the side colour.
  EXPECT_LE(std::abs(t.GetPixel(0, 255).R - 0x30), 2);
  // Reference: all 453 bands drawn in order as rectangles over the side colour.
  auto md = [](long long a, long long b) { return std::llround(double(a) * b / 150); };
  for (const auto& pos : {std::pair{85, 170}, std::pair{0, 255}, std::pair{-40, 100}, std::pair{200, 90},
                          std::pair{INT_MIN, INT_MAX}})
    for (int W : {1, 7, 256}) {
      TFastDIB want = test::Uniform(W, 2, PixelFromColour(S));
      const long long from[3] = {0, pos.first, pos.second};
      const long long span[3] = {pos.first, (long long)pos.second - pos.first, W - (long long)pos.second};
      const uint32_t a[3] = {S, L, R}, b[3] = {L, R, S};
      for (int run = 0; run < 3; ++run)
        for (int i = 0; i <= 150; ++i) {
          const long long x0 = from[run] + md(i, span[run]), x1 = from[run] + md(i + 1, span[run]);
          auto ch = [&](int s) {
            const long long c1 = (a[run] >> s) & 255, c2 = (b[run] >> s) & 255;
            return uint8_t(c1 + md(i, c2 - c1));
          };
          const long long lo = std::max(0LL, std::min(x0, x1)), hi = std::min<long long>(W, std::max(x0, x1));
          if (lo < hi) FillRect(want, int(lo), 0, int(hi), 2, MakePixel(ch(0), ch(8), ch(16)));
        }
      TFastDIB got = test::Uniform(W, 2, {});
      PaintMultiGradient(got, S, L, R, pos.first, pos.second);
      EXPECT_TRUE(test::SamePixels(got, want)) << W << " " << pos.first << "," << pos.second;
    }
}
