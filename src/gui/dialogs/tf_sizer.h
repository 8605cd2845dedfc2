// "Set Size": the new size for ReSize Fast and ReSize Smooth. The boxes and
// buttons only show and feed the editor's SizerState; the rules that tie
// them together live with the editor (geometry_commands.h).
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "editor/editor.h"
#include "editor/commands/geometry.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace vorq::gui {

class TfrmSizer : public QDialog {
  Q_OBJECT
 public:
  using MessageSink = std::function<void(const std::string&)>;
  // showMessage tells the user about a box that holds no number or a size
  // the program refuses.
  explicit TfrmSizer(QWidget* parent = nullptr, MessageSink showMessage = {});

  // Modal. The state has been through SizerShow; true on OK, and then
  // state.NewWidth/NewHeight hold the size. The state keeps the boxes'
  // contents for the next showing either way.
  bool Edit(SizerState& state);

  // The controls work on state from here on, without running the dialog
  // (Edit does this itself).
  void Attach(SizerState& state);

  QMenu* popupMenu() const { return PopupMenu1; }

 public slots:
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Every control from the state.
  void ShowState();
  void Report(const std::string& error);
  void rgSizerClick(int index);
  void rbPixClick();
  void rbPctClick();
  void BoxEdited(SizerBox box, const QString& text);
  void BoxLeft(SizerBox box);
  void PopupClick(int item);
  SizerBox BoxOf(QObject* edit) const;

  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QGroupBox* rgSizer = nullptr;
  QButtonGroup* sizes_ = nullptr;
  QRadioButton* rbPix = nullptr;
  QRadioButton* rbPct = nullptr;
  QLineEdit* meWidth = nullptr;
  QLineEdit* meHeight = nullptr;
  QLineEdit* mePctWidth = nullptr;
  QLineEdit* mePctHeight = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QMenu* PopupMenu1 = nullptr;

  SizerState* state_ = nullptr;
  MessageSink showMessage_;
  // The message shown when a box was left on the way to OK; OK does not repeat it.
  std::string leftError_;
};

}  // namespace vorq::gui
