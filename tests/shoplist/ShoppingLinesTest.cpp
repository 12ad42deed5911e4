// Putting foods on a shopping list: servings in the food's own unit, merging into a listed line
// in that line's unit, recipes expanded into their lines down to the depth limit.
#include <gtest/gtest.h>

#include <list>
#include <map>

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

  std::list<Ingredient> foods_;
  std::list<Recipe> recipeStore_;
  Recipes recipes_;
  std::vector<MealItem> lines_;
};

TEST_F(ShoppingLinesTest, ServingsBecomeTheFoodsOwnUnitAndMergeIntoOneLine) {
  Ingredient& milk = Food(TXT("Milk"), 0.5, kUnitCup);
  Add(milk, kUnitServing, 2);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(lines_[0].servingType, static_cast<int32_t>(kUnitCup));
  EXPECT_DOUBLE_EQ(lines_[0].amount, 1.0);
  Add(milk, kUnitServing, 1);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_DOUBLE_EQ(lines_[0].amount, 1.5);
  EXPECT_EQ(ShoppingLineText(lines_[0], UnitNames()), TXT("1 1/2  cup Milk"));
}

TEST_F(ShoppingLinesTest, OtherUnitsAreConvertedIntoTheListedLinesUnit) {
  Ingredient& flour = Food(TXT("Flour"), 1, kUnitCup);
  Add(flour, kUnitCup, 1);
  Add(flour, kUnitTeaspoon, 4);  // 4 tsp = 4 * 0.125 / 6 cup
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(lines_[0].servingType, static_cast<int32_t>(kUnitCup));
  EXPECT_DOUBLE_EQ(lines_[0].amount, 1.0 + 4 * 0.125 / 6);
}

TEST_F(ShoppingLinesTest, CountedFoodsKeepTheBlankUnitAndNewFoodsAppend) {
  Ingredient& eggs = Food(TXT("Eggs"), 1, kUnitBlank);
  Ingredient& salt = Food(TXT("Salt"), 1, kUnitTeaspoon);
  Add(eggs, kUnitServing, 3);
  Add(salt, kUnitGram, 5);
  Add(eggs, kUnitBlank, 2);
  ASSERT_EQ(lines_.size(), 2u);
  EXPECT_EQ(lines_[0].servingType, static_cast<int32_t>(kUnitBlank));
  EXPECT_DOUBLE_EQ(lines_[0].amount, 5);
  EXPECT_EQ(ShoppingLineText(lines_[0], UnitNames()), TXT("5  Eggs"));
  EXPECT_EQ(lines_[1].servingType, static_cast<int32_t>(kUnitGram));
  EXPECT_DOUBLE_EQ(lines_[1].amount, 5);
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
  EXPECT_EQ(lines_[0].food, &flour);
  EXPECT_DOUBLE_EQ(lines_[0].amount, 8);  // 2 * 3 + 2
  EXPECT_EQ(lines_[1].food, &butter);
  EXPECT_DOUBLE_EQ(lines_[1].amount, 4);

  AddToShoppingLines(lines_, foods_.back(), kUnitServing, 1, &recipes_);
  EXPECT_EQ(lines_.size(), 3u);
  EXPECT_EQ(lines_[2].food, &foods_.back());
}

TEST_F(ShoppingLinesTest, RecipeContainingItselfStopsAfterFifteenLevels) {
  Ingredient& salt = Food(TXT("Salt"), 1, kUnitTeaspoon);
  Recipe& soup = MakeRecipe(TXT("Soup"));
  Ingredient& soupFood = Food(TXT("Soup"), 1, kUnitBlank);
  AddLine(soup, salt, kUnitTeaspoon, 1);
  AddLine(soup, soupFood, kUnitServing, 1);
  Add(soupFood, kUnitServing, 1);
  ASSERT_EQ(lines_.size(), 1u);  // the soup itself never becomes a line
  EXPECT_DOUBLE_EQ(lines_[0].amount, kMaxRecipeDepth);
}

TEST_F(ShoppingLinesTest, ZeroAmountOfARecipeAddsItsLinesAtZero) {
  Ingredient& rice = Food(TXT("Rice"), 1, kUnitCup);
  Recipe& pilaf = MakeRecipe(TXT("Pilaf"));
  AddLine(pilaf, rice, kUnitCup, 2);
  Add(Food(TXT("Pilaf"), 1, kUnitBlank), kUnitServing, 0);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_DOUBLE_EQ(lines_[0].amount, 0);
}

}  // namespace
