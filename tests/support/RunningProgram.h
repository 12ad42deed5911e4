#pragma once
// The built program as a user starts it: a copy in a scratch folder with the private profile
// library beside it (which Wine is told to prefer for that copy's name), started, its windows
// found, and closed or ended.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/support/WinePath.h"

// Wine prefers its own folder-path library; for the copy named `copyName` (and only for that name)
// the one beside it wins.
inline bool PreferLibraryBesideTheProgram(const std::wstring& copyName) {
  HKEY key;
  const std::wstring path = L"Software\\Wine\\AppDefaults\\" + copyName + L"\\DllOverrides";
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const wchar_t order[] = L"native,builtin";
  RegSetValueExW(key, L"shfolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof(order));
  RegCloseKey(key);
  return true;
}

// Copies the program and the profile library (host paths of the build) into `folder` as `copyName`.
inline bool InstallProgramCopy(const char* program, const char* library, const std::wstring& folder,
                               const std::wstring& copyName) {
  return PreferLibraryBesideTheProgram(copyName) &&
         CopyFileW(WinePath(program).c_str(), (folder + copyName).c_str(), FALSE) &&
         CopyFileW(WinePath(library).c_str(), (folder + L"shfolder.dll").c_str(), FALSE);
}

// The visible list view among the children of the program's window, null when it shows none.
inline HWND VisibleList(HWND window) {
  HWND list = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM found) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (lstrcmpW(name, WC_LISTVIEWW) != 0 || !IsWindowVisible(child)) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

// A key posted to a control of the program as the keyboard gives it, down and up.
inline void PressKey(HWND control, WPARAM key) {
  PostMessageW(control, WM_KEYDOWN, key, 1);
  PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

class RunningProgram {
 public:
  RunningProgram(const std::wstring& folder, const std::wstring& copyName, DWORD patience)
      : folder_(folder), copyName_(copyName), patience_(patience) {}
  ~RunningProgram() {
    if (!process_.hProcess) return;
    if (IsRunning()) TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Start(const std::wstring& arguments = L"") {
    std::wstring commandLine = L"\"" + folder_ + copyName_ + L"\" " + arguments;
    STARTUPINFOW startup = {sizeof(startup)};
    return CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                          &startup, &process_) != 0;
  }
  DWORD ProcessId() const { return process_.dwProcessId; }
  // A visible top-level window of the class in this process, waiting for it to appear; null when
  // none does in time or the process ends.
  HWND WaitForWindow(const wchar_t* className) const {
    for (DWORD waited = 0; waited < patience_; waited += 50) {
      if (const HWND found = FindVisible(className)) return found;
      if (WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
  }
  // The same without waiting ("#32770": a dialog or message box the program shows now).
  HWND FindVisible(const wchar_t* className) const {
    const std::vector<HWND> shown = VisibleWindows(className);
    return shown.empty() ? nullptr : shown.front();
  }
  // Every visible top-level window of the class in this process, topmost first.
  std::vector<HWND> VisibleWindows(const wchar_t* className) const {
    Search search{process_.dwProcessId, className};
    EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  HWND MainWindow() const { return WaitForWindow(L"Mirepan"); }
  // The exit code once the process has ended, or -1 when it does not end in time.
  int WaitForExit() const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.hProcess, patience_) != WAIT_OBJECT_0) return -1;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
  }
  // Whether the process is still running; waits up to `milliseconds` for it to end.
  bool IsRunning(DWORD milliseconds = 0) const {
    return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_TIMEOUT;
  }
  int Close() {
    PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    return WaitForExit();
  }

 private:
  struct Search {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
  };
  static BOOL CALLBACK Match(HWND window, LPARAM arg) {
    auto* search = reinterpret_cast<Search*>(arg);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner != search->processId || lstrcmpW(name, search->className) != 0 || !IsWindowVisible(window))
      return TRUE;
    search->found.push_back(window);
    return TRUE;
  }

  std::wstring folder_;
  std::wstring copyName_;
  DWORD patience_;
  PROCESS_INFORMATION process_ = {};
};
