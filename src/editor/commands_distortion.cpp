// The wave and lens distortions inside the pipeline: each runs with the
// stored values (and the live "Use Peaks" / "Wrap" check boxes).
#include <string>

#include "core/effects/distortions.h"
#include "editor/editor.h"

namespace vorq {

bool HasDistortionEffect(int id) {
  switch (id) {
    case 15: case 16: case 17: case 18: case 19: case 20: case 21: case 62: case 64: case 65: return true;
    default: return false;
  }
}

namespace {

// A sine height limited to the image is shown in the tool box's second box.
void ShowLimitedHeight(Editor& ed, int stored, int used) {
  if (used == stored) return;
  ed.ToolBox.Box(Box::eAmtSecond).Text = std::to_string(used);
  ed.Ui().ToolBoxChanged();
}

}  // namespace

bool RunDistortionEffect(Editor& ed, int id) {
  if (!HasDistortionEffect(id)) return false;
  if (id == 20 && (ed.WorkSurface.Width() != 256 || ed.WorkSurface.Height() != 256) &&
      ed.Ui().Ask("Circular only works correctly with a 256 x 256 image. OK?", false) != UiPort::Answer::Yes)
    return false;  // before the snapshot: nothing changes

  ed.BeginEffect();
  TFastDIB& work = ed.WorkSurface;
  TFastDIB& scratch = ed.ScratchSurface;
  const bool peaks = ed.ToolBox.PeaksChecked, wrap = ed.ToolBox.WrapChecked;
  switch (id) {
    case 15: {
      const int stored = ed.EffectVals[15];
      const double value = ed.Second[peaks ? UDPeakVal : UDWavVal];
      ShowLimitedHeight(ed, stored, SineWaveUD(work, scratch, stored, value, peaks, wrap));
      break;
    }
    case 16: {
      const int stored = ed.EffectVals[16];
      const double value = ed.Second[peaks ? LRPeakVal : LRWavVal];
      ShowLimitedHeight(ed, stored, SineWaveLR(work, scratch, stored, value, peaks, wrap));
      break;
    }
    case 17:
      SineWaveBoth(work, scratch, ed.EffectVals[15], ed.EffectVals[16], ed.Second[LRPeakVal], ed.Second[UDPeakVal]);
      break;
    case 18: Twist(work, scratch, ed.EffectVals[18]); break;
    case 19: FishEye(work, scratch, float(ed.Second[FishVal])); break;
    case 20: Circular(work, scratch); break;
    case 21: Astroid(work, ed.EffectVals[21]); break;
    case 62: RippleTooth(work, ed.EffectVals[62]); break;
    case 64:
      Waves(work, ed.EffectVals[64], int(ed.Second[WvLenVal]), ed.Second[WvPhsVal], ed.Second[WvRflVal] != 0);
      break;
    case 65: {
      // The corrected pinch and radius stay stored.
      double& pinch = ed.Second[WhPchVal];
      double& radius = ed.Second[WhRadVal];
      if (pinch > 1.0) pinch = 1.0;
      if (pinch < -1.0) pinch = -1.0;
      if (radius < 0.0) radius = 0.0;
      WhirlPinch(work, ed.EffectVals[65], pinch, radius);
      break;
    }
  }
  ed.EndEffect();
  return true;
}

}  // namespace vorq
