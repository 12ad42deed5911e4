#pragma once
// The texts the food records show (unit names, duration suffixes, column headers) come from the
// program's string table by number. The food data looks them up through LoadTextById, which starts
// out pointing at the built-in English table; the Windows program points it at its string table.
#include <cstdint>

#include "storage/Text.h"

using TextLoader = WString (*)(uint32_t id);

// The current text source; an unknown number gives the empty text.
extern TextLoader LoadTextById;

// The built-in English texts of the numbers the food data uses.
WString EnglishTextById(uint32_t id);

// String numbers.
constexpr uint32_t kTextAllHeader = 4200;         // "--All--"
constexpr uint32_t kTextUnitFirst = 4800;         // serving unit names, 4800 + unit
constexpr uint32_t kTextHoursSuffix = 4824;       // "h "
constexpr uint32_t kTextMinutesSuffix = 4825;     // "m"
constexpr uint32_t kTextColumnFirst = 5100;       // list and CSV column headers, 5100 + column code
constexpr uint32_t kTextDiaryColumnFirst = 5200;  // diary column headers, 5200 + column code
