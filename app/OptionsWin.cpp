// The Windows part of the options: the default data folder, the window placement, the Options
// dialog and the offer of newer nutrient data.
#include <windows.h>

#include <shlobj.h>

#include <optional>
#include <vector>

#include "app/Options.h"
#include "resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

namespace {

const WChar kSeparator[] = TXT("\\");

// Sorts names as the system's default locale does, with case.
int CompareNames(const WString& a, const WString& b) {
  return CompareStringW(LOCALE_SYSTEM_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
}

bool IsCsvName(const WString& name) {
  const WString extension = TXT(".csv");
  return name.size() > extension.size() &&
         EqualsNoCase(WStringView(name).substr(name.size() - extension.size()), extension);
}

bool IsChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// Selects the Yes or the No button of one choice.
void SetChoice(HWND dialog, int yesId, int noId, bool yes) {
  CheckDlgButton(dialog, yesId, yes ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, noId, yes ? BST_UNCHECKED : BST_CHECKED);
}

struct DialogContext {
  Options& options;
  NewsPopupSetting* news;
};

void FillDialog(HWND dialog, Options& options, NewsPopupSetting* news) {
  SetDlgItemTextW(dialog, IDC_OPTIONS_FOLDER, options.baseFolder.c_str());
  if (news) options.showMessages = news->NewsShown();
  SetChoice(dialog, IDC_OPTIONS_MESSAGES_YES, IDC_OPTIONS_MESSAGES_NO, options.showMessages);
  SetChoice(dialog, IDC_OPTIONS_TRACK_YES, IDC_OPTIONS_TRACK_NO, options.track);
  SetChoice(dialog, IDC_OPTIONS_BACKUP_YES, IDC_OPTIONS_BACKUP_NO, options.autoBackup);
  SetChoice(dialog, IDC_OPTIONS_STATUS_YES, IDC_OPTIONS_STATUS_NO, options.showStatus);
  CheckDlgButton(dialog, IDC_OPTIONS_PERCENT, options.displayPercent ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_OPTIONS_ROUND, options.roundNumbers ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_OPTIONS_RELOAD, BST_UNCHECKED);
}

void ReadDialog(HWND dialog, Options& options, NewsPopupSetting* news) {
  const bool messages = IsChecked(dialog, IDC_OPTIONS_MESSAGES_YES);
  if (messages != options.showMessages) {
    options.showMessages = messages;
    if (news) news->SetNewsShown(messages);
  }
  options.baseFolder = DAVavador::ERDialog::ItemText(dialog, IDC_OPTIONS_FOLDER);
  options.reloadNow = IsChecked(dialog, IDC_OPTIONS_RELOAD);
  options.track = IsChecked(dialog, IDC_OPTIONS_TRACK_YES);
  options.autoBackup = IsChecked(dialog, IDC_OPTIONS_BACKUP_YES);
  options.displayPercent = IsChecked(dialog, IDC_OPTIONS_PERCENT);
  options.roundNumbers = IsChecked(dialog, IDC_OPTIONS_ROUND);
  options.showStatus = IsChecked(dialog, IDC_OPTIONS_STATUS_YES);
  options.DerivePaths();
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    auto* context = reinterpret_cast<DialogContext*>(lp);
    FillDialog(dialog, context->options, context->news);
    return TRUE;
  }
  auto* context = reinterpret_cast<DialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (msg != WM_COMMAND || !context) return FALSE;
  switch (LOWORD(wp)) {
    case IDC_OPTIONS_BROWSE:
      if (std::optional<WString> folder = ChooseFolder(dialog))
        SetDlgItemTextW(dialog, IDC_OPTIONS_FOLDER, folder->c_str());
      return TRUE;
    case IDOK:
      ReadDialog(dialog, context->options, context->news);
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

Options::Options(const DAVavador::ERApp& app) : Options(&app, DefaultDataFolder(app)) {}

WString Options::DefaultDataFolder(const DAVavador::ERApp& app) {
  wchar_t path[MAX_PATH] = {};
  WString folder;
  DAVavador::ERApp::FolderPathFunction folderPath = app.FolderPath();
  if (folderPath && SUCCEEDED(folderPath(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path))) {
    folder = EnsureTrailing(path, TXT('\\')) + app.MakerName() + kSeparator + app.ProductName() + kSeparator;
  } else {
    DWORD length = GetTempPathW(MAX_PATH, path);
    folder = length && length < MAX_PATH ? WString(path) : WString(TXT("C:"));
    folder = EnsureTrailing(folder, TXT('\\')) + app.MakerName() + kSeparator;
  }
  CreateFolders(folder, false);
  return folder;
}

WString Options::ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
    path.resize(path.size() * 2);
  return length ? FolderOf(WString(path.data(), length)) : WString();
}

void Options::RecordWindow(HWND window) {
  RECT place{}, work{};
  if (!GetWindowRect(window, &place) || !SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return;
  // A window partly off the work area is not kept, so it never reopens off screen.
  if (place.left < work.left || place.top < work.top || place.right > work.right ||
      place.bottom > work.bottom)
    return;
  x = place.left;
  y = place.top;
  width = place.right - place.left;
  height = place.bottom - place.top;
}

bool Options::RunDialog(NewsPopupSetting* news) {
  if (!owner) return false;
  DialogContext context{*this, news};
  return owner->RunDialog(IDD_OPTIONS, OptionsDialogProc, reinterpret_cast<LPARAM>(&context)) == IDOK;
}

WString Options::NutrientDataCandidate(const WString& programFolder) const {
  WString first;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((programFolder + TXT("*.csv")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return first;
  do {
    const WString name = found.cFileName;
    // The pattern also matches longer extensions through short names; only ".csv" counts.
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsCsvName(name) &&
        (first.empty() || CompareNames(name, first) < 0))
      first = name;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  const bool newer = !first.empty() && (dbVersion.empty() || CompareNames(first, dbVersion) > 0);
  return newer ? first : WString();
}

WString Options::OfferNutrientData(const WString& programFolder) {
  const WString candidate = NutrientDataCandidate(programFolder);
  if (candidate.empty() || !owner) return WString();
  const int answer = owner->ShowMessage(owner->String(IDS_UPGRADE_QUESTION),
                                        owner->String(IDS_UPGRADE_CAPTION), MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer != IDYES && answer != IDNO) return WString();
  dbVersion = candidate;
  return answer == IDYES ? programFolder + candidate : WString();
}
