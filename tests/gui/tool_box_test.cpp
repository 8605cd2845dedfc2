// The tool box's parameter panel and the Create-A-Filter dialog.
#include <clocale>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

QString LabelText(QWidget* box, const char* name) { return Child<QLabel>(box, name)->text(); }
QLineEdit* Edit(QWidget* box, const char* name) { return Child<QLineEdit>(box, name); }
bool Shown(QWidget* box, const char* name) { return !Child(box, name)->isHidden(); }

}  // namespace

void ToolBoxTest::showsTheSelectedEffectsFields() {
  Fixture f;
  TfToolBox* box = f.window->toolBox();
  QStringList captions = Captions(box);
  captions.removeIf([](const QString& c) { return c.startsWith("lbl"); });  // the fields' labels wait for an effect
  QCOMPARE(captions,
           QStringList({"Apply Current effect", "Blue", "Brush Color", "Bump Map", "Cancel", "Choose an effect...",
                        "Contrast", "Currently selected effect", "D", "Draw Ellipse", "Draw Rectangle",
                        "Draw a Line using current Pen Mode", "Fill Ellipses and rectangles with brush color",
                        "Fill Shape",
                        "Flood Fill also fills colours within this distance of the clicked one (0: exact)",
                        "Flood Fill an area with Brush Color", "Freehand draw", "Green", "Invoke Text Designer...",
                        "L/R Height", "Lightness", "OK", "Pen Color", "Pen Size", "Preview", "Red",
                        "Reset to Default", "Saturation", "Seams", "Seams that Seamless Edge and Edge Merge join",
                        "Select an area of the Image...", "Set Pen Color to color under cursor", "Set Width of Pen",
                        "Show the effect with the values typed, before Apply", "Show/Hide Color Sliders on Toolbox",
                        "Tool Box", "UnDo", "Use Peaks", "Uses Brush color for HiLite and PenColor for Shadow",
                        "Wrap", "Y Pos"}));
  f.Select("Blur");
  QCOMPARE(LabelText(box, "lblHelp"), QString("No User Settings"));
  QVERIFY(!Shown(box, "eAmtMain") && !Shown(box, "btnDefault"));

  f.Select("Classic Emboss");
  QVERIFY(Shown(box, "eAmtMain") && !Shown(box, "eAmtSecond"));
  QCOMPARE(LabelText(box, "lblHelp"), QString("Range: 1 - 510"));

  f.Select("Scroll");
  QVERIFY(Shown(box, "sbLR") && Shown(box, "sbUD"));
  QCOMPARE(Child<QScrollBar>(box, "sbUD")->minimum(), -256);
  f.Select("HeightMap");
  QVERIFY(Shown(box, "cbBump"));
  f.Select("SuperNova");
  QVERIFY(Shown(box, "eYPos"));

  // The seam choice is taken at once.
  f.Select("Seamless Edge");
  auto* seams = Child<QComboBox>(box, "cbSeams");
  QVERIFY(Shown(box, "cbSeams") && seams->currentText() == "Both");
  seams->setCurrentIndex(1);
  emit seams->activated(1);
  QVERIFY(f.editor().ToolBox.Seams == SeamAxis::LeftRight);
  if (!qEnvironmentVariableIsEmpty("VORQ_SHOTS")) box->grab().save(qEnvironmentVariable("VORQ_SHOTS") + "/seams.png");

  // Use Peaks switches the first field's meaning; both boxes reach the editor.
  f.Select("SineWave U/D");
  Child<QCheckBox>(box, "ckbxPeaks")->click();
  QVERIFY(!f.editor().ToolBox.PeaksChecked);
  QCOMPARE(LabelText(box, "lblMain"), QString("Wavelength"));
  Child<QCheckBox>(box, "ckbxWrap")->click();
  QVERIFY(!f.editor().ToolBox.WrapChecked);
}

void ToolBoxTest::applyScrollAndResetUseTheTypedValues() {
  Fixture f;
  f.PaintPattern();
  TfToolBox* box = f.window->toolBox();
  f.Select("Classic Emboss");
  Edit(box, "eAmtMain")->setText("abc");
  Child<QToolButton>(box, "bGo2")->click();
  QCOMPARE(f.messages, QStringList({"'abc' is not a valid integer value"}));
  QVERIFY(f.editor().Undo.Empty());

  const auto before = f.Pixels();
  Edit(box, "eAmtMain")->setText("100");
  Child<QToolButton>(box, "bGo2")->click();
  QCOMPARE(f.editor().EffectVals[fx::ClassicEmboss], 100);
  QVERIFY(f.Pixels() != before);

  // The reset button puts the default back into the box and the stored value.
  Child<QToolButton>(box, "btnDefault")->click();
  QCOMPARE(Edit(box, "eAmtMain")->text(), QString("250"));
  QCOMPARE(f.editor().EffectVals[fx::ClassicEmboss], 250);

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
        QCOMPARE(Captions(dialog),
                 QStringList({"3 x 3 Convolution filter.  Each box represents a pixel, except the one on the right, "
                              "which is used as a divisor.  Each pixels color value is multiplied by the specified "
                              "value, summed, then divided by the divisor. (Don't use 0)",
                              "Cancel", "Create-A-Filter", "Negative numbers are allowed, but not real numbers.",
                              "OK"}));
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
  QVERIFY(f.Pixels() == scrolled);
  QCOMPARE(f.editor().Filter.e[4], std::string("-3"));
  answer(true);
  f.window->action("DesignYourOwn1")->trigger();
  QCOMPARE(f.editor().Filter.e[4], std::string("9"));
  QVERIFY(f.Pixels() != scrolled);
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
    QCOMPARE(QString::fromStdString(*stored.Get("EffectVals", "FishVal")), QString("0.800000011920929"));
    QCOMPARE(QString::fromStdString(*stored.Get("EffectVals", "UDPeakVal")), QString("2.5"));
  }
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace vorq::gui::test
