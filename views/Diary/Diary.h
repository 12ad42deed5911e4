#pragma once
// The Food Diary tab: owner of every meal of every diary (FoodDiary.xml). It lists the meals of
// the chosen diary ("Name:") and meal type ("Meal:"), runs the meal, diary and nutrition dialogs,
// and refers to the foods eaten in the ingredient catalog.
#include <functional>
#include <memory>
#include <vector>

#include "food/DiaryNameList.h"
#include "food/Meal.h"
#include "resources/resource.h"
#include "views/FoodReferences.h"
#include "views/View.h"

class IngredientList;

class Diary : public View, public FoodReferences {
 public:
  // The commands of the view's menus and toolbar.
  enum Command : UINT {
    kAddDiary = IDM_ADD_DIARY,
    kDeleteDiary = IDM_DELETE_DIARY,
    kEditDiary = IDM_EDIT_DIARY,
    kAddMeal = IDM_ADD_MEAL,
    kDeleteMeal = IDM_DELETE_MEAL,
    kEditMeal = IDM_EDIT_MEAL,
    kNutrition = IDM_NUTRITION,
    kRestore = IDM_RESTORE,
  };
  // Shows a period's totals against the person's allowances; normally the ingredient editor in
  // its view-only diary mode.
  using ShowTotals = std::function<void(HWND owner, FoodRDA& totals, const NutritionPeriod& period)>;

  Diary(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
        Options& options, IngredientList& ingredients);
  ~Diary() override;

  // ---- FoodReferences ----
  void VisitFoodPointers(const PointerVisitor& visit) override;

  const std::vector<std::unique_ptr<Meal>>& Meals() const { return meals_; }
  DiaryNameList& Diaries() const { return static_cast<DiaryNameList&>(*categories); }
  void SetShowTotals(ShowTotals show) { showTotals_ = std::move(show); }

  // ---- View ----
  bool Create(HWND parent, int menuId, int popupMenuId) override;
  bool IsFoodUsed(uint32_t foodId) override;
  uint32_t AddItem(View* recipes) override;
  void DeleteCategory() override;
  void EditCategory() override;
  void UpdateCategoryMenu(HMENU menuHandle) override;
  void Hide() override;
  void UpdateToolbar() override;
  void Clear() override;
  void CustomizeColumns() override;
  void Export() override;
  void Import() override;
  void ShowNutrition() override;
  void RestoreBackup() override;
  void CopyItem() override;
  void DeleteItem(View* recipes, View* diary) override;
  void EditItem(View* recipes) override;
  void OnSelectionChanged(HMENU menuHandle) override;
  void UpdateMenu(HMENU menuHandle) override;
  void FillList() override;
  void InstallMenu() override;
  void BuildColumns() override;
  bool Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) override;
  bool Save() override;

 protected:
  // The highest meal id given so far; a new meal takes the next.
  uint32_t lastMealId = 0;

 private:
  bool Passes(const Meal& meal) const;
  Meal* FindMeal(uint32_t mealId) const;
  Meal* FocusedMeal() const;
  // A loaded or imported meal: a stored id at or below the highest so far is replaced by the next.
  void TakeMeal(std::unique_ptr<Meal> meal);
  bool ReadDiaries(XMLDoc& doc, ProgressWindow* progressWindow, int fromPercent, int toPercent);
  void EnableDiaryCommands(HMENU menuHandle, bool show) const;
  // The diary filter and meal-type filter as the combos show them.
  void TakeFilter();
  void RefillAfterLoad();

  IngredientList& ingredients_;
  FoodOwner foodOwner_;
  std::vector<std::unique_ptr<Meal>> meals_;
  ShowTotals showTotals_;
};
