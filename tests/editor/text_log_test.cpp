// Replaying text lines through the renderer hook, and the log viewer's file rules.
#include <gtest/gtest.h>

#include "editor/log_view.h"
#include "editor/replay.h"
#include "editor/text_tool.h"
#include "editor_test_util.h"

using namespace vorq;

namespace {

// Stands in for the fonts: marks the line's position in the line's colour
// and remembers what it was asked to draw.
struct MarkRenderer {
  std::vector<TextToolLine> Calls;
  std::string Warning;
  bool Fail = false;
  TextRenderer Hook() {
    return [this](TFastDIB& s, const TextToolLine& l, std::string& message) {
      Calls.push_back(l);
      if (Fail) {
        message = "refused";
        return false;
      }
      message = Warning;
      if (l.X >= 0 && l.Y >= 0 && l.X < s.Width() && l.Y < s.Height())
        s.SetPixel(l.Y, l.X, MakePixel(uint8_t(l.Color), uint8_t(l.Color >> 8), uint8_t(l.Color >> 16)));
      return true;
    };
  }
};

struct RendererScope {
  explicit RendererScope(TextRenderer r) { SetTextRenderer(std::move(r)); }
  ~RendererScope() { SetTextRenderer({}); }
};

}  // namespace

TEST(TextReplay, DrawsTakesASnapshotAndLogsTheSameLineOrRefuses) {
  const std::string line =
      "Text Tool, Font Liberation Sans, Size 20, Color R: 255 G: 0 B: 0, Style Normal \"two\\nlines\" , Location X 3 "
      "Y 4, Alignment Right";
  test::EditorFixture<> f(16, 9);
  const TFastDIB before = f.Snapshot();
  // Without fonts the line is refused before anything changes.
  EXPECT_EQ(ReplayLine(f.ed, line).Status, ReplayStatus::Error);
  EXPECT_TRUE(f.ed.Undo.Empty() && f.Unchanged(before));

  MarkRenderer r;
  RendererScope scope(r.Hook());
  f.OpenLog("vorq_text_replay.txt");
  ReplayOutcome out = ReplayLine(f.ed, line + "\r\n");
  EXPECT_EQ(out.Status, ReplayStatus::Done);
  ASSERT_EQ(r.Calls.size(), 1u);
  EXPECT_EQ(r.Calls[0].Text, "two\nlines");
  EXPECT_EQ(r.Calls[0].Align, TextAlign::Right);
  EXPECT_EQ(f.ed.WorkSurface.GetPixel(4, 3), MakePixel(255, 0, 0));
  EXPECT_EQ(f.CloseLogLines(), std::vector<std::string>{line});
  f.ed.bUndoClick();
  EXPECT_TRUE(f.Unchanged(before));

  const std::string good =
      "Text Tool, Font Nowhere Sans, Size 8, Color R: 0 G: 0 B: 0, Style Bold \"x\" , Location X 0 Y 0";
  r.Warning = "the font \"Nowhere Sans\" is not installed";
  out = ReplayLine(f.ed, good);
  EXPECT_EQ(std::pair(out.Status, out.Message), std::pair(ReplayStatus::Done, r.Warning));
  r.Fail = true;
  out = ReplayLine(f.ed, good);
  EXPECT_EQ(std::pair(out.Status, out.Message), std::pair(ReplayStatus::Error, std::string("refused")));
  out = ReplayLine(f.ed, "Text Tool, Font Arial, Size 8, Style Bold \"x\" , Location X 0 Y 0");  // no colour
  EXPECT_TRUE(out.Status == ReplayStatus::Error && out.Message.find("expected") != std::string::npos) << out.Message;
}

TEST(LogView, ImageNameAndLinesOfTheLog) {
  EXPECT_EQ(ImageNameForLog("/home/ann/logs/day1.txt"), "day1.jpg");
  EXPECT_EQ(ImageNameForLog("/home/ann/txtlogs/day1.txt"), "day1.txt");
  EXPECT_EQ(ImageNameForLog("/home/ann/logs/DAY1.TXT"), "DAY1.jpg");
  EXPECT_EQ(ImageNameForLog("/home/ann/logs/day1.TxT.txt"), "day1.jpg.txt");
  EXPECT_EQ(ImageNameForLog("day1.txt"), "day1.jpg");

  // The viewer's lines round trip with carriage returns.
  const std::string path = ::testing::TempDir() + "vorq_log_view.txt";
  std::string error;
  const std::vector<std::string> lines{"Log starts  - current Gradient: Width 256", "", "Blur", "UnDo"};
  ASSERT_TRUE(WriteLogLines(path, lines, error)) << error;
  EXPECT_EQ(test::ReadText(path), "Log starts  - current Gradient: Width 256\r\n\r\nBlur\r\nUnDo\r\n");
  std::vector<std::string> back;
  ASSERT_TRUE(ReadLogLines(path, back, error)) << error;
  EXPECT_EQ(back, lines);

  // A last line without its end, and LF-only lines, as a hand edit may leave them.
  {
    std::ofstream out(path, std::ios::binary);
    out << "a\nb\r\nc";
  }
  ASSERT_TRUE(ReadLogLines(path, back, error));
  EXPECT_EQ(back, (std::vector<std::string>{"a", "b", "c"}));

  EXPECT_FALSE(WriteLogLines(::testing::TempDir() + "no/such/dir/VorqLog.txt", lines, error));
}
