#pragma once
// The food diary's records: a Meal is one eating occasion (or, for the shopping lists, one list)
// with the foods eaten and their nutrient totals; a FoodRDA carries the totals of a period and
// answers the person's daily allowances; NutritionPeriod picks the meals a period counts.
#include <cstdint>
#include <memory>
#include <vector>

#include "food/CalendarDate.h"
#include "food/Food.h"

class DiaryNameList;

// One food of a meal or shopping list: an amount in a serving unit of a catalog ingredient the
// item does not own.
struct MealItem {
  double amount = 0;
  int32_t servingType = static_cast<int32_t>(kUnitBlank);
  Ingredient* food = nullptr;
};

enum MealType : int32_t {
  kMealNone = 0,  // "--All--" as a filter
  kMealBreakfast = 1,
  kMealMorningSnack = 2,
  kMealLunch = 3,
  kMealAfternoonSnack = 4,
  kMealDinner = 5,
  kMealEveningSnack = 6,
  kMealMidnightSnack = 7,
};
constexpr int32_t kMealTypeCount = 8;

// The names of the meal types 1..7 ("Breakfast" .. "Midnight Snack"), taken once at start from the
// program's string table. Until then, and for 0 and other codes, the name is "".
void SetMealTypeNames(const WString (&names)[kMealTypeCount - 1]);
const WString& MealTypeName(int32_t mealType);

class XMLDoc;

class Meal : public Food {
 public:
  // A new meal has no items, no comment, type 0 and the date and time of its construction.
  explicit Meal(const FoodOwner* owner = nullptr);
  ~Meal() override = default;

  // 29 the meal type, 31 the date (month-day-year), 32 nothing, 33 the comment; the rest as Food.
  void ColumnText(WString& out, uint32_t column, const CategoryList& categories, const NutrientFormat& format,
                  bool csv, bool raw) const override;

  // Appends the item and adds its food's values for its amount to the totals. An item without a
  // food or with an amount not greater than 0 is not kept (false).
  bool AddItem(const MealItem& item);
  // Removes the items and the totals they made, as the meal dialog does before adding its lines;
  // the part of items dropped at load stays.
  void ClearItems();
  // Empties the meal for reuse: items and totals, name, and meal type 0.
  void Clear();

  // Writes one DIARY element: the items by ingredient id, the comment, the type, the date and the
  // meal's own FOOD element with its totals.
  void WriteDiaryElement(XMLDoc& doc) const;
  // Reads the children of a DIARY element whose start tag the caller consumed, up to its end tag.
  // An item names its ingredient by id, or by a whole FOOD element that links to the catalog's
  // ingredient of that name or is added to the catalog; items without an ingredient or a positive
  // amount are dropped, and the stored totals stay as read. False without the meal's own FOOD
  // element (such a meal is dropped) or when the text ends first.
  bool ReadDiaryElement(XMLDoc& doc, CategoryList& diaries, uint32_t& idCounter, IngredientCatalog& catalog);

  std::vector<MealItem> items;
  // The part of the stored totals its items do not explain (items dropped at load because their
  // food is no longer in the catalog, or a meal stored without items), so that editing such a meal
  // loses none of its nutrition.
  double droppedOunces = 0;
  std::array<double, Nutrient::kCount> droppedNutrients{};
  WString comment;
  CalendarDate date;
  int32_t mealType = kMealNone;
};

// A period's totals (the stored nutrients) with the daily allowances of one person.
class FoodRDA : public Food {
 public:
  FoodRDA(uint32_t sexCode, uint32_t ageBandCode, const FoodOwner* owner = nullptr)
      : Food(owner), sex(sexCode), ageBand(ageBandCode) {}
  ~FoodRDA() override = default;

  // The allowance table's entry for the person's sex and age band.
  double DailyValue(uint32_t nutrient) const override;

  uint32_t sex;
  uint32_t ageBand;
};

// The "View Nutrition" choice: one diary, one meal type or all (0), the meals dated from `from`
// through the whole of the day `to`, as the two dates read to the user.
struct NutritionPeriod {
  uint32_t diaryId = 0;
  int32_t mealType = kMealNone;
  CalendarDate from;
  CalendarDate to;  // the last day, counted whole whatever its time of day

  // The first moment after the period: the start of the day after `to`.
  CalendarDate End() const;
  bool Includes(const Meal& meal) const;
  // "03-07-2010 - 03-08-2010", then " (Lunch)" when a meal type is chosen.
  WString Title() const;
  // The allowance record of the diary's person (unspecified when the diary is unknown), named by
  // the title and holding
  // the sum of the included meals' totals. Takes any range of meals, meal pointers or owners.
  template <class MealRange>
  FoodRDA Totals(const MealRange& meals, const DiaryNameList& diaries) const {
    FoodRDA totals = EmptyTotals(diaries);
    for (const auto& meal : meals) AddIfIncluded(totals, MealOf(meal));
    return totals;
  }

 private:
  FoodRDA EmptyTotals(const DiaryNameList& diaries) const;
  void AddIfIncluded(FoodRDA& totals, const Meal& meal) const;
  static const Meal& MealOf(const Meal& meal) { return meal; }
  static const Meal& MealOf(const Meal* meal) { return *meal; }
  static const Meal& MealOf(const std::unique_ptr<Meal>& meal) { return *meal; }
};
