// The sources of the help file against the program: every dialog of the resource scripts and every
// tab has its page among the files the project compiles, and every link of the pages, the contents
// and the index leads to one of those files (and to an anchor there when it names one).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cwchar>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/HelpTopics.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = MIREPAN_SOURCE_DIR;
const fs::path kHelp = kSource / "resources" / "help";
const fs::path kPictures = kSource / "docs";  // the build copies them beside the pages

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Narrow(const wchar_t* text) {
  return text ? std::string(text, text + std::wcslen(text)) : std::string();
}

// Every match of `pattern` in `text`, and group 1 of each.
std::vector<std::smatch> MatchesOf(const std::string& text, const std::string& pattern) {
  const std::regex expression(pattern, std::regex::icase);
  return {std::sregex_iterator(text.begin(), text.end(), expression), std::sregex_iterator()};
}
std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  for (const std::smatch& match : MatchesOf(text, pattern)) found.push_back(match[1]);
  return found;
}

// The project file's [FILES]: what goes into the help file.
std::set<std::string> ProjectFiles() {
  std::istringstream lines(ReadText(kHelp / "Mirepan.hhp"));
  std::set<std::string> files;
  bool inFiles = false;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[')
      inFiles = line == "[FILES]";
    else if (inFiles && !line.empty())
      files.insert(line);
  }
  return files;
}

// The source of a file of the help file: a page of help/ or a picture of docs/.
fs::path SourceOf(const std::string& name) {
  return fs::exists(kHelp / name) ? kHelp / name : kPictures / name;
}

// The dialog resources of the program by name, with their numbers from resource.h.
std::map<std::string, int> ProgramDialogs() {
  std::map<std::string, int> numbers;
  const std::string header = ReadText(kSource / "resources" / "resource.h");
  for (const std::smatch& define : MatchesOf(header, R"(#define\s+(\w+)\s+(\d+))"))
    numbers[define[1]] = std::stoi(define[2]);
  std::map<std::string, int> dialogs;
  for (const auto& entry : fs::directory_iterator(kSource / "resources")) {
    if (entry.path().extension() != ".rc") continue;
    for (const std::string& name : Matches(ReadText(entry.path()), R"((?:^|\n)\s*(\w+)\s+DIALOGEX\b)"))
      dialogs[name] = numbers.count(name) ? numbers[name] : std::stoi(name);
  }
  return dialogs;
}

std::vector<fs::path> HelpSources(const std::set<std::string>& extensions) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(kHelp))
    if (extensions.count(entry.path().extension().string())) found.push_back(entry.path());
  return found;
}

TEST(HelpPagesTest, EveryDialogAndEveryTabHasAPageOfItsOwnInTheHelpFile) {
  const std::set<std::string> files = ProjectFiles();
  const std::map<std::string, int> dialogs = ProgramDialogs();
  ASSERT_GT(dialogs.size(), 20u);  // the scripts were read
  std::set<std::string> pages = {Narrow(kHelpContentsPage)};
  for (size_t tab = 0; tab < 4; ++tab) pages.insert(Narrow(TabHelpPage(tab)));
  EXPECT_EQ(pages.size(), 5u) << "the tabs share a page or the contents";
  for (const auto& [name, id] : dialogs) {
    const std::string page = Narrow(DialogHelpPage(id));
    EXPECT_FALSE(page.empty()) << name << " has no page";
    EXPECT_TRUE(pages.insert(page).second) << name << " shares the page " << page;
  }
  for (const std::string& page : pages) {
    EXPECT_TRUE(files.count(page)) << page << " is not in the project's [FILES]";
    EXPECT_TRUE(fs::exists(kHelp / page)) << page << " is missing";
  }
  EXPECT_EQ(DialogHelpPage(-1), nullptr);
  EXPECT_EQ(Narrow(TabHelpPage(4)), Narrow(kHelpContentsPage));
}

TEST(HelpPagesTest, EveryLinkOfThePagesContentsAndIndexLeadsToAFileOfTheHelpFile) {
  const std::set<std::string> files = ProjectFiles();
  const auto pages = HelpSources({".html", ".hhc", ".hhk"});
  ASSERT_FALSE(pages.empty());
  for (const fs::path& page : pages) {
    const std::string text = ReadText(page);
    std::vector<std::string> links = Matches(text, R"(\b(?:href|src)\s*=\s*"([^"]*)\")");
    for (const std::string& local : Matches(text, R"(<param\s+name="Local"\s+value="([^"]*)\")"))
      links.push_back(local);
    for (const std::string& link : links) {
      if (link.find(':') != std::string::npos) continue;  // another program's address (mailto:, https:)
      const size_t hash = link.find('#');
      const std::string file = link.substr(0, hash);
      const std::string target = file.empty() ? page.filename().string() : file;
      const std::string where = page.filename().string() + " links " + link;
      EXPECT_TRUE(files.count(target)) << where << ": not in the project's [FILES]";
      ASSERT_TRUE(fs::exists(SourceOf(target))) << where << ": no such file";
      if (hash == std::string::npos) continue;
      const std::string anchor = link.substr(hash + 1);
      const std::string targetText = ReadText(SourceOf(target));
      EXPECT_TRUE(targetText.find("id=\"" + anchor + "\"") != std::string::npos)
          << where << ": no such anchor";
    }
  }
}

TEST(HelpPagesTest, EveryPageIsCompiledAndInTheContentsAndEveryFileCompiledIsThere) {
  const std::set<std::string> files = ProjectFiles();
  const std::string project = ReadText(kHelp / "Mirepan.hhp");
  const std::string contentsFile = Matches(project, R"(Contents file=([^\r\n]+))").at(0);
  const std::vector<std::string> listed =
      Matches(ReadText(kHelp / contentsFile), R"(name="Local"\s+value="([^"]*)\")");
  const std::set<std::string> inContents(listed.begin(), listed.end());
  for (const fs::path& page : HelpSources({".html"})) {
    const std::string name = page.filename().string();
    EXPECT_TRUE(files.count(name)) << name << " is not in the project's [FILES]";
    EXPECT_TRUE(inContents.count(name)) << name << " is not in the contents";
  }
  for (const std::string& file : files) EXPECT_TRUE(fs::exists(SourceOf(file))) << file << " is missing";
}

}  // namespace
