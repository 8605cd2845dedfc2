// The tool box's colour sliders: the panel, the live preview, OK and Cancel.

#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

const char* const kBars[] = {"sbBright", "sbContrast", "sbSaturation", "sbRed", "sbGreen", "sbBlue"};

struct Sliders : Fixture {
  QScrollBar* bar(const char* name) { return Child<QScrollBar>(box(), name); }
  QPushButton* button(const char* name) { return Child<QPushButton>(box(), name); }
  bool AllNeutral() {
    for (const char* name : kBars)
      if (bar(name)->value() != 255) return false;
    return true;
  }
  std::vector<uint8_t> WorkRows() { return Rows(editor().WorkSurface); }
};

}  // namespace

void ToolBoxTest::slidersPanelPreviewOkAndCancel() {
  Sliders f;
  // The tool box's button and the main window's both toggle the panel and the tool box's height.
  QWidget* panel = Child(f.box(), "pnlColors");
  QVERIFY(panel->isHidden());
  Child<QToolButton>(f.box(), "bCols2")->click();
  QCOMPARE(f.box()->height(), 446);
  auto* bColor = Child<QToolButton>(f.window.get(), "bColor");
  bColor->click();
  QVERIFY(panel->isHidden());
  QCOMPARE(f.box()->height(), 270);
  bColor->click();
  QCOMPARE(f.box()->height(), 446);

  f.PaintPattern();
  f.StartLog();
  const TPixel24 p = f.editor().WorkSurface.GetPixel(3, 5);
  const int snapshots = f.editor().Undo.Count();
  const auto before = f.Pixels();

  // The preview shows in the view; the image and the main window wait for OK.
  f.bar("sbRed")->setValue(300);
  QCOMPARE(f.Pixels(), before);
  QVERIFY(f.window->imageView()->ShowingPreview());
  QCOMPARE(f.window->imageView()->Image().pixelColor(5, 3), QColor(std::min(255, p.R + 45), p.G, p.B));
  QVERIFY(!f.window->isEnabled());
  QVERIFY(f.box()->isEnabled() && !f.button("bGood")->isHidden());

  const auto preview = f.Shown();
  QTest::mouseClick(f.button("bGood"), Qt::LeftButton);
  QCOMPARE(f.WorkRows(), preview);
  QCOMPARE(f.editor().Undo.Count(), snapshots + 1);
  QVERIFY(f.AllNeutral());
  QVERIFY(f.window->isEnabled() && f.button("bGood")->isHidden());

  QCOMPARE(f.LoggedLines(), QStringList({"ToolBox Sliders to positions:  Lightness 0, Contrast 0, Saturation 0, "
                                         "Red 45, Green 0, Blue 0"}));

  // Undo takes back exactly the slider change.
  f.editor().bUndoClick();
  QCOMPARE(f.Pixels(), before);

  // Cancel puts the image and the bars back, and takes no snapshot.
  f.bar("sbBright")->setValue(400);
  f.bar("sbSaturation")->setValue(0);
  f.bar("sbContrast")->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QVERIFY(f.Shown() != f.WorkRows());

  f.button("bBad")->click();
  QCOMPARE(f.Pixels(), before);
  QCOMPARE(f.Shown(), f.WorkRows());
  QCOMPARE(f.editor().Undo.Count(), snapshots);
  QVERIFY(f.AllNeutral());
  // Setting the bars back previews nothing: the main window stays usable.
  QVERIFY(f.window->isEnabled());
}

}  // namespace vorq::gui::test
