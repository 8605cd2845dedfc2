// "Print Options": how large the working image is printed, where it sits on
// the page and the page's orientation; OK prints it.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "core/surface/fast_dib.h"
#include "gui/output/print_layout.h"
#include "gui/output/printing.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QToolButton;

namespace vorq::gui {

class TfPrint : public QDialog {
  Q_OBJECT
 public:
  using MessageSink = std::function<void(const std::string&)>;
  explicit TfPrint(QWidget* parent = nullptr, MessageSink showMessage = {});
  ~TfPrint() override;

  // File > Print...: the dialog for image, then on OK the page. When the
  // page goes to a file, or the system has no printer, the print dialog
  // asks where it goes first.
  void Print1Click(const TFastDIB& image);

  // What the dialog does each time it shows: the scaling factor for the
  // screen's width, the image's size in inches, the mode's controls.
  void FormShow(const TFastDIB& image, const ScreenMetrics& screen);
  // Prints image on printer with the dialog's current choices; a message on failure.
  bool PrintTo(QPrinter& printer, const TFastDIB& image);

  PrintChoices Choices() const;
  // The printer that OK prints on; made on first use.
  QPrinter& printer();
  QMenu* popupMenu() const { return PopupMenu1; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void rgSizeClick(int mode);
  void ShowModeControls(int mode);
  void CDJacket(int mode);
  void SizeBoxExit(bool width);
  void sbPrintClick();
  void SpeedButton1Click();
  void bPreviewClick();
  // The choices' message before anything is asked or shown: false after it.
  bool Check(QPrinter& printer, const TFastDIB& image);
  void Report(const std::string& text);


  QButtonGroup* rgSize = nullptr;
  QButtonGroup* rgAlign = nullptr;
  QButtonGroup* rgOrient = nullptr;
  QLabel* lblScale = nullptr;
  QLineEdit* eScale = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QLabel* lblInches = nullptr;
  QLabel* lblWide = nullptr;
  QLabel* lblHigh = nullptr;
  QLineEdit* eWide = nullptr;
  QLineEdit* eHigh = nullptr;
  QCheckBox* cbAspect = nullptr;
  QPushButton* sbPrint = nullptr;
  QPushButton* bPreview = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QMenu* PopupMenu1 = nullptr;

  std::unique_ptr<QPrinter> printer_;
  MessageSink showMessage_;
  const TFastDIB* image_ = nullptr;  // from FormShow until the print is done
  ScreenMetrics screen_;
};

}  // namespace vorq::gui
