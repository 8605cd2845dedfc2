// "VorqTile.ini": what a start reads and what a close writes; the Options menu and its dialogs, and
// how the tool box follows the main window.
#include <QCoreApplication>
#include <QInputDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>

#include "gui/dialogs/tf_gif.h"
#include "gui/dialogs/tf_jpgcomp.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

// The values of the keys of one section, blank-separated.
QString Values(const IniFile& ini, const char* section, std::initializer_list<const char*> keys) {
  QStringList values;
  for (const char* key : keys) values << QString::fromStdString(ini.Get(section, key).value_or("<missing>"));
  return values.join(' ');
}

QPoint SwatchCentre(int column, int row) { return QPoint(6 + 17 * column + 8, 4 + 17 * row + 8); }

std::array<uint32_t, 256> ThreeColours() {
  std::array<uint32_t, 256> colours{};
  colours[0] = 0x0000FF;  // red
  colours[1] = 0x00FF00;  // green
  colours[2] = 0xFF0000;  // blue
  colours[3] = 0x123456;  // beyond the count below: never shown
  return colours;
}

}  // namespace

void SettingsTest::firstStartUsesDefaultsAndExitWritesEveryKeyOrSaysWhyNot() {
  Fixture f;
  QVERIFY(f.ShowFirst());

  // The window's own part of the file: where it and the tool box stood by default.
  QVERIFY(f.window->close());
  QVERIFY(f.messages.isEmpty());
  const IniFile ini = ReadSettings(f.home.path());
  QCOMPARE(Values(ini, "MainForm", {"Top", "Left", "Width", "Height", "Status", "JPGComp"}),
           QString("1 195 541 446 1 90"));
  QCOMPARE(Values(ini, "MainForm", {"Default Directory"}), QCoreApplication::applicationDirPath());
  QCOMPARE(Values(ini, "ToolBox", {"Top", "Left"}), QString("1 3"));

  // A folder below a plain file can be neither made nor written, whoever runs the test: the close
  // says so and still closes.
  QFile blocker(f.home.filePath("blocker"));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Fixture g(f.home.filePath("blocker/settings"));
  QVERIFY(g.ShowFirst());
  QVERIFY(g.window->close());
  QCOMPARE(g.messages.size(), 1);
  QVERIFY2(g.messages[0].startsWith("The settings could not be saved"), qPrintable(g.messages[0]));
  QVERIFY2(g.messages[0].contains("blocker/settings/VorqTile.ini"), qPrintable(g.messages[0]));
}

void SettingsTest::storedSettingsComeBackAndUnknownKeysStay() {
  QTemporaryDir dir;
  WriteSettings(dir.path(),
                "[Other]\r\nFoo=bar\r\n"
                "[ToolBox]\r\nPen Color=255\r\nLeft=300\r\nTop=20\r\n"
                "[EffectVals]\r\nEffectVals6=250\r\n"
                "[MainForm]\r\nPenStyle=11\r\nSaveDlg=1\r\nSaveWithLog=5\r\nTop=40\r\nLeft=50\r\nWidth=600\r\n"
                "Height=480\r\nDefault Directory=/some/where\r\nMyOwnKey=kept\r\n");
  {
    Fixture f(dir.path());
    QCOMPARE(f.PenSwatch(), QColor(Qt::red));
    QVERIFY(f.window->action("XORPen1")->isChecked());
    QVERIFY(f.window->action("SaveImagewithLogFileName1")->isChecked());
    QCOMPARE(f.window->defaultDirectory(), QString("/some/where"));
    QCOMPARE(QRect(f.window->pos(), f.window->size()), QRect(50, 40, 600, 480));
    QCOMPARE(f.window->toolBox()->pos(), QPoint(300, 20));

    f.window->action("SaveImagewithLogFileName1")->trigger();
    f.window->action("MergePen1")->trigger();
    QVERIFY(f.ShowFirst());
    QVERIFY(f.window->close());
    QVERIFY(f.messages.isEmpty());
  }
  QCOMPARE(Values(ReadSettings(dir.path()), "Other", {"Foo"}), QString("bar"));

  Fixture g(dir.path());
  QVERIFY(g.window->action("MergePen1")->isChecked());
  QVERIFY(!g.window->action("SaveImagewithLogFileName1")->isChecked());
  QVERIFY(g.window->action("PromptforSaveAtTermination1")->isChecked());
}

void SettingsTest::oddStoredValuesAreRefusedOrKeptAside() {
  QTemporaryDir dir;
  WriteSettings(dir.path(), "[EffectVals]\r\nEffectVals6=250\r\n[MainForm]\r\nUndoLevels=0\r\nPenStyle=20\r\n"
                            "Left=-3000\r\nTop=20\r\nWidth=5000\r\nHeight=300\r\n");
  {
    Fixture f(dir.path());
    // Bounds off the screen and larger than it: the window shrinks into its free area.
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(free.contains(f.window->geometry()) && f.window->width() == free.width());
    // The message waits until the window is there to show it over.
    QVERIFY(f.messages.isEmpty());
    QVERIFY(f.ShowFirst());
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages[0].contains("15"), qPrintable(f.messages[0]));
    // An index beyond the menu is kept but checks nothing new; the menu's own item is what gets written.
    QCOMPARE(f.editor().PenStyle, 20);
    QVERIFY(f.window->action("Normal1")->isChecked());
    QVERIFY(f.window->close());
  }
  QCOMPARE(Values(ReadSettings(dir.path()), "MainForm", {"PenStyle"}), QString("0"));
}

void SettingsTest::maximisedOrMinimisedExitKeepsTheNormalBounds() {
  QTemporaryDir dir;
  WriteSettings(dir.path(),
                "[EffectVals]\r\nEffectVals6=250\r\n[MainForm]\r\nTop=10\r\nLeft=20\r\nWidth=600\r\nHeight=500\r\n");
  {
    Fixture f(dir.path());
    QVERIFY(f.ShowFirst());
    f.window->showMaximized();
    QVERIFY(f.window->close());
  }
  QCOMPARE(Values(ReadSettings(dir.path()), "MainForm", {"Status", "Left", "Height"}), QString("3 20 500"));
  {
    Fixture f(dir.path());
    // Maximised over the bounds saved last time, which are what "restore" goes back to.
    QVERIFY(f.window->windowState() & Qt::WindowMaximized);
    QCOMPARE(f.window->normalGeometry().size(), QSize(600, 500));
    QVERIFY(f.ShowFirst());
    f.window->showMinimized();
    QVERIFY(f.window->close());
  }
  QCOMPARE(Values(ReadSettings(dir.path()), "MainForm", {"Status"}), QString("2"));
}

void SettingsTest::jpgDialogBoxBarAndQualityOfTheRun() {
  QTemporaryDir dir;
  WriteSettings(dir.path(), "[EffectVals]\r\nEffectVals6=250\r\n[MainForm]\r\nJPGComp=50\r\n");
  {
    Fixture f(dir.path());
    QCOMPARE(f.window->jpgDialog()->Text(), QString("50"));
    // Cancel at once falls back to the quality of this run's start.
    WhenModal([](QWidget* modal) {
      Child<QPushButton>(modal, "bCancel")->click();
    });
    f.window->action("SetJPGCompression2")->trigger();
    QCOMPARE(f.editor().JpegQuality, 90);
    QCOMPARE(f.window->jpgDialog()->Text(), QString("90"));
    // The box and the bar follow each other; OK takes the bar's position.
    WhenModal([](QWidget* modal) {
      auto* box = Child<QLineEdit>(modal, "eCVal");
      auto* bar = Child<QScrollBar>(modal, "sbCVal");
      for (auto [typed, shown] : {std::pair{"150", "100 100"}, {"-5", "0 0"}}) {
        Type(box, typed);
        QCOMPARE(box->text() + " " + QString::number(bar->value()), QString(shown));
      }
      Type(box, "37");
      box->clear();  // an empty box leaves the bar alone
      QCOMPARE(bar->value(), 37);
      Type(box, "4x");
      QCOMPARE(bar->value(), 4);  // the "4" before the x
      bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      QCOMPARE(box->text(), QString("15"));
      Child<QPushButton>(modal, "bDefault")->click();
      QCOMPARE(bar->value(), 90);
      Type(box, "33");
      Child<QPushButton>(modal, "bOK")->click();
    });
    f.window->action("SetJPGCompression2")->trigger();
    QCOMPARE(f.messages, QStringList({"'4x' is not a valid integer value"}));
    QCOMPARE(f.editor().JpegQuality, 33);
    QVERIFY(f.window->close());
  }
  Fixture g(dir.path());
  QCOMPARE(g.window->jpgDialog()->Text(), QString("33"));
  QCOMPARE(g.editor().JpegQuality, 90);
}

void SettingsTest::gifDialogSelectsByPositionAndKeepsItsChoice() {
  TfGif dialog;
  dialog.SetColours(ThreeColours(), 3);
  QCOMPARE(dialog.SwatchColour(2), QColor(Qt::blue));
  QCOMPARE(dialog.SwatchColour(3), QColor(Qt::red));  // beyond the map: what the writer would use
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));

  QTest::mouseClick(&dialog, Qt::LeftButton, {}, SwatchCentre(1, 0));
  QCOMPARE(dialog.SelectedIndex(), 1);
  // The gap between two swatches, and the margins, select nothing new.
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(6 + 16, 10));
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(10, 4 + 16 * 17 + 2));  // below the last row
  QCOMPARE(dialog.SelectedIndex(), 1);

  // The swatches as painted.
  const QImage picture = dialog.grab().toImage();
  QCOMPARE(picture.pixelColor(SwatchCentre(1, 0)), QColor(Qt::green));

  dialog.SetColours(ThreeColours(), 0);
  QCOMPARE(dialog.SwatchColour(0), QColor(0xC0, 0xC0, 0xC0));

  QTemporaryDir dir;
  Fixture f;
  f.PaintPattern();
  QString chosen;
  f.window->setFileChooser([&](bool) { return chosen; });
  QVERIFY(f.window->action("HideDialogDuringSave1")->isChecked());
  f.window->action("ShowDialogDuringSave1")->trigger();
  auto answer = [](int expectedShown, QPoint click, const char* button) {
    WhenModal([=](QWidget* modal) {
      auto* gif = qobject_cast<TfGif*>(modal);
      QVERIFY(gif);
      QCOMPARE(gif->SelectedIndex(), expectedShown);
      // The swatches show the quantized image's colours.
      QVERIFY(gif->SwatchColour(0) != gif->SwatchColour(1));
      if (!click.isNull()) QTest::mouseClick(gif, Qt::LeftButton, {}, click);
      Child<QPushButton>(gif, button)->click();
    });
  };
  auto save = [&](const char* name) {
    chosen = dir.filePath(name);
    return f.window->SaveAs1Click();
  };

  answer(256, SwatchCentre(4, 1), "bOK");
  QVERIFY(save("ok.gif"));
  QCOMPARE(f.editor().GifSelectedIndex, 20);
  answer(20, QPoint(), "bNone");
  QVERIFY(save("none.gif"));
  answer(20, SwatchCentre(0, 15), "bCancel");
  QVERIFY(!save("cancel.gif"));
  QVERIFY(!QFile::exists(dir.filePath("cancel.gif")));
  QCOMPARE(f.editor().GifSelectedIndex, 240);
  QVERIFY(f.messages.isEmpty());

  // Hidden: saved without asking.
  f.window->action("HideDialogDuringSave1")->trigger();
  QVERIFY(save("quiet.gif"));
  QVERIFY(QFile::exists(dir.filePath("quiet.gif")));
}

void SettingsTest::changeUndoQuantityEmptiesTheRing() {
  Fixture f;
  f.PaintPattern();
  f.window->action("Blur1")->trigger();
  f.window->setAskHandler([](const QString&, bool) { return UiPort::Answer::Yes; });
  WhenModal([](QWidget* modal) {
    auto* input = qobject_cast<QInputDialog*>(modal);
    QVERIFY(input);
    QCOMPARE(input->textValue(), QString("15"));
    input->setTextValue("5");
    input->accept();
  });
  f.window->action("ChangeUndoQuantity1")->trigger();
  QCOMPARE(f.editor().Undo.Levels(), 5);
  QVERIFY(!f.window->findChild<QToolButton*>("bUndo")->isEnabled());
}

void SettingsTest::toolBoxFollowsTheMainWindow() {
  Fixture f;
  TfToolBox* box = f.window->toolBox();
  QVERIFY(f.ShowFirst());

  // A tool box the user closed stays away when the main window comes back.
  box->close();
  f.window->hide();
  f.window->show();
  QVERIFY(!box->isVisible());

  // The tool bar's button brings it back; every showing brings a minimised tool box back to normal.
  f.window->findChild<QToolButton*>("bTools")->click();
  QVERIFY(box->isVisible());
  box->showMinimized();
  f.window->hide();
  f.window->show();
  QVERIFY(!(box->windowState() & Qt::WindowMinimized));
}

}  // namespace vorq::gui::test
