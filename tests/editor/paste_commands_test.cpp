// Paste Transparent's colour choices and resizing, placing a selection.
// (An empty clipboard is tried with the real one in the window tests.)
#include <climits>

#include "core/raster/pen.h"
#include "editor/replay.h"
#include "editor_test_util.h"

namespace vorq::test {
namespace {

constexpr TPixel24 kWhite = MakePixel(255, 255, 255);

// A w x h clipboard picture: white where (x + y) % 3 == 0 (the lower-left
// pixel too when (h - 1) % 3 == 0), a colour from the position elsewhere.
void FillClip(TFastDIB& c, int w, int h) {
  c.SetSize(w, h, 24, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) c.SetPixel(y, x, (x + y) % 3 == 0 ? kWhite : MakePixel(uint8_t(10 + x), 0, uint8_t(y)));
}

TEST(PasteCommands, TransparentLeavesItsKeyColourOut) {
  // 7 x 4 onto 7 x 5 (stretched though the widths agree): every image pixel
  // shows clipboard pixel (x, y * 4 / 5) unless that one is white (the lower-left colour).
  EditorFixture f(7, 5);
  f.OpenLog("paste_transparent.txt");
  FillClip(f.ui.Clipboard, 7, 4);
  f.ui.Clipboard.SetPixel(3, 0, kWhite);
  f.ui.Clipboard.SetPixel(0, 0, MakePixel(9, 9, 9));  // the key is the lower-left pixel, not the first
  const TFastDIB before = f.Snapshot();
  f.ed.Transparent1Click();
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      const TPixel24 c = f.ui.Clipboard.GetPixel(y * 4 / 5, x);
      EXPECT_EQ(f.ed.WorkSurface.GetPixel(y, x), c == kWhite ? before.GetPixel(y, x) : c) << x << "," << y;
    }
  EXPECT_FALSE(f.ed.Undo.Empty());
  EXPECT_EQ(f.CloseLogLines(), std::vector<std::string>{"Paste Transparent"});
  // The batch tool replays the line with the options as they stand.
  const TFastDIB pasted = f.Snapshot();
  CopySurface(before, f.ed.WorkSurface);
  ASSERT_EQ(ReplayLine(f.ed, "Paste Transparent").Status, ReplayStatus::Done);
  EXPECT_TRUE(f.Unchanged(pasted));

  // Unresized, the pen colour as the key.
  EditorFixture g(5, 4);
  FillClip(g.ui.Clipboard, 7, 2);  // wider than the image and shorter: clipped, drawn at its own size
  g.ed.Transparent.ReSize = false;
  g.ed.Transparent.Mode = TransparentOptions::Source::Pen;
  g.ed.ToolBox.PenColor = ColourFromPixel(MakePixel(11, 0, 1));  // the clipboard's (1, 1)
  const TFastDIB start = g.Snapshot();
  g.ed.Transparent1Click();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool inClip = y < 2 && !(x == 1 && y == 1);
      EXPECT_EQ(g.ed.WorkSurface.GetPixel(y, x), inClip ? g.ui.Clipboard.GetPixel(y, x) : start.GetPixel(y, x));
    }
}

TEST(PasteCommands, SelectionIsClippedAtAnyPlace) {
  EditorFixture f(5, 3);
  FillClip(f.ui.Clipboard, 2, 2);
  const TFastDIB before = f.Snapshot();
  for (int v : {INT_MIN, INT_MIN + 1, -2, 5, INT_MAX - 1, INT_MAX}) {
    f.ed.PasteAsSelectionAt(v, 0);
    f.ed.PasteAsSelectionAt(0, v);
  }
  EXPECT_TRUE(f.Unchanged(before));
  f.OpenLog("paste_selection.txt");
  f.ed.PlaceSelection(TFastDIB(), 0, 0);  // nothing to place: no line
  f.ed.PasteAsSelectionAt(4, -1);  // only the clipboard's (0, 1) lands, at (4, 0)
  EXPECT_EQ(f.CloseLogLines(), std::vector<std::string>{"Paste As Selection at Left 4, Top -1"});
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(f.ed.WorkSurface.GetPixel(y, x), x == 4 && y == 0 ? f.ui.Clipboard.GetPixel(1, 0) : before.GetPixel(y, x));
}

}  // namespace
}  // namespace vorq::test
