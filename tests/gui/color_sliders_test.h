#pragma once

#include <QObject>

namespace vorq::gui::test {

class ColorSlidersTest : public QObject {
  Q_OBJECT
 private slots:
  void bothButtonsTogglePanelAndHeight();
  void previewThenOkCommitsOnce();
  void cancelRestoresExactly();
};

}  // namespace vorq::gui::test
