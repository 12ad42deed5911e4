#include "toolkit/ERListView.h"

#include <commctrl.h>

#include <algorithm>
#include <unordered_set>

#include "toolkit/Dpi.h"

namespace DAVavador {

namespace {

constexpr DWORD kExtendedStyles = LVS_EX_FULLROWSELECT;
constexpr size_t kMostCachedRows = 256;
constexpr int kEmptyTextMargin = 6;  // pixels at 96 DPI between the empty text and the header and sides

}  // namespace

ERListView::~ERListView() {
  UnhookParent();
}

bool ERListView::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 300, 200);
}

bool ERListView::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  UnhookParent();
  kinds_.clear();
  rows_.Clear();
  ClearCache();
  shownEmptyText_.clear();
  const DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
  if (!CreateControl(WC_LISTVIEWW, style, WS_EX_STATICEDGE, parent, id, x, y, width, height)) return false;
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyles, kExtendedStyles);
  HookParent();
  return true;
}

void ERListView::Attach(HWND window) {
  UnhookParent();
  ERWindow::Attach(window);
  kinds_.assign(ColumnCount(), SortKind::Text);
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, kExtendedStyles, kExtendedStyles);
  HookParent();
}

void ERListView::Detach() {
  UnhookParent();
  ERWindow::Detach();
  HookParent();
}

void ERListView::HookParent() {
  if (!Window()) return;
  hookedParent_ = GetParent(Window());
  SetWindowSubclass(hookedParent_, &ERListView::ParentProc, reinterpret_cast<UINT_PTR>(this),
                    reinterpret_cast<DWORD_PTR>(this));
}

void ERListView::UnhookParent() {
  if (hookedParent_ && IsWindow(hookedParent_))
    RemoveWindowSubclass(hookedParent_, &ERListView::ParentProc, reinterpret_cast<UINT_PTR>(this));
  hookedParent_ = nullptr;
}

LRESULT CALLBACK ERListView::ParentProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR self) {
  auto* list = reinterpret_cast<ERListView*>(self);
  if (msg == WM_NOTIFY) {
    LRESULT result = 0;
    if (list->OnParentNotify(reinterpret_cast<const NMHDR*>(lp), result)) return result;
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &ERListView::ParentProc, id);
    list->hookedParent_ = nullptr;
  }
  return DefSubclassProc(window, msg, wp, lp);
}

bool ERListView::OnParentNotify(const NMHDR* header, LRESULT& result) {
  if (!Window() || header->hwndFrom != Window()) return false;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header))->item;
      if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        lstrcpynW(item.pszText, CachedCell(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
      return true;
    }
    case LVN_ODCACHEHINT: {
      const auto* hint = reinterpret_cast<const NMLVCACHEHINT*>(header);
      const size_t rows = std::min<size_t>(kMostCachedRows, std::max(0, hint->iTo - hint->iFrom + 1));
      if (frozen_ || (hint->iFrom == cacheFrom_ && rows == cache_.size())) return true;
      cacheFrom_ = hint->iFrom;
      cache_.assign(rows, {});
      return true;
    }
    case NM_CUSTOMDRAW:
      result = OnCustomDraw(*reinterpret_cast<const NMLVCUSTOMDRAW*>(header));
      return true;
    case LVN_ODFINDITEMW: {
      const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(header);
      result = -1;
      // Type-ahead asks with LVFI_PARTIAL alone.
      if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz)
        result = FindByName(find->iStart, find->lvfi.psz, (find->lvfi.flags & LVFI_PARTIAL) != 0);
      return true;
    }
    default:
      return false;
  }
}

const WString& ERListView::CachedCell(int item, int column) {
  scratch_.clear();
  if (item < 0 || static_cast<size_t>(item) >= rows_.ShownCount() || column < 0) return scratch_;
  const size_t slot = static_cast<size_t>(item - cacheFrom_);
  const bool inCache = item >= cacheFrom_ && slot < cache_.size();
  if (inCache && static_cast<size_t>(column) < cache_[slot].size()) return cache_[slot][column];
  if (frozen_) return scratch_;
  if (!inCache) return scratch_ = rows_.Cell(item, column);
  // The whole row at once: the control asks for its cells one after another.
  std::vector<WString>& cells = cache_[slot];
  cells.clear();
  for (int c = 0; c < std::max(ColumnCount(), column + 1); ++c) cells.push_back(rows_.Cell(item, c));
  return cells[column];
}

// The empty text is drawn once the control has painted its (empty) client area, below the header.
LRESULT ERListView::OnCustomDraw(const NMLVCUSTOMDRAW& draw) const {
  if (shownEmptyText_.empty()) return CDRF_DODEFAULT;
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYPOSTPAINT;
  if (draw.nmcd.dwDrawStage != CDDS_POSTPAINT) return CDRF_DODEFAULT;
  RECT header = {};
  GetWindowRect(reinterpret_cast<HWND>(Send(LVM_GETHEADER)), &header);
  const int margin = Scaled(kEmptyTextMargin, WindowDpi(Window()));
  RECT line = draw.nmcd.rc;
  line.top += header.bottom - header.top + margin;
  line.left += margin;
  line.right -= margin;
  const HDC dc = draw.nmcd.hdc;
  const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(Send(WM_GETFONT)));
  const COLORREF background = static_cast<COLORREF>(Send(LVM_GETBKCOLOR));
  SetBkColor(dc, background == CLR_NONE ? GetSysColor(COLOR_WINDOW) : background);
  SetBkMode(dc, OPAQUE);  // drawn again over itself, the line stays as it was
  SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, shownEmptyText_.c_str(), static_cast<int>(shownEmptyText_.size()), &line,
            DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT | DT_TOP);
  SelectObject(dc, font);
  return CDRF_DODEFAULT;
}

int ERListView::FindByName(int start, const WString& text, bool partial) const {
  const int count = ItemCount();
  const int length = static_cast<int>(text.size());
  for (int k = 0; k < count; ++k) {
    const int item = (std::max(0, start) + k) % count;
    const WString cell = ItemText(item, 0);
    const int compared =
        partial ? std::min(length, static_cast<int>(cell.size())) : static_cast<int>(cell.size());
    if (partial && compared < length) continue;
    if (CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, cell.c_str(), compared, text.c_str(),
                       length) == CSTR_EQUAL)
      return item;
  }
  return -1;
}

void ERListView::SetSources(ListRows::CellSource cells, ListRows::NameSource names) {
  rows_.SetSources(std::move(cells), std::move(names));
  Refresh(true);
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
  rows_.ForgetKeys();
  ClearCache();
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
  rows_.ForgetKeys();  // the column may show another identifier now
  ClearCache();
  return true;
}

void ERListView::DeleteColumn(int position) {
  if (!Send(LVM_DELETECOLUMN, position)) return;
  if (static_cast<size_t>(position) < kinds_.size()) kinds_.erase(kinds_.begin() + position);
  rows_.ForgetKeys();
  ClearCache();
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
  return static_cast<int>(rows_.ShownCount());
}

void ERListView::SetRows(std::vector<Row> rows) {
  RunOnWindowThread([this, &rows] {
    Send(LVM_DELETEALLITEMS);  // the selection and the scroll position go with the old rows
    rows_.Assign(std::move(rows));
    Refresh(false);
  });
}

int ERListView::AddItem(LPARAM data, const void* record) {
  int item = -1;
  RunOnWindowThread([&] {
    item = rows_.Append(Row{data, record});
    if (item >= 0) Send(LVM_SETITEMCOUNT, ItemCount(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    UpdateEmptyText();
  });
  return item;
}

void ERListView::UpdateItem(int item) {
  if (item < 0 || item >= ItemCount()) return;
  rows_.Changed(static_cast<size_t>(item));
  ClearCache();
  Send(LVM_REDRAWITEMS, item, item);
}

WString ERListView::ItemText(int item, int column) const {
  if (item < 0 || item >= ItemCount()) return WString();
  return rows_.Cell(static_cast<size_t>(item), column);
}

LPARAM ERListView::ItemData(int item) const {
  return item >= 0 && item < ItemCount() ? rows_.Shown(static_cast<size_t>(item)).data : 0;
}

const void* ERListView::ItemRecord(int item) const {
  return item >= 0 && item < ItemCount() ? rows_.Shown(static_cast<size_t>(item)).record : nullptr;
}

int ERListView::FindItem(LPARAM data) const {
  return rows_.FindData(data);
}

void ERListView::DeleteItem(int item) {
  if (item < 0 || item >= ItemCount()) return;
  rows_.Erase(static_cast<size_t>(item));
  // The control moves the selection of the later rows up by one.
  Send(LVM_DELETEITEM, item);
  Refresh(true);
}

void ERListView::DeleteRecord(const void* record) {
  for (int item = rows_.FindRecord(record); item >= 0; item = rows_.FindRecord(record)) DeleteItem(item);
  rows_.EraseHidden(record);
}

void ERListView::TextsChanged() {
  rows_.ForgetKeys();
  rows_.ForgetNames();
  Refresh(true);
}

void ERListView::ClearCache() {
  cache_.clear();
  cacheFrom_ = -1;  // the next hint fills it again
}

void ERListView::DeleteAllItems() {
  Send(LVM_DELETEALLITEMS);
  rows_.Clear();
  ClearCache();
  UpdateEmptyText();
}

void ERListView::Refresh(bool keepScroll) {
  ClearCache();
  Send(LVM_SETITEMCOUNT, ItemCount(), keepScroll ? LVSICF_NOSCROLL : 0);
  UpdateEmptyText();
  Invalidate();
}

void ERListView::SetEmptyText(const WString& text) {
  RunOnWindowThread([&] {
    emptyText_ = text;
    UpdateEmptyText();
  });
}

void ERListView::UpdateEmptyText() {
  const WString wanted = ItemCount() == 0 && Filter().empty() ? emptyText_ : WString();
  if (!Window() || wanted == shownEmptyText_) return;
  shownEmptyText_ = wanted;
  SetWindowTextW(Window(), wanted.c_str());
  Invalidate();  // a first row added paints only itself
}

int ERListView::SelectedCount() const {
  return static_cast<int>(Send(LVM_GETSELECTEDCOUNT));
}

int ERListView::NextSelected(int after) const {
  return Window() ? static_cast<int>(Send(LVM_GETNEXTITEM, after, MAKELPARAM(LVNI_SELECTED, 0))) : -1;
}

int ERListView::FocusedOfOne() const {
  return Window() && SelectedCount() == 1 ? FocusedItem() : -1;
}

int ERListView::FocusedItem() const {
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

void ERListView::Freeze(bool frozen) {
  RunOnWindowThread([this, frozen] {
    frozen_ = frozen;
    if (!frozen) Refresh(true);
  });
}

void ERListView::KeepingSelection(const std::function<void()>& reorder, bool sameRows) {
  const int count = ItemCount();
  const std::vector<int> items = SelectedItems();
  const void* focused = ItemRecord(FocusedItem());
  std::unordered_set<const void*> selected;
  for (int item : items) selected.insert(ItemRecord(item));
  reorder();
  Refresh(true);
  // With every row selected before and after, the control's selection is still right.
  const bool allStay = sameRows && static_cast<int>(items.size()) == count;
  if (!items.empty() && !allStay) {
    SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int item = 0; item < ItemCount(); ++item)
      if (selected.count(ItemRecord(item))) SetItemState(item, LVIS_SELECTED, LVIS_SELECTED);
  }
  const int focus = focused ? rows_.FindRecord(focused) : -1;
  if (focus >= 0) SetItemState(focus, LVIS_FOCUSED, LVIS_FOCUSED);
}

void ERListView::Sort(int position, bool reverse) {
  if (!Window() || position < 0 || position >= ColumnCount()) return;
  KeepingSelection([&] { rows_.Sort(position, SortKindOf(position), reverse); }, true);
}

void ERListView::SetFilter(const WString& text) {
  RunOnWindowThread([&] { KeepingSelection([&] { rows_.SetFilter(text); }, false); });
}

}  // namespace DAVavador
