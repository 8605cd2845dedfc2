#pragma once

#include <QObject>

namespace vorq::gui::test {

class FilesBufferTest : public QObject {
  Q_OBJECT
 private slots:
  void openReadsByContentAndKeepsTheImageOnFailure();
  void saveAsPicksTheFormatByExtension();
  void loadBufferFillsThumbnailAndEnablesItems();
  void copyAndPasteBufferWithUndo();
};

}  // namespace vorq::gui::test
