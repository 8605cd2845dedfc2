// A button that shows a colour and lets the user pick another: a grid of
// quick picks, or the colour dialog for more.
#pragma once

#include <QToolButton>
#include <cstdint>
#include <functional>

class QMenu;

namespace vorq::gui {

class ColorPickButton : public QToolButton {
  Q_OBJECT
 public:
  ColorPickButton(const QString& caption, QWidget* parent = nullptr);

  uint32_t Color() const { return colour_; }  // 0x00BBGGRR
  void SetColor(uint32_t colour);
  // Replaces the colour dialog of "See More Colors..." (false: cancelled).
  void SetMoreColors(std::function<bool(uint32_t&)> chooser) { more_ = std::move(chooser); }
  QMenu* Menu() const { return menu_; }

 signals:
  void ColorChanged(uint32_t colour);

 private:
  void Pick(uint32_t colour);
  void MoreColors();
  void UpdateIcon();

  uint32_t colour_ = 0;
  QMenu* menu_ = nullptr;
  std::function<bool(uint32_t&)> more_;
};

}  // namespace vorq::gui
