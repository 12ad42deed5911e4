#include "richtext/MarkupText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Tokens written compactly: words as themselves, blanks as "_", tags in square brackets.
std::string Split(const std::string& text) {
  WString wide = FromUtf8(text);
  std::string out;
  for (const MarkupToken& token : SplitMarkup(wide)) {
    if (!out.empty()) out += ' ';
    std::string part = ToUtf8(token.text);
    out += token.kind == MarkupToken::Blank ? "_" : token.kind == MarkupToken::Tag ? "[" + part + "]" : part;
  }
  return out;
}

TEST(SplitMarkup, WordsBlanksAndTags) {
  EXPECT_EQ(Split("<body>Check <b>Mirepan</b>?</body>"), "[<body>] Check _ [<b>] Mirepan [</b>] ? [</body>]");
  EXPECT_EQ(Split("a  b\r\n"), "a _ _ b _ _");
  EXPECT_EQ(Split("<P><BR><I>x</I><u>y</U>"), "[<P>] [<BR>] [<I>] x [</I>] [<u>] y [</U>]");
  EXPECT_EQ(Split(""), "");
}

TEST(SplitMarkup, TheColourTagTakesItsBlankAndTheColourWordEndsAtItsBracket) {
  EXPECT_EQ(Split("<color red>hot</color> x"), "[<color ] red> hot [</color>] _ x");
  EXPECT_EQ(Split("<COLOR FF8000>a b"), "[<COLOR ] FF8000> a _ b");
}

TEST(SplitMarkup, UnknownTagsStayInTheirWords) {
  EXPECT_EQ(Split("<color>x"), "<color> x");
  EXPECT_EQ(Split("a<x>b<b>c"), "a<x> b [<b>] c");
  EXPECT_EQ(Split("1<2 b"), "1<2 _ b");
}

TEST(SplitMarkup, TokensTileTheText) {
  std::string text = "<body>One <color blue>two</color><br>three&four<i> </i></body>";
  WString wide = FromUtf8(text);
  WString joined;
  for (const MarkupToken& token : SplitMarkup(wide)) joined += token.text;
  EXPECT_EQ(joined, wide);
}

TEST(MarkupColour, TheSixteenNamesIgnoreCase) {
  struct Case {
    const char* name;
    uint32_t rgb;
  } cases[] = {
      {"black", 0x000000},      {"blue", 0x0000FF},      {"cyan", 0x00FFFF},        {"darkblue", 0x000080},
      {"darkcyan", 0x70DB93},   {"darkgreen", 0x2F4F2F}, {"darkmagenta", 0xCC3299}, {"darkred", 0x8E2323},
      {"darkyellow", 0xD8D8BF}, {"gray", 0x545454},      {"green", 0x00FF00},       {"lightgray", 0xE6E8FA},
      {"magenta", 0xFF00FF},    {"red", 0xFF0000},       {"white", 0xFFFFFF},       {"yellow", 0xFFFF00}};
  for (const Case& c : cases) {
    EXPECT_EQ(MarkupColour(FromUtf8(std::string(c.name) + ">")), c.rgb) << c.name;
    EXPECT_EQ(MarkupColour(FromUtf8(c.name)), c.rgb) << c.name;
  }
  EXPECT_EQ(MarkupColour(TXT("DarkRed>")), 0x8E2323u);
}

TEST(MarkupColour, SixHexDigitsWithTheBracketElseBlack) {
  EXPECT_EQ(MarkupColour(TXT("FF8000>")), 0xFF8000u);
  EXPECT_EQ(MarkupColour(TXT("00a0Bf>")), 0x00A0BFu);
  EXPECT_EQ(MarkupColour(TXT("FF8000")), 0u);
  EXPECT_EQ(MarkupColour(TXT("FF80001>")), 0u);
  EXPECT_EQ(MarkupColour(TXT("FF80G0>")), 0u);
  EXPECT_EQ(MarkupColour(TXT("orange>")), 0u);
  EXPECT_EQ(MarkupColour(TXT("")), 0u);
}

}  // namespace
