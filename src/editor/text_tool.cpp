#include "editor/text_tool.h"

#include "editor/editor.h"

namespace vorq {

namespace {
TextRenderer& Renderer() {
  static TextRenderer renderer;
  return renderer;
}
}  // namespace

void SetTextRenderer(TextRenderer renderer) { Renderer() = std::move(renderer); }
bool HaveTextRenderer() { return bool(Renderer()); }

bool CommitText(Editor& ed, const TextToolLine& line, std::string& message) {
  message.clear();
  if (!Renderer()) {
    message = "text cannot be drawn here: no fonts are available";
    return false;
  }
  if (!Renderer()(ed.WorkSurface, line, message)) return false;
  ed.RefreshImage();
  ed.WriteLog(FormatTextToolLine(line));
  return true;
}

ReplayOutcome ReplayTextTool(Editor& ed, const TextToolLine& text) {
  if (!HaveTextRenderer()) return {ReplayStatus::Error, "text cannot be drawn here: no fonts are available"};
  if (!ed.PushUndo()) return {ReplayStatus::Error, "there is not enough memory for the undo copy of the image"};
  std::string message;
  if (!CommitText(ed, text, message)) return {ReplayStatus::Error, message};
  return {ReplayStatus::Done, message};
}

}  // namespace vorq
