// The view's dialogs under Wine: the category commands with their dialog and messages, the column
// chooser, and the picture window.
#include "ViewTestSupport.h"
#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "resource.h"

namespace view_test {
namespace {

HWND Item(HWND dialog, int id) {
  return GetDlgItem(dialog, id);
}
bool Shown(HWND dialog, int id) {
  return IsWindowVisible(Item(dialog, id)) != FALSE;
}

void Type(HWND dialog, int id, const wchar_t* text) {
  SetWindowTextW(Item(dialog, id), text);
}

class CategoryTest : public ViewTest {
 protected:
  CategoryTest() {
    view_.OpenCatalog(CatalogPath(), false, 0, 100, nullptr);  // missing: empty and writable
    view_.lastId = 10;
  }
  // Adds a category through the dialog, typing `name`.
  void AddThroughDialog(const wchar_t* name) {
    dialogs_.On(IDD_CATEGORY, [name](HWND dialog) {
      Type(dialog, IDC_CATEGORY_EDIT, name);
      Press(dialog, IDOK);
    });
    view_.AddCategory();
  }
  void SelectCategory(uint32_t id) {
    view_.categoryCombo.SelectById(id);
    view_.UpdateCategoryMenu(nullptr);
  }
  bool WaitForFile(const wchar_t* text) {
    for (int i = 0; i < 500; ++i) {
      {
        DataLockGuard lock;
        WString content;
        FileHandle(CatalogPath()).ReadAllText(content);
        if (content.find(text) != WString::npos) return true;
      }
      Sleep(10);
    }
    return false;
  }
  storage_test::ScriptedPrompts prompts_;
  DialogScripts dialogs_;
};

TEST_F(CategoryTest, AddAsksForANameTakesTheNextIdSelectsAndSaves) {
  WString caption;
  bool oldHidden = false, comboHidden = false;
  dialogs_.On(IDD_CATEGORY, [&](HWND dialog) {
    caption = WindowText(dialog);
    oldHidden = !Shown(dialog, IDC_CATEGORY_OLD_LABEL);
    comboHidden = !Shown(dialog, IDC_CATEGORY_COMBO);
    Type(dialog, IDC_CATEGORY_EDIT, L"Fruit");
    Press(dialog, IDOK);
  });
  view_.AddCategory();
  EXPECT_EQ(caption, L"Add Category");
  EXPECT_TRUE(oldHidden);
  EXPECT_TRUE(comboHidden);
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);
  EXPECT_EQ(view_.lastId, 11u);
  EXPECT_EQ(view_.categoryCombo.SelectedId(), 11u);
  EXPECT_TRUE(WaitForFile(L"<NAME>Fruit</NAME>"));
}

TEST_F(CategoryTest, AnEmptyNameKeepsTheDialogOpenCancelAddsNothing) {
  bool stayedOpen = false;
  dialogs_.On(IDD_CATEGORY, [&](HWND dialog) {
    Press(dialog, IDOK);
    stayedOpen = IsWindow(dialog) && IsWindowVisible(dialog);
    Press(dialog, IDCANCEL);
  });
  view_.AddCategory();
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(view_.categories->Entries().Empty());
  EXPECT_EQ(view_.lastId, 10u);
  EXPECT_FALSE(view_.modified);
}

TEST_F(CategoryTest, ADuplicateNameAddsNothingButUsesUpAnId) {
  AddThroughDialog(L"Fruit");
  AddThroughDialog(L"fruit");
  EXPECT_EQ(view_.categories->Entries().Count(), 1u);
  EXPECT_EQ(view_.lastId, 12u);
}

TEST_F(CategoryTest, DeletingACategoryInUseOnlyTellsTheUser) {
  AddThroughDialog(L"Fruit");
  view_.records = {{11, L"apple", L""}};
  SelectCategory(11);
  prompts_.answers = {Prompt::kAnswerOk};
  view_.DeleteCategory();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"This category is in use and may not be deleted: Fruit");
  EXPECT_EQ(prompts_.questions[0].caption, L"Delete Category");
  EXPECT_EQ(prompts_.questions[0].style, static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);
}

TEST_F(CategoryTest, DeletingAnUnusedCategoryAsksFirst) {
  AddThroughDialog(L"Fruit");
  SelectCategory(11);
  prompts_.answers = {Prompt::kAnswerNo, Prompt::kAnswerYes};
  view_.DeleteCategory();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"Are you sure you want to delete the category: Fruit");
  EXPECT_EQ(prompts_.questions[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);

  view_.DeleteCategory();
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 0u);
  EXPECT_EQ(view_.categoryCombo.SelectedId(), 0u);
  EXPECT_EQ(view_.categoryCombo.Count(), 1);
}

TEST_F(CategoryTest, DeleteAndEditNeedARealCategorySelected) {
  AddThroughDialog(L"Fruit");
  SelectCategory(0);
  view_.DeleteCategory();
  view_.EditCategory();
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_EQ(dialogs_.Opened(IDD_CATEGORY), 1);
}

TEST_F(CategoryTest, EditRenamesKeepingTheId) {
  AddThroughDialog(L"Fruit");
  SelectCategory(11);
  WString caption, shownName, editText;
  dialogs_.On(IDD_CATEGORY, [&](HWND dialog) {
    caption = WindowText(dialog);
    shownName = WindowText(Item(dialog, IDC_CATEGORY_TEXT));
    editText = WindowText(Item(dialog, IDC_CATEGORY_EDIT));
    Type(dialog, IDC_CATEGORY_EDIT, L"Berries");
    Press(dialog, IDOK);
  });
  view_.EditCategory();
  EXPECT_EQ(caption, L"Edit Category");
  EXPECT_EQ(shownName, L"Fruit");
  EXPECT_EQ(editText, L"Fruit");
  EXPECT_EQ(view_.categories->IdByName(L"Berries"), 11u);
  EXPECT_EQ(view_.categoryCombo.SelectedId(), 11u);
  EXPECT_TRUE(WaitForFile(L"<NAME>Berries</NAME>"));
}

TEST_F(CategoryTest, RenamingToAnotherCategorysNameIsRefusedWithAMessage) {
  AddThroughDialog(L"Fruit");
  AddThroughDialog(L"Dairy");
  SelectCategory(11);
  dialogs_.On(IDD_CATEGORY, [](HWND dialog) {
    Type(dialog, IDC_CATEGORY_EDIT, L"dairy");
    Press(dialog, IDOK);
  });
  prompts_.answers = {Prompt::kAnswerOk};
  view_.EditCategory();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_NE(prompts_.questions[0].text.find(L"dairy"), WString::npos);
  EXPECT_EQ(view_.categories->IdByName(L"Fruit"), 11u);
  EXPECT_EQ(view_.categories->IdByName(L"Dairy"), 12u);
}

TEST_F(CategoryTest, TheChangeDialogOffersEveryCategory) {
  AddThroughDialog(L"Fruit");
  AddThroughDialog(L"Dairy");
  WString caption, preset;
  bool editHidden = false;
  dialogs_.On(IDD_CATEGORY, [&](HWND dialog) {
    caption = WindowText(dialog);
    editHidden = !Shown(dialog, IDC_CATEGORY_EDIT);
    const HWND combo = Item(dialog, IDC_CATEGORY_COMBO);
    preset = WindowText(combo);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);  // "Dairy", the first in sorted order
    Press(dialog, IDOK);
  });
  CategoryDialog chooser(app_, *view_.categories);
  WString name = L"Fruit";
  EXPECT_TRUE(chooser.ChangeDialog(name));
  EXPECT_EQ(caption, L"Change Category");
  EXPECT_TRUE(editHidden);
  EXPECT_EQ(preset, L"Fruit");
  EXPECT_EQ(name, L"Dairy");
}

class ColumnChooserTest : public ViewTest {
 protected:
  ColumnChooserTest() {
    view_.Layout(RECT{10, 33, 710, 433}, RECT{700, 70, 880, 300});
    view_.readOnly = false;
    view_.BuildColumns();
  }
  static std::vector<LPARAM> Ids(HWND list) {
    std::vector<LPARAM> ids;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) ids.push_back(SendMessageW(list, LB_GETITEMDATA, i, 0));
    return ids;
  }
  static void Choose(HWND dialog, int listId, int index) {
    SendMessageW(Item(dialog, listId), LB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(dialog, listId)));
  }
  storage_test::ScriptedPrompts prompts_;
  DialogScripts dialogs_;
};

TEST_F(ColumnChooserTest, ListsHiddenAndShownColumnsAndMovesThem) {
  std::vector<LPARAM> available, shown;
  WString firstCaption;
  bool buttonsOff = false, addOn = false;
  dialogs_.On(IDD_COLUMNS, [&](HWND dialog) {
    available = Ids(Item(dialog, IDC_COLUMNS_AVAILABLE));
    shown = Ids(Item(dialog, IDC_COLUMNS_DISPLAYED));
    firstCaption = WindowText(dialog);
    buttonsOff = true;
    for (int id : {IDC_COLUMNS_ADD, IDC_COLUMNS_REMOVE, IDC_COLUMNS_UP, IDC_COLUMNS_DOWN})
      buttonsOff &= !IsWindowEnabled(Item(dialog, id));
    Choose(dialog, IDC_COLUMNS_AVAILABLE, 0);  // identifier 1
    addOn = IsWindowEnabled(Item(dialog, IDC_COLUMNS_ADD)) != FALSE;
    Press(dialog, IDC_COLUMNS_ADD);
    Choose(dialog, IDC_COLUMNS_DISPLAYED, 3);
    Press(dialog, IDC_COLUMNS_UP);
    Press(dialog, IDOK);
  });
  view_.modified = false;
  view_.CustomizeColumns();
  EXPECT_EQ(firstCaption, L"Customize Columns");
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
  dialogs_.On(IDD_COLUMNS, [&](HWND dialog) {
    for (int i = 0; i < 3; ++i) {
      Choose(dialog, IDC_COLUMNS_DISPLAYED, 0);
      Press(dialog, IDC_COLUMNS_REMOVE);
    }
    available = Ids(Item(dialog, IDC_COLUMNS_AVAILABLE));
    Press(dialog, IDOK);
    stayedOpen = IsWindow(dialog) != FALSE;
    Press(dialog, IDCANCEL);
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
  dialogs_.On(IDD_COLUMNS, [](HWND dialog) {
    const HWND available = Item(dialog, IDC_COLUMNS_AVAILABLE);
    SendMessageW(available, LB_SETCURSEL, 1, 0);  // identifier 2
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_COLUMNS_AVAILABLE, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(available));
    Choose(dialog, IDC_COLUMNS_DISPLAYED, 0);
    Press(dialog, IDC_COLUMNS_DOWN);
    const HWND shown = Item(dialog, IDC_COLUMNS_DISPLAYED);
    SendMessageW(shown, LB_SETCURSEL, 2, 0);  // identifier 0
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_COLUMNS_DISPLAYED, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(shown));
    Press(dialog, IDOK);
  });
  view_.CustomizeColumns();
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{29, 30, 2}));
}

TEST_F(ColumnChooserTest, AReadOnlyCatalogGetsNoOkButton) {
  bool okShown = true;
  dialogs_.On(IDD_COLUMNS, [&](HWND dialog) {
    okShown = Shown(dialog, IDOK);
    Press(dialog, IDOK);  // hidden, and refused all the same
    Press(dialog, IDCANCEL);
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
    view_.Layout(RECT{10, 33, 710, 433}, RECT{700, 70, 880, 300});
  }
  DialogScripts dialogs_;
};

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
}

TEST_F(PictureTest, EscapeClosesThePictureWindow) {
  view_.ShowPicture(L"red.bmp");
  dialogs_.On(IDD_PICTURE, [](HWND dialog) { Press(dialog, IDCANCEL); });
  EXPECT_TRUE(view_.ClickPicture(POINT{710, 80}));
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
