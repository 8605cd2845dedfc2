#include "core/raster/wrap.h"

#include <vector>

namespace vorq {

// As FloodFill: a popped seed still of the old colour grows into its run, now
// allowed to run over the side edges (at most the whole row), and every run of
// the old colour touching it in the rows above and below (themselves wrapped)
// becomes a seed. Columns are kept unwrapped as l..r and taken modulo W.
PixelRect FloodFillWrapped(TFastDIB& s, int x, int y, TPixel24 colour) {
  PixelRect changed;
  const int w = s.Width(), h = s.Height();
  if (x < 0 || y < 0 || x >= w || y >= h) return changed;
  const TPixel24 target = s.GetPixel(y, x);
  if (target == colour) return changed;
  auto at = [w](int c) { return c < 0 ? c + w : (c >= w ? c - w : c); };  // |c| stays below 2w
  struct Seed {
    int X, Y;
  };
  std::vector<Seed> stack{{x, y}};
  while (!stack.empty()) {
    const Seed seed = stack.back();
    stack.pop_back();
    TPixel24* row = s.Row24(seed.Y);
    if (!(row[seed.X] == target)) continue;
    int l = seed.X, r = seed.X;
    while (r - l + 1 < w && row[at(l - 1)] == target) --l;
    while (r - l + 1 < w && row[at(r + 1)] == target) ++r;
    for (int c = l; c <= r; ++c) row[at(c)] = colour;
    if (l < 0 || r >= w)
      changed.Include(PixelRect{0, seed.Y, w, seed.Y + 1});
    else
      changed.Include(PixelRect{l, seed.Y, r + 1, seed.Y + 1});
    for (const int dy : {-1, 1}) {
      const int ny = (seed.Y + dy + h) % h;
      const TPixel24* next = s.Row24(ny);
      for (int c = l; c <= r;) {
        if (next[at(c)] == target) {
          stack.push_back({at(c), ny});
          while (c <= r && next[at(c)] == target) ++c;
        } else {
          ++c;
        }
      }
    }
  }
  return changed;
}

}  // namespace vorq
