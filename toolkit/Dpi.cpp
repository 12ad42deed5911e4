#include "toolkit/Dpi.h"

#include <map>

namespace DAVavador {

namespace {

UINT SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

// Fonts by DPI. The stock GUI font has the system's DPI; the others are made of its size in points.
std::map<UINT, HFONT>& Fonts() {
  static std::map<UINT, HFONT> fonts;
  return fonts;
}

bool IsControlFont(HFONT font) {
  if (font == GetStockObject(DEFAULT_GUI_FONT)) return true;
  for (const auto& entry : Fonts())
    if (entry.second == font) return true;
  return false;
}

}  // namespace

UINT WindowDpi(HWND window) {
  // Looked up by name: systems before Windows 10 have no per-window DPI.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
  return dpi ? dpi : SystemDpi();
}

HFONT ControlFont(UINT dpi) {
  const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const UINT system = SystemDpi();
  if (dpi == system) return stock;
  HFONT& font = Fonts()[dpi];
  if (!font) {
    LOGFONTW face{};
    GetObjectW(stock, sizeof(face), &face);
    // The same size in points, as the system's own font at that DPI.
    const int points = MulDiv(-face.lfHeight, 72, static_cast<int>(system));
    face.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    face.lfWidth = 0;
    font = CreateFontIndirectW(&face);
  }
  return font ? font : stock;
}

void RefontChildren(HWND window, UINT dpi) {
  const HFONT font = ControlFont(dpi);
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lp) {
        const auto current = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        if (IsControlFont(current)) SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(lp), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font));
}

}  // namespace DAVavador
