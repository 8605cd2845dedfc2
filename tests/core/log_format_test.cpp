#include <gtest/gtest.h>

#include "core/effects/catalogue.h"
#include "core/oplog/log_format.h"

using namespace vorq;

TEST(LogFormat, ValueTexts) {
  EXPECT_EQ(FormatReal(3), "3");
  EXPECT_EQ(FormatReal(0.75), "0.75");
  EXPECT_EQ(FormatReal(17.5), "17.5");
  EXPECT_EQ(FormatReal(double(0.1f)), "0.100000001490116");
  EXPECT_EQ(FormatFixed2(0.5), "0.50");
  EXPECT_EQ(FormatFixed2(1), "1.00");
  EXPECT_EQ(FormatColour(0x800000), "R: 0 G: 0 B: 128");
  EXPECT_EQ(FormatColour(0x0000FF), "R: 255 G: 0 B: 0");
  EXPECT_EQ(NotAnInteger("abc"), "'abc' is not a valid integer value");
  EXPECT_EQ(NotAReal("1,5"), "'1,5' is not a valid floating point value");
}

TEST(LogFormat, ConversionsAcceptWholeNumbersOnly) {
  EXPECT_EQ(ParseInt(" 42"), 42);
  EXPECT_EQ(ParseInt("-7"), -7);
  EXPECT_FALSE(ParseInt(""));
  EXPECT_FALSE(ParseInt("4.5"));
  EXPECT_FALSE(ParseInt("12abc"));
  EXPECT_FALSE(ParseInt("99999999999"));
  EXPECT_EQ(ParseReal("0.75"), 0.75);
  EXPECT_EQ(ParseReal("1E-5"), 1e-5);
  EXPECT_FALSE(ParseReal("nan"));
  EXPECT_FALSE(ParseReal("1e999"));
  EXPECT_FALSE(ParseReal("0x10"));
  EXPECT_EQ(ParseColour("R: 1 G: 2 B: 3"), 0x030201u);
  EXPECT_FALSE(ParseColour("R: 256 G: 0 B: 0"));
  EXPECT_EQ(SplitLogLine("Gaussian Blur, Blurriness 3"), (std::vector<std::string>{"Gaussian Blur", "Blurriness 3"}));
}

TEST(Catalogue, RowsAsListed) {
  ASSERT_EQ(kCatalogue.size(), 66u);
  for (int i = 0; i < kEffectCount; ++i) EXPECT_EQ(Effect(i).Id, i);
  EXPECT_STREQ(Effect(29).Component, "Marble1");
  EXPECT_STREQ(Effect(29).Shortcut, "Ctrl+F3");
  EXPECT_STREQ(Effect(60).Shortcut, "Ctrl+Shift+F12");
  EXPECT_STREQ(Effect(7).MenuCaption, "HiPass");
  EXPECT_STREQ(Effect(35).RecordedName, "GrayScale");
  EXPECT_EQ(Effect(14).RecordedName, nullptr);
  EXPECT_STREQ(Effect(48).RecordedName, "Draw Gradient");
  EXPECT_EQ(Effect(54).Default, -1);
  EXPECT_EQ(Effect(6).Default, 250);
  EXPECT_STREQ(Effect(65).HelpText, "Angle is Amount of Effect");
  EXPECT_STREQ(Effect(32).HelpText, "No User Settings");
  int counts[kCategoryCount] = {};
  for (const auto& e : kCatalogue) ++counts[int(e.category)];
  EXPECT_EQ(counts[int(Category::Color)], 8);
  EXPECT_EQ(counts[int(Category::Distortions)], 25);
  EXPECT_EQ(counts[int(Category::Draw)], 8);
  EXPECT_EQ(counts[int(Category::Filters)], 17);
  EXPECT_EQ(counts[int(Category::SizeAspect)], 8);
  EXPECT_EQ(FindEffectByCatalogueName("gray scale"), 35);
  EXPECT_EQ(FindEffectByCatalogueName("Filters"), -1);
  EXPECT_EQ(FindEffectByAnyName("SineWave Left/Right"), 16);
  EXPECT_EQ(FindEffectByAnyName("Hi Pass"), 7);
}
