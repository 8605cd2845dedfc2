#include "gui/widgets/color_pick_button.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidgetAction>

#include "gui/widgets/color_ref.h"

namespace vorq::gui {

namespace {
// The sixteen basic colours and four greys between.
constexpr uint32_t kQuickColours[] = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000080, 0x0000FF, 0x008080, 0x00FFFF,
                                      0x008000, 0x00FF00, 0x808000, 0xFFFF00, 0x800000, 0xFF0000, 0x800080, 0xFF00FF,
                                      0x404040, 0x606060, 0xA0A0A0, 0xE0E0E0};
}  // namespace

ColorPickButton::ColorPickButton(const QString& caption, QWidget* parent) : QToolButton(parent) {
  setText(caption);
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setPopupMode(QToolButton::InstantPopup);
  menu_ = new QMenu(this);

  auto* grid = new QWidget(menu_);
  auto* column = new QVBoxLayout(grid);
  column->setContentsMargins(6, 4, 6, 4);
  auto* title = new QLabel("Quick Pick...", grid);
  column->addWidget(title);
  auto* swatches = new QGridLayout;
  swatches->setSpacing(2);
  int i = 0;
  for (uint32_t c : kQuickColours) {
    auto* b = new QToolButton(grid);
    b->setObjectName(QString("quick%1").arg(i));
    b->setFixedSize(18, 18);
    b->setAutoRaise(false);
    b->setStyleSheet(QString("background-color: %1; border: 1px solid #404040;").arg(FromColorRef(c).name()));
    connect(b, &QToolButton::clicked, this, [this, c] {
      menu_->close();
      Pick(c);
    });
    swatches->addWidget(b, i / 4, i % 4);
    ++i;
  }
  column->addLayout(swatches);
  auto* quick = new QWidgetAction(menu_);
  quick->setDefaultWidget(grid);
  menu_->addAction(quick);
  menu_->addSeparator();
  QAction* more = menu_->addAction("See More Colors...");
  more->setObjectName("MoreColors");
  connect(more, &QAction::triggered, this, &ColorPickButton::MoreColors);
  setMenu(menu_);
  UpdateIcon();
}

void ColorPickButton::SetColor(uint32_t colour) {
  colour_ = colour & 0xFFFFFF;
  UpdateIcon();
}

void ColorPickButton::Pick(uint32_t colour) {
  SetColor(colour);
  emit ColorChanged(colour_);
}

void ColorPickButton::MoreColors() {
  uint32_t c = colour_;
  if (more_) {
    if (!more_(c)) return;
  } else {
    const QColor chosen = QColorDialog::getColor(FromColorRef(c), this, "Text Color");
    if (!chosen.isValid()) return;
    c = ToColorRef(chosen);
  }
  Pick(c);
}

void ColorPickButton::UpdateIcon() {
  QPixmap bar(32, 10);
  bar.fill(FromColorRef(colour_));
  QPainter p(&bar);
  p.setPen(Qt::darkGray);
  p.drawRect(bar.rect().adjusted(0, 0, -1, -1));
  p.end();
  setIcon(QIcon(bar));
  setIconSize(bar.size());
}

}  // namespace vorq::gui
