#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

#include "core/effects/bevels.h"
#include "core/raster/palette.h"
#include "test_util.h"

using namespace vorq;
using test::Clone;
using test::Random;
using test::SamePixels;

namespace {

constexpr int kShapes[][2] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {5, 3}, {8, 8}, {37, 19}};
constexpr TPixel24 kWhite{255, 255, 255}, kBlack{0, 0, 0}, kGrey{128, 128, 128};

// a * b / c rounded half away from zero, through long double.
int RefMulDiv(int64_t a, int b, int64_t c) { return int(std::llround((long double)(a * b) / (long double)c)); }

uint8_t& Ch(TFastDIB& s, int x, int y, int c) { return s.Row(y)[3 * x + c]; }

// The four strips as described, one pixel at a time; E >= 2.
TFastDIB RefButtonize(const TFastDIB& in, int64_t E, TPixel24 S, TPixel24 L) {
  TFastDIB out = Clone(in);
  const int64_t W = in.Width(), H = in.Height();
  const uint8_t *s = &S.B, *l = &L.B;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (int64_t i = x - (W - E); i >= 0 && i < E)
        for (int c = 0; c < 3; ++c) Ch(out, x, y, c) += RefMulDiv(i, s[c] - Ch(out, x, y, c), E - 1);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W && x < E; ++x)
      for (int c = 0; c < 3; ++c) Ch(out, x, y, c) = uint8_t(l[c] + RefMulDiv(x, Ch(out, x, y, c) - l[c], E - 1));
  for (int y = 0; y < H; ++y)
    if (int64_t j = y - (H - E); j >= 0 && j < E)
      for (int x = 0; x < W; ++x)
        if (x >= E - j && x <= W - E + j - 1)
          for (int c = 0; c < 3; ++c) Ch(out, x, y, c) += RefMulDiv(j, s[c] - Ch(out, x, y, c), E - 1);
  for (int j = 0; j < H && j < E; ++j)
    for (int x = int(j); x <= W - 1 - j; ++x)
      for (int c = 0; c < 3; ++c) Ch(out, x, j, c) = uint8_t(l[c] + RefMulDiv(j, Ch(out, x, j, c) - l[c], E - 1));
  return out;
}

// Trace literally: the bordered picture, N passes, marks cut out. key()
// stands for the palette index of a colour.
template <typename Key>
TFastDIB RefTrace(const TFastDIB& in, int N, TPixel24 mark, Key key) {
  const int W = in.Width(), H = in.Height(), BW = W + 2, BH = H + 2;
  std::vector<TPixel24> marks(size_t(BW * BH));
  std::vector<uint32_t> idx(size_t(BW * BH));
  for (int y = 0; y < BH; ++y)
    for (int x = 0; x < BW; ++x) {
      marks[size_t(y * BW + x)] = in.GetPixel((y + H - 1) % H, (x + W - 1) % W);
      idx[size_t(y * BW + x)] = key(marks[size_t(y * BW + x)]);
    }
  uint32_t ref = 0;
  bool found = false;
  auto check = [&](int x, int y, int nx, int ny) {
    const uint32_t p = idx[size_t(y * BW + x)], q = idx[size_t(ny * BW + nx)];
    if (q == p) return;
    if (!found) {
      ref = q;
      found = true;
      marks[size_t(y * BW + x)] = mark;
    } else {
      marks[size_t(p == ref ? ny * BW + nx : y * BW + x)] = mark;
    }
  };
  for (int pass = 1; pass <= N; ++pass) {
    for (int y = 0; y <= H; ++y)
      for (int x = 0; x <= W; ++x) check(x, y, x + 1, y), check(x, y, x, y + 1);
    if (pass >= 2)
      for (int y = H + 1; y >= 1; --y)
        for (int x = W + 1; x >= 1; --x) check(x, y, x - 1, y), check(x, y, x, y - 1);
  }
  TFastDIB out = Clone(in);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) out.SetPixel(y, x, marks[size_t((y + 1) * BW + x + 1)]);
  return out;
}

uint32_t Exact(TPixel24 p) { return uint32_t(p.R) << 16 | uint32_t(p.G) << 8 | p.B; }
uint32_t Cut332(TPixel24 p) { return uint32_t(p.R / 32) * 100 + uint32_t(p.G / 32) * 10 + p.B / 64; }

// Noise of a few colours (fewer than 256 distinct).
TFastDIB FewColours(int w, int h, uint32_t seed, int n) {
  TFastDIB s = Random(w, h, seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int k = s.Row(y)[3 * x] % n;
      s.SetPixel(y, x, MakePixel(uint8_t(40 * k), uint8_t(255 - 30 * k), uint8_t(k * k)));
    }
  return s;
}

TEST(Buttonize, EdgeSizeTwoOnWhite) {
  for (const auto& sz : kShapes) {
    const int W = sz[0], H = sz[1];
    TFastDIB img = test::Uniform(W, H, kWhite);
    Buttonize(img, 2, 0x000000, 0x808080);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const TPixel24 want = (y == 0 || x == 0) ? kGrey : (x == W - 1 || y == H - 1) ? kBlack : kWhite;
        ASSERT_EQ(img.GetPixel(y, x), want) << W << "x" << H << " at " << x << "," << y;
      }
  }
}

TEST(Buttonize, MatchesTheStripsAsDescribed) {
  const TPixel24 S = MakePixel(10, 200, 40), L = MakePixel(250, 3, 128);
  uint32_t seed = 1;
  for (const auto& sz : kShapes)
    for (int E : {2, 3, 5, 20, sz[0] / 2 + 1, sz[0], sz[0] + 3, INT_MAX}) {
      if (E < 2) continue;
      const TFastDIB in = Random(sz[0], sz[1], ++seed);
      TFastDIB out = Clone(in);
      Buttonize(out, E, 0x28C80A, 0x8003FA);
      EXPECT_TRUE(SamePixels(out, RefButtonize(in, E, S, L))) << sz[0] << "x" << sz[1] << " E " << E;
    }
}

TEST(Buttonize, EdgeSizeOneDrawsTheOuterFrameAndNonPositiveNothing) {
  for (const auto& sz : kShapes) {
    const TFastDIB in = Random(sz[0], sz[1], 7, true);
    TFastDIB one = Clone(in), two = Clone(in);
    Buttonize(one, 1, 0x123456, 0xABCDEF);
    Buttonize(two, 2, 0x123456, 0xABCDEF);
    EXPECT_TRUE(SamePixels(one, two, true));
    for (int E : {0, -1, INT_MIN}) {
      TFastDIB same = Clone(in);
      Buttonize(same, E, 0x123456, 0xABCDEF);
      EXPECT_TRUE(SamePixels(same, in, true));
    }
  }
}

TEST(ReduceTo256, EqualColoursEqualIndicesAndFewColoursKept) {
  std::vector<uint8_t> idx;
  TFastDIB few = FewColours(37, 19, 3, 200);
  TPalette256 pal = ReduceTo256(few, idx);
  std::map<uint32_t, uint8_t> seen;
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 37; ++x) {
      const uint8_t i = idx[size_t(y * 37 + x)];
      ASSERT_EQ(pal.Colours[i], few.GetPixel(y, x));
      ASSERT_TRUE(seen.emplace(Exact(few.GetPixel(y, x)), i).first->second == i);
    }
  EXPECT_EQ(pal.Count, int(seen.size()));
  // 257 colours: the fixed 3-3-2 cut.
  TFastDIB many = Random(257, 1, 9);
  for (int x = 0; x < 257; ++x) many.SetPixel(0, x, MakePixel(uint8_t(x), uint8_t(x / 2), uint8_t(x == 256)));
  pal = ReduceTo256(many, idx);
  EXPECT_EQ(pal.Count, 256);
  for (int x = 0; x < 257; ++x) EXPECT_EQ(idx[size_t(x)], (x & 0xE0) | (x / 64 << 2));
  EXPECT_EQ(ReduceTo256(TFastDIB(), idx).Count, 0);
  EXPECT_TRUE(idx.empty());
}

TEST(Trace, SingleBrightPixelGetsAPlusAroundItAndUniformNothing) {
  TFastDIB img = test::Uniform(5, 5, kBlack);
  img.SetPixel(2, 2, kWhite);
  const TPixel24 red = MakePixel(255, 0, 0);
  for (int n : {1, 2}) {
    TFastDIB t = Clone(img);
    Trace(t, n, 0x0000FF);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 5; ++x) {
        const bool plus = std::abs(x - 2) + std::abs(y - 2) == 1;
        EXPECT_EQ(t.GetPixel(y, x), plus ? red : img.GetPixel(y, x)) << n << ": " << x << "," << y;
      }
  }
  TFastDIB flat = test::Uniform(7, 3, kGrey);
  Trace(flat, 5, 0x0000FF);
  EXPECT_EQ(test::Count(flat, kGrey), 21);
}

TEST(Trace, MatchesThePassesAsDescribed) {
  uint32_t seed = 20;
  for (const auto& sz : kShapes)
    for (int colours : {2, 3, 7}) {
      const TFastDIB in = FewColours(sz[0], sz[1], ++seed, colours);
      for (int n : {-1, 0, 1, 2, 3}) {
        TFastDIB out = Clone(in);
        Trace(out, n, 0x00FF00);
        EXPECT_TRUE(SamePixels(out, RefTrace(in, n, MakePixel(0, 255, 0), Exact)))
            << sz[0] << "x" << sz[1] << " colours " << colours << " N " << n;
      }
      // Passes from the second on repeat themselves.
      TFastDIB two = Clone(in), many = Clone(in);
      Trace(two, 2, 0x00FF00);
      Trace(many, INT_MAX, 0x00FF00);
      EXPECT_TRUE(SamePixels(two, many, true));
    }
  // More than 256 colours: edges only where the cut colours differ.
  const TFastDIB noisy = Random(37, 19, 5);
  TFastDIB out = Clone(noisy);
  Trace(out, 2, 0x000000);
  EXPECT_TRUE(SamePixels(out, RefTrace(noisy, 2, kBlack, Cut332)));
}

}  // namespace
