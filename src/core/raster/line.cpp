#include "core/raster/line.h"

#include <cstdint>

namespace vorq {
namespace {
using Wide = __int128;  // products of two 33-bit lengths

// Smallest step k >= 0 whose minor offset floor((2k*minor + len - 1) / (2len))
// reaches t (t >= 1, minor >= 1).
int64_t FirstStepReaching(int64_t t, int64_t minor, int64_t len) {
  const Wide num = Wide(2) * t * len - len + 1, den = Wide(2) * minor;
  return int64_t((num + den - 1) / den);
}

// The steps klo .. khi of a line from (a0, b0) along the major axis a
// (direction sa, len steps) whose pixels lie within aMin .. aMax, bMin ..
// bMax; false when there are none.
bool ClipSteps(int64_t a0, int64_t b0, int sa, int sb, int64_t len, int64_t minor, int64_t aMin, int64_t aMax,
               int64_t bMin, int64_t bMax, int64_t& klo, int64_t& khi) {
  // Steps whose major coordinate a0 + sa*k lies inside.
  klo = sa > 0 ? aMin - a0 : a0 - aMax;
  khi = sa > 0 ? aMax - a0 : a0 - aMin;
  if (klo < 0) klo = 0;
  if (khi > len - 1) khi = len - 1;
  // Minor offsets m (>= 0, rising with k) whose coordinate b0 + sb*m lies inside.
  int64_t mlo = sb > 0 ? bMin - b0 : b0 - bMax;
  int64_t mhi = sb > 0 ? bMax - b0 : b0 - bMin;
  if (mlo < 0) mlo = 0;
  if (mhi < mlo) return false;
  if (minor == 0) {
    if (mlo > 0) return false;
  } else {
    if (mlo > 0 && FirstStepReaching(mlo, minor, len) > klo) klo = FirstStepReaching(mlo, minor, len);
    const int64_t past = FirstStepReaching(mhi + 1, minor, len) - 1;
    if (past < khi) khi = past;
  }
  return klo <= khi;
}
}  // namespace

void LineTo(TFastDIB& Surface, int x0, int y0, int x1, int y1, TPixel24 Colour) {
  LineToRows(Surface, x0, y0, x1, y1, Colour, 0, Surface.Height());
}

void LineToRows(TFastDIB& Surface, int x0, int y0, int x1, int y1, TPixel24 Colour, int RowBegin, int RowEnd) {
  const int64_t W = Surface.Width(), H = Surface.Height();
  if (Surface.Empty() || W <= 0 || H <= 0) return;
  const int64_t yMin = RowBegin < 0 ? 0 : RowBegin, yMax = (RowEnd > H ? H : RowEnd) - 1;
  if (yMin > yMax) return;
  const int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
  const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  if (adx == 0 && ady == 0) return;
  const bool xMajor = adx >= ady;
  const int64_t len = xMajor ? adx : ady, minor = xMajor ? ady : adx;
  const int64_t a0 = xMajor ? x0 : y0, b0 = xMajor ? y0 : x0;
  const int sa = (xMajor ? dx : dy) < 0 ? -1 : 1, sb = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t aMin = xMajor ? 0 : yMin, aMax = xMajor ? W - 1 : yMax;
  const int64_t bMin = xMajor ? yMin : 0, bMax = xMajor ? yMax : W - 1;
  // Both ends on one side of the clip rectangle: nothing to draw.
  if ((x0 < 0 && x1 < 0) || (x0 >= W && x1 >= W) || (y0 < yMin && y1 < yMin) || (y0 > yMax && y1 > yMax)) return;
  const bool inside = x0 >= 0 && x1 >= 0 && x0 < W && x1 < W && y0 >= yMin && y1 >= yMin && y0 <= yMax && y1 <= yMax;

  int64_t klo = 0, khi = len - 1;
  if (!inside && !ClipSteps(a0, b0, sa, sb, len, minor, aMin, aMax, bMin, bMax, klo, khi)) return;

  // Walk the visible steps with the midpoint error kept as a remainder.
  const int64_t twoLen = 2 * len, twoMinor = 2 * minor;
  int64_t m = 0, rem = len - 1;  // at step 0
  if (klo > 0) {
    const Wide num = Wide(2) * klo * minor + len - 1;
    m = int64_t(num / twoLen);
    rem = int64_t(num % twoLen);
  }
  uint8_t* const* rows = Surface.RowTable.data();
  for (int64_t k = klo; k <= khi; ++k) {
    const int64_t a = a0 + sa * k, b = b0 + sb * m;
    const int64_t x = xMajor ? a : b, y = xMajor ? b : a;
    reinterpret_cast<TPixel24*>(rows[y])[x] = Colour;
    rem += twoMinor;
    if (rem >= twoLen) {
      rem -= twoLen;
      ++m;
    }
  }
}



}  // namespace vorq
