// The About box: two pictures that fade in turn, then the program's name
// and version with a hover button that closes the box.
#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

namespace vorq::gui {

class TVorqFade;

// The program's version, as the build names it.
QString VersionText();

class TfAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfAbout(QWidget* parent = nullptr);

  TVorqFade* hf1 = nullptr;
  TVorqFade* hf2 = nullptr;
  TVorqFade* VorqFade1 = nullptr;  // closes the box
  TVorqFade* VorqFade2 = nullptr;
  QWidget* pnlInfo = nullptr;

 signals:
  // The opening pictures have played and the information shows.
  void InfoShown();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void Play();
  void hf1End();
  void hf2End();
  void After(int msec, void (TfAbout::*next)());

  QTimer wait_;
  void (TfAbout::*next_)() = nullptr;
};

}  // namespace vorq::gui
