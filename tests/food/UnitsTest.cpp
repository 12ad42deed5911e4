#include <gtest/gtest.h>

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
      {TXT("1 c milk"), 1, 17, TXT("milk")},
      {TXT("1 cu"), 1, kUnitCup, TXT("")},
      {TXT("1 gal"), 1, 5, TXT("")},
      {TXT("1 t"), 1, 15, TXT("")},
      {TXT("1 s"), 1, kUnitServing, TXT("")},
      {TXT("0.5 OZ  cheese"), 0.5, kUnitOunce, TXT("cheese")},
  };
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

TEST(Units, AmountCombosOfferEveryAmountAndReadItBack) {
  const NamedIdList wholes = WholePartChoices(2.25);
  ASSERT_EQ(64u, wholes.Count());
  EXPECT_EQ(TXT(""), wholes[0].name);
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
