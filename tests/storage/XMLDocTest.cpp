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

bool IsNullValue(const WString& text, const WChar* name) {
  bool isNull = false;
  ValueOf(text, name, &isNull);
  return isNull;
}

}  // namespace

TEST(XMLDocWriter, OptionsExampleIsFiveExactLines) {
  XMLDoc doc;
  doc.OpenElement(TXT("OPTIONS"));
  doc.WriteInt(TXT("WIDTH"), 800);
  doc.WriteBool(TXT("AUTOBACKUP"), false);
  doc.WriteString(TXT("FONT"), TXT("Arial"));
  doc.CloseElement();
  doc.CloseElement();  // nothing left open: writes nothing
  EXPECT_EQ(TXT("<OPTIONS>\r\n<WIDTH>800</WIDTH>\r\n<AUTOBACKUP/>\r\n<FONT>Arial</FONT>\r\n</OPTIONS>\r\n"),
            doc.Output());
}

TEST(XMLDocWriter, EscapesOnlyAmpersandAndAngleBrackets) {
  XMLDoc doc;
  doc.WriteString(TXT("NAME"), WString(TXT("a<b & c>d")));
  doc.WriteString(TXT("Q"), TXT("\"it's\"\r\n\u00E9"));
  EXPECT_EQ(TXT("<NAME>a&lt;b &amp; c&gt;d</NAME>\r\n<Q>\"it's\"\r\n\u00E9</Q>\r\n"), doc.Output());
}

TEST(XMLDocWriter, ZeroFalseAndEmptyAreEmptyElements) {
  XMLDoc doc;
  doc.WriteInt(TXT("I"), 0);
  doc.WriteUInt(TXT("U"), 0);
  doc.WriteBool(TXT("B"), false);
  doc.WriteReal(TXT("R"), 0.0);
  doc.WriteReal(TXT("N"), -0.0);
  doc.WriteString(TXT("S"), TXT(""));
  doc.WriteString(TXT("P"), static_cast<const WChar*>(nullptr));
  doc.WriteByteList(TXT("BL"), {});
  doc.WriteIntList(TXT("IL"), {});
  EXPECT_EQ(TXT("<I/>\r\n<U/>\r\n<B/>\r\n<R/>\r\n<N/>\r\n<S/>\r\n<P/>\r\n<BL/>\r\n<IL/>\r\n"), doc.Output());
}

TEST(XMLDocWriter, NumbersAndLists) {
  XMLDoc doc;
  doc.WriteInt(TXT("A"), -2147483647 - 1);
  doc.WriteUInt(TXT("B"), 4294967295u);
  doc.WriteBool(TXT("C"), true);
  doc.WriteByteList(TXT("D"), {0, 7, 255});
  doc.WriteIntList(TXT("COLWIDTHS"), {120, -80, 80});
  EXPECT_EQ(TXT("<A>-2147483648</A>\r\n<B>4294967295</B>\r\n<C>1</C>\r\n<D>0,7,255</D>\r\n"
                "<COLWIDTHS>120,-80,80</COLWIDTHS>\r\n"),
            doc.Output());
}

TEST(XMLDocWriter, RealsHaveSixSignificantDigitsAndThreeDigitExponents) {
  const struct {
    double value;
    const WChar* text;
  } cases[] = {{2.5, TXT("2.5")},
               {123.4567, TXT("123.457")},
               {0.333333333, TXT("0.333333")},
               {-1.5, TXT("-1.5")},
               {100, TXT("100")},
               {999999.4, TXT("999999")},
               {1e6, TXT("1e+006")},
               {0.00001, TXT("1e-005")},
               {0.0001, TXT("0.0001")},
               {-2.5e-7, TXT("-2.5e-007")},
               {1.23456789e123, TXT("1.23457e+123")}};
  for (const auto& c : cases) {
    XMLDoc doc;
    doc.WriteReal(TXT("R"), c.value);
    EXPECT_EQ(WString(TXT("<R>")) + c.text + TXT("</R>\r\n"), doc.Output()) << c.value;
  }
}

TEST(XMLDocWriter, FormatRealIsTheWrittenForm) {
  WChar text[48];
  const size_t length = FormatReal(-1.5e-10, text);
  EXPECT_EQ(WString(TXT("-1.5e-010")), WString(text, length));
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
    const WChar* name = doc.NextTag();
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(WString(e.name), name);
    EXPECT_EQ(e.empty, doc.IsEmptyTag()) << ToUtf8(e.name);
    EXPECT_EQ(e.end, doc.IsEndTag()) << ToUtf8(e.name);
  }
  EXPECT_EQ(nullptr, doc.NextTag());
  EXPECT_EQ(XMLDoc::kNotFound, doc.Cursor());
  EXPECT_EQ(nullptr, doc.NextTag());
  EXPECT_EQ(100, doc.Progress());
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
    XMLDoc doc;
    doc.SetText(WString(before) + TXT("<><A>1</A>"));
    const WChar* tag = doc.NextTag();
    while (tag && *tag) {
      doc.ReadValue(tag);
      tag = doc.NextTag();
    }
    ASSERT_NE(nullptr, tag) << ToUtf8(before);
    EXPECT_EQ(WString(), tag) << ToUtf8(before);
    EXPECT_EQ(WString(TXT("A")), doc.NextTag()) << ToUtf8(before);
  }
}

TEST(XMLDocReader, ValueForms) {
  EXPECT_TRUE(IsNullValue(TXT("<NAME></NAME>"), TXT("NAME")));
  EXPECT_FALSE(IsNullValue(TXT("<NAME/>"), TXT("NAME")));
  EXPECT_EQ(WString(), ValueOf(TXT("<NAME/>"), TXT("NAME")));
  EXPECT_EQ(WString(TXT(" 5 ")), ValueOf(TXT("<X> 5 </X>"), TXT("X")));
  EXPECT_EQ(WString(TXT("3")), ValueOf(TXT("<name>3</NAME>"), TXT("Name")));
  EXPECT_EQ(WString(TXT("a/b")), ValueOf(TXT("<P>a/b</P>"), TXT("P")));
  EXPECT_EQ(WString(TXT("1\r\n2")), ValueOf(TXT("<P>1\r\n2</P>"), TXT("P")));
  EXPECT_TRUE(IsNullValue(TXT("<P>1</P >"), TXT("P")));     // the end tag's name runs up to its ">"
  EXPECT_TRUE(IsNullValue(TXT("<P>1</P junk>"), TXT("P")));
  EXPECT_TRUE(IsNullValue(TXT("<A>1</B>"), TXT("A")));    // mismatched end tag
  EXPECT_TRUE(IsNullValue(TXT("<A>1"), TXT("A")));        // no end tag
  EXPECT_TRUE(IsNullValue(TXT("<A>1>2</A>"), TXT("A")));  // stray ">"
  EXPECT_TRUE(IsNullValue(TXT("<A>1>/A>"), TXT("A")));    // an end tag without its "<"
  EXPECT_TRUE(IsNullValue(TXT("<A>1> / A>"), TXT("A")));
  EXPECT_TRUE(IsNullValue(TXT("<A>1<//A>"), TXT("A")));     // second "/"
  EXPECT_TRUE(IsNullValue(TXT("<A>1</>"), TXT("A")));       // end tag without a name
  EXPECT_TRUE(IsNullValue(TXT("<P>1<\\P>"), TXT("P")));     // a backslash is no end tag
  EXPECT_TRUE(IsNullValue(TXT("<P>1<xP>"), TXT("P")));      // nor is another element
  EXPECT_TRUE(IsNullValue(TXT("<AB>AB</XY>"), TXT("AB")));  // the value ending like the name
}

// The six ASCII blanks end a tag's name (what follows is attributes); other characters do not.
TEST(XMLDocReader, TheSixBlanksEndATagsName) {
  for (const WChar blank : {WChar(' '), WChar('\t'), WChar('\n'), WChar('\v'), WChar('\f'), WChar('\r')}) {
    XMLDoc doc;
    doc.SetText(WString(TXT("<NAME")) + blank + TXT("x=1>v</NAME>"));
    EXPECT_EQ(WString(TXT("NAME")), doc.NextTag()) << int(blank);
    EXPECT_EQ(WString(TXT("v")), doc.ReadValue(TXT("NAME"))) << int(blank);
  }
  for (const WChar other : {WChar(0x08), WChar(0x0E), WChar('_'), WChar(0xA0)}) {
    XMLDoc doc;
    doc.SetText(WString(TXT("<A")) + other + TXT("B>"));
    EXPECT_EQ(WString(TXT("A")) + other + TXT("B"), doc.NextTag()) << int(other);
  }
}

// The end tag's name starts at its first ASCII letter or digit, so blanks after the "/" are
// skipped; a name that starts with anything else is no name.
TEST(XMLDocReader, EndTagNameStartsAtItsFirstLetterOrDigit) {
  const std::pair<const WChar*, const WChar*> found[] = {
      {TXT("<A>1</ A>"), TXT("A")},   {TXT("<Z>1</ Z>"), TXT("Z")},         {TXT("<a>1</ a>"), TXT("a")},
      {TXT("<z>1</ z>"), TXT("z")},   {TXT("<0>1</ 0>"), TXT("0")},         {TXT("<9>1</ 9>"), TXT("9")},
      {TXT("<Q>1</\tq>"), TXT("Q")},  {TXT("<AZ09>1</AZ09>"), TXT("az09")},
  };
  for (const auto& [text, name] : found) EXPECT_EQ(WString(TXT("1")), ValueOf(text, name)) << ToUtf8(text);
  for (const auto& [text, name] :
       {std::pair{TXT("<@>1</ @>"), TXT("@")}, std::pair{TXT("<[>1</[>"), TXT("[")},
        std::pair{TXT("<`>1</`>"), TXT("`")}, std::pair{TXT("<{>1</{>"), TXT("{")},
        std::pair{TXT("<:>1</:>"), TXT(":")}, std::pair{TXT("<_A>1</_A>"), TXT("_A")},
        std::pair{TXT("<-X1>1</-X1>"), TXT("-X1")}})
    EXPECT_TRUE(IsNullValue(text, name)) << ToUtf8(text);
}

// After a value the cursor stands past its end tag, whichever way that tag is written, and the
// next tag follows.
TEST(XMLDocReader, ValueMovesTheCursorPastItsEndTag) {
  for (const WChar* leaf :
       {TXT("<NAME>v</NAME>"), TXT("<NAME>v</name>"), TXT("<NAME>v</ NAME>"), TXT("<NAME>v</\tNAME>")}) {
    XMLDoc doc;
    const WString text = WString(leaf) + TXT("<NEXT/>");
    doc.SetText(text);
    ASSERT_EQ(WString(TXT("NAME")), doc.NextTag());
    EXPECT_EQ(WString(TXT("v")), doc.ReadValue(TXT("NAME"))) << ToUtf8(leaf);
    EXPECT_EQ(WString(leaf).size(), doc.Cursor()) << ToUtf8(leaf);
    EXPECT_EQ(WString(TXT("NEXT")), doc.NextTag()) << ToUtf8(leaf);
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
  in.NextTag();
  EXPECT_EQ(WString(TXT("a<b & c>d")), XMLUnescape(in.ReadValue(TXT("S"))));
  in.NextTag();
  EXPECT_EQ(0, XMLToInt(in.ReadValue(TXT("I"))));
  in.NextTag();
  EXPECT_FALSE(XMLToBool(in.ReadValue(TXT("B"))));
  in.NextTag();
  EXPECT_EQ(0.0, ParseReal(in.ReadValue(TXT("R"))));
  in.NextTag();
  const WChar* empty = in.ReadValue(TXT("E"));
  ASSERT_NE(nullptr, empty);
  EXPECT_EQ(WString(), empty);
  EXPECT_EQ(WString(TXT("ROOT")), in.NextTag());
  EXPECT_TRUE(in.IsEndTag());
}

TEST(XMLDocReader, EveryWrittenRealReadsBackToTheSameDigits) {
  const double values[] = {2.5,    123.4567, 0.333333333, 1e6,       1234567.0,  0.00001,  -2.5e-7,
                           1e-300, 1.79e308, 6.02214e23,  0.0001234, 98765.4321, -999999.5};
  for (const double v : values) {
    XMLDoc first;
    first.WriteReal(TXT("R"), v);
    const WString text = first.Output();
    XMLDoc second;
    second.WriteReal(TXT("R"), ParseReal(ValueOf(text, TXT("R")).c_str()));
    EXPECT_EQ(ToUtf8(text), ToUtf8(second.Output()));
  }
}

TEST(XMLDocReader, FindRoot) {
  XMLDoc doc;
  doc.SetText(TXT("<OPTIONS>\r\n</OPTIONS>\r\n"));
  EXPECT_TRUE(doc.FindRoot(TXT("OPTIONS")));
  EXPECT_FALSE(doc.FindRoot(TXT("RECIPELIST")));
  doc.SetText(TXT("<OPTIONS>\r\n"));
  EXPECT_FALSE(doc.FindRoot(TXT("OPTIONS")));
  doc.SetText(WString());
  EXPECT_FALSE(doc.FindRoot(TXT("OPTIONS")));
  EXPECT_EQ(0, doc.Progress());
}

namespace {
// The units of an 8-bit file as the loader sees it: two bytes per unit, first byte low.
WString AsLoaded(const std::string& bytes) {
  WString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<WChar>(static_cast<unsigned char>(bytes[i]) |
                               (static_cast<unsigned char>(bytes[i + 1]) << 8));
  return text;
}
}  // namespace

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
  XMLDoc other;
  other.SetText(AsLoaded("<RECIPELIST>\r\n</RECIPELIST>\r\n"));
  EXPECT_FALSE(other.FindRoot(TXT("OPTIONS")));
  XMLDoc unclosed;
  unclosed.SetText(AsLoaded("<OPTIONS>\r\n<A>1</A>\r\n"));
  EXPECT_FALSE(unclosed.FindRoot(TXT("OPTIONS")));
}

TEST(XMLDocReader, ProgressFollowsTheCursor) {
  XMLDoc doc;
  doc.SetText(WString(200, 'x'));
  doc.SetCursor(100);
  EXPECT_EQ(50, doc.Progress());
  doc.SetCursor(199);
  EXPECT_EQ(99, doc.Progress());
}

TEST(XMLValues, Unescape) {
  EXPECT_EQ(WString(TXT("a<b & c>d")), XMLUnescape(TXT("a&lt;b &amp; c&gt;d")));
  EXPECT_EQ(WString(TXT("say  now")), XMLUnescape(TXT("say &quot; now")));
  EXPECT_EQ(WString(TXT("&&<")), XMLUnescape(TXT("&AMP;&am;&LT;")));
  EXPECT_EQ(WString(TXT("a;b")), XMLUnescape(TXT("a;b")));
  EXPECT_EQ(WString(TXT("cut ")), XMLUnescape(TXT("cut &amp no end")));
  EXPECT_EQ(WString(), XMLUnescape(static_cast<const WChar*>(nullptr)));
  WString inPlace = TXT("1 &gt; 0");
  XMLUnescape(inPlace);
  EXPECT_EQ(WString(TXT("1 > 0")), inPlace);
}

// An entity is as many units of "&amp;", "&lt;" or "&gt;" as stand before its ";", so shortened
// forms decode too; anything else between "&" and ";" vanishes.
TEST(XMLValues, UnescapeMatchesLeadingUnitsOfTheThreeEntities) {
  const std::pair<const WChar*, const WChar*> cases[] = {
      {TXT("&;"), TXT("&")},        {TXT("&a;"), TXT("&")},     {TXT("&l;"), TXT("<")},
      {TXT("&g;"), TXT(">")},       {TXT("&G;"), TXT(">")},     {TXT("&lT;"), TXT("<")},
      {TXT("&amp;;"), TXT("&;")},   {TXT("&ampx;y"), TXT("y")}, {TXT("&amp;x;"), TXT("&x;")},
      {TXT("&lt;&gt;"), TXT("<>")}, {TXT("&x;&gt;"), TXT(">")}, {TXT("a&b&lt;c"), TXT("a<c")},
      {TXT("&lt"), TXT("")},        {TXT(";;"), TXT(";;")},     {TXT(""), TXT("")},
  };
  for (const auto& [raw, text] : cases) EXPECT_EQ(WString(text), XMLUnescape(raw)) << ToUtf8(raw);
}

TEST(XMLValues, ParseIntIsLenient) {
  EXPECT_EQ(12, ParseInt(TXT("12")));
  EXPECT_EQ(-7, ParseInt(TXT("-7")));
  EXPECT_EQ(-3, ParseInt(TXT("abc-3x")));
  EXPECT_EQ(4, ParseInt(TXT("4,5")));
  EXPECT_EQ(5, ParseInt(TXT(" 5 ")));
  EXPECT_EQ(0, ParseInt(TXT("none")));
  EXPECT_EQ(0, ParseInt(nullptr));
  EXPECT_EQ(-2147483647 - 1, ParseInt(TXT("-2147483648")));
  EXPECT_EQ(-2147483647, XMLToInt(TXT("-2147483648")));
  EXPECT_EQ(-1, ParseInt(TXT("4294967295")));  // 32-bit arithmetic wraps
}

TEST(XMLValues, ParseRealIsLenientAndReadsExponents) {
  EXPECT_DOUBLE_EQ(2.5, ParseReal(TXT("2.5")));
  EXPECT_DOUBLE_EQ(-0.5, ParseReal(TXT("x-.5")));
  EXPECT_DOUBLE_EQ(1.2, ParseReal(TXT("1.2.3")));
  EXPECT_DOUBLE_EQ(5, ParseReal(TXT(" 5 ")));
  EXPECT_DOUBLE_EQ(1e-5, ParseReal(TXT("1e-005")));
  EXPECT_DOUBLE_EQ(1e6, ParseReal(TXT("1e+006")));
  EXPECT_DOUBLE_EQ(2.5e7, ParseReal(TXT("2.5E7")));
  EXPECT_DOUBLE_EQ(3, ParseReal(TXT("3e")));
  EXPECT_DOUBLE_EQ(3, ParseReal(TXT("3e+x")));
  EXPECT_DOUBLE_EQ(0, ParseReal(TXT("abc")));
  EXPECT_DOUBLE_EQ(0, ParseReal(nullptr));
  for (const WChar* beyond : {TXT("1e400"), TXT("-1e400"), TXT("inf")})
    EXPECT_DOUBLE_EQ(0, ParseReal(beyond));
  EXPECT_DOUBLE_EQ(12345678901234567890.0, ParseReal(TXT("12345678901234567890123")) / 1000);
}

// Leading zeros carry no digits; up to 19 significant digits are read and further ones only
// move the point; exponents of any size read as far as a double reaches.
TEST(XMLValues, ParseRealKeepsNineteenSignificantDigits) {
  const std::pair<const WChar*, double> cases[] = {
      {TXT("0.0000000000000000000000012"), 1.2e-24},
      {TXT("000000000000000000000000042"), 42},
      {TXT("1234567890123456789"), 1234567890123456789.0},
      {TXT("12345678901234567891"), 12345678901234567890.0},
      {TXT("1.2345678901234567899999"), 1.234567890123456789},
      {TXT("1e22"), 1e22},
      {TXT("1e23"), 1e23},
      {TXT("1e-22"), 1e-22},
      {TXT("1e-23"), 1e-23},
      {TXT("2.5e-300"), 2.5e-300},
      {TXT("1e-400"), 0},
      {TXT("-2.5e-300"), -2.5e-300},
      {TXT("1e99999999999"), 0},
      {TXT("1.5e308"), 1.5e308},
      {TXT(".5."), 0.5},
      {TXT("-."), 0},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(value, ParseReal(text)) << ToUtf8(text);
}

// A number reads as the double nearest to it, as the compiler reads the same literal: its digits
// are scaled by one exact power of ten where doubles hold one.
TEST(XMLValues, ParseRealGivesTheNearestDouble) {
  const std::pair<const WChar*, double> cases[] = {
      {TXT("5e-22"), 5e-22}, {TXT("0.5e-21"), 5e-22}, {TXT("19e-22"), 19e-22},   {TXT("31e-22"), 31e-22},
      {TXT("0.1"), 0.1},     {TXT("0.3"), 0.3},       {TXT("123.457"), 123.457}, {TXT("4.35"), 4.35},
      {TXT("9e22"), 9e22},   {TXT("1.5e-7"), 1.5e-7}, {TXT("2.05"), 2.05},       {TXT("31.5"), 31.5},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(value, ParseReal(text)) << ToUtf8(text);
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

TEST(XMLDocFiles, SaveAndLoadRoundTripTheExactUnits) {
  const WString path = FromUtf8(::testing::TempDir()) + TXT("xmldoc-roundtrip.xml");
  XMLDoc out;
  out.OpenElement(TXT("OPTIONS"));
  out.WriteString(TXT("FONT"), TXT("Caf\u00E9 \u20AC"));
  out.CloseElement();
  ASSERT_TRUE(out.Save(path));
  XMLDoc in;
  ASSERT_TRUE(in.Load(path));
  EXPECT_EQ(out.Output(), in.Text());
  EXPECT_EQ(0u, in.Cursor());
  EXPECT_TRUE(in.FindRoot(TXT("OPTIONS")));
  XMLDoc missing;
  EXPECT_FALSE(missing.Load(path + TXT(".missing")));
  EXPECT_NE(0u, missing.LastError());
}
