// The tool box's colour sliders: the panel, the live preview, OK and Cancel.
// (The slider arithmetic and its log line are pinned in the editor tests.)
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "gui/mainwin/image_view.h"
#include "gui/toolbox/tf_toolbox.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

void ColorSlidersTest::bothButtonsTogglePanelAndHeight() {
  Fixture f;
  TfToolBox* box = f.window->toolBox();
  QWidget* panel = Child(box, "pnlColors");
  QVERIFY(panel->isHidden());
  Child<QToolButton>(box, "bCols2")->click();
  QVERIFY(!panel->isHidden());
  QCOMPARE(box->height(), 446);
  QVERIFY(Child(box, "bGood")->isHidden() && Child(box, "bBad")->isHidden());
  auto* bColor = Child<QToolButton>(f.window.get(), "bColor");
  bColor->click();
  QVERIFY(panel->isHidden());
  QCOMPARE(box->height(), 270);
  bColor->click();
  QCOMPARE(box->height(), 446);
}

// Each bar previews in the view only; OK commits the preview with one
// snapshot, Cancel shows the image again; both put the bars back.
void ColorSlidersTest::previewThenOkOrCancel() {
  Fixture f;
  f.PaintPattern();
  TfToolBox* box = f.window->toolBox();
  ImageView* view = f.window->imageView();
  auto bar = [&](const char* name) { return Child<QScrollBar>(box, name); };
  auto good = Child<QPushButton>(box, "bGood"), bad = Child<QPushButton>(box, "bBad");
  const TPixel24 p = f.editor().WorkSurface.GetPixel(3, 5);
  const auto before = f.Pixels();
  const struct {
    const char* bar;
    QColor shown;
  } bars[] = {{"sbRed", QColor(std::min(255, p.R + 45), p.G, p.B)},
              {"sbGreen", QColor(p.R, std::min(255, p.G + 45), p.B)},
              {"sbBlue", QColor(p.R, p.G, std::min(255, p.B + 45))},
              {"sbBright", QColor(p.R + (((255 - p.R) * 45) >> 8), p.G + (((255 - p.G) * 45) >> 8),
                                  p.B + (((255 - p.B) * 45) >> 8))}};
  for (const auto& b : bars) {
    bar(b.bar)->setValue(300);
    QVERIFY(view->ShowingPreview());
    QCOMPARE(view->Image().pixelColor(5, 3), b.shown);
    QCOMPARE(f.Pixels(), before);
    QVERIFY(!f.window->isEnabled() && box->isEnabled() && !good->isHidden() && !bad->isHidden());
    bad->click();
    QCOMPARE(bar(b.bar)->value(), 255);
    QVERIFY(!view->ShowingPreview() && f.window->isEnabled() && good->isHidden());
    QCOMPARE(view->Image().pixelColor(5, 3), QColor(p.R, p.G, p.B));
  }
  QCOMPARE(f.Pixels(), before);
  QVERIFY(f.editor().Undo.Empty());

  bar("sbRed")->setValue(300);
  bar("sbSaturation")->setValue(0);
  const QImage preview = view->Image();
  QTest::mouseClick(good, Qt::LeftButton);
  QCOMPARE(f.editor().Undo.Count(), 1);
  QCOMPARE(f.editor().WorkSurface.GetPixel(3, 5), MakePixel(uint8_t(preview.pixelColor(5, 3).red()),
                                                            uint8_t(preview.pixelColor(5, 3).green()),
                                                            uint8_t(preview.pixelColor(5, 3).blue())));
  QCOMPARE(bar("sbRed")->value(), 255);
  QCOMPARE(bar("sbSaturation")->value(), 255);
  QVERIFY(f.window->isEnabled() && !view->ShowingPreview() && good->isHidden());
  f.editor().bUndoClick();
  QCOMPARE(f.Pixels(), before);
}

}  // namespace vorq::gui::test
