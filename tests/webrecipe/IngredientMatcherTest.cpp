// Matching imported ingredient names to catalog entries: the shipped nutrient data, catalog names in
// the style of other food tables, misspellings and nonsense.
// Its speed on large catalogs is measured by bench/IngredientMatcherBench.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "storage/Csv.h"
#include "webrecipe/IngredientMatcher.h"

namespace {

// The names of the IFCT foods of the nutrient file shipped beside the program, ids 1, 2, ... in file
// order. Its USDA foods (categories ending in " (USDA)") are left out: the cases were chosen against these.
std::vector<CatalogName> ShippedCatalog() {
  std::string bytes;
  for (const auto& entry : std::filesystem::directory_iterator(MIREPAN_DATA_DIR))
    if (IsCsvPath(FromUtf8(entry.path().filename().string())))
      EXPECT_TRUE(ReadFileBytes(FromUtf8(entry.path().string()), bytes));
  const WString text = Utf16Units(bytes);
  const std::vector<WStringView> lines = CsvLines(text);
  const CsvRow header = SplitCsvLine(lines.at(0));
  const auto column = [&header](const WChar* name) {
    return std::find(header.begin(), header.end(), WString(name)) - header.begin();
  };
  const size_t name = column(TXT("Name")), category = column(TXT("Category"));
  const WString usda = TXT(" (USDA)");
  std::vector<CatalogName> catalog;
  for (size_t row = 1; row < lines.size(); ++row) {
    const CsvRow fields = SplitCsvLine(lines[row]);
    const WString& group = fields.at(category);
    if (group.size() < usda.size() || group.compare(group.size() - usda.size(), usda.size(), usda) != 0)
      catalog.push_back({static_cast<uint32_t>(row), fields.at(name)});
  }
  return catalog;
}

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> parts;
  for (size_t bar; (bar = text.find('|')) != std::string_view::npos; text.remove_prefix(bar + 1))
    parts.push_back(text.substr(0, bar));
  parts.push_back(text);
  return parts;
}

// Names in the style of national food tables, split by "|": the food first, then its kind and state.
std::vector<CatalogName> CombinedCatalog() {
  std::vector<CatalogName> catalog = ShippedCatalog();
  const char* names =
      "Flour, wheat, all-purpose, enriched, bleached|Flour, wheat, whole-grain|Flour, rice, white|"
      "Milk, whole, 3.25% milkfat, with added vitamin D|Milk, reduced fat, fluid, 2% milkfat|"
      "Milk, nonfat, fluid, skim|Butter, salted|Butter, without salt|Egg, whole, raw, fresh|"
      "Egg, white, raw, fresh|Sugars, granulated|Sugars, brown|Oil, olive, salad or cooking|Oil, canola|"
      "Garlic, raw|Salt, table|Leavening agents, baking soda|Leavening agents, baking powder, double-acting|"
      "Beans, black, mature seeds, canned|Cream, fluid, heavy whipping|Cheese, cheddar|"
      "Spices, turmeric, ground|Spices, cinnamon, ground|Vanilla extract|Cherries, sweet, raw";
  uint32_t id = 10000;
  for (std::string_view name : Split(names)) catalog.push_back({id++, FromUtf8(name)});
  return catalog;
}

// Each row: a query and the start of the name it matches, or of one of several split by "|"; ""
// for none.
struct MatchCase {
  const char* query;
  const char* expected;
};

template <size_t N>
void ExpectMatches(const std::vector<CatalogName>& catalog, const MatchCase (&cases)[N]) {
  const IngredientMatcher matcher(catalog);
  for (const MatchCase& c : cases) {
    std::string name;
    if (const std::optional<IngredientMatch> match = matcher.Match(FromUtf8(c.query))) {
      const auto entry = std::find_if(catalog.begin(), catalog.end(),
                                      [&](const CatalogName& e) { return e.id == match->id; });
      ASSERT_NE(catalog.end(), entry) << "no entry has the id " << match->id;
      name = ToUtf8(entry->name);
    }
    bool matched = false;
    for (std::string_view start : Split(c.expected)) matched |= name.compare(0, start.size(), start) == 0;
    EXPECT_TRUE(*c.expected ? matched : name.empty()) << c.query << " matched \"" << name << "\"";
  }
}

// Where the shipped data has no such food, nothing matches: no other oil, salt or sugar instead.
TEST(IngredientMatcher, RecipeNamesAgainstTheShippedData) {
  const MatchCase cases[] = {
      {"all-purpose flour", "Wheat flour, "},
      {"large eggs", "Egg, poultry, whole, raw"},
      {"boneless chicken breasts", "Chicken, poultry, breast, skinless"},
      {"coconut oil", "Coconut oil"},
      {"green chilies", "Chillies, green"},
      {"fresh cilantro (coriander leaves)", "Coriander leaves"},
      {"olive oil", ""},
      {"kosher salt", ""},
  };
  ExpectMatches(ShippedCatalog(), cases);
}

// A word the catalog lacks counts as the catalog word it is nearly spelled as; no edit for words
// below 7 letters. Nonsense matches nothing.
TEST(IngredientMatcher, TableStyleNamesMisspellingsAndNonsense) {
  const MatchCase cases[] = {
      {"all-purpose flour", "Flour, wheat, all-purpose"},
      {"whole milk", "Milk, whole, "},
      {"large eggs", "Egg, "},
      {"egg whites", "Egg, white, raw, fresh"},
      {"light brown sugar", "Sugars, brown"},
      {"sweet cherries", "Cherries, sweet"},
      {"tumeric", "Spices, turmeric, ground|Turmeric powder"},
      {"cinammon", "Spices, cinnamon, ground"},
      {"chedder cheese", "Cheese, cheddar"},
      {"bitter butter", "Butter, "},
      {"xyzzy plugh", ""},
      {"", ""},
      {"of the and", ""},
      {"12 34", ""},
      {"large chopped", ""},
      {"motor oil additive", ""},
  };
  ExpectMatches(CombinedCatalog(), cases);
}

// A name equal to an entry's, in any letter case, is that entry with score 1, even where another
// entry holds more of its words. Of entries holding all the words, the one with fewer other words
// wins; rarer words outweigh common ones.
TEST(IngredientMatcher, ExactNamesFirstThenFewerAndRarerWords) {
  const std::vector<CatalogName> catalog = {
      {7, TXT("Apple pie spice")},
      {8, TXT("Apple")},
      {9, TXT("apple")},
      {1, TXT("Beans, green, raw")},
      {2, TXT("Beans, green, canned, drained, with salt")},
      {3, TXT("Peas, green, raw")},
      {4, TXT("Beans, kidney, raw")},
      {5, TXT("Lettuce, green")},
      {6, TXT("Peppers, green")},
  };
  const IngredientMatcher matcher(catalog);
  for (const WChar* query : {TXT("APPLE"), TXT("apple"), TXT("Apple")}) {
    const IngredientMatch match = matcher.Match(query).value();
    EXPECT_EQ(std::pair(8u, 1.0), std::pair(match.id, match.score)) << ToUtf8(query);
  }
  const IngredientMatch byWords = matcher.Match(TXT("apples")).value();
  EXPECT_EQ(8u, byWords.id);  // the earlier of two equal entries
  EXPECT_TRUE(byWords.score < 1.0 && byWords.score >= IngredientMatcher::kThreshold) << byWords.score;
  EXPECT_EQ(1u, matcher.Match(TXT("green beans"))->id);
  EXPECT_EQ(4u, matcher.Match(TXT("kidney beans, green"))->id);
  // A size the name gives picks the entry of that size, in the catalog's own word for it.
  const IngredientMatcher onions({{1, TXT("Onion")}, {2, TXT("Onion, big")}, {3, TXT("Onion, small")}});
  EXPECT_EQ(std::tuple(onions.Match(TXT("large onion"))->id, onions.Match(TXT("onion"))->id,
                       onions.Match(TXT("little onions"))->id),
            std::tuple(2u, 1u, 3u));
  const double full = matcher.Match(TXT("green beans"))->score;
  const double partial = matcher.Match(TXT("green kidney"))->score;
  EXPECT_GT(full, partial);
}

TEST(IngredientMatcher, WordsAsCompared) {
  const struct {
    const char* name;
    std::vector<std::string> words;
  } cases[] = {
      {"Tomatoes, red, ripe, raw", {"tomato", "red", "ripe"}},
      {"Cherries; BERRY; berries", {"cherri", "berri"}},
      {"Baker's yeast, 3.25% milkfat", {"baker", "yeast", "milkfat"}},
      {"Glasses of peaches in boxes", {"glass", "peach", "box"}},
      {"Hummus with asparagus", {"hummus", "asparagus"}},
      {"JALAPEÑOS ÉPICES", {"jalapeño", "épice"}},
      {"a b 12 x", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.words, MatchWords(FromUtf8(c.name))) << c.name;
}

}  // namespace
