// The view's dialogs under Wine: the category commands with their dialog and messages, the column
// chooser, and the picture window.
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
  void ExpectQuestion(const WString& text, const WString& caption, unsigned style) {
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_EQ(prompts_.questions[0].text, text);
    if (!caption.empty()) EXPECT_EQ(prompts_.questions[0].caption, caption);
    EXPECT_EQ(prompts_.questions[0].style, style);
    prompts_.questions.clear();
  }
  storage_test::ScriptedPrompts prompts_;
  DialogScripts dialogs_;
};

TEST_F(CategoryTest, AddAsksForANameTakesTheNextIdSelectsAndSavesEmptyAndTakenNamesAddNothing) {
  bool stayedOpen = false;
  dialogs_.Drive(IDD_CATEGORY, [&](const DialogDriver& d) {
    d.Notify(IDOK, BN_CLICKED);
    stayedOpen = IsWindowVisible(d.Dialog()) != FALSE;
    d.Press(IDCANCEL);
  });
  view_.AddCategory();
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(view_.categories->Entries().Empty());
  EXPECT_EQ(view_.lastId, 10u);
  EXPECT_FALSE(view_.modified);

  WString caption;
  bool oldShown = true, comboShown = true;
  dialogs_.Drive(IDD_CATEGORY, [&](const DialogDriver& d) {
    caption = d.Caption();
    oldShown = d.Visible(IDC_CATEGORY_OLD_LABEL);
    comboShown = d.Visible(IDC_CATEGORY_COMBO);
    d.Type(IDC_CATEGORY_EDIT, L"Fruit");
    d.Press(IDOK);
  });
  view_.AddCategory();
  EXPECT_EQ(caption, L"Add Category");
  EXPECT_FALSE(oldShown);
  EXPECT_FALSE(comboShown);
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);
  EXPECT_EQ(view_.lastId, 11u);
  EXPECT_EQ(view_.categoryCombo.SelectedId(), 11u);
  EXPECT_TRUE(WaitForFile(L"<NAME>Fruit</NAME>"));

  AddThroughDialog(L"fruit");  // taken in another case: nothing added, but the id is used up
  EXPECT_EQ(view_.categories->Entries().Count(), 1u);
  EXPECT_EQ(view_.lastId, 12u);
}

TEST_F(CategoryTest, DeleteAndEditNeedACategorySelectedDeleteRefusesOneInUseAndAsksFirst) {
  AddThroughDialog(L"Fruit");
  SelectCategory(0);
  view_.DeleteCategory();
  view_.EditCategory();
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_EQ(dialogs_.Opened(IDD_CATEGORY), 1);

  view_.records = {{11, L"apple", L""}};
  SelectCategory(11);
  prompts_.answers = {Prompt::kAnswerOk};
  view_.DeleteCategory();
  ExpectQuestion(L"This category is in use and may not be deleted: Fruit", L"Delete Category",
                 MB_OK | MB_ICONINFORMATION);
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);

  view_.records.clear();
  prompts_.answers = {Prompt::kAnswerNo, Prompt::kAnswerYes};
  view_.DeleteCategory();
  ExpectQuestion(L"Are you sure you want to delete the category: Fruit", L"", MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);
  view_.DeleteCategory();
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 0u);
  EXPECT_EQ(view_.categoryCombo.SelectedId(), 0u);
  EXPECT_EQ(view_.categoryCombo.Count(), 1);
}

TEST_F(CategoryTest, EditRenamesKeepingTheIdButNotToAnotherCategorysName) {
  AddThroughDialog(L"Fruit");
  AddThroughDialog(L"Dairy");
  SelectCategory(11);
  Answer(L"dairy");
  prompts_.answers = {Prompt::kAnswerOk};
  view_.EditCategory();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_NE(prompts_.questions[0].text.find(L"dairy"), WString::npos);
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);
  EXPECT_EQ(view_.categories->IdByName(L"Dairy"), 12u);

  WString caption, shownName, editText;
  dialogs_.Drive(IDD_CATEGORY, [&](const DialogDriver& d) {
    caption = d.Caption();
    shownName = d.Text(IDC_CATEGORY_TEXT);
    editText = d.Text(IDC_CATEGORY_EDIT);
    d.Type(IDC_CATEGORY_EDIT, L"Berries");
    d.Press(IDOK);
  });
  view_.EditCategory();
  EXPECT_EQ(caption, L"Edit Category");
  EXPECT_EQ(shownName, L"Fruit");
  EXPECT_EQ(editText, L"Fruit");
  EXPECT_EQ(view_.categories->IdByName(L"Berries"), 11u);
  EXPECT_EQ(view_.categoryCombo.SelectedId(), 11u);
  EXPECT_TRUE(WaitForFile(L"<NAME>Berries</NAME>"));
}

TEST_F(CategoryTest, TheChangeDialogOffersEveryCategory) {
  AddThroughDialog(L"Fruit");
  AddThroughDialog(L"Dairy");
  WString caption, preset;
  bool editShown = true;
  dialogs_.Drive(IDD_CATEGORY, [&](const DialogDriver& d) {
    caption = d.Caption();
    editShown = d.Visible(IDC_CATEGORY_EDIT);
    preset = d.Text(IDC_CATEGORY_COMBO);
    d.Pick(IDC_CATEGORY_COMBO, 0);  // "Dairy", the first in sorted order
    d.Press(IDOK);
  });
  CategoryDialog chooser(app_, *view_.categories);
  WString name = L"Fruit";
  EXPECT_TRUE(chooser.ChangeDialog(name));
  EXPECT_EQ(caption, L"Change Category");
  EXPECT_FALSE(editShown);
  EXPECT_EQ(preset, L"Fruit");
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

TEST_F(ColumnChooserTest, ListsHiddenAndShownColumnsAndMovesThem) {
  std::vector<LPARAM> available, shown;
  WString caption;
  bool buttonsOff = true, addOn = false;
  dialogs_.Drive(IDD_COLUMNS, [&](const DialogDriver& d) {
    available = Ids(d, IDC_COLUMNS_AVAILABLE);
    shown = Ids(d, IDC_COLUMNS_DISPLAYED);
    caption = d.Caption();
    for (int id : {IDC_COLUMNS_ADD, IDC_COLUMNS_REMOVE, IDC_COLUMNS_UP, IDC_COLUMNS_DOWN})
      buttonsOff &= !d.Enabled(id);
    d.Pick(IDC_COLUMNS_AVAILABLE, 0);  // identifier 1
    addOn = d.Enabled(IDC_COLUMNS_ADD);
    d.Press(IDC_COLUMNS_ADD);
    d.Pick(IDC_COLUMNS_DISPLAYED, 3);
    d.Press(IDC_COLUMNS_UP);
    d.Press(IDOK);
  });
  view_.modified = false;
  view_.CustomizeColumns();
  EXPECT_EQ(caption, L"Customize Columns");
  ASSERT_EQ(available.size(), 31u);
  EXPECT_EQ(available.front(), 1);
  EXPECT_EQ(available.back(), 33);
  EXPECT_TRUE(std::is_sorted(available.begin(), available.end()));
  EXPECT_EQ(shown, (std::vector<LPARAM>{30, 29, 0}));
  EXPECT_TRUE(buttonsOff);
  EXPECT_TRUE(addOn);
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{30, 29, 1, 0}));
  EXPECT_EQ(view_.List().ColumnCount(), 4);
  EXPECT_TRUE(view_.modified);
}

TEST_F(ColumnChooserTest, RemovedColumnsReturnInIdentifierOrderAndNoneIsRefused) {
  std::vector<LPARAM> available;
  bool stayedOpen = false;
  dialogs_.Drive(IDD_COLUMNS, [&](const DialogDriver& d) {
    for (int i = 0; i < 3; ++i) {
      d.Pick(IDC_COLUMNS_DISPLAYED, 0);
      d.Press(IDC_COLUMNS_REMOVE);
    }
    available = Ids(d, IDC_COLUMNS_AVAILABLE);
    d.Press(IDOK);
    stayedOpen = IsWindow(d.Dialog()) != FALSE;
    d.Press(IDCANCEL);
  });
  prompts_.answers = {Prompt::kAnswerOk};
  view_.CustomizeColumns();
  EXPECT_EQ(available.size(), 34u);
  EXPECT_TRUE(std::is_sorted(available.begin(), available.end()));
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"You must select at least one column to display.");
  EXPECT_EQ(prompts_.questions[0].caption, L"Mirepan");
  EXPECT_EQ(prompts_.questions[0].style, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{30, 29, 0}));
}

TEST_F(ColumnChooserTest, DoubleClicksMoveAndDownMovesBack) {
  dialogs_.Drive(IDD_COLUMNS, [](const DialogDriver& d) {
    d.Pick(IDC_COLUMNS_AVAILABLE, 1);  // identifier 2
    d.DoubleClick(IDC_COLUMNS_AVAILABLE);
    d.Pick(IDC_COLUMNS_DISPLAYED, 0);
    d.Press(IDC_COLUMNS_DOWN);
    d.Pick(IDC_COLUMNS_DISPLAYED, 2);  // identifier 0
    d.DoubleClick(IDC_COLUMNS_DISPLAYED);
    d.Press(IDOK);
  });
  view_.CustomizeColumns();
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{29, 30, 2}));
}

TEST_F(ColumnChooserTest, AReadOnlyCatalogGetsNoOkButton) {
  bool okShown = true;
  dialogs_.Drive(IDD_COLUMNS, [&](const DialogDriver& d) {
    okShown = d.Visible(IDOK);
    d.Notify(IDOK, BN_CLICKED);  // hidden, and refused all the same
    d.Press(IDCANCEL);
  });
  view_.readOnly = true;
  view_.modified = false;
  view_.CustomizeColumns();
  EXPECT_FALSE(okShown);
  EXPECT_FALSE(view_.modified);
}

// A 40 x 30 bitmap file in one colour.
void WriteBitmap(const WString& path, COLORREF colour) {
  const int width = 40, height = 30, stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + stride * height;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  std::string row(stride, '\0');
  for (int x = 0; x < width; ++x) {
    row[x * 3] = static_cast<char>(GetBValue(colour));
    row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
    row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
  }
  for (int y = 0; y < height; ++y) bytes += row;
  ASSERT_TRUE(storage_test::WriteFile(path, bytes));
}

class PictureTest : public ViewTest {
 protected:
  PictureTest() {
    view_.OpenCatalog(CatalogPath(), false, 0, 100, nullptr);
    CreateFolders(view_.imagesFolder, false);
    WriteBitmap(view_.imagesFolder + L"red.bmp", RGB(200, 30, 40));
    LayOut();
  }
  DialogScripts dialogs_;
};

// The window closes on a right click and on Escape.
TEST_F(PictureTest, AClickInsideThePaneShowsThePictureAtItsOwnSize) {
  view_.ShowPicture(L"C:\\elsewhere\\red.bmp");  // only the file name counts
  ASSERT_FALSE(view_.picturePane.Empty());
  RECT client = {};
  COLORREF painted = 0;
  dialogs_.On(IDD_PICTURE, [&](HWND dialog) {
    GetClientRect(dialog, &client);
    UpdateWindow(dialog);
    const HDC dc = GetDC(dialog);
    painted = GetPixel(dc, 20, 20);
    ReleaseDC(dialog, dc);
    SendMessageW(dialog, WM_RBUTTONDOWN, 0, 0);
  });
  EXPECT_FALSE(view_.ClickPicture(POINT{690, 80}));
  EXPECT_EQ(dialogs_.Opened(IDD_PICTURE), 0);
  EXPECT_TRUE(view_.ClickPicture(POINT{710, 80}));
  EXPECT_EQ(dialogs_.Opened(IDD_PICTURE), 1);
  EXPECT_EQ(client.right, 60);
  EXPECT_EQ(client.bottom, 50);
  EXPECT_EQ(painted, RGB(200, 30, 40));

  dialogs_.On(IDD_PICTURE, [](HWND dialog) { Press(dialog, IDCANCEL); });
  EXPECT_TRUE(view_.ClickPicture(POINT{710, 80}));
  EXPECT_EQ(dialogs_.Opened(IDD_PICTURE), 2);
}

TEST_F(PictureTest, NoPictureNoWindow) {
  view_.ShowPicture(L"");
  EXPECT_TRUE(view_.picturePane.Empty());
  EXPECT_FALSE(view_.ClickPicture(POINT{710, 80}));
  view_.ShowPicture(L"red.bmp");
  view_.Clear();
  EXPECT_TRUE(view_.picturePane.Empty());
}

}  // namespace
}  // namespace view_test
