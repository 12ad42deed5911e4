// The application core: names and the string table, message boxes through the current prompts,
// modal dialogs driven through the observer and the input box. The data lock is checked by
// DataLockTest in tests/app.
#include <gtest/gtest.h>

#include <tuple>

#include "ToolkitTestSupport.h"
#include "storage/StorageTestSupport.h"
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

// Scripted answers that also remember the owner of every message box.
struct OwnerPrompts : storage_test::ScriptedPrompts {
  int Message(OwnerWindow owner, const WString& text, const WString& caption, unsigned style) override {
    owners.push_back(owner);
    return ScriptedPrompts::Message(owner, text, caption, style);
  }
  std::vector<OwnerWindow> owners;
};

}  // namespace

// Texts come whole (trailing spaces, the empty unit name); missing resources give nothing.
// The toolbar's tips and pictures are checked by ToolbarTest.
TEST_F(ERAppTest, NamesTextsAndTheIconComeFromTheResources) {
  EXPECT_EQ(&app, ERApp::Current());
  EXPECT_EQ(GetModuleHandleW(nullptr), app.Instance());
  EXPECT_EQ((std::vector<WString>{L"Mirepan", L"Mirepan", L"Tallowmere"}),
            (std::vector<WString>{app.ProductName(), app.DisplayName(), app.MakerName()}));
  EXPECT_EQ((std::vector<WString>{L"h ", L"Selenium (mcg)", L"", L""}),
            (std::vector<WString>{app.String(4824), app.String(5228), app.String(4801), app.String(39999)}));
  EXPECT_NE(nullptr, LoadIconW(app.Instance(), app.ProductName().c_str()));
  EXPECT_EQ(nullptr, app.LoadMenuResource(28999));
}

TEST_F(ERAppTest, MessageBoxesAreAnsweredByTheCurrentPrompts) {
  OwnerPrompts prompts;
  prompts.answers = {IDNO, IDNO};
  toolkit_test::RecordingWindow main;
  app.SetMainWindow(main.Handle());
  EXPECT_EQ(IDNO, app.ShowMessage(4105, MB_ICONEXCLAMATION));
  EXPECT_EQ(IDNO, app.ShowMessage(app.String(4114), app.String(4115), MB_YESNOCANCEL | MB_ICONQUESTION));
  ASSERT_EQ(2u, prompts.questions.size());
  EXPECT_EQ(
      std::make_tuple(WString(L"Mirepan"), static_cast<unsigned>(MB_ICONEXCLAMATION),
                      static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONQUESTION)),
      std::make_tuple(prompts.questions[0].caption, prompts.questions[0].style, prompts.questions[1].style));
  EXPECT_EQ((std::vector<OwnerWindow>{main.Handle(), main.Handle()}), prompts.owners);
}

namespace {

// The test dialog on the dialog base: "start" in the edit, the category combo filled; OK takes the
// edit, the tick and the combo's data, and keeps the dialog open while the edit is empty.
class TestDialog : public ERDialog {
 public:
  INT_PTR Run(const ERApp& app, int id = IDD_TEST_DIALOG, HWND owner = nullptr) {
    return RunModal(app, id, owner);
  }
  bool askBeforeDiscarding = false;
  WString text;
  bool ticked = false;
  LPARAM chosen = -1;
  int refusedOKs = 0;

 private:
  bool OnInit() override {
    if (askBeforeDiscarding) AskBeforeDiscarding();
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

TEST_F(ERAppTest, ModalDialogIsDrivenThroughTheObserverAndOpensCentredOnItsOwner) {
  std::vector<std::wstring> atInit;  // the edit, the combo's choice and rows: the dialog's set-up ran
  test_support::DialogActions user(IDD_TEST_DIALOG, [&](const test_support::DialogDriver& dialog) {
    atInit = {dialog.Text(IDC_TEST_EDIT), dialog.Text(IDC_TEST_COMBO)};
    for (const std::wstring& row : dialog.Rows(IDC_TEST_COMBO)) atInit.push_back(row);
    dialog.Type(IDC_TEST_EDIT, L"");
    dialog.Press(IDOK);  // refused: the dialog stays
    dialog.Type(IDC_TEST_EDIT, L"Fruit salad");
    dialog.Press(IDC_TEST_CHECK);
    dialog.Pick(IDC_TEST_COMBO, 0);
    PostMessageW(dialog.Dialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  TestDialog dialog;
  EXPECT_EQ(IDOK, dialog.Run(app));
  EXPECT_EQ((std::vector<std::wstring>{L"start", L"Fruit", L"Dairy", L"Fruit"}), atInit);
  // One refused OK, then the edit, the tick and the combo's data.
  EXPECT_EQ(std::make_tuple(1, WString(L"Fruit salad"), true, LPARAM{4}),
            std::make_tuple(dialog.refusedOKs, dialog.text, dialog.ticked, dialog.chosen));
  // A dialog whose resource is missing fails without opening.
  user.On(28999, [](const test_support::DialogDriver&) { ADD_FAILURE() << "opened"; });
  EXPECT_EQ(-1, TestDialog().Run(app, 28999));
  // Every dialog opens over the middle of its owner, wherever the owner stands on the screen.
  const HWND owner = CreateWindowW(L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 60, 520, 400, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  RECT ownerRect{}, placed{};
  GetWindowRect(owner, &ownerRect);
  user.On(IDD_TEST_DIALOG, [&](const test_support::DialogDriver& dialog) {
    GetWindowRect(dialog.Dialog(), &placed);
    PostMessageW(dialog.Dialog(), WM_COMMAND, IDCANCEL, 0);
  });
  TestDialog().Run(app, IDD_TEST_DIALOG, owner);
  // The sums of opposite edges are twice the centres.
  EXPECT_NEAR(placed.left + placed.right, ownerRect.left + ownerRect.right, 2);
  EXPECT_NEAR(placed.top + placed.bottom, ownerRect.top + ownerRect.bottom, 2);
  DestroyWindow(owner);
}

// An editor's Cancel after a change asks first: No keeps the dialog, so that a second Cancel asks
// again, and Yes lets it go; without a change, or in a dialog that does not ask, Cancel just closes.
TEST_F(ERAppTest, CancelAfterAChangeAsksBeforeDiscardingInADialogThatAsks) {
  const struct {
    bool asks, typed;
    std::vector<int> answers;  // one question a Cancel
  } cases[] = {{true, false, {}}, {true, true, {IDNO, IDYES}}, {false, true, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.asks << c.typed);
    OwnerPrompts prompts;
    prompts.answers.assign(c.answers.begin(), c.answers.end());
    test_support::DialogActions user(IDD_TEST_DIALOG, [&](const test_support::DialogDriver& dialog) {
      if (c.typed) dialog.Type(IDC_TEST_EDIT, L"changed");
      for (int i = 0; i < 2; ++i) PostMessageW(dialog.Dialog(), WM_COMMAND, IDCANCEL, 0);
    });
    TestDialog dialog;
    dialog.askBeforeDiscarding = c.asks;
    EXPECT_EQ(dialog.Run(app), IDCANCEL);
    EXPECT_EQ(prompts.questions.size(), c.answers.size());
  }
}

// Cancel copies nothing: IngredientListTest.EditCopyAndNutritionActOnTheFocusedRowOfExactlyOneSelected.
TEST_F(ERAppTest, InputBoxShowsCaptionPromptAndTextAndReturnsTheEntry) {
  std::vector<std::wstring> shown;  // caption, prompt and the text it starts with
  test_support::DialogActions user(IDD_INPUT_BOX, [&](const test_support::DialogDriver& dialog) {
    shown = {dialog.Caption(), dialog.Text(IDC_INPUT_PROMPT), dialog.Text(IDC_INPUT_TEXT)};
    dialog.Type(IDC_INPUT_TEXT, L"Pancakes (copy)");
    PostMessageW(dialog.Dialog(), WM_COMMAND, IDOK, 0);
  });
  WString name = L"Pancakes";
  EXPECT_TRUE(app.InputBox(app.String(4901), app.String(4902), name));
  EXPECT_EQ(
      (std::vector<std::wstring>{L"Copy Recipe", L"Please enter the name of the new recipe:", L"Pancakes"}),
      shown);
  EXPECT_EQ(L"Pancakes (copy)", name);
}
