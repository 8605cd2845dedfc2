#include "core/raster/wrap.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace vorq {

// As FloodFill: a popped seed still of the old colour grows into its run, now
// allowed to run over the side edges (at most the whole row), and every run of
// the old colour touching it in the rows above and below (themselves wrapped)
// becomes a seed. Columns are kept unwrapped as l..r and taken modulo W.
PixelRect FloodFillWrapped(TFastDIB& s, int x, int y, TPixel24 colour, int tolerance) {
  PixelRect changed;
  const int w = s.Width(), h = s.Height();
  if (x < 0 || y < 0 || x >= w || y >= h) return changed;
  const int t = std::clamp(tolerance, 0, 255);
  const TPixel24 target = s.GetPixel(y, x);
  if (t == 0 && target == colour) return changed;
  // With a tolerance, filled pixels may still be near the target, so a mask says which are done.
  std::vector<uint8_t> done(t > 0 ? size_t(w) * size_t(h) : 0, 0);
  auto open = [&](int cx, int cy, const TPixel24* row) {
    const TPixel24& p = row[cx];
    if (t == 0) return p == target;
    return !done[size_t(cy) * size_t(w) + size_t(cx)] && std::abs(int(p.R) - int(target.R)) <= t &&
           std::abs(int(p.G) - int(target.G)) <= t && std::abs(int(p.B) - int(target.B)) <= t;
  };
  auto at = [w](int c) { return c < 0 ? c + w : (c >= w ? c - w : c); };  // |c| stays below 2w
  struct Seed {
    int X, Y;
  };
  std::vector<Seed> stack{{x, y}};
  while (!stack.empty()) {
    const Seed seed = stack.back();
    stack.pop_back();
    TPixel24* row = s.Row24(seed.Y);
    if (!open(seed.X, seed.Y, row)) continue;
    int l = seed.X, r = seed.X;
    while (r - l + 1 < w && open(at(l - 1), seed.Y, row)) --l;
    while (r - l + 1 < w && open(at(r + 1), seed.Y, row)) ++r;
    for (int c = l; c <= r; ++c) {
      row[at(c)] = colour;
      if (t > 0) done[size_t(seed.Y) * size_t(w) + size_t(at(c))] = 1;
    }
    if (l < 0 || r >= w)
      changed.Include(PixelRect{0, seed.Y, w, seed.Y + 1});
    else
      changed.Include(PixelRect{l, seed.Y, r + 1, seed.Y + 1});
    for (const int dy : {-1, 1}) {
      const int ny = (seed.Y + dy + h) % h;
      const TPixel24* next = s.Row24(ny);
      for (int c = l; c <= r;) {
        if (open(at(c), ny, next)) {
          stack.push_back({at(c), ny});
          while (c <= r && open(at(c), ny, next)) ++c;
        } else {
          ++c;
        }
      }
    }
  }
  return changed;
}

}  // namespace vorq
