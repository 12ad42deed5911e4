// The Print command of the Recipes tab on a real printer: Wine's PostScript driver writing to a
// file, reached through the print dialog and the system's printer dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include "FilePrinter.h"
#include "SampleRecipes.h"
#include "printing/PrintRecipes.h"
#include "resource.h"
#include "storage/StorageTestSupport.h"
#include "views/ViewTestSupport.h"

namespace {

// Confirms the system's "Print" dialog of this thread as soon as it shows.
void CALLBACK ConfirmPrinterDialog(HWND, UINT, UINT_PTR, DWORD) {
  const HWND dialog = FindWindowW(L"#32770", L"Print");
  if (dialog && IsWindowVisible(dialog) && GetWindowThreadProcessId(dialog, nullptr) == GetCurrentThreadId())
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

class PrintToFile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!FilePrinter::Available()) GTEST_SKIP() << "no PostScript driver or printer description on this host";
    for (WChar& unit : path_)
      if (unit == '/') unit = '\\';
    std::string error;
    ASSERT_TRUE(FilePrinter().Install(path_, error)) << error;
    for (const Recipe& recipe : recipes_) source_.selected.push_back(&recipe);
    source_.all = source_.selected;
    source_.categories = &categories_;
    timer_ = SetTimer(nullptr, 0, 100, &ConfirmPrinterDialog);
  }
  void TearDown() override {
    if (timer_) KillTimer(nullptr, timer_);
    FilePrinter::Remove();
  }
  // The print command with the print dialog confirmed after `choose`.
  bool Print(const std::function<void(HWND)>& choose) {
    scripts_.On(IDD_PRINT, [choose](HWND dialog) {
      choose(dialog);
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    return PrintRecipes(app_, nullptr, source_, settings_);
  }

  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
  storage_test::ScratchFolder folder_;
  WString path_ = folder_ / L"recipes.ps";
  view_test::DialogScripts scripts_;
  std::vector<Recipe> recipes_ = SampleRecipes();
  CategoryList categories_;
  PrintSource source_;
  PrintSettings settings_;
  UINT_PTR timer_ = 0;
};

TEST_F(PrintToFile, ThreeIndexCardsFillOnePageAndFullPagesOneEach) {
  ASSERT_TRUE(Print([](HWND) {}));
  EXPECT_EQ(PostScriptPages(path_), 1);

  ASSERT_TRUE(DeleteFileW(path_.c_str()));
  ASSERT_TRUE(Print([](HWND dialog) { SendDlgItemMessageW(dialog, IDC_PRINT_FULL_PAGE, BM_CLICK, 0, 0); }));
  EXPECT_EQ(PostScriptPages(path_), 3);
}

}  // namespace
