// A live preview of the current effect: the effect's pixels, computed from
// the image as it was when the preview began, with the values typed in the
// tool box, shown without a snapshot or a log line. Apply keeps what shows
// (one snapshot of the original, one line); anything else puts the original
// image and the stored values back.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/surface/fast_dib.h"
#include "core/util/progress.h"
#include "editor/editor.h"

namespace vorq {

class EffectPreview {
 public:
  // The editor owns its one preview (Editor::Preview).
  explicit EffectPreview(Editor& ed) : ed_(ed) {}
  EffectPreview(const EffectPreview&) = delete;
  EffectPreview& operator=(const EffectPreview&) = delete;

  // Effects whose command asks or opens a dialog are not previewed.
  static bool Previewable(int id);

  enum class Outcome {
    Shown,    // the effect's pixels show (or the image as it was, when its check leaves it so)
    Stopped,  // the sink stopped it, or the preview was ended meanwhile: the original shows
    Refused,  // not previewable, a value that does not convert, another effect running: nothing changed
  };
  // Runs effect id from the original with the tool box's values; sink (may be
  // null) hears the progress and may stop it. A different id than the one
  // showing starts over from the original.
  Outcome Show(int id, ProgressSink* sink);

  bool Active() const { return active_; }    // the original is held
  bool Running() const { return running_; }  // the pixels are being computed
  int Id() const { return id_; }
  // Puts the original image and stored values back; nothing is written.
  // While the pixels are being computed, they stop first.
  void End();
  // Apply: what plain Apply would give, with one snapshot (of the original)
  // and one line. The pixels showing are kept when they are the tool box's
  // values' own; otherwise the original comes back and Apply runs.
  bool Commit();

 private:
  std::string PanelKey() const;  // what the pixels depend on besides the stored values and the image
  void PutBack();

  Editor& ed_;
  TFastDIB original_;
  std::array<int32_t, kEffectCount> vals_{};
  std::array<double, kSecondCount> second_{};
  // What the pixels showing were made from: the panel (empty: none) and the stored values.
  std::string shownKey_;
  std::array<int32_t, kEffectCount> shownVals_{};
  std::array<double, kSecondCount> shownSecond_{};
  int id_ = -1;
  bool active_ = false, running_ = false, endRequested_ = false;
};

}  // namespace vorq
