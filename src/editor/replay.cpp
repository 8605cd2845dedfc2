#include "editor/replay.h"

#include <sstream>
#include <vector>

#include "core/oplog/log_format.h"
#include "editor/colour_commands.h"
#include "editor/family_commands.h"
#include "editor/painting.h"

namespace vorq {
namespace {

ReplayOutcome Error(std::string m) { return {ReplayStatus::Error, std::move(m)}; }

// "Design Your Own Filter, Settings: k0 .. k8 , Divisor d"
ReplayOutcome ReplayDesignYourOwn(Editor& ed, const std::vector<std::string>& parts) {
  const std::string settings = "Settings: ";
  if (parts.size() != 3 || parts[1].compare(0, settings.size(), settings) != 0 ||
      parts[2].compare(0, 8, "Divisor ") != 0)
    return Error("expected \"Design Your Own Filter, Settings: k1 ... k9 , Divisor d\"");
  std::istringstream in(parts[1].substr(settings.size()));
  FilterBoxes boxes;
  for (auto& e : boxes.e)
    if (!(in >> e)) return Error("the filter needs nine kernel values");
  std::string extra;
  if (in >> extra) return Error("the filter has more than nine kernel values");
  boxes.eDiv = parts[2].substr(8);
  ed.Filter = boxes;
  ed.DesignYourOwn1Click();
  return {};
}

}  // namespace

ReplayOutcome StoreLineValues(Editor& ed, int id, const std::vector<std::string>& parts) {
  const EffectInfo& e = Effect(id);
  for (size_t p = 1; p < parts.size(); ++p) {
    const std::string& pair = parts[p];
    bool matched = false;
    for (int i = 0; i < e.LogCount && !matched; ++i) {
      const LogField& f = e.Log[size_t(i)];
      for (int alt = 0; alt < 2 && !matched; ++alt) {
        const char* label = alt ? f.AltLabel : f.Label;
        if (!label) continue;
        const ValueRef& ref = alt ? f.AltRef : f.Ref;
        std::string value;
        if (!*label) {
          value = pair;
        } else {
          const std::string prefix = std::string(label) + " ";
          if (pair.compare(0, prefix.size(), prefix) != 0) continue;
          value = pair.substr(prefix.size());
        }
        if (ref.kind == ValueRef::TextureSource) {
          if (value != "Use Current Texture" && value != "Use Buffer") continue;
          ed.TextureSource = value;
          matched = true;
          break;
        }
        double v;
        switch (f.format) {
          case Format::Integer:
          case Format::RoundedInt: {
            auto x = ParseInt(value);
            if (!x) return Error(NotAnInteger(value));
            v = *x;
            break;
          }
          case Format::Real:
          case Format::Fixed2: {
            auto x = ParseTypedReal(value);
            if (!x) return Error(NotAReal(value));
            v = *x;
            break;
          }
          case Format::Flag: {
            auto x = ParseFlag(value);
            if (!x) return Error("'" + value + "' is not True or False");
            v = *x;
            break;
          }
          case Format::Colour: {
            auto x = ParseColour(value);
            if (!x) return Error("'" + value + "' is not a colour \"R: r G: g B: b\"");
            v = *x;
            break;
          }
          default: v = 0;
        }
        if (f.AltLabel) ed.ToolBox.PeaksChecked = alt == 0;
        if (ref.kind == ValueRef::PenColor && ref.Index == 1) {
          // Trace: a coloured line means "Use Pen Color" with that pen.
          ed.Second[TrUseVal] = v != 0;
          if (v != 0) ed.ToolBox.PenColor = uint32_t(v);
        } else {
          ed.StoreValue(ref, v);
        }
        matched = true;
      }
    }
    if (!matched) return Error("\"" + parts[0] + "\" has no value \"" + pair + "\"");
  }
  return {};
}

ReplayOutcome ReplayLine(Editor& ed, const std::string& rawLine) {
  std::string line = rawLine;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (line.find_first_not_of(" \t") == std::string::npos) return {ReplayStatus::Skipped, ""};
  if (line.rfind("Log starts  - ", 0) == 0 || line == "<=Appending to Existing Log=>")
    return {ReplayStatus::Skipped, ""};
  if (line == "UnDo") {
    ed.bUndoClick();
    return {};
  }
  if (line == "Copy Image to Buffer") {
    ed.CopyImagetoBuffer1Click();
    return {};
  }
  if (line == "Paste Buffer to Image") {
    if (!ed.BufferFilled) return Error("the buffer holds no image yet");
    ed.PasteBuffertoImage1Click();
    return {};
  }
  if (line.rfind("Load Buffer from File ", 0) == 0) {
    const std::string path = line.substr(22);
    if (!ed.LoadBufferFromFile(path)) return Error("cannot load \"" + path + "\" into the buffer");
    return {};
  }
  if (line.rfind("Open File ", 0) == 0) {
    if (!ed.OpenImage(line.substr(10))) return Error("cannot open \"" + line.substr(10) + "\"");
    return {};
  }

  std::string error;
  if (ReplayGeometryLine(ed, line, error)) {
    if (!error.empty()) return Error(error);
    return {};
  }
  if (ReplayOutcome painted; ReplayPaintingLine(ed, line, painted)) return painted;
  if (ReplayColourLine(ed, line, error)) return error.empty() ? ReplayOutcome{} : Error(error);
  for (const char* dir : {"Right", "Left", "Up", "Down"}) {
    const std::string prefix = std::string("Scroll ") + dir + " ";
    if (line.rfind(prefix, 0) != 0) continue;
    auto amount = ParseInt(line.substr(prefix.size()));
    if (!amount) return Error(NotAnInteger(line.substr(prefix.size())));
    ed.ScrollImage(dir, *amount);
    return {};
  }

  const std::vector<std::string> parts = SplitLogLine(line);
  if (parts[0] == "Design Your Own Filter") return ReplayDesignYourOwn(ed, parts);

  const int id = FindEffectByAnyName(parts[0]);
  if (id < 0) return Error("unknown command \"" + parts[0] + "\"");
  if (!ed.EffectAvailable(id)) return Error("\"" + parts[0] + "\" is not available in this version");
  if (id == 14) {
    // Apply writes the dialog's own line and then the bare name; the filter
    // already ran for the first, so the name only goes back to the log.
    if (parts.size() > 1) return Error("\"" + parts[0] + "\" takes no values");
    ed.WriteLog(parts[0]);
    return {};
  }

  if (ReplayOutcome r = StoreLineValues(ed, id, parts); r.Status == ReplayStatus::Error) return r;
  // The rest is Apply: the stored values go to the tool box's boxes and back.
  ed.EffectId = id;
  ed.EffectName = parts[0];
  ed.ShowEffect(id, parts[0]);
  if (!ed.bGoClick()) return Error("\"" + parts[0] + "\" did not run");
  return {};
}

}  // namespace vorq
