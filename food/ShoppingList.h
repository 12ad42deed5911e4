#pragma once
// The shopping lists' arithmetic: putting a food on a list at an amount, which merges a food
// already listed into its line (converted to that line's unit) and expands a recipe into its
// ingredient lines, and the text of a list line. A list is a Meal whose meal type holds its ID.
#include <cstdint>
#include <vector>

#include "food/CategoryList.h"
#include "food/Meal.h"
#include "food/Recipe.h"

// The recipes a food may stand for: a recipe is reached through the ingredient that carries its
// name. The Recipes view implements it.
class RecipeLookup {
 public:
  // The recipe whose name equals `name` exactly, letter case included; null when none.
  virtual const Recipe* FindRecipeNamed(WStringView name) const = 0;

 protected:
  ~RecipeLookup() = default;
};

// Recipes inside recipes are expanded at most this many levels deep, which bounds the stack; a
// recipe further down is listed as its food.
constexpr size_t kMaxRecipeDepth = 100;

// Puts `amount` of `food` in `unit` on the lines: a recipe's lines in its place (each line's
// amount scaled by the servings asked for), a food already listed into its line, otherwise a new
// line at the end. "Serving" and the blank unit count servings of the food's own serving. A recipe
// is never expanded inside itself: a line naming a recipe whose expansion is under way lists that
// recipe's food, the ingredient linked to it. The work grows with the lines reached, however many
// paths lead to them.
void AddToShoppingLines(std::vector<MealItem>& lines, Ingredient& food, ServingUnit unit, double amount,
                        const RecipeLookup* recipes);

// "1 1/2  cup Flour": the amount with its unit, a blank and the food's name.
WString ShoppingLineText(const MealItem& line, const NamedIdList& unitNames);

// A shopping list's ID lives in the meal type; the category mirrors it, so a list is "in" its own
// selector entry.
inline uint32_t ShoppingListId(const Meal& list) {
  return static_cast<uint32_t>(list.mealType);
}
inline void SetShoppingListId(Meal& list, uint32_t id) {
  list.mealType = static_cast<int32_t>(id);
  list.catId = id;
}

// Writes one SHOPLIST element: its id, its name and each item with its ingredient's whole FOOD
// element (lists hold foods by name, never by id).
void WriteShoppingListElement(XMLDoc& doc, const Meal& list);
// Reads the children of a SHOPLIST element whose start tag the caller consumed into `list`, up to
// its end tag (false when the text ends first). An item links to the catalog's ingredient of its
// FOOD's name; items whose ingredient the catalog lacks are dropped.
bool ReadShoppingListElement(XMLDoc& doc, Meal& list, IngredientCatalog& catalog);

// The list selector's entries: one per list in list order, names repeating as lists may.
class ShoppingListNames : public CategoryList {
 public:
  bool Add(WStringView name, uint32_t id) override {
    entries_.Append(name, id);
    return true;
  }
};
