// CSV exchange files in both readings (UTF-16 and 8-bit), read as ingredients and as recipes, and
// the records exported and imported again.
#include <map>

#include "FuzzInput.h"
#include "food/FoodTestSupport.h"
#include "food/Texts.h"

namespace {

// Columns are matched by their normalised header texts ignoring case, as the importers match them.
WString Folded(WStringView header) {
  WString folded = NormalisedHeader(header);
  for (WChar& c : folded) c = FoldCase(c);
  return folded;
}

CsvColumnMap MapOf(const CsvRow& header) {
  static const std::map<WString, uint32_t> kColumns = [] {
    std::map<WString, uint32_t> columns;
    for (uint32_t c = 0; c < kRecipeColumnCount; ++c)
      columns[Folded(EnglishTextById(kTextColumnFirst + c))] = c;
    return columns;
  }();
  CsvColumnMap map;
  for (size_t field = 0; field < header.size(); ++field) {
    const auto column = kColumns.find(Folded(header[field]));
    if (column != kColumns.end()) map.position[column->second] = static_cast<uint32_t>(field);
  }
  return map;
}

// The records of a CSV text as recipes (or only as ingredients), exported with every column.
WString ReadAndWrite(const WString& text, bool recipes) {
  const std::vector<WStringView> lines = CsvLines(text);
  const uint32_t columns = recipes ? kRecipeColumnCount : kFoodColumnCount;
  WString exported;
  for (uint32_t c = 0; c < columns; ++c)
    AppendCsvField(exported, EnglishTextById(kTextColumnFirst + c), c == 0);
  exported += TXT("\r\n");
  if (lines.empty()) return exported;
  CsvColumnMap map = MapOf(SplitCsvLine(lines[0]));
  if (!recipes) std::fill(map.position.begin() + kFoodColumnCount, map.position.end(), CsvColumnMap::kAbsent);
  MemoryCatalog catalog;
  catalog.Add(TXT("Flour"), 12, 455);
  catalog.Add(TXT("Egg"), 13, 70).type = kUnitBlank;
  CategoryList categories;
  uint32_t counter = 0;
  for (size_t n = 1; n < lines.size(); ++n) {
    Recipe record;
    const CsvRow row = SplitCsvLine(lines[n]);
    if (!record.ImportCsvRecipeRow(row, categories, UnitNames(), counter, map, catalog)) continue;
    for (uint32_t c = 0; c < columns; ++c) {
      WString cell;
      record.ColumnText(cell, c, categories, NutrientFormat{}, true, true);
      AppendCsvField(exported, cell, c == 0);
    }
    exported += TXT("\r\n");
  }
  return exported;
}

void Check(const WString& text) {
  for (const bool recipes : {false, true}) {
    const WString second = ReadAndWrite(ReadAndWrite(text, recipes), recipes);
    ExpectSameText(second, ReadAndWrite(second, recipes), recipes ? "recipe CSV" : "ingredient CSV");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Check(Utf16Units(bytes));
  Check(WidenedBytes(bytes));
  return 0;
}
