#include <gtest/gtest.h>

#include <cstdio>

#include "storage/Text.h"

namespace {

// Units or bytes in hex, so that a failure shows which one differs.
template <typename Text>
std::string Hex(const Text& text) {
  std::string out;
  char unit[8];
  for (const auto c : text) {
    const unsigned value = sizeof c == 1 ? static_cast<unsigned char>(c) : static_cast<unsigned>(c);
    std::snprintf(unit, sizeof unit, sizeof c == 1 ? " %02X" : " %04X", value);
    out += unit;
  }
  return out;
}

WString Units(const std::u16string& units) {
  return WString(units.begin(), units.end());
}

// Names compare by their folded letters, then by length, and share a look-up key when equal; the second
// table holds names in Latin-1, Latin Extended-A, Greek and Cyrillic that differ only in case.
TEST(Text, CompareNoCaseOrdersByLettersThenLength) {
  struct Order {
    const WChar* a;
    const WChar* b;
    int sign;
  };
  const Order ascii[] = {
      {TXT("a"), TXT("B"), -1},       {TXT("Zest"), TXT("apple"), 1},
      {TXT("beans"), TXT("Bean"), 1}, {TXT("BEAN"), TXT("bean"), 0},
      {TXT(""), TXT(""), 0},          {TXT(""), TXT("a"), -1},
      {TXT("Meat"), TXT("MEAL"), 1},  {TXT("apple"), TXT("Banana"), -1},
  };
  const Order scripts[] = {
      {TXT("Total Fat (g)"), TXT("total fat (G)"), 0},
      {TXT("\u00C9clair"), TXT("\u00E9CLAIR"), 0},
      {TXT("\u0152UFS"), TXT("\u0153ufs"), 0},
      {TXT("\u017D\u00CDTO"), TXT("\u017E\u00EDto"), 0},
      {TXT("\u039C\u0395\u039B\u0399"), TXT("\u03BC\u03B5\u03BB\u03B9"), 0},
      {TXT("\u0425\u041B\u0415\u0411"), TXT("\u0445\u043B\u0435\u0431"), 0},
      {TXT("\u0401\u0416"), TXT("\u0451\u0436"), 0},
  };
  const auto check = [](const Order& c) {
    SCOPED_TRACE(ToUtf8(c.a) + " / " + ToUtf8(c.b));
    const int result = CompareNoCase(c.a, c.b);
    EXPECT_EQ(c.sign, (result > 0) - (result < 0));
    EXPECT_EQ(c.sign == 0, EqualsNoCase(c.a, c.b));
    EXPECT_EQ(c.sign == 0, NoCaseKey(c.a) == NoCaseKey(c.b));
  };
  for (const Order& c : ascii) check(c);
  for (const Order& c : scripts) check(c);
  EXPECT_FALSE(EqualsNoCase(TXT("\u00D7"), TXT("\u00F7")));  // the two signs are no letters
}

// Each row: a unit and what it folds to. Capitals of ASCII, Latin-1 (U+00C0..U+00DE but U+00D7),
// Latin Extended-A (pairs with the capital at the even code, then two runs shifted by one, and
// U+0178), Greek (U+0391..U+03AB but U+03A2) and Cyrillic (U+0400..U+040F by 80, U+0410..U+042F
// by 32) fold; the neighbours of every range, the signs and the letters without a pair do not.
TEST(Text, FoldCaseMapsCapitalsToSmallLettersAndLeavesTheRest) {
  const std::pair<unsigned, unsigned> cases[] = {
      {'A', 'a'},     {'Z', 'z'},     {'@', '@'},     {'[', '['},     {'a', 'a'},     {'z', 'z'},
      {'`', '`'},     {'{', '{'},     {'0', '0'},     {0xBF, 0xBF},   {0xC0, 0xE0},   {0xC9, 0xE9},
      {0xD6, 0xF6},   {0xD7, 0xD7},   {0xD8, 0xF8},   {0xDE, 0xFE},   {0xDF, 0xDF},   {0xE0, 0xE0},
      {0xF7, 0xF7},   {0xFF, 0xFF},   {0x100, 0x101}, {0x101, 0x101}, {0x136, 0x137}, {0x137, 0x137},
      {0x138, 0x138}, {0x139, 0x13A}, {0x13A, 0x13A}, {0x147, 0x148}, {0x148, 0x148}, {0x149, 0x149},
      {0x14A, 0x14B}, {0x176, 0x177}, {0x177, 0x177}, {0x178, 0xFF},  {0x179, 0x17A}, {0x17D, 0x17E},
      {0x17E, 0x17E}, {0x17F, 0x17F}, {0x180, 0x180}, {0x390, 0x390}, {0x391, 0x3B1}, {0x3A1, 0x3C1},
      {0x3A2, 0x3A2}, {0x3A3, 0x3C3}, {0x3AB, 0x3CB}, {0x3AC, 0x3AC}, {0x3C2, 0x3C2}, {0x3FF, 0x3FF},
      {0x400, 0x450}, {0x40F, 0x45F}, {0x410, 0x430}, {0x42F, 0x44F}, {0x430, 0x430}, {0x450, 0x450},
  };
  for (const auto& [unit, folded] : cases)
    EXPECT_EQ(folded, static_cast<unsigned>(FoldCase(static_cast<WChar>(unit)))) << std::hex << unit;
}

// Both ways: the last and first code point of every sequence length, and a pair in a text.
TEST(Text, Utf8SequenceLengthsChangeAtTheirBoundaries) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"\u0001", "\x01"},
      {u"\u007F", "\x7F"},
      {u"\u0080", "\xC2\x80"},
      {u"\u07FF", "\xDF\xBF"},
      {u"\u0800", "\xE0\xA0\x80"},
      {u"\uD7FF", "\xED\x9F\xBF"},
      {u"\uE000", "\xEE\x80\x80"},
      {u"\uFFFF", "\xEF\xBF\xBF"},
      {u"\U00010000", "\xF0\x90\x80\x80"},
      {u"\U0010FC00", "\xF4\x8F\xB0\x80"},
      {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
      {u"cr\u00E8me \u20AC \U0001F34E", "cr\xC3\xA8me \xE2\x82\xAC \xF0\x9F\x8D\x8E"},
  };
  for (const auto& [units, bytes] : cases) {
    EXPECT_EQ(Hex(bytes), Hex(ToUtf8(Units(units)))) << Hex(units);
    EXPECT_EQ(Hex(units), Hex(FromUtf8(bytes))) << Hex(bytes);
  }
}

// A surrogate without its partner has no code point of its own: it is written as the unit it is.
TEST(Text, LoneSurrogatesAreWrittenUnitByUnit) {
  const std::pair<std::u16string, std::string> cases[] = {
      {{0xD800}, "\xED\xA0\x80"},
      {{0xDBFF, u'A'}, "\xED\xAF\xBF\x41"},
      {{0xD800, 0xE000}, "\xED\xA0\x80\xEE\x80\x80"},
      {{0xDC00}, "\xED\xB0\x80"},
      {{0xDFFF, 0xD800}, "\xED\xBF\xBF\xED\xA0\x80"},
      {{u'x', 0xDBFF, 0xDFFF}, "x\xF4\x8F\xBF\xBF"},
      {{0xD7FF, 0xDC00}, "\xED\x9F\xBF\xED\xB0\x80"},
      {{0xDC00, 0xDC00}, "\xED\xB0\x80\xED\xB0\x80"},
      {{0xD800, 0xDBFF}, "\xED\xA0\x80\xED\xAF\xBF"},
  };
  for (const auto& [units, bytes] : cases) EXPECT_EQ(Hex(bytes), Hex(ToUtf8(Units(units)))) << Hex(units);
  // A view that ends with a high surrogate does not reach past its end for the partner.
  const WString pair = Units({0xD800, 0xDC00});
  EXPECT_EQ("\xED\xA0\x80", ToUtf8(WStringView(pair).substr(0, 1)));
}

// Bytes that start no sequence, and sequences cut off by the end of the text, read as the
// Latin-1 characters of the same codes, one per byte.
TEST(Text, StrayAndCutOffUtf8BytesReadAsLatin1) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"caf\xC3", u"caf\u00C3"},
      {"\xE2\x82", u"\u00E2\u0082"},
      {"\xF0\x9F\x8D", u"\u00F0\u009F\u008D"},
      {"\x80\x61", u"\u0080a"},
      {"\xBF", u"\u00BF"},
      {"\xC3\xA9\xC3", u"\u00E9\u00C3"},
      {"\xF0\x9F\x8D\x8E!", u"\U0001F34E!"},
      {"", u""},
  };
  for (const auto& [bytes, units] : cases) EXPECT_EQ(Hex(units), Hex(FromUtf8(bytes))) << Hex(bytes);
  EXPECT_EQ(TXT("Calories 12.5"), FromAscii("Calories 12.5"));
}

}  // namespace
