#include "gui/widgets/ttext_panel.h"

#include <QFontMetrics>
#include <QPainter>

namespace vorq::gui {

TTextPanel::TTextPanel(QWidget* parent) : QWidget(parent) {
  resize(75, 25);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTextPanel::SetText(const QString& text) {
  text_ = text;
  update();
}

void TTextPanel::SetBevelWidth(int width) {
  if (width < 0 || width > this->width() / 2 - 5 || width > height() / 2 - 5) return;
  bevelWidth_ = width;
  update();
}

void TTextPanel::SetAlignment(Qt::Alignment horizontal) {
  alignment_ = horizontal & Qt::AlignHorizontal_Mask;
  update();
}

void TTextPanel::SetTextFont(const QFont& font) {
  font_ = font;
  update();
}

void TTextPanel::SetFontColor(const QColor& colour) {
  colour_ = colour;
  update();
}

void TTextPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  p.fillRect(r, palette().color(QPalette::Button));
  // Sunken: shadow on the top and left, highlight on the bottom and right.
  const QColor shadow = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
  for (int i = 0; i < bevelWidth_; ++i) {
    p.setPen(shadow);
    p.drawLine(i, i, r.width() - 1 - i, i);
    p.drawLine(i, i, i, r.height() - 1 - i);
    p.setPen(light);
    p.drawLine(i, r.height() - 1 - i, r.width() - 1 - i, r.height() - 1 - i);
    p.drawLine(r.width() - 1 - i, i, r.width() - 1 - i, r.height() - 1 - i);
  }
  const int h = QFontMetrics(font_).height();
  const QRect box(2, (height() - h) / 2, width() - 4, h);
  p.setClipRect(box.intersected(r.adjusted(bevelWidth_, bevelWidth_, -bevelWidth_, -bevelWidth_)));
  p.setFont(font_);
  p.setPen(colour_);
  p.drawText(box, int(alignment_) | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs, text_);
}

}  // namespace vorq::gui
