#pragma once

#include <QObject>

namespace vorq::gui::test {

class SettingsTest : public QObject {
  Q_OBJECT
 private slots:
  void firstStartUsesDefaultsAndExitWritesEveryKey();
  void storedSettingsComeBackAndUnknownKeysStay();
  void oddStoredValuesAreRefusedOrKeptAside();
  void maximisedOrMinimisedExitKeepsTheNormalBounds();
  void unwritableSettingsFolderShowsAMessageAndStillCloses();
};

}  // namespace vorq::gui::test
