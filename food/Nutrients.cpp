#include "food/Nutrients.h"

#include <cmath>

#include "food/NumberText.h"

namespace {

struct NutrientInfo {
  const WChar* key;
  int decimals;
};

constexpr NutrientInfo kNutrients[Nutrient::kCount] = {
    {TXT("CAL"), 0},       {TXT("FAT"), 1},   {TXT("SATFAT"), 1}, {TXT("CHOL"), 0},  {TXT("NA"), 0},
    {TXT("K"), 0},         {TXT("CARB"), 1},  {TXT("FIBER"), 1},  {TXT("SUGAR"), 1}, {TXT("PROTEIN"), 0},
    {TXT("VITA"), 0},      {TXT("VITB1"), 2}, {TXT("VITB2"), 2},  {TXT("VITB3"), 2}, {TXT("VITB6"), 2},
    {TXT("VITB12"), 2},    {TXT("VITC"), 2},  {TXT("VITD"), 2},   {TXT("VITE"), 2},  {TXT("PANTACID"), 2},
    {TXT("FOLICACID"), 0}, {TXT("CA"), 0},    {TXT("FE"), 1},     {TXT("PH"), 0},    {TXT("MG"), 0},
    {TXT("ZN"), 1},        {TXT("CU"), 0},    {TXT("MN"), 1},     {TXT("SE"), 1},
};

constexpr uint32_t kMaleRow = 0, kFemaleRow = 1, kMiddleAgeRow = 3;

}  // namespace

// Every row starts with the six values all ages share: calories, total fat, saturated fat,
// cholesterol, sodium, potassium.
// clang-format off
#define MIREPAN_COMMON 2000, 65, 6.5, 300, 500, 2000
const double DailyAllowanceTable[kAllowanceRows * Nutrient::kCount] = {
    // male 9 - 13, 13 - 18, 18 - 30, 30 - 50, 50 - 70, 70+
    MIREPAN_COMMON, 110, 38, 70, 45, 600, 0.9, 0.9, 12, 1, 1.8, 45, 5, 11, 4, 300, 1300, 8, 1250, 240, 8, 700, 1.9, 40,
    MIREPAN_COMMON, 110, 38, 70, 50, 900, 1.2, 1.3, 16, 1.3, 2.4, 75, 5, 15, 5, 400, 1300, 11, 1250, 410, 11, 890, 2.2, 55,
    MIREPAN_COMMON, 130, 38, 70, 65, 900, 1.2, 1.3, 16, 1.3, 2.4, 90, 5, 15, 5, 400, 1000, 8, 700, 400, 11, 900, 2.3, 55,
    MIREPAN_COMMON, 130, 38, 70, 65, 900, 1.2, 1.3, 16, 1.3, 2.4, 90, 5, 15, 5, 400, 1000, 8, 700, 420, 11, 900, 2.3, 55,
    MIREPAN_COMMON, 130, 38, 70, 65, 900, 1.2, 1.3, 16, 1.7, 2.4, 90, 10, 15, 5, 400, 1200, 8, 700, 420, 11, 900, 2.3, 55,
    MIREPAN_COMMON, 130, 38, 70, 65, 900, 1.2, 1.3, 16, 1.7, 2.4, 90, 15, 15, 5, 400, 1200, 8, 700, 420, 11, 900, 2.3, 55,
    // female 9 - 13, 13 - 18, 18 - 30, 30 - 50, 50 - 70, 70+
    MIREPAN_COMMON, 110, 25, 50, 45, 600, 0.9, 0.9, 12, 1, 1.8, 45, 5, 11, 4, 300, 1300, 8, 1250, 240, 8, 700, 1.6, 40,
    MIREPAN_COMMON, 110, 25, 50, 50, 700, 1, 1, 14, 1.2, 2.4, 65, 5, 15, 5, 400, 1300, 15, 1250, 360, 9, 890, 1.6, 55,
    MIREPAN_COMMON, 130, 25, 50, 55, 700, 1.1, 1.1, 14, 1.3, 2.4, 75, 5, 15, 5, 400, 1000, 18, 700, 310, 8, 900, 1.8, 55,
    MIREPAN_COMMON, 130, 25, 50, 55, 700, 1.1, 1.1, 14, 1.3, 2.4, 75, 5, 15, 5, 400, 1000, 18, 700, 320, 8, 900, 1.8, 55,
    MIREPAN_COMMON, 130, 25, 50, 55, 700, 1.1, 1.1, 14, 1.5, 2.4, 75, 10, 15, 5, 400, 1200, 8, 700, 320, 8, 900, 1.8, 55,
    MIREPAN_COMMON, 130, 25, 50, 55, 700, 1.1, 1.1, 14, 1.5, 2.4, 75, 15, 15, 5, 400, 1200, 8, 700, 320, 8, 900, 1.8, 55,
};
#undef MIREPAN_COMMON
// clang-format on

namespace {
double TableEntry(uint32_t sexRow, uint32_t ageRow, uint32_t nutrient) {
  return DailyAllowanceTable[(sexRow * 6 + ageRow) * Nutrient::kCount + nutrient];
}
}  // namespace

namespace Nutrient {
const WChar* Key(uint32_t nutrient) {
  return nutrient < kCount ? kNutrients[nutrient].key : TXT("");
}
int Decimals(uint32_t nutrient) {
  return nutrient < kCount ? kNutrients[nutrient].decimals : 0;
}
double Reference(uint32_t nutrient) {
  if (nutrient >= kCount) return 0;
  return (TableEntry(kMaleRow, kMiddleAgeRow, nutrient) + TableEntry(kFemaleRow, kMiddleAgeRow, nutrient)) *
         0.5;
}
}  // namespace Nutrient

double DailyAllowance(uint32_t sex, uint32_t ageBand, uint32_t nutrient) {
  if (nutrient >= Nutrient::kCount) return 0;
  const uint32_t sexRow = sex == kSexFemale ? kFemaleRow : kMaleRow;
  const uint32_t ageRow = ageBand >= 1 && ageBand <= 6 ? ageBand - 1 : kMiddleAgeRow;
  return TableEntry(sexRow, ageRow, nutrient);
}

void FormatNutrient(WString& out, uint32_t index, bool showZero, bool raw, double value,
                    const NutrientFormat& format) {
  const bool nutrient = index < Nutrient::kCount;
  if (!nutrient && index != kOuncesFormatIndex) return;
  int decimals = nutrient ? Nutrient::Decimals(index) : 1;
  const bool percent = format.displayPercent && !raw && nutrient;
  if (percent) {
    const double reference = Nutrient::Reference(index);
    if (reference != 0) value = 100 * value / reference;
    decimals = 1;
  }
  if (format.roundNumbers && !raw) {
    // The decimal the user typed is cut, not its binary neighbour: 0.29 is 0.28999... in a double.
    const double scale = std::pow(10.0, decimals);
    value = std::trunc(value * scale * (1 + 1e-12)) / scale;
  }
  if (!showZero && !(value > 0)) return;
  AppendReal(out, value);
  if (percent) out += TXT('%');
}
