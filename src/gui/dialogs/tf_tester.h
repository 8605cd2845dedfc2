// "Test Tiles": the working image laid out as wallpaper over the whole
// window, with "Sample Text" in sixteen colours to judge it as a background.
#pragma once

#include <QDialog>

#include "core/surface/fast_dib.h"

class QPushButton;

namespace vorq::gui {

class TfTester : public QDialog {
  Q_OBJECT
 public:
  // Always paints the surface as it is now; it keeps nothing of its own.
  explicit TfTester(const TFastDIB& surface, QWidget* parent = nullptr);

 signals:
  // The window went away (OK, Escape or its close box), not merely minimized.
  void Hidden();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  const TFastDIB& surface_;
  QPushButton* btnOK = nullptr;
};

}  // namespace vorq::gui
