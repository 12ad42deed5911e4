#include "views/Diary/DialogText.h"

#include "food/Meal.h"

namespace diary_dialog {

WString ItemText(HWND dialog, int id) {
  const HWND item = GetDlgItem(dialog, id);
  WString text(static_cast<size_t>(GetWindowTextLengthW(item)), 0);
  GetWindowTextW(item, text.data(), static_cast<int>(text.size() + 1));
  return text;
}

void SetItemText(HWND dialog, int id, const WString& text) {
  SetDlgItemTextW(dialog, id, text.c_str());
}

int AddComboItem(HWND combo, const WString& text, LPARAM data) {
  const auto at =
      static_cast<int>(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
  return at;
}

void FillCombo(HWND combo, const NamedIdList& entries) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const NamedId& entry : entries) AddComboItem(combo, entry.name, static_cast<LPARAM>(entry.id));
}

bool SelectComboData(HWND combo, LPARAM data) {
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == data) {
      SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return true;
    }
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return false;
}

LPARAM SelectedComboData(HWND combo, LPARAM none) {
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  return selected < 0 ? none : SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
}

void FillMealTypes(HWND combo, const WString& allText, bool withAll) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  if (withAll) AddComboItem(combo, allText, kMealNone);
  for (int32_t type = kMealBreakfast; type < kMealTypeCount; ++type)
    AddComboItem(combo, MealTypeName(type), type);
}

}  // namespace diary_dialog
