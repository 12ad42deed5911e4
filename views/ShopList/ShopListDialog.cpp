#include "views/ShopList/ShopListDialog.h"

#include "views/IngredientList/FindIngredientDialog.h"
#include "views/IngredientList/IngredientList.h"

#include <commctrl.h>
#include <windowsx.h>

#include "food/Units.h"
#include "resources/resource.h"
#include "toolkit/ERApp.h"
#include "views/View.h"

namespace {

// The controls of each tab; the dialog shows one group at a time.
constexpr int kGeneralControls[] = {IDC_SHOPLIST_NAME_LABEL, IDC_SHOPLIST_NAME};
constexpr int kItemControls[] = {IDC_SHOPLIST_WHOLE,  IDC_SHOPLIST_FRACTION,   IDC_SHOPLIST_UNIT,
                                 IDC_SHOPLIST_CHANGE, IDC_SHOPLIST_FOOD_LABEL, IDC_SHOPLIST_FOOD,
                                 IDC_SHOPLIST_SEARCH, IDC_SHOPLIST_FOODS,      IDC_SHOPLIST_ITEMS_LABEL,
                                 IDC_SHOPLIST_ITEMS,  IDC_SHOPLIST_ADD,        IDC_SHOPLIST_REMOVE,
                                 IDC_SHOPLIST_UP,     IDC_SHOPLIST_DOWN};

}  // namespace

ShopListDialog::ShopListDialog(const DAVavador::ERApp& app, Meal& list, IngredientList& ingredients,
                               const RecipeLookup* recipes)
    : app_(app), list_(list), ingredients_(ingredients), recipes_(recipes), items_(list.items) {}

bool ShopListDialog::Run(HWND owner) {
  return RunModal(app_, IDD_SHOPLIST, owner) == IDOK;
}

bool ShopListDialog::OnNotify(const NMHDR& header, LRESULT&) {
  if (header.idFrom != IDC_SHOPLIST_TABS || header.code != TCN_SELCHANGE) return false;
  ShowTab(TabCtrl_GetCurSel(header.hwndFrom));
  return true;
}

bool ShopListDialog::OnInit() {
  AskBeforeDiscarding();
  const bool editing = ShoppingListId(list_) != 0;
  SetWindowTextW(Dialog(),
                 app_.String(editing ? IDS_SHOPLIST_EDIT_CAPTION : IDS_SHOPLIST_ADD_CAPTION).c_str());
  SetItemText(IDC_SHOPLIST_NAME, list_.name);
  const HWND tabs = Item(IDC_SHOPLIST_TABS);
  for (const UINT caption : {IDS_SHOPLIST_GENERAL_TAB, IDS_SHOPLIST_ITEMS_TAB}) {
    WString text = app_.String(caption);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text.data();
    TabCtrl_InsertItem(tabs, TabCtrl_GetItemCount(tabs), &tab);
  }
  amount_.Attach(Dialog());
  const bool hasFood = !items_.empty() && items_.front().food;
  amount_.Show(1, hasFood ? items_.front().food->type : amount_.FirstUnit());
  ShowItems(-1);
  ShowTab(0);
  return true;
}

void ShopListDialog::ShowTab(int tab) {
  TabCtrl_SetCurSel(Item(IDC_SHOPLIST_TABS), tab);
  for (const int id : kGeneralControls) ShowWindow(Item(id), tab == 0 ? SW_SHOW : SW_HIDE);
  for (const int id : kItemControls) ShowWindow(Item(id), tab == 1 ? SW_SHOW : SW_HIDE);
}

bool ShopListDialog::OnCommand(int id, int code) {
  if (amount_.OnCommand(id, code)) return true;
  switch (id) {
    case IDOK:
      return EnterOnItem();
    case IDC_SHOPLIST_FOOD:
      if (code == EN_CHANGE) RefillFoods();
      break;
    case IDC_SHOPLIST_FOODS:
      if (code == LBN_DBLCLK) AddFood();
      if (code == LBN_SELCHANGE) OfferPicked();
      break;
    case IDC_SHOPLIST_ITEMS:
      if (code == LBN_SELCHANGE) TakeSelectedItem();
      break;
    case IDC_SHOPLIST_SEARCH:
      Search();
      break;
    case IDC_SHOPLIST_CHANGE:
      ChangeItem();
      break;
    case IDC_SHOPLIST_ADD:
      AddFood();
      break;
    case IDC_SHOPLIST_REMOVE:
      RemoveItem();
      break;
    case IDC_SHOPLIST_UP:
      MoveItem(-1);
      break;
    case IDC_SHOPLIST_DOWN:
      MoveItem(1);
      break;
    default:
      return false;
  }
  return true;
}

bool ShopListDialog::OnOK() {
  const WString name = ItemText(IDC_SHOPLIST_NAME);
  if (name.empty()) {
    app_.ShowMessage(app_.String(IDS_SHOPLIST_NAME_MISSING), app_.ProductName(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  list_.ClearItems();
  list_.name = name;
  for (const MealItem& item : items_) list_.AddItem(item);
  return true;
}

// ---- the amount controls ----

void ShopListDialog::ResetAmount() {
  amount_.Show(1, amount_.FirstUnit());
}

// Enter in the amount, the food text or the food list adds the food picked, or changes the entry
// picked when that came last, instead of ending the dialog.
bool ShopListDialog::EnterOnItem() {
  if (!amount_.HasFocus() && !KeyboardIn(Dialog(), {IDC_SHOPLIST_FOOD, IDC_SHOPLIST_FOODS})) return false;
  if (!(itemChosen_ ? ChangeItem() : AddFood())) MessageBeep(MB_OK);
  return true;
}

// ---- the items to buy ----

void ShopListDialog::ShowItems(int selected) {
  const HWND box = Item(IDC_SHOPLIST_ITEMS);
  ListBox_ResetContent(box);
  for (const MealItem& item : items_) ListBox_AddString(box, ShoppingLineText(item, UnitNames()).c_str());
  ListBox_SetCurSel(box, selected);
}

int ShopListDialog::SelectedItem() const {
  const int at = ListBox_GetCurSel(Item(IDC_SHOPLIST_ITEMS));
  return at >= 0 && static_cast<size_t>(at) < items_.size() ? at : -1;
}

void ShopListDialog::TakeSelectedItem() {
  const int at = SelectedItem();
  if (at < 0) return;
  amount_.Show(items_[at].amount, static_cast<ServingUnit>(items_[at].servingType));
  itemChosen_ = true;
}

// A box that holds no amount changes nothing; no amount at all is taken, and OK then leaves the
// item off the list.
bool ShopListDialog::ChangeItem() {
  const int at = SelectedItem();
  double amount = 0;
  if (!amount_.Read(amount)) return false;
  if (at >= 0) {
    items_[at].amount = amount;
    items_[at].servingType = static_cast<int32_t>(amount_.Unit());
    ShowItems(at);
  }
  ResetAmount();
  itemChosen_ = false;
  FocusFood();
  return at >= 0;
}

Ingredient* ShopListDialog::PickedFood() const {
  const auto foodId = static_cast<uint32_t>(SelectedListData(IDC_SHOPLIST_FOODS));  // 0: none selected
  return foodId ? ingredients_.FindById(foodId) : nullptr;
}

// The food picked presets its serving, as far as the user gave no amount or unit.
void ShopListDialog::OfferPicked() {
  itemChosen_ = false;
  if (const Ingredient* food = PickedFood()) amount_.Offer(*food);
}

bool ShopListDialog::AddFood() {
  Ingredient* food = PickedFood();
  const double amount = amount_.Amount();
  if (!food || !(amount > 0)) return false;
  AddToShoppingLines(items_, *food, amount_.Unit(), amount, recipes_);
  ShowItems(-1);
  ResetAmount();
  itemChosen_ = false;
  SetItemText(IDC_SHOPLIST_FOOD, WString());
  FocusFood();
  return true;
}

void ShopListDialog::RemoveItem() {
  const int at = SelectedItem();
  if (at < 0) return;
  items_.erase(items_.begin() + at);
  ShowItems(std::min(at, static_cast<int>(items_.size()) - 1));
}

void ShopListDialog::MoveItem(int by) {
  const int at = SelectedItem();
  const int to = at + by;
  if (at < 0 || to < 0 || static_cast<size_t>(to) >= items_.size()) return;
  std::swap(items_[at], items_[to]);
  ShowItems(to);
}

// ---- the food search ----

void ShopListDialog::RefillFoods() {
  ingredients_.FillSearchList(Item(IDC_SHOPLIST_FOODS), ItemText(IDC_SHOPLIST_FOOD), false, true);
}

void ShopListDialog::Search() {
  // Find Ingredient, started with the typed text; the chosen food is selected with its serving.
  const uint32_t chosen = ingredients_.FindIngredient(Dialog(), ItemText(IDC_SHOPLIST_FOOD));
  const Ingredient* food = chosen ? ingredients_.FindById(chosen) : nullptr;
  if (!food) return;
  SelectIngredientEntry(Item(IDC_SHOPLIST_FOODS), *food);
  OfferPicked();
}

void ShopListDialog::FocusFood() {
  SetFocus(Item(IDC_SHOPLIST_FOOD));
}
