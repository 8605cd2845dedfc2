#include "gui/toolbox/live_preview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

#include "editor/preview.h"

namespace vorq::gui {

namespace {

constexpr int kPumpMs = 15;  // the longest the window goes without its messages

// While a preview runs, input reaches the tool box only: a command elsewhere
// would find the image half computed.
class ToolBoxOnly : public QObject {
 public:
  ToolBoxOnly(QWidget* box, QWidget* shut) : box_(box), shut_(shut) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease:
      case QEvent::Wheel:
      case QEvent::Drop:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride: {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w) return event->type() == QEvent::Shortcut;  // a window passes input on to its widgets
        if (w != box_ && !box_->isAncestorOf(w)) return true;
        return shut_ && (w == shut_ || shut_->isAncestorOf(w));
      }
      default: return false;
    }
  }

 private:
  QWidget* box_;
  QWidget* shut_;
};

class PumpingSink final : public ProgressSink {
 public:
  explicit PumpingSink(std::function<bool()> pump) : pump_(std::move(pump)) { clock_.start(); }
  bool Report(int64_t, int64_t) override {
    if (!cancelled_ && clock_.elapsed() >= kPumpMs) {
      clock_.restart();
      if (!pump_()) cancelled_ = true;
    }
    return !cancelled_;
  }

 private:
  std::function<bool()> pump_;
  QElapsedTimer clock_;
};

}  // namespace

LivePreview::LivePreview(Editor& editor, QWidget* toolBox, QWidget* shut, std::function<void()> storeBoxes)
    : QObject(toolBox), editor_(editor), box_(toolBox), shut_(shut), storeBoxes_(std::move(storeBoxes)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kPauseMs);
  connect(&timer_, &QTimer::timeout, this, &LivePreview::Run);
}

void LivePreview::SetOn(bool on) {
  on_ = on;
  if (on) {
    Edited();
    return;
  }
  timer_.stop();
  editor_.EndPreview();  // a running one stops at its next report and puts everything back
}

void LivePreview::Edited() {
  if (!on_) return;
  if (running_) again_ = true;
  timer_.start();
}

bool LivePreview::Pump() {
  QCoreApplication::processEvents();
  return on_ && !again_;
}

void LivePreview::Run() {
  if (running_) {  // the pause ended while the last one still runs: it stops, this one follows
    again_ = true;
    return;
  }
  if (!on_ || editor_.Running()) return;
  if (!EffectPreview::Previewable(editor_.EffectId)) return;
  storeBoxes_();
  running_ = true;
  again_ = false;
  ToolBoxOnly gate(box_, shut_);
  qApp->installEventFilter(&gate);
  PumpingSink sink([this] { return Pump(); });
  editor_.Preview().Show(editor_.EffectId, &sink);
  qApp->removeEventFilter(&gate);
  running_ = false;
  if (again_ && on_) {
    again_ = false;
    if (!timer_.isActive()) timer_.start();
  }
}

}  // namespace vorq::gui
