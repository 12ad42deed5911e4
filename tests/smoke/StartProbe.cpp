// Waits for Mirepan's main window to show, answers the questions it asks on the way (a first start
// offers the shipped nutrient data) with their default button, and closes the window as a user
// would. Exit code 0 when the window showed and went within the
// given seconds (default 120), 1 when it never showed, 2 when it did not go.
#include <windows.h>

#include <cwchar>

namespace {

bool Before(DWORD deadline) {
  return static_cast<LONG>(deadline - GetTickCount()) > 0;
}

// Presses the default button of the dialogs and message boxes the program shows over its main
// window, visible or not yet.
BOOL CALLBACK AnswerOwnedDialog(HWND window, LPARAM main) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (GetWindow(window, GW_OWNER) != reinterpret_cast<HWND>(main) || wcscmp(className, L"#32770") != 0 ||
      !IsWindowVisible(window))
    return TRUE;
  const LRESULT defaultId = SendMessageW(window, DM_GETDEFID, 0, 0);
  const WORD button = HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK;
  PostMessageW(window, WM_COMMAND, button, 0);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const DWORD deadline = GetTickCount() + 1000u * (argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 120u);
  HWND main = nullptr;
  while (!((main = FindWindowW(L"Mirepan", nullptr)) && IsWindowVisible(main))) {
    if (!Before(deadline)) return 1;
    if (main) EnumWindows(&AnswerOwnedDialog, reinterpret_cast<LPARAM>(main));
    Sleep(500);
  }
  while (IsWindow(main)) {
    if (!Before(deadline)) return 2;
    if (IsWindowEnabled(main))
      PostMessageW(main, WM_CLOSE, 0, 0);
    else
      EnumWindows(&AnswerOwnedDialog, reinterpret_cast<LPARAM>(main));
    Sleep(500);
  }
  return 0;
}
