// The working image, painted straight from the surface's bytes at a zoom of
// 1/16x to 32x, alone or surrounded by its copies (the tiled view), and the
// place where the painting tools get their mouse gestures in image coordinates.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "core/surface/fast_dib.h"
#include "core/surface/view_render.h"
#include "editor/commands/painting.h"

class QMenu;
class QScrollArea;

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
  // While an effect changes the surface on another thread, the view paints
  // what it showed when it was frozen and never reads the surface.
  void Freeze(bool frozen);
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

  // Zoom as a power of two; the point of the viewport at anchor stays put
  // (the viewport's centre when anchor is null).
  int ZoomLog2() const { return geometry_.ZoomLog2; }
  void SetZoom(int zoomLog2, const QPoint* anchor = nullptr);
  // The largest zoom at which the whole view fits the scroll area.
  int FitZoom() const;
  bool Tiled() const { return geometry_.Tiled; }
  void SetTiled(bool tiled);
  void SetDimCopies(bool dim);
  // Screen (widget) position to image coordinates, and an image rectangle to
  // the screen rectangle of the image itself (the middle copy when tiled).
  QPoint ToImage(const QPoint& widget) const;
  QRect ToView(const QRect& image) const;
  const ViewGeometry& Geometry() const { return geometry_; }

 signals:
  void MouseAt(int x, int y);
  void PenColorChanged();         // the eyedropper took a colour
  void TextToolAt(int x, int y);  // the text tool was pressed here (widget coordinates)
  void ZoomChanged(int zoomLog2);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Show(const GestureResult& r, int x, int y);
  void SetBand(const GestureResult& r);
  void DrawBand(QPainter& p) const;
  QRect BandBounds(const GestureResult& band) const;
  void AskSelectionAction();
  void AutoScroll(int x, int y);
  QScrollArea* Area() const;
  void Resize();
  void UpdateImageRect(int left, int top, int right, int bottom);
  void WrapScroll();

  const TFastDIB& work_;
  const TFastDIB* shown_;
  QMenu* popup_ = nullptr;
  Editor* editor_ = nullptr;
  PaintTools tools_;
  GestureResult band_;  // only the band fields are used
  int bandWidth_ = 1;
  QString cursorName_;
  TfSelect* select_ = nullptr;
  ViewGeometry geometry_;
  ViewScratch scratch_;
  QImage frame_;  // the exposed part, rendered; kept to spare an allocation per paint
  QPixmap frozen_;  // the visible part while frozen
  QPoint frozenAt_;
  bool wrapping_ = false;
  bool wrapConnected_ = false;
};

}  // namespace vorq::gui
