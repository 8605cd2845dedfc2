// The Selection Action dialog: what to do with the area just selected on the image.
#pragma once

#include <QDialog>

#include "editor/commands/painting.h"

class QPushButton;

namespace vorq::gui {

class TfSelect : public QDialog {
  Q_OBJECT
 public:
  explicit TfSelect(QWidget* parent = nullptr);

  // Modal; closing the window counts as Cancel.
  SelectionAction Ask();

 private:
  SelectionAction chosen_ = SelectionAction::Cancel;
};

}  // namespace vorq::gui
