// The control wrappers: list view columns, items and sorting; the combo box over its
// named-id list.
#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/ERComboBox.h"
#include "toolkit/ERListView.h"

using namespace DAVavador;
using toolkit_test::RecordingWindow;

namespace {

class ListViewTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(list.CreateAt(parent.Handle(), 2102, 0, 0, 300, 200)); }

  // Column 0 holds the names, column 1 the given texts.
  void AddRows(std::initializer_list<const wchar_t*> values) {
    list.InsertColumn(0, L"Name", 100);
    list.InsertColumn(1, L"Calories", 80, LVCFMT_LEFT, SortKind::Number);
    int n = 0;
    for (const wchar_t* value : values) {
      const int item = list.AddItem(L"row" + std::to_wstring(n), n);
      list.SetItemText(item, 1, value);
      ++n;
    }
  }

  std::vector<WString> Column(int column) const {
    std::vector<WString> texts;
    for (int i = 0; i < list.ItemCount(); ++i) texts.push_back(list.ItemText(i, column));
    return texts;
  }

  RecordingWindow parent;
  ERListView list;
};

}  // namespace

TEST_F(ListViewTest, AttachSetsTheExtendedStyles) {
  HWND other = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 100, 100, parent.Handle(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  ERListView attached;
  attached.Attach(other);
  EXPECT_TRUE(attached.Send(LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_FULLROWSELECT);
  attached.Detach();
  DestroyWindow(other);
}

TEST_F(ListViewTest, SetColumnChangesOrInsertsAndDeleteRemovesItsSortKind) {
  EXPECT_TRUE(list.SetColumn(0, L"Name", 120));
  EXPECT_TRUE(list.SetColumn(1, L"Calories", 60, LVCFMT_LEFT, SortKind::Number));
  EXPECT_EQ(2, list.ColumnCount());
  EXPECT_TRUE(list.SetColumn(0, L"Date", 90));
  EXPECT_EQ(2, list.ColumnCount());
  EXPECT_EQ(90, list.ColumnWidth(0));
  EXPECT_EQ(SortKind::Number, list.SortKindOf(1));
  list.DeleteColumn(0);
  EXPECT_EQ(1, list.ColumnCount());
  EXPECT_EQ(SortKind::Number, list.SortKindOf(0));
  EXPECT_EQ(SortKind::Text, list.SortKindOf(7));
}

TEST_F(ListViewTest, ItemsCarryTextsAndData) {
  AddRows({L"10", L"9"});
  EXPECT_EQ(2, list.ItemCount());
  EXPECT_EQ(L"row1", list.ItemText(1, 0));
  EXPECT_EQ(L"9", list.ItemText(1, 1));
  EXPECT_EQ(1, list.ItemData(1));
  list.SetItemData(1, 77);
  EXPECT_EQ(1, list.FindItem(77));
  EXPECT_EQ(-1, list.FindItem(78));
  const WString longText(3000, L'x');
  list.SetItemText(0, 1, longText);
  EXPECT_EQ(longText, list.ItemText(0, 1));
  list.DeleteItem(0);
  EXPECT_EQ(1, list.ItemCount());
  list.DeleteAllItems();
  EXPECT_EQ(0, list.ItemCount());
}

TEST_F(ListViewTest, NumberColumnSortsByValue) {
  AddRows({L"10", L"9", L"100", L"2.5"});
  list.Sort(1, false);
  EXPECT_EQ(std::vector<WString>({L"2.5", L"9", L"10", L"100"}), Column(1));
  list.Sort(1, true);
  EXPECT_EQ(std::vector<WString>({L"100", L"10", L"9", L"2.5"}), Column(1));
}

TEST_F(ListViewTest, TextColumnSortsByTextIgnoringCase) {
  AddRows({L"10", L"9", L"100"});
  list.SetSortKind(1, SortKind::Text);
  list.Sort(1, false);
  EXPECT_EQ(std::vector<WString>({L"10", L"100", L"9"}), Column(1));
  for (int i = 0; i < 3; ++i) list.SetItemText(i, 0, std::vector<WString>{L"bread", L"Apple", L"banana"}[i]);
  const LPARAM appleData = list.ItemData(1);
  list.Sort(0, false);
  EXPECT_EQ(std::vector<WString>({L"Apple", L"banana", L"bread"}), Column(0));
  list.Sort(0, true);
  EXPECT_EQ(std::vector<WString>({L"bread", L"banana", L"Apple"}), Column(0));
  // The rows move as a whole: their data follows the texts.
  EXPECT_EQ(L"Apple", list.ItemText(list.FindItem(appleData), 0));
}

TEST_F(ListViewTest, SortingLeavesDistinctDataAloneAndStillSortsRowsSharingTheirData) {
  AddRows({L"3", L"1", L"2"});
  int changes = 0;
  parent.onNotify = [&changes](const NMHDR* header, LRESULT&) {
    if (header->code == LVN_ITEMCHANGED) ++changes;
    return false;
  };
  list.Sort(1, false);
  EXPECT_EQ(std::vector<WString>({L"1", L"2", L"3"}), Column(1));
  EXPECT_EQ(0, changes) << "a parent that follows the selection hears nothing of a sort";

  for (int i = 0; i < list.ItemCount(); ++i) list.SetItemData(i, 5);
  list.SetItemText(0, 1, L"9");
  list.Sort(1, false);
  EXPECT_EQ(std::vector<WString>({L"2", L"3", L"9"}), Column(1));
  for (int i = 0; i < list.ItemCount(); ++i) EXPECT_EQ(5, list.ItemData(i));
  parent.onNotify = nullptr;
}

TEST_F(ListViewTest, SortingComparesTheFirst1024CharactersOnly) {
  list.InsertColumn(0, L"Name", 100);
  const WString common(ERListView::kSortTextLength, L'a');
  list.AddItem(common + L"z", 0);
  list.AddItem(common + L"b", 1);
  list.AddItem(L"b", 2);
  list.Sort(0, false);
  // The two long texts compare equal and keep their order; the short one sorts after both.
  EXPECT_EQ(0, list.ItemData(0));
  EXPECT_EQ(1, list.ItemData(1));
  EXPECT_EQ(2, list.ItemData(2));
}

namespace {

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

TEST_F(ComboTest, SortedAddsArePlacedInListAndComboAlike) {
  EXPECT_TRUE(combo.Add(L"Dairy", 1, true));
  EXPECT_TRUE(combo.Add(L"Vegetables", 2, true));
  EXPECT_TRUE(combo.Add(L"Fruit", 3, true));
  EXPECT_EQ(std::vector<WString>({L"Dairy", L"Fruit", L"Vegetables"}), Shown());
  EXPECT_EQ(L"Fruit", combo.List()[1].name);
  EXPECT_EQ(3u, combo.SelectedId());
  EXPECT_EQ(3, combo.ItemData(1));
  EXPECT_FALSE(combo.Add(L"fruit", 4, true));  // the same name ignoring case
  EXPECT_EQ(3, combo.Count());
  EXPECT_EQ(3u, combo.List().Count());
}

TEST_F(ComboTest, AddWithoutShowLeavesTheComboAlone) {
  EXPECT_TRUE(combo.Add(L"Dairy", 1, false));
  EXPECT_EQ(0, combo.Count());
  EXPECT_EQ(1u, combo.IdByName(L"DAIRY"));
  EXPECT_EQ(0u, combo.SelectedId());
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

TEST_F(ComboTest, DeleteSelectedRemovesFromListAndCombo) {
  combo.Add(L"Dairy", 1, true);
  combo.Add(L"Fruit", 2, true);
  combo.SelectById(1);
  combo.DeleteSelected();
  EXPECT_EQ(std::vector<WString>({L"Fruit"}), Shown());
  EXPECT_EQ(nullptr, combo.NameById(1));
  ASSERT_NE(nullptr, combo.NameById(2));
  combo.Fill(0, HeaderPosition::Top);  // "--All--" selected: nothing to delete
  combo.DeleteSelected();
  EXPECT_EQ(1u, combo.List().Count());
  EXPECT_EQ(2, combo.Count());
}

TEST_F(ComboTest, AnAttachedDialogComboMirrorsTheListUntilDetached) {
  combo.Add(L"Dairy", 1, true);
  HWND dialogCombo = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 200,
                                     parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  combo.Attach(dialogCombo);
  combo.Fill(1, HeaderPosition::None);
  EXPECT_EQ(1, static_cast<int>(SendMessageW(dialogCombo, CB_GETCOUNT, 0, 0)));
  combo.Add(L"Fruit", 2, true);
  EXPECT_EQ(2, static_cast<int>(SendMessageW(dialogCombo, CB_GETCOUNT, 0, 0)));
  combo.Detach();
  EXPECT_EQ(std::vector<WString>({L"Dairy"}), Shown());  // the view's own combo again
  DestroyWindow(dialogCombo);
}

TEST(ComboWithoutWindowTest, KeepsItsListAndAnswersZero) {
  ERComboBox combo;
  EXPECT_TRUE(combo.Add(L"Vegetables", 4, true));
  EXPECT_TRUE(combo.Add(L"Dairy", 2, true));
  EXPECT_EQ(L"Dairy", combo.List()[0].name);
  EXPECT_EQ(4u, combo.IdByName(L"veg", 3));
  EXPECT_EQ(0u, combo.SelectedId());
  EXPECT_EQ(-1, combo.Selection());
  combo.DeleteSelected();
  combo.Fill(2, HeaderPosition::Top);
  EXPECT_EQ(2u, combo.List().Count());
  EXPECT_EQ(4u, combo.HighestId());

  ERComboBox unsorted(false);
  unsorted.Add(L"b", 1, false);
  unsorted.Add(L"a", 2, false);
  EXPECT_EQ(L"b", unsorted.List()[0].name);
}
