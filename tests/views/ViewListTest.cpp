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

using Texts = std::vector<WString>;

RECT PlaceIn(const DAVavador::ERWindow& control, HWND parent) {
  RECT rect;
  GetWindowRect(control.Window(), &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST_F(ViewTest, CreateMakesTheControlsFillsTheLetterSelectorAndLayoutPlacesThem) {
  ASSERT_TRUE(created_);
  const HWND tabs = tabs_.Window();
  for (const DAVavador::ERWindow* control : std::initializer_list<const DAVavador::ERWindow*>{
           &view_.categoryCombo, &view_.letterCombo, &view_.List(), &view_.categoryLabel, &view_.letterLabel})
    EXPECT_EQ(GetParent(control->Window()), tabs);
  EXPECT_EQ((std::vector{GetDlgCtrlID(view_.categoryCombo.Window()), GetDlgCtrlID(view_.letterCombo.Window()),
                         GetDlgCtrlID(view_.List().Window())}),
            (std::vector{2100, 2101, 2102}));
  EXPECT_EQ((Texts{WindowText(view_.categoryLabel.Window()), WindowText(view_.letterLabel.Window())}),
            (Texts{L"Category:", L"Starts with:"}));
  EXPECT_NE(GetWindowLongPtrW(view_.letterLabel.Window(), GWL_STYLE) & WS_VISIBLE, 0);

  // "--All--", then the alphabet by its position.
  std::vector<std::pair<WString, LPARAM>> letters;
  for (const int row : {0, 1, 26})
    letters.emplace_back(view_.letterCombo.ItemText(row), view_.letterCombo.ItemData(row));
  EXPECT_EQ(letters, (std::vector<std::pair<WString, LPARAM>>{{L"--All--", 0}, {L"A", 1}, {L"Z", 26}}));
  EXPECT_EQ(std::tuple(view_.letterCombo.Count(), view_.letterCombo.Selection()), std::tuple(27, 0));

  LayOut();
  const RECT category = PlaceIn(view_.categoryCombo, tabs);
  EXPECT_EQ((std::vector<LONG>{category.left, category.top, category.right - category.left}),
            (std::vector<LONG>{77, 32, 200}));
  const RECT list = PlaceIn(view_.List(), tabs);  // below the selectors
  EXPECT_EQ((std::vector<LONG>{list.left, list.top, list.right, list.bottom, view_.picturePane.Box().left,
                               view_.picturePane.Box().bottom}),
            (std::vector<LONG>{10, 63, 710, 433, 700, 300}));
  view_.InstallMenu();
  EXPECT_EQ(GetMenu(main_), view_.Menu());
}

int Automatic(const TestView& view, int n) {
  const int room = view.List().Width() - GetSystemMetrics(SM_CXVSCROLL);
  return std::max<int>(View::kMinAutomaticWidth, (room - n) / n);
}

std::vector<int> Widths(const TestView& view) {
  std::vector<int> widths;
  for (int i = 0; i < view.List().ColumnCount(); ++i) widths.push_back(view.List().ColumnWidth(i));
  return widths;
}

TEST_F(ViewTest, StoredWidthsAreKeptMissingOrOutOfRangeOnesShareTheListTheCatalogNamesTheColumns) {
  LayOut();
  view_.BuildColumns();  // the defaults
  const int third = Automatic(view_, 3);
  EXPECT_EQ(Widths(view_), (std::vector{third, third, third}));
  EXPECT_EQ(view_.columnWidths[30], third);

  view_.columns = {31, 0, 5};
  view_.columnWidths = {-1, 4000};  // identifier 5 and 31 lie beyond the stored widths
  view_.BuildColumns();
  EXPECT_EQ(Widths(view_), (std::vector{0, third, 0}));
  ASSERT_EQ(view_.columnWidths.size(), 32u);
  EXPECT_EQ(view_.columnWidths[1], 4000);

  view_.columns = {1};
  view_.columnWidths[1] = 5000;
  view_.BuildColumns();
  EXPECT_EQ(Widths(view_), std::vector{Automatic(view_, 1)});  // the columns beyond are deleted
  EXPECT_EQ(view_.columnWidths[1], Automatic(view_, 1));

  // A narrow list keeps its columns wide enough to read and scrolls sideways.
  view_.columns = {0, 1, 2};
  view_.columnWidths.assign(3, -1);
  view_.List().Move(0, 0, 200, 100);
  view_.BuildColumns();
  EXPECT_EQ(Widths(view_), (std::vector<int>(3, View::kMinAutomaticWidth)));
  LayOut();

  // The catalog's VIEW element names the columns; the captions come from the first caption string.
  ASSERT_TRUE(
      FileHandle(CatalogPath())
          .WriteAllText(L"<TESTLIST>\r\n<VIEW>\r\n<COLS>30,0</COLS>\r\n<COLWIDTHS>-1,80</COLWIDTHS>\r\n"
                        L"</VIEW>\r\n</TESTLIST>\r\n"));
  ASSERT_TRUE(view_.OpenCatalog(CatalogPath(), false, 0, 100, nullptr));
  view_.BuildColumns();
  EXPECT_EQ(Widths(view_), (std::vector{0, Automatic(view_, 2)}));  // no stored width for identifier 30
  EXPECT_EQ(view_.List().SortKindOf(1), DAVavador::SortKind::Number);

  view_.columns = {30, 1};
  view_.BuildColumns();
  wchar_t text[64] = {};
  HDITEMW item = {HDI_TEXT};
  item.pszText = text;
  item.cchTextMax = 64;
  Header_GetItem(ListView_GetHeader(view_.List().Window()), 1, &item);
  EXPECT_EQ(WString(text), app_.String(5101));
  EXPECT_FALSE(WString(text).empty());
}

TEST_F(ViewTest, ClicksSortNumbersByValueTextsByTextASecondClickReversesAndFillsKeepTheSort) {
  view_.records = {{0, L"b", L"10"}, {0, L"c", L"9"}, {0, L"a", L"100"}};
  view_.columns = {30, 0};
  view_.BuildColumns();
  view_.FillList();
  view_.modified = false;
  view_.SortByColumn(1);
  EXPECT_EQ(std::tuple(view_.sortColumn, view_.sortReverse, view_.modified), std::tuple(1, false, true));
  EXPECT_EQ(Column(1), (Texts{L"9", L"10", L"100"}));  // the click itself sorts the shown rows
  view_.SortByColumn(1);
  EXPECT_TRUE(view_.sortReverse);
  view_.FillList();
  EXPECT_EQ(Column(1), (Texts{L"100", L"10", L"9"}));
  view_.SortByColumn(0);
  EXPECT_EQ(std::tuple(view_.sortColumn, view_.sortReverse), std::tuple(0, false));
  EXPECT_EQ(Column(0), (Texts{L"a", L"b", L"c"}));
  view_.records = {{0, L"10", L""}, {0, L"9", L""}, {0, L"100", L""}};  // the numbers as texts
  view_.FillList();
  EXPECT_EQ(Column(0), (Texts{L"10", L"100", L"9"}));
}

TEST_F(ViewTest, MoreThanTwoHundredFiftyMatchingRowsFillBehindTheProgressWindow) {
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
    EXPECT_EQ(std::tuple(dialogs.Opened(IDD_PROGRESS) - opened, view_.List().ItemCount(), view_.workerMode,
                         view_.List().ItemText(0, 0)),
              std::tuple(row.progress, static_cast<int>(row.matching), false, L"Item 0"));
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

// The letter and then the category: each is stored, refills the list and counts it in the status
// bar; the category also sets the category commands, which a read-only catalog greys.
TEST_F(ViewTest, ChoosingALetterOrACategoryStoresItRefillsAndSetsTheStatusAndTheCategoryCommands) {
  view_.readOnly = false;
  view_.categories->Add(L"Fruit", 4);
  view_.categories->Add(L"Bread", 5);
  view_.FillCategorySelector();
  view_.records = {{4, L"banana", L""}, {5, L"Bread", L""}, {4, L"apple", L""}};
  view_.BuildColumns();
  view_.FillList();
  view_.letterCombo.Select(2);
  const WPARAM change = MAKEWPARAM(2101, CBN_SELCHANGE);
  EXPECT_TRUE(view_.HandleCommand(change, reinterpret_cast<LPARAM>(view_.letterCombo.Window()), nullptr));
  EXPECT_EQ(std::tuple(view_.selectedLetter, view_.modified, view_.List().ItemCount(), status_.Text(0)),
            std::tuple(2u, true, 2, L"Ingredients: 2"));  // the tab's caption under "--All--"
  // Another view's selector with the same identifier is not this view's business.
  EXPECT_FALSE(view_.HandleCommand(change, reinterpret_cast<LPARAM>(tabs_.Window()), nullptr));
  const int fills = view_.fills;

  view_.categoryCombo.Select(2);  // "--All--", "Bread", "Fruit"
  const HMENU menu = view_.Menu();
  view_.HandleCommand(MAKEWPARAM(2100, CBN_SELCHANGE), reinterpret_cast<LPARAM>(view_.categoryCombo.Window()),
                      menu);
  EXPECT_EQ(std::tuple(view_.selectedCategory, view_.fills, view_.List().ItemCount()),
            std::tuple(4u, fills + 1, 1));
  EXPECT_EQ((Texts{status_.Text(0), status_.Text(1)}), (Texts{L"Fruit: 1", L""}));
  EXPECT_EQ(std::tuple(Greyed(menu, 1002), toolbar_.IsButtonEnabled(1003), toolbar_.IsButtonEnabled(1101)),
            std::tuple(false, true, false));

  // The same selection again changes nothing; "--All--" greys the edit and delete commands.
  view_.UpdateCategoryMenu(menu);
  EXPECT_EQ(view_.fills, fills + 1);
  view_.categoryCombo.Select(0);
  view_.UpdateCategoryMenu(menu);
  EXPECT_EQ(std::tuple(Greyed(menu, 1002), Greyed(menu, 1001), toolbar_.IsButtonEnabled(1003),
                       toolbar_.IsButtonEnabled(1001)),
            std::tuple(true, false, false, true));

  view_.readOnly = true;
  view_.UpdateCategoryMenu(menu);
  for (UINT command : {1001u, 1002u, 1003u}) EXPECT_TRUE(Greyed(menu, command)) << command;
  EXPECT_FALSE(toolbar_.IsButtonEnabled(1001));
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
  EXPECT_TRUE(view_.categories->Entries().Empty());
  EXPECT_EQ(std::tuple(view_.List().ItemCount(), view_.categoryCombo.Count(), view_.sortColumn,
                       view_.sortReverse, view_.filterCategoryId),
            std::tuple(0, 1, 0, false, 0u));
}

// A list without rows says in grey what to do first, and announces it as its window text; not
// while a find text or a letter is what leaves it empty. Deleting the last row brings it back.
TEST_F(ViewTest, AnEmptyListAnnouncesWhatToDoFirstUnlessTheFindTextOrTheLetterEmptiedIt) {
  const WString hint = app_.String(IDS_VIEW_EMPTY_FIRST + view_.ViewIndex());
  ASSERT_FALSE(hint.empty());
  const auto announced = [this] { return WindowText(view_.List().Window()); };
  view_.BuildColumns();
  const struct {
    size_t records;
    const wchar_t* find;
    uint32_t letter;
    bool hinted;
  } cases[] = {{0, L"", 0, true},    {2, L"", 0, false}, {2, L"zz", 0, false},
               {0, L"zz", 0, false}, {0, L"", 2, false}, {0, L"", 0, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.records << " " << ToUtf8(c.find) << " " << c.letter);
    view_.records.clear();
    AddRecords(c.records);
    view_.selectedLetter = c.letter;
    view_.FillList();
    SetWindowTextW(view_.FindBox(), c.find);
    view_.HandleCommand(MAKEWPARAM(IDC_VIEW_FIND, EN_CHANGE), reinterpret_cast<LPARAM>(view_.FindBox()),
                        nullptr);
    EXPECT_EQ(announced(), c.hinted ? hint : WString());
  }
  AddRecords(1);
  view_.FillList();
  EXPECT_EQ(announced(), L"");
  view_.List().DeleteItem(0);
  EXPECT_EQ(announced(), hint);
}

// Menu items and toolbar buttons follow the same flags; a missing menu or toolbar is left alone.
TEST_F(ViewTest, CommandStatesSetTheMenuItemsAndTheButtonsThereAre) {
  const HMENU menu = CreatePopupMenu();
  for (const UINT command : {IDM_ADD_CATEGORY, IDM_DELETE_CATEGORY, IDM_RESTORE})
    AppendMenuW(menu, MF_STRING, command, L"Command");
  const auto states = [&] {
    return std::vector{Greyed(menu, IDM_ADD_CATEGORY),
                       Greyed(menu, IDM_DELETE_CATEGORY),
                       Greyed(menu, IDM_RESTORE),
                       toolbar_.IsButtonEnabled(IDM_ADD_CATEGORY),
                       toolbar_.IsButtonEnabled(IDM_DELETE_CATEGORY),
                       toolbar_.IsButtonEnabled(IDM_ADD_DIARY)};
  };
  // Greyed: add, delete, restore (a menu item without a button); enabled: add, delete, diary.
  ApplyCommandStates(menu, &toolbar_,
                     {{IDM_ADD_CATEGORY, false}, {IDM_DELETE_CATEGORY, true}, {IDM_RESTORE, false}});
  EXPECT_EQ(states(), (std::vector{true, false, true, false, true, true}));
  ApplyCommandStates(nullptr, &toolbar_, {{IDM_ADD_CATEGORY, true}, {IDM_ADD_DIARY, false}});
  EXPECT_EQ(states(), (std::vector{true, false, true, true, true, false}));
  ApplyCommandStates(menu, nullptr, {{IDM_ADD_CATEGORY, true}, {IDM_DELETE_CATEGORY, false}});
  EXPECT_EQ(states(), (std::vector{false, true, true, true, true, false}));
  DestroyMenu(menu);
}

}  // namespace
}  // namespace view_test
