#include "editor/conveniences.h"

#include <algorithm>
#include <string_view>

#include "editor/settings.h"

namespace vorq {

Conveniences ReadConveniences(const IniFile& ini) {
  Conveniences c;
  c.StandardShortcuts = ini.ReadInteger(kConveniencesSection, "StandardShortcuts", 0) != 0;
  c.DockToolBox = ini.ReadInteger(kConveniencesSection, "DockToolBox", 0) != 0;
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const std::string path = ini.ReadString(kConveniencesSection, "Recent" + std::to_string(i), "");
    if (!path.empty() && std::find(c.RecentFiles.begin(), c.RecentFiles.end(), path) == c.RecentFiles.end())
      c.RecentFiles.push_back(path);
  }
  return c;
}

void WriteConveniences(const Conveniences& c, IniFile& ini) {
  ini.Write(kConveniencesSection, "StandardShortcuts", c.StandardShortcuts ? "1" : "0");
  ini.Write(kConveniencesSection, "DockToolBox", c.DockToolBox ? "1" : "0");
  // Every slot is written, so a shorter list leaves no stale names behind.
  for (int i = 0; i < kRecentFileCount; ++i)
    ini.Write(kConveniencesSection, "Recent" + std::to_string(i + 1),
              size_t(i) < c.RecentFiles.size() ? c.RecentFiles[size_t(i)] : std::string());
}

void AddRecentFile(std::vector<std::string>& list, const std::string& path) {
  if (path.empty()) return;
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
  list.insert(list.begin(), path);
  if (list.size() > size_t(kRecentFileCount)) list.resize(size_t(kRecentFileCount));
}

const std::vector<StandardKey>& StandardKeys() {
  static const std::vector<StandardKey> keys = {
      {"Open1", "Ctrl+O", "Open", "File"},       {"Save1", "Ctrl+S", "Save", "File"},
      {"SaveAs1", "Ctrl+Shift+S", "Save As...", "File"}, {"New1", "Ctrl+N", "New", "File"},
      {"UnDo1", "Ctrl+Z", "UnDo", "Edit"},       {"Exit1", "Ctrl+Q", "Exit", "File"},
  };
  return keys;
}

const char* EffectShortcut(const EffectInfo& e, bool standard) {
  if (!standard || !e.Shortcut) return e.Shortcut;
  static const struct {
    std::string_view from;
    const char* to;
  } kMoved[] = {{"Ctrl+O", "Ctrl+Alt+Shift+O"},
                {"Ctrl+S", "Ctrl+Alt+Shift+S"},
                {"Ctrl+N", "Ctrl+Alt+Shift+N"},
                {"Ctrl+Q", "Ctrl+Alt+Shift+Q"}};
  for (const auto& m : kMoved)
    if (m.from == e.Shortcut) return m.to;
  return e.Shortcut;
}

}  // namespace vorq
