// The effect routines behind each Effect id, run with the stored values.
#include "core/effects/filters.h"
#include "editor/editor.h"
#include "editor/family_commands.h"

namespace vorq {

bool Editor::EffectAvailable(int id) const {
  return (id >= 0 && id <= 14) || id == 45 || id == 59 || id == 60 || HasDistortionEffect(id) ||
         HasColourEffect(id) || HasGeometryEffect(id);
}

bool Editor::RunEffect(int id) {
  if (const FixedFilter* f = FindFixedFilter(id)) {
    BeginEffect();
    Convolve3x3(f->Kernel, f->Divisor, WorkSurface);
    EndEffect();
    return true;
  }
  switch (id) {
    case 6:
      BeginEffect();
      ClassicEmboss(WorkSurface, ScratchSurface, EffectVals[6]);
      EndEffect();
      return true;
    case 13:
      BeginEffect();
      GaussianBlurCommand(WorkSurface, ScratchSurface, EffectVals[13]);
      EndEffect();
      return true;
    case 59:
      BeginEffect();
      SplitBlur(WorkSurface, EffectVals[59]);
      EndEffect();
      return true;
    case 60:
      if (EffectVals[60] > kMaxSplitGaussAmount) {
        ui_.ShowMessage("Split Gauss runs one pass per unit of its Amount; the Amount must be at most " +
                        std::to_string(kMaxSplitGaussAmount) + ", not " + std::to_string(EffectVals[60]) + ".");
        return false;
      }
      BeginEffect();
      SplitGauss(WorkSurface, EffectVals[60]);
      EndEffect();
      return true;
    default:
      return RunDistortionEffect(*this, id) || RunColourEffect(*this, id) || RunGeometryEffect(*this, id);
  }
}

}  // namespace vorq
