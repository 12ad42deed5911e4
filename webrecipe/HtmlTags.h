#pragma once
// The tags of an HTML page in their order, as far as recipes need them: names, attributes, and
// where script and style text ends. Text, comments and doctypes are passed over.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct HtmlTag {
  std::string name;                                             // lower case
  std::vector<std::pair<std::string, std::string>> attributes;  // the first 256: names lower, values decoded
  bool end = false;                                             // "</name>"
  bool selfClosing = false;                                     // "<name/>"
  size_t begin = 0;                                             // offset of its "<"
  size_t finish = 0;                                            // offset past its ">"
  size_t rawTextEnd = 0;  // script and style: offset of the end tag, or the page's end

  // The value of the attribute, or null when the tag has none of that name.
  const std::string* Attribute(std::string_view lowerName) const;
  // Elements that never have content: img, meta, link, br and the like.
  bool IsVoid() const;
};

class HtmlTags {
 public:
  explicit HtmlTags(std::string_view html) : html_(html) {}
  // The next tag, false at the page's end. After a script or style start tag the scan goes on
  // from rawTextEnd.
  bool Next(HtmlTag& tag);

 private:
  void ReadAttributes(HtmlTag& tag);
  std::string_view html_;
  size_t at_ = 0;
};
