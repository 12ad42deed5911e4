#include "server/SharedRecipe.h"

#include <vector>

#include "storage/XMLDoc.h"

namespace {

enum class Element { None, RecipeList, Recipes, Recipe, IngredientList, Ingredient, Food, Leaf };

struct Container {
  const WChar* name;
  Element element;
};

constexpr Container kContainers[] = {
    {TXT("RECIPELIST"), Element::RecipeList}, {TXT("RECIPES"), Element::Recipes},
    {TXT("RECIPE"), Element::Recipe},         {TXT("INGREDIENTLIST"), Element::IngredientList},
    {TXT("INGREDIENT"), Element::Ingredient}, {TXT("FOOD"), Element::Food},
};

Element ElementOf(const WString& name) {
  for (const Container& c : kContainers)
    if (EqualsNoCase(name, c.name)) return c.element;
  return Element::Leaf;
}

bool MayContain(Element parent, Element child) {
  switch (child) {
    case Element::RecipeList:
      return parent == Element::None;
    case Element::Recipes:
      return parent == Element::RecipeList;
    case Element::Recipe:
      return parent == Element::Recipes;
    case Element::IngredientList:
      return parent == Element::Recipe;
    case Element::Ingredient:
      return parent == Element::IngredientList;
    case Element::Food:
      return parent == Element::Recipe || parent == Element::Ingredient;
    default:
      return parent == Element::Recipe || parent == Element::Ingredient || parent == Element::Food;
  }
}

// Ids that name records of the uploader's own catalogs.
bool IsUploaderId(Element parent, const WString& name) {
  return (parent == Element::Ingredient && name == TXT("ID")) ||
         (parent == Element::Food && name == TXT("CATID")) ||
         (parent == Element::Recipe && name == TXT("INGREDIENTID"));
}

// The system's element names are ASCII words; returns the upper-case form, empty for anything else.
WString ElementName(const WChar* tag) {
  WString name;
  for (; *tag; ++tag) {
    const WChar c = *tag;
    if (c >= 'a' && c <= 'z') {
      name += static_cast<WChar>(c - 32);
    } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      name += c;
    } else {
      return WString();
    }
  }
  return name;
}

bool HasVisibleText(const WString& text) {
  for (WChar c : text)
    if (c > ' ') return true;
  return false;
}

std::string Tag(const WString& name) {
  return "<" + ToUtf8(name) + ">";
}

class SharedRecipeReader {
 public:
  explicit SharedRecipeReader(WString text) { in_.SetText(std::move(text)); }

  std::optional<SharedRecipe> Read(std::string& error) {
    if (!ReadDocument()) {
      error = error_;
      return std::nullopt;
    }
    return SharedRecipe{name_, category_, out_.Output()};
  }

 private:
  struct Open {
    Element element;
    WString name;
  };

  bool Fail(std::string reason) {
    error_ = std::move(reason);
    return false;
  }

  Element Parent() const { return open_.empty() ? Element::None : open_.back().element; }
  bool InRecipeFood() const {
    return open_.size() >= 2 && open_.back().element == Element::Food &&
           open_[open_.size() - 2].element == Element::Recipe;
  }

  bool ReadDocument() {
    if (!in_.FindRoot(TXT("RECIPELIST"))) return Fail("the document is not a recipe list");
    bool started = false;
    while (const WChar* tag = in_.NextTag()) {
      const WString name = ElementName(tag);
      if (name.empty()) return Fail("the document holds a tag that is not an element name");
      if (!(in_.IsEndTag() ? End(name) : Start(name))) return false;
      started = true;
      if (open_.empty()) break;
    }
    if (!started) return Fail("the document is not a recipe list");
    if (!open_.empty()) return Fail("the document ends inside " + Tag(open_.back().name));
    if (in_.NextTag()) return Fail("the document goes on after the end of the recipe list");
    if (recipes_ != 1) return Fail("the document holds no recipe");
    return true;
  }

  bool Start(const WString& name) {
    const Element element = ElementOf(name);
    if (!MayContain(Parent(), element)) {
      return Fail(Tag(name) +
                  (open_.empty() ? " cannot be the root" : " cannot stand inside " + Tag(open_.back().name)));
    }
    if (element == Element::Leaf) return Leaf(name);
    if (element == Element::Recipe && ++recipes_ > 1) return Fail("the document holds more than one recipe");
    if (element == Element::Food) {
      bool& seen = Parent() == Element::Recipe ? recipeFood_ : lineFood_;
      if (seen) return Fail("a recipe or ingredient line carries two FOOD elements");
      seen = true;
    }
    if (element == Element::Ingredient) lineFood_ = false;
    out_.OpenElement(name.c_str());
    open_.push_back({element, name});
    return in_.IsEmptyTag() ? End(name) : true;
  }

  bool End(const WString& name) {
    if (open_.empty() || open_.back().name != name) {
      return Fail("</" + ToUtf8(name) + "> does not close " +
                  (open_.empty() ? "anything" : Tag(open_.back().name)));
    }
    if (open_.back().element == Element::Ingredient && !lineFood_)
      return Fail("an ingredient line carries no FOOD element");
    if (open_.back().element == Element::Recipe && !recipeFood_)
      return Fail("the recipe has no FOOD element");
    if (InRecipeFood()) {
      if (foodId_ == 0) return Fail("the recipe's FOOD element has no FOODID");
      if (!HasVisibleText(name_)) return Fail("the recipe has no name");
    }
    out_.CloseElement();
    open_.pop_back();
    return true;
  }

  bool Leaf(const WString& name) {
    const WChar* raw = in_.ReadValue(name.c_str());
    if (!raw) return Fail(Tag(name) + " has no value or is not closed");
    const WString value = XMLUnescape(raw);
    if (IsUploaderId(Parent(), name)) return true;
    if (InRecipeFood()) Remember(name, value);
    out_.WriteString(name.c_str(), value);
    return true;
  }

  void Remember(const WString& name, const WString& value) {
    if (name == TXT("FOODNAME")) name_ = value;
    if (name == TXT("CATEGORY")) category_ = value;
    if (name == TXT("FOODID")) foodId_ = ParseInt(value.c_str());
  }

  XMLDoc in_, out_;
  std::vector<Open> open_;
  int recipes_ = 0;
  bool recipeFood_ = false, lineFood_ = false;
  WString name_, category_;
  int32_t foodId_ = 0;
  std::string error_;
};

}  // namespace

std::optional<SharedRecipe> ReadSharedRecipe(WString text, std::string& error) {
  return SharedRecipeReader(std::move(text)).Read(error);
}
