#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include "core/imageio/bmp.h"
#include "core/imageio/file_io.h"
#include "core/imageio/gif.h"
#include "core/imageio/image_file.h"
#include "core/imageio/jpeg.h"
#include "core/util/parallel.h"
#include "test_util.h"

using namespace vorq;
using vorq::test::SamePixels;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A BMP with the given header fields; palette entries are 0x00RRGGBB.
// Masks go inside the header when it is larger than 40 bytes, after it otherwise.
Bytes MakeBmp(int32_t w, int32_t h, uint16_t bits, uint32_t compression, const std::vector<uint32_t>& palette,
              const Bytes& pixels, const std::vector<uint32_t>& masks = {}, uint32_t headerSize = 40,
              uint32_t clrUsed = 0) {
  if (clrUsed == 0 && !palette.empty() && palette.size() != (size_t(1) << bits)) clrUsed = uint32_t(palette.size());
  const size_t maskBytes = headerSize == 40 ? masks.size() * 4 : 0;
  const size_t off = 14 + headerSize + maskBytes + palette.size() * 4;
  Bytes b(off, 0);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, uint32_t(off + pixels.size()));
  Put32(b, 10, uint32_t(off));
  Put32(b, 14, headerSize);
  Put32(b, 18, uint32_t(w));
  Put32(b, 22, uint32_t(h));
  Put16(b, 26, 1);
  Put16(b, 28, bits);
  Put32(b, 30, compression);
  Put32(b, 34, uint32_t(pixels.size()));
  Put32(b, 46, clrUsed);
  for (size_t i = 0; i < masks.size(); ++i) Put32(b, 54 + 4 * i, masks[i]);
  for (size_t i = 0; i < palette.size(); ++i) Put32(b, 14 + headerSize + maskBytes + 4 * i, palette[i]);
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

TPixel24 Rgb(uint32_t rgb) { return MakePixel(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)); }

::testing::AssertionResult RowIs(const TFastDIB& s, int y, std::initializer_list<uint32_t> rgb) {
  if (y >= s.Height() || int(rgb.size()) > s.Width())
    return ::testing::AssertionFailure() << "the image is only " << s.Width() << " x " << s.Height();
  int x = 0;
  for (uint32_t c : rgb) {
    const TPixel24 p = s.GetPixel(y, x);
    if (!(p == Rgb(c)))
      return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << int(p.R) << "," << int(p.G)
                                           << "," << int(p.B) << ", expected " << std::hex << c;
    ++x;
  }
  return ::testing::AssertionSuccess();
}

TFastDIB Load(const Bytes& b) {
  TFastDIB s;
  std::string error;
  EXPECT_TRUE(LoadImageMemory(b.data(), b.size(), s, error)) << error;
  return s;
}

// A smooth picture with hand-known pixels: (x * 4, y * 4, 128 + x - y).
TFastDIB Gradient(int w, int h) {
  return test::Painted(w, h,
                       [](int x, int y) { return MakePixel(uint8_t(x * 4), uint8_t(y * 4), uint8_t(128 + x - y)); });
}

Bytes ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

// Loads a file that must be refused; gives the message.
std::string Refusal(const fs::path& p) {
  TFastDIB s;
  std::string error;
  EXPECT_FALSE(LoadImageFile(p.string(), s, error)) << p;
  return error;
}

class TempDir {
 public:
  TempDir() {
    static int n = 0;
    path_ = fs::temp_directory_path() / ("vorq_io_" + std::to_string(getpid()) + "_" + std::to_string(n++));
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  size_t Count() const { return size_t(std::distance(fs::directory_iterator(path_), fs::directory_iterator())); }

 private:
  fs::path path_;
};

// --- libjpeg, giflib and libpng writers for files our encoders never make ---

Bytes JpegFrom(int w, int h, int components, J_COLOR_SPACE space, const Bytes& samples, int quality = 95,
               int restartRows = 0) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buf = nullptr;
  unsigned long len = 0;
  jpeg_mem_dest(&c, &buf, &len);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = components;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  c.restart_in_rows = restartRows;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + size_t(c.next_scanline) * size_t(w * components));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(buf, buf + len);
  free(buf);
  return out;
}

// libjpeg's own full-scale decoding with fancy upsampling, as samples in the
// file's order (RGB, grey or CMYK); with colours > 0 quantized in two passes
// with Floyd-Steinberg dithering, each index given as its RGB entry.
Bytes LibjpegSamples(const Bytes& file, int colours = 0) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr err;
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&d, TRUE);
  d.do_fancy_upsampling = TRUE;
  if (colours > 0) {
    d.out_color_space = JCS_RGB;
    d.quantize_colors = TRUE;
    d.desired_number_of_colors = colours;
    d.two_pass_quantize = TRUE;
    d.dither_mode = JDITHER_FS;
  }
  jpeg_start_decompress(&d);
  Bytes out, row(size_t(d.output_width) * size_t(d.output_components));
  while (d.output_scanline < d.output_height) {
    JSAMPROW r = row.data();
    jpeg_read_scanlines(&d, &r, 1);
    for (uint8_t v : row)
      if (colours > 0)
        out.insert(out.end(), {d.colormap[0][v], d.colormap[1][v], d.colormap[2][v]});
      else
        out.push_back(v);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return out;
}

::testing::AssertionResult SameAsRgb(const TFastDIB& s, const Bytes& rgb) {
  if (rgb.size() != size_t(s.Width()) * size_t(s.Height()) * 3) return ::testing::AssertionFailure() << "sizes differ";
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const uint8_t* c = &rgb[(size_t(y) * size_t(s.Width()) + size_t(x)) * 3];
      if (!(s.GetPixel(y, x) == MakePixel(c[0], c[1], c[2]))) return ::testing::AssertionFailure() << x << "," << y;
    }
  return ::testing::AssertionSuccess();
}

struct GifFrame {
  int Left = 0, Top = 0, W = 0, H = 0;
  bool Interlace = false;
  std::vector<uint32_t> LocalMap;  // 0x00RRGGBB
  Bytes Pixels;                     // in display order
  int Transparent = -2;             // -2: no graphic control extension
};

ColorMapObject* GifMap(const std::vector<uint32_t>& colours) {
  int n = 2;
  while (n < int(colours.size())) n *= 2;
  ColorMapObject* m = GifMakeMapObject(n, nullptr);
  for (size_t i = 0; i < colours.size(); ++i)
    m->Colors[i] = GifColorType{uint8_t(colours[i] >> 16), uint8_t(colours[i] >> 8), uint8_t(colours[i])};
  return m;
}

extern "C" int GifToVector(GifFileType* g, const GifByteType* b, int n) {
  static_cast<Bytes*>(g->UserData)->insert(static_cast<Bytes*>(g->UserData)->end(), b, b + n);
  return n;
}

Bytes MakeGif(int sw, int sh, const std::vector<uint32_t>& global, int background, const std::vector<GifFrame>& frames) {
  Bytes out;
  int err = 0;
  GifFileType* g = EGifOpen(&out, GifToVector, &err);
  EGifSetGifVersion(g, true);
  ColorMapObject* gm = global.empty() ? nullptr : GifMap(global);
  EGifPutScreenDesc(g, sw, sh, 8, background, gm);
  for (const GifFrame& f : frames) {
    if (f.Transparent != -2) {
      GraphicsControlBlock gcb{};
      gcb.TransparentColor = f.Transparent;
      GifByteType ext[4];
      EGifGCBToExtension(&gcb, ext);
      EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    }
    ColorMapObject* lm = f.LocalMap.empty() ? nullptr : GifMap(f.LocalMap);
    EGifPutImageDesc(g, f.Left, f.Top, f.W, f.H, f.Interlace, lm);
    std::vector<int> order;
    if (f.Interlace) {
      for (int start : {0, 4, 2, 1})
        for (int y = start; y < f.H; y += start == 0 ? 8 : start == 4 ? 8 : start == 2 ? 4 : 2) order.push_back(y);
    } else {
      for (int y = 0; y < f.H; ++y) order.push_back(y);
    }
    for (int y : order) EGifPutLine(g, const_cast<GifByteType*>(f.Pixels.data() + y * f.W), f.W);
    if (lm) GifFreeMapObject(lm);
  }
  EGifCloseFile(g, &err);
  if (gm) GifFreeMapObject(gm);
  return out;
}

// The first graphic control extension of a written GIF and its global map size.
struct GifInfo {
  int MapSize = 0;
  bool HasGce = false;
  int GceFlags = -1, GceIndex = -1;
};

GifInfo ReadGifInfo(const Bytes& b) {
  GifInfo info;
  if (b.size() < 13) return info;
  info.MapSize = (b[10] & 0x80) ? 2 << (b[10] & 7) : 0;
  for (size_t i = 13 + 3 * size_t(info.MapSize); i + 7 < b.size() && b[i] == 0x21; i += 3 + b[i + 2] + 1)
    if (b[i + 1] == 0xF9 && b[i + 2] == 4) {
      info.HasGce = true;
      info.GceFlags = b[i + 3];
      info.GceIndex = b[i + 6];
      break;
    }
  return info;
}

extern "C" void PngToVector(png_structp p, png_bytep b, size_t n) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(p));
  out->insert(out->end(), b, b + n);
}
extern "C" void PngNoFlush(png_structp) {}

// rows hold the file's raw samples (16-bit samples big-endian, as PNG stores them).
Bytes MakePng(int w, int h, int depth, int colourType, const std::vector<Bytes>& rows,
              const std::vector<png_color>& palette = {}, const Bytes& trns = {}, bool interlace = false,
              const png_color_16* greyKey = nullptr, int filters = PNG_ALL_FILTERS) {
  Bytes out;
  png_structp p = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(p);
  png_set_write_fn(p, &out, PngToVector, PngNoFlush);
  png_set_filter(p, 0, filters);
  png_set_compression_buffer_size(p, 97);  // many IDAT chunks, some rows split across them
  png_set_IHDR(p, info, png_uint_32(w), png_uint_32(h), depth, colourType,
               interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(p, info, palette.data(), int(palette.size()));
  if (!trns.empty() || greyKey) png_set_tRNS(p, info, trns.data(), int(trns.size()), greyKey);
  png_write_info(p, info);
  const int passes = interlace ? png_set_interlace_handling(p) : 1;
  for (int pass = 0; pass < passes; ++pass)
    for (const Bytes& r : rows) png_write_row(p, r.data());
  png_write_end(p, nullptr);
  png_destroy_write_struct(&p, &info);
  return out;
}

}  // namespace

// ---------------------------------------------------------------- BMP

TEST(BmpRead, PalettedAndDirectDepthsAndBitFields) {
  // 1 bit, bottom-up: file rows are bottom first; each row padded to 4 bytes.
  TFastDIB s = Load(MakeBmp(3, 2, 1, 0, {0xFF0000, 0x0000FF}, {0b10100000, 0, 0, 0, 0b01100000, 0, 0, 0}));
  EXPECT_TRUE(RowIs(s, 0, {0xFF0000, 0x0000FF, 0x0000FF}));
  EXPECT_TRUE(RowIs(s, 1, {0x0000FF, 0xFF0000, 0x0000FF}));

  // 4 bits, high nibble first.
  std::vector<uint32_t> pal16(16, 0);
  pal16[1] = 0x102030, pal16[2] = 0x405060, pal16[3] = 0x708090;
  s = Load(MakeBmp(3, 1, 4, 0, pal16, {0x12, 0x30, 0, 0}));
  EXPECT_TRUE(RowIs(s, 0, {0x102030, 0x405060, 0x708090}));

  // 8 bits, top-down, a short colour table: an index past it reads black.
  s = Load(MakeBmp(2, -2, 8, 0, {0x111111, 0x222222, 0x333333}, {0, 1, 0, 0, 2, 200, 0, 0}, {}, 40, 3));
  EXPECT_TRUE(RowIs(s, 0, {0x111111, 0x222222}));
  EXPECT_TRUE(RowIs(s, 1, {0x333333, 0x000000}));
  s = Load(MakeBmp(1, 1, 8, 0, std::vector<uint32_t>(256, 0x445566), {255, 0, 0, 0}, {}, 40, 256));  // 256 declared
  EXPECT_TRUE(RowIs(s, 0, {0x445566}));

  // OS/2 core header: 16-bit sizes and 3-byte palette entries.
  Bytes core(14 + 12 + 6 + 4, 0);
  core[0] = 'B', core[1] = 'M';
  Put32(core, 10, 14 + 12 + 6);
  Put32(core, 14, 12);
  Put16(core, 18, 2), Put16(core, 20, 1), Put16(core, 22, 1), Put16(core, 24, 1);
  core[26] = 0x33, core[27] = 0x22, core[28] = 0x11;  // entry 0: B G R
  core[29] = 0xCC, core[30] = 0xBB, core[31] = 0xAA;
  core[32] = 0b01000000;
  s = Load(core);
  EXPECT_TRUE(RowIs(s, 0, {0x112233, 0xAABBCC}));
  // 16 bits default 5-5-5: five-bit channels stretched to 0 ... 255.
  s = Load(MakeBmp(4, 1, 16, 0, {}, {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42}));
  EXPECT_TRUE(RowIs(s, 0, {0xFF0000, 0x00FF00, 0x0000FF, 0x848484}));
  // 16 bits 5-6-5 through BITFIELDS after a 40-byte header.
  s = Load(MakeBmp(3, 1, 16, 3, {}, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0}, {0xF800, 0x07E0, 0x001F}));
  EXPECT_TRUE(RowIs(s, 0, {0xFF0000, 0x00FF00, 0x0000FF}));
  // 24 bits bottom-up with row padding.
  s = Load(MakeBmp(2, 2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}));
  EXPECT_TRUE(RowIs(s, 0, {0x090807, 0x0C0B0A}));
  EXPECT_TRUE(RowIs(s, 1, {0x030201, 0x060504}));
  // 32 bits default: B, G, R, unused.
  s = Load(MakeBmp(1, 1, 32, 0, {}, {0x10, 0x20, 0x30, 0x99}));
  EXPECT_TRUE(RowIs(s, 0, {0x302010}));
  // 32 bits R, G, B, A in byte order through masks inside a V4 header.
  s = Load(MakeBmp(1, -1, 32, 3, {}, {0x10, 0x20, 0x30, 0x99}, {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}, 108));
  EXPECT_TRUE(RowIs(s, 0, {0x102030}));
  // 10-bit channels keep their top 8 bits; a channel without a mask reads 0.
  s = Load(MakeBmp(1, 1, 32, 3, {}, {0x00, 0x00, 0xF8, 0x3F}, {0x3FF00000, 0x000FFC00, 0}));
  EXPECT_TRUE(RowIs(s, 0, {0xFF8000}));
}

TEST(BmpRead, RunLengthEncoded) {
  // RLE8, 4 x 3: a run, a single pixel, end of line; a literal run of three
  // (padded) and a one-pixel run; a move right, one pixel, end of bitmap.
  const std::vector<uint32_t> pal = {0x000010, 0x000020, 0x000030, 0x000040};
  Bytes rle8 = {3, 1, 1, 2, 0, 0,  //
                0, 3, 2, 1, 2, 0, 1, 0, 0, 0,  //
                0, 2, 1, 0, 1, 3, 0, 1};
  TFastDIB s = Load(MakeBmp(4, 3, 8, 1, pal, rle8));
  EXPECT_TRUE(RowIs(s, 2, {0x000020, 0x000020, 0x000020, 0x000030}));
  EXPECT_TRUE(RowIs(s, 1, {0x000030, 0x000020, 0x000030, 0x000010}));
  EXPECT_TRUE(RowIs(s, 0, {0x000000, 0x000040, 0x000000, 0x000000}));  // skipped pixels stay black
  // RLE4: runs alternate two nibbles; a literal run of 3 nibbles takes 2 bytes + pad.
  std::vector<uint32_t> pal16(16, 0);
  pal16[1] = 0x010101, pal16[2] = 0x020202, pal16[3] = 0x030303;
  s = Load(MakeBmp(8, 1, 4, 2, pal16, {5, 0x12, 0, 3, 0x32, 0x10, 0, 1}));
  EXPECT_TRUE(RowIs(s, 0, {0x010101, 0x020202, 0x010101, 0x020202, 0x010101, 0x030303, 0x020202, 0x010101}));
  // A literal run of 5 nibbles takes 3 bytes, padded to 4.
  s = Load(MakeBmp(8, 1, 4, 2, pal16, {0, 5, 0x12, 0x31, 0x20, 0x00, 2, 0x33, 0, 1}));
  EXPECT_TRUE(RowIs(s, 0, {0x010101, 0x020202, 0x030303, 0x010101, 0x020202, 0x030303, 0x030303, 0x000000}));
  // A run longer than the row is cut at the row's end.
  s = Load(MakeBmp(2, 1, 8, 1, pal, {5, 1, 0, 1}));
  EXPECT_TRUE(RowIs(s, 0, {0x000020, 0x000020}));
  // A move up onto the row past the top is refused.
  const Bytes up = MakeBmp(2, 2, 8, 1, pal, {0, 2, 0, 2, 0, 1});
  std::string reason;
  EXPECT_FALSE(DecodeBmp(up.data(), up.size(), s, reason)) << "a move past the top";
}

// Files are read a row (24 bits) or about 1 MiB (other depths) at a time and
// written in pieces; both must give what the decoder and encoder give in memory.
TEST(BmpRead, FilesReadInPiecesMatchMemory) {
  TempDir dir;
  uint32_t seed = 7;
  auto noise = [&](size_t n) {
    Bytes b(n);
    for (auto& v : b) v = uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
    return b;
  };
  std::vector<uint32_t> pal(256);
  for (uint32_t i = 0; i < 256; ++i) pal[i] = i * 0x010203u;
  struct Case {
    const char* Name;
    Bytes Data;
  } cases[] = {
      // 1500 x 800 at 8 bits: two pieces; the last row lacks its padding.
      {"8 bit", MakeBmp(1499, 800, 8, 0, pal, noise(1500 * 799 + 1499))},
      {"24 bit bottom-up", MakeBmp(701, 1100, 24, 0, {}, noise(2104 * 1100))},  // two reads of rows
      {"24 bit top-down", MakeBmp(33, -20, 24, 0, {}, noise(100 * 20))},
      {"16 bit", MakeBmp(1000, 700, 16, 0, {}, noise(2000 * 700))},
      {"32 bit", MakeBmp(300, 1000, 32, 0, {}, noise(1200 * 1000))},
      {"RLE8", MakeBmp(4, 3, 8, 1, pal, {3, 1, 1, 2, 0, 0, 0, 3, 2, 1, 2, 0, 1, 0, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1})},
  };
  for (const Case& c : cases) {
    WriteAll(dir / "f.bmp", c.Data);
    TFastDIB fromFile, fromMemory;
    std::string error;
    ASSERT_TRUE(LoadImageFile((dir / "f.bmp").string(), fromFile, error)) << c.Name << ": " << error;
    ASSERT_TRUE(LoadImageMemory(c.Data.data(), c.Data.size(), fromMemory, error)) << c.Name;
    EXPECT_TRUE(SamePixels(fromFile, fromMemory)) << c.Name;
    for (int y = 0; y < fromFile.Height(); ++y)
      for (int i = 3 * fromFile.Width(); i < int(fromFile.BytesPerRow); ++i)
        ASSERT_EQ(fromFile.Row(y)[i], 0) << c.Name << ": the file's row padding stays out of the gap bytes";
  }
  // A file cut inside its pixels is refused, whatever the piece it falls in.
  Bytes cut = cases[0].Data;
  cut.resize(cut.size() - 2);
  WriteAll(dir / "cut.bmp", cut);
  EXPECT_NE(Refusal(dir / "cut.bmp").find("truncated"), std::string::npos) << Refusal(dir / "cut.bmp");
}

TEST(ImageFile, FilesWrittenInPiecesMatchTheEncoders) {
  TempDir dir;
  const TFastDIB img = test::Random(701, 1100, 3, true);  // two writes of rows; one gap byte a row
  std::string error, reason;
  bool cancelled = false;
  Bytes encoded;
  for (auto [name, format] : {std::pair{"w.bmp", ImageFormat::Bmp}, {"w.png", ImageFormat::Png}}) {
    ASSERT_TRUE(SaveImageFile((dir / name).string(), img, SaveOptions{}, error)) << error;
    ASSERT_TRUE(EncodeImage(format, img, SaveOptions{}, encoded, reason, cancelled)) << reason;
    EXPECT_EQ(ReadAll(dir / name), encoded) << name;
    TFastDIB back;
    ASSERT_TRUE(LoadImageFile((dir / name).string(), back, error)) << error;
    EXPECT_TRUE(SamePixels(back, img)) << name;
  }
  const Bytes bmp = ReadAll(dir / "w.bmp");
  for (int row = 0; row < 600; ++row) ASSERT_EQ(bmp[54 + size_t(row) * 2104 + 2103], 0) << "padding is written as 0";
  // One row of two pixels, every header byte: size 62, data at 54, 40-byte header, 2 x 1, one plane, 24 bits,
  // 8 bytes of pixels, 2835 pixels a metre both ways.
  const TFastDIB pair =
      test::Painted(2, 1, [](int x, int) { return MakePixel(uint8_t(1 + 3 * x), uint8_t(2 + 3 * x), uint8_t(3 + 3 * x)); });
  ASSERT_TRUE(SaveImageFile((dir / "pair.bmp").string(), pair, SaveOptions{}, error)) << error;
  Bytes expected(62, 0);
  expected[0] = 'B', expected[1] = 'M', expected[2] = 62, expected[10] = 54, expected[14] = 40, expected[18] = 2;
  expected[22] = 1, expected[26] = 1, expected[28] = 24, expected[34] = 8;
  Put32(expected, 38, 2835), Put32(expected, 42, 2835);
  expected[54] = 3, expected[55] = 2, expected[56] = 1, expected[57] = 6, expected[58] = 5, expected[59] = 4;
  EXPECT_EQ(ReadAll(dir / "pair.bmp"), expected);
  // The PNG's IDAT chunks hold one whole zlib stream (zlib checks its end and checksum).
  ASSERT_TRUE(EncodeImage(ImageFormat::Png, pair, SaveOptions{}, encoded, reason, cancelled)) << reason;
  Bytes z;
  for (size_t at = 8; at + 8 <= encoded.size();) {
    const size_t len = size_t(encoded[at]) << 24 | encoded[at + 1] << 16 | encoded[at + 2] << 8 | encoded[at + 3];
    if (std::memcmp(&encoded[at + 4], "IDAT", 4) == 0) z.insert(z.end(), &encoded[at + 8], &encoded[at + 8 + len]);
    at += 12 + len;
  }
  Bytes filtered(8);
  uLongf got = filtered.size();
  EXPECT_EQ(uncompress(filtered.data(), &got, z.data(), uLong(z.size())), Z_OK);
  EXPECT_EQ(got, 7u) << "a filter byte and two pixels";
  // The PNG's rows are deflated in slices on both cores; one core writes the same bytes.
  const int workers = WorkerCount();
  SetWorkerCount(1);
  Bytes one;
  EXPECT_TRUE(EncodeImage(ImageFormat::Png, img, SaveOptions{}, one, reason, cancelled));
  SetWorkerCount(workers);
  EXPECT_EQ(one, ReadAll(dir / "w.png"));
}

// ---------------------------------------------------------------- JPEG

TEST(JpegCodec, RoundTripQualityAndGreyAndCmykFiles) {
  TempDir dir;
  const TFastDIB img = Gradient(61, 37);
  std::string error;
  SaveOptions hi;
  hi.JpegQuality = 100;
  ASSERT_TRUE(SaveImageFile((dir / "hi.jpg").string(), img, hi, error)) << error;
  const Bytes h = ReadAll(dir / "hi.jpg");
  // Where the marker FF m first is (the file's size where it is not).
  auto marker = [&h](uint8_t m) {
    const uint8_t want[2] = {0xFF, m};
    return size_t(std::search(h.begin(), h.end(), want, want + 2) - h.begin());
  };
  // Quality 100 divides by 1: the first quantization table (8-bit, after FF DB, length, id) is all ones.
  const size_t dqt = marker(0xDB);
  ASSERT_LT(dqt + 69, h.size());
  EXPECT_EQ(Bytes(h.begin() + long(dqt) + 5, h.begin() + long(dqt) + 69), Bytes(64, 1));
  TFastDIB back;
  ASSERT_TRUE(LoadImageFile((dir / "hi.jpg").string(), back, error)) << error;
  ASSERT_EQ(back.Width(), 61);  // and the height, from the sample count
  ASSERT_TRUE(SameAsRgb(back, LibjpegSamples(h)));
  for (int y = 0; y < 37; ++y)  // near the original everywhere
    for (int i = 0; i < 3 * 61; ++i) ASSERT_LE(std::abs(img.Row(y)[i] - back.Row(y)[i]), 12) << i << "," << y;
  // A file cut short is refused, not filled with grey.
  std::string reason;
  EXPECT_FALSE(DecodeJpeg(h.data(), h.size() / 2, back, reason));
  EXPECT_EQ(reason, "the JPEG data is damaged (premature end of JPEG file)");
  EXPECT_EQ(back.Row(0)[3 * 61], 0) << "gap bytes stay 0";
  // A large image is coded in two halves joined into the library's bytes for
  // the whole image restarted every MCU row (34 rows on top: the bottom's
  // markers renumbered; its last MCU row padded).
  const TFastDIB big = test::Random(1024, 1100, 5);
  Bytes bgr;
  for (int y = 0; y < big.Height(); ++y) bgr.insert(bgr.end(), big.Row(y), big.Row(y) + 3 * 1024);
  Bytes joined;
  ASSERT_TRUE(EncodeJpeg(big, 90, joined, reason)) << reason;
  EXPECT_EQ(joined, JpegFrom(1024, 1100, 3, JCS_EXT_BGR, bgr, 90, 1));
  // Such a file is read in two halves too, to the library's pixels; with a
  // restart marker out of turn it is damaged.
  ASSERT_TRUE(SameAsRgb(Load(joined), LibjpegSamples(joined)));
  const uint8_t rst7[2] = {0xFF, 0xD7};
  auto lastRst = std::find_end(joined.begin(), joined.end(), rst7, rst7 + 2);
  ASSERT_NE(lastRst, joined.end());
  lastRst[1] = 0xD6;
  EXPECT_FALSE(DecodeJpeg(joined.data(), joined.size(), back, reason));
  // Grey and CMYK files are converted.
  Bytes grey(16 * 8);
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = i % 16 < 8 ? 40 : 200;
  const Bytes greyFile = JpegFrom(16, 8, 1, JCS_GRAYSCALE, grey);
  TFastDIB s = Load(greyFile);
  Bytes rgb;
  for (uint8_t v : LibjpegSamples(greyFile)) rgb.insert(rgb.end(), {v, v, v});
  EXPECT_TRUE(SameAsRgb(s, rgb));

  // libjpeg writes an Adobe marker for CMYK, and Adobe stores ink inverted
  // (255 = no ink). Left half red (M + Y, some C in its second quarter), right half cyan (C), bottom rows with 50% black.
  Bytes cmyk(16 * 16 * 4);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      uint8_t* p = &cmyk[size_t(y * 16 + x) * 4];
      const uint8_t c = x < 4 ? 0 : x < 8 ? 77 : 255, m = x < 8 ? 255 : 0, yy = x < 8 ? 255 : 0, k = y < 8 ? 0 : 128;
      p[0] = uint8_t(255 - c), p[1] = uint8_t(255 - m), p[2] = uint8_t(255 - yy), p[3] = uint8_t(255 - k);
    }
  const Bytes cmykFile = JpegFrom(16, 16, 4, JCS_CMYK, cmyk);
  s = Load(cmykFile);
  // Each colour is its (inverted) sample times black's over 255, rounded.
  const Bytes ink = LibjpegSamples(cmykFile);
  rgb.clear();
  for (size_t i = 0; i < ink.size(); i += 4)
    for (size_t c : {0, 1, 2}) rgb.push_back(uint8_t(std::lround(ink[i + c] * ink[i + 3] / 255.0)));
  EXPECT_TRUE(SameAsRgb(s, rgb));
}

// ---------------------------------------------------------------- GIF

TEST(GifRead, TransparencyFirstFrameLocalMapInterlaceAndClipping) {
  // A 2 x 2 frame at (1, 1) on a 4 x 3 screen; index 2 is transparent.
  const std::vector<uint32_t> map = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  GifFrame f;
  f.Left = 1, f.Top = 1, f.W = 2, f.H = 2;
  f.Pixels = {1, 2, 3, 1};
  f.Transparent = 2;
  TFastDIB s = Load(MakeGif(4, 3, map, 3, {f}));
  EXPECT_TRUE(RowIs(s, 0, {0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00}));
  EXPECT_TRUE(RowIs(s, 1, {0x00FF00, 0xFF0000, 0x00FF00, 0x00FF00}));
  EXPECT_TRUE(RowIs(s, 2, {0x00FF00, 0x0000FF, 0xFF0000, 0x00FF00}));

  // Without transparency the uncovered area takes the background colour.
  f.Transparent = -2;
  s = Load(MakeGif(4, 3, map, 3, {f}));
  EXPECT_TRUE(RowIs(s, 0, {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF}));
  EXPECT_TRUE(RowIs(s, 1, {0x0000FF, 0xFF0000, 0x00FF00, 0x0000FF}));

  // A transparent index at or past the end of the colour map has no effect.
  for (int beyond : {4, 200}) {
    f.Transparent = beyond;
    s = Load(MakeGif(4, 3, map, 3, {f}));
    EXPECT_TRUE(RowIs(s, 1, {0x0000FF, 0xFF0000, 0x00FF00, 0x0000FF})) << beyond;
  }
  f.Transparent = 0;
  s = Load(MakeGif(4, 3, map, 3, {f}));
  EXPECT_TRUE(RowIs(s, 0, {0x000000})) << "index 0 can be the transparent one";
  // A frame as wide as the screen but shorter leaves the background below it.
  GifFrame strip;
  strip.W = 4, strip.H = 1, strip.Pixels = {1, 1, 1, 1};
  s = Load(MakeGif(4, 3, map, 3, {strip}));
  EXPECT_TRUE(RowIs(s, 2, {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF}));
  GifFrame first;
  first.W = 1, first.H = 10, first.Interlace = true;
  first.LocalMap = {0x000000, 0x010101, 0x020202, 0x030303, 0x040404, 0x050505, 0x060606, 0x070707, 0x080808,
                    0x090909};
  for (int y = 0; y < 10; ++y) first.Pixels.push_back(uint8_t(y));
  GifFrame second;
  second.W = 1, second.H = 10;
  second.LocalMap = {0xFFFFFF, 0xFFFFFF};  // giflib's writer leaks the first map if this one has none
  second.Pixels.assign(10, 1);
  s = Load(MakeGif(1, 10, {0xFFFFFF, 0xFFFFFF}, 0, {first, second}));
  EXPECT_TRUE(SamePixels(s, test::Painted(1, 10, [](int, int y) { return test::Grey(y); })));

  // A frame reaching past the screen is clipped to it.
  GifFrame wide;
  wide.Left = 1, wide.W = 4, wide.H = 1;
  wide.Pixels = {1, 1, 1, 1};
  s = Load(MakeGif(2, 1, {0x000000, 0xABCDEF}, 0, {wide}));
  ASSERT_EQ(s.Width(), 2);
  EXPECT_TRUE(RowIs(s, 0, {0x000000, 0xABCDEF}));
  // A screen of size 0 takes the frame's extent.
  s = Load(MakeGif(0, 0, {0x000000, 0xABCDEF}, 0, {wide}));
  EXPECT_EQ(s.Width(), 5);
  EXPECT_TRUE(RowIs(s, 0, {0x000000, 0xABCDEF, 0xABCDEF, 0xABCDEF, 0xABCDEF}));
}

TEST(GifWrite, TransparencyAnswers) {
  TempDir dir;
  // Four flat colours: few enough that the quantizer keeps them apart.
  const TPixel24 colours[4] = {MakePixel(255, 0, 0), MakePixel(0, 255, 255), MakePixel(255, 255, 255), MakePixel(0, 128, 0)};
  const TFastDIB img = test::Painted(32, 16, [&](int x, int y) { return colours[(x / 8 + y / 8 * 2) % 4]; });
  std::string error;
  const std::string path = (dir / "t.gif").string();

  // Hidden dialog: no graphic control extension at all.
  ASSERT_TRUE(SaveImageFile(path, img, SaveOptions{}, error)) << error;
  GifInfo info = ReadGifInfo(ReadAll(path));
  EXPECT_FALSE(info.HasGce);
  // Two colours: a GIF89a with a two-entry map, background entry 0.
  IndexedImage two;
  two.Width = 2, two.Height = 1, two.Pixels = {0, 1}, two.Colours = 2;
  Bytes written;
  ASSERT_TRUE(EncodeGif(two, GifTransparency::Absent, 256, written, error));
  EXPECT_EQ(std::string(written.begin(), written.begin() + 6), "GIF89a");
  EXPECT_EQ(ReadGifInfo(written).MapSize, 2);
  EXPECT_EQ(written[11], 0) << "background index";

  // The question sees only the colours in use; the written map holds them
  // (padded to a power of two). Only the low 8 bits of the answer count;
  // nothing chosen (256) or an index at or past the map's end gives entry 0; 2 is None (index 0).
  constexpr int kCount = -10, kLast = -11;  // the number of colours in use, and the last of them
  struct Answer {
    int Chosen, Result, Flag, Index;
  } answers[] = {{0x101, 1, 1, 1}, {256, 1, 1, 0}, {255, 1, 1, 0}, {5, 2, 0, 0}, {kCount, 1, 1, 0}, {kLast, 1, 1, kLast}};
  for (const Answer& a : answers) {
    GifPalette seen;
    SaveOptions o;
    o.AskGifTransparency = [&](const GifPalette& p, int& index) {
      seen = p;
      EXPECT_EQ(index, 256) << "nothing chosen yet";
      index = a.Chosen == kCount ? p.Count : a.Chosen == kLast ? p.Count - 1 : a.Chosen;
      return a.Result;
    };
    ASSERT_TRUE(SaveImageFile(path, img, o, error)) << error;
    info = ReadGifInfo(ReadAll(path));
    ASSERT_GT(seen.Count, 1);
    EXPECT_TRUE(std::any_of(seen.Colours.begin(), seen.Colours.end(), [](uint32_t c) {
      return (c & 0xFF) < 50 && (c >> 8 & 0xFF) > 200 && c >> 16 > 200;
    })) << "cyan, as 0x00BBGGRR";
    TFastDIB back;
    ASSERT_TRUE(LoadImageFile(path, back, error));
    std::set<uint32_t> used;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 32; ++x) used.insert(uint32_t(back.GetPixel(y, x).R) << 16 | back.GetPixel(y, x).G << 8 | back.GetPixel(y, x).B);
    EXPECT_EQ(int(used.size()), seen.Count) << "only the colours in use";
    EXPECT_GE(info.MapSize, seen.Count);
    EXPECT_LT(info.MapSize, 2 * seen.Count);
    EXPECT_TRUE(info.HasGce);
    EXPECT_EQ(info.GceFlags & 1, a.Flag) << a.Chosen;
    EXPECT_EQ(info.GceIndex, a.Index == kLast ? seen.Count - 1 : a.Index) << a.Chosen;
  }

  // Cancel: nothing written, no message, the old file stays.
  const Bytes before = ReadAll(path);
  SaveOptions cancel;
  cancel.AskGifTransparency = [](const GifPalette&, int&) { return 0; };
  error = "x";
  EXPECT_FALSE(SaveImageFile(path, img, cancel, error));
  EXPECT_TRUE(error.empty());
  EXPECT_EQ(ReadAll(path), before);
  EXPECT_FALSE(SaveImageFile((dir / "new.gif").string(), img, cancel, error));
  EXPECT_EQ(dir.Count(), 1u);
}

TEST(GifWrite, ManyColoursAreReducedTo236) {
  const TFastDIB img = Gradient(64, 64);
  std::vector<uint8_t> bytes;
  std::string reason;
  bool cancelled;
  // The colours go through a quality-100 JPEG whatever the user's JPEG quality.
  SaveOptions lowJpeg;
  lowJpeg.JpegQuality = 1;
  ASSERT_TRUE(EncodeImage(ImageFormat::Gif, img, lowJpeg, bytes, reason, cancelled)) << reason;
  EXPECT_EQ(ReadGifInfo(bytes).MapSize, 256);
  const TFastDIB back = Load(bytes);
  // As libjpeg reduces a quality-100 JPEG of the image to 236 colours.
  Bytes rgb;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) rgb.insert(rgb.end(), {img.GetPixel(y, x).R, img.GetPixel(y, x).G, img.GetPixel(y, x).B});
  EXPECT_TRUE(SameAsRgb(back, LibjpegSamples(JpegFrom(64, 64, 3, JCS_RGB, rgb, 100), 236)));
}

// ---------------------------------------------------------------- PNG

TEST(PngRead, DepthsColourTypesAndAlphaOverWhite) {
  // 16-bit RGB: samples scaled to 8 bits with rounding.
  TFastDIB s = Load(MakePng(2, 1, 16, PNG_COLOR_TYPE_RGB, {{0xFF, 0xFF, 0x00, 0x00, 0x80, 0x80, 0x12, 0xFF, 0x00, 0x00, 0xFF, 0xFF}}));
  EXPECT_TRUE(RowIs(s, 0, {0xFF0080, 0x1300FF}));  // 0x12FF * 255 / 65535 = 18.92
  // Grey at 1 and 4 bits.
  s = Load(MakePng(3, 1, 1, PNG_COLOR_TYPE_GRAY, {{0b10100000}}));
  EXPECT_TRUE(RowIs(s, 0, {0xFFFFFF, 0x000000, 0xFFFFFF}));
  s = Load(MakePng(2, 1, 4, PNG_COLOR_TYPE_GRAY, {{0x5F}}));
  EXPECT_TRUE(RowIs(s, 0, {0x555555, 0xFFFFFF}));
  // Palette with tRNS: clear shows white, half-clear red is pink.
  s = Load(MakePng(3, 1, 2, PNG_COLOR_TYPE_PALETTE, {{0b00011000}}, {{10, 20, 30}, {0, 0, 0}, {255, 0, 0}}, {255, 0, 128}));
  EXPECT_TRUE(RowIs(s, 0, {0x0A141E, 0xFFFFFF, 0xFF7F7F}));
  // 16-bit grey + alpha.
  s = Load(MakePng(2, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, {{0, 0, 0xFF, 0xFF, 0, 0, 0, 0}}));
  EXPECT_TRUE(RowIs(s, 0, {0x000000, 0xFFFFFF}));
  // Grey with a tRNS grey value.
  png_color_16 key{};
  key.gray = 7;
  s = Load(MakePng(2, 1, 8, PNG_COLOR_TYPE_GRAY, {{7, 8}}, {}, {}, false, &key));
  EXPECT_TRUE(RowIs(s, 0, {0xFFFFFF, 0x080808}));
}

TEST(PngRead, EveryFilterOnOneCoreAndTwoAndInterlaced) {
  // Noise with a black, a white and a mid column, as RGB and as RGBA, under each filter alone.
  constexpr int W = 37, H = 29;
  uint32_t seed = 9;
  std::vector<Bytes> rgba(H, Bytes(W * 4));
  for (Bytes& r : rgba)
    for (int i = 0; i < W * 4; ++i)
      r[size_t(i)] = i / 4 == 5 ? 0 : i / 4 == 6 ? 255 : i / 4 == 7 ? 128 : uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
  std::vector<Bytes> rgb(H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) rgb[size_t(y)].insert(rgb[size_t(y)].end(), &rgba[size_t(y)][size_t(x) * 4], &rgba[size_t(y)][size_t(x) * 4] + 3);
  const int workers = WorkerCount();
  for (int filter : {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH})
    for (int cores : {1, 2}) {
      SetWorkerCount(cores);
      const TFastDIB plain = Load(MakePng(W, H, 8, PNG_COLOR_TYPE_RGB, rgb, {}, {}, false, nullptr, filter));
      const TFastDIB alpha = Load(MakePng(W, H, 8, PNG_COLOR_TYPE_RGB_ALPHA, rgba, {}, {}, false, nullptr, filter));
      ASSERT_EQ(plain.Width(), W);
      ASSERT_EQ(alpha.Height(), H);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          const uint8_t* c = &rgba[size_t(y)][size_t(x) * 4];
          const TPixel24 p = plain.Row24(y)[x], q = alpha.Row24(y)[x];
          ASSERT_EQ(TPixel24(c[2], c[1], c[0]), p) << filter << " " << x << "," << y;
          auto over = [a = c[3]](int v) { return uint8_t(std::lround((v * a + 255.0 * (255 - a)) / 255.0)); };
          ASSERT_EQ(TPixel24(over(c[2]), over(c[1]), over(c[0])), q) << filter << " " << x << "," << y;
        }
    }
  SetWorkerCount(workers);
  // Adam7 interlacing gives the plain file's pixels.
  const TFastDIB interlaced = Load(MakePng(W, H, 8, PNG_COLOR_TYPE_RGB_ALPHA, rgba, {}, {}, true));
  EXPECT_TRUE(SamePixels(interlaced, Load(MakePng(W, H, 8, PNG_COLOR_TYPE_RGB_ALPHA, rgba))));
}

TEST(PngRead, OurSliceLayoutReadOnTwoCoresOnlyWhereItCanBe) {
  // Our writer's layout: the zlib header alone, then one chunk per slice of
  // 174 rows at this width, each row the same. With a sync flush between
  // slices the middle one goes on from the rows before it (as in files of
  // earlier versions); with a full flush it does not, but rows that add the
  // row above need it too. Each file must read right.
  constexpr int W = 2000, H = 400, Slice = 174;
  Bytes delta(size_t(W) * 3);
  uint32_t seed = 5;
  for (uint8_t& d : delta) d = uint8_t((seed = seed * 1664525u + 1013904223u) >> 24);
  for (auto [filter, flush] : {std::pair{1, Z_SYNC_FLUSH}, {2, Z_FULL_FLUSH}, {1, Z_FULL_FLUSH}}) {
    Bytes file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    auto chunk = [&](const char* type, const Bytes& data) {
      const uint32_t n = uint32_t(data.size());
      Bytes c = {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)};
      c.insert(c.end(), type, type + 4);
      c.insert(c.end(), data.begin(), data.end());
      const uint32_t crc = uint32_t(crc32(0, c.data() + 4, uInt(4 + n)));
      for (int k = 3; k >= 0; --k) c.push_back(uint8_t(crc >> (8 * k)));
      file.insert(file.end(), c.begin(), c.end());
    };
    chunk("IHDR", {0, 0, W >> 8, W & 255, 0, 0, H >> 8, H & 255, 8, 2, 0, 0, 0});
    z_stream z{};
    ASSERT_EQ(deflateInit(&z, 1), Z_OK);
    Bytes out(delta.size() * Slice * 2);
    for (int y0 = 0; y0 < H; y0 += Slice) {
      Bytes in;
      for (int y = y0; y < std::min(H, y0 + Slice); ++y) {
        in.push_back(uint8_t(filter));
        in.insert(in.end(), delta.begin(), delta.end());
      }
      z.next_in = in.data(), z.avail_in = uInt(in.size()), z.next_out = out.data(), z.avail_out = uInt(out.size());
      ASSERT_NE(deflate(&z, y0 + Slice >= H ? Z_FINISH : flush), Z_STREAM_ERROR);
      Bytes data(out.begin(), out.end() - z.avail_out);
      if (y0 == 0) {
        chunk("IDAT", Bytes(data.begin(), data.begin() + 2));
        data.erase(data.begin(), data.begin() + 2);
      }
      chunk("IDAT", data);
    }
    deflateEnd(&z);
    chunk("IEND", {});
    const TFastDIB s = Load(file);
    ASSERT_EQ(s.Height(), H);
    for (int y : {0, Slice - 1, Slice, 2 * Slice, H - 1})
      for (int x : {0, 1, W - 1}) {
        uint8_t c[3] = {};  // Sub: the sum of the row's deltas so far; Up: of the column's
        for (int i = filter == 1 ? 0 : 3 * x; i <= 3 * x + 2; ++i)
          c[i % 3] = uint8_t(c[i % 3] + delta[size_t(i)] * (filter == 1 ? 1 : y + 1));
        ASSERT_EQ(s.Row24(y)[x], TPixel24(c[2], c[1], c[0])) << filter << " " << x << "," << y;
      }
  }
}

// ---------------------------------------------------------------- routes and files

TEST(ImageFile, SaveRouteByExtensionOnlyLoadByContent) {
  struct Case {
    const char* Path;
    ImageFormat Route;
  } cases[] = {{"A.GIF", ImageFormat::Gif},          {"x/y.Bmp", ImageFormat::Bmp},     {"b.png", ImageFormat::Png},
               {"c.jpeg", ImageFormat::Jpeg},        {"noext", ImageFormat::Jpeg},      {"/work/tiles.gif/a", ImageFormat::Jpeg},
               {"a.gif.bmp", ImageFormat::Bmp},      {"C:\\x.png\\a.gif", ImageFormat::Gif}, {"dir.bmp\\pic", ImageFormat::Jpeg},
               {".gif", ImageFormat::Jpeg}};
  for (auto c : cases) EXPECT_EQ(SaveRoute(c.Path), c.Route) << c.Path;

  for (auto [typed, written] : {std::pair{"/work/tiles.gif/pic", "/work/tiles.gif/pic.jpg"}, {"pic.", "pic.jpg"},
                                {".hidden", ".hidden.jpg"}, {"pic.BMP", "pic.BMP"}, {"a.b/pic.gif", "a.b/pic.gif"},
                                {"a.b\\pic", "a.b\\pic.jpg"}, {"a/", "a/"}})
    EXPECT_EQ(WithDefaultExtension(typed), written);
  TempDir dir;
  std::string error;
  // An 8-bit RGB PNG named .jpg opens by its content.
  ASSERT_TRUE(SaveImageFile((dir / "a.png").string(), Gradient(9, 7), SaveOptions{}, error)) << error;
  const Bytes png = ReadAll(dir / "a.png");
  EXPECT_TRUE(png[24] == 8 && png[25] == 2) << "bit depth and colour type";
  fs::rename(dir / "a.png", dir / "really_png.jpg");
  TFastDIB back;
  ASSERT_TRUE(LoadImageFile((dir / "really_png.jpg").string(), back, error)) << error;
  EXPECT_TRUE(SamePixels(Gradient(9, 7), back));
  for (auto [magic, n, format] : {std::tuple{"GIF88a", 6, ImageFormat::Unknown}, {"GIF87a", 6, ImageFormat::Gif},
                                  {"\x89PNG\r\n\x1a\n", 8, ImageFormat::Png}, {"BM", 2, ImageFormat::Bmp},
                                  {"\xFF\xD8\xFF", 3, ImageFormat::Jpeg}, {"\xFF\xD8\xFE", 3, ImageFormat::Unknown}})
    EXPECT_EQ(SniffFormat(reinterpret_cast<const uint8_t*>(magic), size_t(n)), format) << magic;
}

TEST(ImageFile, FailedSaveKeepsTheOldFile) {
  TempDir dir;
  const fs::path old = dir / "keep.bmp";
  WriteAll(old, {'o', 'l', 'd'});
  const TFastDIB big = Gradient(200, 200);
  std::string error;

  // The write itself fails half-way (file size limit): the old file stays.
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = SaveImageFile(old.string(), big, SaveOptions{}, error);
  std::string pngError;  // the system's reason rather than the encoder's
  EXPECT_FALSE(SaveImageFile((dir / "new.png").string(), big, SaveOptions{}, pngError));
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_NE(pngError.find("new.png\": file too large."), std::string::npos) << pngError;
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("keep.bmp"), std::string::npos) << error;
  EXPECT_EQ(ReadAll(old), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(dir.Count(), 1u) << "the temporary file is removed";

  // Only regular files are read, without waiting on a pipe, and only up to the limit.
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  fs::create_directory(dir / "folder");
  WriteAll(dir / "huge.bmp", {'B', 'M'});
  fs::resize_file(dir / "huge.bmp", kMaxImageFileBytes + 1);  // sparse: no disk used
  for (const std::string& p : {(dir / "pipe").string(), (dir / "folder").string(), std::string("/dev/zero")})
    EXPECT_NE(Refusal(p).find(p), std::string::npos) << Refusal(p);
  EXPECT_NE(Refusal(dir / "huge.bmp").find("huge.bmp\": the file is larger than 1025 MiB."), std::string::npos);
  fs::resize_file(dir / "huge.bmp", kMaxImageFileBytes);
  EXPECT_EQ(Refusal(dir / "huge.bmp").find("larger"), std::string::npos) << "the largest file allowed";
  fs::remove(dir / "pipe");
  fs::remove(dir / "folder");
  fs::remove(dir / "huge.bmp");

  // Temporary files of killed saves go at the next save of the same target;
  // those of a running process (pid 1) stay.
  const std::string stale[] = {"keep.bmp.999999999-0.tmp~", "keep.bmp." + std::to_string(getpid()) + "-77.tmp~"};
  for (const auto& n : stale) WriteAll(dir / n, {'x'});
  const char* kept[] = {"keep.bmp.1-0.tmp~", "other.bmp.999999999-0.tmp~", "keep.bmp.-1.tmp~"};
  for (const char* n : kept) WriteAll(dir / n, {'x'});
  fs::permissions(old, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(SaveImageFile(old.string(), big, SaveOptions{}, error)) << error;
  for (const auto& n : stale) EXPECT_FALSE(fs::exists(dir / n)) << n;
  for (const char* n : kept) EXPECT_TRUE(fs::exists(dir / n)) << n;
  EXPECT_EQ(fs::status(old).permissions(), fs::perms::owner_read | fs::perms::owner_write) << "the old file's mode";

  // A folder that does not exist.
  EXPECT_FALSE(SaveImageFile((dir / "no" / "x.jpg").string(), big, SaveOptions{}, error));
  EXPECT_NE(error.find("x.jpg"), std::string::npos);

  // The empty image is refused by every route.
  TFastDIB empty;
  for (const char* n : {"e.bmp", "e.jpg", "e.gif", "e.png"}) {
    EXPECT_FALSE(SaveImageFile((dir / n).string(), empty, SaveOptions{}, error)) << n;
    EXPECT_FALSE(fs::exists(dir / n));
  }
}

// Peak memory growth of the process while fn runs, in KiB; -1 where the
// system cannot reset the peak.
template <typename Fn>
long PeakGrowthKiB(Fn fn) {
  auto status = [](const char* key) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
      if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::strlen(key)));
    return -1L;
  };
  if (!(std::ofstream("/proc/self/clear_refs") << "5" << std::flush)) return -1;
  const long before = status("VmRSS:");
  fn();
  return before < 0 ? -1 : status("VmHWM:") - before;
}

TEST(ImageFile, EveryCorpusFileIsRefusedCleanly) {
  const fs::path root = fs::path(VORQ_SOURCE_DIR) / "tests" / "corpus";
  size_t files = 0;
  for (const char* format : {"bmp", "jpeg", "gif", "png"}) {
    size_t here = 0;
    for (const auto& e : fs::directory_iterator(root / format)) {
      if (!e.is_regular_file()) continue;
      ++here;
      const std::string path = e.path().string();
      TFastDIB s = Gradient(5, 4);
      std::string error;
      // Whatever the file claims (chunks of 2 GiB, 16384 x 16384 pixels), refusing it stays small.
      const long peak = PeakGrowthKiB([&] { EXPECT_FALSE(LoadImageFile(path, s, error)) << path; });
      EXPECT_LE(peak, 64 * 1024) << path << " took " << peak << " KiB";
      EXPECT_NE(error.find(e.path().filename().string()), std::string::npos) << error;
      EXPECT_GT(error.size(), path.size() + 20) << "a reason follows the name: " << error;
      EXPECT_TRUE(SamePixels(s, Gradient(5, 4))) << path;
      const Bytes data = ReadAll(e.path());
      error.clear();
      EXPECT_FALSE(LoadImageMemory(data.data(), data.size(), s, error)) << path;
      EXPECT_FALSE(error.empty());
    }
    EXPECT_GE(here, 5u) << format;
    files += here;
  }
  EXPECT_GE(files, 20u);
}

TEST(ImageFile, LoadErrorsNameTheFileAndTheReason) {
  TempDir dir;
  std::string error;
  TFastDIB s;
  WriteAll(dir / "empty.jpg", {});
  EXPECT_NE(Refusal(dir / "empty.jpg").find("empty.jpg\": the file is empty"), std::string::npos);
  WriteAll(dir / "text.bmp", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_NE(Refusal(dir / "text.bmp").find("not a BMP, JPEG, GIF or PNG"), std::string::npos);
  ASSERT_TRUE(SaveImageFile((dir / "cut.png").string(), Gradient(9, 7), SaveOptions{}, error)) << error;
  fs::resize_file(dir / "cut.png", 60);
  EXPECT_NE(Refusal(dir / "cut.png").find("cut.png\": the PNG data ends early."), std::string::npos);
  GifFrame f;
  f.W = 2, f.H = 2, f.Pixels = {0, 1, 1, 0};
  Bytes gif = MakeGif(2, 2, {0, 0xFFFFFF}, 0, {});
  EXPECT_FALSE(LoadImageMemory(gif.data(), gif.size(), s, error));
  EXPECT_EQ(error, "Cannot load the image: it contains no image.");
  gif = MakeGif(2, 2, {0, 0xFFFFFF}, 0, {f});
  gif.resize(gif.size() - 4);
  EXPECT_FALSE(LoadImageMemory(gif.data(), gif.size(), s, error));
  EXPECT_EQ(error, "Cannot load the image: the GIF data ends early.");
  const Bytes flat = MakeBmp(0, 2, 24, 0, {}, {0, 0, 0, 0});
  std::string reason;
  EXPECT_FALSE(DecodeBmp(flat.data(), flat.size(), s, reason));
  EXPECT_EQ(reason, "it declares an empty image of 0 x 2 pixels");
}
