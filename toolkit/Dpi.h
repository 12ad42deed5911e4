#pragma once
// Pixels for the window's DPI. Hand-placed layouts are designed in pixels at 96 DPI and scaled
// here; under per-monitor awareness each window has the DPI of the monitor it is on.
#include <windows.h>

namespace DAVavador {

constexpr UINT kDesignDpi = 96;

// The DPI a window lays out at: its monitor's when the program is per-monitor aware, the system's
// otherwise (and on systems without per-window DPI).
UINT WindowDpi(HWND window);

// A length designed at 96 DPI in pixels at `dpi`.
inline int Scaled(int pixels, UINT dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), kDesignDpi);
}

// The controls' font (the system's GUI font) at `dpi`; made once per DPI, kept for the process.
HFONT ControlFont(UINT dpi);

// Gives every child of `window` made by the toolkit the control font at `dpi`.
void RefontChildren(HWND window, UINT dpi);

}  // namespace DAVavador
