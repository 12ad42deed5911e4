#pragma once
// UTF-16 text, the one string type of every name, value and file text. On Windows it is the
// platform's own wide string, so Win32 calls take it directly; elsewhere it is std::u16string.
#include <cstdint>
#include <string>
#include <string_view>

#ifdef _WIN32
using WChar = wchar_t;
#define TXT(s) L##s
#else
using WChar = char16_t;
#define TXT(s) u##s
#endif
static_assert(sizeof(WChar) == 2, "text is UTF-16");

using WString = std::basic_string<WChar>;
using WStringView = std::basic_string_view<WChar>;

// Case-insensitive comparison of two names, the one rule used for categories, units, CSV headers,
// XML tags and duplicate names: <0, 0 or >0 like wcscmp. On Windows it is CompareStringW with
// NORM_IGNORECASE in the system's default locale; natively an equivalent that folds the cases of Unicode's
// Latin, Greek and Cyrillic letters before comparing code units.
int CompareNoCase(WStringView a, WStringView b);
inline bool EqualsNoCase(WStringView a, WStringView b) {
  return CompareNoCase(a, b) == 0;
}

// A key that two texts share exactly when EqualsNoCase finds them equal, for looking names up among
// many: on Windows the system's sort key ignoring case, natively the text folded unit by unit.
WString NoCaseKey(WStringView text);

// Folds one UTF-16 unit to lower case by the same rule CompareNoCase uses natively.
WChar FoldCase(WChar c);

// Conversions at the edges: UTF-8 for tools and tests, ASCII literals for numbers.
std::string ToUtf8(WStringView text);
// Appends one code point in UTF-8 (1 to 4 bytes).
void AppendUtf8(std::string& out, uint32_t codePoint);
WString FromUtf8(std::string_view text);
// Appends the text of UTF-8 bytes, read strictly: a byte that starts no well-formed sequence (a
// stray continuation byte, an overlong form, a surrogate, a code beyond U+10FFFF, a sequence cut
// off) becomes the character of its own code, as in 8-bit text. False when there was such a byte.
bool DecodeUtf8(std::string_view bytes, WString& out);
WString FromAscii(std::string_view text);
