#include "webrecipe/HtmlTags.h"

#include <algorithm>
#include <iterator>

#include "webrecipe/RecipeText.h"

namespace {

// Attributes past this many in one tag are read over but not kept: no page needs more, and a tag of
// a million of them would otherwise take many times the page's size.
constexpr size_t kMostAttributes = 256;

// Characters that end an attribute name or an unquoted value.
bool EndsName(char c) {
  return IsBlankByte(c) || c == '=' || c == '>' || c == '/';
}

}  // namespace

const std::string* HtmlTag::Attribute(std::string_view lowerName) const {
  for (const auto& attribute : attributes)
    if (attribute.first == lowerName) return &attribute.second;
  return nullptr;
}

bool HtmlTag::IsVoid() const {
  static const char* const kVoid[] = {"area",  "base", "br",   "col",   "embed",  "hr",    "img",
                                      "input", "link", "meta", "param", "source", "track", "wbr"};
  return std::any_of(std::begin(kVoid), std::end(kVoid), [&](const char* n) { return name == n; });
}

void HtmlTags::ReadAttributes(HtmlTag& tag) {
  while (at_ < html_.size()) {
    while (at_ < html_.size() && (IsBlankByte(html_[at_]) || html_[at_] == '/')) {
      tag.selfClosing = html_[at_] == '/';
      ++at_;
    }
    if (at_ >= html_.size()) break;
    if (html_[at_] == '>') {
      ++at_;
      return;
    }
    tag.selfClosing = false;
    size_t start = at_;
    do ++at_;  // a name's first character may be "=" ("<a =x>")
    while (at_ < html_.size() && !EndsName(html_[at_]));
    std::string name = LowerAscii(html_.substr(start, at_ - start));
    while (at_ < html_.size() && IsBlankByte(html_[at_])) ++at_;
    std::string value;
    if (at_ < html_.size() && html_[at_] == '=') {
      ++at_;
      while (at_ < html_.size() && IsBlankByte(html_[at_])) ++at_;
      const char quote = at_ < html_.size() && (html_[at_] == '"' || html_[at_] == '\'') ? html_[at_] : 0;
      start = quote ? ++at_ : at_;
      if (quote) {
        at_ = std::min(html_.find(quote, at_), html_.size());
      } else {
        while (at_ < html_.size() && !IsBlankByte(html_[at_]) && html_[at_] != '>') ++at_;
      }
      value = DecodeEntities(html_.substr(start, at_ - start));
      if (quote && at_ < html_.size()) ++at_;
    }
    if (tag.attributes.size() < kMostAttributes)
      tag.attributes.emplace_back(std::move(name), std::move(value));
  }
}

bool HtmlTags::Next(HtmlTag& tag) {
  while (at_ < html_.size()) {
    const size_t open = html_.find('<', at_);
    if (open == std::string_view::npos) break;
    at_ = open + 1;
    if (html_.compare(open, 4, "<!--") == 0) {
      const size_t close = html_.find("-->", open + 4);
      at_ = close == std::string_view::npos ? html_.size() : close + 3;
      continue;
    }
    const bool end = at_ < html_.size() && html_[at_] == '/';
    if (at_ < html_.size() && (html_[at_] == '!' || html_[at_] == '?' ||
                               (end && at_ + 1 < html_.size() && !IsAsciiLetter(html_[at_ + 1])))) {
      const size_t close = html_.find('>', at_);
      at_ = close == std::string_view::npos ? html_.size() : close + 1;
      continue;
    }
    const size_t nameStart = at_ + (end ? 1 : 0);
    if (nameStart >= html_.size() || !IsAsciiLetter(html_[nameStart])) continue;
    at_ = nameStart;
    while (at_ < html_.size() && !IsBlankByte(html_[at_]) && html_[at_] != '>' && html_[at_] != '/') ++at_;
    tag = HtmlTag();
    tag.name = LowerAscii(html_.substr(nameStart, at_ - nameStart));
    tag.end = end;
    tag.begin = open;
    ReadAttributes(tag);
    tag.finish = at_;
    tag.rawTextEnd = at_;
    if (!end && (tag.name == "script" || tag.name == "style")) {
      tag.rawTextEnd = std::min(FindNoCaseAscii(html_, "</" + tag.name, at_), html_.size());
      at_ = tag.rawTextEnd;
    }
    return true;
  }
  at_ = html_.size();
  return false;
}
