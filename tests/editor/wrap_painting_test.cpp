// Options > Wrap Painting: shapes, lines and flood fill land where the
// coordinates taken modulo the image's size say, and their lines replay so.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/raster/pen.h"
#include "core/raster/shapes.h"
#include "editor/commands/painting.h"
#include "editor/editor.h"
#include "editor/replay.h"
#include "editor/scripted_ui.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {

const TPixel24 kWhite{255, 255, 255};
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

struct Wrapper {
  ScriptedUi ui;
  Editor ed{ui};
  PaintTools tools;
  std::string logPath;
  Wrapper(const char* log) {
    ed.WorkSurface = test::Uniform(W, H, kWhite);
    ed.WrapPainting = true;
    ed.ToolBox.PenColor = 0x00FF0000;    // blue
    ed.ToolBox.BrushColor = 0x000000FF;  // red
    ed.ToolBox.PenSize = "3";
    logPath = ::testing::TempDir() + log;
    EXPECT_TRUE(ed.Log.Open(logPath, false));
  }
  void Drag(PaintTool tool, int x0, int y0, int x1, int y1) {
    tools.SelectTool(tool);
    tools.MouseDown(ed, x0, y0, MouseButton::Left);
    tools.MouseMove(ed, x1, y1);
    tools.MouseUp(ed, x1, y1, MouseButton::Left);
  }
  std::vector<std::string> Lines() {
    ed.Log.Close();
    return test::ReadLines(logPath);
  }
};

// Replays lines on a fresh white image with the setting off.
TFastDIB Replayed(const std::vector<std::string>& lines) {
  ScriptedUi ui;
  Editor ed{ui};
  ed.WorkSurface = test::Uniform(W, H, kWhite);
  for (const std::string& l : lines) EXPECT_NE(ReplayLine(ed, l).Status, ReplayStatus::Error) << l;
  return std::move(ed.WorkSurface);
}

}  // namespace

TEST(WrapPainting, LineAndFilledEllipseLandModuloTheSize) {
  Wrapper w("vorq_wrap_shapes.txt");
  const Pen pen{MakePixel(0, 0, 255), 3, PenMode::Normal};
  const Brush brush{MakePixel(255, 0, 0), true};
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
  EXPECT_TRUE(test::Same(w.ed.WorkSurface, want));
  for (auto [x, y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}})
    EXPECT_FALSE(w.ed.WorkSurface.GetPixel(y, x) == kWhite) << x << "," << y;
  const std::vector<std::string> lines = w.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Line from X 30 Y 5 To X 50 Y 12, Pen Size 3, Pen Color R: 0 G: 0 B: 255, Pen Normal, Wrap");
  EXPECT_EQ(lines[2],
            "Ellipse from X 30 Y 17, To X 44 Y 29, Pen Size 3, Pen Color R: 0 G: 0 B: 255, Brush Color R: 255 G: 0 "
            "B: 0, Filled, Wrap");
  // The batch tool gives the same pixels with the setting off.
  EXPECT_TRUE(test::Same(Replayed(lines), want));
}

TEST(WrapPainting, FloodFillSpreadsThroughTheEdges) {
  Wrapper w("vorq_wrap_fill.txt");
  // A black cross through the middle splits the tile into four rooms; the
  // wrap joins them back into one area, which the fill must reach entirely.
  TFastDIB& s = w.ed.WorkSurface;
  for (int x = 0; x < W; ++x) s.SetPixel(H / 2, x, MakePixel(0, 0, 0));
  for (int y = 0; y < H; ++y) s.SetPixel(y, W / 2, MakePixel(0, 0, 0));
  w.tools.SelectTool(PaintTool::Fill);
  w.tools.MouseDown(w.ed, 1, 1, MouseButton::Left);
  EXPECT_EQ(test::Count(s, kWhite), 0);
  EXPECT_EQ(test::Count(s, MakePixel(255, 0, 0)), W * H - W - H + 1);
  const std::vector<std::string> lines = w.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "FloodFill at location X 1 Y 1, Brush Color R: 255 G: 0 B: 0, Wrap");
  // Without the wrap only the top left room fills; a plain line never wraps,
  // whatever the replaying editor's setting.
  ScriptedUi ui;
  Editor ed{ui};
  ed.WrapPainting = true;
  ed.ToolBox.FillTolerance = 255;  // nor the tool box's tolerance
  ed.WorkSurface = test::Uniform(W, H, kWhite);
  for (int x = 0; x < W; ++x) ed.WorkSurface.SetPixel(H / 2, x, MakePixel(0, 0, 0));
  for (int y = 0; y < H; ++y) ed.WorkSurface.SetPixel(y, W / 2, MakePixel(0, 0, 0));
  ReplayLine(ed, "FloodFill at location X 1 Y 1, Brush Color R: 255 G: 0 B: 0");
  EXPECT_EQ(test::Count(ed.WorkSurface, MakePixel(255, 0, 0)), (W / 2) * (H / 2));
  EXPECT_TRUE(ed.WrapPainting && ed.ToolBox.FillTolerance == 255);
}

TEST(WrapPainting, PasteAsSelectionOverACornerLandsInAllFour) {
  Wrapper w("vorq_wrap_paste.txt");
  TFastDIB piece = test::Uniform(5, 4, MakePixel(0, 0, 255));
  w.ui.SetClipboardImage(piece);
  w.ed.PasteAsSelectionAt(W - 2, H - 1);  // 2 columns and 1 row on the image, the rest beyond the corner
  TFastDIB& s = w.ed.WorkSurface;
  EXPECT_EQ(test::Count(s, MakePixel(0, 0, 255)), 20);
  for (auto [x, y] : {std::pair{W - 2, H - 1}, {W - 1, H - 1}, {0, H - 1}, {2, H - 1}, {W - 2, 0}, {2, 2}})
    EXPECT_EQ(s.GetPixel(y, x), MakePixel(0, 0, 255)) << x << "," << y;
  EXPECT_EQ(s.GetPixel(3, 3), kWhite);
  EXPECT_EQ(s.GetPixel(H - 2, W - 2), kWhite);
  const std::vector<std::string> lines = w.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Paste As Selection at Left 35, Top 22, Wrap");
  ScriptedUi ui;
  Editor ed{ui};
  ed.WorkSurface = test::Uniform(W, H, kWhite);
  ui.SetClipboardImage(piece);
  ASSERT_EQ(ReplayLine(ed, lines[0]).Status, ReplayStatus::Done);
  EXPECT_TRUE(test::Same(ed.WorkSurface, s));
}

TEST(WrapPainting, SelectionOverTheEdgeTakesTheOppositeSide) {
  Wrapper w("vorq_wrap_select.txt");
  TFastDIB& s = w.ed.WorkSurface;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) s.SetPixel(y, x, MakePixel(uint8_t(x), uint8_t(y), 7));
  w.tools.SelectTool(PaintTool::Select);
  w.tools.MouseDown(w.ed, W - 3, -2, MouseButton::Left);  // 3 columns on the image, 2 beyond the right edge
  w.tools.MouseUp(w.ed, W + 2, 4, MouseButton::Left);     // rows -2 and -1 come from the bottom
  ASSERT_TRUE(w.tools.SelectionChosen(w.ed, SelectionAction::CopyToBuffer).Done);
  const TFastDIB& b = w.ed.BufferSurface;
  ASSERT_EQ(b.Width(), 5);
  ASSERT_EQ(b.Height(), 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 5; ++x)
      ASSERT_EQ(b.GetPixel(y, x), MakePixel(uint8_t((W - 3 + x) % W), uint8_t((H - 2 + y) % H), 7)) << x << "," << y;
  const std::vector<std::string> lines = w.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Select Area From Left 34 Top -2, Right 39 Bottom 4, Copy to Buffer, Wrap");
  ScriptedUi ui;
  Editor ed{ui};
  CopySurface(s, ed.WorkSurface);
  ASSERT_EQ(ReplayLine(ed, lines[0]).Status, ReplayStatus::Done);
  EXPECT_TRUE(test::Same(ed.BufferSurface, b));
}
