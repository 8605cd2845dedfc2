#include <array>
#include <utility>

#include "editor/commands/painting.h"
#include "editor/replay.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {

const TPixel24 kWhite{255, 255, 255}, kBlack{0, 0, 0};
constexpr auto L = MouseButton::Left;

struct Painter : test::EditorFixture<> {
  PaintTools tools;

  explicit Painter(TPixel24 fill = kWhite) { ed.WorkSurface = test::Uniform(256, 256, fill); }
  // Press, moves, release with the left button.
  GestureResult Drag(std::vector<std::pair<int, int>> path) {
    tools.MouseDown(ed, path.front().first, path.front().second, L);
    for (size_t i = 1; i < path.size(); ++i) tools.MouseMove(ed, path[i].first, path[i].second);
    return tools.MouseUp(ed, path.back().first, path.back().second, L);
  }
  void PaintRamp() {
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) ed.WorkSurface.SetPixel(y, x, MakePixel(uint8_t(x), uint8_t(y), 7));
  }
  int Count(TPixel24 c) const { return test::Count(ed.WorkSurface, c); }
  TPixel24 At(int x, int y) const { return ed.WorkSurface.GetPixel(y, x); }
};

}  // namespace

TEST(Painting, FreeHandXorOverWhiteDrawsTheInversePen) {
  // Segments that cross and double back, drawn with the default 2-pixel pen;
  // the same gesture in Normal with a black pen marks what must be covered.
  Painter p, normal;
  p.OpenLog("vorq_paint_freehand.txt");
  p.tools.SetPenStyle(p.ed, 11);  // XORPen
  p.ed.ToolBox.PenColor = 0x00563412;  // R 0x12, G 0x34, B 0x56
  for (Painter* q : {&p, &normal}) {
    q->tools.SelectTool(PaintTool::FreeHand);
    q->Drag({{10, 10}, {40, 10}, {40, 30}, {12, 12}, {40, 11}});
  }
  const TPixel24 inverse = MakePixel(0xED, 0xCB, 0xA9);
  EXPECT_GT(normal.Count(kBlack), 100);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      ASSERT_EQ(p.At(x, y), normal.At(x, y) == kBlack ? inverse : kWhite) << "each pixel inverted exactly once";
  EXPECT_EQ(p.ed.Undo.Count(), 1) << "one snapshot per gesture";
  EXPECT_EQ(p.CloseLogLines(), std::vector<std::string>{"FreeHand Drawing, Pen Size 2, Pen Color R: 18 G: 52 B: 86"});
}

TEST(Painting, LineHonoursThePenModeAndShapesDoNot) {
  const TPixel24 grey = MakePixel(0x80, 0x80, 0x80), red = MakePixel(255, 0, 0), brush = MakePixel(100, 200, 0);
  Painter p(grey);
  p.OpenLog("vorq_paint_line.txt");
  p.ed.ToolBox.PenColor = 0x0000FF;  // red
  p.ed.ToolBox.BrushColor = 0x00C864;
  p.ed.ToolBox.PenSize = "1";
  p.tools.SetPenStyle(p.ed, 11);
  p.tools.SelectTool(PaintTool::Line);
  p.tools.MouseDown(p.ed, 5, 6, L);
  const GestureResult band = p.tools.MouseMove(p.ed, 30, 6);
  EXPECT_EQ(band.Band, RubberBand::Line);
  EXPECT_EQ((std::array{band.BandX0, band.BandY0, band.BandX1, band.BandY1}), (std::array{5, 6, 30, 6}));
  const GestureResult up = p.tools.MouseUp(p.ed, 40, 6, L);
  EXPECT_EQ(up.Changed, (PixelRect{5, 6, 40, 7}));
  const TPixel24 xored = MakePixel(0x7F, 0x80, 0x80);
  EXPECT_EQ(std::tuple(p.At(5, 6), p.At(39, 6), p.At(40, 6)), std::tuple(xored, xored, grey)) << "end point excluded";

  // Ellipse and rectangle in the same state are drawn in Normal: red outlines.
  p.tools.SelectTool(PaintTool::Ellipse);
  EXPECT_EQ(p.Drag({{10, 50}, {30, 60}, {50, 70}}).Changed, (PixelRect{10, 50, 50, 70}));
  EXPECT_EQ(std::pair(p.At(30, 50), p.At(30, 60)), std::pair(red, brush));
  p.tools.SelectTool(PaintTool::Rectangle);
  p.tools.State.FillShape = false;
  p.Drag({{60, 40}, {20, 10}});
  EXPECT_EQ(std::pair(p.At(20, 25), p.At(40, 25)), std::pair(red, grey)) << "not filled";
  EXPECT_EQ(p.Count(grey) + p.Count(red) + p.Count(brush), 256 * 256 - 35) << "no trace of the bands";
  EXPECT_EQ(p.CloseLogLines(),
            (std::vector<std::string>{
                "Line from X 5 Y 6 To X 40 Y 6, Pen Size 1, Pen Color R: 255 G: 0 B: 0, Pen XORPen",
                "Ellipse from X 10 Y 50, To X 50 Y 70, Pen Size 1, Pen Color R: 255 G: 0 B: 0, Brush Color R: 100 G: "
                "200 B: 0, Filled",
                "Rectangle from X 60 Y 40, To X 20 Y 10, Pen Size 1, Pen Color R: 255 G: 0 B: 0, Brush Color R: 100 "
                "G: 200 B: 0, Not Filled"}));
}

TEST(Painting, ButtonsAndPenSizeBox) {
  Painter p;
  p.tools.SelectTool(PaintTool::Ellipse);
  // Right button: nothing at all.
  p.tools.MouseDown(p.ed, 5, 5, MouseButton::Right);
  EXPECT_TRUE(p.ed.Undo.Empty());
  // Middle button: the snapshot, but no drag, and its release draws nothing.
  p.tools.MouseDown(p.ed, 5, 5, MouseButton::Middle);
  EXPECT_EQ(p.tools.MouseMove(p.ed, 40, 40).Band, RubberBand::None);
  p.tools.MouseUp(p.ed, 40, 40, MouseButton::Middle);
  EXPECT_EQ(p.ed.Undo.Count(), 1);

  p.tools.SelectTool(PaintTool::Text);  // the text tool starts on the press
  EXPECT_TRUE(p.tools.MouseDown(p.ed, 5, 5, L).RunTextTool);
  p.tools.SelectTool(PaintTool::Rectangle);
  EXPECT_EQ(p.tools.MouseDown(p.ed, 5, 5, L).Band, RubberBand::Rectangle);
  p.tools.MouseUp(p.ed, 40, 40, MouseButton::Right);  // a right release ends no drag
  EXPECT_TRUE(p.tools.State.Dragging && p.Count(kWhite) == 256 * 256);
  p.tools.SetPenStyle(p.ed, 11);
  p.tools.SetPenStyle(p.ed, 12);  // twelve pen modes: beyond them Normal
  EXPECT_EQ(p.ed.PenStyle, 0);

  // A pen size that is not a number refuses the press with a message.
  p.ed.ToolBox.PenSize = "2x";
  EXPECT_TRUE(p.tools.MouseDown(p.ed, 5, 5, L).Refused);
  EXPECT_EQ(p.ui.Messages.back(), "'2x' is not a valid integer value");
  p.tools.MouseUp(p.ed, 40, 40, L);
  EXPECT_EQ(p.Count(kWhite), 256 * 256) << "no drag began, so the release draws nothing";

  // The select tool has no use for the pen size.
  p.ed.ToolBox.PenSize = "abc";
  p.tools.SelectTool(PaintTool::Select);
  EXPECT_FALSE(p.tools.MouseDown(p.ed, 1, 1, L).Refused);
}

TEST(Painting, SelectionActions) {
  Painter p;
  p.PaintRamp();
  const TFastDIB original = p.Snapshot();
  p.OpenLog("vorq_paint_select.txt");
  p.tools.SelectTool(PaintTool::Select);
  auto select = [&](int x0, int y0, int x1, int y1, SelectionAction a) {
    EXPECT_TRUE(p.Drag({{x0, y0}, {x1, y1}}).AskSelectionAction);
    return p.tools.SelectionChosen(p.ed, a);
  };

  // The status bar follows the drag; the band stays up during the dialog.
  p.tools.MouseDown(p.ed, 40, 30, L);
  EXPECT_EQ(p.tools.MouseMove(p.ed, 10, 12).Band, RubberBand::Selection);
  EXPECT_EQ(p.ed.Status[kPanelX] + " " + p.ed.Status[kPanelY], "X: 10 Y: 12");
  EXPECT_EQ(p.ed.Status[kPanelEffect], "Width: 30  Height: 18");
  EXPECT_EQ(p.tools.MouseUp(p.ed, 10, 10, L).Band, RubberBand::Selection);
  // Cancel and an empty selection change nothing and write nothing.
  EXPECT_FALSE(p.tools.SelectionChosen(p.ed, SelectionAction::Cancel).Done);
  EXPECT_EQ(p.ed.Status[kPanelEffect], "Idle...");
  EXPECT_EQ(p.tools.MouseMove(p.ed, 0, 0).Band, RubberBand::None);
  EXPECT_FALSE(select(5, 5, 5, 40, SelectionAction::CropToSelection).Done);
  EXPECT_FALSE(select(300, 300, 400, 400, SelectionAction::CropToSelection).Done);
  EXPECT_EQ(p.ed.Undo.Count(), 3);

  // Clipboard: the pixels come back for the view, the image stays.
  SelectionResult clip = select(40, 30, 10, 10, SelectionAction::CopyToClipboard);
  EXPECT_EQ(clip.Clipboard.GetPixel(19, 29), MakePixel(39, 29, 7));
  EXPECT_TRUE(p.Unchanged(original));

  // Crop, dragged leftwards and upwards, partly outside the image.
  EXPECT_TRUE(select(20, 15, -10, -10, SelectionAction::CropToSelection).ImageChanged);
  EXPECT_EQ(p.ed.WorkSurface.Height(), 15);

  EXPECT_EQ(p.CloseLogLines(), (std::vector<std::string>{
                                   "Select Area From Left 40 Top 30, Right 10 Bottom 10, Copy to Clipboard",
                                   "Select Area From Left 20 Top 15, Right -10 Bottom -10, Crop to Selection"}));
}

TEST(Painting, EyedropperAndFloodFill) {
  Painter p(kBlack);
  p.OpenLog("vorq_paint_pick.txt");
  p.ed.WorkSurface.SetPixel(4, 3, MakePixel(12, 34, 56));
  p.tools.SelectTool(PaintTool::Eyedropper);
  EXPECT_TRUE(p.tools.MouseDown(p.ed, 3, 4, MouseButton::Middle).PenColorChanged);
  EXPECT_EQ(p.ed.ToolBox.PenColor, 12u | (34u << 8) | (56u << 16));
  EXPECT_EQ(p.ed.Undo.Count(), 1) << "the eyedropper takes a snapshot too";
  EXPECT_FALSE(p.tools.MouseDown(p.ed, -1, 4, L).PenColorChanged);

  p.tools.SelectTool(PaintTool::Fill);
  p.ed.ToolBox.BrushColor = 0xFFFFFF;
  EXPECT_EQ(p.tools.MouseDown(p.ed, 0, 0, L).Changed, (PixelRect{0, 0, 256, 256}));
  p.tools.MouseUp(p.ed, 0, 0, L);
  EXPECT_EQ(p.Count(kWhite), 256 * 256 - 1) << "4-connected area of black around the picked pixel";
  for (int tolerance : {1, 300}) {  // a tolerance from 1 up is written, at most 255
    p.ed.ToolBox.FillTolerance = tolerance;
    p.tools.MouseDown(p.ed, 5, 7, L);
  }
  const std::string white = "FloodFill at location X 5 Y 7, Brush Color R: 255 G: 255 B: 255, Tolerance ";
  EXPECT_EQ(p.CloseLogLines(),
            (std::vector<std::string>{"Eyedropper at location X 3 Y 4",
                                      "FloodFill at location X 0 Y 0, Brush Color R: 255 G: 255 B: 255",
                                      white + "1", white + "255"}));
}

TEST(PaintingReplay, SelectionLinesAndRefusals) {
  Painter p;
  p.PaintRamp();
  for (const char* line : {"Select Area From Left 200 Top 10, Right 120 Bottom 80, Copy to Buffer",
                           "Select Area From Left 5 Top 6, Right 300 Bottom 180, Crop to Selection"})
    EXPECT_EQ(ReplayLine(p.ed, line).Status, ReplayStatus::Done) << line;
  // The log has no path: skipped, saying why, after its gesture's snapshot.
  const ReplayOutcome free = ReplayLine(p.ed, "FreeHand Drawing, Pen Size 5, Pen Color R: 0 G: 128 B: 0");
  EXPECT_EQ(free.Status, ReplayStatus::Skipped);
  EXPECT_EQ(p.ed.ToolBox.PenColor, 0x008000u);  // its pen is still chosen, for the lines after it
  EXPECT_FALSE(free.Message.empty());
  EXPECT_EQ(p.ed.BufferSurface.GetPixel(0, 0), MakePixel(120, 10, 7));
  EXPECT_EQ(std::pair(p.ed.WorkSurface.Width(), p.ed.WorkSurface.Height()), std::pair(251, 174));  // clipped at the right
  EXPECT_EQ(p.At(0, 0), MakePixel(5, 6, 7));
  EXPECT_EQ(p.ed.Undo.Count(), 3);

  // A refused line changes nothing; an empty selection is skipped.
  const TFastDIB before = p.Snapshot();
  const ReplayOutcome out =
      ReplayLine(p.ed, "Line from X 1 Y 2 To X 3 Y 4, Pen Size two, Pen Color R: 0 G: 0 B: 0, Pen XORPen");
  EXPECT_EQ(out.Status, ReplayStatus::Error);
  EXPECT_EQ(out.Message, "'two' is not a valid integer value");
  EXPECT_EQ(p.ed.Undo.Count(), 3);
  EXPECT_EQ(ReplayLine(p.ed, "Select Area From Left 7 Top 2, Right 7 Bottom 40, Crop to Selection").Status,
            ReplayStatus::Skipped);
  EXPECT_TRUE(p.Unchanged(before));
  ASSERT_EQ(ReplayLine(p.ed, "Select Area From Left 0 Top 150, Right 2 Bottom 400, Copy to Buffer").Status,
            ReplayStatus::Done);
  EXPECT_EQ(p.ed.BufferSurface.Height(), 24);  // clipped at the bottom edge
  for (const char* line : {"Line from X 1 Y 2 To X 3 Y 4, Pen Size 1, Pen Color R: 0 G: 0 B: 0, Pen XORPen",
                           "Select Area From Left 0 Top 0, Right 2 Bottom 3, Copy to Clipboard"})
    ASSERT_EQ(ReplayLine(p.ed, line).Status, ReplayStatus::Done) << line;
  EXPECT_EQ(p.ed.PenStyle, 11);  // the pen mode the line names
  EXPECT_FALSE(p.ui.Clipboard.Empty());
}
