#include "toolkit/CentreWindow.h"

#include <algorithm>

void CentreWindow(HWND window, HWND over) {
  RECT work{}, target{}, own{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  if (!over || !GetWindowRect(over, &target)) target = work;
  GetWindowRect(window, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  int x = (target.left + target.right - width) / 2;
  int y = (target.top + target.bottom - height) / 2;
  x = std::max<int>(work.left, std::min<int>(x, work.right - width));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
