// File ▸ Log commands and the Scroll effect's bars.
#include <sys/stat.h>

#include <algorithm>

#include "core/oplog/log_format.h"
#include "editor/editor.h"

namespace vorq {

namespace {
bool FileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}
}  // namespace

void Editor::LogthisSession1Click() {
  if (Log.Logging()) {
    ui_.ShowMessage("Already Logging");
    return;
  }
  if (FileExists(LogPath) && ui_.Ask("Overwrite Existing Log?", false) != UiPort::Answer::Yes) return;
  if (!Log.Open(LogPath, false)) {
    ui_.ShowMessage(Log.Error());
    return;
  }
  WriteLog(LogHeaderLine());
  ui_.LoggingChanged();
}

void Editor::AppendtoLog1Click() {
  if (Log.Logging()) {
    ui_.ShowMessage("Already Logging");
    return;
  }
  if (!FileExists(LogPath)) {
    if (ui_.Ask("File not found, starting New Log. OK?", false) == UiPort::Answer::Yes) LogthisSession1Click();
    return;
  }
  if (!Log.Open(LogPath, true)) {
    ui_.ShowMessage(Log.Error());
    return;
  }
  WriteLog("<=Appending to Existing Log=>");
  ui_.LoggingChanged();
}

void Editor::CloseLog1Click() {
  if (!Log.Logging()) {
    ui_.ShowMessage("Log already Closed");
    return;
  }
  const bool closed = Log.Close();
  ui_.LoggingChanged();
  if (!closed) ui_.ShowMessage(Log.Error());
}

void Editor::ChangeUndoQuantity1Click() {
  const std::string current = FormatInt(Undo.Levels());
  const std::string answer =
      ui_.InputBox("Change Number of Undo", "Enter a New Maximum Undo: ", current).value_or(current);
  auto n = ParseInt(answer);
  if (!n) {
    ui_.ShowMessage(NotAnInteger(answer));
    return;
  }
  if (*n == Undo.Levels()) return;
  if (*n < 1 || *n > UndoRing::kMaxLevels) {
    ui_.ShowMessage("The number of undo levels must be " +
                    (*n < 1 ? std::string("at least 1") : "at most " + FormatInt(UndoRing::kMaxLevels)) +
                    "; it stays " + current + ".");
    return;
  }
  if (ui_.Ask(" This will clear current Undo buffers \rand reset all pointers.  Continue with \r          Undo "
              "modification?",
              false) != UiPort::Answer::Yes)
    return;
  Undo.SetLevels(*n);
  ui_.UndoChanged();
}

void Editor::ScrollImage(const std::string& direction, int amount) {
  PushUndo();
  // Reduced before negating: -(-2^31) does not fit an int.
  const int dx = int(int64_t(amount) % std::max(1, WorkSurface.Width()));
  const int dy = int(int64_t(amount) % std::max(1, WorkSurface.Height()));
  if (direction == "Right") WorkSurface.WrapShift(-dx, 0);
  else if (direction == "Left") WorkSurface.WrapShift(dx, 0);
  else if (direction == "Down") WorkSurface.WrapShift(0, -dy);
  else WorkSurface.WrapShift(0, dy);
  WriteLog("Scroll " + direction + " " + FormatInt(amount));
  RefreshImage();
}

namespace {
// Reads the amount box into EffectVals[45]; false (after the message) when it is no number.
bool ReadScrollAmount(Editor& ed) {
  const std::string& text = ed.ToolBox.Box(Box::eAmtMain).Text;
  auto v = ParseInt(text);
  if (!v) {
    ed.Ui().ShowMessage(NotAnInteger(text));
    return false;
  }
  ed.EffectVals[45] = *v;
  return true;
}
}  // namespace

void Editor::sbLRScroll(int position) {
  if (!ReadScrollAmount(*this) || position == ToolBox.ScrollLRPos || EffectId < 0) return;
  const bool right = position > ToolBox.ScrollLRPos;
  ToolBox.ScrollLRPos = position;
  ScrollImage(right ? "Right" : "Left", EffectVals[size_t(EffectId)]);
}

void Editor::sbUDScroll(int position) {
  if (!ReadScrollAmount(*this) || position == ToolBox.ScrollUDPos || EffectId < 0) return;
  const bool down = position > ToolBox.ScrollUDPos;
  ToolBox.ScrollUDPos = position;
  ScrollImage(down ? "Down" : "Up", EffectVals[size_t(EffectId)]);
}

}  // namespace vorq
