#include "food/NumberText.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "storage/XMLDoc.h"

namespace {
void AppendAscii(WString& out, const char* text) {
  while (*text) out += static_cast<WChar>(*text++);
}
}  // namespace

void AppendReal(WString& out, double value) {
  WChar text[48];
  out.append(text, FormatReal(value, text));
}

void AppendWholeNumber(WString& out, double wholeValue) {
  char buffer[320];
  std::snprintf(buffer, sizeof buffer, "%.0f", wholeValue);
  AppendAscii(out, buffer);
}

void AppendInteger(WString& out, int64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%" PRId64, value);
  AppendAscii(out, buffer);
}

void ReadReal(const WChar* text, double& value) {
  const double read = ParseReal(text);
  if (std::isfinite(read)) value = read;
}
