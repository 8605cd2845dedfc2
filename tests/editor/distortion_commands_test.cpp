#include "core/effects/distortions.h"
#include "editor/replay.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {
using DistortEditor = test::EditorFixture<>;
}  // namespace

TEST(DistortCommands, MenuPassesTheStoredValuesTheCheckBoxesChoose) {
  DistortEditor f(64, 40);
  TFastDIB expect = f.Snapshot(), scratch;
  f.ed.ToolBox.PeaksChecked = false;
  f.ed.ToolBox.WrapChecked = false;
  f.ed.Second[UDWavVal] = 9.0;
  SineWaveUD(expect, scratch, 30, 9.0, false, false);
  f.ed.EffectVals[fx::SineWaveUD] = 30;
  f.ed.MenuEffect(fx::SineWaveUD);
  EXPECT_TRUE(f.Unchanged(expect));
  CopySurface(f.ed.WorkSurface, expect);
  SineWaveBoth(expect, scratch, 30, 64, 2.0, 3.0);  // heights 15/16, peaks L/R then U/D
  f.ed.MenuEffect(fx::SineWaveBoth);
  EXPECT_TRUE(f.Unchanged(expect));
}

TEST(DistortCommands, SineHeightLimitedToTheImageIsShown) {
  DistortEditor f(100, 80);
  f.ed.TreeView1Change("SineWave U/D");
  f.ed.ToolBox.Box(Box::eAmtSecond).Text = "1000";
  ASSERT_TRUE(f.ed.bGoClick());
  EXPECT_EQ(f.ed.ToolBox.Box(Box::eAmtSecond).Text, "80");
  EXPECT_EQ(f.ed.EffectVals[fx::SineWaveUD], 1000);  // only this run is limited
}

TEST(DistortCommands, CircularAsksAboutOtherSizes) {
  DistortEditor f(100, 80);
  const TFastDIB before = f.Snapshot();
  f.ui.Answers.push_back(UiPort::Answer::No);
  f.ed.MenuEffect(fx::Circular);
  ASSERT_EQ(f.ui.Questions.size(), 1u);
  EXPECT_EQ(f.ui.Questions[0], "Circular only works correctly with a 256 x 256 image. OK?");
  EXPECT_TRUE(f.Unchanged(before));
  EXPECT_TRUE(f.ed.Undo.Empty());
  EXPECT_NE(f.ed.EffectId, 20);
}

TEST(DistortCommands, ApplyInputRules) {
  DistortEditor f(32, 32);
  // Astroid: an even value goes up by one, then at most 9.
  for (auto [typed, stored] : {std::pair{4, 5}, {12, 9}, {-2, -1}, {7, 7}}) {
    f.ed.TreeView1Change("Astroid");
    f.ed.ToolBox.Box(Box::eAmtMain).Text = std::to_string(typed);
    ASSERT_TRUE(f.ed.bGoClick());
    EXPECT_EQ(f.ed.EffectVals[fx::Astroid], stored) << typed;
  }
  // Whirl/Pinch: pinch limited to -1 .. 1, a negative radius becomes 0; the corrected values stay.
  f.ed.TreeView1Change("Whirl/Pinch");
  f.ed.ToolBox.Box(Box::eAmtSecond).Text = "3";
  f.ed.ToolBox.Box(Box::ePeaks2).Text = "-1";
  const int undo = f.ed.Undo.Count();
  const TFastDIB before = f.Snapshot();
  ASSERT_TRUE(f.ed.bGoClick());
  EXPECT_TRUE(f.Unchanged(before));
  EXPECT_EQ(f.ed.Second[WhPchVal], 1.0);
  EXPECT_EQ(f.ed.Second[WhRadVal], 0.0);
  EXPECT_EQ(f.ed.Undo.Count(), undo + 1);  // radius 0 changes nothing, but the snapshot was taken
  f.ed.ShowEffect(65, "Whirl/Pinch");
  EXPECT_EQ(f.ed.ToolBox.Box(Box::eAmtSecond).Text, "1.00");
  EXPECT_EQ(f.ed.ToolBox.Box(Box::ePeaks2).Text, "0.00");
}

TEST(DistortCommands, ReplayedSineLineSetsTheCheckBoxes) {
  DistortEditor f(64, 64);
  ASSERT_EQ(ReplayLine(f.ed, "SineWave Left/Right, WaveLength 17, Height 64, Wrap = False").Status, ReplayStatus::Done);
  EXPECT_FALSE(f.ed.ToolBox.PeaksChecked);
  EXPECT_FALSE(f.ed.ToolBox.WrapChecked);
}
