#pragma once
// The comma-separated form of ingredient exchanges: every field in double quotes, no escaping
// (names carry U+00B4 for their double quotes), lines ending in CR LF, a header of column texts.
#include <functional>

#include "food/Food.h"
#include "storage/Text.h"

// True when the text after the path's last "." is "csv" in any letter case.
bool IsCsvPath(const WString& path);

// The fields of one line: split at commas outside double quotes, quotes removed, white space at the
// start of each field skipped (so the LF of a CR LF pair vanishes).
CsvRow SplitCsvLine(WStringView line);

// The lines of a file's text, split at CR.
std::vector<WStringView> CsvLines(const WString& text);

// A header as compared: white space dropped, letters and digits kept up to the first other
// character ("Total Fat (g)" gives "TotalFat").
WString NormalisedHeader(WStringView header);

// Maps each of the `kFoodColumnCount` columns whose normalised header text (from `headerText`)
// equals a normalised header field ignoring case to that field's position, a later field winning.
// False when no column matched.
bool MapCsvHeader(const CsvRow& header, const std::function<WString(uint32_t column)>& headerText,
                  CsvColumnMap& map);

// The text an 8-bit file read as UTF-16 stands for: each unit's two bytes, low byte first, each
// widened to one character.
WString WidenedBytes(const WString& text);

// Appends `text` as one written field: a comma unless it is the line's first, then the text in
// double quotes.
void AppendCsvField(WString& line, const WString& text, bool first);
