#include "core/imageio/image_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/imageio/bmp.h"
#include "core/imageio/file_io.h"
#include "core/imageio/gif.h"
#include "core/imageio/jpeg.h"
#include "core/imageio/png.h"

namespace vorq {
namespace {

constexpr int kGifColours = 236;  // leaves room in a 256-entry system palette

// Decoders write into a scratch surface; out changes only on success.
bool Decode(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason) {
  if (size == 0) {
    reason = "the file is empty";
    return false;
  }
  switch (SniffFormat(data, size)) {
    case ImageFormat::Bmp: return DecodeBmp(data, size, out, reason);
    case ImageFormat::Jpeg: return DecodeJpeg(data, size, out, reason);
    case ImageFormat::Gif: return DecodeGif(data, size, out, reason);
    case ImageFormat::Png: return DecodePng(data, size, out, reason);
    case ImageFormat::Unknown: break;
  }
  reason = "it is not a BMP, JPEG, GIF or PNG image";
  return false;
}

// The file name part of a path (after the last slash or backslash).
size_t NameStart(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

// The extension with its dot, lower-cased; empty when there is none. A
// leading dot (".profile") does not start an extension.
std::string Extension(const std::string& path) {
  const size_t start = NameStart(path);
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || dot <= start) return {};
  std::string ext = path.substr(dot);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return ext;
}

}  // namespace

ImageFormat SniffFormat(const uint8_t* data, size_t size) {
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 8 && std::memcmp(data, kPng, 8) == 0) return ImageFormat::Png;
  if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0)) return ImageFormat::Gif;
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return ImageFormat::Jpeg;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return ImageFormat::Bmp;
  return ImageFormat::Unknown;
}

bool LoadImageMemory(const uint8_t* data, size_t size, TFastDIB& out, std::string& error) {
  std::string reason;
  if (Decode(data, size, out, reason)) return true;
  error = "Cannot load the image: " + reason + ".";
  return false;
}

bool LoadImageFile(const std::string& path, TFastDIB& out, std::string& error) {
  return ReadFileWith(
      path,
      [&](uint64_t size, const ByteSource& source, std::string& reason) {
        // BMP and PNG are read from the file as they decode; JPEG and GIF from memory.
        uint8_t magic[8] = {};
        const size_t n = size_t(std::min<uint64_t>(size, sizeof magic));
        if (n > 0 && !source(0, magic, n, reason)) return false;
        if (SniffFormat(magic, n) == ImageFormat::Bmp) return DecodeBmpFrom(source, size, out, reason);
        if (SniffFormat(magic, n) == ImageFormat::Png) return DecodePngFrom(source, size, out, reason);
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        if (!bytes.empty() && !source(0, bytes.data(), bytes.size(), reason)) return false;
        return Decode(bytes.data(), bytes.size(), out, reason);
      },
      error);
}

ImageFormat SaveRoute(const std::string& path) {
  const std::string ext = Extension(path);
  if (ext == ".gif") return ImageFormat::Gif;
  if (ext == ".bmp") return ImageFormat::Bmp;
  if (ext == ".png") return ImageFormat::Png;
  return ImageFormat::Jpeg;
}

std::string WithDefaultExtension(const std::string& path) {
  const std::string ext = Extension(path);
  if (ext.empty() && NameStart(path) < path.size()) return path + ".jpg";
  if (ext == ".") return path + "jpg";
  return path;
}

bool EncodeImage(ImageFormat format, const TFastDIB& image, const SaveOptions& options, std::vector<uint8_t>& out,
                 std::string& reason, bool& cancelled) {
  cancelled = false;
  if (image.Empty()) {
    reason = "the image is empty";
    return false;
  }
  switch (format) {
    case ImageFormat::Bmp: out = EncodeBmp(image); return true;
    case ImageFormat::Png: return EncodePng(image, out, reason);
    case ImageFormat::Gif: {
      // Colour reduction goes through a best-quality JPEG and libjpeg's quantizer.
      std::vector<uint8_t> jpeg;
      IndexedImage indexed;
      if (!EncodeJpeg(image, 100, jpeg, reason) ||
          !DecodeJpegQuantized(jpeg.data(), jpeg.size(), kGifColours, indexed, reason))
        return false;
      ReduceToUsedColours(indexed);
      GifTransparency mode = GifTransparency::Absent;
      int index = 256;
      if (options.AskGifTransparency) {
        GifPalette palette;
        palette.Count = indexed.Colours;
        for (int i = 0; i < indexed.Colours; ++i) {
          const TPixel24 c = indexed.Palette[size_t(i)];
          palette.Colours[size_t(i)] = uint32_t(c.R) | uint32_t(c.G) << 8 | uint32_t(c.B) << 16;
        }
        const int answer = options.AskGifTransparency(palette, index);
        if (answer == 1) {
          mode = GifTransparency::On;
          index &= 0xFF;
          if (indexed.Colours > 0 && index >= indexed.Colours) index = 0;  // beyond the map: the first entry
        } else if (answer == 2) {
          mode = GifTransparency::Off;
        } else {
          cancelled = true;
          return false;
        }
      }
      return EncodeGif(indexed, mode, index, out, reason);
    }
    case ImageFormat::Jpeg:
    case ImageFormat::Unknown: break;
  }
  return EncodeJpeg(image, options.JpegQuality, out, reason);
}

bool SaveImageFile(const std::string& path, const TFastDIB& image, const SaveOptions& options, std::string& error) {
  // BMP and PNG are written as they are encoded, from the image's own rows.
  const ImageFormat route = SaveRoute(path);
  if (!image.Empty() && (route == ImageFormat::Bmp || route == ImageFormat::Png))
    return WriteFileReplacingWith(
        path,
        [&](const ByteSink& sink, std::string& reason) {
          return route == ImageFormat::Bmp ? EncodeBmpTo(image, sink) : EncodePngTo(image, sink, reason);
        },
        error);
  std::vector<uint8_t> bytes;
  std::string reason;
  bool cancelled = false;
  if (!EncodeImage(SaveRoute(path), image, options, bytes, reason, cancelled)) {
    error = cancelled ? std::string() : SaveError(path, reason);
    return false;
  }
  return WriteFileReplacing(path, bytes.data(), bytes.size(), error);
}

}  // namespace vorq
