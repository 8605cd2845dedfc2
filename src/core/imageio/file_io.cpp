#include "core/imageio/file_io.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace vorq {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string ErrnoText(int e) {
  std::string s = std::strerror(e);
  if (!s.empty()) s[0] = char(std::tolower(static_cast<unsigned char>(s[0])));
  return s;
}

}  // namespace

std::string SizeRefusal(int64_t width, int64_t height) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width <= 0 || height <= 0) return "it declares an empty image of " + size;
  return "it declares " + size + ", more than 16384 x 16384 or 2^28 pixels in all";
}

std::string LoadError(const std::string& path, const std::string& reason) {
  return "Cannot load \"" + path + "\": " + reason + ".";
}

std::string SaveError(const std::string& path, const std::string& reason) {
  return "Cannot save \"" + path + "\": " + reason + ".";
}

bool ReadFileWith(const std::string& path,
                  const std::function<bool(uint64_t size, const ByteSource& source, std::string& reason)>& read,
                  std::string& error) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    error = LoadError(path, ErrnoText(errno));
    return false;
  }
  struct stat st {};
  if (fstat(fileno(f.get()), &st) != 0 || !S_ISREG(st.st_mode)) {
    error = LoadError(path, "it is not a regular file");
    return false;
  }
  if (uint64_t(st.st_size) > kMaxImageFileBytes) {
    error = LoadError(path, "the file is larger than 2 GB");
    return false;
  }
  const int fd = fileno(f.get());
  const ByteSource source = [fd](uint64_t offset, uint8_t* into, size_t n, std::string& reason) {
    while (n > 0) {
      const ssize_t got = pread(fd, into, n, off_t(offset));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) {
        reason = got < 0 ? ErrnoText(errno) : std::string("the file shrank while it was read");
        return false;
      }
      into += got;
      offset += uint64_t(got);
      n -= size_t(got);
    }
    return true;
  };
  std::string reason;
  if (read(uint64_t(st.st_size), source, reason)) return true;
  error = LoadError(path, reason);
  return false;
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  return ReadFileWith(
      path,
      [&](uint64_t size, const ByteSource& source, std::string& reason) {
        std::vector<uint8_t> data(static_cast<size_t>(size));
        if (!data.empty() && !source(0, data.data(), data.size(), reason)) return false;
        bytes = std::move(data);
        return true;
      },
      error);
}

bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size, std::string& error) {
  return WriteFileReplacingWith(
      path, [&](const ByteSink& sink, std::string&) { return size == 0 || sink(data, size); }, error);
}

bool WriteFileReplacingWith(const std::string& path,
                            const std::function<bool(const ByteSink& sink, std::string& reason)>& write,
                            std::string& error) {
  // A name of our own next to the target, so the rename stays on one file system.
  static std::atomic<unsigned> counter{0};
  std::string tmpPath;
  File f;
  int openErrno = 0;
  for (int attempt = 0; attempt < 100 && !f; ++attempt) {
    tmpPath = path + "." + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp~";
    f.reset(std::fopen(tmpPath.c_str(), "wbx"));
    openErrno = errno;
    if (!f && openErrno != EEXIST) break;
  }
  if (!f) {
    error = SaveError(path, ErrnoText(openErrno));
    return false;
  }
  // Keep the permissions of the file being replaced.
  struct stat old {};
  if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fileno(f.get()), old.st_mode & 07777);

  std::FILE* out = f.get();
  int writeErrno = 0;
  const ByteSink sink = [out, &writeErrno](const uint8_t* data, size_t n) {
    if (std::fwrite(data, 1, n, out) == n) return true;
    writeErrno = errno;
    return false;
  };
  std::string reason;
  bool ok = write(sink, reason);
  if (ok && std::fflush(out) != 0) {
    ok = false;
    writeErrno = errno;
  }
  std::FILE* raw = f.release();
  if (std::fclose(raw) != 0 && ok) {
    ok = false;
    writeErrno = errno;
  }
  if (!ok) {
    std::remove(tmpPath.c_str());
    // A failed write says why (a full disk, say) better than the encoder that met it.
    error = SaveError(path, writeErrno != 0 ? ErrnoText(writeErrno) : !reason.empty() ? reason : "it could not be written");
    return false;
  }
  if (std::rename(tmpPath.c_str(), path.c_str()) != 0) {
    const int e = errno;
    std::remove(tmpPath.c_str());
    error = SaveError(path, ErrnoText(e));
    return false;
  }
  return true;
}

}  // namespace vorq
