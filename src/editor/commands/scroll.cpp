// The Scroll effect's bars: one snapshot and one line per step.
#include "core/oplog/line_shapes.h"
#include "core/oplog/log_format.h"
#include "editor/editor.h"

namespace vorq {

void Editor::ScrollImage(ScrollDirection direction, int amount) {
  // Shifts are taken modulo the size, so no amount overflows when negated.
  const int64_t w = WorkSurface.Width(), h = WorkSurface.Height();
  auto mod = [](int64_t a, int64_t n) { return n > 0 ? int((a % n + n) % n) : 0; };
  static constexpr LineKind kLines[] = {LineKind::ScrollRight, LineKind::ScrollLeft, LineKind::ScrollDown,
                                        LineKind::ScrollUp};
  Run({.Busy = false,
       .Pixels =
           [&] {
             switch (direction) {
               case ScrollDirection::Right: WorkSurface.WrapShift(mod(-int64_t(amount), w), 0); break;
               case ScrollDirection::Left: WorkSurface.WrapShift(mod(amount, w), 0); break;
               case ScrollDirection::Down: WorkSurface.WrapShift(0, mod(-int64_t(amount), h)); break;
               case ScrollDirection::Up: WorkSurface.WrapShift(0, mod(amount, h)); break;
             }
           },
       .Line = [&] { return WriteLine(kLines[int(direction)], {Int(amount)}); }});
}

namespace {
// Reads the amount box into the Scroll value; false (after the message) when it is no number.
bool ReadScrollAmount(Editor& ed) {
  const std::string& text = ed.ToolBox.Box(Box::eAmtMain).Text;
  auto v = ParseInt(text);
  if (!v) {
    ed.Ui().ShowMessage(NotAnInteger(text));
    return false;
  }
  ed.EffectVals[fx::Scroll] = *v;
  return true;
}
}  // namespace

void Editor::sbLRScroll(int position) {
  if (!ReadScrollAmount(*this) || position == ToolBox.ScrollLRPos || EffectId < 0) return;
  const bool right = position > ToolBox.ScrollLRPos;
  ToolBox.ScrollLRPos = position;
  ScrollImage(right ? ScrollDirection::Right : ScrollDirection::Left, EffectVals[size_t(EffectId)]);
}

void Editor::sbUDScroll(int position) {
  if (!ReadScrollAmount(*this) || position == ToolBox.ScrollUDPos || EffectId < 0) return;
  const bool down = position > ToolBox.ScrollUDPos;
  ToolBox.ScrollUDPos = position;
  ScrollImage(down ? ScrollDirection::Down : ScrollDirection::Up, EffectVals[size_t(EffectId)]);
}

}  // namespace vorq
