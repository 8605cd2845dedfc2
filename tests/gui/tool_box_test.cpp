// The tool box: its parameter panel, the Create-A-Filter dialog, the Preview check box (a pause in
// the typing shows the effect, an edit stops the running one) and the colour sliders.
#include <algorithm>
#include <clocale>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "core/effects/distortions.h"
#include "gui/toolbox/live_preview.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

QString LabelText(QWidget* box, const char* name) { return Child<QLabel>(box, name)->text(); }
QLineEdit* Edit(QWidget* box, const char* name) { return Child<QLineEdit>(box, name); }
bool Shown(QWidget* box, const char* name) { return !Child(box, name)->isHidden(); }

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

void ToolBoxTest::showsTheSelectedEffectsFields() {
  Fixture f;
  TfToolBox* box = f.window->toolBox();
  f.Select("Blur");
  QVERIFY(LabelText(box, "lblHelp") == "No User Settings" && !Shown(box, "eAmtMain") && !Shown(box, "btnDefault"));
  f.Select("Classic Emboss");
  QVERIFY(LabelText(box, "lblHelp") == "Range: 1 - 510" && Shown(box, "eAmtMain") && !Shown(box, "eAmtSecond"));
  f.Select("Scroll");
  QVERIFY(Shown(box, "sbLR") && Shown(box, "sbUD") && Child<QScrollBar>(box, "sbUD")->minimum() == -256);
  for (auto [effect, field] : {std::pair{"HeightMap", "cbBump"}, {"SuperNova", "eYPos"}}) {
    f.Select(effect);
    QVERIFY2(Shown(box, field), field);
  }

  // The seam choice is taken at once.
  f.Select("Seamless Edge");
  auto* seams = Child<QComboBox>(box, "cbSeams");
  QVERIFY(Shown(box, "cbSeams") && seams->currentText() == "Both");
  seams->setCurrentIndex(1);
  emit seams->activated(1);
  QVERIFY(f.editor().ToolBox.Seams == SeamAxis::LeftRight);

  // Use Peaks switches the first field's meaning; both boxes reach the editor.
  f.Select("SineWave U/D");
  Child<QCheckBox>(box, "ckbxPeaks")->click();
  QVERIFY(!f.editor().ToolBox.PeaksChecked && LabelText(box, "lblMain") == "Wavelength");
  Child<QCheckBox>(box, "ckbxWrap")->click();
  QVERIFY(!f.editor().ToolBox.WrapChecked);
}

void ToolBoxTest::applyScrollAndResetUseTheTypedValues() {
  Fixture f;
  f.PaintPattern();
  TfToolBox* box = f.window->toolBox();
  f.Select("Classic Emboss");
  const auto before = f.Pixels();
  Edit(box, "eAmtMain")->setText("100");
  Child<QToolButton>(box, "bGo2")->click();
  QVERIFY(f.editor().EffectVals[fx::ClassicEmboss] == 100 && f.Pixels() != before);

  // The reset button puts the default back into the box and the stored value.
  Child<QToolButton>(box, "btnDefault")->click();
  QVERIFY(Edit(box, "eAmtMain")->text() == "250" && f.editor().EffectVals[fx::ClassicEmboss] == 250);

  // The tool box's undo button is the main window's undo.
  Child<QToolButton>(box, "SpeedButton1")->click();
  QVERIFY(f.Pixels() == before);

  // Scroll's bars move the image by the typed amount.
  f.Select("Scroll");
  const auto pixel = [&](int y, int x) { return f.editor().WorkSurface.GetPixel(y, x); };
  const TPixel24 origin = pixel(5, 0);
  Edit(box, "eAmtMain")->setText("10");
  auto* lr = Child<QScrollBar>(box, "sbLR");
  lr->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  QCOMPARE(pixel(5, 10), origin);  // right
  auto* ud = Child<QScrollBar>(box, "sbUD");
  ud->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  QCOMPARE(pixel(15, 10), origin);  // down

  // Design Your Own: Cancel keeps the image and the kernel; OK runs the typed one.
  const auto scrolled = f.Pixels();
  auto answer = [&](bool ok) {
    WhenModal([ok](QWidget* dialog) {
      if (!ok) {
        QStringList kernel;
        for (const char* name : {"e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8", "e9", "eDiv"})
          kernel << Edit(dialog, name)->text();
        QCOMPARE(kernel.join(" "), QString("2 1 1 1 -3 -1 1 -1 -1 1"));
      }
      Edit(dialog, "e5")->setText("9");
      Child<QPushButton>(dialog, ok ? "bOK" : "bCancel")->click();
      // Laid out as the kernel: e1 e2 e3 the top row, e4 under e1; the divisor right of the middle row.
      QVERIFY(Edit(dialog, "e2")->y() == Edit(dialog, "e1")->y() && Edit(dialog, "e4")->x() == Edit(dialog, "e1")->x());
      QVERIFY(Edit(dialog, "eDiv")->y() == Edit(dialog, "e5")->y() && Edit(dialog, "eDiv")->x() > Edit(dialog, "e6")->x());
    });
  };
  answer(false);
  f.window->action("DesignYourOwn1")->trigger();
  QVERIFY(f.Pixels() == scrolled && f.editor().Filter.e[4] == "-3");
  answer(true);
  f.window->action("DesignYourOwn1")->trigger();
  QVERIFY(f.editor().Filter.e[4] == "9" && f.Pixels() != scrolled);
}

// On a desktop whose language writes "0,75", numbers still show and store
// with a point; a typed comma is taken as the point.
void ToolBoxTest::numbersIgnoreTheDesktopLanguage() {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) QSKIP("no de_DE.UTF-8 locale on this machine");
  {
    QTemporaryDir home;
    WriteSettings(home.path(), "[EffectVals]\r\nEffectVals6=250\r\nUDPeakVal=2.5\r\n");
    Fixture f(home.path());
    QCOMPARE(f.editor().Second[UDPeakVal], 2.5);
    TfToolBox* box = f.window->toolBox();
    f.Select("Fisheye");
    QCOMPARE(Edit(box, "eAmtMain")->text(), QString("0.75"));
    Edit(box, "eAmtMain")->setText("0,8");
    Child<QToolButton>(box, "bGo2")->click();
    QVERIFY2(f.messages.isEmpty(), qPrintable(f.messages.join("; ")));
    QCOMPARE(f.editor().Second[FishVal], double(0.8f));
    QVERIFY(f.window->close());
    const IniFile stored = ReadSettings(home.path());
    QCOMPARE(*stored.Get("EffectVals", "FishVal") + " " + *stored.Get("EffectVals", "UDPeakVal"),
             std::string("0.800000011920929 2.5"));
  }
  std::setlocale(LC_ALL, saved.c_str());
}

void ToolBoxTest::previewFollowsTypingPausesAndEdits() {
  Previewing f;
  const auto original = f.Shown();
  const auto expected = f.Twisted(300);

  f.preview()->setChecked(true);
  Type(Child<QLineEdit>(f.box(), "eAmtMain"), "300");
  QCOMPARE(f.Shown(), original);  // nothing before the pause
  QTRY_COMPARE_WITH_TIMEOUT(f.Shown(), expected, 5000);

  f.preview()->setChecked(false);
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

void ToolBoxTest::slidersPanelPreviewOkAndCancel() {
  Sliders f;
  // The tool box's button and the main window's both toggle the panel and the tool box's height.
  QWidget* panel = Child(f.box(), "pnlColors");
  QVERIFY(panel->isHidden());
  // Each bar's name stands beside it.
  for (auto [bar, caption] : {std::pair{"sbRed", "Red"}, {"sbGreen", "Green"}, {"sbBlue", "Blue"}}) {
    const auto labels = panel->findChildren<QLabel*>();
    QVERIFY2(std::any_of(labels.begin(), labels.end(),
                         [&](QLabel* l) { return l->y() == f.bar(bar)->y() && l->text() == caption; }), bar);
  }
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
  const int snapshots = f.editor().Undo.Count();
  const auto before = f.Pixels();

  // The preview shows in the view; the image and the main window wait for OK.
  f.bar("sbRed")->setValue(300);
  QCOMPARE(f.Pixels(), before);
  QVERIFY(f.window->imageView()->ShowingPreview() && !f.window->isEnabled());
  QVERIFY(f.box()->isEnabled() && !f.button("bGood")->isHidden());

  const auto preview = f.Shown();
  QTest::mouseClick(f.button("bGood"), Qt::LeftButton);
  QCOMPARE(f.WorkRows(), preview);
  QCOMPARE(f.editor().Undo.Count(), snapshots + 1);
  QVERIFY(f.AllNeutral() && f.window->isEnabled() && f.button("bGood")->isHidden());

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
  QVERIFY(f.Pixels() == before && f.editor().Undo.Count() == snapshots);
  QCOMPARE(f.Shown(), f.WorkRows());
  // Setting the bars back previews nothing: the main window stays usable.
  QVERIFY(f.AllNeutral() && f.window->isEnabled());
}

}  // namespace vorq::gui::test
