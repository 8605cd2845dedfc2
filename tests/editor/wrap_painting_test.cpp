// Options > Wrap Painting: shapes, lines and flood fill land where the
// coordinates taken modulo the image's size say, and their lines replay so.
#include "core/raster/pen.h"
#include "core/raster/shapes.h"
#include "editor/commands/painting.h"
#include "editor/replay.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {

const TPixel24 kWhite{255, 255, 255}, kBlack{0, 0, 0}, kRed{0, 0, 255}, kBlue{255, 0, 0};
constexpr int W = 37, H = 23;  // odd sizes

// The reference: the same drawing on a plane five tiles wide and high, the
// start tile in the middle, folded back: (x mod W, y mod H) is painted when
// any of its copies is.
template <typename Draw>
TFastDIB Folded(Draw draw) {
  TFastDIB plane = test::Uniform(5 * W, 5 * H, kWhite);
  draw(plane, 2 * W, 2 * H);
  TFastDIB out = test::Uniform(W, H, kWhite);
  for (int y = 0; y < 5 * H; ++y)
    for (int x = 0; x < 5 * W; ++x)
      if (!(plane.GetPixel(y, x) == kWhite)) out.SetPixel(y % H, x % W, plane.GetPixel(y, x));
  return out;
}

// A black cross through the middle splits the tile into four rooms.
void DrawCross(TFastDIB& s) {
  for (int x = 0; x < W; ++x) s.SetPixel(H / 2, x, kBlack);
  for (int y = 0; y < H; ++y) s.SetPixel(y, W / 2, kBlack);
}

struct Wrapper : test::EditorFixture<> {
  PaintTools tools;
  explicit Wrapper(const char* log) : EditorFixture(W, H) {
    ed.WorkSurface = test::Uniform(W, H, kWhite);
    ed.WrapPainting = true;
    ed.ToolBox.PenColor = 0x00FF0000;    // blue
    ed.ToolBox.BrushColor = 0x000000FF;  // red
    ed.ToolBox.PenSize = "3";
    OpenLog(log);
  }
  void Drag(PaintTool tool, int x0, int y0, int x1, int y1) {
    tools.SelectTool(tool);
    tools.MouseDown(ed, x0, y0, MouseButton::Left);
    tools.MouseMove(ed, x1, y1);
    tools.MouseUp(ed, x1, y1, MouseButton::Left);
  }
};

// Replays lines on a copy of the start image in an editor with the setting off.
Editor& Replayed(test::EditorFixture<>& r, const TFastDIB& start, const std::vector<std::string>& lines) {
  CopySurface(start, r.ed.WorkSurface);
  for (const std::string& l : lines) EXPECT_EQ(ReplayLine(r.ed, l).Status, ReplayStatus::Done) << l;
  return r.ed;
}

}  // namespace

TEST(WrapPainting, LineFilledEllipseAndFreeHandLandModuloTheSize) {
  Wrapper w("vorq_wrap_shapes.txt");
  const TFastDIB start = w.Snapshot();
  const Pen pen{kBlue, 3, PenMode::Normal};
  const Brush brush{kRed, true};
  // A line leaving the right edge, and one starting in the copy above-left.
  w.Drag(PaintTool::Line, 30, 5, 50, 12);
  w.Drag(PaintTool::Line, -10, -4, 8, 6);
  // A filled ellipse over the bottom right corner lands in all four corners.
  w.Drag(PaintTool::Ellipse, 30, 17, 44, 29);
  const TFastDIB want = Folded([&](TFastDIB& s, int ox, int oy) {
    DrawPenLine(s, ox + 30, oy + 5, ox + 50, oy + 12, pen);
    DrawPenLine(s, ox - 10, oy - 4, ox + 8, oy + 6, pen);
    DrawEllipse(s, ox + 30, oy + 17, ox + 44, oy + 29, pen, brush);
  });
  EXPECT_TRUE(w.Unchanged(want));
  const std::vector<std::string> lines = w.CloseLogLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Line from X 30 Y 5 To X 50 Y 12, Pen Size 3, Pen Color R: 0 G: 0 B: 255, Pen Normal, Wrap");
  EXPECT_EQ(lines[2],
            "Ellipse from X 30 Y 17, To X 44 Y 29, Pen Size 3, Pen Color R: 0 G: 0 B: 255, Brush Color R: 255 G: 0 "
            "B: 0, Filled, Wrap");
  // The batch tool gives the same pixels with the setting off.
  test::EditorFixture<> r;
  EXPECT_TRUE(test::SamePixels(Replayed(r, start, lines).WorkSurface, want));

  // A free-hand stroke crossing an edge comes back on the other side.
  Wrapper free("vorq_wrap_free.txt");
  free.Drag(PaintTool::FreeHand, -2, 5, 3, 5);
  const TFastDIB stroke = Folded([](TFastDIB& s, int ox, int oy) {
    PenStroke(s, Pen{PixelFromColour(0x00FF0000), 3, PenMode::Normal}, ox - 2, oy + 5).LineTo(ox + 3, oy + 5);
  });
  EXPECT_TRUE(test::SamePixels(free.ed.WorkSurface, stroke));
}

TEST(WrapPainting, FloodFillSpreadsThroughTheEdges) {
  Wrapper w("vorq_wrap_fill.txt");
  // The wrap joins the four rooms back into one area, which the fill must reach entirely.
  DrawCross(w.ed.WorkSurface);
  const TFastDIB start = w.Snapshot();
  w.tools.SelectTool(PaintTool::Fill);
  w.tools.MouseDown(w.ed, 1, 1, MouseButton::Left);
  EXPECT_EQ(test::Count(w.ed.WorkSurface, kRed), W * H - W - H + 1);
  EXPECT_EQ(w.CloseLogLines(),
            std::vector<std::string>{"FloodFill at location X 1 Y 1, Brush Color R: 255 G: 0 B: 0, Wrap"});
  // Without the wrap only the top left room fills; a plain line never wraps,
  // whatever the replaying editor's setting.
  test::EditorFixture<> r;
  r.ed.WrapPainting = true;
  r.ed.ToolBox.FillTolerance = 255;  // nor the tool box's tolerance
  Replayed(r, start, {"FloodFill at location X 1 Y 1, Brush Color R: 255 G: 0 B: 0"});
  EXPECT_EQ(test::Count(r.ed.WorkSurface, kRed), (W / 2) * (H / 2));
  EXPECT_TRUE(r.ed.WrapPainting && r.ed.ToolBox.FillTolerance == 255);
  const std::string tolerant = "FloodFill at location X 1 Y 1, Brush Color R: 0 G: 0 B: 0, Tolerance 5, Wrap";
  r.OpenLog("vorq_wrap_fill_replay.txt");
  EXPECT_EQ(ReplayLine(r.ed, tolerant).Status, ReplayStatus::Done);
  EXPECT_EQ(r.CloseLogLines(), std::vector<std::string>{tolerant});
}

TEST(WrapPainting, PasteAsSelectionOverACornerLandsInAllFour) {
  Wrapper w("vorq_wrap_paste.txt");
  const TFastDIB start = w.Snapshot();
  w.ui.Clipboard = test::Uniform(5, 4, kRed);
  w.ed.PasteAsSelectionAt(W - 2, H - 1);  // 2 columns and 1 row on the image, the rest beyond the corner
  const TFastDIB& s = w.ed.WorkSurface;
  EXPECT_EQ(test::Count(s, kRed), 20);
  for (auto [x, y] : {std::pair{W - 2, H - 1}, {W - 1, H - 1}, {0, H - 1}, {2, H - 1}, {W - 2, 0}, {2, 2}})
    EXPECT_EQ(s.GetPixel(y, x), kRed) << x << "," << y;
  const std::vector<std::string> lines = w.CloseLogLines();
  EXPECT_EQ(lines, std::vector<std::string>{"Paste As Selection at Left 35, Top 22, Wrap"});
  test::EditorFixture<> r;
  CopySurface(w.ui.Clipboard, r.ui.Clipboard);
  EXPECT_TRUE(test::SamePixels(Replayed(r, start, lines).WorkSurface, s));
}

TEST(WrapPainting, SelectionOverTheEdgeTakesTheOppositeSide) {
  Wrapper w("vorq_wrap_select.txt");
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) w.ed.WorkSurface.SetPixel(y, x, MakePixel(uint8_t(x), uint8_t(y), 7));
  w.tools.SelectTool(PaintTool::Select);
  w.tools.MouseDown(w.ed, W - 3, -2, MouseButton::Left);  // 3 columns on the image, 2 beyond the right edge
  w.tools.MouseUp(w.ed, W + 2, 4, MouseButton::Left);     // rows -2 and -1 come from the bottom
  ASSERT_TRUE(w.tools.SelectionChosen(w.ed, SelectionAction::CopyToBuffer).BufferChanged && w.ed.BufferFilled);
  const TFastDIB& b = w.ed.BufferSurface;
  ASSERT_EQ(std::pair(b.Width(), b.Height()), std::pair(5, 6));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 5; ++x)
      ASSERT_EQ(b.GetPixel(y, x), MakePixel(uint8_t((W - 3 + x) % W), uint8_t((H - 2 + y) % H), 7)) << x << "," << y;
  const std::vector<std::string> lines = w.CloseLogLines();
  EXPECT_EQ(lines, std::vector<std::string>{"Select Area From Left 34 Top -2, Right 39 Bottom 4, Copy to Buffer, Wrap"});
  test::EditorFixture<> r;
  EXPECT_TRUE(test::SamePixels(Replayed(r, w.ed.WorkSurface, lines).BufferSurface, b));
  w.tools.MouseDown(w.ed, -3, -2, MouseButton::Left);  // more than a tile each way: one tile
  w.tools.MouseUp(w.ed, W + 4, H + 6, MouseButton::Left);
  ASSERT_TRUE(w.tools.SelectionChosen(w.ed, SelectionAction::CopyToBuffer).Done);
  EXPECT_EQ(std::pair(b.Width(), b.Height()), std::pair(W, H));
}
