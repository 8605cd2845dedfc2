// GIF files through giflib.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/imageio/jpeg.h"
#include "core/surface/fast_dib.h"

namespace vorq {

// Decodes the first frame onto a bitmap of the logical screen's size. When
// the frame's graphic control extension names a transparent colour, the
// bitmap is first filled with that colour, so transparent pixels take it;
// otherwise uncovered areas take the background colour. On failure returns
// false, sets reason and leaves out untouched.
bool DecodeGif(const uint8_t* data, size_t size, TFastDIB& out, std::string& reason);

// Drops palette entries no pixel uses and renumbers the pixels; the kept
// entries stay in their order.
void ReduceToUsedColours(IndexedImage& image);

// Absent: no graphic control extension. On: transparency flag set with the
// given index. Off: an extension with the flag cleared.
enum class GifTransparency { Absent, On, Off };

// A GIF89a file of one frame with a global colour map of image.Colours
// entries (padded to a power of two).
bool EncodeGif(const IndexedImage& image, GifTransparency transparency, int index, std::vector<uint8_t>& out,
               std::string& reason);

}  // namespace vorq
