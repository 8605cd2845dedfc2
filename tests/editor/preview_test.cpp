#include <functional>

#include "editor/preview.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {

using Outcome = EffectPreview::Outcome;

// An editor on an odd-sized pattern with Twist chosen in the tree and its box typed.
struct PreviewEditor : test::EditorFixture<> {
  PreviewEditor() : EditorFixture(61, 37) {
    OpenLog("preview_" + std::to_string(++count) + ".txt");
    ed.TreeView1Change("Twist");
  }
  void Type(const std::string& text) { ed.ToolBox.Box(Box::eAmtMain).Text = text; }
  Outcome Show(ProgressSink* sink = nullptr) { return ed.Preview().Show(ed.EffectId, sink); }
  static inline int count = 0;
};

struct Sink final : ProgressSink {
  std::function<bool()> onReport;
  int reports = 0;
  bool Report(int64_t, int64_t) override {
    ++reports;
    return onReport();
  }
};

}  // namespace

TEST(LivePreview, ApplyAfterPreviewIsPlainApplyWithOneSnapshotAndOneLine) {
  // Kept pixels (the preview is current) and a stale preview (a value typed since) both
  // give what plain Apply gives.
  for (bool stale : {false, true}) {
    PreviewEditor p, plain;
    const TFastDIB original = p.Snapshot();
    p.Type("40");
    ASSERT_EQ(p.Show(), Outcome::Shown);
    p.Type("250");
    ASSERT_EQ(p.Show(), Outcome::Shown);  // from the original, not from the first preview
    EXPECT_TRUE(p.ed.Undo.Empty());
    if (stale) p.Type("7");
    ASSERT_TRUE(p.ed.bGoClick());
    EXPECT_FALSE(p.ed.Preview().Active());

    ASSERT_TRUE(plain.Apply("Twist", stale ? "7" : "250"));
    EXPECT_TRUE(test::SamePixels(p.ed.WorkSurface, plain.ed.WorkSurface)) << stale;
    EXPECT_EQ(p.ed.Undo.Count(), 1) << stale;
    EXPECT_EQ(p.CloseLogLines(), std::vector<std::string>{stale ? "Twist, Looseness 7" : "Twist, Looseness 250"});
    p.ed.bUndoClick();
    EXPECT_TRUE(p.Unchanged(original));
  }
}

TEST(LivePreview, EndingPutsBackTheExactImageAndValuesAndWritesNothing) {
  // Preview off, another effect chosen, another command, Undo, the Default button, Copy, Save.
  enum Way { Off, OtherEffect, OtherCommand, Undo, Default, Copy, Save };
  for (Way way : {Off, OtherEffect, OtherCommand, Undo, Default, Copy, Save}) {
    PreviewEditor p;
    p.ed.MenuEffect(fx::MirrorLR);  // an older snapshot that Undo must leave alone
    const TFastDIB original = p.Snapshot();
    p.ed.EffectVals[fx::Twist] = 77;
    auto vals = p.ed.EffectVals;
    const auto second = p.ed.Second;
    p.ed.TreeView1Change("Twist");
    p.Type("300");
    ASSERT_EQ(p.Show(), Outcome::Shown);
    ASSERT_FALSE(p.Unchanged(original));
    switch (way) {
      case Off: p.ed.EndPreview(); break;
      case OtherEffect: p.ed.TreeView1Change("Blur"); break;
      case OtherCommand: p.ed.MenuEffect(fx::Negative); break;
      case Undo: p.ed.bUndoClick(); break;
      case Default: p.ed.btnDefaultClick(); break;
      case Copy: p.ed.Copy1Click(); break;  // the image itself goes to the clipboard
      case Save: p.ed.SaveImage(::testing::TempDir() + "vorq_preview_save.bmp"); break;
    }
    EXPECT_FALSE(p.ed.Preview().Active()) << way;
    EXPECT_EQ(p.ed.Undo.Count(), way == OtherCommand ? 2 : 1) << way;
    if (way == Default) vals[fx::Twist] = 100;  // the defaults, shown in the box
    EXPECT_EQ(p.ed.EffectVals, vals) << way;
    EXPECT_TRUE(way != Default || p.ed.ToolBox.Box(Box::eAmtMain).Text == "100");
    EXPECT_EQ(p.ed.Second, second) << way;
    if (way == OtherCommand) {  // Negative ran on the original, its snapshot the original
      PreviewEditor plain;
      plain.ed.MenuEffect(fx::MirrorLR);
      plain.ed.MenuEffect(fx::Negative);
      EXPECT_TRUE(test::SamePixels(p.ed.WorkSurface, plain.ed.WorkSurface));
      p.ed.bUndoClick();
    }
    EXPECT_TRUE(p.Unchanged(original)) << way;
    if (way == Copy) {
      EXPECT_TRUE(test::SamePixels(p.ui.Clipboard, original));
    }
    const auto lines = p.CloseLogLines();
    EXPECT_EQ(lines.front(), "Mirror L/R");
    EXPECT_EQ(lines.size(), way == OtherCommand ? 3u : way == Copy ? 2u : 1u) << way;  // Negative and its UnDo
  }
  // A value kept apart from the per-effect ones (Fisheye's magnification) comes back as well.
  PreviewEditor f;
  f.ed.TreeView1Change("Fisheye");
  const double magnification = f.ed.Second[FishVal];
  f.Type("1.50");
  ASSERT_EQ(f.Show(), Outcome::Shown);
  ASSERT_EQ(f.ed.Second[FishVal], 1.5);
  f.ed.EndPreview();
  EXPECT_EQ(f.ed.Second[FishVal], magnification);
}

TEST(LivePreview, DialogEffectsBadValuesAndStopsShowNothing) {
  PreviewEditor p;
  const TFastDIB original = p.Snapshot();
  EXPECT_EQ(p.ed.Preview().Show(fx::Tint, nullptr), Outcome::Refused);
  EXPECT_EQ(p.ed.Preview().Show(fx::Circular, nullptr), Outcome::Refused);
  EXPECT_EQ(p.ed.Preview().Show(fx::Negative, nullptr), Outcome::Shown);  // a command without the hourglass too
  p.Type("12a");
  EXPECT_EQ(p.Show(), Outcome::Refused);
  EXPECT_TRUE(p.ui.Messages.empty());  // no box while typing
  EXPECT_EQ(p.ed.Status[kPanelEffect], "'12a' is not a valid integer value");
  // Apply then says it, as plain Apply does, and changes nothing.
  EXPECT_FALSE(p.ed.bGoClick());
  EXPECT_EQ(p.ui.Messages, std::vector<std::string>{"'12a' is not a valid integer value"});
  EXPECT_TRUE(p.Unchanged(original));

  // Stopped through the progress report, the preview shows the original again.
  p.Type("300");
  Sink stop;
  stop.onReport = [] { return false; };
  EXPECT_EQ(p.Show(&stop), Outcome::Stopped);
  EXPECT_TRUE(p.Unchanged(original));
  EXPECT_TRUE(p.ed.Preview().Active());  // a later edit runs it again

  // A command arriving while the pixels change is refused; ending the
  // preview meanwhile stops them and puts everything back.
  Sink meddle;
  meddle.onReport = [&] {
    p.ed.MenuEffect(fx::Negative);
    p.ed.bGoClick();
    p.ed.EndPreview();
    return true;
  };
  EXPECT_EQ(p.Show(&meddle), Outcome::Stopped);
  EXPECT_FALSE(p.ed.Preview().Active());
  EXPECT_TRUE(p.Unchanged(original) && p.ed.Undo.Empty());
  EXPECT_TRUE(p.CloseLogLines().empty());

  // A check that refuses shows the original, and Apply refuses again: no snapshot.
  p.ed.TreeView1Change("Rotate Seamless");
  EXPECT_EQ(p.Show(), Outcome::Shown);
  p.ed.bGoClick();
  EXPECT_TRUE(p.ed.Undo.Empty());
}

TEST(LivePreview, APenBrushOrGradientChosenSinceThePreviewIsAppliedAfresh) {
  // Buttonize's shadow and highlight, Gradient Bars' colours, VorqSwizzle's wrap, Seamless Edge's sides.
  enum Chosen { Pen, Brush, Gradient, GradientEnd, Wrap, Seams };
  const char* effects[] = {"Buttonize", "Buttonize", "Gradient Bars", "Gradient Bars", "VorqSwizzle", "Seamless Edge"};
  for (Chosen chosen : {Pen, Brush, Gradient, GradientEnd, Wrap, Seams}) {
    PreviewEditor p, plain;
    for (PreviewEditor* e : {&p, &plain}) e->ed.TreeView1Change(effects[chosen]);
    ASSERT_EQ(p.Show(), Outcome::Shown);
    for (PreviewEditor* e : {&p, &plain}) {
      if (chosen == Gradient) e->ed.Gradient.hGrad.SetBeginColor(0x00FF00);
      else if (chosen == GradientEnd) e->ed.Gradient.hGrad.SetEndColor(0x00FF00);
      else if (chosen == Wrap) e->ed.ToolBox.WrapChecked = !e->ed.ToolBox.WrapChecked;
      else if (chosen == Seams) e->ed.ToolBox.Seams = SeamAxis::TopBottom;
      else (chosen == Brush ? e->ed.ToolBox.BrushColor : e->ed.ToolBox.PenColor) = 0x00FF00;
    }
    ASSERT_TRUE(p.ed.bGoClick() && plain.ed.bGoClick());
    EXPECT_TRUE(test::SamePixels(p.ed.WorkSurface, plain.ed.WorkSurface)) << chosen;
  }
}
