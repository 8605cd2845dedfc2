#include <gtest/gtest.h>

#include <cstring>

#include "core/surface/fast_dib.h"

using namespace vorq;

namespace {
// A surface whose pixel (x, y) is (x, y, x + y) and whose gap bytes are 0xEE.
TFastDIB Numbered(int w, int h) {
  TFastDIB s;
  s.SetSize(w, h, 24, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s.SetPixel(y, x, MakePixel(uint8_t(x), uint8_t(y), uint8_t(x + y)));
    std::memset(s.Row(y) + 3 * w, 0xEE, size_t(s.Gap));
  }
  return s;
}
TPixel24 At(const TFastDIB& s, int x, int y) { return s.GetPixel(y, x); }
}  // namespace

TEST(Surface, LayoutAndSetSize) {
  struct Case { int w, bpr, gap; } cases[] = {{1, 4, 1}, {5, 16, 1}, {256, 768, 0}, {3, 12, 3}, {4, 12, 0}};
  for (auto c : cases) {
    TFastDIB s;
    ASSERT_TRUE(s.SetSize(c.w, 3, 24, 0));
    EXPECT_EQ(s.BytesPerRow, uint32_t(c.bpr)) << c.w;
    EXPECT_EQ(s.Gap, c.gap) << c.w;
    EXPECT_EQ(s.RowTable[2], s.Bits + 2 * c.bpr);
  }
  // Bytes are blue, green, red.
  TFastDIB s;
  s.SetSize(2, 1, 24, 0);
  s.SetPixel(0, 1, MakePixel(10, 20, 30));
  EXPECT_TRUE(s.Bits[3] == 30 && s.Bits[4] == 20 && s.Bits[5] == 10);
  s = Numbered(4, 3);
  s.SetSize(4, 3, 24, 0);
  EXPECT_EQ(At(s, 3, 2), MakePixel(3, 2, 5));
  s.SetSize(4, 4, 24, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(s, x, y), MakePixel(0, 0, 0));
  // Absurd sizes are refused and leave an empty surface.
  EXPECT_FALSE(s.SetSize(20000, 10, 24, 0));
  EXPECT_FALSE(s.SetSize(16384, 16385, 24, 0));
  EXPECT_TRUE(s.Empty());
  EXPECT_TRUE(s.SetSize(0, 0, 0, 0));
}

TEST(Surface, FlipsAndWrapShiftMoveWholePixelsAndKeepGaps) {
  TFastDIB s = Numbered(5, 3);
  s.FlipHorizontal();
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(At(s, x, y), MakePixel(uint8_t(4 - x), uint8_t(y), uint8_t(4 - x + y)));
    EXPECT_EQ(s.Row(y)[15], 0xEE);
  }
  s.FlipHorizontal();
  s.FlipVertical();
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(At(s, x, 0), MakePixel(uint8_t(x), 2, uint8_t(x + 2)));
    EXPECT_EQ(At(s, x, 1), MakePixel(uint8_t(x), 1, uint8_t(x + 1)));  // the middle row stays
  }
  TFastDIB up = Numbered(5, 10);
  up.WrapShift(0, -1);  // the bottom row comes to the top
  EXPECT_EQ(At(up, 2, 0), MakePixel(2, 9, 11));
  EXPECT_EQ(At(up, 2, 1), MakePixel(2, 0, 2));

  TFastDIB a = Numbered(5, 4), b = Numbered(5, 4), ref = Numbered(5, 4);
  a.WrapShift(5, 0);
  EXPECT_EQ(std::memcmp(a.Bits, ref.Bits, ref.ImageSize()), 0);
  a.WrapShift(3 * 5 + 2, 0);
  b.WrapShift(2, 0);
  EXPECT_EQ(std::memcmp(a.Bits, b.Bits, ref.ImageSize()), 0);
  // Column 2 becomes column 0; the gap byte stays.
  EXPECT_TRUE(At(a, 0, 1) == MakePixel(2, 1, 3) && At(a, 3, 1) == MakePixel(0, 1, 1) && a.Row(1)[15] == 0xEE);
  // Down-left by negative amounts.
  TFastDIB c = Numbered(5, 4);
  c.WrapShift(-1, 2);
  EXPECT_EQ(At(c, 0, 0), MakePixel(4, 2, 6));
}

TEST(Surface, DrawingBetweenSurfaces) {
  TFastDIB src = Numbered(3, 2);
  TFastDIB dst;
  dst.SetSize(10, 5, 24, 0);
  src.TileDraw(dst, 0, 0, 10, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(At(dst, x, y), At(src, x % 3, y % 2)) << x << "," << y;

  // Stretching drops or repeats whole pixels, never blends.
  TFastDIB big;
  big.SetSize(6, 4, 24, 0);
  src.StretchDraw(big, 0, 0, 6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(At(big, x, y), At(src, x / 2, y / 2));
  TFastDIB small;
  small.SetSize(2, 1, 24, 0);
  Numbered(4, 2).StretchDraw(small, 0, 0, 2, 1);
  EXPECT_EQ(At(small, 1, 0), MakePixel(2, 0, 2));

  // Parts and whole copies are clipped to the target.
  TFastDIB t;
  t.SetSize(4, 4, 24, 0);
  src.DrawPart(t, 2, 3, 3, 2, 1, 0);
  EXPECT_TRUE(At(t, 2, 3) == At(src, 1, 0) && At(t, 3, 3) == At(src, 2, 0) && At(t, 1, 3) == MakePixel(0, 0, 0));
  src.Draw(t, -1, -1);
  EXPECT_EQ(At(t, 0, 0), At(src, 1, 1));
}

// Storage is kept when a new size needs between half and all of it: SetSize
// still gives black pixels, Reshape leaves them but clears the gap bytes.
TEST(Surface, StorageKeptAcrossSizesClearsWhatItMust) {
  TFastDIB s = Numbered(8, 8);  // 24 bytes a row, 192 in all
  const uint8_t* bits = s.Bits;
  ASSERT_TRUE(s.SetSize(7, 8, 24, 0));  // 21 + 3 gap bytes a row: the same 192
  EXPECT_EQ(s.Bits, bits);
  for (int y = 0; y < 8; ++y)
    for (uint32_t i = 0; i < s.BytesPerRow; ++i) ASSERT_EQ(s.Row(y)[i], 0) << i << "," << y;

  s = Numbered(8, 8);
  bits = s.Bits;
  std::memset(s.Bits, 0xAB, s.ImageSize());
  ASSERT_TRUE(s.Reshape(5, 6));  // 16 bytes a row, 96 in all
  EXPECT_TRUE(s.Bits == bits && s.BytesPerRow == 16u && s.RowTable[5] == s.Bits + 80);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(s.Row(y)[15], 0) << "gap byte of row " << y;
  ASSERT_TRUE(s.Reshape(1, 1));  // far smaller: fresh memory
  EXPECT_EQ(s.Row(0)[3], 0);
  ASSERT_TRUE(s.Reshape(30, 3));  // larger
  EXPECT_EQ(s.Gap, 2);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(s.Row(y)[90] | s.Row(y)[91], 0);
  EXPECT_FALSE(s.Reshape(0, 5));
  EXPECT_TRUE(s.Empty());

  // A large surface starts on a huge-page boundary and is black.
  TFastDIB big;
  ASSERT_TRUE(big.SetSize(1201, 1200, 24, 0));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(big.Bits) % (uintptr_t(2) << 20), 0u);
  big.SetPixel(1199, 1200, MakePixel(1, 2, 3));
  bits = big.Bits;
  ASSERT_TRUE(big.SetSize(1100, 1101, 24, 0));
  EXPECT_EQ(big.Bits, bits);
  for (int y = 0; y < big.Height(); ++y)
    for (uint32_t i = 0; i < big.BytesPerRow; ++i) ASSERT_EQ(big.Row(y)[i], 0);
}

TEST(Surface, SwapCopyAndGapBytes) {
  TFastDIB a = Numbered(5, 3), b = Numbered(2, 7);
  a.Swap(b);
  EXPECT_EQ(At(a, 1, 6), MakePixel(1, 6, 7));
  EXPECT_EQ(At(b, 4, 2), MakePixel(4, 2, 6));
  // A copy into kept storage carries the gap bytes too.
  TFastDIB c = Numbered(6, 3);
  CopySurface(b, c);
  EXPECT_EQ(c.Row(2)[15], 0xEE);
  EXPECT_EQ(At(c, 4, 2), MakePixel(4, 2, 6));
  TFastDIB d;
  d.Reshape(5, 3);
  CopyGapBytes(b, d);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(d.Row(y)[15], 0xEE);
}
