// PNG files through libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/imageio/file_io.h"
#include "core/surface/fast_dib.h"

namespace vorq {

// Decodes any bit depth and colour type; alpha (and tRNS) is composited
// over white. On failure returns false, sets reason and leaves out untouched.
bool DecodePng(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason);

// A 24-bit RGB PNG, not interlaced.
bool EncodePng(const TFastDIB& image, std::vector<uint8_t>& out, std::string& reason);
// The same handed to sink as the encoder produces it.
bool EncodePngTo(const TFastDIB& image, const ByteSink& sink, std::string& reason);

}  // namespace vorq
