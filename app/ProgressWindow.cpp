#include "app/ProgressWindow.h"

#include <commctrl.h>

#include "app/DataLockGuard.h"

#include "resource.h"

bool ProgressWindow::Run(HWND owner, UINT titleStringId, ThreadProc proc, void* arg, CancelFunction cancel) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  title = app_.String(titleStringId);
  threadProc = proc;
  threadArg = arg;
  onCancel = cancel;
  const HWND main = app_.MainWindow();
  const auto id = reinterpret_cast<UINT_PTR>(this);
  const bool watched =
      cancel && main && SetWindowSubclass(main, &MainWindowMessage, id, reinterpret_cast<DWORD_PTR>(this));
  const bool succeeded = RunModal(app_, IDD_PROGRESS, owner) == 1;
  if (watched) RemoveWindowSubclass(main, &MainWindowMessage, id);
  return succeeded;
}

LRESULT CALLBACK ProgressWindow::MainWindowMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                                   DWORD_PTR self) {
  if (msg == WM_CLOSE) reinterpret_cast<ProgressWindow*>(self)->OnCancel();
  return DefSubclassProc(window, msg, wp, lp);
}

void ProgressWindow::SetProgress(int percent) const {
  if (const HWND dialog = Dialog()) SendMessageW(dialog, kSetProgress, static_cast<WPARAM>(percent), 0);
}

void ProgressWindow::SetSecondProgress(int percent) const {
  if (const HWND dialog = Dialog()) SendMessageW(dialog, kSetSecondProgress, static_cast<WPARAM>(percent), 0);
}

void ProgressWindow::Finish(bool failed) {
  thread.Reset();
  SendMessageW(Dialog(), failed ? kFailed : kSucceeded, 0, 0);
}

bool ProgressWindow::OnMessage(UINT msg, WPARAM wp, LPARAM, INT_PTR& result) {
  switch (msg) {
    case kSetProgress:
    case kSetSecondProgress:
      Message(msg == kSetProgress ? IDC_PROGRESS_BAR : IDC_PROGRESS_BAR2, PBM_SETPOS, wp);
      break;
    case kFailed:
    case kSucceeded:
      End(msg == kSucceeded);
      break;
    case WM_TIMER:
      if (wp != kStartTimer) return false;
      KillTimer(Dialog(), kStartTimer);
      StartWorker();
      break;
    default:
      return false;
  }
  result = TRUE;
  return true;
}

bool ProgressWindow::OnCommand(int id, int) {
  if (id != IDCANCEL) return false;
  OnCancel();
  return true;
}

bool ProgressWindow::OnInit() {
  if (!showSecondBar) ShowWindow(Item(IDC_PROGRESS_BAR2), SW_HIDE);
  SetItemText(IDC_PROGRESS_TITLE, title);
  Message(IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, 100);
  Message(IDC_PROGRESS_BAR2, PBM_SETRANGE32, 0, 100);
  const HWND cancel = Item(IDCANCEL);
  ShowWindow(cancel, onCancel ? SW_SHOW : SW_HIDE);
  EnableWindow(cancel, onCancel != nullptr);
  // Without the timer no worker would ever start, so the window gives up at once.
  if (!SetTimer(Dialog(), kStartTimer, 25, nullptr)) End(0);
  return true;
}

void ProgressWindow::StartWorker() {
  // Started suspended so that the handle is stored before the worker can reach Finish.
  thread.Reset(CreateThread(nullptr, kWorkerStackSize, threadProc, threadArg, CREATE_SUSPENDED, nullptr));
  if (!thread) {
    End(1);  // as if the worker had finished without failure
    return;
  }
  ResumeThread(thread.Get());
}

void ProgressWindow::OnCancel() {
  const HWND button = Item(IDCANCEL);
  if (!onCancel || !IsWindowEnabled(button)) return;
  EnableWindow(button, FALSE);  // works once; the worker decides when to finish
  onCancel(threadArg);
}
