// "VorqTile.ini": what a start reads and what a close writes.
#include <QCoreApplication>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "gui/dialogs/tf_jpgcomp.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

QString Value(const IniFile& ini, const char* section, const std::string& key) {
  const auto v = ini.Get(section, key);
  return v ? QString::fromStdString(*v) : QString("<missing>");
}

QColor PenSwatch(Fixture& f) {
  auto* pen = f.window->toolBox()->findChild<QPushButton*>("bPen");
  return pen->icon().pixmap(12, 12).toImage().pixelColor(6, 6);
}

}  // namespace

void SettingsTest::firstStartUsesDefaultsAndExitWritesEveryKey() {
  Fixture f;
  QVERIFY(f.ShowFirst());
  QVERIFY(f.window->action("Normal1")->isChecked());
  QCOMPARE(PenSwatch(f), QColor(Qt::black));

  // The window's own part of the file: where it and the tool box stood by default.
  QVERIFY(f.window->close());
  QVERIFY(f.messages.isEmpty());
  const IniFile ini = ReadSettings(f.home.path());
  QCOMPARE(Value(ini, "MainForm", "Top"), QString("1"));
  QCOMPARE(Value(ini, "MainForm", "Left"), QString("195"));
  QCOMPARE(Value(ini, "MainForm", "Width"), QString("541"));
  QCOMPARE(Value(ini, "MainForm", "Height"), QString("446"));
  QCOMPARE(Value(ini, "MainForm", "Status"), QString("1"));
  QCOMPARE(Value(ini, "MainForm", "JPGComp"), QString("90"));
  QCOMPARE(Value(ini, "MainForm", "Default Directory"), QCoreApplication::applicationDirPath());
  QCOMPARE(Value(ini, "ToolBox", "Top"), QString("1"));
  QCOMPARE(Value(ini, "ToolBox", "Left"), QString("3"));
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
    QCOMPARE(PenSwatch(f), QColor(Qt::red));
    QVERIFY(f.window->action("XORPen1")->isChecked());
    QVERIFY(f.window->action("SaveImagewithLogFileName1")->isChecked());
    QCOMPARE(f.window->defaultDirectory(), QString("/some/where"));
    QCOMPARE(f.window->pos(), QPoint(50, 40));
    QCOMPARE(f.window->size(), QSize(600, 480));
    QCOMPARE(f.window->toolBox()->pos(), QPoint(300, 20));

    f.window->action("SaveImagewithLogFileName1")->trigger();
    f.window->action("MergePen1")->trigger();
    QVERIFY(f.ShowFirst());
    QVERIFY(f.window->close());
    QVERIFY(f.messages.isEmpty());
  }
  const IniFile ini = ReadSettings(dir.path());
  QCOMPARE(Value(ini, "Other", "Foo"), QString("bar"));

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
  QCOMPARE(Value(ReadSettings(dir.path()), "MainForm", "PenStyle"), QString("0"));

  // Without the presence key nothing of the file is taken, the window's part neither.
  QTemporaryDir other;
  WriteSettings(other.path(), "[EffectVals]\r\nEffectVals6=0\r\n[MainForm]\r\nJPGComp=50\r\n");
  Fixture g(other.path());
  QCOMPARE(g.window->jpgDialog()->Text(), QString("90"));
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
  const IniFile ini = ReadSettings(dir.path());
  QCOMPARE(Value(ini, "MainForm", "Status"), QString("3"));
  QCOMPARE(Value(ini, "MainForm", "Left"), QString("20"));
  QCOMPARE(Value(ini, "MainForm", "Height"), QString("500"));
  {
    Fixture f(dir.path());
    // Maximised over the bounds saved last time, which are what "restore" goes back to.
    QVERIFY(f.window->windowState() & Qt::WindowMaximized);
    QCOMPARE(f.window->normalGeometry().size(), QSize(600, 500));
    QVERIFY(f.ShowFirst());
    f.window->showMinimized();
    QVERIFY(f.window->close());
  }
  QCOMPARE(Value(ReadSettings(dir.path()), "MainForm", "Status"), QString("2"));
}

void SettingsTest::unwritableSettingsFolderShowsAMessageAndStillCloses() {
  QTemporaryDir dir;
  // A folder below a plain file can be neither made nor written, whoever runs the test.
  QFile blocker(dir.filePath("blocker"));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Fixture f(dir.filePath("blocker/settings"));
  QVERIFY(f.ShowFirst());
  QVERIFY(f.window->close());
  QCOMPARE(f.messages.size(), 1);
  QVERIFY2(f.messages[0].startsWith("The settings could not be saved"), qPrintable(f.messages[0]));
  QVERIFY2(f.messages[0].contains("blocker/settings/VorqTile.ini"), qPrintable(f.messages[0]));
}

}  // namespace vorq::gui::test
