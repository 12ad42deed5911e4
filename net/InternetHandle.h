#pragma once
// A WinINet handle (session, connection or request), closed when it goes.
#include <windows.h>
#include <wininet.h>

#include "toolkit/ScopedResource.h"

struct InternetHandleTraits {
  static bool IsReal(HINTERNET handle) { return handle != nullptr; }
  static void Close(HINTERNET handle) { InternetCloseHandle(handle); }
};
using InternetHandle = DAVavador::ScopedResource<HINTERNET, InternetHandleTraits>;
