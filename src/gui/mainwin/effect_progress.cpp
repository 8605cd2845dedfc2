// A long effect keeps the window alive: an effect's pixels run on a worker
// thread while the window's messages run (other long commands let them run
// from their progress reports every few milliseconds), a progress bar and a
// Cancel button show in the status bar, and Esc or Cancel stops the effect.
// While it runs, the user's input goes nowhere but to Cancel, so no other
// command can start.
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QShortcut>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <thread>

#include "gui/mainwin/image_view.h"
#include "gui/mainwin/tf_vorqtile.h"

namespace vorq::gui {

namespace {

constexpr int kPumpMs = 15;       // the longest the window goes without its messages
constexpr int kShowAfterMs = 150;  // shorter effects show no bar

// Swallows input meant for anything but the Cancel button and Esc.
class InputGate : public QObject {
 public:
  InputGate(QObject* cancel, QObject* escape, std::function<void()> refused)
      : cancel_(cancel), escape_(escape), refused_(std::move(refused)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::ShortcutOverride:
        // Esc reaches its shortcut: its override and the shortcut's own event pass.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) return false;
        [[fallthrough]];
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease:
      case QEvent::Wheel:
      case QEvent::Drop:
      case QEvent::Shortcut:
        if (watched == cancel_ || watched == escape_) return false;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) refused_();
        return true;
      default: return false;
    }
  }

 private:
  QObject* cancel_;
  QObject* escape_;
  std::function<void()> refused_;
};

}  // namespace

void TfVorqTile::CreateProgress() {
  progress_ = new QProgressBar(statusBar());
  progress_->setObjectName("pbEffect");
  progress_->setRange(0, 1000);
  progress_->setFixedSize(150, 14);
  progress_->hide();
  cancel_ = new QToolButton(statusBar());
  cancel_->setObjectName("bCancelEffect");
  cancel_->setText("Cancel");
  cancel_->setToolTip("Stop the effect and keep the image as it was (Esc)");
  cancel_->hide();
  statusBar()->addPermanentWidget(progress_);
  statusBar()->addPermanentWidget(cancel_);
  connect(cancel_, &QToolButton::clicked, this, &TfVorqTile::CancelEffect);
  escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &TfVorqTile::CancelEffect, Qt::ApplicationShortcut);
  escape_->setEnabled(false);
}

void TfVorqTile::StartEffectUi() {
  if (effectClock_.isValid()) return;
  effectClock_.start();
  pumpClock_.start();
  cancelRequested_ = false;
  workDone_ = workTotal_ = 0;
  gate_ = new InputGate(cancel_, escape_, [this] {
    editor_.SetStatus(kPanelEffect, kEffectRunning);
    progress_->setFormat("Esc stops it  %p%");
  });
  qApp->installEventFilter(gate_);
  escape_->setEnabled(true);
}

void TfVorqTile::ShowProgress(int64_t done, int64_t total) {
  if (progress_->isHidden() && effectClock_.elapsed() >= kShowAfterMs) {
    // The bar takes the place of the mouse and message panels, so that the
    // bar fits the window's first size; the input gate makes those idle anyway.
    for (int i : {kPanelX, kPanelY, kPanelEffect}) panels_[size_t(i)]->hide();
    progress_->setFormat("%p%");
    progress_->show();
    cancel_->show();
  }
  if (total > 0) progress_->setValue(int(std::clamp<int64_t>(done * 1000 / total, 0, 1000)));
}

bool TfVorqTile::Progress(int64_t done, int64_t total) {
  if (QThread::currentThread() != thread()) {  // the worker: the window's timer shows it
    workDone_ = done;
    workTotal_ = total;
    return !cancelRequested_;
  }
  StartEffectUi();
  if (pumpClock_.elapsed() >= kPumpMs) {
    ShowProgress(done, total);
    QCoreApplication::processEvents();
    pumpClock_.restart();
  }
  return !cancelRequested_;
}

void TfVorqTile::RunWork(const std::function<void()>& work) {
  StartEffectUi();
  imSine->Freeze(true);
  QEventLoop loop;
  QTimer tick;
  tick.setInterval(kPumpMs);
  connect(&tick, &QTimer::timeout, this, [this] { ShowProgress(workDone_, workTotal_); });
  tick.start();
  std::thread worker([&] {
    work();
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();  // a quit posted before this starts still ends it
  worker.join();
  tick.stop();
  imSine->Freeze(false);
}

void TfVorqTile::ProgressEnded() {
  if (!effectClock_.isValid()) return;
  effectClock_.invalidate();
  qApp->removeEventFilter(gate_);
  delete gate_;
  gate_ = nullptr;
  escape_->setEnabled(false);
  progress_->hide();
  cancel_->hide();
  progress_->setValue(0);
  for (int i : {kPanelX, kPanelY, kPanelEffect}) panels_[size_t(i)]->show();
}

void TfVorqTile::CancelEffect() {
  if (effectClock_.isValid()) cancelRequested_ = true;
}

}  // namespace vorq::gui
