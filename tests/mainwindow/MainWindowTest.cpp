// The real program: started twice, with the data-folder switch, switching tabs, with an empty
// toolbar, and closed with and without changed options.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Options.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/StorageTestSupport.h"
#include "support/ScratchFolder.h"
#include "support/DialogDriver.h"
#include "tests/support/RunningProgram.h"

namespace {

constexpr DWORD kPatience = 20000;
#define kProgramCopy L"MirepanUnderTest.exe"

using storage_test::FileText;
using storage_test::WriteText;

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The command of a Ctrl+letter entry of the program's accelerator table "Mirepan", 0 for none. The
// resource compiler keeps "^T" either as the control character or as Ctrl with the key.
WORD ControlKeyCommand(const std::wstring& program, char letter) {
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ACCEL entries[256];
  const int count = CopyAcceleratorTableW(LoadAcceleratorsW(module, L"Mirepan"), entries, 256);
  WORD command = 0;
  for (const ACCEL& entry : std::vector<ACCEL>(entries, entries + count)) {
    if ((entry.fVirt & FVIRTKEY) ? (entry.fVirt & FCONTROL) && entry.key == letter
                                 : entry.key == letter - '@')
      command = entry.cmd;
  }
  FreeLibrary(module);
  return command;
}

// The visible list of the program's window, null when it has none.
HWND VisibleList(HWND window) {
  HWND list = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM found) {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (lstrcmpW(name, WC_LISTVIEWW) != 0 || !IsWindowVisible(child)) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

// Waits for the list to show `rows` rows; the rows it shows then.
int WaitForRows(HWND list, int rows) {
  for (DWORD waited = 0; waited < kPatience && ListView_GetItemCount(list) != rows; waited += 50) Sleep(50);
  return ListView_GetItemCount(list);
}

void PressKey(HWND window, WPARAM key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// The program copy of these tests.
class TestedProgram : public RunningProgram {
 public:
  explicit TestedProgram(const std::wstring& folder) : RunningProgram(folder, kProgramCopy, kPatience) {}
  // Started; its main window, null when it shows none.
  HWND Started(const std::wstring& arguments = L"") { return Start(arguments) ? MainWindow() : nullptr; }
};

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InstallProgramCopy(MIREPAN_EXE, PROFILE_DLL, folder, kProgramCopy)); }
  void TearDown() override {
    EXPECT_TRUE(FileExists(folder + L"profile\\asked")) << "the program ran on the private profile";
  }

  // The options file of the scratch profile, written with the changes `edit` makes to the defaults.
  template <class Edit>
  void WriteOptions(Edit edit) {
    CreateFolders(dataFolder, false);
    Options options(nullptr, dataFolder);
    options.DerivePaths(folder);
    edit(options);
    ASSERT_TRUE(options.Write());
  }
  Options ReadOptions() const {
    Options options(nullptr, dataFolder);
    options.Read();
    return options;
  }
  std::wstring OptionsPath() const { return dataFolder + L"MirepanOptions.xml"; }
  // An ingredient catalog of the named foods in `folder`, with the view's columns when given.
  static void WriteCatalog(const std::wstring& folder, std::initializer_list<const wchar_t*> names,
                           const wchar_t* columns = nullptr) {
    std::wstring text = L"<INGREDIENTLIST>\r\n";
    if (columns) text += L"<VIEW>\r\n<COLS>" + std::wstring(columns) + L"</COLS>\r\n</VIEW>\r\n";
    text += L"<INGREDIENTS>\r\n";
    int id = 0;
    for (const wchar_t* name : names)
      text += L"<FOOD>\r\n<FOODID>" + std::to_wstring(++id) + L"</FOODID>\r\n<FOODNAME>" + name +
              L"</FOODNAME>\r\n</FOOD>\r\n";
    WriteText(folder + L"Ingredients.xml", text + L"</INGREDIENTS>\r\n</INGREDIENTLIST>\r\n");
  }
  static RECT ChildRect(HWND window, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(window, id), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  test_support::ScratchFolder scratch_;
  const std::wstring folder = scratch_.Path();
  const std::wstring dataFolder = folder + L"profile\\Tallowmere\\Mirepan\\";
};

TEST_F(MainWindowTest, SecondStartWarnsAndExitsWhileTheFirstKeepsRunning) {
  TestedProgram first(folder), second(folder);
  const HWND window = first.Started();
  ASSERT_NE(window, nullptr);
  // The tab area starts below the toolbar.
  EXPECT_EQ(std::tuple(ChildRect(window, 2103).left, ChildRect(window, 2103).top), std::tuple(10, 45));
  ASSERT_TRUE(second.Start());
  HWND box = second.WaitForWindow(L"#32770");
  ASSERT_NE(box, nullptr);
  const test_support::DialogDriver warning(box);
  EXPECT_EQ(warning.Caption(), L"Mirepan");
  EXPECT_EQ(warning.Text(0xFFFF),
            L"Mirepan is already running.  Use your task bar to restore the application.");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(second.WaitForExit(), 1);
  EXPECT_TRUE(first.IsRunning());
  EXPECT_EQ(first.Close(), 0);
  EXPECT_FALSE(FileExists(OptionsPath())) << "nothing changed, so no options file";
}

// "/f<folder>" and "-F <folder>" (quoted, as a blank needs) take effect from the next start: the
// switched run stays on the old folder, the next derives its catalogs from the new one.
TEST_F(MainWindowTest, FolderSwitchTakesEffectFromTheNextStartAndMayNameTheFolderAsTheNextArgument) {
  const struct {
    std::wstring newFolder, arguments;
    bool exact;  // or the start of the stored folder
  } cases[] = {{folder + L"elsewhere\\", L"/f" + folder + L"elsewhere\\", true},
               {folder + L"next argument", L"-F \"" + folder + L"next argument\"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    TestedProgram first(folder);
    ASSERT_NE(first.Started(c.arguments), nullptr);
    EXPECT_FALSE(FolderExists(c.newFolder)) << "this run stays on the old folder";
    EXPECT_EQ(first.Close(), 0);
    const std::wstring stored = ReadOptions().baseFolder;
    EXPECT_EQ(c.exact ? stored : stored.substr(0, c.newFolder.size()), c.newFolder);
    TestedProgram second(folder);
    ASSERT_NE(second.Started(), nullptr);
    EXPECT_TRUE(FolderExists(c.newFolder));
    EXPECT_EQ(second.Close(), 0);
  }
}

// Closing leaves the options file alone unless something changed: here the tab, which Ctrl+T moves
// on, from the last to the first. Without toolbar buttons the tab area starts at the top.
TEST_F(MainWindowTest, CtrlTFromTheLastTabSelectsTheFirstAndClosingRewritesTheOptionsOnlyWhenChanged) {
  EXPECT_EQ(ControlKeyCommand(folder + kProgramCopy, 'T'), IDM_NEXT_TAB);
  WriteOptions([](Options& o) {
    o.curTab = 3;
    o.toolbarLayout = {255};
  });
  const std::wstring marked = FileText(OptionsPath()) + L"<!-- kept -->";  // dropped by a rewrite
  WriteText(OptionsPath(), marked);
  TestedProgram unchanged(folder);
  const HWND empty = unchanged.Started();
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(ChildRect(empty, 2103).top, 5);
  EXPECT_EQ(unchanged.Close(), 0);
  EXPECT_EQ(FileText(OptionsPath()), marked);

  TestedProgram changed(folder);
  const HWND window = changed.Started();
  ASSERT_NE(window, nullptr);
  const HWND tabs = GetDlgItem(window, 2103);
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), 3);
  for (const int next : {0, 1}) {
    SendMessageW(window, WM_COMMAND, IDM_NEXT_TAB, 0);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), next);
  }
  EXPECT_EQ(changed.Close(), 0);
  EXPECT_NE(FileText(OptionsPath()), marked);
  EXPECT_EQ(ReadOptions().curTab, 1u);
}

// Ctrl+F hands the keyboard to the find box; typing filters the list, Delete edits the text
// there (not the selected records), Escape empties it, and the text comes back with the next start.
// Then the options' immediate read of another folder shows its catalog with its own columns.
TEST_F(MainWindowTest, FindBoxFiltersTheListAndComesBackWithTheNextStartAnImmediateReadShowsAnotherFolder) {
  WriteOptions([](Options& o) { o.curTab = 0; });
  WriteCatalog(dataFolder, {L"Quince", L"Quark", L"Apple"});
  const std::wstring other = folder + L"other\\";
  CreateFolders(other, false);
  WriteCatalog(other, {L"Quince"}, L"30,0");
  EXPECT_EQ(ControlKeyCommand(folder + kProgramCopy, 'F'), IDM_VIEW_FIND);
  const auto findText = [](HWND find) {  // an edit of another process answers WM_GETTEXT alone
    wchar_t text[64] = {};
    SendMessageW(find, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    return std::wstring(text);
  };
  {
    TestedProgram run(folder);
    const HWND window = run.Started();
    const HWND list = window ? VisibleList(window) : nullptr;
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(WaitForRows(list, 3), 3);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));  // a row selected
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(20, 30));
    PostMessageW(window, WM_COMMAND, IDM_VIEW_FIND, 0);
    HWND find = nullptr;
    GUITHREADINFO focus = {sizeof(focus)};
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    for (DWORD waited = 0; waited < kPatience && !find; waited += 50, Sleep(50))
      if (GetGUIThreadInfo(thread, &focus) && GetDlgCtrlID(focus.hwndFocus) == IDC_VIEW_FIND)
        find = focus.hwndFocus;
    ASSERT_NE(find, nullptr) << "Ctrl+F gave the find box the keyboard";
    for (wchar_t c : std::wstring(L"QUX")) PostMessageW(find, WM_CHAR, c, 1);
    EXPECT_EQ(WaitForRows(list, 0), 0);
    PostMessageW(find, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(WaitForRows(list, 2), 2) << "Quince and Quark hold \"qu\"";
    PressKey(find, VK_HOME);
    PressKey(find, VK_DELETE);
    EXPECT_EQ(WaitForRows(list, 2), 2);
    Sleep(500);
    EXPECT_EQ(findText(find), L"U");
    EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr) << "Delete asked to delete records";
    EXPECT_EQ(run.Close(), 0);
  }
  EXPECT_NE(FileText(dataFolder + L"Ingredients.xml").find(L"<FIND>U</FIND>"), std::wstring::npos);
  TestedProgram again(folder);
  const HWND window = again.Started();
  const HWND list = window ? VisibleList(window) : nullptr;
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(WaitForRows(list, 2), 2);
  const HWND find = GetDlgItem(GetParent(list), IDC_VIEW_FIND);
  EXPECT_EQ(findText(find), L"U");
  PostMessageW(window, WM_COMMAND, IDM_VIEW_FIND, 0);
  PressKey(find, VK_ESCAPE);
  EXPECT_EQ(WaitForRows(list, 3), 3);
  EXPECT_EQ(findText(find), L"");

  PostMessageW(window, WM_COMMAND, IDM_TOOLS_OPTIONS, 0);
  const HWND dialog = again.WaitForWindow(L"#32770");
  ASSERT_NE(dialog, nullptr);
  const test_support::DialogDriver options(dialog);
  options.Type(IDC_OPTIONS_FOLDER, other);
  options.Tick(IDC_OPTIONS_RELOAD);
  options.Notify(IDOK, BN_CLICKED);
  const HWND shown = VisibleList(window);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(WaitForRows(shown, 1), 1);
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(shown)), 2) << "the columns the new catalog names";
  EXPECT_EQ(again.Close(), 0);
}

// The first start with nutrient data beside the program asks whether to take it in, over the
// program's window already on screen.
TEST_F(MainWindowTest, TheNutrientDataQuestionStandsOverTheShownWindow) {
  WriteText(folder + L"NutrientData0001.csv", L"Name,Calories\r\nQuince,57\r\n");
  TestedProgram run(folder);
  ASSERT_TRUE(run.Start());
  HWND box = nullptr;  // the question, not the loading window before it
  for (DWORD waited = 0; !box && waited < kPatience; waited += 50, Sleep(50))
    box = FindWindowW(L"#32770", L"Upgrade Nutrient Information");
  ASSERT_NE(box, nullptr);
  const HWND owner = GetWindow(box, GW_OWNER);
  wchar_t name[32] = {};
  GetClassNameW(owner, name, 32);
  EXPECT_STREQ(name, L"Mirepan");
  EXPECT_TRUE(IsWindowVisible(owner)) << "the question came before the window";
  int selectors = 0;  // of the four tabs' controls, the current tab's alone show
  EnumChildWindows(
      owner,
      [](HWND child, LPARAM count) {
        *reinterpret_cast<int*>(count) += GetDlgCtrlID(child) == IDC_VIEW_CATEGORY && IsWindowVisible(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&selectors));
  EXPECT_EQ(selectors, 1);
  // Closing the window under its question waits for the answer.
  PostMessageW(owner, WM_CLOSE, 0, 0);
  Sleep(1000);
  EXPECT_TRUE(run.IsRunning());
  EXPECT_TRUE(IsWindow(box));
  PostMessageW(box, WM_COMMAND, IDNO, 0);
  ASSERT_NE(run.MainWindow(), nullptr);
  EXPECT_EQ(run.Close(), 0);
}

}  // namespace
