#include <gtest/gtest.h>

#include <tuple>

#include "storage/StorageTestSupport.h"
#include "storage/UserPrompts.h"

using storage_test::ScratchFolder;
using storage_test::ScriptedPrompts;
using storage_test::WriteFile;

namespace {
std::optional<WString> SaveAs(const WString& initialPath) {
  return ChooseSaveFile(nullptr, TXT("Export"), TXT("CSV files|*.csv"), TXT("csv"), initialPath);
}
}  // namespace

// A new file needs no question; an existing one is asked about: No asks for another, Yes replaces
// it, Cancel ends the choice, as does a cancelled chooser.
TEST(ChooseSaveFile, NoAsksAgainYesReplacesAndCancelEnds) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteFile(folder / TXT("a.csv"), "a"));
  ASSERT_TRUE(WriteFile(folder / TXT("b.csv"), "b"));
  ScriptedPrompts prompts;
  prompts.chosenPaths = {folder / TXT("new.csv")};
  EXPECT_EQ(folder / TXT("new.csv"), SaveAs(folder / TXT("start.csv")));
  ASSERT_EQ(1u, prompts.requests.size());
  const FileRequest& request = prompts.requests[0];
  EXPECT_EQ(std::tuple(WString(TXT("Export")), WString(TXT("CSV files|*.csv")), WString(TXT("csv")),
                       folder / TXT("start.csv")),
            std::tuple(request.title, request.filter, request.defaultExtension, request.initialPath));
  EXPECT_TRUE(prompts.questions.empty());
  prompts.chosenPaths = {folder / TXT("a.csv"), folder / TXT("b.csv")};
  prompts.answers = {Prompt::kAnswerNo, Prompt::kAnswerYes};
  EXPECT_EQ(folder / TXT("b.csv"), SaveAs(WString()));
  ASSERT_EQ(2u, prompts.questions.size());
  EXPECT_EQ(0u, prompts.questions[0].text.find(folder / TXT("a.csv")));
  EXPECT_EQ(0u, prompts.questions[1].text.find(folder / TXT("b.csv")));
  EXPECT_EQ(WString(TXT("Mirepan")), prompts.questions[1].caption);
  EXPECT_EQ(Prompt::kYesNoCancel | Prompt::kIconQuestion, prompts.questions[1].style);
  EXPECT_EQ(3u, prompts.requests.size());
  prompts.chosenPaths = {folder / TXT("a.csv")};
  prompts.answers = {Prompt::kAnswerCancel};
  EXPECT_EQ(std::nullopt, SaveAs(WString()));
  prompts.chosenPaths = {folder / TXT("a.csv"), std::nullopt};
  prompts.answers = {Prompt::kAnswerNo};
  EXPECT_EQ(std::nullopt, SaveAs(WString()));
  EXPECT_EQ(6u, prompts.requests.size());
  EXPECT_TRUE(prompts.chosenPaths.empty() && prompts.answers.empty());
}

TEST(Choosers, OpenAndFolderAskTheCurrentPrompts) {
  ScriptedPrompts prompts;
  int owner = 0;
  prompts.chosenPaths = {WString(TXT("C:\\in.xml")), std::nullopt, WString(TXT("C:\\Data"))};
  EXPECT_EQ(WString(TXT("C:\\in.xml")),
            ChooseOpenFile(&owner, TXT("Import"), TXT("XML|*.xml"), TXT("xml"), WString()));
  EXPECT_EQ(&owner, prompts.requests[0].owner);
  EXPECT_EQ(std::nullopt, ChooseOpenFile(nullptr, TXT("Import"), WString(), WString(), WString()));
  EXPECT_EQ(WString(TXT("C:\\Data")), ChooseFolder(&owner));
  EXPECT_EQ(&owner, prompts.requests[2].owner);
}

#ifndef _WIN32
TEST(Choosers, NativeBuildDeclinesEveryQuestion) {
  UserPrompts& nobody = UserPrompts::System();
  EXPECT_EQ(Prompt::kAnswerNo, nobody.Message(nullptr, TXT("?"), kPromptCaption, Prompt::kYesNo));
  EXPECT_EQ(Prompt::kAnswerCancel, nobody.Message(nullptr, TXT("?"), kPromptCaption, Prompt::kYesNoCancel));
  EXPECT_EQ(Prompt::kAnswerOk,
            nobody.Message(nullptr, TXT("!"), kPromptCaption, Prompt::kOk | Prompt::kIconWarning));
  EXPECT_EQ(std::nullopt, ChooseSaveFile(nullptr, WString(), WString(), WString(), WString()));
  EXPECT_EQ(std::nullopt, ChooseFolder(nullptr));
}
#endif
