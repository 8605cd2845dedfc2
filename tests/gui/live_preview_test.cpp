// The tool box's Preview check box: a pause in the typing shows the effect,
// an edit meanwhile stops the running one, unchecking puts the image back.
#include <QCheckBox>

#include "core/effects/distortions.h"
#include "gui/mainwin/image_view.h"
#include "gui/toolbox/live_preview.h"
#include "gui/toolbox/tf_toolbox.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

struct Previewing : Fixture {
  Previewing() {
    PaintPattern();
    Select("Twist");
  }
  TfToolBox* box() { return window->toolBox(); }
  QCheckBox* preview() { return Child<QCheckBox>(box(), "cbPreview"); }
  // The canvas's bytes, row by row without padding.
  std::vector<uint8_t> Canvas() {
    const QImage image = window->imageView()->Image();
    std::vector<uint8_t> bytes;
    for (int y = 0; y < image.height(); ++y)
      bytes.insert(bytes.end(), image.constScanLine(y), image.constScanLine(y) + 3 * image.width());
    return bytes;
  }
  static std::vector<uint8_t> Rows(const TFastDIB& s) {
    std::vector<uint8_t> bytes;
    for (int y = 0; y < s.Height(); ++y) bytes.insert(bytes.end(), s.RowTable[y], s.RowTable[y] + 3 * s.Width());
    return bytes;
  }
  std::vector<uint8_t> Twisted(int amount) {
    TFastDIB out, scratch;
    CopySurface(editor().WorkSurface, out);
    Twist(out, scratch, amount);
    return Rows(out);
  }
};

}  // namespace

void ToolBoxTest::typingPreviewsAfterThePauseAndUncheckingRestores() {
  Previewing f;
  const auto original = f.Canvas();
  const auto expected = f.Twisted(300);

  f.preview()->setChecked(true);
  Type(Child<QLineEdit>(f.box(), "eAmtMain"), "300");
  QCOMPARE(f.Canvas(), original);  // nothing before the pause
  QTRY_COMPARE_WITH_TIMEOUT(f.Canvas(), expected, 5000);

  f.preview()->setChecked(false);
  QCOMPARE(f.Rows(f.editor().WorkSurface), original);
  QCOMPARE(f.editor().EffectVals[fx::Twist], 100);  // the stored value as it was
  QVERIFY(f.editor().Undo.Empty());
  // Typing with the box unchecked shows nothing.
  Type(Child<QLineEdit>(f.box(), "eAmtMain"), "200");
  QTest::qWait(2 * LivePreview::kPauseMs);
  QCOMPARE(f.Canvas(), original);

  // Effects that ask first (Tint's colour dialog) have no preview.
  f.Select("Tint");
  QVERIFY(!f.preview()->isEnabled());
}

void ToolBoxTest::anEditWhileRunningStopsItAndShowsTheNewValue() {
  Previewing f;
  f.editor().WorkSurface.SetSize(2048, 1536, 24, 0);
  f.PaintPattern();
  const auto expected = f.Twisted(120);
  f.preview()->setChecked(true);
  Type(Child<QLineEdit>(f.box(), "eAmtMain"), "400");
  // Fires while the first preview's pixels change (the window's messages run meanwhile).
  bool sawRunning = false;
  QTimer::singleShot(LivePreview::kPauseMs + 40, [&] {
    sawRunning = f.box()->livePreview()->Running();
    Type(Child<QLineEdit>(f.box(), "eAmtMain"), "120");
  });
  QTRY_VERIFY_WITH_TIMEOUT(!f.box()->livePreview()->Running() && f.Rows(f.editor().WorkSurface) == expected, 20000);
  if (!sawRunning) qWarning("the first preview ended before the second edit");
  QVERIFY(f.editor().Undo.Empty());
}

}  // namespace vorq::gui::test
