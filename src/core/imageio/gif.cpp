#include "core/imageio/gif.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include <gif_lib.h>

#include "core/imageio/file_io.h"

namespace vorq {
namespace {

struct Reader {
  const uint8_t* Data;
  size_t Left;
};

extern "C" int GifReadMemory(GifFileType* g, GifByteType* buf, int n) {
  auto* r = static_cast<Reader*>(g->UserData);
  const size_t k = std::min(r->Left, size_t(n < 0 ? 0 : n));
  std::memcpy(buf, r->Data, k);
  r->Data += k;
  r->Left -= k;
  return int(k);
}

extern "C" int GifWriteMemory(GifFileType* g, const GifByteType* buf, int n) {
  auto* out = static_cast<std::vector<uint8_t>*>(g->UserData);
  out->insert(out->end(), buf, buf + n);
  return n;
}

struct DecoderCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    DGifCloseFile(g, &err);
  }
};

std::string GifReason(int code) {
  if (code == D_GIF_ERR_READ_FAILED) return "the GIF data ends early";
  const char* s = GifErrorString(code);
  return std::string("the GIF data is damaged (") + (s ? s : "unknown error") + ")";
}

TPixel24 MapColour(const ColorMapObject* map, int i) {
  if (i < 0 || i >= map->ColorCount) return TPixel24{0, 0, 0};
  const GifColorType& c = map->Colors[i];
  return TPixel24{c.Blue, c.Green, c.Red};
}

}  // namespace

bool DecodeGif(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason) {
  Reader reader{data, size};
  int err = 0;
  std::unique_ptr<GifFileType, DecoderCloser> g(DGifOpen(&reader, GifReadMemory, &err));
  if (!g) {
    reason = err == D_GIF_ERR_NOT_GIF_FILE ? "it is not a GIF file" : GifReason(err);
    return false;
  }
  GraphicsControlBlock gcb{};
  gcb.TransparentColor = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(g.get(), &type) == GIF_ERROR) {
      reason = GifReason(g->Error);
      return false;
    }
    if (type == TERMINATE_RECORD_TYPE) {
      reason = "it contains no image";
      return false;
    }
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* ext = nullptr;
      if (DGifGetExtension(g.get(), &code, &ext) == GIF_ERROR) {
        reason = GifReason(g->Error);
        return false;
      }
      if (code == GRAPHICS_EXT_FUNC_CODE && ext != nullptr && ext[0] == 4) DGifExtensionToGCB(4, ext + 1, &gcb);
      while (ext != nullptr) {
        if (DGifGetExtensionNext(g.get(), &ext) == GIF_ERROR) {
          reason = GifReason(g->Error);
          return false;
        }
      }
    } else if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(g.get()) == GIF_ERROR) {
        reason = GifReason(g->Error);
        return false;
      }
      break;
    }
  }

  const GifImageDesc& frame = g->Image;
  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : g->SColorMap;
  if (map == nullptr || map->ColorCount <= 0) {
    reason = "its first frame has no colour table";
    return false;
  }
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0) {
    reason = "its first frame has an empty or negative size";
    return false;
  }
  int64_t cw = g->SWidth, ch = g->SHeight;
  if (cw <= 0 || ch <= 0) {  // some writers leave the screen size 0: use the frame's extent
    cw = int64_t(frame.Left) + frame.Width;
    ch = int64_t(frame.Top) + frame.Height;
  }
  if (!SizeAllowed(cw, ch)) {
    reason = SizeRefusal(cw, ch);
    return false;
  }
  // The frame's visible part is decoded before the bitmap is made, so a
  // truncated file with a large screen fails without filling it.
  const int64_t visibleW = std::clamp<int64_t>(cw - frame.Left, 0, frame.Width);
  const int64_t visibleH = std::clamp<int64_t>(ch - frame.Top, 0, frame.Height);
  std::unique_ptr<uint8_t[]> indices(new (std::nothrow) uint8_t[size_t(std::max<int64_t>(visibleW * visibleH, 1))]);
  if (!indices) {
    reason = "there is not enough memory for the image";
    return false;
  }
  std::vector<GifByteType> line(size_t(frame.Width));
  auto readLine = [&](int fy) -> bool {
    if (DGifGetLine(g.get(), line.data(), frame.Width) == GIF_ERROR) {
      reason = GifReason(g->Error);
      return false;
    }
    if (fy < visibleH) std::memcpy(&indices[size_t(fy) * size_t(visibleW)], line.data(), size_t(visibleW));
    return true;
  };
  if (frame.Interlace) {
    static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < frame.Height; y += kStep[pass])
        if (!readLine(y)) return false;
  } else {
    for (int y = 0; y < frame.Height; ++y)
      if (!readLine(y)) return false;
  }

  TFastDIB img;
  if (!img.SetSize(int(cw), int(ch), 24, 0)) {
    reason = "there is not enough memory for the image";
    return false;
  }
  std::array<TPixel24, 256> palette{};
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = MapColour(map, i);
  const int transparent = gcb.TransparentColor >= 0 && gcb.TransparentColor < map->ColorCount ? gcb.TransparentColor : -1;
  const bool covers = visibleW == cw && visibleH == ch && frame.Left == 0 && frame.Top == 0;
  if (transparent >= 0 || !covers) {
    TPixel24 fill{0, 0, 0};
    if (transparent >= 0)
      fill = palette[size_t(transparent)];
    else if (g->SColorMap != nullptr)
      fill = MapColour(g->SColorMap, g->SBackGroundColor);
    // New pixels are already black; otherwise fill one row and copy it.
    if (!(fill == TPixel24{0, 0, 0})) {
      std::fill_n(img.Row24(0), img.Width(), fill);
      for (int y = 1; y < img.Height(); ++y) std::memcpy(img.Row(y), img.Row(0), size_t(img.Width()) * 3);
    }
  }
  for (int64_t y = 0; visibleW > 0 && y < visibleH; ++y) {
    const uint8_t* src = &indices[size_t(y) * size_t(visibleW)];
    TPixel24* row = img.Row24(int(frame.Top + y)) + frame.Left;
    for (int64_t x = 0; x < visibleW; ++x)
      if (src[x] != transparent) row[x] = palette[src[x]];
  }
  out = std::move(img);
  return true;
}

void ReduceToUsedColours(IndexedImage& image) {
  std::array<bool, 256> used{};
  for (uint8_t p : image.Pixels) used[p] = true;
  std::array<uint8_t, 256> remap{};
  std::array<TPixel24, 256> palette{};
  int n = 0;
  for (int i = 0; i < 256; ++i) {
    if (!used[size_t(i)]) continue;
    remap[size_t(i)] = uint8_t(n);
    palette[size_t(n++)] = image.Palette[size_t(i)];
  }
  for (uint8_t& p : image.Pixels) p = remap[p];
  image.Palette = palette;
  image.Colours = n;
}

bool EncodeGif(const IndexedImage& image, GifTransparency transparency, int index, std::vector<uint8_t>& out,
               std::string& reason) {
  int bits = 1;
  while ((1 << bits) < image.Colours) ++bits;
  std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(1 << bits, nullptr), GifFreeMapObject);
  if (!map) {
    reason = "there is not enough memory for the colour map";
    return false;
  }
  for (int i = 0; i < image.Colours; ++i) {
    const TPixel24 c = image.Palette[size_t(i)];
    map->Colors[i] = GifColorType{c.R, c.G, c.B};
  }
  std::vector<uint8_t> bytes;
  int err = 0;
  GifFileType* g = EGifOpen(&bytes, GifWriteMemory, &err);
  if (g == nullptr) {
    reason = GifReason(err);
    return false;
  }
  EGifSetGifVersion(g, true);
  bool ok = EGifPutScreenDesc(g, image.Width, image.Height, bits, 0, map.get()) != GIF_ERROR;
  if (ok && transparency != GifTransparency::Absent) {
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
    gcb.TransparentColor = transparency == GifTransparency::On ? index & 0xFF : NO_TRANSPARENT_COLOR;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    if (transparency == GifTransparency::Off) ext[3] = 0;
    ok = EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, 4, ext) != GIF_ERROR;
  }
  ok = ok && EGifPutImageDesc(g, 0, 0, image.Width, image.Height, false, nullptr) != GIF_ERROR;
  for (int y = 0; ok && y < image.Height; ++y)
    ok = EGifPutLine(g, const_cast<GifByteType*>(image.Pixels.data() + size_t(y) * size_t(image.Width)), image.Width) !=
         GIF_ERROR;
  const int writeError = g->Error;
  if (EGifCloseFile(g, &err) == GIF_ERROR && ok) {
    ok = false;
  } else if (!ok) {
    err = writeError;
  }
  if (!ok) {
    reason = GifReason(err);
    return false;
  }
  out = std::move(bytes);
  return true;
}

}  // namespace vorq
