#include "views/IngredientList/FindIngredientDialog.h"

#include "food/CategoryList.h"
#include "food/Food.h"
#include "resources/resource.h"
#include "toolkit/ERDialog.h"

void SelectIngredientEntry(HWND listBox, const Ingredient& ingredient) {
  const auto count = static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
  int at = 0;
  while (at < count &&
         static_cast<uint32_t>(SendMessageW(listBox, LB_GETITEMDATA, at, 0)) != ingredient.foodId)
    ++at;
  if (at == count) {
    at = static_cast<int>(
        SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ingredient.name.c_str())));
    SendMessageW(listBox, LB_SETITEMDATA, at, ingredient.foodId);
  }
  SendMessageW(listBox, LB_SETCURSEL, at, 0);
}

uint32_t FindIngredientDialog::Run(HWND owner, const WString& text, uint32_t categoryId, uint32_t letter) {
  text_ = text;
  categoryId_ = categoryId;
  letter_ = letter;
  chosen_ = 0;
  RunModal(app_, IDD_FIND_INGREDIENT, owner);
  return chosen_;
}

bool FindIngredientDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_FIND_TEXT:
      if (code == EN_CHANGE) Refill();
      return true;
    case IDC_FIND_CATEGORY:
    case IDC_FIND_LETTER:
      if (code == CBN_SELCHANGE) Refill();
      return true;
    case IDC_FIND_RESULTS:
      if (code == LBN_DBLCLK) Choose();
      return true;
    default:
      return false;
  }
}

// OK chooses the selected ingredient, or closes as Cancel without one.
bool FindIngredientDialog::OnOK() {
  Choose();
  return false;
}

bool FindIngredientDialog::OnInit() {
  const WString all = app_.String(IDS_ALL);
  FillComboUnderAll(IDC_FIND_CATEGORY, all, categories_.Entries(), categoryId_);
  AddComboItem(IDC_FIND_LETTER, all, 0);
  const WString letterText = app_.String(IDS_VIEW_LETTERS);
  for (size_t i = 0; i < letterText.size(); ++i)
    AddComboItem(IDC_FIND_LETTER, WString(1, letterText[i]), static_cast<LPARAM>(i + 1));
  SelectComboData(IDC_FIND_LETTER, letter_, 0);
  // Setting the text refills the list through EN_CHANGE once the user data is in place.
  SetItemText(IDC_FIND_TEXT, text_);
  Refill();
  Message(IDC_FIND_TEXT, EM_SETSEL, 0, -1);
  SetFocus(Item(IDC_FIND_TEXT));
  return false;  // the focus is in the edit
}

void FindIngredientDialog::Refill() const {
  search_(Item(IDC_FIND_RESULTS), ItemText(IDC_FIND_TEXT),
          static_cast<uint32_t>(SelectedComboData(IDC_FIND_CATEGORY)),
          static_cast<uint32_t>(SelectedComboData(IDC_FIND_LETTER)));
}

void FindIngredientDialog::Choose() {
  chosen_ = static_cast<uint32_t>(SelectedListData(IDC_FIND_RESULTS));
  End(chosen_ != 0 ? IDOK : IDCANCEL);
}
