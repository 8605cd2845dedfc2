#include "gui/dialogs/tf_tester.h"

#include <QHideEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "core/effects/seam_meter.h"
#include "editor/commands/geometry.h"

namespace vorq::gui {

TfTester::TfTester(const TFastDIB& surface, QWidget* parent) : QDialog(parent), surface_(surface) {
  setObjectName("fTester");
  setWindowTitle("Test Tiles");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  // Closing it only hides it; the main window comes back, so the program goes on.
  setAttribute(Qt::WA_QuitOnClose, false);
  // Every pixel is painted, the tiles first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFont(QFont("Arial"));
  resize(640, 480);

  btnOK = new QPushButton("OK", this);
  btnOK->setObjectName("btnOK");
  btnOK->setGeometry(296, 56, 65, 41);
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &TfTester::hide);
}

void TfTester::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (surface_.Empty()) {
    p.fillRect(rect(), Qt::black);
  } else {
    const QImage image(surface_.Bits, surface_.Width(), surface_.Height(), int(surface_.BytesPerRow),
                       QImage::Format_BGR888);
    p.drawTiledPixmap(rect(), QPixmap::fromImage(image), QPoint(0, 0));
  }

  // Text is drawn from the top of its line; no background behind it.
  p.setBackgroundMode(Qt::TransparentMode);
  const QString text = QString::fromLatin1(kSampleText);
  QFont big = font();
  big.setPointSize(kSampleTextBigPt);
  big.setBold(true);
  p.setFont(big);
  const int bigAscent = p.fontMetrics().ascent();
  for (const SampleTextLine& line : kSampleTextLines) {
    p.setPen(QColor(line.R, line.G, line.B));
    p.drawText(kSampleTextBigX, line.Y + bigAscent, text);
  }
  QFont small = font();
  small.setPointSize(kSampleTextSmallPt);
  small.setBold(false);
  p.setFont(small);
  const QFontMetrics fm = p.fontMetrics();
  const int x = width() - fm.horizontalAdvance(text) - kSampleTextRightMargin;
  for (const SampleTextLine& line : kSampleTextLines) {
    p.setPen(QColor(line.R, line.G, line.B));
    p.drawText(x, line.Y + fm.ascent(), text);
  }
  // How visible the seams are, at the bottom left where the sample text is not.
  if (!surface_.Empty()) {
    const QString seams = QString::fromStdString("Seams: " + SeamReportText(MeasureSeams(surface_)));
    const QRect box(4, height() - fm.height() - 8, fm.horizontalAdvance(seams) + 8, fm.height() + 4);
    p.fillRect(box, QColor(255, 255, 255, 200));
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter, seams);
  }
}

void TfTester::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  update();
}

void TfTester::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // Minimizing hides the window too, but that is the window system's doing.
  if (!event->spontaneous()) emit Hidden();
}

}  // namespace vorq::gui
