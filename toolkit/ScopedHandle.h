#pragma once
// A kernel handle (thread, mutex, file) closed when the scope or the owner ends. Both null and
// INVALID_HANDLE_VALUE mean none, as the functions that create handles use either for failure.
#include <windows.h>

#include "toolkit/ScopedResource.h"

namespace DAVavador {

struct KernelHandleTraits {
  static bool IsReal(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { CloseHandle(handle); }
};
using ScopedHandle = ScopedResource<HANDLE, KernelHandleTraits>;

}  // namespace DAVavador
