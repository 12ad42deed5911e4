// The view's controls and list under Wine: placement in the tab control, columns built from the
// settings, sorting, the fill rule with its progress-window threshold, the filters, the status and
// the enable table of the commands.
#include <windows.h>

#include <commctrl.h>

#include "ViewTestSupport.h"
#include "food/CategoryList.h"
#include "resource.h"
#include "views/CommandStates.h"

namespace view_test {
namespace {

RECT PlaceIn(HWND window, HWND parent) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Greyed(HMENU menu, UINT command) {
  return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

TEST_F(ViewTest, CreatePlacesTheControlsFillsTheLetterSelectorAndLaysOutTheList) {
  ASSERT_TRUE(created_);
  const HWND tabs = tabs_.Window();
  const struct {
    DAVavador::ERWindow& control;
    int id, left, top, width;
  } controls[] = {{view_.categoryCombo, 2100, 77, 32, 200},
                  {view_.letterCombo, 2101, 376, -1, 60},
                  {view_.List(), 2102, -1, -1, -1},
                  {view_.letterLabel, -1, 290, 35, -1},
                  {view_.categoryLabel, -1, -1, -1, -1}};
  for (const auto& c : controls) {
    SCOPED_TRACE(c.id);
    const HWND window = c.control.Window();
    EXPECT_EQ(GetParent(window), tabs);
    EXPECT_NE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE, 0);
    const RECT place = PlaceIn(window, tabs);
    for (const auto& [expected, actual] : {std::pair{c.id, GetDlgCtrlID(window)},
                                           {c.left, int(place.left)},
                                           {c.top, int(place.top)},
                                           {c.width, int(place.right - place.left)}})
      if (expected != -1) EXPECT_EQ(actual, expected);
  }
  EXPECT_EQ(WindowText(view_.categoryLabel.Window()), L"Category:");
  EXPECT_EQ(WindowText(view_.letterLabel.Window()), L"Starts with:");

  ASSERT_EQ(view_.letterCombo.Count(), 27);
  for (const auto& [row, text] : {std::pair{0, L"--All--"}, {1, L"A"}, {26, L"Z"}}) {
    EXPECT_EQ(view_.letterCombo.ItemText(row), text);
    EXPECT_EQ(view_.letterCombo.ItemData(row), row);
  }
  EXPECT_EQ(view_.letterCombo.Selection(), 0);

  LayOut();
  const RECT list = PlaceIn(view_.List().Window(), tabs);
  EXPECT_EQ(list.left, 10);
  EXPECT_EQ(list.top, 63);  // below the selectors
  EXPECT_EQ(list.right, 710);
  EXPECT_EQ(list.bottom, 433);
  EXPECT_EQ(view_.picturePane.Box().left, 700);
  EXPECT_EQ(view_.picturePane.Box().bottom, 300);

  view_.InstallMenu();
  EXPECT_EQ(GetMenu(main_), view_.Menu());
}

class ColumnsTest : public ViewTest {
 protected:
  ColumnsTest() { LayOut(); }
  int Automatic(int n) const { return (view_.List().Width() - n) / n; }
};

TEST_F(ColumnsTest, StoredWidthsAreKeptAndMissingOrOutOfRangeOnesShareTheList) {
  constexpr int kAuto = -2;
  const struct {
    const char* what;
    std::vector<uint8_t> columns;  // none: the defaults
    std::vector<int32_t> widths;   // by identifier
    std::vector<int> expected;
    uint8_t storedId;
    int stored;
    size_t storedCount;  // 0: any
  } rows[] = {{"defaults", {}, {}, {kAuto, kAuto, kAuto}, 30, kAuto, 0},
              {"beyond the widths", {31, 0, 5}, {-1, 4000}, {0, kAuto, 0}, 1, 4000, 32},
              {"fewer columns", {1}, {-1, 5000}, {kAuto}, 1, kAuto, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (!row.columns.empty()) view_.columns = row.columns;
    if (!row.widths.empty()) view_.columnWidths = row.widths;
    view_.BuildColumns();
    const int count = static_cast<int>(row.expected.size());
    ASSERT_EQ(view_.List().ColumnCount(), count);  // the columns beyond are deleted
    for (int i = 0; i < count; ++i)
      EXPECT_EQ(view_.List().ColumnWidth(i), row.expected[i] == kAuto ? Automatic(count) : row.expected[i])
          << i;
    if (row.storedCount) EXPECT_EQ(view_.columnWidths.size(), row.storedCount);
    EXPECT_EQ(view_.columnWidths[row.storedId], row.stored == kAuto ? Automatic(count) : row.stored);
  }
}

TEST_F(ColumnsTest, TheCatalogsViewElementNamesTheColumnsCaptionsComeFromTheFirstCaptionString) {
  ASSERT_TRUE(
      FileHandle(CatalogPath())
          .WriteAllText(L"<TESTLIST>\r\n<VIEW>\r\n<COLS>30,0</COLS>\r\n<COLWIDTHS>-1,80</COLWIDTHS>\r\n"
                        L"</VIEW>\r\n</TESTLIST>\r\n"));
  ASSERT_TRUE(view_.OpenCatalog(CatalogPath(), false, 0, 100, nullptr));
  view_.BuildColumns();
  ASSERT_EQ(view_.List().ColumnCount(), 2);
  EXPECT_EQ(view_.List().ColumnWidth(0), 0);  // no stored width for identifier 30
  EXPECT_EQ(view_.List().ColumnWidth(1), Automatic(2));
  EXPECT_EQ(view_.List().SortKindOf(0), DAVavador::SortKind::Text);
  EXPECT_EQ(view_.List().SortKindOf(1), DAVavador::SortKind::Number);

  view_.columns = {30, 1};
  view_.BuildColumns();
  wchar_t text[64] = {};
  HDITEMW item = {};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  Header_GetItem(ListView_GetHeader(view_.List().Window()), 1, &item);
  EXPECT_EQ(WString(text), app_.String(5101));
  EXPECT_FALSE(WString(text).empty());
}

TEST_F(ColumnsTest, ClicksSortNumbersByValueTextsByTextASecondClickReversesAndFillsKeepTheSort) {
  view_.records = {{0, L"b", L"10"}, {0, L"c", L"9"}, {0, L"a", L"100"}};
  view_.columns = {30, 0};
  view_.BuildColumns();
  view_.FillList();
  view_.modified = false;
  view_.SortByColumn(1);
  EXPECT_EQ(view_.sortColumn, 1);
  EXPECT_FALSE(view_.sortReverse);
  EXPECT_TRUE(view_.modified);
  EXPECT_EQ(Column(1), (std::vector<WString>{L"9", L"10", L"100"}));
  view_.SortByColumn(1);
  EXPECT_TRUE(view_.sortReverse);
  EXPECT_EQ(Column(1), (std::vector<WString>{L"100", L"10", L"9"}));
  view_.FillList();
  EXPECT_EQ(Column(1), (std::vector<WString>{L"100", L"10", L"9"}));
  view_.SortByColumn(0);
  EXPECT_EQ(view_.sortColumn, 0);
  EXPECT_FALSE(view_.sortReverse);
  EXPECT_EQ(Column(0), (std::vector<WString>{L"a", L"b", L"c"}));
  // The same texts as the numbers, in a text column.
  view_.records = {{0, L"10", L""}, {0, L"9", L""}, {0, L"100", L""}};
  view_.FillList();
  EXPECT_EQ(Column(0), (std::vector<WString>{L"10", L"100", L"9"}));
}

TEST_F(ColumnsTest, MoreThanTwoHundredFiftyMatchingRowsFillBehindTheProgressWindow) {
  view_.BuildColumns();
  DialogScripts dialogs;
  const struct {
    size_t matching, others;
    uint32_t selected;
    int progress;
  } rows[] = {{250, 0, 0, 0}, {251, 0, 0, 1}, {10, 300, 8, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.matching << " of " << row.matching + row.others);
    view_.records.clear();
    AddRecords(row.matching, 8);
    AddRecords(row.others, 7);
    view_.selectedCategory = row.selected;
    const int opened = dialogs.Opened(IDD_PROGRESS);
    view_.FillList();
    EXPECT_EQ(dialogs.Opened(IDD_PROGRESS) - opened, row.progress);
    EXPECT_EQ(view_.List().ItemCount(), static_cast<int>(row.matching));
    EXPECT_FALSE(view_.workerMode);
    EXPECT_EQ(view_.List().ItemText(0, 0), L"Item 0");
  }
}

TEST_F(ViewTest, FilterByCategoryAndFirstLetter) {
  const struct {
    uint32_t letter, category, catId;
    const wchar_t* name;
    bool matches;
  } rows[] = {{2, 0, 3, L"banana", true}, {2, 0, 4, L"Bread", true},  {2, 0, 3, L"apple", false},
              {2, 0, 3, L"", false},      {2, 3, 3, L"banana", true}, {2, 3, 4, L"Bread", false},
              {0, 3, 3, L"apple", true}};
  for (const auto& row : rows) {
    view_.selectedLetter = row.letter;
    view_.selectedCategory = row.category;
    EXPECT_EQ(view_.MatchesFilter(row.catId, row.name), row.matches)
        << row.letter << " " << row.category << " " << row.catId << " " << ToUtf8(row.name);
  }
}

TEST_F(ViewTest, ChoosingALetterStoresItAndRefills) {
  view_.BuildColumns();
  view_.records = {{0, L"banana", L""}, {0, L"Bread", L""}, {0, L"apple", L""}};
  view_.FillList();
  view_.letterCombo.Select(2);
  const WPARAM change = MAKEWPARAM(2101, CBN_SELCHANGE);
  EXPECT_TRUE(view_.HandleCommand(change, reinterpret_cast<LPARAM>(view_.letterCombo.Window()), nullptr));
  EXPECT_EQ(view_.selectedLetter, 2u);
  EXPECT_TRUE(view_.modified);
  EXPECT_EQ(view_.List().ItemCount(), 2);
  EXPECT_EQ(status_.Text(0), L"Ingredients: 2");  // the status bar counts what is listed now
  // Another view's selector with the same identifier is not this view's business.
  EXPECT_FALSE(view_.HandleCommand(change, reinterpret_cast<LPARAM>(tabs_.Window()), nullptr));
}

TEST_F(ViewTest, ChoosingACategoryStoresItRefillsAndSetsTheCategoryCommandsReadOnlyGreysThem) {
  view_.readOnly = false;
  view_.categories->Add(L"Fruit", 4);
  view_.categories->Add(L"Bread", 5);
  view_.FillCategorySelector();
  view_.records = {{4, L"apple", L""}, {5, L"rye", L""}};
  view_.BuildColumns();
  view_.FillList();
  const int fills = view_.fills;

  view_.categoryCombo.Select(2);  // "--All--", "Bread", "Fruit"
  const HMENU menu = view_.Menu();
  view_.HandleCommand(MAKEWPARAM(2100, CBN_SELCHANGE), reinterpret_cast<LPARAM>(view_.categoryCombo.Window()),
                      menu);
  EXPECT_EQ(view_.selectedCategory, 4u);
  EXPECT_EQ(view_.fills, fills + 1);
  EXPECT_EQ(view_.List().ItemCount(), 1);
  EXPECT_EQ(status_.Text(0), L"Fruit: 1");
  EXPECT_FALSE(Greyed(menu, 1002));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(1003));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(1101));

  // The same selection again changes nothing; "--All--" greys the edit and delete commands.
  view_.UpdateCategoryMenu(menu);
  EXPECT_EQ(view_.fills, fills + 1);
  view_.categoryCombo.Select(0);
  view_.UpdateCategoryMenu(menu);
  EXPECT_TRUE(Greyed(menu, 1002));
  EXPECT_FALSE(Greyed(menu, 1001));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(1003));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(1001));

  view_.readOnly = true;
  view_.UpdateCategoryMenu(menu);
  for (UINT command : {1001u, 1002u, 1003u}) EXPECT_TRUE(Greyed(menu, command)) << command;
  EXPECT_FALSE(toolbar_.IsButtonEnabled(1001));
}

TEST_F(ViewTest, StatusShowsCategoryCountAndReadOnly) {
  view_.BuildColumns();
  view_.categories->Add(L"Vegetables", 9);
  view_.FillCategorySelector(9);
  AddRecords(42, 9);
  view_.selectedCategory = 9;
  view_.FillList();
  view_.readOnly = false;
  view_.UpdateStatus();
  EXPECT_EQ(status_.Text(0), L"Vegetables: 42");
  EXPECT_EQ(status_.Text(1), L"");

  view_.readOnly = true;
  view_.categoryCombo.Select(0);
  view_.UpdateStatus();
  EXPECT_EQ(status_.Text(0), L"Ingredients: 42");  // the tab caption for "--All--"
  EXPECT_EQ(status_.Text(1), L"Read-only");
}

TEST_F(ViewTest, ClearEmptiesListCategoriesAndResetsTheState) {
  view_.BuildColumns();
  AddRecords(3);
  view_.FillList();
  view_.categories->Add(L"Fruit", 4);
  view_.FillCategorySelector(4);
  view_.sortColumn = 2;
  view_.sortReverse = true;
  view_.filterCategoryId = 4;
  view_.Clear();
  EXPECT_EQ(view_.List().ItemCount(), 0);
  EXPECT_TRUE(view_.categories->Entries().Empty());
  EXPECT_EQ(view_.categoryCombo.Count(), 1);
  EXPECT_EQ(view_.sortColumn, 0);
  EXPECT_FALSE(view_.sortReverse);
  EXPECT_EQ(view_.filterCategoryId, 0u);
}

// Menu items and toolbar buttons follow the same flags; a missing menu or toolbar is left alone.
TEST_F(ViewTest, CommandStatesSetTheMenuItemsAndTheButtonsThereAre) {
  const HMENU menu = CreatePopupMenu();
  for (const UINT command : {IDM_ADD_CATEGORY, IDM_DELETE_CATEGORY, IDM_RESTORE})
    AppendMenuW(menu, MF_STRING, command, L"Command");
  ApplyCommandStates(menu, &toolbar_,
                     {{IDM_ADD_CATEGORY, false}, {IDM_DELETE_CATEGORY, true}, {IDM_RESTORE, false}});
  EXPECT_TRUE(Greyed(menu, IDM_ADD_CATEGORY));
  EXPECT_FALSE(Greyed(menu, IDM_DELETE_CATEGORY));
  EXPECT_TRUE(Greyed(menu, IDM_RESTORE));  // a menu item without a button
  EXPECT_FALSE(toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(IDM_DELETE_CATEGORY));

  ApplyCommandStates(menu, &toolbar_, {{IDM_ADD_CATEGORY, true}, {IDM_DELETE_CATEGORY, false}});
  EXPECT_FALSE(Greyed(menu, IDM_ADD_CATEGORY));
  EXPECT_TRUE(Greyed(menu, IDM_DELETE_CATEGORY));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(IDM_DELETE_CATEGORY));

  ApplyCommandStates(nullptr, &toolbar_, {{IDM_ADD_CATEGORY, false}, {IDM_ADD_DIARY, false}});
  EXPECT_FALSE(Greyed(menu, IDM_ADD_CATEGORY));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(IDM_ADD_DIARY));

  toolbar_.EnableButton(IDM_ADD_CATEGORY, true);
  ApplyCommandStates(menu, nullptr, {{IDM_ADD_CATEGORY, false}});
  EXPECT_TRUE(Greyed(menu, IDM_ADD_CATEGORY));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY));
  DestroyMenu(menu);
}

}  // namespace
}  // namespace view_test
