// The window test classes, run one after another by gui_tests.cpp.
#pragma once

#include <QObject>

namespace vorq::gui::test {

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void menusAndTreeOfferEveryEffect();
  void treeAndMenusSelectAndApply();
  void closingAsksOnlyWhenPromptIsChecked();
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
  void applyScrollAndResetUseTheTypedValues();
  void designYourOwnRunsTheTypedKernel();
  void numbersIgnoreTheDesktopLanguage();
  void bothButtonsTogglePanelAndHeight();
  void previewThenOkCommitsOnceAndCancelRestores();
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
  void jpgDialogBoxBarAndQualityOfTheRun();
  void gifSwatchesShowTheMapAndSelectByPosition();
  void gifDialogAnswersAndKeepsItsChoice();
  void changeUndoQuantityEmptiesTheRing();
  void toolBoxFollowsTheMainWindow();
};

class FilesBufferTest : public QObject {
  Q_OBJECT
 private slots:
  void openShowsTheFileAndKeepsTheImageOnFailure();
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
  void testTilesShowsTheImageTiledAndComesBack();
};

class PaintingTest : public QObject {
  Q_OBJECT
 private slots:
  void toolButtonsSwitchToolAndCursor();
  void freeHandAndXorLineThroughTheView();
  void floodFillAndEyedropper();
  void selectionDialogAnswersEachAction();
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
