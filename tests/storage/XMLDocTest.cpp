#include <gtest/gtest.h>

#include <cctype>

#include "storage/XMLDoc.h"

namespace {

// The value of the first tag of a one-element document, in UTF-8; "none" when there is none.
std::string ValueOf(const WString& text, const WChar* name) {
  XMLDoc doc;
  doc.SetText(text);
  doc.NextTag();
  const WChar* value = doc.ReadValue(name);
  return value ? ToUtf8(value) : "none";
}

// The units of an 8-bit file as the loader sees it: two bytes per unit, first byte low.
WString AsLoaded(const std::string& bytes) {
  WString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<WChar>(static_cast<unsigned char>(bytes[i]) |
                               (static_cast<unsigned char>(bytes[i + 1]) << 8));
  return text;
}

// The FONT value of an 8-bit file of OPTIONS, in UTF-8; "no root" when its root is not found.
std::string FontIn(const std::string& bytes) {
  XMLDoc doc;
  doc.SetText(AsLoaded(bytes));
  if (!doc.FindRoot(TXT("OPTIONS"))) return "no root";
  while (const WChar* tag = doc.NextTag()) {
    if (WStringView(tag) != TXT("FONT")) continue;
    const WChar* value = doc.ReadValue(tag);
    return value ? ToUtf8(value) : "none";
  }
  return "no FONT";
}

// The tags the reader meets, blank-separated: "/NAME" for an end tag, "NAME/" for an empty one,
// and with `values` the value read after each as "=value" when it is not empty.
std::string Walk(XMLDoc& doc, bool values = true) {
  std::string tags;
  while (const WChar* tag = doc.NextTag()) {
    tags += std::string(" ") + (doc.IsEndTag() ? "/" : "") + ToUtf8(tag) + (doc.IsEmptyTag() ? "/" : "");
    const WChar* value = values ? doc.ReadValue(tag) : nullptr;
    if (value && *value) tags += "=" + ToUtf8(value);
  }
  return tags.substr(tags.empty() ? 0 : 1);
}
std::string Walk(const WString& text, bool values = true) {
  XMLDoc doc;
  doc.SetText(text);
  return Walk(doc, values);
}

}  // namespace

// One element per line, no indentation; zero, false and empty values are empty elements, and only
// "&", "<" and ">" are escaped.
TEST(XMLDocWriter, ElementsValuesAndLists) {
  XMLDoc doc;
  doc.OpenElement(TXT("OPTIONS"));
  doc.WriteString(TXT("NAME"), WString(TXT("a<b & c>d")));
  doc.WriteString(TXT("Q"), TXT("\"it's\"\r\n\u00E9"));
  doc.WriteInt(TXT("A"), -2147483647 - 1);
  doc.WriteUInt(TXT("B"), 4294967295u);
  doc.WriteBool(TXT("C"), true);
  doc.WriteByteList(TXT("D"), {0, 7, 255});
  doc.WriteIntList(TXT("COLWIDTHS"), {120, -80, 80});
  doc.CloseElement();
  doc.CloseElement();  // nothing left open: writes nothing
  doc.WriteInt(TXT("I"), 0);
  doc.WriteUInt(TXT("U"), 0);
  doc.WriteBool(TXT("B"), false);
  doc.WriteReal(TXT("R"), 0.0);
  doc.WriteReal(TXT("N"), -0.0);
  doc.WriteString(TXT("S"), TXT(""));
  doc.WriteString(TXT("P"), static_cast<const WChar*>(nullptr));
  doc.WriteByteList(TXT("BL"), {});
  doc.WriteIntList(TXT("IL"), {});
  EXPECT_EQ(TXT("<OPTIONS>\r\n<NAME>a&lt;b &amp; c&gt;d</NAME>\r\n<Q>\"it's\"\r\n\u00E9</Q>\r\n"
                "<A>-2147483648</A>\r\n<B>4294967295</B>\r\n<C>1</C>\r\n<D>0,7,255</D>\r\n"
                "<COLWIDTHS>120,-80,80</COLWIDTHS>\r\n</OPTIONS>\r\n"
                "<I/>\r\n<U/>\r\n<B/>\r\n<R/>\r\n<N/>\r\n<S/>\r\n<P/>\r\n<BL/>\r\n<IL/>\r\n"),
            doc.Output());
}

// WriteReal and FormatReal write six significant digits and exponents of at least three digits.
TEST(XMLDocWriter, RealsHaveSixSignificantDigitsAndThreeDigitExponents) {
  const std::pair<double, const WChar*> cases[] = {
      {2.5, TXT("2.5")},       {0.00001, TXT("1e-005")},   {-1.5e-10, TXT("-1.5e-010")},
      {1e6, TXT("1e+006")},    {999999.4, TXT("999999")},  {1.23456789e123, TXT("1.23457e+123")},
      {0.0001, TXT("0.0001")}, {123.4567, TXT("123.457")},
  };
  WChar text[48];
  for (const auto& [value, written] : cases) {
    SCOPED_TRACE(value);
    XMLDoc doc;
    doc.WriteReal(TXT("R"), value);
    EXPECT_EQ(WString(TXT("<R>")) + written + TXT("</R>\r\n"), doc.Output());
    EXPECT_EQ(WString(written), WString(text, FormatReal(value, text)));
  }
  EXPECT_EQ(WString(TXT("0")), WString(text, FormatReal(0.0, text)));
}

TEST(XMLDocReader, NextTagKindsAndAttributes) {
  XMLDoc doc;
  doc.SetText(TXT("<ROOT>\r\n<A/>\r\n<B x=\"1\">\r\n</b>\r\n< C >\r\n</ROOT>\r\n"));
  EXPECT_EQ("ROOT A/ B /b C /ROOT", Walk(doc, false));
  EXPECT_EQ(nullptr, doc.NextTag());
  EXPECT_EQ(100, doc.Progress());
  // After a value the cursor stands past its end tag, whichever way that tag is written.
  EXPECT_EQ("NAME=v NEXT/", Walk(TXT("<NAME>v</ name><NEXT/>")));
  // The ASCII blanks, ' ' and '\t' .. '\r', end a tag's name (what follows is attributes); their
  // neighbours and the no-break space do not.
  for (const WChar blank : {WChar(' '), WChar('\t'), WChar('\r')})
    EXPECT_EQ("NAME=v", Walk(WString(TXT("<NAME")) + blank + TXT("x=1>v</NAME>"))) << int(blank);
  for (const WChar other : {WChar(0x08), WChar(0x0E), WChar(0xA0)})
    EXPECT_EQ("A" + ToUtf8(WString(1, other)) + "B", Walk(WString(TXT("<A")) + other + TXT("B>")))
        << int(other);
}

// A tag cut off by the end of the text, even one that looked empty or an end tag, ends reading.
TEST(XMLDocReader, UnterminatedTagEndsReading) {
  for (const auto& [text, tags] :
       {std::pair{TXT("<A>1</A><B"), "A=1"}, {TXT("<ROOT><A/"), "ROOT"}, {TXT("<ROOT></A"), "ROOT"}}) {
    XMLDoc doc;
    doc.SetText(text);
    EXPECT_EQ(tags, Walk(doc, text[1] == 'A'));
    EXPECT_FALSE(doc.IsEmptyTag() || doc.IsEndTag()) << tags;
    EXPECT_EQ(nullptr, doc.ReadValue(TXT("A")));
  }
}

// "<>" reads as a tag with an empty name, not as the end of the text, wherever it stands.
TEST(XMLDocReader, EmptyTagBracketsReadAsEmptyName) {
  for (const auto& [before, tags] :
       {std::pair{TXT(""), " A /A"}, {TXT("<A/>"), "A/  A /A"}, {TXT("<AB>1</AB>\r\n"), "AB /AB  A /A"}})
    EXPECT_EQ(tags, Walk(WString(before) + TXT("<><A>1</A>"), false));
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
      {"<A>1", "A", nullptr},     {"<P>1</P >", "P", nullptr},  {"<name>3</NAME>", "Name", "3"},
      {"<NAME/>", "NAME", ""},    {"<A>1<//A>", "A", nullptr},  {"<-X1>1</-X1>", "-X1", nullptr},
      {"<Q>1</\tq>", "Q", "1"},   {"<P>1<\\P>", "P", nullptr},  {"<NAME></NAME>", "NAME", nullptr},
      {"<A>1</>", "A", nullptr},  {"<A>1>2</A>", "A", nullptr}, {"<X>a/b\r\n</X>", "X", "a/b\r\n"},
      {"<A>1</B>", "A", nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.value ? c.value : "none", ValueOf(FromUtf8(c.text), FromUtf8(c.name).c_str())) << c.text;
  // The letters and digits at the ends of their ranges start an end tag's name after a blank, and
  // so does the fast path for an expected name; their neighbours do neither.
  for (const char c : std::string("AZaz09@[`{:")) {
    const WString name(1, c);
    for (const WChar* endTag : {TXT(">1</"), TXT(">1</ ")})
      EXPECT_EQ(std::isalnum(c) ? "1" : "none",
                ValueOf(TXT("<") + name + endTag + name + TXT(">"), name.c_str()))
          << c << ToUtf8(endTag);
  }
}

// Asking a container for its value ends the value at the first child's "<": that child's start tag
// is gone, and reading goes on at its end tag. End tags have no value.
TEST(XMLDocReader, EndTagAndContainerHaveNoValue) {
  EXPECT_EQ("FOOD /NAME /FOOD", Walk(TXT("<FOOD>\r\n<NAME>Egg</NAME>\r\n</FOOD>\r\n")));
}

// Escaped texts and empty elements read back as written; every written real reads back to the
// same digits.
TEST(XMLDocReader, WrittenValuesReadBack) {
  XMLDoc out;
  out.OpenElement(TXT("ROOT"));
  out.WriteString(TXT("S"), TXT("a<b & c>d"));
  out.WriteInt(TXT("I"), 0);
  out.WriteString(TXT("E"), TXT(""));
  out.CloseElement();
  XMLDoc in;
  in.SetText(out.Output());
  ASSERT_TRUE(in.FindRoot(TXT("ROOT")));
  EXPECT_EQ(WString(TXT("ROOT")), in.NextTag());
  // The escaped text is the one XMLValues.Unescape decodes.
  EXPECT_EQ("S=a&lt;b &amp; c&gt;d I/ E/ /ROOT", Walk(in));
  for (const double v : {2.5, 0.333333333, 1e6, 1e-300, 1.79e308, -999999.5}) {
    XMLDoc first, second;
    first.WriteReal(TXT("R"), v);
    second.WriteReal(TXT("R"), ParseReal(FromUtf8(ValueOf(first.Output(), TXT("R"))).c_str()));
    EXPECT_EQ(ToUtf8(first.Output()), ToUtf8(second.Output()));
  }
}

// A root is found only where its end tag closes the text.
TEST(XMLDocReader, FindRootAndProgress) {
  XMLDoc doc;
  for (const auto& [text, root, found] :
       {std::tuple{TXT("<OPTIONS>\r\n</OPTIONS>\r\n"), TXT("OPTIONS"), true},
        {TXT("<OPTIONS>\r\n</OPTIONS>\r\n"), TXT("RECIPELIST"), false},
        {TXT("<OPTIONS>\r\n"), TXT("OPTIONS"), false},
        {TXT(""), TXT("OPTIONS"), false}}) {
    doc.SetText(text);
    EXPECT_EQ(found, doc.FindRoot(root)) << ToUtf8(text) << ToUtf8(root);
  }
  EXPECT_EQ(0, doc.Progress());
  doc.SetText(WString(200, 'x'));
  doc.SetCursor(100);
  EXPECT_EQ(50, doc.Progress());
  doc.SetCursor(199);
  EXPECT_EQ(99, doc.Progress());
}

TEST(XMLDocReader, EightBitFileReadsOneCharacterPerByte) {
  // The end tag at an even and at an odd byte offset.
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

// An 8-bit file is UTF-8 when it says so, by a byte-order mark or by its XML declaration (the name
// in any case, in either quotes), or when it declares no encoding and is well-formed UTF-8; a byte
// of a file that says so but starts no well-formed sequence, and every byte of any other file,
// is the character of its code, as in a Windows-1252 file. The root may stand at any byte offset.
TEST(XMLDocReader, EightBitFilesInUtf8ReadAsUtf8) {
  const std::string utf8 =
      "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
      "e";
  const WString name = TXT("Cr\u00E8me br\u00FBl\u00E9e"),
                garbled = TXT("Cr\u00C3\u00A8me br\u00C3\u00BBl\u00C3\u00A9e");
  const struct {
    const char* label;
    std::string head, value;
    WString read;
  } cases[] = {
      {"byte-order mark", "\xEF\xBB\xBF", utf8, name},
      {"declaration in double quotes", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", utf8, name},
      {"declaration in single quotes", "<?xml version='1.0' encoding = 'utf-8' ?>\n", utf8, name},
      {"declaration, a stray byte", "<?xml version=\"1.0\" encoding=\"utf-8\"?>",
       "Cr\xC3\xA8me br\xFBl\xC3\xA9"
       "e",
       name},
      {"no declaration", "", utf8 + " \xF0\x9F\x8D\xB0", name + TXT(" \U0001F370")},
      {"no declaration, not UTF-8", "",
       "Cr\xE8me br\xC3\xBBl\xC3\xA9"
       "e",
       TXT("Cr\u00E8me br\u00C3\u00BBl\u00C3\u00A9e")},
      {"Windows-1252", "",
       "Cr\xE8me br\xFBl\xE9"
       "e",
       name},
      {"another encoding declared", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n", utf8, garbled},
      {"overlong form", "", "A\xC0\xA9", TXT("A\u00C0\u00A9")},
      {"surrogate", "", "A\xED\xA0\x80", TXT("A\u00ED\u00A0\u0080")},
      {"beyond U+10FFFF", "", "A\xF4\x90\x80\x80", TXT("A\u00F4\u0090\u0080\u0080")},
      {"cut off", "", "A\xE2\x82", TXT("A\u00E2\u0082")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToUtf8(c.read), FontIn(c.head + "<OPTIONS>\r\n<FONT>" + c.value + "</FONT>\r\n</OPTIONS>\r\n"))
        << c.label;
}

// An entity is as many units of "&amp;", "&lt;" or "&gt;" as stand before its ";", in any case, so
// shortened forms decode too; anything else between "&" and ";" vanishes, as does an entity the
// text ends in.
TEST(XMLValues, Unescape) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},         {"&x;&gt;", ">"},    {"a;&amp;;", "a;&;"}, {"&AMP;&am;&LT;", "&&<"},
      {"&;", "&"},      {"&ampx;y", "y"},    {"cut &amp", "cut "}, {"a&lt;b &amp; c&gt;d", "a<b & c>d"},
      {"&l;&G;", "<>"}, {"a&b&lt;c", "a<c"},
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
      {"-7", -7},     {"4,5", 4},         {"none", 0},
      {"abc-3x", -3}, {"4294967295", -1}, {"-2147483648", -2147483647 - 1},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(value, ParseInt(FromUtf8(text).c_str())) << text;
  EXPECT_EQ(0, ParseInt(nullptr));
  EXPECT_EQ(-2147483647, XMLToInt(TXT("-2147483648")));
}

// A number reads as the double nearest to it, as the compiler reads the same literal: exactly
// scaled up to 1e22 either way, through the library beyond. Leading zeros carry no digits; up to
// 19 significant digits are read and further ones only move the point; exponents of any size read
// as far as a double reaches, and beyond that read as 0.
TEST(XMLValues, ParseRealIsLenientAndGivesTheNearestDouble) {
  const std::pair<const char*, double> cases[] = {
      {"-.", 0},    {"1e-400", 0},  {"4.35", 4.35},  {"1e-005", 1e-5}, {"0.5e-21", 5e-22},
      {"inf", 0},   {"9e22", 9e22}, {"x- .5", -0.5}, {"2.5E7", 2.5e7}, {"1e99999999999", 0},
      {"3e+x", 3},  {"1e23", 1e23}, {"1.2.3", 1.2},  {"1e-22", 1e-22}, {"1.5e308", 1.5e308},
      {"1e400", 0}, {"2.05", 2.05}, {"1e+006", 1e6}, {"1e-23", 1e-23}, {"-2.5e-300", -2.5e-300},
  };
  const std::pair<const char*, double> digits[] = {
      {"000000000000000000000000042", 42},
      {"0.0000000000000000000000012", 1.2e-24},
      {"1234567890123456789", 1234567890123456789.0},
      {"12345678901234567891", 12345678901234567890.0},
      {"1.2345678901234567899999", 1.234567890123456789},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(value, ParseReal(FromUtf8(text).c_str())) << text;
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
