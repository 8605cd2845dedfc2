// Shared arithmetic helpers: every effect rounds the same way.
#pragma once

#include <cmath>
#include <cstdint>

// The rounding below relies on every sum being rounded on its own.
#if defined(__FAST_MATH__)
#error "vorq's exact rounding needs IEEE arithmetic: build without -ffast-math"
#endif

namespace vorq {

constexpr double kPi = 3.14159265358979323846;

// v rounded to a whole number, an exact half going to the even neighbour,
// without a library call: below 2^51 in magnitude, adding and taking away
// 1.5 * 2^52 leaves v rounded in the default rounding mode (the sum lies
// between 2^52 and 2^53, where doubles are whole numbers 1 apart). Larger
// values, NaN and infinities take the library's way. A zero result may lose
// its sign, which no caller converts back into a double.
inline double RoundHalfEven(double v) {
  constexpr double kMagic = 6755399441055744.0;  // 1.5 * 2^52
  if (v > -2251799813685248.0 && v < 2251799813685248.0) return (v + kMagic) - kMagic;
  return std::nearbyint(v);
}

// The same for single precision below 2^22 (1.5 * 2^23); the sum and the
// rounding stay in float.
inline float RoundHalfEven(float v) {
  constexpr float kMagic = 12582912.0f;
  if (v > -4194304.0f && v < 4194304.0f) return (v + kMagic) - kMagic;
  return std::nearbyint(v);
}

// Nearest integer, an exact half going to the even neighbour.
inline int64_t Nearest(double v) { return static_cast<int64_t>(RoundHalfEven(v)); }

// Nearest limited to the 32-bit range (NaN gives the lowest), for stored
// values that are shown or logged rather than computed with.
inline int64_t NearestSaturated(double v) {
  if (!(v > -2147483648.5)) return INT32_MIN;
  if (v >= 2147483647.5) return INT32_MAX;
  return Nearest(v);
}

// Toward zero, limited to the 32-bit range (NaN gives 0).
inline int32_t SaturateInt32(double v) {
  if (v != v) return 0;
  if (v <= -2147483648.0) return INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  return int32_t(v);
}

// Nearest for inner loops, without a library call: v is first limited to
// +-2^40 (callers clamp the result to a byte or an image side, far inside
// that; not a number counts as the upper limit), then adding and taking away
// 1.5 * 2^52 leaves it rounded to a whole number, ties to even.
inline int64_t NearestLimited(double v) {
  constexpr double kLimit = 1099511627776.0, kMagic = 6755399441055744.0;
  v = v < kLimit ? v : kLimit;
  v = v > -kLimit ? v : -kLimit;
  return static_cast<int64_t>((v + kMagic) - kMagic);
}

// Stored reals stay within the single-precision range (FLT_MAX): typed
// beyond it they are refused, read from a file clamped.
constexpr double kRealLimit = 3.4028234663852886e38;
// kRealLimit as logs and settings write it (15 digits: 3.40282346638529E+38),
// a little above it; read back it stands for the limit.
constexpr double kRealWritten = 3.40282346638529e38;
// NaN gives 0; beyond kRealLimit the limit.
inline double ClampReal(double v) {
  if (v != v) return 0;
  return v < -kRealLimit ? -kRealLimit : (v > kRealLimit ? kRealLimit : v);
}

// Toward zero.
inline int64_t Trunc(double v) { return static_cast<int64_t>(v); }

// (a * b) / c with a 64-bit intermediate, rounded half away from zero;
// -1 when c is 0, like the platform call it stands in for.
inline int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = int64_t(a) * b;
  const int64_t half = (c < 0 ? -int64_t(c) : int64_t(c)) / 2;
  const bool negative = (p < 0) != (c < 0);
  const int64_t ap = p < 0 ? -p : p, ac = c < 0 ? -int64_t(c) : int64_t(c);
  const int64_t q = (ap + half) / ac;
  return static_cast<int32_t>(negative ? -q : q);
}

inline uint8_t ClampByte(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// c wrapped into 0 .. n-1 (mod n, made non-negative).
inline int WrapMod(int c, int n) {
  int r = c % n;
  return r < 0 ? r + n : r;
}

}  // namespace vorq
