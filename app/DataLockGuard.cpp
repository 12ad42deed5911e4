#include "app/DataLockGuard.h"

bool StartBackgroundThread(LPTHREAD_START_ROUTINE proc, void* arg) {
  HANDLE thread = CreateThread(nullptr, kWorkerStackSize, proc, arg, 0, nullptr);
  if (!thread) return false;
  CloseHandle(thread);
  return true;
}
