// Menus, tool bar, effects tree, status bar and shut-down of the main window.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "core/raster/pen.h"
#include "gui/mainwin/image_view.h"
#include "gui/mainwin/logging_panel.h"
#include "gui/toolbox/tf_toolbox.h"
#include "gui_test_util.h"
#include "gui_tests.h"

namespace vorq::gui::test {

namespace {

QStringList Titles(const QList<QAction*>& actions) {
  QStringList out;
  for (QAction* a : actions)
    if (!a->isSeparator()) out << a->text();
  return out;
}

QString Text(QWidget* parent, const char* name) { return parent->findChild<QLabel*>(name)->text(); }

}  // namespace

void MainWindowTest::menusHaveTheCommandMap() {
  Fixture f;
  QCOMPARE(Titles(f.window->menuBar()->actions()),
           QStringList({"&File", "&Edit", "&Gradient", "&Buffer", "&Image", "Effec&ts", "Pen", "&Options", "&Help"}));
  QCOMPARE(Titles(f.window->findChild<QMenu*>("Effects1")->actions()),
           QStringList({"&Color", "&Distortions", "Dra&w", "&Filters", "&Size/Aspect"}));
  QCOMPARE(Titles(f.window->findChild<QMenu*>("Log1")->actions()),
           QStringList({"Start &New Log", "&Close Log", "&Append to Log", "&View Log", "&Edit Log"}));
  QCOMPARE(Titles(f.window->findChild<QMenu*>("EdgeMerge1")->actions()), QStringList({"1/1&6", "1/&8", "1/&4"}));
  QCOMPARE(Titles(f.window->findChild<QMenu*>("PopupMenu1")->actions()),
           QStringList({"Color Wheel", "Multi Gradient...", "Rainbow", "Resize..."}));
  int items = 0;
  for (const char* sub : {"Color1", "Distortions1", "Draw1", "Filters1", "SizeAspect1"})
    items += int(f.window->findChild<QMenu*>(sub)->actions().size());
  QCOMPARE(items, 66);
  // Effect items: caption, shortcut text made a key sequence, enabled when the effect is built.
  QCOMPARE(f.window->action("HiPass1")->text(), QString("HiPass"));
  QCOMPARE(f.window->action("Marble1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F3));
  QCOMPARE(f.window->action("SoftenMore1")->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Y));
  QCOMPARE(f.window->action("SplitGauss1")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
  for (const EffectInfo& e : kCatalogue) QCOMPARE(f.window->action(e.Component)->isEnabled(), Editor::EffectAvailable(e.Id));

  for (const char* name : {"Open1", "SaveAs1", "Exit1", "UnDo1", "PromptforSaveAtTermination1", "About1",
                           "LogthisSession1", "AppendtoLog1", "CloseLog1", "New1", "Copy1", "ReplaceImage1", "Reset1"})
    QVERIFY2(f.window->action(name)->isEnabled(), name);
  for (const char* name : {"Print1", "Contents1", "ViewLog1", "ColorWheel1",
                           "PasteBuffertoImage1", "MergeBufferWithImage1", "CopyBuffertoClipboard1"})
    QVERIFY2(!f.window->action(name)->isEnabled(), name);
  QCOMPARE(f.window->action("UnDo1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  QCOMPARE(f.window->action("ReplaceImage1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
  QAction* prompt = f.window->action("PromptforSaveAtTermination1");
  QCOMPARE(prompt->text(), QString("&Prompt for Save At Termination"));
  QVERIFY(prompt->isCheckable() && !prompt->isChecked());

  // Pen modes: twelve radio items in the listed order, one checked at a time.
  const QList<QAction*> pens = f.window->findChild<QMenu*>("Pen1")->actions();
  QCOMPARE(pens.size(), 12);
  for (int i = 0; i < 12; ++i) QCOMPARE(pens[i]->text(), QString(PenModeName(i)));
  QCOMPARE(pens[5]->objectName(), QString("MergePen1"));
  QVERIFY(pens.first()->isChecked());
  pens.last()->trigger();
  QVERIFY(pens.last()->isChecked() && !pens.first()->isChecked());
  QCOMPARE(f.editor().PenStyle, 11);
}

void MainWindowTest::toolBarButtonsInOrder() {
  Fixture f;
  QToolBar* bar = f.window->findChild<QToolBar*>("ToolBar1");
  QStringList hints;
  for (QToolButton* b : bar->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly))
    if (b->objectName().startsWith(QChar('b'))) hints << b->toolTip();
  QCOMPARE(hints, QStringList({"Open a File...", "Save File As...", "Copy To Clipboard", "Paste From Clipboard",
                               "Show/Hide Toolbox", "Show/Hide Color Sliders on Toolbox", "Apply Current Effect",
                               "UnDo ", "Print...", "Paste Gradient to Image", "Copy Image to Buffer",
                               "Paste Buffer to Image", "Test Tiles"}));
  QCOMPARE(bar->findChild<QToolButton*>("bGo")->text(), QString("Apply"));
  QVERIFY(bar->findChild<QToolButton*>("bOpen")->isEnabled());
  QVERIFY(!bar->findChild<QToolButton*>("bPrint")->isEnabled());

  // Undo is offered only while there is something to undo.
  QToolButton* undo = bar->findChild<QToolButton*>("bUndo");
  QVERIFY(!undo->isEnabled());
  f.PaintPattern();
  f.window->action("Blur1")->trigger();
  QVERIFY(undo->isEnabled());
  undo->click();
  QVERIFY(!undo->isEnabled());
}

void MainWindowTest::treeListsEveryEffectSorted() {
  Fixture f;
  QTreeWidget* tree = f.window->tree();
  QCOMPARE(tree->objectName(), QString("TreeView1"));
  QVERIFY(tree->isHeaderHidden());
  const QStringList branches = {"Color", "Distortions", "Draw", "Filters", "Size/Aspect"};
  const int counts[] = {8, 25, 8, 17, 8};
  QCOMPARE(tree->topLevelItemCount(), 5);
  for (int i = 0; i < 5; ++i) {
    QTreeWidgetItem* node = tree->topLevelItem(i);
    QCOMPARE(node->text(0), branches[i]);
    QVERIFY2(!node->isExpanded(), "the tree starts collapsed");
    QStringList children;
    for (int c = 0; c < node->childCount(); ++c) children << node->child(c)->text(0);
    QCOMPARE(children.size(), counts[i]);
    QStringList sorted = children;
    sorted.sort();
    QCOMPARE(children, sorted);
    if (i == 0)
      QCOMPARE(children, QStringList({"Brighten", "Color Rotate", "Erase to Black", "Exchange Color", "Gray Scale",
                                      "Lighten", "Negative", "Tint"}));
  }
}

void MainWindowTest::expandButtonTogglesAllBranches() {
  Fixture f;
  QTreeWidget* tree = f.window->tree();
  auto* expand = f.window->findChild<QToolButton*>("bExpand");
  QCOMPARE(expand->text(), QString("E"));
  QCOMPARE(expand->toolTip(), QString("Expand/Collapse Tree branches"));
  f.Select("Blur");
  expand->click();
  QCOMPARE(expand->text(), QString("C"));
  for (int i = 0; i < tree->topLevelItemCount(); ++i) QVERIFY(tree->topLevelItem(i)->isExpanded());
  expand->click();
  QCOMPARE(expand->text(), QString("E"));
  for (int i = 0; i < tree->topLevelItemCount(); ++i) QVERIFY(!tree->topLevelItem(i)->isExpanded());
  QCOMPARE(tree->currentItem()->text(0), QString("Blur"));
}

void MainWindowTest::treeSelectionDrivesStatusAndToolBox() {
  Fixture f;
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Idle..."));
  f.Select("Blur");
  QCOMPARE(f.editor().EffectId, 10);
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Blur"));
  QCOMPARE(Text(f.window->toolBox(), "lblEffect"), QString("Blur"));
  QCOMPARE(Text(f.window->toolBox(), "lblHelp"), QString("No User Settings"));

  f.Select("Filters");
  QCOMPARE(f.editor().EffectId, -1);
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Idle..."));
  QCOMPARE(Text(f.window->toolBox(), "lblEffect"), QString());
  QCOMPARE(Text(f.window->toolBox(), "lblHelp"), QString("Choose an effect..."));
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
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Sharpen"));
  QVERIFY(f.Pixels() != before);

  // A click on the node already selected shows its stored values again.
  QTreeWidgetItem* emboss = f.Node("Classic Emboss");
  f.Select("Classic Emboss");
  auto* amount = f.window->toolBox()->findChild<QLineEdit*>("eAmtMain");
  amount->setText("17");
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(emboss).center());
  QCOMPARE(amount->text(), QString("250"));
}

void MainWindowTest::statusBarPanels() {
  Fixture f;
  const int widths[] = {75, 75, 50, 50, 175};
  const QStringList texts = {"Width: 256", "Height: 256", "X:", "Y:", "Idle..."};
  for (int i = 0; i < kStatusPanelCount; ++i) {
    QCOMPARE(f.window->statusPanel(i)->width(), widths[i]);
    QCOMPARE(f.window->statusPanel(i)->text(), texts[i]);
  }
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
  QVERIFY(f.window->toolBox()->isVisible());
  QVERIFY(f.window->ToolBoxShown);
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

  f.window->show();
  QVERIFY(f.window->close());  // unchecked: no question
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

  answer = UiPort::Answer::No;
  f.window->show();
  f.window->action("Exit1")->trigger();
  QVERIFY(!f.window->isVisible());
  QCOMPARE(asked.size(), 4);
}

}  // namespace vorq::gui::test
