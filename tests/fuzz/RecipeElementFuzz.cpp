// RECIPE elements as the Recipes view reads them, lines by ingredient id or with embedded
// ingredients, and the recipe written and read back.
#include "FuzzInput.h"
#include "food/FoodTestSupport.h"
#include "food/TagNames.h"

namespace {

// The recipes of the text, written again: lines by id when `embed` is off.
WString ReadAndWrite(const WString& text, bool embed) {
  MemoryCatalog catalog;
  catalog.categories.Add(TXT("Baking"), 5);
  catalog.Add(TXT("Flour"), 12, 455).catId = 5;
  catalog.Add(TXT("Egg"), 13, 70).type = kUnitBlank;
  CategoryList recipeCategories;
  uint32_t counter = 20;
  XMLDoc doc;
  doc.SetText(text);
  XMLDoc written;
  while (const WChar* tag = doc.NextTag()) {
    if (!IsTag(tag, TXT("RECIPE")) || doc.IsEndTag() || doc.IsEmptyTag()) continue;
    Recipe recipe;
    if (!recipe.ReadRecipeElement(doc, recipeCategories, counter, catalog)) continue;
    recipe.WriteRecipeElement(written, embed, recipeCategories, catalog.categories);
    WString cell;
    recipe.ColumnText(cell, kColumnIngredients, recipeCategories, NutrientFormat{}, true, true);
  }
  return written.Output();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const WString text = FileText(data, size);
  for (const bool embed : {false, true}) {
    const WString second = ReadAndWrite(ReadAndWrite(text, embed), embed);
    ExpectSameText(second, ReadAndWrite(second, embed), embed ? "RECIPE (embedded)" : "RECIPE");
  }
  return 0;
}
