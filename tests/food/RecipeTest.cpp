#include <gtest/gtest.h>

#include "FoodTestSupport.h"

namespace {

// A recipe with one line by id, one with a display name, in a catalog of two ingredients.
class RecipeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    catalog.categories.Add(TXT("Baking"), 50);
    flour = &catalog.Add(TXT("Flour"), 12, 455);
    flour->catId = 50;
    egg = &catalog.Add(TXT("Egg"), 13, 70);
    egg->type = kUnitBlank;
    recipeCategories.Add(TXT("Cakes"), 4);
    recipe.foodId = 7;
    recipe.catId = 4;
    recipe.name = TXT("Sponge");
    recipe.size = 1;
    recipe.type = kUnitBlank;
    recipe.nutrients[Nutrient::kCalories] = 250;
    recipe.lines = {RecipeLine{1.5, static_cast<int32_t>(kUnitCup), WString(), flour},
                    RecipeLine{2, static_cast<int32_t>(kUnitServing), TXT("2 eggs, beaten"), egg}};
    recipe.instructions = TXT("Mix.\r\nBake \"hot\".");
    recipe.cookHours = 1;
    recipe.cookMinutes = 30;
    recipe.serves = 4;
    recipe.ingredientId = 99;
  }

  WString Written(const Recipe& r, bool embed) const {
    XMLDoc doc;
    r.WriteRecipeElement(doc, embed, recipeCategories, catalog.categories);
    return doc.Output();
  }

  bool Read(Recipe& r, const WString& text) {
    XMLDoc doc;
    StartReading(doc, text);
    return r.ReadRecipeElement(doc, recipeCategories, recipeCounter, catalog);
  }

  WString Cell(const Recipe& r, uint32_t column, bool csv) const {
    WString out;
    r.ColumnText(out, column, recipeCategories, NutrientFormat{}, csv, true);
    return out;
  }

  MemoryCatalog catalog;
  CategoryList recipeCategories;
  uint32_t recipeCounter = 10;
  Ingredient* flour = nullptr;
  Ingredient* egg = nullptr;
  Recipe recipe;
};

TEST_F(RecipeTest, WritesTheRecipeElementByIngredientId) {
  EXPECT_EQ(Lines({TXT("<RECIPE>"),
                   TXT("<INGREDIENTLIST>"),
                   TXT("<INGREDIENT>"),
                   TXT("<AMOUNT>1.5</AMOUNT>"),
                   TXT("<TYPE>2</TYPE>"),
                   TXT("<ID>12</ID>"),
                   TXT("</INGREDIENT>"),
                   TXT("<INGREDIENT>"),
                   TXT("<AMOUNT>2</AMOUNT>"),
                   TXT("<TYPE/>"),
                   TXT("<DISPLAYNAME>2 eggs, beaten</DISPLAYNAME>"),
                   TXT("<ID>13</ID>"),
                   TXT("</INGREDIENT>"),
                   TXT("</INGREDIENTLIST>"),
                   TXT("<INSTRUCTIONS>Mix.\r\nBake \"hot\".</INSTRUCTIONS>"),
                   TXT("<COOKHRS>1</COOKHRS>"),
                   TXT("<COOKMIN>30</COOKMIN>"),
                   TXT("<SERVES>4</SERVES>"),
                   TXT("<INGREDIENTID>99</INGREDIENTID>"),
                   TXT("<FOOD>"),
                   TXT("<CATID>4</CATID>"),
                   TXT("<FOODID>7</FOODID>"),
                   TXT("<FOODNAME>Sponge</FOODNAME>"),
                   TXT("<SIZE>1</SIZE>"),
                   TXT("<TYPE>1</TYPE>"),
                   TXT("<CAL>250</CAL>"),
                   TXT("</FOOD>"),
                   TXT("</RECIPE>")}),
            Written(recipe, false));
}

TEST_F(RecipeTest, EmbeddingWritesIngredientsAndCategoryNames) {
  const WString text = Written(recipe, true);
  const WString flourFood =
      Lines({TXT("<INGREDIENT>"), TXT("<AMOUNT>1.5</AMOUNT>"), TXT("<TYPE>2</TYPE>"), TXT("<FOOD>"),
             TXT("<CATEGORY>Baking</CATEGORY>"), TXT("<FOODID>12</FOODID>")});
  EXPECT_NE(WString::npos, text.find(flourFood));
  EXPECT_NE(WString::npos,
            text.find(Lines({TXT("<FOOD>"), TXT("<CATEGORY>Cakes</CATEGORY>"), TXT("<FOODID>7</FOODID>")})));
  EXPECT_EQ(WString::npos, text.find(TXT("<ID>")));
}

TEST_F(RecipeTest, ReadsWhatItWrites) {
  recipe.custom = TXT("Grandma & me");
  recipe.prepMinutes = 15;
  Recipe read;
  ASSERT_TRUE(Read(read, Written(recipe, false)));
  EXPECT_EQ(Written(recipe, false), Written(read, false));
  ASSERT_EQ(2u, read.lines.size());
  EXPECT_EQ(flour, read.lines[0].ingredient);
  EXPECT_EQ(kUnitServing, static_cast<ServingUnit>(read.lines[1].unit));
  EXPECT_TRUE(read.notOnIngredientList);
  EXPECT_EQ(2u, catalog.foods.size());
}

TEST_F(RecipeTest, DropsDanglingEmptyAndStrayLines) {
  Recipe read;
  ASSERT_TRUE(Read(read, Lines({TXT("<RECIPE>"),           TXT("<INGREDIENT>"),
                                TXT("<AMOUNT>1</AMOUNT>"), TXT("<ID>12</ID>"),
                                TXT("</INGREDIENT>"),      TXT("<INGREDIENTLIST>"),
                                TXT("<INGREDIENT>"),       TXT("<AMOUNT>1</AMOUNT>"),
                                TXT("<ID>404</ID>"),       TXT("</INGREDIENT>"),
                                TXT("<INGREDIENT>"),       TXT("<TYPE>2</TYPE>"),
                                TXT("<ID>12</ID>"),        TXT("</INGREDIENT>"),
                                TXT("<INGREDIENT>"),       TXT("<AMOUNT>3</AMOUNT>"),
                                TXT("<ID>13</ID>"),        TXT("</INGREDIENT>"),
                                TXT("</INGREDIENTLIST>"),  TXT("<FOOD>"),
                                TXT("<FOODID>8</FOODID>"), TXT("</FOOD>"),
                                TXT("</RECIPE>")})));
  ASSERT_EQ(1u, read.lines.size());
  EXPECT_EQ(egg, read.lines[0].ingredient);
  EXPECT_EQ(3, read.lines[0].amount);
  EXPECT_EQ(static_cast<int32_t>(kUnitBlank), read.lines[0].unit);  // no TYPE: the blank unit
  EXPECT_EQ(1, read.serves);
}

TEST_F(RecipeTest, LineWithAnAmountOutOfRangeIsDropped) {
  Recipe read;
  ASSERT_TRUE(Read(read, Lines({TXT("<RECIPE>"), TXT("<INGREDIENTLIST>"), TXT("<INGREDIENT>"),
                                TXT("<AMOUNT>1e400</AMOUNT>"), TXT("<ID>12</ID>"), TXT("</INGREDIENT>"),
                                TXT("</INGREDIENTLIST>"), TXT("<FOOD>"), TXT("<FOODID>8</FOODID>"),
                                TXT("</FOOD>"), TXT("</RECIPE>")})));
  EXPECT_TRUE(read.lines.empty());
}

TEST_F(RecipeTest, LineWithoutAmountIsGoneAfterTheNextLoad) {
  recipe.lines[0].amount = 0;
  const WString text = Written(recipe, false);
  EXPECT_EQ(WString::npos, text.find(TXT("<AMOUNT>1.5")));
  Recipe read;
  ASSERT_TRUE(Read(read, text));
  ASSERT_EQ(1u, read.lines.size());
  EXPECT_EQ(egg, read.lines[0].ingredient);
}

TEST_F(RecipeTest, WithoutItsOwnFoodTheRecipeFails) {
  Recipe read;
  EXPECT_FALSE(Read(read, Lines({TXT("<RECIPE>"), TXT("<SERVES>2</SERVES>"), TXT("</RECIPE>")})));
  EXPECT_FALSE(Read(read, Lines({TXT("<RECIPE>"), TXT("<FOOD>"), TXT("<FOODNAME>x</FOODNAME>"),
                                 TXT("</FOOD>"), TXT("</RECIPE>")})));
}

TEST_F(RecipeTest, EmbeddedIngredientsLinkByNameOrJoinTheCatalog) {
  Recipe exported = recipe;
  Ingredient sugar;
  sugar.foodId = 500;
  sugar.name = TXT("Sugar");
  sugar.catId = 50;
  exported.lines.push_back(RecipeLine{2, static_cast<int32_t>(kUnitTablespoon), WString(), &sugar});
  const WString text = Written(exported, true);
  flour->name = TXT("FLOUR");  // another letter case still links
  MemoryCatalog& c = catalog;
  Recipe read;
  ASSERT_TRUE(Read(read, text));
  ASSERT_EQ(3u, read.lines.size());
  EXPECT_EQ(flour, read.lines[0].ingredient);
  EXPECT_EQ(egg, read.lines[1].ingredient);
  ASSERT_EQ(3u, c.foods.size());
  const Ingredient& added = c.foods.back();
  EXPECT_EQ(read.lines[2].ingredient, &added);
  EXPECT_EQ(TXT("Sugar"), added.name);
  EXPECT_EQ(14u, added.foodId);  // a new catalog id, not the exported one
  EXPECT_EQ(50u, added.catId);
  EXPECT_EQ(4u, read.catId);  // the recipe's category by name
}

TEST_F(RecipeTest, EmbeddedCategoriesMissingFromTheCatalogsAreCreated) {
  const WString text = Written(recipe, true);
  catalog.categories.Clear();
  recipeCategories.Clear();
  catalog.foods.clear();
  Recipe read;
  ASSERT_TRUE(Read(read, text));
  EXPECT_EQ(11u, read.catId);
  EXPECT_EQ(11u, recipeCategories.IdByName(TXT("Cakes")));
  ASSERT_EQ(2u, catalog.foods.size());
  EXPECT_NE(0u, catalog.categories.IdByName(TXT("Baking")));
}

TEST_F(RecipeTest, NutritionPerServingFromTheLines) {
  Ingredient portion;
  portion.size = 1;
  portion.type = kUnitServing;
  portion.ounces = 3;
  portion.nutrients[Nutrient::kCalories] = 100;
  Recipe r;
  r.nutrients[Nutrient::kCalories] = 999;
  r.ComputeNutrition({RecipeLine{2, static_cast<int32_t>(kUnitServing), WString(), &portion}}, 2);
  EXPECT_DOUBLE_EQ(100, r.nutrients[Nutrient::kCalories]);
  EXPECT_DOUBLE_EQ(3, r.ounces);
  EXPECT_EQ(1, r.size);
  EXPECT_EQ(kUnitBlank, r.type);
  r.ComputeNutrition(r.lines, 4);
  EXPECT_DOUBLE_EQ(50, r.nutrients[Nutrient::kCalories]);
  ASSERT_EQ(1u, r.lines.size());

  portion.size = 0;  // contributes nothing
  r.ComputeNutrition({RecipeLine{2, static_cast<int32_t>(kUnitServing), WString(), &portion},
                      RecipeLine{3, static_cast<int32_t>(kUnitCup), WString(), flour}},
                     3);
  EXPECT_DOUBLE_EQ(455, r.nutrients[Nutrient::kCalories]);
  EXPECT_DOUBLE_EQ(8, r.ounces);
  r.ComputeNutrition(r.lines, 0);  // serves 0 gives the whole batch
  EXPECT_DOUBLE_EQ(1365, r.nutrients[Nutrient::kCalories]);
}

TEST_F(RecipeTest, DurationAndRecipeColumns) {
  EXPECT_EQ(TXT("1h 30m"), DurationText(1, 30));
  EXPECT_EQ(TXT("45m"), DurationText(0, 45));
  EXPECT_EQ(TXT("2h "), DurationText(2, 0));
  EXPECT_EQ(TXT(""), DurationText(0, 0));
  recipe.custom = TXT("\"Best\"");
  EXPECT_EQ(TXT("1h 30m"), Cell(recipe, kColumnCookingTime, false));
  EXPECT_EQ(TXT(""), Cell(recipe, kColumnPrepTime, false));
  EXPECT_EQ(TXT("4"), Cell(recipe, kColumnServes, false));
  EXPECT_EQ(TXT("Mix.\r\nBake \"hot\"."), Cell(recipe, kColumnInstructions, false));
  EXPECT_EQ(TXT("Mix.\r\nBake \u00B4hot\u00B4."), Cell(recipe, kColumnInstructions, true));
  EXPECT_EQ(TXT("\u00B4Best\u00B4"), Cell(recipe, kColumnCustom, true));
  EXPECT_EQ(TXT(""), Cell(recipe, kColumnIngredients, false));
  EXPECT_EQ(TXT("1.5 cup Flour\t2 Serving Egg"), Cell(recipe, kColumnIngredients, true));
  EXPECT_EQ(TXT("Sponge"), Cell(recipe, kColumnName, false));
  EXPECT_EQ(TXT("Cakes"), Cell(recipe, kColumnCategory, false));
}

TEST_F(RecipeTest, IngredientListNamesTheUnitOfEachLine) {
  Ingredient salt;
  salt.name = TXT("Salt");
  salt.type = kUnitTeaspoon;
  egg->name = TXT("Eggs");
  const std::vector<RecipeLine> lines = {
      RecipeLine{1.0 / 3, static_cast<int32_t>(kUnitBlank), WString(), &salt},  // blank unit, food in tsp
      RecipeLine{2, static_cast<int32_t>(kUnitBlank), WString(), egg},          // blank unit, food in blank
      RecipeLine{5, static_cast<int32_t>(kUnitCup), WString(), nullptr},
      RecipeLine{0.5, 40, WString(), flour},  // a unit without a name
  };
  EXPECT_EQ(TXT("0.333333 Serving Salt\t2  Eggs\t0.5  Flour"), FormatIngredientList(lines));
}

TEST_F(RecipeTest, CsvRowFillsRecipeColumnsAndLinksKnownIngredients) {
  CsvColumnMap map;
  const uint32_t columns[] = {kColumnName,         kColumnCookingTime, kColumnPrepTime, kColumnServes,
                              kColumnInstructions, kColumnIngredients, kColumnCustom,   Nutrient::kCalories};
  for (uint32_t field = 0; field < 8; ++field) map.position[columns[field]] = field;
  const CsvRow row = {TXT("Pancakes"),      TXT("1h 30m"),
                      TXT("45m"),           TXT("6"),
                      TXT("Whisk."),        TXT("1.5 cup flour\t2 Serving Egg\t1 cup Unknown\tnone"),
                      TXT("\u00B4x\u00B4"), TXT("320")};
  Recipe read;
  uint32_t counter = 70;
  ASSERT_TRUE(read.ImportCsvRecipeRow(row, recipeCategories, UnitNames(), counter, map, catalog));
  EXPECT_EQ(TXT("Pancakes"), read.name);
  EXPECT_EQ(71u, read.foodId);
  EXPECT_EQ(1, read.cookHours);
  EXPECT_EQ(30, read.cookMinutes);
  EXPECT_EQ(0, read.prepHours);
  EXPECT_EQ(45, read.prepMinutes);
  EXPECT_EQ(6, read.serves);
  EXPECT_EQ(TXT("Whisk."), read.instructions);
  EXPECT_EQ(TXT("\u00B4x\u00B4"), read.custom);
  EXPECT_EQ(320, read.nutrients[Nutrient::kCalories]);  // kept, not recomputed
  ASSERT_EQ(2u, read.lines.size());
  EXPECT_EQ(flour, read.lines[0].ingredient);
  EXPECT_EQ(1.5, read.lines[0].amount);
  EXPECT_EQ(static_cast<int32_t>(kUnitCup), read.lines[0].unit);
  EXPECT_EQ(egg, read.lines[1].ingredient);
  EXPECT_EQ(static_cast<int32_t>(kUnitServing), read.lines[1].unit);
}

// The Ingredients column of a CSV export read back into a recipe's lines.
TEST_F(RecipeTest, IngredientsColumnReadsBackEveryLine) {
  Ingredient& water = catalog.Add(TXT("Water"), 14);
  water.type = kUnitBlank;
  Ingredient& cupcakes = catalog.Add(TXT("Cup cakes"), 15);
  cupcakes.type = kUnitBlank;
  Ingredient& lemon = catalog.Add(TXT("1/2 lemon"), 16);
  lemon.type = kUnitBlank;
  Ingredient& tin = catalog.Add(TXT("5\u00B4 tin"), 17);  // the accent itself, not a quote
  const std::vector<RecipeLine> lines = {
      RecipeLine{1.5, static_cast<int32_t>(kUnitCup), WString(), flour},
      RecipeLine{2, static_cast<int32_t>(kUnitBlank), WString(), egg},
      RecipeLine{0.25, static_cast<int32_t>(kUnitBlank), WString(), &water},
      RecipeLine{3, static_cast<int32_t>(kUnitBlank), WString(), &cupcakes},
      RecipeLine{2e6, static_cast<int32_t>(kUnitTeaspoon), WString(), flour},
      RecipeLine{3, static_cast<int32_t>(kUnitBlank), WString(), &lemon},
      RecipeLine{1, static_cast<int32_t>(kUnitServing), WString(), &tin},
  };
  CsvColumnMap map;
  map.position[kColumnName] = 0;
  map.position[kColumnIngredients] = 1;
  Recipe read;
  uint32_t counter = 0;
  ASSERT_TRUE(read.ImportCsvRecipeRow({TXT("Stew"), FormatIngredientList(lines)}, recipeCategories,
                                      UnitNames(), counter, map, catalog));
  ASSERT_EQ(lines.size(), read.lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].amount, read.lines[i].amount) << i;
    EXPECT_EQ(lines[i].unit, read.lines[i].unit) << i;
    EXPECT_EQ(lines[i].ingredient, read.lines[i].ingredient) << i;
  }
}

TEST_F(RecipeTest, CsvRowWithoutFoodDataFails) {
  CsvColumnMap map;
  map.position[kColumnServes] = 0;
  Recipe read;
  uint32_t counter = 0;
  EXPECT_FALSE(read.ImportCsvRecipeRow({TXT("4")}, recipeCategories, UnitNames(), counter, map, catalog));
}

}  // namespace
