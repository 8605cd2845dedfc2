#include "core/effects/bevels.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/raster/palette.h"
#include "core/raster/pen.h"
#include "core/util/arith.h"

namespace vorq {
namespace {

// ---------------------------------------------------------------------------
// Buttonize. Within a strip every pixel's new value depends only on its own
// value and its strip index, so each strip index gets a table of the 256
// results per channel.

struct StripTable {
  uint8_t t[3][256];  // blue, green, red as stored
};

// Strip index i of an E-deep strip towards colour T. Shading strips (right,
// bottom) run v + MulDiv(i, T - v, E - 1), from the image at i = 0 to T at
// the outer edge; lighting strips (left, top) run T + MulDiv(i, v - T, E - 1),
// from T at the outer edge i = 0 to the image. A strip one pixel deep is its
// own outer edge: it takes T.
void MakeStripTable(StripTable& table, int i, int E, TPixel24 target, bool shading) {
  const uint8_t* t = &target.B;
  for (int c = 0; c < 3; ++c)
    for (int v = 0; v < 256; ++v) {
      int r = t[c];
      if (E > 1) r = shading ? v + MulDiv(i, t[c] - v, E - 1) : t[c] + MulDiv(i, v - t[c], E - 1);
      table.t[c][v] = uint8_t(r);
    }
}

inline void ApplyTable(const StripTable& table, uint8_t* p) {
  p[0] = table.t[0][p[0]];
  p[1] = table.t[1][p[1]];
  p[2] = table.t[2][p[2]];
}

// Strip columns x0 .. x1 - 1 of every row, strip index of column x = x - base.
void ColumnStrip(TFastDIB& S, int64_t x0, int64_t x1, int64_t base, int E, TPixel24 target, bool shading) {
  constexpr int kBlock = 32;  // tables of one block stay in the first-level cache
  std::vector<StripTable> tables(kBlock);
  for (int64_t b0 = x0; b0 < x1; b0 += kBlock) {
    const int n = int(std::min<int64_t>(kBlock, x1 - b0));
    for (int k = 0; k < n; ++k) MakeStripTable(tables[size_t(k)], int(b0 + k - base), E, target, shading);
    for (int y = 0; y < S.Height(); ++y) {
      uint8_t* p = S.Row(y) + 3 * b0;
      for (int k = 0; k < n; ++k, p += 3) ApplyTable(tables[size_t(k)], p);
    }
  }
}

// ---------------------------------------------------------------------------
// Trace.

class Tracer {
 public:
  Tracer(TFastDIB& work, TPixel24 mark) : work_(work), mark_(mark), W_(work.Width()), H_(work.Height()) {
    // The picture with a one-pixel border taken from the opposite edges and
    // corners, as palette indices.
    BW_ = W_ + 2;
    picture_.resize(size_t(BW_) * size_t(H_ + 2));
    uint8_t* const p = picture_.data();
    const size_t bw = size_t(BW_);
    ReduceTo256(work, p + bw + 1, bw);
    for (int y = 1; y <= H_; ++y) {
      p[size_t(y) * bw] = p[size_t(y) * bw + size_t(W_)];
      p[size_t(y) * bw + size_t(W_) + 1] = p[size_t(y) * bw + 1];
    }
    std::memcpy(p, p + size_t(H_) * bw, bw);
    std::memcpy(p + size_t(H_ + 1) * bw, p + bw, bw);
  }

  // Rows 0 .. H, columns 0 .. W of the bordered picture, right then lower
  // neighbour.
  void ForwardScan() {
    for (int y = 0; y <= H_; ++y)
      for (int x = 0; x <= W_; ++x) {
        Check(x, y, x + 1, y);
        Check(x, y, x, y + 1);
      }
  }

  // Rows H + 1 down to 1, columns W + 1 down to 1, left then upper neighbour.
  void BackwardScan() {
    for (int y = H_ + 1; y >= 1; --y)
      for (int x = W_ + 1; x >= 1; --x) {
        Check(x, y, x - 1, y);
        Check(x, y, x, y - 1);
      }
  }

 private:
  uint8_t At(int x, int y) const { return picture_[size_t(y) * size_t(BW_) + size_t(x)]; }

  // The first edge found fixes the background index; afterwards the mark
  // goes on whichever side of an edge is not the background.
  void Check(int x, int y, int nx, int ny) {
    const uint8_t p = At(x, y), q = At(nx, ny);
    if (q == p) return;
    if (!found_) {
      ref_ = q;
      found_ = true;
      Mark(x, y);
    } else if (p == ref_) {
      Mark(nx, ny);
    } else {
      Mark(x, y);
    }
  }

  // Marks on the border fall outside the image that is kept.
  void Mark(int x, int y) {
    if (x >= 1 && x <= W_ && y >= 1 && y <= H_) work_.Row24(y - 1)[x - 1] = mark_;
  }

  TFastDIB& work_;
  TPixel24 mark_;
  int W_, H_, BW_ = 0;
  std::vector<uint8_t> picture_;
  uint8_t ref_ = 0;
  bool found_ = false;
};

}  // namespace

void Buttonize(TFastDIB& Work, int EdgeSize, uint32_t Shadow, uint32_t HiLite) {
  if (Work.Empty() || EdgeSize <= 0) return;
  const int64_t W = Work.Width(), H = Work.Height(), E = EdgeSize;
  const TPixel24 S = PixelFromColour(Shadow), L = PixelFromColour(HiLite);
  // Right strip: column W - E + i; a strip deeper than the image is cut on
  // the left.
  ColumnStrip(Work, std::max<int64_t>(0, W - E), W, W - E, EdgeSize, S, true);
  // Left strip: column i.
  ColumnStrip(Work, 0, std::min(E, W), 0, EdgeSize, L, false);
  StripTable table;
  // Bottom strip: row H - E + j, columns E - j .. W - E + j - 1.
  for (int64_t y = std::max<int64_t>(0, H - E); y < H; ++y) {
    const int64_t j = y - (H - E);
    const int64_t x0 = std::max<int64_t>(0, E - j), x1 = std::min(W, W - E + j);
    if (x0 >= x1) continue;
    MakeStripTable(table, int(j), EdgeSize, S, true);
    for (uint8_t* p = Work.Row(int(y)) + 3 * x0; p < Work.Row(int(y)) + 3 * x1; p += 3) ApplyTable(table, p);
  }
  // Top strip: row j, columns j .. W - 1 - j.
  for (int64_t j = 0; j < std::min(E, H); ++j) {
    const int64_t x0 = j, x1 = W - j;
    if (x0 >= x1) continue;
    MakeStripTable(table, int(j), EdgeSize, L, false);
    for (uint8_t* p = Work.Row(int(j)) + 3 * x0; p < Work.Row(int(j)) + 3 * x1; p += 3) ApplyTable(table, p);
  }
}

void Trace(TFastDIB& Work, int Intensity, uint32_t MarkColour) {
  if (Work.Empty() || Intensity <= 0) return;
  Tracer tracer(Work, PixelFromColour(MarkColour));
  // The palette picture never changes and the background stays fixed once
  // found, so a second forward scan repeats the first one's marks and every
  // pass from the third on repeats the second.
  tracer.ForwardScan();
  if (Intensity >= 2) tracer.BackwardScan();
}

}  // namespace vorq
