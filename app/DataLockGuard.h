#pragma once
// The data lock held for a scope, and the detached threads of background saves.
#include <windows.h>

#include "toolkit/ERApp.h"

// Waits without time-out for the application's data lock and releases it at the end of the scope.
// The thread holding the lock may take it again; each guard releases once.
class DataLockGuard {
 public:
  DataLockGuard() { DAVavador::ERApp::LockData(); }
  ~DataLockGuard() { DAVavador::ERApp::UnlockData(); }
  DataLockGuard(const DataLockGuard&) = delete;
  DataLockGuard& operator=(const DataLockGuard&) = delete;
};

// Stack reserved for every worker and background thread.
constexpr SIZE_T kWorkerStackSize = 128 * 1024;

// Starts `proc` on a thread of its own that nobody waits for: the handle is closed at once and
// the thread ends by returning. False when the thread cannot be created.
bool StartBackgroundThread(LPTHREAD_START_ROUTINE proc, void* arg);
