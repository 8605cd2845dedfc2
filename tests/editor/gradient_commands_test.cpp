// The Gradient menu, the designers' rules, the pop-up colour fields and the
// mosaic/merge effect rows, through the editor and through replayed lines.
#include <gtest/gtest.h>

#include "core/oplog/log_format.h"
#include "core/raster/pen.h"
#include "editor/commands/gradient.h"
#include "editor/replay.h"
#include "editor_test_util.h"

namespace vorq::test {
namespace {

using Fx = EditorFixture<>;

constexpr uint32_t kNavy = 0x800000, kAqua = 0xFFFF00;

TEST(GradientCommands, StartGradientPastesAsTheResetImage) {
  Fx f(300, 200);
  // The start-up drawing happens while the image is still 256 x 256.
  f.ed.WorkSurface.SetSize(256, 256, 24, 0);
  DrawStartGradient(f.ed);
  EXPECT_EQ(f.ui.GradientChanges, 1);
  EXPECT_TRUE(f.ed.Undo.Empty());
  f.ed.WorkSurface.SetSize(40, 30, 24, 0);
  PasteToImage1Click(f.ed);
  const TFastDIB& w = f.ed.WorkSurface;
  ASSERT_EQ(std::pair(w.Width(), w.Height()), std::pair(256, 256));
  // Navy to aqua from the top and bottom edges to the middle row (the values are pinned in the core tests).
  for (auto [x, y, want] : {std::tuple{77, 0, kNavy}, {0, 128, kAqua}, {255, 128, kAqua}})
    EXPECT_EQ(ColourFromPixel(w.GetPixel(y, x)), want) << x << "," << y;
  EXPECT_FALSE(f.ed.Undo.Empty());
  const TFastDIB pasted = f.Snapshot();
  f.ed.New1Click();
  f.ed.Reset1Click();
  EXPECT_TRUE(f.Unchanged(pasted));
}

TEST(GradientCommands, DesignTakesTheImageSizeAndLogsOnlyOnOk) {
  Fx f(300, 200);
  f.OpenLog("design.txt");
  f.ui.AcceptGradient = false;
  EXPECT_FALSE(Design1Click(f.ed));
  EXPECT_EQ(f.ed.Gradient.Width, "300");  // the fields took the size before the dialog
  f.ui.AcceptGradient = true;
  ASSERT_TRUE(cbStyleChange(f.ed.Gradient, "Horizontal"));
  EXPECT_TRUE(Design1Click(f.ed));
  EXPECT_EQ(f.ui.GradientChanges, 1);
  EXPECT_TRUE(f.ed.Undo.Empty());
  PasteToImage1Click(f.ed);
  EXPECT_EQ(f.ed.WorkSurface.Height(), 200);
  // Draw Gradient takes the image's size too, and a cancelled designer still pastes.
  ASSERT_TRUE(cbStyleChange(f.ed.Gradient, "VertCenter"));
  f.ed.WorkSurface.SetSize(64, 48, 24, 0);
  f.ui.AcceptGradient = false;
  f.ed.MenuEffect(fx::Gradient);
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(24, 5), MakePixel(0, 255, 255));  // row H div 2 is the end colour
  EXPECT_EQ(f.CloseLogLines(),
            (std::vector<std::string>{"Design Gradient, Width 300, Height 200, Gradient Horizontal, From Color R: 0 G: "
                                      "0 B: 128, To Color R: 0 G: 255 B: 255, Angle 0",
                                      "Paste Gradient to Image",
                                      "Draw Gradient, Width 64, Height 48, Gradient VertCenter, From Color R: 0 G: 0 "
                                      "B: 128, To Color R: 0 G: 255 B: 255, Angle 0"}));
}

TEST(GradientCommands, DesignerFieldsFollowTheirRules) {
  GradientState g;
  EXPECT_EQ(meWideChange(g, "1"), "");  // below 2: kept as typed, the size stays
  EXPECT_TRUE(g.Width == "1" && g.hGrad.Width() == 256);
  EXPECT_EQ(meWideChange(g, "2") + meWideChange(g, ""), "");
  EXPECT_EQ(meWideChange(g, "12x"), NotAnInteger("12x"));
  EXPECT_EQ(g.hGrad.Width(), 2);
  EXPECT_EQ(meHighChange(g, "16385") + meAngleChange(g, "-2147483648"), "");  // the height beyond the largest image
  EXPECT_EQ(std::pair(g.hGrad.Height(), g.hGrad.StartAngle()), std::pair(256, INT32_MIN));  // is ignored
  EXPECT_FALSE(cbStyleChange(g, "verticAL"));
  EXPECT_TRUE(cbStyleChange(g, "Radial2"));
  g.hGrad.SetBeginColor(0x123456);
  g.hGrad.Paint();  // the extreme angle renders without trouble
  bDefaultClick(g);
  EXPECT_EQ(std::vector<std::string>({g.Width, g.Height, g.Style, g.Angle}),
            std::vector<std::string>({"256", "256", "VertCenter", "0"}));
  const GradientParams& p = g.hGrad.Params();
  EXPECT_EQ(std::tuple(p.BeginColor, p.EndColor, int(p.Style), p.StartAngle, g.hGrad.Width()),
            std::tuple(kNavy, kAqua, int(TGradientStyle::gsVertCenter), 0, 256));
}

TEST(GradientCommands, GradientLinesReplay) {
  Fx f(256, 256);
  f.OpenLog("replay.txt");
  const std::vector<std::string> lines = {
      "Design Gradient, Width 64, Height 1, Gradient Horizontal, From Color R: 255 G: 0 B: 0, To Color R: 0 G: 0 B: "
      "255, Angle 30",
      "Paste Gradient to Image",
      "Gradient Bars, Number of Bars 1",
      "Draw Gradient, Width 5, Height 3, Gradient Vertical, From Color R: 10 G: 20 B: 30, To Color R: 40 G: 50 B: 60, "
      "Angle 0",
      "Gradient, Width 7, Height 2, Gradient VertCenter, From Color R: 0 G: 0 B: 0, To Color R: 200 G: 100 B: 50, "
      "Angle -5",
      "Merge Gradient, % of Gradient 50",
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    const ReplayOutcome r = ReplayLine(f.ed, lines[i]);
    ASSERT_EQ(r.Status, ReplayStatus::Done) << lines[i] << ": " << r.Message;
    if (i == 1) {  // 64 wide; the height "1" was refused, so the image's 256 stayed
      EXPECT_EQ(std::pair(f.ed.WorkSurface.Width(), f.ed.WorkSurface.Height()), std::pair(64, 256));
    }
  }
  // Merging the image with itself at 50 % leaves it as it was.
  EXPECT_EQ(f.ed.WorkSurface.Width(), 7);
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(1, 0), MakePixel(200, 100, 50));
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(0, 6), MakePixel(0, 0, 0));
  EXPECT_EQ(f.ui.Messages.size(), 0u);
  EXPECT_EQ(f.CloseLogLines(), lines);

  const char* bad = "Design Gradient, Width 9, Height 9, Gradient Diagonal, From Color R: 0 G: 0 B: 0, To Color R: "
                    "0 G: 0 B: 0, Angle 0";
  EXPECT_EQ(ReplayLine(f.ed, bad).Status, ReplayStatus::Error);
  // Through the effect the refusal is a message (the batch tool stops on it), and nothing is pasted.
  const TFastDIB before = f.Snapshot();
  ReplayLine(f.ed, "Draw Gradient, Width 9, Height x, Gradient Vertical, From Color R: 0 G: 0 B: 0, To Color R: 0 G: "
                   "0 B: 0, Angle 0");
  EXPECT_EQ(f.ui.Messages, std::vector<std::string>{NotAnInteger("x")});
  EXPECT_TRUE(f.Unchanged(before));
}

TEST(GradientCommands, MultiGradientPaintsThePreviewSizeAndKeepsItsMarkersInOrder) {
  Fx f(300, 200);
  f.OpenLog("multi.txt");
  MultiGradient1Click(f.ed);
  EXPECT_EQ(f.ed.WorkSurface.Width(), 300);
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(199, 85), MakePixel(255, 0, 255));
  const TFastDIB painted = f.Snapshot();
  f.ed.MultiGradient.LeftPos = 3;  // the line, not the dialog, decides on replay
  PaintPattern(f.ed.WorkSurface);
  const std::string line = f.CloseLogLines().at(0);
  EXPECT_EQ(line,
            "MultiGradient,  Width 300, Height 200, Back Color R: 0 G: 0 B: 0, Left Color R: 255 G: 0 B: 255, Right "
            "Color R: 0 G: 255 B: 255, Left Position 85, Right Position 170");
  ASSERT_EQ(ReplayLine(f.ed, line).Status, ReplayStatus::Done);
  EXPECT_TRUE(f.Unchanged(painted));

  // The markers stay in order whatever the preview's size.
  MultiGradientState m;
  SetMultiPreviewSize(m, 164, 10);  // the right marker's left edge just fits: it stays
  EXPECT_EQ(m.RightPos, 170);
  SetMultiPreviewSize(m, 100, 10);  // narrower than the right marker: it goes to width - 12
  EXPECT_EQ(std::pair(m.LeftPos, m.RightPos), std::pair(85, 94));
  SetMultiPreviewSize(m, 80, 10);  // now past the left one too: it keeps 6 to the left
  EXPECT_EQ(std::pair(m.LeftPos, m.RightPos), std::pair(68, 74));
  EXPECT_EQ(eWideChange(m, "74"), "");
  EXPECT_EQ(m.PreviewWidth, 80);
  EXPECT_EQ(eWideChange(m, "75"), "");
  EXPECT_EQ(eHighChange(m, "1"), "");  // any height
  EXPECT_EQ(std::pair(m.PreviewWidth, m.PreviewHeight), std::pair(75, 1));
  // Each marker stays on its side of the other (6 from it when dropped past
  // it, onto its edge is not past it); the right one's left edge past width - 2 goes to width - 4.
  for (auto [right, want] : {std::pair{62, 68}, {61, 74}, {73, 79}, {500, 77}}) {
    DropRightMarker(m, right);
    EXPECT_EQ(m.RightPos, want) << right;
  }
  for (auto [left, want] : {std::pair{72, 71}, {71, 77}}) {
    DropLeftMarker(m, left);
    EXPECT_EQ(m.LeftPos, want) << left;
  }
  MultiGradientState n;
  SetMultiPreviewSize(n, 2, 2);  // a 2-pixel image: both markers off the strip
  EXPECT_EQ(std::pair(n.LeftPos, n.RightPos), std::pair(-10, -4));
  SetMultiPreviewSize(n, 92, 2);  // back where they can be taken: width div 3 and twice that
  EXPECT_EQ(std::pair(n.LeftPos, n.RightPos), std::pair(30, 60));
}

TEST(GradientCommands, ColorWheelAndRainbow) {
  EditorFixture<RecordingUi> f(100, 50);
  f.OpenLog("wheel.txt");
  ColorWheel1Click(f.ed);  // the wheel is always 256 x 256
  EXPECT_EQ(f.ed.WorkSurface.Height(), 256);
  Rainbow1Click(f.ed);
  EXPECT_EQ(std::tuple(f.ed.Undo.Count(), f.ui.BusyOn, f.ed.EffectId), std::tuple(2, 1, -1));  // Rainbow: no hourglass
  EXPECT_EQ(f.CloseLogLines(), (std::vector<std::string>{"Color Wheel", "Rainbow"}));
}

TEST(GradientCommands, RefusedCellSizesAreRecordedWithoutSnapshot) {
  Fx f(256, 256);
  f.OpenLog("guards.txt");
  const TFastDIB before = f.Snapshot();
  f.ed.EffectVals[fx::Mosaic] = 129;
  f.ed.MenuEffect(fx::Mosaic);
  f.ed.EffectVals[fx::CircleMosaic] = 1;
  f.ed.MenuEffect(fx::CircleMosaic);
  f.ed.EffectVals[fx::ConcentricRects] = 0;
  f.ed.MenuEffect(fx::ConcentricRects);
  f.ed.EffectVals[fx::StretchBlurwithBuffer] = 0, f.ed.Second[UDSBlurBuf] = 0;  // Self's U/D stays 1
  f.ed.MenuEffect(fx::StretchBlurwithBuffer);
  f.ed.EffectVals[fx::StretchBlurwithSelf] = 0, f.ed.Second[UDSBlurSelf] = 0;
  f.ed.Second[UDSBlurBuf] = 1;  // the Buffer's U/D back at 1: Self must look at its own
  f.ed.MenuEffect(fx::StretchBlurwithSelf);
  EXPECT_TRUE(f.ed.Undo.Empty() && f.Unchanged(before));
  f.ed.EffectVals[fx::Mosaic] = 128;
  f.ed.MenuEffect(fx::Mosaic);
  EXPECT_EQ(f.ed.Undo.Count(), 1);
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(0, 0), before.GetPixel(64, 64));
  EXPECT_EQ(f.CloseLogLines(),
            (std::vector<std::string>{"Mosaic, Size of Cell 129", "Circle Mosaic, Size of Circle 1",
                                      "Concentric Rects, Size Difference 0",
                                      "StretchBlur with Buffer, Left/Right 0, Up/Down 0, Repetitions 32",
                                      "StretchBlur with Self, Left/Right 0, Up/Down 0, Repetitions 32",
                                      "Mosaic, Size of Cell 128"}));
}

}  // namespace
}  // namespace vorq::test
