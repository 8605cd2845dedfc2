#include "editor/settings.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/oplog/log_format.h"
#include "core/util/arith.h"
#include "editor/editor.h"

namespace vorq {

IniFile IniFile::Parse(const std::string& text) {
  IniFile ini;
  std::istringstream in(text);
  std::string line;
  std::string section;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos || section.empty()) continue;
    ini.Write(section, line.substr(0, eq), line.substr(eq + 1));
  }
  return ini;
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const {
  for (const auto& [name, keys] : sections_) {
    if (strcasecmp(name.c_str(), section.c_str()) != 0) continue;
    for (const auto& [k, v] : keys)
      if (strcasecmp(k.c_str(), key.c_str()) == 0) return v;
  }
  return std::nullopt;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  auto v = Get(section, key);
  if (!v) return def;
  auto n = ParseInt(*v);
  return n ? *n : def;
}

double IniFile::ReadReal(const std::string& section, const std::string& key, double def) const {
  auto v = Get(section, key);
  if (!v) return def;
  auto n = ParseReal(*v);
  return n ? *n : def;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  auto v = Get(section, key);
  return v ? *v : def;
}

void IniFile::Write(const std::string& section, const std::string& key, const std::string& value) {
  for (auto& [name, keys] : sections_) {
    if (strcasecmp(name.c_str(), section.c_str()) != 0) continue;
    for (auto& [k, v] : keys)
      if (strcasecmp(k.c_str(), key.c_str()) == 0) {
        v = value;
        return;
      }
    keys.emplace_back(key, value);
    return;
  }
  sections_.push_back({section, {{key, value}}});
}

std::string IniFile::ToText() const {
  std::string out;
  for (const auto& [name, keys] : sections_) {
    out += "[" + name + "]\r\n";
    for (const auto& [k, v] : keys) out += k + "=" + v + "\r\n";
    out += "\r\n";
  }
  return out;
}

bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "Cannot read \"" + path + "\": " + std::strerror(errno) + ".";
    return false;
  }
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

bool WriteFileAtomic(const std::string& path, const std::string& text, std::string& error) {
  const std::string tmp = path + ".tmp~";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) {
    error = "Cannot write \"" + path + "\": " + std::strerror(errno) + ".";
    return false;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
    error = "Cannot write \"" + path + "\": " + std::strerror(errno) + ".";
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

std::string DataDirectory(const std::string& programDir) {
  if (const char* home = std::getenv("VORQTILE_HOME"); home && *home) return home;
  if (!programDir.empty() && access(programDir.c_str(), W_OK) == 0) return programDir;
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    base = xdg;
  else if (const char* h = std::getenv("HOME"); h && *h)
    base = std::string(h) + "/.config";
  else
    base = ".";
  const std::string dir = base + "/vorqtile";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return dir;
}

namespace {
// Read defaults of the second parameters when the presence key is set but
// the key itself is missing; they differ from the start values for a few.
double ReadDefault(SecondId s) {
  switch (s) {
    case UDPeakVal: case UDWavVal: case LRPeakVal: case LRWavVal: case ScaleVal: case TurbVal: return 0;
    default: return kSecondParams[s].Default;
  }
}
}  // namespace

void LoadEditorSettings(Editor& ed, const IniFile& ini, WindowSettings* window, std::string* warning) {
  if (ini.ReadInteger("EffectVals", "EffectVals6", 0) == 0) return;
  for (int n = 0; n < kEffectCount; ++n)
    ed.EffectVals[size_t(n)] = ini.ReadInteger("EffectVals", "EffectVals" + std::to_string(n), ed.EffectVals[size_t(n)]);
  for (size_t i = 0; i < kSecondCount; ++i) {
    const SecondParamInfo& p = kSecondParams[i];
    const ValueRef ref{ValueRef::Second, int(i)};
    if ((p.Type == ValueType::Real32 || p.Type == ValueType::Real64) && i != WvPhsVal)
      ed.StoreValue(ref, ini.ReadReal("EffectVals", p.Name, ReadDefault(SecondId(i))));
    else if (p.Type == ValueType::Flag)
      ed.StoreValue(ref, ini.ReadInteger("EffectVals", p.Name, int(ReadDefault(SecondId(i)))) & 0xFF);
    else
      ed.StoreValue(ref, ini.ReadInteger("EffectVals", p.Name, int(ReadDefault(SecondId(i)))));
  }
  if (window) {
    window->Top = ini.ReadInteger("MainForm", "Top", 1);
    window->Left = ini.ReadInteger("MainForm", "Left", 195);
    window->Width = ini.ReadInteger("MainForm", "Width", 541);
    window->Height = ini.ReadInteger("MainForm", "Height", 446);
    window->PenStyle = ini.ReadInteger("MainForm", "PenStyle", 0);
    window->DefaultDirectory = ini.ReadString("MainForm", "Default Directory", window->DefaultDirectory);
    window->SaveDlg = ini.ReadInteger("MainForm", "SaveDlg", 1) == 1;
    window->SaveWithLog = ini.ReadInteger("MainForm", "SaveWithLog", 0) != 0;
    window->Status = ini.ReadInteger("MainForm", "Status", 1);
    window->JPGComp = ini.ReadString("MainForm", "JPGComp", "90");
    window->ToolBoxTop = ini.ReadInteger("ToolBox", "Top", 1);
    window->ToolBoxLeft = ini.ReadInteger("ToolBox", "Left", 3);
  }
  const int levels = ini.ReadInteger("MainForm", "UndoLevels", ed.Undo.Levels());
  if (levels < 1) {
    if (warning)
      *warning = "The settings file asks for " + std::to_string(levels) +
                 " undo levels; at least 1 is needed, so " + std::to_string(ed.Undo.Levels()) + " are kept.";
  } else if (levels != ed.Undo.Levels()) {
    ed.Undo.SetLevels(levels);
  }
  ed.ToolBox.PenColor = uint32_t(ini.ReadInteger("ToolBox", "Pen Color", 0)) & 0xFFFFFFu;
  ed.ToolBox.BrushColor = uint32_t(ini.ReadInteger("ToolBox", "Brush Color", 0xFFFFFF)) & 0xFFFFFFu;
  ed.ToolBox.PenSize = ini.ReadString("ToolBox", "Pen Size", "2");
  static const char* const defaults[] = {"2", "1", "1", "1", "-3", "-1", "1", "-1", "-1"};
  for (size_t i = 0; i < 9; ++i) ed.Filter.e[i] = ini.ReadString("Filter", "e" + std::to_string(i + 1), defaults[i]);
  ed.Filter.eDiv = ini.ReadString("Filter", "eDiv", "1");
  // A section of its own, which older readers skip.
  ed.WrapPainting = ini.ReadInteger("Canvas", "WrapPainting", 0) != 0;
}

void SaveEditorSettings(const Editor& ed, const WindowSettings& w, bool windowNormal, IniFile& ini) {
  for (int n = 0; n < kEffectCount; ++n)
    ini.Write("EffectVals", "EffectVals" + std::to_string(n), FormatInt(ed.EffectVals[size_t(n)]));
  for (size_t i = 0; i < kSecondCount; ++i) {
    const SecondParamInfo& p = kSecondParams[i];
    const double v = ed.Second[i];
    std::string text;
    if (i == WvPhsVal) text = FormatInt(Nearest(v));
    else if (p.Type == ValueType::Real32 || p.Type == ValueType::Real64) text = FormatReal(v);
    else text = FormatInt(int64_t(v));
    ini.Write("EffectVals", p.Name, text);
  }
  ini.Write("MainForm", "SaveDlg", w.SaveDlg ? "1" : "0");
  ini.Write("MainForm", "SaveWithLog", w.SaveWithLog ? "1" : "0");
  ini.Write("MainForm", "PenStyle", FormatInt(w.PenStyle));
  ini.Write("MainForm", "Default Directory", w.DefaultDirectory);
  if (windowNormal) {
    ini.Write("MainForm", "Top", FormatInt(w.Top));
    ini.Write("MainForm", "Left", FormatInt(w.Left));
    ini.Write("MainForm", "Width", FormatInt(w.Width));
    ini.Write("MainForm", "Height", FormatInt(w.Height));
  }
  ini.Write("MainForm", "Status", FormatInt(w.Status));
  ini.Write("MainForm", "UndoLevels", FormatInt(ed.Undo.Levels()));
  ini.Write("MainForm", "JPGComp", w.JPGComp);
  ini.Write("ToolBox", "Top", FormatInt(w.ToolBoxTop));
  ini.Write("ToolBox", "Left", FormatInt(w.ToolBoxLeft));
  ini.Write("ToolBox", "Pen Color", FormatInt(ed.ToolBox.PenColor));
  ini.Write("ToolBox", "Brush Color", FormatInt(ed.ToolBox.BrushColor));
  ini.Write("ToolBox", "Pen Size", ed.ToolBox.PenSize);
  for (size_t i = 0; i < 9; ++i) ini.Write("Filter", "e" + std::to_string(i + 1), ed.Filter.e[i]);
  ini.Write("Filter", "eDiv", ed.Filter.eDiv);
  ini.Write("Canvas", "WrapPainting", ed.WrapPainting ? "1" : "0");
}

}  // namespace vorq
