#include "toolkit/ERWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <utility>
#include <vector>

#include "toolkit/Dpi.h"

namespace DAVavador {

struct ERWindowData {
  struct StackEntry {
    HWND window;
    WNDPROC previousProc;
    bool attached;
  };
  std::vector<std::pair<CommandCallback, void*>> commandCallbacks;
  std::vector<StackEntry> attachStack;
  WNDPROC previousProc = nullptr;  // null when another wrapper routes this window
  WString text;
  HMENU popupMenu = nullptr;
  PopupPrepare prepare = nullptr;
  void* prepareArg = nullptr;
  HWND window = nullptr;
  HWND parent = nullptr;
  bool attached = false;
  bool hoverTracking = false;
  bool hovering = false;
  WheelCallback wheel = nullptr;
  void* wheelArg = nullptr;
  HWND tooltip = nullptr;
};

namespace {
const wchar_t kWrapperProp[] = L"DAVavador.ERWindow";

// Carries the work of RunOnWindowThread; registered, so it clashes with no window's own messages.
UINT RunWorkMessage() {
  static const UINT message = RegisterWindowMessageW(L"DAVavador.ERWindow.RunWork");
  return message;
}

// Carries the work of PostToWindowThread, which the receiver owns.
UINT PostedWorkMessage() {
  static const UINT message = RegisterWindowMessageW(L"DAVavador.ERWindow.PostedWork");
  return message;
}
}  // namespace

struct ERWindowRouter {
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<ERWindow*>(GetPropW(window, kWrapperProp));
    return self ? self->Route(window, msg, wp, lp) : DefWindowProcW(window, msg, wp, lp);
  }
};

WString ResourceString(UINT id) {
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? WString(text, length) : WString();
}

ERWindow::ERWindow() : data_(std::make_unique<ERWindowData>()) {}

ERWindow::~ERWindow() {
  ReleaseWindow();
  if (data_->popupMenu) DestroyMenu(data_->popupMenu);
}

bool ERWindow::GetClientRect(RECT& rect) const {
  if (!data_->window) {
    rect = RECT{};
    return false;
  }
  return ::GetClientRect(data_->window, &rect) != FALSE;
}

WString ERWindow::GetText() const {
  return data_->text;
}

int ERWindow::Height() const {
  RECT r;
  return GetClientRect(r) ? r.bottom - r.top : 0;
}

int ERWindow::Width() const {
  RECT r;
  return GetClientRect(r) ? r.right - r.left : 0;
}

void ERWindow::Detach() {
  if (!data_->attached) return;
  Unhook();
  data_->window = nullptr;
  data_->parent = nullptr;
  data_->attached = false;
  if (data_->attachStack.empty()) return;
  const ERWindowData::StackEntry previous = data_->attachStack.back();
  data_->attachStack.pop_back();
  data_->attached = previous.attached;
  Hook(previous.window);
}

void ERWindow::Attach(HWND window) {
  if (!window) return;
  if (data_->window) {
    data_->attachStack.push_back({data_->window, data_->previousProc, data_->attached});
    Unhook();
  }
  data_->attached = true;
  Hook(window);
}

void ERWindow::AutoSize() {
  if (data_->window)
    SetWindowPos(data_->window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ERWindow::Move(int x, int y, int width, int height) {
  SetPos(x, y, width, height, nullptr);
}

void ERWindow::SetPos(int x, int y, int width, int height, HWND insertAfter) {
  if (!data_->window) return;
  UINT flags = SWP_NOACTIVATE;
  if (!insertAfter) flags |= SWP_NOZORDER;
  if (x < 0 || y < 0) flags |= SWP_NOMOVE;
  if (width < 0 || height < 0) flags |= SWP_NOSIZE;
  SetWindowPos(data_->window, insertAfter, x, y, width, height, flags);
  UpdateTooltipArea();
}

void ERWindow::SetText(const WString& text) {
  data_->text = text;
  if (data_->window) SetWindowTextW(data_->window, text.c_str());
}

void ERWindow::SetText(const WChar* text) {
  SetText(text ? WString(text) : WString());
}

HWND ERWindow::Window() const {
  return data_->window;
}
HWND ERWindow::Parent() const {
  return data_->parent;
}
int ERWindow::Id() const {
  return data_->window ? GetDlgCtrlID(data_->window) : 0;
}
bool ERWindow::IsAttached() const {
  return data_->attached;
}

LRESULT ERWindow::Send(UINT msg, WPARAM wp, LPARAM lp) const {
  return data_->window ? SendMessageW(data_->window, msg, wp, lp) : 0;
}

void ERWindow::RunOnWindowThread(const std::function<void()>& work) const {
  HWND window = data_->window;
  if (!window || GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return work();
  SendMessageW(window, RunWorkMessage(), 0, reinterpret_cast<LPARAM>(&work));
}

void ERWindow::PostToWindowThread(std::function<void()> work) const {
  HWND window = data_->window;
  if (!window || GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return work();
  auto posted = std::make_unique<std::function<void()>>(std::move(work));
  if (PostMessageW(window, PostedWorkMessage(), 0, reinterpret_cast<LPARAM>(posted.get()))) posted.release();
}

void ERWindow::Show(bool show) const {
  if (data_->window) ShowWindow(data_->window, show ? SW_SHOW : SW_HIDE);
}

bool ERWindow::IsVisible() const {
  return data_->window && IsWindowVisible(data_->window);
}

void ERWindow::Enable(bool enable) const {
  if (data_->window) EnableWindow(data_->window, enable);
}

void ERWindow::Invalidate() const {
  if (data_->window) InvalidateRect(data_->window, nullptr, TRUE);
}

void ERWindow::SetFont(HFONT font) const {
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ERWindow::AddCommandHandler(CommandCallback callback, void* arg) {
  if (callback) data_->commandCallbacks.emplace_back(callback, arg);
}

void ERWindow::SetPopupMenu(HMENU menu, PopupPrepare prepare, void* arg) {
  if (data_->popupMenu && data_->popupMenu != menu) DestroyMenu(data_->popupMenu);
  data_->popupMenu = menu;
  data_->prepare = prepare;
  data_->prepareArg = arg;
}

HMENU ERWindow::PopupMenu() const {
  HMENU menu = data_->popupMenu;
  HMENU first = menu ? GetSubMenu(menu, 0) : nullptr;
  return first ? first : menu;
}

void ERWindow::SetHoverTracking(bool on) {
  data_->hoverTracking = on;
  if (!on) data_->hovering = false;
}

bool ERWindow::IsHovering() const {
  return data_->hovering;
}

void ERWindow::SetWheelCallback(WheelCallback callback, void* arg) {
  data_->wheel = callback;
  data_->wheelArg = arg;
}

void ERWindow::SetTooltip(const WString& text) {
  if (!data_->window) return;
  if (!data_->tooltip) {
    data_->tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, data_->window, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
    if (!data_->tooltip) return;
    SendMessageW(data_->tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
  }
  TOOLINFOW tool = {sizeof(tool)};
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = data_->window;
  tool.uId = 1;
  tool.lpszText = const_cast<LPWSTR>(text.c_str());
  ::GetClientRect(data_->window, &tool.rect);
  SendMessageW(data_->tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(data_->tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND ERWindow::Tooltip() const {
  return data_->tooltip;
}

void ERWindow::UpdateTooltipArea() const {
  if (!data_->tooltip) return;
  TOOLINFOW tool = {sizeof(tool)};
  tool.hwnd = data_->window;
  tool.uId = 1;
  ::GetClientRect(data_->window, &tool.rect);
  SendMessageW(data_->tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool ERWindow::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id, int x,
                             int y, int width, int height) {
  ReleaseWindow();
  HWND window =
      CreateWindowExW(exStyle, className, data_->text.c_str(), style, x, y, width, height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!window) return false;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(WindowDpi(window))), FALSE);
  data_->attached = false;
  Hook(window);
  return true;
}

WString ERWindow::QueryText(UINT lengthMessage, UINT textMessage, WPARAM index) const {
  const int length = static_cast<int>(Send(lengthMessage, index));
  if (length <= 0) return WString();
  WString text(length + 1, L'\0');
  Send(textMessage, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

void ERWindow::Hook(HWND window) {
  data_->window = window;
  data_->parent = GetParent(window);
  data_->previousProc = nullptr;
  if (GetPropW(window, kWrapperProp)) return;  // another wrapper routes it already
  SetPropW(window, kWrapperProp, this);
  data_->previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ERWindowRouter::Proc)));
}

void ERWindow::Unhook() {
  HWND window = data_->window;
  if (!window || !data_->previousProc) return;
  if (GetPropW(window, kWrapperProp) == this) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(data_->previousProc));
    RemovePropW(window, kWrapperProp);
  }
  data_->previousProc = nullptr;
}

void ERWindow::ReleaseWindow() {
  if (data_->tooltip) DestroyWindow(data_->tooltip);
  data_->tooltip = nullptr;
  while (data_->window) {
    if (data_->attached) {
      Detach();
      continue;
    }
    HWND owned = data_->window;
    Unhook();
    data_->window = nullptr;
    DestroyWindow(owned);
    if (data_->attachStack.empty()) break;
    const ERWindowData::StackEntry previous = data_->attachStack.back();
    data_->attachStack.pop_back();
    data_->attached = previous.attached;
    Hook(previous.window);
  }
  data_->attachStack.clear();
  data_->parent = nullptr;
  data_->attached = false;
  data_->hovering = false;
}

LRESULT ERWindow::Route(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  const WNDPROC previous = data_->previousProc;
  if (msg == RunWorkMessage()) {
    (*reinterpret_cast<const std::function<void()>*>(lp))();
    return 0;
  }
  if (msg == PostedWorkMessage()) {
    const std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lp));
    (*work)();
    return 0;
  }
  switch (msg) {
    case WM_DESTROY:
      return 0;
    case WM_NCDESTROY: {
      // Destroyed from outside (with its parent): forget the handle so nothing touches it again.
      data_->previousProc = nullptr;
      RemovePropW(window, kWrapperProp);
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      if (window == data_->window) data_->window = nullptr;
      return CallWindowProcW(previous, window, msg, wp, lp);
    }
    case WM_NOTIFY:
      if (data_->popupMenu && reinterpret_cast<NMHDR*>(lp)->code == static_cast<UINT>(NM_RCLICK)) {
        ShowPopup(window);
        return 0;
      }
      break;
    case WM_RBUTTONDOWN:
      if (data_->popupMenu) {
        SelectRowUnderPointer(window, lp);
        ShowPopup(window);
        return 0;
      }
      break;
    case WM_CONTEXTMENU:
      // The menu key or Shift+F10 (the mouse's right button came as WM_RBUTTONDOWN).
      if (data_->popupMenu && lp == -1) {
        const POINT at = KeyboardMenuPoint(window);
        ShowPopup(window, &at);
        return 0;
      }
      break;
    case WM_COMMAND:
      for (const auto& [callback, arg] : data_->commandCallbacks)
        if (callback(arg, wp, lp)) return 0;
      break;
    case WM_MOUSEMOVE:
      if (data_->hoverTracking) TrackHover(window, lp);
      break;
    case WM_LBUTTONUP:
      if (data_->hovering) {
        data_->hovering = false;
        ReleaseCapture();
        InvalidateRect(window, nullptr, TRUE);
        const int id = GetDlgCtrlID(window);
        SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(window));
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:
      if (data_->wheel) {
        data_->wheel(data_->wheelArg, GET_WHEEL_DELTA_WPARAM(wp));
        return 0;
      }
      break;
  }
  return CallWindowProcW(previous, window, msg, wp, lp);
}

// As in every Windows list, the pop-up acts on the row pointed at: a right click on a row that is
// not selected selects that row alone and focuses it; on a selected row the selection stays.
void ERWindow::SelectRowUnderPointer(HWND window, LPARAM lp) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (lstrcmpiW(name, WC_LISTVIEWW) != 0) return;
  LVHITTESTINFO hit = {};
  hit.pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const int row = ListView_HitTest(window, &hit);
  if (row < 0 || ListView_GetItemState(window, row, LVIS_SELECTED)) return;
  ListView_SetItemState(window, -1, 0, LVIS_SELECTED);
  ListView_SetItemState(window, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// Where a menu opened from the keyboard shows: below the focused row of a list, else at the
// window's top left corner, in screen coordinates.
POINT ERWindow::KeyboardMenuPoint(HWND window) {
  RECT place{};
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  const int row = lstrcmpiW(name, WC_LISTVIEWW) == 0 ? ListView_GetNextItem(window, -1, LVNI_FOCUSED) : -1;
  if (row >= 0) ListView_GetItemRect(window, row, &place, LVIR_LABEL);
  POINT at{place.left, place.bottom};
  ClientToScreen(window, &at);
  return at;
}

void ERWindow::ShowPopup(HWND window, const POINT* place) {
  HMENU menu = PopupMenu();
  if (data_->prepare) data_->prepare(data_->prepareArg, menu);
  POINT at;
  if (place)
    at = *place;
  else
    GetCursorPos(&at);
  SetForegroundWindow(window);
  const UINT command =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr);
  // Lets the menu close properly when the user clicks elsewhere.
  PostMessageW(window, WM_NULL, 0, 0);
  // Menu commands go to the main window, which routes every command; the list's own parent may be
  // a control (the tab control) that has no use for them.
  if (command) SendMessageW(GetAncestor(window, GA_ROOT), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void ERWindow::TrackHover(HWND window, LPARAM lp) {
  RECT client;
  ::GetClientRect(window, &client);
  const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  const bool inside = PtInRect(&client, at) != FALSE;
  if (inside == data_->hovering) return;
  data_->hovering = inside;
  if (inside)
    SetCapture(window);
  else
    ReleaseCapture();
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace DAVavador
