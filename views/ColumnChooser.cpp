#include "views/ColumnChooser.h"

#include <algorithm>

#include "resource.h"

namespace {

int Selection(HWND list) {
  return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}
int Count(HWND list) {
  return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
}
uint8_t IdAt(HWND list, int index) {
  return static_cast<uint8_t>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

}  // namespace

bool ColumnChooser::Run(std::vector<uint8_t>& columns) {
  columns_ = columns;
  if (RunModal(app_, IDD_COLUMNS) != IDOK) return false;
  columns = columns_;
  return true;
}

bool ColumnChooser::OnInit() {
  available_ = Item(IDC_COLUMNS_AVAILABLE);
  displayed_ = Item(IDC_COLUMNS_DISPLAYED);
  for (int id = 0; id < idCount_; ++id) {
    if (std::find(columns_.begin(), columns_.end(), id) == columns_.end())
      AddEntry(available_, -1, static_cast<uint8_t>(id));
  }
  for (uint8_t id : columns_) AddEntry(displayed_, -1, id);
  UpdateButtons();
  if (readOnly_) ShowWindow(Item(IDOK), SW_HIDE);
  return true;
}

bool ColumnChooser::OnCommand(int id, int code) {
  switch (id) {
    case IDC_COLUMNS_AVAILABLE:
    case IDC_COLUMNS_DISPLAYED:
      if (code == LBN_DBLCLK) {
        const bool add = id == IDC_COLUMNS_AVAILABLE;
        MoveAcross(add ? available_ : displayed_, add ? displayed_ : available_, add);
      } else if (code == LBN_SELCHANGE) {
        UpdateButtons();
      }
      return true;
    case IDC_COLUMNS_ADD:
      MoveAcross(available_, displayed_, true);
      return true;
    case IDC_COLUMNS_REMOVE:
      MoveAcross(displayed_, available_, false);
      return true;
    case IDC_COLUMNS_UP:
      MoveBy(-1);
      return true;
    case IDC_COLUMNS_DOWN:
      MoveBy(1);
      return true;
  }
  return false;
}

bool ColumnChooser::OnOK() {
  if (readOnly_) return false;
  const int count = Count(displayed_);
  if (count == 0) {
    app_.ShowMessage(IDS_VIEW_NO_COLUMNS, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  columns_.clear();
  for (int i = 0; i < count; ++i) columns_.push_back(IdAt(displayed_, i));
  return true;
}

void ColumnChooser::AddEntry(HWND list, int index, uint8_t id) const {
  const WString caption = app_.String(firstCaption_ + id);
  const auto at = static_cast<WPARAM>(SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                                   reinterpret_cast<LPARAM>(caption.c_str())));
  SendMessageW(list, LB_SETITEMDATA, at, id);
}

// The available list stays in identifier order, so an entry returns to its place there; the
// displayed list takes it at the end.
void ColumnChooser::MoveAcross(HWND from, HWND to, bool toEnd) {
  const int selected = Selection(from);
  if (selected < 0) return;
  const uint8_t id = IdAt(from, selected);
  SendMessageW(from, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  int at = toEnd ? Count(to) : 0;
  while (!toEnd && at < Count(to) && IdAt(to, at) < id) ++at;
  AddEntry(to, at, id);
  SendMessageW(to, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
  UpdateButtons();
}

void ColumnChooser::MoveBy(int step) {
  const int selected = Selection(displayed_);
  const int target = selected + step;
  if (selected < 0 || target < 0 || target >= Count(displayed_)) return;
  const uint8_t id = IdAt(displayed_, selected);
  SendMessageW(displayed_, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  AddEntry(displayed_, target, id);
  SendMessageW(displayed_, LB_SETCURSEL, static_cast<WPARAM>(target), 0);
  UpdateButtons();
}

void ColumnChooser::UpdateButtons() const {
  const int shown = Selection(displayed_);
  EnableWindow(Item(IDC_COLUMNS_ADD), Selection(available_) >= 0);
  EnableWindow(Item(IDC_COLUMNS_REMOVE), shown >= 0);
  EnableWindow(Item(IDC_COLUMNS_UP), shown > 0);
  EnableWindow(Item(IDC_COLUMNS_DOWN), shown >= 0 && shown + 1 < Count(displayed_));
}
