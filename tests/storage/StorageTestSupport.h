#pragma once
// Test support for code that touches files or asks the user: a scratch folder removed afterwards,
// and prompts that answer from a script instead of a person.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "storage/Files.h"
#include "storage/UserPrompts.h"
#include "support/ScratchFolder.h"

namespace storage_test {

using test_support::FromSystemName;
using test_support::ScratchFolder;
using test_support::SystemPath;

// The text of a file, empty when there is none; a file written with a text.
inline WString FileText(const WString& path) {
  WString text;
  FileHandle(path).ReadAllText(text);
  return text;
}
inline void WriteText(const WString& path, const WString& text) {
  ASSERT_TRUE(FileHandle(path).WriteAllText(text));
}

inline bool WriteFile(const WString& path, const std::string& bytes) {
  FileHandle file(path);
  return file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

inline std::string ReadFile(const WString& path) {
  FileHandle file(path);
  std::string bytes(file.Size(), '\0');
  uint32_t done = 0;
  file.Read(&bytes[0], static_cast<uint32_t>(bytes.size()), done);
  bytes.resize(done);
  return bytes;
}

// Answers every question from its script, in order, and records what was asked; installed for the
// whole process while it lives. An exhausted script fails the test and answers Cancel.
class ScriptedPrompts : public UserPrompts {
 public:
  struct Question {
    WString text, caption;
    unsigned style;
  };

  ScriptedPrompts() { UserPrompts::SetCurrent(this); }
  ~ScriptedPrompts() override { UserPrompts::SetCurrent(nullptr); }

  std::deque<int> answers;
  std::deque<std::optional<WString>> chosenPaths;  // for the open, save and folder choosers alike
  std::vector<Question> questions;
  std::vector<FileRequest> requests;

  int Message(OwnerWindow, const WString& text, const WString& caption, unsigned style) override {
    questions.push_back({text, caption, style});
    return Next(answers, Prompt::kAnswerCancel, "unexpected question: " + ToUtf8(text));
  }
  std::optional<WString> OpenFile(const FileRequest& request) override { return Choose(request); }
  std::optional<WString> SaveFile(const FileRequest& request) override { return Choose(request); }
  std::optional<WString> Folder(OwnerWindow owner) override {
    FileRequest request;
    request.owner = owner;
    return Choose(request);
  }

 private:
  std::optional<WString> Choose(const FileRequest& request) {
    requests.push_back(request);
    return Next(chosenPaths, std::optional<WString>(), "unexpected chooser");
  }
  template <typename T>
  static T Next(std::deque<T>& script, T exhausted, const std::string& failure) {
    if (script.empty()) {
      ADD_FAILURE() << failure;
      return exhausted;
    }
    T next = script.front();
    script.pop_front();
    return next;
  }
};

}  // namespace storage_test
