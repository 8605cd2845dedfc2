#pragma once

#include <QObject>

namespace vorq::gui::test {

class PaintingTest : public QObject {
  Q_OBJECT
 private slots:
  void toolButtonsSwitchToolAndCursor();
  void freeHandAndXorLineThroughTheView();
  void shapesLeaveNoBandInThePixels();
  void floodFillAndEyedropper();
  void selectionDialogCancelKeepsImage();
  void selectionCopiesToBufferAndClipboard();
  void selectionCropsToOnePixelAndUndoes();
};

}  // namespace vorq::gui::test
