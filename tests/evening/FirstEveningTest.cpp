// A household's first evening with the real program, driven by posted clicks and keys as a user
// gives them: the first start on a fresh data folder, a recipe typed from scratch with a new
// ingredient and its "250 g" line, Exit and the second start with the recipe there.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "support/DialogDriver.h"
#include "support/ScratchFolder.h"
#include "tests/support/RunningProgram.h"

namespace {

constexpr DWORD kPatience = 20000;
#define kProgramCopy L"MirepanEvening.exe"
constexpr int kMainTabs = 2103;

// The screen as a 24-bit BMP named `name` in the folder MIREPAN_SHOTS names; nothing when unset.
void Screenshot(const char* name) {
  const char* folder = getenv("MIREPAN_SHOTS");
  if (!folder || !*folder) return;
  Sleep(300);  // lets the windows finish painting
  const HDC screen = GetDC(nullptr);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {sizeof(info), width, height, 1, 24, BI_RGB};
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof(file) + sizeof(info) + pixels.size()), 0, 0,
                           sizeof(file) + sizeof(info)};
  std::ofstream out(std::string(folder) + "/" + name + ".bmp", std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// A dialog of the program whose caption is `caption`, waiting for it; null when none shows in time.
HWND WaitForDialog(const RunningProgram& run, const std::wstring& caption) {
  for (DWORD waited = 0; waited < kPatience; waited += 50, Sleep(50))
    for (const HWND dialog : run.VisibleWindows(L"#32770"))
      if (test_support::DialogDriver(dialog).Caption() == caption) return dialog;
  return nullptr;
}

void Click(HWND control, int x, int y) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Sleep(100);
}

// Keys typed into an edit, or into the edit of a combo box that has one.
void TypeInto(HWND control, const std::wstring& text) {
  HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr);
  if (!edit) edit = control;
  PostMessageW(edit, EM_SETSEL, 0, -1);  // over what it shows, as after a triple click
  for (const wchar_t key : text) PostMessageW(edit, WM_CHAR, key, 1);
  Sleep(200);
}

// What a control of the program shows: GetWindowText does not ask a window of another process.
std::wstring ShownText(HWND control) {
  wchar_t text[512] = {};
  SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kPatience,
                      nullptr);
  return text;
}

// Waits for the control to show `text`; what it shows then.
std::wstring WaitForText(HWND control, const std::wstring& text) {
  for (DWORD waited = 0; waited < kPatience && ShownText(control) != text; waited += 50) Sleep(50);
  return ShownText(control);
}

// Answers the dialog and waits for it to go; whether it went.
bool Answer(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, button, 0);
  for (DWORD waited = 0; waited < kPatience && IsWindow(dialog); waited += 50) Sleep(50);
  return !IsWindow(dialog);
}

// Clicks along the tab row until page `page` shows (the tabs' places cannot be asked across
// processes); whether it does.
bool ClickTab(HWND tabs, int page) {
  for (int x = 8; x < 400 && TabCtrl_GetCurSel(tabs) != page; x += 10) Click(tabs, x, 8);
  return TabCtrl_GetCurSel(tabs) == page;
}

// The count of rows the visible list of the main window shows, -1 without one.
int VisibleRows(HWND window) {
  const HWND list = VisibleList(window);
  return list ? ListView_GetItemCount(list) : -1;
}

// Waits for the visible list of the main window to show `rows` rows; the rows it shows then.
int WaitForRows(HWND window, int rows) {
  for (DWORD waited = 0; waited < kPatience && VisibleRows(window) != rows; waited += 50) Sleep(50);
  return VisibleRows(window);
}

// A recipe line of a new ingredient: its name typed in the search box, New Ingredient pressed and
// the name taken there, then the amount typed, the unit chosen by its first letter and --> pressed.
void AddLine(const RunningProgram& run, const test_support::DialogDriver& recipe, const std::wstring& name,
             const std::wstring& whole, wchar_t unit) {
  const int before = recipe.Count(IDC_RECIPE_LINES);
  PostMessageW(recipe.Item(IDC_RECIPE_NEW_INGREDIENT), BM_CLICK, 0, 0);
  const HWND editor = WaitForDialog(run, L"Add Ingredient");
  ASSERT_NE(editor, nullptr);
  TypeInto(GetDlgItem(editor, IDC_EDITOR_CATEGORY), L"Vegetables");
  TypeInto(GetDlgItem(editor, IDC_EDITOR_NAME), name);
  PostMessageW(GetDlgItem(editor, IDC_EDITOR_WHOLE), WM_CHAR, L'1', 1);
  TypeInto(GetDlgItem(editor, IDC_EDITOR_OUNCES), L"6");
  Screenshot("03-new-ingredient");
  ASSERT_TRUE(Answer(editor, IDOK));
  TypeInto(recipe.Item(IDC_RECIPE_WHOLE), whole);
  PostMessageW(recipe.Item(IDC_RECIPE_UNIT), WM_CHAR, unit, 1);
  Sleep(200);
  PostMessageW(recipe.Item(IDC_RECIPE_ADD_LINE), BM_CLICK, 0, 0);
  for (DWORD waited = 0; waited < kPatience && recipe.Count(IDC_RECIPE_LINES) == before; waited += 50)
    Sleep(50);
}

class FirstEveningTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InstallProgramCopy(MIREPAN_EXE, PROFILE_DLL, folder, kProgramCopy)); }

  test_support::ScratchFolder scratch_;
  const std::wstring folder = scratch_.Path();
  const std::wstring dataFolder = folder + L"profile\\Tallowmere\\Mirepan\\";
};

TEST_F(FirstEveningTest, ARecipeTypedOnAFreshFolderWithANewIngredientIsThereAtTheSecondStart) {
  {
    RunningProgram run(folder, kProgramCopy, kPatience);
    ASSERT_TRUE(run.Start());
    const HWND window = run.MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(test_support::DialogDriver::WindowText(window).find(L"Mirepan"), std::wstring::npos);
    Screenshot("01-first-start");

    ASSERT_TRUE(ClickTab(GetDlgItem(window, kMainTabs), 1)) << "the recipes tab";
    PostMessageW(window, WM_COMMAND, IDM_ADD_RECIPE, 0);
    const HWND editor = WaitForDialog(run, L"Add Recipe");
    ASSERT_NE(editor, nullptr);
    const test_support::DialogDriver recipe(editor);
    TypeInto(recipe.Item(IDC_RECIPE_CATEGORY), L"Suppers");
    TypeInto(recipe.Item(IDC_RECIPE_NAME), L"Potato soup");
    EXPECT_EQ(WaitForText(recipe.Item(IDC_RECIPE_NAME), L"Potato soup"), L"Potato soup");
    Screenshot("02-recipe-general");
    ASSERT_TRUE(ClickTab(recipe.Item(IDC_RECIPE_TABS), 1)) << "the ingredients page";

    AddLine(run, recipe, L"Potatoes", L"250", L'g');
    if (HasFatalFailure()) return;
    EXPECT_EQ(recipe.Count(IDC_RECIPE_LINES), 1);
    const std::wstring line = recipe.RowText(IDC_RECIPE_LINES, 0);
    EXPECT_EQ(line.substr(0, 3), L"250") << line;
    EXPECT_NE(line.find(L"g Potatoes"), std::wstring::npos) << line;
    Screenshot("04-recipe-line");
    PostMessageW(recipe.Item(IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(WaitForRows(window, 1), 1) << "the recipe list shows the new recipe";
    EXPECT_FALSE(IsWindow(editor));
    Screenshot("05-recipe-list");
    PostMessageW(window, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(run.WaitForExit(), 0);
  }
  RunningProgram second(folder, kProgramCopy, kPatience);
  ASSERT_TRUE(second.Start());
  const HWND window = second.MainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WaitForRows(window, 1), 1) << "the recipe is there";
  Screenshot("06-second-start");
  PostMessageW(window, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_EQ(second.WaitForExit(), 0);
}

}  // namespace
