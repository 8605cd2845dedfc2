// The main window's Gradient menu, its thumbnail and tool bar button, and
// the image pop-up menu's colour fields.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QToolButton>

#include "editor/commands/gradient.h"
#include "gui/dialogs/tf_grad_multi.h"
#include "gui/dialogs/tf_gradient.h"
#include "gui/mainwin/tf_vorqtile.h"

namespace vorq::gui {

namespace {
constexpr int kThumbSide = 65;
}

void TfVorqTile::CreateGradientCommands() {
  auto chooser = [this](uint32_t& colour) { return ChooseColor(colour); };
  auto messages = [this](const std::string& text) { ShowMessage(text); };
  gradient_ = new TfGradient(editor_, chooser, messages, this);
  gradMulti_ = new TfGradMulti(editor_.MultiGradient, chooser, messages, this);

  QAction* design = action("Design1");
  design->setEnabled(true);
  connect(design, &QAction::triggered, this, &TfVorqTile::Design1Click);
  // Paste and Merge wait for the first gradient (StartGradient).
  connect(action("PasteToImage1"), &QAction::triggered, this, &TfVorqTile::PasteToImage1Click);
  connect(action("MergeWithImage1"), &QAction::triggered, this, &TfVorqTile::MergeWithImage1Click);
  auto* paste = findChild<QToolButton*>("bPasteGrad");
  paste->setEnabled(false);
  connect(paste, &QToolButton::clicked, this, &TfVorqTile::PasteToImage1Click);

  struct Popup {
    const char* name;
    void (*click)(Editor&);
  };
  for (const Popup& p : {Popup{"ColorWheel1", ColorWheel1Click}, Popup{"MultiGradient1", MultiGradient1Click},
                         Popup{"Rainbow1", Rainbow1Click}}) {
    QAction* a = action(p.name);
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, [this, click = p.click] { click(editor_); });
  }

  imGrad->setToolTip(QString::fromStdString(editor_.Gradient.Hint));
  imGrad->installEventFilter(this);
  imGrad->hide();
  // The caption reads inset (greyed) until there is a gradient.
  lblGrad->setObjectName("Lbl3D1");
  lblGrad->setEnabled(false);
}

void TfVorqTile::StartGradient() { DrawStartGradient(editor_); }

void TfVorqTile::GradientChanged() {
  const TFastDIB& b = editor_.Gradient.hGrad.GradientBitmap();
  if (!b.Empty()) {
    const QImage picture(b.Bits, b.Width(), b.Height(), int(b.BytesPerRow), QImage::Format_BGR888);
    imGrad->setPixmap(QPixmap::fromImage(
        picture.scaled(kThumbSide, kThumbSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
  }
  imGrad->setToolTip(QString::fromStdString(editor_.Gradient.Hint));
  imGrad->show();
  action("PasteToImage1")->setEnabled(true);
  action("MergeWithImage1")->setEnabled(editor_.EffectAvailable(fx::MergeGradient));
  findChild<QToolButton*>("bPasteGrad")->setEnabled(true);
  lblGrad->setEnabled(true);
}

bool TfVorqTile::EditGradient(GradientState&) { return gradient_->Edit(); }

bool TfVorqTile::EditMultiGradient(MultiGradientState&) { return gradMulti_->Edit(); }

void TfVorqTile::Design1Click() { vorq::Design1Click(editor_); }

void TfVorqTile::PasteToImage1Click() {
  if (action("PasteToImage1")->isEnabled()) vorq::PasteToImage1Click(editor_);
}

void TfVorqTile::MergeWithImage1Click() {
  if (action("PasteToImage1")->isEnabled() && editor_.EffectAvailable(fx::MergeGradient))
    editor_.MenuEffect(fx::MergeGradient);
}

// A double click on the thumbnail clicks Paste To Image.
void TfVorqTile::imGradDblClick() { action("PasteToImage1")->trigger(); }

}  // namespace vorq::gui
