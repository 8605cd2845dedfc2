// Mosaics, blends and buffer merges: effects that rebuild the image from
// cells or shapes, the gradient bars, and the cross-fades with a second
// picture. Each works in place on Work; Scratch is the editor's scratch
// surface, resized as needed. Colours are 0x00BBGGRR.
//
// No parameter reads or writes outside a surface or loops without a bound;
// an empty Work is left alone. Where an effect refuses a parameter it says
// so through a check the caller can make before taking a snapshot.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

// Mosaic and Circle Mosaic refuse a cell size below 2 or above half the
// image's width or height (and an empty image): nothing happens.
bool MosaicCellAllowed(int CellSize, int Width, int Height);

// Mosaic (Effect id 23): c x c blocks, each the colour of the pixel at
// (c div 2, c div 2) inside it; the strips left at the right and bottom take
// their colours from the last column and row. Returns false, changing
// nothing, when MosaicCellAllowed refuses.
bool Mosaic(TFastDIB& Work, int CellSize);

// Circle Mosaic (24): one filled circle per cell, inscribed in it, in the
// colour of the cell's centre pixel; the remaining strips get circles of the
// full cell size against the right and bottom edges. Pixels outside the
// circles stay. Same refusal as Mosaic.
bool CircleMosaic(TFastDIB& Work, int CellSize);

// Cycloid Mosaic (46): squares of 2s x 2s (corners (x - s, y - s) and
// (x + s, y + s), s taken as |s|) strung along cx div 6 epicycloid-like
// curves about the centre, in a running colour that starts at 0xF08000 and
// grows by 16 per square, wrapping within 24 bits.
void CycloidMosaic(TFastDIB& Work, int CellSize);

// Concentric Rects refuses a size difference below 1: nothing happens.
constexpr bool ConcentricRectsAllowed(int SizeDifference) { return SizeDifference >= 1; }

// Concentric Rects (22): the image reduced again and again by D on every
// side (ResizeBilinear, mode 1, each from the previous reduction) and laid
// centred over itself, until the width is at most W div 2 - D or a side
// would vanish. Scratch gets the old image. Returns false, changing
// nothing, when refused.
bool ConcentricRects(TFastDIB& Work, TFastDIB& Scratch, int SizeDifference);

// VorqSwizzle (27): SineWave U/D with height SwizzleWidth and W - 1 as its
// peak count (UsePeaks) or wavelength, then the four-way mirror tile, scaled
// back to the former size by dropping rows and columns (worked out without
// building the double-size tile, so it works at any size). Returns the sine
// height actually used (limited to the image height), which the tool box
// shows when it differs.
int VorqSwizzle(TFastDIB& Work, TFastDIB& Scratch, int SwizzleWidth, bool UsePeaks, bool Wrap);

// Gradient Bars (47): NumberOfBars vertical bars from BeginColor (at the
// edges and between bars) to EndColor (at their centres); the old image is
// discarded. 0 bars give BeginColor everywhere; a negative count is the
// same as its magnitude.
void GradientBars(TFastDIB& Work, int NumberOfBars, uint32_t BeginColor, uint32_t EndColor);

// Merge Gradient (49) and Merge Buffer (50): every channel becomes
// Nearest(second * a + image * (1 - a)) with a = Percent / 100 in single
// precision, the second picture scaled to the image's size by dropping or
// repeating rows and columns (StretchDraw). Results outside 0 .. 255
// (Percent outside 0 .. 100) are clamped. An empty second picture counts as
// black. The second picture may be Work itself.
void MergeGradient(TFastDIB& Work, const TFastDIB& Gradient, int Percent);
void MergeBuffer(TFastDIB& Work, const TFastDIB& Buffer, int Percent);

}  // namespace vorq
