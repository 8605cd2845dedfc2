#include "gui/mainwin/logging_panel.h"

#include <QPainter>

#include "gui/widgets/glyphs.h"

namespace vorq::gui {

LoggingPanel::LoggingPanel(std::function<bool()> logging, QWidget* parent)
    : QFrame(parent), logging_(std::move(logging)) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

QString LoggingPanel::Text() const { return logging_() ? "Logging" : "Not Logging"; }

void LoggingPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter p(this);
  const QRect r = contentsRect();
  const int textTop = r.top() + 2;
  const QRect textRect(0, textTop, r.right(), r.height() - 2);
  if (logging_()) {
    p.drawPixmap(r.left() + 5, r.top() + (r.height() - 12) / 2, LoggingPixmap());
    p.drawText(textRect.adjusted(r.left() + 18, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Text());
  } else {
    p.drawText(textRect.adjusted(r.left() + 5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, Text());
  }
}

}  // namespace vorq::gui
