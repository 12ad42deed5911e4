#pragma once
// Waiting on the interface thread without stopping it: the thread's messages (timers, posted
// results, the dialogs of a modal loop) keep running while a test waits for something to happen.
#include <windows.h>

namespace test_support {

// Dispatches this thread's messages until `done()` holds or `ms` milliseconds have passed; whether
// it holds.
template <class Done>
bool PumpUntil(Done done, DWORD ms = 10000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

}  // namespace test_support
