#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/effects/filters.h"
#include "core/util/parallel.h"
#include "test_util.h"

using namespace vorq;
using test::Clone;
using test::kSizes;
using test::Uniform;

namespace {

uint8_t& Ch(TPixel24& p, int c) { return (&p.B)[c]; }

TFastDIB Random(int w, int h, uint32_t seed) { return test::Random(w, h, seed, true); }
::testing::AssertionResult Same(const TFastDIB& a, const TFastDIB& b) { return test::SamePixels(a, b, true); }

// --- naive references, straight from the arithmetic the effects describe ---

void RefConvolve(const int32_t (&k)[9], uint16_t div, TFastDIB& s) {
  const int W = s.Width(), H = s.Height();
  std::vector<TPixel24> T(size_t(W + 2) * (H + 2));
  auto t = [&](int x, int y) -> TPixel24& { return T[size_t(y) * (W + 2) + x]; };
  auto img = [&](int x, int y) { return s.GetPixel(y, x); };
  for (int y = 0; y < H + 2; ++y)  // the border wraps...
    for (int x = 0; x < W + 2; ++x) t(x, y) = img((x + W - 1) % W, (y + H - 1) % H);
  for (int y : {0, H + 1})  // ...but each corner repeats the image's own corner pixel
    for (int x : {0, W + 1}) t(x, y) = img(x == 0 ? 0 : W - 1, y == 0 ? 0 : H - 1);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      TPixel24 out;
      for (int c = 0; c < 3; ++c) {
        int64_t sum = 0;
        for (int j = 0; j < 9; ++j) sum += int64_t(k[j]) * Ch(t(x + j % 3, y + j / 3), c);
        const int32_t v = int32_t(uint32_t(uint64_t(sum))) / int32_t(div);
        Ch(out, c) = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
      }
      s.SetPixel(y, x, out);
    }
}

uint8_t RefByte(double v) { return v < 0 ? 0 : v >= 255.0 ? 255 : uint8_t(std::trunc(v)); }

void RefGBlur(TFastDIB& s, double r) {
  const GaussKernel k = MakeGaussKernel(r);
  const int W = s.Width(), H = s.Height();
  for (int pass = 0; pass < 2; ++pass) {
    const int lines = pass == 0 ? H : W, len = pass == 0 ? W : H;
    for (int l = 0; l < lines; ++l) {
      std::vector<TPixel24> in(len), out(len);
      for (int i = 0; i < len; ++i) in[i] = pass == 0 ? s.GetPixel(l, i) : s.GetPixel(i, l);
      for (int i = 0; i < len; ++i)
        for (int c = 0; c < 3; ++c) {
          double v = 0;
          for (int n = -k.Size; n <= k.Size; ++n)
            v += double(k.Weights[10 + n]) * Ch(in[std::clamp(i - n, 0, len - 1)], c);
          Ch(out[i], c) = RefByte(v);
        }
      for (int i = 0; i < len; ++i) pass == 0 ? s.SetPixel(l, i, out[i]) : s.SetPixel(i, l, out[i]);
    }
  }
}

// The image tiled with a margin m on every side (wrapped modulo its size
// where m exceeds it), blurred, and the middle cut out.
void RefGaussCommand(TFastDIB& work, int radius) {
  const int m = radius + 1, W = work.Width(), H = work.Height();
  TFastDIB big = test::Painted(W + 2 * m, H + 2 * m,
                               [&](int x, int y) { return work.GetPixel(((y - m) % H + H) % H, ((x - m) % W + W) % W); });
  RefGBlur(big, m);
  big.DrawPart(work, 0, 0, W, H, m, m);
}

void RefSplitBlur(TFastDIB& s, int64_t d) {
  const int64_t W = s.Width(), H = s.Height();
  auto wrap = [](int64_t c, int64_t n) { return ((c % n) + n) % n; };
  for (int64_t y = 0; y < H; ++y)
    for (int64_t x = 0; x < W; ++x) {
      const int ya = int(wrap(y - d, H)), yb = int(wrap(y + d, H)), xa = int(wrap(x - d, W)), xb = int(wrap(x + d, W));
      TPixel24 p;
      for (int c = 0; c < 3; ++c) {
        TPixel24 a = s.GetPixel(ya, xa), b = s.GetPixel(ya, xb), e = s.GetPixel(yb, xa), f = s.GetPixel(yb, xb);
        Ch(p, c) = uint8_t((Ch(a, c) + Ch(b, c) + Ch(e, c) + Ch(f, c)) >> 2);
      }
      s.SetPixel(int(y), int(x), p);
    }
}

}  // namespace

TEST(Convolve, ListedKernelsMatchTheReferenceOnEverySize) {
  // Rows top, middle, bottom; then the divisor.
  const struct {
    int id;
    int32_t k[9];
    uint16_t div;
  } listed[] = {{0, {2, 2, 2, 2, 0, 2, 2, 2, 2}, 16},         {1, {0, 1, 0, 1, 2, 1, 0, 1, 0}, 6},
                {2, {-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1},  {3, {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1},
                {4, {2, 0, 2, 0, 1, 0, 2, 0, -6}, 1},         {5, {1, 0, 1, 0, 0, 0, 1, 0, -2}, 1},
                {7, {-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1},  {8, {-1, -1, -1, -1, 16, -1, -1, -1, -1}, 8},
                {9, {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1},  {10, {3, 3, 3, 3, 8, 3, 3, 3, 3}, 32},
                {11, {1, 1, 1, 1, -2, 1, -1, -1, -1}, 1},     {12, {1, 2, 1, 2, 4, 2, 1, 2, 1}, 16}};
  for (const auto& l : listed) {
    const FixedFilter* f = FindFixedFilter(l.id);
    ASSERT_NE(f, nullptr) << l.id;
    EXPECT_TRUE(std::equal(l.k, l.k + 9, f->Kernel)) << l.id;
    EXPECT_EQ(f->Divisor, l.div) << l.id;
  }
  for (int id : {-1, 6, 13, 60}) EXPECT_EQ(FindFixedFilter(id), nullptr);
  for (const FixedFilter& f : kFixedFilters)
    for (auto [w, h] : kSizes) {
      TFastDIB s = Random(w, h, uint32_t(w * 131 + h + f.EffectId)), ref = Clone(s);
      Convolve3x3(f.Kernel, f.Divisor, s);
      RefConvolve(f.Kernel, f.Divisor, ref);
      EXPECT_TRUE(Same(s, ref)) << f.EffectId << " " << w << "x" << h;
    }
  for (int workers : {1, 2}) {
    SetWorkerCount(workers);
    TFastDIB s = Random(41, 97, 5), ref = Clone(s);  // tall enough to split into bands
    Convolve3x3(kFixedFilters[7].Kernel, 8, s);
    RefConvolve(kFixedFilters[7].Kernel, 8, ref);
    EXPECT_TRUE(Same(s, ref)) << workers;
  }
}

TEST(Convolve, EdgesDivisorsAndSumsAtTheirLimits) {
  const int32_t(&blur)[9] = FindFixedFilter(10)->Kernel;
  TFastDIB s = test::Painted(5, 4, [](int x, int) { return x == 0 ? MakePixel(255, 255, 255) : MakePixel(0, 0, 0); });
  Convolve3x3(blur, 32, s);
  // Inner rows: 14*255/32 and 9*255/32, column 4 seeing column 0 across the
  // edge. Top and bottom rows: the border corner beside (0, y) repeats the
  // lit pixel itself (17*255/32) and the one beside (4, y) repeats the dark
  // (4, y) instead of the wrapped lit corner (6*255/32).
  const uint8_t inner[5] = {111, 71, 0, 0, 71}, outer[5] = {135, 71, 0, 0, 47};
  auto lit = [&](int x, int y) { return test::Grey(y == 0 || y == 3 ? outer[x] : inner[x]); };
  EXPECT_TRUE(Same(s, test::Painted(5, 4, lit)));
  // "-1" typed becomes 65535: 257 * 255 / 65535 = 1, 257 * 254 / 65535 = 0.
  TFastDIB top = Uniform(3, 2, MakePixel(255, 254, 0));
  const int32_t k257[9] = {0, 0, 0, 0, 257, 0, 0, 0, 0};
  Convolve3x3(k257, 65535, top);
  EXPECT_EQ(top.GetPixel(1, 2), MakePixel(1, 0, 0));
  // Mixed signs, quotient truncated: 40 / 3 = 13, 4 / 3 = 1.
  TFastDIB n = Uniform(3, 2, MakePixel(10, 1, 0));
  const int32_t neg[9] = {0, 0, 0, 0, -5, 0, 0, 0, 9};
  Convolve3x3(neg, 3, n);
  EXPECT_EQ(n.GetPixel(0, 0), MakePixel(13, 1, 0));
  // 32-bit sums wrap: 2 * INT_MAX is -2, 3 * INT_MAX is 2^31 - 3.
  TFastDIB w = Uniform(4, 3, MakePixel(2, 3, 1)), ref = Clone(w);
  const int32_t big[9] = {0, 0, 0, 0, INT_MAX, 0, 0, 0, 0};
  Convolve3x3(big, 1, w);
  EXPECT_EQ(w.GetPixel(2, 3), MakePixel(0, 255, 255));
  // Divisor 0 is refused upstream; here it must simply change nothing.
  Convolve3x3(big, 0, ref);
  EXPECT_TRUE(Same(ref, Uniform(4, 3, MakePixel(2, 3, 1))));
  // Large kernels against the reference, including INT_MIN entries.
  const int32_t odd[9] = {INT_MIN, 1000, -77, 65536, 3, -40000, 12345678, -1, 7};
  for (uint16_t div : {uint16_t(1), uint16_t(7), uint16_t(65535)})
    for (auto [w2, h2] : kSizes) {
      TFastDIB a = Random(w2, h2, div), b = Clone(a);
      Convolve3x3(odd, div, a);
      RefConvolve(odd, div, b);
      EXPECT_TRUE(Same(a, b)) << div << " " << w2 << "x" << h2;
    }
}

TEST(Convolve, VectorDivisionExactOverWholeSumRange) {
  std::vector<int16_t> sums;
  for (int s = -32767; s <= 32767; ++s) sums.push_back(int16_t(s));
  std::vector<uint8_t> out(sums.size());
  for (int d : {1, 2, 3, 6, 7, 8, 9, 16, 32, 63, 1000, 4097, 32767, 32768, 65535}) {
    detail::DivideSums16(sums.data(), out.data(), int(sums.size()), uint16_t(d));
    for (size_t i = 0; i < sums.size(); ++i) {
      const int q = sums[i] / d;
      ASSERT_EQ(out[i], q < 0 ? 0 : q > 255 ? 255 : q) << sums[i] << " / " << d;
    }
  }
}

TEST(GBlur, ByteConversionKernelTrimAndReference) {
  for (auto [sum, byte] : {std::pair{255.0, 255}, {std::nextafter(255.0, 0.0), 254}, {1e9, 255}, {-3.5, 0}, {17.99, 17}})
    EXPECT_EQ(GaussSumToByte(sum), byte) << sum;
  // Worked by hand from exp(-(j/r)^2/2): the weights dropped from the ends
  // first reach 1/510 at these sizes (1.5 would give 3 at a granularity of
  // 1/255); never below one tap each side (0.1); flat, the outer pair alone
  // exceeds 1/510 (1e6).
  for (auto [r, size] : {std::pair{1.0, 2}, {2.0, 5}, {3.0, 8}, {1.5, 4}, {2.5, 7}, {3.5, 9}, {0.1, 1}, {1e6, 9}})
    EXPECT_EQ(MakeGaussKernel(r).Size, size) << r;
  for (double r : {0.7, 3.0, 9.5}) {
    const GaussKernel k = MakeGaussKernel(r);
    double sum = 0;
    for (int j = -10; j <= 10; ++j) {
      EXPECT_EQ(k.Weights[10 + j], k.Weights[10 - j]);
      if (std::abs(j) > k.Size) {
        EXPECT_EQ(k.Weights[10 + j], 0.0f);
      }
      sum += k.Weights[10 + j];
    }
    EXPECT_NEAR(sum, 1.0, 1e-6);
  }
  for (int mode : {0, 1, 2}) {
    SetWorkerCount(mode == 0 ? 1 : 2);
    detail::UseVectorGauss(mode != 2);
    // 0.15 has weights too small for the paired sums, 0.25 just large enough.
    for (double r : {0.15, 0.25, 1.0, 3.0, 40.0})
      for (auto [w, h] : kSizes) {
        TFastDIB s = Random(w, h, uint32_t(r * 10 + w)), ref = Clone(s);
        ASSERT_TRUE(GBlur(s, r));
        RefGBlur(ref, r);
        EXPECT_TRUE(Same(s, ref)) << r << " " << w << "x" << h << " mode " << mode;
      }
    TFastDIB s = Random(350, 40, 9), ref = Clone(s);  // enough rows and strips for two threads
    GBlur(s, 3);
    RefGBlur(ref, 3);
    EXPECT_TRUE(Same(s, ref));
  }
  // Where the single-precision weights sum to a hair over 1 (radius 1 and 5)
  // white reaches the clamp at 255; black stays 0 whatever the radius.
  for (int mode : {0, 2})
    for (auto [v, r] : {std::pair{255, 1.0}, {255, 5.0}, {0, 3.0}}) {
      detail::UseVectorGauss(mode == 0);
      TFastDIB s = Uniform(40, 9, MakePixel(uint8_t(v), uint8_t(v), uint8_t(v)));
      GBlur(s, r);
      EXPECT_TRUE(Same(s, Uniform(40, 9, MakePixel(uint8_t(v), uint8_t(v), uint8_t(v))))) << v << " mode " << mode;
    }
  detail::UseVectorGauss(true);
  TFastDIB empty;
  EXPECT_FALSE(GBlur(empty, 2));
  TFastDIB s = Random(6, 4, 3), keep = Clone(s);
  for (double r : {0.0, -2.0, std::nan("")}) {
    EXPECT_TRUE(GBlur(s, r));
    EXPECT_TRUE(Same(s, keep));
  }
}

TEST(GBlur, CommandWrapsAsTile) {
  TFastDIB scratch;
  // Radius 12: the margin of 13 is wider than the kernel reaches; on the
  // small sizes margins larger than the image wrap modulo its size.
  for (int radius : {0, 2, 12})
    for (auto [w, h] : {std::pair{30, 25}, {1, 1}, {1, 3}, {3, 1}, {5, 3}}) {
      TFastDIB s = Random(w, h, uint32_t(radius + w)), ref = Clone(s);
      GaussianBlurCommand(s, scratch, radius);
      RefGaussCommand(ref, radius);
      EXPECT_TRUE(Same(s, ref)) << radius << " " << w << "x" << h;
    }
  // Radius below 0 gives no margin at all: the image is left unchanged.
  TFastDIB s = Random(8, 5, 1), keep = Clone(s);
  for (int radius : {-1, -2, INT_MIN}) GaussianBlurCommand(s, scratch, radius);
  EXPECT_TRUE(Same(s, keep));
  GaussianBlurCommand(s, scratch, INT_MAX);
  GaussianBlurCommand(s, s, 2);  // scratch and work the same surface
}

TEST(ClassicEmboss, UniformAndReference) {
  TFastDIB scratch;
  for (auto [level, v] : {std::pair{255, 127}, {250, 125}, {-7, 0}, {2000, 255}, {INT_MIN, 0}, {INT_MAX, 255}}) {
    TFastDIB s = Uniform(6, 5, MakePixel(40, 90, 250));
    ClassicEmboss(s, scratch, level);
    EXPECT_TRUE(Same(s, Uniform(6, 5, MakePixel(v, v, v)))) << level;
  }
  for (auto [w, h2] : kSizes) {
    TFastDIB s = Random(w, h2, uint32_t(w * h2)), copy = Clone(s), ref = Clone(s);
    for (int y = 0; y < h2; ++y)
      for (int x = 0; x < w; ++x) {
        const int xx = ((x - 2) % w + w) % w, yy = ((y - 2) % h2 + h2) % h2;
        TPixel24 p, a = copy.GetPixel(yy, xx), b = copy.GetPixel(y, x);
        for (int c = 0; c < 3; ++c) Ch(p, c) = uint8_t(std::clamp(60 - Ch(a, c) + Ch(b, c), 0, 255));
        ref.SetPixel(yy, xx, p);
      }
    ClassicEmboss(s, scratch, 121);
    EXPECT_TRUE(Same(s, ref)) << w << "x" << h2;
  }
  TFastDIB self = Uniform(4, 4, MakePixel(1, 2, 3));
  ClassicEmboss(self, self, 20);
  EXPECT_TRUE(Same(self, Uniform(4, 4, MakePixel(10, 10, 10))));
}

TEST(SplitBlur, InPlaceOrderAndReference) {
  TFastDIB s = Random(9, 7, 4), keep = Clone(s);
  SplitGauss(s, -1);
  EXPECT_TRUE(Same(s, keep));
  // One row, d = 1, green 0 4 8 12: later pixels read the new values
  // (8, then 8, 10, 9); reading only old values would give 8 4 8 4.
  TFastDIB r = test::Painted(4, 1, [](int x, int) { return MakePixel(0, uint8_t(4 * x), 0); });
  SplitBlur(r, 1);
  const uint8_t want[4] = {8, 8, 10, 9};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(r.GetPixel(0, x).G, want[x]) << x;

  for (auto [w, h] : kSizes)
    for (int d : {0, 1, 2, -3, 5, 20, 1000003, INT_MIN, INT_MAX}) {
      TFastDIB a = Random(w, h, uint32_t(d) + uint32_t(w)), b = Clone(a);
      SplitBlur(a, d);
      RefSplitBlur(b, d);
      EXPECT_TRUE(Same(a, b)) << d << " " << w << "x" << h;
    }
  // Split Gauss: Split Blur from the amount down to 0.
  for (auto [w, h] : kSizes) {
    TFastDIB a = Random(w, h, 3), b = Clone(a);
    SplitGauss(a, 9);
    for (int d = 9; d >= 0; --d) RefSplitBlur(b, d);
    EXPECT_TRUE(Same(a, b)) << w << "x" << h;
  }
}
