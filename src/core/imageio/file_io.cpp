#include "core/imageio/file_io.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <sstream>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace vorq {
namespace {

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

namespace {

// Opens a regular file of at most maxBytes without waiting on FIFOs; -1 with reason otherwise.
int OpenRegularFile(const std::string& path, uint64_t maxBytes, uint64_t& size, std::string& reason) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    reason = ErrnoText(errno);
    return -1;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    reason = ErrnoText(errno);
  } else if (!S_ISREG(st.st_mode)) {
    reason = S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file (a device, pipe or socket)";
  } else if (uint64_t(st.st_size) > maxBytes) {
    reason = "the file is larger than " + std::to_string(maxBytes >> 20) + " MiB";
  } else {
    size = uint64_t(st.st_size);
    return fd;
  }
  close(fd);
  return -1;
}

struct FdCloser {
  int fd;
  ~FdCloser() { close(fd); }
};

// Moves the pieces' bytes with step (preadv or writev on the file: the
// bytes done, or -1 with errno) until all are done, IOV_MAX pieces a call;
// the errno, or EIO for a file that ends early, when it fails.
template <class Step>
int MovePieces(const iovec* pieces, size_t count, Step step) {
  std::vector<iovec> rest(pieces, pieces + count);
  size_t first = 0;
  for (;;) {
    while (first < rest.size() && rest[first].iov_len == 0) ++first;
    if (first == rest.size()) return 0;
    const ssize_t done = step(rest.data() + first, int(std::min<size_t>(rest.size() - first, IOV_MAX)));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return done < 0 ? errno : EIO;
    for (size_t left = size_t(done); left > 0; ++first) {
      iovec& v = rest[first];
      const size_t take = std::min(left, v.iov_len);
      v.iov_base = static_cast<uint8_t*>(v.iov_base) + take;
      v.iov_len -= take;
      left -= take;
      if (v.iov_len > 0) break;
    }
  }
}

ByteSource FdSource(int fd) {
  ByteSource source = [fd](uint64_t offset, uint8_t* into, size_t n, std::string& reason) {
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
  source.Fd = fd;
  return source;
}

}  // namespace

bool ByteSource::Scatter(uint64_t offset, const iovec* pieces, size_t count, std::string& reason) const {
  if (Fd < 0) {
    for (size_t i = 0; i < count; offset += pieces[i].iov_len, ++i)
      if (!(*this)(offset, static_cast<uint8_t*>(pieces[i].iov_base), pieces[i].iov_len, reason)) return false;
    return true;
  }
  const int e = MovePieces(pieces, count, [&](const iovec* v, int n) {
    const ssize_t got = preadv(Fd, v, n, off_t(offset));
    if (got > 0) offset += uint64_t(got);
    return got;
  });
  if (e != 0) reason = e == EIO ? "the file shrank while it was read" : ErrnoText(e);
  return e == 0;
}

bool ByteSink::Gather(const iovec* pieces, size_t count) const {
  if (Pieces) return Pieces(pieces, count);
  for (size_t i = 0; i < count; ++i)
    if (!(*this)(static_cast<const uint8_t*>(pieces[i].iov_base), pieces[i].iov_len)) return false;
  return true;
}

ByteSource MemorySource(const uint8_t* data, size_t size) {
  return [data, size](uint64_t offset, uint8_t* into, size_t n, std::string& reason) {
    if (offset > size || n > size - offset) {
      reason = "the file ends early";
      return false;
    }
    std::memcpy(into, data + offset, n);
    return true;
  };
}

bool ReadFileWith(const std::string& path,
                  const std::function<bool(uint64_t size, const ByteSource& source, std::string& reason)>& read,
                  std::string& error) {
  uint64_t size = 0;
  std::string reason;
  const int fd = OpenRegularFile(path, kMaxImageFileBytes, size, reason);
  if (fd >= 0) {
    const FdCloser closer{fd};
    try {
      if (read(size, FdSource(fd), reason)) return true;
    } catch (const std::bad_alloc&) {
      reason = "there is not enough memory to read it";
    }
  }
  error = LoadError(path, reason);
  return false;
}

bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& reason) {
  uint64_t size = 0;
  const int fd = OpenRegularFile(path, maxBytes, size, reason);
  if (fd < 0) return false;
  const FdCloser closer{fd};
  std::vector<uint8_t> data;
  try {
    data.resize(size_t(size));
  } catch (const std::bad_alloc&) {
    reason = "there is not enough memory to read it";
    return false;
  }
  if (!data.empty() && !FdSource(fd)(0, data.data(), data.size(), reason)) return false;
  bytes = std::move(data);
  return true;
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  std::string reason;
  if (ReadRegularFile(path, kMaxImageFileBytes, bytes, reason)) return true;
  error = LoadError(path, reason);
  return false;
}

namespace {

// "NAME." and ".tmp~" around "PID-N" in the target's folder.
struct TempName {
  std::string Dir, Prefix;
  explicit TempName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    Dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    Prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".";
  }
  // The process id of a temporary file's name, or 0 when it is not one.
  long Owner(const std::string& name) const {
    static const std::string kSuffix = ".tmp~";
    if (name.size() <= Prefix.size() + kSuffix.size() || name.compare(0, Prefix.size(), Prefix) != 0 ||
        name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
      return 0;
    const std::string middle = name.substr(Prefix.size(), name.size() - Prefix.size() - kSuffix.size());
    const size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 10 || dash + 1 == middle.size()) return 0;
    for (size_t i = 0; i < middle.size(); ++i)
      if (i != dash && (middle[i] < '0' || middle[i] > '9')) return 0;
    return std::stol(middle.substr(0, dash));
  }
};

// Whether the file system puts a file's data on the disk before a rename
// over an existing file takes effect, so that a crash leaves the old file or
// the whole new one without an fsync of our own. ext4 does so (its
// auto_da_alloc, on unless mounted "noauto_da_alloc") in its ordered and
// journalled data modes; for any other file system we flush ourselves.
bool RenameOrdersData(int fd) {
  constexpr long kExt4Magic = 0xEF53;
  struct statfs fs {};
  struct stat st {};
  if (fstatfs(fd, &fs) != 0 || long(fs.f_type) != kExt4Magic || fstat(fd, &st) != 0) return false;
  static std::mutex lock;
  static std::map<dev_t, bool> known;
  const std::lock_guard<std::mutex> hold(lock);
  if (const auto it = known.find(st.st_dev); it != known.end()) return it->second;
  // The last mount of the device wins; its super options follow " - TYPE SOURCE".
  const std::string device = std::to_string(major(st.st_dev)) + ":" + std::to_string(minor(st.st_dev));
  std::ifstream mounts("/proc/self/mountinfo");
  std::string line, options;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string id, parent, numbers, type, source, super;
    fields >> id >> parent >> numbers;
    const size_t dash = line.find(" - ");
    if (numbers != device || dash == std::string::npos) continue;
    std::istringstream(line.substr(dash + 3)) >> type >> source >> super;
    if (type == "ext4") options = "," + super + ",";
  }
  const bool orders = !options.empty() && options.find(",noauto_da_alloc,") == std::string::npos &&
                      options.find(",data=writeback,") == std::string::npos;
  known[st.st_dev] = orders;
  return orders;
}

}  // namespace

std::vector<std::string> StaleTemporaryFiles(const std::string& path) {
  const TempName t(path);
  std::vector<std::string> stale;
  DIR* dir = opendir(t.Dir.c_str());
  if (dir == nullptr) return stale;
  while (const dirent* e = readdir(dir)) {
    const long pid = t.Owner(e->d_name);
    // Our own process id on an old file: a killed process had it before us.
    if (pid > 0 && (pid == long(getpid()) || (kill(pid_t(pid), 0) != 0 && errno == ESRCH)))
      stale.push_back(t.Dir + "/" + e->d_name);
  }
  closedir(dir);
  return stale;
}

bool WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size, std::string& error) {
  return WriteFileReplacingWith(
      path, [&](const ByteSink& sink, std::string&) { return size == 0 || sink(data, size); }, error);
}

bool WriteFileReplacingWith(const std::string& path,
                            const std::function<bool(const ByteSink& sink, std::string& reason)>& write,
                            std::string& error) {
  // Leftovers of saves that were killed, before ours joins them.
  for (const std::string& old : StaleTemporaryFiles(path)) unlink(old.c_str());
  // A name of our own next to the target, so the rename stays on one file system.
  static std::atomic<unsigned> counter{0};
  std::string tmpPath;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmpPath = path + "." + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp~";
    fd = open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = SaveError(path, ErrnoText(errno));
    return false;
  }
  // Keep the permissions of the file being replaced.
  struct stat old {};
  const bool replacing = stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  if (replacing) fchmod(fd, old.st_mode & 07777);

  int writeErrno = 0;
  // Each 8 MiB written is sent on to the disk at once, without waiting:
  // otherwise the rename over an old file (ext4) or the fsync starts all of
  // it, and a 48 MiB file's rename took 10 ms longer.
  off_t written = 0, started = 0;
  auto wrote = [fd, &written, &started](size_t n) {
    written += off_t(n);
    if (written - started < (off_t(8) << 20)) return;
    sync_file_range(fd, started, written - started, SYNC_FILE_RANGE_WRITE);
    started = written;
  };
  ByteSink sink = [fd, &writeErrno, &wrote](const uint8_t* data, size_t size) {
    for (size_t done = 0; done < size && writeErrno == 0;) {
      const ssize_t n = ::write(fd, data + done, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) writeErrno = n < 0 ? errno : EIO;
      else done += size_t(n);
    }
    if (writeErrno == 0) wrote(size);
    return writeErrno == 0;
  };
  sink.Pieces = [fd, &writeErrno, &wrote](const iovec* pieces, size_t count) {
    if (writeErrno == 0) writeErrno = MovePieces(pieces, count, [fd](const iovec* v, int n) { return writev(fd, v, n); });
    if (writeErrno == 0) {
      size_t bytes = 0;
      for (size_t k = 0; k < count; ++k) bytes += pieces[k].iov_len;
      wrote(bytes);
    }
    return writeErrno == 0;
  };
  std::string reason;
  bool ok = false;
  try {
    ok = write(sink, reason);
  } catch (const std::bad_alloc&) {
    reason = "there is not enough memory to write it";
  }
  // On the disk before the rename, so a crash leaves the old file or the
  // whole new one. Where the file system sees to that itself, the save is
  // left to reach the disk with its next commit (ext4: within 5 s): an fsync
  // here or of the folder would wait for all 48 MiB of a 4096 x 4096 BMP.
  const bool ordered = replacing && RenameOrdersData(fd);
  if (ok && writeErrno == 0 && !ordered && fsync(fd) != 0) writeErrno = errno;
  if (close(fd) != 0 && writeErrno == 0) writeErrno = errno;
  if (!ok || writeErrno != 0) {
    unlink(tmpPath.c_str());
    // A failed write says why (a full disk, say) better than the encoder that met it.
    error = SaveError(path, writeErrno != 0 ? ErrnoText(writeErrno) : !reason.empty() ? reason : "it could not be written");
    return false;
  }
  if (std::rename(tmpPath.c_str(), path.c_str()) != 0) {
    const int e = errno;
    unlink(tmpPath.c_str());
    error = SaveError(path, ErrnoText(e));
    return false;
  }
  // The rename itself reaches the disk with the folder.
  const TempName t(path);
  if (ordered) return true;
  if (const int dfd = open(t.Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
  return true;
}

}  // namespace vorq
