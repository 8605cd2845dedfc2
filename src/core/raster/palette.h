// Reduction of a 24-bit image to an 8-bit palette image: a fixed rule in
// which equal colours always get equal indices (no dithering), so that two
// neighbouring pixels differ in index only where they differ in colour.
#pragma once

#include <array>
#include <cstdint>
#include <cstddef>

#include "core/surface/fast_dib.h"

namespace vorq {

struct TPalette256 {
  int Count = 0;                      // entries in use
  std::array<TPixel24, 256> Colours{};  // entries from Count on are black
};

// The index of pixel (x, y) goes to Indices[y * Stride + x]; the caller
// provides the room (W bytes in each of H rows). An image of at most 256
// distinct colours keeps every colour: each gets its own index in the order
// first met (rows top-down, columns left to right). Otherwise each colour is
// cut to 3 bits of red, 3 of green and 2 of blue, index RRRGGGBB, and the
// palette holds those 256 levels spread over 0 .. 255. An empty Source gives
// an empty palette and writes nothing.
TPalette256 ReduceTo256(const TFastDIB& Source, uint8_t* Indices, size_t Stride);

}  // namespace vorq
