#include "gui/dialogs/tf_trans.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/widgets/color_ref.h"

namespace vorq::gui {

TfTrans::TfTrans(QWidget* parent, ColorChooser chooseColor) : QDialog(parent), chooseColor_(std::move(chooseColor)) {
  setObjectName("fTrans");
  setWindowTitle("Transparent Paste Options");

  auto* group = new QGroupBox("Transparent Color Selection", this);
  group->setObjectName("GroupBox1");
  rbNorm = new QRadioButton("Normal (Lower left pixel is transparent color)", group);
  rbNorm->setObjectName("rbNorm");
  rbNorm->setChecked(true);
  rbPen = new QRadioButton("Use Pen Color for transparent color", group);
  rbPen->setObjectName("rbPen");
  rbCustom = new QRadioButton("Custom Color...", group);
  rbCustom->setObjectName("rbCustom");
  connect(rbNorm, &QRadioButton::clicked, this, &TfTrans::rbNormClick);
  connect(rbPen, &QRadioButton::clicked, this, &TfTrans::rbPenClick);
  connect(rbCustom, &QRadioButton::clicked, this, &TfTrans::rbCustomClick);

  Shape1 = new QFrame(group);
  Shape1->setObjectName("Shape1");
  Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
  Shape1->setFixedSize(41, 41);
  Shape1->setAutoFillBackground(true);
  Shape1->setCursor(Qt::PointingHandCursor);
  Shape1->installEventFilter(this);
  auto* swatchLabel = new QLabel("Transparent Color", group);
  swatchLabel->setObjectName("Label1");
  swatchLabel->setAlignment(Qt::AlignCenter);

  auto* radios = new QVBoxLayout;
  radios->addWidget(rbNorm);
  radios->addWidget(rbPen);
  radios->addWidget(rbCustom);
  auto* swatch = new QVBoxLayout;
  swatch->addWidget(Shape1, 0, Qt::AlignHCenter);
  swatch->addWidget(swatchLabel);
  swatch->addStretch();
  auto* inGroup = new QHBoxLayout(group);
  inGroup->addLayout(radios, 1);
  inGroup->addSpacing(8);
  inGroup->addLayout(swatch);

  cbReSize = new QCheckBox("ReSize Clipboard Image before paste", this);
  cbReSize->setObjectName("cbReSize");
  cbReSize->setChecked(true);

  bOK = new QPushButton("OK", this);
  bOK->setObjectName("bOK");
  bOK->setDefault(true);
  bCancel = new QPushButton("Cancel", this);
  bCancel->setObjectName("bCancel");
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bOK);
  buttons->addWidget(bCancel);

  auto* column = new QVBoxLayout(this);
  column->addWidget(group);
  column->addWidget(cbReSize);
  column->addSpacing(6);
  column->addLayout(buttons);
  setFixedSize(sizeHint());
  SetSwatch(0);
}

bool TfTrans::Edit(TransparentOptions& options) {
  options_ = options;
  using S = TransparentOptions::Source;
  (options_.Mode == S::Pen ? rbPen : options_.Mode == S::Custom ? rbCustom : rbNorm)->setChecked(true);
  cbReSize->setChecked(options_.ReSize);
  SetSwatch(options_.Color);
  if (QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen())
    move(screen->availableGeometry().center() - rect().center());
  const bool ok = exec() == QDialog::Accepted;
  options_.ReSize = cbReSize->isChecked();
  options = options_;
  return ok;
}

void TfTrans::SetSwatch(uint32_t colour) {
  options_.Color = colour;
  QPalette p = Shape1->palette();
  p.setColor(QPalette::Window, FromColorRef(colour));
  Shape1->setPalette(p);
}

void TfTrans::rbNormClick() {
  options_.Mode = TransparentOptions::Source::Normal;
  SetSwatch(options_.ColorFor(options_.Mode));
}

void TfTrans::rbPenClick() {
  options_.Mode = TransparentOptions::Source::Pen;
  SetSwatch(options_.ColorFor(options_.Mode));
}

void TfTrans::rbCustomClick() {
  options_.Mode = TransparentOptions::Source::Custom;
  SetSwatch(options_.ColorFor(options_.Mode));
}

void TfTrans::Shape1MouseDown() {
  if (!rbCustom->isChecked() || !chooseColor_) return;
  uint32_t colour = options_.CustomColor;
  if (!chooseColor_(colour)) return;
  options_.CustomColor = colour;
  SetSwatch(colour);
}

bool TfTrans::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Shape1 && event->type() == QEvent::MouseButtonPress) {
    Shape1MouseDown();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace vorq::gui
