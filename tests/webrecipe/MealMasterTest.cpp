// MealMaster files: one and several recipes, both header forms, columns, continuations, headings.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "webrecipe/RecipeText.h"
#include "webrecipe/WebRecipe.h"

namespace {

std::string ReadFile(const char* name) {
  std::ifstream in(std::string(MIREPAN_PAGES_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Expected {
  const char* original;  // "" for any
  double amount;
  ServingUnit unit;
  const char* name;
  bool heading;
};

void ExpectLines(const std::vector<Expected>& expected, const ImportedRecipe& recipe) {
  ASSERT_EQ(expected.size(), recipe.lines.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const ImportedLine& line = recipe.lines[i];
    if (*expected[i].original) {
      EXPECT_EQ(expected[i].original, ToUtf8(line.original)) << i;
    }
    EXPECT_NEAR(expected[i].amount, line.amount, 1e-9) << i;
    EXPECT_EQ(expected[i].unit, line.unit) << i;
    EXPECT_EQ(expected[i].name, ToUtf8(line.name)) << i;
    EXPECT_EQ(expected[i].heading, line.isHeading) << i;
  }
}

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
  ExpectLines({{"1 c Butter, softened", 1, kUnitCup, "Butter", false},
               {"3/4 c Sugar", 0.75, kUnitCup, "Sugar", false},
               {"2 Eggs", 2, kUnitBlank, "Eggs", false},
               {"2 1/4 c Flour", 2.25, kUnitCup, "Flour", false},
               {"1 ts Baking soda", 1, kUnitTeaspoon, "Baking soda", false},
               {"1 pk Chocolate chips (12 oz) -coarsely chopped", 1, kUnitBlank, "Chocolate chips", false},
               {"1 T Vanilla", 1, kUnitTablespoon, "Vanilla", false},
               {"GLAZE", 0, kUnitBlank, "GLAZE", true},
               {"1 c Powdered sugar", 1, kUnitCup, "Powdered sugar", false},
               {"2 tb Milk", 2, kUnitTablespoon, "Milk", false}},
              cookies);
  EXPECT_EQ(
      "1. Cream butter and sugar. Beat in eggs. Stir in flour and soda.\r\n"
      "2. Fold in chips. Bake at 375 F for 10 minutes.",
      ToUtf8(cookies.instructions));

  // Two columns read row by row; a continuation joins the ingredient above it in its own column.
  const ImportedRecipe& soup = file.recipes[1];
  EXPECT_EQ("Tomato Soup", ToUtf8(soup.name));
  EXPECT_EQ(4, soup.serves);
  ExpectLines({{"2 lb Tomatoes", 2, kUnitPound, "Tomatoes", false},
               {"1 md Onion, chopped", 1, kUnitBlank, "Onion", false},
               {"1 qt Chicken stock", 1, kUnitQuart, "Chicken stock", false},
               {"2 tb Butter", 2, kUnitTablespoon, "Butter", false},
               {"1/2 ts Salt", 0.5, kUnitTeaspoon, "Salt", false},
               {"x Pepper -to taste", 0, kUnitBlank, "Pepper", false},
               {"1 pn Sugar", 1, kUnitPinch, "Sugar", false}},
              soup);
  EXPECT_EQ("1. Simmer everything for 30 minutes.\r\n2. Puree and serve hot.", ToUtf8(soup.instructions));
}

TEST(MealMaster, DashedHeaderAndEnd) {
  const MealMasterFile file = ReadMealMaster(ReadFile("dashes.mm"));
  ASSERT_EQ(1u, file.recipes.size());
  const ImportedRecipe& bread = file.recipes[0];
  EXPECT_EQ("Quick Beer Bread", ToUtf8(bread.name));
  EXPECT_EQ("Breads", ToUtf8(bread.category));
  EXPECT_EQ(1, bread.serves);
  ExpectLines({{"3 c Self-rising flour", 3, kUnitCup, "Self-rising flour", false},
               {"1 cn Beer (12 oz)", 1, kUnitBlank, "Beer", false},
               {"3 T Sugar", 3, kUnitTablespoon, "Sugar", false},
               {"TOPPING", 0, kUnitBlank, "TOPPING", true},
               {"2 tb Butter; melted", 2, kUnitTablespoon, "Butter", false}},
              bread);
  EXPECT_EQ(
      "1. Mix flour, beer and sugar. Pour into a greased loaf pan. Drizzle with butter and bake at 350 F for "
      "1 "
      "hour.",
      ToUtf8(bread.instructions));
}

// Unit codes of the amount columns: one-letter "t" and "T" with case, others without; some scale the amount.
TEST(MealMaster, UnitCodes) {
  const struct {
    const char* code;
    double amount;
    ServingUnit unit;
  } cases[] = {
      {"x ", 2, kUnitBlank},    {"md", 2, kUnitBlank},       {"pn", 2, kUnitPinch},
      {"t ", 2, kUnitTeaspoon}, {"T ", 2, kUnitTablespoon},  {"TB", 2, kUnitTablespoon},
      {"fl", 0.25, kUnitCup},   {"cl", 20, kUnitMilliliter}, {"mg", 0.002, kUnitGram},
      {"KG", 2, kUnitKilogram},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const MealMasterFile file = ReadMealMaster(Recipe(std::string("      2 ") + c.code + " Thing\n"));
    ASSERT_EQ(1u, file.recipes.size());
    ExpectLines({{"", c.amount, c.unit, "Thing", false}}, file.recipes[0]);
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
