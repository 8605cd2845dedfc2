#include "editor/commands/painting.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "core/oplog/line_shapes.h"
#include "core/oplog/log_format.h"
#include "core/raster/shapes.h"
#include "core/raster/wrap.h"
#include "editor/editor.h"

namespace vorq {

namespace {

int64_t Distance(int a, int b) { return std::llabs(int64_t(a) - int64_t(b)); }

// A coordinate moved by whole tiles; the far end of an absurd shape stays an int.
int Shifted(int v, int64_t d) { return int(std::clamp<int64_t>(v + d, -(int64_t(1) << 30), int64_t(1) << 30)); }

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

// Lines drawn with Wrap Painting on are the same lines ending in ", Wrap".
std::string FreeHandLogLine(const std::string& penSize, uint32_t pen, bool wrap) {
  return WriteLine(wrap ? LineKind::FreeHandWrap : LineKind::FreeHand, {Text(penSize), Int(pen)});
}

std::string ShapeLogLine(PaintTool tool, int x0, int y0, int x1, int y1, const std::string& penSize, uint32_t pen,
                         uint32_t brush, bool filled, bool wrap) {
  const LineKind kind = tool == PaintTool::Ellipse ? (wrap ? LineKind::EllipseWrap : LineKind::Ellipse)
                                                   : (wrap ? LineKind::RectangleWrap : LineKind::Rectangle);
  return WriteLine(kind,
                   {Int(x0), Int(y0), Int(x1), Int(y1), Text(penSize), Int(pen), Int(brush), Int(filled ? 0 : 1)});
}

std::string LineLogLine(int x0, int y0, int x1, int y1, const std::string& penSize, uint32_t pen, int penStyle,
                        bool wrap) {
  return WriteLine(wrap ? LineKind::LineWrap : LineKind::Line,
                   {Int(x0), Int(y0), Int(x1), Int(y1), Text(penSize), Int(pen), Int(penStyle)});
}

std::string FloodFillLogLine(int x, int y, uint32_t brush, int tolerance, bool wrap) {
  if (tolerance > 0)
    return WriteLine(wrap ? LineKind::FloodFillToleranceWrap : LineKind::FloodFillTolerance,
                     {Int(x), Int(y), Int(brush), Int(tolerance)});
  return WriteLine(wrap ? LineKind::FloodFillWrap : LineKind::FloodFill, {Int(x), Int(y), Int(brush)});
}

LineKind UnwrappedKind(LineKind kind, bool& wrap) {
  wrap = true;
  switch (kind) {
    case LineKind::FreeHandWrap: return LineKind::FreeHand;
    case LineKind::EllipseWrap: return LineKind::Ellipse;
    case LineKind::RectangleWrap: return LineKind::Rectangle;
    case LineKind::LineWrap: return LineKind::Line;
    case LineKind::FloodFillWrap: return LineKind::FloodFill;
    case LineKind::FloodFillToleranceWrap: return LineKind::FloodFillTolerance;
    case LineKind::PasteAsSelectionWrap: return LineKind::PasteAsSelection;
    case LineKind::SelectAreaWrap: return LineKind::SelectArea;
    default: wrap = false; return kind;
  }
}

std::string EyedropperLogLine(int x, int y) { return WriteLine(LineKind::Eyedropper, {Int(x), Int(y)}); }

std::string SelectLogLine(int x0, int y0, int x1, int y1, SelectionAction action, bool wrap) {
  return WriteLine(wrap ? LineKind::SelectAreaWrap : LineKind::SelectArea,
                   {Int(x0), Int(y0), Int(x1), Int(y1), Int(int(action))});
}

// ---- the gesture state machine ----

void PaintTools::SelectTool(PaintTool tool) {
  State.Tool = tool;
  State.Dragging = false;
  State.SelectionPending = false;
  stroke_.reset();
  wrapStrokes_.clear();
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
  wrapStrokes_.clear();
  wrap_ = ed.WrapPainting;

  if (!ed.PushUndo()) return r;  // no memory for the snapshot: the message said so, nothing is drawn
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
        const int tolerance = std::clamp(ed.ToolBox.FillTolerance, 0, 255);
        r.Changed = wrap_ ? FloodFillWrapped(s, x, y, PixelFromColour(brush), tolerance)
                          : FloodFill(s, x, y, PixelFromColour(brush), tolerance);
        ed.RefreshImage();
        ed.WriteLog(FloodFillLogLine(x, y, brush, tolerance, wrap_));
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
    if (wrap_)
      for (int dy : {-s.Height(), 0, s.Height()})
        for (int dx : {-s.Width(), 0, s.Width()})
          if (dx != 0 || dy != 0) wrapStrokes_.push_back(std::make_unique<PenStroke>(s, pen_, x + dx, y + dy));
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
  if (State.Tool == PaintTool::FreeHand && stroke_) {
    const int px = stroke_->X(), py = stroke_->Y();
    changed = stroke_->LineTo(x, y);
    for (auto& stroke : wrapStrokes_) changed.Include(stroke->LineTo(x + stroke->X() - px, y + stroke->Y() - py));
  }
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
      wrapStrokes_.clear();
      ed.WriteLog(FreeHandLogLine(penSizeText_, ColourFromPixel(pen_.Color), wrap_));
      break;
    case PaintTool::Ellipse:
    case PaintTool::Rectangle: {
      // Shapes ignore the Pen menu: always drawn in Normal.
      const uint32_t penColour = ed.ToolBox.PenColor, brushColour = ed.ToolBox.BrushColor;
      const Pen pen{PixelFromColour(penColour), pen_.Width, PenMode::Normal};
      const Brush brush{PixelFromColour(brushColour), State.FillShape};
      auto draw = [&](int64_t dx, int64_t dy) {
        const int ax = Shifted(x0, dx), ay = Shifted(y0, dy), bx = Shifted(x, dx), by = Shifted(y, dy);
        return State.Tool == PaintTool::Ellipse ? DrawEllipse(s, ax, ay, bx, by, pen, brush)
                                                : DrawRectangle(s, ax, ay, bx, by, pen, brush);
      };
      r.Changed = wrap_ ? DrawWrapped(s, int64_t(std::min(x0, x)) - pen.Width, int64_t(std::min(y0, y)) - pen.Width,
                                      int64_t(std::max(x0, x)) + pen.Width, int64_t(std::max(y0, y)) + pen.Width, draw)
                        : draw(0, 0);
      ed.WriteLog(
          ShapeLogLine(State.Tool, x0, y0, x, y, penSizeText_, penColour, brushColour, State.FillShape, wrap_));
      break;
    }
    case PaintTool::Line: {
      const uint32_t penColour = ed.ToolBox.PenColor;
      const Pen pen{PixelFromColour(penColour), pen_.Width, PenModeFromIndex(ed.PenStyle)};
      auto draw = [&](int64_t dx, int64_t dy) {
        return DrawPenLine(s, Shifted(x0, dx), Shifted(y0, dy), Shifted(x, dx), Shifted(y, dy), pen);
      };
      r.Changed = wrap_ ? DrawWrapped(s, int64_t(std::min(x0, x)) - pen.Width, int64_t(std::min(y0, y)) - pen.Width,
                                      int64_t(std::max(x0, x)) + pen.Width, int64_t(std::max(y0, y)) + pen.Width, draw)
                        : draw(0, 0);
      ed.WriteLog(LineLogLine(x0, y0, x, y, penSizeText_, penColour, ed.PenStyle, wrap_));
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
  // the image is dropped, or with Wrap Painting taken from the opposite side
  // (at most one whole tile each way). An empty selection does nothing.
  TFastDIB& s = ed.WorkSurface;
  const int W = s.Width(), H = s.Height();
  int64_t left = std::min(State.OriginX, State.EndX), top = std::min(State.OriginY, State.EndY);
  int64_t right = std::max(State.OriginX, State.EndX), bottom = std::max(State.OriginY, State.EndY);
  if (wrap_) {
    right = std::min(right, left + W);
    bottom = std::min(bottom, top + H);
  } else {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, W);
    bottom = std::min<int64_t>(bottom, H);
  }
  if (right <= left || bottom <= top || W <= 0 || H <= 0) return res;
  const int w = int(right - left), h = int(bottom - top);
  TFastDIB part;
  if (!part.SetSize(w, h, 24, 0)) return res;
  if (wrap_) {
    const int x0 = int(((left % W) + W) % W), y0 = int(((top % H) + H) % H);
    for (int y = 0; y < h; ++y) {
      const TPixel24* from = s.Row24((y0 + y) % H);
      TPixel24* to = part.Row24(y);
      for (int x = 0, sx = x0; x < w; ++x, sx = sx + 1 == W ? 0 : sx + 1) to[x] = from[sx];
    }
  } else {
    s.DrawPart(part, 0, 0, w, h, int(left), int(top));
  }

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
  ed.WriteLog(SelectLogLine(State.OriginX, State.OriginY, State.EndX, State.EndY, action, wrap_));
  return res;
}

}  // namespace vorq
