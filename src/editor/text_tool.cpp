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

bool ReplayTextToolLine(Editor& ed, const std::string& rawLine, ReplayOutcome& out) {
  std::string line = rawLine;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (line.rfind("Text Tool, ", 0) != 0) return false;
  const std::optional<TextToolLine> text = ParseTextToolLine(line);
  if (!text) {
    out = {ReplayStatus::Error,
           "expected \"Text Tool, Font f, Size s, Color R: r G: g B: b, Style Normal \"text\" , Location X x Y y\""};
    return true;
  }
  if (!HaveTextRenderer()) {
    out = {ReplayStatus::Error, "text cannot be drawn here: no fonts are available"};
    return true;
  }
  ed.PushUndo();
  std::string message;
  if (!CommitText(ed, *text, message))
    out = {ReplayStatus::Error, message};
  else
    out = {ReplayStatus::Done, message};
  return true;
}

}  // namespace vorq
