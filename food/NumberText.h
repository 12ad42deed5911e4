#pragma once
// Numbers as the lists, CSV files and line texts show them.
#include <cstdint>

#include "storage/Text.h"

// The real form of the files: six significant digits ("2.5", "123.457", "0.333333", "1e+006").
void AppendReal(WString& out, double value);
void AppendInteger(WString& out, int64_t value);
// A whole number held in a double, of any magnitude, as a signed decimal integer.
void AppendWholeNumber(WString& out, double wholeValue);

// Stores the real a file's text gives (ParseReal) unless it is infinite or not a number: such a
// value, 1e400 say, leaves the field as it was, as any unreadable value does.
void ReadReal(const WChar* text, double& value);
