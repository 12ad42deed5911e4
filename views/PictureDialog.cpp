#include "views/PictureDialog.h"

#include "resource.h"
#include "toolkit/ScopedGdi.h"

void PictureDialog::Run() {
  RunModal(app_, IDD_PICTURE);
}

// The window fits itself around the picture.
bool PictureDialog::OnInit() {
  RECT frame = {0, 0, picture_.Width() + 2 * kMargin, picture_.Height() + 2 * kMargin};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Dialog(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Dialog(), GWL_EXSTYLE)));
  SetWindowPos(Dialog(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  return true;
}

// Enter closes it as Escape does.
bool PictureDialog::OnOK() {
  End(IDCANCEL);
  return false;
}

bool PictureDialog::OnMessage(UINT msg, WPARAM, LPARAM, INT_PTR& result) {
  if (msg == WM_PAINT) {
    Paint();
  } else if (msg == WM_RBUTTONDOWN) {
    End(IDCANCEL);
  } else {
    return false;
  }
  result = TRUE;
  return true;
}

void PictureDialog::Paint() const {
  const DAVavador::ScopedDC dc = DAVavador::ScopedDC::ForPaint(Dialog());
  picture_.Draw(dc.Get(), kMargin, kMargin);
}
