#pragma once
// The questions the program puts to its user: message boxes and the file and folder choosers.
// Everything asks the current prompts, which show the system's dialogs; tests install their own
// to answer instead of a person.
#include <optional>

#include "storage/Text.h"

using OwnerWindow = void*;  // the window (HWND) that owns a dialog; null for none

// Message box styles and answers; the values are those of the Win32 MB_ and ID constants, so
// either may be passed.
namespace Prompt {
constexpr unsigned kOk = 0x0, kOkCancel = 0x1, kYesNoCancel = 0x3, kYesNo = 0x4;
constexpr unsigned kIconError = 0x10, kIconQuestion = 0x20, kIconWarning = 0x30, kIconInformation = 0x40;
constexpr unsigned kButtonMask = 0xF;
constexpr int kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7;
}  // namespace Prompt

struct FileRequest {
  OwnerWindow owner = nullptr;
  WString title;
  WString filter;            // description and pattern pairs joined by "|": "CSV files|*.csv|All files|*.*"
  WString defaultExtension;  // appended when the user types a name without one
  WString initialPath;       // folder and file name the dialog starts with; either may be missing
};

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // Returns the answer (Prompt::kAnswerOk, ...), given `style` of buttons and icon.
  virtual int Message(OwnerWindow owner, const WString& text, const WString& caption, unsigned style) = 0;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<WString> OpenFile(const FileRequest& request) = 0;
  virtual std::optional<WString> SaveFile(const FileRequest& request) = 0;
  virtual std::optional<WString> Folder(OwnerWindow owner) = 0;

  static UserPrompts& Current();
  // Installs prompts for the whole process; null brings back the system's dialogs. The caller
  // keeps the object alive while it is installed.
  static void SetCurrent(UserPrompts* prompts);
  // The system's dialogs; in the native build, where there is nobody to ask, every question is
  // declined (Cancel, No or OK by the buttons offered) and no path is chosen.
  static UserPrompts& System();
};

// The product name that captions the program's message boxes.
extern const WChar kPromptCaption[];

// The open chooser only accepts existing files.
std::optional<WString> ChooseOpenFile(OwnerWindow owner, const WString& title, const WString& filter,
                                      const WString& defaultExtension, const WString& initialPath);
// Asks Yes/No/Cancel before an existing file is chosen: No shows the chooser again.
std::optional<WString> ChooseSaveFile(OwnerWindow owner, const WString& title, const WString& filter,
                                      const WString& defaultExtension, const WString& initialPath);
std::optional<WString> ChooseFolder(OwnerWindow owner);
