#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "food/Units.h"

namespace {

WString Amount(ServingUnit unit, ServingUnit second, double amount) {
  WString out;
  FormatAmount(out, unit, second, amount, UnitNames());
  return out;
}

TEST(Units, NameListIsAlphabeticalIgnoringCase) {
  std::vector<WString> names;
  for (const NamedId& e : UnitNames()) names.push_back(e.name);
  const std::vector<WString> expected = {
      TXT(""),       TXT("bag"),    TXT("clove"), TXT("cup"),   TXT("dash"),    TXT("g"),
      TXT("gallon"), TXT("jigger"), TXT("kg"),    TXT("L"),     TXT("Lb"),      TXT("mL"),
      TXT("oz"),     TXT("pinch"),  TXT("pint"),  TXT("quart"), TXT("Serving"), TXT("slice"),
      TXT("stalk"),  TXT("strip"),  TXT("Tbl"),   TXT("tsp")};
  EXPECT_EQ(expected, names);
  EXPECT_EQ(15u, UnitNames().IdByName(TXT("Tbl")));
}

// The units per ounce of every unit, the weight flag, and which units count servings.
TEST(Units, TableOfFactorsWeightsAndCountUnits) {
  const struct {
    double factor;
    bool weight, count;
  } expected[kUnitCount] = {
      {0, false, true},      {0, false, true},          {0.125, false, false},   {48, false, false},
      {29.9, true, false},   {0.0078125, false, false}, {0.0299, true, false},   {0.66666, false, false},
      {0.024, false, false}, {0.0625, true, false},     {24, false, false},      {1, true, false},
      {96, false, false},    {0.0625, false, false},    {0.03125, false, false}, {2, false, false},
      {6, false, false},     {2, false, false},         {4, false, false},       {0.0625, false, false},
      {0, false, true},      {0, false, true},
  };
  for (ServingUnit unit = 0; unit < kUnitCount; ++unit) {
    EXPECT_EQ(expected[unit].factor, UnitTable[unit].factor) << unit;
    EXPECT_EQ(expected[unit].weight, UnitTable[unit].weight) << unit;
    EXPECT_EQ(expected[unit].count, IsCountUnit(unit)) << unit;
  }
  EXPECT_TRUE(IsCountUnit(kUnitCount));  // only damaged files carry such units
  EXPECT_TRUE(IsCountUnit(1000));
}

TEST(Units, ServingsOfConvertsByKind) {
  EXPECT_DOUBLE_EQ(2, ServingsOf(kUnitCup, kUnitCup, 3, 1.5, 0));
  EXPECT_DOUBLE_EQ(0.0625, ServingsOf(kUnitTeaspoon, kUnitCup, 3, 1, 0));
  EXPECT_NEAR(1.896, ServingsOf(kUnitGram, kUnitOunce, 56.7, 1, 1), 0.001);
  EXPECT_DOUBLE_EQ(8, ServingsOf(kUnitCup, kUnitOunce, 1, 1, 1));
  EXPECT_DOUBLE_EQ(2, ServingsOf(kUnitServing, kUnitCup, 2, 1, 4));
  EXPECT_DOUBLE_EQ(2, ServingsOf(20, kUnitGram, 2, 100, 3.5));  // slices count servings
  EXPECT_DOUBLE_EQ(0, ServingsOf(kUnitCup, kUnitCup, 3, 0, 1));
  // A volume of a food counted in blank units goes through its weight: 2 Tbl of a 4 oz serving.
  EXPECT_DOUBLE_EQ(0.25, ServingsOf(kUnitTablespoon, kUnitBlank, 2, 1, 4));
  // Without a weight the conversion has no divisor and makes nothing, not infinity.
  EXPECT_DOUBLE_EQ(0, ServingsOf(kUnitCup, kUnitBlank, 1, 1, 0));
}

struct ParseCase {
  const WChar* text;
  double amount;
  ServingUnit unit;
  const WChar* rest;  // null: no result
};

// Each text reads as its amount, its unit and the rest of the text.
template <size_t N>
void ExpectParsed(const ParseCase (&cases)[N]) {
  for (const ParseCase& c : cases) {
    double amount = -1;
    ServingUnit unit = 99;
    const WChar* rest = ParseServing(UnitNames(), c.text, amount, unit);
    ASSERT_NE(nullptr, rest) << ToUtf8(c.text);
    EXPECT_DOUBLE_EQ(c.amount, amount) << ToUtf8(c.text);
    EXPECT_EQ(c.unit, unit) << ToUtf8(c.text);
    EXPECT_EQ(WString(c.rest), WString(rest)) << ToUtf8(c.text);
  }
}

TEST(Units, ParseServingReadsAmountUnitAndName) {
  const ParseCase cases[] = {
      {TXT("2 Tbl butter"), 2, 15, TXT("butter")},
      {TXT("3"), 3, kUnitBlank, TXT("")},
      {TXT("2 eggs"), 2, kUnitServing, TXT("")},
      {TXT("1 1/2 cup"), 1.5, kUnitCup, TXT("")},
      {TXT("2 1/2  cup"), 2.5, kUnitCup, TXT("")},
      {TXT("1/2  oz"), 0.5, kUnitOunce, TXT("")},
      {TXT("3/4 "), 0.75, kUnitBlank, TXT("")},
      {TXT("2\t1/3 Tbl butter"), 2 + 1.0 / 3, 15, TXT("butter")},
      {TXT("1/0 cup"), 1, kUnitCup, TXT("")},  // no fraction without a denominator
      {TXT("1.5/2 cup"), 1.5, kUnitCup, TXT("")},
      {TXT("1e+006 cup flour"), 1e6, kUnitCup, TXT("flour")},
      {TXT("2.5e-005 g salt"), 2.5e-5, kUnitGram, TXT("salt")},
      {TXT("1e6 cup"), 1e6, kUnitCup, TXT("")},
      {TXT("2E3 g rice"), 2e3, kUnitGram, TXT("rice")},
      {TXT("1 c milk"), 1, 17, TXT("milk")},
      {TXT("1 cu"), 1, kUnitCup, TXT("")},
      {TXT("1 gal"), 1, 5, TXT("")},
      {TXT("1 t"), 1, 15, TXT("")},
      {TXT("1 s"), 1, kUnitServing, TXT("")},
      {TXT(" 2 cup"), 2, kUnitCup, TXT("")},
      {TXT("2 Tbl\t\v\f\r\n butter"), 2, 15, TXT("butter")},
      {TXT("2 Tbl\x0E butter"), 2, 15, TXT("\x0E butter")},
      {TXT("~3 Tbl oil"), 3, 15, TXT("oil")},
      {TXT("0.5 OZ  cheese"), 0.5, kUnitOunce, TXT("cheese")},
  };
  ExpectParsed(cases);
}

// The unit word is a run of letters, accented and other scripts' letters included; digits,
// blanks, punctuation and the Latin-1 signs (the multiplication and division signs, the acute
// accent that stands in for quotes, the fractions) are no part of it.
TEST(Units, UnitWordsAreRunsOfLettersOfAnyScript) {
  const ParseCase cases[] = {
      {TXT("1 \u00C0 la carte"), 1, kUnitServing, TXT("la carte")},
      {TXT("1 \u00D6l"), 1, kUnitServing, TXT("")},
      {TXT("1 \u00D8l"), 1, kUnitServing, TXT("")},
      {TXT("1 \u00FFogurt"), 1, kUnitServing, TXT("")},
      {TXT("2 \u0445\u043B\u0435\u0431"), 2, kUnitServing, TXT("")},
      {TXT("1 cup\u00E9 milk"), 1, kUnitServing, TXT("milk")},
      {TXT("1 \u00D7 2 cup"), 1, kUnitCup, TXT("")},
      {TXT("1 \u00F7 Tbl oil"), 1, kUnitTablespoon, TXT("oil")},
      {TXT("1 \u00B4cup\u00B4 flour"), 1, kUnitCup, TXT("\u00B4 flour")},
      {TXT("1 \u00BD cup"), 1, kUnitCup, TXT("")},
      {TXT("1 \u00BFg?"), 1, kUnitGram, TXT("?")},
      {TXT("3 @oz"), 3, kUnitOunce, TXT("")},
      {TXT("3 [g] salt"), 3, kUnitGram, TXT("] salt")},
      {TXT("3 `tsp` salt"), 3, kUnitTeaspoon, TXT("` salt")},
      {TXT("3 {L}"), 3, 8, TXT("}")},
      {TXT("1 GALLON milk"), 1, 5, TXT("milk")},
      {TXT("3 Z"), 3, kUnitServing, TXT("")},
      {TXT("3 z"), 3, kUnitServing, TXT("")},
  };
  ExpectParsed(cases);
}

TEST(Units, ParseServingWithoutPositiveAmountKeepsTheUnit) {
  double amount = 5;
  ServingUnit unit = 7;
  EXPECT_EQ(nullptr, ParseServing(UnitNames(), TXT("0 cup"), amount, unit));
  EXPECT_EQ(0, amount);
  EXPECT_EQ(7u, unit);
  EXPECT_EQ(nullptr, ParseServing(UnitNames(), TXT("cup"), amount, unit));
  EXPECT_EQ(nullptr, ParseServing(UnitNames(), TXT("1e400 cup"), amount, unit));  // beyond any double
  EXPECT_EQ(0, amount);
  EXPECT_EQ(7u, unit);
}

// Every amount text FormatAmount writes reads back as the amount it names: the nearest 48th, named
// by the table, in the same unit.
TEST(Units, ParseServingReadsEveryFormattedAmount) {
  for (ServingUnit unit = 0; unit < kUnitCount; ++unit) {
    for (const double whole : {0.0, 1.0, 2.0, 63.0, 100.0, 12345.0}) {
      for (uint32_t k = 0; k < 48; ++k) {
        const double amount = whole + k / 48.0;
        const WString text = Amount(unit, kUnitNoSuffix, amount);
        if (amount < 1 && FractionNames[k][0] == 0) continue;  // no number is written
        double read = 0;
        ServingUnit readUnit = 99;
        ASSERT_NE(nullptr, ParseServing(UnitNames(), text.c_str(), read, readUnit)) << ToUtf8(text);
        EXPECT_EQ(unit, readUnit) << ToUtf8(text);
        EXPECT_EQ(text, Amount(readUnit, kUnitNoSuffix, read));
        // Sixteenths, sixths and thirds are named exactly; others by the table's nearest name.
        const bool exact = k % 3 == 0 || k == 8 || k == 16 || k == 32;
        if (exact) {
          EXPECT_NEAR(amount, read, 1.0 / 96) << ToUtf8(text);
        }
      }
    }
  }
}

TEST(Units, FractionNamesRoundToTheTablesNames) {
  EXPECT_EQ(WString(TXT("")), FractionNames[2]);
  EXPECT_EQ(WString(TXT("1/16 ")), FractionNames[4]);  // 1/12
  EXPECT_EQ(WString(TXT("1/8 ")), FractionNames[7]);
  EXPECT_EQ(WString(TXT("1/6 ")), FractionNames[8]);
  EXPECT_EQ(WString(TXT("1/3 ")), FractionNames[16]);
  EXPECT_EQ(WString(TXT("2/3 ")), FractionNames[32]);
  EXPECT_EQ(WString(TXT("15/16 ")), FractionNames[47]);
  for (const WChar* name : FractionNames) {
    const WString text(name);
    if (!text.empty()) {
      EXPECT_EQ(TXT(' '), text.back());
    }
  }
}

TEST(Units, FormatAmountWholeFractionAndUnit) {
  EXPECT_EQ(TXT("2  cup"), Amount(kUnitCup, kUnitCup, 2));
  EXPECT_EQ(TXT("1 1/2  cup"), Amount(kUnitCup, kUnitCup, 1.5));
  EXPECT_EQ(TXT("1/2  oz"), Amount(kUnitOunce, kUnitNoSuffix, 0.5));
  EXPECT_EQ(TXT("3 "), Amount(kUnitBlank, kUnitNoSuffix, 3));
  EXPECT_EQ(TXT("3 "), Amount(kUnitBlank, kUnitBlank, 3));
  EXPECT_EQ(TXT("3  Serving"), Amount(kUnitBlank, kUnitCup, 3));
  EXPECT_EQ(TXT(" cup"), Amount(kUnitCup, kUnitCup, 0.01));
  EXPECT_EQ(TXT("1/3  Tbl"), Amount(kUnitTablespoon, kUnitBlank, 1.0 / 3));
}

TEST(Units, AlmostWholeAmountsCarryIntoTheWholePart) {
  EXPECT_EQ(TXT("1  cup"), Amount(kUnitCup, kUnitCup, 0.995));
  EXPECT_EQ(TXT("3  cup"), Amount(kUnitCup, kUnitCup, 2.999));
  const AmountParts parts = SplitAmount(63.999);
  EXPECT_EQ(64, parts.whole);
  EXPECT_EQ(0u, parts.fortyEighths);
  EXPECT_EQ(TXT("-1 1/2  cup"), Amount(kUnitCup, kUnitCup, -1.5));
}

// Negative amounts show their magnitude after a minus sign, unless nothing of them is shown at
// all; amounts far beyond the combos are written out in full; what no double can hold shows as
// nothing.
TEST(Units, NegativeAndHugeAmountsInTheirTextForm) {
  const std::pair<double, const WChar*> cases[] = {
      {-2, TXT("-2  cup")},
      {-0.5, TXT("-1/2  cup")},
      {-1.5, TXT("-1 1/2  cup")},
      {-0.995, TXT("-1  cup")},
      {-0.01, TXT(" cup")},
      {-1.0 / 48, TXT(" cup")},
      {-2.0 / 48, TXT(" cup")},
      {-3.0 / 48, TXT("-1/16  cup")},
      {-0.0, TXT(" cup")},
      {64, TXT("64  cup")},
      {12345.75, TXT("12345 3/4  cup")},
      {1e10, TXT("10000000000  cup")},
      {1e20, TXT("100000000000000000000  cup")},
      {-4294967296.5, TXT("-4294967296 1/2  cup")},
      {std::numeric_limits<double>::infinity(), TXT(" cup")},
      {-std::numeric_limits<double>::infinity(), TXT(" cup")},
      {std::numeric_limits<double>::quiet_NaN(), TXT(" cup")},
  };
  for (const auto& [amount, text] : cases) EXPECT_EQ(text, Amount(kUnitCup, kUnitCup, amount)) << amount;
  const WString largest = Amount(kUnitBlank, kUnitNoSuffix, std::numeric_limits<double>::max());
  EXPECT_EQ(310u, largest.size());  // 309 digits and the blank
  EXPECT_EQ(TXT("17976931348623157"), largest.substr(0, 17));
  const WString lowest = Amount(kUnitBlank, kUnitNoSuffix, std::numeric_limits<double>::lowest());
  EXPECT_EQ(311u, lowest.size());
  EXPECT_EQ(TXT('-'), lowest[0]);
}

TEST(Units, SplitAmountRoundsToTheNearest48th) {
  const struct {
    double amount;
    double whole;
    uint32_t fortyEighths;
  } cases[] = {
      {0, 0, 0},          {1.0 / 96 - 1e-9, 0, 0}, {1.0 / 96 + 1e-9, 0, 1}, {0.5, 0, 24},
      {47.4 / 48, 0, 47}, {47.6 / 48, 1, 0},       {2.25, 2, 12},           {-2.25, 2, 12},
      {63.999, 64, 0},    {1e9 + 0.5, 1e9, 24},
  };
  for (const auto& c : cases) {
    const AmountParts parts = SplitAmount(c.amount);
    EXPECT_EQ(c.whole, parts.whole) << c.amount;
    EXPECT_EQ(c.fortyEighths, parts.fortyEighths) << c.amount;
  }
}

// The whole-part combo offers 0..63, and more entries up to an amount's whole part of at most
// 9999 so that such an amount can be selected; beyond that it keeps its 64 entries.
TEST(Units, WholePartChoicesGrowWithLargeAmountsUpTo9999) {
  const std::pair<double, size_t> cases[] = {{0, 64},     {63.9, 64},  {64, 65},      {64.5, 65},
                                             {100, 101},  {-100, 101}, {9999, 10000}, {9999.9, 10000},
                                             {10000, 64}, {1e12, 64}};
  for (const auto& [amount, count] : cases) {
    const NamedIdList choices = WholePartChoices(amount);
    ASSERT_EQ(count, choices.Count()) << amount;
    EXPECT_EQ(count - 1, choices[count - 1].id) << amount;
    EXPECT_EQ(std::to_string(count - 1), ToUtf8(choices[count - 1].name)) << amount;
    EXPECT_FALSE(choices.Sorted());
  }
  EXPECT_DOUBLE_EQ(9999 + 47.0 / 48, AmountFromCombos(9999, 47));
  EXPECT_DOUBLE_EQ(0, AmountFromCombos(0, 0));
}

// A negative amount is no serving: nothing is returned and the unit stays, but the amount read is
// passed on as it stands.
TEST(Units, ParseServingRefusesNegativeAmounts) {
  const std::pair<const WChar*, double> cases[] = {
      {TXT("-2 cup"), -2},  {TXT("-1/2 cup"), -0.5}, {TXT("- 1 1/2 cup"), -1.5},
      {TXT("x-3 Tbl"), -3}, {TXT("-0 cup"), 0},      {TXT("1e309 cup"), 0},
  };
  for (const auto& [text, expected] : cases) {
    double amount = 99;
    ServingUnit unit = 7;
    EXPECT_EQ(nullptr, ParseServing(UnitNames(), text, amount, unit)) << ToUtf8(text);
    EXPECT_DOUBLE_EQ(expected, amount) << ToUtf8(text);
    EXPECT_EQ(7u, unit) << ToUtf8(text);
  }
  double amount = 0;
  ServingUnit unit = 0;
  ASSERT_NE(nullptr, ParseServing(UnitNames(), TXT("1e308 g"), amount, unit));
  EXPECT_DOUBLE_EQ(1e308, amount);  // the last bit differs between C libraries
  EXPECT_EQ(kUnitGram, unit);
}

TEST(Units, AmountCombosOfferEveryAmountAndReadItBack) {
  const NamedIdList wholes = WholePartChoices(2.25);
  ASSERT_EQ(64u, wholes.Count());
  EXPECT_EQ(TXT(""), wholes[0].name);
  for (size_t i = 0; i < wholes.Count(); ++i) EXPECT_EQ(i, wholes[i].id);  // the blank entry reads as 0
  EXPECT_EQ(TXT("63"), wholes[63].name);
  EXPECT_EQ(63u, wholes[63].id);
  const NamedIdList fractions = FractionChoices();
  ASSERT_EQ(48u, fractions.Count());
  EXPECT_EQ(TXT("1/4 "), fractions[12].name);
  const AmountParts parts = SplitAmount(2.25);
  EXPECT_DOUBLE_EQ(
      2.25, AmountFromCombos(wholes[static_cast<size_t>(parts.whole)].id, fractions[parts.fortyEighths].id));
  // A larger amount extends the whole-part choices so it can still be selected.
  const NamedIdList many = WholePartChoices(100.5);
  ASSERT_EQ(101u, many.Count());
  EXPECT_EQ(TXT("100"), many[100].name);
}

}  // namespace
