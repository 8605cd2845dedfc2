// The main window's part in Paste As Selection, Paste Transparent and the
// "Buffer" caption.
#include <QAction>
#include <QLabel>

#include "gui/dialogs/tf_trans.h"
#include "gui/mainwin/image_view.h"
#include "gui/mainwin/paste_selection.h"
#include "gui/mainwin/tf_vorqtile.h"

namespace vorq::gui {

void TfVorqTile::CreatePasteCommands() {
  trans_ = new TfTrans(this, [this](uint32_t& colour) { return ChooseColor(colour); });
  pPaste = new PasteSelection(editor_, imSine);
  for (const char* name : {"AsSelection1", "Transparent1"}) action(name)->setEnabled(true);
  connect(action("AsSelection1"), &QAction::triggered, this, &TfVorqTile::AsSelection1Click);
  connect(action("Transparent1"), &QAction::triggered, this, &TfVorqTile::Transparent1Click);
  // The caption reads inset (greyed) until the buffer first receives an image.
  findChild<QLabel*>("Lbl3D2")->setEnabled(editor_.BufferFilled);
}

bool TfVorqTile::EditTransparent(TransparentOptions& options) { return trans_->Edit(options); }

void TfVorqTile::AsSelection1Click() {
  TFastDIB piece;
  if (ClipboardImage(piece)) pPaste->Start(std::move(piece));
}

void TfVorqTile::Transparent1Click() { editor_.Transparent1Click(); }

}  // namespace vorq::gui
