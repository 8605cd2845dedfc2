// The floating tool box: pen, brush and the painting tools at the top, the
// current effect's parameter fields below and the colour sliders under
// them. It mirrors the editor's ToolBoxPanel and hands the user's typing
// back to it before anything is applied.
#pragma once

#include <QWidget>
#include <array>

#include "editor/commands/sliders.h"
#include "editor/editor.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QToolButton;

namespace vorq::gui {

class ImageView;
class LivePreview;

class TfToolBox : public QWidget {
  Q_OBJECT
 public:
  TfToolBox(Editor& editor, QWidget* mainWindow);

  // Shows what the editor's panel state says (after ShowEffect and friends).
  void ShowEffect();
  // Copies the edit boxes' texts and the check boxes into the editor's panel state.
  void StoreBoxes();

  // The image the painting tools draw on and the colour sliders preview in.
  void AttachView(ImageView* view);
  bool ColorSlidersShown() const;
  const SliderPositions& Sliders() const { return sliders_; }
  LivePreview* livePreview() const { return live_; }

 public slots:
  // Shows or hides the colour sliders (also the main window's bColor).
  void bColorClick();

 signals:
  void ApplyRequested();  // bGo2
  void UndoRequested();   // SpeedButton1
  void Closed();          // the window's own close command

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreatePaintingControls();
  void CreateParameterPanel();
  void ChooseColor(bool pen);
  void ShowColors();
  void sbLRScroll(int position);
  void sbUDScroll(int position);
  void CreateColorSliders();
  // cbPreview and what makes it preview again: the boxes, check boxes, D and the colours.
  void CreateLivePreview();
  void sbBrightScroll();
  void bGoodClick();
  void bBadClick();
  // After OK or Cancel: bars back without a preview, the main window usable again.
  void EndPreview();

  Editor& editor_;
  ImageView* view_ = nullptr;
  bool syncing_ = false;
  SliderPositions sliders_;

  QPushButton* bPen = nullptr;
  QPushButton* bBrush = nullptr;
  QLineEdit* ePenSize = nullptr;
  QButtonGroup* tools_ = nullptr;
  QCheckBox* cFill = nullptr;
  QSpinBox* eTolerance = nullptr;  // flood fill tolerance, shown with the Fill tool
  QLabel* lblEffect = nullptr;
  std::array<QLineEdit*, kEditBoxCount> edits_{};
  std::array<QLabel*, kEditBoxCount> labels_{};
  QCheckBox* ckbxPeaks = nullptr;
  QCheckBox* ckbxWrap = nullptr;
  QCheckBox* cbBump = nullptr;
  QComboBox* cbSeams = nullptr;  // which seams Seamless Edge and Edge Merge join
  QLabel* lblSeams = nullptr;
  QScrollBar* sbLR = nullptr;
  QScrollBar* sbUD = nullptr;
  QLabel* lblBtn = nullptr;
  QLabel* lblHelp = nullptr;
  QToolButton* btnDefault = nullptr;
  QToolButton* bGo2 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* bCols2 = nullptr;
  QFrame* pnlColors = nullptr;
  QScrollBar* sbBright = nullptr;
  QScrollBar* sbContrast = nullptr;
  QScrollBar* sbSaturation = nullptr;
  QScrollBar* sbRed = nullptr;
  QScrollBar* sbGreen = nullptr;
  QScrollBar* sbBlue = nullptr;
  QPushButton* bGood = nullptr;
  QPushButton* bBad = nullptr;
  QCheckBox* cbPreview = nullptr;
  LivePreview* live_ = nullptr;
};

}  // namespace vorq::gui
