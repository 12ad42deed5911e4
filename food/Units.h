#pragma once
// Serving units, the conversion of an amount into servings of a food, and the text forms of
// amounts: a whole number and a fraction named from the nearest 48th, then the unit name.
#include <cstdint>

#include "storage/NamedIdList.h"
#include "storage/Text.h"

// Index 0..21 into the unit table; its display name is string 4800 + index.
using ServingUnit = uint32_t;
constexpr ServingUnit kUnitServing = 0;
constexpr ServingUnit kUnitBlank = 1;
constexpr ServingUnit kUnitCup = 2;
constexpr ServingUnit kUnitGram = 4;
constexpr ServingUnit kUnitOunce = 11;
constexpr ServingUnit kUnitTablespoon = 15;
constexpr ServingUnit kUnitTeaspoon = 16;
constexpr ServingUnit kUnitSlice = 20;
constexpr ServingUnit kUnitStalk = 21;
constexpr ServingUnit kUnitCount = 22;
// Passed to FormatAmount as the second unit: never a unit, it keeps a blank-unit amount bare.
constexpr ServingUnit kUnitNoSuffix = 22;

struct UnitInfo {
  double factor;  // units in one ounce (fluid ounce for volumes); 0 for count units
  bool weight;
};
extern const UnitInfo UnitTable[kUnitCount];

// Serving, blank, slice and stalk count servings and are never converted. Out-of-range indexes,
// which only damaged files can carry, count as well.
bool IsCountUnit(ServingUnit unit);

// The program's unit-name list: (string 4800 + i, i) for every unit, sorted by name ignoring case.
// Built on first use from LoadTextById, so the Windows program sets its text source first.
const NamedIdList& UnitNames();
NamedIdList BuildUnitNameList();

// How many servings of a food (serving foodSize of foodUnit, weighing foodOunces) an amount in
// lineUnit makes. A conversion whose divisor is 0 (a weight-based food without ounces) makes no
// servings rather than an infinite number.
double ServingsOf(ServingUnit lineUnit, ServingUnit foodUnit, double amount, double foodSize,
                  double foodOunces);

// Reads an amount and a unit from a serving text such as "2 Tbl butter" or "1 1/2  cup": the
// amount is a number, a whole number and a fraction n/d, or a lone fraction, so every text
// FormatAmount writes reads back; the unit is the first word after it. Returns the rest of the
// text after the unit word and its blanks (the food's name), or null when the amount is not
// greater than 0; amount is written in either case (0 for one beyond the range of doubles), unit
// only when the amount is positive.
const WChar* ParseServing(const NamedIdList& unitNames, const WChar* text, double& amount, ServingUnit& unit);

// The 48 fraction texts by number of 48ths; every non-empty one ends with a blank.
extern const WChar* const FractionNames[48];

// An amount as shown: its whole part and the nearest 48th of the rest. A rest of 47.5/48 or more
// rounds to a full unit, which carries into the whole part (0.995 shows as 1, not as 0 and 48/48).
// Negative amounts split their magnitude; FormatAmount puts a "-" before them.
struct AmountParts {
  double whole;
  uint32_t fortyEighths;
};
AmountParts SplitAmount(double amount);

// Appends the amount ("1 1/2 "), then, unless unit is the blank unit, a blank and its name. A
// blank-unit amount is followed by the name of the Serving unit unless secondUnit is the blank
// unit or kUnitNoSuffix.
void FormatAmount(WString& out, ServingUnit unit, ServingUnit secondUnit, double amount,
                  const NamedIdList& unitNames);

// The amount boxes' whole-part list: "" (0) and "1".."63", and further whole numbers up to the
// amount's whole part (at most 9999). Each entry's id is its number.
NamedIdList WholePartChoices(double amount);

// Reads an amount as a cook types it into an amount box: a whole or decimal number ("250", "1.5",
// "1,5"), a whole number and a fraction ("1 1/2", or a fraction sign such as one half, U+00BD,
// after it with or without a blank) or a fraction alone ("3/4", a sign), with blanks around. A
// comma before exactly three digits after a whole part is refused: it groups thousands in some
// languages and is a decimal comma in others. False for any other text (empty, words, signs, a
// denominator of 0, beyond the range of doubles), leaving `amount` alone.
bool ReadTypedAmount(const WChar* text, double& amount);

// The amount boxes' fraction combo: each FractionNames text once, the empty one first, carrying the
// 48ths it names exactly (24 for "1/2 ").
NamedIdList DistinctFractionChoices();

// The amount an amount box and its fraction list give: the typed amount (none for a blank box) plus
// the 48ths picked. False when the box holds text that is no amount.
bool ReadAmountFields(const WString& wholeText, uint32_t fortyEighths, double& amount);

// An amount as an amount box shows it: the whole part ("" for none) and the 48ths of the fraction
// entry when the two name it (to the six digits files keep), else the whole amount as a number in
// the box ("56.7") and no fraction.
struct AmountFields {
  WString whole;
  uint32_t fortyEighths = 0;
};
AmountFields AmountFieldsOf(double amount);
