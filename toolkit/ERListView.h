#pragma once
// A report-style list view with full-row selection. Each column has a sort kind: text columns
// compare their displayed texts without regard to case, number columns by value. Workers may call
// the item operations: each is one message to the control.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "toolkit/ERWindow.h"

namespace DAVavador {

enum class SortKind { Text, Number };

class ERListView : public ERWindow {
 public:
  static constexpr int kSortTextLength = 1024;  // characters of a cell that sorting compares

  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;
  void Attach(HWND window) override;  // also sets the extended styles

  // Columns by display position.
  int ColumnCount() const;
  bool InsertColumn(int position, const WString& caption, int width, int format = LVCFMT_LEFT,
                    SortKind kind = SortKind::Text);
  // Changes the column, or inserts it when the list has no column at that position.
  bool SetColumn(int position, const WString& caption, int width, int format = LVCFMT_LEFT,
                 SortKind kind = SortKind::Text);
  void DeleteColumn(int position);
  int ColumnWidth(int position) const;
  void SetColumnWidth(int position, int width);
  void SetSortKind(int position, SortKind kind);
  SortKind SortKindOf(int position) const;

  // Items; the data value of an item is the caller's (a record, an id).
  int ItemCount() const;
  int InsertItem(int index, const WString& text, LPARAM data);  // index taken, -1 on failure
  int AddItem(const WString& text, LPARAM data) { return InsertItem(ItemCount(), text, data); }
  void SetItemText(int item, int column, const WString& text);
  WString ItemText(int item, int column) const;
  LPARAM ItemData(int item) const;
  void SetItemData(int item, LPARAM data);
  int FindItem(LPARAM data) const;  // -1 when no item carries it
  void DeleteItem(int item);
  void DeleteAllItems();

  // Selection.
  int SelectedCount() const;
  int NextSelected(int after = -1) const;  // -1 when there is none after `after`
  // The focused row while exactly one row is selected, which the single-record commands act on;
  // otherwise -1.
  int FocusedOfOne() const;
  std::vector<int> SelectedItems() const;
  void Select(int item, bool selected = true);
  void SelectAll();
  void ClearSelection();
  void EnsureVisible(int item);
  void SetRedraw(bool on);

  // Sorts by the column at `position`, ascending or, with `reverse`, descending.
  void Sort(int position, bool reverse);

 private:
  void SetItemState(int item, UINT state, UINT mask);

  std::vector<SortKind> kinds_;  // by column position
};

}  // namespace DAVavador
