#pragma once
// The whole text of any window or control, however long.
#include <windows.h>

#include "storage/Text.h"

namespace DAVavador {

inline WString WindowText(HWND window) {
  WString text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace DAVavador
