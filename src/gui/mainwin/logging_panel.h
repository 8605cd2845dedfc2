// The status bar's last panel: whether commands are being written to the log.
#pragma once

#include <QFrame>
#include <functional>

namespace vorq::gui {

class LoggingPanel : public QFrame {
  Q_OBJECT
 public:
  explicit LoggingPanel(std::function<bool()> logging, QWidget* parent = nullptr);
  QString Text() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::function<bool()> logging_;
};

}  // namespace vorq::gui
