#include "gui/dialogs/tf_about.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "core/util/arith.h"
#include "gui/widgets/tvorq_fade.h"

#ifndef VORQ_VERSION
#define VORQ_VERSION "0"
#endif

namespace vorq::gui {

QString VersionText() { return QStringLiteral("Version " VORQ_VERSION); }

namespace {

constexpr uint32_t kSilver = 0xC0C0C0;
const QSize kPictureSize(256, 180);

// A pattern of waves that repeats exactly every size.width() x size.height()
// pixels: the kind of tile the program makes.
QImage Waves(QSize size, QColor low, QColor high, double phase = 0) {
  QImage img(size, QImage::Format_RGB32);
  const double w = size.width(), h = size.height();
  for (int y = 0; y < size.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      const double u = 2 * kPi * x / w, v = 2 * kPi * y / h;
      const double t = (std::sin(2 * u + phase) + std::sin(3 * v) + std::sin(u + v) * std::cos(2 * v - u)) / 3.0;
      const double k = 0.5 + 0.5 * t;
      row[x] = qRgb(int(low.red() + (high.red() - low.red()) * k), int(low.green() + (high.green() - low.green()) * k),
                    int(low.blue() + (high.blue() - low.blue()) * k));
    }
  }
  return img;
}

void Caption(QPainter& p, const QRect& box, const QString& text, int pixels, bool bold, int flags) {
  QFont f = p.font();
  f.setPixelSize(pixels);
  f.setBold(bold);
  p.setFont(f);
  p.setPen(QColor(0, 0, 0, 150));
  p.drawText(box.translated(2, 2), flags, text);
  p.setPen(Qt::white);
  p.drawText(box, flags, text);
}

QImage TitleFrom() { return Waves(kPictureSize, QColor(20, 40, 90), QColor(70, 140, 190)); }

QImage TitleTo() {
  QImage img = TitleFrom();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  Caption(p, QRect(0, 40, 256, 60), "VorqTile", 44, true, Qt::AlignCenter);
  Caption(p, QRect(0, 104, 256, 24), "tiles  \u00b7  textures  \u00b7  wallpapers", 14, false, Qt::AlignCenter);
  return img;
}

// One tile alone, then the same tile laid edge to edge: no seams show.
QImage SmallTile() { return Waves(QSize(64, 64), QColor(120, 50, 20), QColor(250, 200, 90), 1.0); }

QImage OneTile() {
  QImage img(kPictureSize, QImage::Format_RGB32);
  img.fill(QColor(192, 192, 192));
  QPainter p(&img);
  const QRect at(96, 46, 64, 64);
  p.drawImage(at.topLeft(), SmallTile());
  p.setPen(QColor(80, 80, 80));
  p.drawRect(at.adjusted(-1, -1, 0, 0));
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont f = p.font();
  f.setPixelSize(14);
  p.setFont(f);
  p.setPen(QColor(40, 40, 40));
  p.drawText(QRect(0, 124, 256, 40), Qt::AlignCenter, "one tile ...");
  return img;
}

QImage ManyTiles() {
  QImage img(kPictureSize, QImage::Format_RGB32);
  QPainter p(&img);
  // Laid from the first tile's corner so that it stays where it was.
  const QImage tile = SmallTile();
  for (int y = 46 - 64; y < 180; y += 64)
    for (int x = 96 - 128; x < 256; x += 64) p.drawImage(x, y, tile);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  Caption(p, QRect(0, 124, 256, 40), "... laid edge to edge", 15, true, Qt::AlignCenter);
  return img;
}

// A raised button face with a caption.
QImage ButtonFace(QSize size, const QString& text, QColor top, QColor bottom, QColor ink) {
  QImage img(size, QImage::Format_RGB32);
  QPainter p(&img);
  QLinearGradient g(0, 0, 0, size.height());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.fillRect(img.rect(), g);
  p.setPen(QColor(255, 255, 255));
  p.drawLine(0, 0, size.width() - 1, 0);
  p.drawLine(0, 0, 0, size.height() - 1);
  p.setPen(QColor(64, 64, 64));
  p.drawLine(0, size.height() - 1, size.width() - 1, size.height() - 1);
  p.drawLine(size.width() - 1, 0, size.width() - 1, size.height() - 1);
  p.setRenderHint(QPainter::TextAntialiasing);
  QFont f = p.font();
  f.setPixelSize(size.height() / 2 - 2);
  f.setBold(true);
  p.setFont(f);
  p.setPen(ink);
  p.drawText(img.rect(), Qt::AlignCenter, text);
  return img;
}

QImage LogoFrom(QSize size) {
  QImage img = Waves(size, QColor(30, 70, 40), QColor(120, 190, 110));
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing);
  Caption(p, img.rect(), "VorqTile", 20, true, Qt::AlignCenter);
  return img;
}

QImage LogoTo(QSize size) {
  QImage img = Waves(size, QColor(90, 30, 100), QColor(240, 150, 200), 2.0);
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing);
  Caption(p, img.rect(), VersionText(), 16, true, Qt::AlignCenter);
  return img;
}

TVorqFade* Fade(QWidget* parent, const char* name, QRect at, int msec) {
  auto* f = new TVorqFade(parent);
  f->setObjectName(name);
  f->setGeometry(at);
  f->SetMsecPerFrame(msec);
  return f;
}

}  // namespace

TfAbout::TfAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("fAbout");
  setWindowTitle("About VorqTile");
  setFixedSize(280, 268);
  wait_.setSingleShot(true);
  connect(&wait_, &QTimer::timeout, this, [this] {
    if (next_) (this->*next_)();
  });

  const QRect top(12, 12, kPictureSize.width(), kPictureSize.height());
  hf1 = Fade(this, "hf1", top, 15);
  hf1->SetColorFrom(kSilver);
  hf1->SetColorTo(kSilver);
  hf1->SetStretchToFit(false);
  hf1->SetPicFrom(TitleFrom());
  hf1->SetPicTo(TitleTo());
  hf1->SetDisolvRate(550);
  hf1->SetSwapDelay(3);
  connect(hf1, &TVorqFade::OnEnd, this, [this] { After(1500, &TfAbout::hf1End); });

  hf2 = Fade(this, "hf2", top, 15);
  hf2->SetColorFrom(kSilver);
  hf2->SetColorTo(kSilver);
  hf2->SetStretchToFit(false);
  hf2->SetPicFrom(OneTile());
  hf2->SetPicTo(ManyTiles());
  hf2->SetDisolvRate(200);
  hf2->SetAutoReverse(true);
  hf2->SetSwapOnReverse(false);
  connect(hf2, &TVorqFade::OnEnd, this, [this] { After(1000, &TfAbout::hf2End); });

  pnlInfo = new QWidget(this);
  pnlInfo->setObjectName("pnlInfo");
  pnlInfo->setGeometry(top);
  auto* info = new QVBoxLayout(pnlInfo);
  info->setContentsMargins(8, 8, 8, 8);
  auto* name = new QLabel("VorqTile", pnlInfo);
  QFont big = name->font();
  big.setPixelSize(26);
  big.setBold(true);
  name->setFont(big);
  name->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(VersionText(), pnlInfo);
  version->setObjectName("lblVersion");
  version->setAlignment(Qt::AlignCenter);
  auto* about = new QLabel(
      "Seamless tiles, textures and desktop wallpapers.\n\nEvery change can be undone, and every command can be "
      "logged, edited and replayed.",
      pnlInfo);
  about->setWordWrap(true);
  about->setAlignment(Qt::AlignCenter);
  info->addWidget(name);
  info->addWidget(version);
  info->addSpacing(6);
  info->addWidget(about, 1);

  const QSize okSize(85, 40), logoSize(114, 41);
  VorqFade1 = Fade(this, "VorqFade1", QRect(QPoint(width() - 12 - okSize.width(), 214), okSize), 5);
  VorqFade1->SetPicFrom(ButtonFace(okSize, "OK", QColor(235, 235, 235), QColor(175, 175, 175), QColor(30, 30, 30)));
  VorqFade1->SetPicTo(ButtonFace(okSize, "OK", QColor(120, 180, 250), QColor(30, 80, 170), Qt::white));
  VorqFade1->setCursor(Qt::PointingHandCursor);
  VorqFade1->setToolTip("Close");
  VorqFade2 = Fade(this, "VorqFade2", QRect(QPoint(12, 213), logoSize), 5);
  VorqFade2->SetPicFrom(LogoFrom(logoSize));
  VorqFade2->SetPicTo(LogoTo(logoSize));
  for (TVorqFade* button : {VorqFade1, VorqFade2}) {
    connect(button, &TVorqFade::OnMouseEnter, button, &TVorqFade::Blend);
    connect(button, &TVorqFade::OnMouseLeave, button, &TVorqFade::ReverseBlend);
  }
  connect(VorqFade1, &TVorqFade::OnClick, this, &QDialog::accept);

  for (QWidget* w : {static_cast<QWidget*>(hf1), static_cast<QWidget*>(hf2), pnlInfo,
                     static_cast<QWidget*>(VorqFade1)})
    w->hide();
}

void TfAbout::After(int msec, void (TfAbout::*next)()) {
  next_ = next;
  wait_.start(msec);
}

void TfAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Once the box is on screen.
  After(0, &TfAbout::Play);
}

void TfAbout::hideEvent(QHideEvent* event) {
  wait_.stop();
  next_ = nullptr;
  for (TVorqFade* f : {hf1, hf2, VorqFade1, VorqFade2}) f->Stop();
  for (QWidget* w : {static_cast<QWidget*>(hf1), static_cast<QWidget*>(hf2), pnlInfo,
                     static_cast<QWidget*>(VorqFade1)})
    w->hide();
  QDialog::hideEvent(event);
}

void TfAbout::Play() {
  hf1->show();
  hf1->Blend();
}

void TfAbout::hf1End() {
  hf1->hide();
  hf2->show();
  hf2->Blend();
}

void TfAbout::hf2End() {
  hf2->hide();
  pnlInfo->show();
  VorqFade1->show();
  emit InfoShown();
}

}  // namespace vorq::gui
