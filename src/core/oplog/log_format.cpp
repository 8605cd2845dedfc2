#include "core/oplog/log_format.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vorq {

std::string FormatInt(int64_t v) { return std::to_string(v); }

// to_chars never follows the C locale, so a German desktop still gets "0.75".
std::string FormatReal(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  std::string s(buf, r.ptr);
  // Exponents read "1E-5", not "1e-05".
  const size_t e = s.find('e');
  if (e != std::string::npos) {
    int exp = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exp);
    s = s.substr(0, e) + "E" + (exp < 0 ? "-" : "+") + std::to_string(exp < 0 ? -exp : exp);
  }
  return s;
}

std::string FormatFixed2(double v) {
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
  return std::string(buf, r.ptr);
}

std::string FormatColour(uint32_t c) {
  return "R: " + std::to_string(c & 0xFF) + " G: " + std::to_string((c >> 8) & 0xFF) + " B: " +
         std::to_string((c >> 16) & 0xFF);
}

std::string FormatFlag(bool v) { return v ? "True" : "False"; }

std::string NotAnInteger(std::string_view text) { return "'" + std::string(text) + "' is not a valid integer value"; }
std::string NotAReal(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid floating point value";
}

namespace {
std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}
}  // namespace

std::optional<int32_t> ParseInt(std::string_view text) {
  std::string s(Trim(text));
  if (s.empty()) return std::nullopt;
  size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (i == s.size()) return std::nullopt;
  for (size_t j = i; j < s.size(); ++j)
    if (s[j] < '0' || s[j] > '9') return std::nullopt;
  errno = 0;
  const long long v = std::strtoll(s.c_str(), nullptr, 10);
  if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

std::optional<double> ParseReal(std::string_view text, bool commaOk) {
  std::string s(Trim(text));
  if (s.empty()) return std::nullopt;
  // Only plain decimal notation with an optional exponent: no hex, inf or nan.
  for (char& c : s) {
    if (c == ',' && commaOk) c = '.';
    if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) return std::nullopt;
  }
  const char* first = s.data();
  if (*first == '+') ++first;
  if (*first == '+' || (*first == '-' && s.data() != first)) return std::nullopt;
  double v = 0;
  auto r = std::from_chars(first, s.data() + s.size(), v);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<uint32_t> ParseColour(std::string_view text) {
  int r, g, b, n = 0;
  const std::string s(Trim(text));
  if (std::sscanf(s.c_str(), "R: %d G: %d B: %d%n", &r, &g, &b, &n) != 3 || size_t(n) != s.size()) return std::nullopt;
  if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) return std::nullopt;
  return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

std::optional<bool> ParseFlag(std::string_view text) {
  const std::string_view s = Trim(text);
  if (s == "True") return true;
  if (s == "False") return false;
  return std::nullopt;
}

std::vector<std::string> SplitLogLine(std::string_view line) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t p = line.find(", ", start);
    if (p == std::string_view::npos) {
      parts.emplace_back(line.substr(start));
      return parts;
    }
    parts.emplace_back(line.substr(start, p - start));
    start = p + 2;
  }
}

}  // namespace vorq
