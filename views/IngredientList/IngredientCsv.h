#pragma once
// The header of an ingredient exchange in the comma-separated form of storage/Csv.h: which field
// holds which food column.
#include <functional>

#include "food/Food.h"
#include "storage/Csv.h"
#include "storage/Text.h"

// Maps each of the `kFoodColumnCount` columns whose normalised header text (from `headerText`)
// equals a normalised header field ignoring case to that field's position, a later field winning.
// False when no column matched.
bool MapCsvHeader(const CsvRow& header, const std::function<WString(uint32_t column)>& headerText,
                  CsvColumnMap& map);
