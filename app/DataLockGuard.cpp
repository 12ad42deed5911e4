#include "app/DataLockGuard.h"

#include "toolkit/ScopedHandle.h"

bool StartBackgroundThread(LPTHREAD_START_ROUTINE proc, void* arg) {
  const DAVavador::ScopedHandle thread(CreateThread(nullptr, kWorkerStackSize, proc, arg, 0, nullptr));
  return static_cast<bool>(thread);
}
