#include "editor/log_view.h"

#include <cstdint>

#include "core/imageio/file_io.h"

namespace vorq {

bool ReadLogLines(const std::string& path, std::vector<std::string>& lines, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  lines.clear();
  std::string line;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = char(bytes[i]);
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return true;
}

bool WriteLogLines(const std::string& path, const std::vector<std::string>& lines, std::string& error) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return WriteFileReplacing(path, reinterpret_cast<const uint8_t*>(text.data()), text.size(), error);
}

std::string ImageNameForLog(const std::string& logPath) {
  std::string path = logPath;
  for (size_t i = 0; i + 3 <= path.size(); ++i) {
    auto lower = [&](size_t k) { return char(path[k] | 0x20); };
    if (lower(i) == 't' && lower(i + 1) == 'x' && lower(i + 2) == 't') {
      path.replace(i, 3, "jpg");
      break;
    }
  }
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace vorq
