#include "gui/dialogs/tf_jpgcomp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "core/oplog/log_format.h"

namespace vorq::gui {

TfJPGComp::TfJPGComp(QWidget* parent, MessageSink showMessage)
    : QDialog(parent), showMessage_(std::move(showMessage)) {
  setObjectName("fJPGComp");
  setWindowTitle("Set JPG Compression Quality");

  auto* note = new QLabel(
      "JPG Compression Quality is a factor in the size of the saved *.jpg file.  A smaller number will produce a "
      "much smaller file, but at the expense of picture clarity, color sharpness, and details.",
      this);
  note->setObjectName("Label1");
  note->setWordWrap(true);

  eCVal = new QLineEdit("90", this);
  eCVal->setObjectName("eCVal");
  eCVal->setFixedWidth(40);
  eCVal->setAlignment(Qt::AlignRight);
  sbCVal = new QScrollBar(Qt::Horizontal, this);
  sbCVal->setObjectName("sbCVal");
  sbCVal->setRange(0, 100);
  sbCVal->setSingleStep(1);
  sbCVal->setPageStep(10);
  sbCVal->setValue(90);
  sbCVal->setMinimumWidth(180);
  // Both directions: typing moves the bar, moving the bar rewrites the text.
  connect(eCVal, &QLineEdit::textChanged, this, &TfJPGComp::eCValChange);
  connect(sbCVal, &QScrollBar::valueChanged, this, &TfJPGComp::sbCValChange);

  auto* valueRow = new QHBoxLayout;
  valueRow->addWidget(eCVal);
  valueRow->addWidget(sbCVal, 1);

  bOK = new QPushButton("OK", this);
  bOK->setObjectName("bOK");
  bOK->setDefault(true);
  bCancel = new QPushButton("Cancel", this);
  bCancel->setObjectName("bCancel");
  bDefault = new QPushButton("Default", this);
  bDefault->setObjectName("bDefault");
  bDefault->setAutoDefault(false);
  connect(bOK, &QPushButton::clicked, this, &TfJPGComp::accept);
  connect(bCancel, &QPushButton::clicked, this, &TfJPGComp::reject);
  connect(bDefault, &QPushButton::clicked, this, &TfJPGComp::bDefaultClick);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);
  buttons->addStretch();
  buttons->addWidget(bDefault);

  auto* column = new QVBoxLayout(this);
  column->addWidget(note);
  column->addSpacing(6);
  column->addLayout(valueRow);
  column->addSpacing(6);
  column->addLayout(buttons);
  setFixedWidth(300);
}

QString TfJPGComp::Text() const { return eCVal->text(); }
void TfJPGComp::SetText(const QString& text) { eCVal->setText(text); }
int TfJPGComp::Position() const { return sbCVal->value(); }

void TfJPGComp::eCValChange(const QString& text) {
  if (text.isEmpty()) return;
  // A sign alone is a number still being typed.
  if (text == "-" || text == "+") return;
  const auto value = ParseInt(text.toStdString());
  if (!value) {
    const std::string message = NotAnInteger(text.toStdString());
    if (showMessage_)
      showMessage_(message);
    else
      QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
    return;
  }
  if (*value < 0) {
    eCVal->setText("0");  // comes back here with the clamped text
    return;
  }
  if (*value > 100) {
    eCVal->setText("100");
    return;
  }
  sbCVal->setValue(*value);
}

void TfJPGComp::sbCValChange(int position) {
  // The box already says so when the change came from typing ("090" stays as typed).
  const auto shown = ParseInt(eCVal->text().toStdString());
  if (shown && *shown == position) return;
  eCVal->setText(QString::number(position));
}

void TfJPGComp::bDefaultClick() { eCVal->setText("90"); }

void TfJPGComp::accept() {
  savedQuality_ = sbCVal->value();
  QDialog::accept();
}

void TfJPGComp::reject() {
  sbCVal->setValue(savedQuality_);
  QDialog::reject();
}

bool TfJPGComp::Edit(int& quality) {
  if (exec() != QDialog::Accepted) return false;
  quality = sbCVal->value();
  return true;
}

}  // namespace vorq::gui
