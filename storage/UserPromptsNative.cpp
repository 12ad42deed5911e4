// The native build has no user interface: its prompts decline every question.
#include "storage/UserPrompts.h"

namespace {
class NobodyToAsk : public UserPrompts {
 public:
  int Message(OwnerWindow, const WString&, const WString&, unsigned style) override {
    switch (style & Prompt::kButtonMask) {
      case Prompt::kOk:
        return Prompt::kAnswerOk;
      case Prompt::kYesNo:
        return Prompt::kAnswerNo;
      default:
        return Prompt::kAnswerCancel;
    }
  }
  std::optional<WString> OpenFile(const FileRequest&) override { return std::nullopt; }
  std::optional<WString> SaveFile(const FileRequest&) override { return std::nullopt; }
  std::optional<WString> Folder(OwnerWindow) override { return std::nullopt; }
};
}  // namespace

UserPrompts& UserPrompts::System() {
  static NobodyToAsk prompts;
  return prompts;
}
