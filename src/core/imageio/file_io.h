// Whole-file reads and replace-by-rename writes shared by the codecs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <sys/uio.h>

namespace vorq {

// Largest image file the loaders read into memory: 1 GiB, the largest
// 32-bit BMP (2^28 pixels), plus 1 MiB for headers and palettes.
constexpr uint64_t kMaxImageFileBytes = (uint64_t(1) << 30) + (uint64_t(1) << 20);
// Largest recipe or settings file: 16 MiB.
constexpr uint64_t kMaxTextFileBytes = uint64_t(1) << 24;

// n bytes of the file from offset into `into`; false, with reason, when the
// file cannot be read or ends before.
struct ByteSource : std::function<bool(uint64_t offset, uint8_t* into, size_t n, std::string& reason)> {
  using function::function;
  // Consecutive bytes from offset into several places (rows), in one system
  // call where the source is a file; the same as one call per piece.
  bool Scatter(uint64_t offset, const iovec* pieces, size_t count, std::string& reason) const;
  int Fd = -1;  // the file, or -1
};
// The bytes at data as a source, for a file already in memory.
ByteSource MemorySource(const uint8_t* data, size_t size);
// Takes the next n bytes of a file being written; false once writing failed.
struct ByteSink : std::function<bool(const uint8_t* data, size_t n)> {
  using function::function;
  // The pieces' bytes in order, in one system call where the sink is a file.
  bool Gather(const iovec* pieces, size_t count) const;
  std::function<bool(const iovec* pieces, size_t count)> Pieces;  // empty: one call per piece
};

// Opens the file as ReadRegularFile does and lets read take what it needs from
// it, so a decoder can put pixels straight where they belong. read gets the
// file's size; its false (with reason) becomes a sentence naming the file.
bool ReadFileWith(const std::string& path,
                  const std::function<bool(uint64_t size, const ByteSource& source, std::string& reason)>& read,
                  std::string& error);

// Reads the whole of a regular file of at most maxBytes. FIFOs, devices and
// folders are refused without waiting on them. On failure reason says why
// (without the file's name).
bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& reason);

// Reads a whole image file (at most kMaxImageFileBytes). On failure error is
// a sentence naming the file.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// Writes data to a new file in the target's folder ("NAME.PID-N.tmp~"),
// flushes it to the disk (unless the file system orders a replacing rename
// after the data itself), then renames it over path. On failure the file
// that was at path is untouched, the temporary file is removed and error is
// a sentence naming the file. Temporary files of the same target left by a
// process that no longer runs (killed during its save) are removed.
bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size, std::string& error);
// The same with the bytes handed over piece by piece by write, so an encoder
// can write from the image's own rows; write's false (with reason) fails the save.
bool WriteFileReplacingWith(const std::string& path,
                            const std::function<bool(const ByteSink& sink, std::string& reason)>& write,
                            std::string& error);

// Why a declared size is refused: empty, or above 16384 x 16384 / 2^28 pixels.
std::string SizeRefusal(int64_t width, int64_t height);

// The temporary file names of target that belong to no running process.
std::vector<std::string> StaleTemporaryFiles(const std::string& path);

// "Cannot load "path": reason." / "Cannot save ...".
std::string LoadError(const std::string& path, const std::string& reason);
std::string SaveError(const std::string& path, const std::string& reason);

}  // namespace vorq
