#include "editor/commands/sliders.h"

#include <algorithm>

#include "core/oplog/line_shapes.h"
#include "editor/editor.h"

namespace vorq {
namespace {
int Limit(int position) { return std::clamp(position, kSliderMin, kSliderMax); }
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
  auto n = [](int position) { return Int(position - kSliderNeutral); };
  return WriteLine(LineKind::Sliders,
                   {n(p.Lightness), n(p.Contrast), n(p.Saturation), n(p.Red), n(p.Green), n(p.Blue)});
}

void SliderPreview(Editor& ed, const SliderPositions& positions, TFastDIB& preview) {
  ed.EndPreview();  // an effect's live preview is not the image
  // Always from WorkSurface as it stands, never from the previous preview.
  ApplySliderChain(ed.WorkSurface, preview, positions.Amounts());
}

void SliderPreview(Editor& ed, const SliderPositions& positions) { SliderPreview(ed, positions, ed.ScratchSurface); }

void bGoodClick(Editor& ed, SliderPositions& positions, TFastDIB& preview) {
  if (preview.Width() != ed.WorkSurface.Width() || preview.Height() != ed.WorkSurface.Height())
    SliderPreview(ed, positions, preview);
  const std::string line = SliderLogLine(positions);
  ed.Run({.Busy = false,
          .Pixels = [&] { CopySurface(preview, ed.WorkSurface); },
          .Refresh = false,
          .After = [&] { positions = SliderPositions{}; },
          .Line = [&] { return line; }});
  ed.RefreshImage();
}

void bGoodClick(Editor& ed, SliderPositions& positions) { bGoodClick(ed, positions, ed.ScratchSurface); }

void bBadClick(Editor& ed, SliderPositions& positions) {
  positions = SliderPositions{};
  ed.RefreshImage();
}

}  // namespace vorq
