#include "gui/widgets/tvorq_fade.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "core/gradients/fade.h"
#include "core/util/random.h"
#include "gui/widgets/color_ref.h"

namespace vorq::gui {

namespace {

QImage Wrap(TFastDIB& s) {
  if (s.Empty()) return {};
  return QImage(s.Bits, s.Width(), s.Height(), int(s.BytesPerRow), QImage::Format_BGR888);
}

// One side's bitmap: its colour, then its picture stretched over it or at the corner.
void PaintSide(TFastDIB& s, QSize size, uint32_t colour, const QImage& picture, bool stretch) {
  if (size.isEmpty() || !s.SetSize(size.width(), size.height(), 24, 0)) {
    s.SetSize(0, 0, 0, 0);
    return;
  }
  QImage image = Wrap(s);
  image.fill(FromColorRef(colour));
  if (picture.isNull()) return;
  QPainter p(&image);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  if (stretch)
    p.drawImage(QRect(QPoint(0, 0), size), picture);
  else
    p.drawImage(0, 0, picture);
}

}  // namespace

TVorqFade::TVorqFade(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &TVorqFade::Step);
  resize(75, 75);
  Rebuild();
}

void TVorqFade::SetPicFrom(const QImage& picture) {
  picFrom_ = picture;
  if (!swapPending_) Rebuild();
}

void TVorqFade::SetPicTo(const QImage& picture) {
  picTo_ = picture;
  if (!swapPending_) Rebuild();
}

void TVorqFade::SetColorFrom(uint32_t colour) {
  colorFrom_ = colour & 0xFFFFFF;
  if (!swapPending_) Rebuild();
}

void TVorqFade::SetColorTo(uint32_t colour) {
  colorTo_ = colour & 0xFFFFFF;
  if (!swapPending_) Rebuild();
}

void TVorqFade::SetStretchToFit(bool stretch) {
  stretchToFit_ = stretch;
  Rebuild();
}

void TVorqFade::SetDisolvRate(int64_t rate) { disolvRate_ = ClampDisolvRate(rate, int64_t(width()) * height()); }

void TVorqFade::SetBlendRate(int64_t rate) { blendRate_ = ClampBlendRate(rate); }

void TVorqFade::Rebuild() {
  if (rebuilding_) return;
  rebuilding_ = true;
  if (swapPending_) {
    std::swap(colorFrom_, colorTo_);
    std::swap(picFrom_, picTo_);
    swapPending_ = false;
    stretchToFit_ = savedStretch_;
  }
  const bool hasFrom = !picFrom_.isNull(), hasTo = !picTo_.isNull();
  if (stretchToFit_ || (!hasFrom && !hasTo)) {
    PaintSide(from_, size(), colorFrom_, picFrom_, true);
    PaintSide(to_, size(), colorTo_, picTo_, true);
  } else if (!hasFrom) {
    resize(picTo_.size());
    PaintSide(to_, size(), colorTo_, picTo_, false);
    PaintSide(from_, size(), colorFrom_, QImage(), false);
  } else if (!hasTo) {
    resize(picFrom_.size());
    PaintSide(from_, size(), colorFrom_, picFrom_, false);
    PaintSide(to_, size(), colorTo_, QImage(), false);
  } else {
    resize(picFrom_.size());
    PaintSide(from_, size(), colorFrom_, picFrom_, false);
    PaintSide(to_, size(), colorTo_, picTo_, true);
  }
  saved_.SetSize(std::max(from_.Width(), 0), from_.Height(), 24, 0);
  update();
  rebuilding_ = false;
  emit OnReset();
}

// ---- transitions ----

void TVorqFade::Blend() { Request(Kind::Blend); }
void TVorqFade::ReverseBlend() { Request(Kind::Reverse); }
void TVorqFade::Dissolve() { Request(Kind::Dissolve); }

void TVorqFade::Request(Kind kind) {
  if (kind_ == Kind::None) {
    Begin(kind);
    return;
  }
  // The same transition again while it runs changes nothing; another waits its turn.
  pending_ = kind == kind_ && !inReverse_ ? Kind::None : kind;
}

void TVorqFade::SwapForReverse() {
  savedStretch_ = stretchToFit_;
  stretchToFit_ = true;
  std::swap(colorFrom_, colorTo_);
  std::swap(picFrom_, picTo_);
  Rebuild();
  swapPending_ = true;
}

void TVorqFade::Begin(Kind kind) {
  kind_ = kind;
  frame_ = 0;
  if (kind == Kind::Dissolve) {
    SwapForReverse();
    Randomize();
    order_ = DissolveOrder(from_.Width(), from_.Height());
    const DissolvePlan plan = PlanDissolve(int64_t(order_.size()), disolvRate_);
    frames_ = plan.Frames;
    chunk_ = plan.Chunk;
    rest_ = plan.Rest;
  } else {
    if (kind == Kind::Blend) {
      Rebuild();
      CheckBlendRate(blendRate_);
      emit OnBegin();
    } else {
      SwapForReverse();
    }
    CopySurface(from_, saved_);
    frames_ = blendRate_;
  }
  clock_.start();
  Step();
}

void TVorqFade::Wait(qint64 untilMsec) { timer_.start(int(std::max<qint64>(0, untilMsec - clock_.elapsed()))); }

void TVorqFade::Step() {
  if (kind_ == Kind::None) return;
  if (frame_ < 0) {
    // The pause before an automatic reverse is over.
    Begin(swapOnReverse_ ? Kind::Dissolve : Kind::Reverse);
    return;
  }
  if (kind_ == Kind::Dissolve) {
    if (frame_ < frames_) {
      DissolveCopy(from_, to_, order_.data() + frame_ * chunk_, size_t(chunk_));
      update();
      ++frame_;
      Wait(frame_ * msecPerFrame_);
      return;
    }
    DissolveCopy(from_, to_, order_.data() + frames_ * chunk_, size_t(rest_));
    order_.clear();
    order_.shrink_to_fit();
    Rebuild();
    Finish();
    return;
  }
  if (frame_ <= frames_) {
    const int a = BlendAlpha(int(frame_), int(frames_));
    if (a > 0) BlendSurface(from_, saved_, to_, a);
    update();
    ++frame_;
    Wait(frame_ * msecPerFrame_);
    return;
  }
  if (kind_ == Kind::Reverse) Rebuild();
  Finish();
}

void TVorqFade::Finish() {
  const Kind done = kind_;
  if (done == Kind::Blend && autoReverse_ && !inReverse_) {
    inReverse_ = true;
    frame_ = -1;
    timer_.start(swapDelay_ * 1000);
    return;
  }
  const bool fireEnd = done == Kind::Blend || inReverse_;
  inReverse_ = false;
  kind_ = Kind::None;
  if (fireEnd) emit OnEnd();
  if (kind_ == Kind::None && pending_ != Kind::None) Begin(std::exchange(pending_, Kind::None));
}

void TVorqFade::Stop() {
  timer_.stop();
  kind_ = pending_ = Kind::None;
  inReverse_ = false;
  order_.clear();
  Rebuild();
}

// ---- events ----

void TVorqFade::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QImage image = Wrap(from_);
  if (image.isNull())
    p.fillRect(rect(), FromColorRef(colorFrom_));
  else
    p.drawImage(0, 0, image);
}

void TVorqFade::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (kind_ == Kind::None) Rebuild();
}

void TVorqFade::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  emit OnMouseEnter();
}

void TVorqFade::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit OnMouseLeave();
}

void TVorqFade::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit OnClick();
}

}  // namespace vorq::gui
