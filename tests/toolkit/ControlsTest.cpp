// The control wrappers: list view columns, items and sorting; the combo box over its
// named-id list.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <tuple>

#include "ToolkitTestSupport.h"
#include "toolkit/ERComboBox.h"
#include "toolkit/ERListView.h"

using namespace DAVavador;
using toolkit_test::RecordingWindow;

namespace {

// A list over rows of cells: column 0 holds the name, column 1 a value.
class ListViewTest : public testing::Test {
 protected:
  using Cells = std::vector<WString>;

  void SetUp() override {
    ASSERT_TRUE(list.CreateAt(parent.Handle(), 2102, 0, 0, 300, 200));
    list.SetSources([](const void* row, int column) { return (*static_cast<const Cells*>(row))[column]; },
                    [](const void* row) { return WStringView((*static_cast<const Cells*>(row))[0]); });
    list.InsertColumn(0, L"Name", 100);
    list.InsertColumn(1, L"Calories", 80, LVCFMT_LEFT, SortKind::Number);
  }

  // Rows named "row0".. (or by `names`) with the values; row n carries data n.
  void AddRows(std::initializer_list<const wchar_t*> values, std::vector<WString> names = {}) {
    for (const wchar_t* value : values) {
      const size_t n = rows.size();
      rows.push_back({n < names.size() ? names[n] : L"row" + std::to_wstring(n), value});
    }
    std::vector<ERListView::Row> shown;
    for (size_t n = 0; n < rows.size(); ++n) shown.push_back({static_cast<LPARAM>(n), &rows[n]});
    list.SetRows(std::move(shown));
  }

  std::vector<WString> Column(int column) const {
    std::vector<WString> texts;
    for (int i = 0; i < list.ItemCount(); ++i) texts.push_back(list.ItemText(i, column));
    return texts;
  }

  // What the control itself shows (it asks for the texts as it paints).
  WString Painted(int item, int column) const {
    wchar_t text[64] = {};
    ListView_GetItemText(list.Window(), item, column, text, 64);
    return text;
  }
  // The rows of the wrapper and of the control.
  std::pair<int, int> Counts() const { return {list.ItemCount(), ListView_GetItemCount(list.Window())}; }

  RecordingWindow parent;
  ERListView list;
  std::deque<Cells> rows;  // rows stay where they are as more come
};

TEST_F(ListViewTest, SetColumnChangesOrInsertsDeleteRemovesItsSortKindAndAttachSetsTheStyles) {
  EXPECT_TRUE(list.SetColumn(0, L"Date", 90));
  EXPECT_TRUE(list.SetColumn(2, L"Fat", 60, LVCFMT_LEFT, SortKind::Number));
  EXPECT_EQ(std::make_tuple(3, 90, SortKind::Number),
            std::make_tuple(list.ColumnCount(), list.ColumnWidth(0), list.SortKindOf(1)));
  list.DeleteColumn(0);
  EXPECT_EQ(std::make_tuple(2, SortKind::Number, SortKind::Text),
            std::make_tuple(list.ColumnCount(), list.SortKindOf(0), list.SortKindOf(7)));
  HWND other = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_OWNERDATA, 0, 0, 100, 100,
                               parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ERListView attached;
  attached.Attach(other);
  EXPECT_TRUE(attached.Send(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT);
  attached.Detach();
  DestroyWindow(other);
}

TEST_F(ListViewTest, RowsShowTheirRecordsTextsAsTheControlAsksForThemUnlessFrozen) {
  AddRows({L"10", L"9"});
  EXPECT_EQ(std::make_pair(2, 2), Counts());
  EXPECT_EQ(std::make_tuple(WString(L"row1"), WString(L"9"), LPARAM{1}, static_cast<const void*>(&rows[1])),
            std::make_tuple(list.ItemText(1, 0), Painted(1, 1), list.ItemData(1), list.ItemRecord(1)));
  EXPECT_EQ(-1, list.FindItem(78));
  rows[0][1] = WString(3000, L'x');
  list.UpdateItem(0);
  EXPECT_EQ(rows[0][1], list.ItemText(0, 1)) << "a long cell is read whole";
  EXPECT_EQ(WString(63, L'x'), Painted(0, 1)) << "the control gets what fits its buffer";
  // A frozen list paints only the texts it holds.
  ShowWindow(parent.Handle(), SW_SHOW);
  UpdateWindow(list.Window());  // the control asks for what it paints
  list.Freeze(true);
  rows[1][0] = L"changed meanwhile";
  EXPECT_EQ(L"row1", Painted(1, 0)) << "the text painted before";
  list.Freeze(false);
  list.UpdateItem(1);
  EXPECT_EQ(L"changed meanwhile", Painted(1, 0));
  rows.push_back({L"row2", L"1"});
  EXPECT_EQ(2, list.AddItem(2, &rows[2]));
  list.DeleteItem(0);
  EXPECT_EQ((std::vector<WString>{L"changed meanwhile", L"row2"}), Column(0));
  list.DeleteAllItems();
  EXPECT_EQ(std::make_pair(0, 0), Counts());
}

// Reversed sorts and numbers in a text column are sorted by the views' clicks (ViewTest). A sort
// keeps the selection on its records, and without one tells the parent nothing.
TEST_F(ListViewTest, NumberColumnSortsByValueTextColumnByTextIgnoringCaseOverItsStartKeepingTheSelection) {
  AddRows({L"10", L"9", L"100", L"2.5"}, {L"bread", L"Apple", L"banana", L"apple pie"});
  int changes = 0;
  parent.onNotify = [&changes](const NMHDR* header, LRESULT&) {
    changes += header->code == LVN_ITEMCHANGED;
    return false;
  };
  list.Sort(1, false);
  EXPECT_EQ(0, changes) << "a parent that follows the selection hears nothing of a sort";
  parent.onNotify = nullptr;
  EXPECT_EQ((std::vector<WString>{L"2.5", L"9", L"10", L"100"}), Column(1));
  list.Select(3);  // "100"
  list.Sort(0, false);
  EXPECT_EQ((std::vector<WString>{L"Apple", L"apple pie", L"banana", L"bread"}), Column(0));
  EXPECT_EQ((std::vector<WString>{L"9", L"2.5", L"100", L"10"}), Column(1)) << "rows move whole";
  EXPECT_EQ(std::make_pair(std::vector<int>{2}, 2),
            std::make_pair(list.SelectedItems(), list.FocusedOfOne()));
  // Texts compare over their first 1024 characters only; ties keep their order either way.
  list.DeleteAllItems();
  rows.clear();
  const WString common(ERListView::kSortTextLength, L'a');
  AddRows({L"1", L"2", L"3"}, {common + L"z", common + L"b", L"b"});
  list.Sort(0, false);
  EXPECT_EQ((std::vector<WString>{L"1", L"2", L"3"}), Column(1));
  list.Sort(0, true);
  EXPECT_EQ((std::vector<WString>{L"3", L"1", L"2"}), Column(1));
}

TEST_F(ListViewTest, FindTextShowsTheRowsWhoseNameHoldsItInAnyCase) {
  AddRows({L"1", L"2", L"3", L"4"}, {L"Crème brûlée", L"Bread", L"CRÈME fraîche", L"Cream"});
  list.Select(3);
  list.SetFilter(L"crè");
  EXPECT_EQ((std::vector<WString>{L"Crème brûlée", L"CRÈME fraîche"}), Column(0));
  EXPECT_EQ(std::make_pair(2, 2), Counts());
  EXPECT_EQ(0, list.SelectedCount()) << "the selected row is not on show";
  EXPECT_EQ(2, list.FindItem(2) + 1);
  rows.push_back({L"Toast", L"5"});
  EXPECT_EQ(-1, list.AddItem(4, &rows[4])) << "a row the text hides";
  rows.push_back({L"crème anglaise", L"6"});
  EXPECT_EQ(2, list.AddItem(5, &rows[5]));
  list.Select(1);
  list.SetFilter(L"");
  EXPECT_EQ(6, list.ItemCount());
  EXPECT_EQ(std::vector<int>{2}, list.SelectedItems()) << "the selection stays on its record";
}

// A deleted row's selection goes with it, a later row's moves with the row; the gaps the deletes
// leave are closed for the next sort and find.
TEST_F(ListViewTest, DeletedRowsTakeTheirSelectionAndLeaveTheOthersForSortAndFind) {
  AddRows({L"5", L"1", L"4", L"2", L"3", L"6"}, {L"e", L"a", L"d", L"b", L"c", L"f"});
  list.Select(2, true);
  list.Select(3, true);
  for (int item : {4, 2, 0}) list.DeleteItem(item);
  EXPECT_EQ((std::vector<WString>{L"1", L"2", L"6"}), Column(1));
  EXPECT_EQ(std::vector<int>{1}, list.SelectedItems());
  rows.push_back({L"g", L"0"});
  EXPECT_EQ(3, list.AddItem(6, &rows[6]));
  list.Sort(1, false);
  EXPECT_EQ((std::vector<WString>{L"0", L"1", L"2", L"6"}), Column(1));
  EXPECT_EQ(2, list.FindItem(3));
  list.SetFilter(L"f");
  EXPECT_EQ(std::vector<WString>{L"6"}, Column(1));
}

// A record's rows go with it even while the find text hides them, and a selection of every row
// does not pass to other rows the find text shows.
TEST_F(ListViewTest, RowsTheFindTextHidesAreDeletedWithTheirRecordsAndLoseTheirSelection) {
  AddRows({L"1", L"2", L"3", L"4", L"5"}, {L"ab", L"abc", L"cd", L"cde", L"x"});
  list.SetFilter(L"ab");
  list.SelectAll();
  list.DeleteRecord(&rows[2]);  // hidden
  list.DeleteRecord(&rows[1]);  // shown
  EXPECT_EQ(std::vector<WString>{L"ab"}, Column(0));
  list.SetFilter(L"cd");
  EXPECT_EQ(0, list.SelectedCount());
  list.SetFilter(L"");
  EXPECT_EQ((std::vector<WString>{L"ab", L"cde", L"x"}), Column(0));
  EXPECT_EQ(0, list.SelectedCount()) << "rows the find text hid are no longer selected";
}

TEST_F(ListViewTest, TypingLettersInTheListMovesToTheRowNamedSo) {
  AddRows({L"1", L"2", L"3"}, {L"Apple", L"Bread", L"Butter"});
  SetFocus(list.Window());
  SendMessageW(list.Window(), WM_CHAR, L'b', 1);  // a key pressed once
  EXPECT_EQ(1, static_cast<int>(list.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
  SendMessageW(list.Window(), WM_CHAR, L'u', 1);
  EXPECT_EQ(2, static_cast<int>(list.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

class ComboTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(combo.CreateAt(parent.Handle(), 2100, 77, 32, 200, 300)); }

  std::vector<WString> Shown() const {
    std::vector<WString> texts;
    for (int i = 0; i < combo.Count(); ++i) texts.push_back(combo.ItemText(i));
    return texts;
  }

  RecordingWindow parent;
  ERComboBox combo;
};

}  // namespace

// Sorted adds are placed in the list and the combo alike; an add without showing stays in the list.
// Deleting the selection takes it out of both; with "--All--" selected there is nothing to delete.
TEST_F(ComboTest, SortedAddsArePlacedInListAndComboAlikeAndDeletesTakeTheSelectionFromBoth) {
  EXPECT_TRUE(combo.Add(L"Dairy", 1, true));
  EXPECT_TRUE(combo.Add(L"Vegetables", 2, true));
  EXPECT_TRUE(combo.Add(L"Fruit", 3, true));
  EXPECT_EQ(std::vector<WString>({L"Dairy", L"Fruit", L"Vegetables"}), Shown());
  EXPECT_EQ(std::make_pair(3u, LPARAM{3}), std::make_pair(combo.SelectedId(), combo.ItemData(1)));
  EXPECT_FALSE(combo.Add(L"fruit", 4, true));  // the same name ignoring case
  EXPECT_TRUE(combo.Add(L"Meat", 5, false));
  // Shown are still three, the third selected; the list holds four.
  EXPECT_EQ(std::make_tuple(3, 5u, 3u, size_t{4}), std::make_tuple(combo.Count(), combo.IdByName(L"MEAT"),
                                                                   combo.SelectedId(), combo.List().Count()));
  combo.SelectById(1);
  combo.DeleteSelected();
  EXPECT_EQ(std::vector<WString>({L"Fruit", L"Vegetables"}), Shown());
  EXPECT_EQ(nullptr, combo.NameById(1));
  combo.Fill(0, HeaderPosition::Top);
  combo.DeleteSelected();
  EXPECT_EQ(std::make_pair(size_t{3}, 4), std::make_pair(combo.List().Count(), combo.Count()));
}

TEST_F(ComboTest, FillWithTheHeaderOnTopShiftsTheIndexes) {
  combo.Add(L"Dairy", 5, false);
  combo.Add(L"Fruit", 9, false);
  combo.Fill(5, HeaderPosition::Top);
  EXPECT_EQ(std::vector<WString>({L"--All--", L"Dairy", L"Fruit"}), Shown());
  EXPECT_EQ(1, combo.Selection());  // the list's first category
  EXPECT_EQ(5u, combo.SelectedId());
  EXPECT_EQ(0, combo.ItemData(0));

  combo.Fill(42, HeaderPosition::Bottom);  // no such id: the first row
  EXPECT_EQ(std::vector<WString>({L"Dairy", L"Fruit", L"--All--"}), Shown());
  EXPECT_EQ(0, combo.Selection());

  combo.Fill(9, HeaderPosition::None);
  EXPECT_EQ(2, combo.Count());
  EXPECT_EQ(9u, combo.SelectedId());
  // A sorted add after a fill with the header on top lands below the header.
  combo.Fill(9, HeaderPosition::Top);
  combo.Add(L"Bread", 11, true);
  EXPECT_EQ(std::vector<WString>({L"--All--", L"Bread", L"Dairy", L"Fruit"}), Shown());
}

// The dropped list shows whole rows: every entry of a short list, the last one in full, and at
// most the most rows of a long one.
TEST_F(ComboTest, TheDroppedListShowsWholeRowsUpToTheMost) {
  ShowWindow(parent.Handle(), SW_SHOW);
  for (const int entries : {3, 21}) {
    combo.ResetContent();
    for (int i = 0; i < entries; ++i) combo.AddString(L"Entry " + std::to_wstring(i), i);
    DAVavador::FitDroppedList(combo.Window());
    SendMessageW(combo.Window(), CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO parts = {sizeof(parts)};
    ASSERT_TRUE(GetComboBoxInfo(combo.Window(), &parts));
    RECT list{};
    GetClientRect(parts.hwndList, &list);
    SendMessageW(combo.Window(), CB_SHOWDROPDOWN, FALSE, 0);
    const auto row = static_cast<int>(SendMessageW(combo.Window(), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(list.bottom, std::min(entries, DAVavador::kMostDroppedRows) * row) << entries;
  }
}

TEST(ComboWithoutWindowTest, KeepsItsList) {
  ERComboBox combo;
  EXPECT_TRUE(combo.Add(L"Vegetables", 4, true));
  EXPECT_TRUE(combo.Add(L"Dairy", 2, true));
  combo.DeleteSelected();
  combo.Fill(2, HeaderPosition::Top);
  EXPECT_EQ(2u, combo.List().Count());
}
