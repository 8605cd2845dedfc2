#include "core/effects/catalogue.h"

#include <cctype>

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
constexpr ValueRef kTint{ValueRef::TintColor, 0};
constexpr ValueRef kTexture{ValueRef::TextureSource, 0};
// Trace logs the pen colour when "Use Pen Color" is set, black otherwise.
constexpr ValueRef kTrace{ValueRef::PenColor, 1};

constexpr ParamField F(Box b, const char* label, ValueRef r, Fm f = Fm::Integer) { return {b, label, r, f, nullptr, {}}; }
constexpr LogField L(const char* label, ValueRef r, Fm f = Fm::Integer) { return {label, r, f, nullptr, {}}; }

// Builds one catalogue row; the chained calls add fields, log pairs and
// the reset group.
struct B {
  EffectInfo e;
  constexpr B(int id, const char* name, C cat, const char* caption, const char* shortcut, const char* component,
              const char* recorded)
      : e{id, name, cat, caption, shortcut, component, recorded, 0, "No User Settings", {}, 0, nullptr, false, {}, 0,
          {-1, -1, -1, -1}, {-1, -1}} {}
  constexpr B& help(const char* h) { e.HelpText = h; return *this; }
  constexpr B& def(int d) { e.Default = d; return *this; }
  constexpr B& f(ParamField p) { e.Fields[size_t(e.FieldCount++)] = p; return *this; }
  constexpr B& check(const char* caption) { e.CheckCaption = caption; return *this; }
  constexpr B& peaks() { e.PeaksAndWrap = true; return *this; }
  constexpr B& log(LogField l) { e.Log[size_t(e.LogCount++)] = l; return *this; }
  constexpr B& reset(std::initializer_list<int> seconds, std::initializer_list<int> mains = {}) {
    size_t i = 0;
    for (int s : seconds) e.ResetSeconds[i++] = int8_t(s);
    i = 0;
    for (int m : mains) e.ResetMains[i++] = int8_t(m);
    return *this;
  }
  // The common shape: one integer in the main box, logged under LogLabel.
  constexpr B& one(const char* label, int d, const char* help, const char* logLabel = nullptr) {
    return def(d).help(help).f(F(Box::eAmtMain, label, M(e.Id))).log(L(logLabel ? logLabel : label, M(e.Id)));
  }
};

constexpr B SineWave(int id, const char* name, const char* caption, const char* shortcut, const char* component,
                     const char* recorded, SecondId peak, SecondId wav, int d, const char* help) {
  B b(id, name, C::Distortions, caption, shortcut, component, recorded);
  b.def(d).help(help).peaks();
  b.f({Box::eAmtMain, "Peaks", S(peak), Fm::Real, "Wavelength", S(wav)});
  b.f(F(Box::eAmtSecond, "Height", M(id)));
  b.log({"Peaks", S(peak), Fm::Real, "WaveLength", S(wav)});
  b.log(L("Height", M(id)));
  b.log(L("Wrap =", kWrap, Fm::Flag));
  b.reset({peak, wav});
  return b;
}

constexpr std::array<EffectInfo, kEffectCount> Build() {
  return {
      B(0, "Soften More", C::Filters, "Soften More", "Ctrl+Alt+Y", "SoftenMore1", "Soften More").e,
      B(1, "Soften Less", C::Filters, "Soften Less", "Ctrl+Y", "SoftenLess1", "Soften Less").e,
      B(2, "Edge Enhance More", C::Filters, "Edge Enhance More", "Ctrl+Alt+A", "EdgeEnhanceMore1", "Edge Enhance More").e,
      B(3, "Edge Enhance Less", C::Filters, "Edge Enhance Less", "Ctrl+Alt+B", "EdgeEnhanceLess1", "Edge Enhance Less").e,
      B(4, "Edge Emboss More", C::Filters, "Edge Emboss More", "Ctrl+Alt+C", "EdgeEmbossMore1", "Edge Emboss More").e,
      B(5, "Edge Emboss Less", C::Filters, "Edge Emboss Less", "Ctrl+Alt+D", "EdgeEmbossLess1", "Edge Emboss Less").e,
      B(6, "Classic Emboss", C::Filters, "Classic Emboss", "Ctrl+Alt+E", "ClassicEmboss1", "Classic Emboss")
          .one("Lightness", 250, "Range: 1 - 510").e,
      B(7, "Hi Pass", C::Filters, "HiPass", "Ctrl+I", "HiPass1", "HiPass").e,
      B(8, "Sharpen", C::Filters, "Sharpen", "Ctrl+S", "Sharpen1", "Sharpen").e,
      B(9, "Laplace", C::Filters, "Laplace", "Ctrl+P", "Laplace1", "Laplace").e,
      B(10, "Blur", C::Filters, "Blur", "Ctrl+Alt+H", "Blur1", "Blur").e,
      B(11, "Find Edges", C::Filters, "Find Edges", "Ctrl+Alt+F", "FindEdges1", "Find Edges").e,
      B(12, "Gaussian Soft", C::Filters, "Gaussian Soft", "Ctrl+Alt+G", "GaussianSoft1", "Gaussian Soft").e,
      B(13, "Gaussian Blur", C::Filters, "Gaussian Blur", "Ctrl+G", "GaussianBlur1", "Gaussian Blur")
          .one("Blurriness", 2, "Range: 1 - 5").e,
      B(14, "Design Your Own", C::Filters, "Design Your Own", "Ctrl+F5", "DesignYourOwn1", nullptr).e,
      SineWave(15, "SineWave U/D", "SineWave U/D", "Ctrl+D", "SineWaveUD1", "SineWave Up/Down", UDPeakVal, UDWavVal,
               50, "Range: 1 - Height").e,
      SineWave(16, "SineWave L/R", "SineWave L/R", "Ctrl+E", "SineWaveLR1", "SineWave Left/Right", LRPeakVal,
               LRWavVal, 64, "Range: 1 - Width").e,
      B(17, "SineWave Both", C::Distortions, "SineWave Both", "Ctrl+X", "SineWaveBoth1", "SineWave Both")
          .help("")
          .f(F(Box::eAmtMain, "Peaks U/D", S(UDPeakVal), Fm::Real))
          .f(F(Box::eAmtSecond, "Height", M(15)))
          .f(F(Box::ePeaks2, "Peaks L/R", S(LRPeakVal), Fm::Real))
          .f(F(Box::eHeight2, "Height", M(16)))
          .log(L("U/D Peaks", S(UDPeakVal), Fm::Real))
          .log(L("U/D Height", M(15)))
          .log(L("L/R Peaks", S(LRPeakVal), Fm::Real))
          .log(L("L/R Height", M(16)))
          .reset({UDPeakVal, LRPeakVal}, {15, 16}).e,
      B(18, "Twist", C::Distortions, "Twist", "Ctrl+T", "Twist1", "Twist").one("Looseness", 100, "Range: 1 - 500").e,
      B(19, "Fisheye", C::Distortions, "FishEye", "Ctrl+F", "FishEye1", "FishEye")
          .help("Range: 0.01 - 5.00")
          .f(F(Box::eAmtMain, "Magnification", S(FishVal), Fm::Fixed2))
          .log(L("Magnification", S(FishVal), Fm::Fixed2))
          .reset({FishVal}).e,
      B(20, "Circular", C::Distortions, "Circular", "Ctrl+W", "Circular1", "Circular").e,
      B(21, "Astroid", C::Distortions, "Astroid", "Ctrl+A", "Astroid1", "Astroid").one("Thickness", 5, "Range: 1 - 9 (Odd)").e,
      B(22, "Concentric Rects", C::Distortions, "Concentric Rects", "Ctrl+Alt+O", "ConcentricRects1", "Concentric Rects")
          .one("Size Difference", 25, "Range: 1 - 100").e,
      B(23, "Mosaic", C::Distortions, "Mosaic", "Ctrl+Alt+M", "Mosaic1", "Mosaic").one("Size of Cell", 3, "Range: 2 - 30").e,
      B(24, "Circle Mosaic", C::Distortions, "Circle Mosaic", "Ctrl+Alt+N", "CircleMosaic1", "Circle Mosaic")
          .one("Size of Circle", 6, "Range: 4 - 40").e,
      B(25, "Color Noise", C::Distortions, "Color Noise", "Ctrl+Alt+P", "ColorNoise1", "Color Noise")
          .one("Noisiness", 50, "Range: 1 - 500").e,
      B(26, "Spray", C::Distortions, "Spray", "Ctrl+Alt+Q", "Spray1", "Spray").one("Scatterosity", 15, "Range: 1 - 250").e,
      B(27, "VorqSwizzle", C::Distortions, "VorqSwizzle", "Ctrl+H", "VorqSwizzle1", "VorqSwizzle")
          .one("SwizzleWidth", 64, "Range: 1 - 200").e,
      B(28, "Map Texture", C::Distortions, "Map Texture", "Ctrl+F2", "MapTexture1", "Map Texture")
          .one("Brightness", 18, "Range: 10 - 30")
          .log(L("", kTexture)).e,
      B(29, "Marble", C::Distortions, "Marble", "Ctrl+F3", "Marble1", "Marble")
          .one("Graininess", 700, "Marble Ctls")
          .f(F(Box::eAmtSecond, "Scale", S(ScaleVal), Fm::Real))
          .f(F(Box::ePeaks2, "Turbulence", S(TurbVal)))
          .log(L("Scale", S(ScaleVal), Fm::Real))
          .log(L("Turbulence", S(TurbVal)))
          .reset({ScaleVal, TurbVal}).e,
      B(30, "Color Rotate", C::Color, "Color Rotate", "Ctrl+O", "ColorRotate1", "Color Rotate")
          .one("Bits to Rotate", 8, "Range: 1 - 8", "Bits").e,
      B(31, "Negative", C::Color, "Negative", "Ctrl+N", "Negative1", "Negative").e,
      B(32, "Brighten", C::Color, "Brighten", "Ctrl+B", "Brighten1", "Brighten").e,
      B(33, "Lighten", C::Color, "Lighten", "Ctrl+Alt+T", "Lighten1", "Lighten").e,
      B(34, "Tint", C::Color, "Tint", "Ctrl+Alt+U", "Tint1", "Tint").log(L("Color", kTint, Fm::Colour)).e,
      B(35, "Gray Scale", C::Color, "Gray Scale", "Ctrl+Alt+V", "GrayScale1", "GrayScale").e,
      B(36, "Erase to Black", C::Color, "Erase to Black", "Ctrl+K", "ErasetoBlack1", "Erase to Black").e,
      B(37, "Exchange Color", C::Color, "Exchange Color", "Ctrl+Alt+Z", "ExchangeColor1", "Exchange Color")
          .def(25)
          .help("Exchg Pen < Brush")
          .f(F(Box::eAmtMain, "Tolerance Amt", M(37)))
          .log(L("Pen", kPen, Fm::Colour))
          .log(L("Brush", kBrush, Fm::Colour)).e,
      B(38, "ReSize Fast", C::SizeAspect, "ReSize Fast", "Ctrl+Q", "ReSizeFast1", "ReSize Fast").e,
      B(39, "ReSize Smooth", C::SizeAspect, "ReSize Smooth", "Ctrl+R", "ReSizeSmooth1", "ReSize Smooth").e,
      B(40, "Rotate 90 Clockwise", C::SizeAspect, "Rotate 90", "Ctrl+Alt+X", "Rotate901", "Rotate 90").e,
      B(41, "Mirror L/R", C::SizeAspect, "Mirror L/R", "Ctrl+L", "MirrorLR1", "Mirror L/R").e,
      B(42, "Mirror U/D", C::SizeAspect, "Mirror U/D", "Ctrl+M", "MirrorUD1", "Mirror U/D").e,
      B(43, "Rotate Angle", C::SizeAspect, "Rotate Angle", "Ctrl+Alt+R", "RotateAngle1", "Rotate Angle")
          .one("Angle", 45, "Range: 1 - 359").e,
      B(44, "Rotate Seamless", C::SizeAspect, "Rotate Seamless", "Ctrl+Alt+S", "RotateSeamless1", "Rotate Seamless").e,
      // Scroll writes no effect line; its scroll bars log their own.
      B(45, "Scroll", C::SizeAspect, "Scroll", "Ctrl+Alt+K", "Scroll1", "Scroll")
          .def(64)
          .help("Range: 1 - Width")
          .f(F(Box::eAmtMain, "Scroll Amt", M(45))).e,
      B(46, "Cycloid Mosaic", C::Draw, "Cycloid Mosaic", "Ctrl+Alt+L", "CycloidMosaic1", "Cycloid Mosaic")
          .one("Size of Cell", 3, "Range: 3 - 30").e,
      B(47, "Gradient Bars", C::Draw, "Gradient Bars", "Ctrl+Alt+W", "GradientBars1", "Gradient Bars")
          .one("Number of Bars", 3, "Range: 1 - 50").e,
      B(48, "Gradient", C::Draw, "Gradient", "Ctrl+J", "Gradient2", "Draw Gradient").e,
      B(49, "Merge Gradient", C::Draw, "Merge Gradient", "Ctrl+Alt+I", "MergeGradient1", "Merge Gradient")
          .one("% of Gradient", 50, "Range: 1 - 99").e,
      B(50, "Merge Buffer", C::Draw, "Merge Buffer", "Ctrl+Alt+J", "MergeBuffer1", "Merge Buffer")
          .one("% of Buffer", 50, "Range: 1 - 99").e,
      B(51, "Buttonize", C::Draw, "Buttonize", "Ctrl+U", "Buttonize1", "Buttonize")
          .one("Edge Size", 20, "Range: 1 - 45")
          .log(L("Pen", kPen, Fm::Colour))
          .log(L("Brush", kBrush, Fm::Colour)).e,
      B(52, "Plasma Cloud", C::Draw, "Plasma Cloud", "Ctrl+F4", "PlasmaCloud1", "Plasma Cloud")
          .one("Graininess", 700, "Lower = Smoother").e,
      B(53, "StretchBlur with Buffer", C::Distortions, "StretchBlur with Buffer", "Ctrl+F6", "StretchBlurwithBuffer1",
        "StretchBlur with Buffer")
          .def(1)
          .help("-Width/Hgt to Width/Hgt")
          .f(F(Box::eAmtMain, "U/D Amount", S(UDSBlurBuf)))
          .f(F(Box::eAmtSecond, "L/R Amount", M(53)))
          .f(F(Box::ePeaks2, "Repetitions", S(SBlurReps)))
          .log(L("Left/Right", M(53)))
          .log(L("Up/Down", S(UDSBlurBuf)))
          .log(L("Repetitions", S(SBlurReps)))
          .reset({UDSBlurBuf, SBlurReps}).e,
      B(54, "StretchBlur with Self", C::Distortions, "StretchBlur with Self", "Ctrl+F7", "StretchBlurwithSelf1",
        "StretchBlur with Self")
          .def(-1)
          .help("-Width/Hgt to Width/Hgt")
          .f(F(Box::eAmtMain, "U/D Amount", S(UDSBlurSelf)))
          .f(F(Box::eAmtSecond, "L/R Amount", M(54)))
          .f(F(Box::ePeaks2, "Repetitions", S(SBlurReps)))
          .log(L("Left/Right", M(54)))
          .log(L("Up/Down", S(UDSBlurSelf)))
          .log(L("Repetitions", S(SBlurReps)))
          .reset({UDSBlurSelf, SBlurReps}).e,
      B(55, "Water with Buffer", C::Distortions, "Water with Buffer", "Ctrl+F8", "WaterwithBuffer1", "Water with Buffer")
          .def(64)
          .help("-Width/Hgt to Width/Hgt")
          .f(F(Box::eAmtMain, "U/D Amount", S(UDWatBuf)))
          .f(F(Box::eAmtSecond, "L/R Amount", M(55)))
          .log(L("Left/Right", M(55)))
          .log(L("Up/Down", S(UDWatBuf)))
          .reset({UDWatBuf}).e,
      B(56, "Water with Self", C::Distortions, "Water with Self", "Ctrl+F9", "WaterwithSelf1", "Water with Self")
          .def(128)
          .help("-Width/Hgt to Width/Hgt")
          .f(F(Box::eAmtMain, "U/D Amount", S(UDWatSelf)))
          .f(F(Box::eAmtSecond, "L/R Amount", M(56)))
          .log(L("Left/Right", M(56)))
          .log(L("Up/Down", S(UDWatSelf)))
          .reset({UDWatSelf}).e,
      B(57, "SuperNova", C::Draw, "SuperNova", "Ctrl+F10", "SuperNova1", "SuperNova")
          .def(32)
          .help("Hue 0 - 360")
          .f(F(Box::eAmtMain, "Radius", M(57)))
          .f(F(Box::eAmtSecond, "Spokes", S(NovaSpok)))
          .f(F(Box::ePeaks2, "Random Hue", S(NovaHue)))
          .f(F(Box::eHeight2, "X Pos", S(NovaX)))
          .f(F(Box::eYPos, "Y Pos", S(NovaY)))
          .log(L("Colors:", kPen, Fm::Colour))
          .log(L("Radius", M(57)))
          .log(L("Spokes", S(NovaSpok)))
          .log(L("Hue", S(NovaHue)))
          .log(L("X Pos:", S(NovaX)))
          .log(L("Y Pos:", S(NovaY)))
          .reset({NovaSpok, NovaHue, NovaX, NovaY}).e,
      B(58, "HeightMap", C::Distortions, "HeightMap", "Ctrl+F11", "HeightMap1", "HeightMap")
          .one("Azimuth", 32, "Azimuth is Angle")
          .f(F(Box::eAmtSecond, "Elevation", S(HytEl)))
          .f(F(Box::ePeaks2, "Depth", S(HytDp)))
          .f(F(Box::cbBump, "Bump Map", S(HytBm), Fm::Flag))
          .check("Bump Map")
          .log(L("Elevation", S(HytEl)))
          .log(L("Depth", S(HytDp)))
          .log(L("BumpMap", S(HytBm), Fm::Flag))
          .reset({HytEl, HytDp, HytBm}).e,
      B(59, "Split Blur", C::Filters, "Split Blur", "Ctrl+F12", "SplitBlur1", "Split Blur")
          .one("Split Amount", 4, "Split offset", "Amount").e,
      B(60, "Split Gauss", C::Filters, "Split Gauss", "Ctrl+Shift+F12", "SplitGauss1", "Split Gauss")
          .one("Blur Amount", 3, "Bluriness", "Amount").e,
      B(61, "Trace", C::Distortions, "Trace", "Shift+F1", "Trace1", "Trace")
          .one("Intensity", 1, "Default is Black")
          .f(F(Box::cbBump, "Use Pen Color", S(TrUseVal), Fm::Flag))
          .check("Use Pen Color")
          .log(L("Color:", kTrace, Fm::Colour))
          .reset({TrColVal, TrUseVal}).e,
      B(62, "RippleTooth", C::Distortions, "RippleTooth", "Shift+F2", "RippleTooth1", "RippleTooth")
          .one("Amount", 16, "Width of Ripple").e,
      B(63, "Seamless Edge", C::Distortions, "Seamless Edge", "Shift+F3", "SeamlessEdge1", "Seamless Edge")
          .one("Amount", 16, "Width of Seam").e,
      B(64, "Waves", C::Distortions, "Waves", "Shift+F4", "Waves1", "Waves")
          .one("Amplitude", 24, "Phase is Shift Point")
          .f(F(Box::eAmtSecond, "Wave Length", S(WvLenVal)))
          .f(F(Box::ePeaks2, "Phase", S(WvPhsVal), Fm::RoundedInt))
          .f(F(Box::cbBump, "Reflective", S(WvRflVal), Fm::Flag))
          .check("Reflective")
          .log(L("Wave Length", S(WvLenVal)))
          .log(L("Phase", S(WvPhsVal), Fm::RoundedInt))
          .log(L("Reflective", S(WvRflVal), Fm::Flag))
          .reset({WvLenVal, WvPhsVal, WvRflVal}).e,
      B(65, "Whirl/Pinch", C::Distortions, "Whirl/Pinch", "Shift+F5", "WhirlPinch1", "Whirl/Pinch")
          .one("Angle", 270, "Angle is Amount of Effect")
          .f(F(Box::eAmtSecond, "Pinch (-1 to 1)", S(WhPchVal), Fm::Fixed2))
          .f(F(Box::ePeaks2, "Radius (0 to 2)", S(WhRadVal), Fm::Fixed2))
          .log(L("Pinch", S(WhPchVal), Fm::Fixed2))
          .log(L("Radius", S(WhRadVal), Fm::Fixed2))
          .reset({WhPchVal, WhRadVal}).e,
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
