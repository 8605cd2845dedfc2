// The tool box's Preview check box: while it is on, a pause in the editing of
// the current effect's values runs the effect again from the image as it was
// and shows it in the canvas. The editor's EffectPreview does the work; this
// only times it and keeps the window responsive while it runs.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "editor/editor.h"

namespace vorq::gui {

class LivePreview : public QObject {
  Q_OBJECT
 public:
  static constexpr int kPauseMs = 250;  // after the last edit

  // storeBoxes copies the tool box's boxes into the editor's panel state.
  // While a preview runs, input reaches the tool box only, and nothing under shut.
  LivePreview(Editor& editor, QWidget* toolBox, QWidget* shut, std::function<void()> storeBoxes);

  void SetOn(bool on);
  bool On() const { return on_; }
  // A value of the current effect changed: preview again after the pause; a
  // preview still running stops at its next progress report.
  void Edited();
  bool Running() const { return running_; }

 private:
  void Run();
  // Lets the window's messages run while the pixels change; false stops them.
  bool Pump();

  Editor& editor_;
  QWidget* box_;
  QWidget* shut_;
  std::function<void()> storeBoxes_;
  QTimer timer_;
  bool on_ = false, running_ = false, again_ = false;
};

}  // namespace vorq::gui
