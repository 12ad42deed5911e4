#include "food/ShoppingList.h"

#include "food/Units.h"

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
