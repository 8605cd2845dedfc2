#include "core/oplog/effect_lines.h"

#include "core/oplog/log_format.h"
#include "core/util/arith.h"

namespace vorq {

std::string FormatValue(Format f, const LineArg& v) {
  switch (f) {
    case Format::Integer: return FormatInt(int64_t(v.Real));
    case Format::Real: return FormatReal(v.Real);
    case Format::Fixed2: return FormatFixed2(v.Real);
    case Format::RoundedInt: return FormatInt(NearestSaturated(v.Real));
    case Format::Flag: return FormatFlag(v.Real != 0);
    case Format::Colour: return FormatColour(uint32_t(int64_t(v.Real)));
    case Format::Text: return v.Text;
  }
  return {};
}

bool ParseValue(Format f, std::string_view text, LineArg& out, std::string& error, bool commaOk) {
  switch (f) {
    case Format::Integer:
    case Format::RoundedInt: {
      auto x = ParseInt(text);
      if (!x) return error = NotAnInteger(text), false;
      out = Int(*x);
      return true;
    }
    case Format::Real:
    case Format::Fixed2: {
      auto x = ParseReal(text, commaOk);
      if (!x || std::fabs(*x) > kRealWritten) return error = NotAReal(text), false;
      out = Real(ClampReal(*x));
      return true;
    }
    case Format::Flag: {
      auto x = ParseFlag(text);
      if (!x) return error = "'" + std::string(text) + "' is not True or False", false;
      out = Int(*x);
      return true;
    }
    case Format::Colour: {
      auto x = ParseColour(text);
      if (!x) return error = "'" + std::string(text) + "' is not a colour \"R: r G: g B: b\"", false;
      out = Int(*x);
      return true;
    }
    case Format::Text: out = Text(std::string(text)); return true;
  }
  return false;
}

std::string_view ChoiceText(std::string_view choices, int n) {
  for (; n > 0 && !choices.empty(); --n) {
    const size_t bar = choices.find('|');
    choices = bar == std::string_view::npos ? std::string_view{} : choices.substr(bar + 1);
  }
  return n < 0 ? std::string_view{} : choices.substr(0, choices.find('|'));
}

int ChoiceIndex(std::string_view choices, std::string_view text) {
  for (int n = 0;; ++n) {
    const std::string_view c = ChoiceText(choices, n);
    if (c.empty()) return -1;
    if (c == text) return n;
  }
}

std::string FormatParam(const Param& p, const LineArg& v) {
  if (!p.Choices) return FormatValue(p.format, v);
  return std::string(ChoiceText(p.Choices, v.Real >= 0 && v.Real < 256 ? int(v.Real) : -1));
}

bool IsEdgeMergeName(std::string_view name) {
  return name == "EdgeMerge16" || name == "EdgeMerge8" || name == "EdgeMerge4";
}

std::string WriteEffectLine(int id, std::string_view name, bool peaksChecked,
                            const std::function<LineArg(const ValueRef&, Format)>& read) {
  std::string line(name);
  if (!ValidEffect(id)) return line;
  const EffectInfo& e = Effect(id);
  for (int i = 0; i < e.ParamCount; ++i) {
    const Param& p = e.Params[size_t(i)];
    if (!p.Logged()) continue;
    const bool alt = p.AltLabel && !peaksChecked;
    const char* label = alt ? p.AltLogLabel : p.LogLabel;
    if (p.Choices) {
      const std::string text = FormatParam(p, read(p.Ref, p.format));
      if (!text.empty() && text != ChoiceText(p.Choices, 0)) line += ", " + std::string(label) + " " + text;
      continue;
    }
    line += ", ";
    if (*label) line += std::string(label) + " ";
    line += FormatValue(p.format, read(alt ? p.AltRef : p.Ref, p.format));
  }
  return line;
}

ParsedEffect ParseEffectLine(std::string_view line, int currentEffect) {
  ParsedEffect out;
  const std::vector<std::string> parts = SplitLogLine(line);
  out.Name = parts[0];
  out.EffectId = FindEffectByAnyName(parts[0]);
  if (out.EffectId < 0 && IsEdgeMergeName(parts[0])) {
    if (!ValidEffect(currentEffect)) {
      out.Error = "\"" + parts[0] + "\" applies the current effect, and none was chosen before it";
      return out;
    }
    out.EffectId = currentEffect;
  }
  if (out.EffectId < 0) {
    out.Error = "unknown command \"" + parts[0] + "\"";
    return out;
  }
  const EffectInfo& e = Effect(out.EffectId);
  for (size_t k = 1; k < parts.size(); ++k) {
    const std::string& pair = parts[k];
    bool matched = false;
    // Labelled values first; a value without a label (Map Texture's source) takes what is left.
    for (int pass = 0; pass < 2 && !matched; ++pass) {
      for (int i = 0; i < e.ParamCount && !matched; ++i) {
        const Param& p = e.Params[size_t(i)];
        if (!p.Logged()) continue;
        for (int alt = 0; alt < 2 && !matched; ++alt) {
          const char* label = alt ? p.AltLogLabel : p.LogLabel;
          if (!label || (*label == 0) != (pass == 1)) continue;
          std::string_view value = pair;
          if (*label) {
            const std::string prefix = std::string(label) + " ";
            if (pair.compare(0, prefix.size(), prefix) != 0) continue;
            value.remove_prefix(prefix.size());
          }
          LineArg v;
          if (p.Choices) {
            const int n = ChoiceIndex(p.Choices, value);
            if (n < 0) {
              std::string list;
              for (int c = 0; !ChoiceText(p.Choices, c).empty(); ++c)
                list += (c ? ", " : "") + std::string(ChoiceText(p.Choices, c));
              out.Error = "'" + std::string(value) + "' is not one of " + list;
              return out;
            }
            v = Int(n);
          } else if (!ParseValue(p.format, value, v, out.Error)) {
            return out;
          }
          out.Values.push_back({i, alt == 1, std::move(v)});
          matched = true;
        }
      }
    }
    if (!matched) {
      out.Error = "\"" + parts[0] + "\" has no value \"" + pair + "\"";
      return out;
    }
  }
  // A line without its choice means the first: older lines replay as they ran.
  for (int i = 0; i < e.ParamCount; ++i) {
    if (!e.Params[size_t(i)].Choices) continue;
    bool given = false;
    for (const EffectValue& v : out.Values) given = given || v.Param == i;
    if (!given) out.Values.push_back({i, false, Int(0)});
  }
  return out;
}

}  // namespace vorq
