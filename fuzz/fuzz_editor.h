// The bodies of the editor's fuzz targets, shared with the normal tests that
// replay the regression inputs in tests/corpus/recipe and tests/corpus/settings.
// Each returns what went wrong, or "" when all is well.
#pragma once
#include <cmath>
#include <cstdint>
#include <string>

#include "core/imageio/bmp.h"
#include "editor/editor.h"
#include "editor/replay.h"
#include "editor/scripted_ui.h"
#include "editor/settings.h"

namespace vorq::fuzz {

// A small patterned image, a small undo memory and a log that goes nowhere
// (so that every log line is still built). Making an editor costs more than
// most inputs, so each target keeps one and Reset puts back the state of a
// new one (the image and the buffer 7 x 5 instead of 256 x 256).
struct Session {
  ScriptedUi ui;
  Editor ed{ui};
  Session() { Reset(); }
  Session& Reset() {
    static ScriptedUi pristineUi;
    static const Editor pristine(pristineUi);
    ui = ScriptedUi();
    ed.EffectId = -1;
    ed.EffectName.clear();
    ed.EffectVals = pristine.EffectVals;
    ed.Second = pristine.Second;
    ed.ToolBox = pristine.ToolBox;
    ed.Status = pristine.Status;
    ed.Filter = pristine.Filter;
    ed.Sizer = pristine.Sizer;
    ed.Gradient = GradientState();
    ed.MultiGradient = pristine.MultiGradient;
    ed.TintColor = pristine.TintColor;
    ed.JpegQuality = pristine.JpegQuality;
    ed.GifShowDialog = pristine.GifShowDialog;
    ed.GifSelectedIndex = pristine.GifSelectedIndex;
    ed.PenStyle = pristine.PenStyle;
    ed.TextureSource = pristine.TextureSource;
    ed.BufferFilled = false;
    ed.Undo.SetLevels(15);
    ed.Undo.SetByteLimit(size_t(32) << 20);
    ed.WorkSurface.SetSize(7, 5, 24, 0);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) ed.WorkSurface.SetPixel(y, x, MakePixel(uint8_t(40 * x), uint8_t(50 * y), 99));
    ed.ScratchSurface.SetSize(7, 5, 24, 0);
    CopySurface(ed.WorkSurface, ed.ResetSurface);
    ed.BufferSurface.SetSize(7, 5, 24, 0);
    ed.Log.Open("/dev/null", false);
    return *this;
  }
  std::string Problem(const std::string& after) const {
    const TFastDIB& w = ed.WorkSurface;
    if (w.Empty() || !SizeAllowed(w.Width(), w.Height()) || w.RowTable.size() != size_t(w.Height()))
      return "no whole image after " + after;
    for (const std::string& m : ui.Messages)
      if (m.empty()) return "an empty message after " + after;
    return {};
  }
  // One line as the batch tool runs it; refused tells whether it stopped the run.
  std::string Run(const std::string& line, bool& refused) {
    ui.Messages.clear();
    ReplayOutcome r;
    ed.Guarded([&] { r = ReplayLine(ed, line); });
    if (r.Status == ReplayStatus::Error && r.Message.empty()) return "an error without a message: " + line;
    refused = r.Status == ReplayStatus::Error || !ui.Messages.empty();
    return Problem(line);
  }
};

inline std::string RecipeLine(const uint8_t* data, size_t size) {
  static Session session;
  Session& s = session.Reset();
  bool refused;
  return s.Run(std::string(reinterpret_cast<const char*>(data), size), refused);
}

// Bytes -> recipe -> run on a small image -> the output file's bytes.
inline std::string Batch(const uint8_t* data, size_t size) {
  static Session session;
  Session& s = session.Reset();
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    bool refused = false;
    if (std::string p = s.Run(text.substr(start, end - start), refused); !p.empty()) return p;
    if (refused) break;  // the batch tool stops at the first refused line
    start = end + 1;
  }
  if (EncodeBmp(s.ed.WorkSurface).size() < 54) return "no bitmap written";
  return {};
}

// Settings text -> editor; saved and read again it gives the same values;
// then every effect runs once with them.
inline std::string Settings(const uint8_t* data, size_t size) {
  static Session first, second;
  Session& s = first.Reset();
  std::string warning;
  WindowSettings window;
  LoadEditorSettings(s.ed, IniFile::Parse(std::string(reinterpret_cast<const char*>(data), size)), &window, &warning);
  if (s.ed.EffectVals[6] == 0) return {};  // without the presence key nothing was read
  {
    IniFile out;
    SaveEditorSettings(s.ed, window, true, out);
    Session& t = second.Reset();
    LoadEditorSettings(t.ed, IniFile::Parse(out.ToText()), nullptr, &warning);
    if (t.ed.EffectVals != s.ed.EffectVals) return "EffectVals changed when saved and read again";
    for (size_t i = 0; i < kSecondCount; ++i) {
      const double a = s.ed.Second[i], b = t.ed.Second[i];
      if (!std::isfinite(a) || (i == WvPhsVal ? std::fabs(a - b) > 0.5 : a != b))
        return std::string(kSecondParams[i].Name) + " changed when saved and read again";
    }
    if (t.ed.Undo.Levels() != s.ed.Undo.Levels()) return "UndoLevels changed when saved and read again";
  }
  for (const EffectInfo& e : kCatalogue) {
    // Circular always works on 256 x 256 and takes no value; it only slows the fuzzer.
    if (e.Id == 20 || !s.ed.EffectAvailable(e.Id)) continue;
    s.ui.Messages.clear();
    s.ed.MenuEffect(e.Id);
    if (std::string p = s.Problem(e.CatalogueName); !p.empty()) return p;
  }
  return {};
}

}  // namespace vorq::fuzz
