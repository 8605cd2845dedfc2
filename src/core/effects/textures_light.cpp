// SuperNova and HeightMap: light drawn over the image or cast on it as a
// relief.
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/effects/textures.h"
#include "core/effects/textures_wide.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"
#include "core/util/random.h"

namespace vorq {
namespace {

bool Usable(const TFastDIB& s) { return !s.Empty() && s.Width() > 0 && s.Height() > 0; }

inline int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// ---------------------------------------------------------------------------
// Colours as hue, saturation, lightness, all 0 .. 1.

struct Hsl {
  double h, s, l;
};

Hsl RgbToHsl(double r, double g, double b) {
  const double mx = std::fmax(r, std::fmax(g, b)), mn = std::fmin(r, std::fmin(g, b)), d = mx - mn;
  Hsl c{0, 0, (mx + mn) / 2};
  if (c.l == 0 || d == 0) return c;
  c.s = c.l <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
  const double rr = (mx - r) / d, gg = (mx - g) / d, bb = (mx - b) / d;
  double h6;
  if (r == mx) h6 = g == mn ? 5 + bb : 1 - gg;
  else if (g == mx) h6 = b == mn ? 1 + rr : 3 - bb;
  else h6 = r == mn ? 3 + gg : 5 - rr;
  c.h = h6 / 6;
  return c;
}

// Channels Trunc(255 * value) in the order red, green, blue; h in 0 .. 1
// (1 itself counts as the last sextant's end).
void HslToRgb(const Hsl& c, int rgb[3]) {
  const double m2 = c.l <= 0.5 ? c.l * (1 + c.s) : c.l + c.s - c.l * c.s;
  if (m2 <= 0) {
    rgb[0] = rgb[1] = rgb[2] = 0;
    return;
  }
  const double m1 = 2 * c.l - m2, e = 6 * c.h;
  int k = int(Trunc(e));
  k = k > 5 ? 5 : k;
  const double q = m2 * ((m2 - m1) / m2) * (e - k), up = m1 + q, down = m2 - q;
  static constexpr int kOrder[6][3] = {{2, 3, 0}, {4, 2, 0}, {0, 2, 3}, {0, 4, 2}, {3, 0, 2}, {2, 0, 4}};
  const double value[5] = {m1, 0, m2, up, down};
  for (int i = 0; i < 3; ++i) rgb[i] = int(Trunc(255 * value[kOrder[k][i]]));
}

// Hue modulo 1, so that every walk lands on a sextant.
inline double HueModOne(double h) {
  h -= std::floor(h);
  return h < 1 ? h : 0;  // a tiny negative h rounds up to 1
}

constexpr int kMaxSpokes = 1 << 18;

// The light of HeightMap, scaled by 255.9, and the constant parts of the
// shading.
struct Relief {
  double Lx, Ly, NzLz, Nz2;
  int background;
};

inline int Shade(const Relief& r, int nx, int ny) {
  if (nx == 0 && ny == 0) return r.background;
  const int64_t d = Trunc(nx * r.Lx + ny * r.Ly + r.NzLz);
  return d < 0 ? 0 : int(Trunc(double(d) / std::sqrt(double(nx * nx + ny * ny) + r.Nz2)));
}

#if defined(__SSE2__)
// Shade of two pixels at once: the same products, sums, root and quotient
// in each lane, so the results are Shade's. |d| < 2^20 fits the 32-bit
// conversions.
inline void Shade2(const Relief& r, const int32_t* nx, const int32_t* ny, int32_t* out) {
  const __m128i ix = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(nx));
  const __m128i iy = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(ny));
  const __m128d x = _mm_cvtepi32_pd(ix), y = _mm_cvtepi32_pd(iy);
  const __m128d dot = _mm_add_pd(_mm_add_pd(_mm_mul_pd(x, _mm_set1_pd(r.Lx)), _mm_mul_pd(y, _mm_set1_pd(r.Ly))),
                                 _mm_set1_pd(r.NzLz));
  const __m128i d = _mm_cvttpd_epi32(dot);
  const __m128d len = _mm_sqrt_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(x, x), _mm_mul_pd(y, y)), _mm_set1_pd(r.Nz2)));
  __m128i s = _mm_cvttpd_epi32(_mm_div_pd(_mm_cvtepi32_pd(d), len));
  const __m128i zero = _mm_setzero_si128();
  s = _mm_andnot_si128(_mm_cmplt_epi32(d, zero), s);
  const __m128i flat = _mm_and_si128(_mm_cmpeq_epi32(ix, zero), _mm_cmpeq_epi32(iy, zero));
  s = _mm_or_si128(_mm_and_si128(flat, _mm_set1_epi32(r.background)), _mm_andnot_si128(flat, s));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), s);
}
#endif

// One output row from the source rows above (t), at (m) and below (u) it;
// the columns left and right of the edges wrap. g holds 3 W ints.
template <bool Bump>
void ReliefRow(const Relief& r, const uint8_t* t, const uint8_t* m, const uint8_t* u, uint8_t* out, int W,
               int32_t* g) {
  int32_t *nx = g, *ny = g + W, *shade = g + 2 * W;
  for (int x = 0; x < W; ++x) {
    const int c = 3 * x, l = x == 0 ? 3 * (W - 1) : c - 3, rt = x == W - 1 ? 0 : c + 3;
    nx[x] = (t[l] + m[l] + u[l]) - (t[rt] + m[rt] + u[rt]);
    ny[x] = (u[l] + u[c] + u[rt]) - (t[l] + t[c] + t[rt]);
  }
  int x = 0;
#if defined(__SSE2__)
  for (; x + 2 <= W; x += 2) Shade2(r, nx + x, ny + x, shade + x);
#endif
  for (; x < W; ++x) shade[x] = Shade(r, nx[x], ny[x]);
  for (x = 0; x < W; ++x, out += 3, t += 3) {
    if constexpr (Bump) {
      // each byte of the pixel above (the window's first row) times the shade
      out[0] = uint8_t((t[0] * shade[x]) >> 8);
      out[1] = uint8_t((t[1] * shade[x]) >> 8);
      out[2] = uint8_t((t[2] * shade[x]) >> 8);
    } else {
      out[0] = out[1] = out[2] = uint8_t(shade[x]);
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// SuperNova

void SuperNova(TFastDIB& Work, int Radius, int Spokes, int RandomHue, int XPos, int YPos, uint32_t PenColor) {
  if (!Usable(Work) || Radius == 0 || Spokes <= 0) return;
  const int W = Work.Width(), H = Work.Height();
  const int n = Spokes > kMaxSpokes ? kMaxSpokes : Spokes;
  const double cx = Clamp(XPos, 0, W - 1), cy = Clamp(YPos, 0, H - 1), R = Radius;
  Randomize();

  Hsl hsl = RgbToHsl((PenColor & 0xFF) / 255.0, ((PenColor >> 8) & 0xFF) / 255.0, ((PenColor >> 16) & 0xFF) / 255.0);
  const double hueStep = RandomHue / 360.0;
  std::vector<double> spoke(size_t(n) + 1);
  std::vector<double> colour(3 * (size_t(n) + 1));  // red, green, blue per spoke
  {
    RandomStream rnd;
    for (int i = 0; i < n; ++i) {
      double sum = 0;
      for (int k = 0; k < 6; ++k) sum += rnd(2147483647) / 2147483647.0;
      spoke[size_t(i)] = sum / 6;
      hsl.h = HueModOne(hsl.h + (rnd(2147483647) / 2147483647.0 - 0.5) * hueStep);
      int rgb[3];
      HslToRgb(hsl, rgb);
      for (int c = 0; c < 3; ++c) colour[3 * size_t(i) + size_t(c)] = rgb[c];
    }
    rnd.Commit();
  }
  // Spoke n repeats spoke 0, so j = i + 1 needs no wrap.
  spoke[size_t(n)] = spoke[0];
  for (int c = 0; c < 3; ++c) colour[3 * size_t(n) + size_t(c)] = colour[size_t(c)];

  constexpr double kTwoPi = 2 * kPi;
  std::vector<double> us(static_cast<size_t>(W));
  for (int x = 0; x < W; ++x) us[size_t(x)] = (x - cx) / R;
  const int icx = int(cx), mirrorEnd = std::min(2 * icx, W - 1);
  const bool wide = WideVectors() && nova_rows::Built();
  ParallelRows(H, [&](int b, int e) {
    std::vector<double> angle(static_cast<size_t>(W));
    // Locals, so that the byte stores below cannot make the compiler reload them.
    const double* const ux = us.data();
    const double* const sp = spoke.data();
    const double* const co = colour.data();
    double* const an = angle.data();
    for (int y = b; y < e; ++y) {
      uint8_t* p = Work.Row(y);
      const double v = (y - cy) / R;
      // The library calls first: the loop below then runs without calls.
      // Columns cx - d and cx + d have offsets of opposite sign, exactly (whole
      // numbers over the same R), and the arc tangent is odd in its first
      // argument, so the right side of the mirror takes the left side's angles.
      for (int x = 0; x <= icx; ++x) an[x] = std::atan2(ux[x], v);
      for (int x = icx + 1; x <= mirrorEnd; ++x) an[x] = -an[2 * icx - x];
      for (int x = mirrorEnd + 1; x < W; ++x) an[x] = std::atan2(ux[x], v);
      int x = wide ? nova_rows::Row(p, ux, an, v, n, sp, co, W) : 0;
      for (p += 3 * x; x < W; ++x, p += 3) {
        const double u = ux[x];
        const double c = std::sqrt(u * u + v * v);
        const double t = (an[x] / kTwoPi + 0.51) * n;
        int i = int(t);  // t > 0: truncation is the floor
        const double f = t - i;
        if (i >= n) i -= n;
        const double sl = (1 - f) * sp[i] + f * sp[i + 1];
        const double w = 0.9 / (c + 0.001);
        const double a = w < 1 ? w : 1;
        double glow = sl * sl * w;
        glow = 255 * (glow < 1 ? glow : 1);
        const double* ci = co + 3 * i;
        // Bytes are blue, green, red; the colours red, green, blue.
        for (int k = 0; k < 3; ++k) {
          const double col = (1 - f) * ci[2 - k] + f * ci[5 - k];
          // col <= 255 and w <= 900: the products fit an int
          int val = w > 1 ? Clamp(int(Trunc(col * w)), 0, 255) : int(Trunc(p[k] * (1 - a) + col * a));
          val = int(Trunc(glow + val));
          p[k] = uint8_t(Clamp(val, 0, 255));
        }
      }
    }
  });
}

// ---------------------------------------------------------------------------
// HeightMap

void HeightMap(TFastDIB& Work, TFastDIB& Scratch, int Azimuth, int Elevation, int Depth, bool BumpMap) {
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  const double az = (Azimuth == 0 ? 30 : Azimuth) * kPi / 180;
  const double el = (Elevation == 0 ? 45 : Elevation) * kPi / 180;
  const int depth = uint16_t(Depth) == 0 ? 20 : uint16_t(Depth);
  const double Lz = std::sin(el) * 255.9, Nz = 1530.0 / depth;
  const Relief relief{std::cos(el) * std::cos(az) * 255.9, std::cos(el) * std::sin(az) * 255.9, Nz * Lz, Nz * Nz,
                      Clamp(int(Trunc(Lz)), 0, 255)};

  // Every pixel's 3 x 3 neighbourhood wraps across the edges, so the image
  // is lit as a tile.
  CopySurface(Work, Scratch);
  if (Scratch.Empty()) return;
  ParallelRows(H, [&](int b, int e) {
    std::vector<int32_t> g(3 * size_t(W));
    for (int y = b; y < e; ++y) {
      const uint8_t* t = Scratch.Row(y == 0 ? H - 1 : y - 1);
      const uint8_t* m = Scratch.Row(y);
      const uint8_t* u = Scratch.Row(y == H - 1 ? 0 : y + 1);
      if (BumpMap) ReliefRow<true>(relief, t, m, u, Work.Row(y), W, g.data());
      else ReliefRow<false>(relief, t, m, u, Work.Row(y), W, g.data());
    }
  });
}

}  // namespace vorq
