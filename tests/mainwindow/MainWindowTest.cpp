// The real program: started twice, with the data-folder switch, switching tabs, with an empty
// toolbar, and closed with and without changed options.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <string>

#include "app/Options.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "tests/support/RunningProgram.h"

namespace {

constexpr DWORD kPatience = 20000;
#define kProgramCopy L"MirepanUnderTest.exe"

std::wstring ReadBytes(const std::wstring& path) {
  FileHandle file(path);
  WString text;
  return file.ReadAllText(text) ? std::wstring(text) : std::wstring();
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The resource compiler keeps "^T" either as the control character or as Ctrl with the key.
bool IsControlKey(WORD flags, WORD key, char letter) {
  if (flags & FVIRTKEY) return (flags & FCONTROL) && key == letter;
  return key == letter - '@';
}

// The command of a Ctrl+letter entry of the program's accelerator table "Mirepan", 0 for none.
WORD ControlKeyCommand(const std::wstring& program, char letter) {
  struct Entry {
    WORD flags, key, command, padding;
  };
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = FindResourceW(module, L"Mirepan", MAKEINTRESOURCEW(9));
  const auto* entries =
      found ? static_cast<const Entry*>(LockResource(LoadResource(module, found))) : nullptr;
  WORD command = 0;
  for (size_t i = 0; entries && i < SizeofResource(module, found) / sizeof(Entry); ++i)
    if (IsControlKey(entries[i].flags, entries[i].key, letter)) command = entries[i].command;
  FreeLibrary(module);
  return command;
}

// The program copy of these tests.
class TestedProgram : public RunningProgram {
 public:
  explicit TestedProgram(const std::wstring& folder) : RunningProgram(folder, kProgramCopy, kPatience) {}
};

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"mirepan-main-" + std::to_wstring(GetTickCount64()) + L"-" +
             std::to_wstring(++runs) + L"\\";
    dataFolder = folder + L"profile\\Tallowmere\\Mirepan\\";
    CreateFolders(folder, false);
    ASSERT_TRUE(InstallProgramCopy(MIREPAN_EXE, PROFILE_DLL, folder, kProgramCopy));
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
  void TearDown() override {
    EXPECT_TRUE(FileExists(folder + L"profile\\asked")) << "the program ran on the private profile";
    std::wstring from = folder;
    from.back() = L'\0';  // a double-terminated list of one folder
    from.push_back(L'\0');
    SHFILEOPSTRUCTW remove = {nullptr, FO_DELETE, from.c_str()};
    remove.fFlags = FOF_NO_UI;
    SHFileOperationW(&remove);
  }
  Options ReadOptions() const {
    Options options(nullptr, dataFolder);
    options.Read();
    return options;
  }
  std::wstring OptionsPath() const { return dataFolder + L"MirepanOptions.xml"; }

  static RECT ChildRect(HWND window, int id) {
    RECT rect{};
    HWND child = GetDlgItem(window, id);
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  static inline int runs = 0;
  std::wstring folder;
  std::wstring dataFolder;
};

TEST_F(MainWindowTest, SecondStartWarnsAndExitsWhileTheFirstKeepsRunning) {
  TestedProgram first(folder), second(folder);
  ASSERT_TRUE(first.Start());
  ASSERT_NE(first.MainWindow(), nullptr);
  ASSERT_TRUE(second.Start());
  HWND box = second.WaitForWindow(L"#32770");
  ASSERT_NE(box, nullptr);
  wchar_t caption[64] = {}, text[256] = {};
  GetWindowTextW(box, caption, 64);
  GetDlgItemTextW(box, 0xFFFF, text, 256);
  EXPECT_STREQ(caption, L"Mirepan");
  EXPECT_STREQ(text, L"Mirepan is already running.  Use your task bar to restore the application.");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(second.WaitForExit(), 1);
  EXPECT_TRUE(first.IsRunning());
  EXPECT_EQ(first.Close(), 0);
  EXPECT_FALSE(FileExists(OptionsPath())) << "nothing changed, so no options file";
}

TEST_F(MainWindowTest, FolderSwitchTakesEffectFromTheNextStart) {
  const std::wstring newFolder = folder + L"elsewhere\\";
  TestedProgram first(folder);
  ASSERT_TRUE(first.Start(L"/f" + newFolder));
  ASSERT_NE(first.MainWindow(), nullptr);
  EXPECT_FALSE(FolderExists(newFolder)) << "this run stays on the old folder";
  EXPECT_EQ(first.Close(), 0);
  EXPECT_EQ(std::wstring(ReadOptions().baseFolder), newFolder);
  TestedProgram second(folder);
  ASSERT_TRUE(second.Start());
  ASSERT_NE(second.MainWindow(), nullptr);
  EXPECT_TRUE(FolderExists(newFolder)) << "the next start derives its catalogs from the new folder";
  EXPECT_EQ(second.Close(), 0);
}

TEST_F(MainWindowTest, FolderSwitchMayNameTheFolderAsTheNextArgument) {
  const std::wstring newFolder = folder + L"next argument";  // quoted, as a blank needs
  TestedProgram program(folder);
  ASSERT_TRUE(program.Start(L"-F \"" + newFolder + L"\""));
  ASSERT_NE(program.MainWindow(), nullptr);
  EXPECT_EQ(program.Close(), 0);
  EXPECT_EQ(std::wstring(ReadOptions().baseFolder).rfind(newFolder, 0), 0u);
}

TEST_F(MainWindowTest, CtrlTFromTheLastTabSelectsTheFirst) {
  WriteOptions([](Options& o) { o.curTab = 3; });
  EXPECT_EQ(ControlKeyCommand(folder + kProgramCopy, 'T'), 1000) << "Ctrl+T sends command 1000";

  TestedProgram run(folder);
  ASSERT_TRUE(run.Start());
  HWND window = run.MainWindow();
  ASSERT_NE(window, nullptr);
  HWND tabs = GetDlgItem(window, 2103);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 3);
  SendMessageW(window, WM_COMMAND, 1000, 0);
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(run.Close(), 0);
  EXPECT_EQ(ReadOptions().curTab, 0u);
}

TEST_F(MainWindowTest, TabAreaStartsBelowTheToolbarOrAtFiveWhenItIsEmpty) {
  TestedProgram withButtons(folder);
  ASSERT_TRUE(withButtons.Start());
  HWND window = withButtons.MainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ChildRect(window, 2103).top, 45);
  EXPECT_EQ(ChildRect(window, 2103).left, 10);
  EXPECT_EQ(withButtons.Close(), 0);

  WriteOptions([](Options& o) { o.toolbarLayout = {255}; });
  TestedProgram empty(folder);
  ASSERT_TRUE(empty.Start());
  window = empty.MainWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ChildRect(window, 2103).top, 5);
  EXPECT_EQ(empty.Close(), 0);
}

BOOL CALLBACK FindVisibleList(HWND window, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (lstrcmpW(name, WC_LISTVIEWW) != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// An ingredient catalog of the named foods.
void WriteCatalog(const std::wstring& path, std::initializer_list<const wchar_t*> names) {
  std::wstring text = L"<INGREDIENTLIST>\r\n<INGREDIENTS>\r\n";
  int id = 0;
  for (const wchar_t* name : names)
    text += L"<FOOD>\r\n<FOODID>" + std::to_wstring(++id) + L"</FOODID>\r\n<FOODNAME>" + name +
            L"</FOODNAME>\r\n</FOOD>\r\n";
  FileHandle file(path);
  ASSERT_TRUE(file.WriteAllText(text + L"</INGREDIENTS>\r\n</INGREDIENTLIST>\r\n"));
}

HWND VisibleList(HWND window) {
  HWND list = nullptr;
  EnumChildWindows(window, &FindVisibleList, reinterpret_cast<LPARAM>(&list));
  return list;
}

// Starts the program; its list on show, null when it has none.
HWND StartedList(RunningProgram& run) {
  const HWND window = run.Start() ? run.MainWindow() : nullptr;
  return window ? VisibleList(window) : nullptr;
}

// Waits for the list to show `rows` rows; the rows it shows then.
int WaitForRows(HWND list, int rows) {
  for (DWORD waited = 0; waited < kPatience && ListView_GetItemCount(list) != rows; waited += 50) Sleep(50);
  return ListView_GetItemCount(list);
}

std::wstring TextOf(HWND edit) {
  wchar_t text[64] = {};
  SendMessageW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
  return text;
}

void PressKey(HWND window, WPARAM key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// Ctrl+F hands the keyboard to the find box; typing filters the list, Delete edits the text
// there (not the selected records), Escape empties it, and the text comes back with the next start.
TEST_F(MainWindowTest, FindBoxFiltersTheListAndComesBackWithTheNextStart) {
  WriteOptions([](Options& o) { o.curTab = 0; });
  WriteCatalog(dataFolder + L"Ingredients.xml", {L"Quince", L"Quark", L"Apple"});
  EXPECT_EQ(ControlKeyCommand(folder + kProgramCopy, 'F'), IDM_VIEW_FIND);
  {
    TestedProgram run(folder);
    HWND list = StartedList(run);
    ASSERT_NE(list, nullptr);
    HWND window = GetAncestor(list, GA_ROOT);
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
    EXPECT_EQ(TextOf(find), L"U");
    EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr) << "Delete asked to delete records";
    EXPECT_EQ(run.Close(), 0);
  }
  EXPECT_NE(ReadBytes(dataFolder + L"Ingredients.xml").find(L"<FIND>U</FIND>"), std::wstring::npos);
  TestedProgram again(folder);
  HWND list = StartedList(again);
  ASSERT_NE(list, nullptr);
  HWND window = GetAncestor(list, GA_ROOT);
  EXPECT_EQ(WaitForRows(list, 2), 2);
  HWND find = GetDlgItem(GetParent(list), IDC_VIEW_FIND);
  EXPECT_EQ(TextOf(find), L"U");
  PostMessageW(window, WM_COMMAND, IDM_VIEW_FIND, 0);
  PressKey(find, VK_ESCAPE);
  EXPECT_EQ(WaitForRows(list, 3), 3);
  EXPECT_EQ(TextOf(find), L"");
  EXPECT_EQ(again.Close(), 0);
}

TEST_F(MainWindowTest, ImmediateReadOfAnotherFolderShowsItsCatalogWithItsOwnColumns) {
  const std::wstring other = folder + L"other\\";
  CreateFolders(other, false);
  {
    FileHandle file(other + L"Ingredients.xml");
    ASSERT_TRUE(
        file.WriteAllText(L"<INGREDIENTLIST>\r\n<VIEW>\r\n<COLS>30,0</COLS>\r\n</VIEW>\r\n<INGREDIENTS>\r\n"
                          L"<FOOD>\r\n<FOODID>1</FOODID>\r\n<FOODNAME>Quince</FOODNAME>\r\n</FOOD>\r\n"
                          L"</INGREDIENTS>\r\n</INGREDIENTLIST>\r\n"));
  }
  WriteOptions([](Options& o) { o.curTab = 0; });
  TestedProgram run(folder);
  ASSERT_TRUE(run.Start());
  HWND window = run.MainWindow();
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_COMMAND, 1206, 0);  // Options...
  HWND dialog = run.WaitForWindow(L"#32770");
  ASSERT_NE(dialog, nullptr);
  SetDlgItemTextW(dialog, IDC_OPTIONS_FOLDER, other.c_str());
  CheckDlgButton(dialog, IDC_OPTIONS_RELOAD, BST_CHECKED);
  SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  HWND list = VisibleList(window);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(WaitForRows(list, 1), 1);
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 2) << "the columns the new catalog names";
  EXPECT_EQ(run.Close(), 0);
}

// The first start with nutrient data beside the program asks whether to take it in, over the
// program's window already on screen.
TEST_F(MainWindowTest, TheNutrientDataQuestionStandsOverTheShownWindow) {
  {
    FileHandle data(folder + L"NutrientData0001.csv");
    ASSERT_TRUE(data.WriteAllText(L"Name,Calories\r\nQuince,57\r\n"));
  }
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

TEST_F(MainWindowTest, ClosingRewritesTheOptionsOnlyWhenSomethingChanged) {
  WriteOptions([](Options& o) { o.curTab = 1; });
  const std::wstring written = ReadBytes(OptionsPath());
  DeleteFileW((dataFolder + L"probe").c_str());
  // A marker the program would drop if it wrote the file again.
  std::wstring marked = written + L"<!-- kept -->";
  {
    FileHandle file(OptionsPath());
    ASSERT_TRUE(file.WriteAllText(marked));
  }
  TestedProgram unchanged(folder);
  ASSERT_TRUE(unchanged.Start());
  ASSERT_NE(unchanged.MainWindow(), nullptr);
  EXPECT_EQ(unchanged.Close(), 0);
  EXPECT_EQ(ReadBytes(OptionsPath()), marked);

  TestedProgram changed(folder);
  ASSERT_TRUE(changed.Start());
  HWND window = changed.MainWindow();
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_COMMAND, 1000, 0);
  EXPECT_EQ(changed.Close(), 0);
  EXPECT_NE(ReadBytes(OptionsPath()), marked);
  EXPECT_EQ(ReadOptions().curTab, 2u);
}

}  // namespace
