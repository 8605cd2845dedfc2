// Value texts as the program writes them in tool box boxes, log lines and
// the settings file, and their conversions back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorq {

std::string FormatInt(int64_t v);
// Shortest general form with at most 15 significant digits ("3", "0.75", "17.5").
std::string FormatReal(double v);
// "%1.2f": 0.75 -> "0.75", 1 -> "1.00".
std::string FormatFixed2(double v);
// "R: r G: g B: b" of a 0x00BBGGRR colour.
std::string FormatColour(uint32_t colour);
std::string FormatFlag(bool v);

// The texts of the conversion errors that stop a command.
std::string NotAnInteger(std::string_view text);  // "'%s' is not a valid integer value"
std::string NotAReal(std::string_view text);      // "'%s' is not a valid floating point value"

// Whole-text conversions: leading and trailing blanks allowed, nothing else.
std::optional<int32_t> ParseInt(std::string_view text);
// Never follows the locale: "." is the decimal point; commaOk also takes ","
// (what a person may type in a box on a desktop that writes "0,75").
std::optional<double> ParseReal(std::string_view text, bool commaOk = false);
std::optional<uint32_t> ParseColour(std::string_view text);  // "R: r G: g B: b"
std::optional<bool> ParseFlag(std::string_view text);        // "True" / "False"

// A log line cut at each ", ": the name first, then "Label value" pairs.
std::vector<std::string> SplitLogLine(std::string_view line);

}  // namespace vorq
