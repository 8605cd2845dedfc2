// The texture generators: effects that make texture from randomness, light
// or a second picture. Each works in place on Work; Scratch is the editor's
// scratch surface, resized as needed. Random numbers come from the one
// process-wide generator (core/util/random.h).
//
// Hostile parameters never divide by zero, never read or write outside a
// surface and never loop or allocate without bound; what each routine does
// with them is noted below. An empty surface is left alone.
#pragma once

#include <cstdint>

#include "core/surface/fast_dib.h"

namespace vorq {

// Plasma Cloud (Effect id 52): the image becomes a grey tileable plasma
// field of the given Graininess (larger is rougher; 0 or less gives a smooth
// interpolation of four random seeds). Reseeds the generator from the clock.
// With an even width (height) the last column (row) equals the first, also
// when a seed drew 0 (seeds and their edge copies always count as set); with
// an odd one it stays black. Images 1 pixel wide or high have no field and
// become black. Any Graininess is safe: the random part of a cell is
// Random(Graininess) >> depth and the cell is clamped to 1 .. 255.
void PlasmaCloud(TFastDIB& Work, int Graininess);

// Marble (29): pixel (x, y) takes the pixel (|a| - 1, |b| - 1), clamped to
// the image, with a = Nearest((x - W div 2 - 1) sin(v1 / T) K) and
// b = Nearest((y - H div 2 - 1) cos(v2 / T) K) for two plasma fields v1, v2
// (each generation reseeds). Turbulence 0 (the table would divide by zero)
// and a Scale that is not a finite number leave the image unchanged.
void Marble(TFastDIB& Work, TFastDIB& Scratch, int Graininess, float Scale, int Turbulence);

// Spray (26): every pixel takes a random pixel within r of it (r =
// Random(Scatterosity) per pixel, offsets -r + 1 .. r on each axis),
// wrapping across the edges. Scatterosity 1 or less leaves the image (and
// the generator) unchanged; above 2^30 it acts as 2^30, so that 2r stays a
// 32-bit range (the wrap covers the image long before that).
void Spray(TFastDIB& Work, TFastDIB& Scratch, int Scatterosity);

// Color Noise (25): byte + Random(a) - a div 2, clamped, one draw per byte
// in memory order, with a = the low eight bits of Noisiness. When a is 0
// or 1 (Noisiness 1, 256, 257, 512, ...) nothing changes and nothing is drawn.
void ColorNoise(TFastDIB& Work, int Noisiness);

// SuperNova (57): a star of the pen colour (0x00BBGGRR) at (XPos, YPos),
// each clamped into the image, with Spokes coloured spokes whose hues walk
// by up to RandomHue / 720 of the circle from spoke to spoke (the hue is
// taken modulo 1, so any RandomHue and a hue of exactly 1 are valid), and a
// white glow falling off as Radius / distance. Reseeds the generator.
// Radius 0 and Spokes <= 0 (divisions by zero) leave the image unchanged;
// more than 2^18 spokes act as 2^18 (finer than a pixel on any image).
void SuperNova(TFastDIB& Work, int Radius, int Spokes, int RandomHue, int XPos, int YPos, uint32_t PenColor);

// HeightMap (58): lights the image as a relief (the blue byte is the
// height, the image wraps at its edges) from Azimuth and Elevation in
// degrees; Depth sets the steepness (Nz = 1530 / Depth). Zeros take the
// defaults: Azimuth 30, Elevation 45, Depth 20; Depth counts as an unsigned
// 16-bit value, so 65536 also means 20 and -1 means 65535. Without BumpMap
// the relief is grey; with it each byte of the pixel above is scaled by the
// shade / 256. A light from below the surface gives shade 0 where the
// surface is flat (the shade is never negative).
void HeightMap(TFastDIB& Work, TFastDIB& Scratch, int Azimuth, int Elevation, int Depth, bool BumpMap);

// Map Texture (28): each channel c becomes Nearest(c * sin(t / 255) * B),
// clamped, with t the same channel of Texture. Texture is turned grey
// (the grey formula is a no-op on grey pictures) and resized bilinearly to
// the image first, in Scratch. Texture may be Scratch itself (it is then
// greyed and resized in place) or Work; otherwise it is not changed. An
// empty texture or a Brightness that is not a finite number leaves the
// image unchanged.
void MapTexture(TFastDIB& Work, TFastDIB& Scratch, const TFastDIB& Texture, double Brightness);

// The built-in texture for Map Texture when none was loaded: a grey
// basket weave, 64 x 64, tileable; always the same pixels.
void DefaultTexture(TFastDIB& Surface);

}  // namespace vorq
