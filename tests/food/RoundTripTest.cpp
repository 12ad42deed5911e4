// Export, import and export again gives the same text, for ingredients and recipes in both exchange
// forms (CSV rows and FOOD / RECIPE elements) and for diary meals and shopping lists (DIARY and
// SHOPLIST elements), over seeded records with awkward content: quotes,
// commas, line breaks, tabs, U+00B4, accented and non-Latin letters, fractions, the blank unit,
// empty fields and long texts.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "FoodTestSupport.h"
#include "food/ShoppingList.h"
#include "food/Texts.h"
#include "storage/Csv.h"

namespace {

constexpr int kRecords = 300;

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  uint32_t Below(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }
  bool OneIn(uint32_t n) { return Below(n) == 0; }

  // Text from awkward pieces.
  WString Text(uint32_t maxPieces, bool lineBreaks, bool tabs = true) {
    static const WChar* const kPieces[] = {
        TXT("Flour"),  TXT("a"),      TXT("Z"),      TXT(" "),      TXT(","),      TXT("\""),
        TXT("''"),     TXT("\u00B4"), TXT("&"),      TXT("<b>"),    TXT("&amp;"),  TXT("1/2"),
        TXT("2  "),    TXT("cup"),    TXT("\u00E9"), TXT("\u00DF"), TXT("\u0416"), TXT("\u65E5\u672C"),
        TXT("\u00C6"), TXT("/"),      TXT(";"),      TXT("\u00A0"), TXT("e5"),     TXT("\u0661"),
    };
    WString text;
    const uint32_t pieces = 1 + Below(maxPieces);
    for (uint32_t i = 0; i < pieces; ++i) {
      if (lineBreaks && OneIn(8)) text += TXT("\r\n");
      if (tabs && OneIn(12)) text += TXT('\t');
      text += kPieces[Below(std::size(kPieces))];
    }
    if (OneIn(40)) text += WString(400 + Below(2000), TXT('x'));  // a long text
    return text;
  }

  // A name no earlier one equals ignoring case, as catalogs and category lists require. The names
  // of foods that recipe lines refer to (`lineFood`) hold no tab, the line separator, start with
  // no white space, which is skipped after a unit word, and do not hold both a double quote and
  // U+00B4, which the CSV form writes alike.
  WString UniqueName(bool lineFood) {
    for (;;) {
      WString name = Text(6, true, !lineFood);
      if (lineFood) {
        name.erase(0, name.find_first_not_of(TXT(" \r\n\u00A0")));
        if (name.find(TXT('"')) != WString::npos)
          name.erase(std::remove(name.begin(), name.end(), 0xB4), name.end());
      }
      WString folded;
      for (WChar c : name) folded += FoldCase(c);
      if (!name.empty() && taken_.insert(folded).second) return name;
    }
  }

  // Values of every kind the writers produce: zero, whole, fractional, exponent forms, negative.
  double Number() {
    switch (Below(6)) {
      case 0:
        return 0;
      case 1:
        return Below(1000);
      case 2:
        return Below(100000) / 64.0;
      case 3:
        return (1 + Below(999)) * 1e7;
      case 4:
        return (1 + Below(999)) * 1e-7;
      default:
        return -static_cast<double>(Below(50)) / 4;
    }
  }
  // A serving amount: a whole part and 48ths, as the editors make it, now and then a large one.
  // Below 1/16 the text shows no number.
  double Amount() { return OneIn(10) ? (1 + Below(9)) * 1e6 : Below(70) + (3 + Below(45)) / 48.0; }

  void FillFood(Food& food, uint32_t id, const CategoryList& categories, bool lineFood) {
    food.foodId = id;
    food.catId = categories.Entries()[Below(static_cast<uint32_t>(categories.Entries().Count()))].id;
    food.hidden = OneIn(4);
    food.name = UniqueName(lineFood);
    if (!OneIn(3)) food.picture = TXT("pic ") + Text(2, false, false) + TXT(".jpg");
    for (const WChar notInFileNames : {TXT('"'), TXT('/'), TXT('\\')})
      food.picture.erase(std::remove(food.picture.begin(), food.picture.end(), notInFileNames),
                         food.picture.end());
    food.size = Amount();
    food.type = Below(kUnitCount);
    food.ounces = 1 + Below(40) / 8.0;
    for (double& value : food.nutrients) value = OneIn(3) ? Number() : 0;
  }

  void FillCategories(CategoryList& categories, uint32_t& counter) {
    for (int i = 0; i < 8; ++i) categories.Add(UniqueName(false), ++counter);
  }

 private:
  std::mt19937 rng_;
  std::set<WString> taken_;
};

// The column headers of a file and the map a reader makes of them, columns matched by their
// normalised texts as the importers match them.
WString Header(uint32_t columns) {
  WString line;
  for (uint32_t c = 0; c < columns; ++c) AppendCsvField(line, EnglishTextById(kTextColumnFirst + c), c == 0);
  return line + TXT("\r\n");
}
CsvColumnMap MapOf(const CsvRow& header, uint32_t columns) {
  CsvColumnMap map;
  for (uint32_t c = 0; c < columns; ++c)
    for (size_t field = 0; field < header.size(); ++field)
      if (EqualsNoCase(NormalisedHeader(header[field]),
                       NormalisedHeader(EnglishTextById(kTextColumnFirst + c))))
        map.position[c] = static_cast<uint32_t>(field);
  return map;
}

template <class Record>
WString CsvText(const std::vector<Record>& records, const CategoryList& categories, uint32_t columns) {
  WString text = Header(columns);
  for (const Record& record : records) {
    for (uint32_t c = 0; c < columns; ++c) {
      WString cell;
      record.ColumnText(cell, c, categories, NutrientFormat{true, true}, true, true);
      AppendCsvField(text, cell, c == 0);
    }
    text += TXT("\r\n");
  }
  return text;
}

// The records of a CSV text, each row read by `read` into a new record; rows without data drop.
template <class Record, class Read>
std::vector<Record> FromCsv(const WString& text, uint32_t columns, Read read) {
  const std::vector<WStringView> lines = CsvLines(text);
  EXPECT_FALSE(lines.empty());
  const CsvColumnMap map = MapOf(SplitCsvLine(lines.at(0)), columns);
  std::vector<Record> records;
  for (size_t n = 1; n < lines.size(); ++n) {
    Record record;
    if (read(record, SplitCsvLine(lines[n]), map)) records.push_back(std::move(record));
  }
  return records;
}

// Points at the first difference of two long texts, line breaks and tabs shown as escapes.
std::string Shown(WStringView text) {
  std::string shown;
  for (WChar c : text)
    shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : ToUtf8(WStringView(&c, 1));
  return shown;
}
void ExpectSameText(const WString& expected, const WString& actual) {
  if (expected == actual) return;
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const size_t from = at < 60 ? 0 : at - 60;
  ADD_FAILURE() << "texts differ at unit " << at << "\nexpected: ..."
                << Shown(WStringView(expected).substr(from, 120)) << "\nactual:   ..."
                << Shown(WStringView(actual).substr(from, 120));
}

class RoundTrip : public ::testing::TestWithParam<uint32_t> {
 protected:
  RoundTrip() : gen(GetParam()) { gen.FillCategories(categories, counter); }

  std::vector<Ingredient> Ingredients() {
    std::vector<Ingredient> foods(kRecords);
    for (Ingredient& food : foods) gen.FillFood(food, ++counter, categories, false);
    return foods;
  }

  // A catalog of ingredients and recipes whose lines use them.
  std::vector<Recipe> Recipes(MemoryCatalog& catalog) {
    gen.FillCategories(catalog.categories, catalog.counter);
    for (int i = 0; i < 60; ++i)
      gen.FillFood(catalog.foods.emplace_back(), ++catalog.counter, catalog.categories, true);
    std::vector<Recipe> recipes(kRecords / 2);
    for (Recipe& recipe : recipes) {
      gen.FillFood(recipe, ++counter, categories, false);
      for (uint32_t n = gen.Below(6); n > 0; --n) {
        auto food = catalog.foods.begin();
        std::advance(food, gen.Below(static_cast<uint32_t>(catalog.foods.size())));
        const WString displayName = gen.OneIn(3) ? gen.Text(4, true) : WString();
        recipe.lines.push_back(
            RecipeLine{gen.Amount(), static_cast<int32_t>(gen.Below(kUnitCount)), displayName, &*food});
      }
      if (!gen.OneIn(4)) recipe.instructions = gen.Text(20, true);
      if (gen.OneIn(2)) recipe.custom = gen.Text(3, true);
      recipe.cookHours = static_cast<int32_t>(gen.Below(3));
      recipe.cookMinutes = static_cast<int32_t>(gen.Below(60));
      recipe.prepHours = static_cast<int32_t>(gen.Below(2));
      recipe.prepMinutes = static_cast<int32_t>(gen.Below(3) * 15);
      recipe.serves = static_cast<int32_t>(1 + gen.Below(12));  // 0 is not written and reads as 1
      recipe.ingredientId = static_cast<int32_t>(gen.Below(500));
    }
    return recipes;
  }

  // Meals and shopping lists: items of the catalog's foods at editor amounts in any unit.
  std::vector<MealItem> Items(MemoryCatalog& catalog) {
    std::vector<MealItem> items;
    for (uint32_t n = gen.Below(8); n > 0; --n) {
      auto food = catalog.foods.begin();
      std::advance(food, gen.Below(static_cast<uint32_t>(catalog.foods.size())));
      items.push_back(MealItem{gen.Amount(), static_cast<int32_t>(gen.Below(kUnitCount)), &*food});
    }
    return items;
  }
  void FillCatalog(MemoryCatalog& catalog) {
    gen.FillCategories(catalog.categories, catalog.counter);
    for (int i = 0; i < 60; ++i)
      gen.FillFood(catalog.foods.emplace_back(), ++catalog.counter, catalog.categories, false);
  }

  Generator gen;
  CategoryList categories;
  uint32_t counter = 0;
};

TEST_P(RoundTrip, IngredientsAsCsv) {
  const WString exported = CsvText(Ingredients(), categories, kFoodColumnCount);
  CategoryList readCategories;
  uint32_t readCounter = 0;
  const std::vector<Ingredient> read = FromCsv<Ingredient>(
      exported, kFoodColumnCount, [&](Ingredient& food, const CsvRow& row, const CsvColumnMap& map) {
        return food.ImportCsvRow(row, readCategories, UnitNames(), readCounter, map);
      });
  EXPECT_EQ(static_cast<size_t>(kRecords), read.size());
  ExpectSameText(exported, CsvText(read, readCategories, kFoodColumnCount));
}

TEST_P(RoundTrip, IngredientsAsXml) {
  for (const bool byName : {false, true}) {
    XMLDoc exported;
    for (const Ingredient& food : Ingredients())
      WriteFood(exported, food, byName ? categories.NameById(food.catId) : nullptr);
    XMLDoc reader;
    reader.SetText(exported.Output());
    CategoryList readCategories;
    uint32_t readCounter = 0;
    XMLDoc again;
    while (reader.NextTag()) {
      Ingredient food;
      ASSERT_TRUE(ReadFood(reader, food, readCategories, readCounter));
      WriteFood(again, food, byName ? readCategories.NameById(food.catId) : nullptr);
    }
    ExpectSameText(exported.Output(), again.Output());
  }
}

TEST_P(RoundTrip, RecipesAsCsv) {
  MemoryCatalog catalog;
  const WString exported = CsvText(Recipes(catalog), categories, kRecipeColumnCount);
  CategoryList readCategories;
  uint32_t readCounter = 0;
  const std::vector<Recipe> read = FromCsv<Recipe>(
      exported, kRecipeColumnCount, [&](Recipe& recipe, const CsvRow& row, const CsvColumnMap& map) {
        return recipe.ImportCsvRecipeRow(row, readCategories, UnitNames(), readCounter, map, catalog);
      });
  EXPECT_EQ(static_cast<size_t>(kRecords / 2), read.size());
  ExpectSameText(exported, CsvText(read, readCategories, kRecipeColumnCount));
}

TEST_P(RoundTrip, RecipesAsXml) {
  MemoryCatalog catalog;
  const std::vector<Recipe> recipes = Recipes(catalog);
  for (const bool embed : {false, true}) {
    XMLDoc exported;
    for (const Recipe& recipe : recipes)
      recipe.WriteRecipeElement(exported, embed, categories, catalog.categories);
    XMLDoc reader;
    reader.SetText(exported.Output());
    CategoryList readCategories;
    uint32_t readCounter = 0;
    XMLDoc again;
    while (reader.NextTag()) {
      Recipe recipe;
      ASSERT_TRUE(recipe.ReadRecipeElement(reader, readCategories, readCounter, catalog));
      recipe.WriteRecipeElement(again, embed, readCategories, catalog.categories);
    }
    ExpectSameText(exported.Output(), again.Output());
    EXPECT_EQ(60u, catalog.foods.size()) << "embedded ingredients find themselves in the catalog";
  }
}

TEST_P(RoundTrip, MealsAsXml) {
  MemoryCatalog catalog;
  FillCatalog(catalog);
  XMLDoc exported;
  for (int i = 0; i < kRecords; ++i) {
    Meal meal;
    gen.FillFood(meal, ++counter, categories, false);
    meal.items = Items(catalog);
    meal.comment = gen.Text(12, true);
    meal.mealType = static_cast<int32_t>(gen.Below(kMealTypeCount));
    meal.date = CalendarDate(1990 + gen.Below(50), 1 + gen.Below(12), 1 + gen.Below(28));
    meal.WriteDiaryElement(exported);
  }
  XMLDoc reader;
  reader.SetText(exported.Output());
  CategoryList readDiaries;
  uint32_t readCounter = 0;
  XMLDoc again;
  int read = 0;
  while (reader.NextTag()) {
    Meal meal;
    ASSERT_TRUE(meal.ReadDiaryElement(reader, readDiaries, readCounter, catalog));
    meal.WriteDiaryElement(again);
    ++read;
  }
  EXPECT_EQ(kRecords, read);
  ExpectSameText(exported.Output(), again.Output());
}

TEST_P(RoundTrip, ShoppingListsAsXml) {
  MemoryCatalog catalog;
  FillCatalog(catalog);
  XMLDoc exported;
  for (int i = 0; i < kRecords; ++i) {
    Meal list;
    SetShoppingListId(list, ++counter);
    list.name = gen.Text(6, true);
    list.items = Items(catalog);
    WriteShoppingListElement(exported, list);
  }
  XMLDoc reader;
  reader.SetText(exported.Output());
  XMLDoc again;
  int read = 0;
  while (reader.NextTag()) {
    Meal list;
    ASSERT_TRUE(ReadShoppingListElement(reader, list, catalog));
    WriteShoppingListElement(again, list);
    ++read;
  }
  EXPECT_EQ(kRecords, read);
  ExpectSameText(exported.Output(), again.Output());
  EXPECT_EQ(60u, catalog.foods.size()) << "listed foods find themselves in the catalog by name";
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTrip, ::testing::Values(1u, 2u, 3u));

}  // namespace
