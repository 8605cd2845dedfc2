#include "editor/oplog_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorq {

bool OpLogFile::Open(const std::string& path, bool append) {
  Close();
  path_ = path;
  // O_NONBLOCK: a FIFO without a reader is refused instead of waited on.
  fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (append ? O_APPEND : O_TRUNC), 0666);
  if (fd_ < 0) {
    error_ = "Cannot open the log file \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  size_ = 0;
  breakFirst_ = false;
  struct stat st {};
  if (append && fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    size_ = st.st_size;
    char last = '\n';
    if (const int r = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); r >= 0) {
      breakFirst_ = pread(r, &last, 1, st.st_size - 1) == 1 && last != '\n';
      close(r);
    }
  }
  return true;
}

bool OpLogFile::WriteLine(const std::string& line) {
  if (fd_ < 0) return false;
  const std::string text = (breakFirst_ ? "\r\n" : "") + line + "\r\n";
  size_t done = 0;
  int err = 0;
  while (done < text.size() && err == 0) {
    const ssize_t n = write(fd_, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) err = n < 0 ? errno : EIO;
    else done += size_t(n);
  }
  if (err == 0) {
    size_ += int64_t(text.size());
    breakFirst_ = false;
    return true;
  }
  // A part of the line may have gone out: the file ends with whole lines again.
  if (done > 0) (void)ftruncate(fd_, off_t(size_));
  error_ = "Cannot write to the log file \"" + path_ + "\": " + std::strerror(err) + ". Logging is now off.";
  close(fd_);
  fd_ = -1;
  return false;
}

bool OpLogFile::Close() {
  if (fd_ < 0) return true;
  const bool ok = close(fd_) == 0;
  if (!ok) error_ = "Cannot close the log file \"" + path_ + "\": " + std::strerror(errno) + ".";
  fd_ = -1;
  return ok;
}

}  // namespace vorq
