#include "editor/settings.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "core/imageio/file_io.h"
#include "core/oplog/log_format.h"
#include "core/util/arith.h"
#include "editor/editor.h"

namespace vorq {

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::string Trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

IniFile IniFile::Parse(const std::string& text) {
  IniFile ini;
  std::string section;
  size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a byte-order mark
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = Trimmed(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[' && line.back() == ']') {
      section = Trimmed(line.substr(1, line.size() - 2));
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos || section.empty()) continue;
    const std::string key = Trimmed(line.substr(0, eq));
    if (!key.empty()) ini.Write(section, key, Trimmed(line.substr(eq + 1)));
  }
  return ini;
}

const IniFile::Section* IniFile::Find(const std::string& section) const {
  auto it = index_.find(Lower(section));
  return it == index_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const {
  const Section* s = Find(section);
  if (!s) return std::nullopt;
  auto it = s->Index.find(Lower(key));
  if (it == s->Index.end()) return std::nullopt;
  return s->Keys[it->second].second;
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
  auto [sit, newSection] = index_.try_emplace(Lower(section), sections_.size());
  if (newSection) sections_.push_back({section, {}, {}});
  Section& s = sections_[sit->second];
  auto [kit, newKey] = s.Index.try_emplace(Lower(key), s.Keys.size());
  if (newKey)
    s.Keys.emplace_back(key, value);
  else
    s.Keys[kit->second].second = value;
}

std::string IniFile::ToText() const {
  std::string out;
  for (const Section& s : sections_) {
    out += "[" + s.Name + "]\r\n";
    for (const auto& [k, v] : s.Keys) out += k + "=" + v + "\r\n";
    out += "\r\n";
  }
  return out;
}

bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!ReadRegularFile(path, kMaxTextFileBytes, bytes, reason)) {
    error = "Cannot read \"" + path + "\": " + reason + ".";
    return false;
  }
  text.assign(bytes.begin(), bytes.end());
  return true;
}

bool WriteFileAtomic(const std::string& path, const std::string& text, std::string& error) {
  return WriteFileReplacing(path, reinterpret_cast<const uint8_t*>(text.data()), text.size(), error);
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
  auto warn = [&](const std::string& text) {
    if (warning) *warning += (warning->empty() ? "" : "\n") + text;
  };
  for (int n = 0; n < kEffectCount; ++n)
    ed.EffectVals[size_t(n)] = ini.ReadInteger("EffectVals", "EffectVals" + std::to_string(n), ed.EffectVals[size_t(n)]);
  for (size_t i = 0; i < kSecondCount; ++i) {
    const SecondParamInfo& p = kSecondParams[i];
    const ValueRef ref{ValueRef::Second, int(i)};
    if ((p.Type == ValueType::Real32 || p.Type == ValueType::Real64) && i != WvPhsVal) {
      const double v = ini.ReadReal("EffectVals", p.Name, ReadDefault(SecondId(i)));
      if (std::fabs(v) > kRealWritten)
        warn("The settings file's \"" + std::string(p.Name) + "\" is beyond the single-precision range; " +
             FormatReal(ClampReal(v)) + " is used.");
      ed.StoreValue(ref, v);
    } else if (p.Type == ValueType::Flag)
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
  if (levels < 1 || levels > UndoRing::kMaxLevels)
    warn("The settings file asks for " + std::to_string(levels) + " undo levels; " +
         (levels < 1 ? "at least 1 is needed" : "at most " + std::to_string(UndoRing::kMaxLevels) + " are allowed") +
         ", so " + std::to_string(ed.Undo.Levels()) + " are kept.");
  else if (levels != ed.Undo.Levels())
    ed.Undo.SetLevels(levels);
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
    if (i == WvPhsVal) text = FormatInt(NearestSaturated(v));
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
