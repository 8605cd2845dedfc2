// Image ▸ Seamless: Edge Merge and 4 Way Flip, and the Test Tiles sample lines.
#include <array>
#include <string>

#include "core/effects/geometry.h"
#include "core/effects/seamless.h"
#include "core/oplog/line_shapes.h"
#include "editor/editor.h"
#include "editor/commands/geometry.h"

namespace vorq {
namespace {

// "" when 4 Way Flip can double a W x H image.
std::string FourWayFlipRefusal(int w, int h) {
  if (SizeAllowed(int64_t(2) * w, int64_t(2) * h)) return {};
  return "4 Way Flip would make the image " + std::to_string(int64_t(2) * w) + " x " + std::to_string(int64_t(2) * h) +
         " pixels, more than the largest image (" + std::to_string(kMaxSide) + " pixels a side and " +
         std::to_string(kMaxPixels) + " pixels in all).";
}

}  // namespace

void EdgeMerge(Editor& ed, int fraction) {
  if (fraction != 16 && fraction != 8 && fraction != 4) return;
  const SeamAxis axis = ed.ToolBox.Seams;
  ed.Run({.Pixels = [&] { EdgeMerge(ed.WorkSurface, fraction, axis); },
          // Apply after an Edge Merge writes this name before the current effect's values.
          .After = [&] { ed.EffectName = "EdgeMerge" + std::to_string(fraction); },
          .Line = [&] {
            const int k = fraction == 16 ? 0 : fraction == 8 ? 1 : 2;
            if (axis == SeamAxis::Both) return WriteLine(std::array{LineKind::EdgeMerge16, LineKind::EdgeMerge8, LineKind::EdgeMerge4}[k]);
            return WriteLine(std::array{LineKind::EdgeMerge16Axis, LineKind::EdgeMerge8Axis, LineKind::EdgeMerge4Axis}[k],
                             {Int(int(axis))});
          }});
}

void N1161Click(Editor& ed) { EdgeMerge(ed, 16); }
void N181Click(Editor& ed) { EdgeMerge(ed, 8); }
void N141Click(Editor& ed) { EdgeMerge(ed, 4); }

bool FourWayFlip1Click(Editor& ed) {
  if (std::string err = FourWayFlipRefusal(ed.WorkSurface.Width(), ed.WorkSurface.Height()); !err.empty()) {
    ed.Ui().ShowMessage(err);
    return false;
  }
  ed.Run({.Pixels = [&] { FourWayFlip(ed.WorkSurface, ed.ScratchSurface); },
          .Line = [] { return WriteLine(LineKind::FourWayFlip); }});
  return true;
}

const SampleTextLine kSampleTextLines[16] = {
    {0, 0, 0, 0},         {36, 255, 255, 255},  {72, 0, 255, 255},    {108, 0, 0, 255},
    {144, 255, 0, 0},     {180, 255, 0, 255},   {216, 128, 0, 128},   {252, 255, 255, 0},
    {288, 0, 128, 0},     {324, 0, 0, 128},     {360, 0, 255, 0},     {396, 128, 0, 0},
    {432, 128, 128, 0},   {468, 128, 128, 128}, {504, 0, 128, 128},   {540, 192, 192, 192},
};

}  // namespace vorq
