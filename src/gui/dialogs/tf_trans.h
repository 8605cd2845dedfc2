// "Transparent Paste Options": which colour of the clipboard image is left
// out (its lower-left pixel, the pen colour or a chosen one) and whether the
// image is first stretched to the working image's size.
#pragma once

#include <QDialog>
#include <functional>

#include "editor/editor.h"

class QCheckBox;
class QFrame;
class QPushButton;
class QRadioButton;

namespace vorq::gui {

class TfTrans : public QDialog {
  Q_OBJECT
 public:
  // chooseColor: the colour dialog (colour in and out); false when cancelled.
  using ColorChooser = std::function<bool(uint32_t& colour)>;
  TfTrans(QWidget* parent, ColorChooser chooseColor);

  // Modal, centred on the screen; true on OK. The choices made are kept in
  // options either way, as the dialog keeps them between showings.
  bool Edit(TransparentOptions& options);
  uint32_t SwatchColor() const { return options_.Color; }

 private:
  void rbNormClick();
  void rbPenClick();
  void rbCustomClick();
  void Shape1MouseDown();
  void SetSwatch(uint32_t colour);
  bool eventFilter(QObject* watched, QEvent* event) override;

  TransparentOptions options_;
  ColorChooser chooseColor_;
  QRadioButton* rbNorm = nullptr;
  QRadioButton* rbPen = nullptr;
  QRadioButton* rbCustom = nullptr;
  QFrame* Shape1 = nullptr;
  QCheckBox* cbReSize = nullptr;
  QPushButton* bOK = nullptr;
  QPushButton* bCancel = nullptr;
};

}  // namespace vorq::gui
