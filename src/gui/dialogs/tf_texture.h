// "Map Texture": the texture the effect multiplies the image by, taken from
// a picture file or the buffer, shown small and always grey.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace vorq {
class Editor;
}

namespace vorq::gui {

class TfTexture : public QDialog {
  Q_OBJECT
 public:
  TfTexture(Editor& editor, QWidget* parent = nullptr);
  // Modal; true on OK (the editor then holds the texture and its source text).
  bool Choose();
  QLabel* preview() const { return imTexture; }

 private:
  void bLoadTexurClick();
  void bUseBufrClick();
  void ShowTexture();

  Editor& editor_;
  QLabel* imTexture = nullptr;
  QPushButton* bLoadTexur = nullptr;
  QPushButton* bUseBufr = nullptr;
};

}  // namespace vorq::gui
