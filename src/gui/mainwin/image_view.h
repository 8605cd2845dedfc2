// The working image at 1:1, painted straight from the surface's bytes.
#pragma once

#include <QImage>
#include <QWidget>

#include "core/surface/fast_dib.h"

class QMenu;

namespace vorq::gui {

class ImageView : public QWidget {
  Q_OBJECT
 public:
  explicit ImageView(const TFastDIB& surface, QWidget* parent = nullptr);

  // The surface was presented anew: its size or its bytes may have moved.
  void SurfaceChanged();
  // The surface wrapped without a copy; valid until the surface changes.
  QImage Image() const;
  void SetPopupMenu(QMenu* menu) { popup_ = menu; }

 signals:
  void MouseAt(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  const TFastDIB& surface_;
  QMenu* popup_ = nullptr;
};

}  // namespace vorq::gui
