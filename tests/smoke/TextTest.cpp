#include <gtest/gtest.h>

#include <cstdio>

#include "storage/Text.h"

namespace {

std::string Hex(WStringView text) {
  std::string out;
  char unit[8];
  for (const WChar c : text) {
    std::snprintf(unit, sizeof unit, "%s%04X", out.empty() ? "" : " ", static_cast<unsigned>(c));
    out += unit;
  }
  return out;
}

std::string HexBytes(const std::string& bytes) {
  std::string out;
  char byte[4];
  for (const char c : bytes) {
    std::snprintf(byte, sizeof byte, "%s%02X", out.empty() ? "" : " ", static_cast<unsigned char>(c));
    out += byte;
  }
  return out;
}

TEST(Text, CompareNoCaseFoldsLatinLetters) {
  EXPECT_EQ(0, CompareNoCase(TXT("Total Fat (g)"), TXT("total fat (G)")));
  EXPECT_EQ(0, CompareNoCase(TXT("\u00C9clair"), TXT("\u00E9CLAIR")));
  EXPECT_LT(CompareNoCase(TXT("apple"), TXT("Banana")), 0);
  EXPECT_GT(CompareNoCase(TXT("cherry"), TXT("Banana")), 0);
  EXPECT_LT(CompareNoCase(TXT("Bean"), TXT("beans")), 0);
}

TEST(Text, CompareNoCaseOrdersByLettersThenLength) {
  const struct {
    const WChar* a;
    const WChar* b;
    int sign;
  } cases[] = {
      {TXT("a"), TXT("B"), -1},       {TXT("B"), TXT("a"), 1},       {TXT("Zest"), TXT("apple"), 1},
      {TXT("beans"), TXT("Bean"), 1}, {TXT("BEAN"), TXT("bean"), 0}, {TXT(""), TXT(""), 0},
      {TXT(""), TXT("a"), -1},        {TXT("a"), TXT(""), 1},        {TXT("Dairy"), TXT("dairy"), 0},
      {TXT("Cup"), TXT("cups"), -1},  {TXT("Meat"), TXT("MEAL"), 1}, {TXT("meal"), TXT("MEAT"), -1},
  };
  for (const auto& c : cases) {
    const int result = CompareNoCase(c.a, c.b);
    EXPECT_EQ(c.sign, (result > 0) - (result < 0)) << ToUtf8(c.a) << " / " << ToUtf8(c.b);
    EXPECT_EQ(c.sign == 0, EqualsNoCase(c.a, c.b)) << ToUtf8(c.a) << " / " << ToUtf8(c.b);
  }
}

// Each row: a unit and what it folds to. Capitals of the Latin-1, Latin Extended-A, Greek and
// Cyrillic blocks fold to their small letters; the neighbours of every folded range, the signs
// between the letters and the letters without a pair stay as they are.
TEST(Text, FoldCaseMapsCapitalsToSmallLettersAndLeavesTheRest) {
  const std::pair<char16_t, char16_t> cases[] = {
      // ASCII: only A..Z; "@", "[", "`" and "{" stand next to the letters.
      {u'A', u'a'},
      {u'Z', u'z'},
      {u'@', u'@'},
      {u'[', u'['},
      {u'a', u'a'},
      {u'z', u'z'},
      {u'`', u'`'},
      {u'{', u'{'},
      {u'0', u'0'},
      // Latin-1: U+00C0..U+00DE except the multiplication sign.
      {0xBF, 0xBF},
      {0xC0, 0xE0},
      {0xC9, 0xE9},
      {0xD6, 0xF6},
      {0xD7, 0xD7},
      {0xD8, 0xF8},
      {0xDE, 0xFE},
      {0xDF, 0xDF},
      {0xE0, 0xE0},
      {0xF7, 0xF7},
      {0xFF, 0xFF},
      // Latin Extended-A: pairs with the capital at the even code, then two runs shifted by one.
      {0x100, 0x101},
      {0x101, 0x101},
      {0x136, 0x137},
      {0x137, 0x137},
      {0x138, 0x138},
      {0x139, 0x13A},
      {0x13A, 0x13A},
      {0x147, 0x148},
      {0x148, 0x148},
      {0x149, 0x149},
      {0x14A, 0x14B},
      {0x176, 0x177},
      {0x177, 0x177},
      {0x178, 0xFF},
      {0x179, 0x17A},
      {0x17D, 0x17E},
      {0x17E, 0x17E},
      {0x17F, 0x17F},
      {0x180, 0x180},
      // Greek: U+0391..U+03AB, where U+03A2 is no letter.
      {0x390, 0x390},
      {0x391, 0x3B1},
      {0x3A1, 0x3C1},
      {0x3A2, 0x3A2},
      {0x3A3, 0x3C3},
      {0x3AB, 0x3CB},
      {0x3AC, 0x3AC},
      {0x3C2, 0x3C2},
      // Cyrillic: U+0400..U+040F fold by 80, U+0410..U+042F by 32.
      {0x3FF, 0x3FF},
      {0x400, 0x450},
      {0x40F, 0x45F},
      {0x410, 0x430},
      {0x42F, 0x44F},
      {0x430, 0x430},
      {0x450, 0x450},
  };
  for (const auto& [unit, folded] : cases)
    EXPECT_EQ(Hex(WString(1, static_cast<WChar>(folded))),
              Hex(WString(1, FoldCase(static_cast<WChar>(unit)))))
        << "U+" << Hex(WString(1, static_cast<WChar>(unit)));
}

TEST(Text, NamesInOtherScriptsCompareWithoutCase) {
  const std::pair<const WChar*, const WChar*> same[] = {
      {TXT("\u00D6L"), TXT("\u00F6l")},                                    // Öl
      {TXT("\u0152UFS"), TXT("\u0153ufs")},                                // Œufs
      {TXT("\u017D\u00CDTO"), TXT("\u017E\u00EDto")},                      // Žíto
      {TXT("\u039C\u0395\u039B\u0399"), TXT("\u03BC\u03B5\u03BB\u03B9")},  // μελι
      {TXT("\u0425\u041B\u0415\u0411"), TXT("\u0445\u043B\u0435\u0431")},  // хлеб
      {TXT("\u0401\u0416"), TXT("\u0451\u0436")},                          // ёж
  };
  for (const auto& [upper, lower] : same) EXPECT_TRUE(EqualsNoCase(upper, lower)) << ToUtf8(lower);
  EXPECT_FALSE(EqualsNoCase(TXT("\u00D7"), TXT("\u00F7")));  // the two signs are no letters
}

TEST(Text, Utf8RoundTripKeepsSurrogatePairs) {
  const WString text = TXT("cr\u00E8me \u20AC \U0001F34E");
  EXPECT_EQ(text, FromUtf8(ToUtf8(text)));
  EXPECT_EQ("cr\xC3\xA8me", ToUtf8(TXT("cr\u00E8me")));
}

// The last and first code point of every sequence length, both ways.
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
  };
  for (const auto& [units, bytes] : cases) {
    const WString text(units.begin(), units.end());
    EXPECT_EQ(HexBytes(bytes), HexBytes(ToUtf8(text))) << Hex(text);
    EXPECT_EQ(Hex(text), Hex(FromUtf8(bytes))) << HexBytes(bytes);
  }
}

// A surrogate without its partner has no code point of its own: it is written as the unit it is.
TEST(Text, LoneSurrogatesAreWrittenUnitByUnit) {
  const std::pair<std::u16string, std::string> cases[] = {
      {{0xD800}, "\xED\xA0\x80"},
      {{0xDBFF, u'A'},
       "\xED\xAF\xBF"
       "A"},
      {{0xD800, 0xE000}, "\xED\xA0\x80\xEE\x80\x80"},
      {{0xDC00}, "\xED\xB0\x80"},
      {{0xDFFF, 0xD800}, "\xED\xBF\xBF\xED\xA0\x80"},
      {{u'x', 0xDBFF, 0xDFFF}, "x\xF4\x8F\xBF\xBF"},
      {{0xD7FF, 0xDC00}, "\xED\x9F\xBF\xED\xB0\x80"},
      {{0xDC00, 0xDC00}, "\xED\xB0\x80\xED\xB0\x80"},
      {{0xD800, 0xDBFF}, "\xED\xA0\x80\xED\xAF\xBF"},
  };
  for (const auto& [units, bytes] : cases) {
    const WString text(units.begin(), units.end());
    EXPECT_EQ(HexBytes(bytes), HexBytes(ToUtf8(text))) << Hex(text);
  }
  // A view that ends with a high surrogate does not reach past its end for the partner.
  const WString pair = {static_cast<WChar>(0xD800), static_cast<WChar>(0xDC00)};
  EXPECT_EQ("\xED\xA0\x80", ToUtf8(WStringView(pair).substr(0, 1)));
}

// Bytes that start no sequence, and sequences cut off by the end of the text, read as the
// Latin-1 characters of the same codes, one per byte.
TEST(Text, StrayAndCutOffUtf8BytesReadAsLatin1) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"caf\xC3", u"caf\u00C3"},
      {"\xE2\x82", u"\u00E2\u0082"},
      {"\xF0\x9F\x8D", u"\u00F0\u009F\u008D"},
      {"\x80"
       "a",
       u"\u0080a"},
      {"\xBF", u"\u00BF"},
      {"\xC3\xA9\xC3", u"\u00E9\u00C3"},
      {"\xF0\x9F\x8D\x8E!", u"\U0001F34E!"},
      {"", u""},
  };
  for (const auto& [bytes, units] : cases)
    EXPECT_EQ(Hex(WString(units.begin(), units.end())), Hex(FromUtf8(bytes))) << HexBytes(bytes);
  EXPECT_EQ(TXT("Calories 12.5"), FromAscii("Calories 12.5"));
}

}  // namespace
