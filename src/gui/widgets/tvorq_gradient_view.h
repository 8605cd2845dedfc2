// The gradient control on screen: shows the renderer's bitmap at its size,
// rendering only when a property or the size changed.
#pragma once

#include <QWidget>

#include "core/gradients/gradient.h"

namespace vorq::gui {

class TVorqGradientView : public QWidget {
  Q_OBJECT
 public:
  explicit TVorqGradientView(TVorqGradient& gradient, QWidget* parent = nullptr);

  // A property or the size changed: take the renderer's size and repaint.
  void Changed();
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TVorqGradient& gradient_;
};

}  // namespace vorq::gui
