// Tree following the menus, the standard shortcut map, the docked tool box,
// dropped files and the recent files.
#include <QDockWidget>
#include <QElapsedTimer>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QScrollArea>
#include <QToolButton>
#include <QUrl>
#include <set>

#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

void Drop(QWidget* target, const QString& path) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(path)});
  // A drop goes to the widget that accepted the drag's entry.
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  QCoreApplication::processEvents();
}

}  // namespace

// Both choices come back at the next start.
void MainWindowTest::standardShortcutsAndDockedToolBoxStay() {
  QTemporaryDir home;
  {
    Fixture f(home.path());
    QVERIFY(f.ShowFirst());
    QCOMPARE(f.window->action("Sharpen1")->shortcut(), QKeySequence("Ctrl+S"));
    f.window->action("StandardShortcuts1")->trigger();
    f.window->action("DockToolBox1")->trigger();
    QDockWidget* dock = f.window->toolBoxDock();
    QVERIFY(dock && dock->isVisible() && !f.window->toolBox()->isWindow());
    QCOMPARE(f.window->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    QCOMPARE(dock->windowTitle(), QString("Tool Box"));
    QVERIFY(f.window->close());
  }
  Fixture f(home.path());
  QVERIFY(f.ShowFirst());
  QCOMPARE(f.window->action("Save1")->shortcut(), QKeySequence("Ctrl+S"));
  QCOMPARE(f.window->action("Sharpen1")->shortcut(), QKeySequence("Ctrl+Alt+Shift+S"));
  // No key is taken twice anywhere in the window.
  std::set<QString> keys;
  for (QAction* a : f.window->findChildren<QAction*>())
    if (!a->shortcut().isEmpty()) QVERIFY2(keys.insert(a->shortcut().toString()).second, qPrintable(a->objectName()));
  f.window->action("StandardShortcuts1")->trigger();
  QVERIFY(f.window->action("Save1")->shortcut().isEmpty());
  QCOMPARE(f.window->action("Sharpen1")->shortcut(), QKeySequence("Ctrl+S"));
  QCOMPARE(f.window->action("UnDo1")->shortcut(), QKeySequence("Ctrl+Z"));  // in both maps

  QVERIFY(f.window->toolBoxDock() && f.window->toolBoxDock()->isVisible());
  f.window->action("DockToolBox1")->trigger();
  QVERIFY(f.window->toolBox()->isWindow() && f.window->toolBox()->isVisible());
  QCOMPARE(f.window->toolBox()->size(), QSize(191, 270));
}

void MainWindowTest::droppedFilesOpenAndAreRemembered() {
  QTemporaryDir dir;
  QImage picture(7, 3, QImage::Format_RGB32);
  picture.fill(QColor(10, 20, 30));
  QVERIFY(picture.save(dir.filePath("a.png")));
  picture.scaled(5, 9).save(dir.filePath("b.png"));
  QVERIFY(QFile(dir.filePath("junk.png")).open(QIODevice::WriteOnly));
  Fixture f;
  QVERIFY(f.ShowFirst());
  auto* recent = f.window->findChild<QMenu*>("RecentFiles1");
  QVERIFY(!recent->isEnabled());  // nothing opened yet
  auto* pane = f.window->findChild<QScrollArea*>("pnlSine");
  Drop(pane->viewport(), dir.filePath("a.png"));
  Drop(pane->viewport(), dir.filePath("junk.png"));  // refused with a message, image kept
  QVERIFY(f.editor().WorkSurface.Width() == 7 && f.messages.size() == 1);
  Drop(f.window->bufferThumb(), dir.filePath("b.png"));
  QCOMPARE(f.editor().BufferSurface.Height(), 9);
  QCOMPARE(recent->title(), QString("Recent &Files"));
  picture.scaled(4, 4).save(dir.filePath("c.png"));
  QVERIFY(f.window->OpenImageFile(dir.filePath("c.png")));
  QCOMPARE(recent->actions().size(), 2);
  recent->actions().at(1)->trigger();  // a.png again, now at the top
  QCOMPARE(f.editor().WorkSurface.Width(), 7);
  QCOMPARE(recent->actions().at(0)->text(), QString("&1 a.png"));
}

void MainWindowTest::longEffectsCancelOrKeepTheWindowResponsive() {
  Fixture f;
  QVERIFY(f.ShowFirst());
  for (const int levels : {15, 2}) {  // room in the ring, and a full ring
    QVERIFY(f.editor().Undo.SetLevels(levels));
    QVERIFY(f.editor().StartBlank(1536, 1537));
    f.PaintPattern();
    f.window->action("Negative1")->trigger();
    f.window->action("Negative1")->trigger();
    const std::vector<uint8_t> before = f.Pixels();
    const std::vector<int> order = f.editor().Undo.Order();
    QTimer::singleShot(0, f.window.get(), [&] {  // the Cancel button, or Esc
      if (levels == 15)
        Child<QToolButton>(f.window.get(), "bCancelEffect")->click();
      else
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
    });
    f.window->action("Twist1")->trigger();
    QVERIFY(f.Pixels() == before && f.editor().Undo.Order() == order);
    QVERIFY(!f.window->effectProgress()->isVisible());
  }

  // A 4096 x 4096 effect: the window keeps answering while it runs.
  QVERIFY(f.editor().Undo.SetLevels(15));
  QVERIFY(f.editor().StartBlank(4096, 4096));
  f.PaintPattern();
  const int count = f.editor().Undo.Count();
  QElapsedTimer clock;
  qint64 last = 0, longest = 0;
  bool barSeen = false, refused = false, closeRefused = false;
  int top = 0;  // the bar's highest value while the effect runs
  QTimer tick;
  tick.setInterval(5);
  bool wasRunning = false;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    // Gaps between ticks of the window's event loop while the effect runs
    // on its worker; the snapshot before and the repaint after are not counted.
    const bool running = f.editor().Running() && barSeen;
    if (running && wasRunning) longest = std::max(longest, clock.elapsed() - last);
    wasRunning = running;
    last = clock.elapsed();
    if (f.window->effectProgress()->isVisible()) top = std::max(top, f.window->effectProgress()->value());
    if (!barSeen && f.window->effectProgress()->isVisible() && f.window->effectProgress()->value() > 0) {
      barSeen = true;
      f.window->action("Negative1")->trigger();  // refused while Twist runs
      refused = f.editor().Status[kPanelEffect] == "An effect is running: wait for it or press Esc to stop it.";
      QTest::keyClick(f.window.get(), Qt::Key_A);  // keys go nowhere; the bar says how to stop
      refused = refused && f.window->effectProgress()->format() == "Esc stops it  %p%";
      closeRefused = !f.window->close();
    }
  });
  clock.start();
  tick.start();
  f.window->action("Twist1")->trigger();
  tick.stop();
  QVERIFY(barSeen && refused && closeRefused && top > f.window->effectProgress()->maximum() / 2);
  QCOMPARE(f.editor().Undo.Count(), count + 1);
  for (int panel : {kPanelX, kPanelY, kPanelEffect}) QVERIFY(f.window->statusPanel(panel)->isVisible());
  // The aim is 50 ms; the window's thread shares two cores with the effect's
  // two, so the check allows for a busy machine (the whole effect is seconds).
  qInfo("longest gap between event-loop ticks: %lld ms", longest);
  QVERIFY2(longest <= 200, qPrintable(QString("longest gap %1 ms").arg(longest)));
}

}  // namespace vorq::gui::test
