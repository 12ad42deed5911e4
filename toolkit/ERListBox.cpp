#include "toolkit/ERListBox.h"

namespace DAVavador {

bool ERListBox::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 150, 200);
}

bool ERListBox::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  return CreateControl(L"ListBox", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, WS_EX_STATICEDGE, parent,
                       id, x, y, width, height);
}

int ERListBox::AddString(const WString& text, LPARAM data) {
  return WithData(static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()))), data);
}

int ERListBox::InsertString(int index, const WString& text, LPARAM data) {
  return WithData(static_cast<int>(Send(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()))),
                  data);
}

int ERListBox::WithData(int index, LPARAM data) {
  if (!Window()) return LB_ERR;
  if (index >= 0) SetItemData(index, data);
  return index;
}

void ERListBox::DeleteString(int index) {
  Send(LB_DELETESTRING, index);
}
void ERListBox::ResetContent() {
  Send(LB_RESETCONTENT);
}
int ERListBox::Count() const {
  return static_cast<int>(Send(LB_GETCOUNT));
}
int ERListBox::Selection() const {
  return Window() ? static_cast<int>(Send(LB_GETCURSEL)) : LB_ERR;
}
void ERListBox::Select(int index) {
  Send(LB_SETCURSEL, index);
}
LPARAM ERListBox::ItemData(int index) const {
  return Send(LB_GETITEMDATA, index);
}
void ERListBox::SetItemData(int index, LPARAM data) {
  Send(LB_SETITEMDATA, index, data);
}

WString ERListBox::ItemText(int index) const {
  return QueryText(LB_GETTEXTLEN, LB_GETTEXT, index);
}

}  // namespace DAVavador
