#include "food/ShoppingList.h"

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

void ExpandRecipe(std::vector<MealItem>& lines, const Recipe& recipe, ServingUnit unit, double amount,
                  const RecipeLookup* recipes, int depth) {
  if (depth + 1 > kMaxRecipeDepth) return;
  for (const RecipeLine& line : recipe.lines) {
    if (!line.ingredient) continue;
    const auto lineUnit = static_cast<ServingUnit>(line.unit);
    const double factor = amount == 0 ? 0 : ServingsOf(unit, lineUnit, amount, line.amount, 1.0);
    AddToShoppingLines(lines, *line.ingredient, lineUnit, line.amount * factor, recipes, depth + 1);
  }
}

}  // namespace

void AddToShoppingLines(std::vector<MealItem>& lines, Ingredient& food, ServingUnit unit, double amount,
                        const RecipeLookup* recipes, int depth) {
  if (const Recipe* recipe = recipes ? recipes->FindRecipeNamed(food.name) : nullptr)
    return ExpandRecipe(lines, *recipe, unit, amount, recipes, depth);
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
