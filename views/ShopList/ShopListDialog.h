#pragma once
// The list dialog ("Add Shopping List", dialog 3300): the list's name on the first tab; on the
// second the amount controls, the food search and the items to buy, where foods and recipes are
// put on the list and repeated foods merge into one line.
#include <windows.h>

#include <vector>

#include "food/Meal.h"
#include "food/ShoppingList.h"
#include "toolkit/ERDialog.h"

class IngredientList;

class ShopListDialog : private DAVavador::ERDialog {
 public:
  // `ingredients` fills the food list, resolves its entries and runs Find Ingredient; `recipes` may
  // be null, and then no food expands into a recipe.
  ShopListDialog(const DAVavador::ERApp& app, Meal& list, IngredientList& ingredients,
                 const RecipeLookup* recipes);
  // True after OK, which has replaced the list's name and items; Cancel leaves the list alone.
  bool Run(HWND owner);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  bool OnOK() override;
  void ShowTab(int tab);

  // The amount controls: whole part, 48ths and unit.
  void SetAmount(double amount, ServingUnit unit);
  void ResetAmount();
  double Amount() const;
  ServingUnit Unit() const;
  // "Items to buy:" rebuilt from `items_`, selecting `selected` (-1 for none).
  void ShowItems(int selected);
  int SelectedItem() const;
  void TakeSelectedItem();
  void ChangeItem();
  void AddFood();
  void MoveItem(int by);
  void RemoveItem();
  void Search();
  void RefillFoods();
  void FocusFood();

  const DAVavador::ERApp& app_;
  Meal& list_;
  IngredientList& ingredients_;
  const RecipeLookup* recipes_;
  std::vector<MealItem> items_;
};
