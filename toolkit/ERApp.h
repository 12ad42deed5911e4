#pragma once
// The application core: module instance, main window, product names, the string table, message
// boxes, modal dialogs, menus and the process-wide data lock. The program has exactly one; the
// shell's application object derives from it.
#include <windows.h>

#include "storage/Text.h"
#include "toolkit/ScopedHandle.h"

namespace DAVavador {

// Told about every modal dialog ERApp runs, right after the dialog's own WM_INITDIALOG handling.
// Tests install one to fill in and confirm a real dialog; the program never does.
class DialogObserver {
 public:
  virtual ~DialogObserver() = default;
  virtual void OnDialogInit(int dialogId, HWND dialog) = 0;
};

class ERApp {
 public:
  // SHGetFolderPathW, taken from shfolder.dll when the system has it.
  using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

  explicit ERApp(HINSTANCE instance);
  virtual ~ERApp();
  ERApp(const ERApp&) = delete;
  ERApp& operator=(const ERApp&) = delete;

  // The data lock: one unnamed mutex guarding all catalog data. The holder may take it again;
  // every LockData is matched by one UnlockData. It lives as long as the application object;
  // without one the calls do nothing.
  static void LockData();
  static void UnlockData();

  static ERApp* Current() { return current_; }
  HINSTANCE Instance() const { return instance_; }
  HWND MainWindow() const { return mainWindow_; }
  void SetMainWindow(HWND window) { mainWindow_ = window; }
  FolderPathFunction FolderPath() const { return folderPath_; }

  const WString& ProductName() const { return productName_; }  // "Mirepan": class, icon, mutex name
  const WString& DisplayName() const { return displayName_; }  // message-box caption
  const WString& MakerName() const { return makerName_; }      // folder names

  // The string table; an unknown number gives an empty text.
  WString String(UINT id) const;

  // Message boxes captioned with the display name (or the given caption). `type` takes the MB_
  // flags; the result is the button pressed (IDOK, IDYES, IDNO, IDCANCEL).
  int ShowMessage(const WString& text, UINT type) const;
  int ShowMessage(UINT textId, UINT type) const { return ShowMessage(String(textId), type); }
  int ShowMessage(const WString& text, const WString& caption, UINT type) const;

  // Runs dialog resource `dialogId` modally over `owner` (the main window when null) and returns
  // its EndDialog result, -1 when it cannot be created.
  INT_PTR RunDialog(int dialogId, DLGPROC proc, LPARAM param, HWND owner = nullptr) const;
  static void SetDialogObserver(DialogObserver* observer);
  // F1 pressed in modal dialog `dialogId` (its WM_HELP, wherever the keyboard is in it): the
  // program opens the dialog's page of its help file; the core has none and does nothing.
  virtual void ShowDialogHelp(int /*dialogId*/) const {}
  // The one-line input box (dialog 20100) with its caption and prompt, starting with `text`; on OK
  // `text` is what the user entered (which may be empty) and the result is true.
  bool InputBox(const WString& caption, const WString& prompt, WString& text, HWND owner = nullptr) const;

  // A menu resource; the caller owns it (a window's menu bar is destroyed with the window).
  HMENU LoadMenuResource(int menuId) const;

 private:
  static ERApp* current_;
  ScopedHandle dataLock_;
  HINSTANCE instance_;
  HMODULE shfolder_;
  FolderPathFunction folderPath_ = nullptr;
  HWND mainWindow_ = nullptr;
  WString productName_;
  WString displayName_;
  WString makerName_;
};

// The system's own words for an error code (GetLastError), without the closing line break; the
// number itself when the system has none.
WString SystemMessage(DWORD error);

}  // namespace DAVavador
