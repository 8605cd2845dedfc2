// "Set JPG Compression Quality": a box and a scroll bar that follow each
// other, and the quality last confirmed with OK.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;
class QScrollBar;

namespace vorq::gui {

class TfJPGComp : public QDialog {
  Q_OBJECT
 public:
  using MessageSink = std::function<void(const std::string&)>;
  // showMessage tells the user about a box that holds no number.
  explicit TfJPGComp(QWidget* parent = nullptr, MessageSink showMessage = {});

  // The box's text, as the settings file keeps it.
  QString Text() const;
  void SetText(const QString& text);
  int Position() const;
  int SavedQuality() const { return savedQuality_; }

  // Modal; true on OK, and then quality is the bar's position.
  bool Edit(int& quality);

 public slots:
  void accept() override;
  void reject() override;  // Cancel, Escape and the close box: the bar goes back to the saved quality

 private:
  void eCValChange(const QString& text);
  void sbCValChange(int position);
  void bDefaultClick();

  QLineEdit* eCVal = nullptr;
  QScrollBar* sbCVal = nullptr;
  QPushButton* bOK = nullptr;
  QPushButton* bCancel = nullptr;
  QPushButton* bDefault = nullptr;
  int savedQuality_ = 90;
  MessageSink showMessage_;
};

}  // namespace vorq::gui
