#pragma once
// Tag names compare without regard to case. The system's comparison is costly per call and the
// readers compare every tag with many names, so ASCII letters, of which all tag names of the files
// are made, are folded directly; a name with other characters takes the system's comparison.
#include "storage/Text.h"

inline bool IsTag(const WChar* tag, const WChar* name) {
  const WChar* a = tag;
  const WChar* b = name;
  for (; *a && *b; ++a, ++b) {
    if (*a >= 0x80 || *b >= 0x80) return EqualsNoCase(tag, name);
    const WChar x = (*a >= 'a' && *a <= 'z') ? *a - 32 : *a;
    const WChar y = (*b >= 'a' && *b <= 'z') ? *b - 32 : *b;
    if (x != y) return false;
  }
  return *a == *b;
}
