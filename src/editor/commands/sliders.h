// The tool box's colour sliders, editor side. The Qt panel (pnlColors) owns
// a SliderPositions mirroring its six scroll bars and calls:
//
//   any bar's scroll event (sbBrightScroll), with the bars' new positions:
//       SliderPreview(ed, positions);            // recomputes ed.ScratchSurface
//     then show ed.ScratchSurface in the image view instead of WorkSurface,
//     disable the main window (the tool box stays usable), show bGood and
//     bBad, and on the end-of-scroll code move the focus to bGood.
//   bGood:  bGoodClick(ed, positions);  // snapshot, commit, log line, bars to 255
//   bBad:   bBadClick(ed, positions);   // WorkSurface shown again, bars to 255
//     after either: set the six bars from `positions` without firing a
//     preview, enable the main window, hide bGood and bBad, focus the main
//     window. Both end with RefreshImage, so ImageChanged() asks the view to
//     show WorkSurface again.
//
// Every preview starts from WorkSurface as it is, so earlier previews never
// accumulate; WorkSurface itself changes only on OK.
#pragma once

#include <string>

#include "core/effects/colour_sliders.h"
#include "core/surface/fast_dib.h"

namespace vorq {

class Editor;

// Scroll bar range, paging step and neutral position of all six bars.
constexpr int kSliderMin = 0;
constexpr int kSliderMax = 510;
constexpr int kSliderLargeChange = 20;
constexpr int kSliderNeutral = 255;

// Positions of sbBright, sbContrast, sbSaturation, sbRed, sbGreen, sbBlue.
struct SliderPositions {
  int Lightness = kSliderNeutral;
  int Contrast = kSliderNeutral;
  int Saturation = kSliderNeutral;
  int Red = kSliderNeutral;
  int Green = kSliderNeutral;
  int Blue = kSliderNeutral;

  bool operator==(const SliderPositions&) const = default;
  // What each bar passes to its adjustment: position - 255, except
  // Saturation, which passes its position. Positions are first limited to
  // 0 .. 510.
  SliderAmounts Amounts() const;
};

// "ToolBox Sliders to positions:  Lightness L, Contrast C, Saturation S,
// Red r, Green g, Blue b", each number the position minus 255.
std::string SliderLogLine(const SliderPositions& positions);

// preview := WorkSurface with lightness, contrast, saturation and the channel
// shifts of `positions` applied (same size as WorkSurface).
void SliderPreview(Editor& ed, const SliderPositions& positions, TFastDIB& preview);
void SliderPreview(Editor& ed, const SliderPositions& positions);  // into ed.ScratchSurface

// OK: PushUndo, WorkSurface := preview, the log line (when logging is on),
// positions back to neutral, RefreshImage. The Effect id and the effect
// pipeline are left alone. A preview whose size does not match WorkSurface
// (none was built) is recomputed from `positions` first.
void bGoodClick(Editor& ed, SliderPositions& positions, TFastDIB& preview);
void bGoodClick(Editor& ed, SliderPositions& positions);  // preview in ed.ScratchSurface

// Cancel: positions back to neutral and RefreshImage; no snapshot, no log
// line, WorkSurface untouched.
void bBadClick(Editor& ed, SliderPositions& positions);

}  // namespace vorq
