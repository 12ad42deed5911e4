#include "food/ShoppingList.h"

#include <algorithm>
#include <map>

#include "food/TagNames.h"
#include "food/Units.h"
#include "storage/XMLDoc.h"

namespace {

bool CountsServings(ServingUnit unit) {
  return unit == kUnitServing || unit == kUnitBlank;
}

// The quantity a food adds to a list, in the food's own serving unit when servings were asked
// for (a food measured in the blank unit keeps the count).
void ListedQuantity(const Ingredient& food, ServingUnit unit, double amount, double& quantity,
                    ServingUnit& quantityUnit) {
  if (CountsServings(unit) && food.type != kUnitBlank) {
    quantity = amount * food.size;
    quantityUnit = food.type;
  } else {
    quantity = amount;
    quantityUnit = CountsServings(unit) ? kUnitBlank : unit;
  }
}

// Puts a food itself on the lines, merged into its line when it has one.
void AddFood(std::vector<MealItem>& lines, Ingredient& food, ServingUnit unit, double amount) {
  double quantity;
  ServingUnit quantityUnit;
  ListedQuantity(food, unit, amount, quantity, quantityUnit);
  for (MealItem& line : lines) {
    if (!line.food || line.food->foodId != food.foodId) continue;
    const auto lineUnit = static_cast<ServingUnit>(line.servingType);
    line.amount += quantity * ServingsOf(quantityUnit, lineUnit, 1.0, 1.0, 1.0);
    return;
  }
  lines.push_back(MealItem{quantity, static_cast<int32_t>(quantityUnit), &food});
}

// The foods one unit of a recipe's amount puts on a list, in the order they first come; the
// amounts of a food in one unit are summed, so that a recipe reached many times stays one entry.
class Expansion {
 public:
  void Add(Ingredient& food, ServingUnit unit, double amount) {
    const auto [at, added] = index_.try_emplace({&food, unit}, items_.size());
    if (added) items_.push_back(MealItem{0, static_cast<int32_t>(unit), &food});
    items_[at->second].amount += amount;
  }
  const std::vector<MealItem>& Items() const { return items_; }

 private:
  std::vector<MealItem> items_;
  std::map<std::pair<const Ingredient*, ServingUnit>, size_t> index_;
};

// Expands the recipes of one addition to a list. Each recipe is expanded once per unit it is
// asked in and reused wherever it comes again, so that a recipe using another twice, which uses a
// third twice, and so on, costs its lines and not its paths. The amounts scale with the amount
// asked, so one unit of it stands for all.
class RecipeExpander {
 public:
  explicit RecipeExpander(const RecipeLookup& recipes) : recipes_(recipes) {}

  const Expansion& Expand(const Recipe& recipe, ServingUnit unit) {
    const auto key = std::make_pair(&recipe, unit);
    if (const auto done = done_.find(key); done != done_.end()) return done->second;
    underWay_.push_back(&recipe);
    Expansion expansion;
    for (const RecipeLine& line : recipe.lines) {
      if (!line.ingredient) continue;
      const auto lineUnit = static_cast<ServingUnit>(line.unit);
      const double perUnit = line.amount * ServingsOf(unit, lineUnit, 1.0, line.amount, 1.0);
      const Recipe* inner = recipes_.FindRecipeNamed(line.ingredient->name);
      if (!inner || !Expandable(*inner)) {
        expansion.Add(*line.ingredient, lineUnit, perUnit);
        continue;
      }
      for (const MealItem& item : Expand(*inner, lineUnit).Items())
        expansion.Add(*item.food, static_cast<ServingUnit>(item.servingType), item.amount * perUnit);
    }
    underWay_.pop_back();
    return done_.emplace(key, std::move(expansion)).first->second;
  }

 private:
  bool Expandable(const Recipe& recipe) const {
    return underWay_.size() < kMaxRecipeDepth &&
           std::find(underWay_.begin(), underWay_.end(), &recipe) == underWay_.end();
  }

  const RecipeLookup& recipes_;
  std::map<std::pair<const Recipe*, ServingUnit>, Expansion> done_;
  std::vector<const Recipe*> underWay_;  // the recipes being expanded, outermost first
};

}  // namespace

void AddToShoppingLines(std::vector<MealItem>& lines, Ingredient& food, ServingUnit unit, double amount,
                        const RecipeLookup* recipes) {
  const Recipe* recipe = recipes ? recipes->FindRecipeNamed(food.name) : nullptr;
  if (!recipe) return AddFood(lines, food, unit, amount);
  RecipeExpander expander(*recipes);
  for (const MealItem& item : expander.Expand(*recipe, unit).Items())
    AddFood(lines, *item.food, static_cast<ServingUnit>(item.servingType), item.amount * amount);
}

WString ShoppingLineText(const MealItem& line, const NamedIdList& unitNames) {
  WString text;
  FormatAmount(text, static_cast<ServingUnit>(line.servingType), kUnitNoSuffix, line.amount, unitNames);
  text += TXT(" ");
  if (line.food) text += line.food->name;
  return text;
}

// ---- the SHOPLIST element ----

void WriteShoppingListElement(XMLDoc& doc, const Meal& list) {
  doc.OpenElement(TXT("SHOPLIST"));
  doc.WriteInt(TXT("LISTID"), static_cast<int32_t>(ShoppingListId(list)));
  doc.WriteString(TXT("LISTNAME"), list.name);
  for (const MealItem& item : list.items) {
    doc.OpenElement(TXT("ITEM"));
    doc.WriteReal(TXT("AMOUNT"), item.amount);
    doc.WriteInt(TXT("SERVINGTYPE"), item.servingType);
    WriteFood(doc, *item.food);
    doc.CloseElement();
  }
  doc.CloseElement();
}

namespace {

// A leaf's text; an empty or valueless leaf stands for 0.
const WChar* LeafValue(XMLDoc& doc, const WChar* tag) {
  const WChar* value = doc.IsEmptyTag() ? nullptr : doc.ReadValue(tag);
  return value ? value : TXT("");
}

}  // namespace

bool ReadShoppingListElement(XMLDoc& doc, Meal& list, IngredientCatalog& catalog) {
  MealItem item;
  bool inItem = false;
  while (const WChar* tag = doc.NextTag()) {
    const bool end = doc.IsEndTag();
    if (IsTag(tag, TXT("SHOPLIST"))) {
      if (end) return true;
    } else if (IsTag(tag, TXT("ITEM"))) {
      if (end && inItem && item.food) list.AddItem(item);
      item = MealItem{};
      inItem = !end;
    } else if (end) {
      continue;
    } else if (IsTag(tag, TXT("FOOD"))) {
      // The food is known by its name only: the file's ids and categories are not the catalog's.
      Ingredient read;
      CategoryList scratch;
      uint32_t counter = 0;
      ReadFood(doc, read, scratch, counter);
      if (inItem && !read.name.empty()) item.food = catalog.FindByName(read.name);
    } else if (IsTag(tag, TXT("LISTID"))) {
      SetShoppingListId(list, static_cast<uint32_t>(ParseInt(LeafValue(doc, tag))));
    } else if (IsTag(tag, TXT("LISTNAME"))) {
      list.name = XMLUnescape(LeafValue(doc, tag));
    } else if (inItem && IsTag(tag, TXT("AMOUNT"))) {
      item.amount = ParseReal(LeafValue(doc, tag));
    } else if (inItem && IsTag(tag, TXT("SERVINGTYPE"))) {
      item.servingType = XMLToInt(LeafValue(doc, tag));
    }
  }
  return false;
}
