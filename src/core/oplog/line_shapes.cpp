#include "core/oplog/line_shapes.h"

#include <array>
#include <cassert>

#include "core/effects/catalogue.h"
#include "core/oplog/log_format.h"

namespace vorq {
namespace {

using K = LineKind;

constexpr std::array<LineShape, kLineKindCount> kShapes = {{
    {K::LogHeader,
     "Log starts  - current Gradient: Width {i}, Height {i}, Gradient {t}, From Color {c}, To Color {c}, Angle {t}",
     nullptr},
    {K::LogAppend, "<=Appending to Existing Log=>", nullptr},
    {K::Undo, "UnDo", nullptr},
    {K::ScrollRight, "Scroll Right {i}", nullptr},
    {K::ScrollLeft, "Scroll Left {i}", nullptr},
    {K::ScrollDown, "Scroll Down {i}", nullptr},
    {K::ScrollUp, "Scroll Up {i}", nullptr},
    {K::ResizeFast, "Resize Fast, Width {i}, Height {i}", nullptr},
    {K::ResizeSmooth, "Resize Smooth, Width {i}, Height {i}", nullptr},
    {K::DesignYourOwnFilter, "Design Your Own Filter, Settings: {w} {w} {w} {w} {w} {w} {w} {w} {w} , Divisor {t}",
     nullptr},
    {K::Sliders,
     "ToolBox Sliders to positions:  Lightness {i}, Contrast {i}, Saturation {i}, Red {i}, Green {i}, Blue {i}",
     nullptr},
    {K::EdgeMerge16, "Edge Merge 1/16", nullptr},
    {K::EdgeMerge8, "Edge Merge 1/8", nullptr},
    {K::EdgeMerge4, "Edge Merge 1/4", nullptr},
    {K::FourWayFlip, "4 Way Flip", nullptr},
    {K::OpenFile, "Open File {t}", nullptr},
    {K::NewImage, "New Image, Color {c}", nullptr},
    {K::ImageReset, "Image Reset", nullptr},
    {K::CopyImageToClipboard, "Copy Image to Clipboard", nullptr},
    {K::PasteClipboardToImage, "Paste Clipboard to Image", nullptr},
    {K::PasteTransparent, "Paste Transparent", nullptr},
    {K::PasteAsSelection, "Paste As Selection at Left {i}, Top {i}", nullptr},
    {K::CopyImageToBuffer, "Copy Image to Buffer", nullptr},
    {K::PasteBufferToImage, "Paste Buffer to Image", nullptr},
    {K::LoadBufferFromFile, "Load Buffer from File {t}", nullptr},
    {K::CopyBufferToClipboard, "Copy Buffer to Clipboard", nullptr},
    {K::PasteClipboardToBuffer, "Paste Clipboard to Buffer", nullptr},
    {K::PasteGradientToImage, "Paste Gradient to Image", nullptr},
    {K::DesignGradient,
     "Design Gradient, Width {t}, Height {t}, Gradient {t}, From Color {c}, To Color {c}, Angle {t}", nullptr},
    {K::MultiGradient,
     "MultiGradient,  Width {t}, Height {t}, Back Color {c}, Left Color {c}, Right Color {c}, Left Position {i}, "
     "Right Position {i}",
     nullptr},
    {K::ColorWheel, "Color Wheel", nullptr},
    {K::Rainbow, "Rainbow", nullptr},
    {K::FreeHand, "FreeHand Drawing, Pen Size {t}, Pen Color {c}", nullptr},
    {K::Ellipse,
     "Ellipse from X {i} Y {i}, To X {i} Y {i}, Pen Size {t}, Pen Color {c}, Brush Color {c}, {o}",
     "Filled|Not Filled"},
    {K::Rectangle,
     "Rectangle from X {i} Y {i}, To X {i} Y {i}, Pen Size {t}, Pen Color {c}, Brush Color {c}, {o}",
     "Filled|Not Filled"},
    {K::Line, "Line from X {i} Y {i} To X {i} Y {i}, Pen Size {t}, Pen Color {c}, Pen {m}", nullptr},
    {K::SelectArea, "Select Area From Left {i} Top {i}, Right {i} Bottom {i}, {o}", kSelectActions},
    {K::FloodFill, "FloodFill at location X {i} Y {i}, Brush Color {c}", nullptr},
    {K::Eyedropper, "Eyedropper at location X {i} Y {i}", nullptr},
    {K::TextTool, "Text Tool, Font {t}, Size {i}, Color {c}, Style {o} \"{T}\" , Location X {i} Y {i}",
     "Normal|Bold|Italic|Bold Italic"},
    // A text that is not left-aligned says so at the end; the memo text's
    // line breaks are written as \n and its backslashes doubled (text_line.cpp).
    {K::TextToolAligned,
     "Text Tool, Font {t}, Size {i}, Color {c}, Style {o} \"{T}\" , Location X {i} Y {i}, Alignment {o}",
     "Normal|Bold|Italic|Bold Italic;Left|Center|Right"},
    {K::FreeHandWrap, "FreeHand Drawing, Pen Size {t}, Pen Color {c}, Wrap", nullptr},
    {K::EllipseWrap,
     "Ellipse from X {i} Y {i}, To X {i} Y {i}, Pen Size {t}, Pen Color {c}, Brush Color {c}, {o}, Wrap",
     "Filled|Not Filled"},
    {K::RectangleWrap,
     "Rectangle from X {i} Y {i}, To X {i} Y {i}, Pen Size {t}, Pen Color {c}, Brush Color {c}, {o}, Wrap",
     "Filled|Not Filled"},
    {K::LineWrap, "Line from X {i} Y {i} To X {i} Y {i}, Pen Size {t}, Pen Color {c}, Pen {m}, Wrap", nullptr},
    {K::FloodFillWrap, "FloodFill at location X {i} Y {i}, Brush Color {c}, Wrap", nullptr},
    {K::FloodFillTolerance, "FloodFill at location X {i} Y {i}, Brush Color {c}, Tolerance {i}", nullptr},
    {K::FloodFillToleranceWrap, "FloodFill at location X {i} Y {i}, Brush Color {c}, Tolerance {i}, Wrap", nullptr},
    {K::PasteAsSelectionWrap, "Paste As Selection at Left {i}, Top {i}, Wrap", nullptr},
    {K::SelectAreaWrap, "Select Area From Left {i} Top {i}, Right {i} Bottom {i}, {o}, Wrap", kSelectActions},
    // The choice's index is the SeamAxis; "Both" is read but never written.
    {K::EdgeMerge16Axis, "Edge Merge 1/16, Axis {o}", kSeamAxes},
    {K::EdgeMerge8Axis, "Edge Merge 1/8, Axis {o}", kSeamAxes},
    {K::EdgeMerge4Axis, "Edge Merge 1/4, Axis {o}", kSeamAxes},
}};

constexpr bool InKindOrder() {
  for (size_t i = 0; i < kShapes.size(); ++i)
    if (size_t(kShapes[i].Kind) != i) return false;
  return true;
}
static_assert(InKindOrder(), "shapes must be listed in LineKind order");

// A pattern cut into literals and holes.
struct Segment {
  bool Hole;
  char Type;  // i c m w t T o
  std::string_view Literal;
};

std::vector<Segment> Segments(std::string_view p) {
  std::vector<Segment> out;
  size_t i = 0;
  while (i < p.size()) {
    if (p[i] == '{' && i + 2 < p.size() && p[i + 2] == '}') {
      out.push_back({true, p[i + 1], {}});
      i += 3;
      continue;
    }
    size_t j = p.find('{', i);
    if (j == std::string_view::npos) j = p.size();
    out.push_back({false, 0, p.substr(i, j - i)});
    i = j;
  }
  return out;
}

// The choices of the shape's n-th {o} hole: lists separated by ';'.
std::vector<std::string_view> Choices(const LineShape& s, int n) {
  std::vector<std::string_view> out;
  std::string_view c = s.Choices ? s.Choices : "";
  for (; n > 0; --n) {
    const size_t semi = c.find(';');
    c = semi == std::string_view::npos ? std::string_view{} : c.substr(semi + 1);
  }
  c = c.substr(0, c.find(';'));
  while (!c.empty()) {
    const size_t bar = c.find('|');
    out.push_back(c.substr(0, bar));
    if (bar == std::string_view::npos) break;
    c.remove_prefix(bar + 1);
  }
  return out;
}

int PenModeIndex(std::string_view name) {
  for (size_t i = 0; i < kPenModeNames.size(); ++i)
    if (name == kPenModeNames[i]) return int(i);
  return -1;
}

// Converts one hole's text; false when it is not a value of the hole's type.
bool HoleValue(char type, std::string_view text, const LineShape& shape, int choice, LineArg& out,
               std::string& error) {
  switch (type) {
    case 'i': {
      auto v = ParseInt(text);
      if (!v) return error = NotAnInteger(text), false;
      out = Int(*v);
      return true;
    }
    case 'c': {
      auto v = ParseColour(text);
      if (!v) return error = "'" + std::string(text) + "' is not a colour \"R: r G: g B: b\"", false;
      out = Int(*v);
      return true;
    }
    case 'm': {
      const int m = PenModeIndex(text);
      if (m < 0) return error = "'" + std::string(text) + "' is not a pen mode", false;
      out = Int(m);
      return true;
    }
    case 'o': {
      const auto choices = Choices(shape, choice);
      for (size_t i = 0; i < choices.size(); ++i)
        if (text == choices[i]) return out = Int(int64_t(i)), true;
      return false;
    }
    case 'w':
      if (text.empty() || text.find(' ') != std::string_view::npos) return false;
      out = Text(std::string(text));
      return true;
    default: out = Text(std::string(text)); return true;
  }
}

// Matches line against shape; Error set when a hole's value is wrong.
bool Match(const LineShape& shape, std::string_view line, ParsedCommand& out) {
  const std::vector<Segment> segs = Segments(shape.Pattern);
  size_t pos = 0;
  int choice = 0;
  out.Args.clear();
  for (size_t s = 0; s < segs.size(); ++s) {
    if (!segs[s].Hole) {
      if (line.substr(pos, segs[s].Literal.size()) != segs[s].Literal) return false;
      pos += segs[s].Literal.size();
      continue;
    }
    size_t end = line.size();
    if (s + 1 < segs.size()) {
      const std::string_view next = segs[s + 1].Literal;
      end = segs[s].Type == 'T' ? line.rfind(next) : line.find(next, pos);
      if (end == std::string_view::npos || end < pos) return false;
    }
    LineArg arg;
    if (!HoleValue(segs[s].Type, line.substr(pos, end - pos), shape, choice, arg, out.Error)) return false;
    choice += segs[s].Type == 'o';
    out.Args.push_back(std::move(arg));
    pos = end;
  }
  return pos == line.size();
}

// The literal a shape's lines start with.
std::string_view Lead(const LineShape& s) {
  const std::string_view p = s.Pattern;
  return p.substr(0, p.find('{'));
}

}  // namespace

const LineShape& Shape(LineKind kind) { return kShapes[size_t(kind)]; }

std::string WriteLine(LineKind kind, const std::vector<LineArg>& args) {
  const LineShape& shape = Shape(kind);
  std::string out;
  size_t a = 0;
  int choice = 0;
  for (const Segment& seg : Segments(shape.Pattern)) {
    if (!seg.Hole) {
      out += seg.Literal;
      continue;
    }
    assert(a < args.size());
    const LineArg& v = args[a++];
    switch (seg.Type) {
      case 'i': out += FormatInt(v.Int); break;
      case 'c': out += FormatColour(uint32_t(v.Int)); break;
      case 'm': out += v.Int >= 0 && v.Int < 12 ? kPenModeNames[size_t(v.Int)] : kPenModeNames[0]; break;
      case 'o': {
        const auto choices = Choices(shape, choice++);
        out += v.Int >= 0 && size_t(v.Int) < choices.size() ? choices[size_t(v.Int)] : choices[0];
        break;
      }
      default: out += v.Text;
    }
  }
  assert(a == args.size());
  return out;
}

std::string LineForm(LineKind kind) {
  const LineShape& shape = Shape(kind);
  std::string out;
  int choice = 0;
  for (const Segment& seg : Segments(shape.Pattern)) {
    if (!seg.Hole) {
      out += seg.Literal;
      continue;
    }
    switch (seg.Type) {
      case 'i': out += "n"; break;
      case 'c': out += "R: r G: g B: b"; break;
      case 'm': out += "Normal"; break;
      case 'o': {
        const auto c = Choices(shape, choice++);
        for (size_t i = 0; i < c.size(); ++i) out += std::string(i ? " or " : "") + std::string(c[i]);
        break;
      }
      default: out += "text";
    }
  }
  return out;
}

ParsedCommand ParseCommandLine(std::string_view line) {
  ParsedCommand best;
  size_t bestLead = 0;
  for (const LineShape& shape : kShapes) {
    const std::string_view lead = Lead(shape);
    if (lead.empty() || line.substr(0, lead.size()) != lead) continue;
    ParsedCommand p;
    if (Match(shape, line, p)) {
      p.Matched = true;
      p.Kind = shape.Kind;
      p.Error.clear();
      return p;
    }
    // Remember the most specific shape the line started as, for the message.
    if (lead.size() > bestLead) {
      bestLead = lead.size();
      best = {};
      best.Kind = shape.Kind;
      best.Error = p.Error.empty() ? "expected \"" + LineForm(shape.Kind) + "\"" : p.Error;
    }
  }
  // A whole-literal shape ("Edge Merge 1/16") only counts when the line is it.
  if (bestLead > 0 && Segments(Shape(best.Kind).Pattern).size() == 1) return {};
  return best;
}

}  // namespace vorq
