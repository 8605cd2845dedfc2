// Resampling and geometry of the Size/Aspect effects: bilinear resize,
// quarter turn and the wrap-around rotation by any angle.
#pragma once

#include "core/surface/fast_dib.h"

namespace vorq {

// Bilinear resampling of Surface to NewW x NewH in place.
//
// Scale factors in single precision: Mode 0 maps the target onto the source
// with fx = NewW / (W - 1), fy = NewH / (H - 1), so no sample lies beyond the
// last column or row; Mode 1 uses fx = NewW / W, fy = NewH / H (meant for
// reductions). Target (x, y) reads source position (x / fx, y / fy); the
// four neighbours are weighted in single precision, summed in the order
// (0,0) (0,1) (1,0) (1,1) of (column step, row step), and rounded to nearest,
// ties to even.
//
// A source 1 pixel wide (high) has its single column (row) taken as constant
// in that direction. A neighbour that would lie past the last column or row
// repeats the last one. The same size changes nothing. Returns false and
// leaves Surface alone when the new size is 0 or negative, not allowed by
// SizeAllowed, the mode unknown or Surface empty.
bool ResizeBilinear(TFastDIB& Surface, int NewW, int NewH, int Mode);

// The same resampling from Source into Target (Target is resized; Source is
// not changed). Source and Target must be different surfaces.
bool ResizeBilinearInto(const TFastDIB& Source, TFastDIB& Target, int NewW, int NewH, int Mode);

// Repeated reductions of Source laid into Target (resized to Source's
// size): stage 0 is Source, stage j (1 .. Stages) is stage j - 1 resampled
// as above in mode 1 to (W - 2 j Step) x (H - 2 j Step) and laid at
// (j Step, j Step) over the stages before it. False, with Target unchanged,
// when Step < 1, a side would vanish or the memory is lacking.
bool ResizeBilinearNested(const TFastDIB& Source, TFastDIB& Target, int Step, int Stages);

// Quarter turn clockwise: Scratch := H x W with Scratch(H - 1 - y, x) =
// Surface(x, y), then swapped with Surface (Scratch keeps the old image).
void Rotate90Clockwise(TFastDIB& Surface, TFastDIB& Scratch);

// Nearest-below rotation with wrap-around by Angle degrees about (CX, CY).
// Every target pixel takes the source pixel at the inversely rotated
// position, stepping along each row in 16.16 fixed point; the source repeats
// as a tile in every direction. The target keeps its size; a target larger or
// smaller than the source is centred on it. Source and Target must differ.
void RotateWrapped(const TFastDIB& Source, TFastDIB& Target, int CX, int CY, double Angle);

}  // namespace vorq
