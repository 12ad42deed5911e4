#include <gtest/gtest.h>

#include "FoodTestSupport.h"
#include "food/TagNames.h"
#include "food/Texts.h"

namespace {

Ingredient Flour() {
  Ingredient food;
  food.catId = 3;
  food.foodId = 12;
  food.hidden = true;
  food.name = TXT("Flour");
  food.size = 1;
  food.type = kUnitCup;
  food.ounces = 4.4;
  food.nutrients[Nutrient::kCalories] = 455;
  return food;
}

WString Written(const Food& food, const WString* category = nullptr) {
  XMLDoc doc;
  WriteFood(doc, food, category);
  return doc.Output();
}

bool Read(Food& food, const WString& text, CategoryList& categories, uint32_t& counter) {
  XMLDoc doc;
  StartReading(doc, text);
  return ReadFood(doc, food, categories, counter);
}

WString Cell(const Food& food, uint32_t column, const CategoryList& categories, NutrientFormat format = {},
             bool csv = false, bool raw = false) {
  WString out;
  food.ColumnText(out, column, categories, format, csv, raw);
  return out;
}

// A CSV map with the given column codes at fields 0, 1, 2, ...
CsvColumnMap MapOf(std::initializer_list<uint32_t> columns) {
  CsvColumnMap map;
  uint32_t field = 0;
  for (uint32_t column : columns) map.position[column] = field++;
  return map;
}

TEST(Food, ConstructionZeroesAndSizesThePreview) {
  const Ingredient plain;
  EXPECT_EQ(0u, plain.foodId);
  EXPECT_EQ(0, plain.size);
  EXPECT_EQ(0, plain.nutrients[Nutrient::kSelenium]);
  const auto rect = [](const Food& food) {
    return std::vector<int32_t>{food.preview.left, food.preview.top, food.preview.width, food.preview.height};
  };
  EXPECT_EQ((std::vector<int32_t>{141, 41, 294, 239}), rect(plain));
  const FoodOwner large{120};
  const Ingredient big(&large);
  EXPECT_EQ((std::vector<int32_t>{190, 50, 400, 300}), rect(big));
  EXPECT_EQ(&large, big.Owner());
  const FoodOwner other{96};
  EXPECT_EQ((std::vector<int32_t>{141, 41, 294, 239}), rect(Ingredient(&other)));
}

TEST(Food, AssignmentLeavesOwnerAndPreview) {
  const FoodOwner large{120};
  Ingredient target(&large);
  Ingredient copy(Flour());
  EXPECT_EQ(TXT("Flour"), copy.name);
  target = copy;
  EXPECT_EQ(&large, target.Owner());
  EXPECT_EQ(190, target.preview.left);
  EXPECT_EQ(12u, target.foodId);
  EXPECT_TRUE(target.hidden);
  EXPECT_EQ(455, target.nutrients[Nutrient::kCalories]);
  const Ingredient copied(target);  // copy construction takes everything
  EXPECT_EQ(&large, copied.Owner());
  EXPECT_EQ(190, copied.preview.left);
}

TEST(Food, WritesTheFoodElementLineByLine) {
  EXPECT_EQ(
      Lines({TXT("<FOOD>"), TXT("<CATID>3</CATID>"), TXT("<FOODID>12</FOODID>"), TXT("<HIDDEN>1</HIDDEN>"),
             TXT("<FOODNAME>Flour</FOODNAME>"), TXT("<SIZE>1</SIZE>"), TXT("<TYPE>2</TYPE>"),
             TXT("<OUNCES>4.4</OUNCES>"), TXT("<CAL>455</CAL>"), TXT("</FOOD>")}),
      Written(Flour()));
  Ingredient empty;
  empty.foodId = 5;
  EXPECT_EQ(
      Lines({TXT("<FOOD>"), TXT("<CATID/>"), TXT("<FOODID>5</FOODID>"), TXT("<TYPE/>"), TXT("</FOOD>")}),
      Written(empty));
  const WString category = TXT("Baking & Co");
  Ingredient named;
  named.foodId = 6;
  named.picture = TXT("a<b>.jpg");
  named.nutrients[Nutrient::kSelenium] = 0.333333333;
  EXPECT_EQ(Lines({TXT("<FOOD>"), TXT("<CATEGORY>Baking &amp; Co</CATEGORY>"), TXT("<FOODID>6</FOODID>"),
                   TXT("<PICTURE>a&lt;b&gt;.jpg</PICTURE>"), TXT("<TYPE/>"), TXT("<SE>0.333333</SE>"),
                   TXT("</FOOD>")}),
            Written(named, &category));
}

TEST(Food, ReadsWhatItWrites) {
  Ingredient original = Flour();
  original.picture = TXT("flour & co.png");
  original.name = TXT("Flour <fine>");
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) original.nutrients[n] = n * 1.5 + 0.25;
  CategoryList categories;
  uint32_t counter = 40;
  Ingredient read;
  ASSERT_TRUE(Read(read, Written(original), categories, counter));
  EXPECT_EQ(Written(original), Written(read));
  EXPECT_EQ(40u, counter);
}

TEST(Food, ReadingIgnoresCaseUnknownTagsAndKeepsDefaults) {
  CategoryList categories;
  uint32_t counter = 0;
  Ingredient read;
  EXPECT_TRUE(Read(read,
                   Lines({TXT("<FOOD>"), TXT("<foodid>7</foodid>"), TXT("<COLOR>red</COLOR>"),
                          TXT("<SIZE></SIZE>"), TXT("<Cal> 12.5 </Cal>"), TXT("</food>")}),
                   categories, counter));
  EXPECT_EQ(7u, read.foodId);
  EXPECT_EQ(0, read.size);
  EXPECT_EQ(12.5, read.nutrients[Nutrient::kCalories]);
  Ingredient noId;
  EXPECT_FALSE(
      Read(noId, Lines({TXT("<FOOD>"), TXT("<FOODNAME>x</FOODNAME>"), TXT("</FOOD>")}), categories, counter));
  EXPECT_FALSE(Read(noId, Lines({TXT("<FOOD>"), TXT("<FOODID>3</FOODID>")}), categories, counter));  // no end
}

// Numbers beyond the range of doubles (or written as "inf" by a damaged writer) leave the field
// as it was, in files and CSV rows alike.
TEST(Food, NumbersOutOfRangeKeepTheDefault) {
  CategoryList categories;
  uint32_t counter = 0;
  Ingredient read;
  EXPECT_TRUE(Read(
      read,
      Lines({TXT("<FOOD>"), TXT("<FOODID>7</FOODID>"), TXT("<SIZE>1e400</SIZE>"),
             TXT("<OUNCES>-1e999</OUNCES>"), TXT("<CAL>1e400</CAL>"), TXT("<FAT>2</FAT>"), TXT("</FOOD>")}),
      categories, counter));
  EXPECT_EQ(0, read.size);
  EXPECT_EQ(0, read.ounces);
  EXPECT_EQ(0, read.nutrients[Nutrient::kCalories]);
  EXPECT_EQ(2, read.nutrients[Nutrient::kTotalFat]);

  Ingredient row;
  const CsvColumnMap map = MapOf({kColumnName, kColumnServingSize, kColumnOunces, Nutrient::kCalories});
  EXPECT_TRUE(row.ImportCsvRow({TXT("Salt"), TXT("1e400 cup"), TXT("1e400"), TXT("1e400")}, categories,
                               UnitNames(), counter, map));
  EXPECT_EQ(1, row.size);
  EXPECT_EQ(kUnitBlank, row.type);
  EXPECT_EQ(1, row.ounces);
  EXPECT_EQ(0, row.nutrients[Nutrient::kCalories]);
}

TEST(Food, CategoryNamesCreateCategoriesFromTheSharedCounter) {
  CategoryList categories;
  categories.Add(TXT("Dairy"), 2);
  uint32_t counter = 20;
  Ingredient a, b, c;
  ASSERT_TRUE(Read(
      a,
      Lines({TXT("<FOOD>"), TXT("<CATEGORY>Spices</CATEGORY>"), TXT("<FOODID>1</FOODID>"), TXT("</FOOD>")}),
      categories, counter));
  ASSERT_TRUE(Read(
      b,
      Lines({TXT("<FOOD>"), TXT("<CATEGORY>SPICES</CATEGORY>"), TXT("<FOODID>2</FOODID>"), TXT("</FOOD>")}),
      categories, counter));
  ASSERT_TRUE(Read(
      c, Lines({TXT("<FOOD>"), TXT("<CATEGORY>dairy</CATEGORY>"), TXT("<FOODID>3</FOODID>"), TXT("</FOOD>")}),
      categories, counter));
  EXPECT_EQ(21u, a.catId);
  EXPECT_EQ(21u, b.catId);
  EXPECT_EQ(2u, c.catId);
  EXPECT_EQ(21u, counter);
  EXPECT_EQ(22u, ++counter) << "the next record id is one higher still";
}

TEST(Food, CsvRowWithoutServingOrOuncesGetsOnes) {
  CategoryList categories;
  categories.Add(TXT("A"), 4);
  categories.Add(TXT("B"), 9);
  uint32_t counter = 30;
  Ingredient food;
  const CsvColumnMap map = MapOf({kColumnName, Nutrient::kCalories});
  EXPECT_TRUE(
      food.ImportCsvRow({TXT("Salt \u00B4fine\u00B4"), TXT("0")}, categories, UnitNames(), counter, map));
  EXPECT_EQ(TXT("Salt \"fine\""), food.name);
  EXPECT_EQ(9u, food.catId);  // the highest category id
  EXPECT_EQ(31u, food.foodId);
  EXPECT_EQ(1, food.size);
  EXPECT_EQ(kUnitBlank, food.type);
  EXPECT_EQ(1, food.ounces);
}

TEST(Food, CsvRowReadsEveryColumn) {
  CategoryList categories;
  uint32_t counter = 0;
  Ingredient food;
  const CsvColumnMap map = MapOf(
      {kColumnCategory, kColumnServingSize, kColumnOunces, kColumnPicture, Nutrient::kIron, kColumnName});
  EXPECT_TRUE(
      food.ImportCsvRow({TXT("Grains"), TXT("2 Tbl"), TXT("0.5"), TXT("C:\\pics/sub\\oats.jpg"), TXT("1.5")},
                        categories, UnitNames(), counter, map));
  EXPECT_EQ(1u, food.catId);
  EXPECT_EQ(1u, categories.IdByName(TXT("Grains")));
  EXPECT_EQ(2u, food.foodId);
  EXPECT_EQ(2, food.size);
  EXPECT_EQ(kUnitTablespoon, food.type);
  EXPECT_EQ(0.5, food.ounces);
  EXPECT_EQ(TXT("oats.jpg"), food.picture);
  EXPECT_EQ(1.5, food.nutrients[Nutrient::kIron]);
  EXPECT_EQ(TXT(""), food.name);  // the name field lies beyond the row
}

// Any one column with data makes a row: a name, a category, a serving, ounces or a nutrient above
// 0 (however small), a picture. Importing changes only the stored fields, never the preview.
TEST(Food, EachColumnAloneMakesARowWithData) {
  const std::pair<uint32_t, const WChar*> cases[] = {
      {kColumnName, TXT("Salt")},     {kColumnCategory, TXT("12")},      {kColumnServingSize, TXT("0.5 cup")},
      {kColumnOunces, TXT("0.5")},    {Nutrient::kCalories, TXT("0.5")}, {Nutrient::kSelenium, TXT("0.01")},
      {kColumnPicture, TXT("a.jpg")},
  };
  for (const auto& [column, field] : cases) {
    CategoryList categories;
    uint32_t counter = 0;
    Ingredient food;
    const PreviewRect before = food.preview;
    EXPECT_TRUE(food.ImportCsvRow({field}, categories, UnitNames(), counter, MapOf({column}))) << column;
    EXPECT_EQ(before.left, food.preview.left) << column;
    EXPECT_EQ(before.top, food.preview.top) << column;
  }
  for (const WChar* nothing : {TXT("0"), TXT("-0.5"), TXT("abc")}) {
    CategoryList categories;
    uint32_t counter = 0;
    Ingredient food;
    EXPECT_FALSE(food.ImportCsvRow({nothing, nothing}, categories, UnitNames(), counter,
                                   MapOf({kColumnOunces, Nutrient::kCalories})))
        << ToUtf8(nothing);
  }
}

TEST(Food, CsvRowWithoutDataFails) {
  CategoryList categories;
  uint32_t counter = 0;
  Ingredient food;
  const CsvColumnMap map = MapOf({kColumnName, kColumnServingSize, Nutrient::kCalories, kColumnPicture});
  EXPECT_FALSE(
      food.ImportCsvRow({TXT(""), TXT("0 cup"), TXT("-3"), TXT("")}, categories, UnitNames(), counter, map));
  EXPECT_EQ(-3, food.nutrients[Nutrient::kCalories]);  // stored as read
  EXPECT_FALSE(food.ImportCsvRow({}, categories, UnitNames(), counter, CsvColumnMap()));
}

TEST(Food, ColumnTexts) {
  CategoryList categories;
  categories.Add(TXT("Baking"), 3);
  Ingredient flour = Flour();
  flour.name = TXT("\"00\" Flour");
  flour.picture = TXT("flour.jpg");
  EXPECT_EQ(TXT("455"), Cell(flour, Nutrient::kCalories, categories));
  EXPECT_EQ(TXT("22.75%"), Cell(flour, Nutrient::kCalories, categories, {true, false}));
  EXPECT_EQ(TXT("455"), Cell(flour, Nutrient::kCalories, categories, {true, true}, true, true));
  EXPECT_EQ(TXT(""), Cell(flour, Nutrient::kFiber, categories));
  EXPECT_EQ(TXT("Baking"), Cell(flour, kColumnCategory, categories));
  EXPECT_EQ(TXT("\"00\" Flour"), Cell(flour, kColumnName, categories));
  EXPECT_EQ(TXT("\u00B400\u00B4 Flour"), Cell(flour, kColumnName, categories, {}, true));
  EXPECT_EQ(TXT("1  cup"), Cell(flour, kColumnServingSize, categories));
  EXPECT_EQ(TXT("4.4"), Cell(flour, kColumnOunces, categories, {true, true}));
  EXPECT_EQ(TXT("flour.jpg"), Cell(flour, kColumnPicture, categories));
  EXPECT_EQ(TXT(""), Cell(flour, kColumnServes, categories));
  flour.catId = 77;
  flour.type = kUnitBlank;
  flour.size = 2.5;
  EXPECT_EQ(TXT(""), Cell(flour, kColumnCategory, categories));
  EXPECT_EQ(TXT("2 1/2 "), Cell(flour, kColumnServingSize, categories));
}

// The record as one written CSV line of the given columns, read back into a new ingredient.
Ingredient ThroughCsvLine(const Food& food, const CategoryList& categories,
                          std::initializer_list<uint32_t> columns, CategoryList& readCategories) {
  WString line;
  for (uint32_t column : columns)
    AppendCsvField(line, Cell(food, column, categories, {}, true, true), line.empty());
  const std::vector<WStringView> records = CsvLines(line);
  EXPECT_EQ(1u, records.size());
  Ingredient read;
  uint32_t counter = 0;
  read.ImportCsvRow(SplitCsvLine(records.at(0)), readCategories, UnitNames(), counter, MapOf(columns));
  return read;
}

TEST(Food, QuotesAndCommasInNamesAndCategoriesSurviveCsvExportAndImport) {
  const std::pair<const WChar*, const WChar*> cases[] = {
      {TXT("Mom's \"best\" pie"), TXT("Pies")},
      {TXT("Cake"), TXT("Mom's \"best\", baking")},
      {TXT("Tin, \"round\""), TXT("5\" pans")},
  };
  for (const auto& [name, category] : cases) {
    CategoryList categories;
    categories.Add(category, 3);
    Ingredient original = Flour();
    original.name = name;
    CategoryList readCategories;
    const Ingredient read = ThroughCsvLine(
        original, categories, {kColumnCategory, kColumnName, Nutrient::kCalories}, readCategories);
    EXPECT_EQ(original.name, read.name);
    const WString* readCategory = readCategories.NameById(read.catId);
    ASSERT_NE(nullptr, readCategory) << ToUtf8(category);
    EXPECT_EQ(WString(category), *readCategory);
    EXPECT_EQ(455, read.nutrients[Nutrient::kCalories]) << ToUtf8(category);
  }
}

TEST(Food, AddServingsScalesByServingsAndServes) {
  Ingredient egg;
  egg.size = 1;
  egg.type = kUnitServing;
  egg.ounces = 2;
  egg.nutrients[Nutrient::kCalories] = 100;
  Ingredient total;
  total.AddServings(egg, kUnitServing, 2, 2);
  EXPECT_DOUBLE_EQ(100, total.nutrients[Nutrient::kCalories]);
  EXPECT_DOUBLE_EQ(2, total.ounces);
  total.AddServings(egg, kUnitServing, 2, 0);  // serves 0 counts as 1
  EXPECT_DOUBLE_EQ(300, total.nutrients[Nutrient::kCalories]);
  total.AddServings(egg, kUnitServing, 0, 1);
  EXPECT_DOUBLE_EQ(300, total.nutrients[Nutrient::kCalories]);
  EXPECT_DOUBLE_EQ(100, egg.DailyValue(Nutrient::kCalories) / 20);
}

TEST(Texts, TagNamesIgnoreCase) {
  EXPECT_TRUE(IsTag(TXT("foodId"), TXT("FOODID")));
  EXPECT_TRUE(IsTag(TXT(""), TXT("")));
  EXPECT_FALSE(IsTag(TXT("FOOD"), TXT("FOODID")));
  EXPECT_FALSE(IsTag(TXT("FOODID"), TXT("FOOD")));
  EXPECT_FALSE(IsTag(TXT("CAL"), TXT("FAT")));
  EXPECT_FALSE(IsTag(TXT("A["), TXT("A{")));  // only letters fold
  EXPECT_TRUE(IsTag(TXT("cr\u00C8me"), TXT("CR\u00E8ME")));
}

// Every number the food data shows a text for, and the numbers around them that have none.
TEST(Texts, EveryNumberedTextOfTheFoodData) {
  const WChar* const units[kUnitCount] = {
      TXT("Serving"), TXT(""),       TXT("cup"),   TXT("dash"), TXT("g"),   TXT("gallon"),
      TXT("kg"),      TXT("jigger"), TXT("L"),     TXT("Lb"),   TXT("mL"),  TXT("oz"),
      TXT("pinch"),   TXT("pint"),   TXT("quart"), TXT("Tbl"),  TXT("tsp"), TXT("clove"),
      TXT("strip"),   TXT("bag"),    TXT("slice"), TXT("stalk")};
  for (uint32_t unit = 0; unit < kUnitCount; ++unit)
    EXPECT_EQ(units[unit], LoadTextById(kTextUnitFirst + unit)) << unit;
  const WChar* const nutrients[Nutrient::kCount] = {
      TXT("Calories"),         TXT("Total Fat (g)"),   TXT("Saturated Fat (g)"), TXT("Cholesterol (mg)"),
      TXT("Sodium (mg)"),      TXT("Potassium (mg)"),  TXT("Carbohydrates (g)"), TXT("Fiber (g)"),
      TXT("Sugar (g)"),        TXT("Protein (g)"),     TXT("Vitamin A (mcg)"),   TXT("Vitamin B1 (mg)"),
      TXT("Vitamin B2 (mg)"),  TXT("Vitamin B3 (mg)"), TXT("Vitamin B6 (mg)"),   TXT("Vitamin B12 (mcg)"),
      TXT("Vitamin C (mg)"),   TXT("Vitamin D (mg)"),  TXT("Vitamin E (mg)"),    TXT("Pantothenic Acid (mg)"),
      TXT("Folic Acid (mcg)"), TXT("Calcium (mg)"),    TXT("Iron (mg)"),         TXT("Phosphorus (mg)"),
      TXT("Magnesium (mg)"),   TXT("Zinc (mg)"),       TXT("Copper (mg)"),       TXT("Manganese (mg)"),
      TXT("Selenium (mcg)")};
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
    EXPECT_EQ(nutrients[n], LoadTextById(kTextColumnFirst + n)) << n;
    EXPECT_EQ(nutrients[n], LoadTextById(kTextDiaryColumnFirst + n)) << n;  // the diary repeats them
  }
  const std::pair<uint32_t, const WChar*> others[] = {
      {4200, TXT("--All--")},
      {4201, TXT("Edit Category")},
      {4202, TXT("Change Category")},
      {4824, TXT("h ")},
      {4825, TXT("m")},
      {5129, TXT("Category")},
      {5130, TXT("Name")},
      {5131, TXT("Serving Size")},
      {5132, TXT("Ounces Per Serving")},
      {5133, TXT("Picture")},
      {5134, TXT("Cooking Time")},
      {5135, TXT("Prep Time")},
      {5136, TXT("Serves")},
      {5137, TXT("Instructions")},
      {5138, TXT("Ingredients")},
      {5139, TXT("Custom")},
      {5229, TXT("Meal")},
      {5230, TXT("Name")},
      {5231, TXT("Date")},
      {5232, TXT("Food")},
      {5233, TXT("Comment")},
      // No text: the blank unit, the numbers between the groups and past their ends.
      {0, TXT("")},
      {4199, TXT("")},
      {4203, TXT("")},
      {4822, TXT("")},
      {4823, TXT("")},
      {4826, TXT("")},
      {5099, TXT("")},
      {5140, TXT("")},
      {5199, TXT("")},
      {5234, TXT("")},
      {99999, TXT("")},
  };
  for (const auto& [id, text] : others) EXPECT_EQ(text, LoadTextById(id)) << id;
}

TEST(Texts, EnglishTableAndReplaceableLoader) {
  EXPECT_EQ(TXT("--All--"), LoadTextById(kTextAllHeader));
  EXPECT_EQ(TXT("stalk"), LoadTextById(kTextUnitFirst + 21));
  EXPECT_EQ(TXT(""), LoadTextById(kTextUnitFirst + kUnitBlank));
  EXPECT_EQ(TXT("Custom"), LoadTextById(kTextColumnFirst + kColumnCustom));
  EXPECT_EQ(TXT("Meal"), LoadTextById(kTextDiaryColumnFirst + kColumnCategory));
  EXPECT_EQ(TXT(""), LoadTextById(1));
  const TextLoader english = LoadTextById;
  LoadTextById = [](uint32_t id) { return id == kTextMinutesSuffix ? WString(TXT(" min")) : WString(); };
  EXPECT_EQ(TXT(" min"), LoadTextById(kTextMinutesSuffix));
  LoadTextById = english;
}

}  // namespace
