#include "views/Diary/DiaryExportDialog.h"

#include "food/CategoryList.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/UserPrompts.h"
#include "views/Diary/DialogText.h"

using namespace diary_dialog;

bool DiaryExportDialog::Run(WString& path, uint32_t& diaryId) {
  path_ = path;
  diaryId_ = diaryId;
  if (app_.RunDialog(IDD_INGREDIENT_EXPORT, DialogProc, reinterpret_cast<LPARAM>(this)) != IDOK) return false;
  path = path_;
  diaryId = diaryId_;
  return true;
}

INT_PTR CALLBACK DiaryExportDialog::DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<DiaryExportDialog*>(lp)->OnInit(dialog);
    return TRUE;
  }
  auto* self = reinterpret_cast<DiaryExportDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self || msg != WM_COMMAND) return FALSE;
  switch (LOWORD(wp)) {
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

void DiaryExportDialog::OnInit(HWND dialog) const {
  SetWindowTextW(dialog, app_.String(IDS_DIARY_EXPORT_CAPTION).c_str());
  const HWND combo = GetDlgItem(dialog, IDC_INGREDIENT_EXPORT_CATEGORY);
  // The category row's label is the control just before its combo.
  SetWindowTextW(GetWindow(combo, GW_HWNDPREV), app_.String(IDS_DIARY_LABEL).c_str());
  AddComboItem(combo, app_.String(IDS_ALL), 0);
  for (const NamedId& entry : diaries_.Entries()) AddComboItem(combo, entry.name, entry.id);
  if (!SelectComboData(combo, diaryId_)) SelectComboData(combo, 0);
  CheckDlgButton(dialog, IDC_INGREDIENT_EXPORT_ALL, BST_CHECKED);
  for (int id : {IDC_INGREDIENT_EXPORT_ALL, IDC_INGREDIENT_EXPORT_SELECTED})
    EnableWindow(GetDlgItem(dialog, id), FALSE);
  for (int id : {IDC_INGREDIENT_EXPORT_PICTURES, IDC_INGREDIENT_EXPORT_UNICODE})
    ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
  SetItemText(dialog, IDC_INGREDIENT_EXPORT_PATH, path_);
}

void DiaryExportDialog::Browse(HWND dialog) const {
  FileRequest request;
  request.owner = dialog;
  request.title = app_.String(IDS_DIARY_EXPORT_BROWSE_TITLE);
  request.filter = app_.String(IDS_XML_FILES) + TXT("|") + app_.String(IDS_XML_FILES + 1);
  request.defaultExtension = TXT("xml");
  request.initialPath = ItemText(dialog, IDC_INGREDIENT_EXPORT_PATH);
  if (const std::optional<WString> path = UserPrompts::Current().SaveFile(request))
    SetItemText(dialog, IDC_INGREDIENT_EXPORT_PATH, *path);
}

bool DiaryExportDialog::OnOK(HWND dialog) {
  const WString path = ItemText(dialog, IDC_INGREDIENT_EXPORT_PATH);
  if (path.empty()) return false;
  if (FileExists(path) &&
      app_.ShowMessage(IDS_EXPORT_OVERWRITE_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  path_ = path;
  diaryId_ = static_cast<uint32_t>(SelectedComboData(GetDlgItem(dialog, IDC_INGREDIENT_EXPORT_CATEGORY)));
  return true;
}
