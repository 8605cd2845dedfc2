#include <gtest/gtest.h>

#include "core/oplog/log_format.h"

using namespace vorq;

// Colours, the integer bounds and the comma locale are pinned with the line shapes.
TEST(LogFormat, ValueTextsAndConversions) {
  EXPECT_EQ(FormatReal(3), "3");
  EXPECT_EQ(FormatReal(17.5), "17.5");
  EXPECT_EQ(FormatReal(double(0.1f)), "0.100000001490116");
  EXPECT_EQ(FormatReal(-1e20), "-1E+20");
  EXPECT_EQ(FormatFixed2(1), "1.00");
  EXPECT_EQ(NotAReal("1,5"), "'1,5' is not a valid floating point value");
  for (auto [text, value] : {std::pair{" 42", 42}, {"-7", -7}, {"\t+5 \t", 5}}) EXPECT_EQ(ParseInt(text), value) << text;
  for (const char* bad : {"2147483648", "-2147483649", "", "-", "4.5", "12abc", "99999999999"})
    EXPECT_FALSE(ParseInt(bad)) << bad;
  for (auto [text, value] : {std::pair{"0.75", 0.75}, {"1E-5", 1e-5}, {"+2.5", 2.5}}) EXPECT_EQ(ParseReal(text), value);
  for (const char* bad : {"nan", "1e999", "0x10", "+-1", "1.5.5", "1-2"}) EXPECT_FALSE(ParseReal(bad)) << bad;
  EXPECT_EQ(ParseColour("R: 1 G: 2 B: 3"), 0x030201u);
  for (const char* bad :
       {"R: 256 G: 0 B: 0", "R: -1 G: 0 B: 0", "R: 0 G: 256 B: 0", "R: 0 G: 0 B: 256", "R: 1 G: 2 B: 3x"})
    EXPECT_FALSE(ParseColour(bad)) << bad;
  EXPECT_EQ(ParseFlag(" False"), false);
  EXPECT_EQ(ParseFlag("True"), true);
  EXPECT_FALSE(ParseFlag("true"));
  EXPECT_EQ(FormatFlag(false), "False");
  EXPECT_EQ(SplitLogLine("Gaussian Blur, Blurriness 3"), (std::vector<std::string>{"Gaussian Blur", "Blurriness 3"}));
}
