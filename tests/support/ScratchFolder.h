#pragma once
// A fresh folder under the test temporary folder, named after the running test and removed with
// everything in it afterwards. Its path ends with a separator so that names can be appended.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "storage/Files.h"

namespace test_support {

inline std::filesystem::path SystemPath(const WString& path) {
#ifdef _WIN32
  return std::filesystem::path(path);
#else
  return std::filesystem::path(ToUtf8(path));
#endif
}

inline WString FromSystemName(const std::filesystem::path& name) {
  const std::u16string units = name.u16string();
  return WString(units.begin(), units.end());
}

class ScratchFolder {
 public:
  ScratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string("mirepan-") + test->test_suite_name() + "-" + test->name();
    path_ = FromUtf8(::testing::TempDir()) + FromUtf8(name);
    std::error_code ignored;
    std::filesystem::remove_all(SystemPath(path_), ignored);
    EXPECT_TRUE(CreateFolders(path_, false));
    path_ += kSeparator;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(SystemPath(path_), ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const WString& Path() const { return path_; }
  // The same as the program names folders: ending with a backslash on every platform.
  WString ProgramFolder() const { return path_.substr(0, path_.size() - 1) + WChar('\\'); }
  WString operator/(const WChar* name) const { return path_ + name; }
  // The names in the folder as the file system spells them, sorted.
  std::vector<WString> Names() const {
    std::vector<WString> names;
    for (const auto& entry : std::filesystem::directory_iterator(SystemPath(path_)))
      names.push_back(FromSystemName(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
#ifdef _WIN32
  static constexpr WChar kSeparator = L'\\';
#else
  static constexpr WChar kSeparator = '/';
#endif
  WString path_;
};

}  // namespace test_support
