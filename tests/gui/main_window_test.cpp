// The main window's wiring: menus and tool bar to commands, the effects
// tree, the status bar and shut-down. (Captions and the catalogue's texts
// are pinned in the core tests.)
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "gui/mainwin/image_view.h"
#include "gui/mainwin/logging_panel.h"
#include "gui/toolbox/tf_toolbox.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

void MainWindowTest::menusRunTheirCommands() {
  Fixture f;
  f.PaintPattern();
  int items = 0;
  for (const char* sub : {"Color1", "Distortions1", "Draw1", "Filters1", "SizeAspect1"})
    items += int(f.window->findChild<QMenu*>(sub)->actions().size());
  QCOMPARE(items, 66);
  for (const EffectInfo& e : kCatalogue) QCOMPARE(f.window->action(e.Component)->isEnabled(), Editor::EffectAvailable(e.Id));
  QCOMPARE(f.window->action("Marble1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F3));
  QCOMPARE(f.window->action("SplitGauss1")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
  for (const char* name : {"Print1", "ViewLog1", "PasteBuffertoImage1", "MergeBufferWithImage1", "CopyBuffertoClipboard1"})
    QVERIFY2(!f.window->action(name)->isEnabled(), name);

  // An effect item runs the effect, names it and offers Undo.
  auto* undo = f.window->findChild<QToolButton*>("bUndo");
  QVERIFY(!undo->isEnabled());
  const auto before = f.Pixels();
  f.window->action("GrayScale1")->trigger();
  QCOMPARE(f.editor().EffectName, std::string("GrayScale"));
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("GrayScale"));
  QVERIFY(undo->isEnabled() && f.Pixels() != before);
  undo->click();
  QVERIFY(!undo->isEnabled() && f.Pixels() == before);

  // Pen modes: twelve radio items in the listed order, one checked at a time.
  const QList<QAction*> pens = f.window->findChild<QMenu*>("Pen1")->actions();
  QCOMPARE(pens.size(), 12);
  QCOMPARE(pens[5]->objectName(), QString("MergePen1"));
  QVERIFY(pens.first()->isChecked());
  pens[10]->trigger();
  QVERIFY(pens[10]->isChecked() && !pens.first()->isChecked());
  QCOMPARE(f.editor().PenStyle, 10);
}

void MainWindowTest::treeSelectsExpandsAndApplies() {
  Fixture f;
  f.PaintPattern();
  QTreeWidget* tree = f.window->tree();
  const int counts[] = {8, 25, 8, 17, 8};
  QCOMPARE(tree->topLevelItemCount(), 5);
  for (int i = 0; i < 5; ++i) {
    QTreeWidgetItem* node = tree->topLevelItem(i);
    QVERIFY2(!node->isExpanded(), "the tree starts collapsed");
    QStringList children;
    for (int c = 0; c < node->childCount(); ++c) children << node->child(c)->text(0);
    QCOMPARE(children.size(), counts[i]);
    QStringList sorted = children;
    sorted.sort();
    QCOMPARE(children, sorted);
  }
  // A node selects its effect; a branch selects none.
  f.Select("Blur");
  QCOMPARE(f.editor().EffectId, 10);
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Blur"));
  f.Select("Filters");
  QCOMPARE(f.editor().EffectId, -1);
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Idle..."));
  // The expand button opens and closes every branch and keeps the selection.
  f.Select("Blur");
  auto* expand = f.window->findChild<QToolButton*>("bExpand");
  expand->click();
  QCOMPARE(expand->text(), QString("C"));
  for (int i = 0; i < 5; ++i) QVERIFY(tree->topLevelItem(i)->isExpanded());
  expand->click();
  QCOMPARE(expand->text(), QString("E"));
  for (int i = 0; i < 5; ++i) QVERIFY(!tree->topLevelItem(i)->isExpanded());
  QCOMPARE(tree->currentItem()->text(0), QString("Blur"));

  // Enter applies; on a branch it asks for an effect first.
  auto before = f.Pixels();
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
  expand->click();
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
  QMouseEvent move(QEvent::MouseMove, QPointF(10, 20), QPointF(10, 20), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(f.window->imageView(), &move);
  QCOMPARE(f.window->statusPanel(kPanelX)->text(), QString("X: 10"));
  QCOMPARE(f.window->statusPanel(kPanelY)->text(), QString("Y: 20"));
  QCOMPARE(f.window->loggingPanel()->Text(), QString("Not Logging"));
  QTemporaryDir dir;
  f.editor().LogPath = dir.filePath("VorqLog.txt").toStdString();
  f.window->action("LogthisSession1")->trigger();
  QCOMPARE(f.window->loggingPanel()->Text(), QString("Logging"));
  f.window->action("CloseLog1")->trigger();
  QCOMPARE(f.window->loggingPanel()->Text(), QString("Not Logging"));
  QVERIFY(f.messages.isEmpty());
}

void MainWindowTest::startImageLoadsAfterFirstShow() {
  QTemporaryDir dir;
  const QString path = dir.filePath("start.bmp");
  {
    Fixture writer;
    writer.editor().WorkSurface.SetSize(40, 30, 24, 0);
    writer.PaintPattern();
    QVERIFY(!writer.editor().SaveImage(path.toStdString()).empty());
  }
  Fixture f;
  f.window->SetStartImage(path);
  QSignalSpy shown(f.window.get(), &TfVorqTile::FirstShown);
  f.window->show();
  QVERIFY(shown.wait(2000));
  QCOMPARE(f.window->statusPanel(kPanelWidth)->text(), QString("Width: 40"));
  QCOMPARE(f.window->statusPanel(kPanelHeight)->text(), QString("Height: 30"));
  QCOMPARE(f.window->imageView()->size(), QSize(40, 30));
  QVERIFY(!f.window->findChild<QToolButton*>("bUndo")->isEnabled());
  QVERIFY(f.window->toolBox()->isVisible() && f.window->ToolBoxShown);
  QVERIFY(f.messages.isEmpty());
}

void MainWindowTest::closingAsksOnlyWhenPromptIsChecked() {
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
  f.window->show();
  QVERIFY(f.window->close());  // unchecked: no question
  QVERIFY(asked.isEmpty());

  f.window->action("PromptforSaveAtTermination1")->trigger();
  f.window->show();
  QVERIFY(!f.window->close());  // Cancel: stay
  QCOMPARE(asked, QStringList({"Save the Current Image?\r\r(To avoid this prompt, uncheck the menu item under the "
                               "Options menu)"}));
  answer = UiPort::Answer::Yes;  // save dialog cancelled: stay
  QVERIFY(!f.window->close());
  QVERIFY(f.window->isVisible());
  chosen = dir.filePath("kept");  // no suffix: saved as JPEG
  QVERIFY(f.window->close());
  QVERIFY(QFileInfo::exists(dir.filePath("kept.jpg")));
  answer = UiPort::Answer::No;
  f.window->show();
  f.window->action("Exit1")->trigger();
  QVERIFY(!f.window->isVisible());
  QCOMPARE(asked.size(), 4);
}

}  // namespace vorq::gui::test
