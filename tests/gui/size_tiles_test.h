#pragma once

#include <QObject>

namespace vorq::gui::test {

class SizeTilesTest : public QObject {
  Q_OBJECT
 private slots:
  void sizerControlsFollowTheRules();
  void sizerBoxesEnterAndLeave();
  void resizeCommandsRunThroughTheDialog();
  void seamlessMenuMakesEdgesMeet();
  void testTilesShowsTheImageTiledAndComesBack();
};

}  // namespace vorq::gui::test
