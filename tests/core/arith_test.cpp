#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/util/arith.h"

using namespace vorq;

namespace {

// Halves and their neighbours, negatives, the ends of the fast range and far beyond it.
std::vector<double> EdgeValues() {
  std::vector<double> v = {0.0, -0.0, 0.49999999999999994, -0.49999999999999994, 1e-300, -1e-300, DBL_MIN,
                           0x1p51, -0x1p51, 0x1p52, -0x1p52, 0x1p53, -0x1p53, 0x1p51 - 0.5, -0x1p51 + 0.5,
                           0x1p51 - 1.5, 0x1p51 + 0.5, 0x1p52 + 1, 1e18, -1e18, 4.0e18, DBL_MAX, -DBL_MAX};
  for (int k = -1000; k <= 1000; ++k) {
    const double h = k + 0.5;
    v.insert(v.end(), {h, std::nextafter(h, 0.0), std::nextafter(h, h + 1), double(k), k + 0.25, k + 0.75});
  }
  for (double big : {0x1p40, 0x1p50, 0x1p51 - 4096})
    for (double d : {0.5, 1.5, 2.5, -0.5, -1.5}) v.insert(v.end(), {big + d, -big - d});
  return v;
}

}  // namespace

// The library's rounding in its default mode is the reference: ties to even.
TEST(Arith, RoundHalfEvenMatchesTheLibrary) {
  for (double v : EdgeValues()) {
    EXPECT_EQ(RoundHalfEven(v), std::nearbyint(v)) << std::hexfloat << v;
    if (std::fabs(v) < 0x1p62) {
      EXPECT_EQ(Nearest(v), int64_t(std::nearbyint(v))) << std::hexfloat << v;
    }
  }
  EXPECT_TRUE(std::isinf(RoundHalfEven(INFINITY)));
  EXPECT_TRUE(std::isnan(RoundHalfEven(NAN)));
}

TEST(Arith, RoundHalfEvenInSinglePrecision) {
  for (float v : {0x1p22f, -0x1p22f, 0x1p22f - 0.5f, 4194302.5f, -4194302.5f, 0x1p23f + 1, 255.5f, 254.5f, -0.5f})
    EXPECT_EQ(RoundHalfEven(v), std::nearbyint(v)) << std::hexfloat << v;
}
