// Spray and Color Noise: pixels scattered or bytes shaken by the process-wide
// generator. Both take a fixed number of draws per pixel, so the rows are
// split into bands on both cores, each band starting from the generator
// state skipped ahead to its first row: the same draws as one pass.
#include <cstring>

#include "core/effects/distortions.h"
#include "core/effects/textures.h"
#include "core/util/parallel.h"
#include "core/util/random.h"

namespace vorq {
namespace {

bool Usable(const TFastDIB& s) { return !s.Empty() && s.Width() > 0 && s.Height() > 0; }

// fn(y, rnd) for every row with the generator at that row's first draw;
// drawsPerRow draws per row. The generator ends after all of them.
template <typename Fn>
void RowsWithDraws(int H, uint64_t drawsPerRow, Fn fn) {
  const uint32_t start = RandSeed();
  ParallelRows(H, [&](int b, int e) {
    RandomStream rnd(RandSkip(start, drawsPerRow * uint64_t(b)));
    for (int y = b; y < e; ++y) fn(y, rnd);
  });
  SetRandSeed(RandSkip(start, drawsPerRow * uint64_t(H)));
}

// Nothing changes, but the draws are still taken: the next effect must see
// the generator where the whole pass would have left it.
void SkipDraws(uint64_t k) { SetRandSeed(RandSkip(RandSeed(), k)); }

// Wrap rule along an axis of n: offsets reach at most 2^30 + n, so the
// common case is one comparison.
inline int Wrapped(int i, int n) {
  if (i >= 0 && i < n) return i;
  return int(WrapIndex(i, n));
}

}  // namespace

void Spray(TFastDIB& Work, TFastDIB& Scratch, int Scatterosity) {
  if (!Usable(Work)) return;
  const int W = Work.Width(), H = Work.Height();
  if (Scatterosity <= 1) return SkipDraws(3 * uint64_t(W) * uint64_t(H));  // r = 0 everywhere
  const int S = Scatterosity > (1 << 30) ? (1 << 30) : Scatterosity;
  CopySurface(Work, Scratch);
  if (Scratch.Empty()) return;
  const uint8_t* const* src = Scratch.RowTable.data();
  RowsWithDraws(H, 3 * uint64_t(W), [&](int y, RandomStream& rnd) {
    uint8_t* d = Work.Row(y);
    for (int x = 0; x < W; ++x, d += 3) {
      const int r = rnd(S);
      const int sx = Wrapped(x + r - rnd(2 * r), W);
      const int sy = Wrapped(y + r - rnd(2 * r), H);
      const uint8_t* s = src[sy] + 3 * sx;
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  });
}

void ColorNoise(TFastDIB& Work, int Noisiness) {
  const int a = Noisiness & 255, half = a / 2;
  if (!Usable(Work)) return;
  const int n = 3 * Work.Width();
  if (a <= 1) return SkipDraws(uint64_t(n) * uint64_t(Work.Height()));  // Random(a) - half is always 0
  RowsWithDraws(Work.Height(), uint64_t(n), [&](int y, RandomStream& rnd) {
    uint8_t* p = Work.Row(y);
    for (int i = 0; i < n; ++i) {
      const int v = p[i] + rnd(a) - half;
      p[i] = uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
  });
}

}  // namespace vorq
