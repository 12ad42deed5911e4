#pragma once
// A WinINet handle (session, connection or request), closed when it goes.
#include <windows.h>
#include <wininet.h>

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
  ~InternetHandle() { Close(); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  explicit operator bool() const { return handle_ != nullptr; }
  HINTERNET Get() const { return handle_; }
  void Close() {
    if (handle_) InternetCloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HINTERNET handle_;
};
