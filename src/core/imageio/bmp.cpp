#include "core/imageio/bmp.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace vorq {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

bool ReadBmp(const std::string& path, TFastDIB& surface, std::string& error) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    error = "Cannot open \"" + path + "\": " + std::strerror(errno) + ".";
    return false;
  }
  uint8_t head[54];
  if (std::fread(head, 1, sizeof head, f.get()) != sizeof head || head[0] != 'B' || head[1] != 'M') {
    error = "\"" + path + "\" is not a BMP file.";
    return false;
  }
  const uint32_t offset = U32(head + 10), infoSize = U32(head + 14);
  const int32_t width = int32_t(U32(head + 18)), height = int32_t(U32(head + 22));
  const uint16_t bits = U16(head + 28);
  const uint32_t compression = U32(head + 30);
  if (infoSize < 40 || bits != 24 || compression != 0) {
    error = "\"" + path + "\" is not a 24-bit uncompressed BMP file.";
    return false;
  }
  const int64_t absHeight = height < 0 ? -int64_t(height) : int64_t(height);
  if (!SizeAllowed(width, absHeight)) {
    error = "\"" + path + "\" declares a size of " + std::to_string(width) + " x " + std::to_string(absHeight) +
            " pixels, which is empty or larger than 16384 x 16384.";
    return false;
  }
  TFastDIB tmp;
  if (!tmp.SetSize(width, int(absHeight), 24, 0)) {
    error = "Not enough memory for \"" + path + "\".";
    return false;
  }
  const size_t fileStride = (size_t(width) * 3 + 3) & ~size_t(3);
  std::vector<uint8_t> row(fileStride);
  if (std::fseek(f.get(), long(offset), SEEK_SET) != 0) {
    error = "\"" + path + "\" is truncated.";
    return false;
  }
  for (int64_t i = 0; i < absHeight; ++i) {
    if (std::fread(row.data(), 1, fileStride, f.get()) != fileStride) {
      error = "\"" + path + "\" is truncated.";
      return false;
    }
    const int y = int(height < 0 ? i : absHeight - 1 - i);
    std::memcpy(tmp.Row(y), row.data(), size_t(width) * 3);
  }
  surface = std::move(tmp);
  return true;
}

bool WriteBmp(const std::string& path, const TFastDIB& surface, std::string& error) {
  const int w = surface.Width(), h = surface.Height();
  const uint32_t stride = surface.BytesPerRow;
  const uint32_t imageSize = stride * uint32_t(h);
  uint8_t head[54] = {'B', 'M'};
  Put32(head + 2, 54 + imageSize);
  Put32(head + 10, 54);
  Put32(head + 14, 40);
  Put32(head + 18, uint32_t(w));
  Put32(head + 22, uint32_t(h));  // bottom-up, as most readers expect
  head[26] = 1;
  head[28] = 24;
  Put32(head + 34, imageSize);
  Put32(head + 38, 2835);  // 72 dpi
  Put32(head + 42, 2835);
  const std::string tmpPath = path + ".tmp~";
  {
    File f(std::fopen(tmpPath.c_str(), "wb"));
    if (!f) {
      error = "Cannot write \"" + path + "\": " + std::strerror(errno) + ".";
      return false;
    }
    bool ok = std::fwrite(head, 1, sizeof head, f.get()) == sizeof head;
    std::vector<uint8_t> row(stride, 0);
    for (int y = h - 1; ok && y >= 0; --y) {
      std::memcpy(row.data(), surface.Row(y), size_t(w) * 3);  // gap bytes written as 0
      ok = std::fwrite(row.data(), 1, stride, f.get()) == stride;
    }
    ok = ok && std::fflush(f.get()) == 0;
    if (!ok) {
      error = "Cannot write \"" + path + "\": " + std::strerror(errno) + ".";
      f.reset();
      std::remove(tmpPath.c_str());
      return false;
    }
  }
  if (std::rename(tmpPath.c_str(), path.c_str()) != 0) {
    error = "Cannot write \"" + path + "\": " + std::strerror(errno) + ".";
    std::remove(tmpPath.c_str());
    return false;
  }
  return true;
}

}  // namespace vorq
