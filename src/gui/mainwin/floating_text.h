// The text tool on the image: a press opens "Add Text", OK puts the text
// as a floating picture at the press, the picture follows the mouse while
// the mouse moves over it, and a click on it draws the text into the image.
#pragma once

#include <QLabel>
#include <functional>
#include <string>

#include "core/oplog/text_line.h"

namespace vorq {
class Editor;
}

namespace vorq::gui {

class ImageView;
class TfText;

class FloatingText : public QLabel {
  Q_OBJECT
 public:
  using MessageSink = std::function<void(const std::string&)>;
  FloatingText(Editor& editor, ImageView* view, TfText* dialog, MessageSink showMessage);

  // The text tool was pressed on the image at (x, y) (the snapshot is taken).
  void Start(int x, int y);
  // Puts line's text afloat at (x, y) without asking; false when it cannot be drawn.
  bool Float(const TextToolLine& line, int x, int y);
  // Draws the floating text into the image where it is now.
  void Commit();
  bool Placing() const { return placing_; }
  const TextToolLine& Line() const { return line_; }

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  Editor& editor_;
  ImageView* view_;
  TfText* dialog_;
  MessageSink showMessage_;
  TextToolLine line_;
  bool placing_ = false;
};

}  // namespace vorq::gui
