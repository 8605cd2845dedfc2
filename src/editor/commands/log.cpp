// File ▸ Log commands and Options ▸ Change Undo Quantity.
#include <sys/stat.h>

#include "core/oplog/line_shapes.h"
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
  WriteLog(WriteLine(LineKind::LogAppend));
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

}  // namespace vorq
