// "Multi-Gradient Designer": a three-colour horizontal gradient. Two
// markers on the strip above the preview are dragged with the mouse; a
// double click on a marker or on the strip chooses its colour. The state
// and its rules live with the editor (MultiGradientState).
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/surface/fast_dib.h"
#include "editor/editor.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace vorq::gui {

class TfGradMulti : public QDialog {
  Q_OBJECT
 public:
  using ColorChooser = std::function<bool(uint32_t& colour)>;
  using MessageSink = std::function<void(const std::string&)>;
  TfGradMulti(MultiGradientState& state, ColorChooser chooseColor, MessageSink showMessage,
              QWidget* parent = nullptr);

  // Modal; true on OK. The state keeps fields, colours and markers either way.
  bool Edit();

  QWidget* strip() const { return pSides; }
  QWidget* leftMarker() const { return pL; }
  QWidget* rightMarker() const { return pR; }
  QWidget* preview() const { return Image1; }
  // The painted preview, as on screen.
  const TFastDIB& previewPixels() const { return canvas_; }

 private:
  void LoadFields();
  // Markers, labels, strip and preview from the state.
  void Refresh();
  void MarkerDropped(bool left, int markerLeft);
  void ChooseColour(uint32_t& colour);

  MultiGradientState& m_;
  ColorChooser chooseColor_;
  MessageSink showMessage_;
  QLineEdit* eWide = nullptr;
  QLineEdit* eHigh = nullptr;
  QWidget* pSides = nullptr;
  QWidget* pL = nullptr;
  QWidget* pR = nullptr;
  QLabel* lLeft = nullptr;
  QLabel* lRight = nullptr;
  QWidget* Image1 = nullptr;
  QScrollArea* scroll_ = nullptr;
  QPushButton* Button1 = nullptr;
  TFastDIB canvas_;
  bool loading_ = false;
};

}  // namespace vorq::gui
