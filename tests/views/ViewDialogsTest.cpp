// The view's dialogs under Wine: the category commands with their dialog and messages, the column
// chooser, and the picture window.
#include "PrintTestSupport.h"
#include "ViewTestSupport.h"
#include "food/CategoryList.h"
#include "resource.h"

namespace view_test {
namespace {

using test_support::DialogDriver;

class CategoryTest : public ViewTest {
 protected:
  CategoryTest() {
    view_.OpenCatalog(CatalogPath(), false, 0, 100, nullptr);  // missing: empty and writable
    view_.lastId = 10;
  }
  // Runs the category dialog on its next opening: types `name` and presses OK.
  void Answer(const wchar_t* name) {
    dialogs_.Drive(IDD_CATEGORY, [name](const DialogDriver& d) {
      d.Type(IDC_CATEGORY_EDIT, name);
      d.Press(IDOK);
    });
  }
  void AddThroughDialog(const wchar_t* name) {
    Answer(name);
    view_.AddCategory();
  }
  void SelectCategory(uint32_t id) {
    view_.categoryCombo.SelectById(id);
    view_.UpdateCategoryMenu(nullptr);
  }
  bool WaitForFile(const wchar_t* text) {
    return WaitUntil([&] { return FileText(CatalogPath()).find(text) != WString::npos; });
  }
  storage_test::ScriptedPrompts prompts_;
  DialogScripts dialogs_;
};

TEST_F(CategoryTest, AddAsksForANameTakesTheNextIdAnEmptyNameAddsNothingDeleteAsksAndRefusesOneInUse) {
  dialogs_.Drive(IDD_CATEGORY, [](const DialogDriver& d) {
    d.Notify(IDOK, BN_CLICKED);
    EXPECT_TRUE(IsWindowVisible(d.Dialog()));  // no name: the dialog stays
    d.Press(IDCANCEL);
  });
  view_.AddCategory();
  EXPECT_EQ(dialogs_.Opened(IDD_CATEGORY), 1);
  EXPECT_EQ(std::tuple(view_.categories->Entries().Empty(), view_.lastId, view_.modified),
            std::tuple(true, 10u, false));

  dialogs_.Drive(IDD_CATEGORY, [](const DialogDriver& d) {
    EXPECT_EQ(std::tuple(d.Caption(), d.Visible(IDC_CATEGORY_OLD_LABEL), d.Visible(IDC_CATEGORY_COMBO)),
              std::tuple(L"Add Category", false, false));
    d.Type(IDC_CATEGORY_EDIT, L"Fruit");
    d.Press(IDOK);
  });
  view_.AddCategory();
  EXPECT_EQ(std::tuple(view_.categories->IdByName(L"Fruit"), view_.lastId, view_.categoryCombo.SelectedId()),
            std::tuple(11u, 11u, 11u));
  EXPECT_TRUE(WaitForFile(L"<NAME>Fruit</NAME>"));

  // Delete and Edit need a category selected; Delete refuses one in use and asks first.
  SelectCategory(0);
  view_.DeleteCategory();
  view_.EditCategory();
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_EQ(dialogs_.Opened(IDD_CATEGORY), 2);  // the two adds' only

  view_.records = {{11, L"apple", L""}};
  SelectCategory(11);
  prompts_.answers = {Prompt::kAnswerOk};
  view_.DeleteCategory();
  EXPECT_EQ(Question(prompts_, 0), std::tuple(L"This category is in use and may not be deleted: Fruit",
                                              L"Delete Category", MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);

  view_.records.clear();
  prompts_.answers = {Prompt::kAnswerNo, Prompt::kAnswerYes};
  view_.DeleteCategory();
  EXPECT_EQ(std::tuple(prompts_.questions.size(), std::get<0>(Question(prompts_, 1)),
                       std::get<2>(Question(prompts_, 1)), view_.categories->IdByName(L"Fruit")),
            std::tuple(2u, L"Are you sure you want to delete the category: Fruit", MB_YESNO | MB_ICONQUESTION,
                       11u));
  view_.DeleteCategory();
  EXPECT_EQ(std::tuple(view_.categories->IdByName(L"Fruit"), view_.categoryCombo.SelectedId(),
                       view_.categoryCombo.Count()),
            std::tuple(0u, 0u, 1));
}

// The Change dialog, which Move uses, then offers every category.
TEST_F(CategoryTest, EditRenamesKeepingTheIdButNotToAnotherCategorysNameTheChangeDialogOffersEveryCategory) {
  AddThroughDialog(L"Fruit");
  AddThroughDialog(L"Dairy");
  SelectCategory(11);
  Answer(L"dairy");
  prompts_.answers = {Prompt::kAnswerOk};
  view_.EditCategory();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_NE(prompts_.questions[0].text.find(L"dairy"), WString::npos);
  EXPECT_EQ(std::tuple(view_.categories->IdByName(L"Fruit"), view_.categories->IdByName(L"Dairy")),
            std::tuple(11u, 12u));

  dialogs_.Drive(IDD_CATEGORY, [](const DialogDriver& d) {
    EXPECT_EQ(std::tuple(d.Caption(), d.Text(IDC_CATEGORY_TEXT), d.Text(IDC_CATEGORY_EDIT)),
              std::tuple(L"Edit Category", L"Fruit", L"Fruit"));
    d.Type(IDC_CATEGORY_EDIT, L"Berries");
    d.Press(IDOK);
  });
  view_.EditCategory();
  EXPECT_EQ(std::tuple(view_.categories->IdByName(L"Berries"), view_.categoryCombo.SelectedId()),
            std::tuple(11u, 11u));
  EXPECT_TRUE(WaitForFile(L"<NAME>Berries</NAME>"));

  dialogs_.Drive(IDD_CATEGORY, [](const DialogDriver& d) {
    EXPECT_EQ(std::tuple(d.Caption(), d.Visible(IDC_CATEGORY_EDIT), d.Text(IDC_CATEGORY_COMBO)),
              std::tuple(L"Change Category", false, L"Berries"));
    d.Pick(IDC_CATEGORY_COMBO, 1);  // "Dairy", the second in sorted order
    d.Press(IDOK);
  });
  CategoryDialog chooser(app_, *view_.categories);
  WString name = L"Berries";
  EXPECT_TRUE(chooser.ChangeDialog(name));
  EXPECT_EQ(name, L"Dairy");
}

class ColumnChooserTest : public ViewTest {
 protected:
  ColumnChooserTest() {
    LayOut();
    view_.readOnly = false;
    view_.BuildColumns();
  }
  static std::vector<LPARAM> Ids(const DialogDriver& d, int list) {
    std::vector<LPARAM> ids;
    for (int row = 0; row < d.Count(list); ++row) ids.push_back(d.RowData(list, row));
    return ids;
  }
  storage_test::ScriptedPrompts prompts_;
  DialogScripts dialogs_;
};

TEST_F(ColumnChooserTest, ListsHiddenAndShownColumnsAndMovesThemByButtonsAndDoubleClicks) {
  dialogs_.Drive(IDD_COLUMNS, [](const DialogDriver& d) {
    const std::vector<LPARAM> available = Ids(d, IDC_COLUMNS_AVAILABLE);
    EXPECT_EQ(std::tuple(d.Caption(), available.size(), available.front(), available.back(),
                         std::is_sorted(available.begin(), available.end()), Ids(d, IDC_COLUMNS_DISPLAYED)),
              std::tuple(L"Customize Columns", 31u, 1, 33, true, std::vector<LPARAM>{30, 29, 0}));
    for (int id : {IDC_COLUMNS_ADD, IDC_COLUMNS_REMOVE, IDC_COLUMNS_UP, IDC_COLUMNS_DOWN})
      EXPECT_FALSE(d.Enabled(id)) << id;
    d.Pick(IDC_COLUMNS_AVAILABLE, 0);  // identifier 1
    EXPECT_TRUE(d.Enabled(IDC_COLUMNS_ADD));
    d.Press(IDC_COLUMNS_ADD);
    d.Pick(IDC_COLUMNS_DISPLAYED, 3);
    d.Press(IDC_COLUMNS_UP);
    d.Press(IDOK);
  });
  view_.modified = false;
  view_.CustomizeColumns();
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{30, 29, 1, 0}));
  EXPECT_EQ(std::tuple(view_.List().ColumnCount(), view_.modified), std::tuple(4, true));

  // Double clicks move a column either way; Down moves one back.
  dialogs_.Drive(IDD_COLUMNS, [](const DialogDriver& d) {
    d.Pick(IDC_COLUMNS_AVAILABLE, 0);  // identifier 2
    d.DoubleClick(IDC_COLUMNS_AVAILABLE);
    d.Pick(IDC_COLUMNS_DISPLAYED, 0);
    d.Press(IDC_COLUMNS_DOWN);
    d.Pick(IDC_COLUMNS_DISPLAYED, 3);  // identifier 0
    d.DoubleClick(IDC_COLUMNS_DISPLAYED);
    d.Press(IDOK);
  });
  view_.CustomizeColumns();
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{29, 30, 1, 2}));
}

// A read-only catalog gets no OK button.
TEST_F(ColumnChooserTest, RemovedColumnsReturnInIdentifierOrderNoneIsRefusedReadOnlyHasNoOk) {
  dialogs_.Drive(IDD_COLUMNS, [](const DialogDriver& d) {
    for (int i = 0; i < 3; ++i) {
      d.Pick(IDC_COLUMNS_DISPLAYED, 0);
      d.Press(IDC_COLUMNS_REMOVE);
    }
    const std::vector<LPARAM> available = Ids(d, IDC_COLUMNS_AVAILABLE);
    EXPECT_EQ(std::tuple(available.size(), std::is_sorted(available.begin(), available.end())),
              std::tuple(34u, true));
    d.Press(IDOK);
    EXPECT_TRUE(IsWindow(d.Dialog()));
    d.Press(IDCANCEL);
  });
  prompts_.answers = {Prompt::kAnswerOk};
  view_.CustomizeColumns();
  EXPECT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(Question(prompts_, 0), std::tuple(L"You must select at least one column to display.", L"Mirepan",
                                              MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{30, 29, 0}));

  dialogs_.Drive(IDD_COLUMNS, [](const DialogDriver& d) {
    EXPECT_FALSE(d.Visible(IDOK));
    d.Notify(IDOK, BN_CLICKED);  // hidden, and refused all the same
    d.Press(IDCANCEL);
  });
  view_.readOnly = true;
  view_.modified = false;
  view_.CustomizeColumns();
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_COLUMNS), view_.modified), std::tuple(2, false));
}

class PictureTest : public ViewTest {
 protected:
  PictureTest() {
    view_.OpenCatalog(CatalogPath(), false, 0, 100, nullptr);
    CreateFolders(view_.imagesFolder, false);
    print_test::WriteBitmapFile(view_.imagesFolder + L"red.bmp", 40, 30, RGB(200, 30, 40));
    LayOut();
  }
  DialogScripts dialogs_;
};

// The window closes on a right click and on Escape; without a picture there is none.
TEST_F(PictureTest, AClickInsideThePaneShowsThePictureAtItsOwnSize) {
  view_.ShowPicture(L"C:\\elsewhere\\red.bmp");  // only the file name counts
  ASSERT_FALSE(view_.picturePane.Empty());
  dialogs_.On(IDD_PICTURE, [](HWND dialog) {
    RECT client = {};
    GetClientRect(dialog, &client);
    UpdateWindow(dialog);
    const HDC dc = GetDC(dialog);
    EXPECT_EQ(std::tuple(client.right, client.bottom, GetPixel(dc, 20, 20)),
              std::tuple(60, 50, RGB(200, 30, 40)));
    ReleaseDC(dialog, dc);
    SendMessageW(dialog, WM_RBUTTONDOWN, 0, 0);
  });
  EXPECT_FALSE(view_.ClickPicture(POINT{690, 80}));
  EXPECT_EQ(dialogs_.Opened(IDD_PICTURE), 0);
  EXPECT_TRUE(view_.ClickPicture(POINT{710, 80}));
  EXPECT_EQ(dialogs_.Opened(IDD_PICTURE), 1);

  dialogs_.Drive(IDD_PICTURE, [](const DialogDriver& d) { d.Notify(IDCANCEL, BN_CLICKED); });  // Escape
  EXPECT_TRUE(view_.ClickPicture(POINT{710, 80}));
  EXPECT_EQ(dialogs_.Opened(IDD_PICTURE), 2);

  view_.ShowPicture(L"");
  EXPECT_TRUE(view_.picturePane.Empty());
  EXPECT_FALSE(view_.ClickPicture(POINT{710, 80}));
  view_.ShowPicture(L"red.bmp");
  view_.Clear();
  EXPECT_TRUE(view_.picturePane.Empty());
}

}  // namespace
}  // namespace view_test
