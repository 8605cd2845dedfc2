#include "core/imageio/png_common.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <zlib.h>

#include "core/util/parallel.h"

namespace vorq::png {
namespace {

constexpr uint32_t kMaxChunk = 0x7FFFFFFF;     // longer chunks are faults
constexpr int kMaxChunksBeforeData = 1000;     // more before the image data: libpng's road
constexpr size_t kBlock = size_t(1) << 16;     // bytes read at a time
constexpr size_t kRingBytes = size_t(1) << 20;  // inflated rows waiting for the unfilterer

// The data of consecutive IDAT chunks as one stream, each chunk's CRC checked.
class IdatStream {
 public:
  // From the chunk whose header is at firstHeader, at most maxChunks of them.
  IdatStream(const ByteSource& source, uint64_t size, uint64_t firstHeader, int maxChunks = INT_MAX)
      : source_(source), size_(size), pos_(firstHeader), chunksLeft_(maxChunks) {}

  // The next piece of data; false at a fault or when the IDAT chunks end.
  bool Next(const uint8_t*& data, size_t& n) {
    while (left_ == 0) {
      if (inChunk_ && !CheckCrc()) return false;
      if (chunksLeft_ == 0) return false;
      --chunksLeft_;
      uint8_t h[8];
      if (size_ - pos_ < 12 || !Read(h, 8)) return false;
      left_ = Be32(h);
      if (std::memcmp(h + 4, "IDAT", 4) != 0 || left_ > kMaxChunk || size_ - pos_ < uint64_t(left_) + 4) return false;
      crc_ = crc32(0, h + 4, 4);
      inChunk_ = true;
    }
    n = std::min<size_t>(left_, kBlock);
    if (!Read(buffer_, n)) return false;
    crc_ = crc32(crc_, buffer_, uInt(n));
    left_ -= uint32_t(n);
    data = buffer_;
    return true;
  }
  // After the zlib stream: its chunk must hold nothing more, and its CRC must match.
  bool Finish() { return left_ == 0 && inChunk_ && CheckCrc(); }
  // Whether all maxChunks chunks were read whole, their CRCs checked.
  bool AtLimit() {
    if (inChunk_ && left_ == 0 && !CheckCrc()) return false;
    return chunksLeft_ == 0 && left_ == 0 && !inChunk_;
  }

 private:
  bool Read(uint8_t* into, size_t n) {
    std::string reason;
    if (!source_(pos_, into, n, reason)) return false;
    pos_ += n;
    return true;
  }
  bool CheckCrc() {
    uint8_t c[4];
    inChunk_ = false;
    return Read(c, 4) && Be32(c) == crc_;
  }

  const ByteSource& source_;
  uint64_t size_, pos_;
  int chunksLeft_;
  uint32_t left_ = 0;
  bool inChunk_ = false;
  uLong crc_ = 0;
  uint8_t buffer_[kBlock];
};

// Inflated rows into pixels: the filter undone against the row above, then
// red, green, blue (and alpha over white) into the surface's order.
template <int Bpp>
class Unfilterer {
 public:
  Unfilterer(TFastDIB& img, int width) : img_(img), width_(width), prev_(size_t(width) * Bpp), cur_(prev_.size()) {}

  // Row y as inflated: its filter byte, then the filtered samples.
  bool Row(int y, const uint8_t* raw) {
    const size_t n = cur_.size();
    adler_ = adler32(adler_, raw, uInt(n + 1));
    const uint8_t* in = raw + 1;
    uint8_t* c = cur_.data();
    const uint8_t* up = prev_.data();
    switch (raw[0]) {
      case 0: std::memcpy(c, in, n); break;
      case 1:
        std::memcpy(c, in, Bpp);
        for (size_t i = Bpp; i < n; ++i) c[i] = uint8_t(in[i] + c[i - Bpp]);
        break;
      case 2:
        for (size_t i = 0; i < n; ++i) c[i] = uint8_t(in[i] + up[i]);
        break;
      case 3:
        for (size_t i = 0; i < Bpp; ++i) c[i] = uint8_t(in[i] + (up[i] >> 1));
        for (size_t i = Bpp; i < n; ++i) c[i] = uint8_t(in[i] + ((unsigned(c[i - Bpp]) + up[i]) >> 1));
        break;
      case 4:
        for (size_t i = 0; i < Bpp; ++i) c[i] = uint8_t(in[i] + up[i]);  // left and upper left are 0: Paeth picks up
        for (size_t i = Bpp; i < n; ++i) c[i] = uint8_t(in[i] + Paeth(c[i - Bpp], up[i], up[i - Bpp]));
        break;
      default: return false;
    }
    TPixel24* out = img_.Row24(y);
    for (int x = 0; x < width_; ++x, c += Bpp) {
      if constexpr (Bpp == 3) out[x] = TPixel24{c[2], c[1], c[0]};
      else out[x] = TPixel24{OverWhite(c[2], c[3]), OverWhite(c[1], c[3]), OverWhite(c[0], c[3])};
    }
    prev_.swap(cur_);
    return true;
  }
  uLong Adler() const { return adler_; }

 private:
  static uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
  }

  TFastDIB& img_;
  int width_;
  std::vector<uint8_t> prev_, cur_;  // unfiltered samples; the row above the first is zeros
  uLong adler_ = adler32(0, nullptr, 0);
};

// One zlib stream's deflate data, inflated a row at a time. inflate stops
// at every block's end (Z_BLOCK), which CleanCut needs and costs nothing.
class RowInflater {
 public:
  explicit RowInflater(IdatStream& stream) : stream_(stream) { ready_ = inflateInit2(&z_, -15) == Z_OK; }
  ~RowInflater() {
    if (ready_) inflateEnd(&z_);
  }
  RowInflater(const RowInflater&) = delete;
  RowInflater& operator=(const RowInflater&) = delete;

  // The stream's two header bytes, checked as zlib checks them.
  bool Header() {
    uint8_t b[2];
    return ready_ && Take(b, 2) && (b[0] & 0x0F) == 8 && (b[0] >> 4) <= 7 && (b[1] & 0x20) == 0 &&
           (b[0] * 256 + b[1]) % 31 == 0;
  }
  // The next n inflated bytes into out.
  bool Row(uint8_t* out, size_t n) {
    z_.next_out = out;
    z_.avail_out = uInt(n);
    return InflateSome() && z_.avail_out == 0;
  }
  // The deflate data must end here, then its Adler-32 (into sum) must end
  // the stream and its chunk.
  bool End(uint8_t sum[4]) {
    uint8_t spare;
    z_.next_out = &spare;
    z_.avail_out = 1;
    return InflateSome() && ended_ && z_.avail_out == 1 && Take(sum, 4) && z_.avail_in == 0 && stream_.Finish();
  }
  // Whether the data ends, with the stream's last chunk, right after a block
  // (not the final one) and on a byte boundary: what follows then starts a
  // block as it would after everything inflated so far.
  bool CleanCut() {
    uint8_t spare;
    for (int k = 0; k < 8; ++k) {  // the current block's end, then empty ones (a sync flush)
      if (z_.avail_in == 0 && !Refill()) return z_.data_type == 128 && stream_.AtLimit();
      z_.next_out = &spare;
      z_.avail_out = 0;
      const int r = inflate(&z_, Z_BLOCK);
      if (r != Z_OK && r != Z_BUF_ERROR) return false;
    }
    return false;
  }

 private:
  bool Refill() {
    const uint8_t* data = nullptr;
    size_t n = 0;
    if (!stream_.Next(data, n)) return false;
    z_.next_in = const_cast<Bytef*>(data);
    z_.avail_in = uInt(n);
    return true;
  }
  // n bytes of the stream outside the deflate data: its header and trailer.
  bool Take(uint8_t* into, int n) {
    for (int i = 0; i < n; ++i) {
      if (z_.avail_in == 0 && !Refill()) return false;
      into[i] = *z_.next_in++;
      --z_.avail_in;
    }
    return true;
  }
  // Inflates until avail_out is used up or the deflate data ends.
  bool InflateSome() {
    while (z_.avail_out > 0 && !ended_) {
      if (z_.avail_in == 0 && !Refill()) return false;
      const int r = inflate(&z_, Z_BLOCK);
      if (r == Z_STREAM_END) ended_ = true;
      else if (r != Z_OK) return false;
    }
    return true;
  }

  IdatStream& stream_;
  z_stream z_{};
  bool ready_ = false, ended_ = false;
};

// One of our own RGB files (see SliceRows) read as two halves at once, each
// inflated and unfiltered on its own core: the top from the stream's start to
// the fresh slice, the bottom from there. False when the file is not cut so,
// or at any fault; the caller then reads it the usual way, over img's rows.
bool DecodeHalves(const ByteSource& source, uint64_t size, uint64_t idat, int w, int h, TFastDIB& img) {
  const int sliceRows = SliceRows(w, h), slices = (h + sliceRows - 1) / sliceRows, fresh = FreshSlice(slices);
  if (fresh == 0) return false;
  const int cut = fresh * sliceRows;
  const size_t rowBytes = size_t(w) * 3 + 1;
  // The zlib header's chunk, then one chunk a slice: find the fresh one's.
  uint64_t at = idat;
  std::string reason;
  for (int k = 0; k <= fresh; ++k) {
    uint8_t h8[8];
    if (size - at < 12 || !source(at, h8, 8, reason) || std::memcmp(h8 + 4, "IDAT", 4) != 0) return false;
    const uint32_t len = Be32(h8);
    if (len > kMaxChunk || (k == 0 && len != 2) || size - at < uint64_t(len) + 12) return false;
    at += uint64_t(len) + 12;
  }
  std::atomic<bool> failed{false};
  uLong adlerTop = 0, adlerBottom = 0;
  uint8_t sum[4] = {};
  // Rows y0 .. y1 - 1 from stream; the bottom's first row must not look at
  // the row above it, which the other core has.
  auto half = [&](IdatStream& stream, int y0, int y1, bool top) {
    try {
      RowInflater in(stream);
      Unfilterer<3> rows(img, w);
      std::vector<uint8_t> raw(rowBytes);
      bool ok = !top || in.Header();
      for (int y = y0; ok && y < y1 && !failed; ++y)
        ok = in.Row(raw.data(), rowBytes) && (y != y0 || top || raw[0] <= 1) && rows.Row(y, raw.data());
      ok = ok && !failed && (top ? in.CleanCut() : in.End(sum));
      (top ? adlerTop : adlerBottom) = rows.Adler();
      if (!ok) failed = true;
    } catch (const std::bad_alloc&) {
      failed = true;
    }
  };
  try {
    const auto topStream = std::make_unique<IdatStream>(source, size, idat, fresh + 1);
    const auto bottomStream = std::make_unique<IdatStream>(source, size, at);
    std::thread bottom(half, std::ref(*bottomStream), cut, h, false);
    half(*topStream, 0, cut, true);
    bottom.join();
  } catch (const std::exception&) {  // no memory or no thread
    return false;
  }
  return !failed && adler32_combine(adlerTop, adlerBottom, z_off_t(size_t(h - cut) * rowBytes)) == Be32(sum);
}

// Rows handed from the inflating thread to the unfiltering one through a
// ring of row slots.
struct Handover {
  std::mutex M;
  std::condition_variable Changed;
  int Produced = 0, Consumed = 0;
  bool Stop = false, Failed = false;
};

template <int Bpp>
bool Decode(const ByteSource& source, uint64_t size, uint64_t idat, int w, int h, TFastDIB& out) {
  TFastDIB img;
  if (!img.SetSize(w, h, 24, 0)) return false;
  const bool threaded = WorkerCount() >= 2 && h >= 2;
  if (Bpp == 3 && threaded && DecodeHalves(source, size, idat, w, h, img)) {
    out = std::move(img);
    return true;
  }
  const size_t rowBytes = size_t(w) * Bpp + 1;
  const int slots = threaded ? int(std::clamp<size_t>(kRingBytes / rowBytes, 2, size_t(h))) : 1;
  std::vector<uint8_t> ring;
  std::unique_ptr<IdatStream> stream;
  std::unique_ptr<RowInflater> in;
  std::unique_ptr<Unfilterer<Bpp>> rows;
  try {
    ring.resize(rowBytes * size_t(slots));
    stream = std::make_unique<IdatStream>(source, size, idat);
    in = std::make_unique<RowInflater>(*stream);
    rows = std::make_unique<Unfilterer<Bpp>>(img, w);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!in->Header()) return false;

  Handover hand;
  std::thread worker;
  if (threaded) {
    try {
      worker = std::thread([&] {
        for (int y = 0; y < h; ++y) {
          {
            std::unique_lock lock(hand.M);
            hand.Changed.wait(lock, [&] { return hand.Stop || hand.Produced > y; });
            if (hand.Stop) return;
          }
          const bool ok = rows->Row(y, ring.data() + size_t(y % slots) * rowBytes);
          {
            std::lock_guard lock(hand.M);
            hand.Consumed = y + 1;
            if (!ok) hand.Failed = hand.Stop = true;
          }
          hand.Changed.notify_all();
          if (!ok) return;
        }
      });
    } catch (...) {
      return false;
    }
  }
  auto stop = [&] {
    if (!threaded) return;
    {
      std::lock_guard lock(hand.M);
      hand.Stop = true;
    }
    hand.Changed.notify_all();
    worker.join();
  };

  for (int y = 0; y < h; ++y) {
    uint8_t* slot = ring.data() + size_t(y % slots) * rowBytes;
    if (threaded) {
      std::unique_lock lock(hand.M);
      hand.Changed.wait(lock, [&] { return hand.Stop || y - hand.Consumed < slots; });
      if (hand.Stop) break;
    }
    if (!in->Row(slot, rowBytes)) return stop(), false;
    if (!threaded) {
      if (!rows->Row(y, slot)) return false;
      continue;
    }
    {
      std::lock_guard lock(hand.M);
      hand.Produced = y + 1;
    }
    hand.Changed.notify_all();
  }
  // The deflate data must end with the last row, then its Adler-32, and the
  // stream with its chunk.
  uint8_t trailer[4];
  const bool whole = in->End(trailer);
  if (threaded) {
    worker.join();
    if (hand.Failed || hand.Consumed != h) return false;
  }
  if (!whole || rows->Adler() != Be32(trailer)) return false;
  out = std::move(img);
  return true;
}

}  // namespace

bool DecodeCommon(const ByteSource& source, uint64_t size, TFastDIB& out) {
  // The header, checked as libpng checks it; anything unusual takes libpng's road.
  uint8_t ihdr[25];
  if (size < 8 + 25 + 12) return false;
  std::string reason;
  if (!source(8, ihdr, sizeof ihdr, reason)) return false;
  if (Be32(ihdr) != 13 || std::memcmp(ihdr + 4, "IHDR", 4) != 0 || crc32(0, ihdr + 4, 17) != Be32(ihdr + 21))
    return false;
  const uint32_t w = Be32(ihdr + 8), h = Be32(ihdr + 12);
  const uint8_t depth = ihdr[16], colourType = ihdr[17];
  if (!SizeAllowed(w, h) || depth != 8 || (colourType != 2 && colourType != 6) || ihdr[18] != 0 || ihdr[19] != 0 ||
      ihdr[20] != 0)
    return false;
  // Ancillary chunks up to the image data are skipped; a transparent colour
  // and every critical chunk but IDAT (a suggested palette too) are left to libpng.
  uint64_t pos = 8 + 25;
  for (int k = 0;; ++k) {
    uint8_t h8[8];
    if (k > kMaxChunksBeforeData || size - pos < 12 || !source(pos, h8, 8, reason)) return false;
    const uint32_t len = Be32(h8);
    for (int i = 4; i < 8; ++i)
      if (!((h8[i] >= 'A' && h8[i] <= 'Z') || (h8[i] >= 'a' && h8[i] <= 'z'))) return false;
    if (len > kMaxChunk) return false;
    if (std::memcmp(h8 + 4, "IDAT", 4) == 0) break;
    if ((h8[4] & 0x20) == 0 || std::memcmp(h8 + 4, "tRNS", 4) == 0) return false;
    if (size - pos < uint64_t(len) + 12) return false;
    pos += uint64_t(len) + 12;
  }
  return colourType == 2 ? Decode<3>(source, size, pos, int(w), int(h), out)
                         : Decode<4>(source, size, pos, int(w), int(h), out);
}

}  // namespace vorq::png
