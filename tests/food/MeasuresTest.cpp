// Household measures: how lines in cups, spoons and pieces of a food served by weight become servings,
// and how the measures travel in catalog files and CSV files.
#include <gtest/gtest.h>

#include "FoodTestSupport.h"
#include "food/Texts.h"

namespace {

constexpr ServingUnit kUnitClove = 17;

// A food of 100 g, as the shipped data serves every food, with its measures given joined by '|'.
Ingredient Hundred(const WChar* name, const WChar* measures) {
  Ingredient food;
  SetFood(food, name, 100, kUnitGram, 100 / 29.9);
  food.measures = ReadMeasures(measures);
  return food;
}

double Grams(const Food& food, ServingUnit unit, double amount, const WChar* words) {
  return ServingsOf(food, unit, amount, words) * 100;
}

TEST(Measures, LinesOfAFoodServedByWeightGoThroughItsMeasures) {
  const Ingredient flour = Hundred(TXT("Flour"), TXT("1 cup = 125 g"));
  const Ingredient yolk = Hundred(TXT("Egg yolk"), TXT("1 cup = 243 g|1 large = 17 g"));
  const Ingredient egg =
      Hundred(TXT("Egg"), TXT("1 cup (4.86 large eggs) = 243 g|1 extra large = 56 g|"
                              "1 jumbo = 63 g|1 large = 50 g|1 medium = 44 g|1 small = 38 g"));
  const Ingredient onion = Hundred(TXT("Onions"), TXT("1 cup, chopped = 160 g|1 large = 150 g|"
                                                      "1 slice, large (1/4\" thick) = 38 g|1 medium = 110 g|"
                                                      "1 small = 70 g"));
  const Ingredient garlic =
      Hundred(TXT("Garlic"), TXT("1 cup = 136 g|1 tsp = 2.8 g|1 clove = 3 g|3 cloves = 9 g"));
  const Ingredient butter = Hundred(TXT("Butter"), TXT("1 cup = 227 g|1 tbsp = 14.2 g|1 stick = 113 g"));
  const Ingredient plain = Hundred(TXT("Salt"), TXT(""));
  const struct {
    const Ingredient& food;
    ServingUnit unit;
    double amount;
    const WChar* words;
    double grams;
  } cases[] = {
      {flour, kUnitCup, 1.75, TXT(""), 218.75},  // not the 397 g of as many cups of water
      {flour, kUnitTablespoon, 2, TXT(""), 15.625},
      {flour, kUnitGram, 250, TXT(""), 250},
      {flour, kUnitServing, 3, TXT("3 eggs"), 300},  // nothing fits: three servings
      {yolk, kUnitServing, 1, TXT("1 egg yolk"), 17},
      {egg, kUnitBlank, 2, TXT("2 eggs"), 100},  // the middle size
      {egg, kUnitBlank, 1, TXT("1 extra large egg"), 56},
      {egg, kUnitCup, 0.5, TXT(""), 121.5},
      {onion, kUnitBlank, 1, TXT("1 large onion"), 150},
      {onion, kUnitBlank, 1, TXT("1 onion, diced"), 110},
      {onion, kUnitSlice, 2, TXT(""), 76},
      {garlic, kUnitServing, 2, TXT("2 garlic cloves"), 6},
      {garlic, kUnitClove, 2, TXT("2  clove Garlic"), 6},
      {garlic, kUnitTeaspoon, 1, TXT(""), 2.8},  // its own spoon before the cup
      {butter, kUnitBlank, 1, TXT("1 stick butter"), 113},
      {butter, kUnitTeaspoon, 3, TXT(""), 14.2},
      {butter, kUnitSlice, 2, TXT("2 slices butter"), 200},  // no slice measure: two servings
      {plain, kUnitCup, 1, TXT(""), 100 / (0.125 * 100 / 29.9)},
      {plain, kUnitBlank, 2, TXT("2 pinches"), 200},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(c.grams, Grams(c.food, c.unit, c.amount, c.words), 1e-9)
        << ToUtf8(c.food.name) << ": " << c.amount << " of unit " << c.unit << " " << ToUtf8(c.words);
}

// A food served by volume is its own measure of volume; a weight goes through the serving's weight.
TEST(Measures, AFoodServedByVolumeConvertsVolumesItselfAndWeightsByItsServing) {
  Ingredient rice;
  SetFood(rice, TXT("Rice"), 1, kUnitCup, 185 / 29.9);
  rice.measures = ReadMeasures(TXT("1 cup = 200 g|1 large = 50 g"));
  EXPECT_DOUBLE_EQ(0.0625, ServingsOf(rice, kUnitTeaspoon, 3));
  EXPECT_DOUBLE_EQ(2, ServingsOf(rice, kUnitGram, 370));
  EXPECT_DOUBLE_EQ(100 / 185.0, ServingsOf(rice, kUnitBlank, 2, TXT("2 large")));
}

// Recipes take the line's own words.
TEST(Measures, RecipeLinesNameTheirMeasures) {
  Ingredient onion = Hundred(TXT("Onions"), TXT("1 large = 150 g|1 small = 70 g"));
  onion.nutrients[Nutrient::kCalories] = 40;
  Recipe recipe;
  recipe.ComputeNutrition({RecipeLine{1, static_cast<int32_t>(kUnitBlank), TXT("1 small onion"), &onion}}, 1);
  EXPECT_DOUBLE_EQ(28, recipe.nutrients[Nutrient::kCalories]);
}

// The text form reads back; pieces without a positive amount, a name and positive grams are skipped.
TEST(Measures, TextsReadBackAndSkipWhatIsNoMeasure) {
  const struct {
    const WChar *text, *read;
  } cases[] = {
      {TXT("1 cup = 125 g | 0.5 stick = 56.5 g"), TXT("1 cup = 125 g | 0.5 stick = 56.5 g")},
      {TXT("1 serving (NLEA serving = 1 cup) = 240 g"), TXT("1 serving (NLEA serving = 1 cup) = 240 g")},
      {TXT("cup = 125 g|1 cup|1 cup = 0 g|2 = 5 g| 3  pieces=30"), TXT("3 pieces = 30 g")},
      {TXT(""), TXT("")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WString(c.read), MeasuresText(ReadMeasures(c.text))) << ToUtf8(c.text);
}

// Each measure is a leaf of its own after the nutrients; a file without them, or a reader that does not
// know them, reads the rest alike.
TEST(Measures, CatalogFilesKeepThemAndFilesWithoutThemStillRead) {
  Ingredient butter = Hundred(TXT("Butter"), TXT("1 pat (1\" sq) = 5 g|1 stick = 113 g"));
  butter.foodId = 4;
  butter.nutrients[Nutrient::kCalories] = 717;
  XMLDoc writer;
  WriteFood(writer, butter);
  const WString written = writer.Output();
  EXPECT_NE(WString::npos, written.find(TXT("<MEASURE>1 pat (1\" sq) = 5 g</MEASURE>\r\n"
                                            "<MEASURE>1 stick = 113 g</MEASURE>\r\n</FOOD>")));
  const WString old = Lines(TXT("<FOOD>|<FOODID>4</FOODID>|<MEASURE>1 cup</MEASURE>|<CAL>717</CAL>|</FOOD>"));
  const WString* texts[] = {&written, &old};
  for (const WString* text : texts) {
    Ingredient read;
    CategoryList categories;
    uint32_t counter = 0;
    XMLDoc doc;
    StartReading(doc, *text);
    ASSERT_TRUE(ReadFood(doc, read, categories, counter));
    EXPECT_EQ(717, read.nutrients[Nutrient::kCalories]);
    EXPECT_EQ(text == &written ? butter.measures : HouseholdMeasures{}, read.measures);
  }
}

// The CSV column by its header; quotes in names as U+00B4 both ways; a file without it still reads.
TEST(Measures, CsvFilesCarryThemInTheirOwnColumn) {
  const CsvRow header{TXT("Name"), TXT("household measures"), TXT("Calories")};
  CsvColumnMap map;
  ASSERT_TRUE(MapCsvHeader(
      header, [](uint32_t c) { return EnglishTextById(kTextColumnFirst + c); }, map));
  EXPECT_EQ(1u, map.position[kColumnMeasures]);
  const WString field = TXT("1 pat (1\u00B4 sq) = 5 g | 1 stick = 113 g");
  CategoryList categories;
  uint32_t counter = 0;
  Ingredient butter, old;
  ASSERT_TRUE(butter.ImportCsvRow({TXT("Butter"), field, TXT("717")}, categories, UnitNames(), counter, map));
  EXPECT_EQ(MeasuresText(ReadMeasures(TXT("1 pat (1\" sq) = 5 g|1 stick = 113 g"))),
            MeasuresText(butter.measures));
  EXPECT_EQ(field, Cell(butter, kColumnMeasures, categories, {}, true));
  ASSERT_TRUE(old.ImportCsvRow({TXT("Butter"), TXT("717")}, categories, UnitNames(), counter,
                               MapOf({kColumnName, 0})));
  EXPECT_TRUE(old.measures.empty());
}

}  // namespace
