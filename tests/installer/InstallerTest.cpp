// The signed installer end to end under Wine: a silent per-user install into a scratch
// %LOCALAPPDATA%, the installed program starting to its main window, its update check refusing a
// tampered installer and installing the newer one that mirepan-server offers (tools/installer-test.sh
// starts it and names it and its version in MIREPAN_UPDATE_SERVER and MIREPAN_UPDATE_VERSION), a
// silent reinstall, and the uninstall. The
// tests run in order, each on what the one before left.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "app/Options.h"
#include "net/FileDigest.h"
#include "net/RegistrySettings.h"
#include "net/UpdateSchedule.h"
#include "resource.h"
#include "storage/Csv.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScratchFolder.h"
#include "tests/support/RunningProgram.h"
#include "tests/support/WinePath.h"
#include "toolkit/ERApp.h"
#include "toolkit/WindowText.h"

namespace {

constexpr const wchar_t* kShellFolders =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const wchar_t* kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mirepan";
constexpr const wchar_t* kProgramKey = L"Software\\Tallowmere\\Mirepan";
constexpr const wchar_t* kProgramValues[] = {L"AutoUpdate_Date", L"AutoUpdate_Freq", L"HintShow"};
constexpr DWORD kPatience = 60000;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

std::wstring UninstallValue(const wchar_t* name) {
  wchar_t text[512] = {};
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS)
    return L"";
  return text;
}

// The installer's window, whose caption names its page after "Mirepan Setup"; null when none shows.
HWND SetupWindow() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM result) {
        const std::wstring caption = DAVavador::WindowText(window);
        if (caption.rfind(L"Mirepan Setup", 0) != 0 || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Runs `commandLine` to its end; its exit code, or -1.
int RunToEnd(std::wstring commandLine) {
  STARTUPINFOW startup = {sizeof startup};
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return -1;
  DWORD code = DWORD(-1);
  if (WaitForSingleObject(process.hProcess, kPatience) == WAIT_OBJECT_0)
    GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return int(code);
}

// What the tests change outside their scratch folder, put back when they end: the local
// application-data folder, the program's registry values and its options file.
class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    oldLocal_ = RegistryText(kShellFolders, L"Local AppData");
    for (const wchar_t* name : kProgramValues) {
      WString text;
      if (RegistrySettings(kProgramKey).ReadText(name, text)) saved_[name] = text;
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kProgramKey, name);
    }
    dataFolder = Options::DefaultDataFolder(DAVavador::ERApp(GetModuleHandleW(nullptr)));
    hadOptions_ = ReadFileBytes(dataFolder + L"MirepanOptions.xml", options_);
    local = FromUtf8(::testing::TempDir()) + L"mirepan-installer-local";
    for (WChar& unit : local)
      if (unit == '/') unit = '\\';
    // A run that was ended before it could put the folder back left its own.
    if (oldLocal_.empty() || oldLocal_ == local) oldLocal_ = L"%USERPROFILE%\\AppData\\Local";
    SetRegistryText(kShellFolders, L"Local AppData", local);
  }
  void TearDown() override {
    SetRegistryText(kShellFolders, L"Local AppData", oldLocal_);
    for (const wchar_t* name : kProgramValues) {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kProgramKey, name);
      if (saved_.count(name)) RegistrySettings(kProgramKey).WriteText(name, saved_[name]);
    }
    const std::wstring optionsPath = dataFolder + L"MirepanOptions.xml";
    if (hadOptions_) {
      std::ofstream(std::filesystem::path(optionsPath), std::ios::binary) << options_;
    } else {
      DeleteFileW(optionsPath.c_str());
    }
  }

  static std::wstring RegistryText(const wchar_t* key, const wchar_t* name) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr,
                 text, &size);
    return text;
  }
  static void SetRegistryText(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_EXPAND_SZ, text.c_str(), DWORD((text.size() + 1) * 2));
  }

  static inline std::wstring local, dataFolder;

 private:
  std::wstring oldLocal_;
  std::map<std::wstring, WString> saved_;
  bool hadOptions_ = false;
  std::string options_;
};

class Installed : public ::testing::Test {
 protected:
  static std::wstring Folder() { return Environment::local + L"\\Programs\\Mirepan\\"; }
  static std::wstring Marker() { return Environment::dataFolder + L"installer-test.txt"; }
  static std::wstring Shortcut() { return KnownFolder(CSIDL_PROGRAMS) + L"\\Mirepan.lnk"; }

  // Points the program at `server` and makes its update check due at the next start.
  static void DueCheckAt(const std::wstring& server) {
    Options options(nullptr, Environment::dataFolder);
    options.Read();
    options.server = server;
    ASSERT_TRUE(options.Write());
    RegistrySettings settings(kProgramKey);
    settings.WriteText(L"AutoUpdate_Date", std::to_wstring(PackDate(CalendarDate::Now())));
    settings.WriteText(L"HintShow", L"0");
  }

  // Starts the installed program and answers its dialogs until `done` holds with none shown, or
  // the program ends.
  template <class Done>
  void StartAndAnswer(Done done) {
    program_ = std::make_unique<RunningProgram>(Folder(), L"Mirepan.exe", kPatience);
    ASSERT_TRUE(program_->Start());
    for (DWORD waited = 0; waited < kPatience && program_->IsRunning(100); waited += 100) {
      const HWND dialog = program_->FindVisible(L"#32770");
      if (dialog) {
        Answer(dialog);
      } else if (done()) {
        break;
      }
    }
  }
  // Yes in "Auto-Update", No to the nutrient data question, OK in other message boxes, whose texts
  // are kept.
  void Answer(HWND dialog) {
    if (GetDlgItem(dialog, IDC_AUTO_UPDATE_YES)) {
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    } else if (const HWND text = GetDlgItem(dialog, 0xFFFF)) {
      messages_.push_back(DAVavador::WindowText(text));
      PostMessageW(dialog, WM_COMMAND, GetDlgItem(dialog, IDNO) ? IDNO : IDOK, 0);
    }
    Sleep(300);  // until the dialog has gone
  }
  // Closes the main window as a user does, once no dialog holds it; the exit code, or -1.
  int Close() {
    const HWND main = program_->FindVisible(L"Mirepan");
    for (DWORD waited = 0; waited < kPatience && program_->IsRunning(300); waited += 300) {
      if (IsWindowEnabled(main)) PostMessageW(main, WM_CLOSE, 0, 0);
    }
    return program_->WaitForExit();
  }

  std::unique_ptr<RunningProgram> program_;
  std::vector<WString> messages_;
};

TEST_F(Installed, SilentlyPerUserWithShortcutAndUninstallEntry) {
  ASSERT_TRUE(Exists(WinePath(INSTALLER))) << "build the installer first: ./build.sh installer";
  ASSERT_EQ(RunToEnd(L"\"" + WinePath(INSTALLER) + L"\" /S"), 0);
  for (const wchar_t* file :
       {L"Mirepan.exe", L"NutrientData0002.csv", L"IFCT2017-LICENSE.txt", L"Uninstall.exe"})
    EXPECT_TRUE(Exists(Folder() + file)) << file;
  EXPECT_TRUE(Exists(Shortcut()));
  EXPECT_EQ(UninstallValue(L"DisplayName"), L"Mirepan");
  EXPECT_EQ(UninstallValue(L"DisplayVersion"), VERSION);
  EXPECT_EQ(UninstallValue(L"Publisher"), L"Tallowmere");
  EXPECT_EQ(UninstallValue(L"DisplayIcon"), Folder() + L"Mirepan.exe,0");
  EXPECT_EQ(UninstallValue(L"UninstallString"), L"\"" + Folder() + L"Uninstall.exe\"");
  DWORD size = 0, bytes = sizeof size;
  RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD, nullptr, &size, &bytes);
  EXPECT_GT(size, 1000u);  // kilobytes
}

TEST_F(Installed, TheProgramStartsToItsMainWindow) {
  StartAndAnswer([this] { return program_->FindVisible(L"Mirepan") != nullptr; });
  ASSERT_NE(program_->FindVisible(L"Mirepan"), nullptr)
      << "no main window, exit code " << program_->WaitForExit();
  EXPECT_EQ(Close(), 0);
  std::ofstream(std::filesystem::path(Marker())) << "the user's";
}

// A man in the middle changes the installer but not its hash: the program refuses it, deletes it
// and starts as usual.
TEST_F(Installed, TheUpdateCheckRefusesATamperedInstaller) {
  std::ifstream file(std::filesystem::path(WinePath(INSTALLER)), std::ios::binary);
  std::string installer(std::istreambuf_iterator<char>(file), {});
  LoopbackHttpServer server;
  uint8_t digest[32] = {};
  ASSERT_TRUE(Sha256OfFile(WinePath(INSTALLER), digest));
  std::string hash;
  for (uint8_t byte : digest) hash += "0123456789abcdef"[byte >> 4], hash += "0123456789abcdef"[byte & 15];
  installer[installer.size() / 2] ^= 1;
  server.Serve("/mirepan/Mirepan.ver", "<VERSION>99.0.0.0</VERSION><SHA256>" + hash + "</SHA256>");
  server.Serve("/mirepan/Mirepansetup.exe", installer);
  DueCheckAt(L"127.0.0.1:" + std::to_wstring(server.Port()));
  StartAndAnswer([this] { return program_->FindVisible(L"Mirepan") != nullptr; });
  ASSERT_NE(program_->FindVisible(L"Mirepan"), nullptr) << "no main window";
  ASSERT_EQ(messages_.size(), 1u) << messages_.back();
  EXPECT_NE(messages_[0].find(L"SHA-256"), WString::npos) << messages_[0] << server.Requests().size();
  EXPECT_FALSE(Exists(Environment::dataFolder + L"Mirepansetup.exe"));
  EXPECT_EQ(Close(), 0);
}

// The installer of the newer version starts with its window, in place of the program, and
// installs over the old one, keeping the user's data.
TEST_F(Installed, TheUpdateInstallsTheNewerVersionTheServerOffers) {
  const char* server = std::getenv("MIREPAN_UPDATE_SERVER");
  const char* newer = std::getenv("MIREPAN_UPDATE_VERSION");
  if (!server || !newer)
    GTEST_SKIP() << "MIREPAN_UPDATE_SERVER names no mirepan-server (tools/installer-test.sh does)";
  DueCheckAt(FromUtf8(server));
  StartAndAnswer([] { return false; });
  EXPECT_NE(program_->WaitForExit(), -1);
  EXPECT_TRUE(messages_.empty());
  // The installer's window: Install, then Close once it has done.
  HWND setup = nullptr;
  for (DWORD waited = 0; waited < kPatience && !(setup = SetupWindow()); waited += 100) Sleep(100);
  ASSERT_NE(setup, nullptr) << "the installer did not start";
  PostMessageW(setup, WM_COMMAND, IDOK, 0);
  for (DWORD waited = 0; waited < kPatience && UninstallValue(L"DisplayVersion") != FromUtf8(newer);
       waited += 100)
    Sleep(100);
  EXPECT_EQ(UninstallValue(L"DisplayVersion"), FromUtf8(newer));
  for (DWORD waited = 0; waited < kPatience && IsWindow(setup); waited += 100) {
    if (IsWindowEnabled(GetDlgItem(setup, IDOK))) PostMessageW(setup, WM_COMMAND, IDOK, 0);
    Sleep(100);
  }
  EXPECT_FALSE(IsWindow(setup));
  EXPECT_TRUE(Exists(Folder() + L"Mirepan.exe"));
  EXPECT_TRUE(Exists(Marker()));
}

TEST_F(Installed, AgainOverItselfKeepingTheData) {
  ASSERT_EQ(RunToEnd(L"\"" + WinePath(INSTALLER) + L"\" /S"), 0);
  EXPECT_EQ(UninstallValue(L"DisplayVersion"), VERSION);
  EXPECT_TRUE(Exists(Folder() + L"Mirepan.exe"));
  EXPECT_TRUE(Exists(Marker()));
}

// The uninstaller goes on from a copy of itself; its end shows as the program's folder going.
TEST_F(Installed, UninstallRemovesTheProgramAndKeepsTheData) {
  ASSERT_EQ(RunToEnd(L"\"" + Folder() + L"Uninstall.exe\" /S"), 0);
  for (DWORD waited = 0; waited < kPatience && Exists(Folder()); waited += 100) Sleep(100);
  EXPECT_FALSE(Exists(Folder()));
  EXPECT_FALSE(Exists(Shortcut()));
  EXPECT_EQ(UninstallValue(L"DisplayName"), L"");
  EXPECT_TRUE(Exists(Marker()));
  DeleteFileW(Marker().c_str());
}

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace
