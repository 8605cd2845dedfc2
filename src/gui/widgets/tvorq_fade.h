// A picture that changes into another in timed frames: a cross-fade
// (Blend), the cross-fade back (ReverseBlend) or a random-pixel Dissolve
// back. Transitions run on a timer, so the window stays responsive; a
// transition asked for while another runs starts when that one ends.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "core/surface/fast_dib.h"

namespace vorq::gui {

class TVorqFade : public QWidget {
  Q_OBJECT
 public:
  explicit TVorqFade(QWidget* parent = nullptr);

  // The pictures and the colours behind them (or instead of them when a picture is null).
  const QImage& PicFrom() const { return picFrom_; }
  const QImage& PicTo() const { return picTo_; }
  void SetPicFrom(const QImage& picture);
  void SetPicTo(const QImage& picture);
  uint32_t ColorFrom() const { return colorFrom_; }  // 0x00BBGGRR
  uint32_t ColorTo() const { return colorTo_; }
  void SetColorFrom(uint32_t colour);
  void SetColorTo(uint32_t colour);
  bool StretchToFit() const { return stretchToFit_; }
  void SetStretchToFit(bool stretch);

  // Frames of a dissolve, kept within 1 .. width x height when it runs.
  int DisolvRate() const { return disolvRate_; }
  void SetDisolvRate(int64_t rate);
  // Steps of a blend, kept within 1 .. 256.
  int BlendRate() const { return blendRate_; }
  void SetBlendRate(int64_t rate);
  int MsecPerFrame() const { return msecPerFrame_; }
  void SetMsecPerFrame(int msec) { msecPerFrame_ = std::max(0, msec); }
  bool AutoReverse() const { return autoReverse_; }
  void SetAutoReverse(bool on) { autoReverse_ = on; }
  bool SwapOnReverse() const { return swapOnReverse_; }
  void SetSwapOnReverse(bool on) { swapOnReverse_ = on; }
  int SwapDelay() const { return swapDelay_; }  // seconds
  void SetSwapDelay(int seconds) { swapDelay_ = std::clamp(seconds, 0, 3600); }

  void Blend();
  void ReverseBlend();
  void Dissolve();
  // Ends any transition at once, showing the from picture it started with.
  void Stop();
  bool Running() const { return kind_ != Kind::None; }

  // The picture shown and the target, as 24-bit surfaces.
  const TFastDIB& FromBitmap() const { return from_; }
  const TFastDIB& ToBitmap() const { return to_; }

  QSize sizeHint() const override { return QSize(75, 75); }

 signals:
  void OnBegin();
  void OnEnd();
  void OnReset();
  void OnMouseEnter();
  void OnMouseLeave();
  void OnClick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Kind { None, Blend, Reverse, Dissolve };
  void Rebuild();
  void Request(Kind kind);
  void Begin(Kind kind);
  // Swaps pictures and colours for a transition back.
  void SwapForReverse();
  void Step();
  void Wait(qint64 untilMsec);
  void Finish();

  TFastDIB from_, to_, saved_;
  QImage picFrom_, picTo_;
  uint32_t colorFrom_ = 0, colorTo_ = 0xFFFFFF;
  std::vector<uint32_t> order_;
  int disolvRate_ = 125;
  int blendRate_ = 32;
  int msecPerFrame_ = 40;
  bool stretchToFit_ = true;
  bool autoReverse_ = false;
  bool swapOnReverse_ = true;
  bool swapPending_ = false;
  bool savedStretch_ = true;
  int swapDelay_ = 1;

  bool rebuilding_ = false;
  Kind kind_ = Kind::None;     // the transition running
  Kind pending_ = Kind::None;  // the one asked for meanwhile
  bool inReverse_ = false;     // the AutoReverse part of a blend is running
  int64_t frame_ = 0, frames_ = 0, chunk_ = 0, rest_ = 0;
  QElapsedTimer clock_;
  QTimer timer_;
};

}  // namespace vorq::gui
