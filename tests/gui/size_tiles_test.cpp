// The Set Size dialog with ReSize Fast and Smooth, Image ▸ Seamless, and Test Tiles.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "editor/commands/geometry.h"
#include "gui/dialogs/tf_sizer.h"
#include "gui/dialogs/tf_tester.h"
#include "gui/toolbox/tf_toolbox.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

QString Box(QWidget* d, const char* name) { return Child<QLineEdit>(d, name)->text(); }

void SetImage(Fixture& f, int w, int h) {
  f.editor().WorkSurface.SetSize(w, h, 24, 0);
  f.PaintPattern();
}

}  // namespace

void SizeTilesTest::resizeCommandsRunThroughTheDialog() {
  Fixture f;
  SetImage(f, 256, 200);
  const std::vector<uint8_t> before = f.Pixels();

  // Cancel: nothing happens, whatever was typed.
  WhenModal([](QWidget* d) {
    QCOMPARE(d->objectName(), QString("frmSizer"));
    QCOMPARE(Child<QLabel>(d, "Label4")->text(), QString("Width 256  Height 200"));
    QCOMPARE(Box(d, "meWidth"), QString("256"));
    Type(Child<QLineEdit>(d, "meWidth"), "10");
    Child<QPushButton>(d, "btnCancel")->click();
  });
  f.window->action("ReSizeFast1")->trigger();
  QCOMPARE(f.Pixels(), before);
  QVERIFY(f.editor().Undo.Empty());

  // The boxes kept what was typed and take digits only (4 for the width, 3 for
  // the height); an empty box is refused once with a message; OK resizes.
  WhenModal([&f](QWidget* d) {
    auto* width = Child<QLineEdit>(d, "meWidth");
    QCOMPARE(width->text(), QString("10"));
    Type(width, "12a345");
    QCOMPARE(width->text(), QString("1234"));
    Type(Child<QLineEdit>(d, "meHeight"), "9876");
    QCOMPARE(Box(d, "meHeight"), QString("987"));
    width->selectAll();
    QTest::keyClick(width, Qt::Key_Backspace);
    Child<QPushButton>(d, "btnOK")->click();
    QCOMPARE(f.messages, QStringList({"'' is not a valid integer value"}));
    QVERIFY(d->isVisible());
    Type(width, "100");
    Type(Child<QLineEdit>(d, "meHeight"), "80");
    Child<QPushButton>(d, "btnOK")->click();
  });
  f.window->action("ReSizeFast1")->trigger();
  QCOMPARE(f.editor().WorkSurface.Width(), 100);
  QCOMPARE(f.editor().WorkSurface.Height(), 80);
  QCOMPARE(f.window->statusPanel(kPanelWidth)->text(), QString("Width: 100"));
  QVERIFY(!f.editor().Undo.Empty());

  // The image's pop-up "Resize..." is ReSize Smooth; Percent 50 halves each side.
  WhenModal([](QWidget* d) {
    QCOMPARE(Child<QLabel>(d, "Label4")->text(), QString("Width 100  Height 80"));
    // A preset and a context-menu size fill the boxes; Percent then takes its boxes.
    Child<QGroupBox>(d, "rgSizer")->findChildren<QRadioButton*>()[1]->click();
    QCOMPARE(Box(d, "meWidth") + "x" + Box(d, "meHeight"), QString("800x600"));
    static_cast<TfrmSizer*>(d)->popupMenu()->actions()[0]->trigger();
    QCOMPARE(Box(d, "meWidth") + "x" + Box(d, "meHeight"), QString("912x456"));
    Child<QRadioButton>(d, "rbPct")->click();
    Child<QPushButton>(d, "btnOK")->click();
  });
  f.window->findChild<QMenu*>("PopupMenu1")->findChild<QAction*>("Resize1")->trigger();
  QCOMPARE(f.editor().WorkSurface.Width(), 50);
  QCOMPARE(f.editor().WorkSurface.Height(), 40);
  QCOMPARE(f.messages.size(), 1);
}

void SizeTilesTest::testTilesShowsTheImageTiledAndComesBack() {
  Fixture f;
  QSignalSpy shown(f.window.get(), &TfVorqTile::FirstShown);
  f.window->show();
  QVERIFY(shown.wait(2000));
  QVERIFY(f.window->toolBox()->isVisible());
  SetImage(f, 50, 30);

  f.window->action("TestTiles1")->trigger();
  TfTester* tester = f.window->tester();
  QVERIFY(tester->isVisible());
  QCOMPARE(tester->windowTitle(), QString("Test Tiles"));
  QVERIFY(tester->windowState() & Qt::WindowMaximized);
  QVERIFY(!f.window->isVisible() && !f.window->isEnabled() && !f.window->toolBox()->isVisible());
  auto* ok = Child<QPushButton>(tester, "btnOK");

  // The middle of the window, between the two columns of text and below the
  // button, shows the image repeated from (0, 0).
  const QImage shot = tester->grab().toImage();
  const TFastDIB& s = f.editor().WorkSurface;
  QVERIFY(shot.width() > 600);
  int checked = 0;
  for (int y = 120; y < shot.height() && y < 420; y += 7)
    for (int x = 380; x < shot.width() - 140; x += 11) {
      const TPixel24 p = s.GetPixel(y % 30, x % 50);
      QCOMPARE(shot.pixel(x, y), qRgb(p.R, p.G, p.B));
      ++checked;
    }
  QVERIFY(checked > 100);

  // On a black image the text shows in its colours, with nothing behind it:
  // the first big line black (nothing to see), the second white, the third's
  // small copy at the right aqua.
  f.editor().WorkSurface.SetSize(16, 16, 24, 0);
  const QImage dark = tester->grab().toImage();
  auto any = [&dark](QRect area, std::function<bool(QRgb)> test) {
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (test(dark.pixel(x, y))) return true;
    return false;
  };
  QVERIFY(!any(QRect(0, 0, 260, 36), [](QRgb c) { return c != qRgb(0, 0, 0); }));
  QVERIFY(any(QRect(8, 36, 250, 36), [](QRgb c) { return c == qRgb(255, 255, 255); }));
  QVERIFY(any(QRect(dark.width() - 130, 72, 118, 30),
              [](QRgb c) { return qRed(c) == 0 && qGreen(c) > 150 && qGreen(c) == qBlue(c); }));

  ok->click();
  QVERIFY(!tester->isVisible());
  QVERIFY(f.window->isVisible() && f.window->isEnabled() && f.window->toolBox()->isVisible());

  // The tool bar button, and a tool box the user had put away stays away.
  f.window->bToolsClick();
  QVERIFY(!f.window->toolBox()->isVisible());
  f.window->findChild<QToolButton*>("bTestTiles")->click();
  QVERIFY(tester->isVisible());
  tester->close();
  QVERIFY(f.window->isVisible());
  QVERIFY(!f.window->toolBox()->isVisible());
}

}  // namespace vorq::gui::test
