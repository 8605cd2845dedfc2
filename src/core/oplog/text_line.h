// The text tool's log line and its parser.
//
//   Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold "Hello" , Location X 10 Y 20
//
// The text stands raw between the quotation marks, except that a line break
// is written as the two characters \n and a backslash as \\, so a text of
// several lines stays on one log line. A text that is not left-aligned ends
// the line with ", Alignment Center" or ", Alignment Right"; a left-aligned
// text without backslashes or line breaks gives exactly the line above.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorq {

// The Add Text dialog's "Text Alignment" choices, in their order.
enum class TextAlign { Left = 0, Center = 1, Right = 2 };

// Style index 0 .. 3 of the dialog: none, bold, italic, bold and italic.
enum class TextStyle { Normal = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

// Sizes in points the text tool draws; others are refused.
constexpr int kMinTextSize = 1;
constexpr int kMaxTextSize = 1000;

struct TextToolLine {
  std::string Font;  // family name as chosen or typed
  int Size = 8;      // points
  uint32_t Color = 0;  // 0x00BBGGRR
  TextStyle Style = TextStyle::Normal;
  std::string Text;  // lines separated by '\n'
  int X = 0, Y = 0;  // top-left of the text box in image pixels
  TextAlign Align = TextAlign::Left;
};

std::string FormatTextToolLine(const TextToolLine& line);
// nullopt when the line is not a well-formed text line.
std::optional<TextToolLine> ParseTextToolLine(std::string_view line);
// The values of a parsed TextTool or TextToolAligned line; nullopt for a size out of range.
std::optional<TextToolLine> TextToolFromArgs(const std::vector<struct LineArg>& args);

// The quoted part of the line: line breaks (CR LF, CR or LF) as \n, backslashes doubled.
std::string EncodeLogText(std::string_view text);
// The inverse; a backslash before anything but n or a backslash stays as it is.
std::string DecodeLogText(std::string_view text);

}  // namespace vorq
