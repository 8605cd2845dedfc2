// Whole-file reads and replace-by-rename writes shared by the codecs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorq {

// Largest file the loaders read into memory; a 16384 x 16384 32-bit BMP
// with headers fits.
constexpr uint64_t kMaxImageFileBytes = uint64_t(1) << 31;

// n bytes of the file from offset into `into`; false, with reason, when the
// file cannot be read or ends before.
using ByteSource = std::function<bool(uint64_t offset, uint8_t* into, size_t n, std::string& reason)>;
// Takes the next n bytes of a file being written; false once writing failed.
using ByteSink = std::function<bool(const uint8_t* data, size_t n)>;

// Opens the file as ReadFileBytes does and lets read take what it needs from
// it, so a decoder can put pixels straight where they belong. read gets the
// file's size; its false (with reason) becomes a sentence naming the file.
bool ReadFileWith(const std::string& path,
                  const std::function<bool(uint64_t size, const ByteSource& source, std::string& reason)>& read,
                  std::string& error);
// Reads the whole file. On failure error is a sentence naming the file.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Writes data to a new file in the target's folder, then renames it over
// path. On failure the file that was at path is untouched, the temporary
// file is removed and error is a sentence naming the file.
bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size, std::string& error);
// The same with the bytes handed over piece by piece by write, so an encoder
// can write from the image's own rows; write's false (with reason) fails the save.
bool WriteFileReplacingWith(const std::string& path,
                            const std::function<bool(const ByteSink& sink, std::string& reason)>& write,
                            std::string& error);

// Why a declared size is refused: empty, or above 16384 x 16384 / 2^28 pixels.
std::string SizeRefusal(int64_t width, int64_t height);

// "Cannot load "path": reason." / "Cannot save ...".
std::string LoadError(const std::string& path, const std::string& reason);
std::string SaveError(const std::string& path, const std::string& reason);

}  // namespace vorq
