#pragma once
// What the fuzz targets share: the input taken as a file's text, and the stop on a broken property.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "storage/Csv.h"
#include "storage/Text.h"

// The input as the program reads a file: UTF-16LE units, an odd last byte making none.
inline WString FileText(const uint8_t* data, size_t size) {
  return Utf16Units(std::string_view(reinterpret_cast<const char*>(data), size));
}

// A record written, read and written again must give the text it was read from. The first pass
// may settle defaults (a missing serving becomes 1, say), so the check starts from the second.
inline void ExpectSameText(const WString& expected, const WString& actual, const char* what) {
  if (expected == actual) return;
  std::fprintf(stderr, "%s: the text changed on reading it back\n--- written\n%s\n--- again\n%s\n", what,
               ToUtf8(expected).c_str(), ToUtf8(actual).c_str());
  std::abort();
}
