#include "toolkit/ERSplitter.h"

#include <windowsx.h>

#include <algorithm>

#include "toolkit/Dpi.h"
#include "toolkit/ScopedGdi.h"

namespace DAVavador {

namespace {

bool RegisterSplitterClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc = {sizeof(wc)};
  if (GetClassInfoExW(instance, ERSplitter::kClassName, &wc)) return true;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_SIZEWE);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = ERSplitter::kClassName;
  return RegisterClassExW(&wc) != 0;
}

// The 8 by 8 half-tone pattern the drag bar is inverted with.
ScopedGdiObject<HBRUSH> CreateHalftoneBrush() {
  WORD rows[8];
  for (int i = 0; i < 8; ++i) rows[i] = static_cast<WORD>(i % 2 ? 0xAA : 0x55);
  const ScopedGdiObject<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, rows));
  return ScopedGdiObject<HBRUSH>(CreatePatternBrush(pattern.Get()));
}

}  // namespace

ERSplitter::~ERSplitter() {
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

bool ERSplitter::Create(HWND parent, int id, int x, int y, int width, int height) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (window_ || !RegisterSplitterClass(instance, &ERSplitter::Proc)) return false;
  window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  return window_ != nullptr;
}

void ERSplitter::SetCallback(SplitterCallback callback, void* arg) {
  callback_ = callback;
  callbackArg_ = arg;
}

void ERSplitter::Move(int x, int y, int width, int height) const {
  if (window_) SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK ERSplitter::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<ERSplitter*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ERSplitter*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || msg == WM_NCDESTROY) {
    if (self) self->window_ = nullptr;
    return DefWindowProcW(window, msg, wp, lp);
  }
  return self->Handle(msg, wp, lp);
}

LRESULT ERSplitter::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  switch (msg) {
    case WM_LBUTTONDOWN:
      BeginDrag(at);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) Drag(at);
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) {
        Drag(at);
        Drop();
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (dragging_) EndDrag();  // the drag was taken away: nothing moves
      return 0;
  }
  return DefWindowProcW(window_, msg, wp, lp);
}

RECT ERSplitter::Placement() const {
  RECT r;
  GetWindowRect(window_, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

int ERSplitter::BarPosition(POINT at) const {
  RECT parent;
  GetClientRect(GetParent(window_), &parent);
  const int x = Placement().left + at.x - grabX_;
  return std::clamp(x, 0, std::max(0, static_cast<int>(parent.right) - BarWidth()));
}

int ERSplitter::BarWidth() const {
  return Scaled(kBarWidth, WindowDpi(window_));
}

void ERSplitter::InvertBar(int x) const {
  HWND parent = GetParent(window_);
  const RECT place = Placement();
  // Without DCX_CLIPCHILDREN the bar shows over the parent's child windows too.
  const ScopedDC dc = ScopedDC::ForWindow(parent, DCX_CACHE);
  const ScopedGdiObject<HBRUSH> brush = CreateHalftoneBrush();
  const ScopedSelection selected(dc.Get(), brush.Get());
  PatBlt(dc.Get(), x, place.top, BarWidth(), place.bottom - place.top, PATINVERT);
}

void ERSplitter::BeginDrag(POINT at) {
  grabX_ = at.x;
  dragging_ = true;
  SetCapture(window_);
  barX_ = BarPosition(at);
  InvertBar(barX_);
}

void ERSplitter::Drag(POINT at) {
  const int x = BarPosition(at);
  if (x == barX_) return;
  InvertBar(barX_);
  barX_ = x;
  InvertBar(barX_);
}

void ERSplitter::Drop() {
  const int x = barX_;
  EndDrag();
  const RECT place = Placement();
  SetWindowPos(window_, nullptr, x, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (callback_) callback_(callbackArg_, x);
}

void ERSplitter::EndDrag() {
  dragging_ = false;
  InvertBar(barX_);
  if (GetCapture() == window_) ReleaseCapture();
}

}  // namespace DAVavador
