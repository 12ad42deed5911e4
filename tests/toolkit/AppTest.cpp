// The application core: names and the string table, message boxes through the current prompts,
// modal dialogs driven through the observer, menus and the data lock.
#include <gtest/gtest.h>

#include <functional>

#include <atomic>
#include <thread>

#include "ToolkitTestSupport.h"
#include "storage/UserPrompts.h"
#include "resource.h"
#include "toolkit/ERApp.h"

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

TEST_F(ERAppTest, StringTableKeepsTextsExactly) {
  EXPECT_EQ(L"Mirepan is already running.  Use your task bar to restore the application.", app.String(4105));
  EXPECT_EQ(
      L"You are about to restore your last saved shopping lists. Do you want to continue the import and "
      L"replace your current shopping lists?",
      app.String(5400));
  EXPECT_EQ(L"h ", app.String(4824));
  EXPECT_EQ(L"Serves: ", app.String(4826));
  EXPECT_EQ(L"Selenium (mcg)", app.String(5128));
  EXPECT_EQ(L"Selenium (mcg)", app.String(5228));
  EXPECT_EQ(L"Custom", app.String(5139));
  EXPECT_EQ(L"Edit Diary", app.String(6020));
  EXPECT_EQ(L"1 Year", app.String(20717));
  EXPECT_EQ(
      L"Import a recipe catalog. Do you want to continue and replace your current recipe catalog?  Click "
      L"'Yes' to replace your recipe catalog, click 'No' to add the new recipes to your existing catalog, "
      L"or click 'Cancel' to cancel this import.",
      app.String(4502));
  const WString upgrade = app.String(4114);
  EXPECT_NE(WString::npos,
            upgrade.find(L"values?\r\n\r\nClick Yes to continue with the upgrade.\r\nClick No"));
  EXPECT_EQ(L"", app.String(4801));  // the unit without a name
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

struct DialogResult {
  WString text;
  bool ticked = false;
  bool initialised = false;
};

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<DialogResult*>(lp)->initialised = true;
    SetDlgItemTextW(dialog, IDC_TEST_EDIT, L"start");
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    auto* result = reinterpret_cast<DialogResult*>(GetWindowLongPtrW(dialog, DWLP_USER));
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, IDC_TEST_EDIT, text, 64);
    result->text = text;
    result->ticked = IsDlgButtonChecked(dialog, IDC_TEST_CHECK) == BST_CHECKED;
    EndDialog(dialog, LOWORD(wp) == IDOK ? 1 : 0);
    return TRUE;
  }
  return FALSE;
}

// Fills in the dialog like a user and presses OK.
class FillAndConfirm : public DialogObserver {
 public:
  FillAndConfirm() { ERApp::SetDialogObserver(this); }
  ~FillAndConfirm() override { ERApp::SetDialogObserver(nullptr); }
  void OnDialogInit(int dialogId, HWND dialog) override {
    seenId = dialogId;
    wchar_t text[64] = {};
    GetDlgItemTextW(dialog, IDC_TEST_EDIT, text, 64);
    textAtInit = text;  // the dialog's own set-up has run
    SetDlgItemTextW(dialog, IDC_TEST_EDIT, L"Fruit");
    SendDlgItemMessageW(dialog, IDC_TEST_CHECK, BM_CLICK, 0, 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  int seenId = 0;
  WString textAtInit;
};

}  // namespace

TEST_F(ERAppTest, ModalDialogIsDrivenThroughTheObserver) {
  FillAndConfirm observer;
  DialogResult result;
  EXPECT_EQ(1, app.RunDialog(IDD_TEST_DIALOG, &TestDialogProc, reinterpret_cast<LPARAM>(&result)));
  EXPECT_TRUE(result.initialised);
  EXPECT_EQ(IDD_TEST_DIALOG, observer.seenId);
  EXPECT_EQ(L"start", observer.textAtInit);
  EXPECT_EQ(L"Fruit", result.text);
  EXPECT_TRUE(result.ticked);
}

TEST_F(ERAppTest, MissingDialogResourceFails) {
  FillAndConfirm observer;
  EXPECT_EQ(-1, app.RunDialog(28999, &TestDialogProc, 0));
  EXPECT_EQ(0, observer.seenId);
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

// Reads what the input box shows, then types a name and confirms, or cancels.
class AnswerInputBox : public DialogObserver {
 public:
  explicit AnswerInputBox(const wchar_t* answer) : answer_(answer) { ERApp::SetDialogObserver(this); }
  ~AnswerInputBox() override { ERApp::SetDialogObserver(nullptr); }
  void OnDialogInit(int dialogId, HWND dialog) override {
    seenId = dialogId;
    wchar_t text[128] = {};
    GetWindowTextW(dialog, text, 128);
    caption = text;
    GetDlgItemTextW(dialog, IDC_INPUT_PROMPT, text, 128);
    prompt = text;
    GetDlgItemTextW(dialog, IDC_INPUT_TEXT, text, 128);
    prefilled = text;
    if (answer_) SetDlgItemTextW(dialog, IDC_INPUT_TEXT, answer_);
    PostMessageW(dialog, WM_COMMAND, answer_ ? IDOK : IDCANCEL, 0);
  }
  int seenId = 0;
  WString caption, prompt, prefilled;

 private:
  const wchar_t* answer_;
};

}  // namespace

TEST_F(ERAppTest, InputBoxShowsCaptionPromptAndTextAndReturnsTheEntry) {
  AnswerInputBox user(L"Pancakes (copy)");
  WString name = L"Pancakes";
  EXPECT_TRUE(app.InputBox(app.String(4901), app.String(4902), name));
  EXPECT_EQ(IDD_INPUT_BOX, user.seenId);
  EXPECT_EQ(L"Copy Recipe", user.caption);
  EXPECT_EQ(L"Please enter the name of the new recipe:", user.prompt);
  EXPECT_EQ(L"Pancakes", user.prefilled);
  EXPECT_EQ(L"Pancakes (copy)", name);
}

TEST_F(ERAppTest, CancelledInputBoxLeavesTheText) {
  AnswerInputBox user(nullptr);
  WString name = L"Pancakes";
  EXPECT_FALSE(app.InputBox(L"Copy Shopping List", L"Please enter the name of the new shopping list:", name));
  EXPECT_EQ(L"Pancakes", name);
}

namespace {

// Notes where each dialog stands once its own set-up has run, then closes it.
class WherePlaced : public DialogObserver {
 public:
  WherePlaced() { ERApp::SetDialogObserver(this); }
  ~WherePlaced() override { ERApp::SetDialogObserver(nullptr); }
  void OnDialogInit(int, HWND dialog) override {
    GetWindowRect(dialog, &placed);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  }
  RECT placed{};
};

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
  WherePlaced where;
  const std::function<void()> dialogs[] = {
      [&] {
        DialogResult result;
        app.RunDialog(IDD_TEST_DIALOG, &TestDialogProc, reinterpret_cast<LPARAM>(&result), owner);
      },
      [&] {
        WString name;
        app.InputBox(L"Copy Recipe", L"Name:", name, owner);
      },
  };
  for (const auto& open : dialogs) {
    where.placed = RECT{};
    open();
    EXPECT_NEAR(Centre(where.placed).x, Centre(ownerRect).x, 1);
    EXPECT_NEAR(Centre(where.placed).y, Centre(ownerRect).y, 1);
  }
  DestroyWindow(owner);
}
