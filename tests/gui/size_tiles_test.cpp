// The Set Size dialog with ReSize Fast and Smooth, Image ▸ Seamless, and Test Tiles.
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "editor/commands/geometry.h"
#include "gui/dialogs/tf_sizer.h"
#include "gui/dialogs/tf_tester.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

void SetImage(Fixture& f, int w, int h) {
  f.editor().WorkSurface.SetSize(w, h, 24, 0);
  f.PaintPattern();
}

}  // namespace

void MainWindowTest::resizeDialogAndTestTiles() {
  QStringList messages;
  TfrmSizer d(nullptr, [&](const std::string& text) { messages << QString::fromStdString(text); });
  SizerState s;
  SizerShow(s, 300, 200);
  d.Attach(s);
  d.show();
  const QList<QRadioButton*> sizes = Child<QGroupBox>(&d, "rgSizer")->findChildren<QRadioButton*>();
  auto* pct = Child<QRadioButton>(&d, "rbPct");
  auto* width = Child<QLineEdit>(&d, "meWidth");
  auto* height = Child<QLineEdit>(&d, "meHeight");
  auto* pctWidth = Child<QLineEdit>(&d, "mePctWidth");
  auto* pctHeight = Child<QLineEdit>(&d, "mePctHeight");

  // Digits only, at most 4 for the width and 3 for the height and the percents.
  for (auto [box, typed, kept] : {std::tuple{width, "12a345", "1234"}, {height, "9876", "987"}}) {
    Type(box, typed);
    QCOMPARE(box->text(), QString(kept));
  }

  // Percent works the sizes out while its boxes are typed; a context menu size goes back to pixels.
  pct->click();
  Type(pctHeight, "1234");
  QCOMPARE(pctHeight->text(), QString("123"));
  Type(pctWidth, "25");
  Type(pctHeight, "10");
  QCOMPARE(width->text() + " " + height->text(), QString("75 20"));
  for (auto [item, size] : {std::pair{2, "456 456"}, {1, "564 444"}, {0, "912 456"}}) {
    d.popupMenu()->actions().at(item)->trigger();
    QCOMPARE(width->text() + " " + height->text(), QString(size));
  }
  QVERIFY(!pct->isChecked() && !pctWidth->isEnabled() && !pctHeight->isEnabled());

  // Entering a box after a preset goes back to "Custom..." and the current size; coming back
  // from a menu or another window is not entering it.
  sizes[0]->click();
  Focus(height, QEvent::FocusIn, Qt::PopupFocusReason);
  Focus(height, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QVERIFY(sizes[0]->isChecked());
  Focus(height, QEvent::FocusIn);
  QVERIFY(sizes[3]->isChecked() && width->text() == "300");
  // Leaving a box takes its number; an empty one says so.
  Type(height, "150");
  Focus(height, QEvent::FocusOut, Qt::PopupFocusReason);
  QCOMPARE(s.NewHeight, 200);
  Focus(height, QEvent::FocusOut);
  QCOMPARE(s.NewHeight, 150);
  width->selectAll();
  QTest::keyClick(width, Qt::Key_Backspace);
  Focus(width, QEvent::FocusOut);
  QCOMPARE(messages, QStringList({"'' is not a valid integer value"}));
  // OK right after does not say it twice, and stays open.
  QTimer::singleShot(0, &d, [&] { Child<QPushButton>(&d, "btnOK")->click(); });
  QTimer::singleShot(20, &d, [&] {
    QCOMPARE(messages.size(), 1);
    Type(width, "120");
    Child<QPushButton>(&d, "btnOK")->click();
  });
  QCOMPARE(d.exec(), int(QDialog::Accepted));
  QCOMPARE(QSize(s.NewWidth, s.NewHeight), QSize(120, 150));

  // Through the menus. Cancel: nothing happens, whatever was typed.
  Fixture f;
  f.StartLog();
  SetImage(f, 256, 200);
  const std::vector<uint8_t> before = f.Pixels();
  WhenModal([](QWidget* d) {
    QCOMPARE(Child<QLabel>(d, "Label4")->text(), QString("Width 256  Height 200"));
    Type(Child<QLineEdit>(d, "meWidth"), "10");
    Child<QPushButton>(d, "btnCancel")->click();
  });
  f.window->action("ReSizeFast1")->trigger();
  QVERIFY(f.Pixels() == before && f.editor().Undo.Empty());

  // The boxes kept what was typed; OK resizes to the boxes.
  WhenModal([](QWidget* d) {
    QCOMPARE(Child<QLineEdit>(d, "meWidth")->text(), QString("10"));
    Type(Child<QLineEdit>(d, "meWidth"), "100");
    Type(Child<QLineEdit>(d, "meHeight"), "80");
    Child<QPushButton>(d, "btnOK")->click();
  });
  f.window->action("ReSizeFast1")->trigger();

  // The image's pop-up "Resize..." is ReSize Smooth; Percent 50 halves each side.
  WhenModal([](QWidget* d) {
    Child<QRadioButton>(d, "rbPct")->click();
    Child<QPushButton>(d, "btnOK")->click();
  });
  f.window->findChild<QMenu*>("PopupMenu1")->findChild<QAction*>("Resize1")->trigger();
  QCOMPARE(f.LoggedLines(),
           QStringList({"Resize Fast, Width 100, Height 80", "Resize Smooth, Width 50, Height 40"}));
  QVERIFY(f.messages.isEmpty());

  // Test Tiles shows the image repeated in place of the main window.
  QVERIFY(f.ShowFirst());
  SetImage(f, 50, 30);

  f.window->action("TestTiles1")->trigger();
  TfTester* tester = f.window->tester();
  QVERIFY(!f.window->isVisible() && !f.window->toolBox()->isVisible());
  // The middle of the window, between the two columns of text and below the
  // button, shows the image repeated from (0, 0).
  const QImage shot = tester->grab().toImage();
  const TFastDIB& work = f.editor().WorkSurface;
  QVERIFY(shot.width() > 600);
  int checked = 0;
  for (int y = 120; y < shot.height() && y < 420; y += 7)
    for (int x = 380; x < shot.width() - 140; x += 11) {
      QCOMPARE(shot.pixel(x, y), At(work, x % 50, y % 30));
      ++checked;
    }
  QVERIFY(checked > 100);
  QCOMPARE(tester->windowTitle() + " " + QString::number(tester->isMaximized()), QString("Test Tiles 1"));

  Child<QPushButton>(tester, "btnOK")->click();
  QVERIFY(!tester->isVisible() && f.window->isEnabled() && f.window->toolBox()->isVisible());

  // The tool bar button, and a tool box the user had put away stays away.
  f.window->bToolsClick();
  QVERIFY(!f.window->toolBox()->isVisible());
  f.window->findChild<QToolButton*>("bTestTiles")->click();
  QVERIFY(tester->isVisible());
  tester->close();
  QVERIFY(f.window->isVisible() && !f.window->toolBox()->isVisible());
}

}  // namespace vorq::gui::test
