#pragma once
// "View Nutrition" of the diary: a diary, a meal type or all, and a period from one date through
// another, both days counted. "View Nutrition" shows the period's totals against the person's daily
// allowances and leaves the dialog open; "Done" closes it.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "food/DiaryNameList.h"
#include "food/Meal.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

class NutritionDialog : private DAVavador::ERDialog {
 public:
  // Shows the totals of a period over the dialog.
  using ShowTotals = std::function<void(HWND dialog, FoodRDA& totals, const NutritionPeriod& period)>;

  NutritionDialog(const DAVavador::ERApp& app, const DiaryNameList& diaries,
                  const std::vector<std::unique_ptr<Meal>>& meals, ShowTotals show)
      : app_(app), diaries_(diaries), meals_(meals), show_(std::move(show)) {}

  // Preset from the meal: its diary and type, its day alone.
  void Run(const Meal& preset);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnOK() override { return false; }  // "Done" (Cancel) closes it
  void ViewNutrition() const;

  const DAVavador::ERApp& app_;
  const DiaryNameList& diaries_;
  const std::vector<std::unique_ptr<Meal>>& meals_;
  ShowTotals show_;
  const Meal* preset_ = nullptr;
};
