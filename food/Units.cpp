#include "food/Units.h"

#include <cmath>

#include "food/NumberText.h"
#include "food/Texts.h"
#include "storage/XMLDoc.h"

// Units per ounce (fluid ounce for volumes), used exactly as listed.
// clang-format off
const UnitInfo UnitTable[kUnitCount] = {
    {0, false},         // 0 Serving
    {0, false},         // 1 (blank)
    {0.125, false},     // 2 cup
    {48, false},        // 3 dash
    {29.9, true},       // 4 g
    {0.0078125, false}, // 5 gallon
    {0.0299, true},     // 6 kg
    {0.66666, false},   // 7 jigger
    {0.024, false},     // 8 L
    {0.0625, true},     // 9 Lb
    {24, false},        // 10 mL
    {1, true},          // 11 oz
    {96, false},        // 12 pinch
    {0.0625, false},    // 13 pint
    {0.03125, false},   // 14 quart
    {2, false},         // 15 Tbl
    {6, false},         // 16 tsp
    {2, false},         // 17 clove
    {4, false},         // 18 strip
    {0.0625, false},    // 19 bag
    {0, false},         // 20 slice
    {0, false},         // 21 stalk
};
// clang-format on

bool IsCountUnit(ServingUnit unit) {
  return unit >= kUnitCount || unit <= kUnitBlank || unit == kUnitSlice || unit == kUnitStalk;
}

NamedIdList BuildUnitNameList() {
  NamedIdList names;
  for (ServingUnit unit = 0; unit < kUnitCount; ++unit) names.Add(LoadTextById(kTextUnitFirst + unit), unit);
  return names;
}

const NamedIdList& UnitNames() {
  static const NamedIdList names = BuildUnitNameList();
  return names;
}

namespace {

double Quotient(double numerator, double denominator) {
  return denominator == 0 ? 0 : numerator / denominator;
}

// Letters of the scripts names are written in; digits, blanks, punctuation and the Latin-1 signs
// (the acute accent that stands in for quotes included) are not.
bool IsLetter(WChar c) {
  const unsigned u = static_cast<unsigned>(c);
  if (u < 0x80) return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
  if (u < 0xC0) return false;
  return u != 0xD7 && u != 0xF7;
}

bool IsBlank(WChar c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(WChar c) {
  return c >= '0' && c <= '9';
}

double Digits(const WChar*& text) {
  double value = 0;
  for (; IsDigit(*text); ++text) value = value * 10 + (*text - '0');
  return value;
}

// A fraction n/d with a denominator other than 0 at the text: its value, the text moved past it.
bool ReadFraction(const WChar*& text, double& value) {
  const WChar* p = text;
  const double numerator = Digits(p);
  if (p == text || *p != '/' || !IsDigit(p[1])) return false;
  ++p;
  const double denominator = Digits(p);
  if (denominator == 0) return false;
  value = numerator / denominator;
  text = p;
  return true;
}

// Past the point, decimals and exponent of a number whose whole digits the text has passed.
void SkipNumberRest(const WChar*& text) {
  if (*text == '.') {
    ++text;
    Digits(text);
  }
  if (*text != 'e' && *text != 'E') return;
  const WChar* exponent = text + 1;
  if (*exponent == '+' || *exponent == '-') ++exponent;
  if (!IsDigit(*exponent)) return;
  text = exponent;
  Digits(text);
}

// The amount at the start of a serving text, moving the text past it: a number as ParseReal reads
// it, a whole number followed by blanks and a fraction ("2 1/2"), or a lone fraction ("1/2").
double ReadAmount(const WChar*& text) {
  bool negative = false;
  while (*text && !IsDigit(*text) && *text != '.') negative |= *text++ == '-';
  const WChar* const start = text;
  double magnitude = ParseReal(start);
  Digits(text);
  if (text != start && *text != '.' && *text != 'e' && *text != 'E') {
    const WChar* lone = start;
    const WChar* after = text;
    while (*after == ' ' || *after == '\t') ++after;
    double fraction = 0;
    if (ReadFraction(lone, fraction)) {
      text = lone;
      magnitude = fraction;
    } else if (after != text && ReadFraction(after, fraction)) {
      text = after;
      magnitude += fraction;
    }
  } else {
    SkipNumberRest(text);
  }
  return negative ? -magnitude : magnitude;
}

bool IsTypedBlank(WChar c) {
  return c == ' ' || c == '\t' || c == 0xA0;
}

void SkipTypedBlanks(const WChar*& text) {
  while (IsTypedBlank(*text)) ++text;
}

// A fraction sign (one half, two thirds, ...) at the text: its value, the text moved past it.
bool ReadFractionSign(const WChar*& text, double& value) {
  static const struct {
    unsigned sign;
    double numerator, denominator;
  } kSigns[] = {{0xBC, 1, 4},    {0xBD, 1, 2},   {0xBE, 3, 4},   {0x2150, 1, 7}, {0x2151, 1, 9},
                {0x2152, 1, 10}, {0x2153, 1, 3}, {0x2154, 2, 3}, {0x2155, 1, 5}, {0x2156, 2, 5},
                {0x2157, 3, 5},  {0x2158, 4, 5}, {0x2159, 1, 6}, {0x215A, 5, 6}, {0x215B, 1, 8},
                {0x215C, 3, 8},  {0x215D, 5, 8}, {0x215E, 7, 8}};
  for (const auto& sign : kSigns) {
    if (static_cast<unsigned>(*text) != sign.sign) continue;
    value = sign.numerator / sign.denominator;
    ++text;
    return true;
  }
  return false;
}

// A typed number at the text, "250", "1.5", "1,5" or ".5", moving the text past it; `whole` tells
// whether it had no decimals.
bool ReadTypedNumber(const WChar*& text, double& value, bool& whole) {
  const WChar* p = text;
  value = Digits(p);
  const bool digits = p != text;
  whole = !((*p == '.' || *p == ',') && IsDigit(p[1]));
  if (!whole) {
    WString decimals(1, TXT('.'));
    const WChar point = *p++;
    while (IsDigit(*p)) decimals += *p++;
    if (point == ',' && decimals.size() == 4 && value != 0) return false;  // "1,000"
    value += ParseReal(decimals.c_str());
  }
  if (!digits && whole) return false;
  text = p;
  return true;
}

}  // namespace

double ServingsOf(ServingUnit lineUnit, ServingUnit foodUnit, double amount, double foodSize,
                  double foodOunces) {
  if (foodSize == 0) return 0;
  if (lineUnit == foodUnit) return amount / foodSize;
  if (IsCountUnit(lineUnit)) return amount;
  if (IsCountUnit(foodUnit) || UnitTable[foodUnit].weight)
    return Quotient(amount, UnitTable[lineUnit].factor * foodOunces);
  return Quotient(UnitTable[foodUnit].factor * amount, UnitTable[lineUnit].factor * foodSize);
}

const WChar* ParseServing(const NamedIdList& unitNames, const WChar* text, double& amount,
                          ServingUnit& unit) {
  const WChar* word = text;
  amount = ReadAmount(word);
  if (!std::isfinite(amount)) amount = 0;  // beyond the range of doubles: no amount
  if (!(amount > 0)) return nullptr;
  unit = kUnitBlank;
  while (*word && !IsLetter(*word)) ++word;
  if (!*word) return word;
  const WChar* rest = word;
  while (IsLetter(*rest)) ++rest;
  unit = unitNames.IdByName(WStringView(word, static_cast<size_t>(rest - word)),
                            static_cast<size_t>(rest - word));
  if (unit == kUnitBlank) return word;
  while (IsBlank(*rest)) ++rest;
  return rest;
}

const WChar* const FractionNames[48] = {
    TXT(""),       TXT(""),      TXT(""),      TXT("1/16 "),  TXT("1/16 "),  TXT("1/16 "),  TXT("1/8 "),
    TXT("1/8 "),   TXT("1/6 "),  TXT("3/16 "), TXT("3/16 "),  TXT("3/16 "),  TXT("1/4 "),   TXT("1/4 "),
    TXT("1/4 "),   TXT("5/16 "), TXT("1/3 "),  TXT("1/3 "),   TXT("3/8 "),   TXT("3/8 "),   TXT("3/8 "),
    TXT("7/16 "),  TXT("7/16 "), TXT("7/16 "), TXT("1/2 "),   TXT("1/2 "),   TXT("1/2 "),   TXT("9/16 "),
    TXT("9/16 "),  TXT("9/16 "), TXT("5/8 "),  TXT("5/8 "),   TXT("2/3 "),   TXT("11/16 "), TXT("11/16 "),
    TXT("11/16 "), TXT("3/4 "),  TXT("3/4 "),  TXT("3/4 "),   TXT("13/16 "), TXT("13/16 "), TXT("13/16 "),
    TXT("7/8 "),   TXT("7/8 "),  TXT("7/8 "),  TXT("15/16 "), TXT("15/16 "), TXT("15/16 "),
};

AmountParts SplitAmount(double amount) {
  const double magnitude = std::isfinite(amount) ? std::fabs(amount) : 0;
  AmountParts parts{std::trunc(magnitude), 0};
  parts.fortyEighths = static_cast<uint32_t>((magnitude - parts.whole) * 48 + 0.5);
  if (parts.fortyEighths >= 48) {
    parts.whole += 1;
    parts.fortyEighths = 0;
  }
  return parts;
}

void FormatAmount(WString& out, ServingUnit unit, ServingUnit secondUnit, double amount,
                  const NamedIdList& unitNames) {
  const AmountParts parts = SplitAmount(amount);
  // The sign goes only before a number that is shown: the first 48ths have no name.
  const bool shown = parts.whole >= 1 || FractionNames[parts.fortyEighths][0] != 0;
  if (amount < 0 && shown) out += TXT('-');
  if (parts.whole >= 1) {
    AppendWholeNumber(out, parts.whole);
    out += TXT(' ');
  }
  out += FractionNames[parts.fortyEighths];
  const bool bare = unit == kUnitBlank && (secondUnit == kUnitBlank || secondUnit == kUnitNoSuffix);
  if (bare) return;
  out += TXT(' ');
  if (const WString* name = unitNames.NameById(unit == kUnitBlank ? kUnitServing : unit)) out += *name;
}

NamedIdList WholePartChoices(double amount) {
  const double wanted = SplitAmount(amount).whole;
  const uint32_t last = wanted > 63 && wanted <= 9999 ? static_cast<uint32_t>(wanted) : 63;
  NamedIdList choices(false);
  choices.Append(WString(), 0);
  for (uint32_t whole = 1; whole <= last; ++whole) {
    WString text;
    AppendInteger(text, whole);
    choices.Append(text, whole);
  }
  return choices;
}

bool ReadTypedAmount(const WChar* text, double& amount) {
  SkipTypedBlanks(text);
  double value = 0;
  bool whole = false;
  if (!ReadFraction(text, value) && !ReadFractionSign(text, value)) {
    if (!ReadTypedNumber(text, value, whole)) return false;
    const WChar* after = text;
    SkipTypedBlanks(after);
    double fraction = 0;
    if (whole && (ReadFractionSign(after, fraction) || (after != text && ReadFraction(after, fraction)))) {
      value += fraction;
      text = after;
    }
  }
  SkipTypedBlanks(text);
  if (*text || !std::isfinite(value)) return false;
  amount = value;
  return true;
}

namespace {
// The first of the 48ths that share k's name: the one the name stands for exactly.
uint32_t NamedFortyEighths(uint32_t k) {
  while (k > 0 && WStringView(FractionNames[k]) == FractionNames[k - 1]) --k;
  return k;
}
}  // namespace

NamedIdList DistinctFractionChoices() {
  NamedIdList choices(false);
  for (uint32_t k = 0; k < 48; ++k) {
    if (NamedFortyEighths(k) == k) choices.Append(FractionNames[k], k);
  }
  return choices;
}

bool ReadAmountFields(const WString& wholeText, uint32_t fortyEighths, double& amount) {
  double whole = 0;
  if (wholeText.find_first_not_of(TXT(" \t")) != WString::npos && !ReadTypedAmount(wholeText.c_str(), whole))
    return false;
  amount = whole + fortyEighths / 48.0;
  return true;
}

AmountFields AmountFieldsOf(double amount) {
  AmountFields fields;
  if (!std::isfinite(amount)) return fields;
  const AmountParts parts = SplitAmount(amount);
  const uint32_t named = NamedFortyEighths(parts.fortyEighths);
  if (amount >= 0 && std::fabs(parts.whole + named / 48.0 - amount) <= 1e-6 * std::fmax(1, amount)) {
    if (parts.whole >= 1) AppendWholeNumber(fields.whole, parts.whole);
    fields.fortyEighths = named;
  } else {
    AppendReal(fields.whole, amount);
  }
  return fields;
}
