// The catalogue of the 66 effects: the one table that the menus, the effects
// tree, the tool box, Apply, the settings file and the log lines all read.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vorq {

// Effect ids in catalogue order: the index into EffectVals, the number of
// the "EffectVals<n>" settings keys. Named after the effects' menu items.
namespace fx {
enum EffectId : int32_t {
  None = -1,
  SoftenMore, SoftenLess, EdgeEnhanceMore, EdgeEnhanceLess, EdgeEmbossMore, EdgeEmbossLess, ClassicEmboss,
  HiPass, Sharpen, Laplace, Blur, FindEdges, GaussianSoft, GaussianBlur, DesignYourOwn, SineWaveUD, SineWaveLR,
  SineWaveBoth, Twist, FishEye, Circular, Astroid, ConcentricRects, Mosaic, CircleMosaic, ColorNoise, Spray,
  VorqSwizzle, MapTexture, Marble, ColorRotate, Negative, Brighten, Lighten, Tint, GrayScale, ErasetoBlack,
  ExchangeColor, ReSizeFast, ReSizeSmooth, Rotate90, MirrorLR, MirrorUD, RotateAngle, RotateSeamless, Scroll,
  CycloidMosaic, GradientBars, Gradient, MergeGradient, MergeBuffer, Buttonize, PlasmaCloud,
  StretchBlurwithBuffer, StretchBlurwithSelf, WaterwithBuffer, WaterwithSelf, SuperNova, HeightMap, SplitBlur,
  SplitGauss, Trace, RippleTooth, SeamlessEdge, Waves, WhirlPinch,
  Count
};
}  // namespace fx

constexpr int kEffectCount = fx::Count;

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
    PenColor,     // the tool box's pen colour; Index 1: Trace's colour (black unless "Use Pen Color")
    BrushColor,   // the tool box's brush colour
    Wrap,         // the tool box's "Wrap" check box
    SeamAxis,     // the tool box's seam choice (index into kSeamAxes)
    TintColor,    // the colour dialog's current colour
    TextureSource,  // Map Texture's source text
    // The gradient designer's fields (the Gradient effect's line)
    GradientWidth, GradientHeight, GradientStyle, GradientAngle, GradientFrom, GradientTo
  };
  Kind kind = None;
  int Index = 0;
};

// Tool box controls that carry parameters; None for a value that is only
// logged (the pen colour of Exchange Color) or only reset (Trace's colour).
enum class Box : uint8_t { eAmtMain, eAmtSecond, ePeaks2, eHeight2, eYPos, cbBump, cbSeams, None };
constexpr int kEditBoxCount = 5;

enum class Format : uint8_t {
  Integer,     // decimal
  Real,        // shortest general form, at most 15 significant digits
  Fixed2,      // "%1.2f"
  RoundedInt,  // a real shown rounded to an integer (ties to even), read as an integer
  Flag,        // "True" / "False" in logs, a check box in the tool box
  Colour,      // "R: r G: g B: b"
  Text         // a text as typed
};

// What Apply does to a value after storing it.
enum class InputRule : uint8_t {
  None,
  Above5Is1,   // Gaussian Blur: more than 5 becomes 1, and the box shows "1"
  OddAtMost9,  // Astroid: an even value goes up by 1, then at most 9
  Clamp,       // limited to Min .. Max before every run (menu and Apply); stays stored
};

// The seam tools' axis choices in SeamAxis order, as lines name them
// (", Axis Left/Right"); the first, joining both, is never written.
constexpr const char* kSeamAxes = "Both|Left/Right|Top/Bottom";
constexpr const char* kSeamAxisLabel = "Axis";

// One parameter of an effect, declared once: its tool box control and
// label, its ", Label value" pair in the log line, where it is stored, its
// format and rule. Params are listed in log-line order. Every Main or
// Second value of an effect's params is restored by the reset button.
// When AltLabel is set the param follows "Use Peaks": checked shows and
// logs Label/LogLabel/Ref, unchecked AltLabel/AltLogLabel/AltRef.
struct Param {
  Box box = Box::None;
  const char* Label = nullptr;     // tool box label
  const char* LogLabel = nullptr;  // nullptr: not in the log line; "": the value alone
  ValueRef Ref;
  Format format = Format::Integer;
  const char* AltLabel = nullptr;
  const char* AltLogLabel = nullptr;
  ValueRef AltRef;
  InputRule Rule = InputRule::None;
  double Min = 0, Max = 0;  // for InputRule::Clamp
  // "A|B|C": the value is an index, written as that choice's text; the first
  // choice is left out of the line, and a line without it means the first.
  const char* Choices = nullptr;
  bool Shown() const { return box != Box::None; }
  bool Logged() const { return LogLabel != nullptr; }
};

struct EffectInfo {
  fx::EffectId Id;
  const char* CatalogueName;
  Category category;
  const char* MenuCaption;
  const char* Shortcut;      // in "Ctrl+Alt+Y" form
  const char* Component;     // menu item name; its handler is Component + "Click"
  const char* RecordedName;  // name the menu command records; nullptr when it records none
  int Default;               // EffectDefaults entry
  const char* HelpText;
  std::array<Param, 8> Params;
  int ParamCount;
  const char* CheckCaption;  // caption of cbBump when a param uses it
  bool PeaksAndWrap;         // shows "Use Peaks" and "Wrap"
  // Tool box fields shown (params with a control).
  int ShownCount() const {
    int n = 0;
    for (int i = 0; i < ParamCount; ++i) n += Params[size_t(i)].Shown();
    return n;
  }
};

extern const std::array<EffectInfo, kEffectCount> kCatalogue;

inline const EffectInfo& Effect(int id) { return kCatalogue[static_cast<size_t>(id)]; }
inline bool ValidEffect(int id) { return id >= 0 && id < kEffectCount; }

// Effect id of a catalogue name, compared without regard to letter case; -1 if none.
int FindEffectByCatalogueName(std::string_view name);
// Effect id of a recorded or catalogue name (exact letter case first); -1 if none.
int FindEffectByAnyName(std::string_view name);

// Pen mode names, index 0 to 11.
extern const std::array<const char*, 12> kPenModeNames;

}  // namespace vorq
