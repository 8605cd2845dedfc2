#include "core/imageio/png.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include <png.h>
#include <zlib.h>

#include "core/imageio/file_io.h"
#include "core/imageio/png_common.h"
#include "core/util/parallel.h"

namespace vorq {
namespace {

// The file as libpng asks for it: from memory, or from the file through a
// small buffer, so no copy of the whole file is made.
struct Reader {
  const uint8_t* Data = nullptr;  // the whole file, or null to use Source
  const ByteSource* Source = nullptr;
  uint64_t Size = 0, Offset = 0;  // the file's size, the next byte to take
  std::vector<uint8_t> Buffer;    // Source's bytes from Offset - (Len - Pos)
  size_t Pos = 0, Len = 0;
  std::string Failure;  // why Source failed
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

extern "C" void PngRead(png_structp png, png_bytep buf, size_t n) {
  auto* r = static_cast<Reader*>(png_get_io_ptr(png));
  if (r->Data != nullptr) {
    if (n > r->Size - r->Offset) png_error(png, "the PNG data ends early");
    std::memcpy(buf, r->Data + r->Offset, n);
    r->Offset += n;
    return;
  }
  while (n > 0) {
    if (r->Pos == r->Len) {
      if (r->Offset == r->Size) png_error(png, "the PNG data ends early");
      const size_t want = size_t(std::min<uint64_t>(r->Buffer.size(), r->Size - r->Offset));
      if (!(*r->Source)(r->Offset, r->Buffer.data(), want, r->Failure)) png_error(png, "the file could not be read");
      r->Offset += want;
      r->Pos = 0;
      r->Len = want;
    }
    const size_t k = std::min(n, r->Len - r->Pos);
    std::memcpy(buf, r->Buffer.data() + r->Pos, k);
    r->Pos += k;
    buf += k;
    n -= k;
  }
}

// libpng's default prints to stderr before jumping; ours keeps the text.
extern "C" void PngError(png_structp png, png_const_charp text) {
  auto* m = static_cast<Message*>(png_get_error_ptr(png));
  std::snprintf(m->Text, sizeof m->Text, "%s", text ? text : "unknown error");
  png_longjmp(png, 1);
}

extern "C" void PngWarning(png_structp, png_const_charp) {}

enum class Step { Ok, LibraryError, TooLarge, NoMemory };

using png::OverWhite;

void CompositeRow(const uint8_t* bgra, TPixel24* out, int w) {
  for (int x = 0; x < w; ++x, bgra += 4) {
    const unsigned a = bgra[3];
    out[x] = TPixel24{OverWhite(bgra[0], a), OverWhite(bgra[1], a), OverWhite(bgra[2], a)};
  }
}

// Functions holding a setjmp keep no C++ objects of their own: everything
// they touch lives in the caller.
Step DecodeSteps(png_structp png, png_infop info, TFastDIB* img, Prefault* prefault, uint8_t** buffer) {
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
  prefault->Start(*img);
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

// ---------------------------------------------------------------------------
// Writing. Rows are filtered with Sub and deflated at the fastest level in
// slices of whole rows (png::SliceRows), on both cores: each slice is a raw
// deflate stream primed with the 32 KiB of filtered rows before it (all but
// the middle one, which our reader inflates on its own) and ended by a sync
// flush (the last one by the final block), so the slices join into one zlib
// stream, and the file's bytes do not depend on the number of cores. On a
// noisy picture Sub at the fastest level writes in well under half the time
// of level 3 with every filter tried per row, for files about 7 % larger.

constexpr size_t kWindow = 32768;  // deflate's reach

void PutBe32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v >> 24);
  p[1] = uint8_t(v >> 16);
  p[2] = uint8_t(v >> 8);
  p[3] = uint8_t(v);
}

// Frames the n data bytes already at dst + 8 as a chunk: length and type
// before them, the CRC of type and data after. The chunk's size.
size_t FrameChunk(uint8_t* dst, const char* type, size_t n) {
  PutBe32(dst, uint32_t(n));
  std::memcpy(dst + 4, type, 4);
  PutBe32(dst + 8 + n, uint32_t(crc32(0, dst + 4, uInt(4 + n))));
  return 12 + n;
}

// One chunk of the given data at dst; its size.
size_t PutChunk(uint8_t* dst, const char* type, const uint8_t* data, size_t n) {
  if (n > 0) std::memcpy(dst + 8, data, n);
  return FrameChunk(dst, type, n);
}

bool Failed(std::string& reason, const char* why) {
  reason = why;
  return false;
}

// A row of the surface (blue, green, red) as PNG's filtered row: the filter
// type Sub, then red, green, blue, each less the same channel one pixel left.
void FilterRowSub(const uint8_t* bgr, int w, uint8_t* out) {
  *out++ = 1;
  uint8_t r = 0, g = 0, b = 0;
  for (int x = 0; x < w; ++x, bgr += 3, out += 3) {
    out[0] = uint8_t(bgr[2] - r);
    out[1] = uint8_t(bgr[1] - g);
    out[2] = uint8_t(bgr[0] - b);
    r = bgr[2];
    g = bgr[1];
    b = bgr[0];
  }
}

// Deflates one slice into one IDAT chunk. Its buffers are kept from slice
// to slice.
class SliceDeflater {
 public:
  SliceDeflater() { ready_ = deflateInit2(&z_, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
  ~SliceDeflater() {
    if (ready_) deflateEnd(&z_);
  }
  SliceDeflater(const SliceDeflater&) = delete;
  SliceDeflater& operator=(const SliceDeflater&) = delete;

  bool Ready() const { return ready_; }
  // Rows y0 .. y1 - 1 of image; last ends the deflate stream, fresh starts
  // it without the rows before.
  void Run(const TFastDIB& image, int y0, int y1, bool last, bool fresh) {
    ok_ = false;
    const int W = image.Width();
    const size_t rowBytes = size_t(W) * 3 + 1;
    const int before = fresh ? 0 : std::min(y0, int((kWindow + rowBytes - 1) / rowBytes));
    const size_t bytes = size_t(y1 - y0) * rowBytes;
    try {
      in_.resize(size_t(before + y1 - y0) * rowBytes);
    } catch (const std::bad_alloc&) {
      return;
    }
    for (int y = y0 - before; y < y1; ++y) FilterRowSub(image.Row(y), W, in_.data() + size_t(y - y0 + before) * rowBytes);
    const uint8_t* data = in_.data() + size_t(before) * rowBytes;
    if (deflateReset(&z_) != Z_OK) return;
    if (before > 0) {
      const size_t dict = std::min(kWindow, size_t(before) * rowBytes);
      if (deflateSetDictionary(&z_, data - dict, uInt(dict)) != Z_OK) return;
    }
    const size_t bound = deflateBound(&z_, uLong(bytes)) + 16;  // and the flush's empty block
    try {
      chunk_.resize(8 + bound + 4);
    } catch (const std::bad_alloc&) {
      return;
    }
    z_.next_in = const_cast<Bytef*>(data);
    z_.avail_in = uInt(bytes);
    z_.next_out = chunk_.data() + 8;
    z_.avail_out = uInt(bound);
    const int done = deflate(&z_, last ? Z_FINISH : Z_SYNC_FLUSH);
    if (z_.avail_in != 0 || (last ? done != Z_STREAM_END : (done != Z_OK || z_.avail_out == 0))) return;
    const size_t n = bound - z_.avail_out;
    chunk_.resize(FrameChunk(chunk_.data(), "IDAT", n));
    adler_ = adler32(adler32(0, nullptr, 0), data, uInt(bytes));
    bytes_ = bytes;
    ok_ = true;
  }
  bool Ok() const { return ok_; }
  const std::vector<uint8_t>& Chunk() const { return chunk_; }
  uLong Adler() const { return adler_; }
  size_t InputBytes() const { return bytes_; }

 private:
  z_stream z_{};
  bool ready_ = false, ok_ = false;
  std::vector<uint8_t> in_, chunk_;
  uLong adler_ = 0;
  size_t bytes_ = 0;
};

// Reads through reader, whose file's first `size` bytes are `start` (at most
// 24 of them).
bool DecodeWith(Reader& reader, const uint8_t* start, size_t size, TFastDIB& out, std::string& reason) {
  if (size < 8 || png_sig_cmp(start, 0, 8) != 0) {
    reason = "it is not a PNG file";
    return false;
  }
  // libpng only says "Invalid IHDR data" for sizes past its limits.
  if (size >= 24 && std::memcmp(start + 12, "IHDR", 4) == 0) {
    const int64_t w = png::Be32(start + 16), h = png::Be32(start + 20);
    if (!SizeAllowed(w, h)) {
      reason = SizeRefusal(w, h);
      return false;
    }
  }
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
  png_set_read_fn(png, &reader, PngRead);
  TFastDIB img;
  uint8_t* buffer = nullptr;
  Prefault prefault;  // joined before img goes
  const Step s = DecodeSteps(png, info, &img, &prefault, &buffer);
  std::free(buffer);
  png_destroy_read_struct(&png, &info, nullptr);
  switch (s) {
    case Step::Ok: out = std::move(img); return true;
    case Step::TooLarge: reason = "it declares more than 16384 x 16384 pixels"; break;
    case Step::NoMemory: reason = "there is not enough memory for the image"; break;
    case Step::LibraryError:
      reason = message.Text;
      if (!reader.Failure.empty()) reason = reader.Failure;
      else if (reason.find("PNG data ends early") == std::string::npos)
        reason = "the PNG data is damaged (" + reason + ")";
      break;
  }
  return false;
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason) {
  if (size >= 8 && png_sig_cmp(data, 0, 8) == 0 && png::DecodeCommon(MemorySource(data, size), size, out)) return true;
  Reader reader;
  reader.Data = data;
  reader.Size = size;
  return DecodeWith(reader, data, std::min<size_t>(size, 24), out, reason);
}

bool DecodePngFrom(const ByteSource& source, uint64_t size, TFastDIB& out, std::string& reason) {
  uint8_t start[24];
  const size_t n = size_t(std::min<uint64_t>(size, sizeof start));
  if (n > 0 && !source(0, start, n, reason)) return false;
  if (n >= 8 && png_sig_cmp(start, 0, 8) == 0 && png::DecodeCommon(source, size, out)) return true;
  Reader reader;
  reader.Source = &source;
  reader.Size = size;
  try {
    reader.Buffer.resize(size_t(std::min<uint64_t>(size, uint64_t(1) << 16)));
  } catch (const std::bad_alloc&) {
    return Failed(reason, "there is not enough memory to read it");
  }
  return DecodeWith(reader, start, n, out, reason);
}

bool EncodePngTo(const TFastDIB& image, const ByteSink& sink, std::string& reason) {
  if (image.Empty()) {
    reason = "the image is empty";
    return false;
  }
  const int W = image.Width(), H = image.Height();
  const int sliceRows = png::SliceRows(W, H);
  const int slices = (H + sliceRows - 1) / sliceRows, fresh = png::FreshSlice(slices);
  const int slots = std::min(slices, WorkerCount());

  uint8_t head[8 + 25 + 14];
  std::memcpy(head, "\x89PNG\r\n\x1a\n", 8);
  uint8_t ihdr[13];
  PutBe32(ihdr, uint32_t(W));
  PutBe32(ihdr + 4, uint32_t(H));
  const uint8_t rest[5] = {8, 2, 0, 0, 0};  // 8 bits, RGB, deflate, adaptive filters, not interlaced
  std::memcpy(ihdr + 8, rest, 5);
  size_t n = 8 + PutChunk(head + 8, "IHDR", ihdr, 13);
  // The zlib header for a 32 KiB window and the fastest level, its own IDAT.
  const uint8_t zhead[2] = {0x78, 0x01};
  n += PutChunk(head + n, "IDAT", zhead, 2);
  if (!sink(head, n)) return Failed(reason, "the data could not be written");

  const std::unique_ptr<SliceDeflater[]> workers(new (std::nothrow) SliceDeflater[size_t(slots)]);
  if (!workers) return Failed(reason, "there is not enough memory for the PNG encoder");
  for (int k = 0; k < slots; ++k)
    if (!workers[size_t(k)].Ready()) return Failed(reason, "there is not enough memory for the PNG encoder");
  uLong adler = adler32(0, nullptr, 0);
  for (int first = 0; first < slices; first += slots) {
    const int count = std::min(slots, slices - first);
    // One slice per worker. ParallelRows gives a thread no fewer than 16
    // rows, so each slice stands as 16 of them.
    ParallelRows(count * 16, [&](int b, int e) {
      for (int k = b / 16; k < (e + 15) / 16; ++k) {
        const int y0 = (first + k) * sliceRows;
        workers[size_t(k)].Run(image, y0, std::min(H, y0 + sliceRows), y0 + sliceRows >= H, first + k == fresh);
      }
    });
    for (int k = 0; k < count; ++k) {
      const SliceDeflater& d = workers[size_t(k)];
      if (!d.Ok()) return Failed(reason, "the PNG encoder ran out of memory");
      if (!sink(d.Chunk().data(), d.Chunk().size())) return Failed(reason, "the data could not be written");
      adler = adler32_combine(adler, d.Adler(), z_off_t(d.InputBytes()));
    }
  }
  uint8_t tail[16 + 12];
  uint8_t sum[4];
  PutBe32(sum, uint32_t(adler));
  n = PutChunk(tail, "IDAT", sum, 4);
  n += PutChunk(tail + n, "IEND", nullptr, 0);
  if (!sink(tail, n)) return Failed(reason, "the data could not be written");
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
