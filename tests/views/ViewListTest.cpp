// The view's controls and list under Wine: placement in the tab control, columns built from the
// settings, sorting, the fill rule with its progress-window threshold, the filters and the status.
#include <windows.h>

#include <commctrl.h>

#include "ViewTestSupport.h"
#include "food/CategoryList.h"
#include "resource.h"

namespace view_test {
namespace {

RECT PlaceIn(HWND window, HWND parent) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(ViewTest, CreatePlacesTheControlsInTheTabControl) {
  ASSERT_TRUE(created_);
  const HWND tabs = tabs_.Window();
  for (HWND control : {view_.categoryCombo.Window(), view_.letterCombo.Window(), view_.List().Window(),
                       view_.categoryLabel.Window(), view_.letterLabel.Window()})
    EXPECT_EQ(GetParent(control), tabs);
  EXPECT_EQ(GetDlgCtrlID(view_.categoryCombo.Window()), 2100);
  EXPECT_EQ(GetDlgCtrlID(view_.letterCombo.Window()), 2101);
  EXPECT_EQ(GetDlgCtrlID(view_.List().Window()), 2102);

  const RECT category = PlaceIn(view_.categoryCombo.Window(), tabs);
  EXPECT_EQ(category.left, 77);
  EXPECT_EQ(category.top, 32);
  EXPECT_EQ(category.right - category.left, 200);
  const RECT letter = PlaceIn(view_.letterCombo.Window(), tabs);
  EXPECT_EQ(letter.left, 376);
  EXPECT_EQ(letter.right - letter.left, 60);
  const RECT label = PlaceIn(view_.letterLabel.Window(), tabs);
  EXPECT_EQ(label.left, 290);
  EXPECT_EQ(label.top, 35);
  EXPECT_EQ(WindowText(view_.categoryLabel.Window()), L"Category:");
  EXPECT_EQ(WindowText(view_.letterLabel.Window()), L"Starts with:");
  for (const DAVavador::ERWindow* control : {static_cast<DAVavador::ERWindow*>(&view_.categoryLabel),
                                             static_cast<DAVavador::ERWindow*>(&view_.letterLabel)})
    EXPECT_NE(GetWindowLongPtrW(control->Window(), GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(ViewTest, LetterSelectorHoldsAllThenTheAlphabet) {
  ASSERT_EQ(view_.letterCombo.Count(), 27);
  EXPECT_EQ(view_.letterCombo.ItemText(0), L"--All--");
  EXPECT_EQ(view_.letterCombo.ItemData(0), 0);
  EXPECT_EQ(view_.letterCombo.ItemText(1), L"A");
  EXPECT_EQ(view_.letterCombo.ItemData(1), 1);
  EXPECT_EQ(view_.letterCombo.ItemText(26), L"Z");
  EXPECT_EQ(view_.letterCombo.ItemData(26), 26);
  EXPECT_EQ(view_.letterCombo.Selection(), 0);
}

TEST_F(ViewTest, LayoutGivesTheListTheRectangleBelowTheSelectors) {
  view_.Layout(RECT{10, 33, 710, 433}, RECT{700, 70, 880, 300});
  const RECT list = PlaceIn(view_.List().Window(), tabs_.Window());
  EXPECT_EQ(list.left, 10);
  EXPECT_EQ(list.top, 63);
  EXPECT_EQ(list.right, 710);
  EXPECT_EQ(list.bottom, 433);
  EXPECT_EQ(view_.picturePane.Box().left, 700);
  EXPECT_EQ(view_.picturePane.Box().bottom, 300);
}

class ColumnsTest : public ViewTest {
 protected:
  ColumnsTest() { view_.Layout(RECT{10, 33, 710, 433}, RECT{700, 70, 880, 300}); }
  int Automatic(int n) const { return (view_.List().Width() - n) / n; }
};

TEST_F(ColumnsTest, BuildsTheDefaultColumnsWithAutomaticWidths) {
  view_.BuildColumns();
  ASSERT_EQ(view_.List().ColumnCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(view_.List().ColumnWidth(i), Automatic(3)) << i;
  EXPECT_EQ(view_.List().SortKindOf(0), DAVavador::SortKind::Text);    // 30 name
  EXPECT_EQ(view_.List().SortKindOf(2), DAVavador::SortKind::Number);  // 0 calories
  EXPECT_EQ(view_.columnWidths[30], Automatic(3));
}

TEST_F(ColumnsTest, RepairsMissingAndOutOfRangeWidths) {
  view_.columns = {31, 0, 5};
  view_.columnWidths = {-1, 4000};  // identifier 5 and 31 lie beyond the stored widths
  view_.BuildColumns();
  ASSERT_EQ(view_.List().ColumnCount(), 3);
  EXPECT_EQ(view_.List().ColumnWidth(0), 0);
  EXPECT_EQ(view_.List().ColumnWidth(1), Automatic(3));
  EXPECT_EQ(view_.List().ColumnWidth(2), 0);
  ASSERT_EQ(view_.columnWidths.size(), 32u);
  EXPECT_EQ(view_.columnWidths[1], 4000);

  view_.columns = {1};
  view_.columnWidths[1] = 5000;
  view_.BuildColumns();
  EXPECT_EQ(view_.List().ColumnCount(), 1);  // the columns beyond are deleted
  EXPECT_EQ(view_.List().ColumnWidth(0), Automatic(1));
}

TEST_F(ColumnsTest, BuildsTheColumnsTheCatalogsViewElementNames) {
  ASSERT_TRUE(
      FileHandle(CatalogPath())
          .WriteAllText(L"<TESTLIST>\r\n<VIEW>\r\n<COLS>30,0</COLS>\r\n<COLWIDTHS>-1,80</COLWIDTHS>\r\n"
                        L"</VIEW>\r\n</TESTLIST>\r\n"));
  ASSERT_TRUE(view_.OpenCatalog(CatalogPath(), false, 0, 100, nullptr));
  view_.BuildColumns();
  ASSERT_EQ(view_.List().ColumnCount(), 2);
  EXPECT_EQ(view_.List().ColumnWidth(0), 0);  // no stored width for identifier 30
  EXPECT_EQ(view_.List().ColumnWidth(1), Automatic(2));
  EXPECT_EQ(view_.List().SortKindOf(1), DAVavador::SortKind::Number);
}

TEST_F(ColumnsTest, CaptionsComeFromTheFirstCaptionString) {
  view_.columns = {30, 1};
  view_.BuildColumns();
  HWND header = ListView_GetHeader(view_.List().Window());
  wchar_t text[64] = {};
  HDITEMW item = {};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  Header_GetItem(header, 1, &item);
  EXPECT_EQ(WString(text), app_.String(5101));
  EXPECT_FALSE(WString(text).empty());
}

class SortTest : public ColumnsTest {
 protected:
  SortTest() {
    view_.records = {{0, L"b", L"10"}, {0, L"c", L"9"}, {0, L"a", L"100"}};
    view_.columns = {30, 0};
    view_.BuildColumns();
    view_.FillList();
  }
};

TEST_F(SortTest, NumberColumnsSortByValueTextColumnsByText) {
  view_.SortByColumn(1);
  EXPECT_EQ(Column(1), (std::vector<WString>{L"9", L"10", L"100"}));
  // The same texts in a text column.
  view_.records = {{0, L"10", L""}, {0, L"9", L""}, {0, L"100", L""}};
  view_.SortByColumn(0);
  view_.FillList();
  EXPECT_EQ(Column(0), (std::vector<WString>{L"10", L"100", L"9"}));
}

TEST_F(SortTest, ASecondClickReversesAnotherColumnStartsAscending) {
  view_.modified = false;
  view_.SortByColumn(1);
  EXPECT_EQ(view_.sortColumn, 1);
  EXPECT_FALSE(view_.sortReverse);
  EXPECT_TRUE(view_.modified);
  view_.SortByColumn(1);
  EXPECT_TRUE(view_.sortReverse);
  EXPECT_EQ(Column(1), (std::vector<WString>{L"100", L"10", L"9"}));
  view_.SortByColumn(0);
  EXPECT_EQ(view_.sortColumn, 0);
  EXPECT_FALSE(view_.sortReverse);
  EXPECT_EQ(Column(0), (std::vector<WString>{L"a", L"b", L"c"}));
}

TEST_F(SortTest, FillAppliesTheStoredSort) {
  view_.sortColumn = 1;
  view_.sortReverse = true;
  view_.FillList();
  EXPECT_EQ(Column(1), (std::vector<WString>{L"100", L"10", L"9"}));
}

class FillTest : public ColumnsTest {
 protected:
  FillTest() { view_.BuildColumns(); }
  DialogScripts dialogs_;
};

TEST_F(FillTest, TwoHundredFiftyRowsFillWithoutTheProgressWindow) {
  AddRecords(250);
  view_.FillList();
  EXPECT_EQ(dialogs_.Opened(IDD_PROGRESS), 0);
  EXPECT_EQ(view_.List().ItemCount(), 250);
}

TEST_F(FillTest, TwoHundredFiftyOneRowsFillBehindTheProgressWindow) {
  AddRecords(251);
  view_.FillList();
  EXPECT_EQ(dialogs_.Opened(IDD_PROGRESS), 1);
  EXPECT_EQ(view_.List().ItemCount(), 251);
  EXPECT_FALSE(view_.workerMode);
  EXPECT_EQ(view_.List().ItemText(0, 0), L"Item 0");
}

TEST_F(FillTest, TheThresholdCountsOnlyMatchingRecords) {
  AddRecords(300, 7);
  AddRecords(10, 8);
  view_.selectedCategory = 8;
  view_.FillList();
  EXPECT_EQ(dialogs_.Opened(IDD_PROGRESS), 0);
  EXPECT_EQ(view_.List().ItemCount(), 10);
}

TEST_F(ViewTest, FilterByCategoryAndFirstLetter) {
  view_.selectedLetter = 2;  // "B"
  EXPECT_TRUE(view_.MatchesFilter(3, L"banana"));
  EXPECT_TRUE(view_.MatchesFilter(4, L"Bread"));
  EXPECT_FALSE(view_.MatchesFilter(3, L"apple"));
  EXPECT_FALSE(view_.MatchesFilter(3, L""));
  view_.selectedCategory = 3;
  EXPECT_TRUE(view_.MatchesFilter(3, L"banana"));
  EXPECT_FALSE(view_.MatchesFilter(4, L"Bread"));
  view_.selectedLetter = 0;
  EXPECT_TRUE(view_.MatchesFilter(3, L"apple"));
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

TEST_F(ViewTest, ChoosingACategoryStoresItRefillsAndSetsTheCategoryCommands) {
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
  EXPECT_EQ(GetMenuState(menu, 1002, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_TRUE(toolbar_.IsButtonEnabled(1003));
  EXPECT_FALSE(toolbar_.IsButtonEnabled(1101));

  // The same selection again changes nothing; "--All--" greys the edit and delete commands.
  view_.UpdateCategoryMenu(menu);
  EXPECT_EQ(view_.fills, fills + 1);
  view_.categoryCombo.Select(0);
  view_.UpdateCategoryMenu(menu);
  EXPECT_NE(GetMenuState(menu, 1002, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(GetMenuState(menu, 1001, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_FALSE(toolbar_.IsButtonEnabled(1003));
  EXPECT_TRUE(toolbar_.IsButtonEnabled(1001));
}

TEST_F(ViewTest, ReadOnlyGreysEveryCategoryCommand) {
  view_.readOnly = true;
  view_.UpdateCategoryMenu(view_.Menu());
  for (UINT command : {1001u, 1002u, 1003u})
    EXPECT_NE(GetMenuState(view_.Menu(), command, MF_BYCOMMAND) & MF_GRAYED, 0u) << command;
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

TEST_F(ViewTest, InstallMenuPutsTheViewsMenuOnTheMainWindow) {
  view_.InstallMenu();
  EXPECT_EQ(GetMenu(main_), view_.Menu());
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

}  // namespace
}  // namespace view_test
