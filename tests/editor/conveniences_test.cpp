#include "editor/conveniences.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editor/settings.h"

namespace vorq {
namespace {

TEST(Conveniences, RecentFilesRoundTripAndEachMapGivesEveryKeyOnce) {
  std::vector<std::string> list;
  for (int i = 0; i < 9; ++i) AddRecentFile(list, "/p/" + std::to_string(i));
  AddRecentFile(list, "/p/5");
  AddRecentFile(list, "");
  EXPECT_EQ(list, (std::vector<std::string>{"/p/5", "/p/8", "/p/7", "/p/6", "/p/4", "/p/3", "/p/2", "/p/1"}));

  IniFile ini = IniFile::Parse("[MainForm]\r\nTop=1\r\n");
  Conveniences c{true, true, list};
  WriteConveniences(c, ini);
  EXPECT_EQ(ReadConveniences(ini).RecentFiles, list);
  c.RecentFiles.resize(2);  // a shorter list leaves no old names behind
  WriteConveniences(c, ini);
  const Conveniences back = ReadConveniences(IniFile::Parse(ini.ToText()));
  EXPECT_TRUE(back.StandardShortcuts);
  EXPECT_TRUE(back.DockToolBox);
  EXPECT_EQ(back.RecentFiles, (std::vector<std::string>{"/p/5", "/p/8"}));
  // A name twice in the file is listed once; both switches are off when absent.
  const Conveniences dup = ReadConveniences(IniFile::Parse("[Conveniences]\r\nRecent1=/a\r\nRecent3=/a\r\n"));
  EXPECT_EQ(dup.RecentFiles, std::vector<std::string>{"/a"});
  EXPECT_FALSE(dup.StandardShortcuts || dup.DockToolBox);
  EXPECT_EQ(ini.ReadInteger("MainForm", "Top", 0), 1);

  // Each shortcut map gives every key once.
  for (const bool standard : {false, true}) {
    std::set<std::string> keys{"Ctrl+C", "Ctrl+V"};
    if (standard) {
      for (const StandardKey& k : StandardKeys()) EXPECT_TRUE(keys.insert(k.Key).second) << k.Key;
    } else {
      keys.insert("Ctrl+Z");
    }
    for (const EffectInfo& e : kCatalogue) {
      const char* key = EffectShortcut(e, standard);
      EXPECT_TRUE(!key || !*key || keys.insert(key).second) << key << (standard ? " standard" : " classic");
    }
  }
  EXPECT_STREQ(EffectShortcut(Effect(fx::Sharpen), true), "Ctrl+Alt+Shift+S");
  EXPECT_STREQ(EffectShortcut(Effect(fx::Sharpen), false), "Ctrl+S");
}

}  // namespace
}  // namespace vorq
