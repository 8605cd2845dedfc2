#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <vector>

#include "core/effects/bevels.h"
#include "core/effects/geometry.h"
#include "core/effects/smears.h"
#include "test_util.h"

using namespace vorq;
using namespace vorq::test;

namespace {

// 45 x 33 is split between two workers, and its rows take every path of the blend.
constexpr int kShapes[][2] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {5, 3}, {45, 33}};
constexpr TPixel24 kWhite{255, 255, 255}, kBlack{0, 0, 0}, kGrey{128, 128, 128};

// a * b / c rounded half away from zero.
int RefMulDiv(int64_t a, int b, int64_t c) { return int(std::llround((long double)(a * b) / (long double)c)); }

// The four strips as described, pixel by pixel; E >= 2.
TFastDIB RefButtonize(const TFastDIB& in, int64_t E, TPixel24 S, TPixel24 L) {
  TFastDIB out = Clone(in);
  const int64_t W = in.Width(), H = in.Height();
  auto shade = [&](int x, int y, int64_t i, bool toShadow) {
    for (int c = 0; c < 3; ++c) {
      uint8_t& v = out.Row(y)[3 * x + c];
      const int t = (&(toShadow ? S : L).B)[c];
      v = uint8_t(toShadow ? v + RefMulDiv(i, t - v, E - 1) : t + RefMulDiv(i, v - t, E - 1));
    }
  };
  for (int y = 0; y < H; ++y)  // right strip, then left strip, pixel by pixel
    for (int x = 0; x < W; ++x) {
      if (x >= W - E) shade(x, y, x - (W - E), true);
      if (x < E) shade(x, y, x, false);
    }
  for (int y = int(std::max<int64_t>(0, H - E)); y < H; ++y)
    for (int64_t j = y - (H - E), x = 0; x < W; ++x)
      if (x >= E - j && x <= W - E + j - 1) shade(int(x), y, j, true);
  for (int j = 0; j < H && j < E; ++j)
    for (int x = j; x <= W - 1 - j; ++x) shade(x, j, j, false);
  return out;
}

// Trace literally: marks go into the bordered copy over N passes, then the
// middle is cut out. key() stands for the palette index of a colour.
TFastDIB RefTrace(const TFastDIB& in, int N, TPixel24 mark, uint32_t (*key)(TPixel24)) {
  const int W = in.Width(), H = in.Height(), BW = W + 2;
  std::vector<TPixel24> T;
  for (int y = 0; y < H + 2; ++y)
    for (int x = 0; x < BW; ++x) T.push_back(in.GetPixel((y + H - 1) % H, (x + W - 1) % W));
  std::vector<TPixel24> marked = T;
  uint32_t ref = 0;
  bool found = false;
  auto check = [&](int x, int y, int nx, int ny) {
    const uint32_t p = key(T[size_t(y * BW + x)]), q = key(T[size_t(ny * BW + nx)]);
    if (q == p) return;
    if (!found) ref = q, found = true, marked[size_t(y * BW + x)] = mark;
    else marked[size_t(p == ref ? ny * BW + nx : y * BW + x)] = mark;
  };
  for (int pass = 1; pass <= N; ++pass) {
    for (int y = 0; y <= H; ++y)
      for (int x = 0; x <= W; ++x) check(x, y, x + 1, y), check(x, y, x, y + 1);
    for (int y = H + 1; pass >= 2 && y >= 1; --y)
      for (int x = W + 1; x >= 1; --x) check(x, y, x - 1, y), check(x, y, x, y - 1);
  }
  TFastDIB out = Clone(in);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) out.SetPixel(y, x, marked[size_t((y + 1) * BW + x + 1)]);
  return out;
}

uint32_t Exact(TPixel24 p) { return uint32_t(p.R) << 16 | uint32_t(p.G) << 8 | p.B; }
uint32_t Cut332(TPixel24 p) { return uint32_t(p.R / 32) * 100 + uint32_t(p.G / 32) * 10 + p.B / 64; }

// Noise cut to the top bits of each channel: few colours.
TFastDIB FewColours(int w, int h, uint32_t seed, uint8_t mask) {
  TFastDIB s = Random(w, h, seed);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < 3 * w; ++i) s.Row(y)[i] &= mask;
  return s;
}

TEST(Buttonize, EdgeSizeTwoOnWhiteAndTheStripsAtAnyDepth) {
  for (const auto& sz : kShapes) {
    const int W = sz[0], H = sz[1];
    TFastDIB img = Uniform(W, H, kWhite);
    Buttonize(img, 2, 0x000000, 0x808080);
    EXPECT_TRUE(SamePixels(img, Painted(W, H, [&](int x, int y) {
      return y == 0 || x == 0 ? kGrey : (x == W - 1 || y == H - 1 ? kBlack : kWhite);
    }))) << W << "x" << H;
  }
  uint32_t seed = 1;
  for (const auto& sz : kShapes)
    for (int E : {2, 3, 5, 20, sz[0] / 2 + 1, sz[0] + 3, INT_MAX}) {
      if (E < 2) continue;
      const TFastDIB in = Random(sz[0], sz[1], ++seed);
      TFastDIB out = Clone(in);
      Buttonize(out, E, 0x28C80A, 0x8003FA);
      EXPECT_TRUE(SamePixels(out, RefButtonize(in, E, MakePixel(10, 200, 40), MakePixel(250, 3, 128))))
          << sz[0] << "x" << sz[1] << " E " << E;
    }
  // Depth 1 draws the outer frame that depth 2 draws; 0 and below nothing.
  const TFastDIB in = Random(5, 3, 7, true);
  TFastDIB one = Clone(in), two = Clone(in), none = Clone(in);
  Buttonize(one, 1, 0x123456, 0xABCDEF);
  Buttonize(two, 2, 0x123456, 0xABCDEF);
  EXPECT_TRUE(SamePixels(one, two, true));
  for (int E : {0, -1, INT_MIN}) Buttonize(none, E, 0x123456, 0xABCDEF);
  EXPECT_TRUE(SamePixels(none, in, true));
}

TEST(Trace, SingleBrightPixelAndThePassesAsDescribed) {
  TFastDIB img = Uniform(5, 5, kBlack);
  img.SetPixel(2, 2, kWhite);
  TFastDIB want = Clone(img);
  for (auto [x, y] : {std::pair{2, 1}, {1, 2}, {3, 2}, {2, 3}}) want.SetPixel(y, x, MakePixel(255, 0, 0));
  for (int n : {1, 2}) {
    TFastDIB t = Clone(img);
    Trace(t, n, 0x0000FF);
    EXPECT_TRUE(SamePixels(t, want)) << n;
  }
  uint32_t seed = 20;
  for (const auto& sz : kShapes)
    for (uint8_t mask : {0x80, 0xC0}) {
      const TFastDIB in = FewColours(sz[0], sz[1], ++seed, mask);
      for (int n : {-1, 0, 1, 2, 3, 5, INT_MAX}) {  // from 2 on, all alike
        TFastDIB out = Clone(in);
        Trace(out, n, 0x00FF00);
        EXPECT_TRUE(SamePixels(out, RefTrace(in, std::min(n, 2), MakePixel(0, 255, 0), Exact)))
            << sz[0] << "x" << sz[1] << " mask " << int(mask) << " N " << n;
      }
    }
  // With more than 256 colours, edges are where the 3-3-2 cut colours differ.
  const TFastDIB noisy = Random(37, 19, 5);
  TFastDIB out = Clone(noisy);
  Trace(out, 2, 0x000000);
  EXPECT_TRUE(SamePixels(out, RefTrace(noisy, 2, kBlack, Cut332)));
}

// WrapShift by any amount (it moves row padding too: compare pixels only).
TFastDIB Shifted(const TFastDIB& in, int64_t dx, int64_t dy) {
  TFastDIB s = Clone(in);
  s.WrapShift(int(dx % in.Width()), int(dy % in.Height()));
  return s;
}

// StretchBlur step by step: weights b = sum / 765 and k = 1 - b in single
// precision from the scaled buffer (or, with Self, from the previous
// result), R times WrapShift and blend, final half shift back.
TFastDIB RefStretchBlur(const TFastDIB& in, const TFastDIB* buffer, int L, int V, int R) {
  const int W = in.Width(), H = in.Height();
  TFastDIB work = Clone(in), scratch = Clone(in), map;
  map.SetSize(W, H, 24, 0);
  if (buffer != nullptr) buffer->StretchDraw(map, 0, 0, W, H);
  const TFastDIB& weights = buffer != nullptr ? map : scratch;
  for (int r = 0; r < R; ++r) {
    work.WrapShift(L, V);
    for (int y = 0; y < H; ++y)
      for (int i = 0; i < 3 * W; ++i) {
        const uint8_t* p = weights.Row(y) + i / 3 * 3;
        const float b = float(p[0] + p[1] + p[2]) / 765.0f, k = 1.0f - b;
        work.Row(y)[i] = uint8_t(std::nearbyint(double(work.Row(y)[i]) * k + double(scratch.Row(y)[i]) * b));
      }
    CopySurface(work, scratch);
  }
  return Shifted(work, -int64_t(L) * R / 2, -int64_t(V) * R / 2);
}

int64_t RefWrap(int64_t i, int64_t n) { return i < 0 ? (n - 1) - (-i) % n : (i > n - 1 ? i % n : i); }

// Water: map resized (mode 0) when its size differs, m in single precision,
// positions rounded exactly (long double holds L * m + x + L).
TFastDIB RefWater(const TFastDIB& in, const TFastDIB& mapIn, int L, int V) {
  const int W = in.Width(), H = in.Height();
  TFastDIB map = Clone(mapIn), out = Clone(in);
  ResizeBilinear(map, W, H, 0);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const TPixel24 p = map.GetPixel(y, x);
      const float m = float(std::max({p.R, p.G, p.B})) / 255.0f;
      const int64_t sx = std::llrint(std::nearbyintl((long double)L * m + x + L));
      const int64_t sy = std::llrint(std::nearbyintl((long double)V * m + y + V));
      out.SetPixel(y, x, in.GetPixel(int(RefWrap(sy, H)), int(RefWrap(sx, W))));
    }
  return out;
}

TEST(StretchBlur, WhiteAndBlackBuffersAndTheRepetitionsAsDescribed) {
  for (const auto& sz : kShapes)
    for (auto [L, V, R] : {std::tuple{1, 1, 32}, {-3, 2, 5}, {7, -1, 1}, {0, 4, 3}, {INT_MAX, INT_MIN, 7}}) {
      const TFastDIB in = Random(sz[0], sz[1], 11);
      TFastDIB white = Clone(in), black = Clone(in), empty = Clone(in), t;
      StretchBlurWithBuffer(white, t, Uniform(3, 2, kWhite), L, V, R);
      StretchBlurWithBuffer(black, t, Uniform(sz[0], sz[1], kBlack), L, V, R);
      StretchBlurWithBuffer(empty, t, TFastDIB(), L, V, R);  // counts as black
      const int64_t lr = int64_t(L) * R, vr = int64_t(V) * R;
      EXPECT_TRUE(SamePixels(white, Shifted(in, -(lr / 2), -(vr / 2)))) << L << " " << V << " " << R;
      EXPECT_TRUE(SamePixels(black, Shifted(in, lr - lr / 2, vr - vr / 2))) << L << " " << V << " " << R;
      EXPECT_TRUE(SamePixels(empty, black));
    }
  uint32_t seed = 40;
  BothVectorPaths([&](bool) {
    for (const auto& sz : kShapes)
      for (auto [L, V, R] : {std::tuple{1, 1, 32}, {-1, 1, 3}, {2, -5, 4}, {-40, 0, 1}, {INT_MIN, INT_MAX, 2}}) {
        const TFastDIB in = Random(sz[0], sz[1], ++seed);
        const TFastDIB same = Random(sz[0], sz[1], ++seed), other = Random(4, 9, ++seed);
        const TFastDIB tall = Random(sz[0], sz[1] + 3, ++seed);  // the image's width only
        for (const TFastDIB* buffer : {&same, &other, &tall, static_cast<const TFastDIB*>(nullptr)}) {
          TFastDIB out = Clone(in), t;
          buffer ? StretchBlurWithBuffer(out, t, *buffer, L, V, R) : StretchBlurWithSelf(out, t, L, V, R);
          EXPECT_TRUE(SamePixels(out, RefStretchBlur(in, buffer, L, V, R)))
              << sz[0] << "x" << sz[1] << " L " << L << " V " << V << " R " << R << (buffer ? " buffer" : " self");
        }
      }
  });
  // Tall enough for each core to sweep a band of its own, both ways.
  for (int V : {3, -2}) {
    const TFastDIB in = Random(37, 90, ++seed), map = Random(37, 90, ++seed);
    TFastDIB self = Clone(in), buffered = Clone(in), t;
    StretchBlurWithSelf(self, t, 1, V, 32);
    StretchBlurWithBuffer(buffered, t, map, -2, V, 32);
    EXPECT_TRUE(SamePixels(self, RefStretchBlur(in, nullptr, 1, V, 32))) << V;
    EXPECT_TRUE(SamePixels(buffered, RefStretchBlur(in, &map, -2, V, 32))) << V;
  }
  // So many repetitions of such wide rows are run pass by pass, not in one sweep.
  const TFastDIB in = Random(1500, 3, ++seed);
  TFastDIB out = Clone(in), t;
  StretchBlurWithSelf(out, t, 1, 1, kMaxStretchBlurRepetitions);
  EXPECT_TRUE(SamePixels(out, RefStretchBlur(in, nullptr, 1, 1, kMaxStretchBlurRepetitions)));
}

TEST(StretchBlur, NothingToDoChangesNothingAndRepetitionsAreBounded) {
  const TFastDIB in = Random(5, 3, 3, true), buf = Random(2, 2, 4);
  TFastDIB a = Clone(in), t;
  for (auto [L, V, R] : {std::tuple{0, 0, 32}, {1, 1, 0}, {-5, 3, INT_MIN}}) {
    StretchBlurWithBuffer(a, t, buf, L, V, R);
    StretchBlurWithSelf(a, t, L, V, R);
  }
  EXPECT_TRUE(SamePixels(a, in, true));
  TFastDIB capped = Clone(in), bound = Clone(in);
  StretchBlurWithSelf(capped, t, 1, -2, INT_MAX);
  StretchBlurWithSelf(bound, t, 1, -2, kMaxStretchBlurRepetitions);
  EXPECT_TRUE(SamePixels(capped, bound, true));
  TFastDIB self = Clone(in), scratch = Clone(buf), fromScratch = Clone(in);  // buffers the effect writes
  StretchBlurWithBuffer(self, t, self, 2, 1, 3);
  StretchBlurWithBuffer(fromScratch, scratch, scratch, 2, 1, 3);
  EXPECT_TRUE(SamePixels(self, RefStretchBlur(in, &in, 2, 1, 3)));
  EXPECT_TRUE(SamePixels(fromScratch, RefStretchBlur(in, &buf, 2, 1, 3)));
}

TEST(Water, MatchesTheMapAsDescribed) {
  uint32_t seed = 60;
  // 2^23 * m is an exact half for some m: it goes to the even neighbour.
  for (const auto& sz : kShapes)
    for (auto [L, V] : {std::pair{64, 100}, {0, 0}, {-1, -2}, {1 << 23, -(1 << 23) - 1}, {INT_MAX, INT_MIN}}) {
      const TFastDIB in = Random(sz[0], sz[1], ++seed), same = Random(sz[0], sz[1], ++seed);
      const TFastDIB wide = Random(9, 2, ++seed), column = Random(1, 4, ++seed);
      const TFastDIB tall = Random(sz[0], sz[1] + 3, ++seed);
      for (const TFastDIB* map : {&same, &wide, &tall, &column, &in}) {
        TFastDIB out = Clone(in), t;
        map == &in ? WaterWithSelf(out, t, L, V) : WaterWithBuffer(out, t, *map, L, V);
        EXPECT_TRUE(SamePixels(out, RefWater(in, *map, L, V))) << sz[0] << "x" << sz[1] << " L " << L << " V " << V;
      }
      TFastDIB moved = Clone(in), t;  // an empty buffer is black
      WaterWithBuffer(moved, t, TFastDIB(), L, V);
      EXPECT_TRUE(SamePixels(moved, RefWater(in, Uniform(1, 1, kBlack), L, V)));
      TFastDIB fromScratch = Clone(in), scratch = Clone(wide);  // the buffer the result goes to
      WaterWithBuffer(fromScratch, scratch, scratch, L, V);
      EXPECT_TRUE(SamePixels(fromScratch, RefWater(in, wide, L, V)));
    }
}

}  // namespace
