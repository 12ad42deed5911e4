#include <gtest/gtest.h>

#include "storage/XMLDoc.h"

namespace {

// Reads the value of the first tag of a one-element document.
WString ValueOf(const WString& text, const WChar* name, bool* isNull = nullptr) {
  XMLDoc doc;
  doc.SetText(text);
  doc.NextTag();
  const WChar* value = doc.ReadValue(name);
  if (isNull) *isNull = value == nullptr;
  return value ? WString(value) : WString();
}

// The units of an 8-bit file as the loader sees it: two bytes per unit, first byte low.
WString AsLoaded(const std::string& bytes) {
  WString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<WChar>(static_cast<unsigned char>(bytes[i]) |
                               (static_cast<unsigned char>(bytes[i + 1]) << 8));
  return text;
}

}  // namespace

// One element per line, no indentation; zero, false and empty values are empty elements, and only
// "&", "<" and ">" are escaped.
TEST(XMLDocWriter, ElementsValuesAndLists) {
  XMLDoc doc;
  doc.OpenElement(TXT("OPTIONS"));
  doc.WriteInt(TXT("WIDTH"), 800);
  doc.WriteBool(TXT("AUTOBACKUP"), false);
  doc.WriteString(TXT("FONT"), TXT("Arial"));
  doc.CloseElement();
  doc.CloseElement();  // nothing left open: writes nothing
  EXPECT_EQ(TXT("<OPTIONS>\r\n<WIDTH>800</WIDTH>\r\n<AUTOBACKUP/>\r\n<FONT>Arial</FONT>\r\n</OPTIONS>\r\n"),
            doc.Output());

  XMLDoc values;
  values.WriteString(TXT("NAME"), WString(TXT("a<b & c>d")));
  values.WriteString(TXT("Q"), TXT("\"it's\"\r\n\u00E9"));
  values.WriteInt(TXT("A"), -2147483647 - 1);
  values.WriteUInt(TXT("B"), 4294967295u);
  values.WriteBool(TXT("C"), true);
  values.WriteByteList(TXT("D"), {0, 7, 255});
  values.WriteIntList(TXT("COLWIDTHS"), {120, -80, 80});
  EXPECT_EQ(TXT("<NAME>a&lt;b &amp; c&gt;d</NAME>\r\n<Q>\"it's\"\r\n\u00E9</Q>\r\n<A>-2147483648</A>\r\n"
                "<B>4294967295</B>\r\n<C>1</C>\r\n<D>0,7,255</D>\r\n<COLWIDTHS>120,-80,80</COLWIDTHS>\r\n"),
            values.Output());

  XMLDoc empty;
  empty.WriteInt(TXT("I"), 0);
  empty.WriteUInt(TXT("U"), 0);
  empty.WriteBool(TXT("B"), false);
  empty.WriteReal(TXT("R"), 0.0);
  empty.WriteReal(TXT("N"), -0.0);
  empty.WriteString(TXT("S"), TXT(""));
  empty.WriteString(TXT("P"), static_cast<const WChar*>(nullptr));
  empty.WriteByteList(TXT("BL"), {});
  empty.WriteIntList(TXT("IL"), {});
  EXPECT_EQ(TXT("<I/>\r\n<U/>\r\n<B/>\r\n<R/>\r\n<N/>\r\n<S/>\r\n<P/>\r\n<BL/>\r\n<IL/>\r\n"),
            empty.Output());
}

// WriteReal and FormatReal write six significant digits and three-digit exponents.
TEST(XMLDocWriter, RealsHaveSixSignificantDigitsAndThreeDigitExponents) {
  const struct {
    double value;
    const WChar* text;
  } cases[] = {
      {2.5, TXT("2.5")},    {0.0001, TXT("0.0001")},    {-2.5e-7, TXT("-2.5e-007")},
      {100, TXT("100")},    {0.00001, TXT("1e-005")},   {-1.5e-10, TXT("-1.5e-010")},
      {-1.5, TXT("-1.5")},  {999999.4, TXT("999999")},  {0.333333333, TXT("0.333333")},
      {1e6, TXT("1e+006")}, {123.4567, TXT("123.457")}, {1.23456789e123, TXT("1.23457e+123")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    XMLDoc doc;
    doc.WriteReal(TXT("R"), c.value);
    EXPECT_EQ(WString(TXT("<R>")) + c.text + TXT("</R>\r\n"), doc.Output());
    WChar text[48];
    EXPECT_EQ(WString(c.text), WString(text, FormatReal(c.value, text)));
  }
  WChar text[48];
  EXPECT_EQ(WString(TXT("0")), WString(text, FormatReal(0.0, text)));
}

TEST(XMLDocReader, NextTagKindsAndAttributes) {
  XMLDoc doc;
  doc.SetText(TXT("<ROOT>\r\n<A/>\r\n<B x=\"1\">\r\n</b>\r\n< C >\r\n</ROOT>\r\n"));
  const struct {
    const WChar* name;
    bool empty, end;
  } expected[] = {{TXT("ROOT"), false, false}, {TXT("A"), true, false},  {TXT("B"), false, false},
                  {TXT("b"), false, true},     {TXT("C"), false, false}, {TXT("ROOT"), false, true}};
  for (const auto& e : expected) {
    SCOPED_TRACE(ToUtf8(e.name));
    const WChar* name = doc.NextTag();
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(WString(e.name), name);
    EXPECT_EQ(e.empty, doc.IsEmptyTag());
    EXPECT_EQ(e.end, doc.IsEndTag());
  }
  EXPECT_EQ(nullptr, doc.NextTag());
  EXPECT_EQ(XMLDoc::kNotFound, doc.Cursor());
  EXPECT_EQ(nullptr, doc.NextTag());
  EXPECT_EQ(100, doc.Progress());
  // The six ASCII blanks end a tag's name (what follows is attributes); other characters do not.
  for (const WChar blank : {WChar(' '), WChar('\t'), WChar('\n'), WChar('\v'), WChar('\f'), WChar('\r')}) {
    doc.SetText(WString(TXT("<NAME")) + blank + TXT("x=1>v</NAME>"));
    EXPECT_EQ(WString(TXT("NAME")), doc.NextTag()) << int(blank);
    EXPECT_EQ(WString(TXT("v")), doc.ReadValue(TXT("NAME"))) << int(blank);
  }
  for (const WChar other : {WChar(0x08), WChar(0x0E), WChar('_'), WChar(0xA0)}) {
    doc.SetText(WString(TXT("<A")) + other + TXT("B>"));
    EXPECT_EQ(WString(TXT("A")) + other + TXT("B"), doc.NextTag()) << int(other);
  }
}

TEST(XMLDocReader, UnterminatedTagEndsReading) {
  XMLDoc doc;
  doc.SetText(TXT("<A>1</A><B"));
  EXPECT_EQ(WString(TXT("A")), doc.NextTag());
  EXPECT_EQ(WString(TXT("1")), doc.ReadValue(TXT("A")));
  EXPECT_EQ(nullptr, doc.NextTag());
  EXPECT_EQ(nullptr, doc.ReadValue(TXT("B")));
  // A cut-off tag that looked empty or an end tag has no value either: the reader has ended.
  for (const WChar* text : {TXT("<ROOT><A/"), TXT("<ROOT></A"), TXT("<ROOT><A/ ")}) {
    SCOPED_TRACE(ToUtf8(text));
    doc.SetText(text);
    EXPECT_EQ(WString(TXT("ROOT")), doc.NextTag());
    EXPECT_EQ(nullptr, doc.NextTag());
    EXPECT_FALSE(doc.IsEmptyTag());
    EXPECT_FALSE(doc.IsEndTag());
    EXPECT_EQ(nullptr, doc.ReadValue(TXT("A")));
  }
}

// "<>" reads as a tag with an empty name, not as the end of the text, wherever it stands.
TEST(XMLDocReader, EmptyTagBracketsReadAsEmptyName) {
  for (const WChar* before :
       {TXT(""), TXT("<A/>"), TXT("<AB>1</AB>\r\n"), TXT("<ROOT>\r\n<NAME>Egg</NAME>\r\n"),
        TXT("<OPTIONS>\r\n<WIDTH>800</WIDTH>\r\n<FONT>Arial</FONT>\r\n")}) {
    SCOPED_TRACE(ToUtf8(before));
    XMLDoc doc;
    doc.SetText(WString(before) + TXT("<><A>1</A>"));
    const WChar* tag = doc.NextTag();
    for (; tag && *tag; tag = doc.NextTag()) doc.ReadValue(tag);
    ASSERT_NE(nullptr, tag);
    EXPECT_EQ(WString(), tag);
    EXPECT_EQ(WString(TXT("A")), doc.NextTag());
  }
}

// Each row: a one-element document, the name asked for, and the value read (nullptr for none):
// none for a stray ">", a second "/", a backslash, another element, a blank before the end tag's
// ">" or a different end tag. The end tag's name runs from its first ASCII letter or digit
// (blanks after the "/" are skipped) up to its ">", and matches in any case.
TEST(XMLDocReader, ValueForms) {
  const struct {
    const char* text;
    const char* name;
    const char* value;
  } cases[] = {
      {"<A>1", "A", nullptr},           {"<NAME/>", "NAME", ""},          {"<A>1</ A>", "A", "1"},
      {"<Z>1</ Z>", "Z", "1"},          {"<a>1</ a>", "a", "1"},          {"<z>1</ z>", "z", "1"},
      {"<0>1</ 0>", "0", "1"},          {"<9>1</ 9>", "9", "1"},          {"<Q>1</\tq>", "Q", "1"},
      {"<A>1</>", "A", nullptr},        {"<X> 5 </X>", "X", " 5 "},       {"<P>a/b</P>", "P", "a/b"},
      {"<A>1</B>", "A", nullptr},       {"<A>1>/A>", "A", nullptr},       {"<P>1<xP>", "P", nullptr},
      {"<[>1</[>", "[", nullptr},       {"<`>1</`>", "`", nullptr},       {"<{>1</{>", "{", nullptr},
      {"<:>1</:>", ":", nullptr},       {"<P>1</P >", "P", nullptr},      {"<A>1<//A>", "A", nullptr},
      {"<P>1<\\P>", "P", nullptr},      {"<@>1</ @>", "@", nullptr},      {"<A>1>2</A>", "A", nullptr},
      {"<A>1> / A>", "A", nullptr},     {"<_A>1</_A>", "_A", nullptr},    {"<AB>AB</XY>", "AB", nullptr},
      {"<name>3</NAME>", "Name", "3"},  {"<P>1</P junk>", "P", nullptr},  {"<AZ09>1</AZ09>", "az09", "1"},
      {"<P>1\r\n2</P>", "P", "1\r\n2"}, {"<-X1>1</-X1>", "-X1", nullptr}, {"<NAME></NAME>", "NAME", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    bool isNull = false;
    const WString value = ValueOf(FromUtf8(c.text), FromUtf8(c.name).c_str(), &isNull);
    EXPECT_EQ(c.value == nullptr, isNull);
    if (c.value) {
      EXPECT_EQ(FromUtf8(c.value), value);
    }
  }
}

// After a value the cursor stands past its end tag, whichever way that tag is written, and the
// next tag follows.
TEST(XMLDocReader, ValueMovesTheCursorPastItsEndTag) {
  for (const WChar* leaf :
       {TXT("<NAME>v</NAME>"), TXT("<NAME>v</name>"), TXT("<NAME>v</ NAME>"), TXT("<NAME>v</\tNAME>")}) {
    SCOPED_TRACE(ToUtf8(leaf));
    XMLDoc doc;
    doc.SetText(WString(leaf) + TXT("<NEXT/>"));
    ASSERT_EQ(WString(TXT("NAME")), doc.NextTag());
    EXPECT_EQ(WString(TXT("v")), doc.ReadValue(TXT("NAME")));
    EXPECT_EQ(WString(leaf).size(), doc.Cursor());
    EXPECT_EQ(WString(TXT("NEXT")), doc.NextTag());
    EXPECT_EQ(100, doc.Progress());
  }
}

TEST(XMLDocReader, EndTagAndContainerHaveNoValue) {
  XMLDoc doc;
  doc.SetText(TXT("<FOOD>\r\n<NAME>Egg</NAME>\r\n</FOOD>\r\n"));
  EXPECT_EQ(WString(TXT("FOOD")), doc.NextTag());
  EXPECT_EQ(nullptr, doc.ReadValue(TXT("FOOD")));
  // Asking a container for its value ends the value at the first child's "<": that child's start
  // tag is gone, and reading goes on at its end tag.
  EXPECT_EQ(WString(TXT("NAME")), doc.NextTag());
  EXPECT_TRUE(doc.IsEndTag());
  EXPECT_EQ(WString(TXT("FOOD")), doc.NextTag());
  EXPECT_TRUE(doc.IsEndTag());
  EXPECT_EQ(nullptr, doc.ReadValue(TXT("FOOD")));
  EXPECT_FALSE(doc.IsEndTag());
}

TEST(XMLDocReader, WrittenValuesReadBack) {
  XMLDoc out;
  out.OpenElement(TXT("ROOT"));
  out.WriteString(TXT("S"), TXT("a<b & c>d"));
  out.WriteInt(TXT("I"), 0);
  out.WriteBool(TXT("B"), false);
  out.WriteReal(TXT("R"), 0.0);
  out.WriteString(TXT("E"), TXT(""));
  out.CloseElement();
  XMLDoc in;
  in.SetText(out.Output());
  ASSERT_TRUE(in.FindRoot(TXT("ROOT")));
  EXPECT_EQ(WString(TXT("ROOT")), in.NextTag());
  std::vector<const WChar*> values;
  for (const WChar* name : {TXT("S"), TXT("I"), TXT("B"), TXT("R"), TXT("E")}) {
    EXPECT_EQ(WString(name), in.NextTag());
    values.push_back(in.ReadValue(name));
  }
  EXPECT_EQ(WString(TXT("a<b & c>d")), XMLUnescape(values[0]));
  EXPECT_EQ(0, XMLToInt(values[1]));
  EXPECT_FALSE(XMLToBool(values[2]));
  EXPECT_EQ(0.0, ParseReal(values[3]));
  ASSERT_NE(nullptr, values[4]);
  EXPECT_EQ(WString(), values[4]);
  EXPECT_EQ(WString(TXT("ROOT")), in.NextTag());
  EXPECT_TRUE(in.IsEndTag());
}

TEST(XMLDocReader, EveryWrittenRealReadsBackToTheSameDigits) {
  for (const double v : {2.5, 123.4567, 0.333333333, 1e6, 1234567.0, 0.00001, -2.5e-7, 1e-300, 1.79e308,
                         6.02214e23, 0.0001234, 98765.4321, -999999.5}) {
    XMLDoc first;
    first.WriteReal(TXT("R"), v);
    XMLDoc second;
    second.WriteReal(TXT("R"), ParseReal(ValueOf(first.Output(), TXT("R")).c_str()));
    EXPECT_EQ(ToUtf8(first.Output()), ToUtf8(second.Output()));
  }
}

TEST(XMLDocReader, FindRootAndProgress) {
  XMLDoc doc;
  doc.SetText(TXT("<OPTIONS>\r\n</OPTIONS>\r\n"));
  EXPECT_TRUE(doc.FindRoot(TXT("OPTIONS")));
  EXPECT_FALSE(doc.FindRoot(TXT("RECIPELIST")));
  doc.SetText(TXT("<OPTIONS>\r\n"));
  EXPECT_FALSE(doc.FindRoot(TXT("OPTIONS")));
  doc.SetText(WString());
  EXPECT_FALSE(doc.FindRoot(TXT("OPTIONS")));
  EXPECT_EQ(0, doc.Progress());
  doc.SetText(WString(200, 'x'));
  doc.SetCursor(100);
  EXPECT_EQ(50, doc.Progress());
  doc.SetCursor(199);
  EXPECT_EQ(99, doc.Progress());
}

TEST(XMLDocReader, EightBitFileReadsOneCharacterPerByte) {
  // Each end tag parity: "</OPTIONS>" at an odd byte offset is found through its "/".
  for (const std::string prefix : {"", "x"}) {
    XMLDoc doc;
    doc.SetText(AsLoaded("<OPTIONS>\r\n<FONT>Caf\xE9</FONT>\r\n" + prefix + "</OPTIONS>\r\n"));
    ASSERT_TRUE(doc.FindRoot(TXT("OPTIONS"))) << prefix;
    EXPECT_EQ(WString(TXT("OPTIONS")), doc.NextTag());
    EXPECT_EQ(WString(TXT("FONT")), doc.NextTag());
    EXPECT_EQ(WString(TXT("Caf\u00E9")), doc.ReadValue(TXT("FONT")));
  }
  for (const char* other : {"<RECIPELIST>\r\n</RECIPELIST>\r\n", "<OPTIONS>\r\n<A>1</A>\r\n"}) {
    XMLDoc doc;
    doc.SetText(AsLoaded(other));
    EXPECT_FALSE(doc.FindRoot(TXT("OPTIONS"))) << other;
  }
}

// An entity is as many units of "&amp;", "&lt;" or "&gt;" as stand before its ";", in any case, so
// shortened forms decode too; anything else between "&" and ";" vanishes, as does an entity the
// text ends in.
TEST(XMLValues, Unescape) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},     {"&l;", "<"}, {"&lT;", "<"},    {"&x;&gt;", ">"},    {"&AMP;&am;&LT;", "&&<"},
      {"&;", "&"},  {"&g;", ">"}, {"a;b", "a;b"},   {"&amp;x;", "&x;"},  {"cut &amp no end", "cut "},
      {"&lt", ""},  {"&G;", ">"}, {"&amp;;", "&;"}, {"&lt;&gt;", "<>"},  {"say &quot; now", "say  now"},
      {"&a;", "&"}, {";;", ";;"}, {"&ampx;y", "y"}, {"a&b&lt;c", "a<c"}, {"a&lt;b &amp; c&gt;d", "a<b & c>d"},
  };
  for (const auto& [raw, text] : cases) EXPECT_EQ(FromUtf8(text), XMLUnescape(FromUtf8(raw).c_str())) << raw;
  EXPECT_EQ(WString(), XMLUnescape(static_cast<const WChar*>(nullptr)));
  WString inPlace = TXT("1 &gt; 0");
  XMLUnescape(inPlace);
  EXPECT_EQ(WString(TXT("1 > 0")), inPlace);
}

// The first run of digits, negative after a "-", in 32-bit arithmetic that wraps.
TEST(XMLValues, ParseIntIsLenient) {
  const std::pair<const char*, int32_t> cases[] = {
      {"12", 12},  {"-7", -7},     {"4,5", 4},         {" 5 ", 5},
      {"none", 0}, {"abc-3x", -3}, {"4294967295", -1}, {"-2147483648", -2147483647 - 1},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(value, ParseInt(FromUtf8(text).c_str())) << text;
  EXPECT_EQ(0, ParseInt(nullptr));
  EXPECT_EQ(-2147483647, XMLToInt(TXT("-2147483648")));
}

// A number reads as the double nearest to it, as the compiler reads the same literal. Leading
// zeros carry no digits; up to 19 significant digits are read and further ones only move the
// point; exponents of any size read as far as a double reaches, and beyond that read as 0.
TEST(XMLValues, ParseRealIsLenientAndGivesTheNearestDouble) {
  const std::pair<const char*, double> lenient[] = {
      {"3e", 3},      {"9e22", 9e22},         {"-.", 0},      {"2.05", 2.05},
      {" 5 ", 5},     {"31.5", 31.5},         {"abc", 0},     {"1e+006", 1e6},
      {"inf", 0},     {"1e-005", 1e-5},       {"3e+x", 3},    {"2.5E7", 2.5e7},
      {"2.5", 2.5},   {"1e-22", 1e-22},       {"1e400", 0},   {"1e-23", 1e-23},
      {".5.", 0.5},   {"5e-22", 5e-22},       {"0.1", 0.1},   {"19e-22", 19e-22},
      {"0.3", 0.3},   {"31e-22", 31e-22},     {"-1e400", 0},  {"1.5e-7", 1.5e-7},
      {"1e-400", 0},  {"0.5e-21", 5e-22},     {"x-.5", -0.5}, {"123.457", 123.457},
      {"1.2.3", 1.2}, {"1.5e308", 1.5e308},   {"1e22", 1e22}, {"1e99999999999", 0},
      {"1e23", 1e23}, {"2.5e-300", 2.5e-300}, {"4.35", 4.35}, {"-2.5e-300", -2.5e-300},
  };
  const std::pair<const char*, double> digits[] = {
      {"0.0000000000000000000000012", 1.2e-24},
      {"000000000000000000000000042", 42},
      {"1234567890123456789", 1234567890123456789.0},
      {"12345678901234567891", 12345678901234567890.0},
      {"12345678901234567890123", 12345678901234567890000.0},
      {"1.2345678901234567899999", 1.234567890123456789},
  };
  for (const auto& [text, value] : lenient) EXPECT_EQ(value, ParseReal(FromUtf8(text).c_str())) << text;
  for (const auto& [text, value] : digits) EXPECT_EQ(value, ParseReal(FromUtf8(text).c_str())) << text;
  EXPECT_EQ(0, ParseReal(nullptr));
}

TEST(XMLValues, BoolAndLists) {
  EXPECT_TRUE(XMLToBool(TXT("1")));
  EXPECT_FALSE(XMLToBool(TXT("true")));
  EXPECT_FALSE(XMLToBool(TXT("2")));
  EXPECT_EQ((std::vector<uint8_t>{3, 7}), XMLToByteList(TXT("3,,7,")));
  EXPECT_EQ((std::vector<uint8_t>{44}), XMLToByteList(TXT("300")));
  EXPECT_EQ((std::vector<int32_t>{120, -80, -2147483647, 0}), XMLToIntList(TXT(",120,-80,-2147483648, ")));
  EXPECT_TRUE(XMLToIntList(nullptr).empty());
  EXPECT_TRUE(XMLToIntList(TXT("")).empty());
}
