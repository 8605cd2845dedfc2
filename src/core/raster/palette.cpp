#include "core/raster/palette.h"

namespace vorq {
namespace {

// Open addressing over the colours met so far; twice as many slots as
// entries can ever be kept, so probes stay short.
class ColourTable {
 public:
  // Index of colour c (0x00BBGGRR), adding it when new; -1 when it is new
  // and 256 colours are already kept.
  int Find(uint32_t c, TPalette256& pal) {
    const uint32_t key = c + 1;  // 0 marks a free slot
    uint32_t h = (key * 2654435761u) >> (32 - kBits);
    while (keys_[h] != 0) {
      if (keys_[h] == key) return index_[h];
      h = (h + 1) & (kSlots - 1);
    }
    if (pal.Count == 256) return -1;
    keys_[h] = key;
    index_[h] = uint8_t(pal.Count);
    pal.Colours[size_t(pal.Count)] = TPixel24{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
    return pal.Count++;
  }

 private:
  static constexpr int kBits = 9;
  static constexpr uint32_t kSlots = 1u << kBits;
  uint32_t keys_[kSlots] = {};
  uint8_t index_[kSlots] = {};
};

inline uint32_t Key(const TPixel24& p) { return uint32_t(p.R) | (uint32_t(p.G) << 8) | (uint32_t(p.B) << 16); }

bool ExactIndices(const TFastDIB& Source, uint8_t* Indices, size_t Stride, TPalette256& pal) {
  ColourTable table;
  const int W = Source.Width(), H = Source.Height();
  uint32_t last = 0xFFFFFFFFu;  // no colour has this key
  uint8_t lastIndex = 0;
  for (int y = 0; y < H; ++y) {
    const TPixel24* row = Source.Row24(y);
    uint8_t* out = Indices + size_t(y) * Stride;
    for (int x = 0; x < W; ++x, ++out) {
      const uint32_t c = Key(row[x]);
      // Runs of one colour are common in the images traced.
      if (c != last) {
        const int i = table.Find(c, pal);
        if (i < 0) return false;
        last = c;
        lastIndex = uint8_t(i);
      }
      *out = lastIndex;
    }
  }
  return true;
}

}  // namespace

TPalette256 ReduceTo256(const TFastDIB& Source, uint8_t* Indices, size_t Stride) {
  TPalette256 pal;
  if (Source.Empty()) return pal;
  if (ExactIndices(Source, Indices, Stride, pal)) return pal;

  pal = TPalette256{};
  pal.Count = 256;
  for (int i = 0; i < 256; ++i)
    pal.Colours[size_t(i)] =
        MakePixel(uint8_t((i >> 5) * 255 / 7), uint8_t(((i >> 2) & 7) * 255 / 7), uint8_t((i & 3) * 85));
  for (int y = 0; y < Source.Height(); ++y) {
    const TPixel24* row = Source.Row24(y);
    uint8_t* out = Indices + size_t(y) * Stride;
    for (int x = 0; x < Source.Width(); ++x)
      out[x] = uint8_t((row[x].R & 0xE0) | ((row[x].G >> 3) & 0x1C) | (row[x].B >> 6));
  }
  return pal;
}

}  // namespace vorq
