#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "core/effects/distortions.h"
#include "core/util/parallel.h"
#include "test_util.h"

using namespace vorq;

namespace {

using test::BothVectorPaths;
using test::Clone;
using test::Random;
bool Same(const TFastDIB& a, const TFastDIB& b) { return test::SamePixels(a, b); }
TPixel24 Px(const TFastDIB& s, int x, int y) { return s.GetPixel(y, x); }

// --- naive references, straight from the described arithmetic ---

int RefWrap(long long i, int n) { return i < 0 ? int((n - 1) - (-i) % n) : i > n - 1 ? int(i % n) : int(i); }

// Forward mapping through the tall W x (H + 2A) buffer, column by column.
TFastDIB RefSineUD(const TFastDIB& in, int A, long double D, bool wrap) {
  const int W = in.Width(), H = in.Height();
  if (A > H) A = H;
  TFastDIB out = Clone(in);
  std::vector<TPixel24> col(size_t(H + 2 * A));
  for (int x = 0; x < W; ++x) {
    const int s = int(std::nearbyint(std::sin(x / D) * A));
    if (wrap) {
      for (int y = 0; y < H; ++y) {
        int r = y + s;
        if (r < 0) r += H; else if (r > H - 1) r -= H;
        out.SetPixel(r, x, Px(in, x, y));
      }
      continue;
    }
    for (int j = 0; j <= 2 * A; ++j) col[size_t(j)] = Px(in, x, 0);
    for (int j = H - 1; j <= H + 2 * A - 1; ++j) col[size_t(j)] = Px(in, x, H - 1);
    for (int y = 0; y < H; ++y) col[size_t(y + s + A)] = Px(in, x, y);
    for (int y = 0; y < H; ++y) out.SetPixel(y, x, col[size_t(y + A)]);
  }
  return out;
}

TPixel24 RefSample(const TFastDIB& s, float sx, float sy) {
  const int W = s.Width(), H = s.Height();
  int ix = int(sx), iy = int(sy);
  const float fx = sx - ix, fy = sy - iy;
  const float cw0 = sx >= 0 ? 1 - fx : -fx, cw1 = sx >= 0 ? fx : 1 - cw0;
  const float rw0 = sy >= 0 ? 1 - fy : -fy, rw1 = sy >= 0 ? fy : 1 - rw0;
  ix = RefWrap(ix, W);
  iy = RefWrap(iy, H);
  const int ix1 = ix == W - 1 ? 0 : ix + 1, iy1 = iy == H - 1 ? 0 : iy + 1;
  TPixel24 out;
  for (int c = 0; c < 3; ++c) {
    auto ch = [&](int x, int y) { return float((&s.Row24(y)[x].B)[c]); };
    float sum = float(cw0 * rw0) * ch(ix, iy);
    sum += float(cw1 * rw0) * ch(ix1, iy);
    sum += float(cw0 * rw1) * ch(ix, iy1);
    sum += float(cw1 * rw1) * ch(ix1, iy1);
    (&out.B)[c] = uint8_t(std::nearbyint(sum));
  }
  return out;
}

TFastDIB RefTwist(const TFastDIB& in, int K) {
  TFastDIB out = Clone(in);
  const float cx = (in.Width() - 1) / 2.0f, cy = (in.Height() - 1) / 2.0f, pi = float(M_PI);
  for (int y = 0; y < in.Height(); ++y)
    for (int x = 0; x < in.Width(); ++x) {
      const float dx = x - cx, dy = y - cy, r = std::sqrt(dx * dx + dy * dy);
      float sx = cx, sy = cy;
      if (r != 0) {
        float a = dx == 0 ? (dy > 0 ? pi / 2 : -pi / 2) : std::atan(dy / dx) + (dx < 0 ? pi : 0);
        a = a - r / float(K) + pi / 2;
        sx = cx + r * std::cos(a);
        sy = cy + r * std::sin(a);
      }
      out.SetPixel(y, x, RefSample(in, sx, sy));
    }
  return out;
}

TFastDIB RefFishEye(const TFastDIB& in, float M) {
  TFastDIB out = Clone(in);
  const float cx = in.Width() / 2.0f, cy = in.Height() / 2.0f;
  float R = in.Width() * M;
  for (int y = 0; y < in.Height(); ++y)
    for (int x = 0; x < in.Width(); ++x) {
      const float dx = x - cx, dy = y - cy, d = std::sqrt(dx * dx + dy * dy);
      float sx = cx, sy = cy;
      if (d != 0) {
        if (d == R) R += 0.01f;
        const float k = (1 / (1 - d / R) - 1) * R / 2;
        sx = cx + dx * k / d;
        sy = cy + dy * k / d;
      }
      out.SetPixel(y, x, RefSample(in, sx, sy));
    }
  return out;
}

TFastDIB RefWhirl(const TFastDIB& in, int angle, double p, double rho) {
  TFastDIB out = Clone(in);
  const int W = in.Width(), H = in.Height();
  const double cx = std::nearbyint((W - 1) / 2.0), cy = std::nearbyint((H - 1) / 2.0);
  const double rx = (W - 2) / 2.0, ry = (H - 2) / 2.0;
  const double kx = rx < ry ? ry / rx : 1, ky = rx < ry ? 1 : (rx == ry ? 1 : rx / ry), R = std::max(rx, ry);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const double dx = (x - cx) * kx, dy = (y - cy) * ky, d2 = dx * dx + dy * dy;
      double sx = x, sy = y;
      if (d2 < R * R * rho) {
        const double f = std::sqrt(d2 / rho) / R, s = std::sin(M_PI / 2 * f), g = s == 0 ? 0 : std::pow(s, -p);
        const double b = angle * M_PI / 180 * (1 - f) * (1 - f);
        sx = (std::cos(b) * dx * g - std::sin(b) * dy * g) / kx + cx;
        sy = (std::sin(b) * dx * g + std::cos(b) * dy * g) / ky + cy;
      }
      const int ix = RefWrap((long long)std::nearbyint(sx < 0 ? sx - 1 : sx), W);
      const int iy = RefWrap((long long)std::nearbyint(sy < 0 ? sy - 1 : sy), H);
      out.SetPixel(y, x, Px(in, ix, iy));
    }
  return out;
}

// Waves pixel by pixel, row by row, as the steps describe it.
TFastDIB RefWaves(const TFastDIB& in, int A, int L, double phaseDeg, bool reflective) {
  const int W = in.Width(), H = in.Height();
  TFastDIB out = Clone(in);
  const double phase = phaseDeg * M_PI / 180, cx = (W - 1) / 2.0, cy = (H - 1) / 2.0, a = W / 2.0, b = H / 2.0;
  const double kx = a < b ? b / a : 1, ky = a < b ? 1 : a / b;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const double u = (x - cx) * kx, v = (y - cy) * ky, d = std::sqrt(u * u + v * v);
      const double angle = d / (2.0 * L) * (2 * M_PI) + phase;
      // Reflective scales the offset from the centre and clamps; otherwise the offset is added and wraps.
      const double s = reflective ? std::fabs(std::sin(angle)) * A : std::sin(angle) * A;
      const double sx = reflective ? s * u / kx + cx : (s + u) / kx + cx;
      const double sy = reflective ? s * v / ky + cy : (s + v) / ky + cy;
      const long long ix = (long long)std::nearbyint(sx), iy = (long long)std::nearbyint(sy);
      out.SetPixel(y, x, reflective ? Px(in, int(std::clamp(ix, 0LL, W - 1LL)), int(std::clamp(iy, 0LL, H - 1LL)))
                                    : Px(in, RefWrap(ix, W), RefWrap(iy, H)));
    }
  return out;
}

// Circular from the steps: 721 spirals of 901 points in extended precision.
TFastDIB RefCircular(const TFastDIB& in) {
  const int W = in.Width(), H = in.Height();
  TFastDIB out = Clone(in);
  const long double degree = M_PIl / 180;
  int q = 0;
  for (int i = 0; i <= 720; ++i) {
    long double theta = i / 0.72L * degree, r = 0;
    if (q > H - 1) q -= H;
    const int row = q++;
    for (int j = 0, c = 0; j <= 900; ++j, ++c) {
      const int px = int(std::nearbyint(std::cos(theta) * r)) + W / 2, py = int(std::nearbyint(std::sin(theta) * r)) + H / 2;
      if (c > W - 1) c -= W;
      if (px >= 0 && px < W && py >= 0 && py < H) out.SetPixel(py, px, Px(in, c, row));
      theta += degree;
      r = r / (j + 20) + 0.052L + r;
    }
  }
  return out;
}

// Textbook Bresenham from the start point, unclipped.
void RefLine(TFastDIB& s, int x0, int y0, int x1, int y1, TPixel24 c) {
  const int adx = std::abs(x1 - x0), ady = std::abs(y1 - y0), sx = x1 < x0 ? -1 : 1, sy = y1 < y0 ? -1 : 1;
  const bool xm = adx >= ady;
  const int len = xm ? adx : ady, mn = xm ? ady : adx;
  int D = 2 * mn - len, x = x0, y = y0;
  for (int k = 0; k < len; ++k) {
    s.SetPixel(y, x, c);
    if (D > 0) { (xm ? y : x) += xm ? sy : sx; D -= 2 * len; }
    D += 2 * mn;
    (xm ? x : y) += xm ? sx : sy;
  }
}

}  // namespace

TEST(DistortWrapRule, MinusOneGoesToNMinusTwo) {
  EXPECT_EQ(WrapIndex(-1, 10), 8);
  EXPECT_GE(WrapIndex(INT64_MIN, 7), 0);
  for (int n = 1; n <= 6; ++n)
    for (long long i = -40; i <= 40; ++i) EXPECT_EQ(WrapIndex(i, n), RefWrap(i, n)) << i << " " << n;
}

TEST(DistortSineWave, ColumnShiftAndReference) {
  // Column 16 of a 64-wide image with one peak: sin(pi/4) * 10 = 7.07 -> down by 7.
  TFastDIB in = Random(64, 32, 1), img = Clone(in), scratch;
  EXPECT_EQ(SineWaveUD(img, scratch, 10, 1.0, true, true), 10);
  for (int y = 0; y < 32; ++y) EXPECT_EQ(Px(img, 16, (y + 7) % 32), Px(in, 16, y));
  for (bool wrap : {true, false})
    for (int A : {0, 3, 17, 32, 500}) {
      for (double peaks : {3.0, 0.5}) {
        img = Clone(in);
        EXPECT_EQ(SineWaveUD(img, scratch, A, peaks, true, wrap), std::min(A, 32));
        EXPECT_TRUE(Same(img, RefSineUD(in, A, 64.0L / M_PIl / peaks, wrap))) << A << wrap;
      }
      img = Clone(in);
      SineWaveUD(img, scratch, A, 9.5, false, wrap);
      EXPECT_TRUE(Same(img, RefSineUD(in, A, 9.5L, wrap))) << A << wrap;
    }
}

TEST(DistortSineWave, LeftRightIsUpDownTransposedAndBothOneHump) {
  const TFastDIB in = Random(20, 48, 2), t = test::Painted(48, 20, [&](int x, int y) { return Px(in, y, x); });
  TFastDIB img, scratch;
  for (bool wrap : {true, false}) {
    img = Clone(in);
    SineWaveLR(img, scratch, 7, 2.0, true, wrap);
    const TFastDIB ref = RefSineUD(t, 7, 48.0L / M_PIl / 2, wrap);
    EXPECT_TRUE(Same(img, test::Painted(20, 48, [&](int x, int y) { return Px(ref, y, x); }))) << wrap;
  }
  // Both, one hump across the width: edges stay, the middle moves down the full height.
  const TFastDIB wide = Random(256, 64, 3);
  TFastDIB both = Clone(wide);
  SineWaveBoth(both, scratch, 20, 0, 2.0, 1.0);
  for (int y = 0; y < 64; ++y) {
    EXPECT_EQ(Px(both, 0, y), Px(wide, 0, y));
    EXPECT_EQ(Px(both, 128, y), Px(wide, 128, (y + 20) % 64));
    EXPECT_EQ(Px(both, 255, y), Px(wide, 255, y));  // sin(255/256 pi) * 20 = 0.25
  }
}

TEST(DistortRippleTooth, ColumnShiftXModM) {
  // Amount, then the period it gives: limited to H div 2, and the eight-bit counter wraps at 256.
  for (auto [w, h, m, period] : {std::tuple{40, 30, 6, 6}, {40, 30, 1000, 15}, {300, 600, 400, 256}, {40, 30, 1, 1}}) {
    const TFastDIB in = Random(w, h, uint32_t(m));
    TFastDIB img = Clone(in), scratch;
    RippleTooth(img, scratch, m);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(Px(img, x, (y + x % period) % h), Px(in, x, y)) << m << " " << x << "," << y;
  }
}

// Waves and Fisheye work a pixel with its mirrors about the centre lines: odd
// and even sides, wide and tall images, both modes.
TEST(DistortMirrors, WavesAndFishEyeMatchReferencesOnManySizes) {
  for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {7, 1}, {1, 6}, {5, 5}, {8, 8}, {31, 20}, {20, 33}, {64, 40}, {131, 70}}) {
    const TFastDIB in = Random(w, h, uint32_t(7 * w + h));
    TFastDIB img, scratch;
    for (bool reflective : {false, true})
      for (auto [A, L, phase] : {std::tuple{24, 10, 8.0}, {-7, 3, 90.0}, {300, -5, 0.5}, {0, 10, 8.0}}) {
        img = Clone(in);
        Waves(img, scratch, A, L, phase, reflective);
        ASSERT_TRUE(Same(img, RefWaves(in, A, L, phase, reflective))) << w << "x" << h << " " << A << reflective;
      }
    // 0.5 on 64 x 40 meets R = 32 exactly at (0, 20); 0 shows the centre everywhere.
    for (float m : {0.75f, 0.2f, 1.5f, 0.5f, 0.0f})
      BothVectorPaths([&](bool wide) {
        img = Clone(in);
        FishEye(img, scratch, m);
        ASSERT_TRUE(Same(img, RefFishEye(in, m))) << w << "x" << h << " " << m << " wide " << wide;
      });
  }
}

TEST(DistortCircular, SpiralsMatchTheExtendedPrecisionSteps) {
  for (auto [w, h] : {std::pair{256, 256}, {37, 300}, {5, 3}}) {
    const TFastDIB in = Random(w, h, uint32_t(w + h));
    TFastDIB img = Clone(in), scratch;
    Circular(img, scratch);
    EXPECT_TRUE(Same(img, RefCircular(in))) << w << "x" << h;
  }
}

// Twist works a pixel together with its mirror through the centre (an odd
// middle row on its own) and reads four bytes per pixel except where the last
// row ends the pixel memory; Whirl/Pinch shares its factors between the four
// quadrants in tiles. Odd and even sides, padded and unpadded rows, several tiles.
// Pinch is clamped to 1; no radius changes nothing.
TEST(DistortSharedWork, TwistAndWhirlMatchReferencesOnManySizes) {
  // A tall image's twisted sources wrap many times across its width.
  for (auto [w, h] : {std::pair{1, 1}, {4, 3}, {5, 7}, {8, 4}, {13, 12}, {33, 7}, {130, 70}, {7, 130}}) {
    const TFastDIB in = Random(w, h, uint32_t(100 + w * 128 + h));
    TFastDIB img, scratch;
    BothVectorPaths([&](bool wide) {
      img = Clone(in);
      Twist(img, scratch, 9);
      EXPECT_TRUE(Same(img, RefTwist(in, 9))) << w << "x" << h << " wide " << wide;
      for (auto [angle, p, ref, rho] : {std::tuple{200, -0.4, -0.4, 1.3}, {90, 3.0, 1.0, 1.0}, {270, 0.5, 0.5, 0.0}}) {
        img = Clone(in);
        WhirlPinch(img, scratch, angle, p, rho);
        EXPECT_TRUE(Same(img, RefWhirl(in, angle, ref, rho))) << w << "x" << h << " " << angle << " wide " << wide;
      }
    });
  }
}

TEST(DistortAstroid, CurvesInColumnZeroColoursMatchTheReference) {
  for (int T : {0, 1, 3}) {
    for (auto [w, h] : {std::pair{21, 13}, {1, 6}, {6, 1}}) {
      const TFastDIB in = Random(w, h, 14);
      TFastDIB img = Clone(in);
      Astroid(img, T);
      const int pad = 3 * h, cx = w / 2 + pad, cy = h / 2 + pad;
      TFastDIB big;
      big.SetSize(w + 2 * pad, h + 2 * pad);
      in.Draw(big, pad, pad);
      for (int j = 0; j <= 2 * (h - 1); ++j) {
        int px = cx + j, py = cy;
        for (int a = 0; a <= 360; ++a) {
          const int nx = cx + int(std::nearbyint(std::pow(std::cos(a * M_PI / 180), T) * j));
          const int ny = cy + int(std::nearbyint(std::pow(std::sin(a * M_PI / 180), T) * j));
          RefLine(big, px, py, nx, ny, Px(in, 0, j % h));
          px = nx, py = ny;
        }
      }
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(Px(img, x, y), Px(big, x + pad, y + pad)) << T << " " << w << "x" << h;
    }
  }
}

// Two cores give what one gives, also with the image as its own scratch.
TEST(DistortSharedWork, TwoCoresAndTheImageAsScratchMatchOneCore) {
  const TFastDIB in = Random(71, 90, 15);
  const std::vector<void (*)(TFastDIB&, TFastDIB&)> runs = {
      [](TFastDIB& i, TFastDIB& s) { Twist(i, s, 30); },
      [](TFastDIB& i, TFastDIB& s) { FishEye(i, s, 0.75f); },
      [](TFastDIB& i, TFastDIB& s) { Waves(i, s, 24, 10, 8, false); },
      [](TFastDIB& i, TFastDIB& s) { Waves(i, s, 24, 10, 8, true); },
      [](TFastDIB& i, TFastDIB& s) { WhirlPinch(i, s, 270, 0.5, 1); },
      [](TFastDIB& i, TFastDIB& s) { SineWaveBoth(i, s, 50, 64, 2, 3); },
      [](TFastDIB& i, TFastDIB& s) { SineWaveUD(i, s, 50, 3, true, false); },
      [](TFastDIB& i, TFastDIB& s) { SineWaveLR(i, s, 9, 2, true, true); },
      [](TFastDIB& i, TFastDIB&) {
        TFastDIB own;  // Circular needs a scratch of its own
        Circular(i, own);
      },
      [](TFastDIB& i, TFastDIB&) { Astroid(i, 3); },  // each core draws every curve into its own band of rows
      [](TFastDIB& i, TFastDIB& s) { RippleTooth(i, s, 16); }};
  for (size_t k = 0; k < runs.size(); ++k) {
    TFastDIB one = Clone(in), two = Clone(in), scratch;
    SetWorkerCount(1);
    runs[k](one, scratch);
    SetWorkerCount(2);
    runs[k](two, two);
    EXPECT_TRUE(Same(one, two)) << k;
  }
}

// Values that would divide by zero leave the image as it is (extreme values
// on tiny images are swept through the editor).
TEST(DistortDegenerate, DivisionsByZeroChangeNothing) {
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {2, 5}, {3, 3}}) {
    const TFastDIB in = Random(w, h, 16);
    TFastDIB img = Clone(in), scratch;
    Twist(img, scratch, 0);
    Waves(img, scratch, 24, 0, 8, false);
    WhirlPinch(img, scratch, 270, 0.5, -1);
    Astroid(img, -3);
    SineWaveUD(img, scratch, 50, 0, false, true);
    SineWaveLR(img, scratch, 50, 0, true, false);
    EXPECT_TRUE(Same(img, in)) << w << "x" << h;
  }
}
