// Buttonize and Trace: frames and outlines drawn into the working image in
// the tool box's colours. Colours are 0x00BBGGRR values (red in the low
// byte). Both work in place on Work; nothing reads or writes outside it,
// whatever the parameters, and an empty surface is left alone.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

// Buttonize (Effect id 51): a bevelled edge E pixels deep, shading towards
// Shadow on the right and bottom and towards HiLite on the left and top.
// Per channel, in this order, each strip starting from what the previous
// ones left:
//   right strip, column W - E + i:  v + MulDiv(i, S - v, E - 1)
//   left strip, column i:           L + MulDiv(i, v - L, E - 1)
//   bottom strip, row H - E + j, columns E - j .. W - E + j - 1:
//                                   v + MulDiv(j, S - v, E - 1)
//   top strip, row j, columns j .. W - 1 - j:
//                                   L + MulDiv(j, v - L, E - 1)
// The slanted ranges make mitres in the corners. Strips deeper than the
// image keep their weights and are cut at the image's edges. E = 1 paints
// the outermost ring in the two colours (the same frame E = 2 draws); E <= 0
// changes nothing.
void Buttonize(TFastDIB& Work, int EdgeSize, uint32_t Shadow, uint32_t HiLite);

// Trace (Effect id 61): outlines where colours change. The image is seen
// with a one-pixel wrapped border and reduced to at most 256 colours
// (ReduceTo256); the first colour edge met fixes the background, and every
// edge is then marked in MarkColour on its non-background side. Intensity 1
// marks from a forward scan (right and lower neighbours), 2 and up add a
// backward scan (left and upper neighbours); further passes would repeat the
// same marks, so they are not run. Intensity <= 0 changes nothing.
void Trace(TFastDIB& Work, int Intensity, uint32_t MarkColour);

}  // namespace vorq
