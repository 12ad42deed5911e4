// Matching imported ingredient names to catalog entries: the shipped nutrient data, catalog names in
// the style of other food tables, misspellings and nonsense.
// Its speed on large catalogs is measured by bench/IngredientMatcherBench.cpp.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "storage/Csv.h"
#include "webrecipe/IngredientMatcher.h"
#include "webrecipe/WebRecipe.h"

namespace {

// The names of the foods of the nutrient file shipped beside the program, ids 1, 2, ... in file order.
std::vector<CatalogName> ShippedCatalog() {
  std::string bytes;
  for (const auto& entry : std::filesystem::directory_iterator(MIREPAN_DATA_DIR)) {
    if (IsCsvPath(FromUtf8(entry.path().filename().string())))
      EXPECT_TRUE(ReadFileBytes(FromUtf8(entry.path().string()), bytes));
  }
  const WString text = Utf16Units(bytes);
  const std::vector<WStringView> lines = CsvLines(text);
  const CsvRow header = SplitCsvLine(lines.at(0));
  const size_t name = std::find(header.begin(), header.end(), WString(TXT("Name"))) - header.begin();
  std::vector<CatalogName> catalog;
  for (size_t row = 1; row < lines.size(); ++row)
    catalog.push_back({static_cast<uint32_t>(row), SplitCsvLine(lines[row]).at(name)});
  return catalog;
}

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> parts;
  for (size_t bar; (bar = text.find('|')) != std::string_view::npos; text.remove_prefix(bar + 1))
    parts.push_back(text.substr(0, bar));
  parts.push_back(text);
  return parts;
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

// Names, misspellings (a word the catalog lacks counts as the catalog word it is nearly spelled as;
// no changed letter below 7 letters) and nonsense.
TEST(IngredientMatcher, NamesAgainstTheShippedData) {
  const MatchCase cases[] = {
      {"all-purpose flour", "Wheat flour, white, all-purpose"},
      {"large eggs", "Egg, whole, raw|Egg, poultry, whole, raw"},
      {"boneless chicken breasts", "Chicken, poultry, breast, skinless|Chicken, broilers or fryers, breast"},
      {"coconut oil", "Coconut oil|Oil, coconut"},
      {"green chilies", "Chillies, green|Peppers, hot chili, green"},
      {"fresh cilantro (coriander leaves)", "Coriander leaves|Coriander (cilantro) leaves"},
      {"olive oil", "Oil, olive"},
      {"kosher salt", "Salt, table"},
      {"egg whites", "Egg, white, raw"},
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
  ExpectMatches(ShippedCatalog(), cases);
}

// Recipe lines as sites print them, read by the line parser and matched against the shipped data:
// the start of the name each must match ("|" between choices, "" for none) and words its name must
// not hold ("|" between them, any letter case).
TEST(IngredientMatcher, RecipeLinesReadLikeACook) {
  const struct {
    const char* line;
    const char* expected;
    const char* never;
  } cases[] = {
      {"2 cups all-purpose flour", "Wheat flour, white, all-purpose", "self-rising"},
      {"1 cup whole wheat flour", "Wheat flour, whole", ""},
      {"1 large onion, diced", "Onion, big", ""},
      {"1 medium red onion, thinly sliced", "Onion", "dehydrated|cooked"},
      {"3 cloves garlic, minced", "Garlic", "bread"},
      {"1 (15 oz) can chickpeas, drained", "Chickpeas (garbanzo beans, bengal gram), mature seeds, canned",
       ""},
      {"1 cup dried chickpeas",
       "Chickpeas (garbanzo beans, bengal gram), mature seeds, raw|Bengal gram, whole", ""},
      {"1 cup garbanzo beans", "Chickpeas (garbanzo|Bengal gram", ""},
      {"1/4 cup chopped fresh cilantro", "Coriander leaves|Coriander (cilantro) leaves, raw", "salsa|dried"},
      {"2 tablespoons olive oil", "Oil, olive", "corn|peanut"},
      {"2 tbsp extra virgin olive oil", "Oil, olive", "corn|peanut"},
      {"1 cup whole milk", "Milk, whole", "buttermilk"},
      {"1 cup milk", "Milk, whole|Milk, fluid", "fish|dried|buttermilk|chocolate"},
      {"1 cup coconut milk", "Nuts, coconut milk, raw|Nuts, coconut milk, canned", "pudding"},
      {"1/2 cup almond milk", "", ""},
      {"5 tablespoons sugar", "Sugars, granulated", "melon"},
      {"1 cup packed brown sugar", "Sugars, brown", ""},
      {"1 red bell pepper", "Peppers, sweet, red, raw|Capsicum, red", ""},
      {"1 green capsicum, chopped", "Capsicum, green|Peppers, sweet, green, raw", ""},
      {"salt and pepper to taste", "", ""},
      {"1 tsp salt", "Salt, table", ""},
      {"1/2 tsp black pepper", "Pepper, black|Spices, pepper, black", ""},
      {"3 spring onions, sliced", "Onions, spring or scallions|Onion, stalk", ""},
      {"2 scallions", "Onions, spring or scallions", ""},
      {"1 tsp ground cumin", "Spices, cumin seed|Cumin seeds", ""},
      {"1 tsp cumin seeds", "Cumin seeds|Spices, cumin seed", ""},
      {"1 stick butter", "Butter, salted|Butter, without salt", "oil|bur"},
      {"1/2 cup unsalted butter, softened", "Butter, without salt", "light"},
      {"1 cup sour cream", "Cream, sour, cultured", "light|reduced|free"},
      {"1 cup plain yogurt", "Yogurt, plain", ""},
      {"2 large eggs", "Egg, whole, raw|Egg, poultry, whole, raw", ""},
      {"3 egg whites", "Egg, white, raw", ""},
      {"300 g carrot, orange", "Carrot, orange", ""},
      {"2 carrots, peeled and grated", "Carrots, raw|Carrot, orange", ""},
      {"1 (14.5 oz) can diced tomatoes", "Tomatoes, red, ripe, canned|Tomatoes, crushed, canned", ""},
      {"2 ripe tomatoes, chopped", "Tomatoes, red, ripe, raw|Tomato, ripe", "cooked|canned"},
      {"2 tbsp tomato paste", "Tomato products, canned, paste", ""},
      {"1 lb boneless skinless chicken breasts",
       "Chicken, poultry, breast, skinless|Chicken, broilers or fryers, breast, meat only, raw", ""},
      {"1 lb ground beef", "Beef, ground", ""},
      {"8 oz cheddar cheese, shredded", "Cheese, cheddar", ""},
      {"1/2 cup grated parmesan cheese", "Cheese, parmesan, grated", ""},
      {"1 cup heavy cream", "Cream, fluid, heavy whipping", ""},
      {"1 cup long grain rice", "Rice, white, long-grain, regular, raw|Rice, brown, long-grain, raw", ""},
      {"2 medium potatoes, peeled and cubed", "Potatoes, ", "french|baked|canned|frozen"},
      {"1 tsp baking powder", "Leavening agents, baking powder", "low-sodium"},
      {"1 tsp baking soda", "Leavening agents, baking soda", ""},
      {"1 tsp ground cinnamon", "Spices, cinnamon, ground", ""},
      {"1/2 tsp turmeric", "Turmeric powder|Spices, turmeric, ground", ""},
      {"1 tbsp honey", "Honey", "loaf|roll"},
      {"1 tbsp fresh lemon juice", "Lemon juice, raw|Lemon, juice", ""},
      {"1 lemon", "Lemons, raw", ""},
      {"1 (15 oz) can kidney beans, rinsed and drained", "Beans, kidney", "liquid"},
      {"1 cup frozen peas", "Peas, green, frozen", ""},
      {"1 cup chicken broth", "Soup, chicken broth", "no broth"},
      {"1 cup rolled oats", "Cereals, oats|Oats", "ready-to-eat"},
      {"2 tbsp dried parsley", "Spices, parsley, dried|Parsley, freeze-dried", ""},
      {"1 cup cashews", "Cashew nut|Nuts, cashew nuts, raw", ""},
      {"2 bananas, mashed", "Bananas, raw|Banana", ""},
  };
  const std::vector<CatalogName> catalog = ShippedCatalog();
  const IngredientMatcher matcher(catalog);
  for (const auto& c : cases) {
    const ImportedLine line = ParseIngredientLine(std::string_view(c.line));
    std::string name;
    if (const std::optional<IngredientMatch> match = matcher.Match(line.name, line.original))
      name = ToUtf8(catalog.at(match->id - 1).name);
    bool right = !*c.expected && name.empty();
    for (std::string_view start : Split(c.expected))
      right |= *c.expected && name.compare(0, start.size(), start) == 0;
    std::string folded = name;
    for (char& ch : folded) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    for (std::string_view word : Split(c.never))
      right &= word.empty() || folded.find(word) == std::string::npos;
    EXPECT_TRUE(right) << c.line << " matched \"" << name << "\"";
  }
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
