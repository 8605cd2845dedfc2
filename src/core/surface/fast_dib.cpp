#include "core/surface/fast_dib.h"

#include "core/util/parallel.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <sys/mman.h>

namespace vorq {

namespace {
std::atomic<int64_t> gMaxPixels{kMaxPixels};
}  // namespace

bool SizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= gMaxPixels.load(std::memory_order_relaxed);
}

void LimitPixels(int64_t maxPixels) { gMaxPixels = std::clamp<int64_t>(maxPixels, 1, kMaxPixels); }

TFastDIB::TFastDIB() = default;

TFastDIB::~TFastDIB() { Release(); }

TFastDIB::TFastDIB(TFastDIB&& other) noexcept { Swap(other); }

TFastDIB& TFastDIB::operator=(TFastDIB&& other) noexcept {
  if (this != &other) {
    Release();
    Swap(other);
  }
  return *this;
}

void TFastDIB::Swap(TFastDIB& other) noexcept {
  std::swap(BytesPerRow, other.BytesPerRow);
  std::swap(AbsHeight, other.AbsHeight);
  std::swap(Gap, other.Gap);
  std::swap(FormatCode, other.FormatCode);
  std::swap(Bits, other.Bits);
  std::swap(Header, other.Header);
  RowTable.swap(other.RowTable);
  std::swap(Capacity, other.Capacity);
  std::swap(Mapped, other.Mapped);
}

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kMapFrom = size_t(4) << 20;  // smaller surfaces come from calloc

size_t MappedLength(size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

// Zeroed memory for bytes of pixels and the read slack after them; nullptr
// when there is none.
uint8_t* AllocatePixels(size_t pixelBytes, bool& mapped) {
  const size_t bytes = pixelBytes + kReadSlack;
  mapped = bytes >= kMapFrom;
  if (!mapped) return static_cast<uint8_t*>(std::calloc(bytes, 1));
  // Over-allocate by one huge page and trim, so the pixels start on a 2 MiB boundary.
  const size_t length = MappedLength(bytes);
  void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const size_t tail = kHugePage - (aligned - start);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
#if defined(MADV_HUGEPAGE)
  madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);  // a hint; refusal is harmless
#endif
  return reinterpret_cast<uint8_t*>(aligned);
}

}  // namespace

Prefault::~Prefault() {
  Stop = true;
  if (Worker.joinable()) Worker.join();
}

void Prefault::Start(const TFastDIB& surface, bool bottomUp) {
#if defined(__linux__)
  constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE, Linux 5.14; older kernels refuse it
  const size_t bytes = size_t(surface.BytesPerRow) * size_t(surface.AbsHeight);
  if (Worker.joinable() || bytes < kMapFrom || WorkerCount() < 2) return;
  uint8_t* const bits = surface.Bits;  // 2 MiB aligned: large surfaces are mapped
  try {
    Worker = std::thread([this, bits, bytes, bottomUp] {
      const size_t pieces = (bytes + kHugePage - 1) / kHugePage;
      for (size_t k = 0; k < pieces && !Stop.load(std::memory_order_relaxed); ++k) {
        const size_t at = (bottomUp ? pieces - 1 - k : k) * kHugePage;
        if (madvise(bits + at, std::min(kHugePage, bytes - at), kPopulateWrite) != 0) return;
      }
    });
  } catch (...) {  // no thread: the decoder touches the pages itself
  }
#else
  (void)surface;
  (void)bottomUp;
#endif
}

void TFastDIB::Release() {
  if (Mapped) munmap(Bits, MappedLength(Capacity + kReadSlack));
  else std::free(Bits);
  Bits = nullptr;
  Capacity = 0;
  Mapped = false;
  RowTable.clear();
  RowTable.shrink_to_fit();
}

bool TFastDIB::SetSize(int Width, int Height, int BitsPerPixel, int Format) {
  const int absHeight = Height < 0 ? -Height : Height;
  if (Width == Header.biWidth && absHeight == AbsHeight && BitsPerPixel == Header.biBitCount &&
      Format == FormatCode && (Bits != nullptr || Width == 0 || absHeight == 0))
    return true;
  if (BitsPerPixel == 0 && Width == 0 && Height == 0) {  // the release call
    Release();
    Header = TBitmapInfoHeader{};
    BytesPerRow = 0;
    AbsHeight = 0;
    Gap = 0;
    FormatCode = 0;
    return true;
  }
  // Only 24-bit surfaces are made; anything else is refused.
  if (BitsPerPixel != 24) {
    Resize(0, 0, 0, false);
    return false;
  }
  return Resize(Width, absHeight, Format, true);
}

bool TFastDIB::Reshape(int Width, int Height) {
  const int absHeight = Height < 0 ? -Height : Height;
  if (Width == Header.biWidth && absHeight == AbsHeight && Header.biBitCount == 24 && FormatCode == 0 && Bits != nullptr)
    return true;
  return Resize(Width, absHeight, 0, false);
}

bool TFastDIB::Resize(int Width, int absHeight, int Format, bool clear) {
  Header = TBitmapInfoHeader{};
  BytesPerRow = 0;
  AbsHeight = 0;
  Gap = 0;
  FormatCode = 0;
  if (!SizeAllowed(Width, absHeight)) {
    Release();
    return false;
  }
  const uint32_t bytesPerRow = ((uint32_t(24) * uint32_t(Width) + 31) & ~uint32_t(31)) / 8;
  const size_t imageSize = size_t(bytesPerRow) * size_t(absHeight);
  const int gap = int(bytesPerRow) - 3 * Width;
  if (Bits != nullptr && imageSize <= Capacity && imageSize >= Capacity / 2) {
    // Kept memory holds an older picture: cleared when black is asked for,
    // otherwise only the gap bytes, which belong to no pixel but are copied and saved.
    if (clear) {
      std::memset(Bits, 0, imageSize);
    } else if (gap > 0) {
      for (int y = 0; y < absHeight; ++y) std::memset(Bits + size_t(y) * bytesPerRow + 3 * size_t(Width), 0, size_t(gap));
    }
  } else {
    Release();
    bool mapped = false;
    uint8_t* bits = AllocatePixels(imageSize, mapped);
    if (bits == nullptr) return false;
    Bits = bits;
    Capacity = imageSize;
    Mapped = mapped;
  }
  BytesPerRow = bytesPerRow;
  AbsHeight = absHeight;
  Gap = gap;
  FormatCode = Format;
  Header.biWidth = Width;
  Header.biHeight = -absHeight;
  Header.biBitCount = 24;
  Header.biSizeImage = uint32_t(imageSize);
  RowTable.resize(size_t(absHeight));
  for (int y = 0; y < absHeight; ++y) RowTable[size_t(y)] = Bits + size_t(y) * bytesPerRow;
  return true;
}

void TFastDIB::FlipVertical() {
  const int h = AbsHeight;
  if (h < 2) return;
  std::vector<uint8_t> tmp(BytesPerRow);
  for (int i = 0, j = h - 1; i < j; ++i, --j) {
    std::memcpy(tmp.data(), RowTable[i], BytesPerRow);
    std::memcpy(RowTable[i], RowTable[j], BytesPerRow);
    std::memcpy(RowTable[j], tmp.data(), BytesPerRow);
  }
}

void TFastDIB::FlipHorizontal() {
  const int w = Width();
  ParallelRows(AbsHeight, [&](int begin, int end) {
    for (int y = begin; y < end; ++y) std::reverse(Row24(y), Row24(y) + w);
  });
}

void TFastDIB::WrapShift(int DX, int DY) {
  const int w = Width(), h = AbsHeight;
  if (w == 0 || h == 0) return;
  if (DY != 0) {
    DY %= h;
    if (DY < 0) DY += h;
    if (DY != 0) {
      // Rotating the rows is a rotation of whole-row byte blocks.
      std::rotate(Bits, Bits + size_t(DY) * BytesPerRow, Bits + ImageSize());
    }
  }
  if (DX != 0) {
    DX %= w;
    if (DX < 0) DX += w;
    if (DX != 0)
      for (int y = 0; y < h; ++y) std::rotate(Row24(y), Row24(y) + DX, Row24(y) + w);
  }
}

namespace {
// Clips a W x H copy from (sx, sy) of a sw x sh source to (x, y) of a tw x th
// target; returns false when nothing is left.
bool ClipRect(int& x, int& y, int& w, int& h, int& sx, int& sy, int sw, int sh, int tw, int th) {
  if (sx < 0) { w += sx; x -= sx; sx = 0; }
  if (sy < 0) { h += sy; y -= sy; sy = 0; }
  // Wholly left of or above the target; also keeps -x and -y from overflowing.
  if (int64_t(x) + w <= 0 || int64_t(y) + h <= 0) return false;
  if (x < 0) { w += x; sx -= x; x = 0; }
  if (y < 0) { h += y; sy -= y; y = 0; }
  w = std::min({w, sw - sx, tw - x});
  h = std::min({h, sh - sy, th - y});
  return w > 0 && h > 0;
}
}  // namespace

void TFastDIB::DrawPart(TFastDIB& Target, int X, int Y, int W, int H, int SrcX, int SrcY) const {
  if (!ClipRect(X, Y, W, H, SrcX, SrcY, Width(), AbsHeight, Target.Width(), Target.AbsHeight)) return;
  if (&Target == this) {
    // Overlapping copies within one surface behave like a blit: rows go
    // through a temporary copy.
    std::vector<uint8_t> tmp(size_t(W) * 3 * size_t(H));
    for (int r = 0; r < H; ++r) std::memcpy(&tmp[size_t(r) * W * 3], Row(SrcY + r) + 3 * SrcX, size_t(W) * 3);
    for (int r = 0; r < H; ++r) std::memcpy(Target.Row(Y + r) + 3 * X, &tmp[size_t(r) * W * 3], size_t(W) * 3);
    return;
  }
  for (int r = 0; r < H; ++r) std::memcpy(Target.Row(Y + r) + 3 * X, Row(SrcY + r) + 3 * SrcX, size_t(W) * 3);
}

void TFastDIB::Draw(TFastDIB& Target, int X, int Y) const { DrawPart(Target, X, Y, Width(), AbsHeight, 0, 0); }

void TFastDIB::DrawTransparent(TFastDIB& Target, int X, int Y, TPixel24 Key) const {
  int W = Width(), H = AbsHeight, SrcX = 0, SrcY = 0;
  if (&Target == this || !ClipRect(X, Y, W, H, SrcX, SrcY, Width(), AbsHeight, Target.Width(), Target.AbsHeight))
    return;
  for (int r = 0; r < H; ++r) {
    const TPixel24* src = Row24(SrcY + r) + SrcX;
    TPixel24* dst = Target.Row24(Y + r) + X;
    for (int i = 0; i < W; ++i)
      if (!(src[i] == Key)) dst[i] = src[i];
  }
}

void TFastDIB::StretchDraw(TFastDIB& Target, int X, int Y, int W, int H) const {
  const int sw = Width(), sh = AbsHeight;
  if (sw == 0 || sh == 0 || W <= 0 || H <= 0) return;
  // Source column of each target column: floor(i * sw / W), dropping or
  // repeating whole columns.
  const int x0 = std::max(X, 0), x1 = std::min(X + W, Target.Width());
  const int y0 = std::max(Y, 0), y1 = std::min(Y + H, Target.AbsHeight);
  if (x0 >= x1 || y0 >= y1) return;
  std::vector<int> srcCol(size_t(x1 - x0));
  for (int x = x0; x < x1; ++x) srcCol[size_t(x - x0)] = int(int64_t(x - X) * sw / W);
  for (int y = y0; y < y1; ++y) {
    const TPixel24* src = Row24(int(int64_t(y - Y) * sh / H));
    TPixel24* dst = Target.Row24(y);
    for (int x = x0; x < x1; ++x) dst[x] = src[srcCol[size_t(x - x0)]];
  }
}

void TFastDIB::TileDraw(TFastDIB& Target, int X, int Y, int W, int H) const {
  const int cw = Width(), ch = AbsHeight;
  if (cw == 0 || ch == 0 || W <= 0 || H <= 0) return;
  const int x0 = std::max(X, 0), x1 = std::min(X + W, Target.Width());
  const int y0 = std::max(Y, 0), y1 = std::min(Y + H, Target.AbsHeight);
  if (x0 >= x1 || y0 >= y1) return;
  // Build one tiled row per source row, then copy it to every target row
  // that shows that source row.
  std::vector<TPixel24> line(size_t(x1 - x0));
  for (int sy = 0; sy < ch && sy < y1 - Y; ++sy) {
    const TPixel24* src = Row24(sy);
    for (int x = x0; x < x1; ++x) line[size_t(x - x0)] = src[(x - X) % cw];
    int first = Y + sy;
    while (first < y0) first += ch;
    for (int y = first; y < y1; y += ch) std::memcpy(Target.Row24(y) + x0, line.data(), line.size() * 3);
  }
}

void CopyGapBytes(const TFastDIB& Source, TFastDIB& Target) {
  if (Source.Gap == 0 || Source.Width() != Target.Width() || Source.Height() != Target.Height()) return;
  const size_t pixels = size_t(Source.Width()) * 3, gap = size_t(Source.Gap);
  for (int y = 0; y < Source.Height(); ++y) std::memcpy(Target.Row(y) + pixels, Source.Row(y) + pixels, gap);
}

void CopySurface(const TFastDIB& Source, TFastDIB& Target) {
  if (&Source == &Target) return;
  if (Source.Empty()) {
    Target.SetSize(0, 0, 0, 0);
    return;
  }
  if (Target.Reshape(Source.Width(), Source.Height())) std::memcpy(Target.Bits, Source.Bits, Source.ImageSize());
}

}  // namespace vorq
