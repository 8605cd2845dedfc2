#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "core/gradients/designers.h"
#include "core/gradients/gradient.h"
#include "core/raster/fill.h"
#include "core/raster/pen.h"
#include "test_util.h"

using namespace vorq;

namespace {

using G = TGradientStyle;
const TPixel24 kNavy = MakePixel(0, 0, 128), kAqua = MakePixel(0, 255, 255);

TFastDIB Render(int w, int h, GradientParams p) {
  TFastDIB t = test::Uniform(w, h, MakePixel(1, 2, 3));
  RenderGradient(t, p);
  return t;
}

// Channel at bit s of a colour; step k of n per channel, from the colour arithmetic.
int Ch(uint32_t c, int s) { return int(c >> s & 255); }
TPixel24 Step(uint32_t a, uint32_t b, long long k, long long n) {
  auto ch = [&](int s) { return uint8_t(Ch(a, s) + k * (Ch(b, s) - Ch(a, s)) / n); };
  return MakePixel(ch(0), ch(8), ch(16));
}

}  // namespace

TEST(Gradient, BandAndCentreStylesPaintedInOrder) {
  GradientParams p;  // navy to aqua, vertical, 255 steps
  TFastDIB v = Render(256, 256, p);
  EXPECT_EQ(v.GetPixel(0, 17), kNavy);
  EXPECT_EQ(v.GetPixel(255, 3), kAqua);
  EXPECT_EQ(v.GetPixel(128, 200), MakePixel(0, 128, 191));
  // Bands i = 0 .. Steps, and rows i and H - i, drawn one after the other.
  p.BeginColor = 0x10F020;
  p.EndColor = 0xF0100A;
  for (int steps : {1, 2, 7, 255, 1000})
    for (const auto& [W, H] : {std::pair{1, 1}, {1, 3}, {3, 1}, {5, 3}, {6, 4}, {37, 19}}) {
      TFastDIB wantH = test::Uniform(W, H, {}), wantV = test::Uniform(W, H, {}), wantC = test::Uniform(W, H, {});
      TFastDIB wantHC = test::Uniform(W, H, {});
      for (long long i = 0; i <= steps; ++i) {
        const TPixel24 c = Step(p.BeginColor, p.EndColor, i, steps);
        FillRect(wantH, int(i * W / (steps + 1)), 0, int((i + 1) * W / (steps + 1)), H, c);
        FillRect(wantV, 0, int(i * H / (steps + 1)), W, int((i + 1) * H / (steps + 1)), c);
      }
      for (int i = 0; i <= H / 2; ++i) {
        const TPixel24 c = H < 2 ? PixelFromColour(p.BeginColor) : Step(p.BeginColor, p.EndColor, i, H / 2);
        FillRect(wantC, 0, i, W, i + 1, c);
        FillRect(wantC, 0, H - i, W, H - i + 1, c);
      }
      for (int i = 0; i <= W / 2; ++i) {
        const TPixel24 c = W < 2 ? PixelFromColour(p.BeginColor) : Step(p.BeginColor, p.EndColor, i, W / 2);
        FillRect(wantHC, i, 0, i + 1, H, c);
        FillRect(wantHC, W - i, 0, W - i + 1, H, c);
      }
      p.Steps = steps;
      for (const auto& [style, want] :
           {std::pair{G::gsHorizontal, &wantH}, {G::gsVertical, &wantV}, {G::gsVertCenter, &wantC},
            {G::gsHorizCenter, &wantHC}}) {
        p.Style = style;
        EXPECT_TRUE(test::SamePixels(Render(W, H, p), *want)) << int(style) << " " << W << "x" << H << " " << steps;
      }
    }
}

TEST(Gradient, ShapeStylesAreTheirShapesDrawnInOrderFromTheStartAngle) {
  GradientParams p;
  p.BeginColor = 0x2040F0;
  p.EndColor = 0xE0C010;
  p.StartAngle = 17;
  for (const auto& [W, H] : {std::pair{64, 48}, std::pair{37, 19}, std::pair{600, 9}}) {
    // Rectangles shrinking by W / 2 / 255 a side, corner order free; the
    // places none reaches keep the begin colour.
    const TFastDIB begin = test::Uniform(W, H, PixelFromColour(p.BeginColor));
    TFastDIB rect = test::Clone(begin), ell = test::Clone(begin), rad = test::Clone(begin);
    double x1 = 0, y1 = 0, x2 = W + 2, y2 = H + 2;
    for (int i = 0; i <= 255; ++i) {
      x1 += W / 2.0 / 255, y1 += H / 2.0 / 255, x2 -= W / 2.0 / 255, y2 -= H / 2.0 / 255;
      FillRect(rect, int(x1), int(y1), int(x2), int(y2), Step(p.BeginColor, p.EndColor, i, 255));
    }
    // 156 ellipses from a quarter beyond each side, steps of 155.
    x1 = -W / 4.0, x2 = W + W / 4.0 + 4, y1 = -H / 4.0, y2 = H + H / 4.0 + 4;
    for (int i = 0; i <= 155; ++i) {
      x1 += (W / 4.0 + W / 2.0) / 155, x2 -= (W / 4.0 + W / 2.0) / 155;
      y1 += (H / 4.0 + H / 2.0) / 155, y2 -= (H / 4.0 + H / 2.0) / 155;
      FillEllipse(ell, int(x1), int(y1), int(x2), int(y2), Step(p.BeginColor, p.EndColor, i, 155));
    }
    // 360 two-degree pies from StartAngle: there and back (Radial1) or in
    // four quarter-turns (Radial2).
    const int S = p.StartAngle, r = std::max(W, H) / 2;
    auto px = [&](int a) { return W / 2 + int(std::nearbyint(r * std::sin(a * M_PI / 180))); };
    auto py = [&](int a) { return H / 2 - int(std::nearbyint(r * std::cos(a * M_PI / 180))); };
    TFastDIB rad2 = test::Clone(begin);
    for (int a = S; a <= S + 359; ++a) {
      const int q = (a - S) / 90, j = (a - S) % 90;
      FillPie(rad, -(W / 4), -(H / 4), W + W / 4, H + H / 4, px(a), py(a), px(a + 2), py(a + 2),
              Step(p.BeginColor, p.EndColor, a < S + 180 ? a - S : S + 359 - a, 180));
      FillPie(rad2, -(W / 4), -(H / 4), W + W / 4, H + H / 4, px(a), py(a), px(a + 2), py(a + 2),
              Step(p.BeginColor, p.EndColor, q % 2 == 0 ? j : 89 - j, 90));
    }
    for (const auto& [style, want] :
         {std::pair{G::gsRectangle, &rect}, {G::gsElliptic, &ell}, {G::gsRadial1, &rad}, {G::gsRadial2, &rad2}}) {
      p.Style = style;
      EXPECT_TRUE(test::SamePixels(Render(W, H, p), *want)) << int(style) << " " << W << "x" << H;
    }
  }
  // StartAngle 90 begins the sweep at 3 o'clock: just above it the begin
  // colour, at 9 o'clock nearly the end colour.
  const TFastDIB right = Render(256, 256, GradientParams{0x800000, 0xFFFF00, G::gsRadial1, 255, false, 90});
  EXPECT_EQ(right.GetPixel(127, 250), kNavy);
  EXPECT_GE(right.GetPixel(127, 5).G, 245);
  // A negative start angle is the same turn as its positive remainder.
  for (G style : {G::gsRadial1, G::gsRadial2})
    for (const auto& [neg, pos] : {std::pair{-90, 270}, {-30, 330}, {-360, 0}, {-450, 270}}) {
      GradientParams a{0x0A1420, 0xC8B4A0, style, 255, false, neg}, b = a;
      b.StartAngle = pos;
      EXPECT_TRUE(test::SamePixels(Render(37, 19, a), Render(37, 19, b))) << int(style) << " " << neg;
    }
}

TEST(Gradient, EveryStyleStaysBetweenItsColoursWhateverTheValues) {
  // One colour gives a uniform bitmap; any size, step count or angle keeps
  // every channel between the two colours and reaches every pixel.
  for (int style = 0; style < 8; ++style)
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{7, 1}, std::pair{2, 2}, std::pair{37, 19}})
      for (int v : {0, 1, -1, 2, INT_MAX, INT_MIN}) {
        GradientParams p{0x123456, 0x123456, G(style), v, false, v};
        EXPECT_EQ(test::Count(Render(w, h, p), MakePixel(0x56, 0x34, 0x12)), w * h);
        p.BeginColor = 0x0A1420;
        p.EndColor = 0xC8B4A0;
        const TFastDIB t = Render(w, h, p);
        p.Steps = std::max(v, 1);  // fewer than one step act as one
        EXPECT_TRUE(test::SamePixels(Render(w, h, p), t)) << style << " " << w << "x" << h << " v " << v;
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            const TPixel24 c = t.GetPixel(y, x);
            ASSERT_TRUE(c.R >= 0x20 && c.R <= 0xA0 && c.G >= 0x14 && c.G <= 0xB4 && c.B >= 0x0A && c.B <= 0xC8)
                << style << " " << x << "," << y << " v " << v;
          }
      }
}

TEST(Gradient, ControlRendersOnlyAfterAChange) {
  TVorqGradient g;
  EXPECT_EQ(g.Paint().Width(), 75);
  EXPECT_FALSE(g.SetBeginColor(0x800000));  // the value it has: nothing to render
  EXPECT_FALSE(g.NeedsRender());
  g.SetWidth(120);  // noticed by the next paint
  EXPECT_TRUE(g.NeedsRender());
  EXPECT_TRUE(g.SetSteps(0) && g.Steps() == 1);
  EXPECT_TRUE(g.SetCtl3D(true));
  for (int k = 0; k < 3; ++k) {  // each change asks for a new render
    g.Paint();
    EXPECT_TRUE((k == 0 ? g.SetEndColor(0x123456) : k == 1 ? g.SetGradientStyle(G::gsRadial1) : g.SetStartAngle(30)) &&
                g.NeedsRender());
  }
  g.SetHeight(0);  // a refused size leaves an empty bitmap
  EXPECT_TRUE(g.Paint().Empty());
  // The style box's items in their order, each naming its style.
  const std::pair<const char*, G> items[] = {{"Vertical", G::gsVertical},   {"VertCenter", G::gsVertCenter},
                                             {"Horizontal", G::gsHorizontal}, {"HorizCenter", G::gsHorizCenter},
                                             {"Rectangle", G::gsRectangle}, {"Elliptic", G::gsElliptic},
                                             {"Radial1", G::gsRadial1},     {"Radial2", G::gsRadial2}};
  for (int i = 0; i < 8; ++i) {
    TGradientStyle s = G::gsHorizontal;
    EXPECT_TRUE(GradientStyleFromName(items[i].first, s) && s == items[i].second) << i;
    EXPECT_STREQ(kGradientStyleItems[i], items[i].first);
    EXPECT_STREQ(GradientStyleName(items[i].second), items[i].first);
  }
  TGradientStyle s = G::gsVertical;
  EXPECT_FALSE(GradientStyleFromName("vertcenter", s));
}

TEST(Designers, RainbowCornersAndFixedPoint) {
  // 2 x 2 gives the corners themselves; every size follows the row weights.
  const int corners[4][3] = {{255, 0, 0}, {255, 0, 255}, {0, 255, 0}, {148, 80, 64}};  // TL TR BL BR as B, G, R
  for (const auto& [W, H] : {std::pair{2, 2}, std::pair{1, 1}, std::pair{1, 7}, std::pair{7, 1}, std::pair{37, 19}}) {
    TFastDIB r = test::Uniform(W, H, {});
    Rainbow(r);
    const long long one = 1 << 20, dx = W > 1 ? one / (W - 1) : 0, dy = H > 1 ? one / (H - 1) : 0;
    for (int k = 0; k < H; ++k)
      for (int j = 0; j < W; ++j)
        for (int c = 0; c < 3; ++c) {
          const long long left = corners[0][c] * (one - k * dy) + corners[2][c] * (k * dy);
          const long long right = corners[1][c] * (one - k * dy) + corners[3][c] * (k * dy);
          const long long v = ((left >> 20 << 20) + j * (((right >> 20) - (left >> 20)) * dx)) >> 20;
          ASSERT_EQ((&r.Row24(k)[j].B)[c], v) << W << "x" << H << " " << j << "," << k;
        }
  }
}

TEST(Designers, ColorWheelFromTheAngleAndDistance) {
  TFastDIB w;
  ASSERT_TRUE(ColorWheel(w) && w.Width() == 256 && w.Height() == 256);
  // White centre, red 64 pixels right of it, black from radius 128 on.
  EXPECT_TRUE(w.GetPixel(128, 128) == MakePixel(255, 255, 255) && w.GetPixel(128, 192) == MakePixel(255, 0, 0));
  EXPECT_TRUE(w.GetPixel(128, 0) == MakePixel(0, 0, 0) && w.GetPixel(255, 255) == MakePixel(0, 0, 0));
  // Radius 64: hue steps 96 (below), 192 (left), 288 (above); radius 32: red and white.
  EXPECT_TRUE(w.GetPixel(192, 128) == MakePixel(128, 255, 0) && w.GetPixel(128, 64) == MakePixel(0, 255, 255));
  EXPECT_TRUE(w.GetPixel(64, 128) == MakePixel(128, 0, 255) && w.GetPixel(128, 160) == MakePixel(255, 128, 128));
  // Up and right (angle -45 degrees, hue step -48 + 384 = 336), d = 1.414.
  EXPECT_EQ(w.GetPixel(64, 192), MakePixel(149, 0, 112));
}

TEST(Designers, MultiGradientRunsAndMarkers) {
  const uint32_t S = 0x102030, L = kMultiLeftColour, R = kMultiRightColour;
  // All 453 bands as rectangles in order over the side colour: the side colour at 0, the left and right
  // colours at their positions.
  auto md = [](long long a, long long b) { return std::llround(double(a) * b / 150); };
  for (const auto& [p1, p2] : {std::pair{85, 170}, {-40, 100}, {200, 90}, {INT_MIN, INT_MAX}})
    for (int W : {1, 7, 256}) {
      TFastDIB want = test::Uniform(W, 2, PixelFromColour(S)), got = test::Uniform(W, 2, {});
      const long long from[3] = {0, p1, p2}, span[3] = {p1, (long long)p2 - p1, W - (long long)p2};
      const uint32_t col[4] = {S, L, R, S};  // run r goes from col[r] to col[r + 1]
      for (int run = 0; run < 3; ++run)
        for (int i = 0; i <= 150; ++i) {
          const long long x0 = from[run] + md(i, span[run]), x1 = from[run] + md(i + 1, span[run]);
          auto ch = [&](int s) { return uint8_t(Ch(col[run], s) + md(i, Ch(col[run + 1], s) - Ch(col[run], s))); };
          const long long lo = std::max(0LL, std::min(x0, x1)), hi = std::min<long long>(W, std::max(x0, x1));
          if (lo < hi) FillRect(want, int(lo), 0, int(hi), 2, MakePixel(ch(0), ch(8), ch(16)));
        }
      PaintMultiGradient(got, S, L, R, p1, p2);
      EXPECT_TRUE(test::SamePixels(got, want)) << W << " " << p1 << "," << p2;
    }
}
