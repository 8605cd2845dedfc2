#include "editor/editor.h"

#include "core/oplog/effect_lines.h"
#include "core/oplog/log_format.h"
#include "editor/effect_table.h"
#include "editor/preview.h"
#include "core/util/arith.h"

namespace vorq {

namespace {
double RoundToType(ValueType t, double v) {
  switch (t) {
    case ValueType::Real32: return double(float(ClampReal(v)));
    case ValueType::Real64: return ClampReal(v);
    case ValueType::Flag: return v != 0 ? 1 : 0;
    case ValueType::Colour: return double(uint32_t(SaturateInt32(v)) & 0xFFFFFFu);
    case ValueType::Integer: return double(SaturateInt32(v));
  }
  return v;
}

}  // namespace

GradientState::GradientState() {
  hGrad.SetWidth(256);
  hGrad.SetHeight(256);
  hGrad.SetGradientStyle(TGradientStyle::gsVertCenter);
}

Editor::Editor(UiPort& ui) : ui_(ui) {
  WorkSurface.SetSize(256, 256, 24, 0);  // new pixels are black
  CopySurface(WorkSurface, ScratchSurface);
  CopySurface(WorkSurface, BufferSurface);
  CopySurface(WorkSurface, ResetSurface);
  for (const auto& e : kCatalogue) EffectDefaults[size_t(e.Id)] = e.Default;
  EffectVals = EffectDefaults;
  for (size_t i = 0; i < kSecondCount; ++i) Second[i] = RoundToType(kSecondParams[i].Type, kSecondParams[i].Default);
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
    case ValueRef::SeamAxis: return double(ToolBox.Seams);
    case ValueRef::TintColor: return TintColor;
    case ValueRef::GradientFrom: return Gradient.hGrad.BeginColor();
    case ValueRef::GradientTo: return Gradient.hGrad.EndColor();
    default: return 0;
  }
}

void Editor::StoreValue(const ValueRef& ref, double v) {
  const uint32_t colour = uint32_t(SaturateInt32(v)) & 0xFFFFFFu;
  switch (ref.kind) {
    case ValueRef::Main: EffectVals[size_t(ref.Index)] = SaturateInt32(v); break;
    case ValueRef::Second: Second[size_t(ref.Index)] = RoundToType(kSecondParams[size_t(ref.Index)].Type, v); break;
    case ValueRef::PenColor:
      if (ref.Index == 0) {
        ToolBox.PenColor = colour;
      } else {  // Trace: a coloured line means "Use Pen Color" with that pen
        Second[TrUseVal] = colour != 0;
        if (colour != 0) ToolBox.PenColor = colour;
      }
      break;
    case ValueRef::BrushColor: ToolBox.BrushColor = colour; break;
    case ValueRef::Wrap: ToolBox.WrapChecked = v != 0; break;
    case ValueRef::SeamAxis: ToolBox.Seams = v == 1 ? SeamAxis::LeftRight : v == 2 ? SeamAxis::TopBottom : SeamAxis::Both; break;
    case ValueRef::TintColor: TintColor = colour; break;
    case ValueRef::GradientFrom: Gradient.hGrad.SetBeginColor(colour); break;
    case ValueRef::GradientTo: Gradient.hGrad.SetEndColor(colour); break;
    default: break;
  }
}

LineArg Editor::Read(const ValueRef& ref, Format f) const {
  if (f != Format::Text) return Real(ReadValue(ref));
  switch (ref.kind) {
    case ValueRef::TextureSource: return Text(TextureSource);
    case ValueRef::GradientWidth: return Text(Gradient.Width);
    case ValueRef::GradientHeight: return Text(Gradient.Height);
    case ValueRef::GradientStyle: return Text(Gradient.Style);
    case ValueRef::GradientAngle: return Text(Gradient.Angle);
    default: return Text("");
  }
}

bool Editor::Store(const ValueRef& ref, Format f, const LineArg& v, std::string& error) {
  // Replayed designer fields are the answer the next Design gives.
  if (ref.kind >= ValueRef::GradientWidth && ref.kind <= ValueRef::GradientTo) Gradient.FromLine = true;
  if (f != Format::Text) {
    StoreValue(ref, v.Real);
    return true;
  }
  switch (ref.kind) {
    case ValueRef::TextureSource: return SetPendingTexture(v.Text, error);
    case ValueRef::GradientWidth: Gradient.Width = v.Text; return true;
    case ValueRef::GradientHeight: Gradient.Height = v.Text; return true;
    case ValueRef::GradientStyle: Gradient.Style = v.Text; return true;
    case ValueRef::GradientAngle: Gradient.Angle = v.Text; return true;
    default: return true;
  }
}

void Editor::ApplyClamps(int id) {
  if (!ValidEffect(id)) return;
  const EffectInfo& e = Effect(id);
  for (int i = 0; i < e.ParamCount; ++i) {
    const Param& p = e.Params[size_t(i)];
    if (p.Rule != InputRule::Clamp) continue;
    const double v = ReadValue(p.Ref);
    if (v > p.Max) StoreValue(p.Ref, p.Max);
    else if (v < p.Min) StoreValue(p.Ref, p.Min);
  }
}

std::string Editor::EffectLogLine() const {
  if (EffectRowOf(EffectId).road == Road::SelectOnly) return {};  // Scroll's bars write their own lines
  return WriteEffectLine(EffectId, EffectName, ToolBox.PeaksChecked,
                         [this](const ValueRef& ref, Format f) { return Read(ref, f); });
}

std::string Editor::LogHeaderLine() const {
  return WriteLine(LineKind::LogHeader, {Int(WorkSurface.Width()), Int(WorkSurface.Height()), Text(Gradient.Style),
                                         Int(Gradient.hGrad.BeginColor()), Int(Gradient.hGrad.EndColor()), Text(Gradient.Angle)});
}

// ---- tool box panel ----

void Editor::ShowEffect(int n, const std::string& name) {
  if (preview_ && preview_->Active() && n != preview_->Id()) EndPreview();  // another effect chosen
  ToolBoxPanel& t = ToolBox;
  for (auto& b : t.Boxes) b.Visible = false;
  t.PeaksVisible = t.WrapVisible = t.BumpVisible = t.NoteVisible = t.ScrollVisible = t.DefaultVisible = false;
  // After an Edge Merge the name is its own; its seam choice is the tool box's.
  t.SeamsVisible = IsEdgeMergeName(name);
  if (n == -1) {
    t.Help = "Choose an effect...";
  } else if (ValidEffect(n) && Effect(n).ShownCount() > 0) {
    const EffectInfo& e = Effect(n);
    t.Help = e.HelpText;
    for (int i = 0; i < e.ParamCount; ++i) {
      const Param& f = e.Params[size_t(i)];
      if (!f.Shown()) continue;
      if (f.box == Box::cbBump) {
        t.BumpCaption = e.CheckCaption ? e.CheckCaption : f.Label;
        t.BumpChecked = ReadValue(f.Ref) != 0;
        t.BumpVisible = true;
        continue;
      }
      if (f.box == Box::cbSeams) {
        t.SeamsVisible = true;
        continue;
      }
      const bool alt = f.AltLabel && !t.PeaksChecked;
      EditBoxState& box = t.Box(f.box);
      box.Text = FormatValue(f.format, Read(alt ? f.AltRef : f.Ref, f.format));
      box.Label = alt ? f.AltLabel : f.Label;
      box.Visible = true;
    }
    t.PeaksVisible = t.WrapVisible = e.PeaksAndWrap;
    t.NoteVisible = n == fx::Buttonize;
    if (n == fx::Scroll) {
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
  if (!ValidEffect(n)) return;
  EndPreview();  // the defaults are stored for good; a preview's values are not
  const EffectInfo& e = Effect(n);
  // The effect's own value and every stored value of its params.
  EffectVals[size_t(n)] = EffectDefaults[size_t(n)];
  auto reset = [this](const ValueRef& r) {
    if (r.kind == ValueRef::Main) EffectVals[size_t(r.Index)] = EffectDefaults[size_t(r.Index)];
    if (r.kind == ValueRef::Second)
      Second[size_t(r.Index)] = RoundToType(kSecondParams[size_t(r.Index)].Type, kSecondParams[size_t(r.Index)].Default);
  };
  for (int i = 0; i < e.ParamCount; ++i) {
    reset(e.Params[size_t(i)].Ref);
    if (e.Params[size_t(i)].AltLabel) reset(e.Params[size_t(i)].AltRef);
  }
  ShowEffect(n, e.CatalogueName);
}

void Editor::ckbxPeaksClick(bool checked) {
  ToolBox.PeaksChecked = checked;
  SyncToolBox();
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
      auto v = ParseReal(value);
      if (!v || std::fabs(*v) > kRealWritten) return false;
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
