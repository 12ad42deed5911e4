// Putting foods on a shopping list: servings in the food's own unit, merging into a listed line
// in that line's unit, recipes expanded into their lines, never inside themselves.
#include <gtest/gtest.h>

#include <list>
#include <map>
#include <sstream>

#include "food/ShoppingList.h"
#include "food/Units.h"

namespace {

// Counts its lookups; past a budget it finds nothing, so that an expansion whose work grows with
// the paths through the recipes rather than with their lines ends, and fails its check.
class Recipes : public RecipeLookup {
 public:
  static constexpr int kBudget = 10000;
  const Recipe* FindRecipeNamed(WStringView name) const override {
    if (++lookups > kBudget) return nullptr;
    const auto found = byName.find(WString(name));
    return found == byName.end() ? nullptr : found->second;
  }
  std::map<WString, const Recipe*> byName;
  mutable int lookups = 0;
};

class ShoppingLinesTest : public ::testing::Test {
 protected:
  Ingredient& Food(const WChar* name, double size, ServingUnit unit) {
    Ingredient& food = foods_.emplace_back();
    food.name = name;
    food.foodId = static_cast<uint32_t>(foods_.size());
    food.size = size;
    food.type = unit;
    food.ounces = 1;
    return food;
  }
  void Add(Ingredient& food, ServingUnit unit, double amount) {
    AddToShoppingLines(lines_, food, unit, amount, &recipes_);
  }
  // A recipe, published under its own name as an ingredient the way linked ingredients are.
  Recipe& MakeRecipe(const WChar* name) {
    Recipe& recipe = recipeStore_.emplace_back();
    recipe.name = name;
    recipes_.byName[name] = &recipe;
    return recipe;
  }
  // A recipe with its linked ingredient, a food of one serving in the blank unit.
  std::pair<Recipe*, Ingredient*> MakeLinkedRecipe(const WString& name) {
    return {&MakeRecipe(name.c_str()), &Food(name.c_str(), 1, kUnitBlank)};
  }
  static void AddLine(Recipe& recipe, Ingredient& food, ServingUnit unit, double amount) {
    recipe.lines.push_back(RecipeLine{amount, static_cast<int32_t>(unit), WString(), &food});
  }
  // Each line as "food unit amount".
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const MealItem& line : lines_) {
      std::ostringstream text;
      text << ToUtf8(line.food->name) << " " << line.servingType << " " << line.amount;
      lines.push_back(text.str());
    }
    return lines;
  }

  std::list<Ingredient> foods_;
  std::list<Recipe> recipeStore_;
  Recipes recipes_;
  std::vector<MealItem> lines_;
};

// Counted foods keep the blank unit; another food appends a line.
TEST_F(ShoppingLinesTest, ServingsBecomeTheFoodsOwnUnitOtherUnitsTheListedLinesUnitAndNewFoodsAppend) {
  Ingredient& milk = Food(TXT("Milk"), 0.5, kUnitCup);
  Ingredient& flour = Food(TXT("Flour"), 1, kUnitCup);
  Ingredient& eggs = Food(TXT("Eggs"), 1, kUnitBlank);
  Add(milk, kUnitServing, 2);
  ASSERT_EQ(Lines(), std::vector<std::string>{"Milk " + std::to_string(kUnitCup) + " 1"});
  Add(milk, kUnitServing, 1);
  Add(flour, kUnitCup, 1);
  Add(flour, kUnitTeaspoon, 4);  // 4 tsp = 4 * 0.125 / 6 cup
  Add(eggs, kUnitServing, 3);
  Add(Food(TXT("Salt"), 1, kUnitTeaspoon), kUnitGram, 5);
  Add(eggs, kUnitBlank, 2);
  const std::string cup = " " + std::to_string(kUnitCup) + " ";
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Milk" + cup + "1.5", "Flour" + cup + "1.08333",
                                               "Eggs " + std::to_string(kUnitBlank) + " 5",
                                               "Salt " + std::to_string(kUnitGram) + " 5"}));
  EXPECT_DOUBLE_EQ(lines_[1].amount, 1.0 + 4 * 0.125 / 6);
  EXPECT_EQ(ShoppingLineText(lines_[0], UnitNames()), TXT("1 1/2  cup Milk"));
  EXPECT_EQ(ShoppingLineText(lines_[2], UnitNames()), TXT("5  Eggs"));
}

TEST_F(ShoppingLinesTest, RecipesExpandIntoTheirIngredientsScaledByServings) {
  Ingredient& flour = Food(TXT("Flour"), 1, kUnitCup);
  Ingredient& butter = Food(TXT("Butter"), 1, kUnitTablespoon);
  Recipe& bread = MakeRecipe(TXT("Bread"));
  AddLine(bread, flour, kUnitCup, 3);
  AddLine(bread, butter, kUnitTablespoon, 2);
  Recipe& cake = MakeRecipe(TXT("Cake"));
  AddLine(cake, flour, kUnitCup, 2);
  Ingredient& breadFood = Food(TXT("Bread"), 1, kUnitBlank);
  Ingredient& cakeFood = Food(TXT("Cake"), 1, kUnitBlank);
  Food(TXT("bread"), 1, kUnitBlank);  // another case is not the recipe

  Add(breadFood, kUnitServing, 2);
  Add(cakeFood, kUnitServing, 1);
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(std::tuple(lines_[0].food, lines_[0].amount, lines_[1].food, lines_[1].amount),
            std::tuple(&flour, 8.0, &butter, 4.0));  // 2 * 3 + 2 cups

  Add(foods_.back(), kUnitServing, 1);
  EXPECT_EQ(lines_.size(), 3u);
  EXPECT_EQ(lines_[2].food, &foods_.back());
}

// A line naming a recipe whose expansion is under way (the recipe itself, or one it is inside)
// lists that recipe's ingredient instead; no amount of a recipe adds its lines at zero.
TEST_F(ShoppingLinesTest, ARecipeNeverExpandsInsideItselfItsOwnLineListsItsIngredient) {
  Ingredient& salt = Food(TXT("Salt"), 1, kUnitTeaspoon);
  Ingredient& sugar = Food(TXT("Sugar"), 1, kUnitTablespoon);
  auto [loaf, loafFood] = MakeLinkedRecipe(TXT("Loaf"));
  AddLine(*loaf, salt, kUnitTeaspoon, 1);
  for (int n = 0; n < 4; ++n) AddLine(*loaf, *loafFood, kUnitServing, 0.5);
  auto [tart, tartFood] = MakeLinkedRecipe(TXT("Tart"));
  auto [crust, crustFood] = MakeLinkedRecipe(TXT("Crust"));
  AddLine(*tart, sugar, kUnitTablespoon, 2);
  AddLine(*tart, *crustFood, kUnitServing, 1);
  AddLine(*crust, salt, kUnitTeaspoon, 3);
  AddLine(*crust, *tartFood, kUnitServing, 1);
  const std::string tsp = " " + std::to_string(kUnitTeaspoon) + " ",
                    tbl = " " + std::to_string(kUnitTablespoon) + " ",
                    blank = " " + std::to_string(kUnitBlank) + " ";
  const struct {
    Ingredient* food;
    std::vector<std::string> lines;
  } cases[] = {
      {loafFood, {"Salt" + tsp + "2", "Loaf" + blank + "8"}},
      {tartFood, {"Sugar" + tbl + "4", "Salt" + tsp + "6", "Tart" + blank + "2"}},
      {crustFood, {"Salt" + tsp + "6", "Sugar" + tbl + "4", "Crust" + blank + "2"}},
  };
  for (const auto& [food, lines] : cases) {
    lines_.clear();
    recipes_.lookups = 0;
    Add(*food, kUnitServing, 2);
    EXPECT_EQ(Lines(), lines) << ToUtf8(food->name);
    EXPECT_LE(recipes_.lookups, 6) << ToUtf8(food->name);  // one per line reached, and the food's own
  }

  lines_.clear();
  Ingredient& rice = Food(TXT("Rice"), 1, kUnitCup);
  AddLine(MakeRecipe(TXT("Pilaf")), rice, kUnitCup, 2);
  Add(Food(TXT("Pilaf"), 1, kUnitBlank), kUnitServing, 0);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(std::tuple(lines_[0].food, lines_[0].amount), std::tuple(&rice, 0.0));
}

// Each recipe uses the next one twice, thirty levels down to a teaspoon of salt: the salt of all
// 2^30 paths is listed, with one lookup per line.
TEST_F(ShoppingLinesTest, ARecipeReachedByManyPathsIsExpandedOnce) {
  constexpr int kLevels = 30;
  Ingredient& salt = Food(TXT("Salt"), 1, kUnitTeaspoon);
  Ingredient* inner = &salt;
  for (int level = kLevels; level > 0; --level) {
    const std::string name = "Level " + std::to_string(level);
    auto [recipe, food] = MakeLinkedRecipe(WString(name.begin(), name.end()));
    for (int n = 0; n < 2; ++n) AddLine(*recipe, *inner, inner == &salt ? kUnitTeaspoon : kUnitServing, 1);
    inner = food;
  }
  Add(*inner, kUnitServing, 1);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(std::tuple(lines_[0].food, lines_[0].amount), std::tuple(&salt, double(1 << kLevels)));
  EXPECT_LE(recipes_.lookups, 2 * kLevels + 1);
}

}  // namespace
