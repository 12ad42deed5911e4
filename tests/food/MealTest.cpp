#include <gtest/gtest.h>

#include <list>
#include <memory>

#include "FoodTestSupport.h"
#include "food/DiaryNameList.h"
#include "food/Meal.h"

namespace {

const WString kMealNames[kMealTypeCount - 1] = {
    TXT("Breakfast"), TXT("Morning Snack"), TXT("Lunch"),         TXT("Afternoon Snack"),
    TXT("Dinner"),    TXT("Evening Snack"), TXT("Midnight Snack")};

Ingredient Bread() {
  Ingredient bread;
  bread.name = TXT("Bread");
  bread.size = 2;
  bread.type = 20;  // slice
  bread.ounces = 2;
  bread.nutrients[Nutrient::kCalories] = 160;
  bread.nutrients[Nutrient::kIron] = 1.5;
  return bread;
}

Meal MealOn(uint32_t diary, int32_t type, CalendarDate date, double calories) {
  Meal meal;
  meal.catId = diary;
  meal.mealType = type;
  meal.date = date;
  meal.nutrients[Nutrient::kCalories] = calories;
  return meal;
}

TEST(Meal, NewMealIsEmptyAndDatedNow) {
  const CalendarDate before = CalendarDate::Now();
  const Meal meal;
  EXPECT_TRUE(meal.items.empty());
  EXPECT_EQ(kMealNone, meal.mealType);
  EXPECT_LE(before, meal.date);
}

// The program hands the names over from its string table; 0 and unknown codes have none.
TEST(Meal, MealTypeNamesAreTheOnesHandedOverByCode) {
  SetMealTypeNames(kMealNames);
  EXPECT_EQ(TXT("Breakfast"), MealTypeName(kMealBreakfast));
  EXPECT_EQ(TXT("Afternoon Snack"), MealTypeName(kMealAfternoonSnack));
  EXPECT_EQ(TXT("Midnight Snack"), MealTypeName(kMealMidnightSnack));
  for (const int32_t code : {int32_t{kMealNone}, kMealTypeCount, int32_t{-1}}) EXPECT_EQ(TXT(""), MealTypeName(code)) << code;
}

TEST(Meal, AddItemKeepsPositiveAmountsAndBuildsTotals) {
  Ingredient bread = Bread();
  Meal meal;
  EXPECT_TRUE(meal.AddItem(MealItem{3, 20, &bread}));  // 3 slices of a 2-slice serving
  EXPECT_FALSE(meal.AddItem(MealItem{0, 20, &bread}));
  EXPECT_FALSE(meal.AddItem(MealItem{-1, 20, &bread}));
  EXPECT_FALSE(meal.AddItem(MealItem{1, 20, nullptr}));
  ASSERT_EQ(1u, meal.items.size());
  EXPECT_DOUBLE_EQ(240, meal.nutrients[Nutrient::kCalories]);
  EXPECT_DOUBLE_EQ(2.25, meal.nutrients[Nutrient::kIron]);
  EXPECT_DOUBLE_EQ(3, meal.ounces);
  EXPECT_TRUE(meal.AddItem(MealItem{1, static_cast<int32_t>(kUnitServing), &bread}));
  EXPECT_DOUBLE_EQ(400, meal.nutrients[Nutrient::kCalories]);

  Meal copy = meal;
  meal.ClearItems();
  EXPECT_TRUE(meal.items.empty());
  EXPECT_EQ(0, meal.nutrients[Nutrient::kCalories]);
  EXPECT_EQ(2u, copy.items.size());
  EXPECT_EQ(&bread, copy.items[0].food);
}

TEST(Meal, ClearEmptiesForReuse) {
  Ingredient bread = Bread();
  Meal meal;
  meal.name = TXT("Groceries");
  meal.mealType = 4;
  meal.AddItem(MealItem{1, 20, &bread});
  meal.Clear();
  EXPECT_TRUE(meal.items.empty());
  EXPECT_TRUE(meal.name.empty());
  EXPECT_EQ(kMealNone, meal.mealType);
  EXPECT_EQ(0, meal.nutrients[Nutrient::kCalories]);
}

TEST(Meal, DiaryColumns) {
  SetMealTypeNames(kMealNames);
  CategoryList diaries;
  Meal meal = MealOn(1, kMealLunch, CalendarDate(2010, 3, 7, 12, 30, 0), 512.5);
  meal.date.dateFormat = CalendarDate::kYearMonthDay;  // the column always shows month-day-year
  meal.name = TXT("Picnic");
  meal.comment = TXT("Outside");
  meal.ounces = 9;
  auto cell = [&](uint32_t column) {
    WString out;
    meal.ColumnText(out, column, diaries, NutrientFormat{}, false, false);
    return out;
  };
  EXPECT_EQ(TXT("Lunch"), cell(kColumnCategory));
  EXPECT_EQ(TXT("Picnic"), cell(kColumnName));
  EXPECT_EQ(TXT("03-07-2010"), cell(kColumnServingSize));
  EXPECT_EQ(TXT(""), cell(kColumnOunces));
  EXPECT_EQ(TXT("Outside"), cell(kColumnPicture));
  EXPECT_EQ(TXT("512.5"), cell(Nutrient::kCalories));
}

TEST(FoodRDA, AnswersThePersonsAllowances) {
  const FoodRDA unspecified(kSexUnspecified, kAgeBandUnspecified);
  EXPECT_EQ(38, unspecified.DailyValue(Nutrient::kFiber));  // male 30 - 50
  const FoodRDA woman(kSexFemale, 6);
  EXPECT_EQ(15, woman.DailyValue(Nutrient::kVitaminD));
  EXPECT_EQ(1200, woman.DailyValue(Nutrient::kCalcium));
  const Meal meal;
  EXPECT_EQ(31.5, meal.DailyValue(Nutrient::kFiber));  // other foods use the reference
}

class NutritionPeriodTest : public ::testing::Test {
 protected:
  void SetUp() override {
    diaries.Add(DiaryName{TXT("Ann"), 1, 3, kSexFemale});
    diaries.Add(TXT("Bob"), 2);
    period.diaryId = 1;
    period.from = CalendarDate(2010, 3, 7);
    period.to = CalendarDate(2010, 3, 8);
    meals.push_back(MealOn(1, kMealBreakfast, CalendarDate(2010, 3, 7), 300));
    meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 7, 23, 59, 59), 500));
    meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 8), 700));             // the "To:" day
    meals.push_back(MealOn(1, kMealDinner, CalendarDate(2010, 3, 6, 23, 0, 0), 900));  // the day before
    meals.push_back(MealOn(2, kMealLunch, CalendarDate(2010, 3, 7, 12, 0, 0), 1100));  // another diary
  }

  DiaryNameList diaries;
  NutritionPeriod period;
  std::vector<Meal> meals;
};

TEST_F(NutritionPeriodTest, CountsTheDiarysMealsFromTheFirstDayUpToTheLast) {
  const FoodRDA totals = period.Totals(meals, diaries);
  EXPECT_DOUBLE_EQ(800, totals.nutrients[Nutrient::kCalories]);
  EXPECT_EQ(kSexFemale, totals.sex);
  EXPECT_EQ(3u, totals.ageBand);
  EXPECT_EQ(18, totals.DailyValue(Nutrient::kIron));
  EXPECT_EQ(TXT("03-07-2010 - 03-08-2010"), totals.name);
}

TEST_F(NutritionPeriodTest, MealTypeFiltersAndNamesTheTitle) {
  SetMealTypeNames(kMealNames);
  period.mealType = kMealLunch;
  std::vector<const Meal*> pointers;
  for (const Meal& meal : meals) pointers.push_back(&meal);
  const FoodRDA totals = period.Totals(pointers, diaries);
  EXPECT_DOUBLE_EQ(500, totals.nutrients[Nutrient::kCalories]);
  EXPECT_EQ(TXT("03-07-2010 - 03-08-2010 (Lunch)"), period.Title());
}

TEST_F(NutritionPeriodTest, UnknownDiaryIsComparedWithTheUnspecifiedPerson) {
  period.diaryId = 2;
  std::list<std::unique_ptr<Meal>> owned;
  for (const Meal& meal : meals) owned.push_back(std::make_unique<Meal>(meal));
  EXPECT_DOUBLE_EQ(1100, period.Totals(owned, diaries).nutrients[Nutrient::kCalories]);
  period.diaryId = 5;
  const FoodRDA none = period.Totals(owned, diaries);
  EXPECT_EQ(0, none.nutrients[Nutrient::kCalories]);
  EXPECT_EQ(38, none.DailyValue(Nutrient::kFiber));
}

}  // namespace
