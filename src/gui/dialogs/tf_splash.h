// The borderless picture shown while the program starts.
#pragma once

#include <QWidget>

namespace vorq::gui {

class TfSplash : public QWidget {
  Q_OBJECT
 public:
  static const char* const kText;
  explicit TfSplash(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vorq::gui
