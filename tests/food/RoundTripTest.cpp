// Export, import and export again gives the same text, for ingredients and recipes in both exchange
// forms (CSV rows and FOOD / RECIPE elements) and for diary meals and shopping lists (DIARY and
// SHOPLIST elements), over seeded records with awkward content: quotes, commas, line breaks, tabs,
// U+00B4, accented and non-Latin letters, fractions, the blank unit, empty fields and long texts.
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

  // Text from awkward pieces, now and then a long one.
  WString Text(uint32_t maxPieces, bool lineBreaks, bool tabs = true) {
    static const WChar* const kPieces[] = {
        TXT("Flour"),  TXT("a"),      TXT("Z"),      TXT(" "),      TXT(","),      TXT("\""),
        TXT("''"),     TXT("\u00B4"), TXT("&"),      TXT("<b>"),    TXT("&amp;"),  TXT("1/2"),
        TXT("2  "),    TXT("cup"),    TXT("\u00E9"), TXT("\u00DF"), TXT("\u0416"), TXT("\u65E5\u672C"),
        TXT("\u00C6"), TXT("/"),      TXT(";"),      TXT("\u00A0"), TXT("e5"),     TXT("\u0661"),
    };
    WString text;
    for (uint32_t i = 1 + Below(maxPieces); i > 0; --i) {
      if (lineBreaks && OneIn(8)) text += TXT("\r\n");
      if (tabs && OneIn(12)) text += TXT('\t');
      text += kPieces[Below(std::size(kPieces))];
    }
    if (OneIn(40)) text += WString(400 + Below(2000), TXT('x'));
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
    const double whole = Below(1000), fraction = Below(100000) / 64.0, huge = (1 + Below(999)) * 1e7;
    const double kinds[] = {0, whole, fraction, huge, (1 + Below(999)) * 1e-7, -double(Below(50)) / 4};
    return kinds[Below(6)];
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
  void FillCatalog(MemoryCatalog& catalog, bool lineFoods) {
    FillCategories(catalog.categories, catalog.counter);
    for (int i = 0; i < 60; ++i)
      FillFood(catalog.foods.emplace_back(), ++catalog.counter, catalog.categories, lineFoods);
  }
  Ingredient& AnyFood(MemoryCatalog& catalog) {
    return *std::next(catalog.foods.begin(), Below(static_cast<uint32_t>(catalog.foods.size())));
  }

  // Items of the catalog's foods at editor amounts in any unit.
  std::vector<MealItem> Items(MemoryCatalog& catalog) {
    std::vector<MealItem> items;
    for (uint32_t n = Below(8); n > 0; --n)
      items.push_back(MealItem{Amount(), static_cast<int32_t>(Below(kUnitCount)), &AnyFood(catalog)});
    return items;
  }

 private:
  std::mt19937 rng_;
  std::set<WString> taken_;
};

// Compared as UTF-8, so that a difference shows as a diff of the lines.
void ExpectSameText(const WString& expected, const WString& actual) {
  EXPECT_EQ(ToUtf8(expected), ToUtf8(actual));
}

// Exports the records as CSV with the column headers, reads each row back by `read` into a new
// record (the header mapped as the importers map it) and expects the same text from their export.
template <class Record, class Read>
void CsvAgain(const std::vector<Record>& records, const CategoryList& categories, uint32_t columns,
              const CategoryList& readCategories, Read read) {
  const auto text = [columns](const std::vector<Record>& all, const CategoryList& named) {
    WString out;
    for (uint32_t c = 0; c < columns; ++c) AppendCsvField(out, EnglishTextById(kTextColumnFirst + c), c == 0);
    for (const Record& record : all) {
      out += TXT("\r\n");
      for (uint32_t c = 0; c < columns; ++c)
        AppendCsvField(out, Cell(record, c, named, NutrientFormat{true, true}, true, true), c == 0);
    }
    return out + TXT("\r\n");
  };
  const WString exported = text(records, categories);
  const std::vector<WStringView> lines = CsvLines(exported);
  const CsvRow header = SplitCsvLine(lines.at(0));
  CsvColumnMap map;
  for (uint32_t c = 0; c < columns; ++c)
    for (size_t field = 0; field < header.size(); ++field)
      if (EqualsNoCase(NormalisedHeader(header[field]),
                       NormalisedHeader(EnglishTextById(kTextColumnFirst + c))))
        map.position[c] = static_cast<uint32_t>(field);
  std::vector<Record> again;
  for (size_t n = 1; n < lines.size(); ++n)
    if (Record record; read(record, SplitCsvLine(lines[n]), map)) again.push_back(std::move(record));
  EXPECT_EQ(records.size(), again.size());
  ExpectSameText(exported, text(again, readCategories));
}

// Reads the elements of the exported text one by one with `readAndWrite`, which writes each again,
// and compares the texts; returns the number of elements read.
template <class ReadAndWrite>
int XmlAgain(const XMLDoc& exported, ReadAndWrite readAndWrite) {
  XMLDoc reader, again;
  reader.SetText(exported.Output());
  int read = 0;
  for (; reader.NextTag(); ++read)
    if (!readAndWrite(reader, again)) {
      ADD_FAILURE() << "element " << read << " not read";
      break;
    }
  ExpectSameText(exported.Output(), again.Output());
  return read;
}

class RoundTrip : public ::testing::TestWithParam<uint32_t> {
 protected:
  RoundTrip() : gen(GetParam()) { gen.FillCategories(categories, counter); }

  Generator gen;
  CategoryList categories, readCategories;
  uint32_t counter = 0, readCounter = 0;
  MemoryCatalog catalog;
};

// As CSV rows, and as FOOD elements with category ids and with category names.
TEST_P(RoundTrip, Ingredients) {
  std::vector<Ingredient> foods(kRecords);
  for (Ingredient& food : foods) gen.FillFood(food, ++counter, categories, false);
  CsvAgain(foods, categories, kFoodColumnCount, readCategories,
           [&](Ingredient& food, const CsvRow& row, const CsvColumnMap& map) {
             return food.ImportCsvRow(row, readCategories, UnitNames(), readCounter, map);
           });
  for (const bool byName : {false, true}) {
    CategoryList named;  // created anew from the names read
    XMLDoc exported;
    for (const Ingredient& food : foods)
      WriteFood(exported, food, byName ? categories.NameById(food.catId) : nullptr);
    EXPECT_EQ(kRecords, XmlAgain(exported, [&](XMLDoc& reader, XMLDoc& again) {
                Ingredient food;
                const bool read = ReadFood(reader, food, named, readCounter);
                WriteFood(again, food, byName ? named.NameById(food.catId) : nullptr);
                return read;
              }));
  }
}

// Recipes whose lines use the catalog's ingredients, as CSV rows and as RECIPE elements with the
// ingredients by id and embedded; embedded ones find themselves in the catalog.
TEST_P(RoundTrip, Recipes) {
  gen.FillCatalog(catalog, true);
  std::vector<Recipe> recipes(kRecords / 2);
  for (Recipe& recipe : recipes) {
    gen.FillFood(recipe, ++counter, categories, false);
    for (uint32_t n = gen.Below(6); n > 0; --n) {
      Ingredient& food = gen.AnyFood(catalog);
      const WString displayName = gen.OneIn(3) ? gen.Text(4, true) : WString();
      recipe.lines.push_back(
          RecipeLine{gen.Amount(), static_cast<int32_t>(gen.Below(kUnitCount)), displayName, &food});
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
  CsvAgain(recipes, categories, kRecipeColumnCount, readCategories,
           [&](Recipe& recipe, const CsvRow& row, const CsvColumnMap& map) {
             return recipe.ImportCsvRecipeRow(row, readCategories, UnitNames(), readCounter, map, catalog);
           });
  for (const bool embed : {false, true}) {
    CategoryList named;
    XMLDoc exported;
    for (const Recipe& recipe : recipes)
      recipe.WriteRecipeElement(exported, embed, categories, catalog.categories);
    EXPECT_EQ(kRecords / 2, XmlAgain(exported, [&](XMLDoc& reader, XMLDoc& again) {
                Recipe recipe;
                const bool read = recipe.ReadRecipeElement(reader, named, readCounter, catalog);
                recipe.WriteRecipeElement(again, embed, named, catalog.categories);
                return read;
              }));
    EXPECT_EQ(60u, catalog.foods.size());
  }
}

// Diary meals and shopping lists of the catalog's foods; listed foods find themselves in the
// catalog by name.
TEST_P(RoundTrip, MealsAndShoppingLists) {
  gen.FillCatalog(catalog, false);
  XMLDoc meals, lists;
  for (int i = 0; i < kRecords; ++i) {
    Meal meal, list;
    gen.FillFood(meal, ++counter, categories, false);
    meal.items = gen.Items(catalog);
    meal.comment = gen.Text(12, true);
    meal.mealType = static_cast<int32_t>(gen.Below(kMealTypeCount));
    meal.date = CalendarDate(1990 + gen.Below(50), 1 + gen.Below(12), 1 + gen.Below(28));
    meal.WriteDiaryElement(meals);
    SetShoppingListId(list, ++counter);
    list.name = gen.Text(6, true);
    list.items = gen.Items(catalog);
    WriteShoppingListElement(lists, list);
  }
  EXPECT_EQ(kRecords, XmlAgain(meals, [&](XMLDoc& reader, XMLDoc& again) {
              Meal meal;
              const bool read = meal.ReadDiaryElement(reader, readCategories, readCounter, catalog);
              meal.WriteDiaryElement(again);
              return read;
            }));
  EXPECT_EQ(kRecords, XmlAgain(lists, [&](XMLDoc& reader, XMLDoc& again) {
              Meal list;
              const bool read = ReadShoppingListElement(reader, list, catalog);
              WriteShoppingListElement(again, list);
              return read;
            }));
  EXPECT_EQ(60u, catalog.foods.size());
}

INSTANTIATE_TEST_SUITE_P(Seeds, RoundTrip, ::testing::Values(1u, 2u, 3u));

}  // namespace
