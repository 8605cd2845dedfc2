#include "core/imageio/bmp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "core/imageio/file_io.h"

namespace vorq {
namespace {

uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// One colour channel of a 16- or 32-bit pixel described by a bit mask.
struct Channel {
  int Shift = 0;
  int Bits = 0;  // 0: the channel is absent and reads as 0
  uint8_t Get(uint32_t px) const {
    if (Bits == 0) return 0;
    const uint32_t v = (px >> Shift) & (Bits >= 32 ? 0xFFFFFFFFu : (1u << Bits) - 1);
    if (Bits >= 8) return uint8_t(v >> (Bits - 8));
    const uint32_t max = (1u << Bits) - 1;
    return uint8_t((v * 255 + max / 2) / max);  // stretch a short channel to the full range
  }
};

bool MakeChannel(uint32_t mask, Channel& c) {
  c = Channel{};
  if (mask == 0) return true;
  c.Shift = std::countr_zero(mask);
  const uint32_t v = mask >> c.Shift;
  if ((v & (v + 1)) != 0) return false;  // holes in the mask
  c.Bits = std::popcount(v);
  return true;
}

struct Layout {
  int64_t Width = 0, Height = 0;  // Height is the absolute row count
  bool TopDown = false;
  int Bits = 0;
  uint32_t Compression = kRgb;
  std::array<TPixel24, 256> Palette{};  // entries past the file's table are black
  Channel R, G, B;
  bool StandardMasks32 = false;  // blue, green, red in bytes 0, 1, 2
};

bool DecodeRle(const uint8_t* p, const uint8_t* end, const Layout& l, TFastDIB& img, std::string& reason) {
  const bool rle8 = l.Compression == kRle8;
  int64_t x = 0, row = 0;  // row counts from the bottom of the image
  auto put = [&](uint8_t idx) {
    if (x < l.Width) img.Row24(int(l.Height - 1 - row))[x] = l.Palette[idx];  // pixels past the row end are dropped
    ++x;
  };
  while (row < l.Height) {
    if (end - p < 2) {
      reason = "the RLE data ends before the end of the image";
      return false;
    }
    const uint8_t count = p[0], value = p[1];
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count && x <= l.Width; ++i) put(rle8 ? value : (i & 1) ? value & 15 : value >> 4);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap: the rest stays black
      break;
    } else if (value == 2) {  // move right and up
      if (end - p < 2) {
        reason = "the RLE data ends before the end of the image";
        return false;
      }
      x += p[0];
      row += p[1];
      p += 2;
      if (x > l.Width || row >= l.Height) {
        reason = "an RLE offset moves outside the image";
        return false;
      }
    } else {  // a literal run of value pixels, padded to a 16-bit boundary
      const int64_t bytes = rle8 ? value : (value + 1) / 2;
      if (end - p < bytes) {
        reason = "the RLE data ends before the end of the image";
        return false;
      }
      for (int i = 0; i < value && x <= l.Width; ++i) put(rle8 ? p[i] : (i & 1) ? p[i / 2] & 15 : p[i / 2] >> 4);
      p += std::min<int64_t>(end - p, (bytes + 1) & ~int64_t(1));
    }
  }
  return true;
}

// File rows first .. first + count - 1, the first of them at pixels.
void DecodeRows(const uint8_t* pixels, size_t stride, const Layout& l, const std::vector<TPixel24>& lut16,
                int64_t first, int64_t count, TFastDIB& img) {
  const int w = int(l.Width);
  for (int64_t i = first; i < first + count; ++i) {
    const uint8_t* s = pixels + size_t(i - first) * stride;
    TPixel24* d = img.Row24(int(l.TopDown ? i : l.Height - 1 - i));
    switch (l.Bits) {
      case 1:
        for (int x = 0; x < w; ++x) d[x] = l.Palette[(s[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        for (int x = 0; x < w; ++x) d[x] = l.Palette[(x & 1) ? s[x >> 1] & 15 : s[x >> 1] >> 4];
        break;
      case 8:
        for (int x = 0; x < w; ++x) d[x] = l.Palette[s[x]];
        break;
      case 16:
        for (int x = 0; x < w; ++x) d[x] = lut16[U16(s + 2 * x)];
        break;
      case 24:
        std::memcpy(d, s, size_t(w) * 3);
        break;
      case 32:
        if (l.StandardMasks32) {
          for (int x = 0; x < w; ++x) d[x] = TPixel24{s[4 * x], s[4 * x + 1], s[4 * x + 2]};
        } else {
          for (int x = 0; x < w; ++x) {
            const uint32_t px = U32(s + 4 * x);
            d[x] = TPixel24{l.B.Get(px), l.G.Get(px), l.R.Get(px)};
          }
        }
        break;
    }
  }
}

// Every header, colour mask and colour table a valid file has lies within
// its first bytes: a 14-byte file header, an info header of at most 4096
// bytes, up to 16 bytes of masks and 256 four-byte colours.
constexpr uint64_t kHeadBytes = 14 + 4096 + 16 + 256 * 4;

}  // namespace

bool DecodeBmpFrom(const ByteSource& read, uint64_t size, TFastDIB& out, std::string& reason) {
  std::vector<uint8_t> head(size_t(std::min(size, kHeadBytes)));
  if (!head.empty() && !read(0, head.data(), head.size(), reason)) return false;
  const uint8_t* data = head.data();
  if (size < 2 || data[0] != 'B' || data[1] != 'M') {
    reason = "it is not a BMP file";
    return false;
  }
  if (size < 18) {
    reason = "the BMP header is truncated";
    return false;
  }
  const uint64_t offBits = U32(data + 10);
  const uint64_t headerSize = U32(data + 14);
  Layout l;
  uint64_t paletteStart = 14 + headerSize;
  size_t entrySize = 4;
  uint32_t colours = 0;
  uint32_t masks[3] = {0, 0, 0};
  bool haveMasks = false;
  if (headerSize == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
    if (size < 26) {
      reason = "the BMP header is truncated";
      return false;
    }
    l.Width = U16(data + 18);
    l.Height = U16(data + 20);
    l.Bits = U16(data + 24);
    entrySize = 3;
  } else if (headerSize >= 40 && headerSize <= 4096) {
    if (size < 14 + headerSize) {
      reason = "the BMP header is truncated";
      return false;
    }
    l.Width = int32_t(U32(data + 18));
    const int32_t h = int32_t(U32(data + 22));
    l.TopDown = h < 0;
    l.Height = h < 0 ? -int64_t(h) : int64_t(h);
    l.Bits = U16(data + 28);
    l.Compression = U32(data + 30);
    colours = U32(data + 46);
    if (headerSize == 64 && (l.Compression == 3 || l.Compression == 4)) {
      reason = "it uses an OS/2 compression that is not supported";
      return false;
    }
    if (l.Compression == kBitFields || l.Compression == kAlphaBitFields) {
      const uint8_t* m = data + 54;
      if (headerSize < 52) {  // the masks follow a 40-byte header
        const uint64_t maskBytes = l.Compression == kAlphaBitFields ? 16 : 12;
        if (size < 54 + maskBytes) {
          reason = "the BMP colour masks are truncated";
          return false;
        }
        paletteStart += maskBytes;
      }
      masks[0] = U32(m);
      masks[1] = U32(m + 4);
      masks[2] = U32(m + 8);
      haveMasks = true;
    }
  } else {
    reason = "its header size of " + std::to_string(headerSize) + " bytes is not a known BMP header";
    return false;
  }

  if (!SizeAllowed(l.Width, l.Height)) {
    reason = SizeRefusal(l.Width, l.Height);
    return false;
  }
  bool known = false;
  switch (l.Compression) {
    case kRgb: known = l.Bits == 1 || l.Bits == 4 || l.Bits == 8 || l.Bits == 16 || l.Bits == 24 || l.Bits == 32; break;
    case kRle8: known = l.Bits == 8; break;
    case kRle4: known = l.Bits == 4; break;
    case kBitFields:
    case kAlphaBitFields: known = l.Bits == 16 || l.Bits == 32; break;
    default:
      reason = "its compression type " + std::to_string(l.Compression) + " is not supported";
      return false;
  }
  if (!known) {
    reason = "it has " + std::to_string(l.Bits) + " bits per pixel with compression type " +
             std::to_string(l.Compression) + ", which is not a valid combination";
    return false;
  }
  if (l.TopDown && (l.Compression == kRle4 || l.Compression == kRle8)) {
    reason = "it is a top-down bitmap with RLE compression, which is not valid";
    return false;
  }

  if (!haveMasks) {
    if (l.Bits == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (l.Bits == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  }
  if (l.Bits == 16 || l.Bits == 32) {
    if (l.Bits == 16 && ((masks[0] | masks[1] | masks[2]) >> 16) != 0) {
      reason = "its colour masks reach beyond 16 bits";
      return false;
    }
    if (!MakeChannel(masks[0], l.R) || !MakeChannel(masks[1], l.G) || !MakeChannel(masks[2], l.B)) {
      reason = "its colour masks are not contiguous runs of bits";
      return false;
    }
    l.StandardMasks32 = l.Bits == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
  }

  if (l.Bits <= 8) {
    if (colours > 256) {
      reason = "its colour table declares " + std::to_string(colours) + " entries, more than 256";
      return false;
    }
    const uint32_t n = colours != 0 ? colours : 1u << l.Bits;
    if (paletteStart + uint64_t(n) * entrySize > size) {
      reason = "the colour table is truncated";
      return false;
    }
    for (uint32_t i = 0; i < n; ++i) {
      const uint8_t* e = data + paletteStart + i * entrySize;
      l.Palette[i] = TPixel24{e[0], e[1], e[2]};
    }
  }

  if (offBits < 14 + std::min<uint64_t>(headerSize, 40) || offBits >= size) {
    reason = offBits >= size ? "the pixel data is missing" : "its pixel data offset points into the header";
    return false;
  }
  const uint64_t stride = (uint64_t(l.Width) * uint64_t(l.Bits) + 31) / 32 * 4;
  const bool rle = l.Compression == kRle4 || l.Compression == kRle8;
  if (!rle) {
    const uint64_t lastRow = (uint64_t(l.Width) * uint64_t(l.Bits) + 7) / 8;
    if (offBits + stride * uint64_t(l.Height - 1) + lastRow > size) {
      reason = "the pixel data is truncated";
      return false;
    }
  }

  TFastDIB img;
  Prefault prefault;  // joined before img goes
  if (!img.SetSize(int(l.Width), int(l.Height), 24, 0)) {
    reason = "there is not enough memory for " + std::to_string(l.Width) + " x " + std::to_string(l.Height) + " pixels";
    return false;
  }
  prefault.Start(img, !l.TopDown);  // the file's first rows land at the surface's end
  if (rle) {
    std::vector<uint8_t> packed(size_t(size - offBits));
    if (!read(offBits, packed.data(), packed.size(), reason) ||
        !DecodeRle(packed.data(), packed.data() + packed.size(), l, img, reason))
      return false;
  } else if (l.Bits == 24) {
    // The file's row bytes are the surface's pixel bytes: read straight into
    // the rows, up to 1024 of them a call, the padding into a spare word.
    const size_t pixels = size_t(l.Width) * 3, pad = size_t(stride) - pixels;
    uint8_t spare[4];
    std::vector<iovec> pieces;
    for (int64_t first = 0; first < l.Height; first += 1024) {
      const int64_t end = std::min<int64_t>(l.Height, first + 1024);
      pieces.clear();
      for (int64_t i = first; i < end; ++i) {
        pieces.push_back({img.Row(int(l.TopDown ? i : l.Height - 1 - i)), pixels});
        if (pad > 0 && i + 1 < l.Height) pieces.push_back({spare, pad});  // the last row may lack it
      }
      if (!read.Scatter(offBits + uint64_t(first) * stride, pieces.data(), pieces.size(), reason)) return false;
    }
  } else {
    std::vector<TPixel24> lut16;
    if (l.Bits == 16) {
      lut16.resize(65536);
      for (uint32_t v = 0; v < 65536; ++v) lut16[v] = TPixel24{l.B.Get(v), l.G.Get(v), l.R.Get(v)};
    }
    // About 1 MiB of file rows at a time; the last row may lack its padding.
    const int64_t rowsPerChunk = std::max<int64_t>(1, int64_t((uint64_t(1) << 20) / stride));
    const uint64_t lastRow = (uint64_t(l.Width) * uint64_t(l.Bits) + 7) / 8;
    std::vector<uint8_t> chunk(size_t(std::min(rowsPerChunk, l.Height) * int64_t(stride)));
    for (int64_t first = 0; first < l.Height; first += rowsPerChunk) {
      const int64_t count = std::min(rowsPerChunk, l.Height - first);
      const uint64_t bytes = uint64_t(count - 1) * stride + (first + count == l.Height ? lastRow : stride);
      if (!read(offBits + uint64_t(first) * stride, chunk.data(), size_t(bytes), reason)) return false;
      DecodeRows(chunk.data(), size_t(stride), l, lut16, first, count, img);
    }
  }
  out = std::move(img);
  return true;
}

bool DecodeBmp(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason) {
  return DecodeBmpFrom(MemorySource(data, size), size, out, reason);
}

namespace {

constexpr size_t kBmpHead = 54;

// The file and info headers of a 24-bit bottom-up BMP of image.
void PutHeaders(const TFastDIB& image, uint8_t* head) {
  const size_t imageSize = size_t(image.BytesPerRow) * size_t(image.Height());
  std::memset(head, 0, kBmpHead);
  head[0] = 'B';
  head[1] = 'M';
  Put32(head + 2, uint32_t(kBmpHead + imageSize));
  Put32(head + 10, kBmpHead);
  Put32(head + 14, 40);
  Put32(head + 18, uint32_t(image.Width()));
  Put32(head + 22, uint32_t(image.Height()));  // bottom-up, as most readers expect
  head[26] = 1;
  head[28] = 24;
  Put32(head + 34, uint32_t(imageSize));
  Put32(head + 38, 2835);  // 72 dpi
  Put32(head + 42, 2835);
}

}  // namespace

bool EncodeBmpTo(const TFastDIB& image, const ByteSink& sink) {
  const int h = image.Height();
  const size_t stride = image.BytesPerRow, pixels = size_t(image.Width()) * 3;
  uint8_t head[kBmpHead];
  PutHeaders(image, head);
  if (!sink(head, sizeof head)) return false;
  // Rows bottom-up, straight from the surface, up to 1024 a call; the
  // padding is written as zeros whatever the surface's gap bytes hold.
  static const uint8_t kZeros[4] = {};
  std::vector<iovec> pieces;
  for (int y = h - 1; y >= 0;) {
    pieces.clear();
    for (int k = 0; y >= 0 && k < 1024; --y, ++k) {
      pieces.push_back({const_cast<uint8_t*>(image.Row(y)), pixels});
      if (stride > pixels) pieces.push_back({const_cast<uint8_t*>(kZeros), stride - pixels});
    }
    if (!sink.Gather(pieces.data(), pieces.size())) return false;
  }
  return true;
}

std::vector<uint8_t> EncodeBmp(const TFastDIB& image) {
  const int h = image.Height();
  const size_t stride = image.BytesPerRow, pixels = size_t(image.Width()) * 3;
  std::vector<uint8_t> file(kBmpHead + stride * size_t(h), 0);
  PutHeaders(image, file.data());
  for (int y = 0; y < h; ++y)  // gap bytes stay 0
    std::memcpy(file.data() + kBmpHead + size_t(h - 1 - y) * stride, image.Row(y), pixels);
  return file;
}

bool ReadBmp(const std::string& path, TFastDIB& surface, std::string& error) {
  return ReadFileWith(
      path,
      [&](uint64_t size, const ByteSource& source, std::string& reason) {
        if (size == 0) {
          reason = "the file is empty";
          return false;
        }
        return DecodeBmpFrom(source, size, surface, reason);
      },
      error);
}

bool WriteBmp(const std::string& path, const TFastDIB& surface, std::string& error) {
  if (surface.Empty()) {
    error = SaveError(path, "the image is empty");
    return false;
  }
  return WriteFileReplacingWith(
      path, [&](const ByteSink& sink, std::string&) { return EncodeBmpTo(surface, sink); }, error);
}

}  // namespace vorq
