#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "core/effects/catalogue.h"
#include "core/raster/fill.h"
#include "core/raster/line.h"
#include "core/raster/palette.h"
#include "core/raster/pen.h"
#include "core/raster/shapes.h"
#include "core/raster/wrap.h"
#include "test_util.h"

using namespace vorq;

namespace {

using test::Count;
using test::Uniform;

// Pixels that differ from c, as a mask.
std::vector<bool> Changed(const TFastDIB& s, TPixel24 c) {
  std::vector<bool> m;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) m.push_back(!(s.GetPixel(y, x) == c));
  return m;
}

const TPixel24 kBlack{0, 0, 0}, kWhite{255, 255, 255};

}  // namespace

TEST(PenModes, EachModeOnKnownBytesByNameInMenuOrder) {
  // Destination bytes B 0xCA, G 0x0F, R 0xFF against pen bytes B 0xAC, G 0x3C,
  // R 0x00; results worked out bit by bit, one channel per column.
  const TPixel24 d{0xCA, 0x0F, 0xFF}, p{0xAC, 0x3C, 0x00};
  const struct {
    const char* Name;  // the Pen menu and the log lines
    uint8_t B, G, R;
  } want[kPenModeCount] = {
      {"Normal", 0xAC, 0x3C, 0x00},
      {"MaskNotPen", 0x42, 0x03, 0xFF},   // D and not P
      {"MaskPen", 0x88, 0x0C, 0x00},      // D and P
      {"MaskPenNot", 0x24, 0x30, 0x00},   // P and not D
      {"MergeNotPen", 0xDB, 0xCF, 0xFF},  // D or not P
      {"MergePen", 0xEE, 0x3F, 0xFF},     // D or P
      {"MergePenNot", 0xBD, 0xFC, 0x00},  // P or not D
      {"NotCopyPen", 0x53, 0xC3, 0xFF},   // not P
      {"NotMaskPen", 0x77, 0xF3, 0xFF},   // not (D and P)
      {"NotMergePen", 0x11, 0xC0, 0x00},  // not (D or P)
      {"NotXORPen", 0x99, 0xCC, 0x00},    // not (D xor P)
      {"XORPen", 0x66, 0x33, 0xFF},       // D xor P
  };
  for (int m = 0; m < kPenModeCount; ++m) {
    EXPECT_STREQ(PenModeName(m), want[m].Name);
    EXPECT_EQ(PenModeFromName(want[m].Name), m);
    TFastDIB s = Uniform(3, 2, d);
    PlotPixel(s, 1, 1, Pen{p, 1, PenModeFromIndex(m)});
    EXPECT_EQ(s.GetPixel(1, 1), (TPixel24{want[m].B, want[m].G, want[m].R})) << want[m].Name;
    EXPECT_EQ(s.GetPixel(0, 0), d) << "only the plotted pixel changes";
  }
  EXPECT_EQ(PenModeFromName("xorpen"), -1);
  for (int outside : {12, -1}) EXPECT_EQ(PenModeFromIndex(outside), PenMode::Normal);
  EXPECT_EQ(PixelFromColour(0x00382212), MakePixel(0x12, 0x22, 0x38));  // 0x00BBGGRR
}

TEST(PenLine, ThinNormalLineIsTheCanvasLine) {
  // A one-pixel Normal pen gives exactly the pixels of LineTo, end point
  // excluded, near and far from the surface.
  const int lines[][4] = {{0, 0, 4, 2},   {4, 2, 0, 0}, {30, 1, 3, 37}, {-50, -9, 70, 44}, {-2000000000, 5, 2000000000, 17},
                          {5, 5, 5, 5}, {0, 0, 3, 1},  {-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647}};
  for (const auto& l : lines) {
    TFastDIB pen = Uniform(40, 40, kBlack), canvas = Uniform(40, 40, kBlack);
    DrawPenLine(pen, l[0], l[1], l[2], l[3], Pen{kWhite, 1, PenMode::Normal});
    LineTo(canvas, l[0], l[1], l[2], l[3], kWhite);
    EXPECT_EQ(std::memcmp(pen.Bits, canvas.Bits, pen.ImageSize()), 0)
        << l[0] << "," << l[1] << " " << l[2] << "," << l[3];
  }
  TFastDIB s = Uniform(10, 6, kBlack);
  EXPECT_EQ(DrawPenLine(s, 2, 5, 7, 5, Pen{kWhite, 1, PenMode::Normal}), (PixelRect{2, 5, 7, 6}));
  TFastDIB d = Uniform(6, 4, kBlack);  // halves round towards the start
  DrawPenLine(d, 0, 0, 4, 2, Pen{kWhite, 1, PenMode::Normal});
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 1}}) EXPECT_EQ(d.GetPixel(y, x), kWhite) << x << "," << y;
  TFastDIB e = Uniform(4, 2, kBlack);  // an exact half at the third step of (0, 0) - (3, 1) moves on
  LineTo(e, 0, 0, 3, 1, kWhite);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {2, 1}}) EXPECT_EQ(e.GetPixel(y, x), kWhite) << x << "," << y;
  TFastDIB f = Uniform(4, 2, kBlack);  // clipped at the start, the end point still left out
  LineTo(f, -3, 1, 2, 1, kWhite);
  EXPECT_EQ(f.GetPixel(1, 1), kWhite);
  EXPECT_EQ(f.GetPixel(1, 2), kBlack);
}

TEST(Palette, ExactUpTo256ColoursThenThreeThreeTwo) {
  // 256 colours keep their own entries, first met first; one more gives the
  // fixed palette indexed RRRGGGBB.
  TFastDIB s = Uniform(257, 1, kBlack);
  for (int x = 0; x < 256; ++x) s.SetPixel(0, x, MakePixel(uint8_t(x), 7, 0));
  s.SetPixel(0, 256, MakePixel(0, 7, 0));
  std::vector<uint8_t> index(257);
  TPalette256 pal = ReduceTo256(s, index.data(), 257);
  EXPECT_EQ(pal.Count, 256);
  EXPECT_EQ(pal.Colours[200], MakePixel(200, 7, 0));
  EXPECT_EQ(index[256], 0);
  s.SetPixel(0, 256, MakePixel(0, 200, 255));
  pal = ReduceTo256(s, index.data(), 257);
  EXPECT_EQ(index[256], 0b00011011);
  EXPECT_EQ(pal.Colours[0b00011011], MakePixel(0, 218, 255));  // 6 * 255 / 7, 3 * 85
  EXPECT_EQ(pal.Colours[0b11100010], MakePixel(255, 0, 170));
}

TEST(PenLine, WidePensAreRoundDiscs) {
  // A one-step line stamps one disc: widths 1 .. 5 cover 1, 4, 9, 12 and 21
  // pixels (squares up to 3, then the corners go).
  const int expected[] = {1, 4, 9, 12, 21};
  for (int w = 1; w <= 5; ++w) {
    TFastDIB s = Uniform(20, 20, kBlack);
    DrawPenLine(s, 10, 10, 11, 10, Pen{kWhite, w, PenMode::Normal});
    EXPECT_EQ(Count(s, kWhite), expected[w - 1]) << "width " << w;
  }
  // Even widths extend towards the larger coordinates: width 2 at (10,10) is
  // the square 10..11 x 10..11.
  TFastDIB s = Uniform(20, 20, kBlack);
  DrawPenLine(s, 10, 10, 11, 10, Pen{kWhite, 2, PenMode::Normal});
  EXPECT_EQ(s.GetPixel(11, 11), kWhite);
  EXPECT_EQ(s.GetPixel(9, 10), kBlack);
  // Width 4 about the point (10.5, 10.5): rows of 2, 4, 4 and 2 pixels, mirrored top to bottom.
  TFastDIB four = Uniform(20, 20, kBlack);
  DrawPenLine(four, 10, 10, 11, 10, Pen{kWhite, 4, PenMode::Normal});
  for (auto [y, lo, hi] : {std::tuple{9, 10, 11}, {10, 9, 12}, {11, 9, 12}, {12, 10, 11}})
    for (int x = 8; x <= 13; ++x) EXPECT_EQ(four.GetPixel(y, x), x >= lo && x <= hi ? kWhite : kBlack) << x << "," << y;
  // Widths are clamped: 100000 draws kMaxPenWidth wide, 0 and below one pixel.
  TFastDIB u = Uniform(16, 16, kBlack);
  DrawPenLine(u, 0, 0, 15, 15, Pen{kWhite, 100000, PenMode::Normal});
  EXPECT_EQ(Count(u, kWhite), 256);
  for (int w : {0, -7}) {
    TFastDIB v = Uniform(16, 16, kBlack);
    DrawPenLine(v, 0, 3, 10, 3, Pen{kWhite, w, PenMode::Normal});
    EXPECT_EQ(Count(v, kWhite), 10);
  }
  TFastDIB t = Uniform(16, 16, kBlack), none;
  EXPECT_TRUE(DrawPenLine(t, -50, -50, -20, 200, Pen{kWhite, 9, PenMode::Normal}).Empty());
  EXPECT_TRUE(DrawPenLine(none, 0, 0, 5, 5, Pen{kWhite, 9, PenMode::Normal}).Empty());
}

TEST(PenStroke, SuccessiveLinesChangeEachPixelOnce) {
  // The discs of a wide pen overlap, and a zigzag doubles back over itself:
  // in XOR the stroke is still a solid inversion of exactly the pixels the
  // Normal stroke covers. A single line (two points) behaves the same.
  const PenPoint path[] = {{5, 5}, {30, 8}, {6, 12}, {30, 14}, {5, 5}};
  const TPixel24 p{0x0F, 0xF0, 0x3C};
  for (int w : {1, 2, 5}) {
    for (size_t n : {size_t(2), std::size(path)}) {
      TFastDIB normal = Uniform(40, 20, kWhite), xored = Uniform(40, 20, kWhite);
      DrawPolyline(normal, std::span(path, n), Pen{p, w, PenMode::Normal});
      DrawPolyline(xored, std::span(path, n), Pen{p, w, PenMode::XORPen});
      EXPECT_EQ(Changed(normal, kWhite), Changed(xored, kWhite)) << "width " << w;
      EXPECT_EQ(Count(xored, TPixel24{0xF0, 0x0F, 0xC3}) + Count(xored, kWhite), 800);
    }
  }
  // The surface replaced in the middle of a stroke (an Undo of a different
  // size): the stroke goes on on the new pixels without touching old memory.
  TFastDIB s = Uniform(8, 8, kWhite);
  PenStroke stroke(s, Pen{kWhite, 3, PenMode::XORPen}, 0, 0);
  stroke.LineTo(7, 7);
  s = Uniform(40, 40, kWhite);
  stroke.LineTo(39, 20);
  EXPECT_EQ(s.GetPixel(12, 20), kBlack);
  // The changed area of a stroke with a zero-length step: every segment's rows, the last one's included.
  const PenPoint still[] = {{2, 2}, {5, 2}, {5, 2}, {7, 2}};
  EXPECT_EQ(DrawPolyline(s, still, Pen{kWhite, 1, PenMode::Normal}), (PixelRect{2, 2, 7, 3}));
}

TEST(Rectangle, OutlineBrushAndCornerOrder) {
  const TPixel24 pen{1, 2, 3}, brush{200, 100, 50};
  // Width 1: the border of [2, 8) x [2, 6), the brush inside it.
  TFastDIB s = Uniform(12, 10, kBlack);
  DrawRectangle(s, 2, 2, 8, 6, Pen{pen, 1, PenMode::Normal}, Brush{brush, true});
  EXPECT_EQ(Count(s, pen), 2 * 6 + 2 * 2);
  EXPECT_EQ(Count(s, brush), 4 * 2);
  EXPECT_EQ(s.GetPixel(6, 8), kBlack);  // the larger corner is excluded
  // Any corner order gives the same rectangle.
  for (auto [x0, y0, x1, y1] : {std::array{8, 6, 2, 2}, std::array{8, 2, 2, 6}, std::array{2, 6, 8, 2}}) {
    TFastDIB t = Uniform(12, 10, kBlack);
    DrawRectangle(t, x0, y0, x1, y1, Pen{pen, 1, PenMode::Normal}, Brush{brush, true});
    EXPECT_EQ(std::memcmp(s.Bits, t.Bits, s.ImageSize()), 0);
  }
  // Width 3 on [2, 12) x [2, 10): outline 1..12 x 1..10, inside 4..9 x 4..7;
  // a hollow brush leaves the inside alone.
  TFastDIB w = Uniform(16, 14, kBlack);
  DrawRectangle(w, 2, 2, 12, 10, Pen{pen, 3, PenMode::Normal}, Brush{brush, false});
  EXPECT_EQ(Count(w, pen), 12 * 10 - 6 * 4);
  EXPECT_TRUE(w.GetPixel(1, 1) == pen && w.GetPixel(10, 12) == pen && w.GetPixel(3, 3) == pen);
  EXPECT_EQ(w.GetPixel(4, 4), kBlack);
  // Zero width or height draws nothing; far-away coordinates stay clipped.
  TFastDIB z = Uniform(8, 8, kBlack);
  EXPECT_TRUE(DrawRectangle(z, 3, 1, 3, 7, Pen{pen, 5, PenMode::Normal}, Brush{brush, true}).Empty());
  DrawRectangle(z, -2000000000, -2000000000, 2000000000, 2000000000, Pen{pen, 1000, PenMode::Normal},
                Brush{brush, true});
  EXPECT_EQ(Count(z, brush), 64);
}

TEST(Ellipse, FilledWithOutlineAndClosedForAnyBox) {
  // The box 10..49 x 10..29; centre (29.5, 19.5), semi-axes 19.5 and 9.5.
  // Width 2: outline between the semi-axes 20.5 x 10.5 and 18.5 x 8.5.
  const TPixel24 pen{1, 2, 3}, brush{200, 100, 50};
  TFastDIB s = Uniform(64, 40, kBlack);
  const PixelRect r = DrawEllipse(s, 10, 10, 50, 30, Pen{pen, 2, PenMode::Normal}, Brush{brush, true});
  EXPECT_EQ(r, (PixelRect{10, 10, 50, 30}));
  // Row 19: outline at 10, 11 and 48, 49, brush 12 .. 47.
  EXPECT_TRUE(s.GetPixel(19, 10) == pen && s.GetPixel(19, 11) == pen && s.GetPixel(19, 12) == brush);
  EXPECT_EQ(s.GetPixel(10, 10), kBlack);  // box corner is outside
  EXPECT_EQ(s.GetPixel(10, 29), pen);     // top of the outline
  EXPECT_EQ(s.GetPixel(12, 29), brush);
  // Symmetric both ways.
  for (int y = 10; y < 30; ++y)
    for (int x = 10; x < 50; ++x) {
      ASSERT_EQ(s.GetPixel(y, x), s.GetPixel(y, 59 - x));
      ASSERT_EQ(s.GetPixel(y, x), s.GetPixel(39 - y, x));
    }
  // A one-pixel outline must keep a 4-connected fill from outside out of the
  // middle, including thin and tiny boxes; a hollow brush leaves it alone.
  const TPixel24 red{0, 0, 255};
  const int boxes[][4] = {{3, 3, 40, 25}, {2, 2, 60, 9}, {20, 2, 27, 38}, {5, 5, 10, 10}, {9, 9, 12, 30}};
  for (const auto& b : boxes) {
    for (int w : {1, 2, 3}) {
      TFastDIB e = Uniform(64, 40, kBlack);
      DrawEllipse(e, b[0], b[1], b[2], b[3], Pen{kWhite, w, PenMode::Normal}, Brush{red, false});
      const int cx = (b[0] + b[2] - 1) / 2, cy = (b[1] + b[3] - 1) / 2;
      if (e.GetPixel(cy, cx) == kWhite) continue;  // too small to have a middle
      FloodFill(e, 0, 0, red);
      EXPECT_EQ(e.GetPixel(cy, cx), kBlack) << b[0] << "," << b[1] << "," << b[2] << "," << b[3] << " w" << w;
    }
  }
}

TEST(FloodFill, FourConnectedAreasWithoutRecursion) {
  const TPixel24 red{0, 0, 255};
  // Single colour: the whole surface.
  TFastDIB s = Uniform(33, 17, kBlack);
  EXPECT_EQ(FloodFill(s, 5, 5, red), (PixelRect{0, 0, 33, 17}));
  // Same colour, and outside: nothing.
  EXPECT_TRUE(FloodFill(s, 5, 5, red).Empty());
  EXPECT_TRUE(FloodFill(s, -1, 5, kWhite).Empty());
  EXPECT_TRUE(FloodFill(s, 33, 0, kWhite).Empty());
  EXPECT_EQ(Count(s, red), 33 * 17);

  // Walls every other column with alternating gaps: one path 500 columns
  // long winding through the whole surface.
  const int w = 1001, h = 600;
  TFastDIB maze = Uniform(w, h, kBlack);
  for (int x = 1; x < w; x += 2)
    for (int y = 0; y < h; ++y) {
      const bool gap = ((x / 2) % 2 == 0) ? y == h - 1 : y == 0;
      if (!gap) maze.SetPixel(y, x, kWhite);
    }
  FloodFill(maze, 0, 0, TPixel24{0, 255, 0});
  EXPECT_EQ(Count(maze, TPixel24{0, 255, 0}), w * h - Count(maze, kWhite));
}

TEST(FloodFill, ToleranceMatchesAReferenceBreadthFirstFill) {
  // Reference: breadth-first over 4-neighbours, each channel within t of the seed's.
  auto reference = [](TFastDIB& s, int x, int y, TPixel24 c, int t) {
    const TPixel24 seed = s.GetPixel(y, x);
    auto near = [&](TPixel24 p) {
      return std::abs(p.R - seed.R) <= t && std::abs(p.G - seed.G) <= t && std::abs(p.B - seed.B) <= t;
    };
    std::vector<char> in(size_t(s.Width() * s.Height()), 0);
    std::vector<std::pair<int, int>> queue{{x, y}};
    in[size_t(y * s.Width() + x)] = 1;
    for (size_t i = 0; i < queue.size(); ++i) {
      const auto [px, py] = queue[i];
      const int nb[4][2] = {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
      for (const auto& n : nb)
        if (n[0] >= 0 && n[1] >= 0 && n[0] < s.Width() && n[1] < s.Height() && !in[size_t(n[1] * s.Width() + n[0])] &&
            near(s.GetPixel(n[1], n[0]))) {
          in[size_t(n[1] * s.Width() + n[0])] = 1;
          queue.push_back({n[0], n[1]});
        }
    }
    for (const auto& [px, py] : queue) s.SetPixel(py, px, c);
  };
  for (const auto& [w, h] : {std::pair{37, 23}, {1, 7}, {7, 1}, {1, 1}})
    for (const int t : {1, 9, 60, 255}) {
      TFastDIB a = test::Random(w, h, uint32_t(w * 31 + t));
      TFastDIB b = test::Clone(a);
      // The fill colour is near the seed's, so a fill without a mask would go round again.
      const TPixel24 c{uint8_t(a.GetPixel(0, 0).B ^ 1), a.GetPixel(0, 0).G, a.GetPixel(0, 0).R};
      FloodFill(a, 0, 0, c, t);
      reference(b, 0, 0, c, t);
      EXPECT_TRUE(test::SamePixels(a, b)) << w << "x" << h << " t " << t;
    }
  // The bound is inclusive in every channel: 40 away joins at tolerance 40, 41 does not.
  for (int ch = 0; ch < 3; ++ch) {
    TFastDIB row = Uniform(3, 1, MakePixel(100, 100, 100));
    auto shifted = [&](int by) {
      TPixel24 p = MakePixel(100, 100, 100);
      (ch == 0 ? p.R : ch == 1 ? p.G : p.B) = uint8_t(100 + by);
      return p;
    };
    row.SetPixel(0, 1, shifted(40));
    row.SetPixel(0, 2, shifted(-41));
    FloodFill(row, 0, 0, kWhite, 40);
    EXPECT_EQ(row.GetPixel(0, 1), kWhite) << ch;
    EXPECT_EQ(row.GetPixel(0, 2), shifted(-41)) << ch;
  }
  TFastDIB s = Uniform(5, 5, kBlack);
  EXPECT_TRUE(FloodFill(s, 5, 0, kWhite, 10).Empty());
  EXPECT_TRUE(FloodFill(s, 0, -1, kWhite, 1 << 30).Empty());
  EXPECT_EQ(FloodFill(s, 2, 2, kWhite, -5), (PixelRect{0, 0, 5, 5}));  // below 0: the exact fill
  // The largest tolerance reaches a pixel 255 away, even when the start already has the colour.
  s.SetPixel(0, 4, kBlack);
  EXPECT_EQ(FloodFill(s, 0, 0, kWhite, 1 << 30), (PixelRect{0, 0, 5, 5}));
  EXPECT_EQ(s.GetPixel(0, 4), kWhite);
  // Wrapped, a run reaching one column over the right edge changes the whole row.
  TFastDIB ring = Uniform(5, 1, kBlack);
  ring.SetPixel(0, 1, kWhite), ring.SetPixel(0, 2, kWhite);
  EXPECT_EQ(FloodFillWrapped(ring, 4, 0, kWhite, 0), (PixelRect{0, 0, 5, 1}));
  EXPECT_EQ(Count(ring, kWhite), 5);
}

// --- filled shapes without an outline ---

TEST(FilledShapes, EllipseAndPieMatchPerPixelTests) {
  // Doubled coordinates about the box centre: inside the inscribed ellipse,
  // and clockwise (y down) from ray a to ray b.
  auto cross = [](long long px, long long py, long long qx, long long qy) { return px * qy - py * qx; };
  const int boxes[][4] = {{3, 4, 40, 25}, {40, 25, 3, 4}, {-10, -5, 20, 50}, {5, 5, 6, 6}, {7, 2, 9, 30}};
  // Ray pairs about the centre: narrow, a quarter, over a half turn, a half turn, the same ray twice, a ray
  // to the centre itself (of the first box: nothing).
  const int rays[][4] = {{0, -30, 3, -30}, {30, 0, 0, 30}, {0, 30, 30, 1}, {-30, 0, 30, 0}, {5, 5, 10, 10}, {0, -30, 0, 0}};
  const TPixel24 ink{9, 99, 199};
  for (const auto& b : boxes)
    for (const auto& r : rays) {
      const int L = std::min(b[0], b[2]), R = std::max(b[0], b[2]), T = std::min(b[1], b[3]), B = std::max(b[1], b[3]);
      const int cx = (L + R) / 2, cy = (T + B) / 2;
      const long long w = R - L, h = B - T, ax = 2 * (cx + r[0]) - (L + R - 1), ay = 2 * (cy + r[1]) - (T + B - 1);
      const long long bx = 2 * (cx + r[2]) - (L + R - 1), by = 2 * (cy + r[3]) - (T + B - 1);
      const long long ab = cross(ax, ay, bx, by);
      TFastDIB e = Uniform(64, 40, kBlack), p = Uniform(64, 40, kBlack);
      FillEllipse(e, b[0], b[1], b[2], b[3], ink);
      FillPie(p, b[0], b[1], b[2], b[3], cx + r[0], cy + r[1], cx + r[2], cy + r[3], ink);
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x) {
          const long long u = 2 * x - (L + R - 1), v = 2 * y - (T + B - 1);
          const bool in = u * u * h * h + v * v * w * w <= w * w * h * h && x >= L && x < R && y >= T && y < B;
          const bool afterA = cross(ax, ay, u, v) >= 0, beforeB = cross(u, v, bx, by) >= 0;
          const bool sweep = ab > 0 ? afterA && beforeB : ab < 0 ? afterA || beforeB : ax * bx + ay * by < 0 && afterA;
          ASSERT_EQ(e.GetPixel(y, x) == ink, in) << x << "," << y;
          ASSERT_EQ(p.GetPixel(y, x) == ink, in && sweep) << x << "," << y << " ray " << r[0] << "," << r[1];
        }
    }
}

TEST(FilledShapes, ShapesInOneGoEqualDrawingInOrder) {
  // Overlapping rectangles, ellipses and pies: FillShapes gives what drawing
  // them one after the other gives, uncovered pixels in the background.
  std::vector<FillShape> shapes;
  uint32_t seed = 7;
  auto rnd = [&](int n) { return int((seed = seed * 1664525u + 1013904223u) >> 8) % n - 15; };
  for (int i = 0; i < 60; ++i)
    shapes.push_back({FillShape::Kind((rnd(3) + 15) % 3), rnd(90), rnd(70), rnd(90), rnd(70), rnd(90), rnd(70), rnd(90),
                      rnd(70), TPixel24{uint8_t(i), uint8_t(3 * i), 7}});
  const TPixel24 bg{1, 2, 3};
  TFastDIB want = Uniform(61, 43, bg), got = Uniform(61, 43, kWhite);
  for (const FillShape& s : shapes) {
    if (s.kind == FillShape::Kind::Rectangle) FillRect(want, s.x0, s.y0, s.x1, s.y1, s.Color);
    if (s.kind == FillShape::Kind::Ellipse) FillEllipse(want, s.x0, s.y0, s.x1, s.y1, s.Color);
    if (s.kind == FillShape::Kind::Pie) FillPie(want, s.x0, s.y0, s.x1, s.y1, s.ax, s.ay, s.bx, s.by, s.Color);
  }
  FillShapes(got, shapes, bg);
  EXPECT_TRUE(test::SamePixels(got, want));
  // Huge coordinates are clipped, not wrapped.
  TFastDIB z = Uniform(5, 3, kBlack);
  FillEllipse(z, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kWhite);
  FillPie(z, -1000000000, -1000000000, 1000000000, 1000000000, 0, INT32_MIN, INT32_MAX, 0, kBlack);
  FillRect(z, INT32_MAX, 0, INT32_MIN, 1, kWhite);
  EXPECT_EQ(Count(z, kWhite), 15);
}
