// The recipe language: every line the program writes to its log, declared
// once as a shape from which both the writer and the parser come.
//
// A command line is a pattern of literal text and typed holes:
//   {i} integer   {c} colour "R: r G: g B: b"   {m} pen mode name
//   {w} one word (no blank)   {t} text up to the next literal (or the end)
//   {T} text up to the LAST occurrence of the next literal
//   {o} one of the shape's Choices
// Effect lines ("Marble, Graininess 700, Scale 2, Turbulence 120") come from
// the catalogue's params instead; see effect_lines.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorq {

enum class LineKind : uint8_t {
  LogHeader,
  LogAppend,
  Undo,
  ScrollRight,
  ScrollLeft,
  ScrollDown,
  ScrollUp,
  ResizeFast,
  ResizeSmooth,
  DesignYourOwnFilter,
  Sliders,
  EdgeMerge16,
  EdgeMerge8,
  EdgeMerge4,
  FourWayFlip,
  OpenFile,
  NewImage,
  ImageReset,
  CopyImageToClipboard,
  PasteClipboardToImage,
  PasteTransparent,
  PasteAsSelection,
  CopyImageToBuffer,
  PasteBufferToImage,
  LoadBufferFromFile,
  CopyBufferToClipboard,
  PasteClipboardToBuffer,
  PasteGradientToImage,
  DesignGradient,
  MultiGradient,
  ColorWheel,
  Rainbow,
  FreeHand,
  Ellipse,
  Rectangle,
  Line,
  SelectArea,
  FloodFill,
  Eyedropper,
  TextTool,
  TextToolAligned,
  // The painting lines of Options > Wrap Painting: the plain shape and ", Wrap".
  FreeHandWrap,
  EllipseWrap,
  RectangleWrap,
  LineWrap,
  FloodFillWrap,
  FloodFillTolerance,  // a fill with a tolerance; 0 keeps the plain FloodFill line
  FloodFillToleranceWrap,
  PasteAsSelectionWrap,
  SelectAreaWrap,
  // Edge Merge joining one axis only; the plain lines join both.
  EdgeMerge16Axis,
  EdgeMerge8Axis,
  EdgeMerge4Axis,
  Count,
  Effect = Count,  // a catalogue effect's line (ParsedLine::EffectId says which)
};
constexpr int kLineKindCount = int(LineKind::Count);

struct LineShape {
  LineKind Kind;
  const char* Pattern;
  const char* Choices;  // "A|B|C" for the {o} hole; "A|B;C|D" when there are two
};
const LineShape& Shape(LineKind kind);

// One value of a line: integers, colours, flags, pen modes and choices in
// Int, reals in Real, texts and words in Text.
struct LineArg {
  int64_t Int = 0;
  double Real = 0;
  std::string Text;
};
inline LineArg Int(int64_t v) { return {v, double(v), {}}; }
inline LineArg Real(double v) { return {int64_t(0), v, {}}; }
inline LineArg Text(std::string s) { return {0, 0, std::move(s)}; }

// The line of a command shape with its hole values in order.
std::string WriteLine(LineKind kind, const std::vector<LineArg>& args = {});

// The form of a shape for messages: "Line from X x Y y To X x Y y, ...".
std::string LineForm(LineKind kind);

// A command line parsed; Error is set when the line starts as a shape but
// does not match it, or a value is out of range.
struct ParsedCommand {
  bool Matched = false;
  LineKind Kind = LineKind::Count;
  std::vector<LineArg> Args;
  std::string Error;
};
ParsedCommand ParseCommandLine(std::string_view line);

// Texts the selection line names by SelectionAction order.
constexpr const char* kSelectActions = "Copy to Clipboard|Copy to Buffer|Crop to Selection";

}  // namespace vorq
