#include "food/Meal.h"

#include "food/DiaryNameList.h"

#include <algorithm>
#include <iterator>

namespace {
WString mealTypeNames[kMealTypeCount];  // index 0 stays empty
}  // namespace

void SetMealTypeNames(const WString (&names)[kMealTypeCount - 1]) {
  std::copy(std::begin(names), std::end(names), mealTypeNames + 1);
}

const WString& MealTypeName(int32_t mealType) {
  return mealTypeNames[mealType > 0 && mealType < kMealTypeCount ? mealType : 0];
}

Meal::Meal(const FoodOwner* owner) : Food(owner), date(CalendarDate::Now()) {}

void Meal::ColumnText(WString& out, uint32_t column, const CategoryList& categories,
                      const NutrientFormat& format, bool csv, bool raw) const {
  switch (column) {
    case kColumnCategory:
      out += MealTypeName(mealType);
      break;
    case kColumnServingSize: {
      CalendarDate shown = date;
      shown.dateFormat = CalendarDate::kMonthDayYear;
      out += shown.DateText();
      break;
    }
    case kColumnOunces:
      break;
    case kColumnPicture:
      out += comment;
      break;
    default:
      Food::ColumnText(out, column, categories, format, csv, raw);
      break;
  }
}

bool Meal::AddItem(const MealItem& item) {
  if (!item.food || !(item.amount > 0)) return false;
  items.push_back(item);
  AddServings(*item.food, static_cast<ServingUnit>(item.servingType), item.amount, 1);
  return true;
}

void Meal::ClearItems() {
  items.clear();
  ounces = 0;
  nutrients.fill(0);
}

void Meal::Clear() {
  ClearItems();
  name.clear();
  mealType = kMealNone;
}

double FoodRDA::DailyValue(uint32_t nutrient) const {
  return DailyAllowance(sex, ageBand, nutrient);
}

bool NutritionPeriod::Includes(const Meal& meal) const {
  if (mealType != kMealNone && meal.mealType != mealType) return false;
  return meal.catId == diaryId && from <= meal.date && meal.date < to;
}

WString NutritionPeriod::Title() const {
  WString title = from.DateText() + TXT(" - ") + to.DateText();
  if (mealType != kMealNone) title += TXT(" (") + MealTypeName(mealType) + TXT(")");
  return title;
}

FoodRDA NutritionPeriod::EmptyTotals(const DiaryNameList& diaries) const {
  const DiaryName diary = diaries.Find(diaryId);
  FoodRDA totals(diary.sex, diary.ageBand);
  totals.name = Title();
  return totals;
}

void NutritionPeriod::AddIfIncluded(FoodRDA& totals, const Meal& meal) const {
  if (Includes(meal)) totals.AddNutrients(meal, 1.0);
}
