// The update check and the news pop-up against a loopback web server, with their settings in a
// registry key of their own and real dialogs driven by scripts.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "net/FileDigest.h"
#include "net/NewsPopup.h"
#include "net/RegistrySettings.h"
#include "net/UpdateCheck.h"
#include "net/UpdateSchedule.h"
#include "resource.h"
#include "storage/XMLDoc.h"
#include "support/LoopbackHttpServer.h"
#include "support/MessagePump.h"
#include "views/ViewTestSupport.h"

using test_support::DialogDriver;
using test_support::PumpUntil;
using view_test::DialogScripts;

namespace {

constexpr const wchar_t* kKey = L"Software\\Tallowmere\\MirepanUpdateTest";

class UpdateCheck : public ::testing::Test {
 protected:
  UpdateCheck() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    site_.server.Parse(WString(L"127.0.0.1:") + std::to_wstring(server_.Port()));
    site_.settingsKey = kKey;
    // A folder with a blank, as below a user name "Jo Cook"; a "Jo.exe" beside it would be
    // started instead of an unquoted installer path.
    site_.localFolder = folder_.Path();
    for (WChar& unit : site_.localFolder)
      if (unit == '/') unit = '\\';
    parent_ = site_.localFolder;
    site_.localFolder += L"Jo Cook\\";
    CreateDirectoryW(site_.localFolder.c_str(), nullptr);
  }
  ~UpdateCheck() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }

  WString Value(const wchar_t* name) const {
    WString text;
    RegistrySettings(kKey).ReadText(name, text);
    return text;
  }
  void SetValue(const wchar_t* name, const WString& text) { RegistrySettings(kKey).WriteText(name, text); }
  void ServeVersion(const WString& version, const std::string& sha256 = "") {
    server_.Serve("/mirepan/Mirepan.ver",
                  "<VERSION>" + ToUtf8(version) + "</VERSION>\r\n<SHA256>" + sha256 + "</SHA256>\r\n");
  }
  // Serves `file` as the installer; the hex SHA-256 of `file`.
  std::string ServeInstaller(const wchar_t* file) {
    std::ifstream installer(file, std::ios::binary);
    EXPECT_TRUE(installer.good());
    server_.Serve("/mirepan/Mirepansetup.exe", std::string(std::istreambuf_iterator<char>(installer), {}));
    uint8_t digest[32] = {};
    EXPECT_TRUE(Sha256OfFile(file, digest));
    std::string hex;
    for (uint8_t byte : digest) hex += "0123456789abcdef"[byte >> 4], hex += "0123456789abcdef"[byte & 15];
    return hex;
  }
  // Answers the "Auto-Update" dialog: Yes, or No with the interval at `comboIndex`.
  void AnswerSchedule(bool checkNow, int comboIndex = -1) {
    scripts_.Drive(IDD_AUTO_UPDATE, [=](const DialogDriver& d) {
      if (!checkNow) {
        ChooseLater(d);
        d.Pick(IDC_AUTO_UPDATE_INTERVAL, comboIndex);
      }
      d.Press(IDOK);
    });
  }
  static void ChooseLater(const DialogDriver& d) {
    d.Press(IDC_AUTO_UPDATE_NO);
    CheckRadioButton(d.Dialog(), IDC_AUTO_UPDATE_YES, IDC_AUTO_UPDATE_NO, IDC_AUTO_UPDATE_NO);
  }
  size_t Requests() const { return server_.Requests().size(); }
  bool Exists(const WString& name) const {
    return GetFileAttributesW((site_.localFolder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // Waits, the dialogs running, until the server has seen `count` requests for `target`.
  bool ServerSaw(const std::string& target, size_t count) const {
    return PumpUntil([&] { return server_.RequestCount(target) >= count; });
  }

  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
  LoopbackHttpServer server_;
  storage_test::ScratchFolder folder_;
  storage_test::ScriptedPrompts prompts_;
  DialogScripts scripts_;
  UpdateSite site_;
  WString parent_;
};

TEST_F(UpdateCheck, TheDialogNamesTheProgramAndEnablesTheIntervalOnlyForLater) {
  WString caption, label;
  bool enabledAtStart = true, enabledAfterNo = false;
  int preset = -1;
  scripts_.Drive(IDD_AUTO_UPDATE, [&](const DialogDriver& d) {
    caption = d.Caption();
    label = d.Text(IDC_AUTO_UPDATE_LABEL);
    enabledAtStart = d.Enabled(IDC_AUTO_UPDATE_INTERVAL);
    preset = d.Selected(IDC_AUTO_UPDATE_INTERVAL);
    ChooseLater(d);
    enabledAfterNo = d.Enabled(IDC_AUTO_UPDATE_INTERVAL);
    d.Press(IDCANCEL);
  });
  EXPECT_FALSE(CheckForUpdate(app_, site_, true));
  EXPECT_EQ(caption, L"Mirepan Auto-Update");
  EXPECT_EQ(label, L"<body>Would you like to check for a new version of: <b>Mirepan</b>?</body>");
  // "1 Week" when nothing was stored; Cancel stores nothing.
  EXPECT_EQ(std::tuple(enabledAtStart, enabledAfterNo, preset), std::tuple(false, true, 2));
  EXPECT_EQ(Value(L"AutoUpdate_Date"), WString());
  EXPECT_EQ(Requests(), 0u);
}

// Only a later version is offered: the same, an older one or no version at all download nothing.
TEST_F(UpdateCheck, OnlyANewerVersionIsOffered) {
  const WString own = OwnVersion();
  ASSERT_EQ(own, L"4.4.0.0");
  const std::string hash = ServeInstaller(L"update_fake_installer.exe");
  for (const wchar_t* served : {L"4.4.0.0", L"4.3.9.9", L"4.4", L"newest"}) {
    SCOPED_TRACE(served);
    ServeVersion(served, hash);
    AnswerSchedule(true);
    prompts_.answers.push_back(IDOK);
    const size_t told = prompts_.questions.size();
    EXPECT_FALSE(CheckForUpdate(app_, site_, true));
    ASSERT_EQ(prompts_.questions.size(), told + 1);
    EXPECT_EQ(prompts_.questions[told].text, L"There is no update available at this time.");
    EXPECT_EQ(prompts_.questions[told].caption, L"Automatic Update");
  }
  EXPECT_EQ(server_.RequestCount("/mirepan/Mirepansetup.exe"), 0u);
  EXPECT_EQ(Value(L"AutoUpdate_Freq"), L"20714");
}

// The installer starts from its quoted path (not the "Jo.exe" beside its folder) when its hash is
// the one announced, in either case of its digits.
TEST_F(UpdateCheck, ANewerVersionWithItsHashStartsTheInstaller) {
  ASSERT_TRUE(CopyFileW(L"update_fake_installer.exe", (parent_ + L"Jo.exe").c_str(), FALSE));
  std::string hash = ServeInstaller(L"update_fake_installer.exe");
  for (char& c : hash) c = char(toupper(c));
  ServeVersion(L"4.4.1.0", hash);
  AnswerSchedule(true);
  EXPECT_TRUE(CheckForUpdate(app_, site_, true));
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_TRUE(PumpUntil([this] { return Exists(L"Mirepansetup.exe.ran"); }, 5000));
  EXPECT_EQ(GetFileAttributesW((parent_ + L"Jo.exe.ran").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A hash that differs, or none, is refused with a message, and the download is deleted.
TEST_F(UpdateCheck, AnInstallerWithoutItsHashIsDeletedAndNotStarted) {
  const std::string hash = ServeInstaller(L"update_fake_installer.exe");
  const std::string wrong = std::string(hash.rbegin(), hash.rend());
  for (const std::string& announced : {wrong, std::string(), hash.substr(2)}) {
    SCOPED_TRACE(announced);
    ServeVersion(L"4.4.1.0", announced);
    AnswerSchedule(true);
    prompts_.answers.push_back(IDOK);
    const size_t told = prompts_.questions.size();
    EXPECT_FALSE(CheckForUpdate(app_, site_, true));
    ASSERT_EQ(prompts_.questions.size(), told + 1);
    EXPECT_NE(prompts_.questions[told].text.find(L"SHA-256"), WString::npos);
    EXPECT_FALSE(Exists(L"Mirepansetup.exe"));
  }
  EXPECT_FALSE(PumpUntil([this] { return Exists(L"Mirepansetup.exe.ran"); }, 1000)) << "an installer started";
}

TEST_F(UpdateCheck, AnInstallerThatCannotStartMeansNoUpdate) {
  const WString notAProgram = parent_ + L"not-a-program.exe";
  std::ofstream(std::filesystem::path(notAProgram), std::ios::binary) << "not a program";
  ServeVersion(L"4.4.1.0", ServeInstaller(notAProgram.c_str()));
  AnswerSchedule(true);
  prompts_.answers.push_back(IDOK);
  EXPECT_FALSE(CheckForUpdate(app_, site_, true));
  EXPECT_GT(server_.RequestCount("/mirepan/Mirepansetup.exe"), 0u);
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"There is no update available at this time.");
}

// The file's digest is the standard one.
TEST_F(UpdateCheck, TheDigestOfAFileIsItsSha256) {
  const WString path = site_.localFolder + L"abc.txt";
  std::ofstream(std::filesystem::path(path), std::ios::binary) << "abc";
  uint8_t digest[32] = {};
  ASSERT_TRUE(Sha256OfFile(path, digest));
  EXPECT_TRUE(DigestMatches(TXT("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"), digest));
  EXPECT_FALSE(Sha256OfFile(site_.localFolder + L"missing.txt", digest));
}

// The check goes through the bounded transfer: a version file of 300 MB or in a circle of
// redirects is refused and not kept; the progress window's Cancel ends a download that never
// completes, and the user who cancelled is told nothing. A cancelled or failed download starts
// nothing, not even an installer left in the folder from before.
TEST_F(UpdateCheck, OnlyACompleteDownloadStartsAnInstaller) {
  using Reply = LoopbackHttpServer::Reply;
  Reply huge, newer, missing;
  huge.fillBytes = uint64_t(300) << 20;
  newer.body = "<VERSION>4.4.1.0</VERSION>\r\n";
  missing.status = 404;
  struct Case {
    const char* what;
    Reply version, installer;
    const char* cancelled;  // the file whose download the user cancels, or none
    bool versionKept;
  };
  const Case cases[] = {
      {"a version file of 300 MB", huge, missing, nullptr, false},
      {"a version file cancelled", LoopbackHttpServer::Drip(), missing, "/mirepan/Mirepan.ver", false},
      {"an installer cancelled", newer, LoopbackHttpServer::Drip(), "/mirepan/Mirepansetup.exe", true},
      {"an installer that fails", newer, missing, nullptr, true},
      {"a version file in a circle", LoopbackHttpServer::Redirect("/mirepan/Mirepan.ver"), missing, nullptr,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(
        CopyFileW(L"update_fake_installer.exe", (site_.localFolder + L"Mirepansetup.exe").c_str(), FALSE));
    server_.Serve("/mirepan/Mirepan.ver", c.version);
    server_.Serve("/mirepan/Mirepansetup.exe", c.installer);
    AnswerSchedule(true);
    if (c.cancelled) {
      // Once the file is being read (its opening announces its length and is read on).
      const std::string file = c.cancelled;
      const size_t opened = server_.RequestCount(file) + 1;
      scripts_.Drive(IDD_PROGRESS, [this, file, opened](const DialogDriver& d) {
        EXPECT_TRUE(ServerSaw(file, opened));
        d.Press(IDCANCEL);
      });
    } else {
      prompts_.answers.push_back(IDOK);
    }
    const size_t told = prompts_.questions.size();
    EXPECT_FALSE(CheckForUpdate(app_, site_, true));
    EXPECT_EQ(prompts_.questions.size() - told, c.cancelled ? 0u : 1u);
    EXPECT_EQ(Exists(L"Mirepan.ver"), c.versionKept);
    DeleteFileW((site_.localFolder + L"Mirepan.ver").c_str());
    if (!c.cancelled) {
      EXPECT_FALSE(Exists(L"Mirepan.ver.erxfer"));
    }
    EXPECT_TRUE(Exists(L"Mirepansetup.exe"));
    scripts_.On(IDD_PROGRESS, nullptr);
  }
  EXPECT_FALSE(PumpUntil([this] { return Exists(L"Mirepansetup.exe.ran"); }, 2000)) << "an installer started";
}

TEST_F(UpdateCheck, NeverStopsTheAutomaticCheckButNotTheCommand) {
  AnswerSchedule(false, 8);
  EXPECT_FALSE(CheckForUpdate(app_, site_, true));
  EXPECT_EQ(Value(L"AutoUpdate_Freq"), L"20710");
  EXPECT_EQ(UnpackDate(ParseInt(Value(L"AutoUpdate_Date").c_str()), {}).year, kNeverYear);
  EXPECT_EQ(Requests(), 0u);

  EXPECT_FALSE(CheckForUpdate(app_, site_, false));
  EXPECT_EQ(scripts_.Opened(IDD_AUTO_UPDATE), 1);
  AnswerSchedule(false, 8);
  EXPECT_FALSE(CheckForUpdate(app_, site_, true));
  EXPECT_EQ(scripts_.Opened(IDD_AUTO_UPDATE), 2);
  EXPECT_EQ(Requests(), 0u);
}

TEST_F(UpdateCheck, OnlyADueDateOfTodayOrEarlierOpensTheDialog) {
  EXPECT_FALSE(CheckForUpdate(app_, site_, false));  // no date stored
  CalendarDate tomorrow = CalendarDate::Now();
  tomorrow.AddDays(1);
  SetValue(L"AutoUpdate_Date", std::to_wstring(PackDate(tomorrow)));
  EXPECT_FALSE(CheckForUpdate(app_, site_, false));
  EXPECT_EQ(scripts_.Opened(IDD_AUTO_UPDATE), 0);

  SetValue(L"AutoUpdate_Date", std::to_wstring(PackDate(CalendarDate::Now())));
  SetValue(L"AutoUpdate_Freq", L"20709");
  AnswerSchedule(false, 4);  // "1 Month"
  EXPECT_FALSE(CheckForUpdate(app_, site_, false));
  EXPECT_EQ(scripts_.Opened(IDD_AUTO_UPDATE), 1);
  EXPECT_EQ(Value(L"AutoUpdate_Date"),
            std::to_wstring(PackDate(NextDueDate(CalendarDate::Now(), kInterval1Month))));
  EXPECT_EQ(Requests(), 0u);
}

TEST_F(UpdateCheck, TheProgramsSiteIsBelowItsMakerAndItsDataFolder) {
  const UpdateSite site = UpdateSite::ForProgram(app_);
  EXPECT_EQ(site.settingsKey, L"Software\\Tallowmere\\Mirepan");
  EXPECT_EQ(site.FolderUrl(), L"http://localhost/mirepan/");  // plain HTTP on port 80
  EXPECT_EQ(site.localFolder, Options::DefaultDataFolder(app_));
}

class News : public UpdateCheck {
 protected:
  void ServeNews(const std::string& date, const std::string& message) {
    server_.Serve("/mirepan/popup.xml", "<POPUP>\r\n<DATE>" + date + "</DATE>\r\n<MESSAGE>" + message +
                                            "</MESSAGE>\r\n</POPUP>\r\n");
  }
  // Reads the news window's text and closes it, ticking "Hide these messages" when asked.
  void CloseNews(bool hide) {
    scripts_.Drive(IDD_NEWS, [this, hide](const DialogDriver& d) {
      caption_ = d.Caption();
      shown_ = d.Text(IDC_NEWS_TEXT);
      while (!shown_.empty() && (shown_.back() == L'\r' || shown_.back() == L'\n')) shown_.pop_back();
      d.Tick(IDC_NEWS_HIDE, hide);
      d.Press(IDC_NEWS_CLOSE);
    });
  }
  size_t NewsRequests() const { return server_.RequestCount("/mirepan/popup.xml"); }
  // The check to its end, its result arriving through this thread's messages; true when the news
  // window showed.
  bool Check() {
    const int shown = scripts_.Opened(IDD_NEWS);
    popup_.NewsCheck();
    EXPECT_TRUE(PumpUntil([this] { return !popup_.Pending(); }));
    return scripts_.Opened(IDD_NEWS) > shown;
  }

  NewsPopup popup_{app_, site_};
  WString caption_, shown_;
};

TEST_F(News, ANewMessageIsShownOnceADayAndHidingItIsKept) {
  ServeNews("2026-12-01", "&lt;body&gt;&lt;b&gt;Fresh&lt;/b&gt; recipes&lt;/body&gt;");
  CloseNews(true);
  EXPECT_TRUE(Check());
  EXPECT_EQ(caption_, L"Mirepan");
  EXPECT_EQ(shown_, L"Fresh recipes");
  EXPECT_EQ(Value(L"HintDate"), L"2026-12-01");
  EXPECT_EQ(Value(L"LastHint"), HintDayText(CalendarDate::Now()));
  EXPECT_EQ(Value(L"HintShow"), L"0");
  EXPECT_FALSE(popup_.NewsShown());

  popup_.SetNewsShown(true);
  EXPECT_FALSE(Check());  // already checked today
  EXPECT_EQ(NewsRequests(), 1u);
}

TEST_F(News, HiddenMessagesAreNotEvenDownloaded) {
  ServeNews("1", "text");
  popup_.SetNewsShown(false);
  EXPECT_FALSE(Check());
  EXPECT_EQ(Requests(), 0u);
  EXPECT_EQ(Value(L"LastHint"), WString());
}

TEST_F(News, AMessageAlreadyShownOrWithoutDateStaysHidden) {
  ServeNews("7", "seen");
  SetValue(L"HintDate", L"7");
  EXPECT_FALSE(Check());
  EXPECT_EQ(NewsRequests(), 1u);

  server_.Serve("/mirepan/popup.xml", "<POPUP><MESSAGE>no date</MESSAGE></POPUP>");
  SetValue(L"LastHint", L"01011999");
  EXPECT_FALSE(Check());
  EXPECT_EQ(scripts_.Opened(IDD_NEWS), 0);
  EXPECT_EQ(Value(L"HintDate"), L"7");

  SetValue(L"LastHint", L"01011999");
  ServeNews("8", "&lt;body&gt;new&lt;/body&gt;");
  CloseNews(false);
  EXPECT_TRUE(Check());
  EXPECT_EQ(shown_, L"new");
  EXPECT_TRUE(popup_.NewsShown());
}

// The news arrives on a thread of its own through the bounded transfer, the interface thread
// going on meanwhile: a document without end is given up at its limit, one that never completes
// ends at Cancel, and neither shows anything.
TEST_F(News, TheDownloadRunsAsideWithinItsLimitAndEndsAtCancel) {
  LoopbackHttpServer::Reply endless;
  endless.endless = true;
  server_.Serve("/mirepan/popup.xml", endless);
  EXPECT_FALSE(Check());
  EXPECT_EQ(NewsRequests(), 1u);

  SetValue(L"LastHint", L"01011999");
  server_.Serve("/mirepan/popup.xml", LoopbackHttpServer::Drip());
  popup_.NewsCheck();
  EXPECT_TRUE(popup_.Pending());
  EXPECT_TRUE(PumpUntil([this] { return NewsRequests() == 2; }));
  popup_.Cancel();
  EXPECT_TRUE(PumpUntil([this] { return !popup_.Pending(); }, 5000)) << "the download went on after Cancel";
  EXPECT_EQ(scripts_.Opened(IDD_NEWS), 0);
  EXPECT_EQ(Value(L"HintDate"), WString());
}

}  // namespace
