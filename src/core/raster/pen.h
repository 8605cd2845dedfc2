// Pens on a 24-bit surface: the twelve raster modes, wide round pens and
// lines drawn with them.
//
// Line rasterisation: the classic integer line. Along the major axis every
// pixel from the start up to, but not including, the end point is visited;
// the minor coordinate of step i is start + round(i * dMinor / dMajor), a
// half rounding towards the start (the same pixels as LineTo in line.h). A
// line from a point to itself draws nothing.
//
// Wide pens: the pen of width w stamps a round disc at every visited point:
// the pixels of the w x w box around the point (offsets -(w-1)/2 .. w/2) whose
// centres lie inside the circle of diameter w. Widths 1 to 3 are therefore a
// single pixel, a 2 x 2 and a 3 x 3 square; 4 and up lose their corners.
// One line changes each pixel at most once, so XOR-type modes never cancel
// out where the discs overlap.
//
// Everything is clipped to the surface: no coordinate or width reads or
// writes outside it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/surface/fast_dib.h"

namespace vorq {

// The Pen menu's order; the index is what the settings file stores.
enum class PenMode : uint8_t {
  Normal,       // P
  MaskNotPen,   // D and not P
  MaskPen,      // D and P
  MaskPenNot,   // P and not D
  MergeNotPen,  // D or not P
  MergePen,     // D or P
  MergePenNot,  // P or not D
  NotCopyPen,   // not P
  NotMaskPen,   // not (D and P)
  NotMergePen,  // not (D or P)
  NotXORPen,    // not (D xor P)
  XORPen,       // D xor P
};
constexpr int kPenModeCount = 12;

// The menu caption of mode 0 .. 11 ("Normal", ... "XORPen"); "Normal" for
// anything else.
const char* PenModeName(int mode);
// The mode of a caption, -1 when there is none (exact, case-sensitive).
int PenModeFromName(std::string_view name);
// An index from outside (settings file, log): 0 .. 11 stay, anything else is Normal.
PenMode PenModeFromIndex(int index);

// One colour byte: destination d combined with pen byte p.
constexpr uint8_t ApplyPenMode(PenMode mode, uint8_t d, uint8_t p) {
  switch (mode) {
    case PenMode::Normal: return p;
    case PenMode::MaskNotPen: return uint8_t(d & ~p);
    case PenMode::MaskPen: return uint8_t(d & p);
    case PenMode::MaskPenNot: return uint8_t(p & ~d);
    case PenMode::MergeNotPen: return uint8_t(d | ~p);
    case PenMode::MergePen: return uint8_t(d | p);
    case PenMode::MergePenNot: return uint8_t(p | ~d);
    case PenMode::NotCopyPen: return uint8_t(~p);
    case PenMode::NotMaskPen: return uint8_t(~(d & p));
    case PenMode::NotMergePen: return uint8_t(~(d | p));
    case PenMode::NotXORPen: return uint8_t(~(d ^ p));
    case PenMode::XORPen: return uint8_t(d ^ p);
  }
  return p;
}

constexpr TPixel24 ApplyPenMode(PenMode mode, TPixel24 d, TPixel24 p) {
  return TPixel24{ApplyPenMode(mode, d.B, p.B), ApplyPenMode(mode, d.G, p.G), ApplyPenMode(mode, d.R, p.R)};
}

// True when applying the mode twice gives the same as once (Normal, the
// masks and merges with P, NotCopyPen); strokes in the other modes must
// touch each pixel only once.
constexpr bool PenModeIdempotent(PenMode mode) {
  switch (mode) {
    case PenMode::Normal:
    case PenMode::MaskNotPen:
    case PenMode::MaskPen:
    case PenMode::MergeNotPen:
    case PenMode::MergePen:
    case PenMode::NotCopyPen: return true;
    default: return false;
  }
}

// A 0x00BBGGRR colour (red in the low byte) as a pixel.
constexpr TPixel24 PixelFromColour(uint32_t c) {
  return TPixel24{uint8_t((c >> 16) & 0xFF), uint8_t((c >> 8) & 0xFF), uint8_t(c & 0xFF)};
}
constexpr uint32_t ColourFromPixel(TPixel24 p) { return uint32_t(p.R) | (uint32_t(p.G) << 8) | (uint32_t(p.B) << 16); }

// Widths are clamped to 1 .. kMaxPenWidth: 0 and below draw one pixel wide,
// anything wider than this is drawn this wide.
constexpr int kMaxPenWidth = 1024;
constexpr int ClampPenWidth(int64_t w) { return w < 1 ? 1 : (w > kMaxPenWidth ? kMaxPenWidth : int(w)); }

struct Pen {
  TPixel24 Color{0, 0, 0};
  int Width = 1;
  PenMode Mode = PenMode::Normal;
};

// Pixel rectangle [Left, Right) x [Top, Bottom); empty when Right <= Left or Bottom <= Top.
struct PixelRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  void Include(const PixelRect& r);
  bool operator==(const PixelRect&) const = default;
};

// The disc of a pen: for each of its Width rows the first and last column
// offset relative to the stamped point (the row offset of row k is k - Half).
struct PenShape {
  explicit PenShape(int width);
  int Width, Half;  // Half = (Width - 1) / 2
  std::vector<int> Lo, Hi;
};

// Combines pixel (x, y) with the pen in its mode; nothing outside the surface.
void PlotPixel(TFastDIB& surface, int x, int y, const Pen& pen);

// Combines the pixels x0 .. x1 (inclusive) of row y with the pen colour in
// mode; clipped to the surface.
void ApplySpan(TFastDIB& surface, int y, int64_t x0, int64_t x1, TPixel24 colour, PenMode mode);

// A line from (x0, y0) towards (x1, y1), the end point excluded. Returns the
// part of the surface it changed.
PixelRect DrawPenLine(TFastDIB& surface, int x0, int y0, int x1, int y1, const Pen& pen);

// Successive lines from a current position (MoveTo / LineTo) that together
// change each pixel at most once, whatever the mode.
class PenStroke {
 public:
  PenStroke(TFastDIB& surface, const Pen& pen, int x, int y);
  // Line from the current position to (x, y), end point excluded; (x, y)
  // becomes the current position. Returns the part of the surface changed.
  PixelRect LineTo(int x, int y);
  int X() const { return x_; }
  int Y() const { return y_; }

 private:
  void ResetMask();
  TFastDIB& surface_;
  Pen pen_;
  PenShape shape_;
  int x_, y_;
  int width_, height_;          // the surface's size when the mask was made
  std::vector<uint64_t> done_;  // one bit per surface pixel; only for modes that are not idempotent
};

struct PenPoint {
  int X = 0, Y = 0;
};

// Lines through the points in order, each pixel changed at most once; the
// last point is excluded like the end of a single line.
PixelRect DrawPolyline(TFastDIB& surface, std::span<const PenPoint> points, const Pen& pen);

}  // namespace vorq
