// The Windows part of the options under Wine: the default data folder, the window placement, the
// Options dialog driven through its controls, and the offer of newer nutrient data.
#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <filesystem>

#include "app/Options.h"
#include "resource.h"
#include "storage/StorageTestSupport.h"
#include "support/DialogDriver.h"
#include "support/ScratchFolder.h"
#include "toolkit/ERApp.h"

namespace {

using DAVavador::ERApp;

class OptionsWinTest : public ::testing::Test {
 protected:
  WString Folder() const { return folder_.Path(); }

  ERApp app_{GetModuleHandleW(nullptr)};
  test_support::ScratchFolder folder_;
};

using test_support::DialogActions;
using test_support::DialogDriver;

TEST_F(OptionsWinTest, DefaultDataFolderLiesBelowTheUsersApplicationDataAndProgramFolderHoldsTheExe) {
  wchar_t appData[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
  const WString expected = WString(appData) + L"\\Tallowmere\\Mirepan\\";
  EXPECT_EQ(Options::DefaultDataFolder(app_), expected);
  EXPECT_TRUE(std::filesystem::is_directory(expected));
  Options options(app_);
  EXPECT_EQ(options.baseFolder, expected);
  EXPECT_EQ(options.owner, &app_);
  // The program folder holds the running executable.
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
  const std::vector<LONG> placed = {work.left + 10, work.top + 20, 300, 200};
  EXPECT_EQ(placed, (std::vector<LONG>{options.x, options.y, options.width, options.height}));
  SetWindowPos(window, nullptr, work.right - 100, work.top, 300, 200, SWP_NOZORDER);
  options.RecordWindow(window);  // partly off screen: kept as before
  EXPECT_EQ(placed, (std::vector<LONG>{options.x, options.y, options.width, options.height}));
  DestroyWindow(window);
}

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

// Cancel leaves everything as it was, OK takes the changes over, and the browse button puts the
// chosen folder into the edit box.
TEST_F(OptionsWinTest, DialogShowsTheOptionsCancelLeavesThemAndOkTakesTheChanges) {
  Options options(&app_, Folder());
  options.track = false;
  options.roundNumbers = true;
  options.displayPercent = false;
  const Options before = options;
  DialogActions user(IDD_OPTIONS, [&](const DialogDriver& dialog) {
    dialog.Type(IDC_OPTIONS_FOLDER, L"C:\\elsewhere");
    dialog.Press(IDC_OPTIONS_MESSAGES_NO);
    dialog.Press(IDC_OPTIONS_PERCENT);
    PostMessageW(dialog.Dialog(), WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(options.RunDialog());
  EXPECT_FALSE(options.Differs(before));
  FakeNews news;  // the news setting says "hide": the dialog follows it
  user.On(IDD_OPTIONS, [&](const DialogDriver& dialog) {
    EXPECT_EQ(dialog.Text(IDC_OPTIONS_FOLDER), Folder());
    for (int id : {IDC_OPTIONS_MESSAGES_NO, IDC_OPTIONS_TRACK_NO, IDC_OPTIONS_BACKUP_YES,
                   IDC_OPTIONS_STATUS_YES, IDC_OPTIONS_ROUND})
      EXPECT_TRUE(dialog.Checked(id)) << id;
    for (int id : {IDC_OPTIONS_MESSAGES_YES, IDC_OPTIONS_TRACK_YES, IDC_OPTIONS_BACKUP_NO,
                   IDC_OPTIONS_PERCENT, IDC_OPTIONS_RELOAD})
      EXPECT_FALSE(dialog.Checked(id)) << id;
    dialog.Type(IDC_OPTIONS_FOLDER, Folder() + L"moved");
    for (int id : {IDC_OPTIONS_MESSAGES_YES, IDC_OPTIONS_TRACK_YES, IDC_OPTIONS_BACKUP_NO,
                   IDC_OPTIONS_STATUS_NO, IDC_OPTIONS_PERCENT, IDC_OPTIONS_ROUND, IDC_OPTIONS_RELOAD})
      dialog.Press(id);
    PostMessageW(dialog.Dialog(), WM_COMMAND, IDOK, 0);
  });
  EXPECT_TRUE(options.RunDialog(&news));
  EXPECT_EQ(std::make_pair(true, 1), std::make_pair(news.shown, news.changes));
  EXPECT_EQ(options.baseFolder, Folder() + L"moved\\");
  EXPECT_EQ(options.ingredientsPath, Folder() + L"moved\\Ingredients.xml");
  // Messages and tracking on, backups and the status bar off, percentages on, rounding off, reload.
  EXPECT_EQ((std::vector<bool>{true, true, false, false, true, false, true}),
            (std::vector<bool>{options.showMessages, options.track, options.autoBackup, options.showStatus,
                               options.displayPercent, options.roundNumbers, options.reloadNow}));
  storage_test::ScriptedPrompts prompts;
  prompts.chosenPaths = {Folder() + L"chosen"};
  user.On(IDD_OPTIONS, [&](const DialogDriver& dialog) {
    dialog.Press(IDC_OPTIONS_BROWSE);
    EXPECT_EQ(dialog.Text(IDC_OPTIONS_FOLDER), Folder() + L"chosen");
    PostMessageW(dialog.Dialog(), WM_COMMAND, IDOK, 0);
  });
  EXPECT_TRUE(options.RunDialog());
  EXPECT_EQ(options.baseFolder, Folder() + L"chosen\\");
}

// The first newer nutrient file is the candidate. No records it, so the question is not asked
// again; Cancel asks again next time.
TEST_F(OptionsWinTest, FirstNewerNutrientFileIsOfferedNoRecordsItCancelAsksAgainAndYesUpgrades) {
  Options options(&app_, Folder());
  EXPECT_EQ(options.NutrientDataCandidate(Folder()), L"");
  for (const wchar_t* name : {L"nutrients-2012.csv", L"nutrients-2010.csv", L"aaa.txt", L"aaa.csvx"})
    storage_test::WriteText(Folder() + name, L"x");
  EXPECT_EQ(options.NutrientDataCandidate(Folder()), L"nutrients-2010.csv");
  options.dbVersion = L"nutrients-2009.csv";
  storage_test::ScriptedPrompts prompts;
  prompts.answers = {IDNO};
  EXPECT_EQ(options.OfferNutrientData(Folder()), L"");
  ASSERT_EQ(prompts.questions.size(), 1u);
  EXPECT_EQ(
      prompts.questions[0].text,
      L"A new version of the nutrient information has been found. Would you like to upgrade your ingredients "
      L"to the new values?\r\n\r\nClick Yes to continue with the upgrade.\r\nClick No to keep your "
      L"nutrient information unchanged.\r\nClick cancel to ask this question the next time Mirepan starts.");
  EXPECT_EQ(prompts.questions[0].caption, L"Upgrade Nutrient Information");
  EXPECT_EQ(prompts.questions[0].style, static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(options.dbVersion, L"nutrients-2010.csv");
  // Only the first name counts, and it is not newer now; an exhausted script would fail the test.
  EXPECT_EQ(options.OfferNutrientData(Folder()), L"");
  options.dbVersion = L"nutrients-2009.csv";
  prompts.answers = {IDCANCEL, IDYES};
  EXPECT_EQ(options.OfferNutrientData(Folder()), L"");
  EXPECT_EQ(options.dbVersion, L"nutrients-2009.csv");
  EXPECT_EQ(options.OfferNutrientData(Folder()), Folder() + L"nutrients-2010.csv");
  EXPECT_EQ(options.dbVersion, L"nutrients-2010.csv");
  EXPECT_EQ(prompts.questions.size(), 3u);
}

}  // namespace
