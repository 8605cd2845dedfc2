#include <gtest/gtest.h>

#include <cstring>

#include "core/effects/distortions.h"
#include "editor/editor.h"
#include "editor/replay.h"
#include "editor/scripted_ui.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {

struct DistortEditor : test::EditorFixture<> {
  using EditorFixture::EditorFixture;
  TFastDIB Copy() const { return Snapshot(); }
};

constexpr int kIds[] = {15, 16, 17, 18, 19, 20, 21, 62, 64, 65};

}  // namespace

TEST(DistortCommands, MenuRunsEachEffectWithOneSnapshot) {
  for (int id : kIds) {
    DistortEditor f;
    const TFastDIB before = f.Copy();
    f.ed.MenuEffect(id);
    EXPECT_FALSE(f.Unchanged(before)) << id;
    EXPECT_EQ(f.ed.EffectId, id);
    f.ed.bUndoClick();
    EXPECT_TRUE(f.Unchanged(before)) << id;
    EXPECT_TRUE(f.ed.Undo.Empty()) << id;
  }
}

TEST(DistortCommands, MenuPassesTheStoredValuesTheCheckBoxesChoose) {
  DistortEditor f(64, 40);
  TFastDIB expect = f.Copy(), scratch;
  f.ed.ToolBox.PeaksChecked = false;
  f.ed.ToolBox.WrapChecked = false;
  f.ed.Second[UDWavVal] = 9.0;
  SineWaveUD(expect, scratch, 30, 9.0, false, false);
  f.ed.EffectVals[fx::SineWaveUD] = 30;
  f.ed.MenuEffect(fx::SineWaveUD);
  EXPECT_EQ(std::memcmp(expect.Bits, f.ed.WorkSurface.Bits, expect.ImageSize()), 0);
  CopySurface(f.ed.WorkSurface, expect);
  SineWaveBoth(expect, scratch, 30, 64, 2.0, 3.0);  // heights 15/16, peaks L/R then U/D
  f.ed.MenuEffect(fx::SineWaveBoth);
  EXPECT_EQ(std::memcmp(expect.Bits, f.ed.WorkSurface.Bits, expect.ImageSize()), 0);
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
  const TFastDIB before = f.Copy();
  f.ui.Answers.push_back(UiPort::Answer::No);
  f.ed.MenuEffect(fx::Circular);
  ASSERT_EQ(f.ui.Questions.size(), 1u);
  EXPECT_EQ(f.ui.Questions[0], "Circular only works correctly with a 256 x 256 image. OK?");
  EXPECT_TRUE(f.Unchanged(before));
  EXPECT_TRUE(f.ed.Undo.Empty());
  EXPECT_NE(f.ed.EffectId, 20);
  DistortEditor square;
  square.ed.MenuEffect(fx::Circular);
  EXPECT_TRUE(square.ui.Questions.empty());
  EXPECT_FALSE(square.ed.Undo.Empty());
}

TEST(DistortCommands, WhirlPinchApplyKeepsTheCorrectedValues) {
  DistortEditor f;
  f.ed.TreeView1Change("Whirl/Pinch");
  f.ed.ToolBox.Box(Box::eAmtSecond).Text = "3";
  f.ed.ToolBox.Box(Box::ePeaks2).Text = "-1";
  ASSERT_TRUE(f.ed.bGoClick());
  EXPECT_EQ(f.ed.Second[WhPchVal], 1.0);
  EXPECT_EQ(f.ed.Second[WhRadVal], 0.0);
  EXPECT_FALSE(f.ed.Undo.Empty());  // radius 0 changes nothing, but the snapshot was taken
  f.ed.ShowEffect(65, "Whirl/Pinch");
  EXPECT_EQ(f.ed.ToolBox.Box(Box::eAmtSecond).Text, "1.00");
  EXPECT_EQ(f.ed.ToolBox.Box(Box::ePeaks2).Text, "0.00");
}

TEST(DistortCommands, LogLinesReplay) {
  for (const char* line : {"SineWave Up/Down, Peaks 3, Height 50, Wrap = True",
                           "SineWave Left/Right, WaveLength 17, Height 64, Wrap = False",
                           "SineWave Both, U/D Peaks 3, U/D Height 50, L/R Peaks 2, L/R Height 64",
                           "Twist, Looseness 100", "FishEye, Magnification 0.75", "Circular", "Astroid, Thickness 5",
                           "Waves, Amplitude 24, Wave Length 10, Phase 8, Reflective False", "RippleTooth, Amount 16",
                           "Whirl/Pinch, Angle 270, Pinch 0.50, Radius 1.00"}) {
    DistortEditor f;
    const TFastDIB before = f.Copy();
    const ReplayOutcome r = ReplayLine(f.ed, line);
    EXPECT_EQ(r.Status, ReplayStatus::Done) << line << ": " << r.Message;
    EXPECT_FALSE(f.Unchanged(before)) << line;
  }
  DistortEditor f(64, 64);
  ASSERT_EQ(ReplayLine(f.ed, "SineWave Left/Right, WaveLength 17, Height 64, Wrap = False").Status, ReplayStatus::Done);
  EXPECT_FALSE(f.ed.ToolBox.PeaksChecked);
  EXPECT_FALSE(f.ed.ToolBox.WrapChecked);
}
