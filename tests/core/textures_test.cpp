#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <vector>

#include "core/effects/geometry.h"
#include "core/effects/textures.h"
#include "core/util/random.h"
#include "test_util.h"

using namespace vorq;

namespace {

using test::BothVectorPaths;
using test::Clone;
using test::Random;
using test::SamePixels;
using test::Uniform;
using Rnd = int (*)(int);
const Rnd R = [](int n) { return int(vorq::Random(n)); };

constexpr int kHostile[] = {0, 1, -1, 2, 256, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1};

// --- references written from the described arithmetic, on plain grids ---

// A cell is computed only while unset; seeds and edge copies are set even
// when they hold 0.
struct RefField {
  int W, H, G, depth = 0;
  std::vector<int> v;
  std::vector<char> set;
  int& at(int x, int y) { return v[size_t(y) * W + x]; }
  void Put(int x, int y, int value) { at(x, y) = value, set[size_t(y) * W + x] = 1; }
  bool Unset(int x, int y) { return !set[size_t(y) * W + x]; }
  void Cell(int x, int y, int a, int b) {
    if (!Unset(x, y)) return;
    int r = R(G) >> depth;
    if (R(2) == 0) r = -r;
    Put(x, y, std::clamp((a + b + 1) / 2 + r, 1, 255));
  }
  void Subdivide(int x1, int y1, int x2, int y2) {
    if (x2 - x1 < 2 && y2 - y1 < 2) return;
    const int xm = (x1 + x2) / 2, ym = (y1 + y2) / 2;
    ++depth;
    Cell(xm, y1, at(x1, y1), at(x2, y1));
    Cell(x2, ym, at(x2, y1), at(x2, y2));
    Cell(xm, y2, at(x1, y2), at(x2, y2));
    Cell(x1, ym, at(x1, y1), at(x1, y2));
    if (Unset(xm, ym)) Put(xm, ym, (at(xm, y1) + at(x2, ym) + at(xm, y2) + at(x1, ym) + 2) / 4);
    Subdivide(x1, y1, xm, ym), Subdivide(xm, y1, x2, ym), Subdivide(xm, ym, x2, y2), Subdivide(x1, ym, xm, y2);
    --depth;
  }
  RefField(int w, int h, int g) : W(w), H(h), G(g), v(size_t(w) * h, 0), set(v.size(), 0) {
    Randomize();
    if (W < 2 || H < 2) return;  // no opposite edge: black
    const int hx = W / 2, hy = H / 2, xe = 2 * hx - 1, ye = 2 * hy - 1;
    for (auto [x, y] : {std::pair{0, 0}, {hx, 0}, {0, hy}, {hx, hy}}) Put(x, y, R(255));
    depth = 0, Subdivide(0, 0, hx, hy);
    for (int y = 0; y <= hy; ++y) Put(xe, y, at(0, y));
    depth = 0, Subdivide(hx, 0, xe, hy);
    for (int x = 0; x <= xe; ++x) Put(x, ye, at(x, 0));
    depth = 0, Subdivide(hx, hy, xe, ye);
    for (int y = hy; y <= ye; ++y) Put(0, y, at(xe, y));
    depth = 0, Subdivide(0, hy, hx, ye);
  }
};

// Fixed seeds whose plasma fields have a 0 as their first, second, third
// and fourth seed alone, and two others.
std::vector<uint32_t> PlasmaSeeds() {
  std::vector<uint32_t> seeds{1, 2};
  for (uint32_t s = 0, found = 0; found != 15; ++s) {
    FixSeed(s), Randomize();
    uint32_t zeros = 0;
    for (int k = 0; k < 4; ++k) zeros |= uint32_t(R(255) == 0) << k;
    if (zeros == 0 || (zeros & (zeros - 1)) != 0 || (found & zeros) != 0) continue;
    seeds.push_back(s), found |= zeros;
  }
  return seeds;
}

int RefWrap(long long i, int n) { return i < 0 ? int((n - 1) - (-i) % n) : i > n - 1 ? int(i % n) : int(i); }
int Side(double a, int n) { return int(std::clamp(std::fabs(a) - 1, 0.0, n - 1.0)); }

TFastDIB RefMarble(const TFastDIB& in, int G, float K, int T) {
  const int W = in.Width(), H = in.Height();
  float sn[256], cs[256];
  for (int i = 0; i < 256; ++i)
    sn[i] = float(std::sin((long double)i / T) * K), cs[i] = float(std::cos((long double)i / T) * K);
  RefField g1(W, H, G), g2(W, H, G);
  TFastDIB out = Clone(in);
  for (int x = 0; x < W; ++x)  // columns outside
    for (int y = 0; y < H; ++y) {
      const double a = std::nearbyint((x - W / 2 - 1) * double(sn[g1.at(x, y)]));
      const double b = std::nearbyint((y - H / 2 - 1) * double(cs[g2.at(x, y)]));
      out.SetPixel(y, x, in.GetPixel(Side(b, H), Side(a, W)));
    }
  return out;
}

// Literally: a padded copy with a 3-pixel wrapped border, three-row windows
// (doubled first and last rows), black outer columns, then the cut.
TFastDIB RefHeightMap(const TFastDIB& img, int az, int el, int dp, bool bump) {
  const int W = img.Width(), H = img.Height(), PW = W + 6, PH = H + 6;
  const double A = (az ? az : 30) * M_PI / 180, E = (el ? el : 45) * M_PI / 180;
  const double Nz = 1530.0 / (uint16_t(dp) ? uint16_t(dp) : 20);
  const double Lx = cos(E) * cos(A) * 255.9, Ly = cos(E) * sin(A) * 255.9, Lz = sin(E) * 255.9;
  TFastDIB pad, res, out;
  pad.SetSize(PW, PH), res.SetSize(PW, PH), out.SetSize(W, H);
  for (int y = 0; y < PH; ++y)
    for (int x = 0; x < PW; ++x) pad.SetPixel(y, x, img.GetPixel(((y - 3) % H + H) % H, ((x - 3) % W + W) % W));
  for (int y = 0; y < PH; ++y) {
    const int r0 = y == 0 ? 0 : y == PH - 1 ? PH - 2 : y - 1, r1 = y == PH - 1 ? PH - 2 : y;
    const int r2 = y == 0 ? 1 : std::min(y + 1, PH - 1);
    for (int x = 1; x <= W + 4; ++x) {
      auto h = [&](int r, int dx) { return int(pad.GetPixel(r, x + dx).B); };
      const int nx = h(r0, -1) + h(r1, -1) + h(r2, -1) - h(r0, 1) - h(r1, 1) - h(r2, 1);
      const int ny = h(r2, -1) + h(r2, 0) + h(r2, 1) - h(r0, -1) - h(r0, 0) - h(r0, 1);
      long long shade = std::max(0LL, (long long)Lz), d = (long long)(nx * Lx + ny * Ly + Nz * Lz);
      if (nx || ny) shade = d < 0 ? 0 : (long long)(d / std::sqrt(nx * nx + ny * ny + Nz * Nz));
      const TPixel24 p = pad.GetPixel(r0, x);
      const auto s = [&](uint8_t c) { return uint8_t(bump ? c * shade >> 8 : shade); };
      res.SetPixel(y, x, TPixel24{s(p.B), s(p.G), s(p.R)});
    }
  }
  res.DrawPart(out, 0, 0, W, H, 3, 3);
  return out;
}

std::array<int, 3> RefRgb(double H, double S, double L) {  // red, green, blue
  const double m2 = L <= 0.5 ? L * (1 + S) : L + S - L * S, m1 = 2 * L - m2, e = 6 * H;
  if (m2 <= 0) return {0, 0, 0};
  const int k = int(e);
  const double q = m2 * ((m2 - m1) / m2) * (e - k), up = m1 + q, dn = m2 - q;
  const double c[6][3] = {{m2, up, m1}, {dn, m2, m1}, {m1, m2, up}, {m1, dn, m2}, {up, m1, m2}, {m2, m1, dn}};
  return {int(255 * c[k][0]), int(255 * c[k][1]), int(255 * c[k][2])};
}

TFastDIB RefNova(const TFastDIB& in, int Rad, int n, int hueAmt, int X, int Y, uint32_t pen) {
  const int W = in.Width(), H = in.Height();
  const double cx = std::clamp(X, 0, W - 1), cy = std::clamp(Y, 0, H - 1);
  Randomize();
  const double r = (pen & 255) / 255.0, g = (pen >> 8 & 255) / 255.0, b = (pen >> 16 & 255) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn, L = (mx + mn) / 2;
  double hue = 0, S = 0;
  if (L != 0 && d != 0) {
    S = L <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    const double r1 = (mx - r) / d, g1 = (mx - g) / d, b1 = (mx - b) / d;
    hue = r == mx ? (g == mn ? 5 + b1 : 1 - g1) : g == mx ? (b == mn ? 1 + r1 : 3 - b1) : (r == mn ? 3 + g1 : 5 - r1);
    hue /= 6;
  }
  std::vector<double> spoke(n);
  std::vector<std::array<int, 3>> col(n);
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < 6; ++k) spoke[i] += R(INT_MAX) / double(INT_MAX);
    spoke[i] /= 6;
    hue += (R(INT_MAX) / double(INT_MAX) - 0.5) * (hueAmt / 360.0);
    hue -= std::floor(hue);  // modulo 1
    col[i] = RefRgb(hue, S, L);
  }
  TFastDIB out = Clone(in);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const double u = (x - cx) / Rad, v = (y - cy) / Rad, c = std::sqrt(u * u + v * v);
      const double t = (std::atan2(u, v) / (2 * M_PI) + 0.51) * n, f = t - std::floor(t);
      const int i = int(std::floor(t)) % n, j = (i + 1) % n;
      const double light = std::pow((1 - f) * spoke[i] + f * spoke[j], 2), w = 0.9 / (c + 0.001);
      for (int ch = 0; ch < 3; ++ch) {  // red, green, blue
        const double cc = (1 - f) * col[i][ch] + f * col[j][ch], a = std::min(w, 1.0);
        uint8_t& p = out.Row(y)[3 * x + 2 - ch];
        long long val = w > 1 ? std::clamp((long long)(cc * w), 0LL, 255LL) : (long long)(p * (1 - a) + cc * a);
        p = uint8_t(std::clamp((long long)(255 * std::clamp(light * w, 0.0, 1.0) + val), 0LL, 255LL));
      }
    }
  return out;
}

}  // namespace

TEST(Random, RangeZeroNegativeSkipAndSeeds) {
  FixSeed(1);
  for (int n : kHostile) EXPECT_TRUE(n <= 0 ? R(n) == 0 : R(n) < n && R(n) >= 0) << n;
  const uint32_t s = RandSeed();
  for (int i = 0; i < 1000; ++i) R(7);
  EXPECT_EQ(RandSkip(s, 1000), RandSeed());
  auto draws = [] {
    std::vector<int> v;
    for (int i = 0; i < 8; ++i) Randomize(), v.push_back(R(INT_MAX));
    return v;
  };
  FixSeed(42);
  const auto a = draws();
  FixSeed(42);
  EXPECT_EQ(a, draws());  // a fixed seed repeats every reseed
  EXPECT_NE(a[0], a[1]);  // yet each reseed starts a new sequence
  UnfixSeed();
  EXPECT_NE(draws(), draws());  // the clock never repeats
}

// The reference's edge copies make even sizes tile and leave odd sizes' last row and column black.
TEST(PlasmaCloud, MatchesTheFieldReference) {
  const auto seeds = PlasmaSeeds();
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {2, 2}, {3, 3}, {2, 9}, {16, 3}, {5, 3}, {64, 64}, {37, 19}})
    for (int g : {0, 700, INT_MAX, INT_MIN})
      for (uint32_t seed : seeds) {
        TFastDIB img = Random(w, h, 3, true);
        FixSeed(seed), PlasmaCloud(img, g);
        FixSeed(seed);
        RefField field(w, h, g);
        ASSERT_TRUE(SamePixels(img, test::Painted(w, h, [&](int x, int y) { return test::Grey(field.at(x, y)); })))
            << w << "x" << h << " G " << g << " seed " << seed;
      }
}

// 37 x 40 is shared between two workers.
TEST(Marble, MatchesTheReferenceAndRefusesDivisionByZero) {
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {5, 3}, {37, 40}})
    for (auto [k, t] : {std::pair{2.0f, 120}, {-3.5f, 7}, {1e30f, 1}, {0.0f, INT_MIN}}) {
      const TFastDIB src = Random(w, h, 5);
      TFastDIB img = Clone(src), scratch;
      FixSeed(9), Marble(img, scratch, 700, k, t);
      FixSeed(9);
      ASSERT_TRUE(SamePixels(img, RefMarble(src, 700, k, t))) << w << "x" << h << " K " << k << " T " << t;
    }
  const TFastDIB src = Random(9, 9, 1);
  TFastDIB img = Clone(src), scratch;
  Marble(img, scratch, 700, 2.0f, 0), Marble(img, scratch, 700, NAN, 120), Marble(img, scratch, 700, INFINITY, 120);
  EXPECT_TRUE(SamePixels(img, src));
}

// Scatterosity 1 or less gives r = Random(S) = 0 and Random(2 r) = 0 (see
// the Random test): the source, yet the draws are taken. Noisiness 1 and 256
// add Random(1) - 0 and Random(0) - 0, zeros, to every byte.
TEST(SprayAndColorNoise, MatchTheReferencesAtAllValues) {
  for (auto [w, h] : {std::pair{1, 1}, {1, 7}, {7, 1}, {5, 3}, {37, 40}})
    for (int v : kHostile) {
      const TFastDIB src = Random(w, h, 7, true);
      TFastDIB spray = Clone(src), noise = Clone(src), scratch, ref = Clone(src);
      FixSeed(3), Spray(spray, scratch, v), ColorNoise(noise, v);
      const uint32_t after = RandSeed();
      FixSeed(3);
      for (int y = 0, S = std::min(v, 1 << 30); y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const int r = R(S), sx = x + r - R(2 * r), sy = y + r - R(2 * r);
          ref.SetPixel(y, x, src.GetPixel(RefWrap(sy, h), RefWrap(sx, w)));
        }
      EXPECT_TRUE(SamePixels(spray, ref, true)) << w << "x" << h << " S " << v;
      ref = Clone(src);
      for (int y = 0, a = v & 255; y < h; ++y)
        for (int i = 0; i < 3 * w; ++i) ref.Row(y)[i] = uint8_t(std::clamp(ref.Row(y)[i] + R(a) - a / 2, 0, 255));
      EXPECT_TRUE(SamePixels(noise, ref, true) && RandSeed() == after) << w << "x" << h << " N " << v;
    }
}

TEST(SuperNova, MatchesTheReferenceClampsTheCentreAndRefusesZeros) {
  struct Case {
    int w, h, R, n, hue, x, y;
    uint32_t pen;
  };
  for (const Case& c : {Case{1, 1, 32, 64, 32, 24, 36, 0x0000FF}, Case{37, 40, 5, 7, 360, 10, 4, 0x3080F0},
                        Case{5, 3, -3, 1, INT_MAX, -9, INT_MIN, 0xFFFFFF}, Case{1, 7, 1, 5, 0, 0, INT_MAX, 0x00FF00},
                        Case{7, 1, INT_MIN, 3, INT_MIN, 3, 0, 0x102030},
                        Case{37, 19, 5, 7, 0, 10, 4, 0x0060F0}, Case{9, 5, 3, 4, 0, 4, 2, 0xFF0080},
                        Case{9, 5, 3, 4, 0, 4, 2, 0x80FF00},  // hues in sextants 4 and 2
                        Case{70, 33, 40, 9, 90, 50, 20, 0x3080F0}})
    BothVectorPaths([&](bool wide) {
      const TFastDIB src = Random(c.w, c.h, 11);
      TFastDIB img = Clone(src);
      FixSeed(5), SuperNova(img, c.R, c.n, c.hue, c.x, c.y, c.pen);
      FixSeed(5);
      EXPECT_TRUE(SamePixels(img, RefNova(src, c.R, c.n, c.hue, c.x, c.y, c.pen)))
          << c.w << "x" << c.h << " R " << c.R << " wide " << wide;
    });
  const TFastDIB src = Random(20, 10, 4);
  TFastDIB a = Clone(src), b = Clone(src);
  FixSeed(1), SuperNova(a, 8, 16, 32, 500, 3, 0xFF);
  FixSeed(1), SuperNova(b, 8, 16, 32, 19, 3, 0xFF);  // X Pos beyond the width: the last column
  EXPECT_TRUE(SamePixels(a, b));
  TFastDIB bound = Clone(src), capped = Clone(src);  // more than 2^18 spokes act as 2^18
  FixSeed(2), SuperNova(bound, 8, 1 << 18, 32, 5, 5, 0xFF), FixSeed(2), SuperNova(capped, 8, (1 << 18) + 1, 32, 5, 5, 0xFF);
  EXPECT_TRUE(SamePixels(bound, capped));
  for (auto [r, n] : {std::pair{0, 64}, {32, 0}, {32, -1}, {32, INT_MIN}}) SuperNova(a, r, n, 32, 1, 1, 0xFF);
  EXPECT_TRUE(SamePixels(a, b));
}

TEST(HeightMap, MatchesTheReferenceOnEdgeImages) {
  TFastDIB bright = Uniform(5, 5, TPixel24{});
  bright.SetPixel(2, 2, MakePixel(255, 255, 255));
  const TFastDIB ramp =
      test::Painted(7, 3, [](int x, int y) { return MakePixel(uint8_t(40 * x), 7, uint8_t(40 * x + 9 * y)); });
  struct P {
    int az, el, dp;
  };
  for (const TFastDIB& src : {Clone(bright), Clone(ramp), Random(1, 1, 2), Random(1, 7, 3), Random(9, 6, 4)})
    for (const P& p : {P{0, 0, 0}, P{32, 20, 16}, P{-90, -45, 65536}, P{INT_MAX, INT_MIN, -1}, P{200, 90, 1}})
      for (bool bump : {false, true}) {
        TFastDIB img = Clone(src), scratch;
        HeightMap(img, scratch, p.az, p.el, p.dp, bump);
        EXPECT_TRUE(SamePixels(img, RefHeightMap(src, p.az, p.el, p.dp, bump)))
            << src.Width() << "x" << src.Height() << " " << p.az << " " << p.el << " " << p.dp << " " << bump;
      }
  // A flat image is the background shade Trunc(Lz) = Trunc(sin(20 deg) * 255.9) = 87.
  TFastDIB flat = Uniform(8, 4, MakePixel(200, 100, 50)), scratch, grey = Clone(flat);
  HeightMap(grey, scratch, 32, 20, 16, false), HeightMap(flat, scratch, 32, 20, 16, true);
  EXPECT_EQ(test::Count(grey, MakePixel(87, 87, 87)), 32);
  EXPECT_EQ(test::Count(flat, MakePixel(200 * 87 >> 8, 100 * 87 >> 8, 50 * 87 >> 8)), 32);
}

TEST(MapTexture, MultipliesBySineOfTheGreyResizedTexture) {
  const TFastDIB src = Random(6, 5, 8);
  TFastDIB img = Clone(src), scratch;
  MapTexture(img, scratch, Uniform(6, 5, MakePixel(255, 255, 255)), 1.0);  // Brightness 10: white scales by sin(1)
  const double sin1 = float(std::sin(1.0L));
  for (int y = 0; y < 5; ++y)
    for (int i = 0; i < 18; ++i) ASSERT_EQ(img.Row(y)[i], uint8_t(std::nearbyint(src.Row(y)[i] * sin1)));
  for (auto [tw, th] : {std::pair{1, 1}, {3, 8}, {13, 4}, {6, 2}})
    for (double B : {1.8, 3.0, -2.0, 1e300}) {
      const TFastDIB tex = Random(tw, th, 6);
      TFastDIB out = Clone(src), ref = Clone(src), t = test::Painted(tw, th, [&](int x, int y) {
        const TPixel24 p = tex.GetPixel(y, x);
        return test::Grey((77 * p.R + 151 * p.G + 28 * p.B) >> 8);
      });
      ResizeBilinear(t, 6, 5, 0);
      for (int y = 0; y < 5; ++y)
        for (int i = 0; i < 18; ++i) {
          const double m = double(float(std::sin(t.Row(y)[i] / 255.0L) * B));
          ref.Row(y)[i] = uint8_t(std::clamp(std::nearbyint(ref.Row(y)[i] * m), 0.0, 255.0));
        }
      MapTexture(out, scratch, tex, B);
      EXPECT_TRUE(SamePixels(out, ref)) << tw << "x" << th << " B " << B;
    }
  TFastDIB keep = Clone(src), none, a, b;
  MapTexture(keep, scratch, none, 1.0), MapTexture(keep, scratch, src, NAN);
  EXPECT_TRUE(SamePixels(keep, src));
  TFastDIB self = Clone(src), tex = Clone(src);
  MapTexture(self, scratch, self, 1.8), MapTexture(tex, scratch, src, 1.8);
  EXPECT_TRUE(SamePixels(self, tex));  // the image as its own texture
  DefaultTexture(a), DefaultTexture(b);
  EXPECT_TRUE(SamePixels(a, b) && a.Width() == 64 && test::Count(a, a.GetPixel(0, 0)) < 64 * 64);
  // Rounded bands: a band's first and last column (row) are alike on average.
  int cols = 0, rows = 0;
  for (int i = 0; i < 64; ++i) {
    cols += a.GetPixel(i, 0).G - a.GetPixel(i, 15).G;
    rows += a.GetPixel(0, i).G - a.GetPixel(15, i).G;
  }
  EXPECT_TRUE(std::abs(cols) < 5 * 64 && std::abs(rows) < 5 * 64) << cols << " " << rows;
}
