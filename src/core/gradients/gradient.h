// The two-colour gradient renderer: eight styles drawn into a bitmap of the
// renderer's size, rendered again only after a property or the size changed.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/surface/fast_dib.h"

namespace vorq {

enum class TGradientStyle : uint8_t {
  gsHorizontal,
  gsVertical,
  gsElliptic,
  gsRectangle,
  gsVertCenter,
  gsHorizCenter,
  gsRadial1,
  gsRadial2
};

// The designer's style box: "Vertical", "VertCenter", "Horizontal",
// "HorizCenter", "Rectangle", "Elliptic", "Radial1", "Radial2" (that order).
extern const char* const kGradientStyleItems[8];
const char* GradientStyleName(TGradientStyle style);
// Exact, case-sensitive; false (style unchanged) for any other text.
bool GradientStyleFromName(std::string_view name, TGradientStyle& style);

// Steps of the band styles are kept within 1 .. kMaxGradientSteps (more
// bands than that only add work: a channel has 256 values).
constexpr int kMaxGradientSteps = 4096;

struct GradientParams {
  uint32_t BeginColor = 0x800000;  // 0x00BBGGRR
  uint32_t EndColor = 0xFFFF00;
  TGradientStyle Style = TGradientStyle::gsVertical;
  int Steps = 255;
  bool Ctl3D = false;
  int StartAngle = 0;  // degrees, the radial styles only
};

// Step k of N between the two colours: begin + k * (end - begin) div N per
// channel, the product in 64 bits, div truncating. N = 0 gives begin.
TPixel24 GradientStep(uint32_t BeginColor, uint32_t EndColor, int64_t k, int64_t N);

// Renders the style over the whole of Target at its current size, then the
// 3-D frame when Ctl3D is set. Every pixel is written: places that no shape
// of the style reaches (the rectangle style's outer columns on images wider
// than twice Steps, corners of tiny images) get the begin colour.
void RenderGradient(TFastDIB& Target, const GradientParams& p);

// Sunken frame: grey top/left and white bottom/right on the outer ring,
// black top/left and silver bottom/right on the ring inside it.
void DrawFrame3D(TFastDIB& Target);

// The gradient control without its window: properties, size and the cached
// GradientBitmap. Setters return true when the value changed (and the
// bitmap must be rendered again); the view then repaints.
class TVorqGradient {
 public:
  TVorqGradient();  // 75 x 75, navy to aqua, vertical, 255 steps

  const GradientParams& Params() const { return p_; }
  uint32_t BeginColor() const { return p_.BeginColor; }
  uint32_t EndColor() const { return p_.EndColor; }
  TGradientStyle GradientStyle() const { return p_.Style; }
  int Steps() const { return p_.Steps; }
  bool Ctl3D() const { return p_.Ctl3D; }
  int StartAngle() const { return p_.StartAngle; }
  bool SetBeginColor(uint32_t c);
  bool SetEndColor(uint32_t c);
  bool SetGradientStyle(TGradientStyle s);
  bool SetSteps(int steps);  // clamped to 1 .. kMaxGradientSteps
  bool SetCtl3D(bool on);
  bool SetStartAngle(int degrees);

  // The control's size; a change is noticed by the next Paint.
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int w) { width_ = w; }
  void SetHeight(int h) { height_ = h; }

  // True when the next Paint renders.
  bool NeedsRender() const;
  // Renders when needed and returns the bitmap. A size that SizeAllowed
  // refuses leaves an empty bitmap.
  const TFastDIB& Paint();
  // The bitmap as last painted.
  const TFastDIB& GradientBitmap() const { return bitmap_; }

 private:
  bool Set(bool changed);
  GradientParams p_;
  int width_ = 75, height_ = 75;
  bool dirty_ = true;
  TFastDIB bitmap_;
};

}  // namespace vorq
