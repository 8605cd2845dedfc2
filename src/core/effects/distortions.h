// The wave and lens distortions: effects that move pixels to other places
// without changing their colours (Circular and Astroid draw curves in the
// image's own colours). Each changes Work; Scratch is the editor's scratch
// surface, resized as needed. Most render into Scratch and swap it with Work,
// so afterwards Scratch holds the image as it was (or nothing in particular).
// Scratch may be Work itself; the routine then uses a surface of its own.
//
// Degenerate parameters never read or write outside a surface; where the
// arithmetic would divide by zero the image is left unchanged (noted per
// routine). An empty surface is left alone.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

// Wrap rule for an index along an axis of n >= 1 entries:
// i < 0 -> (n - 1) - ((-i) mod n), i > n - 1 -> i mod n, else i.
// So -1 maps to n - 2 and -n to n - 1.
inline int64_t WrapIndex(int64_t i, int64_t n) {
  if (i < 0) {
    if (i > -n) return n - 1 + i;                      // (-i) mod n == -i
    if (i == INT64_MIN) return (n - 1) - int64_t(uint64_t(INT64_MIN) % uint64_t(n));
    return (n - 1) - (-i) % n;
  }
  if (i < n) return i;
  if (i < 2 * n) return i - n;
  return i % n;
}

// SineWave U/D (Effect id 15): columns move up and down by
// Nearest(sin(x / D) * Height), D = W / pi / Value when UsePeaks, else
// D = Value (the wavelength). Wrap rotates each column; without it the
// uncovered places repeat the column's first or last row. Height is limited
// to +-H; the return value is the height actually used (the caller shows it
// when it differs). A Value of 0 gives no shift.
int SineWaveUD(TFastDIB& Work, TFastDIB& Scratch, int Height, double Value, bool UsePeaks, bool Wrap);
// SineWave L/R (16): the same with rows moving left and right (limited to +-W).
int SineWaveLR(TFastDIB& Work, TFastDIB& Scratch, int Height, double Value, bool UsePeaks, bool Wrap);
// SineWave Both (17): both axes at once, always wrapping; peak counts only.
// Heights are limited to +-H (up/down) and +-W (left/right) for this run.
void SineWaveBoth(TFastDIB& Work, TFastDIB& Scratch, int HeightUD, int HeightLR, double PeaksLR, double PeaksUD);

// Twist (18): turns by a quarter turn plus r / Looseness about the centre,
// 2 x 2 wrapped sample in single precision. Looseness 0 leaves the image.
void Twist(TFastDIB& Work, TFastDIB& Scratch, int Looseness);
// Fisheye (19): lens of radius W * Magnification centred at (W/2, H/2).
void FishEye(TFastDIB& Work, TFastDIB& Scratch, float Magnification);
// Circular (20): 721 spirals of 901 points each wound from the rows. The
// caller asks about images that are not 256 x 256 before calling this.
void Circular(TFastDIB& Work, TFastDIB& Scratch);
// Astroid (21): 2 (H - 1) + 1 closed curves of thickness T in the colours of
// column 0. T < 0 would divide by zero (sin 0 to a negative power): unchanged.
void Astroid(TFastDIB& Work, int Thickness);
// RippleTooth (62): column x moves down by x mod min(H div 2, Amount)
// (eight-bit counter), wrapping.
void RippleTooth(TFastDIB& Work, TFastDIB& Scratch, int Amount);
// Waves (64): concentric rings. Wave length 0 leaves the image unchanged.
void Waves(TFastDIB& Work, TFastDIB& Scratch, int Amplitude, int WaveLength, double PhaseDegrees, bool Reflective);
// Whirl/Pinch (65): pinch limited to -1 .. 1, a negative radius taken as 0.
void WhirlPinch(TFastDIB& Work, TFastDIB& Scratch, int AngleDegrees, double Pinch, double Radius);

}  // namespace vorq
