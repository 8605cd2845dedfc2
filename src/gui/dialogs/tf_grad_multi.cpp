#include "gui/dialogs/tf_grad_multi.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "core/gradients/designers.h"
#include "editor/commands/gradient.h"
#include "gui/widgets/color_ref.h"

namespace vorq::gui {

namespace {

constexpr int kStripHeight = 22, kMarkerWidth = 2 * kMarkerHalf, kMarkerHeight = 18, kMarkerTop = 2;
constexpr int kPreviewMax = 640, kPreviewMin = 64;

// A panel filled with a colour that a double click changes.
class ColourPanel : public QFrame {
 public:
  ColourPanel(QWidget* parent, const char* name, uint32_t& colour, std::function<void()> doubleClicked)
      : QFrame(parent), colour_(colour), doubleClicked_(std::move(doubleClicked)) {
    setObjectName(name);
    setAutoFillBackground(false);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    {
      QPainter p(this);
      p.fillRect(rect(), FromColorRef(colour_));
    }
    QFrame::paintEvent(e);
  }
  void mouseDoubleClickEvent(QMouseEvent*) override { doubleClicked_(); }

  uint32_t& colour_;
  std::function<void()> doubleClicked_;
};

// A marker on the strip: dragged sideways, dropped where the mouse lets go.
class MarkerPanel : public ColourPanel {
 public:
  MarkerPanel(QWidget* strip, const char* name, uint32_t& colour, std::function<void()> doubleClicked,
              std::function<void(int)> dropped)
      : ColourPanel(strip, name, colour, std::move(doubleClicked)), dropped_(std::move(dropped)) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setCursor(Qt::SizeHorCursor);
    resize(kMarkerWidth, kMarkerHeight);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    dragging_ = true;
    grabX_ = int(e->position().x());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!dragging_) return;
    // The marker's middle stays on the strip, so it can always be taken again.
    const int left = x() + int(e->position().x()) - grabX_;
    move(std::clamp(left, -kMarkerHalf, parentWidget()->width() - kMarkerHalf), y());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!dragging_ || e->button() != Qt::LeftButton) return;
    dragging_ = false;
    dropped_(x());
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    dragging_ = false;
    ColourPanel::mouseDoubleClickEvent(e);
  }

 private:
  std::function<void(int)> dropped_;
  bool dragging_ = false;
  int grabX_ = 0;
};

// The preview paint box: the multi-gradient as it will be painted.
class PreviewBox : public QWidget {
 public:
  PreviewBox(QWidget* parent, const TFastDIB& pixels) : QWidget(parent), pixels_(pixels) {
    setObjectName("Image1");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (pixels_.Empty()) return;
    p.drawImage(0, 0, QImage(pixels_.Bits, pixels_.Width(), pixels_.Height(), int(pixels_.BytesPerRow),
                             QImage::Format_BGR888));
  }

 private:
  const TFastDIB& pixels_;
};

QLineEdit* Field(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setFixedWidth(64);
  e->setAlignment(Qt::AlignRight);
  e->setValidator(new QRegularExpressionValidator(QRegularExpression("\\d{0,5}"), e));
  return e;
}

}  // namespace

TfGradMulti::TfGradMulti(MultiGradientState& state, ColorChooser chooseColor, MessageSink showMessage,
                         QWidget* parent)
    : QDialog(parent), m_(state), chooseColor_(std::move(chooseColor)), showMessage_(std::move(showMessage)) {
  setObjectName("fGradMulti");
  setWindowTitle("Multi-Gradient Designer");

  eWide = Field(this, "eWide");
  eHigh = Field(this, "eHigh");
  lLeft = new QLabel(this);
  lLeft->setObjectName("lLeft");
  lLeft->setMinimumWidth(40);
  lRight = new QLabel(this);
  lRight->setObjectName("lRight");
  lRight->setMinimumWidth(40);
  auto* hint = new QLabel("Double Click to Change a Color...", this);
  hint->setObjectName("lHint");
  Button1 = new QPushButton("OK", this);
  Button1->setObjectName("Button1");
  Button1->setDefault(true);

  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(6);
  fields->addWidget(new QLabel("Width", this), 0, 0);
  fields->addWidget(eWide, 0, 1);
  fields->addWidget(new QLabel("Left Pos:", this), 0, 3);
  fields->addWidget(lLeft, 0, 4);
  fields->addWidget(new QLabel("Height", this), 1, 0);
  fields->addWidget(eHigh, 1, 1);
  fields->addWidget(new QLabel("Right Pos:", this), 1, 3);
  fields->addWidget(lRight, 1, 4);
  fields->setColumnMinimumWidth(2, 12);
  fields->setColumnStretch(5, 1);

  // The strip and the preview scroll together, so the markers stay over their columns.
  auto* sheet = new QWidget;
  pSides = new ColourPanel(sheet, "pSides", m_.Side, [this] { ChooseColour(m_.Side); });
  static_cast<QFrame*>(pSides)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto dropped = [this](bool left) { return [this, left](int x) { MarkerDropped(left, x); }; };
  pL = new MarkerPanel(pSides, "pL", m_.Left, [this] { ChooseColour(m_.Left); }, dropped(true));
  pR = new MarkerPanel(pSides, "pR", m_.Right, [this] { ChooseColour(m_.Right); }, dropped(false));
  Image1 = new PreviewBox(sheet, canvas_);
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName("sbPreview");
  scroll_->setWidget(sheet);
  scroll_->setWidgetResizable(false);
  scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(hint);
  bottom->addStretch();
  bottom->addWidget(Button1);

  auto* column = new QVBoxLayout(this);
  column->addLayout(fields);
  column->addWidget(scroll_, 0, Qt::AlignLeft);
  column->addLayout(bottom);
  column->setSizeConstraint(QLayout::SetFixedSize);  // the window fits its contents

  auto changed = [this](std::string (*handler)(MultiGradientState&, const std::string&)) {
    return [this, handler](const QString& text) {
      if (loading_) return;
      const std::string error = handler(m_, text.toStdString());
      if (!error.empty() && showMessage_) showMessage_(error);
      Refresh();
    };
  };
  connect(eWide, &QLineEdit::textChanged, this, changed(eWideChange));
  connect(eHigh, &QLineEdit::textChanged, this, changed(eHighChange));
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  LoadFields();
  Refresh();
}

void TfGradMulti::LoadFields() {
  loading_ = true;
  eWide->setText(QString::fromStdString(m_.Width));
  eHigh->setText(QString::fromStdString(m_.Height));
  loading_ = false;
}

void TfGradMulti::Refresh() {
  const int w = m_.PreviewWidth, h = m_.PreviewHeight;
  if (canvas_.SetSize(w, h, 24, 0)) PaintMultiGradient(canvas_, m_.Side, m_.Left, m_.Right, m_.LeftPos, m_.RightPos);
  pSides->setGeometry(0, 0, w, kStripHeight);
  Image1->setGeometry(0, kStripHeight, w, h);
  pSides->parentWidget()->setFixedSize(w, kStripHeight + h);
  pL->move(m_.LeftPos - kMarkerHalf, kMarkerTop);
  pR->move(m_.RightPos - kMarkerHalf, kMarkerTop);
  lLeft->setText(QString::number(m_.LeftPos));
  lRight->setText(QString::number(m_.RightPos));
  const int frame = 2 * scroll_->frameWidth();
  const int bar = scroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int sheetH = kStripHeight + h;
  const int vw = std::min(w, kPreviewMax) + (sheetH > kPreviewMax ? bar : 0);
  const int vh = std::min(sheetH, kPreviewMax) + (w > kPreviewMax ? bar : 0);
  scroll_->setFixedSize(std::max(vw, kPreviewMin) + frame, std::max(vh, kPreviewMin) + frame);
  pSides->update();
  pL->update();
  pR->update();
  Image1->update();
}

void TfGradMulti::MarkerDropped(bool left, int markerLeft) {
  if (left)
    DropLeftMarker(m_, markerLeft);
  else
    DropRightMarker(m_, markerLeft);
  Refresh();
}

void TfGradMulti::ChooseColour(uint32_t& colour) {
  uint32_t c = colour;
  if (!chooseColor_ || !chooseColor_(c)) return;
  colour = c & 0xFFFFFFu;
  Refresh();
}

bool TfGradMulti::Edit() {
  LoadFields();
  Refresh();
  return exec() == QDialog::Accepted;
}

}  // namespace vorq::gui
