// Helpers shared by the core tests: noise images, clones and comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "core/surface/fast_dib.h"
#include "core/util/parallel.h"

namespace vorq::test {

// Noise in every pixel; with gaps, the row padding gets noise too (it must survive).
inline TFastDIB Random(int w, int h, uint32_t seed, bool gaps = false) {
  TFastDIB s;
  s.SetSize(w, h, 24, 0);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < (gaps ? int(s.BytesPerRow) : 3 * w); ++i) {
      seed = seed * 1664525u + 1013904223u;
      s.Row(y)[i] = uint8_t(seed >> 24);
    }
  return s;
}

// A w x h surface whose pixel (x, y) is fn(x, y).
template <typename Fn>
TFastDIB Painted(int w, int h, Fn fn) {
  TFastDIB s;
  s.SetSize(w, h, 24, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.SetPixel(y, x, fn(x, y));
  return s;
}

inline TPixel24 Grey(int v) { return MakePixel(uint8_t(v), uint8_t(v), uint8_t(v)); }

inline TFastDIB Uniform(int w, int h, TPixel24 p) {
  return Painted(w, h, [p](int, int) { return p; });
}

inline TFastDIB Clone(const TFastDIB& s) {
  TFastDIB c;
  CopySurface(s, c);
  return c;
}

// Same size and bytes; with gaps, the row padding is compared too.
inline ::testing::AssertionResult SamePixels(const TFastDIB& a, const TFastDIB& b, bool gaps = false) {
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return ::testing::AssertionFailure() << "size " << a.Width() << "x" << a.Height() << " vs " << b.Width() << "x"
                                         << b.Height();
  for (int y = 0; y < a.Height(); ++y)
    for (int i = 0; i < (gaps ? int(a.BytesPerRow) : 3 * a.Width()); ++i)
      if (a.Row(y)[i] != b.Row(y)[i])
        return ::testing::AssertionFailure() << "byte " << i << " of row " << y << ": " << int(a.Row(y)[i]) << " vs "
                                             << int(b.Row(y)[i]);
  return ::testing::AssertionSuccess();
}

inline int Count(const TFastDIB& s, TPixel24 c) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) n += s.GetPixel(y, x) == c;
  return n;
}

// A handful of sizes: one pixel, one row, one column, an odd width (row padding), a larger one.
inline constexpr int kSizes[][2] = {{1, 1}, {1, 3}, {3, 1}, {5, 3}, {37, 19}};

// fn(wide) with the 512-bit vector rows on, then the 256-bit ones (where
// this processor has them), then neither (wide false): each must give the
// references' pixels.
template <typename Fn>
void BothVectorPaths(Fn fn) {
  for (int bits : {512, 256, 0}) {
    SetVectorBits(bits);
    fn(bits != 0);
  }
  SetVectorBits(512);
}

}  // namespace vorq::test
