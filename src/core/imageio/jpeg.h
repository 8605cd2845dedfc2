// JPEG files through libjpeg.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/surface/fast_dib.h"

namespace vorq {

// Decodes to 24 bits at full scale with fancy upsampling; greyscale, CMYK
// and YCCK files are converted. On failure returns false, sets reason and
// leaves out untouched.
bool DecodeJpeg(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason);

// Baseline JPEG at quality 0 ... 100 (clamped), other settings the library's
// defaults; from kJpegHalvesFrom pixels on, with a restart marker before
// every MCU row (16 pixel rows) but the first.
constexpr int64_t kJpegHalvesFrom = int64_t(1) << 20;
bool EncodeJpeg(const TFastDIB& image, int quality, std::vector<uint8_t>& out, std::string& reason);

// An 8-bit palette image.
struct IndexedImage {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Pixels;  // Width x Height indices, top row first
  int Colours = 0;
  std::array<TPixel24, 256> Palette{};
};

// Decodes to an 8-bit palette image of at most colours entries through
// libjpeg's two-pass quantizer with Floyd-Steinberg dithering.
bool DecodeJpegQuantized(const uint8_t* data, size_t size, int colours, IndexedImage& out, std::string& reason);

}  // namespace vorq
