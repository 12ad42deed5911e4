#pragma once
// A report-style list view with full-row selection over owner data: the rows live in a ListRows
// (a data value and a record each) and the control asks for the texts of the rows it paints, so a
// list costs what its visible rows cost. Each column has a sort kind: text columns compare as the
// system's locale orders them without regard to case, number columns by value. A find text shows
// only the rows whose name holds it. The control's notifications are taken from its parent.
// Every operation belongs to the window's thread; AddItem may also be called from a worker.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "toolkit/ERWindow.h"
#include "toolkit/ListRows.h"

namespace DAVavador {

class ERListView : public ERWindow {
 public:
  using Row = ListRows::Row;
  static constexpr int kSortTextLength = ListRows::kSortTextLength;

  ERListView() = default;
  ~ERListView() override;

  // Created with LVS_OWNERDATA; a dialog's list control given to Attach must have that style.
  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;
  void Attach(HWND window) override;  // also sets the extended styles
  void Detach() override;

  // Where the texts come from: a cell by record and column position, and the name a find text is
  // matched against.
  void SetSources(ListRows::CellSource cells, ListRows::NameSource names = nullptr);

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

  // Items are the shown rows.
  int ItemCount() const;
  // Replaces every row (none selected afterwards).
  void SetRows(std::vector<Row> rows);
  // Appends a row; its index, or -1 when the find text hides it.
  int AddItem(LPARAM data, const void* record);
  // The item's record changed: it is painted and sorted by its new texts.
  void UpdateItem(int item);
  WString ItemText(int item, int column) const;
  LPARAM ItemData(int item) const;
  const void* ItemRecord(int item) const;
  int FindItem(LPARAM data) const;  // -1 when no item carries it
  void DeleteItem(int item);
  // Deletes every row of `record`, shown or hidden by the find text: the record is about to go.
  void DeleteRecord(const void* record);
  // The records' texts changed in place (a category renamed): keys and names are made again.
  void TextsChanged();
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
  // While frozen the control paints only texts it already holds: the records may be changing on
  // another thread.
  void Freeze(bool frozen);

  // Sorts by the column at `position`, ascending or, with `reverse`, descending; the selected
  // rows stay selected.
  void Sort(int position, bool reverse);
  // Shows only the rows whose name holds `text` (see ListRows::SetFilter).
  void SetFilter(const WString& text);
  const WString& Filter() const { return rows_.Filter(); }
  // One grey line the list shows while it has no rows and no find text hides any, saying what to
  // do first; while shown it is also the list's window text, which screen readers announce.
  void SetEmptyText(const WString& text);

 private:
  static LRESULT CALLBACK ParentProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                     DWORD_PTR self);
  void HookParent();
  void UnhookParent();
  bool OnParentNotify(const NMHDR* header, LRESULT& result);
  const WString& CachedCell(int item, int column);
  int FindByName(int start, const WString& text, bool partial) const;
  // The rows changed under the control: it is told the new count and repaints.
  void Refresh(bool keepScroll);
  // Runs `reorder` with the selection following the records rather than the indices; with
  // `sameRows` (a sort) a selection of every row stays as it is.
  void KeepingSelection(const std::function<void()>& reorder, bool sameRows);
  void ClearCache();
  void SetItemState(int item, UINT state, UINT mask);
  int FocusedItem() const;  // -1 when no row has the focus
  // Shows or takes away the empty text as the rows say.
  void UpdateEmptyText();
  LRESULT OnCustomDraw(const NMLVCUSTOMDRAW& draw) const;

  ListRows rows_;
  std::vector<SortKind> kinds_;  // by column position
  HWND hookedParent_ = nullptr;
  // The texts of the rows the control announced it will paint (LVN_ODCACHEHINT), a row each.
  int cacheFrom_ = -1;
  std::vector<std::vector<WString>> cache_;
  WString scratch_;  // a cell outside the cache
  bool frozen_ = false;
  WString emptyText_;
  WString shownEmptyText_;  // empty while the list shows rows or none is given
};

}  // namespace DAVavador
