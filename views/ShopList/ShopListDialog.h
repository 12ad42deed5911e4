#pragma once
// The list dialog ("Add Shopping List", dialog 3300): the list's name on the first tab; on the
// second the amount controls, the food search and the items to buy, where foods and recipes are
// put on the list and repeated foods merge into one line.
#include <windows.h>

#include <vector>

#include "food/Meal.h"
#include "food/ShoppingList.h"
#include "resources/resource.h"
#include "toolkit/ERDialog.h"
#include "views/AmountEntry.h"

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
  bool OnOK() override;
  void ShowTab(int tab);

  void ResetAmount();
  // "Items to buy:" rebuilt from `items_`, selecting `selected` (-1 for none).
  void ShowItems(int selected);
  int SelectedItem() const;
  void TakeSelectedItem();
  bool EnterOnItem();
  bool ChangeItem();
  bool AddFood();
  Ingredient* PickedFood() const;
  void OfferPicked();
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
  AmountEntry amount_{IDC_SHOPLIST_WHOLE, IDC_SHOPLIST_FRACTION, IDC_SHOPLIST_UNIT};
  bool itemChosen_ = false;  // an entry of the items to buy picked last, which Enter then changes
};
