#include <gtest/gtest.h>

#include <tuple>

#include "FoodTestSupport.h"

namespace {

// The lines of a recipe as "amount unit name" joined by ", ", the name "?" for no ingredient.
std::string LinesOf(const std::vector<RecipeLine>& lines) {
  std::ostringstream out;
  out << std::setprecision(17);
  for (const RecipeLine& line : lines)
    out << (out.tellp() ? ", " : "") << line.amount << ' ' << line.unit << ' '
        << (line.ingredient ? ToUtf8(line.ingredient->name) : "?");
  return out.str();
}

RecipeLine Line(double amount, ServingUnit unit, Ingredient* food, const WChar* shown = TXT("")) {
  return RecipeLine{amount, static_cast<int32_t>(unit), shown, food};
}

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
    SetFood(recipe, TXT("Sponge"), 1, kUnitBlank, 0, 250);
    recipe.lines = {Line(1.5, kUnitCup, flour), Line(2, kUnitServing, egg, TXT("2 eggs, beaten"))};
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

  bool Import(Recipe& r, const CsvRow& row, std::initializer_list<uint32_t> columns, uint32_t counter = 0) {
    return r.ImportCsvRecipeRow(row, recipeCategories, UnitNames(), counter, MapOf(columns), catalog);
  }

  MemoryCatalog catalog;
  CategoryList recipeCategories;
  uint32_t recipeCounter = 10;
  Ingredient* flour = nullptr;
  Ingredient* egg = nullptr;
  Recipe recipe;
};

// By ingredient id, or embedding each ingredient's FOOD element and the category names; what is
// written by id reads back as itself.
TEST_F(RecipeTest, WritesTheRecipeElementByIngredientId) {
  recipe.custom = TXT("Grandma & me");
  recipe.prepMinutes = 15;
  EXPECT_EQ(
      Lines(
          TXT("<RECIPE>|<INGREDIENTLIST>|<INGREDIENT>|<AMOUNT>1.5</AMOUNT>|<TYPE>2</TYPE>|<ID>12</ID>|"
              "</INGREDIENT>|<INGREDIENT>|<AMOUNT>2</AMOUNT>|<TYPE/>|<DISPLAYNAME>2 eggs, beaten"
              "</DISPLAYNAME>|<ID>13</ID>|</INGREDIENT>|</INGREDIENTLIST>|<CUSTOM>Grandma &amp; me</CUSTOM>|"
              "<INSTRUCTIONS>Mix.\r\nBake \"hot\".</INSTRUCTIONS>|<COOKHRS>1</COOKHRS>|<COOKMIN>30</COOKMIN>|"
              "<PREPMIN>15</PREPMIN>|<SERVES>4</SERVES>|"
              "<INGREDIENTID>99</INGREDIENTID>|<FOOD>|<CATID>4</CATID>|<FOODID>7</FOODID>|"
              "<FOODNAME>Sponge</FOODNAME>|<SIZE>1</SIZE>|<TYPE>1</TYPE>|<CAL>250</CAL>|</FOOD>|</RECIPE>")),
      Written(recipe, false));
  const WString text = Written(recipe, true);
  EXPECT_NE(WString::npos, text.find(Lines(TXT("<INGREDIENT>|<AMOUNT>1.5</AMOUNT>|<TYPE>2</TYPE>|<FOOD>|"
                                               "<CATEGORY>Baking</CATEGORY>|<FOODID>12</FOODID>"))));
  EXPECT_NE(WString::npos, text.find(Lines(TXT("<FOOD>|<CATEGORY>Cakes</CATEGORY>|<FOODID>7</FOODID>"))));
  EXPECT_EQ(WString::npos, text.find(TXT("<ID>")));
  Recipe read;
  ASSERT_TRUE(Read(read, Written(recipe, false)));
  EXPECT_EQ(Written(recipe, false), Written(read, false));
  EXPECT_EQ(flour, read.lines[0].ingredient);
  EXPECT_TRUE(read.notOnIngredientList);
  EXPECT_EQ(2u, catalog.foods.size());
}

// Lines outside the list, of unknown ingredients, without an amount or with one beyond the range
// of doubles are dropped; a line without TYPE is in the blank unit; without its own FOOD element
// the recipe fails, with one that lacks FOODID it is read for its catalog to number.
TEST_F(RecipeTest, DropsDanglingEmptyAndStrayLines) {
  Recipe read;
  ASSERT_TRUE(
      Read(read, Lines(TXT("<RECIPE>|<INGREDIENT>|<AMOUNT>1</AMOUNT>|<ID>12</ID>|</INGREDIENT>|"
                           "<INGREDIENTLIST>|<INGREDIENT>|<AMOUNT>1</AMOUNT>|<ID>404</ID>|</INGREDIENT>|"
                           "<INGREDIENT>|<TYPE>2</TYPE>|<ID>12</ID>|</INGREDIENT>|<INGREDIENT>|"
                           "<AMOUNT>1e400</AMOUNT>|<ID>12</ID>|</INGREDIENT>|<INGREDIENT>|<AMOUNT>3</AMOUNT>|"
                           "<ID>13</ID>|</INGREDIENT>|</INGREDIENTLIST>|<FOOD>|<FOODID>8</FOODID>|</FOOD>|"
                           "</RECIPE>"))));
  EXPECT_EQ("3 1 Egg", LinesOf(read.lines));
  EXPECT_EQ(egg, read.lines[0].ingredient);
  EXPECT_EQ(1, read.serves);
  recipe.lines[0].amount = 0;
  const WString text = Written(recipe, false);
  EXPECT_EQ(WString::npos, text.find(TXT("<AMOUNT>1.5")));
  Recipe again, noFood, noId;
  ASSERT_TRUE(Read(again, text));
  EXPECT_EQ("2 0 Egg", LinesOf(again.lines));
  EXPECT_FALSE(Read(noFood, Lines(TXT("<RECIPE>|<SERVES>2</SERVES>|</RECIPE>"))));
  EXPECT_TRUE(Read(noId, Lines(TXT("<RECIPE>|<FOOD>|<FOODNAME>x</FOODNAME>|</FOOD>|</RECIPE>"))));
}

// Embedded ingredients link to the catalog's one of the same name in any case, or join the
// catalog with a new id; categories missing from either list are created.
TEST_F(RecipeTest, EmbeddedIngredientsLinkByNameOrJoinTheCatalog) {
  Recipe exported = recipe;
  Ingredient sugar;
  SetFood(sugar, TXT("Sugar"), 0, kUnitServing, 0);
  sugar.foodId = 500;
  sugar.catId = 50;
  exported.lines.push_back(Line(2, kUnitTablespoon, &sugar));
  const WString text = Written(exported, true), plain = Written(recipe, true);
  flour->name = TXT("FLOUR");
  Recipe read;
  ASSERT_TRUE(Read(read, text));
  EXPECT_EQ("1.5 2 FLOUR, 2 0 Egg, 2 15 Sugar", LinesOf(read.lines));
  EXPECT_EQ(flour, read.lines[0].ingredient);
  EXPECT_EQ(egg, read.lines[1].ingredient);
  ASSERT_EQ(3u, catalog.foods.size());
  EXPECT_EQ(read.lines[2].ingredient, &catalog.foods.back());
  EXPECT_EQ("50/14 Sugar| 0 0 0", Fields(catalog.foods.back()));  // a new catalog id, not the exported one
  EXPECT_EQ(4u, read.catId);

  catalog.categories.Clear();
  recipeCategories.Clear();
  catalog.foods.clear();
  Recipe again;
  ASSERT_TRUE(Read(again, plain));
  EXPECT_EQ(11u, again.catId);
  EXPECT_EQ(11u, recipeCategories.IdByName(TXT("Cakes")));
  ASSERT_EQ(2u, catalog.foods.size());
  EXPECT_NE(0u, catalog.categories.IdByName(TXT("Baking")));
}

// One serving of the batch: serving 1 in the blank unit, each line's servings shared among serves
// (0 giving the whole batch); a food without a serving size contributes nothing.
TEST_F(RecipeTest, NutritionPerServingFromTheLines) {
  Ingredient portion;
  SetFood(portion, TXT("Portion"), 1, kUnitServing, 3, 100);
  Recipe r;
  r.nutrients[Nutrient::kCalories] = 999;
  r.ComputeNutrition({Line(2, kUnitServing, &portion)}, 2);
  EXPECT_EQ("0/0 | 1 1 3 CAL=100", Fields(r));
  r.ComputeNutrition(r.lines, 4);
  EXPECT_EQ("0/0 | 1 1 1.5 CAL=50", Fields(r));
  ASSERT_EQ(1u, r.lines.size());
  portion.size = 0;
  r.ComputeNutrition({Line(2, kUnitServing, &portion), Line(3, kUnitCup, flour)}, 3);
  EXPECT_EQ("0/0 | 1 1 8 CAL=455", Fields(r));
  r.ComputeNutrition(r.lines, 0);
  EXPECT_EQ("0/0 | 1 1 24 CAL=1365", Fields(r));
}

// Columns cooking time, prep time, serves, instructions, custom, ingredients, name and category,
// joined by '|': shown, and in CSV with quotes as U+00B4 and the ingredient list.
TEST_F(RecipeTest, DurationAndRecipeColumns) {
  EXPECT_EQ(Split(TXT("1h 30m|45m|2h |")), (std::vector<WString>{DurationText(1, 30), DurationText(0, 45),
                                                                 DurationText(2, 0), DurationText(0, 0)}));
  recipe.custom = TXT("\"Best\"");
  const uint32_t columns[] = {kColumnCookingTime, kColumnPrepTime,    kColumnServes, kColumnInstructions,
                              kColumnCustom,      kColumnIngredients, kColumnName,   kColumnCategory};
  const WChar* const shown = TXT("1h 30m||4|Mix.\r\nBake \"hot\".|\"Best\"||Sponge|Cakes");
  const WChar* const csv = TXT(
      "1h 30m||4|Mix.\r\nBake \u00B4hot\u00B4.|\u00B4Best\u00B4|1.5 cup Flour\t2 Serving Egg|Sponge|Cakes");
  for (size_t i = 0; i < std::size(columns); ++i) {
    EXPECT_EQ(Split(shown)[i], Cell(recipe, columns[i], recipeCategories, NutrientFormat{}, false, true))
        << i;
    EXPECT_EQ(Split(csv)[i], Cell(recipe, columns[i], recipeCategories, NutrientFormat{}, true, true)) << i;
  }
}

// A blank-unit line names the Serving unit when its food has a unit of its own; lines without an
// ingredient are left out, units without a name leave the name empty.
TEST_F(RecipeTest, IngredientListNamesTheUnitOfEachLine) {
  Ingredient salt;
  SetFood(salt, TXT("Salt"), 0, kUnitTeaspoon, 0);
  egg->name = TXT("Eggs");
  EXPECT_EQ(TXT("0.333333 Serving Salt\t2  Eggs\t0.5  Flour"),
            FormatIngredientList({Line(1.0 / 3, kUnitBlank, &salt), Line(2, kUnitBlank, egg),
                                  Line(5, kUnitCup, nullptr), Line(0.5, 40, flour)}));
}

// The recipe columns fill their fields, the nutrients are kept rather than recomputed, and the
// ingredient list links known ingredients and skips the rest. A row of recipe columns alone has
// no food data and fails.
TEST_F(RecipeTest, CsvRowFillsRecipeColumnsAndLinksKnownIngredients) {
  Recipe read;
  ASSERT_TRUE(
      Import(read,
             {TXT("Pancakes"), TXT("1h 30m"), TXT("45m"), TXT("6"), TXT("Whisk."),
              TXT("1.5 cup flour\t2 Serving Egg\t1 cup Unknown\tnone"), TXT("\u00B4x\u00B4"), TXT("320")},
             {kColumnName, kColumnCookingTime, kColumnPrepTime, kColumnServes, kColumnInstructions,
              kColumnIngredients, kColumnCustom, Nutrient::kCalories},
             70));
  EXPECT_EQ("4/71 Pancakes| 1 1 1 CAL=320", Fields(read));
  EXPECT_EQ(std::tuple(1, 30, 0, 45, 6, WString(TXT("Whisk.")), WString(TXT("\u00B4x\u00B4"))),
            std::tuple(read.cookHours, read.cookMinutes, read.prepHours, read.prepMinutes, read.serves,
                       read.instructions, read.custom));
  EXPECT_EQ("1.5 2 Flour, 2 0 Egg", LinesOf(read.lines));
  EXPECT_EQ(flour, read.lines[0].ingredient);
  EXPECT_EQ(egg, read.lines[1].ingredient);
  EXPECT_FALSE(Import(read, {TXT("4")}, {kColumnServes}));
}

// The Ingredients column of a CSV export read back into a recipe's lines: fractions, blank units,
// names with blanks, digits or the accent itself, large amounts.
TEST_F(RecipeTest, IngredientsColumnReadsBackEveryLine) {
  Ingredient* blanks[3];
  const WChar* const names[] = {TXT("Water"), TXT("Cup cakes"), TXT("1/2 lemon")};
  for (uint32_t i = 0; i < 3; ++i) (blanks[i] = &catalog.Add(names[i], 14 + i))->type = kUnitBlank;
  Ingredient& tin = catalog.Add(TXT("5\u00B4 tin"), 17);
  const std::vector<RecipeLine> lines = {
      Line(1.5, kUnitCup, flour),     Line(2, kUnitBlank, egg),        Line(0.25, kUnitBlank, blanks[0]),
      Line(3, kUnitBlank, blanks[1]), Line(2e6, kUnitTeaspoon, flour), Line(3, kUnitBlank, blanks[2]),
      Line(1, kUnitServing, &tin),
  };
  Recipe read;
  ASSERT_TRUE(Import(read, {TXT("Stew"), FormatIngredientList(lines)}, {kColumnName, kColumnIngredients}));
  EXPECT_EQ(LinesOf(lines), LinesOf(read.lines));
  for (size_t i = 0; i < lines.size() && i < read.lines.size(); ++i)
    EXPECT_EQ(lines[i].ingredient, read.lines[i].ingredient) << i;
}

}  // namespace
