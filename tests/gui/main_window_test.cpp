// Menus, tool bar, effects tree, status bar and shut-down of the main window.
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

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
  // The menus' captions, submenus in brackets, and the tool bar's hints left to right.
  std::function<QString(QMenu*)> captions = [&](QMenu* m) {
    QStringList texts;
    for (QAction* a : m->actions())
      if (!a->isSeparator()) texts << (a->menu() ? a->text() + "(" + captions(a->menu()) + ")" : a->text());
    return texts.join("|");
  };
  QStringList menus;
  for (const char* name : {"File1", "Edit1", "Gradient1", "Buffer1", "Image1", "Options1", "Help1", "PopupMenu1"})
    menus << captions(Child<QMenu>(f.window.get(), name));
  QCOMPARE(menus, QStringList({
      "&Open|&New|Recent &Files()|&Save As...|&Print...|&Log(Start &New Log|&Close Log|&Append to Log|&View Log|"
      "&Edit Log)|E&xit",
      "UnDo|&Copy|&Paste(As &Selection|Re&place Image|&Transparent)|&Reset",
      "&Design...|&Paste To Image|&Merge With Image",
      "&Copy Image to Buffer|&Paste Buffer to Image|&Merge Buffer With Image...|&Load Buffer from File|"
      "Cop&y Buffer to Clipboard|P&aste Clipboard to Buffer",
      "&Test Tiles|&Seamless(Edge &Merge(1/1&6|1/&8|1/&4)|4 Way &Flip)|Set As &Wallpaper",
      "Set &JPG Compression|&GIF Transparency...(&Show Dialog During Save|&Hide Dialog During Save)|"
      "&Log File(Save Image with Log File Name)|Change &Undo Quantity|&Prompt for Save At Termination|"
      "Print &Shortcut Key List|&Wrap Painting|Standard Shortcuts|Dock Tool Box",
      "&Contents|&About", "Color Wheel|Multi Gradient...|Rainbow|Resize..."}));
  QStringList hints;
  for (QToolButton* b : Child<QToolBar>(f.window.get(), "ToolBar1")->findChildren<QToolButton*>())
    if (!b->toolTip().isEmpty()) hints << b->toolTip();
  QCOMPARE(hints.join("|"), QString("Open a File...|Save File As...|Copy To Clipboard|Paste From Clipboard|"
                                    "Show/Hide Toolbox|Show/Hide Color Sliders on Toolbox|Apply Current Effect|"
                                    "UnDo |Print...|Paste Gradient to Image|Copy Image to Buffer|"
                                    "Paste Buffer to Image|Test Tiles"));
  int items = 0;
  for (const char* name : {"Color1", "Distortions1", "Draw1", "Filters1", "SizeAspect1"})
    items += f.window->findChild<QMenu*>(name)->actions().size();
  QCOMPARE(items, 66);
  // Read off by hand: the shortcut texts become real key sequences.
  QCOMPARE(f.window->action("SplitGauss1")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
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

void MainWindowTest::treeAndMenusSelectAndApply() {
  Fixture f;
  // The Pen menu's last mode.
  f.window->findChild<QMenu*>("Pen1")->actions().last()->trigger();
  QCOMPARE(f.editor().PenStyle, 11);

  // Enter on an effect applies it, and the undo button follows the ring.
  f.PaintPattern();
  QTreeWidget* tree = f.window->tree();
  auto* undo = f.window->findChild<QToolButton*>("bUndo");
  QVERIFY(!undo->isEnabled());
  auto before = f.Pixels();
  f.Select("Blur");
  QCOMPARE(f.window->statusPanel(kPanelEffect)->text(), QString("Blur"));
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
  QCOMPARE(f.editor().EffectId, 8);
  QVERIFY(f.Pixels() != before);

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
  QCOMPARE(f.window->windowTitle(), QString("Untitled[*] - VorqTile"));
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
  QVERIFY(f.window->close());
  QVERIFY(QFileInfo::exists(dir.filePath("kept.jpg")));
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
  QVERIFY(!f.window->isVisible());
  QCOMPARE(asked.size(), 4);

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
    if (written) QVERIFY(QImage(shot).width() > 300);
  }
}

}  // namespace vorq::gui::test
