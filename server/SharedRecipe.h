#pragma once
// A shared recipe as the server keeps it: the names the search looks at and the document rewritten
// by the program's own XML writer, so that what is handed out is exactly the program's form.
#include <optional>
#include <string>

#include "storage/Text.h"

struct SharedRecipe {
  WString name;      // FOODNAME of the recipe's own FOOD element
  WString category;  // its CATEGORY, empty when it has none
  WString document;  // RECIPELIST / RECIPES / one RECIPE, one element per line, CR LF
};

// Reads an uploaded document. It must be a RECIPELIST holding RECIPES with exactly one RECIPE in the
// shared form: ingredient lines inside INGREDIENTLIST, each carrying its FOOD element, and the
// recipe's own FOOD element with a FOODID and a name. Values are unescaped and written again, tags
// are written upper-case and without attributes, text between elements is dropped, and so are the
// uploader's own catalog ids (a line's ID, a FOOD's CATID, the recipe's INGREDIENTID), which mean
// nothing in another catalog. Anything else fails, with the reason in `error`.
std::optional<SharedRecipe> ReadSharedRecipe(WString text, std::string& error);
