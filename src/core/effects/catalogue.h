// The catalogue of the 66 effects: the one table that the menus, the effects
// tree, the tool box, Apply, the settings file and the log lines all read.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vorq {

constexpr int kEffectCount = 66;

enum class Category : uint8_t { Color, Distortions, Draw, Filters, SizeAspect };
constexpr int kCategoryCount = 5;
// "Color", "Distortions", "Draw", "Filters", "Size/Aspect"
const char* CategoryName(Category c);

// Second parameters, named as their settings keys.
enum SecondId : uint8_t {
  UDPeakVal, UDWavVal, LRPeakVal, LRWavVal, FishVal, ScaleVal, TurbVal, UDSBlurBuf, UDSBlurSelf,
  SBlurReps, UDWatBuf, UDWatSelf, NovaSpok, NovaHue, NovaX, NovaY, HytEl, HytDp, HytBm, TrColVal,
  TrUseVal, WvLenVal, WvPhsVal, WvRflVal, WhPchVal, WhRadVal,
  kSecondCount
};

// Real32 values are kept at single precision, Real64 at double.
enum class ValueType : uint8_t { Integer, Real32, Real64, Flag, Colour };

struct SecondParamInfo {
  const char* Name;
  ValueType Type;
  double Default;
};
extern const std::array<SecondParamInfo, kSecondCount> kSecondParams;

// Where a value shown in a box or written in a log line lives.
struct ValueRef {
  enum Kind : uint8_t {
    None,
    Main,         // EffectVals[Index]
    Second,       // second parameter Index
    PenColor,     // the tool box's pen colour
    BrushColor,   // the tool box's brush colour
    Wrap,         // the tool box's "Wrap" check box
    TintColor,    // the colour dialog's current colour
    TextureSource // Map Texture's source text
  };
  Kind kind = None;
  int Index = 0;
};

// Tool box controls that carry parameters.
enum class Box : uint8_t { eAmtMain, eAmtSecond, ePeaks2, eHeight2, eYPos, cbBump };
constexpr int kEditBoxCount = 5;

enum class Format : uint8_t {
  Integer,     // decimal
  Real,        // shortest general form, at most 15 significant digits
  Fixed2,      // "%1.2f"
  RoundedInt,  // a real shown rounded to an integer (ties to even), read as an integer
  Flag,        // "True" / "False" in logs, a check box in the tool box
  Colour       // "R: r G: g B: b"
};

// One parameter of the tool box. When AltLabel is set, the field shows
// Label/Ref while "Use Peaks" is checked and AltLabel/AltRef otherwise.
struct ParamField {
  Box box = Box::eAmtMain;
  const char* Label = nullptr;
  ValueRef Ref;
  Format format = Format::Integer;
  const char* AltLabel = nullptr;
  ValueRef AltRef;
};

// One ", Label value" pair of an effect's log line; the same alternation.
struct LogField {
  const char* Label = nullptr;
  ValueRef Ref;
  Format format = Format::Integer;
  const char* AltLabel = nullptr;
  ValueRef AltRef;
};

struct EffectInfo {
  int Id;
  const char* CatalogueName;
  Category category;
  const char* MenuCaption;
  const char* Shortcut;      // in "Ctrl+Alt+Y" form
  const char* Component;     // menu item name; its handler is Component + "Click"
  const char* RecordedName;  // name the menu command records; nullptr when it records none
  int Default;               // EffectDefaults entry
  const char* HelpText;
  std::array<ParamField, 6> Fields;
  int FieldCount;
  const char* CheckCaption;  // caption of cbBump when a field uses it
  bool PeaksAndWrap;         // shows "Use Peaks" and "Wrap"
  std::array<LogField, 8> Log;
  int LogCount;
  // Reset to default: second parameters and further EffectVals entries.
  std::array<int8_t, 4> ResetSeconds;  // -1 terminated
  std::array<int8_t, 2> ResetMains;    // -1 terminated
};

extern const std::array<EffectInfo, kEffectCount> kCatalogue;

inline const EffectInfo& Effect(int id) { return kCatalogue[static_cast<size_t>(id)]; }

// Effect id of a catalogue name, compared without regard to letter case; -1 if none.
int FindEffectByCatalogueName(std::string_view name);
// Effect id of a recorded or catalogue name (exact letter case first); -1 if none.
int FindEffectByAnyName(std::string_view name);

// Pen mode names, index 0 to 11.
extern const std::array<const char*, 12> kPenModeNames;

}  // namespace vorq
