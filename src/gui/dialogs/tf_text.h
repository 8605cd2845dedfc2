// "Add Text": the text to put on the image and its font, style, size,
// colour and alignment, with a sample of the font. Created once; it keeps
// its settings between showings.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/oplog/text_line.h"

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace vorq::gui {

class ColorPickButton;
class TTextPanel;

class TfText : public QDialog {
  Q_OBJECT
 public:
  using MessageSink = std::function<void(const std::string&)>;
  explicit TfText(QWidget* parent = nullptr, MessageSink showMessage = {});

  // Modal; on OK, line holds the sample's font, size, style and colour, the
  // memo's text and the alignment (its position is left alone).
  bool Edit(TextToolLine& line);
  // What OK would hand back now.
  TextToolLine Chosen() const;

  // The sizes the size list offers.
  static const int kSizes[];
  static const int kSizeCount;

  TTextPanel* Sample() const { return tPnl1; }
  ColorPickButton* ColorButton() const { return bColor; }

 private:
  void FormCreate();
  void lbFontsClick();
  void lbStyleClick();
  void lbSizeClick();
  void eFontNameChange(const QString& text);
  void eSizeChange(const QString& text);
  // The name, size and style fields become the sample's font; false (after
  // the conversion message) when the size field is not an integer.
  bool ApplyFont();
  void bColorChange(uint32_t colour);
  void Memo1Change();
  void RadioGroup1Click(int index);

  QLineEdit* eFontName = nullptr;
  QListWidget* lbFonts = nullptr;
  QLineEdit* eStyle = nullptr;
  QListWidget* lbStyle = nullptr;
  QLineEdit* eSize = nullptr;
  QListWidget* lbSize = nullptr;
  TTextPanel* tPnl1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  ColorPickButton* bColor = nullptr;
  QButtonGroup* RadioGroup1 = nullptr;
  MessageSink showMessage_;

  // The sample's font: what is drawn.
  QString sampleFamily_;
  int sampleSize_ = 8;
  TextStyle sampleStyle_ = TextStyle::Normal;
  uint32_t sampleColour_ = 0;
  int styleIndex_ = 0;
};

}  // namespace vorq::gui
