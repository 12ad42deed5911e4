#include "richtext/HtmlToRtf.h"

#include <algorithm>
#include <string>
#include <vector>

#include "storage/XMLDoc.h"

namespace {

constexpr size_t kMaxColours = 255;
// What an unknown tag, and both ends of a link, write in front of themselves.
constexpr const WChar* kProtectedPlain = TXT("\\plain\\f0\\fs20\\protect");

bool IsBreakable(WChar c) {
  return c == ' ' || c == '\n' || c == '\r';
}
bool IsSpace(WChar c) {
  return IsBreakable(c) || c == '\t';
}
bool IsDigit(WChar c) {
  return c >= '0' && c <= '9';
}

int HexValue(WChar c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithNoCase(WStringView text, size_t at, WStringView prefix) {
  return text.size() - at >= prefix.size() && EqualsNoCase(text.substr(at, prefix.size()), prefix);
}

// "<font" matches "<font>" and "<font face=...>" but not "<fontx>".
bool HasName(WStringView tag, WStringView name) {
  return StartsWithNoCase(tag, 0, name) && (tag[name.size()] == '>' || IsSpace(tag[name.size()]));
}

void AppendNumber(WString& out, long long number) {
  out += FromAscii(std::to_string(number));
}

size_t SkipChar(WStringView text, size_t at, WChar c) {
  return at < text.size() && text[at] == c ? at + 1 : at;
}

// Decimal digits from `at`; none give 0. The arithmetic wraps like every 32-bit number read here.
size_t ReadDecimal(WStringView text, size_t at, int32_t& value) {
  uint32_t number = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) number = number * 10 + uint32_t(text[at] - '0');
  value = int32_t(number);
  return at;
}

// The format of the text being written. There is one: closing tags return to the defaults rather
// than popping a stack.
struct Format {
  int32_t defaultSize = 20;  // half-points
  int32_t defaultColour = 0;
  int32_t defaultFont = 0;
  bool protect = false;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int32_t size = 20;
  int32_t colour = 0;  // 0 is the automatic colour, i the colour table's entry i - 1
  int32_t font = 0;
  bool pending = true;  // still to be written before the next text
};

// The first pass: picks the body out of the HTML, turning tags into RTF control words while it
// collects the font and colour tables.
class BodyWriter {
 public:
  explicit BodyWriter(bool keepLinkTags) : keepLinkTags_(keepLinkTags) {}

  void Convert(WStringView html);

  const WString& Body() const { return body_; }
  const std::vector<WString>& Fonts() const { return fonts_; }
  const std::vector<uint32_t>& Colours() const { return colours_; }
  bool EndsAfterCopiedTag() const { return endsAfterCopiedTag_; }

 private:
  void Tag(WStringView tag);
  void Character(WChar c);
  void Append(WStringView text);
  void AppendProtectedTag(WStringView tag);
  void WriteFormat();
  void WritePending();
  void SetFlag(bool& flag, bool on);
  void SetValue(int32_t& value, int32_t to);
  bool ResetFontColourSize();

  void ReadFontAttributes(WStringView attributes);
  size_t ReadFace(WStringView text, size_t at);
  size_t ReadColour(WStringView text, size_t at);
  size_t ReadSize(WStringView text, size_t at);
  int32_t ColourIndex(uint32_t rgb);

  const bool keepLinkTags_;
  Format format_;
  WString body_;
  std::vector<WString> fonts_;
  std::vector<uint32_t> colours_;
  bool inBody_ = false;
  bool inBlankRun_ = false;
  bool afterBreak_ = false;  // whitespace right after <br> or <p> is dropped
  bool endsAfterCopiedTag_ = false;
};

void BodyWriter::Convert(WStringView html) {
  for (size_t at = 0; at < html.size();) {
    size_t end = html[at] == '<' ? html.find('>', at) : WStringView::npos;
    if (end == WStringView::npos) {  // text, or a "<" that opens no tag
      if (inBody_) Character(html[at]);
      ++at;
      continue;
    }
    WStringView tag = html.substr(at, end - at + 1);
    if (EqualsNoCase(tag, TXT("<body>"))) {
      inBody_ = true;
    } else if (EqualsNoCase(tag, TXT("</body>"))) {
      inBody_ = false;
    } else if (inBody_) {
      Tag(tag);
    }
    at = end + 1;
  }
}

void BodyWriter::Tag(WStringView tag) {
  inBlankRun_ = afterBreak_ = false;
  auto is = [tag](const WChar* name) { return EqualsNoCase(tag, name); };
  if (is(TXT("<b>")) || is(TXT("</b>"))) {
    SetFlag(format_.bold, tag[1] != '/');
  } else if (is(TXT("<i>")) || is(TXT("</i>"))) {
    SetFlag(format_.italic, tag[1] != '/');
  } else if (is(TXT("<u>")) || is(TXT("</u>"))) {
    SetFlag(format_.underline, tag[1] != '/');
  } else if (is(TXT("<br>"))) {
    Append(TXT("\\\n"));
    afterBreak_ = true;
  } else if (is(TXT("<p>"))) {
    Append(TXT("\\\n\\\n"));
    WriteFormat();
    afterBreak_ = true;
  } else if (is(TXT("</p>"))) {
    ResetFontColourSize();
    format_.bold = format_.italic = format_.underline = false;
    format_.pending = true;
  } else if (HasName(tag, TXT("<font"))) {
    ReadFontAttributes(tag.substr(5, tag.size() - 6));
  } else if (is(TXT("</font>"))) {
    if (ResetFontColourSize()) format_.pending = true;
  } else if (HasName(tag, TXT("<a"))) {
    AppendProtectedTag(tag);
    format_.protect = true;
  } else if (is(TXT("</a>"))) {
    format_.protect = false;
    AppendProtectedTag(TXT("</a>"));  // the link reader expects it so, however it was typed
    WriteFormat();
  } else {
    AppendProtectedTag(tag);
    WriteFormat();
  }
}

void BodyWriter::Character(WChar c) {
  if (IsBreakable(c)) {
    if (!afterBreak_ && !inBlankRun_) {
      WritePending();
      Append(TXT(" "));
    }
    inBlankRun_ = true;
    return;
  }
  inBlankRun_ = afterBreak_ = false;
  WritePending();
  Append(c == '\\' ? WStringView(TXT("\\\\")) : WStringView(&c, 1));
}

void BodyWriter::Append(WStringView text) {
  body_ += text;
  endsAfterCopiedTag_ = false;
}

// Both ends of a link and every unknown tag: protected plain text, then the tag itself when tags
// are kept.
void BodyWriter::AppendProtectedTag(WStringView tag) {
  body_ += kProtectedPlain;
  if (keepLinkTags_) body_ += tag;
  endsAfterCopiedTag_ = keepLinkTags_;
}

void BodyWriter::WriteFormat() {
  body_ += TXT("\\plain\\f");
  AppendNumber(body_, format_.font);
  if (format_.colour != format_.defaultColour) {
    body_ += TXT("\\cf");
    AppendNumber(body_, format_.colour);
  }
  body_ += TXT("\\fs");
  AppendNumber(body_, format_.size);
  if (format_.protect) body_ += TXT("\\protect");
  if (format_.bold) body_ += TXT("\\b");
  if (format_.italic) body_ += TXT("\\i");
  if (format_.underline) body_ += TXT("\\ul");
  body_ += ' ';
  format_.pending = false;
}

void BodyWriter::WritePending() {
  if (format_.pending) WriteFormat();
}

void BodyWriter::SetFlag(bool& flag, bool on) {
  if (flag == on) return;
  flag = on;
  format_.pending = true;
}

void BodyWriter::SetValue(int32_t& value, int32_t to) {
  if (value == to) return;
  value = to;
  format_.pending = true;
}

// True when any of the three changed.
bool BodyWriter::ResetFontColourSize() {
  bool changed = format_.size != format_.defaultSize || format_.colour != format_.defaultColour ||
                 format_.font != format_.defaultFont;
  format_.size = format_.defaultSize;
  format_.colour = format_.defaultColour;
  format_.font = format_.defaultFont;
  return changed;
}

void BodyWriter::ReadFontAttributes(WStringView attributes) {
  for (size_t at = 0; at < attributes.size();) {
    if (StartsWithNoCase(attributes, at, TXT("face="))) {
      at = ReadFace(attributes, at + 5);
    } else if (StartsWithNoCase(attributes, at, TXT("color="))) {
      at = ReadColour(attributes, at + 6);
    } else if (StartsWithNoCase(attributes, at, TXT("size="))) {
      at = ReadSize(attributes, at + 5);
    } else {
      ++at;
    }
  }
}

// A name in double quotes, or up to the next blank. Faces are entered once each, compared as typed.
size_t BodyWriter::ReadFace(WStringView text, size_t at) {
  bool quoted = at < text.size() && text[at] == '"';
  size_t start = quoted ? at + 1 : at;
  size_t end = quoted ? text.find('"', start) : text.find(' ', start);
  end = std::min(end, text.size());
  WStringView face = text.substr(start, end - start);
  if (!face.empty()) {
    auto found = std::find(fonts_.begin(), fonts_.end(), face);
    if (found == fonts_.end()) found = fonts_.insert(fonts_.end(), WString(face));
    SetValue(format_.font, int32_t(found - fonts_.begin()));
  }
  return quoted ? SkipChar(text, end, '"') : end;
}

size_t BodyWriter::ReadColour(WStringView text, size_t at) {
  at = SkipChar(text, SkipChar(text, at, '"'), '#');
  uint32_t rgb = 0;
  for (; at < text.size() && HexValue(text[at]) >= 0; ++at)
    rgb = ((rgb << 4) | HexValue(text[at])) & 0xFFFFFF;
  SetValue(format_.colour, ColourIndex(rgb));
  return at;
}

// "+n" and "-n" are relative to the default size 3 (10 points); a plain n is absolute.
size_t BodyWriter::ReadSize(WStringView text, size_t at) {
  at = SkipChar(text, at, '"');
  WChar sign = at < text.size() ? text[at] : 0;
  if (sign == '+' || sign == '-') ++at;
  int32_t n = 0;
  at = ReadDecimal(text, at, n);
  SetValue(format_.size, sign == '+' ? 2 * n + 20 : sign == '-' ? 2 * (10 - n) : 2 * n + 14);
  return at;
}

// Black is never entered, and neither is a colour past the table's last entry: both keep the
// current colour.
int32_t BodyWriter::ColourIndex(uint32_t rgb) {
  if (rgb == 0) return format_.colour;
  auto found = std::find(colours_.begin(), colours_.end(), rgb);
  if (found != colours_.end()) return int32_t(found - colours_.begin()) + 1;
  if (colours_.size() >= kMaxColours) return format_.colour;
  colours_.push_back(rgb);
  return int32_t(colours_.size());
}

// The second pass's "&#n;": at most three characters are read as the number; a ";" that ends the
// reference goes with it. The code is written as one RTF byte.
size_t AppendNumericReference(WStringView body, size_t at, WString& out) {
  WString number(body.substr(at, 3));
  number.resize(std::min(number.size(), number.find(';')));
  at += number.size();
  at = SkipChar(body, at, ';');
  static const char kHex[] = "0123456789ABCDEF";
  uint32_t code = uint32_t(ParseInt(number.c_str())) & 0xFF;
  out += TXT("\\'");
  out += WChar(kHex[code >> 4]);
  out += WChar(kHex[code & 15]);
  return at;
}

struct Entity {
  WStringView name;
  WStringView text;
};

// &nbsp; is written as code 7F, which the control shows as a blank that does not break.
const Entity kEntities[] = {
    {TXT("&amp;"), TXT("&")},     {TXT("&lt;"), TXT("<")},       {TXT("&gt;"), TXT(">")},
    {TXT("&quot;"), TXT("\"")},   {TXT("&nbsp;"), TXT("\\'7F")}, {TXT("&copy;"), TXT("\\'A9")},
    {TXT("&reg;"), TXT("\\'AE")},
};

size_t AppendReference(WStringView body, size_t at, WString& out) {
  if (body.substr(at, 2) == TXT("&#")) return AppendNumericReference(body, at + 2, out);
  for (const Entity& entity : kEntities) {
    if (StartsWithNoCase(body, at, entity.name)) {
      out += entity.text;
      return at + entity.name.size();
    }
  }
  out += '&';
  return at + 1;
}

// The second pass: braces escaped, entities replaced.
void AppendEscaped(WStringView body, WString& out) {
  for (size_t at = 0; at < body.size();) {
    WChar c = body[at];
    if (c == '&') {
      at = AppendReference(body, at, out);
      continue;
    }
    if (c == '{' || c == '}') out += '\\';
    out += c;
    ++at;
  }
}

// Until a face is named, Arial is font 0; after that the first named face is.
void AppendFontTable(const std::vector<WString>& fonts, WString& out) {
  out += TXT("{\\fonttbl");
  if (fonts.empty()) out += TXT("{\\f0\\fswiss Arial;}");
  for (size_t i = 0; i < fonts.size(); ++i) {
    out += TXT("{\\f");
    AppendNumber(out, static_cast<long long>(i));
    out += TXT("\\fswiss ");
    out += fonts[i];
    out += TXT(";}");
  }
  out += '}';
}

void AppendColourTable(const std::vector<uint32_t>& colours, WString& out) {
  out += TXT("{\\colortbl ;");
  for (uint32_t rgb : colours) {
    out += TXT("\\red");
    AppendNumber(out, rgb >> 16);
    out += TXT("\\green");
    AppendNumber(out, (rgb >> 8) & 0xFF);
    out += TXT("\\blue");
    AppendNumber(out, rgb & 0xFF);
    out += ';';
  }
  out += '}';
}

}  // namespace

const WString& HtmlToRtf(WStringView html, WString& rtf, bool keepLinkTags) {
  BodyWriter writer(keepLinkTags);
  writer.Convert(html);
  rtf.assign(TXT("{\\rtf1\\ansi\\deff0\\deftab720"));
  AppendFontTable(writer.Fonts(), rtf);
  AppendColourTable(writer.Colours(), rtf);
  rtf += TXT("\\deflang1033\\pard\\plain\\f0\\fs20 ");
  AppendEscaped(writer.Body(), rtf);
  if (writer.EndsAfterCopiedTag()) rtf += TXT("\\plain\\f0\\fs20  ");
  rtf += TXT("\\par }");
  return rtf;
}
