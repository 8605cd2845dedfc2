// "Gradient Designer": edits the program's current gradient. The fields
// feed the editor's GradientState through its handlers; the preview is the
// renderer itself.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "editor/editor.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace vorq::gui {

class TVorqGradientView;

class TfGradient : public QDialog {
  Q_OBJECT
 public:
  using ColorChooser = std::function<bool(uint32_t& colour)>;
  using MessageSink = std::function<void(const std::string&)>;
  // The dialog lives as long as the editor; chooseColor is the colour
  // dialog, showMessage tells of a field that holds no number.
  TfGradient(Editor& editor, ColorChooser chooseColor, MessageSink showMessage, QWidget* parent = nullptr);

  // Modal, on the editor's GradientState; true on OK. Closing otherwise
  // keeps the preview's edits.
  bool Edit();

  TVorqGradientView* preview() const { return view_; }

 private:
  void LoadFields();
  // A field's text went to its handler: show a refusal, follow the preview.
  void Handled(const std::string& error);
  void PreviewChanged();
  void ChooseColour(bool begin);

  Editor& editor_;
  GradientState& g_;
  ColorChooser chooseColor_;
  MessageSink showMessage_;
  QLineEdit* meWide = nullptr;
  QLineEdit* meHigh = nullptr;
  QLineEdit* meAngle = nullptr;
  QComboBox* cbStyle = nullptr;
  QPushButton* bFromCl = nullptr;
  QPushButton* bClTo = nullptr;
  QToolButton* bPaste = nullptr;
  QPushButton* bDefault = nullptr;
  QPushButton* bOK = nullptr;
  QScrollArea* scroll_ = nullptr;
  TVorqGradientView* view_ = nullptr;
  bool loading_ = false;
};

}  // namespace vorq::gui
