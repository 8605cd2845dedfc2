#include "gui/widgets/glyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace vorq::gui {

namespace {

void Page(QPainter& p, int x, int y, int w, int h) {
  p.setPen(QColor(64, 64, 64));
  p.setBrush(Qt::white);
  p.drawRect(x, y, w, h);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
  p.setPen(QPen(c, 2));
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::max(1.0, std::hypot(to.x() - from.x(), to.y() - from.y()));
  const QPointF n(-d.y(), d.x());
  QPolygonF head{to + d * 1.5, to - d * 3 + n * 3, to - d * 3 - n * 3};
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(head);
}

}  // namespace

QPixmap GlyphPixmap(Glyph g) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QColor dark(40, 40, 40);
  switch (g) {
    case Glyph::Open:
      p.setPen(dark);
      p.setBrush(QColor(230, 200, 80));
      p.drawRect(1, 4, 13, 10);
      p.drawRect(1, 2, 5, 2);
      p.setBrush(QColor(250, 225, 120));
      p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 14), QPoint(1, 14)}));
      break;
    case Glyph::Save:
      p.setPen(dark);
      p.setBrush(QColor(40, 70, 160));
      p.drawRect(1, 1, 13, 13);
      p.setBrush(Qt::white);
      p.drawRect(4, 1, 7, 5);
      p.setBrush(QColor(190, 190, 190));
      p.drawRect(4, 9, 7, 5);
      break;
    case Glyph::Copy:
      Page(p, 1, 1, 8, 10);
      Page(p, 6, 4, 8, 10);
      p.setPen(QColor(120, 120, 120));
      for (int y = 7; y <= 11; y += 2) p.drawLine(8, y, 12, y);
      break;
    case Glyph::Paste:
      p.setPen(dark);
      p.setBrush(QColor(170, 120, 60));
      p.drawRect(1, 2, 11, 13);
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(4, 1, 5, 3);
      Page(p, 6, 6, 8, 9);
      break;
    case Glyph::Tools:
      p.setPen(dark);
      p.setBrush(QColor(200, 40, 40));
      p.drawRect(1, 6, 14, 8);
      p.setBrush(Qt::NoBrush);
      p.drawRect(5, 3, 6, 3);
      p.drawLine(1, 9, 15, 9);
      break;
    case Glyph::ColorSliders: {
      const QColor cols[3] = {Qt::red, QColor(0, 170, 0), Qt::blue};
      for (int i = 0; i < 3; ++i) {
        p.setPen(dark);
        p.drawLine(3 + 5 * i, 1, 3 + 5 * i, 14);
        p.setBrush(cols[i]);
        p.drawRect(1 + 5 * i, 3 + 4 * i, 4, 3);
      }
      break;
    }
    case Glyph::Undo: {
      p.setRenderHint(QPainter::Antialiasing);
      QPainterPath path;
      path.moveTo(13, 13);
      path.cubicTo(15, 5, 8, 2, 4, 6);
      p.setPen(QPen(QColor(0, 0, 160), 2));
      p.drawPath(path);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 0, 160));
      p.drawPolygon(QPolygonF({QPointF(1, 3), QPointF(7, 9), QPointF(1, 10)}));
      break;
    }
    case Glyph::Print:
      Page(p, 4, 1, 8, 6);
      p.setPen(dark);
      p.setBrush(QColor(170, 170, 170));
      p.drawRect(1, 6, 14, 6);
      Page(p, 4, 10, 8, 5);
      p.setPen(QColor(0, 160, 0));
      p.drawPoint(13, 8);
      break;
    case Glyph::PasteGradient: {
      QLinearGradient lg(1, 0, 15, 0);
      lg.setColorAt(0, Qt::blue);
      lg.setColorAt(1, Qt::yellow);
      p.setPen(dark);
      p.setBrush(lg);
      p.drawRect(1, 3, 13, 10);
      break;
    }
    case Glyph::CopyToBuffer:
      p.setPen(dark);
      p.setBrush(QColor(120, 170, 230));
      p.drawRect(8, 5, 7, 9);
      Arrow(p, QPointF(1, 9), QPointF(6, 9), QColor(0, 130, 0));
      break;
    case Glyph::PasteBuffer:
      p.setPen(dark);
      p.setBrush(QColor(120, 170, 230));
      p.drawRect(1, 5, 7, 9);
      Arrow(p, QPointF(9, 9), QPointF(13, 9), QColor(0, 130, 0));
      break;
    case Glyph::TestTiles:
      p.setPen(dark);
      for (int i = 0; i < 4; ++i) {
        p.setBrush(i == 0 || i == 3 ? QColor(90, 140, 90) : QColor(170, 210, 170));
        p.drawRect(1 + 7 * (i % 2), 1 + 7 * (i / 2), 6, 6);
      }
      break;
    case Glyph::Apply:
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(QColor(0, 140, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF({QPointF(2, 8), QPointF(6, 13), QPointF(14, 3)}));
      break;
    case Glyph::Free: {
      p.setRenderHint(QPainter::Antialiasing);
      QPainterPath path;
      path.moveTo(1, 12);
      path.cubicTo(5, 0, 9, 16, 15, 3);
      p.setPen(QPen(dark, 1.5));
      p.drawPath(path);
      break;
    }
    case Glyph::Ellipse:
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(dark);
      p.drawEllipse(1, 3, 13, 9);
      break;
    case Glyph::Rect:
      p.setPen(dark);
      p.drawRect(1, 3, 13, 9);
      break;
    case Glyph::Line:
      p.setPen(dark);
      p.drawLine(1, 14, 14, 1);
      break;
    case Glyph::Fill:
      p.setPen(dark);
      p.setBrush(QColor(200, 200, 200));
      p.drawPolygon(QPolygon({QPoint(2, 7), QPoint(8, 1), QPoint(14, 7), QPoint(8, 13)}));
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::blue);
      p.drawRect(12, 9, 3, 5);
      break;
    case Glyph::Text: {
      QFont f = p.font();
      f.setPixelSize(14);
      f.setBold(true);
      p.setFont(f);
      p.setPen(dark);
      p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "A");
      break;
    }
    case Glyph::Select:
      p.setPen(QPen(dark, 1, Qt::DashLine));
      p.drawRect(1, 2, 13, 11);
      break;
    case Glyph::EyeDrop:
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(dark, 2));
      p.drawLine(3, 13, 11, 5);
      p.setPen(Qt::NoPen);
      p.setBrush(dark);
      p.drawEllipse(10, 1, 5, 5);
      break;
  }
  return pm;
}

QIcon GlyphIcon(Glyph g) { return QIcon(GlyphPixmap(g)); }

QPixmap LoggingPixmap() {
  QPixmap pm(10, 12);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QColor(64, 64, 64));
  p.setBrush(Qt::white);
  p.drawRect(0, 0, 8, 11);
  p.setPen(QColor(0, 0, 180));
  for (int y = 3; y <= 8; y += 2) p.drawLine(2, y, 6, y);
  p.setPen(QColor(200, 0, 0));
  p.drawLine(9, 0, 5, 10);
  return pm;
}

}  // namespace vorq::gui
