#include "net/UpdateCheck.h"

#include <atomic>
#include <vector>

#include "app/Options.h"
#include "app/ProgressWindow.h"
#include "net/ERXferHTTP.h"
#include "net/RegistrySettings.h"
#include "net/TransferWindow.h"
#include "net/UpdateSchedule.h"
#include "resource.h"
#include "storage/Csv.h"
#include "storage/XMLDoc.h"
#include "richtext/MarkupLabel.h"
#include "storage/Csv.h"
#include "storage/XMLDoc.h"
#include "toolkit/ERApp.h"
#include "toolkit/ScopedHandle.h"

using DAVavador::ERApp;

namespace {

constexpr const wchar_t* kFrequencyValue = L"AutoUpdate_Freq";
constexpr const wchar_t* kDueDateValue = L"AutoUpdate_Date";

// The "Auto-Update" dialog: check now, or not until the chosen interval has passed.
struct ScheduleChoice {
  const ERApp& app;
  const UpdateSite& site;
  uint32_t interval;
  bool checkNow = false;
};

void InitScheduleDialog(HWND dialog, const ScheduleChoice& choice) {
  const WString& program = choice.app.ProductName();
  wchar_t text[512];
  GetWindowTextW(dialog, text, 512);
  SetWindowTextW(dialog, (program + TXT(" ") + text).c_str());
  GetDlgItemTextW(dialog, IDC_AUTO_UPDATE_LABEL, text, 512);
  const HWND label = GetDlgItem(dialog, IDC_AUTO_UPDATE_LABEL);
  SetWindowTextW(label, (text + (TXT("<b>") + program + TXT("</b>?</body>"))).c_str());
  DAVavador::InstallMarkupLabel(label);
  CheckRadioButton(dialog, IDC_AUTO_UPDATE_YES, IDC_AUTO_UPDATE_NO, IDC_AUTO_UPDATE_YES);

  const HWND combo = GetDlgItem(dialog, IDC_AUTO_UPDATE_INTERVAL);
  LRESULT selected = -1, never = 0;
  for (UpdateInterval interval : kUpdateIntervals) {
    const LRESULT item =
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.app.String(interval).c_str()));
    SendMessageW(combo, CB_SETITEMDATA, item, interval);
    if (interval == choice.interval) selected = item;
    if (interval == kIntervalNever) never = item;
  }
  SendMessageW(combo, CB_SETCURSEL, selected >= 0 ? selected : never, 0);
  EnableWindow(combo, FALSE);
}

INT_PTR CALLBACK ScheduleDialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
  auto* choice = reinterpret_cast<ScheduleChoice*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    InitScheduleDialog(dialog, *reinterpret_cast<ScheduleChoice*>(lp));
    return TRUE;
  }
  if (message != WM_COMMAND || !choice) return FALSE;
  switch (LOWORD(wp)) {
    case IDC_AUTO_UPDATE_YES:
    case IDC_AUTO_UPDATE_NO:
      EnableWindow(GetDlgItem(dialog, IDC_AUTO_UPDATE_INTERVAL),
                   IsDlgButtonChecked(dialog, IDC_AUTO_UPDATE_NO));
      return TRUE;
    case IDOK: {
      const LRESULT item = SendDlgItemMessageW(dialog, IDC_AUTO_UPDATE_INTERVAL, CB_GETCURSEL, 0, 0);
      choice->interval = static_cast<uint32_t>(
          SendDlgItemMessageW(dialog, IDC_AUTO_UPDATE_INTERVAL, CB_GETITEMDATA, item, 0));
      choice->checkNow = IsDlgButtonChecked(dialog, IDC_AUTO_UPDATE_YES) == BST_CHECKED;
      StoreSchedule(choice->site, choice->interval);
      EndDialog(dialog, IDOK);
      return TRUE;
    }
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

bool StartInstaller(const WString& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  std::vector<wchar_t> commandLine(path.begin(), path.end());
  commandLine.push_back(0);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  // Nobody waits for the installer: both handles go at once.
  const DAVavador::ScopedHandle processHandle(process.hProcess);
  const DAVavador::ScopedHandle threadHandle(process.hThread);
  return true;
}

// One check: the version file, the comparison, the installer.
class UpdateChecker {
 public:
  UpdateChecker(const ERApp& app, const UpdateSite& site)
      : app_(app), window_(app), transfer_(site.FolderUrl()), site_(site) {}

  // True when the installer was started.
  bool Run() {
    started_ = window_.Run(nullptr, IDS_UPDATE_CHECKING, &Worker, this, &OnCancel);
    return started_;
  }

 private:
  static DWORD WINAPI Worker(LPVOID checker) {
    auto* self = static_cast<UpdateChecker*>(checker);
    const bool started = self->Check();
    self->window_.Finish(!started);
    return started ? 0 : 1;
  }
  static void OnCancel(void* checker) {
    auto* self = static_cast<UpdateChecker*>(checker);
    self->cancelled_ = true;
    self->transfer_.Cancel();
  }

  // Downloads `file` of the server's folder into the local folder over from..to percent.
  bool Fetch(const WString& file, uint32_t from, uint32_t to) {
    transfer_.SetRequest(file, site_.localFolder + file);
    DAVavador::TransferWindow progress(window_);
    return transfer_.Download(transfer_.Request(), &progress, from, to) == 0;
  }

  WString ServerVersion() const {
    // The version file is 8-bit or UTF-16 text, its element named in any letter case.
    std::string bytes;
    if (!ReadFileBytes(site_.localFolder + app_.ProductName() + TXT(".ver"), bytes)) return WString();
    const bool wide = bytes.size() >= 2 && bytes[1] == '\0';
    XMLDoc doc;
    doc.SetText(wide ? Utf16Units(bytes) : WidenedBytes(bytes));
    return VersionFromDocument(doc);
  }

  bool Check() {
    window_.SetProgress(0);
    if (!Fetch(app_.ProductName() + TXT(".ver"), 0, 5) || cancelled_) return false;
    const WString own = OwnVersion();
    if (own.empty()) return false;
    window_.SetProgress(10);
    const WString newest = ServerVersion();
    window_.SetProgress(15);
    if (cancelled_ || newest == own) return false;
    const WString installer = app_.ProductName() + TXT("setup.exe");
    if (!Fetch(installer, 20, 95) && !cancelled_) return false;
    return StartInstaller(site_.localFolder + installer) || cancelled_;
  }

  const ERApp& app_;
  bool started_ = false;
  ProgressWindow window_;
  DAVavador::ERXferHTTP transfer_;
  std::atomic<bool> cancelled_{false};
  const UpdateSite& site_;
};

// Step 2 of the check: whether the stored due date has come.
bool ScheduleIsDue(const RegistrySettings& settings) {
  int32_t packed = 0;
  return settings.ReadNumber(kDueDateValue, packed) &&
         IsCheckDue(static_cast<uint32_t>(packed), CalendarDate::Now());
}

}  // namespace

UpdateSite UpdateSite::ForProgram(const ERApp& app, const ServerAddress& server) {
  return {server, RegistrySettings::ProgramKey(app), Options::DefaultDataFolder(app)};
}

UpdateSite UpdateSite::ForProgram(const ERApp& app) {
  return ForProgram(app, ProgramServer(app, WString()));
}

void StoreSchedule(const UpdateSite& site, uint32_t interval) {
  RegistrySettings settings(site.settingsKey);
  settings.WriteNumber(kFrequencyValue, static_cast<int32_t>(interval));
  settings.WriteNumber(kDueDateValue,
                       static_cast<int32_t>(PackDate(NextDueDate(CalendarDate::Now(), interval))));
}

bool CheckForUpdate(const ERApp& app, const UpdateSite& site, bool forced) {
  int32_t interval = kInterval1Week;
  {
    RegistrySettings settings(site.settingsKey);
    if (!forced && !ScheduleIsDue(settings)) return false;
    settings.ReadNumber(kFrequencyValue, interval);
  }
  ScheduleChoice choice{app, site, static_cast<uint32_t>(interval)};
  if (app.RunDialog(IDD_AUTO_UPDATE, &ScheduleDialogProc, reinterpret_cast<LPARAM>(&choice)) != IDOK ||
      !choice.checkNow) {
    return false;
  }
  UpdateChecker checker(app, site);
  if (checker.Run()) return true;
  app.ShowMessage(app.String(IDS_UPDATE_NONE), app.String(IDS_UPDATE_CAPTION), MB_OK | MB_ICONINFORMATION);
  return false;
}

WString OwnVersion() {
  wchar_t path[MAX_PATH];
  if (!GetModuleFileNameW(nullptr, path, MAX_PATH)) return WString();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &handle);
  std::vector<BYTE> info(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (size == 0 || !GetFileVersionInfoW(path, 0, size, info.data()) ||
      !VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
      length < sizeof *fixed) {
    return WString();
  }
  return VersionText(HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                     HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
}
