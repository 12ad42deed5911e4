#pragma once
// The text forms the program puts on the wire. It form-encodes each UTF-16 unit as one byte (the
// unit's low 8 bits), reads every reply byte as one character, and writes its files as UTF-16LE.
#include <optional>
#include <string>
#include <string_view>

#include "storage/Text.h"

// The decoded value of the "recipe" field of an upload body ("recipe=" and the form-encoded
// document, perhaps followed by a terminating zero byte), or nothing when the body has no such field.
std::optional<std::string> UploadedRecipeField(std::string_view body);

// Form decoding: "+" is a blank, "%" and two hexadecimal digits one byte; everything else is kept.
std::string FormDecode(std::string_view encoded);

// An uploaded document's bytes as text: UTF-16LE when they start with a byte-order mark or with an
// ASCII unit, otherwise one character per byte (the program's 8-bit form). Trailing zeros are dropped.
WString DocumentText(std::string_view bytes);

// A decoded query value as text: UTF-8 when the bytes are valid UTF-8, otherwise one character per byte.
WString QueryText(std::string_view bytes);

// Text for a reply that the program reads byte by byte; units above 0xFF become "?".
std::string ReplyBytes(WStringView text);

// The UTF-16LE bytes of a text, the form of every file of the program.
std::string Utf16Bytes(WStringView text);

// The text folded for case-insensitive matching, by the program's own case rule.
WString FoldedText(WStringView text);
