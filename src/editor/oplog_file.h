// The open log file: one line per command, CR LF, flushed after every line
// so that a crash loses nothing already done.
#pragma once

#include <cstdio>
#include <string>

namespace vorq {

class OpLogFile {
 public:
  OpLogFile() = default;
  ~OpLogFile() { Close(); }
  OpLogFile(const OpLogFile&) = delete;
  OpLogFile& operator=(const OpLogFile&) = delete;

  bool Logging() const { return file_ != nullptr; }
  const std::string& Path() const { return path_; }
  // Opens path, truncating it or appending to it; false with Error() set on failure.
  bool Open(const std::string& path, bool append);
  bool WriteLine(const std::string& line);
  void Close();
  const std::string& Error() const { return error_; }

 private:
  std::FILE* file_ = nullptr;
  std::string path_, error_;
};

}  // namespace vorq
