// ReSize Fast and ReSize Smooth to a chosen size.
#include "core/effects/geometry.h"
#include "core/oplog/line_shapes.h"
#include "editor/commands/geometry.h"

namespace vorq {
namespace {
std::string NoMemory(int w, int h) {
  return "Not enough memory for a " + std::to_string(w) + " x " + std::to_string(h) + " image.";
}
}  // namespace

std::string ResizeFastTo(Editor& ed, int w, int h) {
  if (std::string err = CheckNewSize(w, h); !err.empty()) return err;
  if (!ed.ScratchSurface.SetSize(w, h, 24, 0)) return NoMemory(w, h);
  ed.Run({.Busy = false,
          .Pixels = [&] {
            ed.WorkSurface.StretchDraw(ed.ScratchSurface, 0, 0, w, h);
            CopySurface(ed.ScratchSurface, ed.WorkSurface);
          },
          .Line = [&] { return WriteLine(LineKind::ResizeFast, {Int(w), Int(h)}); }});
  return {};
}

std::string ResizeSmoothTo(Editor& ed, int w, int h) {
  if (std::string err = CheckNewSize(w, h); !err.empty()) return err;
  // Resampled before the snapshot so that a failure leaves everything as it was.
  TFastDIB resized;
  const bool same = w == ed.WorkSurface.Width() && h == ed.WorkSurface.Height();
  if (!same && !ResizeBilinearInto(ed.WorkSurface, resized, w, h, 0)) return NoMemory(w, h);
  ed.Run({.Pixels = [&] {
            if (!same) ed.WorkSurface = std::move(resized);
          },
          .Line = [&] { return WriteLine(LineKind::ResizeSmooth, {Int(w), Int(h)}); }});
  return {};
}

}  // namespace vorq
