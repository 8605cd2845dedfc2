// The effect catalogue as listed: names, categories, recorded names, defaults,
// the tool box's help texts and the second parameters' keys. (The menu
// captions are labels; the shortcuts are checked as key maps.)
#include <gtest/gtest.h>

#include <string>

#include "core/effects/catalogue.h"
#include "core/oplog/log_format.h"

using namespace vorq;

namespace {
// One column of every row joined by "|"; "=" where it repeats the column before, "-" for none.
template <typename F>
std::string Column(F get, const char* (*same)(const EffectInfo&) = nullptr) {
  std::string out;
  for (const EffectInfo& e : kCatalogue) {
    const char* v = get(e);
    out += std::string(!v ? "-" : same && std::string(v) == same(e) ? "=" : v) + "|";
  }
  return out;
}
const char* Name(const EffectInfo& e) { return e.CatalogueName; }
}  // namespace

TEST(Catalogue, RowsAsListed) {
  ASSERT_EQ(kCatalogue.size(), 66u);
  for (int i = 0; i < kEffectCount; ++i) EXPECT_EQ(Effect(i).Id, i);
  EXPECT_EQ(Column(Name),
            "Soften More|Soften Less|Edge Enhance More|Edge Enhance Less|Edge Emboss More|Edge Emboss Less|Classic "
            "Emboss|Hi Pass|Sharpen|Laplace|Blur|Find Edges|Gaussian Soft|Gaussian Blur|Design Your Own|SineWave "
            "U/D|SineWave L/R|SineWave Both|Twist|Fisheye|Circular|Astroid|Concentric Rects|Mosaic|Circle Mosaic|Color "
            "Noise|Spray|VorqSwizzle|Map Texture|Marble|Color Rotate|Negative|Brighten|Lighten|Tint|Gray Scale|Erase "
            "to Black|Exchange Color|ReSize Fast|ReSize Smooth|Rotate 90 Clockwise|Mirror L/R|Mirror U/D|Rotate "
            "Angle|Rotate Seamless|Scroll|Cycloid Mosaic|Gradient Bars|Gradient|Merge Gradient|Merge "
            "Buffer|Buttonize|Plasma Cloud|StretchBlur with Buffer|StretchBlur with Self|Water with Buffer|Water with "
            "Self|SuperNova|HeightMap|Split Blur|Split Gauss|Trace|RippleTooth|Seamless Edge|Waves|Whirl/Pinch|");
  std::string categories;
  for (const EffectInfo& e : kCatalogue) categories += "CDWFS"[int(e.category)];
  EXPECT_EQ(categories, "FFFFFFFFFFFFFFFDDDDDDDDDDDDDDDCCCCCCCCSSSSSSSSWWWWWWWDDDDWDFFDDDDD");
  EXPECT_STREQ(CategoryName(Category::SizeAspect), "Size/Aspect");
  EXPECT_EQ(Column([](const EffectInfo& e) { return e.RecordedName; }, Name),
            "=|=|=|=|=|=|=|HiPass|=|=|=|=|=|=|-|SineWave Up/Down|SineWave Left/Right|=|=|FishEye|=|=|=|=|=|=|=|=|=|=|=|"
            "=|=|=|=|GrayScale|=|=|=|=|Rotate 90|=|=|=|=|=|=|=|Draw Gradient|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|=|");
  EXPECT_STREQ(Effect(fx::Marble).Component, "Marble1");
  std::string defaults;
  for (const EffectInfo& e : kCatalogue) defaults += std::to_string(e.Default) + " ";
  EXPECT_EQ(defaults,
            "0 0 0 0 0 0 250 0 0 0 0 0 0 2 0 50 64 0 100 0 0 5 25 3 6 50 15 64 18 700 8 0 0 0 0 0 0 25 0 0 0 0 0 45 0 64 "
            "3 3 0 50 50 20 700 1 -1 64 128 32 32 4 3 1 16 16 24 270 ");
  EXPECT_EQ(Column([](const EffectInfo& e) { return e.HelpText; }),
            "No User Settings|No User Settings|No User Settings|No User Settings|No User Settings|No User "
            "Settings|Range: 1 - 510|No User Settings|No User Settings|No User Settings|No User Settings|No User "
            "Settings|No User Settings|Range: 1 - 5|No User Settings|Range: 1 - Height|Range: 1 - Width||Range: 1 - "
            "500|Range: 0.01 - 5.00|No User Settings|Range: 1 - 9 (Odd)|Range: 1 - 100|Range: 2 - 30|Range: 4 - "
            "40|Range: 1 - 500|Range: 1 - 250|Range: 1 - 200|Range: 10 - 30|Marble Ctls|Range: 1 - 8|No User "
            "Settings|No User Settings|No User Settings|No User Settings|No User Settings|No User Settings|Exchg Pen < "
            "Brush|No User Settings|No User Settings|No User Settings|No User Settings|No User Settings|Range: 1 - "
            "359|No User Settings|Range: 1 - Width|Range: 3 - 30|Range: 1 - 50|No User Settings|Range: 1 - "
            "99|Range: 1 - 99|Range: 1 - 45|Lower = Smoother|-Width/Hgt to Width/Hgt|-Width/Hgt to Width/Hgt|-Width/Hgt "
            "to Width/Hgt|-Width/Hgt to Width/Hgt|Hue 0 - 360|Azimuth is Angle|Split offset|Bluriness|Default is "
            "Black|Width of Ripple|Width of Seam|Phase is Shift Point|Angle is Amount of Effect|");
  // Second parameters: names (the settings keys) and start values.
  std::string second;
  for (const SecondParamInfo& p : kSecondParams) second += std::string(p.Name) + "=" + FormatReal(p.Default) + " ";
  EXPECT_EQ(second,
            "UDPeakVal=3 UDWavVal=32 LRPeakVal=2 LRWavVal=17 FishVal=0.75 ScaleVal=2 TurbVal=120 UDSBlurBuf=1 "
            "UDSBlurSelf=1 SBlurReps=32 UDWatBuf=100 UDWatSelf=-128 NovaSpok=64 NovaHue=32 NovaX=24 NovaY=36 HytEl=20 "
            "HytDp=16 HytBm=1 TrColVal=0 TrUseVal=0 WvLenVal=10 WvPhsVal=8 WvRflVal=0 WhPchVal=0.5 WhRadVal=1 ");
  EXPECT_EQ(FindEffectByCatalogueName("gray scale"), fx::GrayScale);
  EXPECT_EQ(FindEffectByCatalogueName("Filters"), -1);
  EXPECT_EQ(FindEffectByAnyName("SineWave Left/Right"), fx::SineWaveLR);
  EXPECT_EQ(FindEffectByAnyName("Hi Pass"), fx::HiPass);
}
