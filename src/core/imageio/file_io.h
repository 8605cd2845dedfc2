// Whole-file reads and replace-by-rename writes shared by the codecs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorq {

// Largest image file the loaders read into memory: 1 GiB, the largest
// 32-bit BMP (2^28 pixels), plus 1 MiB for headers and palettes.
constexpr uint64_t kMaxImageFileBytes = (uint64_t(1) << 30) + (uint64_t(1) << 20);
// Largest recipe or settings file: 16 MiB.
constexpr uint64_t kMaxTextFileBytes = uint64_t(1) << 24;

// Reads the whole of a regular file of at most maxBytes. FIFOs, devices and
// folders are refused without waiting on them. On failure reason says why
// (without the file's name).
bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& reason);

// Reads a whole image file (at most kMaxImageFileBytes). On failure error is
// a sentence naming the file.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Writes data to a new file in the target's folder ("NAME.PID-N.tmp~"),
// flushes it to the disk, then renames it over path. On failure the file
// that was at path is untouched, the temporary file is removed and error is
// a sentence naming the file. Temporary files of the same target left by a
// process that no longer runs (killed during its save) are removed.
bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size, std::string& error);

// Why a declared size is refused: empty, or above 16384 x 16384 / 2^28 pixels.
std::string SizeRefusal(int64_t width, int64_t height);

// The temporary file names of target that belong to no running process.
std::vector<std::string> StaleTemporaryFiles(const std::string& path);

// "Cannot load "path": reason." / "Cannot save ...".
std::string LoadError(const std::string& path, const std::string& reason);
std::string SaveError(const std::string& path, const std::string& reason);

}  // namespace vorq
