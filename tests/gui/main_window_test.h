#pragma once

#include <QObject>

namespace vorq::gui::test {

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void effectMenusFollowTheCatalogue();
  void menuBarHasTheCommandMap();
  void toolBarButtonsInOrder();
  void treeListsEveryEffectSorted();
  void expandButtonTogglesAllBranches();
  void treeSelectionDrivesStatusAndToolBox();
  void menuEffectChangesImageAndUndoRestoresIt();
  void enterAndDoubleClickInTreeApply();
  void statusBarPanels();
  void startImageLoadsAfterFirstShow();
  void toolBoxButtonAndCloseKeepToolBoxShown();
  void closingAsksOnlyWhenPromptIsChecked();
};

}  // namespace vorq::gui::test
