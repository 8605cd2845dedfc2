// "VorqTile.ini": the settings file, read at start and written at exit.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorq {

class Editor;

// Sections of "key=value" lines, kept in the order they were written.
class IniFile {
 public:
  static IniFile Parse(const std::string& text);
  std::optional<std::string> Get(const std::string& section, const std::string& key) const;
  // The integer of a key; def when the key is missing or not a number.
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  double ReadReal(const std::string& section, const std::string& key, double def) const;
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  void Write(const std::string& section, const std::string& key, const std::string& value);
  std::string ToText() const;  // CR LF line ends

 private:
  std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> sections_;
};

bool ReadTextFile(const std::string& path, std::string& text, std::string& error);
// Writes a temporary file beside path and renames it into place.
bool WriteFileAtomic(const std::string& path, const std::string& text, std::string& error);

// Where "VorqTile.ini" and "VorqLog.txt" live: $VORQTILE_HOME when set,
// else programDir when it is writable, else $XDG_CONFIG_HOME/vorqtile
// (~/.config/vorqtile), created when missing.
std::string DataDirectory(const std::string& programDir);

// The main window's own keys (section "MainForm") and the tool box position.
struct WindowSettings {
  int Top = 1, Left = 195, Width = 541, Height = 446;
  int PenStyle = 0;
  std::string DefaultDirectory;
  bool SaveDlg = false;  // "Prompt for Save At Termination"; unchecked without a file
  bool SaveWithLog = false;
  int Status = 1;
  std::string JPGComp = "90";
  int ToolBoxTop = 1, ToolBoxLeft = 3;
};

// Reads the file's values into the editor and the window settings, only
// when the presence key "EffectVals6" is non-zero. A stored "UndoLevels"
// below 1 is refused; the message (if any) is returned in warning.
void LoadEditorSettings(Editor& ed, const IniFile& ini, WindowSettings* window = nullptr, std::string* warning = nullptr);
void SaveEditorSettings(const Editor& ed, const WindowSettings& window, bool windowNormal, IniFile& ini);

}  // namespace vorq
