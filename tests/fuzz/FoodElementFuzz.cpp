// FOOD elements as the catalogs read them, and the record written and read back.
#include "FuzzInput.h"
#include "food/CategoryList.h"
#include "food/Food.h"
#include "food/TagNames.h"
#include "storage/XMLDoc.h"

namespace {

// The record of the next FOOD element, written with its category's name as exports write it.
WString ReadAndWrite(const WString& text) {
  XMLDoc doc;
  doc.SetText(text);
  CategoryList categories;
  categories.Add(TXT("Dairy"), 2);
  uint32_t counter = 10;
  XMLDoc written;
  while (const WChar* tag = doc.NextTag()) {
    if (!IsTag(tag, TXT("FOOD")) || doc.IsEndTag() || doc.IsEmptyTag()) continue;
    Ingredient food;
    if (!ReadFood(doc, food, categories, counter)) continue;
    WriteFood(written, food, categories.NameById(food.catId));
    for (uint32_t column = 0; column < kFoodColumnCount; ++column) {
      WString cell;
      food.ColumnText(cell, column, categories, NutrientFormat{true, true}, true, false);
    }
  }
  return written.Output();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const WString second = ReadAndWrite(ReadAndWrite(FileText(data, size)));
  ExpectSameText(second, ReadAndWrite(second), "FOOD");
  return 0;
}
