// Effect lines: the effect's recorded name and its logged params, as the
// catalogue declares them ("Marble, Graininess 700, Scale 2, Turbulence 120").
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/effects/catalogue.h"
#include "core/oplog/line_shapes.h"

namespace vorq {

// A value's text in a box or a line, and back. Numbers never follow the locale.
std::string FormatValue(Format f, const LineArg& v);
// False with the conversion message in error; commaOk takes "0,75" too (typed text).
bool ParseValue(Format f, std::string_view text, LineArg& out, std::string& error, bool commaOk = false);

// The n-th text of a choice list "A|B|C" ("" when there is none), and the
// index of a text in it (-1 when it is not one of them).
std::string_view ChoiceText(std::string_view choices, int n);
int ChoiceIndex(std::string_view choices, std::string_view text);
// A param's value as text: a choice by its name, otherwise FormatValue.
std::string FormatParam(const Param& p, const LineArg& v);

// Names Edge Merge leaves as the effect name ("EdgeMerge16", "EdgeMerge8",
// "EdgeMerge4"); a later Apply writes them before the current effect's values.
bool IsEdgeMergeName(std::string_view name);

// The line of effect id under name; read gives each logged param's value
// (Real for numbers, Text for Format::Text). peaksChecked picks the
// "Use Peaks" alternative.
std::string WriteEffectLine(int id, std::string_view name, bool peaksChecked,
                            const std::function<LineArg(const ValueRef&, Format)>& read);

struct EffectValue {
  int Param;  // index into the effect's Params
  bool Alt;   // the "Use Peaks" alternative (unchecked)
  LineArg Value;
};

struct ParsedEffect {
  int EffectId = -1;
  std::string Name;
  // In the line's order; values it lacks are absent, except a choice
  // (Param::Choices), which then comes last with its first choice.
  std::vector<EffectValue> Values;
  std::string Error;                // set when the name is unknown or a value malformed
};
// currentEffect stands for an Edge Merge name.
ParsedEffect ParseEffectLine(std::string_view line, int currentEffect);

}  // namespace vorq
