// Colour fields made outside the gradient control: the three-colour
// multi-gradient, the colour wheel and the four-corner rainbow.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

// The multi-gradient designer's starting colours and marker positions (for
// a 256-wide preview: left = 256 div 3, right = twice that).
constexpr uint32_t kMultiSideColour = 0x000000, kMultiLeftColour = 0xFF00FF, kMultiRightColour = 0xFFFF00;
constexpr int kMultiLeftPos = 85, kMultiRightPos = 170;

// Paints the whole of Target (at its size) with three runs of 151 vertical
// bands: Side to Left over 0 .. LeftPos, Left to Right over LeftPos ..
// RightPos, Right to Side over RightPos .. width. Colours are 0x00BBGGRR.
// Any positions are accepted (negative, crossed, beyond the edge): bands
// are clipped, and columns that no band reaches keep the side colour.
void PaintMultiGradient(TFastDIB& Target, uint32_t Side, uint32_t Left, uint32_t Right, int LeftPos, int RightPos);

// Work becomes the 256 x 256 colour wheel: hue by angle (red at 3 o'clock,
// growing clockwise), white at the centre, black from radius 128 on.
// Returns false (Work unchanged) only when memory cannot be had.
bool ColorWheel(TFastDIB& Work);

// Fills Work at its size with the four-corner gradient: blue top left,
// magenta top right, green bottom left, (64, 80, 148) bottom right, in
// 20-bit fixed point.
void Rainbow(TFastDIB& Work);

}  // namespace vorq
