// The one place that reads and writes image files.
#pragma once

#include <array>
#include <cstddef>
#include <vector>
#include <cstdint>
#include <functional>
#include <string>

#include "core/surface/fast_dib.h"

namespace vorq {

enum class ImageFormat { Unknown, Bmp, Jpeg, Gif, Png };

// The format by the first bytes of the data, whatever the file is called.
ImageFormat SniffFormat(const uint8_t* data, size_t size);

// One loader for every place that reads an image. On failure: false, error =
// a sentence naming the file and the reason, out untouched.
bool LoadImageFile(const std::string& path, TFastDIB& out, std::string& error);
// As above for data in memory; the error names no file.
bool LoadImageMemory(const uint8_t* data, size_t size, TFastDIB& out, std::string& error);

struct GifPalette {
  int Count = 0;
  std::array<uint32_t, 256> Colours{};  // 0x00BBGGRR; entries from Count on are 0
};

struct SaveOptions {
  int JpegQuality = 90;
  // GIF transparency, asked after quantizing when set: gets the colour map
  // and the selected index (256 = none chosen), returns 0 = Cancel (write
  // nothing), 1 = OK with index (low 8 bits used), 2 = None (no transparency
  // flag). Empty: no graphic control extension at all.
  std::function<int(const GifPalette&, int& index)> AskGifTransparency;
};

// By the file name's extension, case-insensitive: .gif, .bmp, .png, else JPEG.
ImageFormat SaveRoute(const std::string& path);
// Appends ".jpg" when the file name has no extension.
std::string WithDefaultExtension(const std::string& path);
// Writes through a temporary file + rename. false with error on failure; also
// false with an empty error when the GIF question was cancelled, and then
// nothing is written.
bool SaveImageFile(const std::string& path, const TFastDIB& image, const SaveOptions& options, std::string& error);

// The bytes SaveImageFile would write (without the GIF question's cancel).
bool EncodeImage(ImageFormat format, const TFastDIB& image, const SaveOptions& options, std::vector<uint8_t>& out,
                 std::string& reason, bool& cancelled);

}  // namespace vorq
