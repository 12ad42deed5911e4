#include "richtext/MarkupText.h"

namespace {

bool IsBlank(WChar c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct TagName {
  WStringView text;
  MarkupTag tag;
};

const TagName kTags[] = {
    {TXT("<p>"), MarkupTag::Paragraph},      {TXT("<br>"), MarkupTag::Break},
    {TXT("<b>"), MarkupTag::Bold},           {TXT("</b>"), MarkupTag::BoldEnd},
    {TXT("<i>"), MarkupTag::Italic},         {TXT("</i>"), MarkupTag::ItalicEnd},
    {TXT("<u>"), MarkupTag::Underline},      {TXT("</u>"), MarkupTag::UnderlineEnd},
    {TXT("</color>"), MarkupTag::ColourEnd}, {TXT("<body>"), MarkupTag::Body},
    {TXT("</body>"), MarkupTag::BodyEnd},
};

// The tag that starts at `at`, with its length; MarkupTag::None when there is none.
MarkupTag TagAt(WStringView text, size_t at, size_t& length) {
  WStringView rest = text.substr(at);
  for (const TagName& name : kTags) {
    if (rest.size() >= name.text.size() && EqualsNoCase(rest.substr(0, name.text.size()), name.text)) {
      length = name.text.size();
      return name.tag;
    }
  }
  const WStringView colour = TXT("<color");
  if (rest.size() > colour.size() && IsBlank(rest[colour.size()]) &&
      EqualsNoCase(rest.substr(0, colour.size()), colour)) {
    length = colour.size() + 1;
    return MarkupTag::Colour;
  }
  return MarkupTag::None;
}

size_t WordEnd(WStringView text, size_t at) {
  size_t length = 0;
  for (size_t end = at; end < text.size(); ++end) {
    if (IsBlank(text[end])) return end;
    if (text[end] == '>') return end + 1;
    if (end > at && text[end] == '<' && TagAt(text, end, length) != MarkupTag::None) return end;
  }
  return text.size();
}

struct NamedColour {
  WStringView name;
  uint32_t rgb;
};

const NamedColour kColours[] = {
    {TXT("black"), 0x000000},       {TXT("blue"), 0x0000FF},     {TXT("cyan"), 0x00FFFF},
    {TXT("darkblue"), 0x000080},    {TXT("darkcyan"), 0x70DB93}, {TXT("darkgreen"), 0x2F4F2F},
    {TXT("darkmagenta"), 0xCC3299}, {TXT("darkred"), 0x8E2323},  {TXT("darkyellow"), 0xD8D8BF},
    {TXT("gray"), 0x545454},        {TXT("green"), 0x00FF00},    {TXT("lightgray"), 0xE6E8FA},
    {TXT("magenta"), 0xFF00FF},     {TXT("red"), 0xFF0000},      {TXT("white"), 0xFFFFFF},
    {TXT("yellow"), 0xFFFF00},
};

int HexValue(WChar c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::vector<MarkupToken> SplitMarkup(WStringView text) {
  std::vector<MarkupToken> tokens;
  for (size_t at = 0; at < text.size();) {
    size_t length = 0;
    MarkupTag tag = text[at] == '<' ? TagAt(text, at, length) : MarkupTag::None;
    if (tag != MarkupTag::None) {
      tokens.push_back({MarkupToken::Tag, text.substr(at, length), tag});
    } else if (IsBlank(text[at])) {
      length = 1;
      tokens.push_back({MarkupToken::Blank, text.substr(at, 1)});
    } else {
      length = WordEnd(text, at) - at;
      tokens.push_back({MarkupToken::Word, text.substr(at, length)});
    }
    at += length;
  }
  return tokens;
}

uint32_t MarkupColour(WStringView word) {
  bool closed = !word.empty() && word.back() == '>';
  WStringView name = closed ? word.substr(0, word.size() - 1) : word;
  for (const NamedColour& colour : kColours) {
    if (EqualsNoCase(name, colour.name)) return colour.rgb;
  }
  if (!closed || name.size() != 6) return 0;
  uint32_t rgb = 0;
  for (WChar c : name) {
    int digit = HexValue(c);
    if (digit < 0) return 0;
    rgb = rgb << 4 | uint32_t(digit);
  }
  return rgb;
}
