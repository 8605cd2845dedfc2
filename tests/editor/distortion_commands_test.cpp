#include "core/effects/bevels.h"
#include "core/effects/distortions.h"
#include "core/effects/geometry.h"
#include "core/effects/mosaics.h"
#include "core/effects/smears.h"
#include "core/effects/textures.h"
#include "core/util/random.h"
#include "editor_test_util.h"

using namespace vorq;

using DistortEditor = test::EditorFixture<>;

// Each effect's stored values reach its routine as the parameters they
// name (the check boxes choosing which); the values differ, so any two swapped change the picture.
TEST(DistortCommands, MenuPassesEveryStoredValueToItsParameter) {
  using Run = void (*)(TFastDIB&, TFastDIB&, const TFastDIB&);
  struct Case {
    int id, main;  // the effect's own stored value
    Run direct;
  } cases[] = {
      {fx::Waves, 7, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { Waves(w, s, 7, 13, 40.0, true); }},
      {fx::WhirlPinch, 90, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { WhirlPinch(w, s, 90, 0.25, 0.75); }},
      {fx::Marble, 11, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { Marble(w, s, 11, 1.5f, 60); }},
      {fx::SuperNova, 9, [](TFastDIB& w, TFastDIB&, const TFastDIB&) { SuperNova(w, 9, 13, 40, 20, 30, 0x123456); }},
      {fx::HeightMap, 70, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { HeightMap(w, s, 70, 25, 13, true); }},
      {fx::StretchBlurwithBuffer, 7,
       [](TFastDIB& w, TFastDIB& s, const TFastDIB& b) { StretchBlurWithBuffer(w, s, b, 7, 13, 3); }},
      {fx::StretchBlurwithSelf, 7, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { StretchBlurWithSelf(w, s, 7, 13, 3); }},
      {fx::WaterwithBuffer, 7, [](TFastDIB& w, TFastDIB& s, const TFastDIB& b) { WaterWithBuffer(w, s, b, 7, 13); }},
      {fx::WaterwithSelf, 7, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { WaterWithSelf(w, s, 7, 13); }},
      {fx::RotateAngle, 90,
       [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { CopySurface(w, s), RotateWrapped(s, w, 24, 20, 90); }},
      {fx::FishEye, 0, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { FishEye(w, s, 0.6f); }},
      {fx::SineWaveLR, 9, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { SineWaveLR(w, s, 9, 11, false, true); }},
      {fx::SineWaveUD, 30, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { SineWaveUD(w, s, 30, 9, false, true); }},
      // Both takes U/D's and L/R's heights (their defaults here) and peaks, L/R's first.
      {fx::SineWaveBoth, 0, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { SineWaveBoth(w, s, 50, 64, 2, 3); }},
      {fx::VorqSwizzle, 7, [](TFastDIB& w, TFastDIB& s, const TFastDIB&) { VorqSwizzle(w, s, 7, false, true); }},
      {fx::Trace, 50, [](TFastDIB& w, TFastDIB&, const TFastDIB&) { Trace(w, 50, 0x123456); }},
      {fx::Buttonize, 5, [](TFastDIB& w, TFastDIB&, const TFastDIB&) { Buttonize(w, 5, 0x123456, 0x654321); }},
      {fx::GradientBars, 5, [](TFastDIB& w, TFastDIB&, const TFastDIB&) { GradientBars(w, 5, 0x0000FF, 0x00FF00); }},
      {fx::MapTexture, 18, [](TFastDIB& w, TFastDIB& s, const TFastDIB& b) { MapTexture(w, s, b, 1.8); }},
  };
  for (const Case& c : cases) {
    DistortEditor f(48, 40);
    auto& v = f.ed.Second;
    f.ed.EffectVals[c.id] = c.main;
    v[WvLenVal] = 13, v[WvPhsVal] = 40, v[WvRflVal] = 1, v[WhPchVal] = 0.25, v[WhRadVal] = 0.75;
    v[ScaleVal] = 1.5, v[TurbVal] = 60, v[NovaSpok] = 13, v[NovaHue] = 40, v[NovaX] = 20, v[NovaY] = 30;
    v[HytEl] = 25, v[HytDp] = 13, v[HytBm] = 1, v[UDSBlurBuf] = v[UDSBlurSelf] = 13, v[SBlurReps] = 3;
    v[UDWatBuf] = v[UDWatSelf] = 13;
    v[FishVal] = 0.6, v[LRWavVal] = 11, v[UDWavVal] = 9, v[TrUseVal] = 1;
    f.ed.ToolBox.PenColor = 0x123456;
    f.ed.ToolBox.BrushColor = 0x654321;
    f.ed.ToolBox.PeaksChecked = false;
    f.ed.ToolBox.WrapChecked = true;
    f.ed.Gradient.hGrad.SetBeginColor(0x0000FF);
    f.ed.Gradient.hGrad.SetEndColor(0x00FF00);
    f.ed.BufferSurface = test::Random(48, 40, 5);
    CopySurface(f.ed.BufferSurface, f.ed.Texture);
    TFastDIB expect = f.Snapshot(), scratch;
    FixSeed(4), c.direct(expect, scratch, f.ed.BufferSurface);
    FixSeed(4), f.ed.MenuEffect(c.id);
    EXPECT_TRUE(f.Unchanged(expect)) << Effect(c.id).CatalogueName;
  }
}

TEST(DistortCommands, CircularAsksAboutOtherSizes) {
  DistortEditor f(256, 80);
  const TFastDIB before = f.Snapshot();
  f.ui.Answers.push_back(UiPort::Answer::No);
  f.ed.MenuEffect(fx::Circular);
  EXPECT_EQ(f.ui.Questions, std::vector<std::string>{"Circular only works correctly with a 256 x 256 image. OK?"});
  EXPECT_TRUE(f.ed.Undo.Empty() && f.Unchanged(before));
  EXPECT_NE(f.ed.EffectId, 20);
}

TEST(DistortCommands, ApplyInputRules) {
  DistortEditor f(32, 32);
  // Astroid: an even value goes up by one, then at most 9.
  for (auto [typed, stored] : {std::pair{4, 5}, {12, 9}, {-2, -1}, {7, 7}}) {
    ASSERT_TRUE(f.Apply("Astroid", std::to_string(typed)));
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
  EXPECT_EQ(std::pair(f.ed.Second[WhPchVal], f.ed.Second[WhRadVal]), std::pair(1.0, 0.0));
  EXPECT_EQ(f.ed.Undo.Count(), undo + 1);  // radius 0 changes nothing, but the snapshot was taken
  f.ed.ShowEffect(65, "Whirl/Pinch");
  EXPECT_EQ(f.ed.ToolBox.Box(Box::eAmtSecond).Text + " " + f.ed.ToolBox.Box(Box::ePeaks2).Text, "1.00 0.00");
  f.ed.ToolBox.Box(Box::eAmtSecond).Text = "-3";
  ASSERT_TRUE(f.ed.bGoClick() && f.ed.Second[WhPchVal] == -1.0);
  // Trace: Apply keeps the pen colour it ran with.
  f.ed.TreeView1Change("Trace");
  f.ed.ToolBox.PenColor = 0x00FF00;
  ASSERT_TRUE(f.ed.bGoClick() && f.ed.Second[TrColVal] == 0x00FF00);
  // A sine height beyond the image is limited to it for this run only, and the box shows it.
  ASSERT_TRUE(f.Apply("SineWave U/D", "1000", Box::eAmtSecond));
  EXPECT_EQ(f.ed.ToolBox.Box(Box::eAmtSecond).Text, "32");
  EXPECT_EQ(f.ed.EffectVals[fx::SineWaveUD], 1000);
}
