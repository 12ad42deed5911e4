#include "views/IngredientList/ExportDialog.h"

#include "food/CategoryList.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "storage/Csv.h"
#include "toolkit/ERDialog.h"

namespace {

void Check(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

}  // namespace

bool ExportDialog::Run(ExportChoices& choices) {
  choices_ = choices;
  if (app_.RunDialog(IDD_INGREDIENT_EXPORT, DialogProc, reinterpret_cast<LPARAM>(this)) != IDOK) return false;
  choices = choices_;
  return true;
}

INT_PTR CALLBACK ExportDialog::DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<ExportDialog*>(lp)->OnInit(dialog);
    return TRUE;
  }
  auto* self = reinterpret_cast<ExportDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self || msg != WM_COMMAND) return FALSE;
  switch (LOWORD(wp)) {
    case IDC_INGREDIENT_EXPORT_PATH:
      if (HIWORD(wp) == EN_CHANGE) self->OnPathChanged(dialog);
      return TRUE;
    case IDC_INGREDIENT_EXPORT_BROWSE:
      self->Browse(dialog);
      return TRUE;
    case IDOK:
      EndDialog(dialog, self->OnOK(dialog) ? IDOK : IDCANCEL);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

void ExportDialog::OnInit(HWND dialog) {
  const HWND combo = GetDlgItem(dialog, IDC_INGREDIENT_EXPORT_CATEGORY);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(app_.String(IDS_ALL).c_str()));
  int selected = 0;
  for (const NamedId& entry : categories_.Entries()) {
    const auto at =
        static_cast<int>(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str())));
    SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), entry.id);
    if (entry.id == choices_.categoryId) selected = at;
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  Check(dialog, IDC_INGREDIENT_EXPORT_ALL, choices_.allData);
  Check(dialog, IDC_INGREDIENT_EXPORT_SELECTED, !choices_.allData);
  Check(dialog, IDC_INGREDIENT_EXPORT_PICTURES, choices_.pictures);
  Check(dialog, IDC_INGREDIENT_EXPORT_UNICODE, choices_.preserveUnicode);
  if (choices_.captionId != 0) SetWindowTextW(dialog, app_.String(choices_.captionId).c_str());
  Check(dialog, IDC_EXPORT_INGREDIENTS, choices_.ingredients);
  for (int id : {IDC_EXPORT_INGREDIENTS, IDC_EXPORT_INGREDIENTS_LABEL})
    ShowWindow(GetDlgItem(dialog, id), choices_.offerIngredients ? SW_SHOW : SW_HIDE);
  SetDlgItemTextW(dialog, IDC_INGREDIENT_EXPORT_PATH, choices_.path.c_str());
  OnPathChanged(dialog);
}

void ExportDialog::OnPathChanged(HWND dialog) const {
  const WString path = DAVavador::ERDialog::ItemText(dialog, IDC_INGREDIENT_EXPORT_PATH);
  const bool csv = IsCsvPath(path);
  // Other files always carry every field.
  if (!csv && !path.empty()) {
    Check(dialog, IDC_INGREDIENT_EXPORT_ALL, true);
    Check(dialog, IDC_INGREDIENT_EXPORT_SELECTED, false);
  }
  for (int id : {IDC_INGREDIENT_EXPORT_ALL, IDC_INGREDIENT_EXPORT_SELECTED, IDC_INGREDIENT_EXPORT_UNICODE})
    EnableWindow(GetDlgItem(dialog, id), csv);
  // CSV rows name their ingredients; only XML files can carry the ingredients themselves.
  if (csv) Check(dialog, IDC_EXPORT_INGREDIENTS, false);
  EnableWindow(GetDlgItem(dialog, IDC_EXPORT_INGREDIENTS), !csv);
}

WString ExchangeFilter(const DAVavador::ERApp& app) {
  WString filter;
  for (UINT id = IDS_CSV_FILES; id < IDS_CSV_FILES + 4; ++id)
    filter += (filter.empty() ? WString() : WString(TXT("|"))) + app.String(id);
  return filter;
}

void ExportDialog::Browse(HWND dialog) const {
  FileRequest request;
  request.owner = dialog;
  request.title = app_.String(choices_.browseTitleId);
  request.filter = ExchangeFilter(app_);
  request.defaultExtension = TXT("csv");
  request.initialPath = DAVavador::ERDialog::ItemText(dialog, IDC_INGREDIENT_EXPORT_PATH);
  if (const std::optional<WString> path = UserPrompts::Current().SaveFile(request))
    SetDlgItemTextW(dialog, IDC_INGREDIENT_EXPORT_PATH, path->c_str());
}

bool ExportDialog::OnOK(HWND dialog) {
  const WString path = DAVavador::ERDialog::ItemText(dialog, IDC_INGREDIENT_EXPORT_PATH);
  if (path.empty()) return false;
  if (FileExists(path) &&
      app_.ShowMessage(IDS_EXPORT_OVERWRITE_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  const HWND combo = GetDlgItem(dialog, IDC_INGREDIENT_EXPORT_CATEGORY);
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  choices_.path = path;
  choices_.categoryId =
      selected > 0 ? static_cast<uint32_t>(SendMessageW(combo, CB_GETITEMDATA, selected, 0)) : 0;
  choices_.allData = IsChecked(dialog, IDC_INGREDIENT_EXPORT_ALL);
  choices_.pictures = IsChecked(dialog, IDC_INGREDIENT_EXPORT_PICTURES);
  choices_.preserveUnicode = IsChecked(dialog, IDC_INGREDIENT_EXPORT_UNICODE);
  choices_.ingredients = choices_.offerIngredients && IsChecked(dialog, IDC_EXPORT_INGREDIENTS);
  return true;
}
