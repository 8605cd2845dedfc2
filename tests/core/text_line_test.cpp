// The text tool's log line: quoting, spacing, line breaks and alignment.
#include <gtest/gtest.h>

#include "core/oplog/text_line.h"

using namespace vorq;

namespace {
TextToolLine Line(std::string text, TextAlign align = TextAlign::Left) {
  TextToolLine l;
  l.Font = "Arial";
  l.Size = 12;
  l.Color = 0;
  l.Style = TextStyle::Bold;
  l.Text = std::move(text);
  l.X = 10;
  l.Y = -3;
  l.Align = align;
  return l;
}
}  // namespace

// The lines' exact texts (fonts with blanks, colours, Bold Italic) are pinned with the line shapes.
TEST(TextLine, ExactTextsWithAndWithoutAlignment) {
  EXPECT_EQ(FormatTextToolLine(Line("Hi there")),
            "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold \"Hi there\" , Location X 10 Y -3");
  TextToolLine l = Line("");
  for (auto [st, name] : {std::pair{TextStyle::Normal, "Normal"}, {TextStyle::Italic, "Italic"},
                          {TextStyle::BoldItalic, "Bold Italic"}}) {
    l.Style = st;
    EXPECT_NE(FormatTextToolLine(l).find(std::string(", Style ") + name + " \"\" ,"), std::string::npos) << name;
  }
  EXPECT_EQ(FormatTextToolLine(Line("A\nBBBB", TextAlign::Right)),
            "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold \"A\\nBBBB\" , Location X 10 Y -3, "
            "Alignment Right");
  EXPECT_EQ(FormatTextToolLine(Line("C:\\tiles", TextAlign::Center)),
            "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold \"C:\\\\tiles\" , Location X 10 Y -3, "
            "Alignment Center");
  // CR LF and a lone CR are line breaks too; what is written holds no CR or LF at all.
  const std::string written = FormatTextToolLine(Line("a\r\nb\rc\n"));
  EXPECT_EQ(written.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(ParseTextToolLine(written)->Text, "a\nb\nc\n");
}

TEST(TextLine, EveryTextComesBackExactly) {
  const char* texts[] = {"", "two\nlines", "\n\nleading breaks", "looks like the end\" , Location X 5 Y 6",
                         "back\\slash and \\n literally", "trailing backslash\\", "UTF-8 \xC3\xA9t\xC3\xA9"};
  for (const char* t : texts)
    for (TextAlign a : {TextAlign::Left, TextAlign::Center, TextAlign::Right}) {
      const auto back = ParseTextToolLine(FormatTextToolLine(Line(t, a)));
      ASSERT_TRUE(back) << FormatTextToolLine(Line(t, a));
      EXPECT_EQ(back->Text, t);
      EXPECT_EQ(back->Align, a);
    }
}

TEST(TextLine, HandWrittenLinesAreReadOrRefused) {
  const auto l = ParseTextToolLine(
      "Text Tool, Font Liberation Serif, Size 8, Color R: 1 G: 2 B: 3, Style Italic \"x\" , Location X 4 Y 5, "
      "Alignment Left");
  ASSERT_TRUE(l);
  EXPECT_EQ(l->Font, "Liberation Serif");
  EXPECT_EQ(l->Color, 0x030201u);
  EXPECT_TRUE(l->Size == 8 && l->X == 4 && l->Y == 5);
  EXPECT_EQ(l->Style, TextStyle::Italic);
  EXPECT_EQ(l->Align, TextAlign::Left);
  // A backslash before anything else than n or a backslash is kept as written.
  EXPECT_EQ(DecodeLogText("a\\tb\\"), "a\\tb\\");

  // Numbers, colours and cut lines are refused as for every command line; these are the text tool's own.
  const char* bad[] = {
      "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold \"x\", Location X 1 Y 2",   // no blank
      "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Regular \"x\" , Location X 1 Y 2",
      "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold \"x\" , Location X 1 Y 2 extra",
      "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold \"x\" , Location X 1 Y 2, Alignment Up",
      "Text Tool, Font Arial, Size 12, Color R: 0 G: 0 B: 0, Style Bold x , Location X 1 Y 2",
  };
  for (const char* b : bad) EXPECT_FALSE(ParseTextToolLine(b)) << b;
  // Sizes from 1 to 1000 points: a font beyond that would only exhaust memory.
  const auto sized = [](int size) {
    return ParseTextToolLine("Text Tool, Font A, Size " + std::to_string(size) +
                             ", Color R: 0 G: 0 B: 0, Style Bold \"x\" , Location X 1 Y 2");
  };
  EXPECT_TRUE(sized(1) && sized(1000));
  EXPECT_FALSE(sized(0) || sized(1001));
}
