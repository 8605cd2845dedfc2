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

void MainWindowTest::effectMenusFollowTheCatalogue() {
  Fixture f;
  QMenu* effects = f.window->findChild<QMenu*>("Effects1");
  QVERIFY(effects);
  QCOMPARE(effects->title(), QString("Effec&ts"));
  QCOMPARE(Titles(effects->actions()),
           QStringList({"&Color", "&Distortions", "Dra&w", "&Filters", "&Size/Aspect"}));

  const char* submenus[kCategoryCount] = {"Color1", "Distortions1", "Draw1", "Filters1", "SizeAspect1"};
  int seen = 0;
  for (int c = 0; c < kCategoryCount; ++c) {
    const QList<QAction*> items = f.window->findChild<QMenu*>(submenus[c])->actions();
    int row = 0;
    for (const EffectInfo& e : kCatalogue) {
      if (int(e.category) != c) continue;
      QAction* a = items.value(row++);
      QVERIFY2(a, e.Component);
      QCOMPARE(a->objectName(), QString(e.Component));
      QCOMPARE(a->text(), QString(e.MenuCaption));
      QCOMPARE(a->shortcut(), QKeySequence(QString(e.Shortcut)));
      QCOMPARE(a->isEnabled(), f.editor().EffectAvailable(e.Id));
      ++seen;
    }
    QCOMPARE(row, int(items.size()));
  }
  QCOMPARE(seen, 66);
  // Read off by hand: the shortcut texts become real key sequences.
  QCOMPARE(f.window->action("Marble1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F3));
  QCOMPARE(f.window->action("SplitGauss1")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
}

void MainWindowTest::menuBarHasTheCommandMap() {
  Fixture f;
  QCOMPARE(Titles(f.window->menuBar()->actions()),
           QStringList({"&File", "&Edit", "&View", "&Gradient", "&Buffer", "&Image", "Effec&ts", "Pen", "&Options", "&Help"}));
  QCOMPARE(Titles(f.window->findChild<QMenu*>("Log1")->actions()),
           QStringList({"Start &New Log", "&Close Log", "&Append to Log", "&View Log", "&Edit Log"}));
  QCOMPARE(Titles(f.window->findChild<QMenu*>("EdgeMerge1")->actions()), QStringList({"1/1&6", "1/&8", "1/&4"}));
  QCOMPARE(Titles(f.window->findChild<QMenu*>("PopupMenu1")->actions()),
           QStringList({"Color Wheel", "Multi Gradient...", "Rainbow", "Resize..."}));

  for (const char* name : {"Open1", "SaveAs1", "Exit1", "UnDo1", "PromptforSaveAtTermination1", "About1",
                           "LogthisSession1", "AppendtoLog1", "CloseLog1", "Print1", "SetAsWallpaper1", "Contents1",
                           "PrintShortcutKeyList1", "New1", "Copy1", "ReplaceImage1", "Reset1", "ViewLog1", "EditLog1"})
    QVERIFY2(f.window->action(name)->isEnabled(), name);
  for (const char* name : {"PasteToImage1", "MergeWithImage1",
                           "PasteBuffertoImage1", "MergeBufferWithImage1", "CopyBuffertoClipboard1"})
    QVERIFY2(!f.window->action(name)->isEnabled(), name);
  QCOMPARE(f.window->action("UnDo1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  QCOMPARE(f.window->action("ReplaceImage1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
  QAction* prompt = f.window->action("PromptforSaveAtTermination1");
  QCOMPARE(prompt->text(), QString("&Prompt for Save At Termination"));
  QVERIFY(prompt->isCheckable() && !prompt->isChecked());
  QVERIFY(f.window->action("HideDialogDuringSave1")->isChecked());

  // Pen modes: twelve radio items, one checked at a time.
  const QList<QAction*> pens = f.window->findChild<QMenu*>("Pen1")->actions();
  QCOMPARE(pens.size(), 12);
  QCOMPARE(pens.first()->objectName(), QString("Normal1"));
  QCOMPARE(pens.last()->text(), QString("XORPen"));
  QVERIFY(pens.first()->isChecked());
  pens.last()->trigger();
  QVERIFY(pens.last()->isChecked());
  QVERIFY(!pens.first()->isChecked());
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
  QVERIFY(bar->findChild<QToolButton*>("bPrint")->isEnabled());

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
  const QList<QPair<QString, QStringList>> expected = {
      {"Color", {"Brighten", "Color Rotate", "Erase to Black", "Exchange Color", "Gray Scale", "Lighten", "Negative",
                 "Tint"}},
      {"Distortions",
       {"Astroid", "Circle Mosaic", "Circular", "Color Noise", "Concentric Rects", "Fisheye", "HeightMap",
        "Map Texture", "Marble", "Mosaic", "RippleTooth", "Seamless Edge", "SineWave Both", "SineWave L/R",
        "SineWave U/D", "Spray", "StretchBlur with Buffer", "StretchBlur with Self", "Trace", "Twist", "VorqSwizzle",
        "Water with Buffer", "Water with Self", "Waves", "Whirl/Pinch"}},
      {"Draw", {"Buttonize", "Cycloid Mosaic", "Gradient", "Gradient Bars", "Merge Buffer", "Merge Gradient",
                "Plasma Cloud", "SuperNova"}},
      {"Filters", {"Blur", "Classic Emboss", "Design Your Own", "Edge Emboss Less", "Edge Emboss More",
                   "Edge Enhance Less", "Edge Enhance More", "Find Edges", "Gaussian Blur", "Gaussian Soft",
                   "Hi Pass", "Laplace", "Sharpen", "Soften Less", "Soften More", "Split Blur", "Split Gauss"}},
      {"Size/Aspect", {"Mirror L/R", "Mirror U/D", "ReSize Fast", "ReSize Smooth", "Rotate 90 Clockwise",
                       "Rotate Angle", "Rotate Seamless", "Scroll"}},
  };
  QTreeWidget* tree = f.window->tree();
  QCOMPARE(tree->objectName(), QString("TreeView1"));
  QVERIFY(tree->isHeaderHidden());
  QCOMPARE(tree->topLevelItemCount(), int(expected.size()));
  int leaves = 0;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* node = tree->topLevelItem(i);
    QCOMPARE(node->text(0), expected[i].first);
    QStringList children;
    for (int c = 0; c < node->childCount(); ++c) children << node->child(c)->text(0);
    QCOMPARE(children, expected[i].second);
    QVERIFY2(!node->isExpanded(), "the tree starts collapsed");
    leaves += node->childCount();
  }
  QCOMPARE(leaves, 66);
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
  f.window->resize(900, 600);
  f.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
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
  auto change = [&] { f.window->action("Negative1")->trigger(); };

  f.window->show();
  QCOMPARE(f.window->windowTitle(), QString("Untitled[*] - VorqTile"));
  QVERIFY(!f.window->isWindowModified());
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
  QVERIFY(f.window->isWindowModified());
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
