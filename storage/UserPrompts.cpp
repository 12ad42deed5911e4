#include "storage/UserPrompts.h"

#include <atomic>

#include "storage/Files.h"

const WChar kPromptCaption[] = TXT("Mirepan");

namespace {
std::atomic<UserPrompts*> installed{nullptr};

FileRequest RequestOf(OwnerWindow owner, const WString& title, const WString& filter,
                      const WString& defaultExtension, const WString& initialPath) {
  return FileRequest{owner, title, filter, defaultExtension, initialPath};
}
}  // namespace

UserPrompts& UserPrompts::Current() {
  UserPrompts* prompts = installed.load();
  return prompts ? *prompts : System();
}

void UserPrompts::SetCurrent(UserPrompts* prompts) {
  installed.store(prompts);
}

std::optional<WString> ChooseOpenFile(OwnerWindow owner, const WString& title, const WString& filter,
                                      const WString& defaultExtension, const WString& initialPath) {
  return UserPrompts::Current().OpenFile(RequestOf(owner, title, filter, defaultExtension, initialPath));
}

std::optional<WString> ChooseSaveFile(OwnerWindow owner, const WString& title, const WString& filter,
                                      const WString& defaultExtension, const WString& initialPath) {
  UserPrompts& prompts = UserPrompts::Current();
  const FileRequest request = RequestOf(owner, title, filter, defaultExtension, initialPath);
  for (;;) {
    std::optional<WString> path = prompts.SaveFile(request);
    if (!path || !FileExists(*path)) return path;
    const WString question = *path + TXT(" already exists.\r\nDo you want to replace it?");
    switch (prompts.Message(owner, question, kPromptCaption, Prompt::kYesNoCancel | Prompt::kIconQuestion)) {
      case Prompt::kAnswerYes:
        return path;
      case Prompt::kAnswerNo:
        continue;
      default:
        return std::nullopt;
    }
  }
}

std::optional<WString> ChooseFolder(OwnerWindow owner) {
  return UserPrompts::Current().Folder(owner);
}
