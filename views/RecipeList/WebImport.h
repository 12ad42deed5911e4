#pragma once
// Recipes from outside the program: a web page's recipe (fetched over HTTP or read from a saved
// page) and the recipes of MealMaster files. Each is reviewed line by line, every ingredient line
// matched to the ingredient catalog, before the Recipes view adds it the way Add Recipe does.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "food/Food.h"
#include "toolkit/ERApp.h"
#include "webrecipe/CatalogMatch.h"

class CategoryList;
class IngredientList;
class ProgressWindow;
class View;

// What the review confirms and the Recipes view adds.
struct ReviewedRecipe {
  ImportedRecipe read;  // name, serves, times, instructions and picture address
  WString category;
  std::vector<ReviewLine> lines;
};

// The address dialog: the address or saved page typed or browsed; none when cancelled.
std::optional<WString> AskForPage(const DAVavador::ERApp& app, HWND owner);

// The page's bytes: fetched behind the progress window when `address` starts with http:// or
// https://, else read from the file; at most 10 MB. None, with the message shown, when that fails
// or is cancelled. `scratchPath` holds the download meanwhile.
std::optional<std::string> ReadPage(const DAVavador::ERApp& app, ProgressWindow& progress,
                                    const WString& address, const WString& scratchPath);

// Fetches a picture's address into `path`; false when it cannot.
bool FetchPicture(const WString& address, const WString& path);

// The review dialog over `owner`: name, category (new ones allowed), serves, and each line with its
// amount, unit and ingredient, which Find Ingredient, a new ingredient or Leave Out change. True
// when confirmed with a name.
bool ReviewRecipe(DAVavador::ERApp& app, HWND owner, IngredientList& catalog, const CategoryList& categories,
                  View* recipes, ReviewedRecipe& recipe);
