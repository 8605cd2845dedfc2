#include "gui/mainwin/paste_selection.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "core/oplog/log_format.h"
#include "editor/editor.h"
#include "gui/mainwin/image_view.h"

namespace vorq::gui {

PasteSelection::PasteSelection(Editor& editor, ImageView* view) : QWidget(view), editor_(editor), view_(view) {
  setObjectName("pPaste");
  setCursor(Qt::SizeAllCursor);
  setMouseTracking(true);
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, &PasteSelection::Timer1Timer);
  connect(view, &ImageView::ZoomChanged, this, [this] { Relayout(); });
  hide();
}

void PasteSelection::Start(TFastDIB piece) {
  piece_ = std::move(piece);
  picture_ = QImage(piece_.Bits, piece_.Width(), piece_.Height(), int(piece_.BytesPerRow), QImage::Format_BGR888)
                 .convertToFormat(QImage::Format_RGB32);
  dragFlag_ = dragging_ = false;
  at_ = QPoint(0, 0);
  Relayout();
  show();
  raise();
  update();
  Timer1->start();
}

void PasteSelection::Timer1Timer() {
  editor_.SetStatus(kPanelEffect, "Left: " + FormatInt(at_.x()) + " Top: " + FormatInt(at_.y()));
}

void PasteSelection::Relayout() {
  if (!picture_.isNull()) setGeometry(view_->ToView(QRect(at_, picture_.size())));
}

void PasteSelection::Place() {
  const QPoint at = at_;
  dragFlag_ = dragging_ = false;
  Timer1->stop();
  hide();
  editor_.SetStatus(kPanelEffect, "Idle...");
  editor_.PlaceSelection(piece_, at.x(), at.y());
  piece_.SetSize(0, 0, 0, 0);
  picture_ = QImage();
}

void PasteSelection::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(rect(), picture_);
  // A dotted frame that shows on light and dark pictures alike.
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  p.setPen(QPen(Qt::white, 1));
  p.drawRect(frame);
  p.setPen(QPen(Qt::black, 1, Qt::DotLine));
  p.drawRect(frame);
}

void PasteSelection::mousePressEvent(QMouseEvent* event) {
  event->accept();
  dragFlag_ = dragging_ = true;
  grab_ = view_->ToImage(mapToParent(event->position().toPoint())) - at_;
}

void PasteSelection::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (dragging_) {
    at_ = view_->ToImage(mapToParent(event->position().toPoint())) - grab_;
    Relayout();
    return;
  }
  if (dragFlag_) Place();
}

void PasteSelection::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  dragging_ = false;
}

}  // namespace vorq::gui
