#pragma once
// The comma-separated form of exchanged catalogs: every written field in double quotes with no
// escaping (the records turn their double quotes into U+00B4), records ending in CR LF, a header
// of column texts. A quoted field may hold line breaks.
#include <string>
#include <string_view>
#include <vector>

#include "storage/Text.h"

using CsvRow = std::vector<WString>;

// True when the text after the path's last "." is "csv" in any letter case.
bool IsCsvPath(const WString& path);

// The fields of one record: split at commas outside double quotes, quotes removed, white space
// before a field's opening quote skipped.
CsvRow SplitCsvLine(WStringView line);

// The records of a file's text: each ends at a CR LF, CR or LF outside double quotes, which is not
// part of it.
std::vector<WStringView> CsvLines(const WString& text);

// A header as compared: white space dropped, letters and digits kept up to the first other
// character ("Total Fat (g)" gives "TotalFat").
WString NormalisedHeader(WStringView header);

// A CSV file is read twice if need be: as UTF-16LE, then as 8-bit text. Both readings start from
// its bytes, so that an odd last byte, which makes no UTF-16 unit, still is a character of the
// 8-bit reading. ReadFileBytes is false when the file cannot be read.
bool ReadFileBytes(const WString& path, std::string& bytes);
WString Utf16Units(std::string_view bytes);    // two bytes a unit, low byte first
WString WidenedBytes(std::string_view bytes);  // every byte one character (ISO-8859-1)
// The same from a text already read as UTF-16: each unit's two bytes, low byte first, each one
// character. An odd last byte of the file is lost by then.
WString WidenedBytes(const WString& text);

// Appends `text` as one written field: a comma unless it is the record's first, then the text in
// double quotes.
void AppendCsvField(WString& line, const WString& text, bool first);
