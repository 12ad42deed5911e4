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

// Selects the entry carrying `data`, else the first.
void SelectData(HWND combo, uint32_t data) {
  if (!DAVavador::ERDialog::SelectComboData(combo, data)) ComboBox_SetCurSel(combo, 0);
}

uint32_t SelectedData(HWND combo) {
  return static_cast<uint32_t>(DAVavador::ERDialog::SelectedComboData(combo));
}

}  // namespace

ShopListDialog::ShopListDialog(const DAVavador::ERApp& app, Meal& list, IngredientList& ingredients,
                               const RecipeLookup* recipes)
    : app_(app), list_(list), ingredients_(ingredients), recipes_(recipes), items_(list.items) {}

bool ShopListDialog::Run(HWND owner) {
  return RunModal(app_, IDD_SHOPLIST, owner) == IDOK;
}

bool ShopListDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  if (message != WM_CTLCOLORSTATIC) return false;
  // The labels stand on the tab's page, which is drawn in the window colour.
  SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
  result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
  return true;
}

bool ShopListDialog::OnNotify(const NMHDR& header, LRESULT&) {
  if (header.idFrom != IDC_SHOPLIST_TABS || header.code != TCN_SELCHANGE) return false;
  ShowTab(TabCtrl_GetCurSel(header.hwndFrom));
  return true;
}

bool ShopListDialog::OnInit() {
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
  FillCombo(Item(IDC_SHOPLIST_FRACTION), FractionChoices());
  FillCombo(Item(IDC_SHOPLIST_UNIT), UnitNames());
  const bool hasFood = !items_.empty() && items_.front().food;
  SetAmount(1, hasFood ? items_.front().food->type : UnitNames()[0].id);
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
  switch (id) {
    case IDC_SHOPLIST_FOOD:
      if (code == EN_CHANGE) RefillFoods();
      break;
    case IDC_SHOPLIST_FOODS:
      if (code == LBN_DBLCLK) AddFood();
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

void ShopListDialog::SetAmount(double amount, ServingUnit unit) {
  const AmountParts parts = SplitAmount(amount);
  const HWND whole = Item(IDC_SHOPLIST_WHOLE);
  FillCombo(whole, WholePartChoices(amount));
  SelectData(whole, static_cast<uint32_t>(parts.whole));
  SelectData(Item(IDC_SHOPLIST_FRACTION), parts.fortyEighths);
  SelectData(Item(IDC_SHOPLIST_UNIT), unit);
}

void ShopListDialog::ResetAmount() {
  SetAmount(1, static_cast<ServingUnit>(ComboBox_GetItemData(Item(IDC_SHOPLIST_UNIT), 0)));
}

double ShopListDialog::Amount() const {
  return AmountFromCombos(SelectedData(Item(IDC_SHOPLIST_WHOLE)), SelectedData(Item(IDC_SHOPLIST_FRACTION)));
}

ServingUnit ShopListDialog::Unit() const {
  return SelectedData(Item(IDC_SHOPLIST_UNIT));
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
  if (at >= 0) SetAmount(items_[at].amount, static_cast<ServingUnit>(items_[at].servingType));
}

void ShopListDialog::ChangeItem() {
  const int at = SelectedItem();
  const double amount = Amount();
  if (at >= 0) {  // no amount too: OK then leaves the item off the list
    items_[at].amount = amount;
    items_[at].servingType = static_cast<int32_t>(Unit());
    ShowItems(at);
  }
  ResetAmount();
  FocusFood();
}

void ShopListDialog::AddFood() {
  const HWND foods = Item(IDC_SHOPLIST_FOODS);
  const int at = ListBox_GetCurSel(foods);
  Ingredient* food =
      at < 0 ? nullptr : ingredients_.FindById(static_cast<uint32_t>(ListBox_GetItemData(foods, at)));
  const double amount = Amount();
  if (!food || amount <= 0) return;
  AddToShoppingLines(items_, *food, Unit(), amount, recipes_);
  ShowItems(-1);
  ResetAmount();
  SetItemText(IDC_SHOPLIST_FOOD, WString());
  FocusFood();
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
  SetAmount(food->size, food->type);
}

void ShopListDialog::FocusFood() {
  SetFocus(Item(IDC_SHOPLIST_FOOD));
}
