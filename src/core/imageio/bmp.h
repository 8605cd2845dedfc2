// Windows bitmap files: 24-bit read and write.
#pragma once

#include <string>

#include "core/surface/fast_dib.h"

namespace vorq {

// Reads a 24-bit uncompressed BMP (bottom-up or top-down) into surface.
// On failure returns false, sets error to a sentence naming the reason and
// leaves surface untouched.
bool ReadBmp(const std::string& path, TFastDIB& surface, std::string& error);
// Writes surface as a 24-bit BMP through a temporary file renamed into
// place, so a failed save never destroys the file that was there.
bool WriteBmp(const std::string& path, const TFastDIB& surface, std::string& error);

}  // namespace vorq
