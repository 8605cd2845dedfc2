#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <utility>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/commands/painting.h"
#include "editor/replay.h"
#include "editor/scripted_ui.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {

const TPixel24 kWhite{255, 255, 255}, kBlack{0, 0, 0};
constexpr auto L = MouseButton::Left;

struct Painter {
  ScriptedUi ui;
  Editor ed{ui};
  PaintTools tools;
  std::string logPath;

  explicit Painter(TPixel24 fill = kWhite) { Fill(fill); }
  void Fill(TPixel24 c) { ed.WorkSurface = test::Uniform(256, 256, c); }
  void StartLog(const std::string& name) {
    logPath = ::testing::TempDir() + name;
    ASSERT_TRUE(ed.Log.Open(logPath, false));
  }
  std::vector<std::string> LogLines() {
    ed.Log.Close();
    return test::ReadLines(logPath);
  }
  // Press, moves, release with the left button.
  GestureResult Drag(std::vector<std::pair<int, int>> path) {
    tools.MouseDown(ed, path.front().first, path.front().second, L);
    for (size_t i = 1; i + 1 < path.size(); ++i) tools.MouseMove(ed, path[i].first, path[i].second);
    tools.MouseMove(ed, path.back().first, path.back().second);
    return tools.MouseUp(ed, path.back().first, path.back().second, L);
  }
  int Count(TPixel24 c) const { return test::Count(ed.WorkSurface, c); }
  TPixel24 At(int x, int y) const { return ed.WorkSurface.GetPixel(y, x); }
};

bool SameSurface(const TFastDIB& a, const TFastDIB& b) { return test::Same(a, b); }

}  // namespace

TEST(Painting, FreeHandXorOverWhiteDrawsTheInversePen) {
  Painter p;
  p.StartLog("vorq_paint_freehand.txt");
  p.tools.SelectTool(PaintTool::FreeHand);
  p.tools.SetPenStyle(p.ed, 11);  // XORPen
  p.ed.ToolBox.PenColor = 0x00563412;  // R 0x12, G 0x34, B 0x56
  // Segments that cross and double back, drawn with the default 2-pixel pen;
  // the same gesture in Normal with a black pen marks what must be covered.
  Painter normal;
  normal.tools.SelectTool(PaintTool::FreeHand);
  const std::vector<std::pair<int, int>> path{{10, 10}, {40, 10}, {40, 30}, {12, 12}, {40, 11}};
  GestureResult down = p.tools.MouseDown(p.ed, 10, 10, L);
  normal.tools.MouseDown(normal.ed, 10, 10, L);
  EXPECT_EQ(down.Band, RubberBand::None);
  EXPECT_EQ(p.ed.Undo.Count(), 1);
  for (size_t i = 1; i < path.size(); ++i) {
    const GestureResult r = p.tools.MouseMove(p.ed, path[i].first, path[i].second);
    EXPECT_FALSE(r.Changed.Empty());
    normal.tools.MouseMove(normal.ed, path[i].first, path[i].second);
  }
  p.tools.MouseUp(p.ed, 40, 11, L);
  normal.tools.MouseUp(normal.ed, 40, 11, L);
  const TPixel24 inverse = MakePixel(0xED, 0xCB, 0xA9);
  EXPECT_GT(p.Count(inverse), 100);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      ASSERT_EQ(p.At(x, y), normal.At(x, y) == kBlack ? inverse : kWhite) << "each pixel inverted exactly once";
  EXPECT_EQ(p.ed.Undo.Count(), 1) << "one snapshot per gesture";
  EXPECT_EQ(p.LogLines(), std::vector<std::string>{"FreeHand Drawing, Pen Size 2, Pen Color R: 18 G: 52 B: 86"});
  p.ed.bUndoClick();
  EXPECT_EQ(p.Count(kWhite), 256 * 256);
}

TEST(Painting, LineHonoursThePenModeAndShapesDoNot) {
  Painter p(MakePixel(0x80, 0x80, 0x80));
  p.StartLog("vorq_paint_line.txt");
  p.ed.ToolBox.PenColor = 0x0000FF;  // red
  p.ed.ToolBox.PenSize = "1";
  p.tools.SetPenStyle(p.ed, 11);
  p.tools.SelectTool(PaintTool::Line);
  p.tools.MouseDown(p.ed, 5, 6, L);
  const GestureResult band = p.tools.MouseMove(p.ed, 30, 6);
  EXPECT_EQ(band.Band, RubberBand::Line);
  EXPECT_EQ((std::array{band.BandX0, band.BandY0, band.BandX1, band.BandY1}), (std::array{5, 6, 30, 6}));
  EXPECT_EQ(p.Count(MakePixel(0x80, 0x80, 0x80)), 256 * 256) << "the band is never drawn into the image";
  const GestureResult up = p.tools.MouseUp(p.ed, 40, 6, L);
  EXPECT_EQ(up.Band, RubberBand::None);
  EXPECT_EQ(up.Changed, (PixelRect{5, 6, 40, 7}));
  EXPECT_EQ(p.At(5, 6), MakePixel(0x7F, 0x80, 0x80));
  EXPECT_EQ(p.At(39, 6), MakePixel(0x7F, 0x80, 0x80));
  EXPECT_EQ(p.At(40, 6), MakePixel(0x80, 0x80, 0x80)) << "end point excluded";

  // The ellipse in the same state is drawn in Normal: the outline is red.
  p.tools.SelectTool(PaintTool::Ellipse);
  p.tools.State.FillShape = false;
  p.Drag({{10, 50}, {30, 60}, {50, 70}});
  EXPECT_EQ(p.At(30, 50), MakePixel(255, 0, 0));
  EXPECT_EQ(p.At(30, 60), MakePixel(0x80, 0x80, 0x80)) << "not filled";
  EXPECT_EQ(p.LogLines(), (std::vector<std::string>{
                              "Line from X 5 Y 6 To X 40 Y 6, Pen Size 1, Pen Color R: 255 G: 0 B: 0, Pen XORPen",
                              "Ellipse from X 10 Y 50, To X 50 Y 70, Pen Size 1, Pen Color R: 255 G: 0 B: 0, Brush "
                              "Color R: 255 G: 255 B: 255, Not Filled"}));
}

TEST(Painting, FilledEllipseAndRectangle) {
  Painter p(kBlack);
  p.StartLog("vorq_paint_shapes.txt");
  p.ed.ToolBox.PenColor = 0x030201;
  p.ed.ToolBox.BrushColor = 0x00C864;  // R 100, G 200, B 0
  const TPixel24 pen = MakePixel(1, 2, 3), brush = MakePixel(100, 200, 0);
  p.tools.SelectTool(PaintTool::Ellipse);
  const GestureResult r = p.Drag({{10, 10}, {25, 15}, {50, 30}});
  EXPECT_EQ(r.Changed, (PixelRect{10, 10, 50, 30}));
  EXPECT_EQ(p.At(30, 20), brush);
  EXPECT_EQ(p.At(10, 19), pen);
  EXPECT_EQ(p.At(11, 19), pen);
  EXPECT_EQ(p.At(12, 19), brush);
  EXPECT_EQ(p.Count(pen) + p.Count(brush) + p.Count(kBlack), 256 * 256) << "no trace of the band";

  p.tools.SelectTool(PaintTool::Rectangle);
  p.Drag({{60, 40}, {20, 10}});
  EXPECT_EQ(p.LogLines()[1],
            "Rectangle from X 60 Y 40, To X 20 Y 10, Pen Size 2, Pen Color R: 1 G: 2 B: 3, Brush Color R: 100 G: 200 "
            "B: 0, Filled");
}

TEST(Painting, ButtonsAndPenSizeBox) {
  Painter p;
  p.tools.SelectTool(PaintTool::Ellipse);
  // Right button: nothing at all.
  p.tools.MouseDown(p.ed, 5, 5, MouseButton::Right);
  EXPECT_TRUE(p.ed.Undo.Empty());
  // Middle button: the snapshot, but no drag, and its release draws nothing.
  p.tools.MouseDown(p.ed, 5, 5, MouseButton::Middle);
  EXPECT_FALSE(p.tools.State.Dragging);
  EXPECT_EQ(p.tools.MouseMove(p.ed, 40, 40).Band, RubberBand::None);
  p.tools.MouseUp(p.ed, 40, 40, MouseButton::Middle);
  EXPECT_EQ(p.Count(kWhite), 256 * 256);
  EXPECT_EQ(p.ed.Undo.Count(), 1);

  // A pen size that is not a number refuses the press with a message.
  p.ed.ToolBox.PenSize = "2x";
  const GestureResult r = p.tools.MouseDown(p.ed, 5, 5, L);
  EXPECT_TRUE(r.Refused);
  EXPECT_EQ(p.ui.Messages.back(), "'2x' is not a valid integer value");
  EXPECT_FALSE(p.tools.State.Dragging);
  p.tools.MouseUp(p.ed, 40, 40, L);
  EXPECT_EQ(p.Count(kWhite), 256 * 256);

  // A huge size is clamped and the drawing stays inside the image.
  p.ed.ToolBox.PenColor = 0;
  p.tools.SelectTool(PaintTool::Line);
  p.ed.ToolBox.PenSize = "100000";
  p.Drag({{-500, 128}, {900, 128}});
  EXPECT_EQ(p.Count(kBlack), 256 * 256);
  // The select tool has no use for the pen size.
  p.ed.ToolBox.PenSize = "abc";
  p.tools.SelectTool(PaintTool::Select);
  EXPECT_FALSE(p.tools.MouseDown(p.ed, 1, 1, L).Refused);
}

TEST(Painting, SelectionActions) {
  Painter p;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) p.ed.WorkSurface.SetPixel(y, x, MakePixel(uint8_t(x), uint8_t(y), 7));
  TFastDIB original;
  CopySurface(p.ed.WorkSurface, original);
  p.StartLog("vorq_paint_select.txt");
  p.tools.SelectTool(PaintTool::Select);
  auto select = [&](int x0, int y0, int x1, int y1, SelectionAction a) {
    const GestureResult up = p.Drag({{x0, y0}, {x1, y1}});
    EXPECT_TRUE(up.AskSelectionAction);
    return p.tools.SelectionChosen(p.ed, a);
  };

  // The status bar follows the drag; the band stays up during the dialog.
  p.tools.MouseDown(p.ed, 40, 30, L);
  EXPECT_EQ(p.tools.MouseMove(p.ed, 10, 12).Band, RubberBand::Selection);
  EXPECT_EQ(p.ed.Status[kPanelY], "Y: 12");
  EXPECT_EQ(p.ed.Status[kPanelEffect], "Width: 30  Height: 18");
  const GestureResult up = p.tools.MouseUp(p.ed, 10, 10, L);
  EXPECT_TRUE(up.AskSelectionAction);
  EXPECT_EQ(up.Band, RubberBand::Selection);
  // Cancel and an empty selection change nothing and write nothing.
  EXPECT_FALSE(p.tools.SelectionChosen(p.ed, SelectionAction::Cancel).Done);
  EXPECT_EQ(p.ed.Status[kPanelEffect], "Idle...");
  EXPECT_EQ(p.tools.MouseMove(p.ed, 0, 0).Band, RubberBand::None);
  EXPECT_FALSE(select(5, 5, 5, 40, SelectionAction::CropToSelection).Done);
  EXPECT_FALSE(select(300, 300, 400, 400, SelectionAction::CropToSelection).Done);
  EXPECT_TRUE(SameSurface(p.ed.WorkSurface, original));
  EXPECT_EQ(p.ed.Undo.Count(), 3);

  // Clipboard: the pixels come back for the view, the image stays.
  SelectionResult clip = select(40, 30, 10, 10, SelectionAction::CopyToClipboard);
  ASSERT_TRUE(clip.Done);
  EXPECT_EQ(clip.Clipboard.Width(), 30);
  EXPECT_EQ(clip.Clipboard.Height(), 20);
  EXPECT_EQ(clip.Clipboard.GetPixel(19, 29), MakePixel(39, 29, 7));
  EXPECT_TRUE(SameSurface(p.ed.WorkSurface, original));

  // Buffer.
  SelectionResult buf = select(100, 0, 110, 4, SelectionAction::CopyToBuffer);
  EXPECT_TRUE(buf.BufferChanged);
  EXPECT_EQ(p.ed.BufferSurface.Width(), 10);
  EXPECT_EQ(p.ed.BufferSurface.GetPixel(3, 9), MakePixel(109, 3, 7));

  // Crop, dragged leftwards and upwards, partly outside the image.
  SelectionResult crop = select(20, 15, -10, -10, SelectionAction::CropToSelection);
  EXPECT_TRUE(crop.ImageChanged);
  EXPECT_EQ(p.ed.WorkSurface.Width(), 20);
  EXPECT_EQ(p.ed.WorkSurface.Height(), 15);
  EXPECT_EQ(p.At(19, 14), MakePixel(19, 14, 7));
  EXPECT_EQ(p.ed.Status[kPanelWidth], "Width: 20");
  // Down to a single pixel.
  select(3, 4, 4, 5, SelectionAction::CropToSelection);
  EXPECT_EQ(p.ed.WorkSurface.Width(), 1);
  EXPECT_EQ(p.ed.WorkSurface.Height(), 1);
  EXPECT_EQ(p.At(0, 0), MakePixel(3, 4, 7));
  // Undo restores the image before each crop.
  p.ed.bUndoClick();
  EXPECT_EQ(p.ed.WorkSurface.Width(), 20);
  p.ed.bUndoClick();
  EXPECT_TRUE(SameSurface(p.ed.WorkSurface, original));

  EXPECT_EQ(p.LogLines(), (std::vector<std::string>{
                              "Select Area From Left 40 Top 30, Right 10 Bottom 10, Copy to Clipboard",
                              "Select Area From Left 100 Top 0, Right 110 Bottom 4, Copy to Buffer",
                              "Select Area From Left 20 Top 15, Right -10 Bottom -10, Crop to Selection",
                              "Select Area From Left 3 Top 4, Right 4 Bottom 5, Crop to Selection", "UnDo", "UnDo"}));
}

TEST(Painting, EyedropperAndFloodFill) {
  Painter p(kBlack);
  p.StartLog("vorq_paint_pick.txt");
  p.ed.WorkSurface.SetPixel(4, 3, MakePixel(12, 34, 56));
  p.tools.SelectTool(PaintTool::Eyedropper);
  const GestureResult pick = p.tools.MouseDown(p.ed, 3, 4, MouseButton::Middle);
  EXPECT_TRUE(pick.PenColorChanged);
  EXPECT_EQ(p.ed.ToolBox.PenColor, 12u | (34u << 8) | (56u << 16));
  EXPECT_EQ(p.ed.Undo.Count(), 1) << "the eyedropper takes a snapshot too";
  EXPECT_FALSE(p.tools.MouseDown(p.ed, -1, 4, L).PenColorChanged);

  p.tools.SelectTool(PaintTool::Fill);
  p.ed.ToolBox.BrushColor = 0xFFFFFF;
  const GestureResult fill = p.tools.MouseDown(p.ed, 0, 0, L);
  p.tools.MouseUp(p.ed, 0, 0, L);
  EXPECT_EQ(fill.Changed, (PixelRect{0, 0, 256, 256}));
  EXPECT_EQ(p.Count(kWhite), 256 * 256 - 1) << "4-connected area of black around the picked pixel";
  EXPECT_EQ(p.LogLines(),
            (std::vector<std::string>{"Eyedropper at location X 3 Y 4",
                                      "FloodFill at location X 0 Y 0, Brush Color R: 255 G: 255 B: 255"}));
}

TEST(PaintingReplay, LoggedGesturesReplayToTheSamePixels) {
  Painter a(MakePixel(90, 120, 150));
  a.StartLog("vorq_paint_replay.txt");
  a.ed.ToolBox.PenColor = 0x00336699;
  a.tools.SetPenStyle(a.ed, 10);  // NotXORPen
  a.tools.SelectTool(PaintTool::Line);
  a.Drag({{3, 200}, {250, 17}});
  a.ed.ToolBox.PenSize = "5";
  a.tools.SelectTool(PaintTool::Ellipse);
  a.tools.State.FillShape = false;
  a.Drag({{100, 100}, {20, 160}});
  a.tools.SelectTool(PaintTool::Rectangle);
  a.tools.State.FillShape = true;
  a.ed.ToolBox.BrushColor = 0x0000FF00;
  a.Drag({{140, 30}, {230, 90}});
  a.tools.SelectTool(PaintTool::Fill);
  a.ed.ToolBox.BrushColor = 0x00102030;
  a.tools.MouseDown(a.ed, 0, 255, L);
  a.tools.SelectTool(PaintTool::FreeHand);
  a.Drag({{50, 50}, {60, 70}});
  a.tools.SelectTool(PaintTool::Eyedropper);
  a.tools.MouseDown(a.ed, 150, 50, L);
  a.tools.SelectTool(PaintTool::Select);
  a.Drag({{200, 10}, {120, 80}});
  a.tools.SelectionChosen(a.ed, SelectionAction::CopyToBuffer);
  a.Drag({{10, 20}, {30, 30}});
  a.tools.SelectionChosen(a.ed, SelectionAction::CopyToClipboard);
  a.Drag({{5, 5}, {205, 180}});
  a.tools.SelectionChosen(a.ed, SelectionAction::CropToSelection);
  const std::vector<std::string> lines = a.LogLines();
  ASSERT_EQ(lines.size(), 9u);

  // Replaying the log (with the second half of the free-hand stroke gone,
  // since the log has no path) gives the same image, buffer and pen colour.
  Painter b(MakePixel(90, 120, 150));
  b.ed.ToolBox.PenColor = 0;
  for (const std::string& line : lines) {
    const ReplayOutcome out = ReplayLine(b.ed, line + "\r");
    const bool skipped = line.rfind("FreeHand", 0) == 0;
    EXPECT_EQ(out.Status, skipped ? ReplayStatus::Skipped : ReplayStatus::Done) << line << ": " << out.Message;
    EXPECT_EQ(out.Message.empty(), !skipped) << "a skipped line says why";
  }
  EXPECT_EQ(b.ed.Undo.Count(), a.ed.Undo.Count()) << "every line takes its gesture's snapshot";
  EXPECT_EQ(b.ed.ToolBox.PenColor, a.ed.ToolBox.PenColor);
  EXPECT_TRUE(SameSurface(b.ed.BufferSurface, a.ed.BufferSurface));
  // The free-hand stroke (50,50)-(60,70) with its 5-pixel pen is the only
  // difference: 48..62 x 48..71 before the crop at (5, 5).
  ASSERT_EQ(b.ed.WorkSurface.Width(), 200);
  ASSERT_EQ(b.ed.WorkSurface.Height(), 175);
  int differ = 0;
  for (int y = 0; y < 175; ++y)
    for (int x = 0; x < 200; ++x)
      if (!(a.At(x, y) == b.At(x, y))) {
        ++differ;
        EXPECT_TRUE(x >= 43 && x <= 57 && y >= 43 && y <= 66) << x << "," << y;
      }
  EXPECT_GT(differ, 0);
}

TEST(PaintingReplay, RefusalsChangeNothing) {
  Painter p;
  ReplayOutcome out =
      ReplayLine(p.ed, "Line from X 1 Y 2 To X 3 Y 4, Pen Size two, Pen Color R: 0 G: 0 B: 0, Pen XORPen");
  EXPECT_EQ(out.Status, ReplayStatus::Error);
  EXPECT_EQ(out.Message, "'two' is not a valid integer value");
  EXPECT_TRUE(p.ed.Undo.Empty()) << "a refused line changes nothing";
  EXPECT_EQ(p.Count(kWhite), 256 * 256);

  // An empty selection is skipped with a warning.
  out = ReplayLine(p.ed, "Select Area From Left 7 Top 2, Right 7 Bottom 40, Crop to Selection");
  EXPECT_EQ(out.Status, ReplayStatus::Skipped);
  EXPECT_EQ(p.ed.WorkSurface.Width(), 256);
}
