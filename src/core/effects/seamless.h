// Operations that make the working image tile without visible seams.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

// Which seams the seam tools join: both, or one axis only for a piece that
// tiles in one direction (a brick, a strip). Left/Right blends only the wrap
// across the left and right edges (the column strips), Top/Bottom only the
// wrap across the top and bottom edges (the row strips).
enum class SeamAxis : uint8_t { Both, LeftRight, TopBottom };

// The shared seam-removal step. The rightmost StripWidth columns become a
// blend from themselves (at the strip's inner edge) to the mirrored leftmost
// columns (at the image's right edge): column W - sw + x :=
// A + MulDiv(x, B - A, sw - 1) with A the column itself and B column
// sw - 1 - x. Then the bottom StripHeight rows likewise from the top rows.
// Afterwards the last column equals the first and the last row the first.
// A strip of 0 or 1 pixel, or wider (higher) than the image, is left as it is.
void BlendEdgeStrips(TFastDIB& Surface, int StripWidth, int StripHeight);

// BlendEdgeStrips with strips of width / N and height / N (N = 16, 8, 4 for
// Edge Merge 1/16, 1/8, 1/4). N below 1 changes nothing. A one-axis run
// does only that axis's half of the blend (the other strip is taken as 0).
void EdgeMerge(TFastDIB& Surface, int N, SeamAxis Axis = SeamAxis::Both);

// Seamless Edge with amount S: S larger than min(W - 1, H - 1) becomes half
// of that; then BlendEdgeStrips (S, S), and the same again on the image
// turned by a half turn, which blends the left and top strips. A one-axis
// run keeps the same S and does only that axis's half of both passes.
void SeamlessEdge(TFastDIB& Surface, int S, SeamAxis Axis = SeamAxis::Both);

// The image becomes 2W x 2H: itself, mirrored left to right, mirrored top to
// bottom and turned by a half turn, one per quadrant, built in Scratch and
// swapped in (Scratch keeps the old image). Returns false (changing nothing) when 2W x 2H is not allowed.
bool FourWayFlip(TFastDIB& Image, TFastDIB& Scratch);

// Bilinear rotation with wrap-around by Angle degrees about (CX, CY), in
// single precision. Target keeps its size and is centred on the source;
// every pixel of Target is written. Source and Target must differ.
void RotateBilinearWrapped(const TFastDIB& Source, TFastDIB& Target, int CX, int CY, double Angle);

// Rotate Seamless on a square image: the image is reduced to a x b with
// a = round(W sin 45), b = round(H sin 45), tiled, turned by 45 degrees with
// RotateBilinearWrapped and cut back to W x H, so it still tiles. Scratch
// holds the reduced tile afterwards. Returns false (changing nothing) when
// the image is not square or empty.
bool RotateSeamless(TFastDIB& Image, TFastDIB& Scratch);

}  // namespace vorq
