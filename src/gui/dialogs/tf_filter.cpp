#include "gui/dialogs/tf_filter.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorq::gui {

TfFilter::TfFilter(QWidget* parent) : QDialog(parent) {
  setObjectName("fFilter");
  setWindowTitle("Create-A-Filter");

  auto* intro = new QLabel(
      "3 x 3 Convolution filter.  Each box represents a pixel, except the one on the right, which is used as a "
      "divisor.  Each pixels color value is multiplied by the specified value, summed, then divided by the "
      "divisor. (Don't use 0)",
      this);
  intro->setObjectName("Label1");
  intro->setWordWrap(true);
  auto* note = new QLabel("Negative numbers are allowed, but not real numbers.", this);
  note->setObjectName("Label2");
  note->setWordWrap(true);

  auto* grid = new QGridLayout;
  grid->setSpacing(4);
  for (int i = 0; i < 9; ++i) {
    auto* box = new QLineEdit(this);
    box->setObjectName(QString("e%1").arg(i + 1));
    box->setFixedWidth(40);
    box->setAlignment(Qt::AlignRight);
    grid->addWidget(box, i / 3, i % 3);
    e_[size_t(i)] = box;
  }
  eDiv = new QLineEdit(this);
  eDiv->setObjectName("eDiv");
  eDiv->setFixedWidth(40);
  eDiv->setAlignment(Qt::AlignRight);
  // The divisor stands apart, level with the middle row.
  grid->setColumnMinimumWidth(3, 16);
  grid->addWidget(eDiv, 1, 4);

  auto* kernelRow = new QHBoxLayout;
  kernelRow->addStretch();
  kernelRow->addLayout(grid);
  kernelRow->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("bOK");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("bCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* column = new QVBoxLayout(this);
  column->addWidget(intro);
  column->addLayout(kernelRow);
  column->addWidget(note);
  column->addWidget(buttons);
  setFixedWidth(320);

  SetBoxes(FilterBoxes{});
}

void TfFilter::SetBoxes(const FilterBoxes& boxes) {
  for (size_t i = 0; i < 9; ++i) e_[i]->setText(QString::fromStdString(boxes.e[i]));
  eDiv->setText(QString::fromStdString(boxes.eDiv));
}

void TfFilter::GetBoxes(FilterBoxes& boxes) const {
  for (size_t i = 0; i < 9; ++i) boxes.e[i] = e_[i]->text().toStdString();
  boxes.eDiv = eDiv->text().toStdString();
}

bool TfFilter::Edit(FilterBoxes& boxes) {
  SetBoxes(boxes);
  if (exec() != QDialog::Accepted) return false;
  GetBoxes(boxes);
  return true;
}

}  // namespace vorq::gui
