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

// Percent decoding: "%" and two hexadecimal digits are one byte, "+" a blank when `plusIsBlank`;
// everything else is kept. Every decoded byte is kept, a zero too.
std::string PercentDecode(std::string_view encoded, bool plusIsBlank);

// Form decoding: percent decoding with "+" as a blank.
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

// The text folded for matching without regard to case: Unicode's NFKC case folding, so that the
// cases of every script meet ("ΩΜΈΓΑ" and "Ωμέγα", "STRASSE" and "Straße") and composed and
// decomposed accents compare equal.
WString FoldedText(WStringView text);

// Client bytes made fit for one line of the request log: printable ASCII stays, a backslash is
// doubled, CR, LF and tab become \r, \n and \t, and every other byte \xHH. No request can then
// forge a log line of its own or send control sequences to the terminal that shows the log.
std::string LogText(std::string_view bytes);
