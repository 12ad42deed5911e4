#include <gtest/gtest.h>

#include "food/Nutrients.h"
#include "food/Texts.h"

namespace {

WString Shown(uint32_t index, double value, NutrientFormat format, bool showZero = false, bool raw = false) {
  WString out;
  FormatNutrient(out, index, showZero, raw, value, format);
  return out;
}

std::vector<double> Row(uint32_t sex, uint32_t age) {
  std::vector<double> row;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) row.push_back(DailyAllowance(sex, age, n));
  return row;
}

TEST(Nutrients, KeysAndDecimalsInTheFixedOrder) {
  EXPECT_EQ(WString(TXT("CAL")), Nutrient::Key(Nutrient::kCalories));
  EXPECT_EQ(WString(TXT("PANTACID")), Nutrient::Key(Nutrient::kPantothenicAcid));
  EXPECT_EQ(WString(TXT("SE")), Nutrient::Key(Nutrient::kSelenium));
  EXPECT_EQ(2, Nutrient::Decimals(Nutrient::kVitaminB1));
  EXPECT_EQ(1, Nutrient::Decimals(Nutrient::kIron));
  EXPECT_EQ(0, Nutrient::Decimals(Nutrient::kCopper));
  EXPECT_EQ(TXT("Total Fat (g)"), LoadTextById(kTextColumnFirst + Nutrient::kTotalFat));
  EXPECT_EQ(TXT("Selenium (mcg)"), LoadTextById(kTextDiaryColumnFirst + Nutrient::kSelenium));
  EXPECT_EQ(TXT("Comment"), LoadTextById(5233));
}

TEST(Nutrients, ReferenceIsTheMeanOfTheMiddleAgeRows) {
  const double expected[Nutrient::kCount] = {2000, 65,   6.5, 300, 500, 2000, 130,  31.5, 60, 60,
                                             800,  1.15, 1.2, 15,  1.3, 2.4,  82.5, 5,    15, 5,
                                             400,  1000, 13,  700, 370, 9.5,  900,  2.05, 55};
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) EXPECT_DOUBLE_EQ(expected[n], Nutrient::Reference(n)) << n;
}

TEST(Nutrients, AllowanceRowsBySexAndAgeBand) {
  const std::vector<double> male3050 = {2000, 65,   6.5, 300, 500, 2000, 130, 38,  70, 65,
                                        900,  1.2,  1.3, 16,  1.3, 2.4,  90,  5,   15, 5,
                                        400,  1000, 8,   700, 420, 11,   900, 2.3, 55};
  const std::vector<double> female1318 = {2000, 65,   6.5, 300,  500, 2000, 110, 25,  50, 50,
                                          700,  1,    1,   14,   1.2, 2.4,  65,  5,   15, 5,
                                          400,  1300, 15,  1250, 360, 9,    890, 1.6, 55};
  const std::vector<double> male913 = {2000, 65,   6.5, 300,  500, 2000, 110, 38,  70, 45,
                                       600,  0.9,  0.9, 12,   1,   1.8,  45,  5,   11, 4,
                                       300,  1300, 8,   1250, 240, 8,    700, 1.9, 40};
  EXPECT_EQ(male3050, Row(kSexMale, 4));
  EXPECT_EQ(male3050, Row(kSexUnspecified, kAgeBandUnspecified));  // unspecified: male, 30 - 50
  EXPECT_EQ(male3050, Row(kSexMale, 9));
  EXPECT_EQ(female1318, Row(kSexFemale, 2));
  EXPECT_EQ(male913, Row(kSexMale, 1));
  EXPECT_EQ(15, DailyAllowance(kSexFemale, 6, Nutrient::kVitaminD));
  EXPECT_EQ(1200, DailyAllowance(kSexFemale, 6, Nutrient::kCalcium));
  EXPECT_EQ(1.7, DailyAllowance(kSexMale, 5, Nutrient::kVitaminB6));
  EXPECT_EQ(10, DailyAllowance(kSexMale, 5, Nutrient::kVitaminD));
  EXPECT_EQ(310, DailyAllowance(kSexFemale, 3, Nutrient::kMagnesium));
  EXPECT_EQ(0, DailyAllowance(kSexMale, 4, Nutrient::kCount));
  for (uint32_t row = 0; row < kAllowanceRows; ++row)
    EXPECT_EQ(2000, DailyAllowanceTable[row * Nutrient::kCount + Nutrient::kPotassium]) << row;
}

TEST(Nutrients, FormatPlainRoundedAndPercent) {
  const NutrientFormat plain, percent{true, false}, both{true, true}, rounded{false, true};
  EXPECT_EQ(TXT("123.457"), Shown(Nutrient::kCalories, 123.4567, plain));
  EXPECT_EQ(TXT("1.23457e+006"), Shown(Nutrient::kSodium, 1234567, plain));  // the files' real form
  EXPECT_EQ(TXT("100%"), Shown(Nutrient::kIron, 13, percent));
  EXPECT_EQ(TXT("107.3%"), Shown(Nutrient::kVitaminB1, 1.2345, both));
  EXPECT_EQ(TXT(""), Shown(Nutrient::kVitaminB1, 0.004, rounded));
  EXPECT_EQ(TXT("0.004"), Shown(Nutrient::kVitaminB1, 0.004, plain));
  EXPECT_EQ(TXT("2.56"), Shown(Nutrient::kVitaminB6, 2.569, rounded));
  for (const auto& [typed, shown] : {std::pair{0.29, TXT("0.29")}, {1.13, TXT("1.13")}, {4.35, TXT("4.35")}})
    EXPECT_EQ(WString(shown), Shown(Nutrient::kVitaminB6, typed, rounded)) << typed;
  EXPECT_EQ(TXT("455"), Shown(Nutrient::kCalories, 455.9, rounded));
  EXPECT_EQ(TXT("1.2345"), Shown(Nutrient::kVitaminB1, 1.2345, both, false, true));  // raw
  EXPECT_EQ(TXT(""), Shown(Nutrient::kCalories, 0, plain));
  EXPECT_EQ(TXT("0"), Shown(Nutrient::kCalories, 0, plain, true));
  EXPECT_EQ(TXT("0%"), Shown(Nutrient::kCalories, 0, percent, true));
}

// Rounding keeps each nutrient's own number of decimals: none for calories and the milligram
// minerals, one for the gram values and some minerals, two for most vitamins.
TEST(Nutrients, RoundingKeepsEachNutrientsDecimals) {
  const int decimals[Nutrient::kCount] = {0, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 2, 2, 2, 2,
                                          2, 2, 2, 2, 2, 0, 0, 1, 0, 0, 1, 0, 1, 1};
  const WChar* const shown[] = {TXT("7"), TXT("7.8"), TXT("7.89")};
  const NutrientFormat rounded{false, true}, plain;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
    EXPECT_EQ(decimals[n], Nutrient::Decimals(n)) << ToUtf8(Nutrient::Key(n));
    EXPECT_EQ(shown[decimals[n]], Shown(n, 7.8912, rounded)) << ToUtf8(Nutrient::Key(n));
    EXPECT_EQ(TXT("7.8912"), Shown(n, 7.8912, plain)) << ToUtf8(Nutrient::Key(n));
  }
  EXPECT_EQ(0, Nutrient::Decimals(Nutrient::kCount));
  EXPECT_EQ(WString(), Nutrient::Key(Nutrient::kCount));
  EXPECT_EQ(0, Nutrient::Reference(Nutrient::kCount));
}

TEST(Nutrients, OuncesUseOneDecimalAndNeverAPercentage) {
  EXPECT_EQ(TXT("4.4"), Shown(kOuncesFormatIndex, 4.47, NutrientFormat{true, true}));
  for (const uint32_t other : {Nutrient::kCount, 30u, 31u, 33u, 1000u})
    EXPECT_EQ(TXT(""), Shown(other, 4.4, NutrientFormat{}, true)) << other;
  EXPECT_EQ(TXT(""), Shown(kOuncesFormatIndex, -1, NutrientFormat{}));
}

}  // namespace
