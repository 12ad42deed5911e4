#include "views/Diary/MealDialog.h"

#include "views/IngredientList/FindIngredientDialog.h"

#include <commctrl.h>

#include "food/Units.h"
#include "resources/resource.h"
#include "views/Diary/DatePicker.h"
#include "views/IngredientList/IngredientList.h"

namespace {

constexpr int kGeneralControls[] = {IDC_MEAL_DIARY_LABEL, IDC_MEAL_DIARY,         IDC_MEAL_DATE_LABEL,
                                    IDC_MEAL_DATE,        IDC_MEAL_DATE_PICK,     IDC_MEAL_TYPE_LABEL,
                                    IDC_MEAL_TYPE,        IDC_MEAL_COMMENT_LABEL, IDC_MEAL_COMMENT};
constexpr int kMealControls[] = {IDC_MEAL_AMOUNT_LABEL, IDC_MEAL_WHOLE,  IDC_MEAL_FRACTION, IDC_MEAL_UNIT,
                                 IDC_MEAL_FOOD_LABEL,   IDC_MEAL_FOOD,   IDC_MEAL_SEARCH,   IDC_MEAL_CATALOG,
                                 IDC_MEAL_ADD,          IDC_MEAL_REMOVE, IDC_MEAL_UP,       IDC_MEAL_DOWN,
                                 IDC_MEAL_EATEN_LABEL,  IDC_MEAL_EATEN};

}  // namespace

bool MealDialog::Run(Meal& meal) {
  if (diaries_.Entries().Empty()) return false;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  meal_ = &meal;
  eaten_ = meal.items;
  const bool ok = RunModal(app_, IDD_MEAL) == IDOK;
  meal_ = nullptr;
  return ok;
}

void MealDialog::FillMealTypes(HWND combo, const WString& allText, bool withAll) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  if (withAll) AddComboItem(combo, allText, kMealNone);
  for (int32_t type = kMealBreakfast; type < kMealTypeCount; ++type)
    AddComboItem(combo, MealTypeName(type), type);
}

WString MealDialog::LineText(const MealItem& item) {
  WString text;
  FormatAmount(text, static_cast<ServingUnit>(item.servingType), kUnitNoSuffix, item.amount, UnitNames());
  text += TXT(' ');
  if (item.food) text += item.food->name;
  return text;
}

bool MealDialog::OnNotify(const NMHDR& header, LRESULT&) {
  if (header.idFrom != IDC_MEAL_TABS || header.code != TCN_SELCHANGE) return false;
  ShowTab(static_cast<int>(SendDlgItemMessageW(Dialog(), IDC_MEAL_TABS, TCM_GETCURSEL, 0, 0)));
  return true;
}

bool MealDialog::OnCommand(int id, int code) {
  if (amount_.OnCommand(id, code)) return true;
  switch (id) {
    case IDOK:
      return EnterAdds();
    case IDC_MEAL_DATE_PICK:
      DatePicker::PickInto(app_, Dialog(), IDC_MEAL_DATE);
      return true;
    case IDC_MEAL_FOOD:
      if (code == EN_CHANGE) RefillCatalog();
      return true;
    case IDC_MEAL_SEARCH:
      Search();
      return true;
    case IDC_MEAL_CATALOG:
      if (code == LBN_DBLCLK) AddSelected();
      if (code == LBN_SELCHANGE) OfferPicked();
      return true;
    case IDC_MEAL_ADD:
      AddSelected();
      return true;
    case IDC_MEAL_REMOVE:
      RemoveSelected();
      return true;
    case IDC_MEAL_UP:
      MoveSelected(-1);
      return true;
    case IDC_MEAL_DOWN:
      MoveSelected(1);
      return true;
    default:
      return false;
  }
}

bool MealDialog::OnInit() {
  AskBeforeDiscarding();
  if (meal_->foodId != 0) SetWindowTextW(Dialog(), app_.String(IDS_DIARY_EDIT_CAPTION).c_str());
  const HWND tabs = Item(IDC_MEAL_TABS);
  for (int tab = 0; tab < 2; ++tab) {
    WString caption = app_.String(tab == 0 ? IDS_MEAL_TAB_GENERAL : IDS_MEAL_TAB_MEAL);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
  }
  FillGeneral();
  amount_.Attach(Dialog());
  amount_.Show(1, amount_.FirstUnit());
  ShowEaten(-1);
  ShowTab(0);
  return true;
}

void MealDialog::FillGeneral() const {
  const HWND diary = Item(IDC_MEAL_DIARY);
  FillCombo(diary, diaries_.Entries());
  SelectComboData(diary, meal_->catId, 0);
  CalendarDate date = meal_->date;
  date.dateFormat = CalendarDate::kMonthDayYear;
  SetItemText(IDC_MEAL_DATE, date.DateText());
  const HWND type = Item(IDC_MEAL_TYPE);
  FillMealTypes(type, WString(), false);
  SelectComboData(type, meal_->mealType);
  SetItemText(IDC_MEAL_COMMENT, meal_->comment);
}

void MealDialog::ShowTab(int tab) const {
  for (int id : kGeneralControls) ShowWindow(Item(id), tab == 0 ? SW_SHOW : SW_HIDE);
  for (int id : kMealControls) ShowWindow(Item(id), tab == 1 ? SW_SHOW : SW_HIDE);
}

void MealDialog::RefillCatalog() const {
  ingredients_.FillSearchList(Item(IDC_MEAL_CATALOG), ItemText(IDC_MEAL_FOOD), false, true);
}

void MealDialog::Search() {
  // Find Ingredient, started with the typed text; the chosen food is selected with its serving.
  const uint32_t chosen = ingredients_.FindIngredient(Dialog(), ItemText(IDC_MEAL_FOOD));
  const Ingredient* found = chosen ? ingredients_.FindById(chosen) : nullptr;
  if (!found) return;
  SelectIngredientEntry(Item(IDC_MEAL_CATALOG), *found);
  OfferPicked();
}

// The food picked presets its serving, as far as the user gave no amount or unit.
void MealDialog::OfferPicked() {
  const auto foodId = static_cast<uint32_t>(SelectedListData(IDC_MEAL_CATALOG));  // 0: none selected
  if (const Ingredient* food = foodId ? ingredients_.FindById(foodId) : nullptr) amount_.Offer(*food);
}

// Enter in the amount, the food text or the catalog adds the food picked instead of ending the
// dialog.
bool MealDialog::EnterAdds() {
  if (!amount_.HasFocus() && !KeyboardIn(Dialog(), {IDC_MEAL_FOOD, IDC_MEAL_CATALOG})) return false;
  if (!AddSelected()) MessageBeep(MB_OK);
  return true;
}

bool MealDialog::AddSelected() {
  const auto foodId = static_cast<uint32_t>(SelectedListData(IDC_MEAL_CATALOG));  // 0: none selected
  if (foodId == 0) return false;
  MealItem item;
  item.food = ingredients_.FindById(foodId);
  item.amount = amount_.Amount();
  item.servingType = static_cast<int32_t>(amount_.Unit());
  if (!item.food || !(item.amount > 0)) return false;
  eaten_.push_back(item);
  ShowEaten(static_cast<int>(eaten_.size()) - 1);
  amount_.Show(1, amount_.FirstUnit());
  SetItemText(IDC_MEAL_FOOD, WString());
  SetFocus(Item(IDC_MEAL_FOOD));
  return true;
}

void MealDialog::RemoveSelected() {
  const auto selected = static_cast<int>(Message(IDC_MEAL_EATEN, LB_GETCURSEL));
  if (selected < 0 || selected >= static_cast<int>(eaten_.size())) return;
  eaten_.erase(eaten_.begin() + selected);
  ShowEaten(selected < static_cast<int>(eaten_.size()) ? selected : selected - 1);
}

void MealDialog::MoveSelected(int step) {
  const auto selected = static_cast<int>(Message(IDC_MEAL_EATEN, LB_GETCURSEL));
  const int target = selected + step;
  if (selected < 0 || target < 0 || target >= static_cast<int>(eaten_.size())) return;
  std::swap(eaten_[selected], eaten_[target]);
  ShowEaten(target);
}

void MealDialog::ShowEaten(int selected) const {
  Message(IDC_MEAL_EATEN, LB_RESETCONTENT);
  for (const MealItem& item : eaten_)
    Message(IDC_MEAL_EATEN, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LineText(item).c_str()));
  Message(IDC_MEAL_EATEN, LB_SETCURSEL, static_cast<WPARAM>(selected));
}

bool MealDialog::OnOK() {
  CalendarDate date = meal_->date;
  if (!date.Parse(ItemText(IDC_MEAL_DATE))) {
    app_.ShowMessage(IDS_DIARY_BAD_DATE, MB_OK | MB_ICONINFORMATION);
    Message(IDC_MEAL_TABS, TCM_SETCURSEL, 0);
    ShowTab(0);
    SetFocus(Item(IDC_MEAL_DATE));
    return false;
  }
  meal_->mealType = static_cast<int32_t>(SelectedComboData(Item(IDC_MEAL_TYPE), kMealNone));
  meal_->comment = ItemText(IDC_MEAL_COMMENT);
  meal_->date = date;
  meal_->catId = static_cast<uint32_t>(SelectedComboData(Item(IDC_MEAL_DIARY)));
  meal_->ClearItems();
  for (const MealItem& item : eaten_) meal_->AddItem(item);
  return true;
}
