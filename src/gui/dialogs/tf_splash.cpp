#include "gui/dialogs/tf_splash.h"

#include <QLinearGradient>
#include <QPainter>

#include "gui/dialogs/tf_about.h"

namespace vorq::gui {

const char* const TfSplash::kText = "Please Wait,\r\n\r\nInitializing Environment...";

TfSplash::TfSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("fSplash");
  setFixedSize(400, 200);
}

void TfSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // A small seamless tile repeated over the background: what the program makes.
  QPixmap tile(40, 40);
  {
    QPainter t(&tile);
    QLinearGradient g(0, 0, 40, 40);
    g.setColorAt(0, QColor(40, 60, 120));
    g.setColorAt(0.5, QColor(70, 110, 170));
    g.setColorAt(1, QColor(40, 60, 120));
    t.fillRect(tile.rect(), g);
    t.setRenderHint(QPainter::Antialiasing);
    t.setPen(QPen(QColor(120, 160, 220), 2));
    for (int c = -20; c <= 40; c += 20) t.drawEllipse(QPoint(c, c), 10, 10);
  }
  p.drawTiledPixmap(rect(), tile);
  p.setPen(QColor(20, 20, 40));
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  const QRect panel(30, 30, 340, 140);
  p.fillRect(panel, QColor(255, 255, 255, 215));
  QFont title = font();
  title.setPixelSize(30);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(30, 50, 110));
  p.drawText(panel.adjusted(0, 12, 0, 0), Qt::AlignHCenter | Qt::AlignTop, "VorqTile");

  QFont body = font();
  body.setPixelSize(14);
  p.setFont(body);
  p.setPen(Qt::black);
  QString text = QString::fromLatin1(kText);
  text.replace("\r\n", "\n");
  p.drawText(panel.adjusted(0, 58, 0, -8), Qt::AlignHCenter | Qt::AlignTop, text);
  body.setPixelSize(11);
  p.setFont(body);
  p.setPen(QColor(70, 70, 90));
  p.drawText(panel.adjusted(8, 0, -8, -6), Qt::AlignRight | Qt::AlignBottom, VersionText());
}

}  // namespace vorq::gui
