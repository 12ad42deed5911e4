#include "views/IngredientList/FindIngredientDialog.h"

#include "food/CategoryList.h"
#include "food/Food.h"
#include "resources/resource.h"
#include "toolkit/ERDialog.h"

namespace {

// Adds an entry with its data; selects it when its data is `selected`.
void AddEntry(HWND combo, const WString& text, uint32_t data, uint32_t selected) {
  const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
  if (data == selected) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

uint32_t SelectedData(HWND dialog, int id) {
  const LRESULT at = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
  return at == CB_ERR ? 0 : static_cast<uint32_t>(SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, at, 0));
}

}  // namespace

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
  app_.RunDialog(IDD_FIND_INGREDIENT, DialogProc, reinterpret_cast<LPARAM>(this), owner);
  return chosen_;
}

INT_PTR CALLBACK FindIngredientDialog::DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<FindIngredientDialog*>(lp)->OnInit(dialog);
    return FALSE;  // the focus is in the edit
  }
  auto* self = reinterpret_cast<FindIngredientDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self || msg != WM_COMMAND) return FALSE;
  const int code = HIWORD(wp);
  switch (LOWORD(wp)) {
    case IDC_FIND_TEXT:
      if (code == EN_CHANGE) self->Refill(dialog);
      return TRUE;
    case IDC_FIND_CATEGORY:
    case IDC_FIND_LETTER:
      if (code == CBN_SELCHANGE) self->Refill(dialog);
      return TRUE;
    case IDC_FIND_RESULTS:
      if (code == LBN_DBLCLK) self->Choose(dialog);
      return TRUE;
    case IDOK:
      self->Choose(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void FindIngredientDialog::OnInit(HWND dialog) {
  const WString all = app_.String(IDS_ALL);
  const HWND categories = GetDlgItem(dialog, IDC_FIND_CATEGORY);
  AddEntry(categories, all, 0, categoryId_);
  for (const NamedId& entry : categories_.Entries()) AddEntry(categories, entry.name, entry.id, categoryId_);
  const HWND letters = GetDlgItem(dialog, IDC_FIND_LETTER);
  AddEntry(letters, all, 0, letter_);
  const WString letterText = app_.String(IDS_VIEW_LETTERS);
  for (size_t i = 0; i < letterText.size(); ++i)
    AddEntry(letters, WString(1, letterText[i]), static_cast<uint32_t>(i + 1), letter_);
  for (HWND combo : {categories, letters})
    if (SendMessageW(combo, CB_GETCURSEL, 0, 0) == CB_ERR) SendMessageW(combo, CB_SETCURSEL, 0, 0);
  // Setting the text refills the list through EN_CHANGE once the user data is in place.
  const HWND edit = GetDlgItem(dialog, IDC_FIND_TEXT);
  SetWindowTextW(edit, text_.c_str());
  Refill(dialog);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SetFocus(edit);
}

void FindIngredientDialog::Refill(HWND dialog) const {
  search_(GetDlgItem(dialog, IDC_FIND_RESULTS), DAVavador::ERDialog::ItemText(dialog, IDC_FIND_TEXT),
          SelectedData(dialog, IDC_FIND_CATEGORY), SelectedData(dialog, IDC_FIND_LETTER));
}

void FindIngredientDialog::Choose(HWND dialog) {
  const HWND results = GetDlgItem(dialog, IDC_FIND_RESULTS);
  const LRESULT at = SendMessageW(results, LB_GETCURSEL, 0, 0);
  chosen_ = at == LB_ERR ? 0 : static_cast<uint32_t>(SendMessageW(results, LB_GETITEMDATA, at, 0));
  EndDialog(dialog, chosen_ != 0 ? IDOK : IDCANCEL);
}
