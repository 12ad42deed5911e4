#include "richtext/HtmlToRtf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kArial = R"({\f0\fswiss Arial;})";

// The whole document for `html`; the target's old content must be replaced, not added to.
std::string Convert(const std::string& html, bool keepLinkTags = true) {
  WString rtf = TXT("left over from before");
  return ToUtf8(HtmlToRtf(FromUtf8(html), rtf, keepLinkTags));
}

// The document of these tables and body; a "|" in the body stands for the default format.
std::string Document(const std::string& fonts, const std::string& colours, std::string body) {
  for (size_t at; (at = body.find('|')) != std::string::npos;) body.replace(at, 1, R"(\plain\f0\fs20)");
  return R"({\rtf1\ansi\deff0\deftab720{\fonttbl)" + fonts + R"(}{\colortbl ;)" + colours +
         R"(}\deflang1033\pard\plain\f0\fs20 )" + body + R"(\par })";
}

TEST(HtmlToRtf, ConvertsTheBody) {
  const struct {
    const char* html;
    const char* body;
    const char* colours = "";
    const char* fonts = kArial;
    bool keepLinkTags = true;
  } rows[] = {
      // Without a body the document is empty; tag names ignore case; nothing outside the body counts.
      {"<html><b>Hello</b> world</html>", ""},
      {"", ""},
      {"<head><font color=#FF0000><b>title</head><BODY>x</Body>after<body>y</BODY>z", R"(| xy)"},
      // Runs of blanks and line breaks become one blank.
      {"<body>a  \r\n b</body>", R"(| a b)"},
      // Style tags make a new format pending only when they change it.
      {"<body>a<b><b>b<i><u>c</u></i>d</b></b>e</body>", R"(| a|\b b|\b\i\ul c|\b d| e)"},
      // Line breaks and paragraphs drop the blanks after them; </p> returns to the defaults.
      {"<body>a<br> \r\n b</body>", "| a\\\nb"},
      {"<body><b>a<p>  b</body>", "|\\b a\\\n\\\n|\\b b"},
      {"<body><font size=5 color=#00FF00><b><i>x</p>y</body>", R"(\plain\f0\cf1\fs24\b\i x| y)",
       R"(\red0\green255\blue0;)"},
      // A colour enters the table once; black and unreadable colours keep the current one.
      {R"(<body><font color="#FF0000">a<font color=0080ff>b<font COLOR="#ff0000">c</body>)",
       R"(\plain\f0\cf1\fs20 a\plain\f0\cf2\fs20 b\plain\f0\cf1\fs20 c)",
       R"(\red255\green0\blue0;\red0\green128\blue255;)"},
      {R"(<body><font color="#0000FF">a<font color="#000000">b<font color="#zz">c</font>d</body>)",
       R"(\plain\f0\cf1\fs20 abc| d)", R"(\red0\green0\blue255;)"},
      // Sizes are relative to 3 or absolute; an unreadable size is the smallest.
      {R"(<body><font size=3>a<font size=1>b<font size=7>c<font size="+2">d<font size="-1">e)"
       R"(<font size=x>f<font size=+0>g<font size=>h</body>)",
       R"(| a\plain\f0\fs16 b\plain\f0\fs28 c\plain\f0\fs24 d)"
       R"(\plain\f0\fs18 e\plain\f0\fs14 f| g\plain\f0\fs14 h)"},
      // Faces are numbered by first use, names compared with case; </font> at the defaults is nothing.
      {R"(<body><font face="Times New Roman">a</font><font face=Courier size=4>b</font>)"
       R"(<FONT FACE="Times New Roman">c<font face="courier">d</body>)",
       R"(| a\plain\f1\fs22 b| c\plain\f2\fs20 d)", "",
       R"({\f0\fswiss Times New Roman;}{\f1\fswiss Courier;}{\f2\fswiss courier;})"},
      {"<body>a</font>b<font>c<fontx>d</body>", R"(| abc|\protect<fontx>| d)"},
      // Links are copied as protected text, also in the formats written inside them.
      {R"(<body>see <A href="http://x/">here</A> now</body>)",
       R"(| see |\protect<A href="http://x/">here|\protect</a>|  now)"},
      {"<body><a href=x><b>b</b></a></body>", R"(|\protect<a href=x>|\protect\b b|\protect</a>| |  )"},
      // Unknown tags are copied, followed by the format; a body ending right after one gets another.
      {"<body>a<hr></body>", R"(| a|\protect<hr>| |  )"},
      // Without kept tags only the protection is written.
      {"<body>a<hr>b<a href=x></a>c</body>", R"(| a|\protect| b|\protect|\protect| c)", "", kArial, false},
      // Escapes; entity names ignore case, unknown ones are copied; "&#" reads three characters at most.
      {"<body>&COPY;&Reg;&LT;&quot;&nbsp;</body>", R"(| \'A9\'AE<"\'7F)"},
      {R"(<body>{a}\b&euro; &amp &amp;lt;</body>)", R"(| \{a\}\\b&euro; &amp &lt;)"},
      {"<body>&#1234;&#256;&#x41;&#;a&#</body>", R"(| \'7B4;\'00\'29\'00a\'00)"},
      // A "<" without a tag end is text; text beyond ASCII is copied unchanged.
      {"<body>a < b", R"(| a < b)"},
      {"<body>caf\u00e9</body>", "| caf\u00e9"}};
  for (const auto& row : rows) {
    EXPECT_EQ(Document(row.fonts, row.colours, row.body), Convert(row.html, row.keepLinkTags)) << row.html;
  }
}

TEST(HtmlToRtf, TheTwoHundredFiftySixthColourIsNotEntered) {
  std::string html = "<body>";
  for (int i = 1; i <= 256; ++i) html += "<font color=#" + std::to_string(100000 + i) + ">x";
  const std::string rtf = Convert(html + "<font color=#100001>y</body>");
  EXPECT_NE(rtf.find(R"(\cf255\fs20 xx\plain\f0\cf1\fs20 y\par })"), std::string::npos);
  EXPECT_EQ(rtf.find(R"(\cf256)"), std::string::npos);
  EXPECT_NE(rtf.find(R"(\red16\green2\blue85;}\deflang)"), std::string::npos);  // 0x100255, the last
}

}  // namespace
