// The 24-bit pixel surface every effect reads and writes.
//
// Layout: pixels stored blue, green, red; row 0 is the top row; each row
// padded to a multiple of 4 bytes. RowTable[y] is the address of row y, so
// effects address pixels directly without bounds checks.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

namespace vorq {

struct TPixel24 {
  uint8_t B, G, R;
  bool operator==(const TPixel24&) const = default;
};
static_assert(sizeof(TPixel24) == 3, "TPixel24 must be three packed bytes");

constexpr TPixel24 MakePixel(uint8_t R, uint8_t G, uint8_t B) { return TPixel24{B, G, R}; }

// The standard 40-byte bitmap-info header; the height is stored negated so
// that rows run top-down.
struct TBitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};
static_assert(sizeof(TBitmapInfoHeader) == 40, "bitmap-info header is 40 bytes");

// Readable bytes past the last row of every surface's pixel memory, so that
// a pixel can be loaded as one four-byte (or vector) read anywhere.
constexpr size_t kReadSlack = 16;

// Largest surface the program makes: 16384 x 16384 and at most 2^28 pixels.
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t(1) << 28;
bool SizeAllowed(int64_t width, int64_t height);
// Lowers the pixel limit for this process (never raises it). The fuzz
// targets keep images small, so that an allocation out of proportion to the
// image stands out under their malloc limit.
void LimitPixels(int64_t maxPixels);

class TFastDIB {
 public:
  TFastDIB();  // Create: an empty 0 x 0 surface
  ~TFastDIB();  // Destroy
  TFastDIB(const TFastDIB&) = delete;
  TFastDIB& operator=(const TFastDIB&) = delete;
  TFastDIB(TFastDIB&& other) noexcept;
  TFastDIB& operator=(TFastDIB&& other) noexcept;

  // Makes the surface Width x |Height| at 24 bits; new pixels are black.
  // Unchanged size and depth keeps the pixels. SetSize(0, 0, 0, 0) releases
  // the memory. Returns false (and leaves a 0 x 0 surface) when the size is
  // refused or memory cannot be had.
  bool SetSize(int Width, int Height, int BitsPerPixel = 24, int FormatCode = 0);
  // SetSize (Width, Height, 24, 0) for a caller that writes every pixel
  // afterwards: the pixels are left as they are (gap bytes 0), so memory
  // that is kept is not cleared first.
  bool Reshape(int Width, int Height);
  // Exchanges the two surfaces' pixels and sizes; effects render into the
  // scratch surface and swap it in instead of copying back.
  void Swap(TFastDIB& other) noexcept;

  void SetPixel(int Y, int X, TPixel24 Pixel) { *reinterpret_cast<TPixel24*>(RowTable[Y] + 3 * X) = Pixel; }
  TPixel24 GetPixel(int Y, int X) const { return *reinterpret_cast<const TPixel24*>(RowTable[Y] + 3 * X); }

  int Width() const { return Header.biWidth; }
  int Height() const { return AbsHeight; }
  int BitsPerPixel() const { return Header.biBitCount; }
  bool Empty() const { return Bits == nullptr; }
  size_t ImageSize() const { return size_t(BytesPerRow) * size_t(AbsHeight); }

  uint8_t* Row(int y) { return RowTable[y]; }
  const uint8_t* Row(int y) const { return RowTable[y]; }
  TPixel24* Row24(int y) { return reinterpret_cast<TPixel24*>(RowTable[y]); }
  const TPixel24* Row24(int y) const { return reinterpret_cast<const TPixel24*>(RowTable[y]); }

  void FlipVertical();
  void FlipHorizontal();
  // Rotates the image DY rows upward and DX columns leftward with wrap-around.
  void WrapShift(int DX, int DY);

  // Drawing onto another surface (plain source copy, clipped to the target).
  void Draw(TFastDIB& Target, int X, int Y) const;
  // Scales the whole surface into X, Y, W, H by dropping or repeating rows
  // and columns (colour-on-colour), never blending.
  void StretchDraw(TFastDIB& Target, int X, int Y, int W, int H) const;
  void DrawPart(TFastDIB& Target, int X, int Y, int W, int H, int SrcX, int SrcY) const;
  // Draw, leaving the target's pixel where this surface has colour Key
  // (a transparent bitmap). Target must be another surface.
  void DrawTransparent(TFastDIB& Target, int X, int Y, TPixel24 Key) const;
  // Fills X, Y, W, H with copies laid edge to edge from the top-left corner.
  void TileDraw(TFastDIB& Target, int X, int Y, int W, int H) const;

  // Fields in the order of the classic layout.
  uint32_t BytesPerRow = 0;
  int32_t AbsHeight = 0;
  int32_t Gap = 0;
  int32_t FormatCode = 0;
  uint8_t* Bits = nullptr;  // first byte of the top row
  TBitmapInfoHeader Header;
  std::vector<uint8_t*> RowTable;

 private:
  // Storage is kept across size changes when the new image needs between
  // half and all of it. Large surfaces are mapped on their own, aligned for
  // transparent huge pages (first touches of fresh memory cost far less in
  // 2 MiB pages than in 4 KiB ones).
  size_t Capacity = 0;  // bytes at Bits
  bool Mapped = false;  // from mmap rather than calloc
  bool Resize(int Width, int Height, int Format, bool clear);
  void Release();
};

// The gap bytes of every row, between surfaces of the same size: an effect
// that renders into a fresh surface keeps the padding of the one it replaces.
void CopyGapBytes(const TFastDIB& Source, TFastDIB& Target);

// Maps a large fresh surface's pages in on the other core, from the top row
// down (or from the bottom row up, for a decoder that fills it so), while
// this core fills it: the kernel's zeroing of fresh pages then leaves the
// decoder's path. Pixels are never changed. Stops and joins when destroyed.
class Prefault {
 public:
  Prefault() = default;
  Prefault(const Prefault&) = delete;
  Prefault& operator=(const Prefault&) = delete;
  ~Prefault();
  void Start(const TFastDIB& surface, bool bottomUp = false);

 private:
  std::thread Worker;
  std::atomic<bool> Stop{false};
};

// SetSize on Target with Source's size, then one byte copy (gap bytes too);
// memory the target keeps is not cleared before it is overwritten.
void CopySurface(const TFastDIB& Source, TFastDIB& Target);

}  // namespace vorq
