#include "editor/colour_commands.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/oplog/log_format.h"
#include "editor/editor.h"

namespace vorq {
namespace {

constexpr std::string_view kSliderPrefix = "ToolBox Sliders to positions:";

int Limit(int position) { return std::clamp(position, kSliderMin, kSliderMax); }

// The six bars in log order with their labels.
std::array<std::pair<const char*, int SliderPositions::*>, 6> Bars() {
  return {{{"Lightness", &SliderPositions::Lightness},
           {"Contrast", &SliderPositions::Contrast},
           {"Saturation", &SliderPositions::Saturation},
           {"Red", &SliderPositions::Red},
           {"Green", &SliderPositions::Green},
           {"Blue", &SliderPositions::Blue}}};
}

}  // namespace

SliderAmounts SliderPositions::Amounts() const {
  SliderAmounts a;
  a.Lightness = Limit(Lightness) - kSliderNeutral;
  a.Contrast = Limit(Contrast) - kSliderNeutral;
  a.Saturation = Limit(Saturation);
  a.Red = Limit(Red) - kSliderNeutral;
  a.Green = Limit(Green) - kSliderNeutral;
  a.Blue = Limit(Blue) - kSliderNeutral;
  return a;
}

std::string SliderLogLine(const SliderPositions& p) {
  std::string line(kSliderPrefix);
  line += " ";  // two blanks before the first label
  bool first = true;
  for (const auto& [label, member] : Bars()) {
    line += first ? " " : ", ";
    first = false;
    line += std::string(label) + " " + FormatInt(p.*member - kSliderNeutral);
  }
  return line;
}

void SliderPreview(Editor& ed, const SliderPositions& positions, TFastDIB& preview) {
  // Always from WorkSurface as it stands, never from the previous preview.
  ApplySliderChain(ed.WorkSurface, preview, positions.Amounts());
}

void SliderPreview(Editor& ed, const SliderPositions& positions) { SliderPreview(ed, positions, ed.ScratchSurface); }

void bGoodClick(Editor& ed, SliderPositions& positions, TFastDIB& preview) {
  if (preview.Width() != ed.WorkSurface.Width() || preview.Height() != ed.WorkSurface.Height())
    SliderPreview(ed, positions, preview);
  ed.PushUndo();
  CopySurface(preview, ed.WorkSurface);
  ed.WriteLog(SliderLogLine(positions));
  positions = SliderPositions{};
  ed.RefreshImage();
}

void bGoodClick(Editor& ed, SliderPositions& positions) { bGoodClick(ed, positions, ed.ScratchSurface); }

void bBadClick(Editor& ed, SliderPositions& positions) {
  positions = SliderPositions{};
  ed.RefreshImage();
}

bool ReplayColourLine(Editor& ed, const std::string& rawLine, std::string& error) {
  std::string_view line = rawLine;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  if (line.substr(0, kSliderPrefix.size()) != kSliderPrefix) return false;
  error.clear();
  line.remove_prefix(kSliderPrefix.size());
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);

  // "Label value" pairs; a bar the line leaves out stays at its neutral
  // position, as the bars always are between two OKs.
  SliderPositions positions;
  std::array<bool, 6> seen{};
  const auto bars = Bars();
  for (const std::string& pair : SplitLogLine(line)) {
    bool matched = false;
    for (size_t i = 0; i < bars.size() && !matched; ++i) {
      const std::string prefix = std::string(bars[i].first) + " ";
      if (pair.compare(0, prefix.size(), prefix) != 0) continue;
      matched = true;
      if (seen[i]) {
        error = "\"" + std::string(kSliderPrefix) + "\" names " + bars[i].first + " twice";
        return true;
      }
      seen[i] = true;
      const std::string text = pair.substr(prefix.size());
      const auto v = ParseInt(text);
      if (!v) {
        error = NotAnInteger(text);
        return true;
      }
      if (*v < kSliderMin - kSliderNeutral || *v > kSliderMax - kSliderNeutral) {
        error = std::string(bars[i].first) + " " + text + " is outside -255 .. 255";
        return true;
      }
      positions.*(bars[i].second) = *v + kSliderNeutral;
    }
    if (!matched) {
      error = "\"" + std::string(kSliderPrefix) + "\" has no value \"" + pair + "\"";
      return true;
    }
  }
  SliderPreview(ed, positions);
  bGoodClick(ed, positions);
  return true;
}

}  // namespace vorq
