#include "editor/commands/sliders.h"
#include "editor/replay.h"
#include "editor_test_util.h"

using namespace vorq;

using Fixture = test::EditorFixture<test::RecordingUi>;

TEST(ColourCommands, ExchangeColorAndTintDialog) {
  Fixture f;
  f.OpenLog("vorq_colour_commands.txt");
  f.ed.ToolBox.PenColor = 0x0A0AFA;    // (250, 10, 10)
  f.ed.ToolBox.BrushColor = 0x00FF00;  // green
  f.ed.WorkSurface.SetPixel(0, 0, MakePixel(230, 30, 0));
  f.ed.WorkSurface.SetPixel(0, 1, MakePixel(229, 10, 10));
  EXPECT_TRUE(f.Apply("Exchange Color", "20"));
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(0, 0), MakePixel(0, 255, 0));
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(0, 1), MakePixel(229, 10, 10));

  f.ed.TintColor = 0x0000FF;
  f.ui.NextColor = 0xFFFFFFFF;  // white; the top byte is no colour
  f.ed.WorkSurface.SetPixel(3, 4, MakePixel(10, 200, 30));
  f.ed.MenuEffect(fx::Tint);
  EXPECT_EQ(f.ui.DialogStart, 0x0000FFu);  // opened with the last colour
  EXPECT_EQ(f.ed.TintColor, 0xFFFFFFu);    // and keeps the new one
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(3, 4), MakePixel(200, 200, 200));

  // Cancelled: no snapshot, no change, but the Effect id and log line follow.
  const TFastDIB before = f.Snapshot();
  f.ed.EffectId = -1;
  f.ui.AcceptColor = false;
  f.ed.MenuEffect(fx::Tint);
  EXPECT_EQ(f.ui.DialogStart, 0xFFFFFFu);
  EXPECT_EQ(f.ed.EffectId, 34);
  EXPECT_TRUE(f.ed.Undo.Count() == 2 && f.Unchanged(before));
  EXPECT_EQ(f.CloseLog(), "Exchange Color, Pen R: 250 G: 10 B: 10, Brush R: 0 G: 255 B: 0\r\n"
                          "Tint, Color R: 255 G: 255 B: 255\r\nTint, Color R: 255 G: 255 B: 255\r\n");
}

// The preview always starts from the working image and leaves it alone.
TEST(ColourSliderCommands, PreviewFromTheWorkingImageOnly) {
  Fixture f;
  const TFastDIB before = f.Snapshot();
  const TPixel24 o = before.GetPixel(40, 50);
  SliderPositions pos{.Red = 300};  // +45 on red only
  for (int twice = 0; twice < 2; ++twice) {  // the same event again gives the same preview, not a doubled shift
    SliderPreview(f.ed, pos);
    EXPECT_EQ(f.ed.ScratchSurface.GetPixel(40, 50), MakePixel(uint8_t(std::min(255, o.R + 45)), o.G, o.B));
  }
  EXPECT_TRUE(f.Unchanged(before));
  SliderPreview(f.ed, SliderPositions{});
  EXPECT_TRUE(test::SamePixels(f.ed.ScratchSurface, before) && f.ed.Undo.Empty());
  // OK without a preview of the image's size (here its width but not its height) builds one.
  f.ed.ScratchSurface.SetSize(f.ed.WorkSurface.Width(), 10, 24, 0);
  bGoodClick(f.ed, pos);
  ASSERT_EQ(f.ed.WorkSurface.Height(), before.Height());
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(40, 50), MakePixel(uint8_t(std::min(255, o.R + 45)), o.G, o.B));
}

TEST(ColourSliderCommands, OkCommitsSnapshotsAndLogs) {
  Fixture f;
  f.OpenLog("vorq_colour_ok.txt");
  f.ed.MenuEffect(fx::Brighten);
  const TFastDIB before = f.Snapshot();
  SliderPositions pos{.Lightness = 225, .Contrast = 300, .Saturation = 0, .Red = 510, .Green = 0, .Blue = 256};
  SliderPreview(f.ed, pos);
  TFastDIB preview;
  CopySurface(f.ed.ScratchSurface, preview);
  bGoodClick(f.ed, pos);
  EXPECT_TRUE(f.Unchanged(preview));
  EXPECT_EQ(pos, SliderPositions{});
  EXPECT_EQ(f.ed.EffectId, 32);  // OK is not an effect

  // All bars back at neutral: still a snapshot and a line of zeros.
  SliderPreview(f.ed, pos);
  bGoodClick(f.ed, pos);
  EXPECT_EQ(f.ed.Undo.Count(), 3);
  EXPECT_TRUE(f.Unchanged(preview));

  // Cancel puts back exactly the image before its preview, with no snapshot and no line.
  pos = {.Lightness = 420, .Saturation = 90, .Blue = 210};
  SliderPreview(f.ed, pos);
  const int changes = f.ui.ImageChanges;
  bBadClick(f.ed, pos);
  EXPECT_EQ(pos, SliderPositions{});
  EXPECT_TRUE(f.Unchanged(preview) && f.ed.Undo.Count() == 3);
  EXPECT_GT(f.ui.ImageChanges, changes);  // the view shows WorkSurface again
  EXPECT_EQ(f.CloseLog(),
            "Brighten\r\n"
            "ToolBox Sliders to positions:  Lightness -30, Contrast 45, Saturation -255, Red 255, Green -255, Blue 1\r\n"
            "ToolBox Sliders to positions:  Lightness 0, Contrast 0, Saturation 0, Red 0, Green 0, Blue 0\r\n");
  f.ed.bUndoClick();
  f.ed.bUndoClick();
  EXPECT_TRUE(f.Unchanged(before));
}

TEST(ColourSliderCommands, ReplayLine) {
  // Replaying the OK line gives what OK gave.
  Fixture f, g;
  SliderPositions pos{.Lightness = 280, .Saturation = 400, .Green = 200};
  SliderPreview(g.ed, pos);
  bGoodClick(g.ed, pos);
  f.OpenLog("vorq_colour_replay.txt");
  const std::string line =
      "ToolBox Sliders to positions:  Lightness 25, Contrast 0, Saturation 145, Red 0, Green -55, Blue 0";
  EXPECT_EQ(ReplayLine(f.ed, line + "\r\n").Status, ReplayStatus::Done);
  EXPECT_TRUE(f.Unchanged(g.ed.WorkSurface) && f.ed.Undo.Count() == 1);
  EXPECT_EQ(f.CloseLog(), line + "\r\n");
  // A position beyond the bars runs nothing.
  EXPECT_EQ(ReplayLine(f.ed, "ToolBox Sliders to positions:  Lightness 256, Contrast 0, Saturation 0, Red 0, Green 0, Blue 0")
                .Status,
            ReplayStatus::Error);
  EXPECT_EQ(f.ed.Undo.Count(), 1);
  EXPECT_EQ(ReplayLine(f.ed, "ToolBox Sliders to positions:  Lightness 255, Contrast -255, Saturation 0, Red 0, Green 0, "
                             "Blue 0").Status, ReplayStatus::Done);  // the bars' very ends
}
