#include "core/imageio/jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "core/imageio/file_io.h"
#include "core/util/parallel.h"

namespace vorq {
namespace {

// libjpeg's own allocations (coefficient buffers of progressive files, the
// quantizer's whole-image buffer) stay under this; the output surface is ours.
constexpr long kJpegMemoryLimit = long(1) << 30;
// Progressive files with thousands of tiny scans take minutes; real ones have ~10.
constexpr int kMaxScans = 500;

// The default error_exit calls exit(); ours jumps back to the setjmp in the
// function that drives libjpeg. Only C frames lie between the two.
struct JpegError {
  jpeg_error_mgr Pub;
  jpeg_progress_mgr Progress;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

extern "C" void JpegErrorExit(j_common_ptr c) {
  auto* e = reinterpret_cast<JpegError*>(c->err);
  (*c->err->format_message)(c, e->Message);
  std::longjmp(e->Jump, 1);
}

extern "C" void JpegEmitMessage(j_common_ptr c, int level) {
  if (level >= 0) return;  // trace messages
  // Damaged entropy data would otherwise be decoded as grey; refuse it.
  const int code = c->err->msg_code;
  if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE || code == JWRN_MUST_RESYNC ||
      code == JWRN_ARITH_BAD_CODE)
    JpegErrorExit(c);
  c->err->num_warnings++;
}

extern "C" void JpegOutputMessage(j_common_ptr) {}  // nothing goes to stderr

extern "C" void JpegProgress(j_common_ptr c) {
  if (!c->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(c);
  if (d->input_scan_number > kMaxScans) {
    auto* e = reinterpret_cast<JpegError*>(c->err);
    std::snprintf(e->Message, sizeof e->Message, "it has more than %d scans", kMaxScans);
    std::longjmp(e->Jump, 1);
  }
}

void InitError(JpegError& e) {
  jpeg_std_error(&e.Pub);
  e.Pub.error_exit = JpegErrorExit;
  e.Pub.emit_message = JpegEmitMessage;
  e.Pub.output_message = JpegOutputMessage;
  e.Progress = jpeg_progress_mgr{};
  e.Progress.progress_monitor = JpegProgress;
  e.Message[0] = 0;
}

enum class Step { Ok, LibraryError, TooLarge, NoMemory, BadColourSpace };

// Every reading: libjpeg's memory bounded, full scale, smoothed colour.
void FullScaleSmooth(jpeg_decompress_struct* d) {
  d->mem->max_memory_to_use = kJpegMemoryLimit;
  d->scale_num = d->scale_denom = 1;
  d->do_fancy_upsampling = TRUE;
}

// Functions holding a setjmp keep no C++ objects of their own: everything
// they touch lives in the caller.
Step DecodeSteps(jpeg_decompress_struct* d, JpegError* e, const uint8_t* data, size_t size, TFastDIB* img,
                 Prefault* prefault) {
  if (setjmp(e->Jump)) return Step::LibraryError;
  jpeg_create_decompress(d);
  d->progress = &e->Progress;
  jpeg_mem_src(d, data, static_cast<unsigned long>(size));
  jpeg_read_header(d, TRUE);
  if (!SizeAllowed(d->image_width, d->image_height)) return Step::TooLarge;
  FullScaleSmooth(d);
  const bool cmyk = d->jpeg_color_space == JCS_CMYK || d->jpeg_color_space == JCS_YCCK;
  switch (d->jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB: d->out_color_space = JCS_EXT_BGR; break;  // straight into the surface's byte order
    case JCS_CMYK:
    case JCS_YCCK: d->out_color_space = JCS_CMYK; break;
    default: return Step::BadColourSpace;
  }
  if (!img->SetSize(int(d->image_width), int(d->image_height), 24, 0)) return Step::NoMemory;
  prefault->Start(*img);
  jpeg_start_decompress(d);
  if (!cmyk) {
    while (d->output_scanline < d->output_height)
      jpeg_read_scanlines(d, img->RowTable.data() + d->output_scanline, d->output_height - d->output_scanline);
    return Step::Ok;
  }
  // Adobe files store CMYK inverted (0 = full ink); without the marker ink is 255.
  const bool inverted = d->saw_Adobe_marker;
  JSAMPARRAY row = (*d->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(d), JPOOL_IMAGE, d->output_width * 4, 1);
  while (d->output_scanline < d->output_height) {
    const int y = int(d->output_scanline);
    jpeg_read_scanlines(d, row, 1);
    TPixel24* out = img->Row24(y);
    const uint8_t* s = row[0];
    for (JDIMENSION x = 0; x < d->output_width; ++x, s += 4) {
      unsigned c = s[0], m = s[1], yy = s[2], k = s[3];
      if (!inverted) c = 255 - c, m = 255 - m, yy = 255 - yy, k = 255 - k;
      out[x] = TPixel24{uint8_t((yy * k + 127) / 255), uint8_t((m * k + 127) / 255), uint8_t((c * k + 127) / 255)};
    }
  }
  return Step::Ok;
}

// Rows first .. first + count - 1 of img as a JPEG of their own; with
// restartRows, a restart marker before every MCU row but the first.
Step EncodeSteps(jpeg_compress_struct* c, JpegError* e, const TFastDIB* img, int first, int count, bool restartRows,
                 int quality, unsigned char** buf, unsigned long* len) {
  if (setjmp(e->Jump)) return Step::LibraryError;
  jpeg_create_compress(c);
  jpeg_mem_dest(c, buf, len);
  c->image_width = JDIMENSION(img->Width());
  c->image_height = JDIMENSION(count);
  c->input_components = 3;
  c->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(c);
  jpeg_set_quality(c, quality, TRUE);  // baseline tables
  c->restart_in_rows = restartRows ? 1 : 0;
  jpeg_start_compress(c, TRUE);
  uint8_t* const* rows = img->RowTable.data() + first;
  while (c->next_scanline < c->image_height)
    jpeg_write_scanlines(c, const_cast<JSAMPARRAY>(rows + c->next_scanline), c->image_height - c->next_scanline);
  jpeg_finish_compress(c);
  return Step::Ok;
}

Step QuantizeSteps(jpeg_decompress_struct* d, JpegError* e, const uint8_t* data, size_t size, int colours,
                   IndexedImage* out) {
  if (setjmp(e->Jump)) return Step::LibraryError;
  jpeg_create_decompress(d);
  jpeg_mem_src(d, data, static_cast<unsigned long>(size));
  jpeg_read_header(d, TRUE);
  if (!SizeAllowed(d->image_width, d->image_height)) return Step::TooLarge;
  FullScaleSmooth(d);
  d->out_color_space = JCS_RGB;
  d->quantize_colors = TRUE;
  d->desired_number_of_colors = colours;
  d->two_pass_quantize = TRUE;
  d->dither_mode = JDITHER_FS;
  jpeg_start_decompress(d);
  out->Width = int(d->output_width);
  out->Height = int(d->output_height);
  out->Pixels.resize(size_t(out->Width) * size_t(out->Height));
  while (d->output_scanline < d->output_height) {
    JSAMPROW row = out->Pixels.data() + size_t(d->output_scanline) * size_t(out->Width);
    jpeg_read_scanlines(d, &row, 1);
  }
  out->Colours = d->actual_number_of_colors;
  const bool grey = d->out_color_components == 1;
  for (int i = 0; i < out->Colours; ++i) {
    const uint8_t r = d->colormap[0][i], g = grey ? r : d->colormap[1][i], b = grey ? r : d->colormap[2][i];
    out->Palette[size_t(i)] = TPixel24{b, g, r};
  }
  jpeg_finish_decompress(d);
  return Step::Ok;
}

// Rows of a YCbCr JPEG in memory that the library must find w x h, read as
// DecodeSteps reads them: the first `skip` into spare (one row,
// overwritten), the next `count` into rows. Anything the library warns of
// fails too.
Step PartSteps(jpeg_decompress_struct* d, JpegError* e, const uint8_t* data, size_t size, JDIMENSION w, JDIMENSION h,
               JDIMENSION skip, JDIMENSION count, uint8_t** rows, uint8_t* spare) {
  if (setjmp(e->Jump)) return Step::LibraryError;
  jpeg_create_decompress(d);
  jpeg_mem_src(d, data, static_cast<unsigned long>(size));
  jpeg_read_header(d, TRUE);
  if (d->image_width != w || d->image_height != h || skip + count > h) return Step::LibraryError;
  if (d->jpeg_color_space != JCS_YCbCr || d->progressive_mode) return Step::BadColourSpace;
  FullScaleSmooth(d);
  d->out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(d);
  for (JDIMENSION y = d->output_scanline; y < skip + count; y = d->output_scanline) {
    uint8_t** into = y < skip ? &spare : rows + (y - skip);
    if (jpeg_read_scanlines(d, into, y < skip ? 1 : skip + count - y) == 0) return Step::LibraryError;
  }
  return d->err->num_warnings == 0 ? Step::Ok : Step::LibraryError;
}

bool DecodePart(const uint8_t* data, size_t size, JDIMENSION w, JDIMENSION h, JDIMENSION skip, JDIMENSION count,
                uint8_t** rows, uint8_t* spare) {
  jpeg_decompress_struct d{};
  JpegError e;
  InitError(e);
  d.err = &e.Pub;
  const Step s = PartSteps(&d, &e, data, size, w, h, skip, count, rows, spare);
  jpeg_destroy_decompress(&d);
  return s == Step::Ok;
}

// A baseline YCbCr JPEG restarted at every MCU row, as our encoder writes
// large pictures, read as two halves on two cores: the file itself down to
// the middle MCU row, and a copy of its headers (with the height of what is
// left) and of its coded rows from the MCU row above the middle on, their
// restart markers numbered from 0. Each MCU row is coded on its own, and the
// one row of overlap gives each half's smoothed colour the rows it would
// have next to the cut, so both give the whole file's pixels. False when
// the file is not of that kind or either half fails; the caller then reads
// it whole, over img's rows.
bool DecodeHalves(const uint8_t* data, size_t size, TFastDIB& img) {
  // The headers up to the scan: SOF0 and DRI as our encoder writes them.
  size_t p = 2, sof = 0, sos = 0, scan = 0;
  unsigned restart = 0;
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
  while (scan == 0) {
    if (p + 4 > size || data[p] != 0xFF) return false;
    const uint8_t m = data[p + 1];
    const size_t len = size_t(data[p + 2]) << 8 | data[p + 3];
    if (len < 2 || p + 2 + len > size) return false;
    if ((m >= 0xC1 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) || m == 0xDC) return false;  // other frames, DNL
    if (m == 0xC0) sof = p;
    if (m == 0xDD && len == 4) restart = unsigned(data[p + 4]) << 8 | data[p + 5];
    if (m == 0xDA) sos = p, scan = p + 2 + len;  // 12 bytes for three components
    p += 2 + len;
  }
  if (sof == 0 || data[sof + 2] != 0 || data[sof + 3] != 17 || data[sof + 4] != 8 || data[sof + 9] != 3 ||
      scan != sos + 14 || data[sos + 4] != 3)
    return false;  // 8 bits, three components, all in the one scan
  const unsigned H = unsigned(data[sof + 5]) << 8 | data[sof + 6], W = unsigned(data[sof + 7]) << 8 | data[sof + 8];
  unsigned maxH = 1, maxV = 1;
  for (int c = 0; c < 3; ++c) {
    maxH = std::max(maxH, unsigned(data[sof + 11 + 3 * c]) >> 4);
    maxV = std::max(maxV, unsigned(data[sof + 11 + 3 * c]) & 15);
  }
  const unsigned mcuH = 8 * maxV, mcuRows = (H + mcuH - 1) / mcuH;
  if (int64_t(W) * H < kJpegHalvesFrom || mcuRows < 4 || restart != (W + 8 * maxH - 1) / (8 * maxH)) return false;
  if (!SizeAllowed(W, H) || !img.SetSize(int(W), int(H), 24, 0)) return false;
  // The restart markers, one after every MCU row but the last, in turn.
  std::vector<size_t> marks;
  for (size_t i = scan;;) {
    const auto* ff = static_cast<const uint8_t*>(std::memchr(data + i, 0xFF, size - i));
    if (ff == nullptr || size_t(ff - data) + 1 >= size) return false;
    i = size_t(ff - data);
    const uint8_t m = data[i + 1];
    if (m == 0xD9) break;
    if (m != 0 && m != 0xD0 + (marks.size() & 7)) return false;
    if (m != 0) marks.push_back(i);
    i += 2;
  }
  if (marks.size() != mcuRows - 1) return false;
  const unsigned mid = mcuRows / 2;  // the bottom half keeps MCU rows mid ..
  const size_t from = marks[mid - 2] + 2;  // MCU row mid - 1's coded data
  std::vector<uint8_t> bottom, spare[2];
  try {
    bottom.reserve(scan + size - from);
    bottom.assign(data, data + scan);
    bottom.insert(bottom.end(), data + from, data + size);
    spare[0].resize(size_t(W) * 3 + 64);
    spare[1].resize(size_t(W) * 3 + 64);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const unsigned left = H - (mid - 1) * mcuH;
  bottom[sof + 5] = uint8_t(left >> 8);
  bottom[sof + 6] = uint8_t(left);
  for (size_t k = mid - 1; k < marks.size(); ++k) bottom[marks[k] - from + scan + 1] = uint8_t(0xD0 + ((k - (mid - 1)) & 7));
  bool ok[2] = {false, false};
  ParallelTasks(2, [&](int k) {
    ok[k] = k == 0 ? DecodePart(data, size, W, H, 0, mid * mcuH, img.RowTable.data(), spare[0].data())
                   : DecodePart(bottom.data(), bottom.size(), W, left, mcuH, H - mid * mcuH,
                                img.RowTable.data() + mid * mcuH, spare[1].data());
  });
  return ok[0] && ok[1];
}

std::string StepReason(Step s, const JpegError& e, const char* action) {
  switch (s) {
    case Step::NoMemory: return "there is not enough memory for the image";
    case Step::BadColourSpace: return "its colour space is not greyscale, RGB, YCbCr or CMYK";
    default: break;
  }
  std::string m = e.Message;
  if (!m.empty() && m[0] >= 'A' && m[0] <= 'Z' && !(m.size() > 1 && m[1] >= 'A' && m[1] <= 'Z')) m[0] = char(m[0] - 'A' + 'a');
  return std::string(action) + " (" + m + ")";
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason) {
  jpeg_decompress_struct d{};
  JpegError e;
  InitError(e);
  d.err = &e.Pub;
  TFastDIB img;
  if (WorkerCount() >= 2 && DecodeHalves(data, size, img)) {
    out = std::move(img);
    return true;
  }
  Prefault prefault;  // joined before img goes
  const Step s = DecodeSteps(&d, &e, data, size, &img, &prefault);
  const int64_t w = d.image_width, h = d.image_height;
  jpeg_destroy_decompress(&d);
  if (s != Step::Ok) {
    reason = s == Step::TooLarge ? SizeRefusal(w, h) : StepReason(s, e, "the JPEG data is damaged");
    return false;
  }
  out = std::move(img);
  return true;
}

namespace {

// One JPEG of rows first .. first + count - 1 into out; false with reason.
bool EncodeRows(const TFastDIB& image, int first, int count, bool restartRows, int quality, std::vector<uint8_t>& out,
                std::string& reason) {
  jpeg_compress_struct c{};
  JpegError e;
  InitError(e);
  c.err = &e.Pub;
  unsigned char* buf = nullptr;
  unsigned long len = 0;
  const Step s = EncodeSteps(&c, &e, &image, first, count, restartRows, quality, &buf, &len);
  jpeg_destroy_compress(&c);
  if (s == Step::Ok) out.assign(buf, buf + len);
  std::free(buf);
  if (s != Step::Ok) reason = StepReason(s, e, "the JPEG encoder failed");
  return s == Step::Ok;
}

// Where a JPEG's coded data starts (past the SOS header), and where its SOF0
// header is; false when the headers are not as our encoder writes them.
bool FindScan(const std::vector<uint8_t>& f, size_t& sof, size_t& scan) {
  sof = 0;
  for (size_t p = 2; p + 4 <= f.size() && f[p] == 0xFF;) {
    const size_t len = size_t(f[p + 2]) << 8 | f[p + 3];
    if (f[p + 1] == 0xC0) sof = p;
    if (f[p + 1] == 0xDA) {
      scan = p + 2 + len;
      return sof != 0 && scan + 2 <= f.size() && f[f.size() - 2] == 0xFF && f.back() == 0xD9;
    }
    p += 2 + len;
  }
  return false;
}

// The JPEG of the whole image from those of its top `mcuRows` MCU rows (a)
// and the rest (b), both restarted every MCU row: a's headers with the whole
// height, a's coded rows, the restart marker between, b's coded rows with
// their markers numbered on, the end. These are the bytes the library
// writes for the whole image restarted every MCU row, as each row is coded
// on its own and the tables are the same.
bool JoinHalves(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int height, int mcuRows,
                std::vector<uint8_t>& out) {
  size_t sofA, scanA, sofB, scanB;
  if (!FindScan(a, sofA, scanA) || !FindScan(b, sofB, scanB)) return false;
  out.assign(a.begin(), a.end() - 2);
  out[sofA + 5] = uint8_t(height >> 8);
  out[sofA + 6] = uint8_t(height);
  out.push_back(0xFF);
  out.push_back(uint8_t(0xD0 + ((mcuRows - 1) & 7)));
  const size_t bBegin = out.size();
  out.insert(out.end(), b.begin() + std::ptrdiff_t(scanB), b.end());
  // Byte stuffing keeps 0xFF in coded data to 0xFF 0x00: every other 0xFF starts a marker.
  for (size_t i = bBegin; i + 1 < out.size(); ++i)
    if (out[i] == 0xFF && out[i + 1] >= 0xD0 && out[i + 1] <= 0xD7) {
      out[i + 1] = uint8_t(0xD0 + ((out[i + 1] - 0xD0 + mcuRows) & 7));
      ++i;
    }
  return true;
}

}  // namespace

bool EncodeJpeg(const TFastDIB& image, int quality, std::vector<uint8_t>& out, std::string& reason) {
  if (image.Empty()) {
    reason = "the image is empty";
    return false;
  }
  quality = std::clamp(quality, 0, 100);
  const int H = image.Height();
  // From a million pixels on, the top and bottom halves are coded on two
  // cores and joined; every MCU row (16 rows) then starts with a restart
  // marker, whatever the number of cores, so the bytes never depend on it.
  if (int64_t(image.Width()) * H < kJpegHalvesFrom || H < 32) return EncodeRows(image, 0, H, false, quality, out, reason);
  const int top = H / 2 / 16 * 16;
  std::vector<uint8_t> half[2];
  std::string why[2];
  bool ok[2] = {false, false};
  ParallelTasks(2, [&](int k) {
    ok[k] = EncodeRows(image, k == 0 ? 0 : top, k == 0 ? top : H - top, true, quality, half[k], why[k]);
  });
  for (int k = 0; k < 2; ++k)
    if (!ok[k]) {
      reason = why[k];
      return false;
    }
  if (!JoinHalves(half[0], half[1], H, top / 16, out)) {
    reason = "the JPEG encoder's two halves could not be joined";
    return false;
  }
  return true;
}

bool DecodeJpegQuantized(const uint8_t* data, size_t size, int colours, IndexedImage& out, std::string& reason) {
  jpeg_decompress_struct d{};
  JpegError e;
  InitError(e);
  d.err = &e.Pub;
  IndexedImage img;
  const Step s = QuantizeSteps(&d, &e, data, size, std::clamp(colours, 8, 256), &img);
  const int64_t w = d.image_width, h = d.image_height;
  jpeg_destroy_decompress(&d);
  if (s != Step::Ok) {
    reason = s == Step::TooLarge ? SizeRefusal(w, h) : StepReason(s, e, "the colour reduction failed");
    return false;
  }
  out = std::move(img);
  return true;
}

}  // namespace vorq
