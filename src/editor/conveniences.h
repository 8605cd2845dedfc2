// The everyday conveniences kept beside the classic settings: the standard
// shortcut map, the docked tool box and the recent files. They live in a
// section of their own, which older readers of the settings file ignore.
#pragma once

#include <string>
#include <vector>

#include "core/effects/catalogue.h"

namespace vorq {

class IniFile;

inline constexpr const char* kConveniencesSection = "Conveniences";
inline constexpr int kRecentFileCount = 8;

struct Conveniences {
  bool StandardShortcuts = false;  // off keeps the classic map (Ctrl+S sharpens)
  bool DockToolBox = false;        // off keeps the floating tool box
  std::vector<std::string> RecentFiles;  // newest first, at most kRecentFileCount
};

Conveniences ReadConveniences(const IniFile& ini);
void WriteConveniences(const Conveniences& c, IniFile& ini);
// path goes to the front; an older entry of it is dropped, the list cut to kRecentFileCount.
void AddRecentFile(std::vector<std::string>& list, const std::string& path);

// A window command's key in the standard map ("Open1" -> "Ctrl+O").
struct StandardKey {
  const char* Action;   // the menu item's object name
  const char* Key;
  const char* Command;  // for the shortcut list
  const char* Menu;
};
const std::vector<StandardKey>& StandardKeys();
// The effect's key in the map in use; in the standard map the effects whose
// keys the file commands take move to Ctrl+Alt+Shift with the same letter.
const char* EffectShortcut(const EffectInfo& e, bool standard);

}  // namespace vorq
