#include "core/effects/seamless.h"
#include "editor/commands/geometry.h"
#include "editor/replay.h"
#include "editor_test_util.h"

using namespace vorq;

using Fixture = test::EditorFixture<>;

// Refusals first (Cancel, a bare Apply line, too large), then the dialog's size,
// the status bar, a resize to the current size and Apply's two lines.
TEST(ResizeCommands, RefusalsStatusAndApply) {
  Fixture f;
  f.OpenLog("vorq_geo_resize.txt");
  const TFastDIB before = f.Snapshot();
  f.ui.SizeWidth = 0;  // Cancel
  f.ed.MenuEffect(fx::ReSizeSmooth);
  EXPECT_EQ(f.ed.EffectId, -1);
  // A bare "ReSize Fast" (Apply's second line) asks the dialog: the batch
  // port has no size queued, so nothing is resized a second time.
  EXPECT_EQ(ReplayLine(f.ed, "ReSize Fast").Status, ReplayStatus::Done);
  EXPECT_TRUE(f.ui.Messages.empty());
  f.ui.SizeWidth = 20000;
  f.ui.SizeHeight = 10;
  f.ed.MenuEffect(fx::ReSizeSmooth);
  ASSERT_EQ(f.ui.Messages.size(), 1u);
  EXPECT_NE(f.ui.Messages[0].find("too large"), std::string::npos);
  EXPECT_TRUE(f.Unchanged(before) && f.ed.Undo.Empty());
  f.ui.SizeWidth = 100;
  f.ui.SizeHeight = 80;
  f.ed.MenuEffect(fx::ReSizeFast);
  EXPECT_EQ(f.ed.Sizer.CurrentWidth, 256);  // the dialog was shown with the current size
  EXPECT_EQ(f.ed.Status[kPanelWidth], "Width: 100");
  f.ed.bUndoClick();
  EXPECT_EQ(f.ed.Status[kPanelHeight], "Height: 256");
  // To the current size: a snapshot and a line, the pixels stay.
  f.ui.SizeWidth = f.ui.SizeHeight = 256;
  f.ed.MenuEffect(fx::ReSizeSmooth);
  EXPECT_TRUE(f.Unchanged(before) && f.ed.Undo.Count() == 1);
  // Apply writes the routine's line and then the effect's name.
  f.ed.TreeView1Change("ReSize Smooth");
  f.ui.SizeWidth = 256;  // only the height changes
  f.ui.SizeHeight = 300;
  EXPECT_TRUE(f.ed.bGoClick());
  EXPECT_EQ(f.ed.WorkSurface.Height(), 300);
  EXPECT_EQ(f.CloseLogLines(), (std::vector<std::string>{"ReSize Fast", "Resize Fast, Width 100, Height 80", "UnDo",
                                                          "Resize Smooth, Width 256, Height 256",
                                                          "Resize Smooth, Width 256, Height 300", "ReSize Smooth"}));
  // A replayed resize leaves its size in the dialog, as OK there would.
  EXPECT_EQ(ReplayLine(f.ed, "Resize Fast, Width 30, Height 20").Status, ReplayStatus::Done);
  EXPECT_EQ(std::pair(f.ed.Sizer.NewWidth, f.ed.Sizer.NewHeight), std::pair(30, 20));
}

TEST(GeometryCommands, MirrorsTakeTheirOwnAxis) {
  Fixture g;
  const TFastDIB before = g.Snapshot();
  g.ed.MenuEffect(fx::MirrorLR);
  EXPECT_EQ(g.ed.WorkSurface.GetPixel(5, 0), before.GetPixel(5, 255));
  g.ed.MenuEffect(fx::MirrorUD);
  EXPECT_EQ(g.ed.WorkSurface.GetPixel(0, 0), before.GetPixel(255, 255));
}

TEST(SeamlessCommands, NamesLinesAndRefusals) {
  Fixture f(256, 200);
  f.OpenLog("vorq_geo_seamless.txt");
  const TFastDIB before = f.Snapshot();
  f.ed.MenuEffect(fx::RotateSeamless);
  EXPECT_EQ(f.ui.Messages.at(0), "Image must be square.  ReSize and try again.");
  EXPECT_TRUE(f.Unchanged(before) && f.ed.Undo.Empty());
  f.ed.MenuEffect(fx::SoftenMore);  // the current effect
  // The merges name themselves but leave the Effect id: Apply then writes the merge's name.
  const struct {
    void (*click)(Editor&);
    const char* name;
  } merges[] = {{N141Click, "EdgeMerge4"}, {N181Click, "EdgeMerge8"}, {N1161Click, "EdgeMerge16"}};
  for (const auto& m : merges) {
    const TFastDIB was = f.Snapshot();
    m.click(f.ed);
    EXPECT_TRUE(f.ed.EffectName == m.name && f.ed.EffectId == fx::SoftenMore) << m.name;
    EXPECT_FALSE(f.Unchanged(was));
  }
  EXPECT_EQ(f.ed.Undo.Count(), 4);
  f.ed.WorkSurface.SetSize(3, 2, 24, 0);
  EXPECT_TRUE(FourWayFlip1Click(f.ed));
  EXPECT_EQ(f.ed.WorkSurface.Width(), 6);
  f.ed.WorkSurface.SetSize(9000, 10, 24, 0);
  const int undo = f.ed.Undo.Count();
  EXPECT_FALSE(FourWayFlip1Click(f.ed));
  EXPECT_NE(f.ui.Messages.back().find("18000 x 20"), std::string::npos);
  EXPECT_TRUE(f.ed.WorkSurface.Width() == 9000 && f.ed.Undo.Count() == undo);
  f.ed.WorkSurface.SetSize(10, 9000, 24, 0);
  EXPECT_FALSE(FourWayFlip1Click(f.ed)) << "too tall";
  EXPECT_EQ(f.CloseLogLines(), (std::vector<std::string>{"Soften More", "Edge Merge 1/4", "Edge Merge 1/8",
                                                          "Edge Merge 1/16", "4 Way Flip"}));
}

TEST(SeamlessCommands, OneAxisSeamsLogAndReplay) {
  test::EditorFixture<> f(41, 29);
  f.OpenLog("vorq_geo_axis.txt");
  TFastDIB expect = f.Snapshot();
  f.ed.ToolBox.Seams = SeamAxis::LeftRight;
  N141Click(f.ed);
  EdgeMerge(expect, 4, SeamAxis::LeftRight);
  EXPECT_TRUE(f.Unchanged(expect));
  f.ed.ToolBox.Seams = SeamAxis::TopBottom;
  f.ed.EffectVals[fx::SeamlessEdge] = 5;
  f.ed.MenuEffect(fx::SeamlessEdge);
  f.ed.ToolBox.Seams = SeamAxis::Both;
  N181Click(f.ed);
  f.ed.MenuEffect(fx::SeamlessEdge);
  const auto lines = f.CloseLogLines();
  EXPECT_EQ(lines, (std::vector<std::string>{"Edge Merge 1/4, Axis Left/Right", "Seamless Edge, Amount 5, Axis Top/Bottom",
                                             "Edge Merge 1/8", "Seamless Edge, Amount 5"}));
  // Replayed with another choice in the tool box: the plain lines still join both seams.
  test::EditorFixture<> g(41, 29);
  g.ed.ToolBox.Seams = SeamAxis::TopBottom;
  for (const auto& l : lines) ASSERT_EQ(ReplayLine(g.ed, l).Status, ReplayStatus::Done) << l;
  EXPECT_TRUE(g.Unchanged(f.ed.WorkSurface));
}

TEST(SizerDialog, PercentPixelsAndAccept) {
  SizerState s;
  SizerShow(s, 256, 200);
  EXPECT_EQ(std::pair(s.NewWidth, s.NewHeight), std::pair(256, 200));
  std::string err;
  SizerSelect(s, kSize640x480);
  EXPECT_TRUE(SizerPercent(s, err));  // 50 % of 256 x 200
  EXPECT_TRUE(s.Selection == kSizeCustom && s.Percent && s.NewHeight == 100 && s.Width == "128");
  s.PctHeight = "33";  // 33 * 200 / 100 = 66; no aspect coupling
  EXPECT_TRUE(SizerBoxChanged(s, SizerBox::PctHeight, false, err));
  EXPECT_EQ(std::pair(s.NewWidth, s.NewHeight), std::pair(128, 66));
  s.PctWidth = "";
  EXPECT_TRUE(SizerBoxChanged(s, SizerBox::PctWidth, false, err));  // empty while typing: ignored
  EXPECT_FALSE(SizerBoxChanged(s, SizerBox::PctWidth, true, err));
  EXPECT_EQ(err, "'' is not a valid integer value");
  s.PctWidth = "3";  // 7.68 pixels: the division truncates
  EXPECT_TRUE(SizerBoxChanged(s, SizerBox::PctWidth, true, err) && s.NewWidth == 7 && s.Width == "7");
  SizerPixels(s);
  EXPECT_FALSE(s.Percent);
  SizerSelect(s, kSize1024x768);
  EXPECT_EQ(s.Width + " x " + s.Height, "1024 x 768");
  SizerSelect(s, kSizeCustom);  // the current size
  EXPECT_EQ(std::pair(s.NewWidth, s.NewHeight), std::pair(256, 200));
  s.Height = "77";  // a pixel box counts once it is left
  EXPECT_TRUE(SizerBoxChanged(s, SizerBox::Height, false, err) && s.NewHeight == 200);
  EXPECT_TRUE(SizerBoxChanged(s, SizerBox::Height, true, err) && s.NewHeight == 77);

  s.Height = "321";
  EXPECT_TRUE(SizerAccept(s, err) && s.NewHeight == 321);
  s.Width = "12a";
  EXPECT_FALSE(SizerAccept(s, err));
  EXPECT_EQ(err, "'12a' is not a valid integer value");
  s.PctWidth = "999";
  s.Width = "40";
  SizerShow(s, 16384, 100);
  EXPECT_TRUE(SizerPercent(s, err));
  EXPECT_FALSE(SizerAccept(s, err));  // 163676 wide
  EXPECT_NE(err.find("too large"), std::string::npos);
  s.Width = "5", s.Height = "x1";
  EXPECT_FALSE(SizerAccept(s, err));
  EXPECT_EQ(err, "'x1' is not a valid integer value");
  s.Height = "0";
  EXPECT_FALSE(SizerAccept(s, err));
  EXPECT_EQ(err, "The new size 5 x 0 is not possible: both must be at least 1.");
}
