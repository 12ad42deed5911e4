#pragma once
// The meal dialog ("Add Meal", "Edit Food Diary" for a meal that has an id): on the General tab
// the diary, date, meal type and comment; on the Meal tab the foods eaten, picked from the
// ingredient catalog with an amount in a serving unit.
#include <windows.h>

#include <vector>

#include "food/DiaryNameList.h"
#include "food/Meal.h"
#include "toolkit/ERApp.h"
#include "resources/resource.h"
#include "toolkit/ERDialog.h"
#include "views/AmountEntry.h"

class IngredientList;

class MealDialog : private DAVavador::ERDialog {
 public:
  MealDialog(const DAVavador::ERApp& app, const DiaryNameList& diaries, IngredientList& ingredients)
      : app_(app), diaries_(diaries), ingredients_(ingredients) {}

  // Shows the caller's copy of a meal; on OK the copy holds the dialog's diary, date, type,
  // comment and items with their totals. Without a diary it returns false at once.
  bool Run(Meal& meal);

  // One line of "Food Eaten:": the amount with its unit, a blank and the food's name.
  static WString LineText(const MealItem& item);
  // The meal-type combo: the seven names with data 1..7, "--All--" (data 0) on top when `withAll`.
  static void FillMealTypes(HWND combo, const WString& allText, bool withAll);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnOK() override;
  void ShowTab(int tab) const;
  void FillGeneral() const;
  void RefillCatalog() const;
  void Search();
  void OfferPicked();
  bool EnterAdds();
  bool AddSelected();
  void RemoveSelected();
  void MoveSelected(int step);
  void ShowEaten(int selected) const;

  const DAVavador::ERApp& app_;
  const DiaryNameList& diaries_;
  IngredientList& ingredients_;
  Meal* meal_ = nullptr;
  std::vector<MealItem> eaten_;  // the lines of "Food Eaten:", in their order
  AmountEntry amount_{IDC_MEAL_WHOLE, IDC_MEAL_FRACTION, IDC_MEAL_UNIT};
};
