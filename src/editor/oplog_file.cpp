#include "editor/oplog_file.h"

#include <cerrno>
#include <cstring>

namespace vorq {

bool OpLogFile::Open(const std::string& path, bool append) {
  Close();
  path_ = path;
  file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
  if (!file_) {
    error_ = "Cannot open the log file \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool OpLogFile::WriteLine(const std::string& line) {
  if (!file_) return false;
  const bool ok = std::fputs(line.c_str(), file_) >= 0 && std::fputs("\r\n", file_) >= 0 && std::fflush(file_) == 0;
  if (!ok) {
    error_ = "Cannot write to the log file \"" + path_ + "\": " + std::strerror(errno) + ". Logging is now off.";
    std::fclose(file_);
    file_ = nullptr;
  }
  return ok;
}

void OpLogFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace vorq
