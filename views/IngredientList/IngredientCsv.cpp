#include "views/IngredientList/IngredientCsv.h"

bool MapCsvHeader(const CsvRow& header, const std::function<WString(uint32_t column)>& headerText,
                  CsvColumnMap& map) {
  bool matched = false;
  for (uint32_t column = 0; column < kFoodColumnCount; ++column) {
    const WString wanted = NormalisedHeader(headerText(column));
    for (size_t field = 0; field < header.size(); ++field) {
      if (wanted.empty() || !EqualsNoCase(NormalisedHeader(header[field]), wanted)) continue;
      map.position[column] = static_cast<uint32_t>(field);
      matched = true;
    }
  }
  return matched;
}
