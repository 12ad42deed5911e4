// The figures of the nutrition charts: bands by percentage, bars per day of a period against the
// person's allowance, and the trend of one nutrient over the days of a period.
#include <gtest/gtest.h>

#include "food/NutrientChart.h"

namespace {

TEST(NutrientChart, BandsByPercentageWithAWarningOnlyForNutrientsToLimit) {
  const struct {
    uint32_t nutrient;
    double percent;
    ChartBand band;
  } cases[] = {
      {Nutrient::kProtein, 0, ChartBand::kLow},
      {Nutrient::kProtein, 49.9, ChartBand::kLow},
      {Nutrient::kProtein, 50, ChartBand::kEnough},
      {Nutrient::kProtein, 250, ChartBand::kEnough},
      {Nutrient::kSodium, 100, ChartBand::kEnough},
      {Nutrient::kSodium, 100.1, ChartBand::kTooMuch},
      {Nutrient::kTotalFat, 120, ChartBand::kTooMuch},
      {Nutrient::kSaturatedFat, 101, ChartBand::kTooMuch},
      {Nutrient::kCholesterol, 300, ChartBand::kTooMuch},
      {Nutrient::kSugar, 101, ChartBand::kTooMuch},
      {Nutrient::kSugar, 20, ChartBand::kLow},
      {Nutrient::kCalories, 180, ChartBand::kEnough},
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

std::unique_ptr<Meal> MealOn(uint32_t diary, int32_t type, CalendarDate date, double calories) {
  auto meal = std::make_unique<Meal>();
  meal->catId = diary;
  meal->mealType = type;
  meal->date = date;
  meal->nutrients[Nutrient::kCalories] = calories;
  return meal;
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
  const double amounts[] = {1200, 0, 600, 0};
  const bool eaten[] = {true, false, true, false};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(trend.days[i].day.day, 7 + i);
    EXPECT_DOUBLE_EQ(trend.days[i].amount, amounts[i]) << i;
    EXPECT_EQ(trend.days[i].hasMeals, eaten[i]) << i;
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
  for (const CalendarDate to : {CalendarDate(2010, 3, 7), CalendarDate(2010, 3, 1)}) {
    period.to = to;
    EXPECT_EQ(DaysOf(period), 0);
    EXPECT_TRUE(DailyTrend(meals, period, person, Nutrient::kCalories).days.empty());
    EXPECT_DOUBLE_EQ(DailyTrend(meals, period, person, Nutrient::kCalories).average, 0);
  }
}

}  // namespace
