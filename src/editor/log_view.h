// What the log viewer and the log editor do with files, without windows.
#pragma once

#include <string>
#include <vector>

namespace vorq {

// The log's lines (CR LF or LF ended; a last line without an end counts).
bool ReadLogLines(const std::string& path, std::vector<std::string>& lines, std::string& error);
// Writes the lines, each ended by CR LF, replacing path only once all is written.
bool WriteLogLines(const std::string& path, const std::vector<std::string>& lines, std::string& error);

// The image name offered after the viewer saved the log as logPath with
// "Save Image with Log File Name": the first "txt" of the whole path (in
// any case) becomes "jpg", and the file-name part of the result is the
// name, so "logs/day1.txt" offers "day1.jpg" and "txtlogs/day1.txt" "day1.txt".
std::string ImageNameForLog(const std::string& logPath);

}  // namespace vorq
