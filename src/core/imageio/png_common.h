// Pieces the PNG reader's two roads share. Internal to the PNG codec.
#pragma once

#include <cstdint>

#include "core/imageio/file_io.h"
#include "core/surface/fast_dib.h"

namespace vorq::png {

// PNG's big-endian 32-bit numbers.
inline uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// 0 ... 255 alpha over white, rounded.
inline uint8_t OverWhite(unsigned c, unsigned a) { return uint8_t((c * a + 255 * (255 - a) + 127) / 255); }

// The common PNG (8-bit RGB or RGBA, not interlaced, no transparent colour)
// read with the inflating on this core and the unfiltering on the other.
// False, with out untouched, for every other file and for any fault in it:
// the caller then reads the file with libpng, which decides what is
// accepted and words the refusal. `size` is the file's; its signature has
// been checked.
bool DecodeCommon(const ByteSource& source, uint64_t size, TFastDIB& out);

}  // namespace vorq::png
