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
  void standardShortcutsAndDockedToolBoxStay();
  void droppedFilesOpenAndAreRemembered();
  void longEffectsCancelOrKeepTheWindowResponsive();
  void grabSavesTheWindowsAndSaysWhetherItCould();
  void resizeDialogAndTestTiles();
};

class ToolBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void showsTheSelectedEffectsFields();
  void applyScrollAndResetUseTheTypedValues();
  void numbersIgnoreTheDesktopLanguage();
  void slidersPanelPreviewOkAndCancel();
  void previewFollowsTypingPausesAndEdits();
};

class SettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void firstStartUsesDefaultsAndExitWritesEveryKeyOrSaysWhyNot();
  void storedSettingsComeBackAndUnknownKeysStay();
  void oddStoredValuesAreRefusedOrKeptAside();
  void maximisedOrMinimisedExitKeepsTheNormalBounds();
  void jpgDialogBoxBarAndQualityOfTheRun();
  void gifDialogSelectsByPositionAndKeepsItsChoice();
  void changeUndoQuantityEmptiesTheRing();
  void toolBoxFollowsTheMainWindow();
};

class FilesBufferTest : public QObject {
  Q_OBJECT
 private slots:
  void openShowsTheFileAndKeepsTheImageOnFailure();
  void saveAsPicksTheFormatByExtension();
  void bufferLoadsCopiesAndPastes();
  void clipboardEmptyOrWithAlpha();
  void transparentDialogAndWhiteLowerLeft();
  void selectionFloatsThenPlacesOnFirstMove();
};

class PaintingTest : public QObject {
  Q_OBJECT
 private slots:
  void toolButtonsSwitchToolAndCursor();
  void paintingToolsThroughTheView();
  void selectionDialogAnswersEachAction();
  void zoomedLineLandsInImageCoordinates();
  void tiledViewShowsTheCopiesAndTheSeams();
  void thumbnailAppearsOnFirstShowAndPastes();
  void designersThroughTheirControls();
};

class OutputTest : public QObject {
  Q_OBJECT
 private slots:
  void placementFollowsTheRules();
  void printDialogAndThePrintedPage();
  void wallpaperGoesThroughTheDesktopsTool();
  void helpPagesShortcutsAndTitle();
};

class TextLogTest : public QObject {
  Q_OBJECT
 private slots:
  void rightAlignedLinesEndTogether();
  void dialogFieldsFollowTheRules();
  void placedTextIsWhatTheBatchToolDraws();
  void logViewerFollowsAndEditorAsks();
  void aboutBoxPlaysThenCloses();
  void everyCommandReplaysInTheBatchTool();
};

}  // namespace vorq::gui::test
