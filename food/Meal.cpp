#include "food/Meal.h"

#include "food/DiaryNameList.h"
#include "food/TagNames.h"
#include "storage/XMLDoc.h"

#include <algorithm>
#include <cmath>
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
  ounces = droppedOunces;
  nutrients = droppedNutrients;
}

void Meal::Clear() {
  droppedOunces = 0;
  droppedNutrients.fill(0);
  ClearItems();
  name.clear();
  mealType = kMealNone;
}

double FoodRDA::DailyValue(uint32_t nutrient) const {
  return DailyAllowance(sex, ageBand, nutrient);
}

CalendarDate NutritionPeriod::End() const {
  CalendarDate end(to.year, to.month, to.day);
  end.AddDays(1);
  return end;
}

bool NutritionPeriod::Includes(const Meal& meal) const {
  if (mealType != kMealNone && meal.mealType != mealType) return false;
  return meal.catId == diaryId && from <= meal.date && meal.date < End();
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

// ---- the DIARY element ----

void Meal::WriteDiaryElement(XMLDoc& doc) const {
  doc.OpenElement(TXT("DIARY"));
  doc.OpenElement(TXT("FOODLIST"));
  for (const MealItem& item : items) {
    doc.OpenElement(TXT("FOODITEM"));
    doc.WriteInt(TXT("ID"), static_cast<int32_t>(item.food ? item.food->foodId : 0));
    doc.WriteReal(TXT("AMOUNT"), item.amount);
    doc.WriteInt(TXT("TYPE"), item.servingType);
    doc.CloseElement();
  }
  doc.CloseElement();
  doc.WriteString(TXT("COMMENT"), comment);
  doc.WriteInt(TXT("MEAL"), mealType);
  doc.WriteInt(TXT("M"), static_cast<int32_t>(date.month));
  doc.WriteInt(TXT("D"), static_cast<int32_t>(date.day));
  doc.WriteInt(TXT("Y"), static_cast<int32_t>(date.year));
  WriteFood(doc, *this);
  doc.CloseElement();
}

namespace {

// The children of one DIARY element: the meal's leaves, the items of its FOODLIST and its own FOOD
// element with the stored totals.
class DiaryElementReader {
 public:
  DiaryElementReader(XMLDoc& doc, Meal& meal, CategoryList& diaries, uint32_t& idCounter,
                     IngredientCatalog& catalog)
      : doc_(doc), meal_(meal), diaries_(diaries), idCounter_(idCounter), catalog_(catalog) {}

  bool Run() {
    while (const WChar* tag = doc_.NextTag()) {
      if (IsTag(tag, TXT("DIARY"))) {
        if (!doc_.IsEndTag()) continue;
        if (dropped_ || meal_.items.empty()) KeepDroppedPart();
        return hasOwnFood_;
      } else if (IsTag(tag, TXT("FOODITEM"))) {
        ItemBoundary();
      } else if (IsTag(tag, TXT("FOOD"))) {
        if (doc_.IsEndTag() || doc_.IsEmptyTag()) continue;
        if (inItem_)
          ReadItemFood();
        else
          hasOwnFood_ = ReadFood(doc_, meal_, diaries_, idCounter_);
      } else if (!doc_.IsEndTag() && !IsTag(tag, TXT("FOODLIST"))) {
        Leaf(tag, doc_.IsEmptyTag() ? nullptr : doc_.ReadValue(tag));
      }
    }
    return false;
  }

 private:
  void ItemBoundary() {
    if (doc_.IsEmptyTag()) return;
    if (!doc_.IsEndTag()) {
      inItem_ = true;
      item_ = MealItem();
      return;
    }
    // The stored totals stay as read, so the item joins the meal without adding to them.
    if (inItem_ && item_.food && item_.amount > 0)
      meal_.items.push_back(item_);
    else if (inItem_)
      dropped_ = true;
    inItem_ = false;
  }

  // What the stored totals hold beyond the kept items: the part of dropped items, or all of them
  // for a meal stored without items. Differences within the totals' written precision are none.
  void KeepDroppedPart() {
    Ingredient kept;
    for (const MealItem& item : meal_.items)
      kept.AddServings(*item.food, static_cast<ServingUnit>(item.servingType), item.amount, 1);
    const auto beyond = [](double stored, double fromItems) {
      return stored - fromItems > 1e-6 * std::abs(stored) ? stored - fromItems : 0;
    };
    meal_.droppedOunces = beyond(meal_.ounces, kept.ounces);
    for (uint32_t i = 0; i < Nutrient::kCount; ++i)
      meal_.droppedNutrients[i] = beyond(meal_.nutrients[i], kept.nutrients[i]);
  }

  void ReadItemFood() {
    Ingredient food;
    ReadFood(doc_, food, catalog_.Categories(), catalog_.IdCounter());
    if (food.name.empty()) return;
    Ingredient* known = catalog_.FindByName(food.name);
    item_.food = known ? known : catalog_.AddIngredient(food);
  }

  // A leaf of the meal or of its current item; an empty leaf stands for 0.
  void Leaf(const WChar* tag, const WChar* value) {
    const WChar* text = value ? value : TXT("");
    if (inItem_) {
      if (IsTag(tag, TXT("ID")))
        item_.food = catalog_.FindById(static_cast<uint32_t>(ParseInt(text)));
      else if (IsTag(tag, TXT("AMOUNT")))
        item_.amount = ParseReal(text);
      else if (IsTag(tag, TXT("TYPE")))
        item_.servingType = ParseInt(text);
      return;
    }
    if (IsTag(tag, TXT("MEAL")))
      meal_.mealType = ParseInt(text);
    else if (IsTag(tag, TXT("M")))
      meal_.date.month = static_cast<uint32_t>(ParseInt(text));
    else if (IsTag(tag, TXT("D")))
      meal_.date.day = static_cast<uint32_t>(ParseInt(text));
    else if (IsTag(tag, TXT("Y")))
      meal_.date.year = static_cast<uint32_t>(ParseInt(text));
    else if (IsTag(tag, TXT("COMMENT")))
      meal_.comment = XMLUnescape(text);
  }

  XMLDoc& doc_;
  Meal& meal_;
  CategoryList& diaries_;
  uint32_t& idCounter_;
  IngredientCatalog& catalog_;
  MealItem item_;
  bool inItem_ = false;
  bool dropped_ = false;
  bool hasOwnFood_ = false;
};

}  // namespace

bool Meal::ReadDiaryElement(XMLDoc& doc, CategoryList& diaries, uint32_t& idCounter,
                            IngredientCatalog& catalog) {
  return DiaryElementReader(doc, *this, diaries, idCounter, catalog).Run();
}
