#include "views/PictureDialog.h"

#include "resource.h"
#include "toolkit/ScopedGdi.h"

void PictureDialog::Run() {
  app_.RunDialog(IDD_PICTURE, DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK PictureDialog::DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<PictureDialog*>(lp)->FitAround(dialog);
    return TRUE;
  }
  const auto* self = reinterpret_cast<PictureDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case WM_PAINT:
      self->Paint(dialog);
      return TRUE;
    case WM_RBUTTONDOWN:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) != IDCANCEL && LOWORD(wp) != IDOK) return FALSE;
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

void PictureDialog::FitAround(HWND dialog) const {
  RECT frame = {0, 0, picture_.Width() + 2 * kMargin, picture_.Height() + 2 * kMargin};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
}

void PictureDialog::Paint(HWND dialog) const {
  const DAVavador::ScopedDC dc = DAVavador::ScopedDC::ForPaint(dialog);
  picture_.Draw(dc.Get(), kMargin, kMargin);
}
