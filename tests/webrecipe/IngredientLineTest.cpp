// Ingredient lines as recipe sites publish them, each split into amount, unit and name.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "webrecipe/RecipeText.h"
#include "webrecipe/WebRecipe.h"

namespace {

struct LineCase {
  const char* line;
  double amount;
  ServingUnit unit;
  const char* name;
};

void ExpectLines(const std::vector<LineCase>& cases) {
  for (const LineCase& c : cases) {
    const ImportedLine line = ParseIngredientLine(std::string_view(c.line));
    EXPECT_NEAR(c.amount, line.amount, 1e-9) << c.line;
    EXPECT_EQ(c.unit, line.unit) << c.line;
    EXPECT_EQ(c.name, ToUtf8(line.name)) << c.line;
    EXPECT_FALSE(line.isHeading) << c.line;
  }
}

TEST(IngredientLine, AmountsAndUnits) {
  ExpectLines({
      // Whole, decimal and mixed amounts; "1-1/2" is one amount, "2-3" a range read as its start.
      {"1-1/2 cups sugar", 1.5, kUnitCup, "sugar"},
      {"1 and 1/2 cups oats", 1.5, kUnitCup, "oats"},
      {"1¹⁄₂ cups bread flour", 1.5, kUnitCup, "bread flour"},
      {".5 cup water", 0.5, kUnitCup, "water"},
      {"0,5 l Milch", 0.5, kUnitLiter, "Milch"},
      {"1,000 ml water", 1000, kUnitMilliliter, "water"},
      {"2 to 3 cloves garlic, minced", 2, kUnitClove, "garlic"},
      {"2–3 medium carrots, peeled and diced", 2, kUnitBlank, "medium carrots"},
      {"1 or 2 jalapeños, seeded", 1, kUnitBlank, "jalapeños"},
      // Vulgar fractions: Latin-1's first, both ends of the number forms' block, alone and after a number.
      {"¼ cup honey", 0.25, kUnitCup, "honey"},
      {"⅐ cup honey", 1.0 / 7, kUnitCup, "honey"},
      {"2⅞ cup honey", 2.875, kUnitCup, "honey"},
      {"1½ cups whole milk", 1.5, kUnitCup, "whole milk"},
      // One-letter units are matched with case, longer ones without; some words scale the amount.
      {"3 T butter", 3, kUnitTablespoon, "butter"},
      {"1 t salt", 1, kUnitTeaspoon, "salt"},
      {"2 TBSP. soy sauce", 2, kUnitTablespoon, "soy sauce"},
      {"2 fl. oz. dark rum", 0.25, kUnitCup, "dark rum"},
      {"1 fluid ounce lime juice", 0.125, kUnitCup, "lime juice"},
      {"5 cl lime juice", 50, kUnitMilliliter, "lime juice"},
      {"a pinch of nutmeg", 1, kUnitPinch, "nutmeg"},
      {"1 heaping tablespoon cocoa powder", 1, kUnitTablespoon, "cocoa powder"},
      // A second measure in brackets counts for nothing.
      {"¾ cup (180ml) milk", 0.75, kUnitCup, "milk"},
      // A package with its size counts as the size; without one it counts itself, its word dropped.
      {"One 28-ounce can whole tomatoes", 28, kUnitOunce, "whole tomatoes"},
      {"2 (15-ounce) cans chickpeas, drained and rinsed", 30, kUnitOunce, "chickpeas"},
      {"1 14.5-oz. can fire-roasted tomatoes", 14.5, kUnitOunce, "fire-roasted tomatoes"},
      {"2 x 400g tins chopped tomatoes", 800, kUnitGram, "chopped tomatoes"},
      {"1 packet (7g) dried yeast", 7, kUnitGram, "dried yeast"},
      {"2 (about 1 pound) sweet potatoes", 2, kUnitPound, "sweet potatoes"},
      {"1 can black beans, drained", 1, kUnitBlank, "black beans"},
      {"1 x large onion, sliced", 1, kUnitBlank, "large onion"},
      {"1 (1-inch) piece ginger, grated", 1, kUnitBlank, "piece ginger"},
      // "1 tablespoon plus 1 teaspoon": the second amount joins the first in its unit.
      {"1 tablespoon plus 1 teaspoon sugar", 1 + 1.0 / 3, kUnitTablespoon, "sugar"},
      {"1/2 cup + 2 tablespoons milk", 0.625, kUnitCup, "milk"},
      {"1 cup flour, plus more for dusting", 1, kUnitCup, "flour"},
  });
}

TEST(IngredientLine, NamesDropNotesAndDecoration) {
  ExpectLines({
      {"1 lb. boneless, skinless chicken breasts, cubed", 1, kUnitPound,
       "boneless, skinless chicken breasts"},
      {"1 medium onion - chopped", 1, kUnitBlank, "medium onion"},
      {"1 cup sour cream or Greek yogurt", 1, kUnitCup, "sour cream or Greek yogurt"},
      {"1 ½ lb. (680 g) pork shoulder, cut into cubes", 1.5, kUnitPound, "pork shoulder"},
      {"3 cups all purpose flour [spooned]", 3, kUnitCup, "all purpose flour"},
      {"1 cup (packed), light brown sugar", 1, kUnitCup, "light brown sugar"},
      // Lines without an amount keep 0 in the blank unit, so they add no nutrition until given one.
      {"Vegetable oil for frying", 0, kUnitBlank, "Vegetable oil"},
      {"Juice of 1 lemon", 0, kUnitBlank, "Juice of 1 lemon"},
      {"an egg", 0, kUnitBlank, "an egg"},
      // Bullets, check boxes and blanks that sites put before a line, and entities in it.
      {"• 2 cups flour", 2, kUnitCup, "flour"},
      {"  - 3 eggs ", 3, kUnitBlank, "eggs"},
      {"&frac12; cup sugar", 0.5, kUnitCup, "sugar"},
      {"1&nbsp;cup  <b>milk</b>", 1, kUnitCup, "milk"},
  });
}

// The line as the review shows it: without the marks recipe cards add around the author's text.
TEST(IngredientLine, LinesAreCleanedOfRecipeCardMarks) {
  const std::pair<const char*, const char*> cases[] = {
      {"1&nbsp;cup  <b>milk</b>", "1 cup milk"},
      {"▢ 1 cup water", "1 cup water"},
      {"☐  2 eggs", "2 eggs"},
      {"– 3 eggs", "3 eggs"},
      {"1 cup milk ((full fat))", "1 cup milk (full fat)"},
      {"1 cup milk (( full fat ))", "1 cup milk (full fat)"},
      {"2 cups flour ((sifted) or not)", "2 cups flour ((sifted) or not)"},
      {"1 (8 ounce) package(s) cream cheese", "1 (8 ounce) package cream cheese"},
      {"2 can(s) tomatoes", "2 cans tomatoes"},
      {"½ box(es) pasta", "½ box pasta"},
      {"3 box(es) pasta", "3 boxes pasta"},
      {"1 cup flour , sifted ()", "1 cup flour, sifted"},
      {"1 cup sugar ( packed )", "1 cup sugar (packed)"},
      {"Salt (s) to taste", "Salt (s) to taste"},
  };
  for (const auto& [text, cleaned] : cases)
    EXPECT_EQ(cleaned, ToUtf8(ParseIngredientLine(std::string_view(text)).original)) << text;
  const ImportedLine line = ParseIngredientLine(std::string_view("▢ 1 (8 ounce) package(s) cream cheese"));
  EXPECT_EQ(std::tuple(8.0, kUnitOunce, std::string("cream cheese")),
            std::tuple(line.amount, line.unit, ToUtf8(line.name)));
}

TEST(IngredientLine, HeadingsAreMarked) {
  for (const auto& [text, name] :
       {std::pair{"For the sauce:", "For the sauce"}, {"FOR THE CRUST", "FOR THE CRUST"}}) {
    const ImportedLine line = ParseIngredientLine(std::string_view(text));
    EXPECT_TRUE(line.isHeading) << text;
    EXPECT_EQ(name, ToUtf8(line.name)) << text;
    EXPECT_EQ(0, line.amount) << text;
  }
  for (const char* text : {"1 cup flour:", "Salt", "Fresh parsley, for garnish", "For frying: oil"})
    EXPECT_FALSE(ParseIngredientLine(std::string_view(text)).isHeading) << text;
}

TEST(IngredientLine, WideTextReadsAsItsUtf8) {
  const ImportedLine line = ParseIngredientLine(WStringView(TXT("1 \u00BD cups flour")));
  EXPECT_EQ(1.5, line.amount);
  EXPECT_EQ(kUnitCup, line.unit);
  EXPECT_EQ(TXT("flour"), line.name);
}

}  // namespace
