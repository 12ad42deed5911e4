#pragma once
// The modal window behind every long operation: it starts the operation's worker thread once it
// is on screen, shows the worker's progress and closes when the worker finishes.
#include <windows.h>

#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"
#include "toolkit/ScopedHandle.h"

class ProgressWindow : public DAVavador::ERDialog {
 public:
  using ThreadProc = LPTHREAD_START_ROUTINE;  // DWORD WINAPI (void*)
  using CancelFunction = void (*)(void* threadArg);

  // Messages of the worker to the dialog: wParam carries the percentage for the two bars.
  static constexpr UINT kSetProgress = WM_USER + 1;
  static constexpr UINT kSetSecondProgress = WM_USER + 2;
  static constexpr UINT kFailed = WM_USER + 3;
  static constexpr UINT kSucceeded = WM_USER + 4;
  static constexpr UINT_PTR kStartTimer = 20900;

  explicit ProgressWindow(const DAVavador::ERApp& app) : app_(app) {}

  // Shows the window titled with string `titleStringId` over `owner` (the main window when null)
  // and runs `threadProc(threadArg)` behind it. Without `onCancel` the Cancel button is hidden;
  // with it, closing the program's main window meanwhile cancels too, so that the program closes
  // once the worker has stopped rather than when a server lets go. Returns when the window
  // closes: true when the worker finished without failure.
  bool Run(HWND owner, UINT titleStringId, ThreadProc threadProc, void* threadArg,
           CancelFunction onCancel = nullptr);

  // From the worker: the first and second bar, 0 to 100.
  void SetProgress(int percent) const;
  void SetSecondProgress(int percent) const;
  // The worker's last act: closes the thread handle and closes the window with the outcome.
  void Finish(bool failed);

  void ShowSecondBar(bool show) { showSecondBar = show != 0; }
  // The window while it is shown, null otherwise.
  using ERDialog::Dialog;

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  void StartWorker();
  void OnCancel();
  static LRESULT CALLBACK MainWindowMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                            DWORD_PTR self);

  const DAVavador::ERApp& app_;
  WString title;
  void* threadArg = nullptr;
  ThreadProc threadProc = nullptr;
  DAVavador::ScopedHandle thread;
  CancelFunction onCancel = nullptr;
  BYTE showSecondBar = false;
};
