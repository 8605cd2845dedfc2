#include "gui/mainwin/paste_selection.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "core/oplog/log_format.h"
#include "editor/editor.h"

namespace vorq::gui {

PasteSelection::PasteSelection(Editor& editor, QWidget* view) : QWidget(view), editor_(editor) {
  setObjectName("pPaste");
  setCursor(Qt::SizeAllCursor);
  setMouseTracking(true);
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, &PasteSelection::Timer1Timer);
  hide();
}

void PasteSelection::Start(TFastDIB piece) {
  piece_ = std::move(piece);
  picture_ = QImage(piece_.Bits, piece_.Width(), piece_.Height(), int(piece_.BytesPerRow), QImage::Format_BGR888)
                 .convertToFormat(QImage::Format_RGB32);
  dragFlag_ = dragging_ = false;
  setGeometry(0, 0, picture_.width(), picture_.height());
  show();
  raise();
  update();
  Timer1->start();
}

void PasteSelection::Timer1Timer() {
  editor_.SetStatus(kPanelEffect, "Left: " + FormatInt(x()) + " Top: " + FormatInt(y()));
}

void PasteSelection::Place() {
  const QPoint at = pos();
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
  p.drawImage(0, 0, picture_);
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
  grab_ = event->position().toPoint();
}

void PasteSelection::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (dragging_) {
    move(pos() + event->position().toPoint() - grab_);
    return;
  }
  if (dragFlag_) Place();
}

void PasteSelection::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  dragging_ = false;
}

}  // namespace vorq::gui
