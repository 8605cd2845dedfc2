// Map Texture and its built-in texture.
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/effects/colour.h"
#include "core/effects/geometry.h"
#include "core/effects/textures.h"
#include "core/util/arith.h"
#include "core/util/parallel.h"

namespace vorq {

void MapTexture(TFastDIB& Work, TFastDIB& Scratch, const TFastDIB& Texture, double Brightness) {
  if (Work.Empty() || Texture.Empty() || !std::isfinite(Brightness)) return;
  const int W = Work.Width(), H = Work.Height();
  float tab[256];
  for (int i = 0; i < 256; ++i) tab[i] = float(std::sin(static_cast<long double>(i) / 255) * Brightness);

  if (&Texture != &Scratch) CopySurface(Texture, Scratch);
  GrayScaleSurface(Scratch);
  if (Scratch.Width() != W || Scratch.Height() != H) ResizeBilinear(Scratch, W, H, 0);
  if (Scratch.Width() != W || Scratch.Height() != H) return;  // no memory for the resize

  // Every (texture, channel) pair once: Nearest(c * Tab[t]), clamped.
  std::vector<uint8_t> map(256 * 256);
  for (int t = 0; t < 256; ++t)
    for (int c = 0; c < 256; ++c) {
      const int64_t v = NearestLimited(double(c) * double(tab[t]));
      map[size_t(t) * 256 + size_t(c)] = uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
  ParallelRows(H, [&](int b, int e) {
    for (int y = b; y < e; ++y) {
      uint8_t* p = Work.Row(y);
      const uint8_t* t = Scratch.Row(y);
      for (int i = 0; i < 3 * W; ++i) p[i] = map[size_t(t[i]) * 256 + p[i]];
    }
  });
}

void DefaultTexture(TFastDIB& Surface) {
  constexpr int kSide = 64, kBand = 16;  // two bands over, two under: period 32
  if (!Surface.SetSize(kSide, kSide, 24, 0)) return;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      // In a checkerboard of cells either the band running across or the one
      // running down lies on top.
      const bool across = (((x / kBand) + (y / kBand)) & 1) == 0;
      const int side = across ? y % kBand : x % kBand;  // position across the band
      const int along = across ? x % kBand : y % kBand;
      const int strand = across ? y : x, pos = across ? x : y;
      int v = 60 + 3 * side * (kBand - 1 - side);  // rounded band, dark seams
      const int end = along < kBand - 1 - along ? along : kBand - 1 - along;
      if (end < 3) v = v * (4 + end) / 7;  // the band dips under its neighbour
      uint32_t h = uint32_t(strand * 64 + pos) * 2654435761u;  // fibres
      h ^= h >> 15;
      h *= 2246822519u;
      h ^= h >> 13;
      v += int(h % 21) - 10;
      const uint8_t g = uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
      Surface.SetPixel(y, x, MakePixel(g, g, g));
    }
}

}  // namespace vorq
