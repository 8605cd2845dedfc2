#include "gui/dialogs/tf_select.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace vorq::gui {

TfSelect::TfSelect(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName("fSelect");
  setWindowTitle("Selection Action");
  setModal(true);

  struct Choice {
    const char* name;
    const char* caption;
    SelectionAction action;
  };
  const Choice choices[] = {{"bClipboard", "Copy to Clipboard", SelectionAction::CopyToClipboard},
                            {"bBuffer", "Copy to Buffer", SelectionAction::CopyToBuffer},
                            {"bCrop", "Crop to Selection", SelectionAction::CropToSelection},
                            {"bCancel", "Cancel", SelectionAction::Cancel}};
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(12, 12, 12, 12);
  column->setSpacing(6);
  for (const Choice& c : choices) {
    auto* b = new QPushButton(c.caption, this);
    b->setObjectName(c.name);
    b->setAutoDefault(false);
    const SelectionAction action = c.action;
    connect(b, &QPushButton::clicked, this, [this, action] {
      chosen_ = action;
      done(action == SelectionAction::Cancel ? QDialog::Rejected : QDialog::Accepted);
    });
    column->addWidget(b);
    // Enter takes the first choice; Escape and the close box give Cancel.
    if (c.action == SelectionAction::CopyToClipboard) b->setDefault(true);
  }
  setFixedWidth(170);
}

SelectionAction TfSelect::Ask() {
  chosen_ = SelectionAction::Cancel;
  exec();
  return chosen_;
}

}  // namespace vorq::gui
