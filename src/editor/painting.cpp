#include "editor/painting.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "core/oplog/log_format.h"
#include "core/raster/shapes.h"
#include "editor/editor.h"

namespace vorq {

namespace {

int64_t Distance(int a, int b) { return std::llabs(int64_t(a) - int64_t(b)); }

const char* SelectionSuffix(SelectionAction action) {
  switch (action) {
    case SelectionAction::CopyToClipboard: return ", Copy to Clipboard";
    case SelectionAction::CopyToBuffer: return ", Copy to Buffer";
    case SelectionAction::CropToSelection: return ", Crop to Selection";
    case SelectionAction::Cancel: break;
  }
  return "";
}

}  // namespace

const char* ToolCursorName(PaintTool tool) {
  switch (tool) {
    case PaintTool::FreeHand: return "BRUSH";
    case PaintTool::Ellipse: return "ELLIP";
    case PaintTool::Rectangle: return "RECT";
    case PaintTool::Line: return "LINE";
    case PaintTool::Fill: return "FILL";
    case PaintTool::Text: return "";
    case PaintTool::Select: return "CROP";
    case PaintTool::Eyedropper: return "EYEDROP";
  }
  return "";
}

// ---- log lines ----

std::string FreeHandLogLine(const std::string& penSize, uint32_t pen) {
  return "FreeHand Drawing, Pen Size " + penSize + ", Pen Color " + FormatColour(pen);
}

std::string ShapeLogLine(PaintTool tool, int x0, int y0, int x1, int y1, const std::string& penSize, uint32_t pen,
                         uint32_t brush, bool filled) {
  return std::string(tool == PaintTool::Ellipse ? "Ellipse" : "Rectangle") + " from X " + FormatInt(x0) + " Y " +
         FormatInt(y0) + ", To X " + FormatInt(x1) + " Y " + FormatInt(y1) + ", Pen Size " + penSize +
         ", Pen Color " + FormatColour(pen) + ", Brush Color " + FormatColour(brush) + ", " +
         (filled ? "Filled" : "Not Filled");
}

std::string LineLogLine(int x0, int y0, int x1, int y1, const std::string& penSize, uint32_t pen, int penStyle) {
  return "Line from X " + FormatInt(x0) + " Y " + FormatInt(y0) + " To X " + FormatInt(x1) + " Y " + FormatInt(y1) +
         ", Pen Size " + penSize + ", Pen Color " + FormatColour(pen) + ", Pen " + PenModeName(penStyle);
}

std::string FloodFillLogLine(int x, int y, uint32_t brush) {
  return "FloodFill at location X " + FormatInt(x) + " Y " + FormatInt(y) + ", Brush Color " + FormatColour(brush);
}

std::string EyedropperLogLine(int x, int y) {
  return "Eyedropper at location X " + FormatInt(x) + " Y " + FormatInt(y);
}

std::string SelectLogLine(int x0, int y0, int x1, int y1, SelectionAction action) {
  return "Select Area From Left " + FormatInt(x0) + " Top " + FormatInt(y0) + ", Right " + FormatInt(x1) +
         " Bottom " + FormatInt(y1) + SelectionSuffix(action);
}

// ---- the gesture state machine ----

void PaintTools::SelectTool(PaintTool tool) {
  State.Tool = tool;
  State.Dragging = false;
  State.SelectionPending = false;
  stroke_.reset();
}

void PaintTools::SetPenStyle(Editor& ed, int index) { ed.PenStyle = index >= 0 && index < kPenModeCount ? index : 0; }

GestureResult PaintTools::Band() const {
  GestureResult r;
  if (!State.Dragging && !State.SelectionPending) return r;
  switch (State.Tool) {
    case PaintTool::Ellipse: r.Band = RubberBand::Ellipse; break;
    case PaintTool::Rectangle: r.Band = RubberBand::Rectangle; break;
    case PaintTool::Line: r.Band = RubberBand::Line; break;
    case PaintTool::Select: r.Band = RubberBand::Selection; break;
    default: return r;
  }
  r.BandX0 = State.OriginX;
  r.BandY0 = State.OriginY;
  r.BandX1 = State.EndX;
  r.BandY1 = State.EndY;
  return r;
}

GestureResult PaintTools::MouseDown(Editor& ed, int x, int y, MouseButton button) {
  GestureResult r;
  if (button == MouseButton::Right) return Band();  // the image's pop-up menu opens instead
  // A new press ends whatever was left over from an earlier gesture.
  State.Dragging = false;
  State.SelectionPending = false;
  stroke_.reset();

  ed.PushUndo();
  TFastDIB& s = ed.WorkSurface;
  const bool inside = x >= 0 && y >= 0 && x < s.Width() && y < s.Height();
  switch (State.Tool) {
    case PaintTool::Eyedropper:
      if (inside) {
        ed.ToolBox.PenColor = ColourFromPixel(s.GetPixel(y, x));
        r.PenColorChanged = true;
        ed.WriteLog(EyedropperLogLine(x, y));
      }
      return r;
    case PaintTool::Fill:
      if (inside) {
        const uint32_t brush = ed.ToolBox.BrushColor;
        r.Changed = FloodFill(s, x, y, PixelFromColour(brush));
        ed.RefreshImage();
        ed.WriteLog(FloodFillLogLine(x, y, brush));
      }
      return r;
    case PaintTool::Text: r.RunTextTool = true; return r;
    default: break;
  }
  if (button != MouseButton::Left) return r;

  // The selection band is the view's; only the drawing tools need a pen.
  if (State.Tool != PaintTool::Select) {
    const std::optional<int32_t> width = ParseInt(ed.ToolBox.PenSize);
    if (!width) {
      ed.Ui().ShowMessage(NotAnInteger(ed.ToolBox.PenSize));
      r.Refused = true;
      return r;
    }
    penSizeText_ = ed.ToolBox.PenSize;
    pen_ = Pen{PixelFromColour(ed.ToolBox.PenColor), ClampPenWidth(*width), PenMode::Normal};
  }
  State.Dragging = true;
  State.OriginX = State.EndX = x;
  State.OriginY = State.EndY = y;
  if (State.Tool == PaintTool::FreeHand) {
    pen_.Mode = PenModeFromIndex(ed.PenStyle);
    stroke_ = std::make_unique<PenStroke>(s, pen_, x, y);
  }
  return Band();
}

GestureResult PaintTools::MouseMove(Editor& ed, int x, int y) {
  ed.SetStatus(kPanelX, "X: " + FormatInt(x));
  ed.SetStatus(kPanelY, "Y: " + FormatInt(y));
  if (!State.Dragging) return Band();
  State.EndX = x;
  State.EndY = y;
  PixelRect changed;
  if (State.Tool == PaintTool::FreeHand && stroke_) changed = stroke_->LineTo(x, y);
  if (State.Tool == PaintTool::Select)
    ed.SetStatus(kPanelEffect, "Width: " + FormatInt(Distance(x, State.OriginX)) +
                                   "  Height: " + FormatInt(Distance(y, State.OriginY)));
  GestureResult r = Band();
  r.Changed = changed;
  return r;
}

GestureResult PaintTools::MouseUp(Editor& ed, int x, int y, MouseButton button) {
  if (button == MouseButton::Right || !State.Dragging) return Band();
  State.Dragging = false;
  State.EndX = x;
  State.EndY = y;
  const int x0 = State.OriginX, y0 = State.OriginY;
  GestureResult r;
  TFastDIB& s = ed.WorkSurface;
  switch (State.Tool) {
    case PaintTool::FreeHand:
      stroke_.reset();
      ed.WriteLog(FreeHandLogLine(penSizeText_, ColourFromPixel(pen_.Color)));
      break;
    case PaintTool::Ellipse:
    case PaintTool::Rectangle: {
      // Shapes ignore the Pen menu: always drawn in Normal.
      const uint32_t penColour = ed.ToolBox.PenColor, brushColour = ed.ToolBox.BrushColor;
      const Pen pen{PixelFromColour(penColour), pen_.Width, PenMode::Normal};
      const Brush brush{PixelFromColour(brushColour), State.FillShape};
      r.Changed = State.Tool == PaintTool::Ellipse ? DrawEllipse(s, x0, y0, x, y, pen, brush)
                                                   : DrawRectangle(s, x0, y0, x, y, pen, brush);
      ed.WriteLog(ShapeLogLine(State.Tool, x0, y0, x, y, penSizeText_, penColour, brushColour, State.FillShape));
      break;
    }
    case PaintTool::Line: {
      const uint32_t penColour = ed.ToolBox.PenColor;
      const Pen pen{PixelFromColour(penColour), pen_.Width, PenModeFromIndex(ed.PenStyle)};
      r.Changed = DrawPenLine(s, x0, y0, x, y, pen);
      ed.WriteLog(LineLogLine(x0, y0, x, y, penSizeText_, penColour, ed.PenStyle));
      break;
    }
    case PaintTool::Select:
      State.SelectionPending = true;
      r = Band();  // keep the band on screen while the dialog is up
      r.AskSelectionAction = true;
      return r;
    default: return r;
  }
  ed.RefreshImage();
  return r;
}

SelectionResult PaintTools::SelectionChosen(Editor& ed, SelectionAction action) {
  SelectionResult res;
  if (!State.SelectionPending) return res;
  State.SelectionPending = false;
  ed.SetStatus(kPanelEffect, "Idle...");
  if (action == SelectionAction::Cancel) return res;

  // The rectangle spanned by the two points, whichever way the drag went:
  // the smaller coordinate included, the larger excluded; the part outside
  // the image is dropped. An empty selection does nothing.
  TFastDIB& s = ed.WorkSurface;
  const int64_t left = std::max<int64_t>(std::min(State.OriginX, State.EndX), 0);
  const int64_t top = std::max<int64_t>(std::min(State.OriginY, State.EndY), 0);
  const int64_t right = std::min<int64_t>(std::max(State.OriginX, State.EndX), s.Width());
  const int64_t bottom = std::min<int64_t>(std::max(State.OriginY, State.EndY), s.Height());
  if (right <= left || bottom <= top) return res;
  const int w = int(right - left), h = int(bottom - top);
  TFastDIB part;
  if (!part.SetSize(w, h, 24, 0)) return res;
  s.DrawPart(part, 0, 0, w, h, int(left), int(top));

  switch (action) {
    case SelectionAction::CopyToClipboard: res.Clipboard = std::move(part); break;
    case SelectionAction::CopyToBuffer:
      ed.BufferSurface = std::move(part);
      ed.BufferFilled = true;
      ed.Ui().BufferChanged();
      res.BufferChanged = true;
      break;
    case SelectionAction::CropToSelection:
      s = std::move(part);
      ed.ScratchSurface.SetSize(w, h, 24, 0);
      ed.RefreshImage();
      res.ImageChanged = true;
      break;
    case SelectionAction::Cancel: break;
  }
  res.Done = true;
  ed.WriteLog(SelectLogLine(State.OriginX, State.OriginY, State.EndX, State.EndY, action));
  return res;
}

// ---- replay ----

namespace {

// Matches text against pattern word by word (single blanks); "#" in the
// pattern stands for an integer, collected into values.
bool MatchWords(std::string_view text, std::string_view pattern, std::vector<int>& values) {
  auto next = [](std::string_view& s) {
    const size_t p = s.find(' ');
    std::string_view w = s.substr(0, p);
    s = p == std::string_view::npos ? std::string_view{} : s.substr(p + 1);
    return w;
  };
  while (!pattern.empty()) {
    if (text.empty()) return false;
    const std::string_view want = next(pattern), got = next(text);
    if (want == "#") {
      const std::optional<int32_t> v = ParseInt(got);
      if (!v) return false;
      values.push_back(*v);
    } else if (want != got) {
      return false;
    }
  }
  return text.empty();
}

std::optional<std::string> After(const std::string& part, std::string_view label) {
  if (part.compare(0, label.size(), label) != 0) return std::nullopt;
  return part.substr(label.size());
}

ReplayOutcome Expected(const std::string& form) { return {ReplayStatus::Error, "expected \"" + form + "\""}; }

// "Pen Size s" and "Pen Color c" (and "Brush Color c") parts, stored in the
// tool box as the press reads them.
bool PenValues(Editor& ed, const std::string& sizePart, const std::string& colourPart, ReplayOutcome& out) {
  const auto size = After(sizePart, "Pen Size ");
  const auto colourText = After(colourPart, "Pen Color ");
  const auto colour = colourText ? ParseColour(*colourText) : std::nullopt;
  if (!size || !colour) return false;
  if (!ParseInt(*size)) {
    out = {ReplayStatus::Error, NotAnInteger(*size)};
    return true;
  }
  ed.ToolBox.PenSize = *size;
  ed.ToolBox.PenColor = *colour;
  return true;
}

std::optional<uint32_t> BrushValue(const std::string& part) {
  const auto text = After(part, "Brush Color ");
  return text ? ParseColour(*text) : std::nullopt;
}

}  // namespace

bool ReplayPaintingLine(Editor& ed, const std::string& rawLine, ReplayOutcome& out) {
  std::string line = rawLine;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  const std::vector<std::string> parts = SplitLogLine(line);
  const std::string& head = parts[0];
  auto starts = [&](std::string_view p) { return head.compare(0, p.size(), p) == 0; };
  std::vector<int> v;
  PaintTools tools;
  out = {};

  if (starts("Line from X ")) {
    static const std::string form =
        "Line from X x Y y To X x Y y, Pen Size s, Pen Color R: r G: g B: b, Pen mode";
    if (parts.size() != 4 || !MatchWords(head, "Line from X # Y # To X # Y #", v)) return out = Expected(form), true;
    const auto modeName = After(parts[3], "Pen ");
    const int mode = modeName ? PenModeFromName(*modeName) : -1;
    if (mode < 0) return out = Expected(form), true;
    if (!PenValues(ed, parts[1], parts[2], out)) return out = Expected(form), true;
    if (out.Status == ReplayStatus::Error) return true;
    tools.SelectTool(PaintTool::Line);
    tools.SetPenStyle(ed, mode);
    tools.MouseDown(ed, v[0], v[1], MouseButton::Left);
    tools.MouseUp(ed, v[2], v[3], MouseButton::Left);
    return true;
  }

  const bool ellipse = starts("Ellipse from X ");
  if (ellipse || starts("Rectangle from X ")) {
    const std::string name = ellipse ? "Ellipse" : "Rectangle";
    const std::string form = name +
                             " from X x Y y, To X x Y y, Pen Size s, Pen Color R: r G: g B: b, Brush Color R: r "
                             "G: g B: b, Filled";
    if (parts.size() != 6 || !MatchWords(head, name + " from X # Y #", v) || !MatchWords(parts[1], "To X # Y #", v))
      return out = Expected(form), true;
    const auto brush = BrushValue(parts[4]);
    if (!brush || (parts[5] != "Filled" && parts[5] != "Not Filled")) return out = Expected(form), true;
    if (!PenValues(ed, parts[2], parts[3], out)) return out = Expected(form), true;
    if (out.Status == ReplayStatus::Error) return true;
    ed.ToolBox.BrushColor = *brush;
    tools.SelectTool(ellipse ? PaintTool::Ellipse : PaintTool::Rectangle);
    tools.State.FillShape = parts[5] == "Filled";
    tools.MouseDown(ed, v[0], v[1], MouseButton::Left);
    tools.MouseUp(ed, v[2], v[3], MouseButton::Left);
    return true;
  }

  if (starts("FloodFill at location X ")) {
    const auto brush = parts.size() == 2 ? BrushValue(parts[1]) : std::nullopt;
    if (!brush || !MatchWords(head, "FloodFill at location X # Y #", v))
      return out = Expected("FloodFill at location X x Y y, Brush Color R: r G: g B: b"), true;
    ed.ToolBox.BrushColor = *brush;
    tools.SelectTool(PaintTool::Fill);
    tools.MouseDown(ed, v[0], v[1], MouseButton::Left);
    tools.MouseUp(ed, v[0], v[1], MouseButton::Left);
    return true;
  }

  if (starts("Eyedropper at location X ")) {
    if (parts.size() != 1 || !MatchWords(head, "Eyedropper at location X # Y #", v))
      return out = Expected("Eyedropper at location X x Y y"), true;
    tools.SelectTool(PaintTool::Eyedropper);
    tools.MouseDown(ed, v[0], v[1], MouseButton::Left);
    tools.MouseUp(ed, v[0], v[1], MouseButton::Left);
    return true;
  }

  if (starts("Select Area From Left ")) {
    static const std::string form =
        "Select Area From Left l Top t, Right r Bottom b, Crop to Selection (or Copy to Buffer, Copy to Clipboard)";
    if (parts.size() != 3 || !MatchWords(head, "Select Area From Left # Top #", v) ||
        !MatchWords(parts[1], "Right # Bottom #", v))
      return out = Expected(form), true;
    SelectionAction action;
    if (parts[2] == "Crop to Selection")
      action = SelectionAction::CropToSelection;
    else if (parts[2] == "Copy to Buffer")
      action = SelectionAction::CopyToBuffer;
    else if (parts[2] == "Copy to Clipboard")
      action = SelectionAction::CopyToClipboard;
    else
      return out = Expected(form), true;
    tools.SelectTool(PaintTool::Select);
    tools.MouseDown(ed, v[0], v[1], MouseButton::Left);
    tools.MouseUp(ed, v[2], v[3], MouseButton::Left);
    const SelectionResult res = tools.SelectionChosen(ed, action);
    if (!res.Done)
      out = {ReplayStatus::Skipped, "the selection is empty; nothing was selected"};
    else if (action == SelectionAction::CopyToClipboard)
      out = {ReplayStatus::Skipped, "Copy to Clipboard has no clipboard here; the selection was not copied"};
    return true;
  }

  if (head == "FreeHand Drawing") {
    static const std::string form = "FreeHand Drawing, Pen Size s, Pen Color R: r G: g B: b";
    if (parts.size() != 3 || !PenValues(ed, parts[1], parts[2], out)) return out = Expected(form), true;
    if (out.Status == ReplayStatus::Error) return true;
    // The stroke's path is not in the log. The snapshot keeps later "UnDo"
    // lines in step with the session that wrote the log.
    ed.PushUndo();
    out = {ReplayStatus::Skipped, "a free-hand drawing holds no path and cannot be redrawn"};
    return true;
  }
  return false;
}

}  // namespace vorq
