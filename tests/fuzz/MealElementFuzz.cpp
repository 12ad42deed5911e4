// DIARY and SHOPLIST elements as the diary and the shopping lists read them, written and read back:
// meals with items by ingredient id or as whole FOOD elements, lists with their foods by name.
#include "FuzzInput.h"
#include "food/FoodTestSupport.h"
#include "food/ShoppingList.h"
#include "food/TagNames.h"

namespace {

// The meals and lists of the text, written again.
WString ReadAndWrite(const WString& text) {
  MemoryCatalog catalog;
  catalog.categories.Add(TXT("Dairy"), 5);
  catalog.Add(TXT("Milk"), 12, 150).catId = 5;
  catalog.Add(TXT("Egg"), 13, 70).type = kUnitBlank;
  CategoryList diaries;
  uint32_t counter = 20;
  XMLDoc doc;
  doc.SetText(text);
  XMLDoc written;
  while (const WChar* tag = doc.NextTag()) {
    if (doc.IsEndTag() || doc.IsEmptyTag()) continue;
    if (IsTag(tag, TXT("DIARY"))) {
      Meal meal;
      if (meal.ReadDiaryElement(doc, diaries, counter, catalog)) meal.WriteDiaryElement(written);
    } else if (IsTag(tag, TXT("SHOPLIST"))) {
      Meal list;
      if (ReadShoppingListElement(doc, list, catalog)) WriteShoppingListElement(written, list);
    }
  }
  return written.Output();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const WString second = ReadAndWrite(ReadAndWrite(FileText(data, size)));
  ExpectSameText(second, ReadAndWrite(second), "DIARY / SHOPLIST");
  return 0;
}
