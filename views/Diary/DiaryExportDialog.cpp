#include "views/Diary/DiaryExportDialog.h"

#include "food/CategoryList.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/UserPrompts.h"
#include "views/IngredientList/ExportDialog.h"

bool DiaryExportDialog::Run(WString& path, uint32_t& diaryId) {
  path_ = path;
  diaryId_ = diaryId;
  if (RunModal(app_, IDD_INGREDIENT_EXPORT) != IDOK) return false;
  path = path_;
  diaryId = diaryId_;
  return true;
}

bool DiaryExportDialog::OnCommand(int id, int) {
  if (id != IDC_INGREDIENT_EXPORT_BROWSE) return false;
  Browse();
  return true;
}

bool DiaryExportDialog::OnInit() {
  SetWindowTextW(Dialog(), app_.String(IDS_DIARY_EXPORT_CAPTION).c_str());
  // The category row's label is the control just before its combo.
  SetWindowTextW(GetWindow(Item(IDC_INGREDIENT_EXPORT_CATEGORY), GW_HWNDPREV),
                 app_.String(IDS_DIARY_LABEL).c_str());
  FillComboUnderAll(IDC_INGREDIENT_EXPORT_CATEGORY, app_.String(IDS_ALL), diaries_.Entries(), diaryId_);
  SetChecked(IDC_INGREDIENT_EXPORT_ALL, true);
  for (int id : {IDC_INGREDIENT_EXPORT_ALL, IDC_INGREDIENT_EXPORT_SELECTED}) EnableWindow(Item(id), FALSE);
  for (int id : {IDC_INGREDIENT_EXPORT_PICTURES, IDC_INGREDIENT_EXPORT_UNICODE})
    ShowWindow(Item(id), SW_HIDE);
  SetItemText(IDC_INGREDIENT_EXPORT_PATH, path_);
  return true;
}

void DiaryExportDialog::Browse() const {
  FileRequest request;
  request.owner = Dialog();
  request.title = app_.String(IDS_DIARY_EXPORT_BROWSE_TITLE);
  request.filter = app_.String(IDS_XML_FILES) + TXT("|") + app_.String(IDS_XML_FILES + 1);
  request.defaultExtension = TXT("xml");
  request.initialPath = ItemText(IDC_INGREDIENT_EXPORT_PATH);
  if (const std::optional<WString> path = UserPrompts::Current().SaveFile(request))
    SetItemText(IDC_INGREDIENT_EXPORT_PATH, *path);
}

bool DiaryExportDialog::OnOK() {
  const WString path = ItemText(IDC_INGREDIENT_EXPORT_PATH);
  // Without a file, or when the file may not be written over, the export does not happen.
  if (!ExportPathAccepted(app_, path)) {
    End(IDCANCEL);
    return false;
  }
  path_ = path;
  diaryId_ = static_cast<uint32_t>(SelectedComboData(IDC_INGREDIENT_EXPORT_CATEGORY));
  return true;
}
