#include "editor/editor.h"

#include <algorithm>
#include <cmath>

#include "core/effects/filters.h"
#include "core/oplog/log_format.h"
#include "core/util/arith.h"

namespace vorq {

std::optional<double> ParseTypedReal(std::string_view text) {
  auto v = ParseReal(text);
  if (!v || std::fabs(*v) > kRealLimit) return std::nullopt;
  return v;
}

double ClampReal(double v) { return std::isnan(v) ? 0 : std::clamp(v, -kRealLimit, kRealLimit); }

int32_t SaturateInt32(double v) { return std::isnan(v) ? 0 : int32_t(std::clamp(v, -2147483648.0, 2147483647.0)); }

std::string FormatRounded(double v) { return FormatInt(Nearest(std::clamp(ClampReal(v), -2147483648.0, 2147483647.0))); }

namespace {
// Values beyond a type's range saturate (NaN is 0); colours keep the low 24
// bits of the integer, so -1 is white.
double RoundToType(ValueType t, double v) {
  switch (t) {
    case ValueType::Real32: return double(float(ClampReal(v)));
    case ValueType::Real64: return ClampReal(v);
    case ValueType::Flag: return v != 0 ? 1 : 0;
    case ValueType::Colour:
      return std::isnan(v) ? 0 : double(uint32_t(int64_t(std::clamp(v, -9.2e18, 9.2e18))) & 0xFFFFFFu);
    case ValueType::Integer: return SaturateInt32(v);
  }
  return v;
}

std::string FormatValue(Format f, double v) {
  switch (f) {
    case Format::Integer: return FormatInt(int64_t(v));
    case Format::Real: return FormatReal(v);
    case Format::Fixed2: return FormatFixed2(v);
    case Format::RoundedInt: return FormatRounded(v);
    case Format::Flag: return FormatFlag(v != 0);
    case Format::Colour: return FormatColour(uint32_t(int64_t(v)));
  }
  return {};
}
}  // namespace

Editor::Editor(UiPort& ui) : ui_(ui) {
  WorkSurface.SetSize(256, 256, 24, 0);  // new pixels are black
  CopySurface(WorkSurface, ScratchSurface);
  CopySurface(WorkSurface, BufferSurface);
  CopySurface(WorkSurface, ResetSurface);
  for (const auto& e : kCatalogue) EffectDefaults[size_t(e.Id)] = e.Default;
  EffectVals = EffectDefaults;
  for (size_t i = 0; i < kSecondCount; ++i) Second[i] = RoundToType(kSecondParams[i].Type, kSecondParams[i].Default);
}

// ---- pipeline ----

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

void Editor::PushUndo() {
  if (!Undo.Push(WorkSurface)) {
    ui_.SetBusy(false);
    const size_t mib = size_t(WorkSurface.Width()) * 3 * size_t(WorkSurface.Height()) >> 20;
    throw CommandRefused("There is not enough memory for the undo copy of the image (" + std::to_string(mib) +
                         " MiB); the command was not run.");
  }
  ++pushes_;
  if (Undo.Dropped() > 0)
    ui_.Notice(std::to_string(Undo.Dropped()) + " oldest undo level" + (Undo.Dropped() > 1 ? "s" : "") +
               " dropped to keep undo memory under " + std::to_string(Undo.ByteLimit() >> 20) + " MiB.");
  ui_.UndoChanged();
}

void Editor::bUndoClick() {
  bool restored = false;
  if (!Undo.Empty()) {
    ui_.SetBusy(true);
    restored = Undo.Pop(WorkSurface);
    ui_.SetBusy(false);
    ui_.UndoChanged();
    if (!restored) ui_.ShowMessage("There is not enough memory to restore the image; it is kept for a later UnDo.");
  }
  RefreshImage();
  if (restored) WriteLog("UnDo");
}

bool Editor::Guarded(const std::function<void()>& command) {
  const uint64_t before = pushes_;
  std::string reason;
  try {
    command();
    return true;
  } catch (const CommandRefused& e) {
    reason = e.what();
  } catch (const std::bad_alloc&) {
    reason = "There is not enough memory for this command; the image is as it was.";
  }
  ui_.SetBusy(false);
  // Only the newest snapshot can be this command's; it holds the image as it was.
  if (pushes_ != before && !Undo.Empty() && Undo.Pop(WorkSurface)) ui_.UndoChanged();
  RefreshImage();
  ui_.ShowMessage(reason);
  return false;
}

void Editor::WriteLog(const std::string& line) {
  if (!Log.Logging()) return;
  if (!Log.WriteLine(line)) {
    ui_.LoggingChanged();
    ui_.ShowMessage(Log.Error());
  }
}

double Editor::ReadValue(const ValueRef& ref) const {
  switch (ref.kind) {
    case ValueRef::Main: return EffectVals[size_t(ref.Index)];
    case ValueRef::Second: return Second[size_t(ref.Index)];
    case ValueRef::PenColor:
      // Index 1 is Trace's colour: the pen when "Use Pen Color" is set, else black.
      return ref.Index == 1 && Second[TrUseVal] == 0 ? 0 : ToolBox.PenColor;
    case ValueRef::BrushColor: return ToolBox.BrushColor;
    case ValueRef::Wrap: return ToolBox.WrapChecked;
    case ValueRef::TintColor: return TintColor;
    case ValueRef::TextureSource:
    case ValueRef::None: return 0;
  }
  return 0;
}

void Editor::StoreValue(const ValueRef& ref, double v) {
  switch (ref.kind) {
    case ValueRef::Main: EffectVals[size_t(ref.Index)] = SaturateInt32(v); break;
    case ValueRef::Second: Second[size_t(ref.Index)] = RoundToType(kSecondParams[size_t(ref.Index)].Type, v); break;
    case ValueRef::PenColor: if (ref.Index == 0) ToolBox.PenColor = uint32_t(RoundToType(ValueType::Colour, v)); break;
    case ValueRef::BrushColor: ToolBox.BrushColor = uint32_t(RoundToType(ValueType::Colour, v)); break;
    case ValueRef::Wrap: ToolBox.WrapChecked = v != 0; break;
    case ValueRef::TintColor: TintColor = uint32_t(RoundToType(ValueType::Colour, v)); break;
    case ValueRef::TextureSource:
    case ValueRef::None: break;
  }
}

std::string Editor::EffectLogLine() const {
  if (EffectId == 45) return {};  // Scroll's bars write their own lines
  std::string line = EffectName;
  if (EffectId < 0 || EffectId >= kEffectCount) return line;
  if (EffectId == 48)  // the Gradient effect names the designer's fields
    return line + ", Width " + Gradient.Width + ", Height " + Gradient.Height + ", Gradient " + Gradient.Style +
           ", From Color " + FormatColour(Gradient.BeginColor) + ", To Color " + FormatColour(Gradient.EndColor) +
           ", Angle " + Gradient.Angle;
  const EffectInfo& e = Effect(EffectId);
  for (int i = 0; i < e.LogCount; ++i) {
    const LogField& f = e.Log[size_t(i)];
    const bool alt = f.AltLabel && !ToolBox.PeaksChecked;
    const char* label = alt ? f.AltLabel : f.Label;
    const ValueRef& ref = alt ? f.AltRef : f.Ref;
    const std::string value = ref.kind == ValueRef::TextureSource ? TextureSource : FormatValue(f.format, ReadValue(ref));
    line += ", ";
    if (*label) line += std::string(label) + " ";
    line += value;
  }
  return line;
}

std::string Editor::LogHeaderLine() const {
  return "Log starts  - current Gradient: Width " + std::to_string(WorkSurface.Width()) + ", Height " +
         std::to_string(WorkSurface.Height()) + ", Gradient " + Gradient.Style + ", From Color " +
         FormatColour(Gradient.BeginColor) + ", To Color " + FormatColour(Gradient.EndColor) + ", Angle " +
         Gradient.Angle;
}

void Editor::LogEffect() {
  if (EffectId != 45) WriteLog(EffectLogLine());
}

// ---- tool box panel ----

void Editor::ShowEffect(int n, const std::string& name) {
  ToolBoxPanel& t = ToolBox;
  for (auto& b : t.Boxes) b.Visible = false;
  t.PeaksVisible = t.WrapVisible = t.BumpVisible = t.NoteVisible = t.ScrollVisible = t.DefaultVisible = false;
  if (n == -1) {
    t.Help = "Choose an effect...";
  } else if (n >= 0 && n < kEffectCount && Effect(n).FieldCount > 0) {
    const EffectInfo& e = Effect(n);
    t.Help = e.HelpText;
    for (int i = 0; i < e.FieldCount; ++i) {
      const ParamField& f = e.Fields[size_t(i)];
      if (f.box == Box::cbBump) {
        t.BumpCaption = e.CheckCaption ? e.CheckCaption : f.Label;
        t.BumpChecked = ReadValue(f.Ref) != 0;
        t.BumpVisible = true;
        continue;
      }
      const bool alt = f.AltLabel && !t.PeaksChecked;
      EditBoxState& box = t.Box(f.box);
      box.Text = FormatValue(f.format, ReadValue(alt ? f.AltRef : f.Ref));
      box.Label = alt ? f.AltLabel : f.Label;
      box.Visible = true;
    }
    t.PeaksVisible = t.WrapVisible = e.PeaksAndWrap;
    t.NoteVisible = n == 51;
    if (n == 45) {
      t.ScrollVisible = true;
      t.ScrollLRMax = WorkSurface.Width();
      t.ScrollLRMin = -WorkSurface.Width();
      t.ScrollUDMax = WorkSurface.Height();
      t.ScrollUDMin = -WorkSurface.Height();
    }
  } else {
    t.Help = "No User Settings";
  }
  t.DefaultVisible = t.Help != "No User Settings" && t.Help != "Choose an effect...";
  t.Title = name;
  Status[kPanelEffect] = name.empty() ? "Idle..." : name;
  ui_.ToolBoxChanged();
  ui_.StatusChanged();
}

void Editor::btnDefaultClick() {
  const int n = EffectId;
  if (n < 0 || n >= kEffectCount) return;
  const EffectInfo& e = Effect(n);
  EffectVals[size_t(n)] = EffectDefaults[size_t(n)];
  for (int8_t s : e.ResetSeconds)
    if (s >= 0) Second[size_t(s)] = RoundToType(kSecondParams[size_t(s)].Type, kSecondParams[size_t(s)].Default);
  for (int8_t m : e.ResetMains)
    if (m >= 0) EffectVals[size_t(m)] = EffectDefaults[size_t(m)];
  ShowEffect(n, e.CatalogueName);
}

void Editor::ckbxPeaksClick(bool checked) {
  ToolBox.PeaksChecked = checked;
  SyncToolBox();
}

// ---- commands ----

void Editor::StoreToolBoxValues(int id) {
  const EffectInfo& e = Effect(id);
  for (int i = 0; i < e.FieldCount; ++i) {
    const ParamField& f = e.Fields[size_t(i)];
    if (f.box == Box::cbBump) {
      StoreValue(f.Ref, ToolBox.BumpChecked);
      continue;
    }
    const bool alt = f.AltLabel && !ToolBox.PeaksChecked;
    const std::string& text = ToolBox.Box(f.box).Text;
    double v;
    if (f.format == Format::Integer || f.format == Format::RoundedInt) {
      auto p = ParseInt(text);
      if (!p) throw ConversionError(NotAnInteger(text));
      v = *p;
    } else {
      auto p = ParseTypedReal(text);
      if (!p) throw ConversionError(NotAReal(text));
      v = *p;
    }
    StoreValue(alt ? f.AltRef : f.Ref, v);
  }
  if (id == 61) Second[TrColVal] = ToolBox.PenColor;
  // Input rules.
  if (id == 13 && EffectVals[13] > 5) {
    ToolBox.Box(Box::eAmtMain).Text = "1";
    EffectVals[13] = 1;
    ui_.ToolBoxChanged();
  }
  if (id == 21) {
    if (EffectVals[21] % 2 == 0) EffectVals[21] += 1;
    if (EffectVals[21] > 9) EffectVals[21] = 9;
  }
}

bool Editor::bGoClick() {
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
  const int id = EffectId;
  if (!Guarded([&] {
        if (id == 14)
          DesignYourOwn1Click();
        else if (id != 45)
          RunEffect(id);
      }))
    return false;
  LogEffect();
  return true;
}

void Editor::MenuEffect(int id) {
  if (id < 0 || id >= kEffectCount || !EffectAvailable(id)) return;
  const EffectInfo& e = Effect(id);
  if (id == 14) {  // the dialog logs its own line and leaves the Effect id alone
    Guarded([&] { DesignYourOwn1Click(); });
    return;
  }
  if (id == 6) {  // Classic Emboss names itself before it runs
    EffectId = id;
    EffectName = e.RecordedName;
  }
  bool ran = id == 45;
  if (id != 45 && !Guarded([&] { ran = RunEffect(id); })) return;
  if (!ran) return;
  EffectId = id;
  EffectName = e.RecordedName;
  if (id <= 13)
    ShowEffect(EffectId, EffectName);  // the filters skip the message round
  else
    SyncToolBox();
  // Scroll writes nothing; the resize commands wrote their own line.
  if (id != 45 && id != 38 && id != 39) LogEffect();
}

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
  BeginEffect();
  Convolve3x3(kernel, divisor, WorkSurface);
  EndEffect();
  std::string line = "Design Your Own Filter, Settings: ";
  for (size_t i = 0; i < 9; ++i) line += Filter.e[i] + (i < 8 ? " " : "");
  WriteLog(line + " " + ", Divisor " + Filter.eDiv);
}

bool Editor::SetValueByKey(std::string_view key, std::string_view value) {
  if (key.substr(0, 10) == "EffectVals" && key.size() > 10) {
    auto n = ParseInt(key.substr(10));
    auto v = ParseInt(value);
    if (!n || *n < 0 || *n >= kEffectCount || !v) return false;
    EffectVals[size_t(*n)] = *v;
    return true;
  }
  for (size_t i = 0; i < kSecondCount; ++i) {
    if (key != kSecondParams[i].Name) continue;
    const ValueType t = kSecondParams[i].Type;
    if (t == ValueType::Real32 || t == ValueType::Real64) {
      auto v = ParseTypedReal(value);
      if (!v) return false;
      Second[i] = RoundToType(t, *v);
    } else {
      auto v = ParseInt(value);
      if (!v) return false;
      Second[i] = RoundToType(t, t == ValueType::Flag ? (*v & 0xFF) : *v);
    }
    return true;
  }
  if (key == "Pen Color" || key == "Brush Color") {
    auto v = ParseInt(value);
    if (!v) return false;
    (key == "Pen Color" ? ToolBox.PenColor : ToolBox.BrushColor) = uint32_t(*v) & 0xFFFFFFu;
    return true;
  }
  if (key == "Pen Size") {
    ToolBox.PenSize = std::string(value);
    return true;
  }
  return false;
}

}  // namespace vorq
