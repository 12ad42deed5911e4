// The system's message box, common file dialogs and folder browser.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "storage/Paths.h"
#include "storage/UserPrompts.h"

static_assert(Prompt::kYesNoCancel == MB_YESNOCANCEL && Prompt::kIconQuestion == MB_ICONQUESTION &&
                  Prompt::kIconWarning == MB_ICONWARNING && Prompt::kIconInformation == MB_ICONINFORMATION &&
                  Prompt::kYesNo == MB_YESNO && Prompt::kOkCancel == MB_OKCANCEL,
              "message box styles are the Win32 ones");
static_assert(Prompt::kAnswerYes == IDYES && Prompt::kAnswerNo == IDNO && Prompt::kAnswerCancel == IDCANCEL &&
                  Prompt::kAnswerOk == IDOK,
              "answers are the Win32 ones");

namespace {

constexpr size_t kPathCapacity = 32768;

// The filter as the dialogs want it: each "|" a terminator, the whole ended by two.
WString DialogFilter(const WString& filter) {
  WString units = filter;
  for (WChar& c : units) {
    if (c == '|') c = 0;
  }
  units.push_back(0);
  return units;
}

const wchar_t* OrNull(const WString& text) {
  return text.empty() ? nullptr : text.c_str();
}

// Runs GetOpenFileNameW or GetSaveFileNameW on the request.
std::optional<WString> RunFileDialog(const FileRequest& request, DWORD flags,
                                     BOOL(WINAPI* show)(OPENFILENAMEW*)) {
  std::vector<wchar_t> file(kPathCapacity, 0);
  const WString name = FileNameOf(request.initialPath);
  name.copy(file.data(), kPathCapacity - 1);
  const WString folder =
      name.size() == request.initialPath.size() ? WString() : FolderOf(request.initialPath);
  const WString filter = DialogFilter(request.filter);
  const WString extension = !request.defaultExtension.empty() && request.defaultExtension[0] == '.'
                                ? request.defaultExtension.substr(1)
                                : request.defaultExtension;
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = static_cast<HWND>(request.owner);
  dialog.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(kPathCapacity);
  dialog.lpstrInitialDir = OrNull(folder);
  dialog.lpstrTitle = OrNull(request.title);
  dialog.lpstrDefExt = OrNull(extension);
  dialog.Flags = flags;
  if (!show(&dialog)) return std::nullopt;
  return WString(file.data());
}

class SystemDialogs : public UserPrompts {
 public:
  int Message(OwnerWindow owner, const WString& text, const WString& caption, unsigned style) override {
    return MessageBoxW(static_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
  }
  std::optional<WString> OpenFile(const FileRequest& request) override {
    return RunFileDialog(request, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, GetOpenFileNameW);
  }
  std::optional<WString> SaveFile(const FileRequest& request) override {
    return RunFileDialog(request, OFN_HIDEREADONLY, GetSaveFileNameW);
  }
  std::optional<WString> Folder(OwnerWindow owner) override {
    BROWSEINFOW browse{};
    browse.hwndOwner = static_cast<HWND>(owner);
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = SHBrowseForFolderW(&browse);
    if (!item) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const bool found = SHGetPathFromIDListW(item, path) != 0;
    CoTaskMemFree(item);  // the shell allocator's item list
    if (!found) return std::nullopt;
    return WString(path);
  }
};

}  // namespace

UserPrompts& UserPrompts::System() {
  static SystemDialogs prompts;
  return prompts;
}
