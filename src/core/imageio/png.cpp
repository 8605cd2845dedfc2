#include "core/imageio/png.h"

#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include <png.h>

#include "core/imageio/file_io.h"

namespace vorq {
namespace {

struct Reader {
  const uint8_t* Data;
  size_t Left;
};

struct Message {
  char Text[256] = {0};
};

// Limits on what a file can make libpng allocate, apart from the image
// itself: one chunk's data (text, colour profiles, ... inflated too) and all
// of libpng's own memory together.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t(4) << 20;  // 4 MiB
constexpr size_t kMaxLibraryBytes = size_t(32) << 20;                   // 32 MiB

// libpng's allocations, counted: each block carries its size in front.
struct Budget {
  size_t Used = 0;
};
constexpr size_t kHeader = alignof(std::max_align_t);

extern "C" png_voidp PngMalloc(png_structp png, png_alloc_size_t n) {
  auto* budget = static_cast<Budget*>(png_get_mem_ptr(png));
  if (n > kMaxLibraryBytes - budget->Used) return nullptr;  // libpng reports "out of memory"
  auto* p = static_cast<uint8_t*>(std::malloc(n + kHeader));
  if (p == nullptr) return nullptr;
  std::memcpy(p, &n, sizeof n);
  budget->Used += n;
  return p + kHeader;
}

extern "C" void PngFree(png_structp png, png_voidp block) {
  if (block == nullptr) return;
  auto* p = static_cast<uint8_t*>(block) - kHeader;
  size_t n;
  std::memcpy(&n, p, sizeof n);
  static_cast<Budget*>(png_get_mem_ptr(png))->Used -= n;
  std::free(p);
}

// Ancillary chunks the loader has no use for are skipped unread.
const png_byte kIgnoredChunks[] = {'t', 'E', 'X', 't', 0, 'z', 'T', 'X', 't', 0, 'i', 'T', 'X', 't', 0,
                                   'i', 'C', 'C', 'P', 0, 's', 'P', 'L', 'T', 0, 'e', 'X', 'I', 'f', 0,
                                   'h', 'I', 'S', 'T', 0, 'p', 'C', 'A', 'L', 0, 's', 'C', 'A', 'L', 0};

extern "C" void PngReadMemory(png_structp png, png_bytep buf, size_t n) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (n > r->Left) png_error(png, "the PNG data ends early");
  std::memcpy(buf, r->Data, n);
  r->Data += n;
  r->Left -= n;
}

extern "C" void PngWriteSink(png_structp png, png_bytep buf, size_t n) {
  const auto* sink = static_cast<const ByteSink*>(png_get_io_ptr(png));
  if (!(*sink)(buf, n)) png_error(png, "the data could not be written");
}

extern "C" void PngFlush(png_structp) {}

// libpng's default prints to stderr before jumping; ours keeps the text.
extern "C" void PngError(png_structp png, png_const_charp text) {
  auto* m = static_cast<Message*>(png_get_error_ptr(png));
  std::snprintf(m->Text, sizeof m->Text, "%s", text ? text : "unknown error");
  png_longjmp(png, 1);
}

extern "C" void PngWarning(png_structp, png_const_charp) {}

enum class Step { Ok, LibraryError, TooLarge, NoMemory };

// 0 ... 255 alpha over white, rounded.
inline uint8_t OverWhite(unsigned c, unsigned a) { return uint8_t((c * a + 255 * (255 - a) + 127) / 255); }

void CompositeRow(const uint8_t* bgra, TPixel24* out, int w) {
  for (int x = 0; x < w; ++x, bgra += 4) {
    const unsigned a = bgra[3];
    out[x] = TPixel24{OverWhite(bgra[0], a), OverWhite(bgra[1], a), OverWhite(bgra[2], a)};
  }
}

// Functions holding a setjmp keep no C++ objects of their own: everything
// they touch lives in the caller.
Step DecodeSteps(png_structp png, png_infop info, TFastDIB* img, uint8_t** buffer) {
  if (setjmp(png_jmpbuf(png))) return Step::LibraryError;
  png_set_user_limits(png, uint32_t(kMaxSide), uint32_t(kMaxSide));
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_chunk_cache_max(png, 64);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, int(sizeof kIgnoredChunks / 5));
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  if (!SizeAllowed(w, h)) return Step::TooLarge;
  const int colourType = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_scale_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int channels = png_get_channels(png, info);
  if (!img->SetSize(int(w), int(h), 24, 0)) return Step::NoMemory;
  if (channels == 3) {  // straight into the surface
    for (int pass = 0; pass < passes; ++pass)
      for (png_uint_32 y = 0; y < h; ++y) png_read_row(png, img->Row(int(y)), nullptr);
    return Step::Ok;
  }
  // Interlaced files need the whole image before compositing; others one row.
  const size_t rowBytes = size_t(w) * 4;
  *buffer = static_cast<uint8_t*>(std::malloc(passes > 1 ? rowBytes * h : rowBytes));
  if (*buffer == nullptr) return Step::NoMemory;
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < h; ++y) {
      uint8_t* row = *buffer + (passes > 1 ? rowBytes * y : 0);
      png_read_row(png, row, nullptr);
      if (passes == 1) CompositeRow(row, img->Row24(int(y)), int(w));
    }
  if (passes > 1)
    for (png_uint_32 y = 0; y < h; ++y) CompositeRow(*buffer + rowBytes * y, img->Row24(int(y)), int(w));
  return Step::Ok;
}

Step EncodeSteps(png_structp png, png_infop info, const TFastDIB* img, const ByteSink* sink) {
  if (setjmp(png_jmpbuf(png))) return Step::LibraryError;
  png_set_write_fn(png, const_cast<ByteSink*>(sink), PngWriteSink, PngFlush);
  png_set_IHDR(png, info, png_uint_32(img->Width()), png_uint_32(img->Height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // One filter and zlib level 1: at 4096 x 4096 this writes in well under
  // half the time of level 3 with every filter tried per row, for files
  // about 7 % larger on a noisy picture (level 6 spends 3-4x again).
  png_set_compression_level(png, 1);
  png_set_filter(png, 0, PNG_FILTER_SUB);
  png_write_info(png, info);
  png_set_bgr(png);
  for (int y = 0; y < img->Height(); ++y) png_write_row(png, img->Row(y));
  png_write_end(png, nullptr);
  return Step::Ok;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
    reason = "it is not a PNG file";
    return false;
  }
  // libpng only says "Invalid IHDR data" for sizes past its limits.
  if (size >= 24 && std::memcmp(data + 12, "IHDR", 4) == 0) {
    auto be32 = [&](size_t i) { return int64_t(data[i]) << 24 | int64_t(data[i + 1]) << 16 | int64_t(data[i + 2]) << 8 | data[i + 3]; };
    if (!SizeAllowed(be32(16), be32(20))) {
      reason = SizeRefusal(be32(16), be32(20));
      return false;
    }
  }
  Reader reader{data, size};
  Message message;
  Budget budget;
  png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &message, PngError, PngWarning, &budget,
                                             PngMalloc, PngFree);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    reason = "there is not enough memory to read it";
    return false;
  }
  png_set_read_fn(png, &reader, PngReadMemory);
  TFastDIB img;
  uint8_t* buffer = nullptr;
  const Step s = DecodeSteps(png, info, &img, &buffer);
  std::free(buffer);
  png_destroy_read_struct(&png, &info, nullptr);
  switch (s) {
    case Step::Ok: out = std::move(img); return true;
    case Step::TooLarge: reason = "it declares more than 16384 x 16384 pixels"; break;
    case Step::NoMemory: reason = "there is not enough memory for the image"; break;
    case Step::LibraryError:
      reason = message.Text;
      if (reason.find("PNG data ends early") == std::string::npos)
        reason = "the PNG data is damaged (" + reason + ")";
      break;
  }
  return false;
}

bool EncodePngTo(const TFastDIB& image, const ByteSink& sink, std::string& reason) {
  if (image.Empty()) {
    reason = "the image is empty";
    return false;
  }
  Message message;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, PngError, PngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    reason = "there is not enough memory for the PNG encoder";
    return false;
  }
  const Step s = EncodeSteps(png, info, &image, &sink);
  png_destroy_write_struct(&png, &info);
  if (s != Step::Ok) {
    reason = std::string("the PNG encoder failed (") + message.Text + ")";
    return false;
  }
  return true;
}

bool EncodePng(const TFastDIB& image, std::vector<uint8_t>& out, std::string& reason) {
  // Room for the worst case up front (stored deflate blocks: the filtered
  // rows plus 5 bytes in 16 KiB, chunk headers every 8 KiB), so the buffer
  // is never moved while it grows; pages past what is written stay untouched.
  const uint64_t raw = uint64_t(image.Height()) * (uint64_t(image.Width()) * 3 + 1);
  std::vector<uint8_t> bytes;
  try {
    bytes.reserve(size_t(raw + raw / 1024 + 12 * (raw / 8192) + 4096));
  } catch (const std::bad_alloc&) {
    reason = "there is not enough memory for the PNG encoder";
    return false;
  }
  bool full = false;
  const ByteSink sink = [&](const uint8_t* data, size_t n) {
    try {
      bytes.insert(bytes.end(), data, data + n);
      return true;
    } catch (const std::bad_alloc&) {
      full = true;
      return false;
    }
  };
  if (!EncodePngTo(image, sink, reason)) {
    if (full) reason = "there is not enough memory for the PNG file";
    return false;
  }
  out = std::move(bytes);
  return true;
}

}  // namespace vorq
