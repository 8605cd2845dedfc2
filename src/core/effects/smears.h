// Map-driven smears: the brightness of a map (the buffer image or the
// working image itself) decides how far pixels move or smear. Each changes
// Work; Scratch is the editor's scratch surface (another surface than Work),
// resized as needed. The result may be rendered into Scratch and the two
// surfaces then exchanged, so Work's pixel memory can change places (as with
// ResizeBilinear) and Scratch's contents afterwards are unspecified. Amounts
// are in pixels: L (L/R) counts to the right, V (U/D) downwards. Nothing
// reads or writes outside a surface whatever the amounts; an empty Work is
// left alone.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

// Repetitions above this are run as this many (each is a whole-image pass);
// below 0 as none.
constexpr int kMaxStretchBlurRepetitions = 1000;

// StretchBlur does nothing at all when both amounts are 0; the caller checks
// this before taking its snapshot.
constexpr bool StretchBlurChanges(int LR, int UD) { return LR != 0 || UD != 0; }

// StretchBlur with Buffer (Effect id 53). The map is Buffer scaled to the
// image's size by dropping or repeating rows and columns (an empty Buffer
// counts as black); b = (red + green + blue) / 765 of the map, k = 1 - b.
// Repetitions times: every channel becomes Nearest(moved * k + value * b),
// moved being the value (L, V) farther on (wrapped); then the result is
// wrapped back by half of the accumulated shift, (-L * R) div 2 columns to
// the left and (-V * R) div 2 rows up. Where the map is bright the image
// stays, where it is dark it smears along (L, V). The blend is never within
// 1/1530 of a half, so it is the exact rational
// (moved * (765 - s) + value * s) / 765 rounded, s being the map's sum.
// Buffer may be any size, and may be Work or Scratch itself.
void StretchBlurWithBuffer(TFastDIB& Work, TFastDIB& Scratch, const TFastDIB& Buffer, int LR, int UD,
                           int Repetitions);
// StretchBlur with Self (54): the same with the map being the image as the
// previous repetition left it.
void StretchBlurWithSelf(TFastDIB& Work, TFastDIB& Scratch, int LR, int UD, int Repetitions);

// Water with Buffer (55). The map is Buffer resized to the image's size by
// ResizeBilinear mode 0 (an empty Buffer counts as black); m = max(red,
// green, blue) / 255 in single precision. Pixel (x, y) takes the colour of
// (Nearest(L * m + x + L), Nearest(V * m + y + V)) of the original image,
// each coordinate passed through the wrap rule (negative i becomes
// (N - 1) - ((-i) mod N), above N - 1 i mod N). So pixels come from (L, V)
// farther on where the map is black and (2L, 2V) where it is white. Exact
// for every amount. Buffer may be Work or Scratch itself.
void WaterWithBuffer(TFastDIB& Work, TFastDIB& Scratch, const TFastDIB& Buffer, int LR, int UD);
// Water with Self (56): the map is the image itself.
void WaterWithSelf(TFastDIB& Work, TFastDIB& Scratch, int LR, int UD);

}  // namespace vorq
