// Putting foods on a shopping list: servings in the food's own unit, merging into a listed line
// in that line's unit, recipes expanded into their lines down to the depth limit.
#include <gtest/gtest.h>

#include <list>
#include <map>
#include <sstream>

#include "food/ShoppingList.h"
#include "food/Units.h"

namespace {

class Recipes : public RecipeLookup {
 public:
  const Recipe* FindRecipeNamed(WStringView name) const override {
    const auto found = byName.find(WString(name));
    return found == byName.end() ? nullptr : found->second;
  }
  std::map<WString, const Recipe*> byName;
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

// A recipe that contains itself stops after fifteen levels, and never becomes a line itself; no
// amount of a recipe adds its lines at zero.
TEST_F(ShoppingLinesTest, RecipeContainingItselfStopsAfterFifteenLevelsAndAZeroAmountAddsItsLinesAtZero) {
  Ingredient& salt = Food(TXT("Salt"), 1, kUnitTeaspoon);
  Recipe& soup = MakeRecipe(TXT("Soup"));
  Ingredient& soupFood = Food(TXT("Soup"), 1, kUnitBlank);
  AddLine(soup, salt, kUnitTeaspoon, 1);
  AddLine(soup, soupFood, kUnitServing, 1);
  Add(soupFood, kUnitServing, 1);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_DOUBLE_EQ(lines_[0].amount, kMaxRecipeDepth);

  lines_.clear();
  Ingredient& rice = Food(TXT("Rice"), 1, kUnitCup);
  AddLine(MakeRecipe(TXT("Pilaf")), rice, kUnitCup, 2);
  Add(Food(TXT("Pilaf"), 1, kUnitBlank), kUnitServing, 0);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(std::tuple(lines_[0].food, lines_[0].amount), std::tuple(&rice, 0.0));
}

}  // namespace
