// The recipe language: every command line as the program writes it (texts
// pinned here, not taken from the shapes table), parsed and written back.
#include <gtest/gtest.h>

#include <clocale>
#include <set>

#include "core/oplog/effect_lines.h"
#include "core/oplog/line_shapes.h"
#include "core/oplog/log_format.h"

namespace vorq {
namespace {

struct Sample {
  LineKind kind;
  const char* line;
  std::vector<int64_t> ints;  // the integer-like holes in order (colours as 0x00BBGGRR)
};

const Sample kSamples[] = {
    {LineKind::LogHeader,
     "Log starts  - current Gradient: Width 256, Height 256, Gradient VertCenter, From Color R: 0 G: 0 B: 128, To "
     "Color R: 0 G: 255 B: 255, Angle 0",
     {256, 256, 0x800000, 0xFFFF00}},
    {LineKind::LogAppend, "<=Appending to Existing Log=>", {}},
    {LineKind::Undo, "UnDo", {}},
    {LineKind::ScrollRight, "Scroll Right 64", {64}},
    {LineKind::ScrollLeft, "Scroll Left -3", {-3}},
    {LineKind::ScrollDown, "Scroll Down 2147483647", {2147483647}},
    {LineKind::ScrollUp, "Scroll Up -2147483648", {-2147483648LL}},
    {LineKind::ResizeFast, "Resize Fast, Width 640, Height 480", {640, 480}},
    {LineKind::ResizeSmooth, "Resize Smooth, Width 10, Height 20", {10, 20}},
    {LineKind::DesignYourOwnFilter, "Design Your Own Filter, Settings: 2 1 1 1 -3 -1 1 -1 -1 , Divisor 1", {}},
    {LineKind::Sliders,
     "ToolBox Sliders to positions:  Lightness 25, Contrast 0, Saturation 145, Red 0, Green -55, Blue -255",
     {25, 0, 145, 0, -55, -255}},
    {LineKind::EdgeMerge16, "Edge Merge 1/16", {}},
    {LineKind::EdgeMerge8, "Edge Merge 1/8", {}},
    {LineKind::EdgeMerge4, "Edge Merge 1/4", {}},
    {LineKind::FourWayFlip, "4 Way Flip", {}},
    {LineKind::OpenFile, "Open File /tmp/a, b/c d.bmp", {}},
    {LineKind::NewImage, "New Image, Color R: 255 G: 0 B: 16", {0x1000FF}},
    {LineKind::ImageReset, "Image Reset", {}},
    {LineKind::CopyImageToClipboard, "Copy Image to Clipboard", {}},
    {LineKind::PasteClipboardToImage, "Paste Clipboard to Image", {}},
    {LineKind::PasteTransparent, "Paste Transparent", {}},
    {LineKind::PasteAsSelection, "Paste As Selection at Left -5, Top 7", {-5, 7}},
    {LineKind::CopyImageToBuffer, "Copy Image to Buffer", {}},
    {LineKind::PasteBufferToImage, "Paste Buffer to Image", {}},
    {LineKind::LoadBufferFromFile, "Load Buffer from File C:\\tiles\\stone.bmp", {}},
    {LineKind::CopyBufferToClipboard, "Copy Buffer to Clipboard", {}},
    {LineKind::PasteClipboardToBuffer, "Paste Clipboard to Buffer", {}},
    {LineKind::PasteGradientToImage, "Paste Gradient to Image", {}},
    {LineKind::DesignGradient,
     "Design Gradient, Width 256, Height 128, Gradient Radial, From Color R: 1 G: 2 B: 3, To Color R: 4 G: 5 B: 6, "
     "Angle 45",
     {0x030201, 0x060504}},
    {LineKind::MultiGradient,
     "MultiGradient,  Width 300, Height 200, Back Color R: 0 G: 0 B: 0, Left Color R: 255 G: 0 B: 0, Right Color R: "
     "0 G: 0 B: 255, Left Position 6, Right Position 294",
     {0, 0xFF, 0xFF0000, 6, 294}},
    {LineKind::ColorWheel, "Color Wheel", {}},
    {LineKind::Rainbow, "Rainbow", {}},
    {LineKind::FreeHand, "FreeHand Drawing, Pen Size 5, Pen Color R: 0 G: 128 B: 0", {0x008000}},
    {LineKind::Ellipse,
     "Ellipse from X 10 Y 20, To X 30 Y 40, Pen Size 2, Pen Color R: 0 G: 0 B: 0, Brush Color R: 255 G: 255 B: 255, "
     "Not Filled",
     {10, 20, 30, 40, 0, 0xFFFFFF, 1}},
    {LineKind::Rectangle,
     "Rectangle from X 1 Y 2, To X 3 Y 4, Pen Size 2, Pen Color R: 0 G: 0 B: 0, Brush Color R: 0 G: 0 B: 0, Filled",
     {1, 2, 3, 4, 0, 0, 0}},
    {LineKind::Line, "Line from X 1 Y 2 To X 3 Y 4, Pen Size 3, Pen Color R: 9 G: 8 B: 7, Pen MaskNotPen",
     {1, 2, 3, 4, 0x070809, 1}},
    {LineKind::SelectArea, "Select Area From Left 200 Top 10, Right 120 Bottom 80, Copy to Buffer",
     {200, 10, 120, 80, 1}},
    {LineKind::FloodFill, "FloodFill at location X 0 Y 255, Brush Color R: 48 G: 32 B: 16", {0, 255, 0x102030}},
    {LineKind::Eyedropper, "Eyedropper at location X 150 Y 50", {150, 50}},
    {LineKind::TextTool,
     "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold \"say \"hi\" , Location X 1\" , Location X 3 "
     "Y 4",
     {12, 0, 1, 3, 4}},
    {LineKind::TextToolAligned,
     "Text Tool, Font Liberation Sans, Size 20, Color R: 255 G: 0 B: 0, Style Bold Italic \"one\\ntwo\" , Location X "
     "-1 Y 2, Alignment Right",
     {20, 0xFF, 3, -1, 2, 2}},
    {LineKind::FreeHandWrap, "FreeHand Drawing, Pen Size 5, Pen Color R: 0 G: 128 B: 0, Wrap", {0x008000}},
    {LineKind::EllipseWrap,
     "Ellipse from X -3 Y 20, To X 30 Y 40, Pen Size 2, Pen Color R: 0 G: 0 B: 0, Brush Color R: 255 G: 255 B: 255, "
     "Filled, Wrap",
     {-3, 20, 30, 40, 0, 0xFFFFFF, 0}},
    {LineKind::RectangleWrap,
     "Rectangle from X 1 Y 2, To X 3 Y 4, Pen Size 2, Pen Color R: 0 G: 0 B: 0, Brush Color R: 0 G: 0 B: 0, Not "
     "Filled, Wrap",
     {1, 2, 3, 4, 0, 0, 1}},
    {LineKind::LineWrap, "Line from X 1 Y 2 To X 300 Y 4, Pen Size 3, Pen Color R: 9 G: 8 B: 7, Pen XORPen, Wrap",
     {1, 2, 300, 4, 0x070809, 11}},
    {LineKind::FloodFillWrap, "FloodFill at location X 0 Y 255, Brush Color R: 48 G: 32 B: 16, Wrap", {0, 255, 0x102030}},
    {LineKind::FloodFillTolerance, "FloodFill at location X 3 Y 4, Brush Color R: 1 G: 2 B: 3, Tolerance 40",
     {3, 4, 0x030201, 40}},
    {LineKind::FloodFillToleranceWrap, "FloodFill at location X 0 Y 1, Brush Color R: 1 G: 2 B: 3, Tolerance 255, Wrap",
     {0, 1, 0x030201, 255}},
    {LineKind::PasteAsSelectionWrap, "Paste As Selection at Left -3, Top 250, Wrap", {-3, 250}},
    {LineKind::SelectAreaWrap, "Select Area From Left -4 Top 10, Right 9 Bottom 80, Crop to Selection, Wrap",
     {-4, 10, 9, 80, 2}},
    {LineKind::EdgeMerge16Axis, "Edge Merge 1/16, Axis Left/Right", {1}},
    {LineKind::EdgeMerge8Axis, "Edge Merge 1/8, Axis Top/Bottom", {2}},
    {LineKind::EdgeMerge4Axis, "Edge Merge 1/4, Axis Left/Right", {1}},
};

TEST(LineShapes, EveryCommandLineParsesAndWritesBackUnchanged) {
  std::set<LineKind> covered;
  for (const Sample& s : kSamples) {
    const ParsedCommand p = ParseCommandLine(s.line);
    ASSERT_TRUE(p.Matched) << s.line << ": " << p.Error;
    EXPECT_EQ(p.Kind, s.kind) << s.line;
    std::vector<int64_t> ints;
    for (const LineArg& a : p.Args)
      if (a.Text.empty()) ints.push_back(a.Int);
    EXPECT_EQ(ints, s.ints) << s.line;
    EXPECT_EQ(WriteLine(p.Kind, p.Args), s.line);
    covered.insert(s.kind);
  }
  EXPECT_EQ(covered.size(), size_t(kLineKindCount)) << "a sample for every shape";
}

TEST(LineShapes, TextHolesKeepWhatWasTypedMalformedLinesAreRefused) {
  ParsedCommand p = ParseCommandLine(kSamples[9].line);
  ASSERT_EQ(p.Args.size(), 10u);
  EXPECT_EQ(p.Args[4].Text, "-3");
  EXPECT_EQ(p.Args[9].Text, "1");
  // The memo text runs to the last " , Location X ", so quotes and the separator may appear in it.
  p = ParseCommandLine(kSamples[39].line);
  EXPECT_EQ(p.Args[0].Text, "Arial");
  EXPECT_EQ(p.Args[4].Text, "say \"hi\" , Location X 1");
  for (const char* bad : {
           "Line from X 1 Y 2 To X 3, Pen Size 2, Pen Color R: 0 G: 0 B: 0, Pen XORPen",
           "Ellipse from X 1 Y 2, To X 3 Y 4, Pen Size 2, Pen Color R: 0 G: 0 B: 0, Brush Color R: 0 G: 0 B: 0, Full",
           "FloodFill at location X 1 Y 99999999999, Brush Color R: 0 G: 0 B: 0",
           "Select Area From Left 1 Top 2, Right 3 Bottom 4, Paint It",
           "ToolBox Sliders to positions:  Lightness 25",
           "New Image, Color R: 256 G: 0 B: 0",
           "Design Your Own Filter, Settings: 1 2 3 4 5 6 7 8 9 10 , Divisor 1",
       }) {
    const ParsedCommand p = ParseCommandLine(bad);
    EXPECT_FALSE(p.Matched) << bad;
    EXPECT_FALSE(p.Error.empty()) << bad;
  }
  EXPECT_EQ(ParseCommandLine("Scroll Right x").Error, "'x' is not a valid integer value");
  EXPECT_EQ(ParseCommandLine("Resize Fast, Width 10").Error, "expected \"Resize Fast, Width n, Height n\"");
  EXPECT_EQ(ParseCommandLine("Line from X 1 Y 2").Error,
            "expected \"Line from X n Y n To X n Y n, Pen Size text, Pen Color R: r G: g B: b, Pen Normal\"");
  EXPECT_EQ(ParseCommandLine("Line from X 1 Y 2 To X 3 Y 4, Pen Size 2, Pen Color R: 0 G: 0 B: 0, Pen Sideways").Error,
            "'Sideways' is not a pen mode");
  // Lines that are no command shape are left for the effect parser.
  for (const char* other : {"Blur", "Edge Merge 1/3", "UnDo twice", "Marble, Graininess 700"})
    EXPECT_TRUE(!ParseCommandLine(other).Matched && ParseCommandLine(other).Error.empty()) << other;
}

TEST(EffectLines, NamesValuesTheEdgeMergeNameAndTheSeamChoice) {
  ParsedEffect e = ParseEffectLine("SineWave Up/Down, WaveLength 32, Height 50, Wrap = True", -1);
  ASSERT_EQ(e.Error, "");
  EXPECT_EQ(e.EffectId, fx::SineWaveUD);
  ASSERT_EQ(e.Values.size(), 3u);
  EXPECT_TRUE(e.Values[0].Alt);
  EXPECT_EQ(e.Values[0].Value.Real, 32);
  EXPECT_EQ(e.Values[2].Value.Int, 1);

  e = ParseEffectLine("Map Texture, Brightness 18, Use Buffer", -1);
  ASSERT_EQ(e.Error, "");
  EXPECT_EQ(e.Values[1].Value.Text, "Use Buffer");

  // Apply after an Edge Merge names the merge; the values are the current effect's.
  e = ParseEffectLine("EdgeMerge8, Graininess 650, Scale 2.5, Turbulence 3", fx::Marble);
  EXPECT_EQ(e.EffectId, fx::Marble);
  EXPECT_EQ(e.Error, "");
  EXPECT_EQ(ParseEffectLine("EdgeMerge8", -1).Error,
            "\"EdgeMerge8\" applies the current effect, and none was chosen before it");

  EXPECT_EQ(ParseEffectLine("Marble, Grain 3", -1).Error, "\"Marble\" has no value \"Grain 3\"");
  EXPECT_EQ(ParseEffectLine("Twist, Looseness 1.5", -1).Error, "'1.5' is not a valid integer value");
  EXPECT_EQ(ParseEffectLine("Waves, Reflective Yes", -1).Error, "'Yes' is not True or False");
  EXPECT_EQ(ParseEffectLine("Nonsense", -1).Error, "unknown command \"Nonsense\"");
  EXPECT_EQ(ParseEffectLine("Gray Scale", -1).EffectId, fx::GrayScale);
  // The Waves phase is written rounded to the nearest integer, ties to even.
  const std::pair<double, const char*> phases[] = {{9.5, ", Phase 10,"}, {8.5, ", Phase 8,"}, {7.6, ", Phase 8,"}};
  for (const auto& p : phases) {
    const std::string waves =
        WriteEffectLine(fx::Waves, "Waves", true, [&](const ValueRef&, Format) { return Real(p.first); });
    EXPECT_NE(waves.find(p.second), std::string::npos) << waves;
  }
  EXPECT_EQ(ParseEffectLine("GrayScale", -1).EffectId, fx::GrayScale);
  const char* const tails[] = {"", ", Axis Left/Right", ", Axis Top/Bottom"};
  for (int axis : {0, 1, 2}) {
    auto read = [&](const ValueRef& r, Format) { return Real(r.kind == ValueRef::SeamAxis ? axis : 16); };
    const std::string line = WriteEffectLine(fx::SeamlessEdge, "Seamless Edge", true, read);
    EXPECT_EQ(line, std::string("Seamless Edge, Amount 16") + tails[axis]);
    const ParsedEffect p = ParseEffectLine(line, -1);  // a line without the choice means Both
    ASSERT_EQ(p.Values.size(), 2u);
    EXPECT_EQ(p.Values[1].Value.Int, axis);
  }
  EXPECT_EQ(ParseEffectLine("Seamless Edge, Axis Sideways", -1).Error,
            "'Sideways' is not one of Both, Left/Right, Top/Bottom");
  EXPECT_EQ(ParseCommandLine("Edge Merge 1/16, Axis Sideways").Error,
            "expected \"Edge Merge 1/16, Axis Both or Left/Right or Top/Bottom\"");
}

// Numbers never follow the desktop's language.
TEST(LogFormat, NumbersIgnoreACommaLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine";
  EXPECT_EQ(FormatReal(0.75), "0.75");
  EXPECT_EQ(FormatReal(1e-5), "1E-5");
  EXPECT_EQ(FormatFixed2(0.5), "0.50");
  EXPECT_EQ(ParseReal("2.5"), 2.5);
  EXPECT_EQ(ParseReal("0,75"), std::nullopt);
  EXPECT_EQ(ParseReal("0,75", true), 0.75);
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace vorq
