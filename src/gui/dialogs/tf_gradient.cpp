#include "gui/dialogs/tf_gradient.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/commands/gradient.h"
#include "gui/widgets/glyphs.h"
#include "gui/widgets/tvorq_gradient_view.h"

namespace vorq::gui {

namespace {

// Larger gradients scroll inside the preview rather than stretch the dialog.
constexpr int kPreviewMax = 640, kPreviewMin = 64;

QLineEdit* Field(QWidget* parent, const char* name, const char* pattern) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setFixedWidth(64);
  e->setAlignment(Qt::AlignRight);
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), e));
  return e;
}

}  // namespace

TfGradient::TfGradient(Editor& editor, ColorChooser chooseColor, MessageSink showMessage, QWidget* parent)
    : QDialog(parent),
      editor_(editor),
      g_(editor.Gradient),
      chooseColor_(std::move(chooseColor)),
      showMessage_(std::move(showMessage)) {
  setObjectName("fGradient");
  setWindowTitle("Gradient Designer");

  meWide = Field(this, "meWide", "\\d{0,5}");
  meHigh = Field(this, "meHigh", "\\d{0,5}");
  meAngle = Field(this, "meAngle", "-?\\d{0,9}");
  cbStyle = new QComboBox(this);
  cbStyle->setObjectName("cbStyle");
  for (const char* item : kGradientStyleItems) cbStyle->addItem(item);

  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(6);
  fields->setVerticalSpacing(4);
  auto label = [this](const char* text, QWidget* buddy) {
    auto* l = new QLabel(text, this);
    l->setBuddy(buddy);
    return l;
  };
  fields->addWidget(label("Width", meWide), 0, 0);
  fields->addWidget(meWide, 0, 1);
  fields->addWidget(label("Height", meHigh), 1, 0);
  fields->addWidget(meHigh, 1, 1);
  fields->addWidget(label("Angle", meAngle), 2, 0);
  fields->addWidget(meAngle, 2, 1);

  bFromCl = new QPushButton("From Color...", this);
  bFromCl->setObjectName("bFromCl");
  bFromCl->setToolTip("Set Starting Color");
  bClTo = new QPushButton("To Color...", this);
  bClTo->setObjectName("bClTo");
  bClTo->setToolTip("Set Ending Color");
  bPaste = new QToolButton(this);
  bPaste->setObjectName("bPaste");
  bPaste->setIcon(GlyphIcon(Glyph::PasteGradient));
  bPaste->setToolTip("Paste into Image Now");
  bDefault = new QPushButton("D", this);
  bDefault->setObjectName("bDefault");
  bDefault->setToolTip("Reset to Defaults");
  bDefault->setFixedWidth(28);
  bOK = new QPushButton("OK", this);
  bOK->setObjectName("bOK");
  bOK->setDefault(true);

  auto* small = new QHBoxLayout;
  small->addWidget(bPaste);
  small->addStretch();
  small->addWidget(bDefault);

  auto* controls = new QVBoxLayout;
  controls->addLayout(fields);
  controls->addSpacing(6);
  controls->addWidget(new QLabel("Gradient Style", this));
  controls->addWidget(cbStyle);
  controls->addSpacing(6);
  controls->addWidget(bFromCl);
  controls->addWidget(bClTo);
  controls->addSpacing(6);
  controls->addLayout(small);
  controls->addStretch();
  controls->addWidget(bOK);

  view_ = new TVorqGradientView(g_.hGrad);
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName("sbPreview");
  scroll_->setWidget(view_);
  scroll_->setWidgetResizable(false);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* row = new QHBoxLayout(this);
  row->addLayout(controls);
  row->addWidget(scroll_, 0, Qt::AlignTop);
  row->setSizeConstraint(QLayout::SetFixedSize);  // the window fits its contents

  connect(meWide, &QLineEdit::textChanged, this,
          [this](const QString& t) { Handled(meWideChange(g_, t.toStdString())); });
  connect(meHigh, &QLineEdit::textChanged, this,
          [this](const QString& t) { Handled(meHighChange(g_, t.toStdString())); });
  connect(meAngle, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (t != "-") Handled(meAngleChange(g_, t.toStdString()));  // a minus sign alone is a number being typed
  });
  connect(cbStyle, &QComboBox::currentTextChanged, this, [this](const QString& t) {
    if (loading_) return;
    cbStyleChange(g_, t.toStdString());
    PreviewChanged();
  });
  connect(bFromCl, &QPushButton::clicked, this, [this] { ChooseColour(true); });
  connect(bClTo, &QPushButton::clicked, this, [this] { ChooseColour(false); });
  connect(bPaste, &QToolButton::clicked, this, [this] { PasteToImage1Click(editor_); });
  connect(bDefault, &QPushButton::clicked, this, [this] {
    bDefaultClick(g_);
    LoadFields();
    PreviewChanged();
  });
  connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
  LoadFields();
  PreviewChanged();
}

void TfGradient::LoadFields() {
  loading_ = true;
  for (QWidget* w : std::initializer_list<QWidget*>{meWide, meHigh, meAngle, cbStyle}) w->blockSignals(true);
  meWide->setText(QString::fromStdString(g_.Width));
  meHigh->setText(QString::fromStdString(g_.Height));
  meAngle->setText(QString::fromStdString(g_.Angle));
  cbStyle->setCurrentText(QString::fromStdString(g_.Style));
  for (QWidget* w : std::initializer_list<QWidget*>{meWide, meHigh, meAngle, cbStyle}) w->blockSignals(false);
  loading_ = false;
}

void TfGradient::Handled(const std::string& error) {
  if (loading_) return;
  if (!error.empty() && showMessage_) showMessage_(error);
  PreviewChanged();
}

void TfGradient::PreviewChanged() {
  view_->Changed();
  const int frame = 2 * scroll_->frameWidth();
  const int bar = scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int w = g_.hGrad.Width(), h = g_.hGrad.Height();
  // Room for a scroll bar only where the other side scrolls.
  const int vw = std::min(w, kPreviewMax) + (h > kPreviewMax ? bar : 0);
  const int vh = std::min(h, kPreviewMax) + (w > kPreviewMax ? bar : 0);
  // A tiny gradient still gets a preview area of a sensible size.
  scroll_->setFixedSize(std::max(vw, kPreviewMin) + frame, std::max(vh, kPreviewMin) + frame);
}

void TfGradient::ChooseColour(bool begin) {
  uint32_t colour = begin ? g_.hGrad.BeginColor() : g_.hGrad.EndColor();
  if (!chooseColor_ || !chooseColor_(colour)) return;
  if (begin)
    g_.hGrad.SetBeginColor(colour & 0xFFFFFFu);
  else
    g_.hGrad.SetEndColor(colour & 0xFFFFFFu);
  PreviewChanged();
}

bool TfGradient::Edit() {
  LoadFields();
  PreviewChanged();
  return exec() == QDialog::Accepted;
}

}  // namespace vorq::gui
