// Windows bitmap files: read every common variant, write 24-bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/imageio/file_io.h"
#include "core/surface/fast_dib.h"

namespace vorq {

// Decodes BMP data: 1, 4, 8, 16, 24 and 32 bits per pixel, RLE4 and RLE8,
// bottom-up and top-down, bit-field masks, OS/2 core headers. On failure
// returns false, sets reason (a lower-case phrase) and leaves out untouched.
bool DecodeBmp(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason);
// The same from a file of size bytes: the headers are read first, then the
// pixel rows straight into the surface's rows (24 bits) or about 1 MiB at a
// time; only RLE data is read whole.
bool DecodeBmpFrom(const ByteSource& source, uint64_t size, TFastDIB& out, std::string& reason);
// A 24-bit bottom-up BMP of image.
std::vector<uint8_t> EncodeBmp(const TFastDIB& image);
// The same handed to sink in pieces of about 1 MiB; false when sink refused one.
bool EncodeBmpTo(const TFastDIB& image, const ByteSink& sink);

// Reads a BMP file into surface. On failure returns false, sets error to a
// sentence naming the file and the reason and leaves surface untouched.
bool ReadBmp(const std::string& path, TFastDIB& surface, std::string& error);
// Writes surface as a 24-bit BMP through a temporary file renamed into
// place, so a failed save never destroys the file that was there.
bool WriteBmp(const std::string& path, const TFastDIB& surface, std::string& error);

}  // namespace vorq
