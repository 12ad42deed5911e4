// Recipe cards read by their plug-ins' class names.
#include "webrecipe/RecipeCard.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <vector>

#include "webrecipe/HtmlTags.h"
#include "webrecipe/RecipeText.h"

using nlohmann::json;

namespace {

enum class Part {
  kCard,    // the card itself: only what is inside the first one counts
  kSingle,  // one value, from the first such element
  kItem,    // each element one value of a list
  kList,    // an element whose list items are values of a list, or its lines when it has none
};

struct CardClass {
  const char* name;
  const char* member;  // where the value goes, as a JSON pointer
  Part part;
};

// clang-format off
constexpr CardClass kCardClasses[] = {
    // WP Recipe Maker
    {"wprm-recipe", "", Part::kCard},
    {"wprm-recipe-name", "/name", Part::kSingle},
    {"wprm-recipe-servings-with-unit", "/recipeYield", Part::kSingle},
    {"wprm-recipe-servings", "/recipeYield", Part::kSingle},
    {"wprm-recipe-prep-time-container", "/prepTime", Part::kSingle},
    {"wprm-recipe-cook-time-container", "/cookTime", Part::kSingle},
    {"wprm-recipe-total-time-container", "/totalTime", Part::kSingle},
    {"wprm-nutrition-label-text-nutrition-container-calories", "/nutrition/calories", Part::kSingle},
    {"wprm-recipe-ingredient", "/recipeIngredient", Part::kItem},
    {"wprm-recipe-instruction-text", "/recipeInstructions", Part::kItem},
    // Tasty Recipes
    {"tasty-recipes", "", Part::kCard},
    {"tasty-recipes-title", "/name", Part::kSingle},
    {"tasty-recipes-yield", "/recipeYield", Part::kSingle},
    {"tasty-recipes-prep-time", "/prepTime", Part::kSingle},
    {"tasty-recipes-cook-time", "/cookTime", Part::kSingle},
    {"tasty-recipes-total-time", "/totalTime", Part::kSingle},
    {"tasty-recipes-calories", "/nutrition/calories", Part::kSingle},
    {"tasty-recipes-ingredients", "/recipeIngredient", Part::kList},
    {"tasty-recipes-instructions", "/recipeInstructions", Part::kList},
    // Mediavine Create
    {"mv-create-card", "", Part::kCard},
    {"mv-create-title", "/name", Part::kSingle},
    {"mv-create-yield", "/recipeYield", Part::kSingle},
    {"mv-create-time-prep", "/prepTime", Part::kSingle},
    {"mv-create-time-active", "/cookTime", Part::kSingle},
    {"mv-create-time-total", "/totalTime", Part::kSingle},
    {"mv-create-nutrition-calories", "/nutrition/calories", Part::kSingle},
    {"mv-create-ingredients", "/recipeIngredient", Part::kList},
    {"mv-create-instructions", "/recipeInstructions", Part::kList},
    // WP Ultimate Recipe
    {"wpurp-container", "", Part::kCard},
    {"wpurp-recipe-title", "/name", Part::kSingle},
    {"wpurp-recipe-ingredient", "/recipeIngredient", Part::kItem},
    {"wpurp-recipe-instruction", "/recipeInstructions", Part::kItem},
};
// clang-format on

// The card class among the tag's classes, or null.
const CardClass* CardClassOf(const HtmlTag& tag) {
  const std::string* classes = tag.Attribute("class");
  if (!classes) return nullptr;
  std::string_view rest = *classes;
  while (!rest.empty()) {
    SkipBlanks(rest);
    const size_t end = std::min(rest.size(), rest.find_first_of(" \t\r\n\f"));
    for (const CardClass& entry : kCardClasses)
      if (rest.substr(0, end) == entry.name) return &entry;
    rest.remove_prefix(end);
  }
  return nullptr;
}

// Finds the elements a picker chooses and hands each one's content on when it ends: at its end
// tag, counted past elements of its name inside it, or where the next element of its kind starts
// (a list item ends the one before). Each element open keeps a count, so a page takes time in
// proportion to its tags.
class ElementScan {
 public:
  // What the picker tells of an element: the key its content is handed on with (-1 for an element
  // not chosen) and its group. With `splits` the next element of the group ends the open one;
  // without, an element of the group inside an open one is not chosen.
  struct Choice {
    int key = -1;
    int group = -1;
    bool splits = false;
  };
  using Pick = std::function<Choice(const HtmlTag& tag)>;
  // The content of a chosen element of that key; false stops the scan.
  using Take = std::function<bool(int key, std::string_view content)>;

  ElementScan(std::string_view html, Pick pick, Take take) : html_(html), pick_(pick), take_(take) {}

  void Run() {
    HtmlTags tags(html_);
    HtmlTag tag;
    while (!stopped_ && tags.Next(tag)) {
      if (tag.end) {
        End(tag);
      } else {
        Start(tag);
      }
    }
    while (!stopped_ && !open_.empty()) Finish(open_.size() - 1, html_.size());
  }

 private:
  struct Open {
    int key;
    int group;
    std::string name;
    size_t contentStart;
    int nested = 0;  // open elements of its name inside it
  };

  void Start(const HtmlTag& tag) {
    const bool empty = tag.IsVoid() || tag.selfClosing;
    if (!empty)
      for (Open& open : open_) open.nested += open.name == tag.name;
    const Choice choice = pick_(tag);
    if (choice.key < 0) return;
    size_t same = 0;
    while (same < open_.size() && open_[same].group != choice.group) ++same;
    if (same < open_.size() && choice.splits) Finish(same, tag.begin);
    if (stopped_ || (same < open_.size() && !choice.splits)) return;
    if (empty) {
      stopped_ = !take_(choice.key, {});
    } else {
      open_.push_back({choice.key, choice.group, tag.name, tag.finish});
    }
  }

  void End(const HtmlTag& tag) {
    for (size_t i = open_.size(); i-- > 0 && !stopped_;) {
      if (open_[i].name != tag.name) continue;
      if (open_[i].nested-- == 0) Finish(i, tag.begin);
    }
  }

  void Finish(size_t index, size_t contentEnd) {
    const Open open = open_[index];
    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(index));
    stopped_ = !take_(open.key, html_.substr(open.contentStart, contentEnd - open.contentStart));
  }

  std::string_view html_;
  Pick pick_;
  Take take_;
  std::vector<Open> open_;
  bool stopped_ = false;
};

// The values of a list element: its list items, else its paragraphs, else its lines.
std::vector<std::string> ListValues(std::string_view content) {
  for (const char* name : {"li", "p"}) {
    std::vector<std::string> values;
    ElementScan(
        content,
        [&](const HtmlTag& tag) {
          return ElementScan::Choice{tag.name == name ? 0 : -1, 0, true};
        },
        [&](int, std::string_view item) {
          values.emplace_back(item);
          return true;
        })
        .Run();
    if (!values.empty()) return values;
  }
  return HtmlLines(content);
}

// Files one value of a card part.
void Add(json& recipe, const CardClass& part, std::string_view content) {
  json& member = recipe[json::json_pointer(part.member)];
  if (part.part == Part::kSingle) {
    if (member.is_null()) member = HtmlText(content);
  } else if (part.part == Part::kItem) {
    member.push_back(std::string(content));
  } else {
    for (std::string& value : ListValues(content)) member.push_back(std::move(value));
  }
}

// The group of a card part: the first entry filed under its member, so that one element of a
// member is read at a time ("wprm-recipe-servings" inside "wprm-recipe-servings-with-unit" is not).
int GroupOf(const CardClass& part) {
  for (const CardClass& entry : kCardClasses)
    if (std::string_view(entry.member) == part.member) return static_cast<int>(&entry - kCardClasses);
  return -1;
}

// Files the parts of the page; outside a card, the first card's parts replace all filed before.
void ReadParts(std::string_view html, json& recipe, bool inCard) {
  ElementScan(
      html,
      [&](const HtmlTag& tag) {
        const CardClass* part = CardClassOf(tag);
        if (!part || (part->part == Part::kCard && inCard)) return ElementScan::Choice{};
        return ElementScan::Choice{static_cast<int>(part - kCardClasses), GroupOf(*part),
                                   part->part == Part::kItem};
      },
      [&](int key, std::string_view content) {
        const CardClass& part = kCardClasses[key];
        if (part.part != Part::kCard) {
          Add(recipe, part, content);
          return true;
        }
        recipe = json::object();
        ReadParts(content, recipe, true);
        return false;
      })
      .Run();
}

}  // namespace

bool ReadRecipeCard(std::string_view page, json& recipe) {
  recipe = json::object();
  // Most pages name no card's ingredients or steps: they are not read tag by tag again.
  const bool named = std::any_of(std::begin(kCardClasses), std::end(kCardClasses), [&](const CardClass& c) {
    return (c.part == Part::kItem || c.part == Part::kList) && page.find(c.name) != std::string_view::npos;
  });
  if (!named) return false;
  ReadParts(page, recipe, false);
  recipe["@type"] = "Recipe";
  return recipe.contains("recipeIngredient") || recipe.contains("recipeInstructions");
}
