#include "richtext/HtmlToRtf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kDocumentStart = R"({\rtf1\ansi\deff0\deftab720)";
const std::string kArialTable = R"({\fonttbl{\f0\fswiss Arial;}})";
const std::string kBodyStart = R"(\deflang1033\pard\plain\f0\fs20 )";
const std::string kDocumentEnd = R"(\par })";

std::string Convert(const std::string& html, bool keepLinkTags = true) {
  WString rtf = TXT("left over from before");
  return ToUtf8(HtmlToRtf(FromUtf8(html), rtf, keepLinkTags));
}

// The escaped body text of a document: what lies between its header and "\par }".
std::string Body(const std::string& html, bool keepLinkTags = true) {
  std::string rtf = Convert(html, keepLinkTags);
  size_t start = rtf.find(kBodyStart);
  EXPECT_NE(start, std::string::npos) << rtf;
  EXPECT_EQ(rtf.substr(rtf.size() - kDocumentEnd.size()), kDocumentEnd) << rtf;
  start += kBodyStart.size();
  return rtf.substr(start, rtf.size() - kDocumentEnd.size() - start);
}

std::string Tables(const std::string& html) {
  std::string rtf = Convert(html);
  size_t end = rtf.find(kBodyStart);
  return rtf.substr(kDocumentStart.size(), end - kDocumentStart.size());
}

TEST(HtmlToRtf, TextWithoutBodyGivesTheEmptyDocument) {
  EXPECT_EQ(Convert("<html><b>Hello</b> world</html>"),
            kDocumentStart + kArialTable + R"({\colortbl ;})" + kBodyStart + kDocumentEnd);
  EXPECT_EQ(Convert(""), Convert("no tags at all"));
}

TEST(HtmlToRtf, OnlyTheBodyIsUsedAndTagNamesIgnoreCase) {
  EXPECT_EQ(Body("<head><font color=#FF0000><b>title</head><BODY>x</Body>after<body>y</BODY>z"),
            R"(\plain\f0\fs20 xy)");
  EXPECT_EQ(Tables("<font color=#FF0000><body>x</body>"), kArialTable + R"({\colortbl ;})");
}

TEST(HtmlToRtf, RunsOfBlanksAndLineBreaksBecomeOneBlank) {
  EXPECT_EQ(Body("<body>a  \r\n b</body>"), R"(\plain\f0\fs20 a b)");
  EXPECT_EQ(Body("<body> a</body>"), R"(\plain\f0\fs20  a)");
  EXPECT_EQ(Body("<body>a <i> b</body>"), R"(\plain\f0\fs20 a \plain\f0\fs20\i  b)");
  EXPECT_EQ(Body("<body>a\tb</body>"), "\\plain\\f0\\fs20 a\tb");
}

TEST(HtmlToRtf, StyleTagsMarkTheFormatPendingOnlyWhenTheyChangeIt) {
  EXPECT_EQ(Body("<body><b>x</b>y</body>"), R"(\plain\f0\fs20\b x\plain\f0\fs20 y)");
  EXPECT_EQ(Body("<body>a<b><b>b<i><u>c</u></i>d</b></b>e</body>"),
            R"(\plain\f0\fs20 a\plain\f0\fs20\b b\plain\f0\fs20\b\i\ul c\plain\f0\fs20\b d\plain\f0\fs20 e)");
  EXPECT_EQ(Body("<body>a</b></i></u>b</body>"), R"(\plain\f0\fs20 ab)");
}

TEST(HtmlToRtf, LineBreaksAndParagraphsDropTheBlanksAfterThem) {
  EXPECT_EQ(Body("<body>a<br> \r\n b</body>"), "\\plain\\f0\\fs20 a\\\nb");
  EXPECT_EQ(Body("<body><b>a<p>  b</body>"), "\\plain\\f0\\fs20\\b a\\\n\\\n\\plain\\f0\\fs20\\b b");
  EXPECT_EQ(Body("<body>a<p> <b> b</body>"),
            "\\plain\\f0\\fs20 a\\\n\\\n\\plain\\f0\\fs20 \\plain\\f0\\fs20\\b  b");
}

TEST(HtmlToRtf, ParagraphEndReturnsToTheDefaults) {
  EXPECT_EQ(Body("<body><font size=5 color=#00FF00><b><i>x</p>y</body>"),
            R"(\plain\f0\cf1\fs24\b\i x\plain\f0\fs20 y)");
  EXPECT_EQ(Body("<body>x</p>y</body>"), R"(\plain\f0\fs20 x\plain\f0\fs20 y)");
}

TEST(HtmlToRtf, FontColourEntersTheTableOnce) {
  EXPECT_EQ(Tables(R"(<body><font color="#FF0000">x</body>)"),
            kArialTable + R"({\colortbl ;\red255\green0\blue0;})");
  EXPECT_EQ(Body(R"(<body><font color="#FF0000">x</body>)"), R"(\plain\f0\cf1\fs20 x)");

  std::string html = R"(<body><font color="#FF0000">a<font color=0080ff>b<font COLOR="#ff0000">c</body>)";
  EXPECT_EQ(Tables(html), kArialTable + R"({\colortbl ;\red255\green0\blue0;\red0\green128\blue255;})");
  EXPECT_EQ(Body(html), R"(\plain\f0\cf1\fs20 a\plain\f0\cf2\fs20 b\plain\f0\cf1\fs20 c)");
}

TEST(HtmlToRtf, BlackAndUnreadableColoursKeepTheCurrentColour) {
  std::string html =
      R"(<body><font color="#0000FF">a<font color="#000000">b<font color="#zz">c</font>d</body>)";
  EXPECT_EQ(Tables(html), kArialTable + R"({\colortbl ;\red0\green0\blue255;})");
  EXPECT_EQ(Body(html), R"(\plain\f0\cf1\fs20 abc\plain\f0\fs20 d)");
}

TEST(HtmlToRtf, TheTwoHundredFiftySixthColourIsNotEntered) {
  std::string html = "<body>";
  for (int i = 1; i <= 256; ++i) html += "<font color=#" + std::to_string(100000 + i) + ">" + "x";
  html += "<font color=#100001>y</body>";
  std::string body = Body(html);
  EXPECT_NE(body.find(R"(\cf255\fs20 xx\plain\f0\cf1\fs20 y)"), std::string::npos);
  EXPECT_EQ(body.find(R"(\cf256)"), std::string::npos);
  EXPECT_NE(Tables(html).find(R"(\red16\green2\blue85;})"), std::string::npos);  // 0x100255, the last
}

TEST(HtmlToRtf, FontSizesAreRelativeToThreeOrAbsolute) {
  struct Case {
    const char* attribute;
    const char* size;
  } cases[] = {{"size=3", "20"},       {"size=1", "16"},  {"size=7", "28"}, {R"(size="+2")", "24"},
               {R"(size="-1")", "18"}, {"size=+0", "20"}, {"size=", "14"},  {"size=x", "14"}};
  for (const Case& c : cases) {
    std::string html = std::string("<body><font ") + c.attribute + ">x</body>";
    std::string expected = std::string(R"(\plain\f0\fs)") + c.size + " x";
    EXPECT_EQ(Body(html), expected) << c.attribute;
  }
}

TEST(HtmlToRtf, FacesAreNumberedInOrderOfFirstUse) {
  std::string html = R"(<body><font face="Times New Roman">a</font><font face=Courier size=4>b</font>)"
                     R"(<FONT FACE="Times New Roman">c<font face="courier">d</body>)";
  EXPECT_EQ(
      Tables(html),
      R"({\fonttbl{\f0\fswiss Times New Roman;}{\f1\fswiss Courier;}{\f2\fswiss courier;}}{\colortbl ;})");
  EXPECT_EQ(Body(html), R"(\plain\f0\fs20 a\plain\f1\fs22 b\plain\f0\fs20 c\plain\f2\fs20 d)");
}

TEST(HtmlToRtf, FontEndChangesNothingWhenTheDefaultsAreInPlace) {
  EXPECT_EQ(Body("<body>a</font>b<font>c<fontx>d</body>"),
            R"(\plain\f0\fs20 abc\plain\f0\fs20\protect<fontx>\plain\f0\fs20 d)");
}

TEST(HtmlToRtf, LinksAreCopiedAsProtectedText) {
  EXPECT_EQ(Body(R"(<body>see <A href="http://x/">here</A> now</body>)"),
            R"(\plain\f0\fs20 see \plain\f0\fs20\protect<A href="http://x/">here)"
            R"(\plain\f0\fs20\protect</a>\plain\f0\fs20  now)");
  EXPECT_EQ(
      Body("<body><b>a<a href=x>b</a>c</body>"),
      R"(\plain\f0\fs20\b a\plain\f0\fs20\protect<a href=x>b\plain\f0\fs20\protect</a>\plain\f0\fs20\b c)");
}

TEST(HtmlToRtf, LinkTextIsProtectedInTheFormatsWrittenInsideIt) {
  EXPECT_EQ(Body("<body><a href=x><b>b</b></a></body>"),
            R"(\plain\f0\fs20\protect<a href=x>\plain\f0\fs20\protect\b b)"
            R"(\plain\f0\fs20\protect</a>\plain\f0\fs20 \plain\f0\fs20  )");
}

TEST(HtmlToRtf, UnknownTagsAreCopiedAndFollowedByTheFormat) {
  EXPECT_EQ(Body("<body>a<span class=c>b</span>c</body>"),
            R"(\plain\f0\fs20 a\plain\f0\fs20\protect<span class=c>\plain\f0\fs20 b)"
            R"(\plain\f0\fs20\protect</span>\plain\f0\fs20 c)");
  EXPECT_EQ(Body("<body><abbr>a</body>"), R"(\plain\f0\fs20\protect<abbr>\plain\f0\fs20 a)");
}

TEST(HtmlToRtf, ABodyEndingRightAfterACopiedTagGetsAClosingFormat) {
  EXPECT_EQ(Body("<body>a<hr></body>"), R"(\plain\f0\fs20 a\plain\f0\fs20\protect<hr>\plain\f0\fs20 )"
                                        R"(\plain\f0\fs20  )");
  EXPECT_EQ(Body("<body>a<hr></b></body>"), Body("<body>a<hr></body>"));
  EXPECT_EQ(Body("<body>a<hr> </body>"), R"(\plain\f0\fs20 a\plain\f0\fs20\protect<hr>\plain\f0\fs20  )");
  EXPECT_EQ(Body("<body>a<hr><br></body>"),
            "\\plain\\f0\\fs20 a\\plain\\f0\\fs20\\protect<hr>\\plain\\f0\\fs20 \\\n");
}

TEST(HtmlToRtf, WithoutKeptTagsOnlyTheProtectionIsWritten) {
  EXPECT_EQ(Body("<body>a<hr>b<a href=x></a>c</body>", false),
            R"(\plain\f0\fs20 a\plain\f0\fs20\protect\plain\f0\fs20 b\plain\f0\fs20\protect)"
            R"(\plain\f0\fs20\protect\plain\f0\fs20 c)");
  EXPECT_EQ(Body("<body>a<hr></body>", false), R"(\plain\f0\fs20 a\plain\f0\fs20\protect\plain\f0\fs20 )");
}

TEST(HtmlToRtf, BracesAndBackslashesAreEscaped) {
  EXPECT_EQ(Body(R"(<body>{a}\b</body>)"), R"(\plain\f0\fs20 \{a\}\\b)");
}

TEST(HtmlToRtf, NamedEntitiesIgnoreCaseAndOthersAreCopied) {
  EXPECT_EQ(Body("<body>&copy;&COPY;&Reg;</body>"), R"(\plain\f0\fs20 \'A9\'A9\'AE)");
  EXPECT_EQ(Body("<body>&amp;&LT;&gt;&quot;&nbsp;</body>"), R"(\plain\f0\fs20 &<>"\'7F)");
  EXPECT_EQ(Body("<body>&euro; &amp &amp;lt;</body>"), R"(\plain\f0\fs20 &euro; &amp &lt;)");
}

TEST(HtmlToRtf, NumericReferencesReadAtMostThreeCharacters) {
  EXPECT_EQ(Body("<body>&#65;&#9;x&#169</body>"), R"(\plain\f0\fs20 \'41\'09x\'A9)");
  EXPECT_EQ(Body("<body>&#1234;</body>"), R"(\plain\f0\fs20 \'7B4;)");
  EXPECT_EQ(Body("<body>&#;a&#</body>"), R"(\plain\f0\fs20 \'00a\'00)");
  EXPECT_EQ(Body("<body>&#256;&#x41;</body>"), R"(\plain\f0\fs20 \'00\'29)");
}

TEST(HtmlToRtf, ALessThanSignWithoutTagEndIsText) {
  EXPECT_EQ(Body("<body>a < b"), R"(\plain\f0\fs20 a < b)");
}

TEST(HtmlToRtf, NonAsciiTextIsCopiedUnchanged) {
  WString rtf;
  HtmlToRtf(TXT("<body>caf\u00e9</body>"), rtf, true);
  EXPECT_NE(rtf.find(TXT("caf\u00e9\\par }")), WString::npos);
}

}  // namespace
