// "VorqTile.ini" as the window reads and writes it. The editor's keys and
// their text are pinned in the editor tests; here the window's own: bounds
// and state, the tool box, the menus' checks, the JPEG box.
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "editor/settings.h"
#include "gui/dialogs/tf_jpgcomp.h"
#include "gui/toolbox/tf_toolbox.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

QString Value(const IniFile& ini, const char* section, const std::string& key) {
  const auto v = ini.Get(section, key);
  return v ? QString::fromStdString(*v) : QString("<missing>");
}

bool ShowAndWait(Fixture& f) {
  QSignalSpy shown(f.window.get(), &TfVorqTile::FirstShown);
  f.window->show();
  return shown.wait(2000);
}

QColor PenSwatch(Fixture& f) {
  return f.window->toolBox()->findChild<QPushButton*>("bPen")->icon().pixmap(12, 12).toImage().pixelColor(6, 6);
}

}  // namespace

void SettingsTest::firstStartUsesDefaultsAndExitWritesEveryKey() {
  Fixture f;
  QVERIFY(!QFile::exists(f.window->settingsPath()));
  QCOMPARE(f.window->settingsPath(), f.home.filePath("VorqTile.ini"));
  QVERIFY(ShowAndWait(f));
  QVERIFY(f.window->action("Normal1")->isChecked());
  QVERIFY(!f.window->action("PromptforSaveAtTermination1")->isChecked());
  QCOMPARE(f.window->defaultDirectory(), QCoreApplication::applicationDirPath());
  QCOMPARE(f.window->geometry().size(), QSize(541, 446));
  QCOMPARE(f.window->pos(), QPoint(195, 1));
  QCOMPARE(f.window->toolBox()->pos(), QPoint(3, 1));
  QCOMPARE(PenSwatch(f), QColor(Qt::black));
  QVERIFY(f.window->close());
  QVERIFY(f.messages.isEmpty());
  const IniFile ini = ReadSettings(f.home.path());
  const char* const keys[][3] = {{"MainForm", "Top", "1"},      {"MainForm", "Left", "195"},   {"MainForm", "Width", "541"},
                                 {"MainForm", "Height", "446"}, {"MainForm", "Status", "1"},   {"MainForm", "JPGComp", "90"},
                                 {"ToolBox", "Top", "1"},       {"ToolBox", "Left", "3"},      {"EffectVals", "EffectVals65", "270"}};
  for (const auto& k : keys) QCOMPARE(Value(ini, k[0], k[1]), QString(k[2]));
  QCOMPARE(Value(ini, "MainForm", "Default Directory"), QCoreApplication::applicationDirPath());
}

void SettingsTest::storedSettingsComeBackAndUnknownKeysStay() {
  QTemporaryDir dir;
  WriteSettings(dir.path(),
                "[Other]\r\nFoo=bar\r\n[ToolBox]\r\nPen Color=255\r\nLeft=300\r\nTop=20\r\n[EffectVals]\r\nEffectVals6=250\r\n"
                "[MainForm]\r\nPenStyle=11\r\nSaveDlg=1\r\nSaveWithLog=5\r\nTop=40\r\nLeft=50\r\nWidth=600\r\n"
                "Height=480\r\nDefault Directory=/some/where\r\nMyOwnKey=kept\r\n");
  {
    Fixture f(dir.path());
    QCOMPARE(PenSwatch(f), QColor(Qt::red));
    QVERIFY(f.window->action("XORPen1")->isChecked() && !f.window->action("Normal1")->isChecked());
    QVERIFY(f.window->action("PromptforSaveAtTermination1")->isChecked());
    QVERIFY(f.window->action("SaveImagewithLogFileName1")->isChecked());
    QCOMPARE(f.window->defaultDirectory(), QString("/some/where"));
    QCOMPARE(f.window->pos(), QPoint(50, 40));
    QCOMPARE(f.window->size(), QSize(600, 480));
    QCOMPARE(f.window->toolBox()->pos(), QPoint(300, 20));
    // A value typed and applied, the menus' checks and a moved tool box come back next time.
    f.PaintPattern();
    f.Select("Classic Emboss");
    f.window->toolBox()->findChild<QLineEdit*>("eAmtMain")->setText("123");
    f.window->findChild<QToolButton*>("bGo")->click();
    f.window->action("SaveImagewithLogFileName1")->trigger();
    f.window->action("MergePen1")->trigger();
    f.window->setAskHandler([](const QString&, bool) { return UiPort::Answer::No; });
    QVERIFY(ShowAndWait(f));
    f.window->toolBox()->move(310, 30);
    QVERIFY(f.window->close());
    QVERIFY(f.messages.isEmpty());
  }
  const IniFile ini = ReadSettings(dir.path());
  QCOMPARE(Value(ini, "Other", "Foo"), QString("bar"));
  QCOMPARE(Value(ini, "MainForm", "MyOwnKey"), QString("kept"));
  Fixture g(dir.path());
  g.Select("Classic Emboss");
  QCOMPARE(g.window->toolBox()->findChild<QLineEdit*>("eAmtMain")->text(), QString("123"));
  QVERIFY(g.window->action("MergePen1")->isChecked());
  QCOMPARE(g.editor().PenStyle, 5);
  QVERIFY(!g.window->action("SaveImagewithLogFileName1")->isChecked());
  QVERIFY(g.window->action("PromptforSaveAtTermination1")->isChecked());
  QCOMPARE(g.window->toolBox()->pos(), QPoint(310, 30));
}

void SettingsTest::oddStoredValuesAreRefusedOrKeptAside() {
  QTemporaryDir dir;
  WriteSettings(dir.path(), "[EffectVals]\r\nEffectVals6=250\r\n[MainForm]\r\nUndoLevels=0\r\nPenStyle=20\r\n");
  {
    Fixture f(dir.path());
    QVERIFY(f.messages.isEmpty());  // the message waits until the window is there to show it over
    QVERIFY(ShowAndWait(f));
    QCOMPARE(f.messages.size(), 1);
    QVERIFY2(f.messages[0].contains("15"), qPrintable(f.messages[0]));
    // An index beyond the menu is kept but checks nothing new; the menu's own item is what gets written.
    QCOMPARE(f.editor().PenStyle, 20);
    QVERIFY(f.window->action("Normal1")->isChecked());
    QVERIFY(f.window->close());
  }
  const IniFile ini = ReadSettings(dir.path());
  QCOMPARE(Value(ini, "MainForm", "UndoLevels"), QString("15"));
  QCOMPARE(Value(ini, "MainForm", "PenStyle"), QString("0"));
  // Without the presence key the window takes nothing of the file either.
  QTemporaryDir other;
  WriteSettings(other.path(), "[EffectVals]\r\nEffectVals6=0\r\n[MainForm]\r\nLeft=50\r\nJPGComp=50\r\n");
  Fixture g(other.path());
  QCOMPARE(g.window->pos().x(), 195);
  QCOMPARE(g.window->jpgDialog()->Text(), QString("90"));
}

// Maximised or minimised, the bounds saved are the last normal ones, and the state comes back.
void SettingsTest::maximisedOrMinimisedExitKeepsTheNormalBounds() {
  QTemporaryDir dir;
  WriteSettings(dir.path(), "[EffectVals]\r\nEffectVals6=250\r\n[MainForm]\r\nTop=10\r\nLeft=20\r\nWidth=600\r\nHeight=500\r\n");
  for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowMinimized}) {
    {
      Fixture f(dir.path());
      if (state == Qt::WindowMinimized) {
        QVERIFY(f.window->windowState() & Qt::WindowMaximized);
        QCOMPARE(f.window->normalGeometry().size(), QSize(600, 500));
      }
      QVERIFY(ShowAndWait(f));
      f.window->setWindowState(state);
      QVERIFY(f.window->close());
    }
    const IniFile ini = ReadSettings(dir.path());
    QCOMPARE(Value(ini, "MainForm", "Status"), QString(state == Qt::WindowMaximized ? "3" : "2"));
    QCOMPARE(Value(ini, "MainForm", "Left"), QString("20"));
    QCOMPARE(Value(ini, "MainForm", "Height"), QString("500"));
  }
  Fixture g(dir.path());
  QVERIFY(g.window->windowState() & Qt::WindowMinimized);
}

void SettingsTest::unwritableSettingsFolderShowsAMessageAndStillCloses() {
  QTemporaryDir dir;
  // A folder below a plain file can be neither made nor written, whoever runs the test.
  QFile blocker(dir.filePath("blocker"));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Fixture f(dir.filePath("blocker/settings"));
  QVERIFY(ShowAndWait(f));
  f.PaintPattern();
  const auto image = f.Pixels();
  QVERIFY(f.window->close());
  QVERIFY(!f.window->isVisible());
  QCOMPARE(f.messages.size(), 1);
  QVERIFY2(f.messages[0].startsWith("The settings could not be saved"), qPrintable(f.messages[0]));
  QVERIFY2(f.messages[0].contains("blocker/settings/VorqTile.ini"), qPrintable(f.messages[0]));
  QVERIFY(f.Pixels() == image);
}

}  // namespace vorq::gui::test
