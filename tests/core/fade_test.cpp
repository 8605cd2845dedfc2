// The fade control's blend steps, lane arithmetic and dissolve order.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "core/gradients/fade.h"
#include "core/util/random.h"
#include "test_util.h"

using namespace vorq;

TEST(Fade, BlendStepsAndRateLimits) {
  // 64 steps: each weight below 32 twice.
  for (int i = 0; i <= 64; ++i) EXPECT_EQ(BlendAlpha(i, 64), i / 2);
  for (auto [frame, rate, alpha] : {std::tuple{255, 256, 31}, {256, 256, 32}, {1, 1, 32}})
    EXPECT_EQ(BlendAlpha(frame, rate), alpha) << frame << "/" << rate;

  for (auto [rate, clamped] : {std::pair{0LL, 1}, {-2147483648LL, 1}, {2147483647LL, 256}, {100LL, 100}})
    EXPECT_EQ(ClampBlendRate(rate), clamped) << rate;
  try {
    CheckBlendRate(0);
    FAIL() << "no error for a blend rate of 0";
  } catch (const EVorqFade& e) {
    EXPECT_STREQ(e.what(), "BlendRate must be between 0 and 256");
  }
  for (int rate : {1, 256}) EXPECT_NO_THROW(CheckBlendRate(rate));
}

TEST(Fade, LanesAreThePerByteFormulaOnEveryByteOfASurface) {
  // Every pair of interesting bytes at every weight, against (s*(32-a) + t*a) div 32 byte by byte.
  const uint8_t values[] = {0, 1, 2, 31, 32, 127, 128, 129, 200, 254, 255};
  std::vector<uint8_t> s, t;
  for (uint8_t a : values)
    for (uint8_t b : values) {
      s.push_back(a);
      t.push_back(b);
    }
  s.push_back(77);  // 122 bytes: not a whole number of words
  t.push_back(3);
  std::vector<uint8_t> out(s.size());
  for (int a = 0; a <= 32; ++a) {
    BlendBytes(out.data(), s.data(), t.data(), s.size(), a);
    for (size_t i = 0; i < s.size(); ++i)
      ASSERT_EQ(out[i], (s[i] * (32 - a) + t[i] * a) / 32) << "a " << a << " at " << i;
  }
  // Width 5: 15 pixel bytes and one filler byte per row.
  TFastDIB from = test::Random(5, 3, 1, true), to = test::Random(5, 3, 2, true);
  const TFastDIB saved = test::Clone(from);
  BlendSurface(from, saved, to, 32);
  EXPECT_TRUE(test::SamePixels(from, to, true));
  BlendSurface(from, saved, to, 0);
  EXPECT_TRUE(test::SamePixels(from, saved, true));

  TFastDIB other = test::Random(3, 5, 3);
  const TFastDIB before = test::Clone(from);
  BlendSurface(from, saved, other, 16);
  EXPECT_TRUE(test::SamePixels(from, before, true));
  TFastDIB empty;
  BlendSurface(empty, empty, empty, 16);
  EXPECT_TRUE(empty.Empty());
}

TEST(Fade, DissolvePlanCoversEveryPixelOnce) {
  for (auto [rate, pixels, clamped] : {std::tuple{1000, 35, 35}, {0, 35, 1}, {-5, 0, 1}})
    EXPECT_EQ(ClampDisolvRate(rate, pixels), clamped) << rate << " " << pixels;
  struct Case {
    int64_t pixels;
    int rate;
    int64_t chunk, frames, rest;
  };
  for (const Case c : {Case{10, 3, 3, 3, 1}, Case{7, 100, 1, 7, 0}, Case{1, 1, 1, 1, 0}, Case{46080, 550, 83, 555, 15},
                       Case{46080, 200, 230, 200, 80}}) {
    const DissolvePlan p = PlanDissolve(c.pixels, c.rate);
    EXPECT_EQ(p.Chunk, c.chunk) << c.pixels << "/" << c.rate;
    EXPECT_EQ(p.Frames, c.frames);
    EXPECT_EQ(p.Rest, c.rest);
  }
  EXPECT_EQ(PlanDissolve(0, 5).Frames, 0);

  SetRandSeed(7);
  for (auto [w, h] : test::kSizes) {
    // Every pixel row by row, then entry i swapped with entry Random(N).
    const uint32_t seed = RandSeed();
    const std::vector<uint32_t> order = DissolveOrder(w, h);
    std::vector<uint32_t> want(size_t(w) * h);
    std::iota(want.begin(), want.end(), 0u);
    SetRandSeed(seed);
    for (size_t i = 0; i < want.size(); ++i) std::swap(want[i], want[size_t(Random(int32_t(want.size())))]);
    ASSERT_EQ(order, want) << w << "x" << h;

    // The first chunk changes exactly its own pixels; all chunks together give the target.
    TFastDIB from = test::Uniform(w, h, MakePixel(0, 0, 0));
    const TFastDIB to = test::Uniform(w, h, MakePixel(9, 8, 7));
    const size_t first = std::max<size_t>(order.size() / 3, 1);
    DissolveCopy(from, to, order.data(), first);
    EXPECT_EQ(test::Count(from, MakePixel(9, 8, 7)), int(first));
    DissolveCopy(from, to, order.data() + first, order.size() - first);
    EXPECT_TRUE(test::SamePixels(from, to));
  }
  EXPECT_TRUE(DissolveOrder(0, 5).empty());
}
