#include "app/ProgressWindow.h"

#include <commctrl.h>

#include "toolkit/CentreWindow.h"
#include "app/DataLockGuard.h"
#include "resource.h"

bool ProgressWindow::Run(HWND owner, UINT titleStringId, ThreadProc proc, void* arg, CancelFunction cancel) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  title = app_.String(titleStringId);
  threadProc = proc;
  threadArg = arg;
  onCancel = cancel;
  INT_PTR result = app_.RunDialog(IDD_PROGRESS, DialogProc, reinterpret_cast<LPARAM>(this), owner);
  dialog = nullptr;
  return result == 1;
}

void ProgressWindow::SetProgress(int percent) const {
  if (dialog) SendMessageW(dialog, kSetProgress, percent, 0);
}

void ProgressWindow::SetSecondProgress(int percent) const {
  if (dialog) SendMessageW(dialog, kSetSecondProgress, percent, 0);
}

void ProgressWindow::Finish(bool failed) {
  thread.Reset();
  SendMessageW(dialog, failed ? kFailed : kSucceeded, 0, 0);
}

INT_PTR CALLBACK ProgressWindow::DialogProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lp);
    reinterpret_cast<ProgressWindow*>(lp)->OnInit(window, GetWindow(window, GW_OWNER));
    return TRUE;
  }
  auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  switch (msg) {
    case kSetProgress:
      SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETPOS, wp, 0);
      return TRUE;
    case kSetSecondProgress:
      SendDlgItemMessageW(window, IDC_PROGRESS_BAR2, PBM_SETPOS, wp, 0);
      return TRUE;
    case kFailed:
    case kSucceeded:
      EndDialog(window, msg == kSucceeded);
      return TRUE;
    case WM_TIMER:
      if (wp != kStartTimer) return FALSE;
      KillTimer(window, kStartTimer);
      self->StartWorker();
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wp) != IDCANCEL) return FALSE;
      self->OnCancel();
      return TRUE;
  }
  return FALSE;
}

void ProgressWindow::OnInit(HWND window, HWND owner) {
  dialog = window;
  CentreWindow(window, owner);
  if (!showSecondBar) ShowWindow(GetDlgItem(window, IDC_PROGRESS_BAR2), SW_HIDE);
  SetDlgItemTextW(window, IDC_PROGRESS_TITLE, title.c_str());
  SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
  SendDlgItemMessageW(window, IDC_PROGRESS_BAR2, PBM_SETRANGE32, 0, 100);
  HWND cancel = GetDlgItem(window, IDCANCEL);
  ShowWindow(cancel, onCancel ? SW_SHOW : SW_HIDE);
  EnableWindow(cancel, onCancel != nullptr);
  // Without the timer no worker would ever start, so the window gives up at once.
  if (!SetTimer(window, kStartTimer, 25, nullptr)) EndDialog(window, 0);
}

void ProgressWindow::StartWorker() {
  // Started suspended so that the handle is stored before the worker can reach Finish.
  thread.Reset(CreateThread(nullptr, kWorkerStackSize, threadProc, threadArg, CREATE_SUSPENDED, nullptr));
  if (!thread) {
    EndDialog(dialog, 1);  // as if the worker had finished without failure
    return;
  }
  ResumeThread(thread.Get());
}

void ProgressWindow::OnCancel() {
  HWND button = GetDlgItem(dialog, IDCANCEL);
  if (!onCancel || !IsWindowEnabled(button)) return;
  EnableWindow(button, FALSE);  // works once; the worker decides when to finish
  onCancel(threadArg);
}
