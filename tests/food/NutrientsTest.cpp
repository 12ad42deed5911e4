#include <gtest/gtest.h>

#include <set>

#include "FoodTestSupport.h"
#include "food/NutrientChart.h"

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

const NutrientFormat plain, percent{true, false}, both{true, true}, rounded{false, true};

// Every nutrient has its own key; rounding keeps its own number of decimals: none for calories
// and the milligram minerals, one for the gram values and some minerals, two for most vitamins.
TEST(Nutrients, KeysAndDecimalsInTheFixedOrder) {
  const int decimals[Nutrient::kCount] = {0, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 2, 2, 2, 2,
                                          2, 2, 2, 2, 2, 0, 0, 1, 0, 0, 1, 0, 1, 1};
  const WChar* const shown[] = {TXT("7"), TXT("7.8"), TXT("7.89")};
  std::set<WString> keys;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
    EXPECT_TRUE(*Nutrient::Key(n) && keys.insert(Nutrient::Key(n)).second) << n;
    EXPECT_EQ(decimals[n], Nutrient::Decimals(n)) << n;
    EXPECT_EQ(shown[decimals[n]], Shown(n, 7.8912, rounded)) << n;
    EXPECT_EQ(TXT("7.8912"), Shown(n, 7.8912, plain)) << n;
  }
  EXPECT_EQ(WString(TXT("CAL")), Nutrient::Key(Nutrient::kCalories));
  EXPECT_EQ(WString(TXT("PANTACID")), Nutrient::Key(Nutrient::kPantothenicAcid));
  EXPECT_EQ(WString(TXT("SE")), Nutrient::Key(Nutrient::kSelenium));
  EXPECT_EQ(0, Nutrient::Decimals(Nutrient::kCount));
  EXPECT_EQ(WString(), Nutrient::Key(Nutrient::kCount));
}

// Male, unspecified and unknown sexes use the male rows, an age band outside 1..6 the 30 - 50
// row; the reference for percentages is the mean of the two 30 - 50 rows.
TEST(Nutrients, AllowanceRowsBySexAndAgeBand) {
  for (const uint32_t sex : {0u, 1u, 2u, 7u}) {
    for (const uint32_t band : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 9u}) {
      const size_t row = (sex == kSexFemale ? 6 : 0) + (band >= 1 && band <= 6 ? band - 1 : 3);
      const double* first = &DailyAllowanceTable[row * Nutrient::kCount];
      EXPECT_EQ(std::vector<double>(first, first + Nutrient::kCount), Row(sex, band)) << sex << " " << band;
    }
  }
  for (uint32_t row = 0; row < kAllowanceRows; ++row)
    EXPECT_EQ(2000, DailyAllowanceTable[row * Nutrient::kCount + Nutrient::kPotassium]) << row;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n)
    EXPECT_DOUBLE_EQ((Row(kSexMale, 4)[n] + Row(kSexFemale, 4)[n]) / 2, Nutrient::Reference(n)) << n;
  const struct {
    uint32_t sex, band, nutrient;
    double value;
  } spots[] = {
      {kSexMale, 4, Nutrient::kFiber, 38},          {kSexFemale, 4, Nutrient::kFiber, 25},
      {kSexMale, 4, Nutrient::kCalories, 2000},     {kSexFemale, 2, Nutrient::kIron, 15},
      {kSexFemale, 2, Nutrient::kPhosphorus, 1250}, {kSexMale, 1, Nutrient::kVitaminC, 45},
      {kSexMale, 1, Nutrient::kSelenium, 40},       {kSexFemale, 6, Nutrient::kVitaminD, 15},
      {kSexFemale, 6, Nutrient::kCalcium, 1200},    {kSexMale, 5, Nutrient::kVitaminB6, 1.7},
      {kSexMale, 5, Nutrient::kVitaminD, 10},       {kSexFemale, 3, Nutrient::kMagnesium, 310},
      {kSexMale, 4, Nutrient::kCount, 0},
  };
  for (const auto& s : spots) EXPECT_EQ(s.value, DailyAllowance(s.sex, s.band, s.nutrient)) << s.nutrient;
  EXPECT_DOUBLE_EQ(31.5, Nutrient::Reference(Nutrient::kFiber));
  EXPECT_DOUBLE_EQ(1.15, Nutrient::Reference(Nutrient::kVitaminB1));
  EXPECT_DOUBLE_EQ(2.05, Nutrient::Reference(Nutrient::kManganese));
  EXPECT_EQ(0, Nutrient::Reference(Nutrient::kCount));
}

// Percentages of the reference, rounding truncated to the nutrient's decimals (the typed decimal,
// not its binary neighbour), raw numbers as stored, large ones in the files' exponent form.
TEST(Nutrients, FormatPlainRoundedAndPercent) {
  const struct {
    uint32_t index;
    double value;
    NutrientFormat format;
    const WChar* text;
  } cases[] = {
      {Nutrient::kCalories, 123.4567, plain, TXT("123.457")},
      {Nutrient::kSodium, 1234567, plain, TXT("1.23457e+006")},
      {Nutrient::kIron, 13, percent, TXT("100%")},
      {Nutrient::kVitaminB1, 1.2345, both, TXT("107.3%")},
      {Nutrient::kVitaminB1, 0.004, rounded, TXT("")},
      {Nutrient::kVitaminB1, 0.004, plain, TXT("0.004")},
      {Nutrient::kVitaminB6, 2.569, rounded, TXT("2.56")},
      {Nutrient::kVitaminB6, 0.29, rounded, TXT("0.29")},
      {Nutrient::kVitaminB6, 1.13, rounded, TXT("1.13")},
      {Nutrient::kVitaminB6, 4.35, rounded, TXT("4.35")},
      {Nutrient::kCalories, 455.9, rounded, TXT("455")},
      {Nutrient::kCalories, 0, plain, TXT("")},
      {kOuncesFormatIndex, 4.47, both, TXT("4.4")},
      {kOuncesFormatIndex, -1, plain, TXT("")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.text, Shown(c.index, c.value, c.format)) << c.index << " " << c.value;
  EXPECT_EQ(TXT("1.2345"), Shown(Nutrient::kVitaminB1, 1.2345, both, false, true));
  EXPECT_EQ(TXT("0"), Shown(Nutrient::kCalories, 0, plain, true));
  EXPECT_EQ(TXT("0%"), Shown(Nutrient::kCalories, 0, percent, true));
}

// Index 32 formats the ounces, with one decimal and never a percentage; other indexes show nothing.
TEST(Nutrients, OuncesUseOneDecimalAndNeverAPercentage) {
  for (const uint32_t other : {Nutrient::kCount, 30u, 31u, 33u, 1000u})
    EXPECT_EQ(TXT(""), Shown(other, 4.4, plain, true)) << other;
}

// The figures of the nutrition charts: bands by percentage, bars per day of a period against the
// person's allowance, and the trend of one nutrient over the days of a period.
// Below half the allowance is low; more than the allowance is too much only for total fat,
// saturated fat, cholesterol, sodium and sugar.
TEST(NutrientChart, BandsByPercentageWithAWarningOnlyForNutrientsToLimit) {
  namespace N = Nutrient;
  constexpr ChartBand low = ChartBand::kLow, enough = ChartBand::kEnough, tooMuch = ChartBand::kTooMuch;
  const struct {
    uint32_t nutrient;
    double percent;
    ChartBand band;
  } cases[] = {
      {N::kSaturatedFat, 101, tooMuch}, {N::kCalories, 180, enough}, {N::kProtein, 0, low},
      {N::kCholesterol, 300, tooMuch},  {N::kSugar, 101, tooMuch},   {N::kSugar, 20, low},
      {N::kTotalFat, 120, tooMuch},     {N::kProtein, 250, enough},  {N::kProtein, 50, enough},
      {N::kSodium, 100.1, tooMuch},     {N::kSodium, 100, enough},   {N::kProtein, 49.9, low},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.band, BandOf(c.nutrient, c.percent)) << c.nutrient << " " << c.percent;
}

// A week's totals of a woman of 75 show her average day against her own allowances.
TEST(NutrientChart, AllowanceBarsAverageThePeriodsDays) {
  FoodRDA totals(kSexFemale, 6);
  for (uint32_t n = 0; n < Nutrient::kCount; ++n)
    totals.nutrients[n] = 7 * totals.DailyValue(n) * (n + 1) / 20;
  const std::vector<AllowanceBar> bars = AllowanceBars(totals, 7);
  ASSERT_EQ(bars.size(), static_cast<size_t>(Nutrient::kCount));
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
    EXPECT_EQ(bars[n].nutrient, n);
    EXPECT_DOUBLE_EQ(bars[n].allowance, totals.DailyValue(n));
    EXPECT_NEAR(bars[n].amount, totals.DailyValue(n) * (n + 1) / 20, 1e-9) << n;
    EXPECT_NEAR(bars[n].percent, 5.0 * (n + 1), 1e-9) << n;
    EXPECT_EQ(bars[n].band, BandOf(n, bars[n].percent)) << n;
  }
  // A single food is its own day; no days at all count as one.
  Ingredient food;
  food.nutrients[Nutrient::kCalories] = food.DailyValue(Nutrient::kCalories) / 4;
  for (const int32_t days : {1, 0}) EXPECT_NEAR(AllowanceBars(food, days)[0].percent, 25, 1e-9);
}

TEST(NutrientChart, TrendHasADayBarForEveryDayOfThePeriodAndAveragesOverThemAll) {
  std::vector<std::unique_ptr<Meal>> meals;
  meals.push_back(MealOn(1, kMealBreakfast, CalendarDate(2010, 3, 7, 8, 0, 0), 300));
  meals.push_back(MealOn(1, kMealDinner, CalendarDate(2010, 3, 7, 19, 0, 0), 900));
  meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 9, 12, 0, 0), 600));
  meals.push_back(MealOn(2, kMealLunch, CalendarDate(2010, 3, 8, 12, 0, 0), 5000));   // another diary
  meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 11, 12, 0, 0), 5000));  // the "To:" day
  NutritionPeriod period;
  period.diaryId = 1;
  period.from = CalendarDate(2010, 3, 7);
  period.to = CalendarDate(2010, 3, 11);
  EXPECT_EQ(DaysOf(period), 4);
  const FoodRDA person(kSexMale, 3);
  const NutrientTrend trend = DailyTrend(meals, period, person, Nutrient::kCalories);
  ASSERT_EQ(trend.days.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(trend.days[i].day.day, 7 + i);
    EXPECT_DOUBLE_EQ(trend.days[i].amount, i == 0 ? 1200 : i == 2 ? 600 : 0) << i;
    EXPECT_EQ(trend.days[i].hasMeals, i % 2 == 0) << i;
  }
  EXPECT_DOUBLE_EQ(trend.average, 1800.0 / 4);
  EXPECT_DOUBLE_EQ(trend.allowance, person.DailyValue(Nutrient::kCalories));

  period.mealType = kMealDinner;
  EXPECT_DOUBLE_EQ(DailyTrend(meals, period, person, Nutrient::kCalories).average, 900.0 / 4);
  // Only the days shown are limited; the average still counts every day.
  period.mealType = kMealNone;
  const NutrientTrend firstTwo = DailyTrend(meals, period, person, Nutrient::kCalories, 2);
  EXPECT_EQ(firstTwo.days.size(), 2u);
  EXPECT_DOUBLE_EQ(firstTwo.average, 1800.0 / 4);
  // An empty or reversed period has no days.
  for (const CalendarDate& to : {CalendarDate(2010, 3, 7), CalendarDate(2010, 3, 1)}) {
    period.to = to;
    EXPECT_EQ(DaysOf(period), 0);
    EXPECT_TRUE(DailyTrend(meals, period, person, Nutrient::kCalories).days.empty());
    EXPECT_DOUBLE_EQ(DailyTrend(meals, period, person, Nutrient::kCalories).average, 0);
  }
}

}  // namespace
