// The Windows part of the options under Wine: the default data folder, the window placement, the
// Options dialog driven through its controls, and the offer of newer nutrient data.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "app/Options.h"
#include "resource.h"
#include "storage/Files.h"
#include "storage/UserPrompts.h"
#include "toolkit/ERApp.h"

namespace {

using DAVavador::ERApp;

class OptionsWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / "mirepan-options-win";
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  WString Folder() const { return folder_.wstring() + L"\\"; }
  void Touch(const WString& path) {
    FileHandle file(path);
    ASSERT_TRUE(file.WriteAllText(L"x"));
  }

  ERApp app_{GetModuleHandleW(nullptr)};
  std::filesystem::path folder_;
};

TEST_F(OptionsWinTest, DefaultDataFolderLiesBelowTheUsersApplicationData) {
  wchar_t appData[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
  const WString expected = WString(appData) + L"\\Tallowmere\\Mirepan\\";
  EXPECT_EQ(Options::DefaultDataFolder(app_), expected);
  EXPECT_TRUE(std::filesystem::is_directory(expected));
  Options options(app_);
  EXPECT_EQ(options.baseFolder, expected);
  EXPECT_EQ(options.optionsPath, expected + L"MirepanOptions.xml");
  EXPECT_EQ(options.owner, &app_);
}

TEST_F(OptionsWinTest, ProgramFolderHoldsTheRunningExecutable) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  WString folder = Options::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), L'\\');
  EXPECT_EQ(WString(exe).rfind(folder, 0), 0u);
}

TEST_F(OptionsWinTest, OnlyAWindowWhollyInsideTheWorkAreaIsRecorded) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, work.left + 10, work.top + 20, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  Options options(&app_, Folder());
  options.RecordWindow(window);
  EXPECT_EQ(options.x, work.left + 10);
  EXPECT_EQ(options.y, work.top + 20);
  EXPECT_EQ(options.width, 300);
  EXPECT_EQ(options.height, 200);
  SetWindowPos(window, nullptr, work.right - 100, work.top, 300, 200, SWP_NOZORDER);
  options.RecordWindow(window);
  EXPECT_EQ(options.x, work.left + 10);  // partly off screen: kept as before
  DestroyWindow(window);
}

// Plays the user in the Options dialog: checks what it shows, then changes and confirms it.
class OptionsDialogUser : public DAVavador::DialogObserver {
 public:
  std::function<void(HWND)> act;
  void OnDialogInit(int dialogId, HWND dialog) override {
    if (dialogId == IDD_OPTIONS) act(dialog);
  }
};

class FakeNews : public NewsPopupSetting {
 public:
  bool NewsShown() const override { return shown; }
  void SetNewsShown(bool value) override {
    shown = value;
    ++changes;
  }
  bool shown = false;
  int changes = 0;
};

WString ItemText(HWND dialog, int id) {
  wchar_t text[MAX_PATH] = {};
  GetDlgItemTextW(dialog, id, text, MAX_PATH);
  return text;
}

bool Checked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

TEST_F(OptionsWinTest, DialogShowsTheOptionsAndTakesTheChangesOnOk) {
  Options options(&app_, Folder());
  options.track = false;
  options.roundNumbers = true;
  options.displayPercent = false;
  FakeNews news;  // the news setting says "hide": the dialog follows it
  OptionsDialogUser user;
  user.act = [&](HWND dialog) {
    EXPECT_EQ(ItemText(dialog, IDC_OPTIONS_FOLDER), Folder());
    EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_MESSAGES_NO) && !Checked(dialog, IDC_OPTIONS_MESSAGES_YES));
    EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_TRACK_NO) && !Checked(dialog, IDC_OPTIONS_TRACK_YES));
    EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_BACKUP_YES) && !Checked(dialog, IDC_OPTIONS_BACKUP_NO));
    EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_STATUS_YES));
    EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_ROUND));
    EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_PERCENT));
    EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_RELOAD));
    SetDlgItemTextW(dialog, IDC_OPTIONS_FOLDER, (Folder() + L"moved").c_str());
    for (int id : {IDC_OPTIONS_MESSAGES_YES, IDC_OPTIONS_TRACK_YES, IDC_OPTIONS_BACKUP_NO,
                   IDC_OPTIONS_STATUS_NO, IDC_OPTIONS_PERCENT, IDC_OPTIONS_ROUND, IDC_OPTIONS_RELOAD})
      SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  };
  ERApp::SetDialogObserver(&user);
  EXPECT_TRUE(options.RunDialog(&news));
  ERApp::SetDialogObserver(nullptr);
  EXPECT_TRUE(options.showMessages);
  EXPECT_TRUE(news.shown);
  EXPECT_EQ(news.changes, 1);
  EXPECT_EQ(options.baseFolder, Folder() + L"moved\\");
  EXPECT_EQ(options.ingredientsPath, Folder() + L"moved\\Ingredients.xml");
  EXPECT_TRUE(options.track);
  EXPECT_FALSE(options.autoBackup);
  EXPECT_FALSE(options.showStatus);
  EXPECT_TRUE(options.displayPercent);
  EXPECT_FALSE(options.roundNumbers);
  EXPECT_TRUE(options.reloadNow);
  EXPECT_EQ(options.optionsPath, Folder() + L"MirepanOptions.xml");
}

TEST_F(OptionsWinTest, CancelLeavesEverythingAsItWas) {
  Options options(&app_, Folder());
  const Options before = options;
  OptionsDialogUser user;
  user.act = [&](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_OPTIONS_FOLDER, L"C:\\elsewhere");
    SendDlgItemMessageW(dialog, IDC_OPTIONS_MESSAGES_NO, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog, IDC_OPTIONS_PERCENT, BM_CLICK, 0, 0);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  ERApp::SetDialogObserver(&user);
  EXPECT_FALSE(options.RunDialog());
  ERApp::SetDialogObserver(nullptr);
  EXPECT_FALSE(options.Differs(before));
}

// Answers every question with `answer` and the folder browser with `folder`, keeping what was
// asked.
class ScriptedPrompts : public UserPrompts {
 public:
  ScriptedPrompts() { UserPrompts::SetCurrent(this); }
  ~ScriptedPrompts() override { UserPrompts::SetCurrent(nullptr); }
  int Message(OwnerWindow, const WString& text, const WString& caption, unsigned style) override {
    ++asked;
    lastText = text;
    lastCaption = caption;
    lastStyle = style;
    return answer;
  }
  std::optional<WString> OpenFile(const FileRequest&) override { return std::nullopt; }
  std::optional<WString> SaveFile(const FileRequest&) override { return std::nullopt; }
  std::optional<WString> Folder(OwnerWindow) override { return folder; }

  int answer = IDCANCEL;
  std::optional<WString> folder;
  int asked = 0;
  WString lastText, lastCaption;
  unsigned lastStyle = 0;
};

TEST_F(OptionsWinTest, BrowseButtonPutsTheChosenFolderIntoTheEditBox) {
  ScriptedPrompts prompts;
  prompts.folder = Folder() + L"chosen";
  Options options(&app_, Folder());
  OptionsDialogUser user;
  user.act = [&](HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_OPTIONS_BROWSE, BM_CLICK, 0, 0);
    EXPECT_EQ(ItemText(dialog, IDC_OPTIONS_FOLDER), Folder() + L"chosen");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  };
  ERApp::SetDialogObserver(&user);
  EXPECT_TRUE(options.RunDialog());
  ERApp::SetDialogObserver(nullptr);
  EXPECT_EQ(options.baseFolder, Folder() + L"chosen\\");
}

TEST_F(OptionsWinTest, FirstNewerNutrientFileIsTheCandidate) {
  Options options(&app_, Folder());
  EXPECT_EQ(options.NutrientDataCandidate(Folder()), L"");
  Touch(Folder() + L"nutrients-2012.csv");
  Touch(Folder() + L"nutrients-2010.csv");
  Touch(Folder() + L"aaa.txt");
  Touch(Folder() + L"aaa.csvx");
  EXPECT_EQ(options.NutrientDataCandidate(Folder()), L"nutrients-2010.csv");
  options.dbVersion = L"nutrients-2009.csv";
  EXPECT_EQ(options.NutrientDataCandidate(Folder()), L"nutrients-2010.csv");
  options.dbVersion = L"nutrients-2010.csv";  // only the first name counts, and it is not newer
  EXPECT_EQ(options.NutrientDataCandidate(Folder()), L"");
}

TEST_F(OptionsWinTest, NoRecordsTheCandidateSoTheQuestionIsNotAskedAgain) {
  Touch(Folder() + L"b.csv");
  Touch(Folder() + L"a.csv");
  Options options(&app_, Folder());
  options.dbVersion = L"0.csv";
  ScriptedPrompts prompts;
  prompts.answer = IDNO;
  EXPECT_EQ(options.OfferNutrientData(Folder()), L"");
  EXPECT_EQ(prompts.asked, 1);
  EXPECT_EQ(
      prompts.lastText,
      L"A new version of the nutrient information has been found. Would you like to upgrade your ingredients "
      L"to the new values?\r\n\r\nClick Yes to continue with the upgrade.\r\nClick No to keep your "
      L"nutrient information unchanged.\r\nClick cancel to ask this question the next time Mirepan starts.");
  EXPECT_EQ(prompts.lastCaption, L"Upgrade Nutrient Information");
  EXPECT_EQ(prompts.lastStyle, static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(options.dbVersion, L"a.csv");
  EXPECT_EQ(options.OfferNutrientData(Folder()), L"");
  EXPECT_EQ(prompts.asked, 1);  // not asked again
}

TEST_F(OptionsWinTest, YesUpgradesFromTheCandidateAndCancelAsksAgainNextTime) {
  Touch(Folder() + L"a.csv");
  Options options(&app_, Folder());
  ScriptedPrompts prompts;
  prompts.answer = IDCANCEL;
  EXPECT_EQ(options.OfferNutrientData(Folder()), L"");
  EXPECT_EQ(options.dbVersion, L"");
  prompts.answer = IDYES;
  EXPECT_EQ(options.OfferNutrientData(Folder()), Folder() + L"a.csv");
  EXPECT_EQ(options.dbVersion, L"a.csv");
  EXPECT_EQ(prompts.asked, 2);
}

}  // namespace
