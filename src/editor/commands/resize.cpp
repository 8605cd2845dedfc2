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
  if (!ed.ScratchSurface.Reshape(w, h)) return NoMemory(w, h);
  ed.Run({.Busy = false,
          .Pixels = [&] {
            // Every pixel of the scratch surface is drawn; it then becomes the image.
            ed.WorkSurface.StretchDraw(ed.ScratchSurface, 0, 0, w, h);
            ed.WorkSurface.Swap(ed.ScratchSurface);
          },
          .Line = [&] { return WriteLine(LineKind::ResizeFast, {Int(w), Int(h)}); }});
  return {};
}

std::string ResizeSmoothTo(Editor& ed, int w, int h) {
  if (std::string err = CheckNewSize(w, h); !err.empty()) return err;
  // Resampled into the scratch surface before the snapshot, so that a
  // failure leaves the image and the undo ring as they were.
  const bool same = w == ed.WorkSurface.Width() && h == ed.WorkSurface.Height();
  if (!same && !ResizeBilinearInto(ed.WorkSurface, ed.ScratchSurface, w, h, 0)) return NoMemory(w, h);
  ed.Run({.Pixels = [&] {
            if (!same) ed.WorkSurface.Swap(ed.ScratchSurface);
          },
          .Line = [&] { return WriteLine(LineKind::ResizeSmooth, {Int(w), Int(h)}); }});
  return {};
}

}  // namespace vorq
