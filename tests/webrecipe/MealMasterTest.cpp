// MealMaster files: one and several recipes, both header forms, columns, continuations, headings.
#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>
#include <string>

#include "webrecipe/RecipeText.h"
#include "webrecipe/WebRecipe.h"

namespace {

std::string ReadFile(const char* name) {
  std::ifstream in(std::string(MIREPAN_PAGES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each line of the recipe as "original: amount unit, name", with "# " before a heading's; the blank
// unit shows nothing, a unit without a name its number.
std::vector<std::string> LinesOf(const ImportedRecipe& recipe) {
  std::vector<std::string> lines;
  for (const ImportedLine& line : recipe.lines) {
    std::ostringstream text;
    const WString* name = UnitNames().NameById(line.unit);
    const std::string unit = line.unit == kUnitBlank  ? ""
                             : name && !name->empty() ? " " + ToUtf8(*name)
                                                      : " #" + std::to_string(line.unit);
    text << std::setprecision(12) << (line.isHeading ? "# " : "") << ToUtf8(line.original) << ": "
         << line.amount << unit << ", " << ToUtf8(line.name);
    lines.push_back(text.str());
  }
  return lines;
}
using Lines = std::vector<std::string>;

std::string Recipe(const std::string& ingredients, const std::string& directions = "Stir.\n") {
  return "MMMMM----- Recipe via Meal-Master (tm) v8.05\n\n      Title: Test\n\n" + ingredients + "\n" +
         directions + "MMMMM\n";
}

TEST(MealMaster, SeveralRecipesInOneFile) {
  const MealMasterFile file = ReadMealMaster(ReadFile("several.mmf"));
  ASSERT_EQ(RecipeImportError::kNone, file.error);
  ASSERT_EQ(2u, file.recipes.size());
  const ImportedRecipe& cookies = file.recipes[0];
  EXPECT_EQ("Chocolate Chip Cookies", ToUtf8(cookies.name));
  EXPECT_EQ("Cookies", ToUtf8(cookies.category));
  EXPECT_EQ(36, cookies.serves);
  EXPECT_EQ((Lines{"1 c Butter, softened: 1 cup, Butter", "3/4 c Sugar: 0.75 cup, Sugar", "2 Eggs: 2, Eggs",
                   "2 1/4 c Flour: 2.25 cup, Flour", "1 ts Baking soda: 1 tsp, Baking soda",
                   "1 pk Chocolate chips (12 oz) -coarsely chopped: 1, Chocolate chips",
                   "1 T Vanilla: 1 Tbl, Vanilla", "# GLAZE: 0, GLAZE",
                   "1 c Powdered sugar: 1 cup, Powdered sugar", "2 tb Milk: 2 Tbl, Milk"}),
            LinesOf(cookies));
  EXPECT_EQ(
      "1. Cream butter and sugar. Beat in eggs. Stir in flour and soda.\r\n"
      "2. Fold in chips. Bake at 375 F for 10 minutes.",
      ToUtf8(cookies.instructions));

  // Two columns read row by row; a continuation joins the ingredient above it in its own column.
  const ImportedRecipe& soup = file.recipes[1];
  EXPECT_EQ("Tomato Soup", ToUtf8(soup.name));
  EXPECT_EQ(4, soup.serves);
  EXPECT_EQ(
      (Lines{"2 lb Tomatoes: 2 Lb, Tomatoes", "1 md Onion, chopped: 1, Onion",
             "1 qt Chicken stock: 1 quart, Chicken stock", "2 tb Butter: 2 Tbl, Butter",
             "1/2 ts Salt: 0.5 tsp, Salt", "x Pepper -to taste: 0, Pepper", "1 pn Sugar: 1 pinch, Sugar"}),
      LinesOf(soup));
  EXPECT_EQ("1. Simmer everything for 30 minutes.\r\n2. Puree and serve hot.", ToUtf8(soup.instructions));
}

TEST(MealMaster, DashedHeaderAndEnd) {
  const MealMasterFile file = ReadMealMaster(ReadFile("dashes.mm"));
  ASSERT_EQ(1u, file.recipes.size());
  const ImportedRecipe& bread = file.recipes[0];
  EXPECT_EQ("Quick Beer Bread", ToUtf8(bread.name));
  EXPECT_EQ("Breads", ToUtf8(bread.category));
  EXPECT_EQ(1, bread.serves);
  EXPECT_EQ((Lines{"3 c Self-rising flour: 3 cup, Self-rising flour", "1 cn Beer (12 oz): 1, Beer",
                   "3 T Sugar: 3 Tbl, Sugar", "# TOPPING: 0, TOPPING", "2 tb Butter; melted: 2 Tbl, Butter"}),
            LinesOf(bread));
  EXPECT_EQ(
      "1. Mix flour, beer and sugar. Pour into a greased loaf pan. Drizzle with butter and bake at 350 F "
      "for 1 hour.",
      ToUtf8(bread.instructions));
}

// Unit codes of the amount columns: one-letter "t" and "T" with case, others without; some scale the amount.
TEST(MealMaster, UnitCodes) {
  const std::pair<const char*, const char*> cases[] = {
      {"x ", "2 x Thing: 2, Thing"},         {"md", "2 md Thing: 2, Thing"},
      {"pn", "2 pn Thing: 2 pinch, Thing"},  {"t ", "2 t Thing: 2 tsp, Thing"},
      {"T ", "2 T Thing: 2 Tbl, Thing"},     {"TB", "2 TB Thing: 2 Tbl, Thing"},
      {"fl", "2 fl Thing: 0.25 cup, Thing"}, {"cl", "2 cl Thing: 20 mL, Thing"},
      {"mg", "2 mg Thing: 0.002 g, Thing"},  {"KG", "2 KG Thing: 2 kg, Thing"},
  };
  for (const auto& [code, read] : cases) {
    const MealMasterFile file = ReadMealMaster(Recipe(std::string("      2 ") + code + " Thing\n"));
    ASSERT_EQ(1u, file.recipes.size()) << code;
    EXPECT_EQ(Lines{read}, LinesOf(file.recipes[0]));
  }
}

// Short files and what they read as: the recipe's name, the originals of its lines and its
// directions; "" for none. Lines that break the columns end the ingredients, what follows is
// directions; a recipe the file ends in without its end line still counts, a header alone does not.
TEST(MealMaster, ShortFiles) {
  const std::pair<std::string, const char*> files[] = {
      {Recipe("      1 c  Rice\n      2 zz Mystery\n      1 c  Not an ingredient any more\n",
              "  Cook the rice.\n"),
       "Test|1 c Rice|1. 2 zz Mystery 1 c Not an ingredient any more\r\n2. Cook the rice."},
      // Line ends of every kind, tabs and 8-bit text.
      {"MMMMM----- RECIPE VIA MEAL-MASTER\r      Title: Cr\xE8me Caramel\r\n\r\n    1/2\tc  "
       "Milk\r\n\r\nBake.\r\nMMMMM",
       "Crème Caramel|1/2 c Milk|1. Bake."},
      {"MMMMM----- Recipe via Meal-Master\n      Title: Cut\n\n      1 c  Flour\n", "Cut|1 c Flour|"},
      {"", ""},
      {"MMMMM----- Recipe via Meal-Master\n\nMMMMM\n", ""},
      {"<html><body>MMMMM</body></html>", ""},
      {"-----\n-----\n", ""},
  };
  for (const auto& [text, read] : files) {
    const MealMasterFile file = ReadMealMaster(text);
    EXPECT_EQ(*read ? RecipeImportError::kNone : RecipeImportError::kNoRecipe, file.error) << text;
    ASSERT_EQ(*read ? 1u : 0u, file.recipes.size()) << text;
    if (!*read) continue;
    std::string lines;
    for (const ImportedLine& line : file.recipes[0].lines)
      lines += (lines.empty() ? "" : ";") + ToUtf8(line.original);
    EXPECT_EQ(read, ToUtf8(file.recipes[0].name) + "|" + lines + "|" + ToUtf8(file.recipes[0].instructions));
  }
}

}  // namespace
