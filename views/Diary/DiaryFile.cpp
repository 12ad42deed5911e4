// FoodDiary.xml: the VIEW element with the diary names, then one DIARY element per meal with its
// foods (by ingredient id, or as a whole FOOD element from other programs' files), comment, type,
// date and its own FOOD element with the totals.
#include "app/DataLockGuard.h"
#include "food/TagNames.h"
#include "storage/Files.h"
#include "storage/XMLDoc.h"
#include "views/Diary/Diary.h"
#include "views/IngredientList/IngredientCsv.h"
#include "views/IngredientList/IngredientList.h"

// Reads the DIARIES element of one document into the diary, one meal at a time.
class Diary::Reader {
 public:
  Reader(Diary& diary, XMLDoc& doc) : diary_(diary), doc_(doc) {}

  // True when the DIARYLIST end tag was reached.
  bool Run(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
    bool inside = false;
    bool inDiaries = false;
    while (const WChar* tag = doc_.NextTag()) {
      ReportLoadProgress(progressWindow, fromPercent, toPercent, doc_);
      if (IsTag(tag, TXT("DIARYLIST"))) {
        if (doc_.IsEndTag()) return true;
        inside = true;
      } else if (!inside) {
        continue;
      } else if (meal_) {
        MealTag(tag);
      } else if (IsTag(tag, TXT("DIARIES"))) {
        inDiaries = !doc_.IsEndTag() && !doc_.IsEmptyTag();
      } else if (IsTag(tag, TXT("VIEW")) && !doc_.IsEndTag() && !doc_.IsEmptyTag()) {
        diary_.ReadViewSettings(doc_);
      } else if (inDiaries && IsTag(tag, TXT("DIARY")) && !doc_.IsEndTag() && !doc_.IsEmptyTag()) {
        meal_ = std::make_unique<Meal>(&diary_.foodOwner_);
        hasOwnFood_ = false;
        inItem_ = false;
      }
    }
    return false;
  }

 private:
  void MealTag(const WChar* tag) {
    if (IsTag(tag, TXT("DIARY"))) {
      if (!doc_.IsEndTag()) return;
      // A meal without its own readable FOOD element is dropped.
      if (hasOwnFood_) diary_.TakeMeal(std::move(meal_));
      meal_.reset();
    } else if (IsTag(tag, TXT("FOODITEM"))) {
      ItemBoundary();
    } else if (IsTag(tag, TXT("FOOD"))) {
      if (doc_.IsEndTag() || doc_.IsEmptyTag()) return;
      if (inItem_)
        ReadItemFood();
      else
        hasOwnFood_ = ReadFood(doc_, *meal_, *diary_.categories, diary_.lastId);
    } else if (!doc_.IsEndTag() && !IsTag(tag, TXT("FOODLIST"))) {
      Leaf(tag, doc_.IsEmptyTag() ? nullptr : doc_.ReadValue(tag));
    }
  }

  void ItemBoundary() {
    if (doc_.IsEmptyTag()) return;
    if (!doc_.IsEndTag()) {
      inItem_ = true;
      item_ = MealItem();
      return;
    }
    // Loading keeps the stored totals, so the item joins the meal without adding to them.
    if (inItem_ && item_.food && item_.amount > 0) meal_->items.push_back(item_);
    inItem_ = false;
  }

  void ReadItemFood() {
    Ingredient food;
    ReadFood(doc_, food, diary_.ingredients_.Categories(), diary_.ingredients_.IdCounter());
    if (food.name.empty()) return;
    Ingredient* known = diary_.ingredients_.FindByName(food.name);
    item_.food = known ? known : diary_.ingredients_.AddIngredient(food);
  }

  // A leaf of the meal or of its current item; an empty leaf stands for 0.
  void Leaf(const WChar* tag, const WChar* value) {
    const WChar* text = value ? value : TXT("");
    if (inItem_) {
      if (IsTag(tag, TXT("ID")))
        item_.food = diary_.ingredients_.FindById(static_cast<uint32_t>(ParseInt(text)));
      else if (IsTag(tag, TXT("AMOUNT")))
        item_.amount = ParseReal(text);
      else if (IsTag(tag, TXT("TYPE")))
        item_.servingType = ParseInt(text);
      return;
    }
    if (IsTag(tag, TXT("MEAL")))
      meal_->mealType = ParseInt(text);
    else if (IsTag(tag, TXT("M")))
      meal_->date.month = static_cast<uint32_t>(ParseInt(text));
    else if (IsTag(tag, TXT("D")))
      meal_->date.day = static_cast<uint32_t>(ParseInt(text));
    else if (IsTag(tag, TXT("Y")))
      meal_->date.year = static_cast<uint32_t>(ParseInt(text));
    else if (IsTag(tag, TXT("COMMENT")))
      meal_->comment = XMLUnescape(text);
  }

  Diary& diary_;
  XMLDoc& doc_;
  std::unique_ptr<Meal> meal_;
  MealItem item_;
  bool inItem_ = false;
  bool hasOwnFood_ = false;
};

bool Diary::Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  PrepareLoad();
  if (IsCsvPath(workPath)) return false;
  bool finished = false;
  {
    DataLockGuard lock;
    XMLDoc doc;
    if (FileExists(workPath) && doc.Load(workPath) && doc.FindRoot(TXT("DIARYLIST")))
      finished = Reader(*this, doc).Run(progressWindow, fromPercent, toPercent);
  }
  FillCategorySelector();
  return finished;
}

bool Diary::Save() {
  DataLockGuard lock;
  if (IsCsvPath(workPath)) return false;
  // The export diary restricts exports only; the catalog file always holds every meal.
  const bool exchange = IsExchange();
  const uint32_t exportDiary = exchange ? filterCategoryId : 0;
  std::vector<const Meal*> written;
  for (const auto& meal : meals_) {
    if (exportDiary == 0 || meal->catId == exportDiary) written.push_back(meal.get());
  }
  XMLDoc doc;
  doc.OpenElement(TXT("DIARYLIST"));
  WriteViewSettings(doc);
  doc.OpenElement(TXT("DIARIES"));
  for (size_t n = 0; n < written.size(); ++n) {
    WriteMeal(doc, *written[n]);
    ReportSaveProgress(n + 1, written.size());
  }
  doc.CloseElement();
  doc.CloseElement();
  const bool saved = WriteWorkFile(doc);
  if (saved && !exchange) modified = false;
  return saved;
}

void Diary::WriteMeal(XMLDoc& doc, const Meal& meal) const {
  doc.OpenElement(TXT("DIARY"));
  doc.OpenElement(TXT("FOODLIST"));
  for (const MealItem& item : meal.items) {
    doc.OpenElement(TXT("FOODITEM"));
    doc.WriteInt(TXT("ID"), static_cast<int32_t>(item.food ? item.food->foodId : 0));
    doc.WriteReal(TXT("AMOUNT"), item.amount);
    doc.WriteInt(TXT("TYPE"), item.servingType);
    doc.CloseElement();
  }
  doc.CloseElement();
  doc.WriteString(TXT("COMMENT"), meal.comment);
  doc.WriteInt(TXT("MEAL"), meal.mealType);
  doc.WriteInt(TXT("M"), static_cast<int32_t>(meal.date.month));
  doc.WriteInt(TXT("D"), static_cast<int32_t>(meal.date.day));
  doc.WriteInt(TXT("Y"), static_cast<int32_t>(meal.date.year));
  WriteFood(doc, meal);
  doc.CloseElement();
}
