#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <vector>

#include "core/effects/geometry.h"
#include "core/effects/textures.h"
#include "core/util/parallel.h"
#include "core/util/random.h"
#include "test_util.h"

using namespace vorq;

namespace {

using test::Clone;
using test::Random;
using test::SamePixels;
using test::Uniform;

constexpr int kHostile[] = {0, 1, -1, 2, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1};

// --- references written from the described arithmetic, on plain grids ---

struct RefGrid {
  int W, H;
  std::vector<int32_t> v;
  int depth = 0, G = 0;
  int32_t& at(int x, int y) { return v[size_t(y) * W + x]; }
  void Cell(int x, int y, int a, int b) {
    if (at(x, y) != 0) return;
    int r = vorq::Random(G) >> depth;
    if (vorq::Random(2) == 0) r = -r;
    at(x, y) = std::clamp((a + b + 1) / 2 + r, 1, 255);
  }
  void Subdivide(int x1, int y1, int x2, int y2) {
    if (x2 - x1 < 2 && y2 - y1 < 2) return;
    ++depth;
    const int xm = (x1 + x2) / 2, ym = (y1 + y2) / 2;
    Cell(xm, y1, at(x1, y1), at(x2, y1));
    Cell(x2, ym, at(x2, y1), at(x2, y2));
    Cell(xm, y2, at(x1, y2), at(x2, y2));
    Cell(x1, ym, at(x1, y1), at(x1, y2));
    if (at(xm, ym) == 0) at(xm, ym) = (at(xm, y1) + at(x2, ym) + at(xm, y2) + at(x1, ym) + 2) / 4;
    Subdivide(x1, y1, xm, ym);
    Subdivide(xm, y1, x2, ym);
    Subdivide(xm, ym, x2, y2);
    Subdivide(x1, ym, xm, y2);
    --depth;
  }
  RefGrid(int w, int h, int g) : W(w), H(h), v(size_t(w) * h, 0), G(g) {
    Randomize();
    if (W < 2 || H < 2) return;  // no opposite edge: black
    const int hx = W / 2, hy = H / 2;
    for (auto [x, y] : {std::pair{0, 0}, {hx, 0}, {0, hy}, {hx, hy}}) at(x, y) = vorq::Random(255);
    depth = 0, Subdivide(0, 0, hx, hy);
    for (int y = 0; y <= hy; ++y) at(2 * hx - 1, y) = at(0, y);
    depth = 0, Subdivide(hx, 0, 2 * hx - 1, hy);
    for (int x = 0; x <= 2 * hx - 1; ++x) at(x, 2 * hy - 1) = at(x, 0);
    depth = 0, Subdivide(hx, hy, 2 * hx - 1, 2 * hy - 1);
    for (int y = hy; y <= 2 * hy - 1; ++y) at(0, y) = at(2 * hx - 1, y);
    depth = 0, Subdivide(0, hy, hx, 2 * hy - 1);
  }
};

int RefWrap(long long i, int n) { return i < 0 ? int((n - 1) - (-i) % n) : i > n - 1 ? int(i % n) : int(i); }
uint8_t& Byte(TFastDIB& s, int x, int y, int c) { return s.Row(y)[3 * x + c]; }

TFastDIB RefMarble(const TFastDIB& in, int G, float K, int T) {
  const int W = in.Width(), H = in.Height();
  float sinT[256], cosT[256];
  for (int i = 0; i < 256; ++i) sinT[i] = float(std::sin((long double)i / T) * K), cosT[i] = float(std::cos((long double)i / T) * K);
  RefGrid g1(W, H, G), g2(W, H, G);
  TFastDIB out = Clone(in);
  for (int x = 0; x < W; ++x)
    for (int y = 0; y < H; ++y) {
      const double a = std::nearbyint((x - W / 2 - 1) * double(sinT[g1.at(x, y)]));
      const double b = std::nearbyint((y - H / 2 - 1) * double(cosT[g2.at(x, y)]));
      out.SetPixel(y, x, in.GetPixel(int(std::clamp(std::fabs(b) - 1, 0.0, H - 1.0)), int(std::clamp(std::fabs(a) - 1, 0.0, W - 1.0))));
    }
  return out;
}

TFastDIB RefHeightMap(const TFastDIB& img, int az, int el, int depthIn, bool bump) {
  const int W = img.Width(), H = img.Height(), PW = W + 6, PH = H + 6;
  if (az == 0) az = 30;
  if (el == 0) el = 45;
  const unsigned dp = uint16_t(depthIn) ? uint16_t(depthIn) : 20;
  const double A = az * M_PI / 180, E = el * M_PI / 180;
  const double Lx = cos(E) * cos(A) * 255.9, Ly = cos(E) * sin(A) * 255.9, Lz = sin(E) * 255.9, Nz = 1530.0 / dp;
  TFastDIB pad, res;
  pad.SetSize(PW, PH);
  res.SetSize(PW, PH);  // black
  for (int y = 0; y < PH; ++y)
    for (int x = 0; x < PW; ++x) pad.SetPixel(y, x, img.GetPixel(((y - 3) % H + H) % H, ((x - 3) % W + W) % W));
  for (int y = 0; y < PH; ++y) {
    const int r0 = y == 0 ? 0 : y == PH - 1 ? PH - 2 : y - 1, r1 = y == PH - 1 ? PH - 2 : y, r2 = y == 0 ? 1 : y == PH - 1 ? y : y + 1;
    for (int x = 1; x <= W + 4; ++x) {
      auto h = [&](int r, int dx) { return int(pad.GetPixel(r, x + dx).B); };
      const int nx = h(r0, -1) + h(r1, -1) + h(r2, -1) - h(r0, 1) - h(r1, 1) - h(r2, 1);
      const int ny = h(r2, -1) + h(r2, 0) + h(r2, 1) - h(r0, -1) - h(r0, 0) - h(r0, 1);
      long long shade = std::max(0LL, (long long)Lz);
      if (nx || ny) {
        const long long d = (long long)(nx * Lx + ny * Ly + Nz * Lz);
        shade = d < 0 ? 0 : (long long)(d / std::sqrt(nx * nx + ny * ny + Nz * Nz));
      }
      const TPixel24 p = pad.GetPixel(r0, x);
      res.SetPixel(y, x, bump ? TPixel24{uint8_t(p.B * shade >> 8), uint8_t(p.G * shade >> 8), uint8_t(p.R * shade >> 8)}
                              : TPixel24{uint8_t(shade), uint8_t(shade), uint8_t(shade)});
    }
  }
  TFastDIB out;
  out.SetSize(W, H);
  res.DrawPart(out, 0, 0, W, H, 3, 3);
  return out;
}

std::vector<std::function<void(TFastDIB&, TFastDIB&)>> RandomEffects() {
  return {[](TFastDIB& w, TFastDIB&) { PlasmaCloud(w, 700); },
          [](TFastDIB& w, TFastDIB& s) { Marble(w, s, 700, 2.0f, 120); },
          [](TFastDIB& w, TFastDIB& s) { Spray(w, s, 15); },
          [](TFastDIB& w, TFastDIB&) { ColorNoise(w, 50); },
          [](TFastDIB& w, TFastDIB&) { SuperNova(w, 32, 64, 32, 24, 36, 0x3080F0); }};
}

}  // namespace

TEST(Random, RangeZeroNegativeSkipAndSeeds) {
  FixSeed(1);
  for (int n : kHostile) {
    const int r = vorq::Random(n);
    EXPECT_TRUE(n <= 0 ? r == 0 : (r >= 0 && r < n)) << n;
  }
  const uint32_t s = RandSeed();
  for (int i = 0; i < 1000; ++i) vorq::Random(7);
  EXPECT_EQ(RandSkip(s, 1000), RandSeed());
  auto draws = [] { std::vector<int> v; for (int i = 0; i < 8; ++i) Randomize(), v.push_back(vorq::Random(INT_MAX)); return v; };
  FixSeed(42);
  const auto a = draws();
  FixSeed(42);
  EXPECT_EQ(a, draws());           // a fixed seed repeats every reseed
  EXPECT_NE(a[0], a[1]);           // yet each reseed starts a new sequence
  UnfixSeed();
  EXPECT_NE(draws(), draws());     // the clock never repeats
}

TEST(PlasmaCloud, MatchesTheFieldReferenceAtEverySize) {
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {2, 2}, {3, 3}, {2, 9}, {16, 3}, {5, 3}, {37, 19}, {64, 64}})
    for (int g : {0, 700, INT_MAX, INT_MIN}) {
      TFastDIB img = Random(w, h, 3, true), ref;
      FixSeed(uint32_t(w * 100 + h));
      PlasmaCloud(img, g);
      FixSeed(uint32_t(w * 100 + h));
      RefGrid field(w, h, g);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const uint8_t v = uint8_t(field.at(x, y));
          ASSERT_EQ(img.GetPixel(y, x), MakePixel(v, v, v)) << w << "x" << h << " G " << g << " at " << x << "," << y;
        }
    }
}

TEST(PlasmaCloud, TilesWhenEvenAndLeavesTheOddEdgeBlack) {
  for (uint32_t seed = 0; seed < 20; ++seed) {
    FixSeed(seed);
    Randomize();
    bool zeroSeed = false;  // a seed of 0 counts as unset and is recomputed
    for (int k = 0; k < 4; ++k) zeroSeed |= vorq::Random(255) == 0;
    for (auto [w, h] : {std::pair{256, 256}, {6, 4}, {40, 2}, {30, 50}}) {
      TFastDIB img;
      img.SetSize(w, h);
      FixSeed(seed);
      PlasmaCloud(img, 700);
      for (int y = 0; y < h && !zeroSeed; ++y) ASSERT_EQ(img.GetPixel(y, w - 1), img.GetPixel(y, 0));
      for (int x = 0; x < w && !zeroSeed; ++x) ASSERT_EQ(img.GetPixel(h - 1, x), img.GetPixel(0, x));
    }
  }
  TFastDIB odd = Uniform(255, 255, MakePixel(9, 9, 9));
  PlasmaCloud(odd, 700);
  for (int i = 0; i < 255; ++i) {
    EXPECT_EQ(odd.GetPixel(i, 254), MakePixel(0, 0, 0));
    EXPECT_EQ(odd.GetPixel(254, i), MakePixel(0, 0, 0));
  }
}

TEST(Marble, MatchesTheReferenceAndRefusesDivisionByZero) {
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {5, 3}, {37, 19}})
    for (auto [k, t] : {std::pair{2.0f, 120}, {-3.5f, 7}, {1e30f, 1}, {0.0f, INT_MIN}}) {
      const TFastDIB src = Random(w, h, 5);
      TFastDIB img = Clone(src), scratch;
      FixSeed(9);
      Marble(img, scratch, 700, k, t);
      FixSeed(9);
      ASSERT_TRUE(SamePixels(img, RefMarble(src, 700, k, t))) << w << "x" << h << " K " << k << " T " << t;
    }
  const TFastDIB src = Random(9, 9, 1);
  TFastDIB img = Clone(src), scratch;
  Marble(img, scratch, 700, 2.0f, 0);
  Marble(img, scratch, 700, NAN, 120);
  Marble(img, scratch, 700, INFINITY, 120);
  EXPECT_TRUE(SamePixels(img, src));
}

TEST(SprayAndColorNoise, MatchTheReferencesAndKeepTheImageAtTheNeutralValues) {
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {5, 3}, {37, 40}})
    for (int v : kHostile) {
      const TFastDIB src = Random(w, h, 7, true);
      TFastDIB spray = Clone(src), noise = Clone(src), scratch;
      FixSeed(3);
      Spray(spray, scratch, v);
      ColorNoise(noise, v);
      TFastDIB ref = Clone(src);
      FixSeed(3);
      const int S = std::min(v, 1 << 30);
      if (S > 1)
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            const int r = vorq::Random(S);
            const long long sx = x + r - vorq::Random(2 * r), sy = y + r - vorq::Random(2 * r);
            ref.SetPixel(y, x, src.GetPixel(RefWrap(sy, h), RefWrap(sx, w)));
          }
      EXPECT_TRUE(SamePixels(spray, ref, true)) << w << "x" << h << " S " << v;
      const int a = v & 255;
      ref = Clone(src);
      if (a > 1)
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) Byte(ref, x, y, c) = uint8_t(std::clamp(Byte(ref, x, y, c) + vorq::Random(a) - a / 2, 0, 255));
      EXPECT_TRUE(SamePixels(noise, ref, true)) << w << "x" << h << " N " << v;
    }
  for (int v : {1, 256, 512}) {  // Random(1) = 0 with half 0; Random(0) = 0
    const TFastDIB src = Random(6, 6, 2);
    TFastDIB img = Clone(src), scratch;
    ColorNoise(img, v);
    if (v == 1) Spray(img, scratch, v);  // r = Random(1) = 0
    EXPECT_TRUE(SamePixels(img, src)) << v;
  }
}

namespace {

// Hue, saturation, lightness of the pen colour and back, as described.
void RefHsl(double r, double g, double b, double& H, double& S, double& L) {
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
  L = (mx + mn) / 2;
  H = S = 0;
  if (L == 0 || d == 0) return;
  S = L <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
  const double r1 = (mx - r) / d, g1 = (mx - g) / d, b1 = (mx - b) / d;
  const double h6 = r == mx ? (g == mn ? 5 + b1 : 1 - g1) : g == mx ? (b == mn ? 1 + r1 : 3 - b1) : (r == mn ? 3 + g1 : 5 - r1);
  H = h6 / 6;
}
std::array<int, 3> RefRgb(double H, double S, double L) {
  const double m2 = L <= 0.5 ? L * (1 + S) : L + S - L * S;
  if (m2 <= 0) return {0, 0, 0};
  const double m1 = 2 * L - m2, e = 6 * H;
  const int k = int(e);
  const double q = m2 * ((m2 - m1) / m2) * (e - k), up = m1 + q, dn = m2 - q;
  const double c[6][3] = {{m2, up, m1}, {dn, m2, m1}, {m1, m2, up}, {m1, dn, m2}, {up, m1, m2}, {m2, m1, dn}};
  return {int(255 * c[k][0]), int(255 * c[k][1]), int(255 * c[k][2])};
}

TFastDIB RefNova(const TFastDIB& in, int R, int n, int hueAmt, int X, int Y, uint32_t pen) {
  const int W = in.Width(), H = in.Height();
  const double cx = std::clamp(X, 0, W - 1), cy = std::clamp(Y, 0, H - 1);
  Randomize();
  double hue, sat, lit;
  RefHsl((pen & 255) / 255.0, (pen >> 8 & 255) / 255.0, (pen >> 16 & 255) / 255.0, hue, sat, lit);
  std::vector<double> spoke(n);
  std::vector<std::array<int, 3>> col(n);
  for (int i = 0; i < n; ++i) {
    double s = 0;
    for (int k = 0; k < 6; ++k) s += vorq::Random(2147483647) / 2147483647.0;
    spoke[i] = s / 6;
    hue += (vorq::Random(2147483647) / 2147483647.0 - 0.5) * (hueAmt / 360.0);
    hue -= std::floor(hue);  // modulo 1
    col[i] = RefRgb(hue, sat, lit);
  }
  TFastDIB out = Clone(in);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const double u = (x - cx) / R, v = (y - cy) / R, c = std::sqrt(u * u + v * v);
      const double t = (std::atan2(u, v) / (2 * M_PI) + 0.51) * n;
      int i = int(std::floor(t));
      const double f = t - i;
      i %= n;
      const int j = (i + 1) % n;
      const double light = std::pow((1 - f) * spoke[i] + f * spoke[j], 2), w = 0.9 / (c + 0.001), a = std::min(w, 1.0);
      for (int ch = 0; ch < 3; ++ch) {  // red, green, blue
        const double cc = (1 - f) * col[i][ch] + f * col[j][ch];
        uint8_t& p = Byte(out, x, y, 2 - ch);
        long long val = w > 1 ? std::clamp((long long)(cc * w), 0LL, 255LL) : (long long)(p * (1 - a) + cc * a);
        val = (long long)(255 * std::clamp(light * w, 0.0, 1.0) + val);
        p = uint8_t(std::clamp(val, 0LL, 255LL));
      }
    }
  return out;
}

}  // namespace

TEST(SuperNova, MatchesTheReferenceClampsTheCentreAndRefusesZeros) {
  struct Case { int w, h, R, n, hue, x, y; uint32_t pen; };
  for (const Case& c : {Case{1, 1, 32, 64, 32, 24, 36, 0x0000FF}, Case{37, 19, 5, 7, 360, 10, 4, 0x3080F0},
                        Case{5, 3, -3, 1, INT_MAX, -9, INT_MIN, 0xFFFFFF}, Case{7, 1, INT_MIN, 3, INT_MIN, 3, 0, 0x102030},
                        Case{1, 7, 1, 5, 0, 0, INT_MAX, 0x00FF00}}) {
    const TFastDIB src = Random(c.w, c.h, 11);
    TFastDIB img = Clone(src);
    FixSeed(5);
    SuperNova(img, c.R, c.n, c.hue, c.x, c.y, c.pen);
    FixSeed(5);
    EXPECT_TRUE(SamePixels(img, RefNova(src, c.R, c.n, c.hue, c.x, c.y, c.pen))) << c.w << "x" << c.h << " R " << c.R;
  }
  const TFastDIB src = Random(20, 10, 4);
  TFastDIB a = Clone(src), b = Clone(src);
  FixSeed(1), SuperNova(a, 8, 16, 32, 500, 3, 0xFF);
  FixSeed(1), SuperNova(b, 8, 16, 32, 19, 3, 0xFF);  // X Pos beyond the width: the last column
  EXPECT_TRUE(SamePixels(a, b));
  for (auto [R, n] : {std::pair{0, 64}, {32, 0}, {32, -1}, {32, INT_MIN}}) SuperNova(a, R, n, 32, 1, 1, 0xFF);
  EXPECT_TRUE(SamePixels(a, b));
}

TEST(HeightMap, MatchesTheReferenceOnEdgeImages) {
  TFastDIB bright = Uniform(5, 5, MakePixel(0, 0, 0));
  bright.SetPixel(2, 2, MakePixel(255, 255, 255));
  TFastDIB ramp;
  ramp.SetSize(7, 3);
  for (int x = 0; x < 7; ++x)
    for (int y = 0; y < 3; ++y) ramp.SetPixel(y, x, MakePixel(uint8_t(40 * x), 7, uint8_t(40 * x + 9 * y)));
  const TFastDIB images[] = {std::move(bright), std::move(ramp), Random(1, 1, 2), Random(1, 7, 3), Random(9, 6, 4)};
  struct P { int az, el, dp; };
  for (const TFastDIB& src : images)
    for (const P& p : {P{0, 0, 0}, P{32, 20, 16}, P{-90, -45, 65536}, P{INT_MAX, INT_MIN, -1}, P{200, 90, 1}})
      for (bool bump : {false, true}) {
        TFastDIB img = Clone(src), scratch;
        HeightMap(img, scratch, p.az, p.el, p.dp, bump);
        EXPECT_TRUE(SamePixels(img, RefHeightMap(src, p.az, p.el, p.dp, bump)))
            << src.Width() << "x" << src.Height() << " " << p.az << " " << p.el << " " << p.dp << " " << bump;
      }
  // A flat image is the background shade Trunc(Lz) = Trunc(sin(20 deg) * 255.9) = 87.
  TFastDIB flat = Uniform(8, 4, MakePixel(200, 100, 50)), scratch, grey = Clone(flat);
  HeightMap(grey, scratch, 32, 20, 16, false);
  HeightMap(flat, scratch, 32, 20, 16, true);
  EXPECT_EQ(test::Count(grey, MakePixel(87, 87, 87)), 32);
  EXPECT_EQ(test::Count(flat, MakePixel(200 * 87 >> 8, 100 * 87 >> 8, 50 * 87 >> 8)), 32);
}

TEST(MapTexture, MultipliesBySineOfTheGreyTexture) {
  // Same size, Brightness 10 (B = 1): white texture scales by sin(1).
  const TFastDIB src = Random(6, 5, 8);
  TFastDIB img = Clone(src), scratch;
  MapTexture(img, scratch, Uniform(6, 5, MakePixel(255, 255, 255)), 1.0);
  for (int y = 0; y < 5; ++y)
    for (int i = 0; i < 18; ++i) ASSERT_EQ(img.Row(y)[i], uint8_t(std::nearbyint(src.Row(y)[i] * double(float(std::sin(1.0L))))));
  // Other sizes, colour textures, brightness extremes: grey, resize, then per channel.
  for (auto [tw, th] : {std::pair{1, 1}, {3, 8}, {13, 4}})
    for (double B : {1.8, 3.0, -2.0, 1e300}) {
      const TFastDIB tex = Random(tw, th, 6);
      TFastDIB out = Clone(src), ref = Clone(src), t = Clone(tex);
      for (int y = 0; y < th; ++y)
        for (int x = 0; x < tw; ++x) {
          const TPixel24 p = t.GetPixel(y, x);
          const uint8_t g = uint8_t((77 * p.R + 151 * p.G + 28 * p.B) >> 8);
          t.SetPixel(y, x, MakePixel(g, g, g));
        }
      ResizeBilinear(t, 6, 5, 0);
      for (int y = 0; y < 5; ++y)
        for (int i = 0; i < 18; ++i)
          ref.Row(y)[i] = uint8_t(std::clamp(std::nearbyint(ref.Row(y)[i] * double(float(std::sin(t.Row(y)[i] / 255.0L) * B))), 0.0, 255.0));
      MapTexture(out, scratch, tex, B);
      EXPECT_TRUE(SamePixels(out, ref)) << tw << "x" << th << " B " << B;
    }
  TFastDIB keep = Clone(src), none;
  MapTexture(keep, scratch, none, 1.0);
  MapTexture(keep, scratch, src, NAN);
  EXPECT_TRUE(SamePixels(keep, src));
  DefaultTexture(scratch);
  MapTexture(keep, scratch, scratch, 1.8);  // the texture may be the scratch surface
  TFastDIB a, b;
  DefaultTexture(a), DefaultTexture(b);
  EXPECT_TRUE(SamePixels(a, b));
  EXPECT_EQ(a.Width(), 64);
}

TEST(TextureEffects, FixedSeedRepeatsEveryRunAndCoresDoNotChangeIt) {
  for (auto& fx : RandomEffects()) {
    const TFastDIB src = Random(40, 70, 12);
    TFastDIB a = Clone(src), b = Clone(src), s;
    FixSeed(77), fx(a, s), fx(a, s);
    SetWorkerCount(1);
    FixSeed(77), fx(b, s), fx(b, s);
    SetWorkerCount(2);
    EXPECT_TRUE(SamePixels(a, b, true));
    FixSeed(77), fx(b = Clone(src), s);
    FixSeed(78), fx(a = Clone(src), s);
    EXPECT_FALSE(SamePixels(a, b));
  }
}

TEST(TextureEffects, HostileSizesAndValuesStayInside) {
  for (auto [w, h] : test::kSizes)
    for (int v : kHostile) {
      TFastDIB img = Random(w, h, 1), s, empty;
      PlasmaCloud(img, v);
      Marble(img, s, v, float(v), v);
      Spray(img, s, v);
      ColorNoise(img, v);
      SuperNova(img, v, v, v, v, v, uint32_t(v));
      HeightMap(img, s, v, v, v, v & 1);
      MapTexture(img, s, img, v / 10.0);
      for (TFastDIB* e : {&empty}) PlasmaCloud(*e, v), Spray(*e, s, v), ColorNoise(*e, v), HeightMap(*e, s, v, v, v, true);
      EXPECT_EQ(img.Width(), w);
      EXPECT_EQ(img.Height(), h);
    }
}
