#include <algorithm>
#include <cstdio>

#include "core/imageio/image_file.h"
#include "editor/replay.h"
#include "editor/undo_ring.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {
TFastDIB Filled(int w, int h, uint8_t v) { return test::Uniform(w, h, MakePixel(v, uint8_t(v + 1), uint8_t(v + 2))); }
}  // namespace

TEST(UndoRing, ChangeUndoQuantity) {
  struct PromptUi : ScriptedUi {
    std::string Prompt;
    int UndoChanges = 0;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& text) override {
      Prompt = title + "|" + prompt + "|" + text;
      return ScriptedUi::InputBox(title, prompt, text);
    }
    void UndoChanged() override { ++UndoChanges; }
  } ui;
  Editor ed(ui);
  EXPECT_TRUE(ed.WorkSurface.Width() == 256 && ed.WorkSurface.Height() == 256);  // the start image
  ed.PushUndo();
  ed.PushUndo();
  ui.Inputs = {"15"};  // unchanged: nothing asked
  ed.ChangeUndoQuantity1Click();
  EXPECT_TRUE(ui.Questions.empty());
  EXPECT_EQ(ui.Prompt, "Change Number of Undo|Enter a New Maximum Undo: |15");
  ui.Inputs = {"5"};
  ui.Answers = {UiPort::Answer::No};
  ed.ChangeUndoQuantity1Click();
  EXPECT_EQ(std::pair(ed.Undo.Count(), ed.Undo.Levels()), std::pair(2, 15));
  ui.Inputs = {"5"};
  const int changes = ui.UndoChanges;
  ed.ChangeUndoQuantity1Click();  // Yes
  EXPECT_EQ(ui.UndoChanges, changes + 1) << "the window hears of the cleared ring";
  EXPECT_EQ(ui.Questions.back(),
            " This will clear current Undo buffers \rand reset all pointers.  Continue with \r          Undo modification?");
  EXPECT_TRUE(ed.Undo.Levels() == 5 && ed.Undo.Empty());
  for (const char* bad : {"0", "-2", "1001", "2147483647", "many"}) {
    ui.Inputs = {bad};
    ed.ChangeUndoQuantity1Click();
    EXPECT_EQ(ed.Undo.Levels(), 5) << bad;
  }
  EXPECT_EQ(ui.Messages.back(), "'many' is not a valid integer value");
  ui.Inputs = {"0"};
  ed.ChangeUndoQuantity1Click();
  EXPECT_EQ(ui.Messages.back(), "The number of undo levels must be at least 1; it stays 5.");
  for (int edge : {1000, 1}) {
    ui.Inputs = {std::to_string(edge)};
    ed.ChangeUndoQuantity1Click();
    EXPECT_EQ(ed.Undo.Levels(), edge);
  }
}

// A batch run keeps only what its lines can come back to: as many levels as
// it has "UnDo" lines, the reset copy only with an "Image Reset" line. The
// result and the log are those of the full ring.
TEST(UndoRing, LeanReplayKeepsWhatTheLinesNeed) {
  const std::string image = ::testing::TempDir() + "vorq_lean_in.bmp";
  {
    test::EditorFixture<> f(21, 12);
    std::string error;
    ASSERT_TRUE(SaveImageFile(image, f.ed.WorkSurface, SaveOptions{}, error)) << error;
  }
  const std::vector<std::string> recipes[] = {
      {"Negative", "Rotate 90", "Blur", "UnDo\r", "Twist, Looseness 50", "UnDo", "UnDo", "4 Way Flip", "Sharpen",
       "UnDo", "UnDo", "Mirror L/R", "UnDo", "UnDo", "UnDo"},
      {"Negative", "Rotate 90", "Image Reset", "UnDo", "GrayScale"},
      {"Blur", "Negative", "Rotate 90"},
  };
  for (const auto& lines : recipes) {
    ReplayNeeds needs;
    for (const std::string& l : lines) needs.Add(l);
    ScriptedUi fullUi, leanUi;
    Editor full(fullUi), lean(leanUi);
    lean.KeepResetCopy = needs.Reset;
    ASSERT_TRUE(full.LoadStartImage(image));
    ASSERT_TRUE(lean.LoadStartImage(image));
    lean.SetUndoDepth(std::min(lean.Undo.Levels(), needs.Undos));
    EXPECT_TRUE(needs.Undos == 0 || lean.Undo.Levels() == needs.Undos);
    EXPECT_TRUE(needs.Reset || lean.ResetSurface.Width() == 256) << "no copy for a run that never resets";
    for (const std::string& l : lines) {
      ASSERT_EQ(ReplayLine(full, l).Status, ReplayStatus::Done) << l;
      ASSERT_EQ(ReplayLine(lean, l).Status, ReplayStatus::Done) << l;
      ASSERT_TRUE(test::SamePixels(full.WorkSurface, lean.WorkSurface)) << l;
      EXPECT_TRUE(needs.Undos > 0 || lean.Undo.Empty()) << "no snapshots at all";
    }
  }
  std::remove(image.c_str());
  ReplayNeeds needs;
  for (const char* l : {"UnDo", "UnDo\r\n", "  ", "Image Reset\r", "Negative", "Undo it"}) needs.Add(l);
  EXPECT_EQ(needs.Undos, 2);
  EXPECT_TRUE(needs.Reset);
}

TEST(UndoRing, BoundedInLevelsAndBytes) {
  {  // sixteen pushes on fifteen slots: the oldest goes, the rest come back newest first
    UndoRing ring(15);
    TFastDIB work = Filled(4, 3, 0);
    for (int i = 1; i <= 16; ++i) {
      ring.Push(work);  // snapshot of the image before "effect" i
      work = Filled(4, 3, uint8_t(i));
    }
    EXPECT_TRUE(ring.Full());
    EXPECT_EQ(ring.Order(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0}));
    for (int i = 16; i >= 2; --i) {
      ASSERT_TRUE(ring.Pop(work));
      EXPECT_EQ(work.GetPixel(0, 0).R, uint8_t(i - 1)) << i;
    }
    EXPECT_FALSE(ring.Pop(work));
    EXPECT_EQ(work.GetPixel(2, 3).R, 1);
  }
  UndoRing one(1);  // a single level keeps the newest
  TFastDIB a = Filled(2, 2, 1), b = Filled(2, 2, 2);
  one.Push(a);
  one.Push(b);
  EXPECT_EQ(one.Count(), 1);
  TFastDIB out;
  one.Pop(out);
  EXPECT_EQ(out.GetPixel(0, 0).R, 2);

  EXPECT_FALSE(one.SetLevels(0));
  EXPECT_EQ(one.Levels(), 1);

  UndoRing ring(UndoRing::kMaxLevels);  // slots take memory only when used
  EXPECT_FALSE(ring.SetLevels(UndoRing::kMaxLevels + 1));
  EXPECT_FALSE(UndoRing(2147483647).Levels() > UndoRing::kMaxLevels);

  // Room for three 4 x 3 snapshots (36 bytes each): the oldest go first.
  ring.SetByteLimit(3 * 36);
  TFastDIB work = Filled(4, 3, 0);
  for (int i = 1; i <= 4; ++i) {
    ASSERT_TRUE(ring.Push(work));
    work = Filled(4, 3, uint8_t(i));
  }
  EXPECT_EQ(ring.Dropped(), 1);
  EXPECT_EQ(ring.Order(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(ring.Bytes(), 3u * 36);
  // A snapshot larger than the whole limit is refused and changes nothing.
  TFastDIB big = Filled(7, 7, 9);
  EXPECT_FALSE(ring.Push(big));
  EXPECT_EQ(ring.Order(), (std::vector<int>{1, 2, 3}));
  ASSERT_TRUE(ring.Pop(work));
  EXPECT_EQ(work.GetPixel(0, 0).R, 3);
  EXPECT_TRUE(ring.Push(Filled(6, 6, 9)) && ring.Dropped() == 2);  // exactly the limit: all older ones go
}

TEST(UndoRing, CommandWithoutMemoryIsRefusedAndChangesNothing) {
  test::EditorFixture<> f;
  const TFastDIB before = f.Snapshot();
  f.ed.Undo.SetByteLimit(1000);  // less than one 256 x 256 snapshot
  f.OpenLog("vorq_refused_log.txt");
  f.ed.MenuEffect(fx::Negative);
  f.ed.MenuEffect(fx::Blur);
  EXPECT_EQ(f.CloseLog(), "") << "no line for a command that did not run";
  EXPECT_EQ(f.ui.Messages.size(), 2u);
  EXPECT_TRUE(f.Unchanged(before) && f.ed.Undo.Empty());

  // Memory running out half-way: the image comes back from the command's snapshot.
  f.ed.Undo.SetByteLimit(UndoRing::kDefaultByteLimit);
  EXPECT_FALSE(f.ed.Guarded([&] {
    f.ed.BeginEffect();
    f.ed.WorkSurface.SetPixel(0, 0, MakePixel(1, 2, 3));
    throw std::bad_alloc();
  }));
  EXPECT_TRUE(f.Unchanged(before) && f.ed.Undo.Empty());
  EXPECT_EQ(f.ui.Messages.size(), 3u);
  f.ed.PushUndo();  // an older snapshot is not the failing command's to pop
  EXPECT_FALSE(f.ed.Guarded([] { throw std::bad_alloc(); }));
  EXPECT_EQ(f.ed.Undo.Count(), 1);
  // Past the byte limit the oldest level goes, and the status says so.
  f.ed.Undo.SetByteLimit(size_t(1) << 20);  // five 256 x 256 snapshots
  for (int i = 0; i < 6; ++i) f.ed.MenuEffect(fx::Negative);
  EXPECT_EQ(f.ui.Notices.back(), "1 oldest undo level dropped to keep undo memory under 1 MiB.");
}

// A stopped command with exactly as many snapshots as levels: its own
// snapshot waits, so no level is lost and the image is as it was.
TEST(UndoRing, StoppedCommandKeepsEveryLevel) {
  struct StopUi : ScriptedUi {
    bool CanStop() const override { return true; }
    bool Progress(int64_t, int64_t) override { return false; }
  };
  test::EditorFixture<StopUi> f(61, 37);
  f.ed.SetUndoDepth(2);
  f.ed.PushUndo();
  f.ed.PushUndo();
  const TFastDIB before = f.Snapshot();
  f.ed.MenuEffect(fx::Twist);
  EXPECT_TRUE(f.Unchanged(before) && f.ed.Undo.Count() == 2);
  EXPECT_EQ(f.ed.Status[kPanelEffect], "Stopped: the image is as it was.");
}
