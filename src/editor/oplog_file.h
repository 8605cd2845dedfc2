// The open log file: one line per command, CR LF, handed to the system
// after every line so that a crash loses nothing already done. Each line
// goes out in one write; when a write fails (a full disk) the file is cut
// back to its last whole line.
#pragma once

#include <cstdint>
#include <string>

namespace vorq {

class OpLogFile {
 public:
  OpLogFile() = default;
  ~OpLogFile() { Close(); }
  OpLogFile(const OpLogFile&) = delete;
  OpLogFile& operator=(const OpLogFile&) = delete;

  bool Logging() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  // Opens path, truncating it or appending to it; false with Error() set on
  // failure. Appending after a last line without its line end (a writer
  // that was killed) starts on a new line.
  bool Open(const std::string& path, bool append);
  // False with Error() set, and logging off, when the line could not be written.
  bool WriteLine(const std::string& line);
  // False with Error() set when the system reports a failure on closing.
  bool Close();
  const std::string& Error() const { return error_; }

 private:
  int fd_ = -1;
  int64_t size_ = 0;        // bytes of whole lines in the file
  bool breakFirst_ = false;  // the file ends inside a line
  std::string path_, error_;
};

}  // namespace vorq
