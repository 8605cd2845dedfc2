#include "gui/output/app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vorq::gui {

QImage AppIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size, size);  // everything below in units of the whole icon

  const double margin = 1.0 / 16;
  const QRectF tile(margin, margin, 1 - 2 * margin, 1 - 2 * margin);
  QPainterPath outline;
  outline.addRoundedRect(tile, 0.16, 0.16);
  QLinearGradient sky(tile.topLeft(), tile.bottomRight());
  sky.setColorAt(0, QColor(0x24, 0x8a, 0xa6));
  sky.setColorAt(1, QColor(0x17, 0x33, 0x66));
  p.fillPath(outline, sky);
  p.setClipPath(outline);

  // Rings on the corners and in the middle of two by two cells: each cell
  // holds quarter arcs that join their neighbours' into whole rings.
  const double cell = tile.width() / 2;
  const QPointF centres[] = {tile.topLeft(), tile.topRight(), tile.center(), tile.bottomLeft(), tile.bottomRight()};
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xf7, 0xa8, 0x26), cell * 0.2));
  for (const QPointF& c : centres) p.drawEllipse(c, cell / 2, cell / 2);
  p.setPen(QPen(QColor(0xff, 0xe0, 0x8a), cell * 0.1));
  for (const QPointF& c : centres) p.drawEllipse(c, cell / 4.5, cell / 4.5);
  // The seams between the cells, faintly.
  p.setPen(QPen(QColor(255, 255, 255, 70), cell * 0.04));
  p.drawLine(QPointF(tile.center().x(), tile.top()), QPointF(tile.center().x(), tile.bottom()));
  p.drawLine(QPointF(tile.left(), tile.center().y()), QPointF(tile.right(), tile.center().y()));
  p.end();
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : kAppIconSizes) icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
  return icon;
}

}  // namespace vorq::gui
