#include "core/oplog/text_line.h"

#include "core/oplog/line_shapes.h"
#include "core/oplog/log_format.h"

namespace vorq {

std::string EncodeLogText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string DecodeLogText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
      out += text[i + 1] == 'n' ? '\n' : '\\';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The line's shape (with or without the alignment) is in line_shapes.cpp.
std::string FormatTextToolLine(const TextToolLine& l) {
  std::vector<LineArg> args = {Text(l.Font), Int(l.Size),         Int(l.Color), Int(int(l.Style)),
                               Text(EncodeLogText(l.Text)), Int(l.X), Int(l.Y)};
  if (l.Align == TextAlign::Left) return WriteLine(LineKind::TextTool, args);
  args.push_back(Int(int(l.Align)));
  return WriteLine(LineKind::TextToolAligned, args);
}

std::optional<TextToolLine> TextToolFromArgs(const std::vector<LineArg>& a) {
  if (a.size() < 7 || a[1].Int < kMinTextSize || a[1].Int > kMaxTextSize) return std::nullopt;
  TextToolLine l;
  l.Font = a[0].Text;
  l.Size = int(a[1].Int);
  l.Color = uint32_t(a[2].Int);
  l.Style = TextStyle(a[3].Int);
  l.Text = DecodeLogText(a[4].Text);
  l.X = int(a[5].Int);
  l.Y = int(a[6].Int);
  if (a.size() > 7) l.Align = TextAlign(a[7].Int);
  return l;
}

std::optional<TextToolLine> ParseTextToolLine(std::string_view line) {
  const ParsedCommand c = ParseCommandLine(line);
  if (!c.Matched || (c.Kind != LineKind::TextTool && c.Kind != LineKind::TextToolAligned)) return std::nullopt;
  return TextToolFromArgs(c.Args);
}

}  // namespace vorq
