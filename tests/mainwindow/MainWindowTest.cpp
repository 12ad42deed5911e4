// The real program: started twice, with the data-folder switch, switching tabs, with an empty
// toolbar, and closed with and without changed options; and what it does so that nothing is lost:
// files it cannot read, saves that fail at exit, read-only catalogs, the row a right click means
// and the owner of a dialog opened from a dialog.
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

// Waits for the list to show `rows` rows; the rows it shows then.
int WaitForRows(HWND list, int rows) {
  for (DWORD waited = 0; waited < kPatience && ListView_GetItemCount(list) != rows; waited += 50) Sleep(50);
  return ListView_GetItemCount(list);
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

// A second start warns and exits; the first keeps running and comes back to the front.
TEST_F(MainWindowTest, SecondStartWarnsAndExitsWhileTheFirstKeepsRunningAndComesToTheFront) {
  TestedProgram first(folder), second(folder);
  const HWND window = first.Started();
  ASSERT_NE(window, nullptr);
  // The tab area starts below the toolbar.
  EXPECT_EQ(std::tuple(ChildRect(window, 2103).left, ChildRect(window, 2103).top), std::tuple(10, 45));
  ShowWindow(window, SW_MINIMIZE);
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
  EXPECT_FALSE(IsIconic(window)) << "the running window came back to the front";
  EXPECT_EQ(first.Close(), 0);
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

// The labels on a tab page stand on the page's own background: the colour just inside a label's
// box is the colour just outside it.
TEST_F(MainWindowTest, TabPageLabelsShowThePagesBackground) {
  TestedProgram run(folder);
  const HWND window = run.Started();
  ASSERT_NE(window, nullptr);
  const HWND tabs = GetDlgItem(window, IDC_TABS);
  HWND label = nullptr;
  for (DWORD waited = 0; !label && waited < kPatience; waited += 50, Sleep(50))
    EnumChildWindows(
        tabs,
        [](HWND child, LPARAM found) {
          wchar_t name[16] = {};
          GetClassNameW(child, name, 16);
          if (lstrcmpiW(name, L"Static") != 0 || !IsWindowVisible(child)) return TRUE;
          *reinterpret_cast<HWND*>(found) = child;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&label));
  ASSERT_NE(label, nullptr);
  Sleep(500);  // painted
  RECT box{};
  GetWindowRect(label, &box);
  const HDC screen = GetDC(nullptr);  // another program's window is read where it shows
  const COLORREF inside = GetPixel(screen, box.right - 2, box.top + 1);
  const COLORREF outside = GetPixel(screen, box.right + 2, box.top + 1);
  ReleaseDC(nullptr, screen);
  EXPECT_NE(inside, CLR_INVALID);
  EXPECT_EQ(inside, outside) << std::hex << inside << " " << outside;
  EXPECT_EQ(run.Close(), 0);
}

// A splitter dropped 100 pixels left of where it stood leaves the window's width less the drop
// position to the picture.
TEST_F(MainWindowTest, TheSplitterDropReservesTheWidthRightOfTheDropPosition) {
  TestedProgram run(folder);
  const HWND window = run.Started();
  ASSERT_NE(window, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  const int left = ChildRect(window, IDC_SPLITTER).left;
  const HWND splitter = GetDlgItem(window, IDC_SPLITTER);
  PostMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 10));
  PostMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-98), 10));
  for (DWORD waited = 0; waited < kPatience && ChildRect(window, IDC_SPLITTER).left == left; waited += 50)
    Sleep(50);
  EXPECT_EQ(run.Close(), 0);
  EXPECT_EQ(ReadOptions().splitter, client.right - (left - 100));
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

// Nutrient data beside the program that could upgrade the foods of the catalog is offered with a
// question, over the program's window already on screen.
TEST_F(MainWindowTest, TheNutrientDataQuestionStandsOverTheShownWindow) {
  CreateFolders(dataFolder, false);
  WriteCatalog(dataFolder, {L"Quince"});
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
  EXPECT_EQ(run.WaitForExit(), 0) << "the close asked for under the question is carried out";
}

// ---- nothing lost: files that cannot be read, saves that fail, read-only catalogs ----

// A dialog or message box of the program holding `part` in its text (or, for a dialog, in the
// item `id`), waiting for it; null when none shows in time.
HWND WaitForBox(const RunningProgram& run, const std::wstring& part, int id = 0xFFFF,
                DWORD patience = kPatience) {
  for (DWORD waited = 0; waited < patience; waited += 50, Sleep(50))
    for (const HWND dialog : run.VisibleWindows(L"#32770"))
      if (test_support::DialogDriver(dialog).Text(id).find(part) != std::wstring::npos) return dialog;
  return nullptr;
}

// The texts of every dialog and message box the program shows, for the failure messages.
std::wstring ShownBoxes(const RunningProgram& run) {
  std::wstring texts;
  for (const HWND dialog : run.VisibleWindows(L"#32770")) {
    const test_support::DialogDriver shown(dialog);
    texts += L"[" + shown.Caption() + L": " + shown.Text(0xFFFF) + L"]";
  }
  return texts;
}

// The vertical place in the list of row `row`, found by left clicks on points down the list (the
// rows' places cannot be asked across processes), the row then selected alone; -1 when none is.
int RowPlace(HWND list, int row) {
  for (int y = 8; y < 400; y += 3) {
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, y));
    PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(20, y));
    Sleep(40);
    if (ListView_GetItemState(list, row, LVIS_SELECTED) && ListView_GetSelectedCount(list) == 1) return y;
  }
  return -1;
}

bool ClickRow(HWND list, int row) {
  return RowPlace(list, row) >= 0;
}

// Answers the box and waits for it to go.
void Answer(HWND box, int button) {
  PostMessageW(box, WM_COMMAND, button, 0);
  for (DWORD waited = 0; waited < kPatience && IsWindow(box); waited += 50) Sleep(50);
}

// A keystroke in the find box of the tab on show: the catalog has changed and wants saving.
void TypeInFindBox(HWND window, wchar_t c) {
  HWND find = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM found) {
        if (GetDlgCtrlID(child) != IDC_VIEW_FIND || !IsWindowVisible(child)) return TRUE;
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  ASSERT_NE(find, nullptr);
  PostMessageW(find, WM_CHAR, c, 1);
  Sleep(300);
}

std::wstring SystemText(DWORD error) {
  wchar_t text[512] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, 512,
                 nullptr);
  std::wstring message = text;
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  return message;
}

// Flour (1) and Milk (2), the recipe Bread made of both, a meal of both and a list of both.
class HouseholdFiles {
 public:
  explicit HouseholdFiles(const std::wstring& folder) : folder_(folder) {
    ingredients = L"<INGREDIENTLIST>\r\n<INGREDIENTS>\r\n";
    for (const auto& [id, name] : {std::pair{1, L"Flour"}, std::pair{2, L"Milk"}})
      ingredients += L"<FOOD>\r\n<FOODID>" + std::to_wstring(id) + L"</FOODID>\r\n<FOODNAME>" + name +
                     L"</FOODNAME>\r\n<CAL>100</CAL>\r\n<CATEGORY>Pantry</CATEGORY>\r\n</FOOD>\r\n";
    ingredients += L"</INGREDIENTS>\r\n</INGREDIENTLIST>\r\n";
    const std::wstring lines =
        L"<INGREDIENT>\r\n<AMOUNT>2</AMOUNT>\r\n<TYPE>1</TYPE>\r\n<ID>1</ID>\r\n</INGREDIENT>\r\n"
        L"<INGREDIENT>\r\n<AMOUNT>1</AMOUNT>\r\n<TYPE>1</TYPE>\r\n<ID>2</ID>\r\n</INGREDIENT>\r\n";
    neighbours[0] = L"<RECIPELIST>\r\n<RECIPES>\r\n<RECIPE>\r\n<INGREDIENTLIST>\r\n" + lines +
                    L"</INGREDIENTLIST>\r\n<SERVES>2</SERVES>\r\n<FOOD>\r\n<FOODID>1</FOODID>\r\n"
                    L"<FOODNAME>Bread</FOODNAME>\r\n<CATEGORY>Baking</CATEGORY>\r\n</FOOD>\r\n</RECIPE>\r\n</"
                    L"RECIPES>\r\n</RECIPELIST>\r\n";
    const std::wstring items =
        L"<FOODITEM>\r\n<ID>1</ID>\r\n<AMOUNT>1</AMOUNT>\r\n<TYPE>1</TYPE>\r\n</FOODITEM>\r\n"
        L"<FOODITEM>\r\n<ID>2</ID>\r\n<AMOUNT>1</AMOUNT>\r\n<TYPE>1</TYPE>\r\n</FOODITEM>\r\n";
    neighbours[1] =
        L"<DIARYLIST>\r\n<VIEW>\r\n<CATEGORIES>\r\n<DIARYNAME>\r\n<NAME>Ann</NAME>\r\n<ID>1</ID>\r\n"
        L"</DIARYNAME>\r\n</CATEGORIES>\r\n</VIEW>\r\n<DIARIES>\r\n<DIARY>\r\n<FOODLIST>\r\n" +
        items +
        L"</FOODLIST>\r\n<M>3</M>\r\n<D>4</D>\r\n<Y>2026</Y>\r\n<FOOD>\r\n<CATID>1</CATID>\r\n"
        L"<FOODID>1</FOODID>\r\n<CAL>200</CAL>\r\n</FOOD>\r\n</DIARY>\r\n</DIARIES>\r\n</DIARYLIST>\r\n";
    std::wstring entries;
    for (const auto& [id, name] : {std::pair{1, L"Flour"}, std::pair{2, L"Milk"}})
      entries += L"<ITEM>\r\n<AMOUNT>1</AMOUNT>\r\n<SERVINGTYPE>1</SERVINGTYPE>\r\n<FOOD>\r\n<FOODID>" +
                 std::to_wstring(id) + L"</FOODID>\r\n<FOODNAME>" + name +
                 L"</FOODNAME>\r\n</FOOD>\r\n</ITEM>\r\n";
    neighbours[2] =
        L"<SHOPLISTLIST>\r\n<LISTS>\r\n<SHOPLIST>\r\n<LISTID>4</LISTID>\r\n<LISTNAME>Weekly</LISTNAME>\r\n" +
        entries + L"</SHOPLIST>\r\n</LISTS>\r\n</SHOPLISTLIST>\r\n";
  }
  void WriteNeighbours() const {
    for (int i = 0; i < 3; ++i) WriteText(Neighbour(i), neighbours[i]);
  }
  std::wstring Neighbour(int i) const { return folder_ + kNeighbours[i]; }

  static constexpr const wchar_t* kNeighbours[3] = {L"Recipes.xml", L"FoodDiary.xml", L"ShoppingList.xml"};
  std::wstring ingredients;
  std::wstring neighbours[3];

 private:
  std::wstring folder_;
};

// A cut-off ingredient file is named with its trouble; the recipes, meals and lists that point
// into it are only shown, so an edit and Exit leave them and their backups as they were; Restore
// from Backup then brings the ingredients back and the neighbours with every line.
TEST_F(MainWindowTest, ADamagedIngredientFileHoldsItsNeighboursReadOnlyUntilItsBackupIsRestored) {
  WriteOptions([](Options& o) { o.curTab = 0; });
  const HouseholdFiles files(dataFolder);
  const std::wstring catalog = dataFolder + L"Ingredients.xml";
  WriteText(catalog, files.ingredients.substr(0, files.ingredients.size() - 40));
  WriteText(catalog + L".bak", files.ingredients);
  files.WriteNeighbours();
  {
    TestedProgram run(folder);
    ASSERT_TRUE(run.Start());
    const HWND box = WaitForBox(run, catalog);
    ASSERT_NE(box, nullptr);
    const std::wstring text = test_support::DialogDriver(box).Text(0xFFFF);
    EXPECT_NE(text.find(L"damaged"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"read-only"), std::wstring::npos) << text;
    Answer(box, IDOK);
    const HWND window = run.MainWindow();
    ASSERT_NE(window, nullptr);
    for (int tab = 0; tab < 4; ++tab) {
      TypeInFindBox(window, L'x');
      SendMessageW(window, WM_COMMAND, IDM_NEXT_TAB, 0);
    }
    EXPECT_EQ(run.Close(), 0);
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(FileText(files.Neighbour(i)), files.neighbours[i]) << i;
    EXPECT_FALSE(FileExists(files.Neighbour(i) + L".bak")) << i;
  }
  EXPECT_EQ(FileText(catalog + L".bak"), files.ingredients);

  TestedProgram run(folder);
  ASSERT_TRUE(run.Start());
  const HWND box = WaitForBox(run, catalog);
  ASSERT_NE(box, nullptr);
  Answer(box, IDOK);
  const HWND window = run.MainWindow();
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_COMMAND, IDM_RESTORE, 0);
  for (const wchar_t* question : {L"Restore from your last saved backup?", L"ingredient"}) {
    const HWND asked = WaitForBox(run, question);
    ASSERT_NE(asked, nullptr) << question << ShownBoxes(run);
    Answer(asked, IDYES);
  }
  Sleep(1000);
  SendMessageW(window, WM_COMMAND, IDM_NEXT_TAB, 0);
  TypeInFindBox(window, L'b');  // the recipes are writable again
  EXPECT_EQ(run.Close(), 0);
  EXPECT_NE(FileText(catalog).find(L"</INGREDIENTLIST>"), std::wstring::npos);
  const std::wstring recipes = FileText(files.Neighbour(0));
  EXPECT_NE(recipes.find(L"<FIND>b</FIND>"), std::wstring::npos) << recipes;
  for (const wchar_t* line : {L"<ID>1</ID>", L"<ID>2</ID>"})
    EXPECT_NE(recipes.find(line), std::wstring::npos) << line;
}

// An ingredient file another program holds open is named with the system's reason and never
// replaced, however the catalog is changed.
TEST_F(MainWindowTest, AnIngredientFileHeldByAnotherProgramIsShownReadOnlyAndNeverReplaced) {
  WriteOptions([](Options& o) { o.curTab = 0; });
  const HouseholdFiles files(dataFolder);
  const std::wstring catalog = dataFolder + L"Ingredients.xml";
  WriteText(catalog, files.ingredients);
  const HANDLE held = CreateFileW(catalog.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  {
    TestedProgram run(folder);
    ASSERT_TRUE(run.Start());
    const HWND box = WaitForBox(run, catalog);
    ASSERT_NE(box, nullptr);
    const std::wstring text = test_support::DialogDriver(box).Text(0xFFFF);
    EXPECT_NE(text.find(SystemText(ERROR_SHARING_VIOLATION)), std::wstring::npos) << text;
    Answer(box, IDOK);
    const HWND window = run.MainWindow();
    ASSERT_NE(window, nullptr);
    TypeInFindBox(window, L'f');
    PostMessageW(window, WM_COMMAND, IDM_ADD_CATEGORY, 0);
    EXPECT_EQ(WaitForBox(run, L"", 0, 1000), nullptr) << "a read-only catalog asks for no category";
    EXPECT_EQ(run.Close(), 0);
  }
  CloseHandle(held);
  EXPECT_EQ(FileText(catalog), files.ingredients);
}

// A save at exit that fails asks: Try Again fails again and asks again, Keep Open stays, and once
// the trouble is gone the close saves; Quit Without Saving quits and leaves the file as it was.
TEST_F(MainWindowTest, AFailedSaveAtExitAsksTryAgainKeepOpenOrQuitWithoutSaving) {
  WriteOptions([](Options& o) { o.curTab = 0; });
  WriteCatalog(dataFolder, {L"Quince"});
  const std::wstring catalog = dataFolder + L"Ingredients.xml";
  const std::wstring blocker = catalog + L".tmp";  // where the save writes first
  const auto failingClose = [&](TestedProgram& run, wchar_t typed) {
    const HWND window = run.MainWindow();
    EXPECT_NE(window, nullptr);
    TypeInFindBox(window, typed);
    EXPECT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
    PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForBox(run, catalog, IDC_SAVE_AT_EXIT_TEXT);
  };
  {
    TestedProgram run(folder);
    ASSERT_TRUE(run.Start());
    HWND asked = failingClose(run, L'q');
    ASSERT_NE(asked, nullptr) << ShownBoxes(run);
    Answer(asked, IDRETRY);
    asked = WaitForBox(run, catalog, IDC_SAVE_AT_EXIT_TEXT);
    ASSERT_NE(asked, nullptr) << "trying again failed again";
    Answer(asked, IDCANCEL);
    EXPECT_TRUE(run.IsRunning(500));
    EXPECT_TRUE(IsWindowEnabled(run.MainWindow()));
    RemoveDirectoryW(blocker.c_str());
    EXPECT_EQ(run.Close(), 0);
  }
  const std::wstring saved = FileText(catalog);
  EXPECT_NE(saved.find(L"<FIND>q</FIND>"), std::wstring::npos) << saved;
  TestedProgram run(folder);
  ASSERT_TRUE(run.Start());
  const HWND asked = failingClose(run, L'z');
  ASSERT_NE(asked, nullptr);
  Answer(asked, IDABORT);
  EXPECT_EQ(run.WaitForExit(), 0);
  RemoveDirectoryW(blocker.c_str());
  EXPECT_EQ(FileText(catalog), saved);
}

// On every tab of read-only catalogs, no command that would change one does anything: no editor,
// no question, no chooser, and the files stay as they were.
TEST_F(MainWindowTest, EveryCommandThatWouldChangeAReadOnlyCatalogDoesNothing) {
  WriteOptions([](Options& o) { o.curTab = 0; });
  const HouseholdFiles files(dataFolder);
  const std::wstring catalog = dataFolder + L"Ingredients.xml";
  WriteText(catalog, files.ingredients);
  files.WriteNeighbours();
  std::vector<std::wstring> paths = {catalog};
  for (int i = 0; i < 3; ++i) paths.push_back(files.Neighbour(i));
  std::vector<std::wstring> before;
  for (const std::wstring& path : paths) {
    before.push_back(FileText(path));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  }
  const std::vector<int> commands[4] = {
      {IDM_ADD_INGREDIENT, IDM_COPY_INGREDIENT, IDM_EDIT_INGREDIENT, IDM_DELETE_INGREDIENT,
       IDM_MOVE_INGREDIENT, IDM_ADD_CATEGORY, IDM_FILE_IMPORT},
      {IDM_ADD_RECIPE, IDM_COPY_RECIPE, IDM_EDIT_RECIPE, IDM_DELETE_RECIPE, IDM_MOVE_RECIPE, IDM_ADD_CATEGORY,
       IDM_FILE_IMPORT, IDM_DOWNLOAD_RECIPES, IDM_IMPORT_WEB_PAGE},
      {IDM_ADD_MEAL, IDM_EDIT_MEAL, IDM_DELETE_MEAL, IDM_ADD_DIARY, IDM_EDIT_DIARY, IDM_FILE_IMPORT},
      {IDM_ADD_SHOPLIST, IDM_COPY_SHOPLIST, IDM_EDIT_SHOPLIST, IDM_DELETE_SHOPLIST, IDM_FILE_IMPORT}};
  {
    TestedProgram run(folder);
    const HWND window = run.Started();
    ASSERT_NE(window, nullptr);
    for (int tab = 0; tab < 4; ++tab) {
      const HWND list = VisibleList(window);
      ASSERT_NE(list, nullptr);
      EXPECT_TRUE(tab == 3 || (WaitForRows(list, tab == 0 ? 2 : 1) > 0 && ClickRow(list, 0))) << tab;
      for (const int command : commands[tab]) {
        PostMessageW(window, WM_COMMAND, command, 0);
        const HWND shown = WaitForBox(run, L"", 0, 700);
        EXPECT_EQ(shown, nullptr) << "tab " << tab << ", command " << command << ShownBoxes(run);
        if (shown) Answer(shown, IDCANCEL);
      }
      SendMessageW(window, WM_COMMAND, IDM_NEXT_TAB, 0);
    }
    EXPECT_EQ(run.Close(), 0);
  }
  for (size_t i = 0; i < paths.size(); ++i) {
    SetFileAttributesW(paths[i].c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FileText(paths[i]), before[i]) << i;
  }
}

// A right click on a row that is not selected selects that row alone before the pop-up opens, and
// the Delete question names the record that goes.
TEST_F(MainWindowTest, ARightClickSelectsTheRowUnderThePointerAndDeleteNamesIt) {
  WriteOptions([](Options& o) { o.curTab = 0; });
  WriteCatalog(dataFolder, {L"Apple", L"Bread"});
  TestedProgram run(folder);
  const HWND window = run.Started();
  const HWND list = window ? VisibleList(window) : nullptr;
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(WaitForRows(list, 2), 2);
  const int place = RowPlace(list, 1);
  ASSERT_GE(place, 0);
  ASSERT_TRUE(ClickRow(list, 0));
  const LPARAM at = MAKELPARAM(20, place);
  PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageW(list, WM_RBUTTONUP, 0, at);
  for (DWORD waited = 0; waited < kPatience && !ListView_GetItemState(list, 1, LVIS_SELECTED); waited += 50)
    Sleep(50);
  EXPECT_EQ(
      std::tuple(ListView_GetItemState(list, 0, LVIS_SELECTED), ListView_GetItemState(list, 1, LVIS_SELECTED),
                 ListView_GetNextItem(list, -1, LVNI_FOCUSED)),
      std::tuple(0u, static_cast<UINT>(LVIS_SELECTED), 1));
  if (const HWND menu = FindWindowW(L"#32768", nullptr)) {  // the pop-up goes without a choice
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(menu, WM_KEYUP, VK_ESCAPE, 0xC0000001);
  }
  Sleep(500);
  PostMessageW(window, WM_COMMAND, IDM_DELETE_INGREDIENT, 0);
  const HWND question = WaitForBox(run, L"delete");
  ASSERT_NE(question, nullptr) << ShownBoxes(run);
  const std::wstring text = test_support::DialogDriver(question).Text(0xFFFF);
  EXPECT_NE(text.find(L"Bread"), std::wstring::npos) << text;
  EXPECT_EQ(text.find(L"Apple"), std::wstring::npos) << text;
  Answer(question, IDNO);
  EXPECT_EQ(run.Close(), 0);
}

// A dialog opened from a dialog (New Ingredient in the recipe editor) is owned by it: closing it
// leaves the main window disabled under the editor, so nothing behind the editor can be used.
TEST_F(MainWindowTest, ADialogOpenedFromADialogKeepsTheMainWindowDisabledWhenItCloses) {
  WriteOptions([](Options& o) { o.curTab = 1; });
  const HouseholdFiles files(dataFolder);
  WriteText(dataFolder + L"Ingredients.xml", files.ingredients);
  files.WriteNeighbours();
  TestedProgram run(folder);
  const HWND window = run.Started();
  HWND list = nullptr;
  for (DWORD waited = 0; window && !list && waited < kPatience; waited += 50, Sleep(50))
    list = VisibleList(window);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(WaitForRows(list, 1), 1);
  ASSERT_TRUE(ClickRow(list, 0));
  PostMessageW(window, WM_COMMAND, IDM_EDIT_RECIPE, 0);
  const HWND editor = WaitForBox(run, L"New Ingredient", IDC_RECIPE_NEW_INGREDIENT);
  ASSERT_NE(editor, nullptr) << ShownBoxes(run);
  PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDC_RECIPE_NEW_INGREDIENT, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(editor, IDC_RECIPE_NEW_INGREDIENT)));
  HWND nested = nullptr;
  for (DWORD waited = 0; waited < kPatience && !nested; waited += 50, Sleep(50)) {
    const HWND shown = run.FindVisible(L"#32770");
    if (shown && shown != editor) nested = shown;
  }
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(GetWindow(nested, GW_OWNER), editor);
  Answer(nested, IDCANCEL);
  Sleep(300);
  EXPECT_FALSE(IsWindowEnabled(window)) << "the main window stays behind the editor";
  Answer(editor, IDCANCEL);
  EXPECT_EQ(run.Close(), 0);
}

// ---- the first start ----

// The program's own nutrient data on a fresh profile goes in without the upgrade question: there is
// nothing to upgrade. The tabs still empty say in grey what to do first (and tell a screen reader).
TEST_F(MainWindowTest, AFirstStartTakesTheNutrientDataUnaskedAndAnEmptyListSaysWhatToDoFirst) {
  std::wstring data = WinePath(MIREPAN_EXE);
  data = data.substr(0, data.rfind(L'\\') + 1) + L"NutrientData0002.csv";
  ASSERT_TRUE(CopyFileW(data.c_str(), (folder + L"NutrientData0002.csv").c_str(), FALSE));
  TestedProgram run(folder);
  const HWND window = run.Started();
  const HWND foods = window ? VisibleList(window) : nullptr;
  ASSERT_NE(foods, nullptr);
  for (DWORD waited = 0; waited < kPatience && ListView_GetItemCount(foods) == 0; waited += 50) Sleep(50);
  EXPECT_GT(ListView_GetItemCount(foods), 100);
  // The fill's progress window goes by itself; a question would stay.
  for (DWORD waited = 0; waited < kPatience && !ShownBoxes(run).empty(); waited += 50) Sleep(50);
  EXPECT_EQ(ShownBoxes(run), L"") << "no question";
  PostMessageW(window, WM_COMMAND, IDM_NEXT_TAB, 0);
  HWND recipes = foods;
  for (DWORD waited = 0; waited < kPatience && recipes == foods; waited += 50, Sleep(50))
    recipes = VisibleList(window);
  wchar_t hint[256] = {};
  SendMessageW(recipes, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(hint));
  EXPECT_NE(std::wstring(hint).find(L"Add Recipe"), std::wstring::npos) << hint;
  EXPECT_EQ(run.Close(), 0);
  EXPECT_EQ(ReadOptions().dbVersion, L"NutrientData0002.csv") << "not offered again";
}

}  // namespace
