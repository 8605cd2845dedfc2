// Paste As Selection's movable piece: the clipboard image afloat over the
// working image with a dotted frame. A press starts dragging it; once the
// button is up, the first mouse movement over it draws it into the image
// where it lies. While it floats, status panel 4 reads "Left: x Top: y".
#pragma once

#include <QImage>
#include <QWidget>

#include "core/surface/fast_dib.h"

class QTimer;

namespace vorq {
class Editor;
}

namespace vorq::gui {

class ImageView;

class PasteSelection : public QWidget {
  Q_OBJECT
 public:
  // view: the widget the image is drawn in; the piece follows its zoom.
  PasteSelection(Editor& editor, ImageView* view);

  // Floats piece at the image's top-left corner and starts the position timer.
  void Start(TFastDIB piece);
  // Draws the piece into the image at its place (clipped) and takes it away.
  void Place();
  bool Floating() const { return isVisible(); }
  // The piece's place relative to the image's top-left corner, in image pixels.
  QPoint Offset() const { return at_; }
  // Puts the widget over the piece's image rectangle at the view's zoom.
  void Relayout();
  QTimer* timer() const { return Timer1; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Timer1Timer();

  Editor& editor_;
  ImageView* view_;
  TFastDIB piece_;
  QImage picture_;
  QTimer* Timer1 = nullptr;
  bool dragFlag_ = false;  // pressed on: the next movement after the drag places it
  bool dragging_ = false;  // the button is down, the piece follows the mouse
  QPoint at_;              // the piece's top-left corner in the image
  QPoint grab_;            // the pressed image pixel less at_
};

}  // namespace vorq::gui
