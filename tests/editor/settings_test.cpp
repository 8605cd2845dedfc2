#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "editor/editor.h"
#include "editor/scripted_ui.h"
#include "editor/settings.h"

using namespace vorq;

TEST(Settings, PresenceKeyReadDefaultsAndValueTypes) {
  ScriptedUi ui;
  {
    Editor ed(ui);
    WindowSettings w;
    LoadEditorSettings(ed, IniFile::Parse("[EffectVals]\r\nEffectVals6=0\r\nEffectVals13=4\r\n[MainForm]\r\nSaveDlg=1\r\n"), &w);
    EXPECT_EQ(ed.EffectVals[fx::GaussianBlur], 2);  // a zero presence key ignores the whole file
    EXPECT_FALSE(w.SaveDlg);
  }
  {
    Editor ed(ui);
    WindowSettings w;
    LoadEditorSettings(ed, IniFile::Parse("[EffectVals]\nEffectVals6=250\nEffectVals13=abc\n"), &w);
    EXPECT_EQ(ed.EffectVals[fx::GaussianBlur], 2);  // not a number: its default
    // Missing keys read their own defaults, not the start values.
    for (SecondId s : {UDPeakVal, UDWavVal, LRPeakVal, LRWavVal, ScaleVal, TurbVal}) EXPECT_EQ(ed.Second[s], 0) << s;
    EXPECT_EQ(std::tuple(ed.Second[FishVal], ed.Second[UDWatSelf], ed.Second[WvPhsVal]), std::tuple(0.75, -128.0, 8.0));
    EXPECT_TRUE(w.SaveDlg && !w.SaveWithLog);
    EXPECT_EQ(std::tuple(ed.ToolBox.BrushColor, ed.ToolBox.PenSize, ed.ToolBox.PenColor),
              std::tuple(0xFFFFFFu, std::string("2"), 0u));
    const std::array<std::string, 9> kernel{"2", "1", "1", "1", "-3", "-1", "1", "-1", "-1"};
    EXPECT_EQ(ed.Filter.e, kernel);
    EXPECT_EQ(ed.Filter.eDiv, "1");
    const std::array<int, 8> bounds{w.Top, w.Left, w.Width, w.Height, w.PenStyle, w.Status, w.ToolBoxTop, w.ToolBoxLeft};
    EXPECT_EQ(bounds, (std::array<int, 8>{1, 195, 541, 446, 0, 1, 1, 3}));
    EXPECT_EQ(w.JPGComp, "90");
  }
  {
    // Flags keep their low byte; SaveDlg checks only for 1, SaveWithLog and WrapPainting for anything but 0;
    // the phase is an integer key.
    Editor ed(ui);
    WindowSettings w;
    std::string warning;
    LoadEditorSettings(ed,
                       IniFile::Parse("[EffectVals]\nEffectVals6=1\nHytBm=256\nWvRflVal=257\nWvPhsVal=2.5\nFishVal=1.5\n"
                                      "[MainForm]\nUndoLevels=0\nSaveDlg=5\nSaveWithLog=5\n[Canvas]\nWrapPainting=5\n"),
                       &w, &warning);
    EXPECT_EQ(std::tuple(ed.Second[HytBm], ed.Second[WvRflVal], ed.Second[WvPhsVal], ed.Second[FishVal]),
              std::tuple(0.0, 1.0, 8.0, 1.5));
    EXPECT_FALSE(w.SaveDlg);
    EXPECT_TRUE(w.SaveWithLog && ed.WrapPainting);
    EXPECT_EQ(ed.Undo.Levels(), 15);
    EXPECT_FALSE(warning.empty());
  }
}

TEST(Settings, FileTextAsWritten) {
  ScriptedUi ui;
  Editor ed(ui);
  ed.Second[WvPhsVal] = 8.5;  // rounded to even: 8
  ed.Second[ScaleVal] = double(0.1f);
  ed.ToolBox.BrushColor = 0x0000FF;
  WindowSettings w;
  w.DefaultDirectory = "/home/me/tiles";
  w.SaveWithLog = true;
  IniFile ini;
  SaveEditorSettings(ed, w, true, ini);
  std::string want = "[EffectVals]\n";
  for (int n = 0; n < kEffectCount; ++n) want += "EffectVals" + std::to_string(n) + "=" + std::to_string(Effect(n).Default) + "\n";
  want +=
      "UDPeakVal=3\nUDWavVal=32\nLRPeakVal=2\nLRWavVal=17\nFishVal=0.75\nScaleVal=0.100000001490116\nTurbVal=120\n"
      "UDSBlurBuf=1\nUDSBlurSelf=1\nSBlurReps=32\nUDWatBuf=100\nUDWatSelf=-128\nNovaSpok=64\nNovaHue=32\nNovaX=24\n"
      "NovaY=36\nHytEl=20\nHytDp=16\nHytBm=1\nTrColVal=0\nTrUseVal=0\nWvLenVal=10\nWvPhsVal=8\nWvRflVal=0\n"
      "WhPchVal=0.5\nWhRadVal=1\n\n"
      "[MainForm]\nSaveDlg=0\nSaveWithLog=1\nPenStyle=0\nDefault Directory=/home/me/tiles\nTop=1\nLeft=195\n"
      "Width=541\nHeight=446\nStatus=1\nUndoLevels=15\nJPGComp=90\n\n"
      "[ToolBox]\nTop=1\nLeft=3\nPen Color=0\nBrush Color=255\nPen Size=2\n\n"
      "[Filter]\ne1=2\ne2=1\ne3=1\ne4=1\ne5=-3\ne6=-1\ne7=1\ne8=-1\ne9=-1\neDiv=1\n\n"
      "[Canvas]\nWrapPainting=0\n\n";
  std::string crlf;
  for (char c : want) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(ini.ToText(), crlf);

  // Not in the normal state: the bounds are left as the file had them.
  // A key before any section and a comment are not kept.
  IniFile kept = IniFile::Parse("Top=5\r\n[MainForm]\r\n; Top=6\r\nTop=40\r\n");
  w.Top = 7;
  w.Status = 3;
  SaveEditorSettings(ed, w, false, kept);
  EXPECT_EQ(kept.ToText().rfind("[MainForm]\r\nTop=40\r\n", 0), 0u);
  EXPECT_EQ(kept.Get("MainForm", "Width"), std::nullopt);
  EXPECT_EQ(kept.Get("MainForm", "Status"), "3");
}

TEST(Settings, BlanksAroundNamesAndValuesOutOfRange) {
  ScriptedUi ui;
  Editor ed(ui);
  std::string warning;
  LoadEditorSettings(ed,
                     IniFile::Parse("\xEF\xBB\xBF [ effectVALS ] \r\n EffectVals6 = 250 \r\nEffectVals13 =4\r\nUDPeakVal = 1E39\r\n"
                                    "FishVal=-1E39\r\n[MainForm]\r\nUndoLevels = 2147483647\r\n[ToolBox]\r\npen color = 255\r\n"),
                     nullptr, &warning);
  EXPECT_TRUE(ed.EffectVals[13] == 4 && ed.ToolBox.PenColor == 255u);
  EXPECT_EQ(ed.Second[UDPeakVal], double(std::numeric_limits<float>::max()));
  EXPECT_EQ(ed.Second[FishVal], -double(std::numeric_limits<float>::max()));
  EXPECT_EQ(ed.Undo.Levels(), 15);
  for (const char* named : {"UDPeakVal", "FishVal", "2147483647"})
    EXPECT_NE(warning.find(named), std::string::npos) << warning;
  for (int levels : {1000, 1}) {  // both ends
    LoadEditorSettings(ed, IniFile::Parse("[EffectVals]\nEffectVals6=1\n[MainForm]\nUndoLevels=" + std::to_string(levels)));
    EXPECT_EQ(ed.Undo.Levels(), levels);
  }

  // Typed, the same reals are refused before anything changes.
  EXPECT_FALSE(ed.SetValueByKey("FishVal", "1E39"));
  ed.ShowEffect(19, "FishEye");
  ed.EffectId = 19;
  ed.ToolBox.Box(Box::eAmtMain).Text = "-1E39";
  EXPECT_FALSE(ed.bGoClick());
  EXPECT_EQ(ui.Messages.back(), "'-1E39' is not a valid floating point value");
}
