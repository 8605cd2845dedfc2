// The floating tool box: pen and brush at the top, the current effect's
// parameter fields below. It mirrors the editor's ToolBoxPanel and hands the
// user's typing back to it before anything is applied.
#pragma once

#include <QWidget>
#include <array>

#include "editor/editor.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;

namespace vorq::gui {

class TfToolBox : public QWidget {
  Q_OBJECT
 public:
  TfToolBox(Editor& editor, QWidget* mainWindow);

  // Shows what the editor's panel state says (after ShowEffect and friends).
  void ShowEffect();
  // Copies the edit boxes' texts and the check boxes into the editor's panel state.
  void StoreBoxes();

 signals:
  void ApplyRequested();  // bGo2
  void UndoRequested();   // SpeedButton1
  void Closed();          // the window's own close command

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreatePaintingControls();
  void CreateParameterPanel();
  void ChooseColor(bool pen);
  void ShowColors();
  void sbLRScroll(int position);
  void sbUDScroll(int position);

  Editor& editor_;
  bool syncing_ = false;

  QPushButton* bPen = nullptr;
  QPushButton* bBrush = nullptr;
  QLineEdit* ePenSize = nullptr;
  QLabel* lblEffect = nullptr;
  std::array<QLineEdit*, kEditBoxCount> edits_{};
  std::array<QLabel*, kEditBoxCount> labels_{};
  QCheckBox* ckbxPeaks = nullptr;
  QCheckBox* ckbxWrap = nullptr;
  QCheckBox* cbBump = nullptr;
  QScrollBar* sbLR = nullptr;
  QScrollBar* sbUD = nullptr;
  QLabel* lblBtn = nullptr;
  QLabel* lblHelp = nullptr;
  QToolButton* btnDefault = nullptr;
  QToolButton* bGo2 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QToolButton* bCols2 = nullptr;
};

}  // namespace vorq::gui
