// The process entry: the main window class, the main window, the accelerators and the message
// loop. The application object lives in the main window's user data from WM_CREATE to WM_CLOSE.
#include <windows.h>

#include "app/ERAppWindows.h"
#include "food/Texts.h"
#include "resources/resource.h"

using DAVavador::ERAppWindows;

namespace {

WString StringTableText(uint32_t id) {
  return DAVavador::ERApp::Current()->String(id);
}

// Keys an edit box with the keyboard uses itself (the find box): Delete deletes characters there,
// not records, and Ctrl+A selects its text.
bool IsEditingKey(const MSG& message) {
  const bool ctrlA = message.message == WM_CHAR && message.wParam == 1;  // as a character accelerator
  if (message.message != WM_KEYDOWN && !ctrlA) return false;
  wchar_t className[8] = {};
  GetClassNameW(GetFocus(), className, 8);
  if (lstrcmpiW(className, L"Edit") != 0) return false;
  return ctrlA || message.wParam == VK_DELETE || (message.wParam == 'A' && GetKeyState(VK_CONTROL) < 0);
}

// A close asked for while the window was disabled under a dialog.
bool closeWhenEnabled = false;

ERAppWindows* AppOf(HWND window) {
  return reinterpret_cast<ERAppWindows*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK MainProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      auto* app = new ERAppWindows(reinterpret_cast<const CREATESTRUCTW*>(lp)->hInstance, window);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
      if (app->Start()) return 0;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      app->SetMainWindow(nullptr);  // the failed creation takes the window down itself
      delete app;
      return -1;
    }
    case WM_CLOSE:
      // A question or dialog is up (the window is disabled under it): the program is inside its
      // modal loop and closes once that is answered (the window is enabled again), never from
      // under it.
      if (!IsWindowEnabled(window)) {
        closeWhenEnabled = true;
        return 0;
      }
      closeWhenEnabled = false;
      if (ERAppWindows* app = AppOf(window)) {
        if (!app->Shutdown()) return 0;  // a catalog could not be saved and the user stays
        delete app;
        return 0;
      }
      break;
    case WM_ENABLE:
      // Posted, so that the command that ran the dialog finishes first.
      if (wp && closeWhenEnabled) PostMessageW(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      if (ERAppWindows* app = AppOf(window)) {
        LRESULT result;
        if (app->HandleMessage(msg, wp, lp, result)) return result;
      }
  }
  return DefWindowProcW(window, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  LoadTextById = &StringTableText;
  WNDCLASSEXW wc = {sizeof(wc)};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"Mirepan");
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN_DEFAULT);
  wc.lpszClassName = L"Mirepan";
  RegisterClassExW(&wc);
  HWND window = CreateWindowExW(0, L"Mirepan", L"Mirepan", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  HACCEL accelerators = LoadAcceleratorsW(instance, L"Mirepan");
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsEditingKey(message) && TranslateAcceleratorW(window, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
