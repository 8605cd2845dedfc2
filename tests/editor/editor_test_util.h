// Helpers shared by the editor tests: an editor on a patterned image, with a log to read back.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../core/test_util.h"
#include "editor/editor.h"
#include "editor/scripted_ui.h"

namespace vorq::test {

inline void PaintPattern(TFastDIB& s) {
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) s.SetPixel(y, x, MakePixel(uint8_t(x * 7 + y), uint8_t(x ^ y), uint8_t(y * 3)));
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Counts the hourglass and remembers what the colour dialog was opened with.
struct RecordingUi : ScriptedUi {
  int BusyOn = 0;
  uint32_t DialogStart = 0xDEADBEEF;
  void SetBusy(bool on) override { BusyOn += on ? 1 : 0; }
  int MessageRounds = 0;
  void ProcessMessages() override { ++MessageRounds; }
  bool AcceptTexture = true;
  bool ChooseTexture() override { return AcceptTexture; }
  bool ChooseColor(uint32_t& colour) override {
    DialogStart = colour;
    return ScriptedUi::ChooseColor(colour);
  }
};

template <typename Ui = ScriptedUi>
struct EditorFixture {
  Ui ui;
  Editor ed{ui};
  std::string logPath;

  explicit EditorFixture(int w = 256, int h = 256) {
    ed.WorkSurface.SetSize(w, h, 24, 0);
    PaintPattern(ed.WorkSurface);
  }
  TFastDIB Snapshot() const { return Clone(ed.WorkSurface); }
  // The row padding too: a command must not write there either.
  bool Unchanged(const TFastDIB& before) const { return SamePixels(before, ed.WorkSurface, true); }
  // Chooses the effect in the tree, types into one of its boxes and presses Apply.
  bool Apply(const std::string& effect, const std::string& text, Box box = Box::eAmtMain) {
    ed.TreeView1Change(effect);
    ed.ToolBox.Box(box).Text = text;
    return ed.bGoClick();
  }
  std::string OpenLog(const std::string& name) {
    logPath = ::testing::TempDir() + name;
    EXPECT_TRUE(ed.Log.Open(logPath, false));
    return logPath;
  }
  std::string CloseLog() {
    ed.Log.Close();
    return ReadText(logPath);
  }
  // The log's lines without their line ends.
  std::vector<std::string> CloseLogLines() {
    std::istringstream in(CloseLog());
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) {
      if (!l.empty() && l.back() == '\r') l.pop_back();
      out.push_back(l);
    }
    return out;
  }
};

}  // namespace vorq::test
