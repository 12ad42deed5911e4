#pragma once
// The figures the nutrition charts draw: one bar per nutrient against the daily allowance, and one
// bar per day of a diary period for one nutrient. Drawing them is the windows' business.
#include <cstdint>
#include <memory>
#include <vector>

#include "food/CalendarDate.h"
#include "food/Food.h"
#include "food/Meal.h"

// How a bar is coloured: below half the allowance, from half of it up (any amount of a nutrient
// one need not limit), and above the allowance of one to limit.
enum class ChartBand { kLow, kEnough, kTooMuch };

// Total fat, saturated fat, cholesterol, sodium and sugar: more than the allowance is a warning.
bool IsLimitedNutrient(uint32_t nutrient);
ChartBand BandOf(uint32_t nutrient, double percent);

// A chart's number as people read it: whole from 100 up, one decimal at most from 1, and below 1
// the decimals of two significant digits (at most six), so a small amount never reads "0".
WString ChartNumber(double value);

struct AllowanceBar {
  uint32_t nutrient;
  double amount;     // per day
  double allowance;  // 0 when the record has none for the nutrient
  double percent;    // amount / allowance × 100; 0 without an allowance
  ChartBand band;
};

// The 29 bars in their fixed order: the record's values divided by `days` (an average per day of a
// diary period; 1 for a single food) against the record's own daily values.
std::vector<AllowanceBar> AllowanceBars(const Food& record, int32_t days = 1);

// The days from `from` through `to` counted by date, whatever the times of day; 0 when `to` is
// before `from`.
int32_t DaysOf(const NutritionPeriod& period);

struct DayBar {
  CalendarDate day;
  double amount = 0;
  bool hasMeals = false;  // a day without meals is drawn empty, not as 0
};

struct NutrientTrend {
  uint32_t nutrient = Nutrient::kCalories;
  std::vector<DayBar> days;
  double allowance = 0;  // per day, the diary person's
  double average = 0;    // the period's total divided by its days
};

// The period's days, each with the sum of the nutrient over its included meals. At most `maxDays`
// days are listed; the average counts them all.
NutrientTrend DailyTrend(const std::vector<std::unique_ptr<Meal>>& meals, const NutritionPeriod& period,
                         const Food& allowances, uint32_t nutrient, int32_t maxDays = 366);
