#include "richtext/MarkupText.h"

#include <gtest/gtest.h>

#include <string>

TEST(SplitMarkup, WordsBlanksAndTagsTileTheText) {
  // Each text and its tokens: words as themselves, blanks as "_", tags in square brackets.
  const std::pair<const char*, const char*> rows[] = {
      {"a  b\r\n", "a _ _ b _ _"},
      {"<P><BR><I>x</I><u>y</U>", "[<P>] [<BR>] [<I>] x [</I>] [<u>] y [</U>]"},
      {"", ""},
      // The colour tag takes its blank; the colour word ends at its bracket.
      {"<color red>hot</color> x", "[<color ] red> hot [</color>] _ x"},
      // Unknown tags stay in their words.
      {"<color>x a<x>b<b>c 1<2 b", "<color> x _ a<x> b [<b>] c _ 1<2 _ b"}};
  for (const auto& [utf8, expected] : rows) {
    const WString text = FromUtf8(utf8);
    std::string tokens;
    WString joined;
    for (const MarkupToken& token : SplitMarkup(text)) {
      const std::string part = ToUtf8(token.text), shown[] = {part, "_", "[" + part + "]"};
      tokens += (tokens.empty() ? "" : " ") + shown[token.kind];
      joined += token.text;
    }
    EXPECT_EQ(expected, tokens) << utf8;
    EXPECT_EQ(text, joined) << utf8;
  }
}

TEST(MarkupColour, NamesIgnoreCaseElseSixHexDigitsWithTheBracketElseBlack) {
  // A sample of the sixteen names: the first and last of the table, a dark and a light one.
  // clang-format off
  const std::pair<const char*, uint32_t> names[] = {
      {"black", 0x000000}, {"blue", 0x0000FF}, {"darkcyan", 0x70DB93}, {"lightgray", 0xE6E8FA},
      {"yellow", 0xFFFF00}},
    others[] = {{"DarkRed>", 0x8E2323}, {"FF8000>", 0xFF8000}, {"00a0Bf>", 0x00A0BF}, {"FF8000", 0},
                {"FF80001>", 0}, {"FF80G0>", 0}, {"orange>", 0}, {"", 0}};
  // clang-format on
  for (const auto& [name, rgb] : names) {
    EXPECT_EQ(rgb, MarkupColour(FromUtf8(name))) << name;
    EXPECT_EQ(rgb, MarkupColour(FromUtf8(std::string(name) + ">"))) << name;
  }
  for (const auto& [word, rgb] : others) EXPECT_EQ(rgb, MarkupColour(FromUtf8(word))) << word;
}
