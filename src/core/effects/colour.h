// The Color effects: every pixel is changed on its own, independently of its
// neighbours, in place on a 24-bit surface. Colours passed as one value use
// the 0x00BBGGRR layout (red in the low byte).
#pragma once

#include <array>
#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

using LightenTableT = std::array<uint16_t, 256>;

// Entry i = round(255 * (i / 255)^0.85) in extended precision, ties to even;
// every entry is at most 255. Built on first use and kept for the program's life.
const LightenTableT& LightenTable();
LightenTableT BuildLightenTable();

// Brighten: c + round(c * 0.05) (ties to even), clamped: 10 stays 10, 30 -> 32.
uint8_t BrightenChannel(uint8_t c);
void Brighten(TFastDIB& surface);

// Lighten: each channel through the low byte of LightenTable().
void Lighten(TFastDIB& surface);

// Negative: 255 - c for every channel.
void Negative(TFastDIB& surface);

// Gray Scale: Y = (77 R + 151 G + 28 B) >> 8 in all three channels.
// Also used on its own by other effects (texture conversion).
void GrayScaleSurface(TFastDIB& surface);

// Erase to Black: every pixel (0, 0, 0).
void EraseToBlack(TFastDIB& surface);

// Color Rotate: V = B << 16 | G << 8 | R rotated left by `bits` within 24
// bits (the bit leaving position 23 enters at 0). bits <= 0 changes nothing;
// only bits mod 24 matters. By 8, blue goes to red, red to green, green to blue.
void ColorRotate(TFastDIB& surface, int bits);

// Exchange Color: a pixel whose every channel lies within clamp(m - T) ..
// clamp(m + T) of the match colour's channel m becomes `replacement`.
// T is the low 16 bits of `tolerance`, unsigned.
void ExchangeColor(TFastDIB& surface, uint32_t match, uint32_t replacement, int32_t tolerance);

// Tint: with m = max(R, G, B), each channel becomes round(t * m / 255) of the
// tint colour's channel t. Black stays black; a pixel whose brightest channel
// is 255 becomes the tint colour exactly.
void Tint(TFastDIB& surface, uint32_t colour);

}  // namespace vorq
