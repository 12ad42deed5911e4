// The real program at startup: a due update check and the news, both from the server its options
// file names (a loopback server here, never the program's own address).
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Options.h"
#include "net/RegistrySettings.h"
#include "net/UpdateSchedule.h"
#include "resource.h"
#include "storage/Files.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScratchFolder.h"
#include "tests/support/RunningProgram.h"
#include "toolkit/WindowText.h"

namespace {

constexpr const wchar_t* kProgramKey = L"Software\\Tallowmere\\Mirepan";
constexpr const wchar_t* kValues[] = {L"AutoUpdate_Date", L"AutoUpdate_Freq", L"LastHint", L"HintDate",
                                      L"HintShow"};
constexpr DWORD kPatience = 30000;
#define kProgramCopy L"MirepanStartupTest.exe"

// The program's registry values as they were, put back when the test ends.
class SavedValues {
 public:
  SavedValues() {
    for (const wchar_t* name : kValues) {
      WString text;
      if (RegistrySettings(kProgramKey).ReadText(name, text)) saved_[name] = text;
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kProgramKey, name);
    }
  }
  ~SavedValues() {
    for (const wchar_t* name : kValues) {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kProgramKey, name);
      const auto found = saved_.find(name);
      if (found != saved_.end()) RegistrySettings(kProgramKey).WriteText(name, found->second);
    }
  }

 private:
  std::map<std::wstring, WString> saved_;
};

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateFolders(folder_ + L"profile\\Tallowmere\\Mirepan\\", false));
    ASSERT_TRUE(InstallProgramCopy(MIREPAN_EXE, PROFILE_DLL, folder_, kProgramCopy));
    Options options(nullptr, folder_ + L"profile\\Tallowmere\\Mirepan\\");
    options.server = L"127.0.0.1:" + std::to_wstring(server_.Port());
    ASSERT_TRUE(options.Write());
  }
  void TearDown() override { program_.reset(); }  // ends the program before its folder goes

  bool Start() {
    program_ = std::make_unique<RunningProgram>(folder_, kProgramCopy, kPatience);
    return program_->Start();
  }
  // Answers the program's dialogs until `done` holds: Yes in "Auto-Update", OK in a message box
  // (whose text is kept), "Close" in the news window (whose caption is kept).
  template <class Done>
  void AnswerDialogs(Done done) {
    for (DWORD waited = 0; waited < kPatience && !done(); waited += 50) {
      const HWND dialog = program_->FindVisible(L"#32770");
      if (dialog && GetDlgItem(dialog, IDC_AUTO_UPDATE_YES)) {
        sawUpdateDialog_ = true;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      } else if (dialog && GetDlgItem(dialog, IDC_NEWS_CLOSE)) {
        newsCaption_ = DAVavador::WindowText(dialog);
        PostMessageW(dialog, WM_COMMAND, IDC_NEWS_CLOSE, 0);
      } else if (dialog && GetDlgItem(dialog, 0xFFFF)) {
        messages_.push_back(DAVavador::WindowText(GetDlgItem(dialog, 0xFFFF)));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      }
      if (!program_->IsRunning(50)) break;
    }
  }
  HWND MainWindow() const { return program_->MainWindow(); }

  SavedValues saved_;
  LoopbackHttpServer server_;
  test_support::ScratchFolder scratch_;
  const std::wstring folder_ = scratch_.Path();
  std::unique_ptr<RunningProgram> program_;
  bool sawUpdateDialog_ = false;
  WString newsCaption_;
  std::vector<WString> messages_;
};

TEST_F(Startup, ADueCheckAndTheNewsAskTheServerOfTheOptionsFile) {
  RegistrySettings settings(kProgramKey);
  settings.WriteText(L"AutoUpdate_Date", std::to_wstring(PackDate(CalendarDate::Now())));
  settings.WriteText(L"AutoUpdate_Freq", L"20714");
  server_.Serve("/mirepan/Mirepan.ver", "<VERSION>0.0.0.1</VERSION>\r\n");  // older: no update
  server_.Serve("/mirepan/popup.xml",
                "<POPUP><DATE>startup-test</DATE><MESSAGE>Fresh &lt;b&gt;news&lt;/b&gt;</MESSAGE></POPUP>");
  ASSERT_TRUE(Start());
  AnswerDialogs([&] { return !newsCaption_.empty(); });
  EXPECT_TRUE(sawUpdateDialog_);
  EXPECT_EQ(messages_, std::vector<WString>{L"There is no update available at this time."});
  EXPECT_EQ(newsCaption_, L"Mirepan");
  const size_t versionRequests = server_.RequestCount("/mirepan/Mirepan.ver");  // the transfer opens it twice
  EXPECT_GE(versionRequests, 1u);
  EXPECT_EQ(server_.RequestCount("/mirepan/Mirepansetup.exe"), 0u);
  EXPECT_EQ(server_.RequestCount("/mirepan/popup.xml"), 1u);
  WString shown;
  EXPECT_TRUE(settings.ReadText(L"HintDate", shown));
  EXPECT_EQ(shown, L"startup-test");

  // Check for Update on demand asks the same server.
  const HWND main = MainWindow();
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_COMMAND, IDM_CHECK_UPDATE, 0);
  AnswerDialogs([&] { return messages_.size() == 2; });
  EXPECT_EQ(server_.RequestCount("/mirepan/Mirepan.ver"), 2 * versionRequests);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_NE(program_->WaitForExit(), -1);
}

// A cancelled installer download starts nothing, not even the installer left from before, and the
// program starts as usual; while the news is still downloading, its window closes.
TEST_F(Startup, ACancelledUpdateStartsTheProgramAndTheNewsDoesNotHoldItsWindow) {
  RegistrySettings settings(kProgramKey);
  settings.WriteText(L"AutoUpdate_Date", std::to_wstring(PackDate(CalendarDate::Now())));
  settings.WriteText(L"AutoUpdate_Freq", L"20714");
  const std::wstring local = folder_ + L"profile\\Tallowmere\\Mirepan\\";
  ASSERT_TRUE(CopyFileW(L"update_fake_installer.exe", (local + L"Mirepansetup.exe").c_str(), FALSE));
  server_.Serve("/mirepan/Mirepan.ver", "<VERSION>99.0.0.0</VERSION>\r\n");
  server_.Serve("/mirepan/Mirepansetup.exe", LoopbackHttpServer::Drip());
  server_.Serve("/mirepan/popup.xml", LoopbackHttpServer::Drip());
  ASSERT_TRUE(Start());
  // Yes in "Auto-Update"; Cancel in the progress window once the installer is being read.
  bool cancelled = false;
  for (DWORD waited = 0; waited < kPatience && !cancelled && program_->IsRunning(50); waited += 50) {
    const HWND dialog = program_->FindVisible(L"#32770");
    if (dialog && GetDlgItem(dialog, IDC_AUTO_UPDATE_YES)) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    if (dialog && GetDlgItem(dialog, IDC_PROGRESS_BAR) &&
        server_.RequestCount("/mirepan/Mirepansetup.exe") >= 1) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      cancelled = true;
    }
  }
  ASSERT_TRUE(cancelled);
  const HWND main = MainWindow();
  ASSERT_NE(main, nullptr) << "the program did not start";
  for (DWORD waited = 0; waited < kPatience && server_.RequestCount("/mirepan/popup.xml") == 0; waited += 50)
    Sleep(50);
  EXPECT_EQ(server_.RequestCount("/mirepan/popup.xml"), 1u);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_NE(program_->WaitForExit(), -1) << "the news download held the window";
  EXPECT_EQ(GetFileAttributesW((local + L"Mirepansetup.exe.ran").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
