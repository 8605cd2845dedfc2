// The window test classes, run one after another by gui_tests.cpp.
#pragma once

#include <QObject>

namespace vorq::gui::test {

class CanvasTest : public QObject {
  Q_OBJECT
 private slots:
  void zoomedLineLandsInImageCoordinates();
  void tiledViewShowsTheCopiesAndTheSeams();
};

class ColorSlidersTest : public QObject {
  Q_OBJECT
 private slots:
  void bothButtonsTogglePanelAndHeight();
  void previewThenOkCommitsOnce();
  void cancelRestoresExactly();
};

class FilesBufferTest : public QObject {
  Q_OBJECT
 private slots:
  void openReadsByContentAndKeepsTheImageOnFailure();
  void saveAsPicksTheFormatByExtension();
  void loadBufferFillsThumbnailAndEnablesItems();
  void copyAndPasteBufferWithUndo();
};

class GradientTest : public QObject {
  Q_OBJECT
 private slots:
  void thumbnailAppearsOnFirstShowAndPastes();
  void designerFieldsDefaultsAndPasteNow();
  void multiGradientMarkersAndColours();
};

class LivePreviewTest : public QObject {
  Q_OBJECT
 private slots:
  void typingPreviewsAfterThePauseAndUncheckingRestores();
  void anEditWhileRunningStopsItAndShowsTheNewValue();
};

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
};

class OptionsTest : public QObject {
  Q_OBJECT
 private slots:
  void jpgBoxAndBarFollowEachOther();
  void jpgQualityStartsAt90WhateverTheBoxSays();
  void gifSwatchesShowTheMapAndSelectByPosition();
  void gifDialogAnswersAndKeepsItsChoice();
  void changeUndoQuantityEmptiesTheRing();
  void toolBoxFollowsTheMainWindow();
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
  void sizerControlsFollowTheRules();
  void resizeCommandsRunThroughTheDialog();
  void seamlessMenuMakesEdgesMeet();
  void testTilesShowsTheImageTiledAndComesBack();
};

class PasteTest : public QObject {
  Q_OBJECT
 private slots:
  void emptyClipboardPastesNothing();
  void clipboardRoundTripLaysAlphaOverWhite();
  void transparentDialogAndWhiteLowerLeft();
  void selectionFloatsThenPlacesOnFirstMove();
};

class RecipeTest : public QObject {
  Q_OBJECT
 private slots:
  void everyCommandReplaysInTheBatchTool();
};

class ToolBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void showsTheSelectedEffectsFields();
  void applyUsesTypedValuesAndRefusesNonNumbers();
  void scrollBarShiftsTheImage();
  void designYourOwnRunsTheTypedKernel();
  void numbersIgnoreTheDesktopLanguage();
};

class TextToolTest : public QObject {
  Q_OBJECT
 private slots:
  void rightAlignedLinesEndTogether();
  void dialogFieldsFollowTheRules();
  void placedTextIsWhatTheBatchToolDraws();
};

class LogWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void viewerFollowsTheLogAndSavesUnderItsName();
  void editorAsksBeforeLosingChanges();
};

class FadeAboutTest : public QObject {
  Q_OBJECT
 private slots:
  void fadeRunsItsTransitionsInTurn();
  void aboutBoxPlaysThenCloses();
};

class ConveniencesTest : public QObject {
  Q_OBJECT
 private slots:
  void menuCommandSelectsItsNodeAndEnterAppliesIt();
  void standardShortcutsMoveTheCollidingEffects();
  void dockedToolBoxSitsRightAndComesBack();
  void droppedFilesOpenAndAreRemembered();
  void cancelledEffectLeavesImageAndUndoAsTheyWere();
  void windowKeepsTicklingDuringA4096Effect();
};

}  // namespace vorq::gui::test
