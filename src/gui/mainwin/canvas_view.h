// The canvas's own controls: the View menu (zoom, fit, tiled view), and the
// status bar's zoom and seam figures.
#pragma once

#include <QObject>

#include "core/surface/fast_dib.h"

class QAction;
class QLabel;
class QMainWindow;

namespace vorq {
class Editor;
}

namespace vorq::gui {

class ImageView;

class CanvasControls : public QObject {
  Q_OBJECT
 public:
  // Adds the View menu before the menu named beforeMenu (or last), Wrap Painting
  // to the menu named optionsMenu, and two status bar panels.
  CanvasControls(QMainWindow* window, ImageView* view, Editor& editor, const char* beforeMenu,
                 const char* optionsMenu);
  // After every change of the image: the seam figure follows it.
  void SurfaceChanged();
  QString SeamText() const;

 private:
  void ShowZoom(int zoomLog2);

  ImageView* view_;
  Editor& editor_;
  QLabel* zoom_ = nullptr;
  QLabel* seam_ = nullptr;
};

// "1/4x", "1x", "8x".
QString ZoomText(int zoomLog2);

}  // namespace vorq::gui
