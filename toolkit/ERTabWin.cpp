#include "toolkit/ERTabWin.h"

#include <commctrl.h>

namespace DAVavador {

bool ERTabWin::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 200, 150);
}

bool ERTabWin::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  return CreateControl(WC_TABCONTROLW, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent, id, x, y, width,
                       height);
}

int ERTabWin::AddTab(const WString& caption) {
  return InsertTab(TabCount(), caption);
}

int ERTabWin::InsertTab(int index, const WString& caption) {
  if (!Window()) return -1;
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<LPWSTR>(caption.c_str());
  return static_cast<int>(Send(TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item)));
}

bool ERTabWin::DeleteTab(int index) {
  return Send(TCM_DELETEITEM, index) != 0;
}
void ERTabWin::DeleteAllTabs() {
  Send(TCM_DELETEALLITEMS);
}
int ERTabWin::TabCount() const {
  return static_cast<int>(Send(TCM_GETITEMCOUNT));
}
int ERTabWin::Selected() const {
  return Window() ? static_cast<int>(Send(TCM_GETCURSEL)) : -1;
}
void ERTabWin::Select(int index) {
  Send(TCM_SETCURSEL, index);
}

RECT ERTabWin::DisplayRect() const {
  RECT rect;
  if (GetClientRect(rect)) Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

}  // namespace DAVavador
