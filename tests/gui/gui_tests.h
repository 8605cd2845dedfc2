// The window test classes, run one after another by gui_tests.cpp.
#pragma once

#include <QObject>

namespace vorq::gui::test {

class ColorSlidersTest : public QObject {
  Q_OBJECT
 private slots:
  void bothButtonsTogglePanelAndHeight();
  void previewThenOkOrCancel();
};

class FilesBufferTest : public QObject {
  Q_OBJECT
 private slots:
  void openReadsByContentAndKeepsTheImageOnFailure();
  void saveAsPicksTheFormatByExtension();
  void loadBufferFillsThumbnailAndEnablesItems();
  void copyAndPasteBufferWithUndo();
};

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void menusRunTheirCommands();
  void treeSelectsExpandsAndApplies();
  void statusBarFollowsMouseAndLog();
  void startImageLoadsAfterFirstShow();
  void closingAsksOnlyWhenPromptIsChecked();
};

class OptionsTest : public QObject {
  Q_OBJECT
 private slots:
  void jpgBoxAndBarFollowEachOther();
  void jpgQualityStartsAt90WhateverTheBoxSays();
  void gifSwatchesShowTheMapAndSelectByPosition();
  void gifDialogAnswersAndKeepsItsChoice();
  void optionsMenuChecks();
  void toolBoxFollowsTheMainWindow();
};

class PaintingTest : public QObject {
  Q_OBJECT
 private slots:
  void toolButtonsSwitchToolAndCursor();
  void freeHandAndXorLineThroughTheView();
  void shapesLeaveNoBandInThePixels();
  void floodFillAndEyedropper();
  void selectionDialogCancelKeepsImage();
  void selectionCopiesToBufferAndClipboard();
  void selectionCropsToOnePixelAndUndoes();
};

class SettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void firstStartUsesDefaultsAndExitWritesEveryKey();
  void storedSettingsComeBackAndUnknownKeysStay();
  void oddStoredValuesAreRefusedOrKeptAside();
  void maximisedOrMinimisedExitKeepsTheNormalBounds();
  void unwritableSettingsFolderShowsAMessageAndStillCloses();
};

class SizeTilesTest : public QObject {
  Q_OBJECT
 private slots:
  void resizeCommandsRunThroughTheDialog();
  void testTilesShowsTheImageTiledAndComesBack();
};

class RecipeTest : public QObject {
  Q_OBJECT
 private slots:
  void everyCommandReplaysInTheBatchTool();
};

class ToolBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void startsWithNothingChosen();
  void showsTheSelectedEffectsFields();
  void scrollBarsShiftTheImage();
  void filterDialogEditsTheKernelTexts();
  void designYourOwnRunsTheTypedKernel();
  void numbersIgnoreTheDesktopLanguage();
};

}  // namespace vorq::gui::test
