// UTF-8 repair and the plain text of HTML fragments.
#include <algorithm>
#include <cstring>

#include "webrecipe/RecipeText.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; the five it leaves undefined stand for themselves.
constexpr uint16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t Cp1252(unsigned char b) {
  return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b;
}

// The length of the UTF-8 sequence at text[i], or 0 when it is not one (overlong forms,
// surrogates and code points past U+10FFFF included).
size_t SequenceLength(std::string_view text, size_t i) {
  const unsigned char b = static_cast<unsigned char>(text[i]);
  if (b < 0x80) return 1;
  const size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
  if (length == 0 || b > 0xF4 || i + length > text.size()) return 0;
  uint32_t c = b & (0x3F >> (length - 1));
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  const uint32_t smallest = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0x80;
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return 0;
  return length;
}

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

struct Entity {
  const char* name;
  uint32_t codePoint;
};

// The references recipe pages use; names are case-sensitive as in HTML.
constexpr Entity kEntities[] = {
    {"amp", '&'},       {"lt", '<'},        {"gt", '>'},        {"quot", '"'},      {"apos", '\''},
    {"nbsp", 0xA0},     {"frac12", 0xBD},   {"frac14", 0xBC},   {"frac34", 0xBE},   {"half", 0xBD},
    {"frac13", 0x2153}, {"frac23", 0x2154}, {"frac15", 0x2155}, {"frac25", 0x2156}, {"frac35", 0x2157},
    {"frac45", 0x2158}, {"frac16", 0x2159}, {"frac56", 0x215A}, {"frac18", 0x215B}, {"frac38", 0x215C},
    {"frac58", 0x215D}, {"frac78", 0x215E}, {"deg", 0xB0},      {"ndash", 0x2013},  {"mdash", 0x2014},
    {"hellip", 0x2026}, {"lsquo", 0x2018},  {"rsquo", 0x2019},  {"ldquo", 0x201C},  {"rdquo", 0x201D},
    {"sbquo", 0x201A},  {"bdquo", 0x201E},  {"laquo", 0xAB},    {"raquo", 0xBB},    {"bull", 0x2022},
    {"middot", 0xB7},   {"times", 0xD7},    {"divide", 0xF7},   {"copy", 0xA9},     {"reg", 0xAE},
    {"trade", 0x2122},  {"frasl", 0x2044},  {"minus", 0x2212},  {"prime", 0x2032},  {"Prime", 0x2033},
    {"plusmn", 0xB1},   {"micro", 0xB5},    {"cent", 0xA2},     {"pound", 0xA3},    {"euro", 0x20AC},
    {"yen", 0xA5},      {"sect", 0xA7},     {"para", 0xB6},     {"ordm", 0xBA},     {"ordf", 0xAA},
    {"sup1", 0xB9},     {"sup2", 0xB2},     {"sup3", 0xB3},     {"iexcl", 0xA1},    {"iquest", 0xBF},
    {"shy", 0xAD},      {"thinsp", 0x2009}, {"ensp", 0x2002},   {"emsp", 0x2003},   {"zwnj", 0x200C},
    {"zwj", 0x200D},    {"lrm", 0x200E},    {"rlm", 0x200F},    {"acute", 0xB4},    {"uml", 0xA8},
    {"cedil", 0xB8},    {"aacute", 0xE1},   {"Aacute", 0xC1},   {"agrave", 0xE0},   {"Agrave", 0xC0},
    {"acirc", 0xE2},    {"auml", 0xE4},     {"Auml", 0xC4},     {"aring", 0xE5},    {"atilde", 0xE3},
    {"aelig", 0xE6},    {"ccedil", 0xE7},   {"Ccedil", 0xC7},   {"eacute", 0xE9},   {"Eacute", 0xC9},
    {"egrave", 0xE8},   {"Egrave", 0xC8},   {"ecirc", 0xEA},    {"euml", 0xEB},     {"iacute", 0xED},
    {"igrave", 0xEC},   {"icirc", 0xEE},    {"iuml", 0xEF},     {"ntilde", 0xF1},   {"Ntilde", 0xD1},
    {"oacute", 0xF3},   {"ograve", 0xF2},   {"ocirc", 0xF4},    {"ouml", 0xF6},     {"Ouml", 0xD6},
    {"otilde", 0xF5},   {"oslash", 0xF8},   {"oelig", 0x153},   {"uacute", 0xFA},   {"ugrave", 0xF9},
    {"ucirc", 0xFB},    {"uuml", 0xFC},     {"Uuml", 0xDC},     {"szlig", 0xDF},    {"yuml", 0xFF},
};

// The names HTML reads even without their ";".
bool ReadsWithoutSemicolon(std::string_view name) {
  return name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "nbsp";
}

bool IsHexDigit(char c) {
  return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A numeric reference's code point as HTML takes it: 0x80..0x9F as Windows-1252, and nothing
// that is no character (0, surrogates, past U+10FFFF) but U+FFFD.
uint32_t ReferencedCodePoint(uint64_t value) {
  if (value >= 0x80 && value < 0xA0) return Cp1252(static_cast<unsigned char>(value));
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)) return 0xFFFD;
  return static_cast<uint32_t>(value);
}

// The reference at text[i] ('&'): its code point and length, or false when there is none.
bool ReadReference(std::string_view text, size_t i, uint32_t& codePoint, size_t& length) {
  size_t p = i + 1;
  if (p < text.size() && text[p] == '#') {
    const bool hex = p + 1 < text.size() && (text[p + 1] == 'x' || text[p + 1] == 'X');
    p += hex ? 2 : 1;
    const size_t digits = p;
    uint64_t value = 0;
    for (; p < text.size() && (hex ? IsHexDigit(text[p]) : IsAsciiDigit(text[p])); ++p) {
      const char c = text[p];
      const uint64_t digit = IsAsciiDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
      value = std::min<uint64_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (p == digits) return false;
    if (p < text.size() && text[p] == ';') ++p;
    codePoint = ReferencedCodePoint(value);
    length = p - i;
    return true;
  }
  const size_t start = p;
  while (p < text.size() && p - start < 10 && (IsAsciiLetter(text[p]) || IsAsciiDigit(text[p]))) ++p;
  const std::string_view name = text.substr(start, p - start);
  const bool semicolon = p < text.size() && text[p] == ';';
  if (!semicolon && !ReadsWithoutSemicolon(name)) return false;
  for (const Entity& entity : kEntities) {
    if (name != entity.name) continue;
    codePoint = entity.codePoint;
    length = p + (semicolon ? 1 : 0) - i;
    return true;
  }
  return false;
}

// White space of running text: ASCII blanks, no-break and the typographic spaces.
bool IsSpace(uint32_t c) {
  return c == ' ' || (c >= '\t' && c <= '\r') || c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

// Marks that take no room: zero-width spaces and joiners, direction marks, the byte-order mark,
// the soft hyphen.
bool IsInvisible(uint32_t c) {
  return (c >= 0x200B && c <= 0x200F) || c == 0xFEFF || c == 0xAD;
}

// Tags that sit inside running text; every other tag ends a line.
bool IsInlineTag(std::string_view name) {
  static const char* const kInline[] = {"a",    "abbr", "b",    "bdi",   "bdo",  "cite",   "code",
                                        "data", "dfn",  "em",   "font",  "i",    "kbd",    "mark",
                                        "q",    "s",    "samp", "small", "span", "strong", "sub",
                                        "sup",  "time", "u",    "var",   "wbr",  "strike"};
  const std::string lower = LowerAscii(name);
  return std::any_of(std::begin(kInline), std::end(kInline), [&](const char* tag) { return lower == tag; });
}

// The end of the tag or comment at html[i] ('<'), past its '>', or npos when '<' starts none.
// A tag's quoted attribute values may hold '>'.
size_t TagEnd(std::string_view html, size_t i, std::string_view& name) {
  name = {};
  if (html.compare(i, 4, "<!--") == 0) {
    const size_t end = html.find("-->", i + 4);
    return end == std::string_view::npos ? html.size() : end + 3;
  }
  size_t p = i + 1;
  if (p < html.size() && html[p] == '/') ++p;
  if (p >= html.size() || !(IsAsciiLetter(html[p]) || html[p] == '!' || html[p] == '?'))
    return std::string_view::npos;
  const size_t nameStart = p;
  while (p < html.size() && (IsAsciiLetter(html[p]) || IsAsciiDigit(html[p]))) ++p;
  name = html.substr(nameStart, p - nameStart);
  char quote = 0;
  for (; p < html.size(); ++p) {
    const char c = html[p];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return p + 1;
    }
  }
  return html.size();
}

// Past the end tag of a script or style element whose start tag ends at i; other elements' text
// starts at i.
size_t SkipRawText(std::string_view html, size_t i, std::string_view name) {
  if (!EqualsNoCaseAscii(name, "script") && !EqualsNoCaseAscii(name, "style")) return i;
  const size_t end = FindNoCaseAscii(html, "</" + LowerAscii(name), i);
  if (end == std::string_view::npos) return html.size();
  const size_t close = html.find('>', end);
  return close == std::string_view::npos ? html.size() : close + 1;
}

// Appends the text with every run of white space one blank and none at its ends.
void AppendCollapsed(std::string& out, std::string_view text) {
  bool pendingBlank = false;
  for (size_t i = 0; i < text.size();) {
    const size_t start = i;
    const uint32_t c = NextCodePoint(text, i);
    if (IsSpace(c)) {
      pendingBlank = true;
      continue;
    }
    if (IsInvisible(c)) continue;
    if (pendingBlank && !out.empty()) out += ' ';
    pendingBlank = false;
    out.append(text.substr(start, i - start));
  }
}

// The text with tags dropped and references decoded; each tag that ends a line, and each line
// break of the source when newlineBreaks, becomes '\n'.
std::string TextWithBreaks(std::string_view html, bool newlineBreaks) {
  std::string out;
  out.reserve(html.size());
  for (size_t i = 0; i < html.size();) {
    const char c = html[i];
    if (c == '<') {
      std::string_view name;
      const size_t end = TagEnd(html, i, name);
      if (end != std::string_view::npos) {
        if (!IsInlineTag(name)) out += '\n';
        i = html[i + 1] == '/' ? end : SkipRawText(html, end, name);
        continue;
      }
    } else if (c == '&') {
      uint32_t codePoint = 0;
      size_t length = 0;
      if (ReadReference(html, i, codePoint, length)) {
        AppendUtf8(out, codePoint);
        i += length;
        continue;
      }
    } else if ((c == '\n' || c == '\r') && !newlineBreaks) {
      out += ' ';
      ++i;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

}  // namespace

std::string ValidUtf8(std::string_view bytes) {
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.remove_prefix(3);
  if (IsUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char b : bytes) AppendUtf8(out, Cp1252(static_cast<unsigned char>(b)));
  return out;
}

uint32_t NextCodePoint(std::string_view text, size_t& i) {
  const size_t length = SequenceLength(text, i);
  const unsigned char b = static_cast<unsigned char>(text[i]);
  if (length <= 1) {  // ASCII, or a stray byte taken as it stands
    ++i;
    return b;
  }
  uint32_t c = b & (0x3F >> (length - 1));
  for (size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
  i += length;
  return c;
}

std::string DecodeEntities(std::string_view html) {
  std::string out;
  out.reserve(html.size());
  for (size_t i = 0; i < html.size();) {
    uint32_t codePoint = 0;
    size_t length = 0;
    if (html[i] == '&' && ReadReference(html, i, codePoint, length)) {
      AppendUtf8(out, codePoint);
      i += length;
    } else {
      out += html[i++];
    }
  }
  return out;
}

std::string CollapsedBlanks(std::string_view text) {
  std::string out;
  AppendCollapsed(out, text);
  return out;
}

std::string HtmlText(std::string_view html) {
  std::string out;
  AppendCollapsed(out, TextWithBreaks(html, false));
  return out;
}

std::vector<std::string> HtmlLines(std::string_view html) {
  const std::string text = TextWithBreaks(html, true);
  std::vector<std::string> lines;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line;
    AppendCollapsed(line, std::string_view(text).substr(start, end - start));
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

char LowerChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerChar(c);
  return out;
}

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

bool IsBlankByte(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

void SkipBlanks(std::string_view& text) {
  while (!text.empty() && IsBlankByte(text.front())) text.remove_prefix(1);
}

std::string_view LeadingWord(std::string_view text) {
  size_t n = 0;
  while (n < text.size() && IsAsciiLetter(text[n])) ++n;
  return text.substr(0, n);
}

size_t FindNoCaseAscii(std::string_view text, std::string_view lowerNeedle, size_t from) {
  if (lowerNeedle.empty() || lowerNeedle.size() > text.size()) return std::string_view::npos;
  for (size_t i = from; i + lowerNeedle.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < lowerNeedle.size() && LowerChar(text[i + k]) == lowerNeedle[k]) ++k;
    if (k == lowerNeedle.size()) return i;
  }
  return std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlankByte(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankByte(text.back())) text.remove_suffix(1);
  return text;
}
