#include "views/IngredientList/ExportDialog.h"

#include "food/CategoryList.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "storage/Csv.h"
#include "toolkit/ERDialog.h"

bool ExportDialog::Run(ExportChoices& choices) {
  choices_ = choices;
  if (RunModal(app_, IDD_INGREDIENT_EXPORT) != IDOK) return false;
  choices = choices_;
  return true;
}

bool ExportDialog::OnCommand(int id, int code) {
  if (id == IDC_INGREDIENT_EXPORT_PATH) {
    if (code == EN_CHANGE) OnPathChanged();
    return true;
  }
  if (id != IDC_INGREDIENT_EXPORT_BROWSE) return false;
  Browse();
  return true;
}

bool ExportDialog::OnInit() {
  FillComboUnderAll(IDC_INGREDIENT_EXPORT_CATEGORY, app_.String(IDS_ALL), categories_.Entries(),
                    choices_.categoryId);
  SetChecked(IDC_INGREDIENT_EXPORT_ALL, choices_.allData);
  SetChecked(IDC_INGREDIENT_EXPORT_SELECTED, !choices_.allData);
  SetChecked(IDC_INGREDIENT_EXPORT_PICTURES, choices_.pictures);
  SetChecked(IDC_INGREDIENT_EXPORT_UNICODE, choices_.preserveUnicode);
  if (choices_.captionId != 0) SetWindowTextW(Dialog(), app_.String(choices_.captionId).c_str());
  SetChecked(IDC_EXPORT_INGREDIENTS, choices_.ingredients);
  for (int id : {IDC_EXPORT_INGREDIENTS, IDC_EXPORT_INGREDIENTS_LABEL})
    ShowWindow(Item(id), choices_.offerIngredients ? SW_SHOW : SW_HIDE);
  SetItemText(IDC_INGREDIENT_EXPORT_PATH, choices_.path);
  OnPathChanged();
  return true;
}

void ExportDialog::OnPathChanged() const {
  const WString path = ItemText(IDC_INGREDIENT_EXPORT_PATH);
  const bool csv = IsCsvPath(path);
  // Other files always carry every field.
  if (!csv && !path.empty()) {
    SetChecked(IDC_INGREDIENT_EXPORT_ALL, true);
    SetChecked(IDC_INGREDIENT_EXPORT_SELECTED, false);
  }
  for (int id : {IDC_INGREDIENT_EXPORT_ALL, IDC_INGREDIENT_EXPORT_SELECTED, IDC_INGREDIENT_EXPORT_UNICODE})
    EnableWindow(Item(id), csv);
  // CSV rows name their ingredients; only XML files can carry the ingredients themselves.
  if (csv) SetChecked(IDC_EXPORT_INGREDIENTS, false);
  EnableWindow(Item(IDC_EXPORT_INGREDIENTS), !csv);
}

WString ExchangeFilter(const DAVavador::ERApp& app) {
  WString filter;
  for (UINT id = IDS_CSV_FILES; id < IDS_CSV_FILES + 4; ++id)
    filter += (filter.empty() ? WString() : WString(TXT("|"))) + app.String(id);
  return filter;
}

void ExportDialog::Browse() const {
  FileRequest request;
  request.owner = Dialog();
  request.title = app_.String(choices_.browseTitleId);
  request.filter = ExchangeFilter(app_);
  request.defaultExtension = TXT("csv");
  request.initialPath = ItemText(IDC_INGREDIENT_EXPORT_PATH);
  if (const std::optional<WString> path = UserPrompts::Current().SaveFile(request))
    SetItemText(IDC_INGREDIENT_EXPORT_PATH, *path);
}

bool ExportPathAccepted(const DAVavador::ERApp& app, const WString& path) {
  return !path.empty() && (!FileExists(path) || app.ShowMessage(IDS_EXPORT_OVERWRITE_QUESTION,
                                                                MB_YESNO | MB_ICONQUESTION) == IDYES);
}

bool ExportDialog::OnOK() {
  const WString path = ItemText(IDC_INGREDIENT_EXPORT_PATH);
  // Without a file, or when the file may not be written over, the export does not happen.
  if (!ExportPathAccepted(app_, path)) {
    End(IDCANCEL);
    return false;
  }
  choices_.path = path;
  choices_.categoryId = static_cast<uint32_t>(SelectedComboData(IDC_INGREDIENT_EXPORT_CATEGORY));
  choices_.allData = IsChecked(IDC_INGREDIENT_EXPORT_ALL);
  choices_.pictures = IsChecked(IDC_INGREDIENT_EXPORT_PICTURES);
  choices_.preserveUnicode = IsChecked(IDC_INGREDIENT_EXPORT_UNICODE);
  choices_.ingredients = choices_.offerIngredients && IsChecked(IDC_EXPORT_INGREDIENTS);
  return true;
}
