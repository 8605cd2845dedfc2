#include "gui/dialogs/tf_gif.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "gui/widgets/color_ref.h"

namespace vorq::gui {

namespace {
constexpr int kGridSide = TfGif::kSwatchPitch * 16;  // the last swatch's gap included
constexpr int kButtonTop = TfGif::kGridTop + kGridSide + 8;
constexpr int kButtonWidth = 75, kButtonHeight = 25;
}  // namespace

TfGif::TfGif(QWidget* parent) : QDialog(parent) {
  setObjectName("fGif");
  setWindowTitle("Set GIF Transparency");

  bOK = new QPushButton("OK", this);
  bOK->setObjectName("bOK");
  bNone = new QPushButton("None", this);
  bNone->setObjectName("bNone");
  bCancel = new QPushButton("Cancel", this);
  bCancel->setObjectName("bCancel");
  const int gap = (kGridSide - 3 * kButtonWidth) / 2;
  bOK->setGeometry(kGridLeft, kButtonTop, kButtonWidth, kButtonHeight);
  bNone->setGeometry(kGridLeft + kButtonWidth + gap, kButtonTop, kButtonWidth, kButtonHeight);
  bCancel->setGeometry(kGridLeft + 2 * (kButtonWidth + gap), kButtonTop, kButtonWidth, kButtonHeight);
  bOK->setDefault(true);
  connect(bOK, &QPushButton::clicked, this, [this] { done(kOK); });
  connect(bNone, &QPushButton::clicked, this, [this] { done(kNone); });
  connect(bCancel, &QPushButton::clicked, this, [this] { done(kCancel); });

  setFixedSize(kGridLeft * 2 + kGridSide - 1, kButtonTop + kButtonHeight + 8);
}

QRect TfGif::SwatchRect(int i) {
  return QRect(kGridLeft + kSwatchPitch * (i % 16), kGridTop + kSwatchPitch * (i / 16), kSwatchSize, kSwatchSize);
}

void TfGif::SetColours(const std::array<uint32_t, 256>& colours, int count) {
  colours_ = colours;
  count_ = std::clamp(count, 0, 256);
  update();
}

QColor TfGif::SwatchColour(int i) const {
  if (count_ == 0) return QColor(0xC0, 0xC0, 0xC0);
  return FromColorRef(colours_[size_t(i < count_ ? i : 0)] & 0xFFFFFFu);
}

void TfGif::SetSelectedIndex(int index) {
  selected_ = (index >= 0 && index < 256) ? index : kNoSelection;
  update();
}

int TfGif::Ask(const std::array<uint32_t, 256>& colours, int count, int& index) {
  SetColours(colours, count);
  SetSelectedIndex(index);
  const int result = exec();
  index = selected_;
  return result == kOK || result == kNone ? result : kCancel;
}

void TfGif::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (int i = 0; i < 256; ++i) p.fillRect(SwatchRect(i), SwatchColour(i));
  if (selected_ != kNoSelection) {
    // A black line with a white one inside, visible on any colour.
    const QRect r = SwatchRect(selected_);
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(Qt::white);
    p.drawRect(r.adjusted(1, 1, -2, -2));
  }
}

void TfGif::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const int x = at.x() - kGridLeft, y = at.y() - kGridTop;
  // Only a click on a swatch counts; the one-pixel gaps between them belong to none.
  if (event->button() != Qt::LeftButton || x < 0 || y < 0 || x % kSwatchPitch >= kSwatchSize ||
      y % kSwatchPitch >= kSwatchSize) {
    QDialog::mousePressEvent(event);
    return;
  }
  const int column = x / kSwatchPitch, row = y / kSwatchPitch;
  if (column > 15 || row > 15) {
    QDialog::mousePressEvent(event);
    return;
  }
  const int old = selected_;
  selected_ = column + 16 * row;
  if (old != kNoSelection) update(SwatchRect(old));
  update(SwatchRect(selected_));
}

}  // namespace vorq::gui
