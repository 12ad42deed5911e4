#include "food/NutrientChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

bool IsLimitedNutrient(uint32_t nutrient) {
  switch (nutrient) {
    case Nutrient::kTotalFat:
    case Nutrient::kSaturatedFat:
    case Nutrient::kCholesterol:
    case Nutrient::kSodium:
    case Nutrient::kSugar:
      return true;
    default:
      return false;
  }
}

ChartBand BandOf(uint32_t nutrient, double percent) {
  if (percent > 100 && IsLimitedNutrient(nutrient)) return ChartBand::kTooMuch;
  return percent < 50 ? ChartBand::kLow : ChartBand::kEnough;
}

WString ChartNumber(double value) {
  const double size = std::fabs(value);
  int decimals = size >= 100 ? 0 : 1;
  if (size > 0 && size < 1) decimals = std::min(6, 1 - static_cast<int>(std::floor(std::log10(size))));
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string number(text);
  if (number.find('.') != std::string::npos) {
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') number.pop_back();
  }
  return FromAscii(number == "-0" ? "0" : number);
}

std::vector<AllowanceBar> AllowanceBars(const Food& record, int32_t days) {
  const double divisor = std::max(days, 1);
  std::vector<AllowanceBar> bars;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
    const double amount = record.nutrients[n] / divisor;
    const double allowance = record.DailyValue(n);
    const double percent = allowance > 0 ? amount * 100 / allowance : 0;
    bars.push_back(AllowanceBar{n, amount, allowance, percent, BandOf(n, percent)});
  }
  return bars;
}

namespace {

CalendarDate DayOf(const CalendarDate& date) {
  return CalendarDate(date.year, date.month, date.day);
}

uint64_t DayKey(const CalendarDate& date) {
  return (static_cast<uint64_t>(date.year) * 100 + date.month) * 100 + date.day;
}

}  // namespace

int32_t DaysOf(const NutritionPeriod& period) {
  int32_t days = 0;
  const CalendarDate end = period.End();
  for (CalendarDate day = DayOf(period.from); day < end && days < 100000; day.AddDays(1)) ++days;
  return days;
}

NutrientTrend DailyTrend(const std::vector<std::unique_ptr<Meal>>& meals, const NutritionPeriod& period,
                         const Food& allowances, uint32_t nutrient, int32_t maxDays) {
  NutrientTrend trend;
  trend.nutrient = nutrient;
  trend.allowance = allowances.DailyValue(nutrient);
  const int32_t days = DaysOf(period);
  std::map<uint64_t, size_t> dayAt;
  CalendarDate day = DayOf(period.from);
  for (int32_t i = 0; i < std::min(days, maxDays); ++i, day.AddDays(1)) {
    dayAt[DayKey(day)] = trend.days.size();
    trend.days.push_back(DayBar{day});
  }
  double total = 0;
  for (const auto& meal : meals) {
    if (!period.Includes(*meal)) continue;
    total += meal->nutrients[nutrient];
    const auto at = dayAt.find(DayKey(meal->date));
    if (at == dayAt.end()) continue;
    trend.days[at->second].amount += meal->nutrients[nutrient];
    trend.days[at->second].hasMeals = true;
  }
  trend.average = days > 0 ? total / days : 0;
  return trend;
}
