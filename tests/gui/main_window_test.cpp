// Menus, tool bar, effects tree, status bar and shut-down of the main window; the standard shortcut
// map, the docked tool box, dropped files, the recent files and long effects.
#include <set>

#include <QDockWidget>
#include <QElapsedTimer>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>

#include "gui/mainwin/document_state.h"
#include "gui/mainwin/logging_panel.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

void MainWindowTest::menusAndTreeOfferEveryEffect() {
  Fixture f;
  // Only the buffer's and the gradient's paste, merge and copy wait for their image.
  QStringList disabled;
  for (QAction* a : f.window->findChildren<QAction*>())
    if (!a->isEnabled() && !a->objectName().isEmpty()) disabled << a->objectName();
  disabled.sort();
  QCOMPARE(disabled, QStringList({"CopyBuffertoClipboard1", "MergeBufferWithImage1", "MergeWithImage1",
                                  "PasteBuffertoImage1", "PasteToImage1"}));
  // The shortcut text becomes a real key sequence.
  QCOMPARE(f.window->action("ReplaceImage1")->shortcut(), QKeySequence("Ctrl+V"));

  // The tree: the five categories, collapsed, each with its effects in name order.
  QTreeWidget* tree = f.window->tree();
  QCOMPARE(tree->topLevelItemCount(), 5);
  int leaves = 0;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* node = tree->topLevelItem(i);
    QVERIFY(!node->isExpanded());
    for (int c = 1; c < node->childCount(); ++c)
      QVERIFY2(node->child(c - 1)->text(0) < node->child(c)->text(0), qPrintable(node->child(c)->text(0)));
    leaves += node->childCount();
  }
  QCOMPARE(leaves, 66);
}

void MainWindowTest::treeAndMenusSelectAndApply() {
  Fixture f;
  // Enter on an effect applies it, and the undo button follows the ring.
  f.PaintPattern();
  QTreeWidget* tree = f.window->tree();
  auto* undo = f.window->findChild<QToolButton*>("bUndo");
  QVERIFY(!undo->isEnabled());
  auto before = f.Pixels();
  f.Select("Blur");
  QTest::keyClick(tree, Qt::Key_Return);
  QVERIFY(f.Pixels() != before && undo->isEnabled());
  undo->click();
  QVERIFY(!undo->isEnabled());

  // The keypad's Enter too; on a category it applies nothing.
  f.Select("Color");
  QTest::keyClick(tree, Qt::Key_Enter);
  QCOMPARE(f.messages, QStringList({"First Select an Effect"}));

  // A menu command selects its node.
  f.window->action("Negative1")->trigger();
  QCOMPARE(tree->currentItem()->text(0), QString("Negative"));

  // Double click selects and applies in one go.
  f.window->resize(700, 600);
  QVERIFY(f.ShowExposed());
  f.window->findChild<QToolButton*>("bExpand")->click();
  QTreeWidgetItem* sharpen = f.Node("Sharpen");
  tree->scrollToItem(sharpen);
  const QPoint at = tree->visualItemRect(sharpen).center();
  before = f.Pixels();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
  QVERIFY(f.editor().EffectId == 8 && f.Pixels() != before);

  // A click on the node already selected shows its stored values again.
  QTreeWidgetItem* emboss = f.Node("Classic Emboss");
  f.Select("Classic Emboss");
  auto* amount = f.window->toolBox()->findChild<QLineEdit*>("eAmtMain");
  amount->setText("17");
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(emboss).center());
  QCOMPARE(amount->text(), QString("250"));

  // The logging panel.
  f.StartLog();
  QCOMPARE(f.window->loggingPanel()->Text(), QString("Logging"));
  f.window->action("CloseLog1")->trigger();
  QCOMPARE(f.window->loggingPanel()->Text(), QString("Not Logging"));
}

void MainWindowTest::closingAsksOnlyWhenPromptIsChecked() {
  const QString prompt =
      "Save the Current Image?\r\r(To avoid this prompt, uncheck the menu item under the Options menu)";
  QTemporaryDir dir;
  Fixture f;
  QStringList asked;
  UiPort::Answer answer = UiPort::Answer::Cancel;
  QString chosen;
  f.window->setAskHandler([&](const QString& text, bool withCancel) {
    asked << text;
    return withCancel ? answer : UiPort::Answer::No;
  });
  f.window->setFileChooser([&](bool forSave) { return forSave ? chosen : QString(); });
  auto change = [&] { f.window->action("Negative1")->trigger(); };

  f.window->show();
  change();
  QVERIFY(f.window->close());  // unchecked: no question, changed or not
  QVERIFY(asked.isEmpty());

  f.window->action("PromptforSaveAtTermination1")->trigger();
  f.window->show();
  QVERIFY(!f.window->close());
  QCOMPARE(asked, QStringList({prompt}));

  answer = UiPort::Answer::Yes;  // save dialog cancelled: stay
  QVERIFY(!f.window->close());

  chosen = dir.filePath("kept");  // no suffix: saved as JPEG
  QVERIFY(f.window->close() && QFileInfo::exists(dir.filePath("kept.jpg")));
  QCOMPARE(f.window->windowTitle(), QString("kept.jpg[*] - VorqTile"));

  // Saved, or changed and undone back to the saved picture: nothing to ask.
  f.window->show();
  QVERIFY(f.window->close());
  f.window->show();
  change();
  f.window->action("UnDo1")->trigger();
  QVERIFY(f.window->close());
  QCOMPARE(asked.size(), 3);

  answer = UiPort::Answer::No;
  f.window->show();
  change();
  f.window->action("Exit1")->trigger();
  QVERIFY(!f.window->isVisible() && asked.size() == 4);

  // Once the ring is full a change replaces the oldest snapshot (in a one-level ring, the
  // same slot), and is a change still.
  TFastDIB image;
  image.SetSize(3, 1);
  for (int levels : {1, 2}) {
    DocumentState doc;
    UndoRing ring(levels);
    for (int i = 0; i < 3; ++i) {
      doc.SetClean(image, "a.png");
      QVERIFY(ring.Push(image));
      doc.UndoChanged(ring, image);
      QVERIFY(doc.Modified());
    }
  }
}

// The editor program itself: --grab writes a picture of both windows and
// exits 0, or exits 1 when it cannot write it.
void MainWindowTest::grabSavesTheWindowsAndSaysWhetherItCould() {
  QTemporaryDir home;
  for (const QString& shot : {home.filePath("shot.png"), home.filePath("no/such/folder/shot.png")}) {
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VORQTILE_HOME", home.path());
    editor.setProcessEnvironment(env);
    editor.start(VORQ_EDITOR, {"--no-splash", "--grab", shot});
    QVERIFY(editor.waitForFinished(60000));
    const bool written = !shot.contains("no/such");
    QCOMPARE(editor.exitCode(), written ? 0 : 1);
    QVERIFY(!written || QImage(shot).width() > 300);
  }
}

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
    f.window->action("StandardShortcuts1")->trigger();
    f.window->action("DockToolBox1")->trigger();
    QDockWidget* dock = f.window->toolBoxDock();
    QVERIFY(dock && dock->isVisible() && !f.window->toolBox()->isWindow());
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
  QCOMPARE(f.window->toolBox()->size(), QSize(191, 270));  // its own size again, not the dock's
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
