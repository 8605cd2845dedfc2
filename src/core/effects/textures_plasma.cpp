// The tileable plasma field and the two effects built on it, Plasma Cloud
// and Marble.
#include <cmath>
#include <cstring>
#include <vector>

#include "core/effects/textures.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"
#include "core/util/random.h"

namespace vorq {
namespace {

bool Usable(const TFastDIB& s) { return !s.Empty() && s.Width() > 0 && s.Height() > 0; }

// A plasma grid kept in one byte of every pixel of a surface. Every value
// the generator makes fits a byte (seeds 0 .. 254, cells 1 .. 255), so the
// surface being rebuilt holds the grid itself and no extra memory is needed.
//
// A cell is computed only while it is 0, "not set yet". A seed that drew 0
// would look unset too: recomputed after it was copied to the opposite
// edge, it would leave a seam. So the seeds and their edge copies, the nine
// points x in {0, hx, 2 hx - 1}, y in {0, hy, 2 hy - 1}, always count as set;
// they are checked only when some seed is 0.
class PlasmaField {
 public:
  PlasmaField(TFastDIB& s, int plane, int graininess) : rows_(s.RowTable.data()), plane_(plane), g_(graininess) {}

  // Fills the grid, which must be all zeros.
  void Generate(int W, int H) {
    Randomize();
    RandomStream rnd;
    rnd_ = &rnd;
    // A field needs two columns and two rows; with one there is no opposite
    // edge to copy and the single column (row) is the odd last one: black.
    if (W >= 2 && H >= 2) {
      hx_ = W / 2, hy_ = H / 2, xe_ = 2 * hx_ - 1, ye_ = 2 * hy_ - 1;
      const int hx = hx_, hy = hy_, xe = xe_, ye = ye_;
      V(0, 0) = uint8_t(rnd(255));
      V(hx, 0) = uint8_t(rnd(255));
      V(0, hy) = uint8_t(rnd(255));
      V(hx, hy) = uint8_t(rnd(255));
      const bool guard = V(0, 0) == 0 || V(hx, 0) == 0 || V(0, hy) == 0 || V(hx, hy) == 0;
      Quarter(guard, 0, 0, hx, hy);
      for (int y = 0; y <= hy; ++y) V(xe, y) = V(0, y);
      Quarter(guard, hx, 0, xe, hy);
      for (int x = 0; x <= xe; ++x) V(x, ye) = V(x, 0);
      Quarter(guard, hx, hy, xe, ye);
      for (int y = hy; y <= ye; ++y) V(0, y) = V(xe, y);
      Quarter(guard, 0, hy, hx, ye);
    }
    rnd.Commit();
  }

 private:
  uint8_t& V(int x, int y) const { return rows_[y][3 * x + plane_]; }

  template <bool Guard>
  bool Unset(int x, int y) const {
    if (V(x, y) != 0) return false;
    if constexpr (Guard)
      return !((x == 0 || x == hx_ || x == xe_) && (y == 0 || y == hy_ || y == ye_));
    return true;
  }

  void Quarter(bool guard, int x1, int y1, int x2, int y2) {
    depth_ = 0;
    if (guard) Subdivide<true>(x1, y1, x2, y2);
    else Subdivide<false>(x1, y1, x2, y2);
  }

  // The midpoint between a and b plus a random part that halves with every
  // level, at least 1 (0 means "not set yet").
  uint8_t Cell(int a, int b) {
    int r = (*rnd_)(g_) >> depth_;
    if ((*rnd_)(2) == 0) r = -r;
    const int c = (a + b + 1) / 2 + r;
    return uint8_t(c < 1 ? 1 : (c > 255 ? 255 : c));
  }

  template <bool Guard>
  void Subdivide(int x1, int y1, int x2, int y2) {
    if (x2 - x1 < 2 && y2 - y1 < 2) return;
    ++depth_;
    const int xm = (x1 + x2) / 2, ym = (y1 + y2) / 2;
    if (Unset<Guard>(xm, y1)) V(xm, y1) = Cell(V(x1, y1), V(x2, y1));
    if (Unset<Guard>(x2, ym)) V(x2, ym) = Cell(V(x2, y1), V(x2, y2));
    if (Unset<Guard>(xm, y2)) V(xm, y2) = Cell(V(x1, y2), V(x2, y2));
    if (Unset<Guard>(x1, ym)) V(x1, ym) = Cell(V(x1, y1), V(x1, y2));
    if (Unset<Guard>(xm, ym)) V(xm, ym) = uint8_t((V(xm, y1) + V(x2, ym) + V(xm, y2) + V(x1, ym) + 2) / 4);
    // Quarters of a rectangle at most 3 x 3 cells are single cells.
    if (x2 - x1 <= 2 && y2 - y1 <= 2) {
      --depth_;
      return;
    }
    // A rectangle one column wide (one row high) has two pairs of equal
    // quarters. The second of a pair finds every cell it would compute set
    // by the first and does nothing, so it is skipped; this keeps thin
    // images from taking time quadratic in their length.
    Subdivide<Guard>(x1, y1, xm, ym);
    if (x1 != x2) Subdivide<Guard>(xm, y1, x2, ym);
    if (y1 != y2) Subdivide<Guard>(xm, ym, x2, y2);
    if (x1 != x2 && y1 != y2) Subdivide<Guard>(x1, ym, xm, y2);
    --depth_;
  }

  uint8_t* const* rows_;
  int plane_;
  int g_;
  int depth_ = 0;
  int hx_ = 0, hy_ = 0, xe_ = 0, ye_ = 0;
  RandomStream* rnd_ = nullptr;
};

void ClearPixels(TFastDIB& s) {
  for (int y = 0; y < s.Height(); ++y) std::memset(s.Row(y), 0, size_t(3) * size_t(s.Width()));
}

}  // namespace

void PlasmaCloud(TFastDIB& Work, int Graininess) {
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  ClearPixels(Work);  // the old image is discarded
  PlasmaField(Work, 0, Graininess).Generate(W, H);
  ParallelRows(H, [&](int b, int e) {
    for (int y = b; y < e; ++y) {
      uint8_t* p = Work.Row(y);
      for (int x = 0; x < W; ++x, p += 3) p[1] = p[2] = p[0];
    }
  });
}

void Marble(TFastDIB& Work, TFastDIB& Scratch, int Graininess, float Scale, int Turbulence) {
  if (!Usable(Work) || Turbulence == 0 || !std::isfinite(Scale)) return;
  const int W = Work.Width(), H = Work.Height();
  float sinT[256], cosT[256];
  for (int i = 0; i < 256; ++i) {
    const long double a = static_cast<long double>(i) / Turbulence;
    sinT[i] = float(std::sin(a) * Scale);
    cosT[i] = float(std::cos(a) * Scale);
  }
  CopySurface(Work, Scratch);
  if (Scratch.Empty()) return;
  // Work is rebuilt from the copy in Scratch, so until then it holds the two
  // grids: the first in the blue bytes, the second in the green ones.
  ClearPixels(Work);
  PlasmaField(Work, 0, Graininess).Generate(W, H);
  PlasmaField(Work, 1, Graininess).Generate(W, H);
  const int ox = W / 2 + 1, oy = H / 2 + 1;
  // Each pixel reads only its own grid cells before it is written, so the
  // order of the pixels does not matter: rows, for the cache. The sources of
  // a row are found first and then fetched ahead of use, since they lie
  // scattered over the image.
  const uint8_t* const* const src = Scratch.RowTable.data();
  const float* const sinTab = sinT;
  const float* const cosTab = cosT;
  ParallelRows(H, [&, W, H, ox, oy, src, sinTab, cosTab](int b, int e) {
    std::vector<const uint8_t*> from(static_cast<size_t>(W));
    for (int y = b; y < e; ++y) {
      uint8_t* p = Work.Row(y);
      const double dy = y - oy;
      for (int x = 0; x < W; ++x) {
        int64_t sx = NearestLimited(double(x - ox) * double(sinTab[p[3 * x]]));
        int64_t sy = NearestLimited(dy * double(cosTab[p[3 * x + 1]]));
        sx = (sx < 0 ? -sx : sx) - 1;
        sy = (sy < 0 ? -sy : sy) - 1;
        sx = sx < 0 ? 0 : (sx > W - 1 ? W - 1 : sx);
        sy = sy < 0 ? 0 : (sy > H - 1 ? H - 1 : sy);
        from[size_t(x)] = src[sy] + 3 * sx;
      }
      constexpr int kAhead = 64;
      for (int x = 0; x < W; ++x, p += 3) {
        if (x + kAhead < W) __builtin_prefetch(from[size_t(x + kAhead)]);
        const uint8_t* s = from[size_t(x)];
        p[0] = s[0];
        p[1] = s[1];
        p[2] = s[2];
      }
    }
  });
}

}  // namespace vorq
