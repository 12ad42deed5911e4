#include "toolkit/ERComboBox.h"

#include <commctrl.h>

namespace DAVavador {

bool ERComboBox::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 100, kDropHeight);
}

bool ERComboBox::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  return CreateControl(L"ComboBox", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, parent, id, x,
                       y, width, height);
}

bool ERComboBox::Add(WStringView name, uint32_t id, bool show) {
  const size_t index = list_.Insert(name, id);
  if (index == NamedIdList::kNone) return false;
  if (show && Window()) {
    const WString text(name);
    const int at = list_.Sorted() ? InsertString(static_cast<int>(list_.ComboIndex(index)), text, id)
                                  : AddString(text, id);
    Select(at);
  }
  return true;
}

uint32_t ERComboBox::SelectedId() const {
  const int selection = Selection();
  return selection < 0 ? 0 : static_cast<uint32_t>(ItemData(selection));
}

void ERComboBox::DeleteSelected() {
  const int selection = Selection();
  if (selection < 0) return;
  const size_t index = list_.IndexOfId(static_cast<uint32_t>(ItemData(selection)));
  if (index == NamedIdList::kNone) return;  // the header row
  list_.RemoveAt(index);
  DeleteString(selection);
}

void ERComboBox::Clear() {
  list_.Clear();
  ResetContent();
}

void ERComboBox::Fill(uint32_t selectedId, HeaderPosition header) {
  list_.SetHeader(header);
  if (!Window()) return;
  ResetContent();
  const WString all = ResourceString(kAllText);
  if (header == HeaderPosition::Top) AddString(all, 0);
  int selected = -1;
  for (const NamedId& entry : list_) {
    const int at = AddString(entry.name, entry.id);
    if (entry.id == selectedId && selected < 0) selected = at;
  }
  if (header == HeaderPosition::Bottom) AddString(all, 0);
  Select(selected < 0 ? 0 : selected);
}

bool ERComboBox::SelectById(uint32_t id) {
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    if (static_cast<uint32_t>(ItemData(i)) == id) {
      Select(i);
      return true;
    }
  }
  return false;
}

bool ERComboBox::SelectByName(WStringView name) {
  const size_t index = list_.IndexOfName(name);
  return index != NamedIdList::kNone && SelectById(list_[index].id);
}

int ERComboBox::AddString(const WString& text, LPARAM data) {
  return WithData(static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()))), data);
}

int ERComboBox::InsertString(int index, const WString& text, LPARAM data) {
  return WithData(static_cast<int>(Send(CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()))),
                  data);
}

int ERComboBox::WithData(int index, LPARAM data) {
  if (!Window()) return CB_ERR;
  if (index >= 0) Send(CB_SETITEMDATA, index, data);
  return index;
}

void ERComboBox::DeleteString(int index) {
  Send(CB_DELETESTRING, index);
}
void ERComboBox::ResetContent() {
  Send(CB_RESETCONTENT);
}
int ERComboBox::Count() const {
  return static_cast<int>(Send(CB_GETCOUNT));
}
int ERComboBox::Selection() const {
  return Window() ? static_cast<int>(Send(CB_GETCURSEL)) : CB_ERR;
}
void ERComboBox::Select(int index) {
  Send(CB_SETCURSEL, index);
}
LPARAM ERComboBox::ItemData(int index) const {
  return Send(CB_GETITEMDATA, index);
}

WString ERComboBox::ItemText(int index) const {
  return QueryText(CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

void FitDroppedList(HWND combo) {
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  const int rows = count < 1 ? 1 : (count < kMostDroppedRows ? count : kMostDroppedRows);
  const auto row = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
  RECT field{};
  GetWindowRect(combo, &field);  // the selection field alone while the list is up
  const int border = 2 * GetSystemMetrics(SM_CYBORDER);
  SendMessageW(combo, CB_SETMINVISIBLE, static_cast<WPARAM>(rows), 0);
  SetWindowPos(combo, nullptr, 0, 0, field.right - field.left, field.bottom - field.top + rows * row + border,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace DAVavador
