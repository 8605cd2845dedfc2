#include "gui/mainwin/cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace vorq::gui {

namespace {

constexpr int kSide = 32;

// Draws a figure twice, a wide white halo under a thin black line, so the
// cursor stays visible over dark and light pixels alike.
QPixmap Haloed(const std::function<void(QPainter&)>& figure) {
  QPixmap pm(kSide, kSide);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  figure(p);
  p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  figure(p);
  return pm;
}

// A small cross whose centre is the hot spot, for the tools that drag out a shape.
constexpr QPoint kCrossAt(7, 7);

void Cross(QPainter& p) {
  p.drawLine(kCrossAt.x() - 6, kCrossAt.y(), kCrossAt.x() - 2, kCrossAt.y());
  p.drawLine(kCrossAt.x() + 2, kCrossAt.y(), kCrossAt.x() + 6, kCrossAt.y());
  p.drawLine(kCrossAt.x(), kCrossAt.y() - 6, kCrossAt.x(), kCrossAt.y() - 2);
  p.drawLine(kCrossAt.x(), kCrossAt.y() + 2, kCrossAt.x(), kCrossAt.y() + 6);
}

QCursor ShapeCursor(const std::function<void(QPainter&)>& shape) {
  return QCursor(Haloed([&](QPainter& p) {
                   Cross(p);
                   p.setBrush(Qt::NoBrush);
                   shape(p);
                 }),
                 kCrossAt.x(), kCrossAt.y());
}

// A brush lying from the upper right down to its tip at the lower left.
QCursor Brush() {
  const QPixmap pm = Haloed([](QPainter& p) {
    QPainterPath handle;
    handle.moveTo(27, 2);
    handle.lineTo(29, 4);
    handle.lineTo(15, 18);
    handle.lineTo(13, 16);
    handle.closeSubpath();
    p.setBrush(QColor(150, 90, 40));
    p.drawPath(handle);
    QPainterPath bristles;
    bristles.moveTo(12, 16);
    bristles.lineTo(15, 19);
    bristles.lineTo(10, 26);
    bristles.lineTo(2, 29);
    bristles.lineTo(5, 21);
    bristles.closeSubpath();
    p.setBrush(Qt::black);
    p.drawPath(bristles);
  });
  return QCursor(pm, 2, 29);
}

// A tipped bucket pouring from its lip; the drop is the hot spot.
QCursor Bucket() {
  const QPixmap pm = Haloed([](QPainter& p) {
    QPainterPath pail;
    pail.moveTo(10, 12);
    pail.lineTo(20, 4);
    pail.lineTo(29, 15);
    pail.lineTo(19, 23);
    pail.closeSubpath();
    p.setBrush(QColor(230, 230, 230));
    p.drawPath(pail);
    p.drawLine(20, 4, 23, 1);
    p.setBrush(Qt::black);
    p.drawRect(5, 13, 3, 3);
    p.drawLine(6, 16, 3, 26);
    p.drawEllipse(QPoint(3, 28), 1, 1);
  });
  return QCursor(pm, 3, 28);
}

// A pipette with its point at the lower left.
QCursor Eyedropper() {
  const QPixmap pm = Haloed([](QPainter& p) {
    QPainterPath bulb;
    bulb.addEllipse(QRectF(22, 2, 8, 8));
    p.setBrush(Qt::black);
    p.drawPath(bulb);
    p.drawLine(20, 8, 24, 12);
    QPainterPath tube;
    tube.moveTo(21, 11);
    tube.lineTo(6, 26);
    tube.lineTo(3, 29);
    tube.lineTo(2, 28);
    tube.lineTo(5, 25);
    tube.lineTo(19, 9);
    tube.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(tube);
  });
  return QCursor(pm, 2, 29);
}

QCursor Make(const QString& name) {
  if (name == "BRUSH") return Brush();
  if (name == "ELLIP") return ShapeCursor([](QPainter& p) { p.drawEllipse(13, 15, 16, 11); });
  if (name == "RECT") return ShapeCursor([](QPainter& p) { p.drawRect(13, 14, 15, 11); });
  if (name == "LINE") return ShapeCursor([](QPainter& p) { p.drawLine(13, 27, 28, 13); });
  if (name == "CROP")
    return ShapeCursor([](QPainter& p) {
      p.drawLine(12, 14, 12, 28);
      p.drawLine(12, 28, 26, 28);
      p.drawLine(16, 12, 29, 12);
      p.drawLine(29, 12, 29, 25);
    });
  if (name == "FILL") return Bucket();
  if (name == "EYEDROP") return Eyedropper();
  return QCursor(Qt::CrossCursor);
}

}  // namespace

QCursor ToolCursor(const QString& name) { return Make(name); }

}  // namespace vorq::gui
