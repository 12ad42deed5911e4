#pragma once
// Owners of what painting code borrows from GDI: a device context, an object it created and an
// object selected into a context. Each gives back what it took when its scope ends, on every way
// out. Declared in the order of use (context, object, selection), they unwind in the order GDI
// wants: the selection is undone before the object is deleted, and both before the context goes.
#include <windows.h>

#include "toolkit/ScopedResource.h"

namespace DAVavador {

// A device context: a window's (GetDC/ReleaseDC; no window: the screen's), a window's painting
// one (BeginPaint/EndPaint, for WM_PAINT only), or one the program made and deletes (DeleteDC).
class ScopedDC {
 public:
  static ScopedDC ForWindow(HWND window) { return ScopedDC(Kind::kWindow, window, GetDC(window)); }
  // The same through GetDCEx, for its DCX_ flags.
  static ScopedDC ForWindow(HWND window, DWORD flags) {
    return ScopedDC(Kind::kWindow, window, GetDCEx(window, nullptr, flags));
  }
  static ScopedDC ForPaint(HWND window) { return ScopedDC(window); }
  // A memory context compatible with `dc` (null: the screen).
  static ScopedDC Compatible(HDC dc) { return ScopedDC(Kind::kOwned, nullptr, CreateCompatibleDC(dc)); }
  // A context created elsewhere (a printer's, say) that this one deletes.
  static ScopedDC Adopt(HDC dc) { return ScopedDC(Kind::kOwned, nullptr, dc); }

  // Neither copied nor moved: the factories' results initialise the caller's object directly.
  ScopedDC(const ScopedDC&) = delete;
  ScopedDC& operator=(const ScopedDC&) = delete;
  ~ScopedDC() {
    if (kind_ == Kind::kPaint) {
      EndPaint(window_, &paint_);
    } else if (dc_) {
      if (kind_ == Kind::kWindow)
        ReleaseDC(window_, dc_);
      else
        DeleteDC(dc_);
    }
  }

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  const PAINTSTRUCT& Paint() const { return paint_; }  // ForPaint only

 private:
  enum class Kind { kWindow, kPaint, kOwned };
  ScopedDC(Kind kind, HWND window, HDC dc) : kind_(kind), window_(window), dc_(dc) {}
  explicit ScopedDC(HWND window) : kind_(Kind::kPaint), window_(window) { dc_ = BeginPaint(window, &paint_); }

  Kind kind_;
  HWND window_;
  HDC dc_ = nullptr;
  PAINTSTRUCT paint_ = {};
};

// A pen, brush, font, bitmap or region the program created, deleted when the scope ends unless
// Release hands it on.
struct GdiObjectTraits {
  static bool IsReal(HGDIOBJ object) { return object != nullptr; }
  static void Close(HGDIOBJ object) { DeleteObject(object); }
};
template <typename Object = HGDIOBJ>
using ScopedGdiObject = ScopedResource<Object, GdiObjectTraits>;

// An object selected into a context for the scope; the context's previous object returns at the
// end, so that the selected one may be deleted and the context released.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;
  ~ScopedSelection() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace DAVavador
