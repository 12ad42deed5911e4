#include "toolkit/ERListView.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_map>

#include "storage/XMLDoc.h"

namespace DAVavador {

namespace {

constexpr DWORD kExtendedStyles = LVS_EX_FULLROWSELECT;

// Sorting reads every cell once, then lets the control order its rows. The comparison is given
// the rows' data, which normally tell the rows apart; only when two rows share their data do the
// rows carry their positions at the start as their data while the sort runs (every such change
// notifies the parent, which costs a round trip a row).
struct SortRows {
  std::vector<WString> texts;
  std::vector<double> numbers;
  std::unordered_map<LPARAM, size_t> rowOf;  // by data; empty when the data are positions
  SortKind kind;
  bool reverse;

  size_t Row(LPARAM data) const { return rowOf.empty() ? static_cast<size_t>(data) : rowOf.at(data); }
};

WString CellText(HWND list, int item, int column, int capacity) {
  WString text(capacity + 1, L'\0');
  LVITEMW cell = {};
  cell.iSubItem = column;
  cell.pszText = text.data();
  cell.cchTextMax = capacity + 1;
  const int length =
      static_cast<int>(SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell)));
  text.resize(length > 0 ? length : 0);
  return text;
}

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
  const auto& rows = *reinterpret_cast<const SortRows*>(context);
  const size_t a = rows.Row(first), b = rows.Row(second);
  int result;
  if (rows.kind == SortKind::Text) {
    result = CompareNoCase(rows.texts[a], rows.texts[b]);
  } else {
    const double x = rows.numbers[a], y = rows.numbers[b];
    result = x < y ? -1 : (y < x ? 1 : 0);
  }
  return rows.reverse ? -result : result;
}

}  // namespace

bool ERListView::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 300, 200);
}

bool ERListView::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  kinds_.clear();
  const DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS;
  if (!CreateControl(WC_LISTVIEWW, style, WS_EX_STATICEDGE, parent, id, x, y, width, height)) return false;
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyles, kExtendedStyles);
  return true;
}

void ERListView::Attach(HWND window) {
  ERWindow::Attach(window);
  kinds_.assign(ColumnCount(), SortKind::Text);
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyles, kExtendedStyles);
}

int ERListView::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool ERListView::InsertColumn(int position, const WString& caption, int width, int format, SortKind kind) {
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<LPWSTR>(caption.c_str());
  column.iSubItem = position;
  const int at = static_cast<int>(Send(LVM_INSERTCOLUMNW, position, reinterpret_cast<LPARAM>(&column)));
  if (at < 0 || !Window()) return false;
  kinds_.insert(kinds_.begin() + std::min<size_t>(at, kinds_.size()), kind);
  return true;
}

bool ERListView::SetColumn(int position, const WString& caption, int width, int format, SortKind kind) {
  if (position >= ColumnCount()) return InsertColumn(position, caption, width, format, kind);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<LPWSTR>(caption.c_str());
  if (!Send(LVM_SETCOLUMNW, position, reinterpret_cast<LPARAM>(&column))) return false;
  SetSortKind(position, kind);
  return true;
}

void ERListView::DeleteColumn(int position) {
  if (!Send(LVM_DELETECOLUMN, position)) return;
  if (static_cast<size_t>(position) < kinds_.size()) kinds_.erase(kinds_.begin() + position);
}

int ERListView::ColumnWidth(int position) const {
  return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, position));
}
void ERListView::SetColumnWidth(int position, int width) {
  Send(LVM_SETCOLUMNWIDTH, position, MAKELPARAM(width, 0));
}

void ERListView::SetSortKind(int position, SortKind kind) {
  if (position >= 0 && static_cast<size_t>(position) < kinds_.size()) kinds_[position] = kind;
}

SortKind ERListView::SortKindOf(int position) const {
  return position >= 0 && static_cast<size_t>(position) < kinds_.size() ? kinds_[position] : SortKind::Text;
}

int ERListView::ItemCount() const {
  return static_cast<int>(Send(LVM_GETITEMCOUNT));
}

int ERListView::InsertItem(int index, const WString& text, LPARAM data) {
  if (!Window()) return -1;
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<LPWSTR>(text.c_str());
  item.lParam = data;
  return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ERListView::SetItemText(int item, int column, const WString& text) {
  LVITEMW cell = {};
  cell.iSubItem = column;
  cell.pszText = const_cast<LPWSTR>(text.c_str());
  Send(LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell));
}

WString ERListView::ItemText(int item, int column) const {
  if (!Window()) return WString();
  // The control does not tell a cell's length: read into a growing buffer until it fits.
  for (int capacity = 256;; capacity *= 4) {
    WString text = CellText(Window(), item, column, capacity);
    if (static_cast<int>(text.size()) < capacity) return text;
  }
}

LPARAM ERListView::ItemData(int item) const {
  LVITEMW entry = {};
  entry.mask = LVIF_PARAM;
  entry.iItem = item;
  return Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)) ? entry.lParam : 0;
}

void ERListView::SetItemData(int item, LPARAM data) {
  LVITEMW entry = {};
  entry.mask = LVIF_PARAM;
  entry.iItem = item;
  entry.lParam = data;
  Send(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
}

int ERListView::FindItem(LPARAM data) const {
  if (!Window()) return -1;
  LVFINDINFOW find = {};
  find.flags = LVFI_PARAM;
  find.lParam = data;
  return static_cast<int>(Send(LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void ERListView::DeleteItem(int item) {
  Send(LVM_DELETEITEM, item);
}
void ERListView::DeleteAllItems() {
  Send(LVM_DELETEALLITEMS);
}

int ERListView::SelectedCount() const {
  return static_cast<int>(Send(LVM_GETSELECTEDCOUNT));
}

int ERListView::NextSelected(int after) const {
  return Window() ? static_cast<int>(Send(LVM_GETNEXTITEM, after, MAKELPARAM(LVNI_SELECTED, 0))) : -1;
}

int ERListView::FocusedOfOne() const {
  if (!Window() || SelectedCount() != 1) return -1;
  return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
}

std::vector<int> ERListView::SelectedItems() const {
  std::vector<int> items;
  for (int item = NextSelected(); item >= 0; item = NextSelected(item)) items.push_back(item);
  return items;
}

void ERListView::SetItemState(int item, UINT state, UINT mask) {
  LVITEMW entry = {};
  entry.state = state;
  entry.stateMask = mask;
  Send(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&entry));
}

void ERListView::Select(int item, bool selected) {
  const UINT state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
  SetItemState(item, state, selected ? LVIS_SELECTED | LVIS_FOCUSED : LVIS_SELECTED);
}

void ERListView::SelectAll() {
  SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}
void ERListView::ClearSelection() {
  SetItemState(-1, 0, LVIS_SELECTED);
}
void ERListView::EnsureVisible(int item) {
  Send(LVM_ENSUREVISIBLE, item, FALSE);
}

void ERListView::SetRedraw(bool on) {
  Send(WM_SETREDRAW, on ? TRUE : FALSE);
  if (on) Invalidate();
}

void ERListView::Sort(int position, bool reverse) {
  if (!Window() || position < 0 || position >= ColumnCount()) return;
  const int count = ItemCount();
  SortRows rows{{}, {}, {}, SortKindOf(position), reverse};
  std::vector<LPARAM> data(count);
  bool distinct = true;
  for (int i = 0; i < count; ++i) {
    rows.texts.push_back(CellText(Window(), i, position, kSortTextLength));
    if (rows.kind == SortKind::Number) rows.numbers.push_back(ParseReal(rows.texts.back().c_str()));
    data[i] = ItemData(i);
    distinct = distinct && rows.rowOf.emplace(data[i], i).second;
  }
  if (distinct) {
    Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rows), reinterpret_cast<LPARAM>(&CompareRows));
    return;
  }
  rows.rowOf.clear();
  for (int i = 0; i < count; ++i) SetItemData(i, i);
  Send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rows), reinterpret_cast<LPARAM>(&CompareRows));
  for (int i = 0; i < count; ++i) SetItemData(i, data[ItemData(i)]);
}

}  // namespace DAVavador
