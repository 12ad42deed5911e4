#pragma once
// The meal dialog ("Add Meal", "Edit Food Diary" for a meal that has an id): on the General tab
// the diary, date, meal type and comment; on the Meal tab the foods eaten, picked from the
// ingredient catalog with an amount in a serving unit.
#include <windows.h>

#include <vector>

#include "food/DiaryNameList.h"
#include "food/Meal.h"
#include "toolkit/ERApp.h"

class IngredientList;

class MealDialog {
 public:
  MealDialog(const DAVavador::ERApp& app, const DiaryNameList& diaries, IngredientList& ingredients)
      : app_(app), diaries_(diaries), ingredients_(ingredients) {}

  // Shows the caller's copy of a meal; on OK the copy holds the dialog's diary, date, type,
  // comment and items with their totals. Without a diary it returns false at once.
  bool Run(Meal& meal);

  // One line of "Food Eaten:": the amount with its unit, a blank and the food's name.
  static WString LineText(const MealItem& item);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
  bool OnCommand(HWND dialog, int id, int code);
  void OnInit(HWND dialog);
  void ShowTab(HWND dialog, int tab) const;
  void FillGeneral(HWND dialog) const;
  void SetAmount(HWND dialog, double amount, ServingUnit unit) const;
  void RefillCatalog(HWND dialog) const;
  void Search(HWND dialog) const;
  void AddSelected(HWND dialog);
  void RemoveSelected(HWND dialog);
  void MoveSelected(HWND dialog, int step);
  void ShowEaten(HWND dialog, int selected) const;
  bool OnOK(HWND dialog);

  const DAVavador::ERApp& app_;
  const DiaryNameList& diaries_;
  IngredientList& ingredients_;
  Meal* meal_ = nullptr;
  std::vector<MealItem> eaten_;  // the lines of "Food Eaten:", in their order
};
