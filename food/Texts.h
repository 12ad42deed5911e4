#pragma once
// The texts the food records show (unit names, duration suffixes, column headers) come from the
// program's string table by number. The food data looks them up through LoadTextById, which starts
// out pointing at the built-in English table; the Windows program points it at its string table.
#include <cstdint>

#include "resources/resource.h"
#include "storage/Text.h"

using TextLoader = WString (*)(uint32_t id);

// The current text source; an unknown number gives the empty text.
extern TextLoader LoadTextById;

// The built-in English texts of the numbers the food data uses.
WString EnglishTextById(uint32_t id);

// String numbers.
constexpr uint32_t kTextAllHeader = IDS_ALL;
constexpr uint32_t kTextUnitFirst = IDS_UNIT_FIRST;  // + unit
constexpr uint32_t kTextHoursSuffix = IDS_HOURS_SUFFIX;
constexpr uint32_t kTextMinutesSuffix = IDS_MINUTES_SUFFIX;
constexpr uint32_t kTextColumnFirst = IDS_COLUMN_FIRST;  // list and CSV column headers, + column code
constexpr uint32_t kTextDiaryColumnFirst = IDS_DIARY_COLUMN_FIRST;  // diary column headers, + column code
