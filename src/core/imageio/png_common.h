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

// How our writer cuts the rows: slices of whole rows, about 1 MiB of
// filtered RGB bytes each, every slice one IDAT chunk after the chunk that
// holds the zlib header. The middle slice (FreshSlice) starts afresh, with
// no history from the rows before it, so a reader can inflate the two
// halves of the stream on two cores.
constexpr size_t kSliceBytes = size_t(1) << 20;
inline int SliceRows(int width, int height) {
  const size_t rows = kSliceBytes / (size_t(width) * 3 + 1);
  return int(rows < 1 ? 1 : rows > size_t(height) ? size_t(height) : rows);
}
inline int FreshSlice(int slices) { return slices / 2; }  // 0: none

// The common PNG (8-bit RGB or RGBA, not interlaced, no transparent colour)
// read with the inflating on this core and the unfiltering on the other.
// False, with out untouched, for every other file and for any fault in it:
// the caller then reads the file with libpng, which decides what is
// accepted and words the refusal. `size` is the file's; its signature has
// been checked.
bool DecodeCommon(const ByteSource& source, uint64_t size, TFastDIB& out);

}  // namespace vorq::png
