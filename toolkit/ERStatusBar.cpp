#include "toolkit/ERStatusBar.h"

#include <commctrl.h>

namespace DAVavador {

ERStatusBar::~ERStatusBar() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

std::vector<int> ERStatusBar::PartEdges(const std::vector<int>& percentages, int width) {
  std::vector<int> edges;
  int sum = 0;
  for (int percentage : percentages) {
    sum += percentage;
    edges.push_back(sum * width / 100);
  }
  if (!edges.empty()) edges.back() = -1;
  return edges;
}

bool ERStatusBar::Create(HWND parent, int id, bool visible) {
  if (window_) return false;
  window_ =
      CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | (visible ? WS_VISIBLE : 0), 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  Layout();
  return window_ != nullptr;
}

void ERStatusBar::Layout() const {
  if (!window_) return;
  SendMessageW(window_, WM_SIZE, 0, 0);  // the bar places itself along the parent's bottom
  RECT client;
  GetClientRect(GetParent(window_), &client);
  std::vector<int> edges = PartEdges(percentages_, client.right - client.left);
  SendMessageW(window_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void ERStatusBar::SetText(int part, const WString& text) const {
  if (window_) SendMessageW(window_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

WString ERStatusBar::Text(int part) const {
  if (!window_) return WString();
  const int length = LOWORD(SendMessageW(window_, SB_GETTEXTLENGTHW, part, 0));
  WString text(length + 1, L'\0');
  SendMessageW(window_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

void ERStatusBar::Show(bool show) const {
  if (window_) ShowWindow(window_, show ? SW_SHOW : SW_HIDE);
}

bool ERStatusBar::IsVisible() const {
  return window_ && IsWindowVisible(window_);
}

int ERStatusBar::Height() const {
  RECT r;
  return window_ && GetWindowRect(window_, &r) ? r.bottom - r.top : 0;
}

}  // namespace DAVavador
