#include "views/Diary/MealDialog.h"

#include "views/IngredientList/FindIngredientDialog.h"

#include <commctrl.h>

#include "food/Units.h"
#include "resources/resource.h"
#include "views/Diary/DatePicker.h"
#include "views/Diary/DialogText.h"
#include "views/IngredientList/IngredientList.h"

using namespace diary_dialog;

namespace {

constexpr int kGeneralControls[] = {IDC_MEAL_DIARY_LABEL, IDC_MEAL_DIARY,         IDC_MEAL_DATE_LABEL,
                                    IDC_MEAL_DATE,        IDC_MEAL_DATE_PICK,     IDC_MEAL_TYPE_LABEL,
                                    IDC_MEAL_TYPE,        IDC_MEAL_COMMENT_LABEL, IDC_MEAL_COMMENT};
constexpr int kMealControls[] = {IDC_MEAL_AMOUNT_LABEL, IDC_MEAL_WHOLE,  IDC_MEAL_FRACTION, IDC_MEAL_UNIT,
                                 IDC_MEAL_FOOD_LABEL,   IDC_MEAL_FOOD,   IDC_MEAL_SEARCH,   IDC_MEAL_CATALOG,
                                 IDC_MEAL_ADD,          IDC_MEAL_REMOVE, IDC_MEAL_UP,       IDC_MEAL_DOWN,
                                 IDC_MEAL_EATEN_LABEL,  IDC_MEAL_EATEN};

LRESULT ListMessage(HWND dialog, int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  return SendDlgItemMessageW(dialog, id, msg, wp, lp);
}

// The first unit of the unit combo, which an added line returns the amount controls to.
ServingUnit FirstUnit() {
  return UnitNames().Empty() ? kUnitBlank : UnitNames()[0].id;
}

}  // namespace

bool MealDialog::Run(Meal& meal) {
  if (diaries_.Entries().Empty()) return false;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  meal_ = &meal;
  eaten_ = meal.items;
  const bool ok = app_.RunDialog(IDD_MEAL, DialogProc, reinterpret_cast<LPARAM>(this)) == IDOK;
  meal_ = nullptr;
  return ok;
}

WString MealDialog::LineText(const MealItem& item) {
  WString text;
  FormatAmount(text, static_cast<ServingUnit>(item.servingType), kUnitNoSuffix, item.amount, UnitNames());
  text += TXT(' ');
  if (item.food) text += item.food->name;
  return text;
}

INT_PTR CALLBACK MealDialog::DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<MealDialog*>(lp)->OnInit(dialog);
    return TRUE;
  }
  auto* self = reinterpret_cast<MealDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (msg == WM_CTLCOLORSTATIC) {
    // The labels stand on the tab control's page, not on the dialog's face.
    SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
  }
  if (msg == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    if (header->idFrom != IDC_MEAL_TABS || header->code != TCN_SELCHANGE) return FALSE;
    self->ShowTab(dialog, static_cast<int>(ListMessage(dialog, IDC_MEAL_TABS, TCM_GETCURSEL)));
    return TRUE;
  }
  if (msg != WM_COMMAND) return FALSE;
  return self->OnCommand(dialog, LOWORD(wp), HIWORD(wp)) ? TRUE : FALSE;
}

bool MealDialog::OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_MEAL_DATE_PICK:
      DatePicker::PickInto(app_, dialog, IDC_MEAL_DATE);
      return true;
    case IDC_MEAL_FOOD:
      if (code == EN_CHANGE) RefillCatalog(dialog);
      return true;
    case IDC_MEAL_SEARCH:
      Search(dialog);
      return true;
    case IDC_MEAL_CATALOG:
      if (code == LBN_DBLCLK) AddSelected(dialog);
      return true;
    case IDC_MEAL_ADD:
      AddSelected(dialog);
      return true;
    case IDC_MEAL_REMOVE:
      RemoveSelected(dialog);
      return true;
    case IDC_MEAL_UP:
      MoveSelected(dialog, -1);
      return true;
    case IDC_MEAL_DOWN:
      MoveSelected(dialog, 1);
      return true;
    case IDOK:
      if (OnOK(dialog)) EndDialog(dialog, IDOK);
      return true;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return true;
    default:
      return false;
  }
}

void MealDialog::OnInit(HWND dialog) {
  if (meal_->foodId != 0) SetWindowTextW(dialog, app_.String(IDS_DIARY_EDIT_CAPTION).c_str());
  const HWND tabs = GetDlgItem(dialog, IDC_MEAL_TABS);
  for (int tab = 0; tab < 2; ++tab) {
    WString caption = app_.String(tab == 0 ? IDS_MEAL_TAB_GENERAL : IDS_MEAL_TAB_MEAL);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
  }
  FillGeneral(dialog);
  FillCombo(GetDlgItem(dialog, IDC_MEAL_FRACTION), FractionChoices());
  FillCombo(GetDlgItem(dialog, IDC_MEAL_UNIT), UnitNames());
  SetAmount(dialog, 1, FirstUnit());
  ShowEaten(dialog, -1);
  ShowTab(dialog, 0);
}

void MealDialog::FillGeneral(HWND dialog) const {
  const HWND diary = GetDlgItem(dialog, IDC_MEAL_DIARY);
  FillCombo(diary, diaries_.Entries());
  if (!SelectComboData(diary, meal_->catId)) SendMessageW(diary, CB_SETCURSEL, 0, 0);
  CalendarDate date = meal_->date;
  date.dateFormat = CalendarDate::kMonthDayYear;
  SetItemText(dialog, IDC_MEAL_DATE, date.DateText());
  const HWND type = GetDlgItem(dialog, IDC_MEAL_TYPE);
  FillMealTypes(type, WString(), false);
  SelectComboData(type, meal_->mealType);
  SetItemText(dialog, IDC_MEAL_COMMENT, meal_->comment);
}

void MealDialog::ShowTab(HWND dialog, int tab) const {
  for (int id : kGeneralControls) ShowWindow(GetDlgItem(dialog, id), tab == 0 ? SW_SHOW : SW_HIDE);
  for (int id : kMealControls) ShowWindow(GetDlgItem(dialog, id), tab == 1 ? SW_SHOW : SW_HIDE);
}

void MealDialog::SetAmount(HWND dialog, double amount, ServingUnit unit) const {
  const HWND whole = GetDlgItem(dialog, IDC_MEAL_WHOLE);
  FillCombo(whole, WholePartChoices(amount));
  const AmountParts parts = SplitAmount(amount);
  SelectComboData(whole, static_cast<LPARAM>(parts.whole));
  SelectComboData(GetDlgItem(dialog, IDC_MEAL_FRACTION), static_cast<LPARAM>(parts.fortyEighths));
  const HWND units = GetDlgItem(dialog, IDC_MEAL_UNIT);
  if (!SelectComboData(units, static_cast<LPARAM>(unit))) SendMessageW(units, CB_SETCURSEL, 0, 0);
}

void MealDialog::RefillCatalog(HWND dialog) const {
  ingredients_.FillSearchList(GetDlgItem(dialog, IDC_MEAL_CATALOG), ItemText(dialog, IDC_MEAL_FOOD), false,
                              true);
}

void MealDialog::Search(HWND dialog) const {
  // Find Ingredient, started with the typed text; the chosen food is selected with its serving.
  const uint32_t chosen = ingredients_.FindIngredient(dialog, ItemText(dialog, IDC_MEAL_FOOD));
  const Ingredient* found = chosen ? ingredients_.FindById(chosen) : nullptr;
  if (!found) return;
  SelectIngredientEntry(GetDlgItem(dialog, IDC_MEAL_CATALOG), *found);
  SetAmount(dialog, found->size, found->type);
}

void MealDialog::AddSelected(HWND dialog) {
  const auto selected = static_cast<int>(ListMessage(dialog, IDC_MEAL_CATALOG, LB_GETCURSEL));
  if (selected < 0) return;
  MealItem item;
  item.food = ingredients_.FindById(
      static_cast<uint32_t>(ListMessage(dialog, IDC_MEAL_CATALOG, LB_GETITEMDATA, selected)));
  item.amount =
      AmountFromCombos(static_cast<uint32_t>(SelectedComboData(GetDlgItem(dialog, IDC_MEAL_WHOLE))),
                       static_cast<uint32_t>(SelectedComboData(GetDlgItem(dialog, IDC_MEAL_FRACTION))));
  item.servingType = static_cast<int32_t>(SelectedComboData(GetDlgItem(dialog, IDC_MEAL_UNIT), kUnitBlank));
  if (!item.food || !(item.amount > 0)) return;
  eaten_.push_back(item);
  ShowEaten(dialog, static_cast<int>(eaten_.size()) - 1);
  SetAmount(dialog, 1, FirstUnit());
  SetItemText(dialog, IDC_MEAL_FOOD, WString());
  SetFocus(GetDlgItem(dialog, IDC_MEAL_FOOD));
}

void MealDialog::RemoveSelected(HWND dialog) {
  const auto selected = static_cast<int>(ListMessage(dialog, IDC_MEAL_EATEN, LB_GETCURSEL));
  if (selected < 0 || selected >= static_cast<int>(eaten_.size())) return;
  eaten_.erase(eaten_.begin() + selected);
  ShowEaten(dialog, selected < static_cast<int>(eaten_.size()) ? selected : selected - 1);
}

void MealDialog::MoveSelected(HWND dialog, int step) {
  const auto selected = static_cast<int>(ListMessage(dialog, IDC_MEAL_EATEN, LB_GETCURSEL));
  const int target = selected + step;
  if (selected < 0 || target < 0 || target >= static_cast<int>(eaten_.size())) return;
  std::swap(eaten_[selected], eaten_[target]);
  ShowEaten(dialog, target);
}

void MealDialog::ShowEaten(HWND dialog, int selected) const {
  ListMessage(dialog, IDC_MEAL_EATEN, LB_RESETCONTENT);
  for (const MealItem& item : eaten_)
    ListMessage(dialog, IDC_MEAL_EATEN, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LineText(item).c_str()));
  ListMessage(dialog, IDC_MEAL_EATEN, LB_SETCURSEL, static_cast<WPARAM>(selected));
}

bool MealDialog::OnOK(HWND dialog) {
  CalendarDate date = meal_->date;
  if (!date.Parse(ItemText(dialog, IDC_MEAL_DATE))) {
    app_.ShowMessage(IDS_DIARY_BAD_DATE, MB_OK | MB_ICONINFORMATION);
    ListMessage(dialog, IDC_MEAL_TABS, TCM_SETCURSEL, 0);
    ShowTab(dialog, 0);
    SetFocus(GetDlgItem(dialog, IDC_MEAL_DATE));
    return false;
  }
  meal_->mealType = static_cast<int32_t>(SelectedComboData(GetDlgItem(dialog, IDC_MEAL_TYPE), kMealNone));
  meal_->comment = ItemText(dialog, IDC_MEAL_COMMENT);
  meal_->date = date;
  meal_->catId = static_cast<uint32_t>(SelectedComboData(GetDlgItem(dialog, IDC_MEAL_DIARY)));
  meal_->ClearItems();
  for (const MealItem& item : eaten_) meal_->AddItem(item);
  return true;
}
