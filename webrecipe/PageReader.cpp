// The schema.org Recipe of a web page: JSON-LD blocks first, microdata when they hold none.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <map>
#include <unordered_map>
#include <nlohmann/json.hpp>

#include "webrecipe/HtmlTags.h"
#include "webrecipe/RecipeCard.h"
#include "webrecipe/RecipeText.h"

using nlohmann::json;

namespace {

// Objects of a JSON-LD document by their "@id", for the references a Yoast-style @graph makes
// ("image": {"@id": "...#primaryimage"}).
using IdMap = std::map<std::string, const json*>;

// How many objects and arrays the searches visit at most, and how deep steps may nest.
constexpr size_t kMostNodes = 100000;
constexpr int kMostStepDepth = 8;
// Documents nested deeper than this hold no recipe the readers take and are not parsed.
constexpr int kMostNesting = 400;

// The type's last segment in lower case: "Recipe", "schema:Recipe" and "http://schema.org/Recipe"
// all give "recipe".
std::string TypeName(std::string_view type) {
  const size_t cut = type.find_last_of("/:#");
  return LowerAscii(TrimBlanks(cut == std::string_view::npos ? type : type.substr(cut + 1)));
}

bool HasType(const json& node, std::string_view lowerType) {
  if (!node.is_object()) return false;
  const auto type = node.find("@type");
  if (type == node.end()) return false;
  if (type->is_string()) return TypeName(type->get_ref<const std::string&>()) == lowerType;
  if (!type->is_array()) return false;
  for (const json& each : *type)
    if (each.is_string() && TypeName(each.get_ref<const std::string&>()) == lowerType) return true;
  return false;
}

// Visits the objects of a document breadth first, shallow ones before deep ones, until the visitor
// returns true; that object is returned.
template <typename Visit>
const json* FindObject(const json& root, Visit visit) {
  std::deque<const json*> queue{&root};
  for (size_t visited = 0; !queue.empty() && visited < kMostNodes; ++visited) {
    const json* node = queue.front();
    queue.pop_front();
    if (node->is_object() && visit(*node)) return node;
    if (node->is_structured())
      for (const json& child : *node)
        if (child.is_structured()) queue.push_back(&child);
  }
  return nullptr;
}

IdMap IdsOf(const json& root) {
  IdMap ids;
  FindObject(root, [&](const json& node) {
    const auto id = node.find("@id");
    if (id != node.end() && id->is_string() && node.size() > 1) ids.emplace(id->get<std::string>(), &node);
    return false;
  });
  return ids;
}

// The object a lone {"@id": ...} refers to, else the node itself.
const json& Resolved(const json& node, const IdMap& ids) {
  if (!node.is_object() || node.size() != 1) return node;
  const auto id = node.find("@id");
  if (id == node.end() || !id->is_string()) return node;
  const auto target = ids.find(id->get<std::string>());
  return target == ids.end() ? node : *target->second;
}

const json* Member(const json& object, const char* name) {
  if (!object.is_object()) return nullptr;
  const auto member = object.find(name);
  return member == object.end() || member->is_null() ? nullptr : &*member;
}

// The text a value gives: a string, a number, an array's first text, or an object's "@value",
// "name" or "text".
std::string ValueText(const json* value, int depth = 0) {
  if (!value || depth > kMostStepDepth) return {};
  if (value->is_string()) return value->get<std::string>();
  if (value->is_number_integer()) return std::to_string(value->get<int64_t>());
  if (value->is_number()) return value->dump();
  if (value->is_array()) {
    for (const json& each : *value) {
      std::string text = ValueText(&each, depth + 1);
      if (!TrimBlanks(text).empty()) return text;
    }
    return {};
  }
  for (const char* name : {"@value", "name", "text"})
    if (const json* member = Member(*value, name)) return ValueText(member, depth + 1);
  return {};
}

// The JSON-LD text of a script element: without the HTML comment or CDATA marks some pages wrap
// it in.
std::string_view Unwrapped(std::string_view text) {
  text = TrimBlanks(text);
  for (const auto& marks : {std::pair<std::string_view, std::string_view>{"<!--", "-->"},
                            {"//<![CDATA[", "//]]>"},
                            {"/*<![CDATA[*/", "/*]]>*/"},
                            {"<![CDATA[", "]]>"}}) {
    if (text.substr(0, marks.first.size()) == marks.first) text.remove_prefix(marks.first.size());
    if (text.size() >= marks.second.size() && text.substr(text.size() - marks.second.size()) == marks.second)
      text.remove_suffix(marks.second.size());
    text = TrimBlanks(text);
  }
  return text;
}

// How deep arrays and objects nest, outside strings.
int Nesting(std::string_view text) {
  int depth = 0;
  int deepest = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      inString = c != '"';
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

bool ClosesNext(std::string_view text, size_t from) {
  const size_t next = text.find_first_not_of(" \t\r\n", from);
  return next == std::string_view::npos || text[next] == '}' || text[next] == ']';
}

// The block with the slips of careless pages mended: raw control characters in strings escaped
// (a line break as a line break) and unknown escapes ("\'") read as the character itself; commas
// before a closing bracket and semicolons after a value dropped; values written one after another
// kept, as the elements of an array that holds them all.
std::string Repaired(std::string_view text) {
  std::string out = "[";
  bool inString = false;
  int depth = 0;
  bool written = false;  // a whole value at the top
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\' && i + 1 < text.size() &&
          std::string_view("\"\\/bfnrtu").find(text[i + 1]) != std::string_view::npos) {
        out.append(text.substr(i++, 2));
      } else if (c == '\\') {
        continue;
      } else if (static_cast<unsigned char>(c) < 0x20) {
        out += c == '\n' ? "\\n" : c == '\t' ? "\\t" : " ";
      } else {
        inString = c != '"';
        out += c;
      }
      continue;
    }
    if ((c == ',' && (depth == 0 || ClosesNext(text, i + 1))) || (c == ';' && depth == 0)) continue;
    if ((c == '{' || c == '[') && depth++ == 0 && written) out += ',';
    if ((c == '}' || c == ']') && depth > 0) written = --depth == 0;
    inString = c == '"';
    out += c;
  }
  return out + "]";
}

// The document a JSON-LD block holds, or a discarded value when it does not parse.
json ParseBlock(std::string_view text) {
  text = Unwrapped(text);
  if (Nesting(text) > kMostNesting) return json(json::value_t::discarded);
  json document = json::parse(text, nullptr, false, true);
  if (document.is_discarded()) document = json::parse(Repaired(text), nullptr, false, true);
  return document;
}

void AddStep(std::string_view text, std::vector<InstructionLine>& lines) {
  const std::string_view step = WithoutStepNumber(text);
  if (!step.empty()) lines.push_back({std::string(step), false});
}

// The recipe's instruction lines from a string (a step per line), a list (a step per string),
// HowToStep or HowToSection objects or an ItemList.
void AddSteps(const json& value, const IdMap& ids, std::vector<InstructionLine>& lines, int depth) {
  if (depth > kMostStepDepth) return;
  const json& node = Resolved(value, ids);
  if (node.is_string()) {
    for (const std::string& line : HtmlLines(node.get<std::string>())) AddStep(line, lines);
  } else if (node.is_array()) {
    for (const json& each : node) {
      if (each.is_string()) {
        AddStep(HtmlText(each.get<std::string>()), lines);
      } else {
        AddSteps(each, ids, lines, depth + 1);
      }
    }
  } else if (node.is_object()) {
    const json* items = Member(node, "itemListElement");
    const json* text = Member(node, "text");
    if (items && (HasType(node, "howtosection") || !text)) {
      const std::string name = HtmlText(ValueText(Member(node, "name")));
      if (!name.empty() && !HasType(node, "itemlist")) lines.push_back({name, true});
      AddSteps(*items, ids, lines, depth + 1);
      return;
    }
    if (!text || !text->is_string()) text = Member(node, "name");
    if (!text) text = Member(node, "description");
    AddStep(HtmlText(ValueText(text)), lines);
  }
}

// The picture's address: a string, an array's first address, an ImageObject's url or contentUrl.
std::string PictureAddress(const json* value, const IdMap& ids, int depth = 0) {
  if (!value || depth > kMostStepDepth) return {};
  const json& node = Resolved(*value, ids);
  if (node.is_string()) return DecodeEntities(std::string(TrimBlanks(node.get<std::string>())));
  if (node.is_array()) {
    for (const json& each : node) {
      std::string address = PictureAddress(&each, ids, depth + 1);
      if (!address.empty()) return address;
    }
    return {};
  }
  for (const char* name : {"url", "contentUrl"}) {
    std::string address = PictureAddress(Member(node, name), ids, depth + 1);
    if (!address.empty()) return address;
  }
  return {};
}

struct Yield {
  YieldCount count;
  std::string text;
};

// The yields a recipe gives: a number, a text, or an array's numbers and texts.
void AddYields(const json* value, std::vector<Yield>& yields) {
  if (!value) return;
  if (value->is_array()) {
    for (const json& each : *value)
      if (!each.is_structured()) AddYields(&each, yields);
  } else if (value->is_number()) {
    const double number = value->get<double>();
    if (number >= 0.5)
      yields.push_back({{static_cast<int32_t>(std::llround(std::fmin(number, 100000))), YieldKind::kCount},
                        ValueText(value)});
  } else if (value->is_string()) {
    std::string text = HtmlText(value->get<std::string>());
    yields.push_back({ReadYield(text), std::move(text)});
  }
}

// The recipe's NutritionInformation: an object, or an array's first.
const json* NutritionOf(const json& recipe, const IdMap& ids) {
  const json* nutrition = Member(recipe, "nutrition");
  if (nutrition && nutrition->is_array()) nutrition = nutrition->empty() ? nullptr : &nutrition->front();
  return nutrition ? &Resolved(*nutrition, ids) : nullptr;
}

// The servings a nutrition's serving size counts as a share of the whole ("1/12 of the cake", not
// "1/4 cup"); 0 when it names none.
int32_t NutritionServings(const json* nutrition) {
  const std::string size = HtmlText(ValueText(nutrition ? Member(*nutrition, "servingSize") : nullptr));
  for (size_t at = size.find("1/"); at != std::string::npos; at = size.find("1/", at + 1)) {
    if (at > 0 && IsAsciiDigit(size[at - 1])) continue;
    char* end = nullptr;
    const long count = std::strtol(size.c_str() + at + 2, &end, 10);
    std::string_view rest(end);
    SkipBlanks(rest);
    if (count >= 2 && !StartsWithMeasure(rest)) return static_cast<int32_t>(std::min(count, 100000L));
  }
  return 0;
}

// Serves from the first yield naming a count of portions, else, for a batch, the nutrition's serving
// count or the question, else the first bare number; 1 without any.
void TakeYields(const json* value, const json* nutrition, ImportedRecipe& recipe) {
  std::vector<Yield> yields;
  AddYields(value, yields);
  const auto first = [&](YieldKind kind) {
    return std::find_if(yields.begin(), yields.end(), [&](const Yield& y) { return y.count.kind == kind; });
  };
  if (const auto portions = first(YieldKind::kPortions); portions != yields.end()) {
    recipe.serves = portions->count.count;
  } else if (const auto batch = first(YieldKind::kBatch); batch != yields.end()) {
    recipe.serves = std::max(1, NutritionServings(nutrition));
    if (recipe.serves == 1) recipe.batchYield = FromUtf8(batch->text);
  } else if (const auto count = first(YieldKind::kCount); count != yields.end()) {
    recipe.serves = count->count.count;
  }
}

int32_t MinutesOf(const json* value) {
  return DurationMinutes(HtmlText(ValueText(value)));
}

// The first category of a text ("Dessert, Snack") or a list.
std::string CategoryOf(const json* value) {
  if (value && value->is_array()) {
    for (const json& each : *value) {
      std::string category = CategoryOf(each.is_structured() ? nullptr : &each);
      if (!category.empty()) return category;
    }
    return {};
  }
  const std::string text = HtmlText(ValueText(value));
  return std::string(TrimBlanks(std::string_view(text).substr(0, text.find(','))));
}

void AddIngredients(const json* value, std::vector<ImportedLine>& lines) {
  if (!value) return;
  if (value->is_array()) {
    for (const json& each : *value) {
      const std::string text = ValueText(&each);
      if (!HtmlText(text).empty()) lines.push_back(ParseIngredientLine(text));
    }
  } else {
    for (const std::string& line : HtmlLines(ValueText(value))) lines.push_back(ParseIngredientLine(line));
  }
}

const json* FirstMember(const json& object, const char* first, const char* second) {
  const json* member = Member(object, first);
  return member ? member : Member(object, second);
}

ImportedRecipe RecipeOf(const json& node, const IdMap& ids, std::string_view baseUrl) {
  ImportedRecipe recipe;
  recipe.name = FromUtf8(HtmlText(ValueText(FirstMember(node, "name", "headline"))));
  const json* nutrition = NutritionOf(node, ids);
  TakeYields(FirstMember(node, "recipeYield", "yield"), nutrition, recipe);
  if (nutrition)
    recipe.statedCalories = CaloriesFromText(HtmlText(ValueText(Member(*nutrition, "calories"))));
  int32_t prep = MinutesOf(Member(node, "prepTime"));
  int32_t cook = MinutesOf(Member(node, "cookTime"));
  if (prep < 0 && cook < 0) cook = MinutesOf(Member(node, "totalTime"));
  SplitMinutes(prep, recipe.prepHours, recipe.prepMinutes);
  SplitMinutes(cook, recipe.cookHours, recipe.cookMinutes);
  recipe.category = FromUtf8(CategoryOf(Member(node, "recipeCategory")));
  std::vector<InstructionLine> steps;
  if (const json* instructions = Member(node, "recipeInstructions")) AddSteps(*instructions, ids, steps, 0);
  recipe.instructions = InstructionsText(steps);
  std::string picture = PictureAddress(Member(node, "image"), ids);
  if (picture.empty()) picture = PictureAddress(Member(node, "thumbnailUrl"), ids);
  recipe.pictureUrl = FromUtf8(ResolveUrl(baseUrl, picture));
  AddIngredients(FirstMember(node, "recipeIngredient", "ingredients"), recipe.lines);
  return recipe;
}

// The microdata properties a recipe is read from, each with the JSON-LD name it is filed under.
const char* RecipeProperty(std::string_view name) {
  static const std::pair<const char*, const char*> kProperties[] = {
      {"name", "name"},
      {"recipeYield", "recipeYield"},
      {"yield", "recipeYield"},
      {"prepTime", "prepTime"},
      {"cookTime", "cookTime"},
      {"totalTime", "totalTime"},
      {"recipeIngredient", "recipeIngredient"},
      {"ingredients", "recipeIngredient"},
      {"ingredient", "recipeIngredient"},
      {"recipeInstructions", "recipeInstructions"},
      {"instructions", "recipeInstructions"},
      {"recipeCategory", "recipeCategory"},
      {"image", "image"},
      {"photo", "image"}};
  for (const auto& property : kProperties)
    if (name == property.first) return property.second;
  return nullptr;
}

// The lists a recipe property files into: 0 for ingredients, 1 for instructions, -1 for a property
// of one value.
int ListOf(std::string_view property) {
  return property == "recipeIngredient" ? 0 : property == "recipeInstructions" ? 1 : -1;
}

// The recipe properties an itemprop attribute names, each once.
std::vector<const char*> RecipeProperties(std::string_view names) {
  std::vector<const char*> properties;
  while (!names.empty()) {
    const size_t blank = names.find_first_of(" \t\r\n");
    const char* property = RecipeProperty(names.substr(0, blank));
    if (property && std::none_of(properties.begin(), properties.end(),
                                 [&](const char* p) { return std::string_view(p) == property; }))
      properties.push_back(property);
    names = blank == std::string_view::npos ? std::string_view() : names.substr(blank + 1);
  }
  return properties;
}

// A property's value given by an attribute of its element ("content", an image's "src", a link's
// "href", a time's "datetime"), or null when its content gives the value.
const std::string* AttributeValue(const HtmlTag& tag) {
  if (const std::string* content = tag.Attribute("content")) return content;
  static const std::pair<const char*, const char*> kAttributes[] = {
      {"img", "src"},       {"source", "src"}, {"video", "src"},   {"audio", "src"},
      {"embed", "src"},     {"a", "href"},     {"link", "href"},   {"area", "href"},
      {"time", "datetime"}, {"data", "value"}, {"meter", "value"}, {"object", "data"}};
  for (const auto& attribute : kAttributes)
    if (tag.name == attribute.first) return tag.Attribute(attribute.second);
  return nullptr;
}

bool IsRecipeScope(const HtmlTag& tag) {
  const std::string* type = tag.Attribute("itemtype");
  if (!tag.Attribute("itemscope") || !type) return false;
  std::string_view types = *type;
  while (!types.empty()) {
    const size_t blank = types.find_first_of(" \t\r\n");
    if (TypeName(types.substr(0, blank)) == "recipe") return true;
    types = blank == std::string_view::npos ? std::string_view() : types.substr(blank + 1);
  }
  return false;
}

bool EndsParagraph(std::string_view name) {
  static const char* const kBlocks[] = {
      "p",     "div",     "ul",      "ol",     "li",     "h1",         "h2",  "h3",   "h4", "h5",    "h6",
      "table", "section", "article", "header", "footer", "blockquote", "pre", "form", "dl", "figure"};
  return std::any_of(std::begin(kBlocks), std::end(kBlocks), [&](const char* b) { return name == b; });
}

// The properties of the page's first microdata Recipe, gathered into a JSON-LD-like object:
// properties of items nested in it (an author's name, say) are not the recipe's.
//
// Reading takes time and memory in proportion to the page, however it nests and whatever it leaves
// open: end tags and list items find their elements through counts and indexes instead of a search
// of the open elements, and a value's text is copied only when it is filed. A list's value ends
// where the next value of that list starts inside its element, so list values never overlap, and a
// property of one value is copied only the first time.
class Microdata {
 public:
  explicit Microdata(std::string_view page) : page_(page) {}

  // False when the page has no Recipe item.
  bool Read(json& recipe) {
    HtmlTags tags(page_);
    HtmlTag tag;
    while (!done_ && tags.Next(tag)) {
      if (tag.end) {
        CloseTo(tag.name, tag.begin);
      } else {
        Open(tag);
      }
    }
    while (!open_.empty()) Pop(page_.size());
    recipe = std::move(item_);
    return found_;
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  struct Element {
    uint32_t name;        // its place in names_
    bool nested = false;  // an item of its own inside the recipe
  };
  // A property waiting for the content of an open element.
  struct Waiting {
    size_t element;        // the element's place in open_
    const char* property;  // null once filed
    size_t contentStart;
  };

  // Files a value; instructions are filed a step per line their HTML makes.
  void Add(const char* property, std::string_view text) {
    if (ListOf(property) < 0 && item_.contains(property)) return;
    std::string value(text);
    for (char& c : value)
      if (c == '\r' || c == '\n' || c == '\t') c = ' ';  // source line breaks are no breaks in HTML
    if (ListOf(property) == 1) {
      for (std::string& line : HtmlLines(value)) item_[property].push_back(std::move(line));
    } else if (ListOf(property) == 0) {
      item_[property].push_back(std::move(value));
    } else {
      item_[property] = std::move(value);
    }
  }

  // A new value of a list starts at `at`: the one still waiting in an element around it ends there.
  void EndWaitingValue(int list, size_t at) {
    if (list < 0 || lastWaiting_[list] == kNone) return;
    Waiting& waiting = waiting_[lastWaiting_[list]];
    Add(waiting.property, page_.substr(waiting.contentStart, at - waiting.contentStart));
    waiting.property = nullptr;
    lastWaiting_[list] = kNone;
  }

  void Open(const HtmlTag& tag) {
    ImplyEnds(tag);
    const bool nested = recipeDepth_ >= 0 && tag.Attribute("itemscope");
    const bool empty = tag.IsVoid() || tag.selfClosing;
    const std::string* props = tag.Attribute("itemprop");
    if (recipeDepth_ >= 0 && nestedScopes_ == 0 && props) {
      const std::string* attribute = AttributeValue(tag);
      for (const char* property : RecipeProperties(*props)) {
        EndWaitingValue(ListOf(property), tag.begin);
        if (attribute || empty) {
          Add(property, attribute ? std::string_view(*attribute) : std::string_view());
        } else {
          if (ListOf(property) >= 0) lastWaiting_[ListOf(property)] = waiting_.size();
          waiting_.push_back({open_.size(), property, tag.finish});
        }
      }
    }
    if (recipeDepth_ < 0 && IsRecipeScope(tag)) {
      recipeDepth_ = static_cast<int>(open_.size());
      found_ = true;
      item_["@type"] = "Recipe";
    }
    if (empty) return;
    const Element element{NameId(tag.name), nested};
    if (element.nested) ++nestedScopes_;
    ++openCount_[element.name];
    if (IsListName(element.name)) lists_.push_back(open_.size());
    open_.push_back(element);
  }

  uint32_t NameId(const std::string& name) {
    const auto known = names_.try_emplace(name, static_cast<uint32_t>(names_.size()));
    if (known.second) openCount_.push_back(0);
    return known.first->second;
  }

  bool IsListName(uint32_t name) const { return name == kLi || name == kUl || name == kOl; }

  // HTML's implied end tags: a list item ends the open one of its list, a block ends a paragraph.
  void ImplyEnds(const HtmlTag& tag) {
    if (tag.name == "li" && !lists_.empty() && open_[lists_.back()].name == kLi) {
      const size_t item = lists_.back();
      while (open_.size() > item) Pop(tag.begin);
    }
    if (EndsParagraph(tag.name) && !open_.empty() && open_.back().name == kP) Pop(tag.begin);
  }

  // An end tag closes the innermost open element of its name and those inside it; the end tag of
  // no open element is passed over.
  void CloseTo(const std::string& name, size_t end) {
    const auto known = names_.find(name);
    if (known == names_.end() || openCount_[known->second] == 0) return;
    bool closed = false;
    while (!closed && !done_) {
      closed = open_.back().name == known->second;
      Pop(end);
    }
  }

  void Pop(size_t contentEnd) {
    const size_t place = open_.size() - 1;
    for (; !waiting_.empty() && waiting_.back().element == place; waiting_.pop_back()) {
      const Waiting& waiting = waiting_.back();
      if (!waiting.property) continue;
      Add(waiting.property, page_.substr(waiting.contentStart, contentEnd - waiting.contentStart));
      const int list = ListOf(waiting.property);
      if (list >= 0) lastWaiting_[list] = kNone;
    }
    const Element element = open_.back();
    if (element.nested) --nestedScopes_;
    --openCount_[element.name];
    if (!lists_.empty() && lists_.back() == place) lists_.pop_back();
    open_.pop_back();
    if (static_cast<int>(open_.size()) == recipeDepth_) done_ = true;
  }

  // The names the reader looks for, first in names_.
  static constexpr uint32_t kLi = 0, kUl = 1, kOl = 2, kP = 3;

  std::string_view page_;
  std::unordered_map<std::string, uint32_t> names_{{"li", kLi}, {"ul", kUl}, {"ol", kOl}, {"p", kP}};
  std::vector<uint32_t> openCount_ = std::vector<uint32_t>(names_.size());  // open elements by name
  std::vector<Element> open_;
  std::vector<size_t> lists_;               // the places in open_ of the open li, ul and ol elements
  std::vector<Waiting> waiting_;            // in the order of their elements in open_
  size_t lastWaiting_[2] = {kNone, kNone};  // each list's value still waiting, in waiting_
  json item_ = json::object();
  int recipeDepth_ = -1;  // the recipe element's place in open_, -1 before it
  int nestedScopes_ = 0;  // items open inside the recipe
  bool found_ = false;
  bool done_ = false;
};

}  // namespace

namespace {

// The recipe of the page's structured data: its JSON-LD, else its microdata.
ImportedRecipe StructuredRecipe(const std::string& page, std::string_view baseUrl) {
  HtmlTags tags(page);
  HtmlTag tag;
  while (tags.Next(tag)) {
    const std::string* type = tag.Attribute("type");
    if (tag.name != "script" || tag.end || !type ||
        LowerAscii(TrimBlanks(*type)).rfind("application/ld+json", 0))
      continue;
    const json document = ParseBlock(std::string_view(page).substr(tag.finish, tag.rawTextEnd - tag.finish));
    if (document.is_discarded()) continue;
    if (const json* recipe = FindObject(document, [](const json& node) { return HasType(node, "recipe"); }))
      return RecipeOf(*recipe, IdsOf(document), baseUrl);
  }
  json microdata;
  if (Microdata(page).Read(microdata)) return RecipeOf(microdata, IdMap(), baseUrl);
  ImportedRecipe none;
  none.error = RecipeImportError::kNoRecipe;
  return none;
}

}  // namespace

ImportedRecipe ReadRecipePage(std::string_view html, std::string_view baseUrl) {
  const std::string page = ValidUtf8(html);
  ImportedRecipe recipe = StructuredRecipe(page, baseUrl);
  if (!recipe.name.empty() && !recipe.lines.empty() && !recipe.instructions.empty()) return recipe;
  json card;
  if (!ReadRecipeCard(page, card)) return recipe;
  ImportedRecipe fromCard = RecipeOf(card, IdMap(), baseUrl);
  if (recipe.error != RecipeImportError::kNone) return fromCard;
  // The card fills in what the structured data lacks.
  if (recipe.name.empty()) recipe.name = std::move(fromCard.name);
  if (recipe.lines.empty()) recipe.lines = std::move(fromCard.lines);
  if (recipe.instructions.empty()) recipe.instructions = std::move(fromCard.instructions);
  return recipe;
}
