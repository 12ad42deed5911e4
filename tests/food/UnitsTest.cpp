#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <regex>
#include <sstream>
#include <set>
#include <string>

#include "food/Texts.h"
#include "food/Units.h"

namespace {

WString Amount(ServingUnit unit, ServingUnit second, double amount) {
  WString out;
  FormatAmount(out, unit, second, amount, UnitNames());
  return out;
}

// One entry per unit, named by its text, in alphabetical order ignoring case.
TEST(Units, NameListIsAlphabeticalIgnoringCase) {
  const NamedIdList& names = UnitNames();
  ASSERT_EQ(kUnitCount, names.Count());
  WString joined;  // the unit texts are data the files and the user both see
  for (size_t i = 0; i < names.Count(); ++i) {
    EXPECT_EQ(LoadTextById(kTextUnitFirst + names[i].id), names[i].name) << i;
    joined += names[i].name + TXT("|");
  }
  EXPECT_EQ(kUnitBlank, names[0].id);
  EXPECT_EQ(TXT("|bag|clove|cup|dash|g|gallon|jigger|kg|L|Lb|mL|oz|pinch|pint|quart|Serving|slice|stalk|"
                "strip|Tbl|tsp|"),
            joined);
  EXPECT_EQ(kUnitTablespoon, names.IdByName(TXT("Tbl")));
}

// The units per ounce along the volume and weight ladders (spot checks of the table's factors); count
// units have no factor, and only the four weights are weights.
TEST(Units, TableOfFactorsWeightsAndCountUnits) {
  const std::pair<ServingUnit, double> own[] = {
      {kUnitOunce, 1}, {kUnitCup, 0.125}, {kUnitGram, 29.9}, {10, 24}};
  for (const auto& [unit, factor] : own) EXPECT_EQ(factor, UnitTable[unit].factor) << unit;
  // tsp, Tbl, cup, pint, quart, gallon; mL, L; g, kg; oz, Lb.
  const struct {
    ServingUnit smaller, larger;
    double ratio;
  } ladders[] = {
      {16, 15, 3}, {15, 2, 16}, {2, 13, 2}, {13, 14, 2}, {14, 5, 4}, {10, 8, 1000}, {4, 6, 1000}, {11, 9, 16},
  };
  for (const auto& l : ladders)
    EXPECT_DOUBLE_EQ(UnitTable[l.smaller].factor, UnitTable[l.larger].factor * l.ratio) << l.larger;
  const std::set<ServingUnit> weights = {kUnitGram, 6, 9, kUnitOunce},
                              counts = {kUnitServing, kUnitBlank, kUnitSlice, kUnitStalk};
  for (ServingUnit unit = 0; unit < kUnitCount; ++unit) {
    EXPECT_EQ(weights.count(unit) > 0, UnitTable[unit].weight) << unit;
    EXPECT_EQ(counts.count(unit) > 0, IsCountUnit(unit)) << unit;
    EXPECT_EQ(counts.count(unit) > 0, UnitTable[unit].factor == 0) << unit;
  }
  EXPECT_TRUE(IsCountUnit(kUnitCount));  // only damaged files carry such units
  EXPECT_TRUE(IsCountUnit(1000));
}

// A volume of a food counted in blank units goes through its weight; without a weight the
// conversion has no divisor and makes nothing, not infinity; slices count servings.
TEST(Units, ServingsOfConvertsByKind) {
  const struct {
    ServingUnit line, food;
    double amount, size, ounces, servings;
  } cases[] = {{kUnitCup, kUnitCup, 3, 1.5, 0, 2},         {kUnitGram, kUnitOunce, 56.7, 1, 1, 56.7 / 29.9},
               {kUnitTeaspoon, kUnitCup, 3, 1, 0, 0.0625}, {kUnitCup, kUnitCup, 3, 0, 1, 0},
               {kUnitSlice, kUnitGram, 2, 100, 3.5, 2},    {kUnitTablespoon, kUnitBlank, 2, 1, 4, 0.25},
               {kUnitCup, kUnitBlank, 1, 1, 0, 0}};
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(c.servings, ServingsOf(c.line, c.food, c.amount, c.size, c.ounces))
        << c.line << " " << c.food;
}

// What ParseServing reads from a text: "amount unit|rest", or "none amount" when it refuses, which
// leaves the unit alone.
std::string Parsed(const WChar* text) {
  double amount = 99;
  ServingUnit unit = 7;
  const WChar* rest = ParseServing(UnitNames(), text, amount, unit);
  std::ostringstream out;
  out << std::setprecision(15) << (rest ? "" : "none ") << amount + 0.0;
  const WString* name = UnitNames().NameById(unit);
  if (rest) out << ' ' << (name ? ToUtf8(*name) : "?") << '|' << ToUtf8(rest);
  if (!rest && unit != 7) out << " unit " << unit;
  return std::regex_replace(out.str(), std::regex("e([-+])0(\\d\\d)"), "e$1$2");  // as C99, not MSVCRT
}

// A number, a whole number and a fraction or a lone fraction, then a unit word and the rest. The
// unit word is a run of letters, accented and other scripts' letters included; digits, blanks,
// punctuation and the Latin-1 signs (the multiplication and division signs, the acute accent that
// stands in for quotes, the fractions) are no part of it. An amount not above 0 (or beyond the
// range of doubles) is no serving, but the amount read is passed on as it stands.
TEST(Units, ParseServingReadsAmountUnitAndName) {
  const std::pair<const char*, const char*> cases[] = {
      {"3", "3 |"},          {"-2 cup", "none -2"},     {"-1/2 cup", "none -0.5"},
      {"cup", "none 0"},     {"1/2  oz", "0.5 oz|"},    {"~3 Tbl oil", "3 Tbl|oil"},
      {"3 @oz", "3 oz|"},    {"1 \u00BFg?", "1 g|?"},   {"1 \u00D8l", "1 Serving|"},
      {"3 {L}", "3 L|}"},    {"1e309 cup", "none 0"},   {"1 c milk", "1 clove|milk"},
      {"0 cup", "none 0"},   {"2 eggs", "2 Serving|"},  {"1 \u00D7 2 cup", "1 cup|"},
      {"1/0 cup", "1 cup|"}, {"1 1/2 cup", "1.5 cup|"}, {"3 [g] salt", "3 g|] salt"},
      {"3 Z", "3 Serving|"}, {"1.5/2 cup", "1.5 cup|"}, {"2E3 g rice", "2000 g|rice"},
      {"3 z", "3 Serving|"}};
  const std::pair<const char*, const char*> more[] = {
      {"2 Tbl butter", "2 Tbl|butter"},          {"2 Tbl\x0E butter", "2 Tbl|\x0E butter"},
      {"3 `tsp` salt", "3 tsp|` salt"},          {"2 Tbl\t\v\f\r\n butter", "2 Tbl|butter"},
      {"1 \u00F7 Tbl oil", "1 Tbl|oil"},         {"1 \u00C0 la carte", "1 Serving|la carte"},
      {"0.5 OZ  cheese", "0.5 oz|cheese"},       {"2 \u0445\u043B\u0435\u0431", "2 Serving|"},
      {"2.5e-005 g salt", "2.5e-05 g|salt"},     {"1 \u00B4cup\u00B4 flour", "1 cup|\u00B4 flour"},
      {"1 cup\u00E9 milk", "1 Serving|milk"},    {"2\t1/3 Tbl butter", "2.33333333333333 Tbl|butter"},
      {"1e+006 cup flour", "1000000 cup|flour"}, {"- 1 1/2 cup", "none -1.5"}};
  for (const auto& [text, parsed] : cases) EXPECT_EQ(parsed, Parsed(FromUtf8(text).c_str())) << text;
  for (const auto& [text, parsed] : more) EXPECT_EQ(parsed, Parsed(FromUtf8(text).c_str())) << text;
  double amount = 0;
  ServingUnit unit = kUnitBlank;
  ASSERT_NE(nullptr, ParseServing(UnitNames(), TXT("1e308 g"), amount, unit))
      << "the largest amount is a serving";
  EXPECT_DOUBLE_EQ(1e308, amount);  // the last bit differs between C libraries
  EXPECT_EQ(kUnitGram, unit);
}

// Every amount text FormatAmount writes reads back as the amount it names, in the same unit;
// sixteenths, sixths and thirds are named exactly, others by the table's nearest name.
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
        const bool exact = k % 3 == 0 || k == 8 || k == 16 || k == 32;
        EXPECT_TRUE(!exact || std::fabs(amount - read) <= 1.0 / 96) << ToUtf8(text) << " read as " << read;
      }
    }
  }
}

// The whole part, the fraction's name, a blank and the unit. Almost whole amounts carry into the
// whole part; negative amounts show their magnitude after a minus sign unless nothing of them is
// shown at all; amounts far beyond the combos are written out in full; what no double can hold
// shows as nothing.
TEST(Units, FormatAmountWholeFractionAndUnit) {
  const struct {
    ServingUnit unit, second;
    double amount;
    const WChar* text;
  } cases[] = {{kUnitOunce, kUnitNoSuffix, 0.5, TXT("1/2  oz")},
               {kUnitBlank, kUnitNoSuffix, 3, TXT("3 ")},
               {kUnitBlank, kUnitBlank, 3, TXT("3 ")},
               {kUnitBlank, kUnitCup, 3, TXT("3  Serving")}};
  for (const auto& c : cases) EXPECT_EQ(c.text, Amount(c.unit, c.second, c.amount)) << c.amount;
  const std::pair<double, const WChar*> cups[] = {
      {0.01, TXT(" cup")},    {1.5, TXT("1 1/2  cup")},      {12345.75, TXT("12345 3/4  cup")},
      {-0.0, TXT(" cup")},    {-2.0 / 48, TXT(" cup")},      {1e20, TXT("100000000000000000000  cup")},
      {-2, TXT("-2  cup")},   {-1.5, TXT("-1 1/2  cup")},    {-4294967296.5, TXT("-4294967296 1/2  cup")},
      {0.995, TXT("1  cup")}, {-3.0 / 48, TXT("-1/16  cup")}};
  for (const auto& [amount, text] : cups) EXPECT_EQ(text, Amount(kUnitCup, kUnitCup, amount)) << amount;
  using Limits = std::numeric_limits<double>;
  for (const double none : {Limits::infinity(), -Limits::infinity(), Limits::quiet_NaN()})
    EXPECT_EQ(TXT(" cup"), Amount(kUnitCup, kUnitCup, none));
  const WString largest = Amount(kUnitBlank, kUnitNoSuffix, Limits::max());
  EXPECT_EQ(310u, largest.size());  // 309 digits and the blank
  EXPECT_EQ(TXT("17976931348623157"), largest.substr(0, 17));
  const WString lowest = Amount(kUnitBlank, kUnitNoSuffix, Limits::lowest());
  EXPECT_EQ(311u, lowest.size());
  EXPECT_EQ(TXT('-'), lowest[0]);
}

// Carrying into the whole part and large amounts: Units.FormatAmountWholeFractionAndUnit.
TEST(Units, SplitAmountRoundsToTheNearest48th) {
  const struct {
    double amount;
    double whole;
    uint32_t fortyEighths;
  } cases[] = {{1.0 / 96 - 1e-9, 0, 0}, {1.0 / 96 + 1e-9, 0, 1}, {47.4 / 48, 0, 47}, {-2.25, 2, 12}};
  for (const auto& c : cases) {
    const AmountParts parts = SplitAmount(c.amount);
    EXPECT_EQ(c.whole, parts.whole) << c.amount;
    EXPECT_EQ(c.fortyEighths, parts.fortyEighths) << c.amount;
  }
}

// The whole-part combo offers "" (0) and 1..63, and more entries up to an amount's whole part of
// at most 9999 so that such an amount can be selected; beyond that it keeps its 64 entries. The
// fraction names are rounded to the table's names.
TEST(Units, WholePartChoicesGrowWithLargeAmountsUpTo9999) {
  const std::pair<double, size_t> cases[] = {{63.9, 64}, {64, 65}, {-100, 101}, {9999.9, 10000}, {10000, 64}};
  for (const auto& [amount, count] : cases) {
    const NamedIdList choices = WholePartChoices(amount);
    ASSERT_EQ(count, choices.Count()) << amount;
    EXPECT_FALSE(choices.Sorted());
    EXPECT_EQ(TXT(""), choices[0].name);
    for (size_t i = 0; i < count; ++i) EXPECT_EQ(i, choices[i].id) << amount;
    EXPECT_EQ(std::to_string(count - 1), ToUtf8(choices[count - 1].name)) << amount;
  }
  const std::pair<uint32_t, const WChar*> names[] = {
      {2, TXT("")}, {8, TXT("1/6 ")}, {32, TXT("2/3 ")}, {47, TXT("15/16 ")}};
  for (const auto& [k, name] : names) EXPECT_EQ(WString(name), FractionNames[k]) << k;
}

// An amount box and its fraction: the typed amount plus the 48ths; a blank box is none, text that is
// no amount is refused.
TEST(Units, AmountFieldsReadTheTypedAmountAndTheFraction) {
  const struct {
    const WChar* whole;
    uint32_t fortyEighths;
    bool read;
    double amount;
  } cases[] = {{TXT("1 1/2"), 0, true, 1.5},
               {TXT("2"), 12, true, 2.25},
               {TXT(" "), 24, true, 0.5},
               {TXT("250"), 0, true, 250},
               {TXT("two"), 0, false, -1}};
  for (const auto& c : cases) {
    double amount = -1;
    EXPECT_EQ(c.read, ReadAmountFields(c.whole, c.fortyEighths, amount)) << ToUtf8(c.whole);
    EXPECT_DOUBLE_EQ(c.amount, amount) << ToUtf8(c.whole);
  }
}

// What a cook types into an amount box: whole and decimal numbers, a decimal comma, a whole number
// and a fraction or a fraction sign, a lone fraction, blanks around. Refused: no number, words,
// signs, a second fraction, exponents, a denominator of 0, and a comma before three digits, which
// groups thousands in some languages and is a decimal comma in others.
TEST(Units, ReadTypedAmountTakesWhatACookTypes) {
  const std::pair<const char*, double> read[] = {
      {"250", 250},     {"1 1/2", 1.5},       {"1.5", 1.5},        {"1,5", 1.5},        {"\u00BD", 0.5},
      {"1\u00BD", 1.5}, {"1 \u00BE", 1.75},   {"3/4", 0.75},       {" 2 ", 2},          {"0", 0},
      {".5", 0.5},      {"0,125", 0.125},     {"2\t1/3", 7 / 3.0}, {"\u2154", 2 / 3.0}, {"12 3/4", 12.75},
      {"3/2", 1.5},     {"\u00A01\u00A0", 1}, {"1,25", 1.25},      {"007", 7},          {"1\u215B", 1.125}};
  for (const auto& [text, amount] : read) {
    double value = -1;
    EXPECT_TRUE(ReadTypedAmount(FromUtf8(text).c_str(), value)) << text;
    EXPECT_DOUBLE_EQ(amount, value) << text;
  }
  const char* const refused[] = {
      "",    "   ",          "abc",  "1/0", "-1", "-1/2", "2 cups", "1.5 1/2",   "1,000",       "1/2/3",
      "1e3", "\u00BD\u00BD", "1..5", "1.",  "/2", "1 /2", "+2",     "1 1/2 1/2", "2\u00BD 1/2", "1.5\u00BD"};
  for (const char* text : refused) {
    double value = -1;
    EXPECT_FALSE(ReadTypedAmount(FromUtf8(text).c_str(), value)) << text;
    EXPECT_EQ(-1, value) << text;
  }
  double value = -1;
  EXPECT_FALSE(ReadTypedAmount(FromUtf8("1" + std::string(400, '0')).c_str(), value)) << "beyond doubles";
}

// The fraction combo lists each name once, carrying the 48ths it names exactly; an amount fills the
// whole-number box and the fraction entry, or goes into the box in full when no entry names it.
TEST(Units, AmountFieldsShowEveryAmountSoThatItReadsBack) {
  const NamedIdList fractions = DistinctFractionChoices();
  std::set<WString> names;
  for (const NamedId& entry : fractions) {
    EXPECT_TRUE(names.insert(entry.name).second) << ToUtf8(entry.name);
    EXPECT_EQ(entry.name, FractionNames[entry.id]);
    EXPECT_EQ(entry.id, SplitAmount(entry.id / 48.0).fortyEighths) << "names its 48ths exactly";
  }
  EXPECT_EQ(names, std::set<WString>(std::begin(FractionNames), std::end(FractionNames)));
  EXPECT_EQ(WString(), fractions[0].name);
  const struct {
    double amount;
    const WChar* whole;
    uint32_t fortyEighths;
  } cases[] = {{2.5, TXT("2"), 24},     {0.5, TXT(""), 24},
               {250, TXT("250"), 0},    {56.7, TXT("56.7"), 0},
               {0.333333, TXT(""), 16}, {0.52, TXT("0.52"), 0},
               {0, TXT(""), 0},         {1e20, TXT("100000000000000000000"), 0}};
  for (const auto& c : cases) {
    const AmountFields fields = AmountFieldsOf(c.amount);
    EXPECT_EQ(std::tuple(WString(c.whole), c.fortyEighths), std::tuple(fields.whole, fields.fortyEighths))
        << c.amount;
    double whole = 0;
    EXPECT_TRUE(fields.whole.empty() || ReadTypedAmount(fields.whole.c_str(), whole)) << c.amount;
    EXPECT_NEAR(c.amount, whole + fields.fortyEighths / 48.0, 1e-6) << c.amount;
  }
}

}  // namespace
