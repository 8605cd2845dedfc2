// "Set GIF Transparency": the GIF's colour map as 256 swatches; the one the
// user clicks becomes the transparent colour.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QPushButton;

namespace vorq::gui {

class TfGif : public QDialog {
  Q_OBJECT
 public:
  // What Ask returns: the buttons "Cancel", "OK" and "None".
  enum Result { kCancel = 0, kOK = 1, kNone = 2 };
  static constexpr int kNoSelection = 256;
  static constexpr int kSwatchSize = 16;
  static constexpr int kSwatchPitch = 17;
  static constexpr int kGridLeft = 6;
  static constexpr int kGridTop = 4;

  explicit TfGif(QWidget* parent = nullptr);

  // The swatches show colours[0 .. count-1] (0x00BBGGRR). An entry at or
  // beyond count shows entry 0's colour, which is what the GIF writer puts
  // in place of such an index; with an empty map they are grey.
  void SetColours(const std::array<uint32_t, 256>& colours, int count);
  QColor SwatchColour(int i) const;
  static QRect SwatchRect(int i);

  int SelectedIndex() const { return selected_; }
  void SetSelectedIndex(int index);

  // Modal. index goes in as the selection to show and comes back as the
  // swatch last clicked, whatever the button. Returns kCancel, kOK or kNone.
  int Ask(const std::array<uint32_t, 256>& colours, int count, int& index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::array<uint32_t, 256> colours_{};
  int count_ = 0;
  int selected_ = kNoSelection;
  QPushButton* bOK = nullptr;
  QPushButton* bNone = nullptr;
  QPushButton* bCancel = nullptr;
};

}  // namespace vorq::gui
