// The Create-A-Filter dialog: a 3 x 3 kernel and its divisor, typed as text.
#pragma once

#include <QDialog>
#include <array>

#include "editor/editor.h"

class QLineEdit;

namespace vorq::gui {

class TfFilter : public QDialog {
  Q_OBJECT
 public:
  explicit TfFilter(QWidget* parent = nullptr);

  void SetBoxes(const FilterBoxes& boxes);
  void GetBoxes(FilterBoxes& boxes) const;
  // Modal; on OK the boxes receive the texts typed.
  bool Edit(FilterBoxes& boxes);

 private:
  std::array<QLineEdit*, 9> e_{};
  QLineEdit* eDiv = nullptr;
};

}  // namespace vorq::gui
