// A sunken panel that shows one line of text in a given font: the Add Text
// dialog's font sample.
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

namespace vorq::gui {

class TTextPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TTextPanel(QWidget* parent = nullptr);

  QString Text() const { return text_; }
  void SetText(const QString& text);
  int BevelWidth() const { return bevelWidth_; }
  // Accepted only when it leaves room for the text: at most (width div 2) - 5
  // and (height div 2) - 5.
  void SetBevelWidth(int width);
  Qt::Alignment Alignment() const { return alignment_; }
  void SetAlignment(Qt::Alignment horizontal);
  QFont TextFont() const { return font_; }
  void SetTextFont(const QFont& font);
  QColor FontColor() const { return colour_; }
  void SetFontColor(const QColor& colour);

  QSize sizeHint() const override { return QSize(75, 25); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int bevelWidth_ = 1;
  Qt::Alignment alignment_ = Qt::AlignHCenter;
  QFont font_;
  QColor colour_ = Qt::black;
};

}  // namespace vorq::gui
