// The tool box's Preview check box: a pause in the typing shows the effect,
// an edit meanwhile stops the running one, unchecking puts the image back.
#include <QCheckBox>

#include "core/effects/distortions.h"
#include "gui/toolbox/live_preview.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

struct Previewing : Fixture {
  Previewing() {
    PaintPattern();
    Select("Twist");
  }
  QCheckBox* preview() { return Child<QCheckBox>(box(), "cbPreview"); }
  std::vector<uint8_t> Twisted(int amount) {
    TFastDIB out, scratch;
    CopySurface(editor().WorkSurface, out);
    Twist(out, scratch, amount);
    return Rows(out);
  }
};

}  // namespace

void ToolBoxTest::previewFollowsTypingPausesAndEdits() {
  Previewing f;
  const auto original = f.Shown();
  const auto expected = f.Twisted(300);

  f.preview()->setChecked(true);
  Type(Child<QLineEdit>(f.box(), "eAmtMain"), "300");
  QCOMPARE(f.Shown(), original);  // nothing before the pause
  QTRY_COMPARE_WITH_TIMEOUT(f.Shown(), expected, 5000);

  f.preview()->setChecked(false);
  QCOMPARE(Rows(f.editor().WorkSurface), original);
  QCOMPARE(f.editor().EffectVals[fx::Twist], 100);  // the stored value as it was
  QVERIFY(f.editor().Undo.Empty());
  // Typing with the box unchecked shows nothing.
  Type(Child<QLineEdit>(f.box(), "eAmtMain"), "200");
  QTest::qWait(2 * LivePreview::kPauseMs);
  QCOMPARE(f.Shown(), original);

  // Effects that ask first (Tint's colour dialog) have no preview.
  f.Select("Tint");
  QVERIFY(!f.preview()->isEnabled());

  // An edit while a preview runs stops it and shows the new value.
  f.Select("Twist");
  f.editor().WorkSurface.SetSize(2048, 1536, 24, 0);
  f.PaintPattern();
  const auto twisted = f.Twisted(120);
  f.preview()->setChecked(true);
  Type(Child<QLineEdit>(f.box(), "eAmtMain"), "400");
  // Fires while the first preview's pixels change (the window's messages run meanwhile).
  bool sawRunning = false;
  // The rest of the program takes no input while a preview runs.
  QLineEdit outside;
  int tries = 0;
  QTimer typing;
  QObject::connect(&typing, &QTimer::timeout, [&] {
    if (!f.box()->livePreview()->Running()) return;
    QTest::keyClicks(&outside, "x");
    ++tries;
  });
  typing.start(5);
  QTimer::singleShot(LivePreview::kPauseMs + 40, [&] {
    sawRunning = f.box()->livePreview()->Running();
    Type(Child<QLineEdit>(f.box(), "eAmtMain"), "120");
  });
  QTRY_VERIFY_WITH_TIMEOUT(!f.box()->livePreview()->Running() && Rows(f.editor().WorkSurface) == twisted, 20000);
  if (!sawRunning) qWarning("the first preview ended before the second edit");
  QVERIFY(tries > 0 && outside.text().isEmpty());
  QVERIFY(f.editor().Undo.Empty());
}

}  // namespace vorq::gui::test
