#pragma once
// Recipes read from outside the program: a web page's schema.org Recipe (JSON-LD, else microdata)
// and the recipes of a MealMaster file, with each ingredient line split into amount, unit and name.
// Input text is UTF-8; bytes that are not UTF-8 are read as Windows-1252, as old pages and
// MealMaster files are written. Results are in the program's text type, ready for a Recipe.
#include <cstdint>
#include <string_view>
#include <vector>

#include "food/Units.h"
#include "storage/Text.h"

enum class RecipeImportError {
  kNone,
  kNoRecipe,  // the page or file holds no recipe the readers understand
};

// One ingredient line as read. A line without an amount ("salt to taste") has amount 0, so it adds
// nothing to the nutrition until the user gives one; headings ("For the sauce:") are no ingredient.
struct ImportedLine {
  // The line as the source gives it, entities decoded, blanks collapsed, and without what recipe cards
  // add: bullets and check boxes before it, doubled or empty brackets, "package(s)" for "package".
  WString original;
  double amount = 0;
  ServingUnit unit = kUnitBlank;
  WString name;  // the ingredient alone: no amount, unit, notes in brackets or preparation
  bool isHeading = false;
};

// A recipe read from a page or file; every field keeps its default when the source lacks it.
struct ImportedRecipe {
  RecipeImportError error = RecipeImportError::kNone;
  WString name;
  int32_t serves = 1;
  // A yield of no portions ("1 loaf") on a page that gives no serving count: serves is then not
  // known (1 meanwhile), and the review asks for it.
  WString batchYield;
  double statedCalories = 0;  // per serving, as the page's nutrition states them; 0 when it does not
  int32_t prepHours = 0;
  int32_t prepMinutes = 0;
  int32_t cookHours = 0;
  int32_t cookMinutes = 0;
  WString category;      // the first category the source names
  WString instructions;  // "1. Mix ..." lines joined by CR LF; a section's name stands unnumbered
  WString pictureUrl;    // absolute when the page address allowed resolving it
  std::vector<ImportedLine> lines;
};

// The Recipe of a web page. JSON-LD blocks are searched first (a lone object, an array, an @graph,
// a recipe under mainEntity or deeper); the first block holding a Recipe gives it. A block is read
// leniently (trailing commas, raw control characters and stray escapes in strings, values one
// after another); one that does not parse even so is passed over. Without one the page's microdata
// Recipe is read; there an ingredient or step ends where the next one starts, inside its element
// too. Without either, or for the name, lines or steps they lack, the recipe card of a common
// WordPress recipe plug-in is read from its class names (webrecipe/RecipeCard.h). Relative picture
// addresses are resolved against baseUrl, the page's address. Serves come from the first yield
// value naming a count of portions ("24 cookies" over "2"), else from a bare number; a batch yield
// ("1 loaf") takes the serving count the nutrition's serving size gives ("1/12 of the loaf"), else
// it is batchYield. The nutrition's calories are statedCalories. prepTime and cookTime give the times, and
// totalTime counts as the cooking time only when the page gives neither. error is kNoRecipe when the page has
// no recipe.
ImportedRecipe ReadRecipePage(std::string_view html, std::string_view baseUrl);

// The recipes of a MealMaster file in their order; error is kNoRecipe, with no recipes, when the
// file holds none.
struct MealMasterFile {
  RecipeImportError error = RecipeImportError::kNone;
  std::vector<ImportedRecipe> recipes;
};
MealMasterFile ReadMealMaster(std::string_view text);

// Splits one ingredient line of a recipe site: "1 1/2 cups flour, sifted" gives 1.5 cup "flour".
// Amounts may be whole, decimal (a decimal comma too), mixed ("1 1/2", "1-1/2", "1½"), Unicode
// fractions or the first number of a range ("2-3", "2 to 3"). A package with its size ("1 (14 oz)
// can tomatoes", "2 x 400g tins") counts as the total size, 14 oz; a package word without one is
// dropped ("1 can beans" is 1 of beans, in the blank unit). Unit words and abbreviations map
// to the serving units ("T" is a tablespoon, "t" a teaspoon; fluid ounces become cups, cl and dl
// millilitres); any other word stays part of the name in the blank unit. A line ending in ":" or
// starting with "For " and having no amount is a heading.
ImportedLine ParseIngredientLine(std::string_view utf8Line);
ImportedLine ParseIngredientLine(WStringView line);
