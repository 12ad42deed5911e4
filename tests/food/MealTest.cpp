#include <gtest/gtest.h>

#include <list>
#include <tuple>

#include "FoodTestSupport.h"
#include "food/DiaryNameList.h"

namespace {

const WString kMealNames[kMealTypeCount - 1] = {
    TXT("Breakfast"), TXT("Morning Snack"), TXT("Lunch"),         TXT("Afternoon Snack"),
    TXT("Dinner"),    TXT("Evening Snack"), TXT("Midnight Snack")};

Ingredient Bread() {
  Ingredient bread;
  SetFood(bread, TXT("Bread"), 2, kUnitSlice, 2, 160);
  bread.nutrients[Nutrient::kIron] = 1.5;
  return bread;
}

// A new meal has no items, type 0 and the time of its construction; Clear empties it for reuse.
TEST(Meal, NewMealIsEmptyAndDatedNow) {
  const CalendarDate before = CalendarDate::Now();
  Meal meal;
  EXPECT_TRUE(meal.items.empty());
  EXPECT_EQ(kMealNone, meal.mealType);
  EXPECT_LE(before, meal.date);
  Ingredient bread = Bread();
  meal.name = TXT("Groceries");
  meal.mealType = 4;
  meal.AddItem(MealItem{1, kUnitSlice, &bread});
  meal.Clear();
  EXPECT_TRUE(meal.items.empty());
  EXPECT_EQ("0/0 | 0 0 0", Fields(meal));
  EXPECT_EQ(kMealNone, meal.mealType);
}

// The program hands the names over from its string table; 0 and unknown codes have none.
TEST(Meal, MealTypeNamesAreTheOnesHandedOverByCode) {
  SetMealTypeNames(kMealNames);
  for (int32_t code = kMealBreakfast; code < kMealTypeCount; ++code)
    EXPECT_EQ(kMealNames[code - 1], MealTypeName(code)) << code;
  for (const int32_t code : {int32_t{kMealNone}, kMealTypeCount, int32_t{-1}})
    EXPECT_EQ(TXT(""), MealTypeName(code)) << code;
}

// Items with a food and a positive amount are kept and add their servings to the totals; 3
// slices of a 2-slice serving are 1.5 servings. ClearItems takes the totals away with them.
TEST(Meal, AddItemKeepsPositiveAmountsAndBuildsTotals) {
  Ingredient bread = Bread();
  Meal meal;
  EXPECT_TRUE(meal.AddItem(MealItem{3, kUnitSlice, &bread}));
  EXPECT_FALSE(meal.AddItem(MealItem{0, kUnitSlice, &bread}));
  EXPECT_FALSE(meal.AddItem(MealItem{-1, kUnitSlice, &bread}));
  EXPECT_FALSE(meal.AddItem(MealItem{1, kUnitSlice, nullptr}));
  ASSERT_EQ(1u, meal.items.size());
  EXPECT_EQ("0/0 | 0 0 3 CAL=240 FE=2.25", Fields(meal));
  EXPECT_TRUE(meal.AddItem(MealItem{1, static_cast<int32_t>(kUnitServing), &bread}));
  EXPECT_EQ("0/0 | 0 0 5 CAL=400 FE=3.75", Fields(meal));
  const Meal copy = meal;
  meal.ClearItems();
  EXPECT_TRUE(meal.items.empty());
  EXPECT_EQ("0/0 | 0 0 0", Fields(meal));
  EXPECT_EQ(2u, copy.items.size());
  EXPECT_EQ(&bread, copy.items[0].food);
}

// A meal read with an item whose food the catalog no longer has, or without items, keeps its
// stored totals, and keeps the part its items do not explain when it is edited (the dialog clears the items
// and adds the kept ones again). A meal whose items all came back is priced from its items, as before.
TEST(Meal, EditingAMealWithAnUnknownFoodKeepsThatFoodsPartOfTheTotals) {
  MemoryCatalog catalog;
  catalog.Add(TXT("Bread"), 2, 160);
  CategoryList diaries;
  uint32_t counter = 0;
  const auto edited = [&](const char* items) {
    XMLDoc doc;
    doc.SetText(FromUtf8(std::string("<DIARY><FOODLIST>") + items +
                         "</FOODLIST><FOOD><CATID>1</CATID><FOODID>5</FOODID><CAL>500</CAL></FOOD></DIARY>"));
    doc.NextTag();
    Meal meal;
    EXPECT_TRUE(meal.ReadDiaryElement(doc, diaries, counter, catalog));
    EXPECT_EQ(500, meal.nutrients[Nutrient::kCalories]);  // as stored
    const std::vector<MealItem> kept = meal.items;
    meal.ClearItems();
    for (const MealItem& item : kept) meal.AddItem(item);
    return std::tuple(kept.size(), meal.nutrients[Nutrient::kCalories]);
  };
  const char* bread = "<FOODITEM><ID>2</ID><AMOUNT>1</AMOUNT><TYPE>0</TYPE></FOODITEM>";
  const char* gone = "<FOODITEM><ID>99</ID><AMOUNT>2</AMOUNT><TYPE>0</TYPE></FOODITEM>";
  EXPECT_EQ(edited((std::string(bread) + gone).c_str()), std::tuple(1u, 500.0));
  EXPECT_EQ(edited(gone), std::tuple(0u, 500.0));
  EXPECT_EQ(edited(""), std::tuple(0u, 500.0));  // stored without items
  EXPECT_EQ(edited(bread), std::tuple(1u, 160.0));
}

// Category, name, serving, ounces and picture columns show type, name, the date (always
// month-day-year), nothing and the comment.
TEST(Meal, DiaryColumns) {
  SetMealTypeNames(kMealNames);
  CategoryList diaries;
  Meal meal = *MealOn(1, kMealLunch, CalendarDate(2010, 3, 7, 12, 30, 0), 512.5);
  meal.date.dateFormat = CalendarDate::kYearMonthDay;
  meal.name = TXT("Picnic");
  meal.comment = TXT("Outside");
  meal.ounces = 9;
  const uint32_t columns[] = {kColumnCategory, kColumnName,    kColumnServingSize,
                              kColumnOunces,   kColumnPicture, Nutrient::kCalories};
  for (size_t i = 0; i < std::size(columns); ++i)
    EXPECT_EQ(Split(TXT("Lunch|Picnic|03-07-2010||Outside|512.5"))[i], Cell(meal, columns[i], diaries)) << i;
}

// A period of one day, "From:" and "To:" the same: two meals on it, to its last second, one the
// day after, one the day before and one of another diary.
class NutritionPeriodTest : public ::testing::Test {
 protected:
  void SetUp() override {
    diaries.Add(DiaryName{TXT("Ann"), 1, 3, kSexFemale});
    diaries.Add(TXT("Bob"), 2);
    period.diaryId = 1;
    period.from = CalendarDate(2010, 3, 7);
    period.to = CalendarDate(2010, 3, 7);
    meals.push_back(MealOn(1, kMealBreakfast, CalendarDate(2010, 3, 7), 300));
    meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 7, 23, 59, 59), 500));
    meals.push_back(MealOn(1, kMealLunch, CalendarDate(2010, 3, 8), 700));
    meals.push_back(MealOn(1, kMealDinner, CalendarDate(2010, 3, 6, 23, 0, 0), 900));
    meals.push_back(MealOn(2, kMealLunch, CalendarDate(2010, 3, 7, 12, 0, 0), 1100));
  }

  DiaryNameList diaries;
  NutritionPeriod period;
  std::list<std::unique_ptr<Meal>> meals;
};

// A period compares with its person's allowances; a diary without a person, or none at all, with
// those of the unspecified person (male, 30 - 50).
TEST_F(NutritionPeriodTest, CountsTheDiarysMealsFromTheFirstDayThroughTheLast) {
  std::vector<Meal> values;
  for (const auto& meal : meals) values.push_back(*meal);
  const FoodRDA totals = period.Totals(values, diaries);
  // Magnesium: hers at 18 - 30, not a man's or at 30 - 50.
  EXPECT_EQ(std::tuple(800.0, kSexFemale, 3u, 310.0, WString(TXT("03-07-2010 - 03-07-2010"))),
            std::tuple(totals.nutrients[Nutrient::kCalories], totals.sex, totals.ageBand,
                       totals.DailyValue(Nutrient::kMagnesium), totals.name));
  period.diaryId = 2;
  EXPECT_DOUBLE_EQ(1100, period.Totals(meals, diaries).nutrients[Nutrient::kCalories]);
  period.diaryId = 5;
  const FoodRDA none = period.Totals(meals, diaries);
  EXPECT_EQ(0, none.nutrients[Nutrient::kCalories]);
  EXPECT_EQ(38, none.DailyValue(Nutrient::kFiber));
}

TEST_F(NutritionPeriodTest, MealTypeFiltersAndNamesTheTitle) {
  SetMealTypeNames(kMealNames);
  period.mealType = kMealLunch;
  std::vector<const Meal*> pointers;
  for (const auto& meal : meals) pointers.push_back(meal.get());
  EXPECT_DOUBLE_EQ(500, period.Totals(pointers, diaries).nutrients[Nutrient::kCalories]);
  EXPECT_EQ(TXT("03-07-2010 - 03-07-2010 (Lunch)"), period.Title());
}

}  // namespace
