// The application core: names and the string table, message boxes through the current prompts,
// modal dialogs driven through the observer, menus and the data lock.
#include <gtest/gtest.h>

#include <functional>

#include <atomic>
#include <thread>

#include "ToolkitTestSupport.h"
#include "storage/UserPrompts.h"
#include "resource.h"
#include "support/DialogDriver.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

using namespace DAVavador;

namespace {

class ERAppTest : public testing::Test {
 protected:
  ERApp app{GetModuleHandleW(nullptr)};
};

struct Asked {
  WString text, caption;
  unsigned style;
  OwnerWindow owner;
};

// Answers every message box with the scripted answer and remembers the question.
class ScriptedPrompts : public UserPrompts {
 public:
  explicit ScriptedPrompts(int answer) : answer_(answer) { SetCurrent(this); }
  ~ScriptedPrompts() override { SetCurrent(nullptr); }
  int Message(OwnerWindow owner, const WString& text, const WString& caption, unsigned style) override {
    asked.push_back({text, caption, style, owner});
    return answer_;
  }
  std::optional<WString> OpenFile(const FileRequest&) override { return std::nullopt; }
  std::optional<WString> SaveFile(const FileRequest&) override { return std::nullopt; }
  std::optional<WString> Folder(OwnerWindow) override { return std::nullopt; }

  std::vector<Asked> asked;

 private:
  int answer_;
};

}  // namespace

TEST_F(ERAppTest, NamesComeFromTheStringTable) {
  EXPECT_EQ(&app, ERApp::Current());
  EXPECT_EQ(L"Mirepan", app.ProductName());
  EXPECT_EQ(L"Mirepan", app.DisplayName());
  EXPECT_EQ(L"Tallowmere", app.MakerName());
  EXPECT_EQ(GetModuleHandleW(nullptr), app.Instance());
}

// Texts come whole: long ones, trailing spaces, line breaks and the empty unit name.
TEST_F(ERAppTest, StringTableKeepsTextsExactly) {
  EXPECT_EQ(L"Mirepan is already running.  Use your task bar to restore the application.", app.String(4105));
  EXPECT_EQ(L"h ", app.String(4824));
  EXPECT_EQ(L"Selenium (mcg)", app.String(5228));
  EXPECT_NE(WString::npos,
            app.String(4114).find(L"values?\r\n\r\nClick Yes to continue with the upgrade.\r\nClick No"));
  EXPECT_EQ(L"", app.String(4801));
  EXPECT_EQ(L"", app.String(39999));
}

TEST_F(ERAppTest, EveryToolbarButtonHasATipAndBothPictures) {
  for (UINT n = 0; n < 21; ++n) {
    EXPECT_FALSE(app.String(6000 + n).empty()) << n;
    for (UINT first : {6100u, 6200u}) {
      HICON icon =
          static_cast<HICON>(LoadImageW(app.Instance(), MAKEINTRESOURCEW(first + n), IMAGE_ICON, 32, 32, 0));
      EXPECT_NE(nullptr, icon) << first + n;
      if (icon) DestroyIcon(icon);
    }
  }
}

TEST_F(ERAppTest, ProgramIconIsNamedAfterTheProduct) {
  HICON icon = LoadIconW(app.Instance(), app.ProductName().c_str());
  EXPECT_NE(nullptr, icon);
}

TEST_F(ERAppTest, MessageBoxesAreAnsweredByTheCurrentPrompts) {
  ScriptedPrompts prompts(IDNO);
  toolkit_test::RecordingWindow main;
  app.SetMainWindow(main.Handle());
  EXPECT_EQ(IDNO, app.ShowMessage(4105, MB_ICONEXCLAMATION));
  EXPECT_EQ(IDNO, app.ShowMessage(app.String(4114), app.String(4115), MB_YESNOCANCEL | MB_ICONQUESTION));
  ASSERT_EQ(2u, prompts.asked.size());
  EXPECT_EQ(app.String(4105), prompts.asked[0].text);
  EXPECT_EQ(L"Mirepan", prompts.asked[0].caption);
  EXPECT_EQ(static_cast<unsigned>(MB_ICONEXCLAMATION), prompts.asked[0].style);
  EXPECT_EQ(main.Handle(), prompts.asked[0].owner);
  EXPECT_EQ(L"Upgrade Nutrient Information", prompts.asked[1].caption);
  EXPECT_EQ(static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION), prompts.asked[1].style);
}

namespace {

// The test dialog on the dialog base: "start" in the edit, the category combo filled; OK takes the
// edit, the tick and the combo's data, and keeps the dialog open while the edit is empty.
class TestDialog : public ERDialog {
 public:
  INT_PTR Run(const ERApp& app, int id = IDD_TEST_DIALOG, HWND owner = nullptr) {
    return RunModal(app, id, owner);
  }
  WString text;
  bool ticked = false;
  LPARAM chosen = -1;
  int refusedOKs = 0;

 private:
  bool OnInit() override {
    SetItemText(IDC_TEST_EDIT, L"start");
    NamedIdList categories;
    categories.Add(L"Fruit", 9);
    categories.Add(L"Dairy", 4);
    FillCombo(IDC_TEST_COMBO, categories);
    SelectComboData(IDC_TEST_COMBO, 9);
    return true;
  }
  bool OnOK() override {
    text = ItemText(IDC_TEST_EDIT);
    ticked = IsChecked(IDC_TEST_CHECK);
    chosen = SelectedComboData(IDC_TEST_COMBO, -1);
    refusedOKs += text.empty();
    return !text.empty();
  }
};

}  // namespace

TEST_F(ERAppTest, ModalDialogIsDrivenThroughTheObserver) {
  WString textAtInit;
  std::vector<std::wstring> combo;
  test_support::DialogActions user(IDD_TEST_DIALOG, [&](const test_support::DialogDriver& dialog) {
    textAtInit = dialog.Text(IDC_TEST_EDIT);  // the dialog's own set-up has run
    combo = dialog.Rows(IDC_TEST_COMBO);
    EXPECT_EQ(L"Fruit", dialog.Text(IDC_TEST_COMBO));
    dialog.Type(IDC_TEST_EDIT, L"");
    dialog.Press(IDOK);  // refused: the dialog stays
    dialog.Type(IDC_TEST_EDIT, L"Fruit salad");
    dialog.Press(IDC_TEST_CHECK);
    dialog.Pick(IDC_TEST_COMBO, 0);
    PostMessageW(dialog.Dialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  TestDialog dialog;
  EXPECT_EQ(IDOK, dialog.Run(app));
  EXPECT_EQ(L"start", textAtInit);
  EXPECT_EQ((std::vector<std::wstring>{L"Dairy", L"Fruit"}), combo);
  EXPECT_EQ(1, dialog.refusedOKs);
  EXPECT_EQ(L"Fruit salad", dialog.text);
  EXPECT_TRUE(dialog.ticked);
  EXPECT_EQ(4, dialog.chosen);
}

TEST_F(ERAppTest, MissingDialogResourceFails) {
  int opened = 0;
  test_support::DialogActions user(28999, [&](const test_support::DialogDriver&) { ++opened; });
  EXPECT_EQ(-1, TestDialog().Run(app, 28999));
  EXPECT_EQ(0, opened);
}

TEST_F(ERAppTest, MenuResourceThatDoesNotExistGivesNull) {
  EXPECT_EQ(nullptr, app.LoadMenuResource(28999));
}

TEST_F(ERAppTest, DataLockIsReentrantForItsHolderAndExcludesOthers) {
  ERApp::LockData();
  ERApp::LockData();  // the holder takes it again
  HANDLE acquired = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread other([&] {
    ERApp::LockData();
    SetEvent(acquired);
    ERApp::UnlockData();
  });
  ERApp::UnlockData();
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(acquired, 100));  // still held once
  ERApp::UnlockData();
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(acquired, 5000));
  other.join();
  CloseHandle(acquired);
}

namespace {

// Reads what the input box shows, then types `answer` and confirms, or cancels without one.
struct InputBoxUser {
  explicit InputBoxUser(const wchar_t* answer)
      : actions(IDD_INPUT_BOX, [this, answer](const test_support::DialogDriver& dialog) {
          shown = {dialog.Caption(), dialog.Text(IDC_INPUT_PROMPT), dialog.Text(IDC_INPUT_TEXT)};
          if (answer) dialog.Type(IDC_INPUT_TEXT, answer);
          PostMessageW(dialog.Dialog(), WM_COMMAND, answer ? IDOK : IDCANCEL, 0);
        }) {}
  std::vector<std::wstring> shown;  // caption, prompt and the text it starts with
  test_support::DialogActions actions;
};

}  // namespace

TEST_F(ERAppTest, InputBoxShowsCaptionPromptAndTextAndReturnsTheEntry) {
  InputBoxUser user(L"Pancakes (copy)");
  WString name = L"Pancakes";
  EXPECT_TRUE(app.InputBox(app.String(4901), app.String(4902), name));
  EXPECT_EQ(
      (std::vector<std::wstring>{L"Copy Recipe", L"Please enter the name of the new recipe:", L"Pancakes"}),
      user.shown);
  EXPECT_EQ(L"Pancakes (copy)", name);
}

TEST_F(ERAppTest, CancelledInputBoxLeavesTheText) {
  InputBoxUser user(nullptr);
  WString name = L"Pancakes";
  EXPECT_FALSE(app.InputBox(L"Copy Shopping List", L"Please enter the name of the new shopping list:", name));
  EXPECT_EQ(L"Pancakes", name);
}

namespace {

POINT Centre(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace

// Every dialog opens over the middle of its owner, wherever the owner stands on the screen.
TEST_F(ERAppTest, DialogsOpenCentredOnTheirOwner) {
  const HWND owner = CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 60, 520, 400, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  RECT ownerRect{};
  GetWindowRect(owner, &ownerRect);
  RECT placed{};
  const auto place = [&](const test_support::DialogDriver& dialog) {
    GetWindowRect(dialog.Dialog(), &placed);
    PostMessageW(dialog.Dialog(), WM_COMMAND, IDCANCEL, 0);
  };
  test_support::DialogActions where(IDD_TEST_DIALOG, place);
  where.On(IDD_INPUT_BOX, place);
  const std::function<void()> dialogs[] = {
      [&] { TestDialog().Run(app, IDD_TEST_DIALOG, owner); },
      [&] {
        WString name;
        app.InputBox(L"Copy Recipe", L"Name:", name, owner);
      },
  };
  for (const auto& open : dialogs) {
    placed = RECT{};
    open();
    EXPECT_NEAR(Centre(placed).x, Centre(ownerRect).x, 1);
    EXPECT_NEAR(Centre(placed).y, Centre(ownerRect).y, 1);
  }
  DestroyWindow(owner);
}
