#include "ToolkitTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace toolkit_test {

namespace {

const wchar_t kClassName[] = L"ToolkitTestWindow";

class CommonControls : public testing::Environment {
 public:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
};
testing::Environment* const commonControls = testing::AddGlobalTestEnvironment(new CommonControls);

LRESULT CALLBACK HostProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) HostCommands().push_back(LOWORD(wp));
  return DefWindowProcW(window, msg, wp, lp);
}

void RegisterOnce() {
  static bool registered = [] {
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

HWND Host() {
  static HWND host = CreateWindowExW(0, kClassName, L"Toolkit test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     1100, 800, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return host;
}

}  // namespace

RecordingWindow::RecordingWindow(int width, int height, HWND parent) {
  RegisterOnce();
  window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height,
                            parent ? parent : Host(), reinterpret_cast<HMENU>(4242),
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingWindow::Proc));
  BringWindowToTop(window_);
}

RecordingWindow::~RecordingWindow() {
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

std::vector<Received> RecordingWindow::Commands() const {
  std::vector<Received> commands;
  for (const Received& r : received_)
    if (r.msg == WM_COMMAND) commands.push_back(r);
  return commands;
}

LRESULT CALLBACK RecordingWindow::Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_DESTROY || msg == WM_MOUSEWHEEL))
    self->received_.push_back({msg, wp, lp});
  if (msg == WM_DESTROY) return 0;
  LRESULT result = 0;
  if (self && msg == WM_NOTIFY && self->onNotify && self->onNotify(reinterpret_cast<NMHDR*>(lp), result))
    return result;
  return DefWindowProcW(window, msg, wp, lp);
}

std::vector<WORD>& HostCommands() {
  static std::vector<WORD> commands;
  return commands;
}

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

}  // namespace toolkit_test
