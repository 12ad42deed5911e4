#include "toolkit/EREdit.h"

#include <commctrl.h>

#include "toolkit/WindowText.h"

namespace DAVavador {

EREdit::~EREdit() {
  if (Window()) RemoveWindowSubclass(Window(), &EREdit::KeyProc, reinterpret_cast<UINT_PTR>(this));
}

bool EREdit::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 150, 22);
}

bool EREdit::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
  if (!CreateControl(L"Edit", style, WS_EX_CLIENTEDGE, parent, id, x, y, width, height)) return false;
  SetWindowSubclass(Window(), &EREdit::KeyProc, reinterpret_cast<UINT_PTR>(this),
                    reinterpret_cast<DWORD_PTR>(this));
  return true;
}

WString EREdit::Text() const {
  return WindowText(Window());
}

void EREdit::Focus() const {
  SetFocus(Window());
  Send(EM_SETSEL, 0, -1);
}

LRESULT CALLBACK EREdit::KeyProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  const auto* edit = reinterpret_cast<const EREdit*>(self);
  if (msg == WM_KEYDOWN && wp == VK_ESCAPE) {
    SetWindowTextW(window, L"");
    return 0;
  }
  if (msg == WM_KEYDOWN && (wp == VK_RETURN || wp == VK_DOWN) && edit->next_) {
    SetFocus(edit->next_);
    return 0;
  }
  // The edit would beep at the characters of the keys above.
  if (msg == WM_CHAR && (wp == VK_ESCAPE || wp == VK_RETURN)) return 0;
  return DefSubclassProc(window, msg, wp, lp);
}

}  // namespace DAVavador
