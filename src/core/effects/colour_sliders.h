// The colour slider adjustments: lightness, contrast, saturation and channel
// shift. Each builds 256-entry tables for its amounts and then maps every
// pixel of a 24-bit surface in place, one table look-up per channel.
#pragma once

#include <array>
#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

using ChannelTable = std::array<uint8_t, 256>;

// A >= 0: i + (((255 - i) * A) >> 8); A < 0: i - ((i * -A) >> 8); clamped.
ChannelTable LightnessTable(int amount);
// q = (|128 - i| * A) / 256 truncated toward zero; i - q for i <= 126,
// i + q for i >= 127; clamped.
ChannelTable ContrastTable(int amount);
// m = min(|A|, 255): min(255, i + m) for A >= 0, max(0, i - m) for A < 0.
ChannelTable ChannelShiftTable(int amount);

// Saturation S, limited to 0 .. 510: W[k] = ((k + 1) * S) >> 8 and, for each
// channel sum s = R + G + B, Grey[s] = a - W[a] with a = s / 3. A channel c
// becomes clamp(W[c] + Grey[R + G + B]).
struct SaturationTables {
  std::array<uint16_t, 256> W{};
  std::array<int32_t, 768> Grey{};
};
SaturationTables BuildSaturationTables(int amount);

// Each channel through its own table, in place.
void ApplyChannelTables(TFastDIB& surface, const ChannelTable& red, const ChannelTable& green,
                        const ChannelTable& blue);

// Amounts per channel (red, green, blue).
void ApplyLightness(TFastDIB& surface, int amountR, int amountG, int amountB);
void ApplyContrast(TFastDIB& surface, int amountR, int amountG, int amountB);
// 255 leaves the image unchanged, 0 turns it grey (the plain channel average),
// above 255 pushes the channels away from their average.
void ApplySaturation(TFastDIB& surface, int amount);
void ApplyChannelShift(TFastDIB& surface, int amountR, int amountG, int amountB);

// The slider chain as the preview runs it: lightness (all channels), then
// contrast (all channels), then saturation, then the three channel shifts.
struct SliderAmounts {
  int Lightness = 0;     // -255 .. 255
  int Contrast = 0;      // -255 .. 255
  int Saturation = 255;  // 0 .. 510, 255 neutral
  int Red = 0, Green = 0, Blue = 0;
};
// target := source with the chain applied, in a single pass; gives the same
// pixels as CopySurface followed by the four Apply* calls in order. target
// must not be source.
void ApplySliderChain(const TFastDIB& source, TFastDIB& target, const SliderAmounts& amounts);

}  // namespace vorq
