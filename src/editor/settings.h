// "VorqTile.ini": the settings file, read at start and written at exit.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vorq {

class Editor;

// Sections of "key=value" lines, kept in the order they were written.
// Section names, keys and values are read without the blanks around them;
// names and keys compare without regard to letter case.
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
  struct Section {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;
    std::unordered_map<std::string, size_t> Index;  // lower-cased key -> position in Keys
  };
  const Section* Find(const std::string& section) const;
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> index_;  // lower-cased name -> position in sections_
};

// Reads a whole regular file of at most kMaxTextFileBytes (16 MiB); FIFOs,
// devices and folders are refused with a message.
bool ReadTextFile(const std::string& path, std::string& text, std::string& error);
// Writes a temporary file beside path, flushes it to the disk and renames it into place.
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
// below 1 or above UndoRing::kMaxLevels is refused, and reals beyond the
// single-precision range are clamped; the messages (if any, one a line) are
// returned in warning.
void LoadEditorSettings(Editor& ed, const IniFile& ini, WindowSettings* window = nullptr, std::string* warning = nullptr);
void SaveEditorSettings(const Editor& ed, const WindowSettings& window, bool windowNormal, IniFile& ini);

}  // namespace vorq
