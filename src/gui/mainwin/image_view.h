// The working image at 1:1, painted straight from the surface's bytes, and
// the place where the painting tools get their mouse gestures.
#pragma once

#include <QImage>
#include <QWidget>

#include "core/surface/fast_dib.h"
#include "editor/commands/painting.h"

class QMenu;

namespace vorq {
class Editor;
}

namespace vorq::gui {

class TfSelect;

class ImageView : public QWidget {
  Q_OBJECT
 public:
  explicit ImageView(const TFastDIB& surface, QWidget* parent = nullptr);

  // The working surface was presented anew: its size or its bytes may have
  // moved. A preview that was shown gives way to it.
  void SurfaceChanged();
  // Shows another surface (the colour sliders' preview) until the next SurfaceChanged.
  void ShowPreview(const TFastDIB& preview);
  bool ShowingPreview() const { return shown_ != &work_; }
  // The surface shown, wrapped without a copy; valid until it changes.
  QImage Image() const;
  void SetPopupMenu(QMenu* menu) { popup_ = menu; }

  // Mouse gestures go to the painting tools once there is an editor to paint in.
  void SetEditor(Editor* editor) { editor_ = editor; }
  PaintTools& Painting() { return tools_; }
  // Tool buttons: the tool and its cursor.
  void SelectTool(PaintTool tool);
  const QString& CursorName() const { return cursorName_; }
  // The rubber band on screen now (None when there is none).
  RubberBand Band() const { return band_.Band; }
  QRect BandRect() const;
  TfSelect* SelectDialog();

 signals:
  void MouseAt(int x, int y);
  void PenColorChanged();         // the eyedropper took a colour
  void TextToolAt(int x, int y);  // the text tool was pressed here

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Show(const GestureResult& r, int x, int y);
  void SetBand(const GestureResult& r);
  void DrawBand(QPainter& p) const;
  QRect BandBounds(const GestureResult& band) const;
  void AskSelectionAction();
  void AutoScroll(int x, int y);

  const TFastDIB& work_;
  const TFastDIB* shown_;
  QMenu* popup_ = nullptr;
  Editor* editor_ = nullptr;
  PaintTools tools_;
  GestureResult band_;  // only the band fields are used
  int bandWidth_ = 1;
  QString cursorName_;
  TfSelect* select_ = nullptr;
};

}  // namespace vorq::gui
