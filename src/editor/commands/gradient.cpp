// The Gradient menu, the designers' field rules and the pop-up menu's
// colour fields (Multi Gradient, Color Wheel, Rainbow).
#include "editor/commands/gradient.h"

#include <utility>

#include "core/gradients/designers.h"
#include "core/oplog/log_format.h"

namespace vorq {

namespace {

// A field's integer: nullopt for an empty text (ignored), the conversion
// message in error for one that is not a number.
std::optional<int32_t> FieldValue(const std::string& text, std::string& error) {
  if (text.empty()) return std::nullopt;
  auto v = ParseInt(text);
  if (!v) error = NotAnInteger(text);
  return v;
}

std::string StyleRefusal(const std::string& text) {
  std::string items;
  for (const char* item : kGradientStyleItems) items += std::string(items.empty() ? "" : ", ") + item;
  return "'" + text + "' is not a gradient style (" + items + ")";
}

enum class Closed { Ok, Cancel, Refused };

// Design's dialog part: the fields take the image's size, then the dialog
// edits them, or the fields a replayed line left are applied as its answer.
Closed ShowDesigner(Editor& ed, std::string& error) {
  GradientState& g = ed.Gradient;
  const bool fromLine = std::exchange(g.FromLine, false);
  const std::string width = g.Width, height = g.Height, style = g.Style, angle = g.Angle;
  const int w = ed.WorkSurface.Width(), h = ed.WorkSurface.Height();
  g.Width = std::to_string(w);
  g.Height = std::to_string(h);
  g.hGrad.SetWidth(w);
  g.hGrad.SetHeight(h);
  if (fromLine) {
    error = meWideChange(g, width);
    if (error.empty()) error = meHighChange(g, height);
    if (error.empty() && !cbStyleChange(g, style)) error = StyleRefusal(style);
    if (error.empty()) error = meAngleChange(g, angle);
    if (!error.empty()) return Closed::Refused;
  } else if (!ed.Ui().EditGradient(g)) {
    return Closed::Cancel;
  }
  g.Hint = "W: " + std::to_string(g.hGrad.Width()) + "  H: " + std::to_string(g.hGrad.Height()) +
           " - Dbl Click to Paste into Image";
  return Closed::Ok;
}

Closed DesignCommand(Editor& ed, std::string& error) {
  const Closed closed = ShowDesigner(ed, error);
  if (closed != Closed::Ok) return closed;
  GradientState& g = ed.Gradient;
  ed.Run({.Busy = false,
          .Snapshot = false,
          .Refresh = false,
          .After =
              [&] {
                g.hGrad.Paint();
                ed.Ui().GradientChanged();
              },
          .Line = [&] {
            if (g.Composite) return std::string();
            return WriteLine(LineKind::DesignGradient, {Text(g.Width), Text(g.Height), Text(g.Style),
                                                        Int(g.hGrad.BeginColor()), Int(g.hGrad.EndColor()),
                                                        Text(g.Angle)});
          }});
  return Closed::Ok;
}

// The multi-gradient painted at the preview's size; the canvas is made
// before the snapshot, so a size that cannot be had changes nothing.
void PaintMultiIntoImage(Editor& ed) {
  const MultiGradientState& m = ed.MultiGradient;
  TFastDIB canvas;
  if (!canvas.SetSize(m.PreviewWidth, m.PreviewHeight, 24, 0)) {
    ed.Ui().ShowMessage("The multi-gradient of " + std::to_string(m.PreviewWidth) + " x " +
                        std::to_string(m.PreviewHeight) + " pixels cannot be made.");
    return;
  }
  PaintMultiGradient(canvas, m.Side, m.Left, m.Right, m.LeftPos, m.RightPos);
  ed.Run({.Busy = false,
          .Pixels =
              [&] {
                ed.WorkSurface = std::move(canvas);
                ed.ScratchSurface.SetSize(ed.WorkSurface.Width(), ed.WorkSurface.Height(), 24, 0);
              },
          .Line = [&] {
            return WriteLine(LineKind::MultiGradient, {Text(m.Width), Text(m.Height), Int(m.Side), Int(m.Left),
                                                       Int(m.Right), Int(m.LeftPos), Int(m.RightPos)});
          }});
}

// The multi-gradient designer's step before it shows: the image's size.
void MultiFieldsToImageSize(Editor& ed) {
  MultiGradientState& m = ed.MultiGradient;
  const int w = ed.WorkSurface.Width(), h = ed.WorkSurface.Height();
  m.Width = std::to_string(w);
  m.Height = std::to_string(h);
  SetMultiPreviewSize(m, w, h);
}

}  // namespace

// ---- Gradient Designer ----

std::string meWideChange(GradientState& g, const std::string& text) {
  std::string error;
  const auto v = FieldValue(text, error);
  if (!error.empty()) return error;
  g.Width = text;
  if (v && *v >= 2 && SizeAllowed(*v, g.hGrad.Height())) g.hGrad.SetWidth(*v);
  return {};
}

std::string meHighChange(GradientState& g, const std::string& text) {
  std::string error;
  const auto v = FieldValue(text, error);
  if (!error.empty()) return error;
  g.Height = text;
  if (v && *v >= 2 && SizeAllowed(g.hGrad.Width(), *v)) g.hGrad.SetHeight(*v);
  return {};
}

std::string meAngleChange(GradientState& g, const std::string& text) {
  std::string error;
  const auto v = FieldValue(text, error);
  if (!error.empty()) return error;
  g.Angle = text;
  if (v) g.hGrad.SetStartAngle(*v);
  return {};
}

bool cbStyleChange(GradientState& g, const std::string& item) {
  TGradientStyle style;
  if (!GradientStyleFromName(item, style)) return false;
  g.Style = item;
  g.hGrad.SetGradientStyle(style);
  return true;
}

void bDefaultClick(GradientState& g) {
  g.hGrad.SetBeginColor(0x800000);
  g.hGrad.SetEndColor(0xFFFF00);
  g.hGrad.SetGradientStyle(TGradientStyle::gsVertCenter);
  g.hGrad.SetWidth(256);
  g.hGrad.SetHeight(256);
  g.hGrad.SetStartAngle(0);
  g.Width = g.Height = "256";
  g.Angle = "0";
  g.Style = GradientStyleName(TGradientStyle::gsVertCenter);
}

// ---- Multi-Gradient Designer ----

std::string eWideChange(MultiGradientState& m, const std::string& text) {
  std::string error;
  const auto v = FieldValue(text, error);
  if (!error.empty()) return error;
  m.Width = text;
  if (v && *v >= kMultiMinWidth && SizeAllowed(*v, m.PreviewHeight)) SetMultiPreviewSize(m, *v, m.PreviewHeight);
  return {};
}

std::string eHighChange(MultiGradientState& m, const std::string& text) {
  std::string error;
  const auto v = FieldValue(text, error);
  if (!error.empty()) return error;
  m.Height = text;
  if (v && *v >= 1 && SizeAllowed(m.PreviewWidth, *v)) m.PreviewHeight = *v;
  return {};
}

void SetMultiPreviewSize(MultiGradientState& m, int w, int h) {
  m.PreviewWidth = w;
  m.PreviewHeight = h;
  if (w < m.RightPos - kMarkerHalf) m.RightPos = w - 2 * kMarkerHalf + kMarkerHalf;
  if (m.RightPos < m.LeftPos) m.LeftPos = m.RightPos - kMarkerHalf;
  // Markers pushed off the left by a very narrow preview come back at a
  // third and two thirds once there is room for them.
  if ((m.LeftPos < 0 || m.RightPos < 0) && w >= kMultiMinWidth) {
    m.LeftPos = w / 3;
    m.RightPos = 2 * m.LeftPos;
  }
}

void DropLeftMarker(MultiGradientState& m, int markerLeft) {
  const int rightLeft = m.RightPos - kMarkerHalf;
  if (rightLeft < markerLeft) markerLeft = rightLeft - kMarkerHalf;
  m.LeftPos = markerLeft + kMarkerHalf;
}

void DropRightMarker(MultiGradientState& m, int markerLeft) {
  const int leftLeft = m.LeftPos - kMarkerHalf;
  if (markerLeft < leftLeft) markerLeft = leftLeft + kMarkerHalf;
  if (markerLeft > m.PreviewWidth - 2) markerLeft = m.PreviewWidth - 4;
  m.RightPos = markerLeft + kMarkerHalf;
}

// ---- main window commands ----

void DrawStartGradient(Editor& ed) {
  GradientState& g = ed.Gradient;
  g.Width = std::to_string(ed.WorkSurface.Width());
  g.Height = std::to_string(ed.WorkSurface.Height());
  g.hGrad.SetWidth(ed.WorkSurface.Width());
  g.hGrad.SetHeight(ed.WorkSurface.Height());
  g.hGrad.Paint();
  ed.Ui().GradientChanged();
}

bool Design1Click(Editor& ed) {
  std::string error;
  const Closed closed = DesignCommand(ed, error);
  if (!error.empty()) ed.Ui().ShowMessage(error);
  return closed == Closed::Ok;
}

void PasteGradientPixels(Editor& ed) {
  const TFastDIB& gradient = ed.Gradient.hGrad.Paint();
  if (gradient.Empty()) return;
  CopySurface(gradient, ed.WorkSurface);
  CopySurface(ed.WorkSurface, ed.ResetSurface);
  ed.ScratchSurface.SetSize(ed.WorkSurface.Width(), ed.WorkSurface.Height(), 24, 0);
}

void PasteToImage1Click(Editor& ed) {
  ed.Run({.Busy = false,
          .Pixels = [&] { PasteGradientPixels(ed); },
          .Line = [&] { return ed.Gradient.Composite ? std::string() : WriteLine(LineKind::PasteGradientToImage); }});
}

bool DrawGradientDesign(Editor& ed) {
  ed.Gradient.Composite = true;
  std::string error;
  const Closed closed = DesignCommand(ed, error);
  ed.Gradient.Composite = false;
  if (!error.empty()) ed.Ui().ShowMessage(error);
  return closed != Closed::Refused;  // a cancelled designer still pastes
}

void MultiGradient1Click(Editor& ed) {
  MultiFieldsToImageSize(ed);
  if (ed.Ui().EditMultiGradient(ed.MultiGradient)) PaintMultiIntoImage(ed);
}

void ColorWheel1Click(Editor& ed) {
  ed.Run({.Pixels =
              [&] {
                ColorWheel(ed.WorkSurface);
                ed.ScratchSurface.SetSize(ed.WorkSurface.Width(), ed.WorkSurface.Height(), 24, 0);
              },
          .Line = [] { return WriteLine(LineKind::ColorWheel); }});
}

void Rainbow1Click(Editor& ed) {
  ed.Run({.Busy = false,
          .Pixels = [&] { Rainbow(ed.WorkSurface); },
          .Line = [] { return WriteLine(LineKind::Rainbow); }});
}

// ---- replay ----

std::string DesignGradientFromLine(Editor& ed, const std::vector<LineArg>& args) {
  GradientState& g = ed.Gradient;
  g.Width = args[0].Text;
  g.Height = args[1].Text;
  g.Style = args[2].Text;
  g.hGrad.SetBeginColor(uint32_t(args[3].Int));
  g.hGrad.SetEndColor(uint32_t(args[4].Int));
  g.Angle = args[5].Text;
  g.FromLine = true;
  std::string error;
  DesignCommand(ed, error);
  return error;
}

std::string MultiGradientFromLine(Editor& ed, const std::vector<LineArg>& args) {
  MultiFieldsToImageSize(ed);
  MultiGradientState& m = ed.MultiGradient;
  std::string error = eWideChange(m, args[0].Text);
  if (error.empty()) error = eHighChange(m, args[1].Text);
  if (!error.empty()) return error;
  m.Side = uint32_t(args[2].Int);
  m.Left = uint32_t(args[3].Int);
  m.Right = uint32_t(args[4].Int);
  // The markers where the session left them (int holes are 32-bit).
  m.LeftPos = int(args[5].Int);
  m.RightPos = int(args[6].Int);
  PaintMultiIntoImage(ed);
  return {};
}

}  // namespace vorq
