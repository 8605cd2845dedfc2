// The one road of every command, and the three ways an effect is run: its
// menu item (stored values), Apply (the tool box's values) and the tree.
#include <exception>

#include "core/effects/filters.h"
#include "core/oplog/effect_lines.h"
#include "core/oplog/line_shapes.h"
#include "core/oplog/log_format.h"
#include "core/util/progress.h"
#include "editor/editor.h"
#include "editor/effect_table.h"
#include "editor/preview.h"

namespace vorq {

namespace {
const char* const kNoMemory = "There is not enough memory for this command; the image is as it was.";
}  // namespace

// ---- the road ----

bool Editor::Run(const Command& c) {
  if (running_) {
    SetStatus(kPanelEffect, kEffectRunning);
    return false;
  }
  EndPreview();  // a live preview is not the image: it goes before anything sees it
  if (c.Busy) ui_.SetBusy(true);
  // With a full ring the snapshot waits for the end when the run can be
  // stopped: pushed now it would drop the oldest one, which a stop could not bring back.
  const bool deferred = c.Snapshot && c.Pixels && ui_.CanStop() && (Undo.Full() || Undo.Count() >= Undo.Levels());
  if (c.Snapshot && !deferred && !PushUndo()) {
    if (c.Busy) ui_.SetBusy(false);
    return false;
  }
  if (c.Pixels && !RunPixels(c, deferred)) {
    if (c.Busy) ui_.SetBusy(false);
    return false;
  }
  if (c.Refresh) RefreshImage();
  if (c.Busy) ui_.SetBusy(false);
  if (c.After) c.After();
  if (c.Line) {
    const std::string line = c.Line();
    if (!line.empty()) WriteLog(line);
  }
  return true;
}

namespace {

// Passes the effect's progress to the window and remembers a stop.
class EditorProgress final : public ProgressSink {
 public:
  explicit EditorProgress(UiPort& ui) : ui_(ui) {}
  bool Report(int64_t done, int64_t total) override {
    if (!cancelled_ && !ui_.Progress(done, total)) cancelled_ = true;
    return !cancelled_;
  }

 private:
  UiPort& ui_;
};

}  // namespace

bool Editor::RunPixels(const Command& c, bool deferredSnapshot) {
  TFastDIB& before = stopCopy_;  // kept between runs, so its storage is reused
  bool copied = false, outOfMemory = false;
  EditorProgress progress(ui_);
  running_ = true;
  std::exception_ptr failure;  // thrown on the worker, rethrown here
  const auto work = [&] {
    try {
      ProgressScope scope(&progress);
      c.Pixels();
    } catch (...) {
      failure = std::current_exception();
    }
  };
  try {
    if (deferredSnapshot) CopySurface(WorkSurface, before);
    copied = true;
    if (c.Worker)
      ui_.RunWork(work);
    else
      work();
    if (failure) std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
  }
  running_ = false;
  ui_.ProgressEnded();
  if (!outOfMemory && !progress.Cancelled()) {
    if (deferredSnapshot && Undo.Push(before)) ui_.UndoChanged();
    return true;
  }
  // Stopped or out of memory: the copy taken before the pixels holds the image as it was.
  if (deferredSnapshot) {
    if (copied) CopySurface(before, WorkSurface);
  } else if (c.Snapshot && Undo.Pop(WorkSurface)) {
    ui_.UndoChanged();
  }
  RefreshImage();
  if (outOfMemory)
    ui_.ShowMessage(kNoMemory);
  else
    SetStatus(kPanelEffect, "Stopped: the image is as it was.");
  return false;
}

void Editor::BeginEffect() {
  ui_.SetBusy(true);
  PushUndo();
}

void Editor::EndEffect() {
  RefreshImage();
  ui_.SetBusy(false);
}

void Editor::RefreshImage() {
  Status[kPanelWidth] = "Width: " + std::to_string(WorkSurface.Width());
  Status[kPanelHeight] = "Height: " + std::to_string(WorkSurface.Height());
  ui_.ImageChanged();
  ui_.StatusChanged();
}

void Editor::SetStatus(int panel, const std::string& text) {
  Status[size_t(panel)] = text;
  ui_.StatusChanged();
}

void Editor::SyncToolBox() {
  ShowEffect(EffectId, EffectName);
  ui_.ProcessMessages();
}

bool Editor::PushUndo() {
  if (running_) {  // a preview's pixels are changing: no command may start
    SetStatus(kPanelEffect, kEffectRunning);
    return false;
  }
  EndPreview();
  return PushUndoOf(WorkSurface);
}

bool Editor::PushUndoOf(const TFastDIB& image) {
  if (snapshots_) {
    if (!Undo.Push(image)) {
      const size_t mib = size_t(image.Width()) * 3 * size_t(image.Height()) >> 20;
      ui_.ShowMessage("There is not enough memory for the undo copy of the image (" + std::to_string(mib) +
                      " MiB); the command was not run.");
      return false;
    }
    ++pushes_;
    if (Undo.Dropped() > 0)
      ui_.Notice(std::to_string(Undo.Dropped()) + " oldest undo level" + (Undo.Dropped() > 1 ? "s" : "") +
                 " dropped to keep undo memory under " + std::to_string(Undo.ByteLimit() >> 20) + " MiB.");
  }
  ui_.UndoChanged();
  return true;
}

void Editor::SetUndoDepth(int levels) {
  snapshots_ = levels > 0;
  if (snapshots_ && levels != Undo.Levels()) Undo.SetLevels(levels);
}

bool Editor::Guarded(const std::function<void()>& command) {
  const uint64_t before = pushes_;
  try {
    command();
    return true;
  } catch (const std::bad_alloc&) {
  }
  ui_.SetBusy(false);
  // Only the newest snapshot can be this command's; it holds the image as it was.
  if (pushes_ != before && !Undo.Empty() && Undo.Pop(WorkSurface)) ui_.UndoChanged();
  RefreshImage();
  ui_.ShowMessage(kNoMemory);
  return false;
}

void Editor::bUndoClick() {
  // Undo while a preview shows takes the preview away, and only that.
  if (preview_ && preview_->Active()) {
    EndPreview();
    return;
  }
  bool restored = false;
  if (!Undo.Empty()) {
    ui_.SetBusy(true);
    restored = Undo.Pop(WorkSurface);
    ui_.SetBusy(false);
    ui_.UndoChanged();
    if (!restored) ui_.ShowMessage("There is not enough memory to restore the image; it is kept for a later UnDo.");
  }
  RefreshImage();
  if (restored) WriteLog(WriteLine(LineKind::Undo));
}

void Editor::WriteLog(const std::string& line) {
  if (!Log.Logging()) return;
  if (!Log.WriteLine(line)) {
    ui_.LoggingChanged();
    ui_.ShowMessage(Log.Error());
  }
}

void Editor::LogEffect() {
  if (EffectRowOf(EffectId).road != Road::SelectOnly) WriteLog(EffectLogLine());
}

// ---- effects ----

bool Editor::EffectAvailable(int id) { return EffectRowOf(id).Pixels != nullptr; }

bool Editor::RunEffect(int id, const std::function<void()>& after) {
  const EffectRow& row = EffectRowOf(id);
  if (!row.Pixels) return false;
  const Gate gate = row.Check ? row.Check(*this) : Gate::Go;
  if (gate == Gate::Refused) return false;
  if (gate == Gate::Recorded) {
    if (after) after();
    return true;
  }
  switch (row.road) {
    case Road::Busy:
    case Road::Quiet:
      ApplyClamps(id);
      return Run({.Busy = row.road == Road::Busy, .Pixels = [&] { row.Pixels(*this); }, .After = after, .Worker = true});
    case Road::OwnLine:
    case Road::Dialog:
      row.Pixels(*this);
      if (after) after();
      return true;
    case Road::SelectOnly:
      if (after) after();
      return true;
  }
  return false;
}

void Editor::MenuEffect(int id) {
  if (!EffectAvailable(id)) return;
  EndPreview();  // before its check or dialog, which see the image
  const EffectInfo& e = Effect(id);
  const EffectRow& row = EffectRowOf(id);
  if (row.road == Road::Dialog) {  // the dialog logs its own line and leaves the Effect id alone
    row.Pixels(*this);
    return;
  }
  RunEffect(id, [&] {
    EffectId = id;
    EffectName = e.RecordedName;
    if (row.NoMessageRound)
      ShowEffect(EffectId, EffectName);
    else
      SyncToolBox();
    // Scroll writes nothing; the resize commands wrote their own line.
    if (row.road != Road::OwnLine) LogEffect();
  });
}

void Editor::StoreToolBoxValues(int id) {
  const EffectInfo& e = Effect(id);
  for (int i = 0; i < e.ParamCount; ++i) {
    const Param& f = e.Params[size_t(i)];
    if (!f.Shown()) continue;
    if (f.box == Box::cbBump) {
      StoreValue(f.Ref, ToolBox.BumpChecked);
      continue;
    }
    if (f.box == Box::cbSeams) continue;  // the choice is stored as it is made
    const bool alt = f.AltLabel && !ToolBox.PeaksChecked;
    const std::string& text = ToolBox.Box(f.box).Text;
    LineArg v;
    std::string error;
    // A typed "," counts as the decimal point, whatever the desktop's language.
    if (!ParseValue(f.format == Format::RoundedInt ? Format::Integer : f.format, text, v, error, true))
      throw ConversionError(error);
    StoreValue(alt ? f.AltRef : f.Ref, v.Real);
  }
  // Trace keeps the pen colour it was applied with.
  if (id == fx::Trace) Second[TrColVal] = ToolBox.PenColor;
  for (int i = 0; i < e.ParamCount; ++i) {
    const Param& f = e.Params[size_t(i)];
    if (f.Ref.kind != ValueRef::Main) continue;
    int32_t& v = EffectVals[size_t(f.Ref.Index)];
    if (f.Rule == InputRule::Above5Is1 && v > 5) {
      ToolBox.Box(f.box).Text = "1";
      v = 1;
      ui_.ToolBoxChanged();
    } else if (f.Rule == InputRule::OddAtMost9) {
      if (v % 2 == 0) v += 1;
      if (v > 9) v = 9;
    }
  }
}

bool Editor::bGoClick() {
  if (preview_ && preview_->Active()) return preview_->Commit();
  if (EffectId < 0) {
    ui_.ShowMessage("First Select an Effect");
    return false;
  }
  if (!EffectAvailable(EffectId)) {
    ui_.ShowMessage("\"" + std::string(Effect(EffectId).CatalogueName) + "\" is not available in this version.");
    return false;
  }
  try {
    StoreToolBoxValues(EffectId);
  } catch (const ConversionError& err) {
    ui_.ShowMessage(err.what());
    return false;
  }
  RunEffect(EffectId);
  LogEffect();
  return true;
}

// ---- the effects tree ----

void Editor::TreeView1Change(std::string_view nodeText) {
  if (nodeText.empty()) return;
  EffectId = FindEffectByCatalogueName(nodeText);
  EffectName = EffectId < 0 ? std::string() : std::string(nodeText);
  if (EffectId < 0) Status[kPanelEffect] = "Idle...";
  ToolBox.Title = EffectName;
  if (EffectId >= 0) Status[kPanelEffect] = EffectName;
  ui_.StatusChanged();
  SyncToolBox();
}

void Editor::TreeView1DblClick(std::string_view nodeText) {
  if (nodeText.empty()) return;
  EffectId = FindEffectByCatalogueName(nodeText);
  EffectName = EffectId < 0 ? std::string() : std::string(nodeText);
  ToolBox.Title = EffectName;
  Status[kPanelEffect] = EffectId < 0 ? "Idle..." : EffectName;
  ui_.StatusChanged();
  if (EffectId >= 0) {
    bGoClick();
    SetStatus(kPanelEffect, EffectName);
  }
}

// ---- Design Your Own ----

void Editor::DesignYourOwn1Click() {
  if (!ui_.EditFilter(Filter)) return;
  // Every box is converted before the snapshot, so a typing error changes nothing.
  int32_t kernel[9];
  for (size_t i = 0; i < 9; ++i) {
    auto v = ParseInt(Filter.e[i]);
    if (!v) {
      ui_.ShowMessage(NotAnInteger(Filter.e[i]));
      return;
    }
    kernel[i] = *v;
  }
  auto div = ParseInt(Filter.eDiv);
  if (!div) {
    ui_.ShowMessage(NotAnInteger(Filter.eDiv));
    return;
  }
  const uint16_t divisor = uint16_t(uint32_t(*div) & 0xFFFFu);
  if (divisor == 0) {
    ui_.ShowMessage("The divisor must not be 0 (its low 16 bits are used): a filter cannot divide by zero.");
    return;
  }
  Run({.Pixels = [&] { Convolve3x3(kernel, divisor, WorkSurface); },
       .Line = [&] {
         std::vector<LineArg> args;
         for (const std::string& k : Filter.e) args.push_back(Text(k));
         args.push_back(Text(Filter.eDiv));
         return WriteLine(LineKind::DesignYourOwnFilter, args);
       }});
}

}  // namespace vorq
