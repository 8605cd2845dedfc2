#include "gui/mainwin/image_view.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace vorq::gui {

ImageView::ImageView(const TFastDIB& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setObjectName("imSine");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  SurfaceChanged();
}

void ImageView::SurfaceChanged() {
  const QSize size(surface_.Width(), surface_.Height());
  if (this->size() != size) setFixedSize(size);
  update();
}

QImage ImageView::Image() const {
  if (surface_.Empty()) return {};
  return QImage(surface_.Bits, surface_.Width(), surface_.Height(), int(surface_.BytesPerRow),
                QImage::Format_BGR888);
}

void ImageView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QImage image = Image();
  if (image.isNull())
    p.fillRect(event->rect(), Qt::black);
  else
    p.drawImage(event->rect().topLeft(), image, event->rect());
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (rect().contains(pos)) emit MouseAt(pos.x(), pos.y());
  QWidget::mouseMoveEvent(event);
}

void ImageView::contextMenuEvent(QContextMenuEvent* event) {
  if (popup_) popup_->popup(event->globalPos());
}

}  // namespace vorq::gui
