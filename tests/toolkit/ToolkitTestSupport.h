#pragma once
// Shared pieces of the toolkit tests: a recording parent window and the test dialog's numbers.
#define IDD_TEST_DIALOG 29000
#define IDC_TEST_EDIT 29001
#define IDC_TEST_CHECK 29002
#define IDC_TEST_COMBO 29003

#ifndef RC_INVOKED
#include <windows.h>

#include <functional>
#include <vector>

namespace toolkit_test {

struct Received {
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};

// A visible window of a plain class whose client area is exactly width by height, recording every
// WM_COMMAND, WM_NOTIFY, WM_DESTROY and WM_MOUSEWHEEL it receives. Without a parent it stands in
// one top-level window that all tests share (tearing down a shown top-level window is slow under
// Wine). Destroyed with the object.
class RecordingWindow {
 public:
  RecordingWindow(int width = 400, int height = 300, HWND parent = nullptr);
  ~RecordingWindow();
  HWND Handle() const { return window_; }
  std::vector<Received> Commands() const;  // the WM_COMMAND messages, in order
  const std::vector<Received>& All() const { return received_; }
  // Answers WM_NOTIFY the way a main window passes it on to its toolbar.
  std::function<bool(const NMHDR*, LRESULT&)> onNotify;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  HWND window_;
  std::vector<Received> received_;
};

// Handles every message waiting in this thread's queue.
void Pump();

// The commands the shared top-level window (the root of every RecordingWindow) received, in order.
std::vector<WORD>& HostCommands();

}  // namespace toolkit_test
#endif
