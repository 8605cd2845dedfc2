#include <gtest/gtest.h>

#include "core/oplog/log_format.h"

using namespace vorq;

// Colours, the integer bounds and the comma locale are pinned with the line shapes.
TEST(LogFormat, ValueTexts) {
  EXPECT_EQ(FormatReal(3), "3");
  EXPECT_EQ(FormatReal(17.5), "17.5");
  EXPECT_EQ(FormatReal(double(0.1f)), "0.100000001490116");
  EXPECT_EQ(FormatReal(-1e20), "-1E+20");
  EXPECT_EQ(FormatFixed2(1), "1.00");
  EXPECT_EQ(NotAReal("1,5"), "'1,5' is not a valid floating point value");
}

TEST(LogFormat, ConversionsAcceptWholeNumbersOnly) {
  EXPECT_EQ(ParseInt(" 42"), 42);
  EXPECT_EQ(ParseInt("-7"), -7);
  EXPECT_EQ(ParseInt("\t+5 \t"), 5);
  EXPECT_FALSE(ParseInt("2147483648") || ParseInt("-2147483649"));
  EXPECT_FALSE(ParseInt("") || ParseInt("-"));
  EXPECT_FALSE(ParseInt("4.5"));
  EXPECT_FALSE(ParseInt("12abc"));
  EXPECT_FALSE(ParseInt("99999999999"));
  EXPECT_EQ(ParseReal("0.75"), 0.75);
  EXPECT_EQ(ParseReal("1E-5"), 1e-5);
  EXPECT_FALSE(ParseReal("nan"));
  EXPECT_FALSE(ParseReal("1e999"));
  EXPECT_FALSE(ParseReal("0x10"));
  EXPECT_EQ(ParseReal("+2.5"), 2.5);
  EXPECT_FALSE(ParseReal("+-1") || ParseReal("1.5.5") || ParseReal("1-2"));
  EXPECT_EQ(ParseColour("R: 1 G: 2 B: 3"), 0x030201u);
  EXPECT_FALSE(ParseColour("R: 256 G: 0 B: 0"));
  EXPECT_FALSE(ParseColour("R: -1 G: 0 B: 0") || ParseColour("R: 0 G: 256 B: 0") || ParseColour("R: 1 G: 2 B: 3x"));
  EXPECT_EQ(ParseFlag(" False"), false);
  EXPECT_EQ(ParseFlag("True"), true);
  EXPECT_FALSE(ParseFlag("true"));
  EXPECT_EQ(FormatFlag(false), "False");
  EXPECT_EQ(SplitLogLine("Gaussian Blur, Blurriness 3"), (std::vector<std::string>{"Gaussian Blur", "Blurriness 3"}));
}
