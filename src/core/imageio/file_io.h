// Whole-file reads and replace-by-rename writes shared by the codecs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorq {

// Largest file the loaders read into memory; a 16384 x 16384 32-bit BMP
// with headers fits.
constexpr uint64_t kMaxImageFileBytes = uint64_t(1) << 31;

// Reads the whole file. On failure error is a sentence naming the file.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Writes data to a new file in the target's folder, then renames it over
// path. On failure the file that was at path is untouched, the temporary
// file is removed and error is a sentence naming the file.
bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size, std::string& error);

// Why a declared size is refused: empty, or above 16384 x 16384 / 2^28 pixels.
std::string SizeRefusal(int64_t width, int64_t height);

// "Cannot load "path": reason." / "Cannot save ...".
std::string LoadError(const std::string& path, const std::string& reason);
std::string SaveError(const std::string& path, const std::string& reason);

}  // namespace vorq
