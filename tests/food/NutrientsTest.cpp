#include <gtest/gtest.h>

#include <set>

#include "FoodTestSupport.h"
#include "food/DiaryNameList.h"
#include "food/NutrientChart.h"

namespace {

namespace N = Nutrient;

WString Shown(uint32_t index, double value, NutrientFormat format, bool showZero = false, bool raw = false) {
  WString out;
  FormatNutrient(out, index, showZero, raw, value, format);
  return out;
}

std::vector<double> Row(uint32_t sex, uint32_t age) {
  std::vector<double> row;
  for (uint32_t n = 0; n < N::kCount; ++n) row.push_back(DailyAllowance(sex, age, n));
  return row;
}

const NutrientFormat plain, percent{true, false}, both{true, true}, rounded{false, true};

// Every nutrient has its own key; rounding keeps its own number of decimals: none for calories
// and the milligram minerals, one for the gram values and some minerals, two for most vitamins.
TEST(Nutrients, KeysAndDecimalsInTheFixedOrder) {
  const int decimals[N::kCount] = {0, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 2, 2, 2, 2,
                                   2, 2, 2, 2, 2, 0, 0, 1, 0, 0, 1, 0, 1, 1};
  const WChar* const shown[] = {TXT("7"), TXT("7.8"), TXT("7.89")};
  std::set<WString> keys;
  for (uint32_t n = 0; n < N::kCount; ++n) {
    EXPECT_TRUE(*N::Key(n) && keys.insert(N::Key(n)).second) << n;
    EXPECT_EQ(decimals[n], N::Decimals(n)) << n;
    EXPECT_EQ(shown[decimals[n]], Shown(n, 7.8912, rounded)) << n;
    EXPECT_EQ(TXT("7.8912"), Shown(n, 7.8912, plain)) << n;
  }
  EXPECT_EQ(WString(TXT("CAL")), N::Key(N::kCalories));
  EXPECT_EQ(WString(TXT("PANTACID")), N::Key(N::kPantothenicAcid));
  EXPECT_EQ(WString(TXT("SE")), N::Key(N::kSelenium));
  EXPECT_EQ(0, N::Decimals(N::kCount));
  EXPECT_EQ(WString(), N::Key(N::kCount));
}

// Male, unspecified and unknown sexes use the male rows, an age band outside 1..6 the 30 - 50
// row; the reference for percentages is the mean of the two 30 - 50 rows.
TEST(Nutrients, AllowanceRowsBySexAndAgeBand) {
  for (const uint32_t sex : {0u, 1u, 2u, 7u}) {
    for (uint32_t band = 0; band <= 7; ++band) {
      const size_t row = (sex == kSexFemale ? 6 : 0) + (band >= 1 && band <= 6 ? band - 1 : 3);
      const double* first = &DailyAllowanceTable[row * N::kCount];
      EXPECT_EQ(std::vector<double>(first, first + N::kCount), Row(sex, band)) << sex << " " << band;
    }
  }
  for (uint32_t row = 0; row < kAllowanceRows; ++row)
    EXPECT_EQ(2000, DailyAllowanceTable[row * N::kCount + N::kPotassium]) << row;
  for (uint32_t n = 0; n < N::kCount; ++n)
    EXPECT_DOUBLE_EQ((Row(kSexMale, 4)[n] + Row(kSexFemale, 4)[n]) / 2, N::Reference(n)) << n;
  // Spot checks of the table's values.
  const struct {
    uint32_t sex, band, nutrient;
    double value;
  } spots[] = {
      {kSexMale, 4, N::kFiber, 38},       {kSexFemale, 4, N::kFiber, 25}, {kSexFemale, 2, N::kIron, 15},
      {kSexFemale, 6, N::kCalcium, 1200}, {kSexMale, 4, N::kCount, 0},    {kSexFemale, 3, N::kMagnesium, 310},
      {kSexMale, 4, N::kVitaminB1, 1.2},
  };
  for (const auto& s : spots) EXPECT_EQ(s.value, DailyAllowance(s.sex, s.band, s.nutrient)) << s.nutrient;
  EXPECT_DOUBLE_EQ(31.5, N::Reference(N::kFiber));
  EXPECT_EQ(0, N::Reference(N::kCount));
}

// Percentages of the reference, rounding truncated to the nutrient's decimals (the typed decimal,
// not its binary neighbour), raw numbers as stored, large ones in the files' exponent form. Index
// 32 formats the ounces, with one decimal and never as a percentage; the indexes around it nothing.
TEST(Nutrients, FormatPlainRoundedAndPercent) {
  const struct {
    uint32_t index;
    double value;
    NutrientFormat format;
    const WChar* text;
  } cases[] = {{N::kIron, 13, percent, TXT("100%")},        {N::kVitaminB6, 2.569, rounded, TXT("2.56")},
               {N::kVitaminB1, 0.004, rounded, TXT("")},    {kOuncesFormatIndex, 4.47, both, TXT("4.4")},
               {kOuncesFormatIndex, -1, plain, TXT("")},    {N::kCalories, 123.4567, plain, TXT("123.457")},
               {N::kVitaminB6, 0.29, rounded, TXT("0.29")}, {N::kSodium, 1234567, plain, TXT("1.23457e+006")},
               {N::kVitaminB1, 1.2345, both, TXT("107.3%")}};
  for (const auto& c : cases)
    EXPECT_EQ(c.text, Shown(c.index, c.value, c.format)) << c.index << " " << c.value;
  EXPECT_EQ(TXT("1.2345"), Shown(N::kVitaminB1, 1.2345, both, false, true));
  EXPECT_EQ(TXT("0"), Shown(N::kCalories, 0, plain, true));
  EXPECT_EQ(TXT("0%"), Shown(N::kCalories, 0, percent, true));
  for (const uint32_t other : {N::kCount, 31u, 33u})
    EXPECT_EQ(TXT(""), Shown(other, 4.4, plain, true)) << other;
}

// Below half the allowance is low; more than the allowance is too much only for total fat,
// saturated fat, cholesterol, sodium and sugar.
TEST(NutrientChart, BandsByPercentageWithAWarningOnlyForNutrientsToLimit) {
  constexpr ChartBand low = ChartBand::kLow, enough = ChartBand::kEnough, tooMuch = ChartBand::kTooMuch;
  const struct {
    uint32_t nutrient;
    double percent;
    ChartBand band;
  } cases[] = {{N::kProtein, 49.9, low},  {N::kSodium, 100, enough},    {N::kSodium, 100.1, tooMuch},
               {N::kSugar, 101, tooMuch}, {N::kCalories, 180, enough},  {N::kCholesterol, 300, tooMuch},
               {N::kProtein, 50, enough}, {N::kTotalFat, 120, tooMuch}, {N::kSaturatedFat, 101, tooMuch}};
  for (const auto& c : cases)
    EXPECT_EQ(c.band, BandOf(c.nutrient, c.percent)) << c.nutrient << " " << c.percent;
}

// Small amounts show the digits that make them non-zero: 0.03 mg of vitamin B1 is not "0".
TEST(NutrientChart, NumbersAreWholeFromAHundredOneDecimalFromOneAndTwoDigitsBelow) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},       {0.03, "0.03"},   {0.034, "0.034"}, {0.0042, "0.0042"}, {0.25, "0.25"},
      {0.999, "1"},   {1, "1"},         {19.64, "19.6"},  {19.96, "20"},      {99.96, "100"},
      {124.4, "124"}, {2486.2, "2486"}, {1e-9, "0"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(ToUtf8(ChartNumber(value)), text) << value;
}

// A week's totals of a woman of 75 show her average day against her own allowances.
TEST(NutrientChart, AllowanceBarsAverageThePeriodsDays) {
  FoodRDA totals(kSexFemale, 6);
  for (uint32_t n = 0; n < N::kCount; ++n) totals.nutrients[n] = 7 * totals.DailyValue(n) * (n + 1) / 20;
  const std::vector<AllowanceBar> bars = AllowanceBars(totals, 7);
  ASSERT_EQ(bars.size(), static_cast<size_t>(N::kCount));
  for (uint32_t n = 0; n < N::kCount; ++n) {
    EXPECT_EQ(bars[n].nutrient, n);
    EXPECT_DOUBLE_EQ(bars[n].allowance, totals.DailyValue(n));
    EXPECT_NEAR(bars[n].amount, totals.DailyValue(n) * (n + 1) / 20, 1e-9) << n;
    EXPECT_NEAR(bars[n].percent, 5.0 * (n + 1), 1e-9) << n;
    EXPECT_EQ(bars[n].band, BandOf(n, bars[n].percent)) << n;
  }
  // A single food is its own day; no days at all count as one.
  Ingredient food;
  food.nutrients[N::kCalories] = food.DailyValue(N::kCalories) / 4;
  for (const int32_t days : {1, 0}) EXPECT_NEAR(AllowanceBars(food, days)[0].percent, 25, 1e-9);
}

// From 03-07 to 03-10 are four days, the "To:" day among them.
TEST(NutrientChart, TrendHasADayBarForEveryDayOfThePeriodAndAveragesOverThemAll) {
  std::vector<std::unique_ptr<Meal>> meals;
  meals.push_back(MealOn(1, kMealBreakfast, CalendarDate(2010, 3, 7, 8, 0, 0), 300));
  meals.push_back(MealOn(1, kMealDinner, CalendarDate(2010, 3, 7, 19, 0, 0), 900));
  meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 9, 12, 0, 0), 600));
  meals.push_back(MealOn(2, kMealLunch, CalendarDate(2010, 3, 8, 12, 0, 0), 5000));  // another diary
  meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 10, 23, 0, 0), 400));  // the "To:" day
  meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 11), 5000));           // the day after
  NutritionPeriod period;
  period.diaryId = 1;
  period.from = CalendarDate(2010, 3, 7);
  period.to = CalendarDate(2010, 3, 10);
  EXPECT_EQ(DaysOf(period), 4);
  const FoodRDA person(kSexMale, 3);
  const NutrientTrend trend = DailyTrend(meals, period, person, N::kCalories);
  ASSERT_EQ(trend.days.size(), 4u);
  const double amounts[] = {1200, 0, 600, 400};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(trend.days[i].day.day, 7 + i);
    EXPECT_DOUBLE_EQ(trend.days[i].amount, amounts[i]) << i;
    EXPECT_EQ(trend.days[i].hasMeals, i != 1) << i;
  }
  EXPECT_DOUBLE_EQ(trend.average, 2200.0 / 4);
  EXPECT_DOUBLE_EQ(trend.allowance, person.DailyValue(N::kCalories));
  EXPECT_DOUBLE_EQ(period.Totals(meals, DiaryNameList()).nutrients[N::kCalories], 2200);

  period.mealType = kMealDinner;
  EXPECT_DOUBLE_EQ(DailyTrend(meals, period, person, N::kCalories).average, 900.0 / 4);
  // Only the days shown are limited; the average still counts every day.
  period.mealType = kMealNone;
  const NutrientTrend firstTwo = DailyTrend(meals, period, person, N::kCalories, 2);
  EXPECT_EQ(firstTwo.days.size(), 2u);
  EXPECT_DOUBLE_EQ(firstTwo.average, 2200.0 / 4);
  // A period ending on its first day is that day; one ending before it has no days.
  period.to = CalendarDate(2010, 3, 7);
  EXPECT_EQ(std::pair(DaysOf(period), DailyTrend(meals, period, person, N::kCalories).average),
            std::pair(1, 1200.0));
  for (const CalendarDate& to : {CalendarDate(2010, 3, 6), CalendarDate(2010, 3, 1)}) {
    period.to = to;
    EXPECT_EQ(DaysOf(period), 0);
    EXPECT_TRUE(DailyTrend(meals, period, person, N::kCalories).days.empty());
    EXPECT_DOUBLE_EQ(DailyTrend(meals, period, person, N::kCalories).average, 0);
  }
}

}  // namespace
