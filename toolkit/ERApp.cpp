#include "toolkit/ERApp.h"

#include "resource.h"
#include "storage/UserPrompts.h"
#include "toolkit/CentreWindow.h"
#include "toolkit/ERDialog.h"

namespace DAVavador {

ERApp* ERApp::current_ = nullptr;

namespace {

// Modal dialogs run through one procedure that forwards to the caller's, centres the dialog on its
// owner once the caller's set-up has sized it, tells the observer about WM_INITDIALOG and asks the
// application for the dialog's help on a WM_HELP the caller leaves. The dialog being created binds
// to the pending entry on its first message.
struct DialogBinding {
  int id;
  DLGPROC proc;
  const ERApp* app;
};
const wchar_t kBindingProp[] = L"ERApp.Dialog";
thread_local DialogBinding* pendingDialog = nullptr;
DialogObserver* dialogObserver = nullptr;

INT_PTR CALLBACK ForwardingDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* binding = static_cast<DialogBinding*>(GetPropW(dialog, kBindingProp));
  if (!binding && pendingDialog) {
    binding = pendingDialog;
    pendingDialog = nullptr;
    SetPropW(dialog, kBindingProp, binding);
  }
  if (!binding) return FALSE;
  if (msg == WM_NCDESTROY) RemovePropW(dialog, kBindingProp);
  INT_PTR result = binding->proc ? binding->proc(dialog, msg, wp, lp) : (msg == WM_INITDIALOG);
  if (msg == WM_HELP && !result) {
    // The control with the keyboard passes F1's WM_HELP up to its dialog; answered here, it goes
    // no further up to the owner.
    binding->app->ShowDialogHelp(binding->id);
    return TRUE;
  }
  if (msg != WM_INITDIALOG) return result;
  CentreWindow(dialog, GetWindow(dialog, GW_OWNER));
  if (dialogObserver) dialogObserver->OnDialogInit(binding->id, dialog);
  return result;
}

// A visible, enabled window of this thread that `owner` owns: the modal dialog standing over it.
HWND DialogOver(HWND owner) {
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM arg) {
        auto* s = reinterpret_cast<Search*>(arg);
        if (GetWindow(window, GW_OWNER) != s->owner || !IsWindowVisible(window) || !IsWindowEnabled(window))
          return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// What a new message box or dialog is owned by: `window`, or while a modal dialog stands over it
// (the window is disabled) the innermost such dialog, so that closing the new one gives the
// keyboard back to the dialog and never re-enables a window under a dialog that still runs.
HWND ModalTop(HWND window) {
  while (window && !IsWindowEnabled(window)) {
    const HWND over = DialogOver(window);
    if (!over) break;
    window = over;
  }
  return window;
}

class InputDialog : public ERDialog {
 public:
  InputDialog(const WString& caption, const WString& prompt, WString& text)
      : caption_(caption), prompt_(prompt), text_(text) {}

  bool Run(const ERApp& app, HWND owner) { return RunModal(app, IDD_INPUT_BOX, owner) == IDOK; }

 private:
  bool OnInit() override {
    SetWindowTextW(Dialog(), caption_.c_str());
    SetItemText(IDC_INPUT_PROMPT, prompt_);
    SetItemText(IDC_INPUT_TEXT, text_);
    Message(IDC_INPUT_TEXT, EM_SETSEL, 0, -1);
    return true;
  }

  bool OnOK() override {
    text_ = ItemText(IDC_INPUT_TEXT);
    return true;
  }

  const WString& caption_;
  const WString& prompt_;
  WString& text_;
};

}  // namespace

ERApp::ERApp(HINSTANCE instance)
    : dataLock_(CreateMutexW(nullptr, FALSE, nullptr)),
      instance_(instance),
      shfolder_(LoadLibraryW(L"shfolder.dll")) {
  if (shfolder_)
    folderPath_ = reinterpret_cast<FolderPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(shfolder_, "SHGetFolderPathW")));
  productName_ = String(IDS_PRODUCT_NAME);
  displayName_ = String(IDS_DISPLAY_NAME);
  makerName_ = String(IDS_MAKER_NAME);
  current_ = this;
}

ERApp::~ERApp() {
  if (current_ == this) current_ = nullptr;
  if (shfolder_) FreeLibrary(shfolder_);
}

void ERApp::LockData() {
  if (current_ && current_->dataLock_) WaitForSingleObject(current_->dataLock_.Get(), INFINITE);
}

void ERApp::UnlockData() {
  if (current_ && current_->dataLock_) ReleaseMutex(current_->dataLock_.Get());
}

WString ERApp::String(UINT id) const {
  // With a zero buffer size LoadStringW hands out the resource text itself, not terminated.
  const wchar_t* text = nullptr;
  int length = LoadStringW(instance_, id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? WString(text, length) : WString();
}

int ERApp::ShowMessage(const WString& text, UINT type) const {
  return ShowMessage(text, displayName_, type);
}

int ERApp::ShowMessage(const WString& text, const WString& caption, UINT type) const {
  // Every message box goes through the current prompts, which tests answer instead of a person.
  return UserPrompts::Current().Message(ModalTop(mainWindow_), text, caption, type);
}

INT_PTR ERApp::RunDialog(int dialogId, DLGPROC proc, LPARAM param, HWND owner) const {
  DialogBinding binding{dialogId, proc, this};
  DialogBinding* outer = pendingDialog;
  pendingDialog = &binding;
  INT_PTR result = DialogBoxParamW(instance_, MAKEINTRESOURCEW(dialogId),
                                   ModalTop(owner ? owner : mainWindow_), ForwardingDialogProc, param);
  pendingDialog = outer;
  return result;
}

void ERApp::SetDialogObserver(DialogObserver* observer) {
  dialogObserver = observer;
}

bool ERApp::InputBox(const WString& caption, const WString& prompt, WString& text, HWND owner) const {
  return InputDialog(caption, prompt, text).Run(*this, owner);
}

HMENU ERApp::LoadMenuResource(int menuId) const {
  return LoadMenuW(instance_, MAKEINTRESOURCEW(menuId));
}

WString SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  WString message = length ? WString(text, length) : TXT("Error ") + std::to_wstring(error);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return message;
}

}  // namespace DAVavador
