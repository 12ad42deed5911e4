#pragma once
// What mirepan-recipe-dump prints: the recipe readers' findings as JSON text, and with an
// ingredient catalog what the import would make of them.
#include <string>
#include <string_view>

class CatalogFile;

// A page's recipe as one object, or {"error": "no recipe"} without one (found false then): name,
// serves, the batch yield the review would ask about, the page's calories per serving, times,
// category, picture, ingredient lines and instruction lines. With a catalog each line also gives
// its matched food (null for none) with its grams and its servings of that food, and the recipe
// its "perServing" nutrients, all as the import stores them.
std::string PageReport(std::string_view bytes, std::string_view baseUrl, CatalogFile* catalog, bool& found);
// The recipes of a MealMaster file as an array of such objects; found is false when it holds none.
std::string MealMasterReport(std::string_view bytes, CatalogFile* catalog, bool& found);
