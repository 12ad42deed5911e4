#pragma once
// The text pieces the recipe readers share: UTF-8 repair, HTML text, numbers and amounts, times,
// yields and addresses. All text is UTF-8.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "webrecipe/WebRecipe.h"

// The serving units food/Units.h names no constant for.
constexpr ServingUnit kUnitDash = 3, kUnitGallon = 5, kUnitKilogram = 6, kUnitJigger = 7, kUnitLiter = 8,
                      kUnitPound = 9, kUnitMilliliter = 10, kUnitPinch = 12, kUnitPint = 13, kUnitQuart = 14,
                      kUnitClove = 17, kUnitStrip = 18, kUnitBag = 19;

// The bytes as UTF-8: unchanged when they are UTF-8 (a leading byte-order mark dropped), else each
// byte read as Windows-1252.
std::string ValidUtf8(std::string_view bytes);
// The code point at text[i] of valid UTF-8, moving i past it.
uint32_t NextCodePoint(std::string_view text, size_t& i);

// Named (&amp; &nbsp; &frac12; &deg; ...), decimal and hex character references decoded; an unknown
// name stays as written.
std::string DecodeEntities(std::string_view html);
// The text with every run of white space (no-break spaces too) one blank, none at the ends.
std::string CollapsedBlanks(std::string_view text);
// HTML as plain text: comments and tags dropped, references decoded, every run of white space
// (no-break spaces too) one blank, none at the ends.
std::string HtmlText(std::string_view html);
// The same, broken into the lines that line breaks, paragraphs, list items and other block tags
// make; empty lines are dropped.
std::vector<std::string> HtmlLines(std::string_view html);

// ASCII letters lowered; other bytes as they are.
char LowerChar(char c);
std::string LowerAscii(std::string_view text);
bool EqualsNoCaseAscii(std::string_view a, std::string_view b);
bool IsBlankByte(char c);
bool IsAsciiLetter(char c);
bool IsAsciiDigit(char c);
// Past the blanks at the start of the text.
void SkipBlanks(std::string_view& text);
// The word of ASCII letters at the start of the text (empty when it starts with none).
std::string_view LeadingWord(std::string_view text);
// The first place at or after from where the text reads lowerNeedle, ignoring ASCII case; npos if none.
size_t FindNoCaseAscii(std::string_view text, std::string_view lowerNeedle, size_t from = 0);
std::string_view TrimBlanks(std::string_view text);

// The amount at the start of the text, moving the text past it and the blanks after it: a number
// (with a decimal point, or a decimal comma before one or two digits), a fraction n/d, a Unicode
// vulgar fraction, a whole number with any of those ("1 1/2", "1-1/2", "1½"), or the first amount of
// a range ("2-3", "2 to 3", "2 or 3"). Returns 0, the text unchanged, when it starts with none.
double ReadAmount(std::string_view& text);

// An ISO 8601 duration ("PT1H30M", "P0DT45M", "PT0.5H") or a written one ("1 hour 30 mins") in
// whole minutes, rounded and at most 9999 hours; -1 when the text is neither.
int32_t DurationMinutes(std::string_view text);
// What a yield text names by the words around its first whole number of at least 1 (at most
// 100000, "Makes 2 dozen" giving 24): a bare number ("4", "Makes 12"), a count of portions
// ("24 cookies", "Serves 4-6") or a batch, a dish or a measure that holds no portions of its own
// ("1 loaf", "2 cups", "one 9-inch pie"); kNone without a number.
enum class YieldKind { kNone, kCount, kPortions, kBatch };
struct YieldCount {
  int32_t count = 0;
  YieldKind kind = YieldKind::kNone;
};
YieldCount ReadYield(std::string_view text);
// The count of a yield text, whatever it names; 0 when it has none.
int32_t ServesFromYield(std::string_view text);
// Kilocalories a stated energy gives: its first number, kilojoules ("1046 kJ") converted; 0 when
// it has none.
double CaloriesFromText(std::string_view text);
// True when the text starts with the word of a weight or volume unit ("cups", "oz", "fl oz").
bool StartsWithMeasure(std::string_view text);

// The address reference resolved against the base address of the page it stands on (RFC 3986):
// absolute references stay as they are, "//host/x", "/x", "x", "../x", "?q" and "#f" take what they
// lack from the base. A base without a scheme leaves the reference as it is.
std::string ResolveUrl(std::string_view base, std::string_view reference);

// One instruction line: a step, numbered in the text, or a section's name, which is not.
struct InstructionLine {
  std::string text;
  bool heading = false;
};
// The lines as Recipe instructions: "1. Mix ..." per step, numbered on across sections, CR LF
// between lines.
WString InstructionsText(const std::vector<InstructionLine>& lines);
// A step's text without the number or "Step N" the source already put before it.
std::string_view WithoutStepNumber(std::string_view step);

// Minutes split into the recipe's hours and minutes; a negative count leaves both 0.
void SplitMinutes(int32_t minutes, int32_t& hours, int32_t& rest);

// The ingredient name part of a line: notes in brackets and punctuation before the name dropped,
// cut before the preparation that
// follows a comma or a spaced dash (a first part of only words like "boneless" is kept), phrases
// like "to taste" and "for garnish" and a leading "of" dropped, blanks and end punctuation trimmed.
std::string CleanIngredientName(std::string_view text);
