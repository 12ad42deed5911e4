#include <gtest/gtest.h>

#include <set>

#include "FoodTestSupport.h"
#include "food/RecordIds.h"
#include "food/TagNames.h"
#include "food/Texts.h"

namespace {

Ingredient Flour() {
  Ingredient food;
  food.catId = 3;
  food.foodId = 12;
  food.hidden = true;
  SetFood(food, TXT("Flour"), 1, kUnitCup, 4.4, 455);
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

bool Import(Food& food, const CsvRow& row, std::initializer_list<uint32_t> columns, CategoryList& categories,
            uint32_t counter = 0) {
  return food.ImportCsvRow(row, categories, UnitNames(), counter, MapOf(columns));
}
bool Import(Food& food, const CsvRow& row, std::initializer_list<uint32_t> columns) {
  CategoryList categories;
  return Import(food, row, columns, categories);
}

std::vector<int32_t> Preview(const Food& food) {
  return {food.preview.left, food.preview.top, food.preview.width, food.preview.height};
}

// The preview follows the owner's resolution and stays with the record: assignment commits the
// stored fields only, copy construction takes everything.
TEST(Food, ConstructionAndAssignmentKeepOwnerAndPreview) {
  const std::vector<int32_t> normal{141, 41, 294, 239}, large{190, 50, 400, 300};
  const Ingredient plain;
  EXPECT_EQ("0/0 | 0 0 0", Fields(plain));
  EXPECT_EQ(normal, Preview(plain));
  const FoodOwner wide{120}, other{96};
  EXPECT_EQ(normal, Preview(Ingredient(&other)));
  Ingredient target(&wide);
  EXPECT_EQ(large, Preview(target));
  target = Flour();
  EXPECT_EQ("3/12 hidden Flour| 1 2 4.4 CAL=455", Fields(target));
  const Ingredient copied(target);
  EXPECT_EQ(Fields(target), Fields(copied));
  for (const Ingredient* food : std::initializer_list<const Ingredient*>{&target, &copied}) {
    EXPECT_EQ(&wide, food->Owner());
    EXPECT_EQ(large, Preview(*food));
  }
}

// Zero and empty fields are left out, FOODID and TYPE always written; a category name replaces
// CATID; texts are escaped.
TEST(Food, WritesTheFoodElementLineByLine) {
  EXPECT_EQ(
      Lines(TXT("<FOOD>|<CATID>3</CATID>|<FOODID>12</FOODID>|<HIDDEN>1</HIDDEN>|<FOODNAME>Flour</FOODNAME>|"
                "<SIZE>1</SIZE>|<TYPE>2</TYPE>|<OUNCES>4.4</OUNCES>|<CAL>455</CAL>|</FOOD>")),
      Written(Flour()));
  Ingredient food;
  food.foodId = 5;
  EXPECT_EQ(Lines(TXT("<FOOD>|<CATID/>|<FOODID>5</FOODID>|<TYPE/>|</FOOD>")), Written(food));
  const WString category = TXT("Baking & Co");
  food.picture = TXT("a<b>.jpg");
  food.nutrients[Nutrient::kSelenium] = 0.333333333;
  EXPECT_EQ(Lines(TXT("<FOOD>|<CATEGORY>Baking &amp; Co</CATEGORY>|<FOODID>5</FOODID>|<PICTURE>a&lt;b&gt;.jpg"
                      "</PICTURE>|<TYPE/>|<SE>0.333333</SE>|</FOOD>")),
            Written(food, &category));
}

// Reading what was written gives it back. Tags in any case, unknown tags skipped, empty fields and
// numbers beyond the range of doubles (or "inf" from a damaged writer) leave the default; no end
// tag fails.
TEST(Food, ReadsWhatItWrites) {
  Ingredient original = Flour(), read, lenient, huge, cut;
  original.picture = TXT("flour & co.png");
  original.name = TXT("Flour <fine>");
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) original.nutrients[n] = n * 1.5 + 0.25;
  CategoryList categories;
  uint32_t counter = 40;
  ASSERT_TRUE(Read(read, Written(original), categories, counter));
  EXPECT_EQ(Written(original), Written(read));
  EXPECT_EQ(40u, counter);
  EXPECT_TRUE(
      Read(lenient,
           Lines(TXT("<FOOD>|<foodid>7</foodid>|<COLOR>red</COLOR>|<SIZE></SIZE>|<Cal> 12.5 </Cal>|</food>")),
           categories, counter));
  EXPECT_EQ("0/7 | 0 0 0 CAL=12.5", Fields(lenient));
  EXPECT_TRUE(Read(huge,
                   Lines(TXT("<FOOD>|<FOODID>7</FOODID>|<SIZE>1e400</SIZE>|<OUNCES>-1e999</OUNCES>|"
                             "<CAL>1e400</CAL>|<FAT>2</FAT>|</FOOD>")),
                   categories, counter));
  EXPECT_EQ("0/7 | 0 0 0 FAT=2", Fields(huge));
  EXPECT_FALSE(Read(cut, Lines(TXT("<FOOD>|<FOODID>3</FOODID>")), categories, counter));
}

// The ids of a catalog file's records as the catalogs number them: each id read taken into the
// counter, the records without a usable one numbered once the whole file is read.
std::vector<uint32_t> CatalogIds(const WString& text, uint32_t& counter) {
  XMLDoc doc;
  doc.SetText(text);
  CategoryList categories;
  std::vector<std::unique_ptr<Ingredient>> records;
  while (const WChar* tag = doc.NextTag()) {
    if (!IsTag(tag, TXT("FOOD")) || doc.IsEndTag()) continue;
    auto record = std::make_unique<Ingredient>();
    if (!ReadFood(doc, *record, categories, counter)) continue;
    record->foodId = TakeFileId(record->foodId, counter);
    records.push_back(std::move(record));
  }
  NumberUnnumbered(records, counter);
  std::vector<uint32_t> ids;
  for (const auto& record : records) ids.push_back(record->foodId);
  return ids;
}

// Only ids 1..4294967294 from a file raise the counter: 4294967295 (also written -1) would give
// the next new record 0. A record without a usable id is kept and numbered after the whole file,
// so that it cannot take the 7 of the record after it.
TEST(Food, RecordsWithoutAUsableIdAreNumberedAfterTheFile) {
  const std::pair<const WChar*, std::vector<uint32_t>> cases[] = {
      {TXT("<FOODID>-1</FOODID>"), {8, 7}},
      {TXT("<FOODID>4294967295</FOODID>"), {8, 7}},
      {TXT("<FOODID>0</FOODID>"), {8, 7}},
      {TXT("<FOODID/>"), {8, 7}},
      {TXT("<HIDDEN/>"), {8, 7}},
      {TXT("<FOODID>4294967294</FOODID>"), {4294967294, 7}},
      {TXT("<FOODID>12</FOODID>"), {12, 7}},
  };
  for (const auto& [leaf, ids] : cases) {
    uint32_t counter = 6;
    EXPECT_EQ(ids, CatalogIds(Lines(TXT("<FOOD>|") + WString(leaf) +
                                    TXT("|</FOOD>|<FOOD>|<FOODID>7</FOODID>|</FOOD>")),
                              counter))
        << ToUtf8(leaf);
    EXPECT_EQ(*std::max_element(ids.begin(), ids.end()), counter) << ToUtf8(leaf);
  }
}

// Rows without serving or ounces get ones in the blank unit; a quote stands as U+00B4; without a
// category column the row joins the highest category; values beyond the range of doubles keep
// the default; only the picture's file name is kept.
TEST(Food, CsvRowsFillEveryColumnAndDefaultTheServing) {
  CategoryList categories;
  categories.Add(TXT("A"), 4);
  categories.Add(TXT("B"), 9);
  Ingredient plain, huge, full;
  EXPECT_TRUE(Import(plain, {TXT("Salt \u00B4fine\u00B4"), TXT("0")}, {kColumnName, Nutrient::kCalories},
                     categories, 30));
  EXPECT_EQ("9/31 Salt \"fine\"| 1 1 1", Fields(plain));
  EXPECT_TRUE(Import(huge, {TXT("Salt"), TXT("1e400 cup"), TXT("1e400"), TXT("1e400")},
                     {kColumnName, kColumnServingSize, kColumnOunces, Nutrient::kCalories}));
  EXPECT_EQ("0/1 Salt| 1 1 1", Fields(huge));
  CategoryList created;
  EXPECT_TRUE(Import(
      full, {TXT("Grains"), TXT("2 Tbl"), TXT("0.5"), TXT("C:\\pics/sub\\oats.jpg"), TXT("1.5")},
      {kColumnCategory, kColumnServingSize, kColumnOunces, kColumnPicture, Nutrient::kIron, kColumnName},
      created));
  EXPECT_EQ("1/2 |oats.jpg 2 15 0.5 FE=1.5", Fields(full));  // the name field lies beyond the row
  EXPECT_EQ(1u, created.IdByName(TXT("Grains")));
}

// Any one column with data makes a row: a name, a category, a serving, ounces or a nutrient above
// 0 (however small), a picture. Importing changes only the stored fields, never the preview.
TEST(Food, EachColumnAloneMakesARowWithData) {
  const std::pair<uint32_t, const WChar*> cases[] = {
      {kColumnName, TXT("Salt")},  {kColumnCategory, TXT("12")},       {kColumnServingSize, TXT("0.5 cup")},
      {kColumnOunces, TXT("0.5")}, {Nutrient::kSelenium, TXT("0.01")}, {kColumnPicture, TXT("a.jpg")}};
  for (const auto& [column, field] : cases) {
    Ingredient food;
    const std::vector<int32_t> before = Preview(food);
    EXPECT_TRUE(Import(food, {field}, {column})) << column;
    EXPECT_EQ(before, Preview(food)) << column;
  }
  Ingredient food;
  for (const WChar* nothing : {TXT("0"), TXT("-0.5")})
    EXPECT_FALSE(Import(food, {nothing, nothing}, {kColumnOunces, Nutrient::kCalories})) << ToUtf8(nothing);
  EXPECT_FALSE(Import(food, {TXT(""), TXT("0 cup"), TXT("-3"), TXT("")},
                      {kColumnName, kColumnServingSize, Nutrient::kCalories, kColumnPicture}));
  EXPECT_EQ(-3, food.nutrients[Nutrient::kCalories]);  // stored as read
  EXPECT_FALSE(Import(food, {}, {}));
}

// A nutrient's header may name another unit of mass than the program's own: the value is converted,
// so that its share of the daily value is right (vitamin D and copper are counted in micrograms).
TEST(Food, CsvValuesInAnotherUnitOfMassAreConverted) {
  const struct {
    const WChar* header;
    const WChar* value;
    const WChar* percent;
  } cases[] = {
      {TXT("Vitamin D (mcg)"), TXT("5"), TXT("100%")}, {TXT("Vitamin D (mg)"), TXT("0.0025"), TXT("50%")},
      {TXT("Copper (mcg)"), TXT("450"), TXT("50%")},   {TXT("Copper (mg)"), TXT("0.9"), TXT("100%")},
      {TXT("Copper"), TXT("900"), TXT("100%")},        {TXT("Sodium (g)"), TXT("0.25"), TXT("50%")},
      {TXT("Iron (mg)"), TXT("13"), TXT("100%")},      {TXT("Iron (furlong)"), TXT("13"), TXT("100%")},
  };
  for (const auto& c : cases) {
    CsvColumnMap map;
    ASSERT_TRUE(MapCsvHeader(
        {TXT("Name"), c.header}, [](uint32_t column) { return EnglishTextById(kTextColumnFirst + column); },
        map));
    CategoryList categories;
    uint32_t counter = 0;
    Ingredient food;
    ASSERT_TRUE(food.ImportCsvRow({TXT("Salt"), c.value}, categories, UnitNames(), counter, map));
    WString shown;
    for (uint32_t n = 0; n < Nutrient::kCount; ++n)
      FormatNutrient(shown, n, false, false, food.nutrients[n], {true});
    EXPECT_EQ(ToUtf8(c.percent), ToUtf8(shown)) << ToUtf8(c.header);
  }
}

// Columns calories, fiber, category, name, serving, ounces, picture and serves, joined by '|', in
// each form: percentages and rounding only for shown numbers, quotes as U+00B4 in CSV.
TEST(Food, ColumnTexts) {
  CategoryList categories;
  categories.Add(TXT("Baking"), 3);
  Ingredient flour = Flour();
  flour.name = TXT("\"00\" Flour");
  flour.picture = TXT("flour.jpg");
  flour.ounces = 4.47;
  const uint32_t columns[] = {Nutrient::kCalories, Nutrient::kFiber, kColumnCategory, kColumnName,
                              kColumnServingSize,  kColumnOunces,    kColumnPicture,  kColumnServes};
  const struct {
    NutrientFormat format;
    bool csv, raw;
    const WChar* texts;
  } cases[] = {
      {{}, false, false, TXT("455||Baking|\"00\" Flour|1  cup|4.47|flour.jpg|")},
      {{true, false}, false, false, TXT("22.75%||Baking|\"00\" Flour|1  cup|4.47|flour.jpg|")},
      {{true, true}, false, false, TXT("22.7%||Baking|\"00\" Flour|1  cup|4.4|flour.jpg|")},
      {{true, true}, true, true, TXT("455||Baking|\u00B400\u00B4 Flour|1  cup|4.47|flour.jpg|")},
  };
  for (const auto& c : cases)
    for (size_t i = 0; i < std::size(columns); ++i)
      EXPECT_EQ(Split(c.texts)[i], Cell(flour, columns[i], categories, c.format, c.csv, c.raw))
          << ToUtf8(c.texts);
  flour.catId = 77;
  flour.type = kUnitBlank;
  flour.size = 2.5;
  EXPECT_EQ(TXT(""), Cell(flour, kColumnCategory, categories));
  EXPECT_EQ(TXT("2 1/2 "), Cell(flour, kColumnServingSize, categories));
}

TEST(Food, QuotesAndCommasInNamesAndCategoriesSurviveCsvExportAndImport) {
  const std::pair<const WChar*, const WChar*> cases[] = {{TXT("Cake"), TXT("Mom's \"best\", baking")},
                                                         {TXT("Tin, \"round\""), TXT("5\" pans")}};
  const std::initializer_list<uint32_t> columns = {kColumnCategory, kColumnName, Nutrient::kCalories};
  for (const auto& [name, category] : cases) {
    CategoryList categories, readCategories;
    categories.Add(category, 3);
    Ingredient original = Flour(), read;
    original.name = name;
    WString line;
    for (uint32_t column : columns)
      AppendCsvField(line, Cell(original, column, categories, {}, true, true), line.empty());
    const std::vector<WStringView> records = CsvLines(line);
    ASSERT_EQ(1u, records.size());
    uint32_t counter = 0;
    read.ImportCsvRow(SplitCsvLine(records[0]), readCategories, UnitNames(), counter, MapOf(columns));
    const WString* readCategory = readCategories.NameById(read.catId);
    EXPECT_EQ(ToUtf8(category), readCategory ? ToUtf8(*readCategory) : "none");
    EXPECT_EQ("1/2 " + ToUtf8(name) + "| 1 1 1 CAL=455", Fields(read));
  }
}

// Serves 0 counts as 1; no amount adds nothing.
TEST(Food, AddServingsScalesByServingsAndServes) {
  Ingredient egg, total;
  SetFood(egg, TXT("Egg"), 1, kUnitServing, 2, 100);
  total.AddServings(egg, kUnitServing, 2, 2);
  EXPECT_EQ("0/0 | 0 0 2 CAL=100", Fields(total));
  total.AddServings(egg, kUnitServing, 2, 0);
  EXPECT_EQ("0/0 | 0 0 6 CAL=300", Fields(total));
  total.AddServings(egg, kUnitServing, 0, 1);
  EXPECT_EQ("0/0 | 0 0 6 CAL=300", Fields(total));
  EXPECT_DOUBLE_EQ(100, egg.DailyValue(Nutrient::kCalories) / 20);
}

// Only letters fold: "[" and "{" differ by the case bit but stay apart.
TEST(Texts, TagNamesIgnoreCase) {
  for (const auto& [a, b] :
       {std::pair{TXT("foodId"), TXT("FOODID")}, {TXT(""), TXT("")}, {TXT("cr\u00C8me"), TXT("CR\u00E8ME")}})
    EXPECT_TRUE(IsTag(a, b)) << ToUtf8(a);
  for (const auto& [a, b] : {std::pair{TXT("FOOD"), TXT("FOODID")},
                             {TXT("FOODID"), TXT("FOOD")},
                             {TXT("CAL"), TXT("FAT")},
                             {TXT("A["), TXT("A{")}})
    EXPECT_FALSE(IsTag(a, b)) << ToUtf8(a);
}

// The texts from number `id` on, given joined by '|'.
void ExpectTexts(uint32_t id, const WChar* joined) {
  for (const WString& text : Split(joined)) EXPECT_EQ(text, LoadTextById(id++)) << id - 1;
}

// Every nutrient has a distinct name naming its unit; the diary repeats the nutrient headers; the numbers
// between and past the groups have no text. The Windows program points the loader at its string table.
TEST(Texts, EveryNumberedTextOfTheFoodData) {
  std::set<WString> nutrients;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
    const WString name = LoadTextById(kTextColumnFirst + n);
    EXPECT_TRUE(n == Nutrient::kCalories || name.back() == ')') << n;
    EXPECT_TRUE(nutrients.insert(name).second) << n;
    EXPECT_EQ(name, LoadTextById(kTextDiaryColumnFirst + n)) << n;
  }
  ExpectTexts(0, TXT("|"));
  ExpectTexts(99999, TXT(""));
  ExpectTexts(4199, TXT("|--All--|Edit Category|Change Category|"));
  ExpectTexts(4800, TXT("Serving||cup"));
  ExpectTexts(4821, TXT("stalk|||h |m|"));
  ExpectTexts(5099, TXT("|Calories|Total Fat (g)"));
  ExpectTexts(5128, TXT("Selenium (mcg)|Category|Name|Serving Size|Ounces Per Serving|Picture|Cooking Time|"
                        "Prep Time|Serves|Instructions|Ingredients|Custom|Household Measures|"));
  ExpectTexts(5199, TXT("|Calories"));
  ExpectTexts(5228, TXT("Selenium (mcg)|Meal|Name|Date|Food|Comment|"));
  const TextLoader english = LoadTextById;
  LoadTextById = [](uint32_t id) { return id == kTextMinutesSuffix ? WString(TXT(" min")) : WString(); };
  ExpectTexts(kTextMinutesSuffix, TXT(" min"));
  ExpectTexts(kTextAllHeader, TXT(""));
  LoadTextById = english;
}

}  // namespace
