// Every available effect and every replayable command with hostile values
// on tiny and lopsided images. Effects come from the catalogue, so one that
// lands later is swept without touching this file. Each case must end, in a
// bounded time, with a whole image or with a refusal that says why and
// changes nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <regex>
#include <set>

#include "core/effects/catalogue.h"
#include "editor/replay.h"
#include "editor/settings.h"
#include "editor_test_util.h"

namespace vorq {
namespace {

constexpr int kSizes[][2] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {5, 3}};
// A slow case is a fault even when it ends; sanitizer builds are ~20x slower.
constexpr double kSecondsPerCase = 3.0;

const char* const kHostileTexts[] = {"0",           "1",          "-1",         "2",     "-2",    "2147483647",
                                     "-2147483648", "3.4028235E+38", "-3.4028235E+38", "1E-45", "1E39", "-1E39",
                                     "1E308",       "0.5"};

const double kHostileValues[] = {0, 1, -1, 2, -2, 2147483647.0, -2147483648.0, 4294967296.0,
                                 std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                                 std::numeric_limits<float>::denorm_min(), std::numeric_limits<double>::max(),
                                 -std::numeric_limits<double>::max(), 1e39, std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN()};

// Lines of the commands outside the catalogue, at harmless values; each
// number in them is replaced by every hostile text in turn.
const char* const kCommandLines[] = {
    "Scroll Right 3", "Scroll Left 3", "Scroll Up 3", "Scroll Down 3",
    "Resize Fast, Width 3, Height 2", "Resize Smooth, Width 3, Height 2",
    "Design Your Own Filter, Settings: 2 1 1 1 -3 -1 1 -1 -1 , Divisor 1",
    "ToolBox Sliders to positions:  Lightness 10, Contrast 10, Saturation 10, Red 10, Green 10, Blue 10",
    "Edge Merge 1/16", "Edge Merge 1/8", "Edge Merge 1/4", "4 Way Flip",
    "Line from X 0 Y 0 To X 3 Y 2, Pen Size 2, Pen Color R: 1 G: 2 B: 3, Pen Normal",
    "Ellipse from X 0 Y 0, To X 3 Y 2, Pen Size 2, Pen Color R: 1 G: 2 B: 3, Brush Color R: 4 G: 5 B: 6, Filled",
    "Rectangle from X 0 Y 0, To X 3 Y 2, Pen Size 2, Pen Color R: 1 G: 2 B: 3, Brush Color R: 4 G: 5 B: 6, Not Filled",
    "FloodFill at location X 1 Y 1, Brush Color R: 1 G: 2 B: 3", "Eyedropper at location X 1 Y 1",
    "Select Area From Left 0 Top 0, Right 2 Bottom 2, Crop to Selection",
    "Select Area From Left 0 Top 0, Right 2 Bottom 2, Copy to Buffer",
};

bool Valid(const TFastDIB& s) {
  return !s.Empty() && s.Width() >= 1 && s.Height() >= 1 && SizeAllowed(s.Width(), s.Height()) &&
         s.RowTable.size() == size_t(s.Height());
}

// One effect line per available effect, written by the editor at the defaults.
std::vector<std::string> EffectLines() {
  std::vector<std::string> lines;
  ScriptedUi ui;
  Editor ed(ui);
  for (const EffectInfo& e : kCatalogue) {
    if (!ed.EffectAvailable(e.Id)) continue;
    ed.EffectId = e.Id;
    ed.EffectName = e.RecordedName ? e.RecordedName : e.CatalogueName;
    if (std::string line = ed.EffectLogLine(); !line.empty()) lines.push_back(line);
  }
  return lines;
}

// The line with its i-th number replaced by text; false when it has fewer.
bool ReplaceNumber(const std::string& line, size_t i, const std::string& text, std::string& out) {
  static const std::regex number("-?[0-9]+(\\.[0-9]+)?(E[-+]?[0-9]+)?");
  auto it = std::sregex_iterator(line.begin(), line.end(), number);
  for (size_t k = 0; it != std::sregex_iterator(); ++it, ++k)
    if (k == i) {
      out = line.substr(0, size_t(it->position())) + text + line.substr(size_t(it->position() + it->length()));
      return true;
    }
  return false;
}

struct Sweep : ::testing::Test {
  int cases = 0;
  // One editor serves every case: making one per case costs more than the
  // cases. The values and the tool box start from the defaults each time;
  // whatever else a case leaves (buffer, undo ring, ...) is fair game.
  test::EditorFixture<> f, again;
  ScriptedUi pristineUi;
  Editor pristine{pristineUi};

  // Runs one case on a w x h patterned image.
  template <typename Body>
  void Case(const std::string& what, int w, int h, Body body) {
    ++cases;
    f.ui.Messages.clear();
    f.ed.EffectVals = pristine.EffectVals;
    f.ed.Second = pristine.Second;
    f.ed.ToolBox = pristine.ToolBox;
    f.ed.WorkSurface.SetSize(w, h, 24, 0);
    f.ed.ScratchSurface.SetSize(w, h, 24, 0);
    test::PaintPattern(f.ed.WorkSurface);
    const TFastDIB before = f.Snapshot();
    const auto start = std::chrono::steady_clock::now();
    std::string refusal = body(f.ed);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (refusal.empty() && !f.ui.Messages.empty()) refusal = f.ui.Messages.front();
    const std::string where = what + " on " + std::to_string(w) + " x " + std::to_string(h);
    EXPECT_LT(seconds, kSecondsPerCase) << where;
    ASSERT_TRUE(Valid(f.ed.WorkSurface)) << where;
    if (!refusal.empty()) {
      EXPECT_TRUE(f.Unchanged(before)) << where << " was refused (" << refusal << ") yet changed the image";
    }
  }

  void Replay(const std::string& line, int w, int h) {
    Case(line, w, h, [&](Editor& ed) {
      const ReplayOutcome r = ReplayLine(ed, line);
      if (r.Status == ReplayStatus::Error) {
        EXPECT_FALSE(r.Message.empty()) << line;
        return r.Message;
      }
      return std::string();
    });
  }

  void RunStored(int id, const ValueRef& ref, double v, int w, int h, bool peaks) {
    const std::string what = std::string(Effect(id).CatalogueName) + " with value " + std::to_string(v) + " at (" +
                             std::to_string(int(ref.kind)) + ", " + std::to_string(ref.Index) + ")";
    Case(what, w, h, [&](Editor& ed) {
      ed.StoreValue(ref, v);
      ed.ToolBox.PeaksChecked = peaks;
      ed.MenuEffect(id);
      (void)ed.EffectLogLine();
      if (w != 1 || h != 1) return std::string();  // the values do not depend on the size
      IniFile ini;
      SaveEditorSettings(ed, WindowSettings{}, true, ini);
      std::string warning;
      LoadEditorSettings(again.ed, IniFile::Parse(ini.ToText()), nullptr, &warning);
      EXPECT_TRUE(std::isfinite(again.ed.ReadValue(ref))) << what;
      return std::string();
    });
  }
};

TEST_F(Sweep, EveryNumberOfEveryLineTakesHostileTexts) {
  std::vector<std::string> lines = EffectLines();
  lines.insert(lines.end(), std::begin(kCommandLines), std::end(kCommandLines));
  ASSERT_GT(lines.size(), 40u);
  for (const std::string& line : lines) {
    Case(line, 5, 3, [&](Editor& ed) {  // the line itself is understood
      EXPECT_NE(ReplayLine(ed, line).Status, ReplayStatus::Error) << line;
      return std::string();
    });
    std::string mutated;
    for (size_t i = 0; ReplaceNumber(line, i, "0", mutated); ++i)
      for (const char* text : kHostileTexts) {
        ReplaceNumber(line, i, text, mutated);
        for (const auto& s : kSizes) Replay(mutated, s[0], s[1]);
      }
  }
  std::cout << cases << " replayed lines\n";
}

// Stored values that no line can carry (infinities, NaN, beyond the single
// range) through the menu command, the tool box, the log line and the
// settings writer.
TEST_F(Sweep, EveryStoredValueOfEveryEffectTakesHostileValues) {
  ScriptedUi probeUi;
  Editor probe(probeUi);
  for (const EffectInfo& e : kCatalogue) {
    if (!probe.EffectAvailable(e.Id)) continue;
    std::set<std::pair<int, int>> seen;
    std::vector<ValueRef> refs;
    auto add = [&](const ValueRef& r) {
      if (r.kind != ValueRef::None && r.kind != ValueRef::TextureSource && seen.insert({r.kind, r.Index}).second)
        refs.push_back(r);
    };
    for (int i = 0; i < e.ParamCount; ++i) add(e.Params[size_t(i)].Ref), add(e.Params[size_t(i)].AltRef);
    if (refs.empty()) refs.push_back({});  // effects without values still meet every size
    for (const ValueRef& ref : refs)
      for (const double v : kHostileValues) {
        if (ref.kind == ValueRef::None && v != -1) continue;
        // The 4097-wide image (wider than any row buffer of 4096) for the integer extremes only.
        const bool wide = v == 2147483647.0 || v == -2147483648.0 || v == -1;
        for (const bool peaks : {true, false}) {
          if (!peaks && !e.PeaksAndWrap) continue;
          for (const auto& s : kSizes) RunStored(e.Id, ref, v, s[0], s[1], peaks);
          if (wide) RunStored(e.Id, ref, v, 4097, 3, peaks);
        }
      }
  }
  std::cout << cases << " stored-value cases\n";
}

}  // namespace
}  // namespace vorq
