#include "views/CategoryBox.h"

#include <commctrl.h>

#include "food/CategoryList.h"
#include "resources/resource.h"
#include "storage/UserPrompts.h"
#include "toolkit/ERDialog.h"
#include "toolkit/WindowText.h"

namespace CategoryBox {

namespace {

WString TypedName(HWND combo) {
  const WString text = DAVavador::WindowText(combo);
  const size_t first = text.find_first_not_of(TXT(" \t"));
  if (first == WString::npos) return WString();
  return text.substr(first, text.find_last_not_of(TXT(" \t")) - first + 1);
}

}  // namespace

void Fill(HWND combo, const CategoryList& categories, uint32_t catId) {
  DAVavador::ERDialog::FillCombo(combo, categories.Entries());
  DAVavador::ERDialog::SelectComboData(combo, catId, 0);
  if (!categories.Entries().Empty()) return;
  // An empty box with nothing to choose says that a name may be typed.
  const wchar_t* cue = nullptr;
  const int length =
      LoadStringW(GetModuleHandleW(nullptr), IDS_EDITOR_CATEGORY_CUE, reinterpret_cast<LPWSTR>(&cue), 0);
  const WString text = length > 0 ? WString(cue, static_cast<size_t>(length)) : WString();
  COMBOBOXINFO parts = {sizeof(parts)};
  if (GetComboBoxInfo(combo, &parts))  // the box's edit holds the cue, as Wine's combo box has none
    SendMessageW(parts.hwndItem, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Refill(HWND combo, const CategoryList& categories) {
  const WString shown = DAVavador::WindowText(combo);
  DAVavador::ERDialog::FillCombo(combo, categories.Entries());
  SetWindowTextW(combo, shown.c_str());
}

bool Check(HWND combo, const DAVavador::ERApp& app) {
  if (!TypedName(combo).empty()) return true;
  UserPrompts::Current().Message(GetParent(combo), app.String(IDS_EDITOR_NO_CATEGORY), app.DisplayName(),
                                 Prompt::kOk | Prompt::kIconInformation);
  SetFocus(combo);
  return false;
}

uint32_t Read(HWND combo, const CategoryList& categories, const Create& create) {
  const WString name = TypedName(combo);
  if (name.empty()) return 0;
  const uint32_t listed = categories.IdByName(name);
  return listed != 0 || !create ? listed : create(name);
}

}  // namespace CategoryBox
