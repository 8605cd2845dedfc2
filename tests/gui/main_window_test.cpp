// Menus, tool bar, effects tree, status bar and shut-down of the main window.
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>

#include "gui/mainwin/image_view.h"
#include "gui/mainwin/logging_panel.h"
#include "gui/toolbox/tf_toolbox.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

void MainWindowTest::menusAndTreeOfferEveryEffect() {
  Fixture f;
  int items = 0;
  for (const char* name : {"Color1", "Distortions1", "Draw1", "Filters1", "SizeAspect1"})
    items += f.window->findChild<QMenu*>(name)->actions().size();
  QCOMPARE(items, 66);
  // Read off by hand: the shortcut texts become real key sequences.
  QCOMPARE(f.window->action("Marble1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F3));
  QCOMPARE(f.window->action("SplitGauss1")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
  // Nothing in the buffer yet: nothing to paste from it.
  for (const char* name : {"PasteBuffertoImage1", "MergeBufferWithImage1", "CopyBuffertoClipboard1"})
    QVERIFY2(!f.window->action(name)->isEnabled(), name);

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
  QCOMPARE(tree->topLevelItem(1)->child(0)->text(0), QString("Astroid"));

  // The expand button opens and closes every branch and keeps the selection.
  auto* expand = f.window->findChild<QToolButton*>("bExpand");
  f.Select("Blur");
  expand->click();
  QCOMPARE(expand->text(), QString("C"));
  for (int i = 0; i < tree->topLevelItemCount(); ++i) QVERIFY(tree->topLevelItem(i)->isExpanded());
  expand->click();
  QCOMPARE(expand->text(), QString("E"));
  QVERIFY(!tree->topLevelItem(0)->isExpanded());
  QCOMPARE(tree->currentItem()->text(0), QString("Blur"));
}

void MainWindowTest::penMenuAndUndoButton() {
  Fixture f;
  // Pen modes: radio items, one checked at a time.
  const QList<QAction*> pens = f.window->findChild<QMenu*>("Pen1")->actions();
  QVERIFY(pens.first()->isChecked());
  pens.last()->trigger();
  QVERIFY(pens.last()->isChecked() && !pens.first()->isChecked());
  QCOMPARE(f.editor().PenStyle, 11);

  // Undo is offered only while there is something to undo.
  auto* undo = f.window->findChild<QToolButton*>("bUndo");
  QVERIFY(!undo->isEnabled());
  f.PaintPattern();
  f.window->action("Blur1")->trigger();
  QVERIFY(undo->isEnabled());
  undo->click();
  QVERIFY(!undo->isEnabled());
}

void MainWindowTest::treeSelectionDrivesStatusAndToolBox() {
  Fixture f;
  f.Select("Blur");
  QCOMPARE(f.editor().EffectId, 10);
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Blur"));
  f.Select("Filters");
  QCOMPARE(f.editor().EffectId, -1);
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Idle..."));
  QCOMPARE(Child<QLabel>(f.window->toolBox(), "lblHelp")->text(), QString("Choose an effect..."));
}

void MainWindowTest::enterAndDoubleClickInTreeApply() {
  Fixture f;
  f.PaintPattern();
  QTreeWidget* tree = f.window->tree();
  auto before = f.Pixels();
  f.Select("Blur");
  QTest::keyClick(tree, Qt::Key_Return);
  QVERIFY(f.Pixels() != before);
  QCOMPARE(f.editor().Undo.Count(), 1);

  before = f.Pixels();
  f.Select("Color");
  QTest::keyClick(tree, Qt::Key_Enter);
  QCOMPARE(f.messages, QStringList({"First Select an Effect"}));
  QVERIFY(f.Pixels() == before);

  // Double click selects and applies in one go.
  f.window->resize(700, 600);
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  f.window->findChild<QToolButton*>("bExpand")->click();
  QTreeWidgetItem* sharpen = f.Node("Sharpen");
  tree->scrollToItem(sharpen);
  const QPoint at = tree->visualItemRect(sharpen).center();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
  QCOMPARE(f.editor().EffectId, 8);
  QVERIFY(f.Pixels() != before);

  // A click on the node already selected shows its stored values again.
  QTreeWidgetItem* emboss = f.Node("Classic Emboss");
  f.Select("Classic Emboss");
  auto* amount = f.window->toolBox()->findChild<QLineEdit*>("eAmtMain");
  amount->setText("17");
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(emboss).center());
  QCOMPARE(amount->text(), QString("250"));
}

void MainWindowTest::statusBarFollowsMouseAndLog() {
  Fixture f;
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 20), QPointF(10, 20), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(f.window->imageView(), &move);
  QCOMPARE(f.window->statusPanel(kPanelX)->text(), QString("X: 10"));
  QCOMPARE(f.window->statusPanel(kPanelY)->text(), QString("Y: 20"));

  QCOMPARE(f.window->loggingPanel()->Text(), QString("Not Logging"));
  f.StartLog();
  QCOMPARE(f.window->loggingPanel()->Text(), QString("Logging"));
  f.window->action("CloseLog1")->trigger();
  QCOMPARE(f.window->loggingPanel()->Text(), QString("Not Logging"));
}

void MainWindowTest::startImageLoadsAfterFirstShow() {
  QTemporaryDir dir;
  const QString path = dir.filePath("start.bmp");
  Fixture f;
  f.editor().WorkSurface.SetSize(40, 30, 24, 0);
  QVERIFY(!f.editor().SaveImage(path.toStdString()).empty());
  f.editor().WorkSurface.SetSize(8, 8, 24, 0);
  f.window->SetStartImage(path);
  QCOMPARE(f.editor().WorkSurface.Width(), 8);
  QVERIFY(f.ShowFirst());
  QCOMPARE(f.window->statusPanel(kPanelHeight)->text(), QString("Height: 30"));
  QCOMPARE(f.window->imageView()->size(), QSize(40, 30));
  QVERIFY(!f.window->findChild<QToolButton*>("bUndo")->isEnabled());
  QVERIFY(f.window->toolBox()->isVisible());
  QVERIFY(f.messages.isEmpty());
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
  QCOMPARE(f.window->windowTitle(), QString("Untitled[*] - VorqTile"));
  change();
  QVERIFY(f.window->isWindowModified());
  QVERIFY(f.window->close());  // unchecked: no question, changed or not
  QVERIFY(asked.isEmpty());

  f.window->action("PromptforSaveAtTermination1")->trigger();
  f.window->show();
  QVERIFY(!f.window->close());
  QCOMPARE(asked, QStringList({prompt}));
  QVERIFY(f.window->isVisible());

  answer = UiPort::Answer::Yes;  // save dialog cancelled: stay
  QVERIFY(!f.window->close());
  QVERIFY(f.window->isVisible());

  chosen = dir.filePath("kept");  // no suffix: saved as JPEG
  QVERIFY(f.window->close());
  QVERIFY(QFileInfo::exists(dir.filePath("kept.jpg")));
  QCOMPARE(f.window->windowTitle(), QString("kept.jpg[*] - VorqTile"));
  QVERIFY(!f.window->isWindowModified());

  // Saved, or changed and undone back to the saved picture: nothing to ask.
  f.window->show();
  QVERIFY(f.window->close());
  f.window->show();
  change();
  f.window->action("UnDo1")->trigger();
  QVERIFY(!f.window->isWindowModified());
  QVERIFY(f.window->close());
  QCOMPARE(asked.size(), 3);

  answer = UiPort::Answer::No;
  f.window->show();
  change();
  f.window->action("Exit1")->trigger();
  QVERIFY(!f.window->isVisible());
  QCOMPARE(asked.size(), 4);
}

}  // namespace vorq::gui::test
