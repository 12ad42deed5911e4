#include "net/UpdateCheck.h"

#include <atomic>
#include <vector>

#include "app/Options.h"
#include "app/ProgressWindow.h"
#include "net/ERXferHTTP.h"
#include "net/FileDigest.h"
#include "net/RegistrySettings.h"
#include "net/TransferWindow.h"
#include "net/UpdateSchedule.h"
#include "resource.h"
#include "richtext/MarkupLabel.h"
#include "storage/Csv.h"
#include "storage/XMLDoc.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"
#include "toolkit/ScopedHandle.h"

using DAVavador::ERApp;

namespace {

constexpr const wchar_t* kFrequencyValue = L"AutoUpdate_Freq";
constexpr const wchar_t* kDueDateValue = L"AutoUpdate_Date";

// The "Auto-Update" dialog: check now, or not until the chosen interval has passed.
class ScheduleDialog : public DAVavador::ERDialog {
 public:
  ScheduleDialog(const ERApp& app, const UpdateSite& site, uint32_t interval)
      : app_(app), site_(site), interval_(interval) {}

  // True when the user chose to check now; the interval is stored on OK either way.
  bool Run() { return RunModal(app_, IDD_AUTO_UPDATE) == IDOK && checkNow_; }

 private:
  bool OnInit() override {
    const WString& program = app_.ProductName();
    SetWindowTextW(Dialog(), (program + TXT(" ") + DAVavador::WindowText(Dialog())).c_str());
    SetItemText(IDC_AUTO_UPDATE_LABEL,
                ItemText(IDC_AUTO_UPDATE_LABEL) + TXT("<b>") + program + TXT("</b>?</body>"));
    DAVavador::InstallMarkupLabel(Item(IDC_AUTO_UPDATE_LABEL));
    CheckRadioButton(Dialog(), IDC_AUTO_UPDATE_YES, IDC_AUTO_UPDATE_NO, IDC_AUTO_UPDATE_YES);
    for (UpdateInterval interval : kUpdateIntervals)
      AddComboItem(IDC_AUTO_UPDATE_INTERVAL, app_.String(interval), interval);
    if (!SelectComboData(IDC_AUTO_UPDATE_INTERVAL, interval_))
      SelectComboData(IDC_AUTO_UPDATE_INTERVAL, kIntervalNever);
    EnableWindow(Item(IDC_AUTO_UPDATE_INTERVAL), FALSE);
    return true;
  }

  // The interval matters only when not checking now.
  bool OnCommand(int id, int) override {
    if (id != IDC_AUTO_UPDATE_YES && id != IDC_AUTO_UPDATE_NO) return false;
    EnableWindow(Item(IDC_AUTO_UPDATE_INTERVAL), IsChecked(IDC_AUTO_UPDATE_NO));
    return true;
  }

  bool OnOK() override {
    interval_ = static_cast<uint32_t>(SelectedComboData(IDC_AUTO_UPDATE_INTERVAL, interval_));
    checkNow_ = IsChecked(IDC_AUTO_UPDATE_YES);
    StoreSchedule(site_, interval_);
    return true;
  }

  const ERApp& app_;
  const UpdateSite& site_;
  uint32_t interval_;
  bool checkNow_ = false;
};

// The path is quoted: a folder name with a blank (a user name) would otherwise split it.
bool StartInstaller(const WString& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  const WString quoted = TXT("\"") + path + TXT("\"");
  std::vector<wchar_t> commandLine(quoted.begin(), quoted.end());
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
  bool Cancelled() const { return cancelled_; }
  // True when a downloaded installer did not match its hash and was deleted.
  bool Refused() const { return refused_; }

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

  // Downloads `file` of the server's folder, at most `maxBytes` of it, into the local folder over
  // from..to percent.
  bool Fetch(const WString& file, uint32_t maxBytes, uint32_t from, uint32_t to) {
    transfer_.SetRequest(file, site_.localFolder + file);
    transfer_.Request().maxBytes = maxBytes;
    DAVavador::TransferWindow progress(window_);
    return transfer_.Download(transfer_.Request(), &progress, from, to) == 0;
  }

  VersionOffer ServerOffer() const {
    // The version file is 8-bit or UTF-16 text, its element named in any letter case.
    std::string bytes;
    if (!ReadFileBytes(site_.localFolder + app_.ProductName() + TXT(".ver"), bytes)) return VersionOffer();
    const bool wide = bytes.size() >= 2 && bytes[1] == '\0';
    XMLDoc doc;
    doc.SetText(wide ? Utf16Units(bytes) : WidenedBytes(bytes));
    return ReadVersionOffer(doc);
  }

  // An installer whose hash is not the one announced (or none was) is deleted: whoever could change
  // it on its way must not have it started.
  bool Verified(const WString& path, const WString& sha256) {
    uint8_t digest[32];
    if (Sha256OfFile(path, digest) && DigestMatches(sha256, digest)) return true;
    DeleteFileW(path.c_str());
    refused_ = true;
    return false;
  }

  // Only a newer version is offered, and only an installer that arrived whole and matches its hash
  // starts: a cancelled or failed download starts nothing, whatever installer an earlier check left
  // in the folder.
  bool Check() {
    window_.SetProgress(0);
    if (!Fetch(app_.ProductName() + TXT(".ver"), DAVavador::kMaxDocumentBytes, 0, 5) || cancelled_)
      return false;
    const WString own = OwnVersion();
    if (own.empty()) return false;
    window_.SetProgress(10);
    const VersionOffer offer = ServerOffer();
    window_.SetProgress(15);
    if (cancelled_ || !IsNewerVersion(offer.version, own)) return false;
    const WString installer = app_.ProductName() + TXT("setup.exe");
    const WString path = site_.localFolder + installer;
    if (!Fetch(installer, DAVavador::kMaxInstallerBytes, 20, 95) || cancelled_) return false;
    return Verified(path, offer.sha256) && StartInstaller(path);
  }

  const ERApp& app_;
  bool started_ = false;
  ProgressWindow window_;
  DAVavador::ERXferHTTP transfer_;
  std::atomic<bool> cancelled_{false};
  bool refused_ = false;
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
  if (!ScheduleDialog(app, site, static_cast<uint32_t>(interval)).Run()) return false;
  UpdateChecker checker(app, site);
  if (checker.Run()) return true;
  // Who cancelled said no: there is nothing to tell (and the program may be closing).
  if (checker.Refused()) {
    app.ShowMessage(app.String(IDS_UPDATE_REFUSED), app.String(IDS_UPDATE_CAPTION), MB_OK | MB_ICONWARNING);
  } else if (!checker.Cancelled()) {
    app.ShowMessage(app.String(IDS_UPDATE_NONE), app.String(IDS_UPDATE_CAPTION), MB_OK | MB_ICONINFORMATION);
  }
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
