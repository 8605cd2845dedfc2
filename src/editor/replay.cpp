#include "editor/replay.h"

#include "core/oplog/effect_lines.h"
#include "core/oplog/line_shapes.h"
#include "core/oplog/log_format.h"
#include "editor/commands/geometry.h"
#include "editor/commands/gradient.h"
#include "editor/commands/painting.h"
#include "editor/commands/sliders.h"
#include "editor/effect_table.h"
#include "core/oplog/text_line.h"
#include "editor/text_tool.h"

#include <array>
#include <utility>

namespace vorq {
namespace {

ReplayOutcome Error(std::string m) { return {ReplayStatus::Error, std::move(m)}; }
ReplayOutcome Skipped(std::string m) { return {ReplayStatus::Skipped, std::move(m)}; }

ReplayOutcome Outcome(const std::string& error) { return error.empty() ? ReplayOutcome{} : Error(error); }

int I(const ParsedCommand& c, size_t i) { return int(c.Args[i].Int); }

// A painting line runs through the same gestures the mouse made.
ReplayOutcome Paint(Editor& ed, PaintTool tool, int x0, int y0, int x1, int y1) {
  PaintTools tools;
  tools.SelectTool(tool);
  tools.MouseDown(ed, x0, y0, MouseButton::Left);
  tools.MouseUp(ed, x1, y1, MouseButton::Left);
  return {};
}

ReplayOutcome PenSize(Editor& ed, const std::string& size) {
  if (!ParseInt(size)) return Error(NotAnInteger(size));
  ed.ToolBox.PenSize = size;
  return {};
}

ReplayOutcome ReplayCommand(Editor& ed, const ParsedCommand& c) {
  using K = LineKind;
  switch (c.Kind) {
    case K::LogHeader:
    case K::LogAppend: return Skipped("");
    case K::Undo: ed.bUndoClick(); return {};
    case K::ScrollRight: ed.ScrollImage(Editor::ScrollDirection::Right, I(c, 0)); return {};
    case K::ScrollLeft: ed.ScrollImage(Editor::ScrollDirection::Left, I(c, 0)); return {};
    case K::ScrollDown: ed.ScrollImage(Editor::ScrollDirection::Down, I(c, 0)); return {};
    case K::ScrollUp: ed.ScrollImage(Editor::ScrollDirection::Up, I(c, 0)); return {};
    case K::ResizeFast:
    case K::ResizeSmooth: {
      // The size the dialog would have answered with.
      ed.Sizer.NewWidth = I(c, 0);
      ed.Sizer.NewHeight = I(c, 1);
      const std::string err =
          c.Kind == K::ResizeFast ? ResizeFastTo(ed, I(c, 0), I(c, 1)) : ResizeSmoothTo(ed, I(c, 0), I(c, 1));
      return err.empty() ? ReplayOutcome{} : Error(err);
    }
    case K::DesignYourOwnFilter:
      for (size_t i = 0; i < 9; ++i) ed.Filter.e[i] = c.Args[i].Text;
      ed.Filter.eDiv = c.Args[9].Text;
      ed.DesignYourOwn1Click();
      return {};
    case K::Sliders: {
      SliderPositions p;
      int* bars[] = {&p.Lightness, &p.Contrast, &p.Saturation, &p.Red, &p.Green, &p.Blue};
      for (size_t i = 0; i < 6; ++i) {
        const int v = I(c, i);
        if (v < kSliderMin - kSliderNeutral || v > kSliderMax - kSliderNeutral)
          return Error("slider value " + std::to_string(v) + " is outside -255 .. 255");
        *bars[i] = v + kSliderNeutral;
      }
      SliderPreview(ed, p);
      bGoodClick(ed, p);
      return {};
    }
    // The line's seam choice becomes the tool box's, as a Seamless Edge line's does.
    case K::EdgeMerge16:
    case K::EdgeMerge8:
    case K::EdgeMerge4:
    case K::EdgeMerge16Axis:
    case K::EdgeMerge8Axis:
    case K::EdgeMerge4Axis: {
      const bool axisLine = c.Kind >= K::EdgeMerge16Axis;
      const int k = int(c.Kind) - int(axisLine ? K::EdgeMerge16Axis : K::EdgeMerge16);
      ed.ToolBox.Seams = axisLine ? SeamAxis(I(c, 0)) : SeamAxis::Both;
      EdgeMerge(ed, std::array{16, 8, 4}[size_t(k)]);
      return {};
    }
    case K::FourWayFlip: FourWayFlip1Click(ed); return {};
    case K::OpenFile:
      if (!ed.OpenImage(c.Args[0].Text)) return Error("cannot open \"" + c.Args[0].Text + "\"");
      return {};
    case K::NewImage:
      ed.ToolBox.BrushColor = uint32_t(c.Args[0].Int);
      ed.New1Click();
      return {};
    case K::ImageReset: ed.Reset1Click(); return {};
    case K::CopyImageToClipboard: ed.Copy1Click(); return {};
    case K::PasteClipboardToImage: ed.ReplaceImage1Click(); return {};
    case K::PasteAsSelection: ed.PasteAsSelectionAt(I(c, 0), I(c, 1)); return {};
    case K::CopyImageToBuffer: ed.CopyImagetoBuffer1Click(); return {};
    case K::PasteBufferToImage:
      if (!ed.BufferFilled) return Error("the buffer holds no image yet");
      ed.PasteBuffertoImage1Click();
      return {};
    case K::LoadBufferFromFile:
      if (!ed.LoadBufferFromFile(c.Args[0].Text)) return Error("cannot load \"" + c.Args[0].Text + "\" into the buffer");
      return {};
    case K::CopyBufferToClipboard: ed.CopyBuffertoClipboard1Click(); return {};
    case K::PasteClipboardToBuffer: ed.PasteClipboardtoBuffer1Click(); return {};
    // With the options dialog's settings as they stand (at first Normal, resized).
    case K::PasteTransparent: ed.Transparent1Click(); return {};
    case K::FreeHand: {
      if (ReplayOutcome r = PenSize(ed, c.Args[0].Text); r.Status == ReplayStatus::Error) return r;
      ed.ToolBox.PenColor = uint32_t(c.Args[1].Int);
      // The stroke's path is not in the log. The snapshot keeps later "UnDo"
      // lines in step with the session that wrote the log.
      ed.PushUndo();
      return Skipped("a free-hand drawing holds no path and cannot be redrawn");
    }
    case K::Ellipse:
    case K::Rectangle: {
      if (ReplayOutcome r = PenSize(ed, c.Args[4].Text); r.Status == ReplayStatus::Error) return r;
      ed.ToolBox.PenColor = uint32_t(c.Args[5].Int);
      ed.ToolBox.BrushColor = uint32_t(c.Args[6].Int);
      PaintTools tools;
      tools.SelectTool(c.Kind == K::Ellipse ? PaintTool::Ellipse : PaintTool::Rectangle);
      tools.State.FillShape = c.Args[7].Int == 0;
      tools.MouseDown(ed, I(c, 0), I(c, 1), MouseButton::Left);
      tools.MouseUp(ed, I(c, 2), I(c, 3), MouseButton::Left);
      return {};
    }
    case K::Line: {
      if (ReplayOutcome r = PenSize(ed, c.Args[4].Text); r.Status == ReplayStatus::Error) return r;
      ed.ToolBox.PenColor = uint32_t(c.Args[5].Int);
      PaintTools tools;
      tools.SetPenStyle(ed, I(c, 6));
      return Paint(ed, PaintTool::Line, I(c, 0), I(c, 1), I(c, 2), I(c, 3));
    }
    case K::FloodFill:
    case K::FloodFillTolerance: {
      ed.ToolBox.BrushColor = uint32_t(c.Args[2].Int);
      const int kept = ed.ToolBox.FillTolerance;
      ed.ToolBox.FillTolerance = c.Kind == K::FloodFillTolerance ? I(c, 3) : 0;
      ReplayOutcome r = Paint(ed, PaintTool::Fill, I(c, 0), I(c, 1), I(c, 0), I(c, 1));
      ed.ToolBox.FillTolerance = kept;
      return r;
    }
    case K::Eyedropper: return Paint(ed, PaintTool::Eyedropper, I(c, 0), I(c, 1), I(c, 0), I(c, 1));
    case K::SelectArea: {
      const auto action = SelectionAction(I(c, 4));
      PaintTools tools;
      tools.SelectTool(PaintTool::Select);
      tools.MouseDown(ed, I(c, 0), I(c, 1), MouseButton::Left);
      tools.MouseUp(ed, I(c, 2), I(c, 3), MouseButton::Left);
      SelectionResult res = tools.SelectionChosen(ed, action);
      if (!res.Done) return Skipped("the selection is empty; nothing was selected");
      if (action == SelectionAction::CopyToClipboard) ed.Ui().SetClipboardImage(res.Clipboard);
      return {};
    }
    case K::TextTool:
    case K::TextToolAligned: {
      const auto text = TextToolFromArgs(c.Args);
      if (!text) return Error("a text size must be " + std::to_string(kMinTextSize) + " to " +
                              std::to_string(kMaxTextSize) + " points");
      return ReplayTextTool(ed, *text);
    }
    // ---- gradients ----
    case K::PasteGradientToImage: PasteToImage1Click(ed); return {};
    case K::DesignGradient: return Outcome(DesignGradientFromLine(ed, c.Args));
    case K::MultiGradient: return Outcome(MultiGradientFromLine(ed, c.Args));
    case K::ColorWheel: ColorWheel1Click(ed); return {};
    case K::Rainbow: Rainbow1Click(ed); return {};
    // ----
    default: return Error("\"" + LineForm(c.Kind) + "\" is not available in this version");
  }
}

ReplayOutcome ReplayEffect(Editor& ed, const ParsedEffect& p) {
  const int id = p.EffectId;
  if (!ed.EffectAvailable(id)) return Error("\"" + p.Name + "\" is not available in this version");
  const EffectRow& row = EffectRowOf(id);
  if (row.road == Road::OwnLine || row.road == Road::Dialog) {
    // Apply writes the command's own line and then the bare name; the
    // command already ran for the first, so the name only goes back to the log.
    if (!p.Values.empty()) return Error("\"" + p.Name + "\" takes no values");
    ed.WriteLog(p.Name);
    return {};
  }
  const EffectInfo& e = Effect(id);
  for (const EffectValue& v : p.Values) {
    const Param& param = e.Params[size_t(v.Param)];
    if (param.AltLabel) ed.ToolBox.PeaksChecked = !v.Alt;
    std::string error;
    if (!ed.Store(v.Alt ? param.AltRef : param.Ref, param.format, v.Value, error)) return Error(error);
  }
  // The rest is Apply: the stored values go to the tool box's boxes and back.
  if (!IsEdgeMergeName(p.Name)) ed.EffectId = id;
  ed.EffectName = p.Name;
  ed.ShowEffect(ed.EffectId, p.Name);
  if (!ed.bGoClick()) return Error("\"" + p.Name + "\" did not run");
  return {};
}

// The line without its line end; empty for a blank line.
std::string_view Content(const std::string& rawLine) {
  std::string_view line = rawLine;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  if (line.find_first_not_of(" \t") == std::string_view::npos) return {};
  return line;
}

}  // namespace

void ReplayNeeds::Add(const std::string& rawLine) {
  const std::string_view line = Content(rawLine);
  if (line.empty()) return;
  const ParsedCommand c = ParseCommandLine(line);
  if (!c.Matched) return;
  if (c.Kind == LineKind::Undo) ++Undos;
  if (c.Kind == LineKind::ImageReset) Reset = true;
}

ReplayOutcome ReplayLine(Editor& ed, const std::string& rawLine) {
  const std::string_view line = Content(rawLine);
  if (line.empty()) return Skipped("");
  const ParsedCommand c = ParseCommandLine(line);
  if (c.Matched) {
    // A painting line says itself whether it wraps; the setting never decides a replay.
    ParsedCommand plain = c;
    bool wrap = false;
    plain.Kind = UnwrappedKind(c.Kind, wrap);
    const bool saved = std::exchange(ed.WrapPainting, wrap);
    const ReplayOutcome r = ReplayCommand(ed, plain);
    ed.WrapPainting = saved;
    return r;
  }
  if (!c.Error.empty()) return Error(c.Error);
  const ParsedEffect e = ParseEffectLine(line, ed.EffectId);
  if (!e.Error.empty()) return Error(e.Error);
  return ReplayEffect(ed, e);
}

}  // namespace vorq
