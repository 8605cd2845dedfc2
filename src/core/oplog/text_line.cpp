#include "core/oplog/text_line.h"

#include "core/oplog/log_format.h"

namespace vorq {

namespace {

constexpr std::string_view kHead = "Text Tool, Font ";
constexpr std::string_view kTail = "\" , Location X ";
constexpr std::string_view kAlignLabel = ", Alignment ";

// Cuts text at the first occurrence of sep: returns what precedes it and
// leaves text after it; nullopt when sep is absent.
std::optional<std::string_view> CutAt(std::string_view& text, std::string_view sep) {
  const size_t p = text.find(sep);
  if (p == std::string_view::npos) return std::nullopt;
  const std::string_view before = text.substr(0, p);
  text.remove_prefix(p + sep.size());
  return before;
}

bool StrictInt(std::string_view s, int& out) {
  // ParseInt forgives blanks around the number; a log line has none.
  if (s.empty() || s.front() == ' ' || s.back() == ' ') return false;
  const auto v = ParseInt(s);
  if (!v) return false;
  out = *v;
  return true;
}

}  // namespace

const char* TextStyleName(TextStyle style) {
  switch (style) {
    case TextStyle::Normal: return "Normal";
    case TextStyle::Bold: return "Bold";
    case TextStyle::Italic: return "Italic";
    case TextStyle::BoldItalic: return "Bold Italic";
  }
  return "Normal";
}

const char* TextAlignName(TextAlign align) {
  switch (align) {
    case TextAlign::Left: return "Left";
    case TextAlign::Center: return "Center";
    case TextAlign::Right: return "Right";
  }
  return "Left";
}

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

std::string FormatTextToolLine(const TextToolLine& l) {
  std::string s = std::string(kHead) + l.Font + ", Size " + FormatInt(l.Size) + ", Color " + FormatColour(l.Color) +
                  ", Style " + TextStyleName(l.Style) + " \"" + EncodeLogText(l.Text) + std::string(kTail) +
                  FormatInt(l.X) + " Y " + FormatInt(l.Y);
  if (l.Align != TextAlign::Left) s += std::string(kAlignLabel) + TextAlignName(l.Align);
  return s;
}

std::optional<TextToolLine> ParseTextToolLine(std::string_view rest) {
  if (rest.substr(0, kHead.size()) != kHead) return std::nullopt;
  rest.remove_prefix(kHead.size());
  TextToolLine l;

  const auto font = CutAt(rest, ", Size ");
  const auto size = font ? CutAt(rest, ", Color ") : std::nullopt;
  const auto colour = size ? CutAt(rest, ", Style ") : std::nullopt;
  if (!colour || !StrictInt(*size, l.Size)) return std::nullopt;
  const auto c = ParseColour(*colour);
  if (!c || colour->front() == ' ') return std::nullopt;
  l.Font = std::string(*font);
  l.Color = *c;

  // The style, a blank and the opening quotation mark.
  bool styled = false;
  for (TextStyle st : {TextStyle::BoldItalic, TextStyle::Normal, TextStyle::Bold, TextStyle::Italic}) {
    const std::string opening = std::string(TextStyleName(st)) + " \"";
    if (rest.substr(0, opening.size()) == opening) {
      l.Style = st;
      rest.remove_prefix(opening.size());
      styled = true;
      break;
    }
  }
  if (!styled) return std::nullopt;

  // The text may hold quotation marks and commas of its own; what follows
  // it has none of the closing form, so the last one ends it.
  const size_t close = rest.rfind(kTail);
  if (close == std::string_view::npos) return std::nullopt;
  l.Text = DecodeLogText(rest.substr(0, close));
  rest.remove_prefix(close + kTail.size());

  if (const size_t a = rest.find(kAlignLabel); a != std::string_view::npos) {
    const std::string_view name = rest.substr(a + kAlignLabel.size());
    bool known = false;
    for (TextAlign al : {TextAlign::Left, TextAlign::Center, TextAlign::Right})
      if (name == TextAlignName(al)) {
        l.Align = al;
        known = true;
      }
    if (!known) return std::nullopt;
    rest = rest.substr(0, a);
  }
  const auto x = CutAt(rest, " Y ");
  if (!x || !StrictInt(*x, l.X) || !StrictInt(rest, l.Y)) return std::nullopt;
  return l;
}

}  // namespace vorq
