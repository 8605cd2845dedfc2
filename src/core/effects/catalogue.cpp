#include "core/effects/catalogue.h"

#include <cctype>
#include <limits>

namespace vorq {
namespace {

using C = Category;
using V = ValueType;
using Fm = Format;

constexpr ValueRef M(int i) { return {ValueRef::Main, i}; }
constexpr ValueRef S(SecondId s) { return {ValueRef::Second, s}; }
constexpr ValueRef kPen{ValueRef::PenColor, 0};
constexpr ValueRef kBrush{ValueRef::BrushColor, 0};
constexpr ValueRef kWrap{ValueRef::Wrap, 0};
constexpr ValueRef kSeamAxis{ValueRef::SeamAxis, 0};
constexpr ValueRef kTint{ValueRef::TintColor, 0};
constexpr ValueRef kTexture{ValueRef::TextureSource, 0};
constexpr ValueRef G(ValueRef::Kind k) { return {k, 0}; }
// Trace logs the pen colour when "Use Pen Color" is set, black otherwise.
constexpr ValueRef kTrace{ValueRef::PenColor, 1};

constexpr double kInf = std::numeric_limits<double>::infinity();

// A param shown in a box and logged (under its box label unless logLabel says otherwise).
constexpr Param Both(Box b, const char* label, ValueRef r, Fm f = Fm::Integer, const char* logLabel = nullptr) {
  Param p;
  p.box = b;
  p.Label = label;
  p.LogLabel = logLabel ? logLabel : label;
  p.Ref = r;
  p.format = f;
  return p;
}
constexpr Param BoxOnly(Box b, const char* label, ValueRef r, Fm f = Fm::Integer) {
  Param p = Both(b, label, r, f);
  p.LogLabel = nullptr;
  return p;
}
constexpr Param LogOnly(const char* logLabel, ValueRef r, Fm f) {
  Param p;
  p.LogLabel = logLabel;
  p.Ref = r;
  p.format = f;
  return p;
}
constexpr Param ResetOnly(ValueRef r) {
  Param p;
  p.Ref = r;
  return p;
}
// The seam tools' axis: a choice in the tool box, in the line only when one axis.
constexpr Param SeamChoice() {
  Param p = Both(Box::cbSeams, "Seams", kSeamAxis, Fm::Integer, kSeamAxisLabel);
  p.Choices = kSeamAxes;
  return p;
}
constexpr Param Ruled(Param p, InputRule rule, double min = 0, double max = 0) {
  p.Rule = rule;
  p.Min = min;
  p.Max = max;
  return p;
}

// Builds one catalogue row; the chained calls add params.
struct B {
  EffectInfo e;
  constexpr B(fx::EffectId id, const char* name, C cat, const char* caption, const char* shortcut,
              const char* component, const char* recorded)
      : e{id, name, cat, caption, shortcut, component, recorded, 0, "No User Settings", {}, 0, nullptr, false} {}
  constexpr B& help(const char* h) { e.HelpText = h; return *this; }
  constexpr B& def(int d) { e.Default = d; return *this; }
  constexpr B& p(Param q) { e.Params[size_t(e.ParamCount++)] = q; return *this; }
  constexpr B& check(const char* caption) { e.CheckCaption = caption; return *this; }
  constexpr B& peaks() { e.PeaksAndWrap = true; return *this; }
  // The common shape: one integer in the main box, logged under logLabel.
  constexpr B& one(const char* label, int d, const char* help, const char* logLabel = nullptr,
                   InputRule rule = InputRule::None) {
    return def(d).help(help).p(Ruled(Both(Box::eAmtMain, label, M(e.Id), Fm::Integer, logLabel), rule));
  }
};

constexpr B SineWave(fx::EffectId id, const char* name, const char* caption, const char* shortcut,
                     const char* component, const char* recorded, SecondId peak, SecondId wav, int d,
                     const char* help) {
  B b(id, name, C::Distortions, caption, shortcut, component, recorded);
  b.def(d).help(help).peaks();
  Param amount = Both(Box::eAmtMain, "Peaks", S(peak), Fm::Real);
  amount.AltLabel = "Wavelength";
  amount.AltLogLabel = "WaveLength";
  amount.AltRef = S(wav);
  b.p(amount);
  b.p(Both(Box::eAmtSecond, "Height", M(id)));
  b.p(LogOnly("Wrap =", kWrap, Fm::Flag));
  return b;
}

constexpr std::array<EffectInfo, kEffectCount> Build() {
  return {
      B(fx::SoftenMore, "Soften More", C::Filters, "Soften More", "Ctrl+Alt+Y", "SoftenMore1", "Soften More").e,
      B(fx::SoftenLess, "Soften Less", C::Filters, "Soften Less", "Ctrl+Y", "SoftenLess1", "Soften Less").e,
      B(fx::EdgeEnhanceMore, "Edge Enhance More", C::Filters, "Edge Enhance More", "Ctrl+Alt+A", "EdgeEnhanceMore1", "Edge Enhance More").e,
      B(fx::EdgeEnhanceLess, "Edge Enhance Less", C::Filters, "Edge Enhance Less", "Ctrl+Alt+B", "EdgeEnhanceLess1", "Edge Enhance Less").e,
      B(fx::EdgeEmbossMore, "Edge Emboss More", C::Filters, "Edge Emboss More", "Ctrl+Alt+C", "EdgeEmbossMore1", "Edge Emboss More").e,
      B(fx::EdgeEmbossLess, "Edge Emboss Less", C::Filters, "Edge Emboss Less", "Ctrl+Alt+D", "EdgeEmbossLess1", "Edge Emboss Less").e,
      B(fx::ClassicEmboss, "Classic Emboss", C::Filters, "Classic Emboss", "Ctrl+Alt+E", "ClassicEmboss1", "Classic Emboss")
          .one("Lightness", 250, "Range: 1 - 510").e,
      B(fx::HiPass, "Hi Pass", C::Filters, "HiPass", "Ctrl+I", "HiPass1", "HiPass").e,
      B(fx::Sharpen, "Sharpen", C::Filters, "Sharpen", "Ctrl+S", "Sharpen1", "Sharpen").e,
      B(fx::Laplace, "Laplace", C::Filters, "Laplace", "Ctrl+P", "Laplace1", "Laplace").e,
      B(fx::Blur, "Blur", C::Filters, "Blur", "Ctrl+Alt+H", "Blur1", "Blur").e,
      B(fx::FindEdges, "Find Edges", C::Filters, "Find Edges", "Ctrl+Alt+F", "FindEdges1", "Find Edges").e,
      B(fx::GaussianSoft, "Gaussian Soft", C::Filters, "Gaussian Soft", "Ctrl+Alt+G", "GaussianSoft1", "Gaussian Soft").e,
      B(fx::GaussianBlur, "Gaussian Blur", C::Filters, "Gaussian Blur", "Ctrl+G", "GaussianBlur1", "Gaussian Blur")
          .one("Blurriness", 2, "Range: 1 - 5", nullptr, InputRule::Above5Is1).e,
      B(fx::DesignYourOwn, "Design Your Own", C::Filters, "Design Your Own", "Ctrl+F5", "DesignYourOwn1", nullptr).e,
      SineWave(fx::SineWaveUD, "SineWave U/D", "SineWave U/D", "Ctrl+D", "SineWaveUD1", "SineWave Up/Down", UDPeakVal, UDWavVal,
               50, "Range: 1 - Height").e,
      SineWave(fx::SineWaveLR, "SineWave L/R", "SineWave L/R", "Ctrl+E", "SineWaveLR1", "SineWave Left/Right", LRPeakVal,
               LRWavVal, 64, "Range: 1 - Width").e,
      B(fx::SineWaveBoth, "SineWave Both", C::Distortions, "SineWave Both", "Ctrl+X", "SineWaveBoth1", "SineWave Both")
          .help("")
          .p(Both(Box::eAmtMain, "Peaks U/D", S(UDPeakVal), Fm::Real, "U/D Peaks"))
          .p(Both(Box::eAmtSecond, "Height", M(fx::SineWaveUD), Fm::Integer, "U/D Height"))
          .p(Both(Box::ePeaks2, "Peaks L/R", S(LRPeakVal), Fm::Real, "L/R Peaks"))
          .p(Both(Box::eHeight2, "Height", M(fx::SineWaveLR), Fm::Integer, "L/R Height")).e,
      B(fx::Twist, "Twist", C::Distortions, "Twist", "Ctrl+T", "Twist1", "Twist").one("Looseness", 100, "Range: 1 - 500").e,
      B(fx::FishEye, "Fisheye", C::Distortions, "FishEye", "Ctrl+F", "FishEye1", "FishEye")
          .help("Range: 0.01 - 5.00")
          .p(Both(Box::eAmtMain, "Magnification", S(FishVal), Fm::Fixed2)).e,
      B(fx::Circular, "Circular", C::Distortions, "Circular", "Ctrl+W", "Circular1", "Circular").e,
      B(fx::Astroid, "Astroid", C::Distortions, "Astroid", "Ctrl+A", "Astroid1", "Astroid").one("Thickness", 5, "Range: 1 - 9 (Odd)", nullptr, InputRule::OddAtMost9).e,
      B(fx::ConcentricRects, "Concentric Rects", C::Distortions, "Concentric Rects", "Ctrl+Alt+O", "ConcentricRects1", "Concentric Rects")
          .one("Size Difference", 25, "Range: 1 - 100").e,
      B(fx::Mosaic, "Mosaic", C::Distortions, "Mosaic", "Ctrl+Alt+M", "Mosaic1", "Mosaic").one("Size of Cell", 3, "Range: 2 - 30").e,
      B(fx::CircleMosaic, "Circle Mosaic", C::Distortions, "Circle Mosaic", "Ctrl+Alt+N", "CircleMosaic1", "Circle Mosaic")
          .one("Size of Circle", 6, "Range: 4 - 40").e,
      B(fx::ColorNoise, "Color Noise", C::Distortions, "Color Noise", "Ctrl+Alt+P", "ColorNoise1", "Color Noise")
          .one("Noisiness", 50, "Range: 1 - 500").e,
      B(fx::Spray, "Spray", C::Distortions, "Spray", "Ctrl+Alt+Q", "Spray1", "Spray").one("Scatterosity", 15, "Range: 1 - 250").e,
      B(fx::VorqSwizzle, "VorqSwizzle", C::Distortions, "VorqSwizzle", "Ctrl+H", "VorqSwizzle1", "VorqSwizzle")
          .one("SwizzleWidth", 64, "Range: 1 - 200").e,
      B(fx::MapTexture, "Map Texture", C::Distortions, "Map Texture", "Ctrl+F2", "MapTexture1", "Map Texture")
          .one("Brightness", 18, "Range: 10 - 30")
          .p(LogOnly("", kTexture, Fm::Text)).e,
      B(fx::Marble, "Marble", C::Distortions, "Marble", "Ctrl+F3", "Marble1", "Marble")
          .one("Graininess", 700, "Marble Ctls")
          .p(Both(Box::eAmtSecond, "Scale", S(ScaleVal), Fm::Real))
          .p(Both(Box::ePeaks2, "Turbulence", S(TurbVal))).e,
      B(fx::ColorRotate, "Color Rotate", C::Color, "Color Rotate", "Ctrl+O", "ColorRotate1", "Color Rotate")
          .one("Bits to Rotate", 8, "Range: 1 - 8", "Bits").e,
      B(fx::Negative, "Negative", C::Color, "Negative", "Ctrl+N", "Negative1", "Negative").e,
      B(fx::Brighten, "Brighten", C::Color, "Brighten", "Ctrl+B", "Brighten1", "Brighten").e,
      B(fx::Lighten, "Lighten", C::Color, "Lighten", "Ctrl+Alt+T", "Lighten1", "Lighten").e,
      B(fx::Tint, "Tint", C::Color, "Tint", "Ctrl+Alt+U", "Tint1", "Tint").p(LogOnly("Color", kTint, Fm::Colour)).e,
      B(fx::GrayScale, "Gray Scale", C::Color, "Gray Scale", "Ctrl+Alt+V", "GrayScale1", "GrayScale").e,
      B(fx::ErasetoBlack, "Erase to Black", C::Color, "Erase to Black", "Ctrl+K", "ErasetoBlack1", "Erase to Black").e,
      B(fx::ExchangeColor, "Exchange Color", C::Color, "Exchange Color", "Ctrl+Alt+Z", "ExchangeColor1", "Exchange Color")
          .def(25)
          .help("Exchg Pen < Brush")
          .p(BoxOnly(Box::eAmtMain, "Tolerance Amt", M(fx::ExchangeColor)))
          .p(LogOnly("Pen", kPen, Fm::Colour))
          .p(LogOnly("Brush", kBrush, Fm::Colour)).e,
      B(fx::ReSizeFast, "ReSize Fast", C::SizeAspect, "ReSize Fast", "Ctrl+Q", "ReSizeFast1", "ReSize Fast").e,
      B(fx::ReSizeSmooth, "ReSize Smooth", C::SizeAspect, "ReSize Smooth", "Ctrl+R", "ReSizeSmooth1", "ReSize Smooth").e,
      B(fx::Rotate90, "Rotate 90 Clockwise", C::SizeAspect, "Rotate 90", "Ctrl+Alt+X", "Rotate901", "Rotate 90").e,
      B(fx::MirrorLR, "Mirror L/R", C::SizeAspect, "Mirror L/R", "Ctrl+L", "MirrorLR1", "Mirror L/R").e,
      B(fx::MirrorUD, "Mirror U/D", C::SizeAspect, "Mirror U/D", "Ctrl+M", "MirrorUD1", "Mirror U/D").e,
      B(fx::RotateAngle, "Rotate Angle", C::SizeAspect, "Rotate Angle", "Ctrl+Alt+R", "RotateAngle1", "Rotate Angle")
          .one("Angle", 45, "Range: 1 - 359").e,
      B(fx::RotateSeamless, "Rotate Seamless", C::SizeAspect, "Rotate Seamless", "Ctrl+Alt+S", "RotateSeamless1", "Rotate Seamless").e,
      // Scroll writes no effect line; its scroll bars log their own.
      B(fx::Scroll, "Scroll", C::SizeAspect, "Scroll", "Ctrl+Alt+K", "Scroll1", "Scroll")
          .def(64)
          .help("Range: 1 - Width")
          .p(BoxOnly(Box::eAmtMain, "Scroll Amt", M(fx::Scroll))).e,
      B(fx::CycloidMosaic, "Cycloid Mosaic", C::Draw, "Cycloid Mosaic", "Ctrl+Alt+L", "CycloidMosaic1", "Cycloid Mosaic")
          .one("Size of Cell", 3, "Range: 3 - 30").e,
      B(fx::GradientBars, "Gradient Bars", C::Draw, "Gradient Bars", "Ctrl+Alt+W", "GradientBars1", "Gradient Bars")
          .one("Number of Bars", 3, "Range: 1 - 50").e,
      // The Gradient effect's line names the designer's fields.
      B(fx::Gradient, "Gradient", C::Draw, "Gradient", "Ctrl+J", "Gradient2", "Draw Gradient")
          .p(LogOnly("Width", G(ValueRef::GradientWidth), Fm::Text))
          .p(LogOnly("Height", G(ValueRef::GradientHeight), Fm::Text))
          .p(LogOnly("Gradient", G(ValueRef::GradientStyle), Fm::Text))
          .p(LogOnly("From Color", G(ValueRef::GradientFrom), Fm::Colour))
          .p(LogOnly("To Color", G(ValueRef::GradientTo), Fm::Colour))
          .p(LogOnly("Angle", G(ValueRef::GradientAngle), Fm::Text)).e,
      B(fx::MergeGradient, "Merge Gradient", C::Draw, "Merge Gradient", "Ctrl+Alt+I", "MergeGradient1", "Merge Gradient")
          .one("% of Gradient", 50, "Range: 1 - 99").e,
      B(fx::MergeBuffer, "Merge Buffer", C::Draw, "Merge Buffer", "Ctrl+Alt+J", "MergeBuffer1", "Merge Buffer")
          .one("% of Buffer", 50, "Range: 1 - 99").e,
      B(fx::Buttonize, "Buttonize", C::Draw, "Buttonize", "Ctrl+U", "Buttonize1", "Buttonize")
          .one("Edge Size", 20, "Range: 1 - 45")
          .p(LogOnly("Pen", kPen, Fm::Colour))
          .p(LogOnly("Brush", kBrush, Fm::Colour)).e,
      B(fx::PlasmaCloud, "Plasma Cloud", C::Draw, "Plasma Cloud", "Ctrl+F4", "PlasmaCloud1", "Plasma Cloud")
          .one("Graininess", 700, "Lower = Smoother").e,
      B(fx::StretchBlurwithBuffer, "StretchBlur with Buffer", C::Distortions, "StretchBlur with Buffer", "Ctrl+F6", "StretchBlurwithBuffer1",
        "StretchBlur with Buffer")
          .def(1)
          .help("-Width/Hgt to Width/Hgt")
          .p(Both(Box::eAmtSecond, "L/R Amount", M(fx::StretchBlurwithBuffer), Fm::Integer, "Left/Right"))
          .p(Both(Box::eAmtMain, "U/D Amount", S(UDSBlurBuf), Fm::Integer, "Up/Down"))
          .p(Both(Box::ePeaks2, "Repetitions", S(SBlurReps))).e,
      B(fx::StretchBlurwithSelf, "StretchBlur with Self", C::Distortions, "StretchBlur with Self", "Ctrl+F7", "StretchBlurwithSelf1",
        "StretchBlur with Self")
          .def(-1)
          .help("-Width/Hgt to Width/Hgt")
          .p(Both(Box::eAmtSecond, "L/R Amount", M(fx::StretchBlurwithSelf), Fm::Integer, "Left/Right"))
          .p(Both(Box::eAmtMain, "U/D Amount", S(UDSBlurSelf), Fm::Integer, "Up/Down"))
          .p(Both(Box::ePeaks2, "Repetitions", S(SBlurReps))).e,
      B(fx::WaterwithBuffer, "Water with Buffer", C::Distortions, "Water with Buffer", "Ctrl+F8", "WaterwithBuffer1", "Water with Buffer")
          .def(64)
          .help("-Width/Hgt to Width/Hgt")
          .p(Both(Box::eAmtSecond, "L/R Amount", M(fx::WaterwithBuffer), Fm::Integer, "Left/Right"))
          .p(Both(Box::eAmtMain, "U/D Amount", S(UDWatBuf), Fm::Integer, "Up/Down")).e,
      B(fx::WaterwithSelf, "Water with Self", C::Distortions, "Water with Self", "Ctrl+F9", "WaterwithSelf1", "Water with Self")
          .def(128)
          .help("-Width/Hgt to Width/Hgt")
          .p(Both(Box::eAmtSecond, "L/R Amount", M(fx::WaterwithSelf), Fm::Integer, "Left/Right"))
          .p(Both(Box::eAmtMain, "U/D Amount", S(UDWatSelf), Fm::Integer, "Up/Down")).e,
      B(fx::SuperNova, "SuperNova", C::Draw, "SuperNova", "Ctrl+F10", "SuperNova1", "SuperNova")
          .def(32)
          .help("Hue 0 - 360")
          .p(LogOnly("Colors:", kPen, Fm::Colour))
          .p(Both(Box::eAmtMain, "Radius", M(fx::SuperNova)))
          .p(Both(Box::eAmtSecond, "Spokes", S(NovaSpok)))
          .p(Both(Box::ePeaks2, "Random Hue", S(NovaHue), Fm::Integer, "Hue"))
          .p(Both(Box::eHeight2, "X Pos", S(NovaX), Fm::Integer, "X Pos:"))
          .p(Both(Box::eYPos, "Y Pos", S(NovaY), Fm::Integer, "Y Pos:")).e,
      B(fx::HeightMap, "HeightMap", C::Distortions, "HeightMap", "Ctrl+F11", "HeightMap1", "HeightMap")
          .one("Azimuth", 32, "Azimuth is Angle")
          .p(Both(Box::eAmtSecond, "Elevation", S(HytEl)))
          .p(Both(Box::ePeaks2, "Depth", S(HytDp)))
          .p(Both(Box::cbBump, "Bump Map", S(HytBm), Fm::Flag, "BumpMap"))
          .check("Bump Map").e,
      B(fx::SplitBlur, "Split Blur", C::Filters, "Split Blur", "Ctrl+F12", "SplitBlur1", "Split Blur")
          .one("Split Amount", 4, "Split offset", "Amount").e,
      B(fx::SplitGauss, "Split Gauss", C::Filters, "Split Gauss", "Ctrl+Shift+F12", "SplitGauss1", "Split Gauss")
          .one("Blur Amount", 3, "Bluriness", "Amount").e,
      B(fx::Trace, "Trace", C::Distortions, "Trace", "Shift+F1", "Trace1", "Trace")
          .one("Intensity", 1, "Default is Black")
          .p(BoxOnly(Box::cbBump, "Use Pen Color", S(TrUseVal), Fm::Flag))
          .p(LogOnly("Color:", kTrace, Fm::Colour))
          .p(ResetOnly(S(TrColVal)))
          .check("Use Pen Color").e,
      B(fx::RippleTooth, "RippleTooth", C::Distortions, "RippleTooth", "Shift+F2", "RippleTooth1", "RippleTooth")
          .one("Amount", 16, "Width of Ripple").e,
      B(fx::SeamlessEdge, "Seamless Edge", C::Distortions, "Seamless Edge", "Shift+F3", "SeamlessEdge1", "Seamless Edge")
          .one("Amount", 16, "Width of Seam")
          .p(SeamChoice()).e,
      B(fx::Waves, "Waves", C::Distortions, "Waves", "Shift+F4", "Waves1", "Waves")
          .one("Amplitude", 24, "Phase is Shift Point")
          .p(Both(Box::eAmtSecond, "Wave Length", S(WvLenVal)))
          .p(Both(Box::ePeaks2, "Phase", S(WvPhsVal), Fm::RoundedInt))
          .p(Both(Box::cbBump, "Reflective", S(WvRflVal), Fm::Flag))
          .check("Reflective").e,
      B(fx::WhirlPinch, "Whirl/Pinch", C::Distortions, "Whirl/Pinch", "Shift+F5", "WhirlPinch1", "Whirl/Pinch")
          .one("Angle", 270, "Angle is Amount of Effect")
          .p(Ruled(Both(Box::eAmtSecond, "Pinch (-1 to 1)", S(WhPchVal), Fm::Fixed2, "Pinch"), InputRule::Clamp, -1, 1))
          .p(Ruled(Both(Box::ePeaks2, "Radius (0 to 2)", S(WhRadVal), Fm::Fixed2, "Radius"), InputRule::Clamp, 0, kInf)).e,
  };
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

const std::array<SecondParamInfo, kSecondCount> kSecondParams = {{
    {"UDPeakVal", V::Real32, 3.0},   {"UDWavVal", V::Real32, 32.0},  {"LRPeakVal", V::Real32, 2.0},
    {"LRWavVal", V::Real32, 17.0},   {"FishVal", V::Real32, 0.75},   {"ScaleVal", V::Real32, 2.0},
    {"TurbVal", V::Integer, 120},    {"UDSBlurBuf", V::Integer, 1},  {"UDSBlurSelf", V::Integer, 1},
    {"SBlurReps", V::Integer, 32},   {"UDWatBuf", V::Integer, 100},  {"UDWatSelf", V::Integer, -128},
    {"NovaSpok", V::Integer, 64},    {"NovaHue", V::Integer, 32},    {"NovaX", V::Integer, 24},
    {"NovaY", V::Integer, 36},       {"HytEl", V::Integer, 20},      {"HytDp", V::Integer, 16},
    {"HytBm", V::Flag, 1},           {"TrColVal", V::Colour, 0},     {"TrUseVal", V::Flag, 0},
    {"WvLenVal", V::Integer, 10},    {"WvPhsVal", V::Real64, 8.0},   {"WvRflVal", V::Flag, 0},
    {"WhPchVal", V::Real32, 0.5},    {"WhRadVal", V::Real32, 1.0},
}};

const std::array<EffectInfo, kEffectCount> kCatalogue = Build();
static_assert(kEffectCount == 66);
static_assert([] {
  for (int i = 0; i < kEffectCount; ++i)
    if (Build()[size_t(i)].Id != i) return false;
  return true;
}(), "catalogue rows must be in Effect id order");

const std::array<const char*, 12> kPenModeNames = {"Normal",      "MaskNotPen", "MaskPen",    "MaskPenNot",
                                                   "MergeNotPen", "MergePen",   "MergePenNot", "NotCopyPen",
                                                   "NotMaskPen",  "NotMergePen", "NotXORPen",  "XORPen"};

const char* CategoryName(Category c) {
  static const char* const names[] = {"Color", "Distortions", "Draw", "Filters", "Size/Aspect"};
  return names[static_cast<int>(c)];
}

int FindEffectByCatalogueName(std::string_view name) {
  for (const auto& e : kCatalogue)
    if (EqualNoCase(e.CatalogueName, name)) return e.Id;
  return -1;
}

int FindEffectByAnyName(std::string_view name) {
  for (const auto& e : kCatalogue)
    if (e.RecordedName && name == e.RecordedName) return e.Id;
  for (const auto& e : kCatalogue)
    if (name == e.CatalogueName) return e.Id;
  return FindEffectByCatalogueName(name);
}

}  // namespace vorq
