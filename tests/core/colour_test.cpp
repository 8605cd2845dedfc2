#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "core/effects/colour.h"
#include "core/effects/colour_sliders.h"
#include "test_util.h"

using namespace vorq;

namespace {

// One row holding the given pixels over and over, at least 19 wide, so that
// each pixel lands both in the eight-pixel blocks and in the row's tail
// (and the row has gap bytes).
TFastDIB Strip(std::initializer_list<TPixel24> pixels) {
  const int n = int(pixels.size());
  const int reps = (19 + n - 1) / n + 1;
  TFastDIB s;
  s.SetSize(n * reps, 1, 24, 0);
  for (int r = 0; r < reps; ++r) {
    int x = 0;
    for (const TPixel24& p : pixels) s.SetPixel(0, r * n + x++, p);
  }
  return s;
}

TFastDIB Noise(int w, int h, uint32_t seed) { return test::Random(w, h, seed); }
bool Same(const TFastDIB& a, const TFastDIB& b) { return test::SamePixels(a, b); }

// Every copy of each pixel of a Strip holds the expected value.
::testing::AssertionResult StripIs(const TFastDIB& s, std::initializer_list<TPixel24> want) {
  int x = 0;
  for (const TPixel24& w : want) {
    for (int c = x; c < s.Width(); c += int(want.size()))
      if (!(s.GetPixel(0, c) == w))
        return ::testing::AssertionFailure() << "pixel " << x << " at column " << c << " is " << int(s.GetPixel(0, c).R)
                                             << "," << int(s.GetPixel(0, c).G) << "," << int(s.GetPixel(0, c).B);
    ++x;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

// Lighten's stated table entries; Brighten is c + round(c / 20), the halves at 10, 30, 50, 70, 90 going to the
// even neighbour. Both map each channel on its own.
TEST(ColourEffects, LightenAndBrightenAtStatedEntries) {
  const int lighten[][2] = {{0, 0}, {1, 2}, {8, 13}, {32, 44}, {64, 79}, {128, 142}, {192, 200}, {254, 254}};
  for (const auto& e : lighten) EXPECT_EQ(LightenTable()[size_t(e[0])], e[1]) << "entry " << e[0];
  const int brighten[][2] = {{0, 0}, {10, 10}, {30, 32}, {50, 52}, {70, 74}, {19, 20}, {242, 254}, {243, 255}};
  for (const auto& e : brighten) EXPECT_EQ(BrightenChannel(uint8_t(e[0])), e[1]) << "channel " << e[0];
  TFastDIB l = Strip({MakePixel(1, 64, 192), MakePixel(0, 255, 128)});
  TFastDIB b = Strip({MakePixel(10, 30, 50), MakePixel(70, 243, 255)});
  Lighten(l);
  Brighten(b);
  EXPECT_TRUE(StripIs(l, {MakePixel(2, 79, 200), MakePixel(0, 255, 142)}));
  EXPECT_TRUE(StripIs(b, {MakePixel(10, 32, 52), MakePixel(74, 255, 255)}));
}

TEST(ColourEffects, NegativeGrayEraseAndColorRotate) {
  TFastDIB img = Strip({MakePixel(0x12, 0x34, 0x56), MakePixel(0, 255, 7)});
  Negative(img);
  EXPECT_TRUE(StripIs(img, {MakePixel(0xED, 0xCB, 0xA9), MakePixel(255, 0, 248)}));

  // (77 R + 151 G + 28 B) >> 8: the pure primaries give 76, 150 and 27.
  TFastDIB g = Strip({MakePixel(255, 0, 0), MakePixel(0, 255, 0), MakePixel(0, 0, 255), MakePixel(255, 255, 255),
                      MakePixel(0, 0, 0), MakePixel(100, 50, 200)});
  GrayScaleSurface(g);
  const uint8_t mixed = uint8_t((77 * 100 + 151 * 50 + 28 * 200) >> 8);
  EXPECT_TRUE(StripIs(g, {MakePixel(76, 76, 76), MakePixel(150, 150, 150), MakePixel(27, 27, 27),
                          MakePixel(255, 255, 255), MakePixel(0, 0, 0), MakePixel(mixed, mixed, mixed)}));

  EraseToBlack(img);
  EXPECT_EQ(test::Count(img, MakePixel(0, 0, 0)), img.Width() * img.Height());
  const TPixel24 p = MakePixel(0x12, 0x34, 0x56);
  auto rotated = [&](int bits) {
    TFastDIB s = Strip({p, MakePixel(0, 0, 0x80)});
    ColorRotate(s, bits);
    return s;
  };
  // 8: blue to red, red to green, green to blue; 16 the reverse; 32 = 24 + 8.
  EXPECT_TRUE(StripIs(rotated(8), {MakePixel(0x56, 0x12, 0x34), MakePixel(0x80, 0, 0)}));
  EXPECT_TRUE(StripIs(rotated(16), {MakePixel(0x34, 0x56, 0x12), MakePixel(0, 0x80, 0)}));
  EXPECT_TRUE(StripIs(rotated(32), {MakePixel(0x56, 0x12, 0x34), MakePixel(0x80, 0, 0)}));
  for (int bits : {24, 0, -3}) EXPECT_TRUE(StripIs(rotated(bits), {p, MakePixel(0, 0, 0x80)})) << bits;
  // One bit: V = 0x563412 -> 0xAC6824; the top bit of blue re-enters at red's bit 0.
  EXPECT_TRUE(StripIs(rotated(1), {MakePixel(0x24, 0x68, 0xAC), MakePixel(0x01, 0, 0)}));
}

TEST(ColourEffects, ExchangeColorToleranceAndTint) {
  const uint32_t pen = 0x0A0AFA;  // (250, 10, 10)
  const uint32_t brush = 0x332211;
  const TPixel24 P = MakePixel(0x11, 0x22, 0x33);
  TFastDIB exact = Strip({MakePixel(250, 10, 10), MakePixel(251, 10, 10), MakePixel(250, 10, 9)});
  ExchangeColor(exact, pen, brush, 0);
  EXPECT_TRUE(StripIs(exact, {P, MakePixel(251, 10, 10), MakePixel(250, 10, 9)}));
  // Tolerance 20 around (250, 10, 10): red 230 .. 255, green and blue 0 .. 30.
  const TPixel24 in[] = {MakePixel(230, 0, 30), MakePixel(255, 30, 0), MakePixel(240, 15, 15)};
  const TPixel24 out[] = {MakePixel(229, 10, 10), MakePixel(250, 31, 10), MakePixel(250, 10, 31)};
  TFastDIB near = Strip({in[0], in[1], in[2], out[0], out[1], out[2]});
  ExchangeColor(near, pen, brush, 20);
  EXPECT_TRUE(StripIs(near, {P, P, P, out[0], out[1], out[2]}));
  // 255 reaches every value, in every row of both workers' shares; only the low 16 bits of the tolerance count.
  TFastDIB s = Noise(9, 40, 1);
  ExchangeColor(s, pen, brush, 255);
  EXPECT_EQ(test::Count(s, P), 9 * 40);
  TFastDIB t = Strip({MakePixel(250, 10, 10), MakePixel(249, 10, 10)});
  ExchangeColor(t, pen, brush, 0x10000);  // low bits 0: exact matches only
  EXPECT_TRUE(StripIs(t, {P, MakePixel(249, 10, 10)}));
  TFastDIB u = Strip({MakePixel(0, 255, 128)});
  ExchangeColor(u, pen, brush, -1);  // 0xFFFF
  EXPECT_TRUE(StripIs(u, {P}));
  // Tint.
  // White: grey with the value of the brightest channel.
  TFastDIB white = Strip({MakePixel(10, 200, 30), MakePixel(0, 0, 0), MakePixel(255, 1, 2), MakePixel(7, 7, 9)});
  Tint(white, 0xFFFFFF);
  EXPECT_TRUE(StripIs(white, {MakePixel(200, 200, 200), MakePixel(0, 0, 0), MakePixel(255, 255, 255), MakePixel(9, 9, 9)}));
  // (200, 100, 50): brightest 255 gives the colour itself; 128 gives
  // round(100.39), round(50.20), round(25.10).
  TFastDIB tinted = Strip({MakePixel(0, 255, 3), MakePixel(128, 0, 0), MakePixel(0, 0, 0)});
  Tint(tinted, 0x3264C8);
  EXPECT_TRUE(StripIs(tinted, {MakePixel(200, 100, 50), MakePixel(100, 50, 25), MakePixel(0, 0, 0)}));
}

TEST(ColourSliders, TablesAtStatedAmountsAndPerChannelPasses) {
  // Contrast: 126 is the last entry moved down, 127 the first moved up.
  const struct {
    ChannelTable (*table)(int);
    int amount, entry, value;
  } stated[] = {{LightnessTable, 255, 0, 254},     {LightnessTable, 255, 255, 255},   {LightnessTable, -255, 255, 1},
                {LightnessTable, -255, 0, 0},      {LightnessTable, 100, 100, 160},   {ContrastTable, 255, 0, 0},
                {ContrastTable, 255, 100, 73},     {ContrastTable, -255, 0, 127},     {ContrastTable, -255, 255, 129},
                {ContrastTable, 255, 126, 125},    {ContrastTable, -255, 126, 127},   {ContrastTable, 255, 130, 131},
                {ChannelShiftTable, 45, 100, 145}, {ChannelShiftTable, 45, 220, 255}, {ChannelShiftTable, -45, 30, 0},
                {ChannelShiftTable, -1000, 255, 0}, {ChannelShiftTable, 1000, 0, 255}};
  for (const auto& t : stated) EXPECT_EQ(t.table(t.amount)[size_t(t.entry)], t.value) << t.amount << " " << t.entry;
  TFastDIB s = Strip({MakePixel(0, 100, 255)});
  ApplyLightness(s, 255, 0, -255);
  EXPECT_TRUE(StripIs(s, {MakePixel(254, 100, 1)}));
  TFastDIB c = Strip({MakePixel(100, 0, 255)});
  ApplyContrast(c, 255, -255, -255);
  EXPECT_TRUE(StripIs(c, {MakePixel(73, 127, 129)}));
  TFastDIB r = Strip({MakePixel(0, 0, 0), MakePixel(100, 100, 100), MakePixel(250, 250, 250)});
  ApplyChannelShift(r, 45, 0, -10);
  EXPECT_TRUE(StripIs(r, {MakePixel(45, 0, 0), MakePixel(145, 100, 90), MakePixel(255, 250, 240)}));
}

TEST(ColourSliders, Saturation) {
  // Against the stated tables: W[k] = ((k + 1) S) >> 8, grey a - W[a] of the plain (truncated) average a;
  // at 0 every channel is that average, not the weighted grey.
  const TFastDIB n = Noise(63, 40, 3);  // 40 rows: shared between two workers
  for (int S : {0, 100, 255, 400, 510}) {
    TFastDIB img = test::Clone(n), ref = test::Clone(n);
    ApplySaturation(img, S);
    auto W = [S](int k) { return ((k + 1) * S) >> 8; };
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 63; ++x) {
        TPixel24 p = n.GetPixel(y, x);
        const int a = (p.R + p.G + p.B) / 3, g = a - W(a);
        for (uint8_t* c : {&p.R, &p.G, &p.B}) *c = uint8_t(std::clamp(W(*c) + g, 0, 255));
        ref.SetPixel(y, x, p);
      }
    EXPECT_TRUE(Same(img, ref)) << S;
  }
  // Out-of-range amounts are limited to 0 .. 510.
  TFastDIB u = Strip({MakePixel(200, 100, 0), MakePixel(255, 255, 255)});
  ApplySaturation(u, -40);
  EXPECT_TRUE(StripIs(u, {MakePixel(100, 100, 100), MakePixel(255, 255, 255)}));  // white: 765 / 3 = 255
}

TEST(ColourSliders, ChainMatchesThePassesInOrder) {
  const SliderAmounts cases[] = {
      {0, 0, 255, 0, 0, 0},       {-30, 60, 300, 5, -5, 20}, {255, 255, 0, -255, 255, 0},
      {-255, -255, 510, 0, 0, 0}, {0, 0, 255, 0, 0, 20}};  // the last: blue alone
  const TFastDIB src = Noise(203, 40, 11);
  for (const SliderAmounts& a : cases) {
    TFastDIB expected;
    CopySurface(src, expected);
    if (a.Lightness != 0) ApplyLightness(expected, a.Lightness, a.Lightness, a.Lightness);
    if (a.Contrast != 0) ApplyContrast(expected, a.Contrast, a.Contrast, a.Contrast);
    ApplySaturation(expected, a.Saturation);
    ApplyChannelShift(expected, a.Red, a.Green, a.Blue);
    TFastDIB out;
    ApplySliderChain(src, out, a);
    EXPECT_TRUE(Same(out, expected)) << a.Lightness << " " << a.Contrast << " " << a.Saturation << " " << a.Red;
    TFastDIB inPlace;
    CopySurface(src, inPlace);
    ApplySliderChain(inPlace, inPlace, a);
    EXPECT_TRUE(Same(inPlace, expected));
  }
}
