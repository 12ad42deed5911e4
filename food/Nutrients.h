#pragma once
// The 29 nutrients in their fixed order (record fields, XML leaves, list columns, string tables,
// allowance rows), the daily allowances, and the one display rule for nutrient numbers.
#include <cstddef>
#include <cstdint>

#include "storage/Text.h"

namespace Nutrient {
enum Index : uint32_t {
  kCalories,
  kTotalFat,
  kSaturatedFat,
  kCholesterol,
  kSodium,
  kPotassium,
  kCarbohydrates,
  kFiber,
  kSugar,
  kProtein,
  kVitaminA,
  kVitaminB1,
  kVitaminB2,
  kVitaminB3,
  kVitaminB6,
  kVitaminB12,
  kVitaminC,
  kVitaminD,
  kVitaminE,
  kPantothenicAcid,
  kFolicAcid,
  kCalcium,
  kIron,
  kPhosphorus,
  kMagnesium,
  kZinc,
  kCopper,
  kManganese,
  kSelenium,
};
constexpr uint32_t kCount = 29;

// The XML key, "CAL" .. "SE".
const WChar* Key(uint32_t nutrient);
// Decimals kept when numbers are rounded.
int Decimals(uint32_t nutrient);
// The reference daily value for percentages: the mean of the male and female 30 - 50 allowances.
double Reference(uint32_t nutrient);
}  // namespace Nutrient

// Allowances per sex row (0 male, 1 female), age row (0..5: 9 - 13, 13 - 18, 18 - 30, 30 - 50,
// 50 - 70, 70+) and nutrient, nutrient fastest: [(sexRow * 6 + ageRow) * 29 + nutrient].
constexpr size_t kAllowanceRows = 12;
extern const double DailyAllowanceTable[kAllowanceRows * Nutrient::kCount];

// Sex codes and age band codes of a diary's person.
enum SexCode : uint32_t { kSexUnspecified = 0, kSexFemale = 1, kSexMale = 2 };
constexpr uint32_t kAgeBandUnspecified = 0;
constexpr uint32_t kAgeBandCount = 7;  // "Unspecified" and six bands

// The allowance for a person: "Male" and "Unspecified" use the male rows, an age band outside
// 1..6 the 30 - 50 row. A nutrient outside 0..28 has no allowance (0).
double DailyAllowance(uint32_t sex, uint32_t ageBand, uint32_t nutrient);

// The options that shape nutrient numbers in lists, CSV files and editors.
struct NutrientFormat {
  bool displayPercent = false;
  bool roundNumbers = false;
};

// Index 32 formats the ounces per serving (one decimal, never a percentage); indexes other than
// 0..28 and 32 append nothing.
constexpr uint32_t kOuncesFormatIndex = 32;

// Appends value as shown: as a percentage of the reference daily value when displayPercent is on
// and raw is off, truncated toward zero to the nutrient's decimals when roundNumbers is on and raw
// is off, nothing for a value not greater than 0 unless showZero.
void FormatNutrient(WString& out, uint32_t index, bool showZero, bool raw, double value,
                    const NutrientFormat& format);
