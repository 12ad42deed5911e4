#pragma once
// Shared recipe documents and the wire encodings as the program produces them.
#include <string>

#include "storage/Text.h"

struct TestRecipe {
  WString name = TXT("Pea Soup");
  WString category = TXT("Soups");
  WString instructions = TXT("Soak overnight.\r\nSimmer: a<b & c>d.");
  size_t extraLines = 0;  // ingredient lines after the two every document has
};

// RECIPELIST / RECIPES / RECIPE with embedded ingredient lines, written with the program's writer,
// including the uploader-only ids: a line's ID, a FOOD's CATID and the recipe's INGREDIENTID.
WString SharedDocument(const TestRecipe& recipe = TestRecipe());
// The same document without the uploader-only ids, as the server hands it out.
WString SharedDocumentWithoutIds(const TestRecipe& recipe = TestRecipe());

// The program's form encoding: letters and digits copied, a blank as "+" (as "%20" in a query),
// anything else "%" and two hexadecimal digits of the unit's low 8 bits.
std::string FormEncode(WStringView text);
std::string QueryEncode(WStringView text);
