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

// The Options dialog over the options and the news setting.
class OptionsDialog : public DAVavador::ERDialog {
 public:
  OptionsDialog(Options& options, NewsPopupSetting* news) : options_(options), news_(news) {}
  bool Run(const DAVavador::ERApp& app) { return RunModal(app, IDD_OPTIONS) == IDOK; }

 private:
  // Selects the Yes or the No button of one choice.
  void SetChoice(int yesId, int noId, bool yes) const {
    SetChecked(yesId, yes);
    SetChecked(noId, !yes);
  }

  bool OnInit() override {
    SetItemText(IDC_OPTIONS_FOLDER, options_.baseFolder);
    if (news_) options_.showMessages = news_->NewsShown();
    SetChoice(IDC_OPTIONS_MESSAGES_YES, IDC_OPTIONS_MESSAGES_NO, options_.showMessages);
    SetChoice(IDC_OPTIONS_TRACK_YES, IDC_OPTIONS_TRACK_NO, options_.track);
    SetChoice(IDC_OPTIONS_BACKUP_YES, IDC_OPTIONS_BACKUP_NO, options_.autoBackup);
    SetChoice(IDC_OPTIONS_STATUS_YES, IDC_OPTIONS_STATUS_NO, options_.showStatus);
    SetChecked(IDC_OPTIONS_PERCENT, options_.displayPercent);
    SetChecked(IDC_OPTIONS_ROUND, options_.roundNumbers);
    SetChecked(IDC_OPTIONS_RELOAD, false);
    return true;
  }

  bool OnCommand(int id, int) override {
    if (id != IDC_OPTIONS_BROWSE) return false;
    if (std::optional<WString> folder = ChooseFolder(Dialog())) SetItemText(IDC_OPTIONS_FOLDER, *folder);
    return true;
  }

  bool OnOK() override {
    const bool messages = IsChecked(IDC_OPTIONS_MESSAGES_YES);
    if (messages != options_.showMessages) {
      options_.showMessages = messages;
      if (news_) news_->SetNewsShown(messages);
    }
    options_.baseFolder = ItemText(IDC_OPTIONS_FOLDER);
    options_.reloadNow = IsChecked(IDC_OPTIONS_RELOAD);
    options_.track = IsChecked(IDC_OPTIONS_TRACK_YES);
    options_.autoBackup = IsChecked(IDC_OPTIONS_BACKUP_YES);
    options_.displayPercent = IsChecked(IDC_OPTIONS_PERCENT);
    options_.roundNumbers = IsChecked(IDC_OPTIONS_ROUND);
    options_.showStatus = IsChecked(IDC_OPTIONS_STATUS_YES);
    options_.DerivePaths();
    return true;
  }

  Options& options_;
  NewsPopupSetting* news_;
};

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
  return OptionsDialog(*this, news).Run(*owner);
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

WString Options::OfferNutrientData(const WString& programFolder, bool ask) {
  const WString candidate = NutrientDataCandidate(programFolder);
  if (candidate.empty() || !owner) return WString();
  const int answer =
      !ask ? IDYES
           : owner->ShowMessage(owner->String(IDS_UPGRADE_QUESTION), owner->String(IDS_UPGRADE_CAPTION),
                                MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer != IDYES && answer != IDNO) return WString();
  dbVersion = candidate;
  return answer == IDYES ? programFolder + candidate : WString();
}
