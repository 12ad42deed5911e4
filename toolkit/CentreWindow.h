#pragma once
#include <windows.h>

// Moves `window` so that its centre lies on the centre of `over` (of the screen's work area when
// `over` is null), kept inside the work area.
void CentreWindow(HWND window, HWND over);
