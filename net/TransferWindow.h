#pragma once
// The shell's progress window as the window of a transfer.
#include "app/ProgressWindow.h"
#include "net/ERXfer.h"

namespace DAVavador {

class TransferWindow : public TransferProgress {
 public:
  explicit TransferWindow(ProgressWindow& window) : window_(window) {}

  void SetProgress(int percent) override { window_.SetProgress(percent); }
  DWORD Finish(bool failed) override {
    window_.Finish(failed);
    return failed ? 1 : 0;
  }
  bool Run(HWND owner, UINT titleId, Worker worker, LPVOID argument, CancelFunction onCancel) override {
    return window_.Run(owner, titleId, worker, argument, onCancel);
  }

 private:
  ProgressWindow& window_;
};

}  // namespace DAVavador
