// PNG files: read through libpng, written by hand with zlib.
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
// The same taking the file's `size` bytes from source as it needs them.
bool DecodePngFrom(const ByteSource& source, uint64_t size, TFastDIB& out, std::string& reason);

// A 24-bit RGB PNG, not interlaced, deflated on both cores (the bytes do
// not depend on how many).
bool EncodePng(const TFastDIB& image, std::vector<uint8_t>& out, std::string& reason);
// The same handed to sink as the encoder produces it.
bool EncodePngTo(const TFastDIB& image, const ByteSink& sink, std::string& reason);

}  // namespace vorq
