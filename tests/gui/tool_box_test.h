#pragma once

#include <QObject>

namespace vorq::gui::test {

class ToolBoxTest : public QObject {
  Q_OBJECT
 private slots:
  void startsWithNothingChosen();
  void showsTheSelectedEffectsFields();
  void applyUsesTypedValuesAndRefusesNonNumbers();
  void usePeaksSwitchesTheFirstField();
  void scrollBarShiftsTheImage();
  void filterDialogEditsTheKernelTexts();
  void designYourOwnRunsTheTypedKernel();
};

}  // namespace vorq::gui::test
