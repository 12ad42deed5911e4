// The Print command of the Recipes tab on a real printer: Wine's PostScript driver writing to a
// file, reached through the print dialog and the system's printer dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "FilePrinter.h"
#include "SampleRecipes.h"
#include "printing/PrintRecipes.h"
#include "resource.h"
#include "storage/StorageTestSupport.h"
#include "views/ViewTestSupport.h"

namespace {

// Where the system's "Print" dialog stood, by its centre, when it was confirmed.
POINT printerDialogCentre{};

// Confirms the system's "Print" dialog of this thread as soon as it shows.
void CALLBACK ConfirmPrinterDialog(HWND, UINT, UINT_PTR, DWORD) {
  const HWND dialog = FindWindowW(L"#32770", L"Print");
  if (!dialog || !IsWindowVisible(dialog) ||
      GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId())
    return;
  RECT place{};
  GetWindowRect(dialog, &place);
  printerDialogCentre = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
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
    DestroyWindow(owner_);
  }
  // The print command over the owner window with the print dialog confirmed after `choose`.
  bool Print(const std::function<void(HWND)>& choose) {
    scripts_.On(IDD_PRINT, [choose](HWND dialog) {
      choose(dialog);
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    return PrintRecipes(app_, owner_, source_, settings_);
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
  // Somewhere off the screen's centre, so that centring on it shows.
  HWND owner_ = CreateWindowW(L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 40, 60, 500, 400, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
};

// The system's printer dialog stands centred over the window printing, as the program's own do.
TEST_F(PrintToFile, ThreeIndexCardsFillOnePageAndFullPagesOneEach) {
  ASSERT_TRUE(Print([](HWND) {}));
  EXPECT_EQ(PostScriptPages(path_), 1);
  const auto [x, y] = printerDialogCentre;  // within the rounding of halving odd sizes
  EXPECT_TRUE(std::abs(x - (40 + 250)) <= 1 && std::abs(y - (60 + 200)) <= 1) << x << ", " << y;

  ASSERT_TRUE(DeleteFileW(path_.c_str()));
  ASSERT_TRUE(Print([](HWND dialog) { SendDlgItemMessageW(dialog, IDC_PRINT_FULL_PAGE, BM_CLICK, 0, 0); }));
  EXPECT_EQ(PostScriptPages(path_), 3);
}

// With no recipe selected the dialog offers all of them, though "Selected" was the last choice: a
// Print that prints nothing would leave the user waiting at the printer.
TEST_F(PrintToFile, WithNoRecipeSelectedTheDialogPrintsThemAll) {
  source_.selected.clear();
  settings_.selected = true;
  bool selectedOffered = true;
  ASSERT_TRUE(
      Print([&](HWND dialog) { selectedOffered = IsWindowEnabled(GetDlgItem(dialog, IDC_PRINT_SELECTED)); }));
  EXPECT_FALSE(selectedOffered);
  EXPECT_EQ(PostScriptPages(path_), 1);
}

}  // namespace
