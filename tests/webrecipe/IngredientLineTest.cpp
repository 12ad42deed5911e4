// Ingredient lines as recipe sites publish them, each split into amount, unit and name.
#include <gtest/gtest.h>

#include <string>

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

TEST(IngredientLine, AmountsWholeDecimalMixedAndRanges) {
  ExpectLines({
      {"1 1/2 cups all-purpose flour, sifted", 1.5, kUnitCup, "all-purpose flour"},
      {"1-1/2 cups sugar", 1.5, kUnitCup, "sugar"},
      {"1 and 1/2 cups oats", 1.5, kUnitCup, "oats"},
      {"1½ cups whole milk", 1.5, kUnitCup, "whole milk"},
      {"1 ½ cups chicken broth", 1.5, kUnitCup, "chicken broth"},
      {"2 ½ tbsp maple syrup", 2.5, kUnitTablespoon, "maple syrup"},
      {"1¹⁄₂ cups bread flour", 1.5, kUnitCup, "bread flour"},
      {"1⁄2 cup sugar", 0.5, kUnitCup, "sugar"},
      {"1/4 tsp. salt", 0.25, kUnitTeaspoon, "salt"},
      {".5 cup water", 0.5, kUnitCup, "water"},
      {"1.5 cups long-grain rice", 1.5, kUnitCup, "long-grain rice"},
      {"0,5 l Milch", 0.5, kUnitLiter, "Milch"},
      {"1,5 kg Kartoffeln", 1.5, kUnitKilogram, "Kartoffeln"},
      {"1,000 ml water", 1000, kUnitMilliliter, "water"},
      {"2-3 tablespoons lemon juice", 2, kUnitTablespoon, "lemon juice"},
      {"2 - 3 tablespoons capers", 2, kUnitTablespoon, "capers"},
      {"2 to 3 cloves garlic, minced", 2, kUnitClove, "garlic"},
      {"2–3 medium carrots, peeled and diced", 2, kUnitBlank, "medium carrots"},
      {"3-4 lb pork butt", 3, kUnitPound, "pork butt"},
      {"1 or 2 jalapeños, seeded", 1, kUnitBlank, "jalapeños"},
      {"One 28-ounce can whole tomatoes", 28, kUnitOunce, "whole tomatoes"},
      {"Two eggs", 2, kUnitBlank, "eggs"},
      {"3 eggs, beaten", 3, kUnitBlank, "eggs"},
      {"12 ounces spaghetti", 12, kUnitOunce, "spaghetti"},
  });
}

// Every vulgar fraction of Unicode, alone and after a whole number.
TEST(IngredientLine, UnicodeFractions) {
  const struct {
    const char* fraction;
    double value;
  } fractions[] = {{"¼", 1.0 / 4}, {"½", 1.0 / 2}, {"¾", 3.0 / 4}, {"⅐", 1.0 / 7}, {"⅑", 1.0 / 9},
                   {"⅒", 0.1},     {"⅓", 1.0 / 3}, {"⅔", 2.0 / 3}, {"⅕", 0.2},     {"⅖", 0.4},
                   {"⅗", 0.6},     {"⅘", 0.8},     {"⅙", 1.0 / 6}, {"⅚", 5.0 / 6}, {"⅛", 0.125},
                   {"⅜", 0.375},   {"⅝", 0.625},   {"⅞", 0.875}};
  for (const auto& f : fractions) {
    ExpectLines({{(std::string(f.fraction) + " cup honey").c_str(), f.value, kUnitCup, "honey"},
                 {(std::string("2") + f.fraction + " cup honey").c_str(), 2 + f.value, kUnitCup, "honey"}});
  }
}

TEST(IngredientLine, UnitWordsAndAbbreviations) {
  ExpectLines({
      {"3 T butter", 3, kUnitTablespoon, "butter"},
      {"1 t salt", 1, kUnitTeaspoon, "salt"},
      {"2 Tbsp. soy sauce", 2, kUnitTablespoon, "soy sauce"},
      {"1 tbs honey", 1, kUnitTablespoon, "honey"},
      {"1 Tbl. Dijon mustard", 1, kUnitTablespoon, "Dijon mustard"},
      {"1 TBSP sesame oil", 1, kUnitTablespoon, "sesame oil"},
      {"2 Tablespoons butter", 2, kUnitTablespoon, "butter"},
      {"2 tsps ground cinnamon", 2, kUnitTeaspoon, "ground cinnamon"},
      {"1 Teaspoon Salt", 1, kUnitTeaspoon, "Salt"},
      {"1 1/2 teaspoons baking powder", 1.5, kUnitTeaspoon, "baking powder"},
      {"1 c. sugar", 1, kUnitCup, "sugar"},
      {"1 C milk", 1, kUnitCup, "milk"},
      {"8 oz. mushrooms, sliced", 8, kUnitOunce, "mushrooms"},
      {"4 fl oz orange juice", 0.5, kUnitCup, "orange juice"},
      {"2 fl. oz. dark rum", 0.25, kUnitCup, "dark rum"},
      {"1 fluid ounce lime juice", 0.125, kUnitCup, "lime juice"},
      {"2 lbs chicken wings", 2, kUnitPound, "chicken wings"},
      {"1 pound russet potatoes (about 3 medium)", 1, kUnitPound, "russet potatoes"},
      {"100 gr butter", 100, kUnitGram, "butter"},
      {"500 grams Mehl", 500, kUnitGram, "Mehl"},
      {"1 kilo potatoes", 1, kUnitKilogram, "potatoes"},
      {"1 litre vegetable stock", 1, kUnitLiter, "vegetable stock"},
      {"1.5 liters water", 1.5, kUnitLiter, "water"},
      {"5 cl lime juice", 50, kUnitMilliliter, "lime juice"},
      {"2 dl cream", 200, kUnitMilliliter, "cream"},
      {"15 millilitres gin", 15, kUnitMilliliter, "gin"},
      {"1 pinch of salt", 1, kUnitPinch, "salt"},
      {"a pinch of nutmeg", 1, kUnitPinch, "nutmeg"},
      {"2 dashes Angostura bitters", 2, kUnitDash, "Angostura bitters"},
      {"1 quart chicken stock", 1, kUnitQuart, "chicken stock"},
      {"2 qt. water", 2, kUnitQuart, "water"},
      {"1 pint heavy cream", 1, kUnitPint, "heavy cream"},
      {"1 pt strawberries", 1, kUnitPint, "strawberries"},
      {"1 gallon water", 1, kUnitGallon, "water"},
      {"1 jigger bourbon", 1, kUnitJigger, "bourbon"},
      {"4 slices bacon, chopped", 4, kUnitSlice, "bacon"},
      {"2 stalks celery, thinly sliced", 2, kUnitStalk, "celery"},
      {"3 strips orange zest", 3, kUnitStrip, "orange zest"},
      {"1 bag frozen peas", 1, kUnitBag, "frozen peas"},
      {"1 serving protein powder", 1, kUnitServing, "protein powder"},
      {"1 heaping tablespoon cocoa powder", 1, kUnitTablespoon, "cocoa powder"},
      {"2 cups of milk", 2, kUnitCup, "milk"},
      {"2 sprigs fresh thyme", 2, kUnitBlank, "sprigs fresh thyme"},
      {"1 large egg, at room temperature", 1, kUnitBlank, "large egg"},
  });
}

TEST(IngredientLine, MetricAmountsGluedToTheirUnits) {
  ExpectLines({
      {"200g plain flour", 200, kUnitGram, "plain flour"},
      {"1.5kg chicken thighs", 1.5, kUnitKilogram, "chicken thighs"},
      {"250ml double cream", 250, kUnitMilliliter, "double cream"},
      {"2tbsp olive oil", 2, kUnitTablespoon, "olive oil"},
      {"250 g (9 oz) dark chocolate, chopped", 250, kUnitGram, "dark chocolate"},
      {"¾ cup (180ml) milk", 0.75, kUnitCup, "milk"},
      {"3 ½ cups (440g) bread flour", 3.5, kUnitCup, "bread flour"},
  });
}

// A package with its size counts as the size; without one it counts itself, its word dropped.
TEST(IngredientLine, PackagesCountTheirSize) {
  ExpectLines({
      {"1 (14 oz) can diced tomatoes", 14, kUnitOunce, "diced tomatoes"},
      {"2 (15-ounce) cans chickpeas, drained and rinsed", 30, kUnitOunce, "chickpeas"},
      {"1 can (13.5 oz) coconut milk", 13.5, kUnitOunce, "coconut milk"},
      {"1 14.5-oz. can fire-roasted tomatoes", 14.5, kUnitOunce, "fire-roasted tomatoes"},
      {"1 14-ounce can sweetened condensed milk", 14, kUnitOunce, "sweetened condensed milk"},
      {"2 x 400g tins chopped tomatoes", 800, kUnitGram, "chopped tomatoes"},
      {"1 (8 ounce) package cream cheese, softened", 8, kUnitOunce, "cream cheese"},
      {"1 packet (7g) dried yeast", 7, kUnitGram, "dried yeast"},
      {"1 bag (10 oz) baby spinach", 10, kUnitOunce, "baby spinach"},
      {"1 (3-pound) whole chicken", 3, kUnitPound, "whole chicken"},
      {"2 (6 ounce) salmon fillets", 12, kUnitOunce, "salmon fillets"},
      {"2 (about 1 pound) sweet potatoes", 2, kUnitPound, "sweet potatoes"},
      {"1 can black beans, drained", 1, kUnitBlank, "black beans"},
      {"1 stick butter", 1, kUnitBlank, "butter"},
      {"1 x large onion, sliced", 1, kUnitBlank, "large onion"},
      {"4 chicken breasts (about 2 lbs)", 4, kUnitBlank, "chicken breasts"},
      {"1 (1-inch) piece ginger, grated", 1, kUnitBlank, "piece ginger"},
  });
}

// "1 tablespoon plus 1 teaspoon": the second amount joins the first in its unit.
TEST(IngredientLine, SecondAmountsAddUp) {
  ExpectLines({
      {"1 tablespoon plus 1 teaspoon sugar", 1 + 1.0 / 3, kUnitTablespoon, "sugar"},
      {"1/2 cup + 2 tablespoons milk", 0.625, kUnitCup, "milk"},
      {"1 tbsp. + 1 tsp. olive oil", 1 + 1.0 / 3, kUnitTablespoon, "olive oil"},
      {"1 lb plus 8 oz ground pork", 1.5, kUnitPound, "ground pork"},
      {"1 cup flour, plus more for dusting", 1, kUnitCup, "flour"},
  });
}

TEST(IngredientLine, NamesDropNotesAndPreparation) {
  ExpectLines({
      {"1 cup (2 sticks) unsalted butter, softened", 1, kUnitCup, "unsalted butter"},
      {"⅔ cup brown sugar, packed", 2.0 / 3, kUnitCup, "brown sugar"},
      {"1 lb. boneless, skinless chicken breasts, cubed", 1, kUnitPound,
       "boneless, skinless chicken breasts"},
      {"1 onion, finely diced", 1, kUnitBlank, "onion"},
      {"1 medium onion - chopped", 1, kUnitBlank, "medium onion"},
      {"1 cup milk (whole or 2%)", 1, kUnitCup, "milk"},
      {"1 tablespoon fresh lemon juice (from 1 lemon)", 1, kUnitTablespoon, "fresh lemon juice"},
      {"1 teaspoon salt, or to taste", 1, kUnitTeaspoon, "salt"},
      {"1/2 cup chopped walnuts (optional)", 0.5, kUnitCup, "chopped walnuts"},
      {"1 cup sour cream or Greek yogurt", 1, kUnitCup, "sour cream or Greek yogurt"},
      {"1 lb 80/20 ground beef", 1, kUnitPound, "80/20 ground beef"},
      {"10 oz. frozen spinach, thawed and squeezed dry", 10, kUnitOunce, "frozen spinach"},
      {"1 cup shredded cheddar cheese (about 4 oz.)", 1, kUnitCup, "shredded cheddar cheese"},
      {"1 1/4 cups buttermilk, divided", 1.25, kUnitCup, "buttermilk"},
      {"3 Tbsp unsalted butter, cut into pieces, divided", 3, kUnitTablespoon, "unsalted butter"},
      {"1/4 cup fresh cilantro, chopped, plus more for garnish", 0.25, kUnitCup, "fresh cilantro"},
      {"8 ounces (225g) cream cheese, at room temperature", 8, kUnitOunce, "cream cheese"},
      {"2 cups (300 g) frozen peas", 2, kUnitCup, "frozen peas"},
      {"1 ½ lb. (680 g) pork shoulder, cut into cubes", 1.5, kUnitPound, "pork shoulder"},
      {"2 garlic cloves, minced", 2, kUnitBlank, "garlic cloves"},
      {"½ red onion, thinly sliced", 0.5, kUnitBlank, "red onion"},
      {"1 egg yolk", 1, kUnitBlank, "egg yolk"},
      {"2 cups cooked rice, cold", 2, kUnitCup, "cooked rice"},
      {"1 cup butter at room temperature", 1, kUnitCup, "butter"},
      {"3 cups all purpose flour [spooned]", 3, kUnitCup, "all purpose flour"},
      {"1 cup (packed), light brown sugar", 1, kUnitCup, "light brown sugar"},
  });
}

// Lines without an amount keep 0 in the blank unit, so they add no nutrition until given one.
TEST(IngredientLine, LinesWithoutAmount) {
  ExpectLines({
      {"Salt and freshly ground black pepper, to taste", 0, kUnitBlank,
       "Salt and freshly ground black pepper"},
      {"salt to taste", 0, kUnitBlank, "salt"},
      {"Fresh parsley, for garnish", 0, kUnitBlank, "Fresh parsley"},
      {"Vegetable oil for frying", 0, kUnitBlank, "Vegetable oil"},
      {"Cooking spray", 0, kUnitBlank, "Cooking spray"},
      {"Kosher salt", 0, kUnitBlank, "Kosher salt"},
      {"Juice of 1 lemon", 0, kUnitBlank, "Juice of 1 lemon"},
      {"A handful of basil leaves", 0, kUnitBlank, "A handful of basil leaves"},
      {"an egg", 0, kUnitBlank, "an egg"},
  });
}

// Bullets, check boxes and blanks that sites put before a line, and entities in it.
TEST(IngredientLine, DecorationAroundTheLine) {
  ExpectLines({
      {"• 2 cups flour", 2, kUnitCup, "flour"},
      {"▢ 1 tsp salt", 1, kUnitTeaspoon, "salt"},
      {"  - 3 eggs ", 3, kUnitBlank, "eggs"},
      {"&frac12; cup sugar", 0.5, kUnitCup, "sugar"},
      {"1&nbsp;cup  <b>milk</b>", 1, kUnitCup, "milk"},
      {"2 cups half &amp; half", 2, kUnitCup, "half & half"},
  });
  EXPECT_EQ("1 cup milk", ToUtf8(ParseIngredientLine(std::string_view("1&nbsp;cup  <b>milk</b>")).original));
  EXPECT_EQ("▢ 1 tsp salt", ToUtf8(ParseIngredientLine(std::string_view("▢ 1 tsp salt")).original));
}

TEST(IngredientLine, HeadingsAreMarked) {
  const struct {
    const char* line;
    const char* name;
  } headings[] = {{"For the sauce:", "For the sauce"},
                  {"FOR THE CRUST", "FOR THE CRUST"},
                  {"Frosting:", "Frosting"},
                  {"For the garnish (optional):", "For the garnish (optional)"}};
  for (const auto& h : headings) {
    const ImportedLine line = ParseIngredientLine(std::string_view(h.line));
    EXPECT_TRUE(line.isHeading) << h.line;
    EXPECT_EQ(h.name, ToUtf8(line.name)) << h.line;
    EXPECT_EQ(0, line.amount) << h.line;
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
