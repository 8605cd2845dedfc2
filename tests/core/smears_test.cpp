#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/effects/geometry.h"
#include "core/effects/smears.h"
#include "core/util/parallel.h"
#include "test_util.h"

using namespace vorq;
using test::Clone;
using test::Random;
using test::SamePixels;

namespace {

constexpr int kShapes[][2] = {{1, 1}, {1, 7}, {7, 1}, {5, 3}, {8, 8}, {37, 19}};
constexpr TPixel24 kWhite{255, 255, 255}, kBlack{0, 0, 0};

// Row padding moves with whole rows in WrapShift, so shifted images are compared pixel by pixel.
int Reduce(int64_t v, int n) { return int(v % n); }  // WrapShift takes any int

// StretchBlur step by step: map drawn into Scratch, grids b and k in single
// precision, R times WrapShift and blend, final half shift back.
TFastDIB RefStretchBlur(const TFastDIB& in, const TFastDIB* buffer, int L, int V, int R) {
  TFastDIB work = Clone(in), scratch;
  const int W = in.Width(), H = in.Height();
  scratch.SetSize(W, H, 24, 0);
  if (buffer != nullptr)
    buffer->StretchDraw(scratch, 0, 0, W, H);
  else
    CopySurface(work, scratch);
  std::vector<float> b(size_t(W * H)), k(size_t(W * H));
  auto grids = [&] {
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        const TPixel24 p = scratch.GetPixel(y, x);
        b[size_t(y * W + x)] = float(p.R + p.G + p.B) / 765.0f;
        k[size_t(y * W + x)] = 1.0f - b[size_t(y * W + x)];
      }
  };
  grids();
  CopySurface(work, scratch);
  for (int r = 0; r < R; ++r) {
    work.WrapShift(L, V);
    for (int y = 0; y < H; ++y)
      for (int i = 0; i < 3 * W; ++i) {
        const size_t g = size_t(y * W + i / 3);
        work.Row(y)[i] = uint8_t(std::nearbyint(double(work.Row(y)[i]) * k[g] + double(scratch.Row(y)[i]) * b[g]));
      }
    CopySurface(work, scratch);
    if (buffer == nullptr) grids();
  }
  work.WrapShift(Reduce(-int64_t(L) * R / 2, W), Reduce(-int64_t(V) * R / 2, H));
  return work;
}

int64_t RefWrap(int64_t i, int64_t n) { return i < 0 ? (n - 1) - (-i) % n : (i > n - 1 ? i % n : i); }

// Water: map resized (mode 0) when its size differs; m in single precision;
// positions rounded exactly (long double holds L * m + x + L).
TFastDIB RefWater(const TFastDIB& in, const TFastDIB& mapIn, int L, int V) {
  const int W = in.Width(), H = in.Height();
  TFastDIB map = Clone(mapIn), out = Clone(in);
  if (map.Width() != W || map.Height() != H) ResizeBilinear(map, W, H, 0);
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

TFastDIB Shifted(const TFastDIB& in, int64_t dx, int64_t dy) {
  TFastDIB s = Clone(in);
  s.WrapShift(Reduce(dx, in.Width()), Reduce(dy, in.Height()));
  return s;
}

TEST(StretchBlur, WhiteBufferKeepsOnlyTheFinalShiftBlackMovesTheRest) {
  for (const auto& sz : kShapes)
    for (auto [L, V, R] : {std::tuple{1, 1, 32}, {-3, 2, 5}, {7, -1, 1}, {0, 4, 3}, {INT_MAX, INT_MIN, 7}}) {
      const TFastDIB in = Random(sz[0], sz[1], 11, true);
      TFastDIB white = Clone(in), black = Clone(in), t;
      StretchBlurWithBuffer(white, t, test::Uniform(3, 2, kWhite), L, V, R);
      StretchBlurWithBuffer(black, t, test::Uniform(sz[0], sz[1], kBlack), L, V, R);
      const int64_t lr = int64_t(L) * R, vr = int64_t(V) * R;
      EXPECT_TRUE(SamePixels(white, Shifted(in, -(lr / 2), -(vr / 2)))) << L << " " << V << " " << R;
      EXPECT_TRUE(SamePixels(black, Shifted(in, lr - lr / 2, vr - vr / 2))) << L << " " << V << " " << R;
    }
}

TEST(StretchBlur, MatchesTheRepetitionsAsDescribed) {
  uint32_t seed = 40;
  for (const auto& sz : kShapes)
    for (auto [L, V, R] : {std::tuple{1, 1, 32}, {-1, 1, 3}, {2, -5, 4}, {-40, 0, 1}, {INT_MIN, INT_MAX, 2}}) {
      const TFastDIB in = Random(sz[0], sz[1], ++seed);
      const TFastDIB same = Random(sz[0], sz[1], ++seed), other = Random(4, 9, ++seed);
      for (const TFastDIB* buffer : {&same, &other, static_cast<const TFastDIB*>(nullptr)}) {
        TFastDIB out = Clone(in), t;
        if (buffer != nullptr)
          StretchBlurWithBuffer(out, t, *buffer, L, V, R);
        else
          StretchBlurWithSelf(out, t, L, V, R);
        EXPECT_TRUE(SamePixels(out, RefStretchBlur(in, buffer, L, V, R)))
            << sz[0] << "x" << sz[1] << " L " << L << " V " << V << " R " << R << (buffer ? " buffer" : " self");
      }
    }
}

TEST(StretchBlur, NoAmountOrRepetitionChangesNothingAndRepetitionsAreBounded) {
  const TFastDIB in = Random(5, 3, 3, true), buf = Random(2, 2, 4);
  for (auto [L, V, R] : {std::tuple{0, 0, 32}, {1, 1, 0}, {1, 1, -1}, {-5, 3, INT_MIN}}) {
    TFastDIB a = Clone(in), b = Clone(in), t;
    StretchBlurWithBuffer(a, t, buf, L, V, R);
    StretchBlurWithSelf(b, t, L, V, R);
    EXPECT_TRUE(SamePixels(a, in, true));
    EXPECT_TRUE(SamePixels(b, in, true));
  }
  TFastDIB capped = Clone(in), bound = Clone(in), t;
  StretchBlurWithSelf(capped, t, 1, -2, INT_MAX);
  StretchBlurWithSelf(bound, t, 1, -2, kMaxStretchBlurRepetitions);
  EXPECT_TRUE(SamePixels(capped, bound, true));
  // An empty buffer is black; the buffer may be one of the working surfaces.
  TFastDIB empty = Clone(in), self = Clone(in), scratch = Clone(buf), fromScratch = Clone(in);
  StretchBlurWithBuffer(empty, t, TFastDIB(), 2, 1, 3);
  EXPECT_TRUE(SamePixels(empty, Shifted(in, 3, 2)));
  StretchBlurWithBuffer(self, t, self, 2, 1, 3);
  EXPECT_TRUE(SamePixels(self, RefStretchBlur(in, &in, 2, 1, 3)));
  StretchBlurWithBuffer(fromScratch, scratch, scratch, 2, 1, 3);
  EXPECT_TRUE(SamePixels(fromScratch, RefStretchBlur(in, &buf, 2, 1, 3)));
}

TEST(Water, NoAmountIsIdentityBlackMapIsAShift) {
  for (const auto& sz : kShapes) {
    const TFastDIB in = Random(sz[0], sz[1], 21, true);
    TFastDIB a = Clone(in), b = Clone(in), t;
    WaterWithSelf(a, t, 0, 0);
    WaterWithBuffer(b, t, Random(3, 3, 1), 0, 0);
    EXPECT_TRUE(SamePixels(a, in, true));
    EXPECT_TRUE(SamePixels(b, in, true));
    TFastDIB dark = test::Uniform(sz[0], sz[1], kBlack);
    WaterWithSelf(dark, t, 128, -128);
    EXPECT_EQ(test::Count(dark, kBlack), sz[0] * sz[1]);
    TFastDIB moved = Clone(in);
    WaterWithBuffer(moved, t, TFastDIB(), 3, 100);  // an empty buffer is black
    EXPECT_TRUE(SamePixels(moved, Shifted(in, 3, 100)));
  }
}

TEST(Water, MatchesTheMapAsDescribed) {
  uint32_t seed = 60;
  // 2^23 * m has an exact half for some m, which goes to the even neighbour.
  for (const auto& sz : kShapes)
    for (auto [L, V] : {std::pair{64, 100}, {128, -128}, {-1, -2}, {-3, 0}, {1 << 23, -(1 << 23) - 1}, {INT_MAX, INT_MIN}}) {
      const TFastDIB in = Random(sz[0], sz[1], ++seed), same = Random(sz[0], sz[1], ++seed);
      const TFastDIB wide = Random(9, 2, ++seed), column = Random(1, 4, ++seed);
      for (const TFastDIB* map : {&same, &wide, &column}) {
        TFastDIB out = Clone(in), t;
        WaterWithBuffer(out, t, *map, L, V);
        EXPECT_TRUE(SamePixels(out, RefWater(in, *map, L, V))) << sz[0] << "x" << sz[1] << " L " << L << " V " << V;
      }
      TFastDIB self = Clone(in), t;
      WaterWithSelf(self, t, L, V);
      EXPECT_TRUE(SamePixels(self, RefWater(in, in, L, V))) << sz[0] << "x" << sz[1] << " L " << L << " V " << V;
    }
}

TEST(Smears, TwoWorkersGiveTheSameResult) {
  const TFastDIB in = Random(301, 157, 8), buf = Random(100, 90, 9);
  TFastDIB r[2][4];
  for (int workers : {1, 2}) {
    SetWorkerCount(workers);
    TFastDIB* o = r[workers - 1];
    TFastDIB t;
    for (int i = 0; i < 4; ++i) o[i] = Clone(in);
    StretchBlurWithBuffer(o[0], t, buf, 3, -2, 9);
    StretchBlurWithSelf(o[1], t, -1, 1, 32);
    WaterWithBuffer(o[2], t, buf, 64, 100);
    WaterWithSelf(o[3], t, 128, -128);
  }
  SetWorkerCount(2);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(SamePixels(r[0][i], r[1][i], true)) << i;
}

}  // namespace
