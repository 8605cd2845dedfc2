#include <gtest/gtest.h>

#include <limits>

#include "editor/editor.h"
#include "editor/scripted_ui.h"
#include "editor/settings.h"

using namespace vorq;

TEST(Settings, PresenceKeyAndReadDefaults) {
  ScriptedUi ui;
  {
    Editor ed(ui);
    LoadEditorSettings(ed, IniFile::Parse("[EffectVals]\r\nEffectVals6=0\r\nEffectVals13=4\r\n"));
    EXPECT_EQ(ed.EffectVals[fx::GaussianBlur], 2);  // a zero presence key ignores the whole file
  }
  {
    Editor ed(ui);
    WindowSettings w;
    LoadEditorSettings(ed, IniFile::Parse("[EffectVals]\nEffectVals6=250\nEffectVals13=abc\n"), &w);
    EXPECT_EQ(ed.EffectVals[fx::GaussianBlur], 2);  // not a number: its default
    EXPECT_EQ(ed.EffectVals[fx::Twist], 100);
    EXPECT_EQ(ed.Second[UDPeakVal], 0);  // missing keys read their own defaults
    EXPECT_EQ(ed.Second[ScaleVal], 0);
    EXPECT_EQ(ed.Second[TurbVal], 0);
    EXPECT_EQ(ed.Second[FishVal], 0.75f);
    EXPECT_EQ(ed.Second[UDWatSelf], -128);
    EXPECT_TRUE(w.SaveDlg);
    EXPECT_EQ(ed.ToolBox.BrushColor, 0xFFFFFFu);
  }
  {
    Editor ed(ui);
    std::string warning;
    LoadEditorSettings(ed,
                       IniFile::Parse("[EffectVals]\nEffectVals6=1\n[MainForm]\nUndoLevels=0\n[ToolBox]\nPen Color=255\n"),
                       nullptr, &warning);
    EXPECT_EQ(ed.Undo.Levels(), 15);
    EXPECT_FALSE(warning.empty());
    EXPECT_EQ(ed.ToolBox.PenColor, 255u);
  }
}

TEST(Settings, SaveThenLoadGivesTheSameValues) {
  ScriptedUi ui;
  Editor a(ui);
  a.EffectVals[fx::GaussianBlur] = 4;
  a.Second[UDPeakVal] = double(2.5f);
  a.Second[WvPhsVal] = 7.5;  // written rounded to even: 8
  a.Second[HytBm] = 0;
  a.Filter.e[0] = "-9";
  a.Undo.SetLevels(7);
  WindowSettings w;
  w.SaveDlg = true;
  IniFile ini;
  SaveEditorSettings(a, w, true, ini);
  const std::string text = ini.ToText();
  EXPECT_NE(text.find("[EffectVals]\r\nEffectVals0=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("WvPhsVal=8\r\n"), std::string::npos);

  Editor b(ui);
  WindowSettings w2;
  LoadEditorSettings(b, IniFile::Parse(text), &w2);
  EXPECT_EQ(b.EffectVals[fx::GaussianBlur], 4);
  EXPECT_EQ(b.Second[UDPeakVal], 2.5);
  EXPECT_EQ(b.Second[WvPhsVal], 8);
  EXPECT_EQ(b.Second[HytBm], 0);
  EXPECT_EQ(b.Filter.e[0], "-9");
  EXPECT_EQ(b.Undo.Levels(), 7);
  EXPECT_TRUE(w2.SaveDlg);
}

TEST(Settings, BlanksAroundNamesAndValuesOutOfRange) {
  ScriptedUi ui;
  Editor ed(ui);
  std::string warning;
  LoadEditorSettings(ed,
                     IniFile::Parse(" [ EffectVals ] \r\n EffectVals6 = 250 \r\nEffectVals13 =4\r\nUDPeakVal = 1E39\r\n"
                                    "FishVal=-1E39\r\n[MainForm]\r\nUndoLevels = 2147483647\r\n[ToolBox]\r\nPen Color = 255\r\n"),
                     nullptr, &warning);
  EXPECT_EQ(ed.EffectVals[13], 4);
  EXPECT_EQ(ed.ToolBox.PenColor, 255u);
  EXPECT_EQ(ed.Second[UDPeakVal], double(std::numeric_limits<float>::max()));
  EXPECT_EQ(ed.Second[FishVal], -double(std::numeric_limits<float>::max()));
  EXPECT_EQ(ed.Undo.Levels(), 15);
  for (const char* named : {"UDPeakVal", "FishVal", "2147483647"})
    EXPECT_NE(warning.find(named), std::string::npos) << warning;
  LoadEditorSettings(ed, IniFile::Parse("[EffectVals]\nEffectVals6=1\n[MainForm]\nUndoLevels=1000\n"));
  EXPECT_EQ(ed.Undo.Levels(), 1000);

  // Typed, the same reals are refused before anything changes.
  EXPECT_FALSE(ed.SetValueByKey("FishVal", "1E39"));
  ed.ShowEffect(19, "FishEye");
  ed.EffectId = 19;
  ed.ToolBox.Box(Box::eAmtMain).Text = "-1E39";
  EXPECT_FALSE(ed.bGoClick());
  EXPECT_EQ(ui.Messages.back(), "'-1E39' is not a valid floating point value");
}
