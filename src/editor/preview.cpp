#include "editor/preview.h"

#include <new>

#include "editor/effect_table.h"

namespace vorq {

namespace {

// Passes the progress on, and stops the pixels once the preview is ended.
class PreviewProgress final : public ProgressSink {
 public:
  PreviewProgress(ProgressSink* outer, const bool& ended) : outer_(outer), ended_(ended) {}
  bool Report(int64_t done, int64_t total) override {
    if (!cancelled_ && (ended_ || (outer_ && !outer_->Report(done, total)))) cancelled_ = true;
    return !cancelled_;
  }

 private:
  ProgressSink* outer_;
  const bool& ended_;
};

}  // namespace

// ---- the editor's side ----

Editor::~Editor() = default;

EffectPreview& Editor::Preview() {
  if (!preview_) preview_ = std::make_unique<EffectPreview>(*this);
  return *preview_;
}

void Editor::EndPreview() {
  if (preview_) preview_->End();
}

// ---- the preview ----

bool EffectPreview::Previewable(int id) {
  const EffectRow& row = EffectRowOf(id);
  return row.Pixels && (row.road == Road::Busy || row.road == Road::Quiet) && !row.Asks;
}

std::string EffectPreview::PanelKey() const {
  const ToolBoxPanel& t = ed_.ToolBox;
  std::string k;
  for (const EditBoxState& b : t.Boxes)
    if (b.Visible) k += b.Text + '\n';
  k += t.PeaksChecked ? 'P' : 'p';
  k += t.WrapChecked ? 'W' : 'w';
  k += t.BumpChecked ? 'B' : 'b';
  k += char('0' + int(t.Seams));
  k += std::to_string(t.PenColor) + ',' + std::to_string(t.BrushColor) + '\n';
  // The gradient effects read the current gradient, which its designer changes even when cancelled.
  const GradientState& g = ed_.Gradient;
  return k + g.Width + ',' + g.Height + ',' + g.Style + ',' + g.Angle + ',' + std::to_string(g.hGrad.BeginColor()) +
         ',' + std::to_string(g.hGrad.EndColor());
}

EffectPreview::Outcome EffectPreview::Show(int id, ProgressSink* sink) {
  if (!Previewable(id)) return Outcome::Refused;
  if (ed_.running_) {
    ed_.SetStatus(kPanelEffect, kEffectRunning);
    return Outcome::Refused;
  }
  if (active_ && id != id_) End();
  if (!active_) {
    try {
      CopySurface(ed_.WorkSurface, original_);
    } catch (const std::bad_alloc&) {
    }
    if (original_.Width() != ed_.WorkSurface.Width() || original_.Height() != ed_.WorkSurface.Height()) {
      original_ = TFastDIB();
      ed_.SetStatus(kPanelEffect, "There is not enough memory for a preview.");
      return Outcome::Refused;
    }
    vals_ = ed_.EffectVals;
    second_ = ed_.Second;
    id_ = id;
    active_ = true;
    endRequested_ = false;
  }
  shownKey_.clear();
  try {
    ed_.StoreToolBoxValues(id);
  } catch (const ConversionError& err) {
    ed_.SetStatus(kPanelEffect, err.what());  // no box while typing; Apply shows it
    return Outcome::Refused;
  }
  ed_.ApplyClamps(id);

  const EffectRow& row = EffectRowOf(id);
  PreviewProgress progress(sink, endRequested_);
  bool failed = false;
  Gate gate = Gate::Go;
  running_ = ed_.running_ = true;
  try {
    CopySurface(original_, ed_.WorkSurface);
    failed = ed_.WorkSurface.Width() != original_.Width() || ed_.WorkSurface.Height() != original_.Height();
    // A check that leaves the pixels alone (or refuses) shows the original.
    if (!failed && row.Check) gate = row.Check(ed_);
    if (!failed && gate == Gate::Go) {
      ProgressScope scope(&progress);
      row.Pixels(ed_);
    }
  } catch (const std::bad_alloc&) {
    failed = true;
  }
  running_ = ed_.running_ = false;
  if (failed || progress.Cancelled() || endRequested_) {
    // Back to the original; when even that copy finds no memory, the preview ends.
    bool back = !endRequested_;
    if (back) {
      CopySurface(original_, ed_.WorkSurface);
      back = ed_.WorkSurface.Width() == original_.Width() && ed_.WorkSurface.Height() == original_.Height();
    }
    if (back)
      ed_.RefreshImage();
    else
      PutBack();
    if (failed) ed_.SetStatus(kPanelEffect, "There is not enough memory for a preview.");
    return Outcome::Stopped;
  }
  if (gate == Gate::Go) {
    shownKey_ = PanelKey();
    shownVals_ = ed_.EffectVals;
    shownSecond_ = ed_.Second;
  }
  ed_.RefreshImage();
  return Outcome::Shown;
}

void EffectPreview::PutBack() {
  ed_.WorkSurface = std::move(original_);
  original_ = TFastDIB();
  ed_.EffectVals = vals_;
  ed_.Second = second_;
  active_ = endRequested_ = false;
  shownKey_.clear();
  ed_.RefreshImage();
}

void EffectPreview::End() {
  if (!active_) return;
  if (running_)
    endRequested_ = true;  // the pixels stop at their next report; Show puts everything back
  else
    PutBack();
}

bool EffectPreview::Commit() {
  if (running_) {
    ed_.SetStatus(kPanelEffect, kEffectRunning);
    return false;
  }
  // Pixels made from other values than the tool box's now: Apply itself.
  bool current = active_ && !shownKey_.empty() && id_ == ed_.EffectId && shownKey_ == PanelKey();
  if (current) {
    try {
      ed_.StoreToolBoxValues(id_);
      ed_.ApplyClamps(id_);
      current = ed_.EffectVals == shownVals_ && ed_.Second == shownSecond_;
    } catch (const ConversionError&) {
      current = false;
    }
  }
  if (!current) {
    End();
    return ed_.bGoClick();
  }
  if (!ed_.PushUndoOf(original_)) return false;  // the message said why; the preview stays
  original_ = TFastDIB();
  active_ = false;
  shownKey_.clear();
  ed_.RefreshImage();
  ed_.LogEffect();
  return true;
}

}  // namespace vorq
