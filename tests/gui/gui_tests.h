// The window test classes, run one after another by gui_tests.cpp.
#pragma once

#include <QObject>

namespace vorq::gui::test {

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void menusAndTreeOfferEveryEffect();
  void penMenuAndUndoButton();
  void treeSelectionDrivesStatusAndToolBox();
  void enterAndDoubleClickInTreeApply();
  void statusBarFollowsMouseAndLog();
  void startImageLoadsAfterFirstShow();
  void closingAsksOnlyWhenPromptIsChecked();
  void menuCommandSelectsItsNodeAndEnterAppliesIt();
  void standardShortcutsMoveTheCollidingEffects();
  void dockedToolBoxSitsRightAndComesBack();
  void droppedFilesOpenAndAreRemembered();
  void cancelledEffectLeavesImageAndUndoAsTheyWere();
  void windowKeepsTicklingDuringA4096Effect();
};

class ToolBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void showsTheSelectedEffectsFields();
  void applyUsesTypedValuesAndRefusesNonNumbers();
  void scrollBarShiftsTheImage();
  void designYourOwnRunsTheTypedKernel();
  void numbersIgnoreTheDesktopLanguage();
  void bothButtonsTogglePanelAndHeight();
  void previewThenOkCommitsOnce();
  void cancelRestoresExactly();
  void typingPreviewsAfterThePauseAndUncheckingRestores();
  void anEditWhileRunningStopsItAndShowsTheNewValue();
};

class SettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void firstStartUsesDefaultsAndExitWritesEveryKey();
  void storedSettingsComeBackAndUnknownKeysStay();
  void oddStoredValuesAreRefusedOrKeptAside();
  void maximisedOrMinimisedExitKeepsTheNormalBounds();
  void unwritableSettingsFolderShowsAMessageAndStillCloses();
  void jpgBoxAndBarFollowEachOther();
  void jpgQualityStartsAt90WhateverTheBoxSays();
  void gifSwatchesShowTheMapAndSelectByPosition();
  void gifDialogAnswersAndKeepsItsChoice();
  void changeUndoQuantityEmptiesTheRing();
  void toolBoxFollowsTheMainWindow();
};

class FilesBufferTest : public QObject {
  Q_OBJECT
 private slots:
  void openReadsByContentAndKeepsTheImageOnFailure();
  void saveAsPicksTheFormatByExtension();
  void loadBufferFillsThumbnailAndEnablesItems();
  void copyAndPasteBufferWithUndo();
  void emptyClipboardPastesNothing();
  void clipboardRoundTripLaysAlphaOverWhite();
  void transparentDialogAndWhiteLowerLeft();
  void selectionFloatsThenPlacesOnFirstMove();
};

class SizeTilesTest : public QObject {
  Q_OBJECT
 private slots:
  void sizerControlsFollowTheRules();
  void resizeCommandsRunThroughTheDialog();
  void seamlessMenuMakesEdgesMeet();
  void testTilesShowsTheImageTiledAndComesBack();
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
  void zoomedLineLandsInImageCoordinates();
  void tiledViewShowsTheCopiesAndTheSeams();
};

class GradientTest : public QObject {
  Q_OBJECT
 private slots:
  void thumbnailAppearsOnFirstShowAndPastes();
  void designerFieldsDefaultsAndPasteNow();
  void multiGradientMarkersAndColours();
};

class RecipeTest : public QObject {
  Q_OBJECT
 private slots:
  void everyCommandReplaysInTheBatchTool();
};

class OutputTest : public QObject {
  Q_OBJECT
 private slots:
  void placementFollowsTheRules();
  void dialogModesPopupAndRatio();
  void printsThePlacedRectangleToPdf();
  void wallpaperGoesThroughTheDesktopsTool();
  void helpPagesShortcutsAndTitle();
};

class TextLogTest : public QObject {
  Q_OBJECT
 private slots:
  void rightAlignedLinesEndTogether();
  void dialogFieldsFollowTheRules();
  void placedTextIsWhatTheBatchToolDraws();
  void viewerFollowsTheLogAndSavesUnderItsName();
  void editorAsksBeforeLosingChanges();
  void fadeRunsItsTransitionsInTurn();
  void aboutBoxPlaysThenCloses();
};

}  // namespace vorq::gui::test
