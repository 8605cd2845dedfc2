#include "gui/widgets/tvorq_gradient_view.h"

#include <QImage>
#include <algorithm>
#include <QPainter>

namespace vorq::gui {

TVorqGradientView::TVorqGradientView(TVorqGradient& gradient, QWidget* parent) : QWidget(parent), gradient_(gradient) {
  setObjectName("hGrad");
  setAttribute(Qt::WA_OpaquePaintEvent);
  Changed();
}

QSize TVorqGradientView::sizeHint() const { return {gradient_.Width(), gradient_.Height()}; }

void TVorqGradientView::Changed() {
  setFixedSize(std::max(gradient_.Width(), 0), std::max(gradient_.Height(), 0));
  update();
}

void TVorqGradientView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const TFastDIB& b = gradient_.Paint();
  if (b.Empty()) {
    p.fillRect(rect(), palette().window());
    return;
  }
  p.drawImage(0, 0, QImage(b.Bits, b.Width(), b.Height(), int(b.BytesPerRow), QImage::Format_BGR888));
}

}  // namespace vorq::gui
