#pragma once

#include <QObject>

namespace vorq::gui::test {

class OptionsTest : public QObject {
  Q_OBJECT
 private slots:
  void jpgBoxAndBarFollowEachOther();
  void jpgQualityChangesOnlyOnOK();
  void jpgQualityStartsAt90WhateverTheBoxSays();
  void gifSwatchesShowTheMapAndSelectByPosition();
  void gifDialogAnswersAndKeepsItsChoice();
  void changeUndoQuantityEmptiesTheRing();
  void optionsMenuChecks();
  void toolBoxFollowsTheMainWindow();
};

}  // namespace vorq::gui::test
