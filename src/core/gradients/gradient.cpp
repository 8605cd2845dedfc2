#include "core/gradients/gradient.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "core/raster/fill.h"
#include "core/raster/pen.h"
#include "core/util/arith.h"

namespace vorq {

const char* const kGradientStyleItems[8] = {"Vertical",  "VertCenter", "Horizontal", "HorizCenter",
                                            "Rectangle", "Elliptic",   "Radial1",    "Radial2"};

namespace {

constexpr TGradientStyle kItemStyles[8] = {
    TGradientStyle::gsVertical,  TGradientStyle::gsVertCenter, TGradientStyle::gsHorizontal,
    TGradientStyle::gsHorizCenter, TGradientStyle::gsRectangle, TGradientStyle::gsElliptic,
    TGradientStyle::gsRadial1,   TGradientStyle::gsRadial2};

using Shape = FillShape;
using Kind = FillShape::Kind;

// Copies row 0 into every other row.
void RepeatFirstRow(TFastDIB& t) {
  const size_t n = size_t(t.Width()) * 3;
  for (int y = 1; y < t.Height(); ++y) std::memcpy(t.Row(y), t.Row(0), n);
}

// Band i of Steps + 1 bands laid over n places covers i * n div (Steps + 1)
// up to (i + 1) * n div (Steps + 1); the band of place x, in closed form so
// that the work does not grow with Steps.
int64_t BandOf(int64_t x, int64_t n, int64_t steps) { return ((x + 1) * (steps + 1) - 1) / n; }

// Sine of whole degrees in extended precision, exact where it is rational.
long double SinDegrees(int64_t a) {
  const int64_t d = ((a % 360) + 360) % 360;
  switch (d) {
    case 0: case 180: return 0.0L;
    case 30: case 150: return 0.5L;
    case 90: return 1.0L;
    case 210: case 330: return -0.5L;
    case 270: return -1.0L;
    default: return std::sin(static_cast<long double>(d) * 3.14159265358979323846264338327950288L / 180.0L);
  }
}

// Pies of the radial styles: wedge from direction a to a + 2 (degrees,
// clockwise from 12 o'clock) with the colour step k of n; each run covers
// `count` wedges starting at `first`, its steps counting up or down.
struct RadialFrame {
  int64_t cx, cy, r;
  int boxL, boxT, boxR, boxB;
  int64_t PointX(int64_t a) const { return cx + int64_t(std::nearbyint(r * SinDegrees(a))); }
  int64_t PointY(int64_t a) const { return cy - int64_t(std::nearbyint(r * SinDegrees(a + 90))); }
};

void AddRadialRun(std::vector<Shape>& shapes, const RadialFrame& f, const GradientParams& p, int64_t first,
                  int64_t count, int64_t n, bool up) {
  for (int64_t j = 0; j < count; ++j) {
    const int64_t a = first + j;
    Shape s;
    s.kind = Kind::Pie;
    s.x0 = f.boxL;
    s.y0 = f.boxT;
    s.x1 = f.boxR;
    s.y1 = f.boxB;
    s.ax = int(f.PointX(a));
    s.ay = int(f.PointY(a));
    s.bx = int(f.PointX(a + 2));
    s.by = int(f.PointY(a + 2));
    s.Color = GradientStep(p.BeginColor, p.EndColor, up ? j : count - 1 - j, n);
    shapes.push_back(s);
  }
}

void RenderRadial(TFastDIB& t, const GradientParams& p, bool twoSweeps) {
  const int W = t.Width(), H = t.Height();
  RadialFrame f{W / 2, H / 2, std::max(W, H) / 2, -(W / 4), -(H / 4), W + W / 4, H + H / 4};
  const int64_t S = p.StartAngle;
  std::vector<Shape> shapes;
  shapes.reserve(360);
  if (!twoSweeps) {
    AddRadialRun(shapes, f, p, S, 180, 180, true);         // c(a - S, 180)
    AddRadialRun(shapes, f, p, S + 180, 180, 180, false);  // c(S + 359 - a, 180)
  } else {
    for (int q = 0; q < 4; ++q) AddRadialRun(shapes, f, p, S + 90 * q, 90, 90, q % 2 == 0);
  }
  FillShapes(t, shapes, PixelFromColour(p.BeginColor));
}

void RenderRectangle(TFastDIB& t, const GradientParams& p) {
  const int W = t.Width(), H = t.Height(), steps = p.Steps;
  double x1 = 0, y1 = 0, x2 = W + 2, y2 = H + 2;
  const double dx = double(W) / 2 / steps, dy = double(H) / 2 / steps;
  std::vector<Shape> shapes;
  shapes.reserve(size_t(steps) + 1);
  for (int i = 0; i <= steps; ++i) {
    x1 += dx;
    y1 += dy;
    x2 -= dx;
    y2 -= dy;
    shapes.push_back(Shape{Kind::Rectangle, int(Trunc(x1)), int(Trunc(y1)), int(Trunc(x2)), int(Trunc(y2)), 0, 0, 0,
                           0, GradientStep(p.BeginColor, p.EndColor, i, steps)});
  }
  FillShapes(t, shapes, PixelFromColour(p.BeginColor));
}

void RenderElliptic(TFastDIB& t, const GradientParams& p) {
  const int W = t.Width(), H = t.Height();
  double x1 = -(W / 4.0), x2 = W + W / 4.0 + 4, y1 = -(H / 4.0), y2 = H + H / 4.0 + 4;
  const double dx = (W / 4.0 + W / 2.0) / 155, dy = (H / 4.0 + H / 2.0) / 155;
  std::vector<Shape> shapes;
  shapes.reserve(156);
  for (int i = 0; i <= 155; ++i) {
    x1 += dx;
    x2 -= dx;
    y1 += dy;
    y2 -= dy;
    shapes.push_back(Shape{Kind::Ellipse, int(Trunc(x1)), int(Trunc(y1)), int(Trunc(x2)), int(Trunc(y2)), 0, 0, 0, 0,
                           GradientStep(p.BeginColor, p.EndColor, i, 155)});
  }
  FillShapes(t, shapes, PixelFromColour(p.BeginColor));
}

// Frame ring `inset` pixels in from the border: top and left in `top`, then
// bottom and right in `bottom`, which so takes the two far corners (and the
// whole ring when it is one pixel wide or high).
void Ring(TFastDIB& t, int inset, TPixel24 top, TPixel24 bottom) {
  const int L = inset, T = inset, R = t.Width() - 1 - inset, B = t.Height() - 1 - inset;
  if (L > R || T > B) return;
  FillPixels(t.Row24(T) + L, size_t(R - L + 1), top);
  for (int y = T; y <= B; ++y) t.Row24(y)[L] = top;
  for (int y = T; y <= B; ++y) t.Row24(y)[R] = bottom;
  FillPixels(t.Row24(B) + L, size_t(R - L + 1), bottom);
}

}  // namespace

const char* GradientStyleName(TGradientStyle style) {
  for (int i = 0; i < 8; ++i)
    if (kItemStyles[i] == style) return kGradientStyleItems[i];
  return kGradientStyleItems[0];
}

bool GradientStyleFromName(std::string_view name, TGradientStyle& style) {
  for (int i = 0; i < 8; ++i)
    if (name == kGradientStyleItems[i]) {
      style = kItemStyles[i];
      return true;
    }
  return false;
}

TPixel24 GradientStep(uint32_t BeginColor, uint32_t EndColor, int64_t k, int64_t N) {
  auto ch = [&](int shift) {
    const int64_t c1 = (BeginColor >> shift) & 0xFF, c2 = (EndColor >> shift) & 0xFF;
    return uint8_t(N == 0 ? c1 : c1 + k * (c2 - c1) / N);
  };
  return MakePixel(ch(0), ch(8), ch(16));
}

void RenderGradient(TFastDIB& t, const GradientParams& p) {
  if (t.Empty()) return;
  const int W = t.Width(), H = t.Height();
  GradientParams q = p;
  q.Steps = std::clamp(p.Steps, 1, kMaxGradientSteps);
  switch (q.Style) {
    case TGradientStyle::gsHorizontal:
      for (int x = 0; x < W; ++x)
        t.Row24(0)[x] = GradientStep(q.BeginColor, q.EndColor, BandOf(x, W, q.Steps), q.Steps);
      RepeatFirstRow(t);
      break;
    case TGradientStyle::gsVertical:
      for (int y = 0; y < H; ++y)
        FillPixels(t.Row24(y), size_t(W), GradientStep(q.BeginColor, q.EndColor, BandOf(y, H, q.Steps), q.Steps));
      break;
    case TGradientStyle::gsVertCenter:
      // Rows i and H - i get step i of H div 2.
      for (int y = 0; y < H; ++y)
        FillPixels(t.Row24(y), size_t(W), GradientStep(q.BeginColor, q.EndColor, std::min(y, H - y), H / 2));
      break;
    case TGradientStyle::gsHorizCenter:
      for (int x = 0; x < W; ++x) t.Row24(0)[x] = GradientStep(q.BeginColor, q.EndColor, std::min(x, W - x), W / 2);
      RepeatFirstRow(t);
      break;
    case TGradientStyle::gsRectangle: RenderRectangle(t, q); break;
    case TGradientStyle::gsElliptic: RenderElliptic(t, q); break;
    case TGradientStyle::gsRadial1: RenderRadial(t, q, false); break;
    case TGradientStyle::gsRadial2: RenderRadial(t, q, true); break;
  }
  if (q.Ctl3D) DrawFrame3D(t);
}

void DrawFrame3D(TFastDIB& t) {
  if (t.Empty()) return;
  Ring(t, 0, PixelFromColour(0x808080), PixelFromColour(0xFFFFFF));
  Ring(t, 1, PixelFromColour(0x000000), PixelFromColour(0xC0C0C0));
}

TVorqGradient::TVorqGradient() = default;

bool TVorqGradient::Set(bool changed) {
  if (changed) dirty_ = true;
  return changed;
}

bool TVorqGradient::SetBeginColor(uint32_t c) { return Set(std::exchange(p_.BeginColor, c) != c); }
bool TVorqGradient::SetEndColor(uint32_t c) { return Set(std::exchange(p_.EndColor, c) != c); }
bool TVorqGradient::SetGradientStyle(TGradientStyle s) { return Set(std::exchange(p_.Style, s) != s); }
bool TVorqGradient::SetSteps(int steps) {
  steps = std::clamp(steps, 1, kMaxGradientSteps);
  return Set(std::exchange(p_.Steps, steps) != steps);
}
bool TVorqGradient::SetCtl3D(bool on) { return Set(std::exchange(p_.Ctl3D, on) != on); }
bool TVorqGradient::SetStartAngle(int degrees) { return Set(std::exchange(p_.StartAngle, degrees) != degrees); }

bool TVorqGradient::NeedsRender() const {
  return dirty_ || bitmap_.Width() != width_ || bitmap_.Height() != height_;
}

const TFastDIB& TVorqGradient::Paint() {
  if (!NeedsRender()) return bitmap_;
  if (bitmap_.SetSize(width_, height_, 24, 0)) RenderGradient(bitmap_, p_);
  dirty_ = false;
  return bitmap_;
}

}  // namespace vorq
