// A household's first evening with the real program and its starter data, driven by posted clicks
// and keys as a user gives them: the first start on a fresh data folder; a recipe of five lines
// typed from scratch ("250 g" of a new ingredient, "1 1/2 cup" of milk); three days of meals for
// one person and that period's chart; a shopping list from the recipe with one amount changed; the
// recipe card and the list printed to a file printer; a recipe page imported from a web server;
// Exit, the files, and the second start with everything there.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "resources/resource.h"
#include "support/DialogDriver.h"
#include "support/ScratchFolder.h"
#include "storage/Csv.h"
#include "tests/printfile/FilePrinter.h"
#include "tests/support/LoopbackHttpServer.h"
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

// Keys typed into an edit, or into the edit of a combo box that has one, after a click into it; waits
// until it shows them, when all its handling of them is done.
void TypeInto(HWND control, const std::wstring& text) {
  HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr);
  if (!edit) edit = control;
  Click(edit, 4, 4);
  if (text.empty()) return;
  PostMessageW(edit, EM_SETSEL, 0, -1);  // over what it shows, as after a triple click
  for (const wchar_t key : text) PostMessageW(edit, WM_CHAR, key, 1);
  WaitForText(edit, text);
}

// Answers the dialog by a click on its button `button` (the keyboard leaves the control it was in,
// as it does for a user) and waits for it to go; whether it went.
bool Answer(HWND dialog, int button) {
  if (const HWND control = GetDlgItem(dialog, button))
    PostMessageW(control, BM_CLICK, 0, 0);
  else
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

// A key pressed, with the time a user's next key would take.
void Key(HWND control, UINT key) {
  PressKey(control, key);
  Sleep(100);
}

// Waits until the list `id` of the dialog shows `rows` rows; the rows it shows then.
int WaitForCount(const test_support::DialogDriver& dialog, int id, int rows) {
  for (DWORD waited = 0; waited < kPatience && dialog.Count(id) != rows; waited += 50) Sleep(50);
  return dialog.Count(id);
}

// A food picked as a user picks one: its name typed into the search box, a click on the first row
// of the catalog below and the Down key to the row that shows the name. False when no row does.
bool PickFood(const test_support::DialogDriver& dialog, int search, int catalog, const std::wstring& name) {
  TypeInto(dialog.Item(search), name);
  const std::vector<std::wstring> rows = dialog.Rows(catalog);
  const auto found = std::find(rows.begin(), rows.end(), name);
  if (found == rows.end()) return false;
  Click(dialog.Item(catalog), 10, 5);
  for (auto row = rows.begin(); row != found; ++row) Key(dialog.Item(catalog), VK_DOWN);
  return dialog.Selected(catalog) == found - rows.begin();
}

// An amount typed into the whole-number box; with a unit, that unit chosen by the keyboard in the
// unit box (Home, then its first letter until it shows); then Enter.
void EnterAmount(const test_support::DialogDriver& dialog, int whole, int unit, const std::wstring& amount,
                 const std::wstring& unitName) {
  TypeInto(dialog.Item(whole), amount);
  if (!unitName.empty()) {
    Click(dialog.Item(unit), 10, 5);  // opens the list; Home and the letters walk it
    Key(dialog.Item(unit), VK_HOME);
    for (int tries = 0; tries < 8 && ShownText(dialog.Item(unit)) != unitName; ++tries)
      PostMessageW(dialog.Item(unit), WM_CHAR, unitName[0], 1), Sleep(100);
    Key(dialog.Item(unit), VK_RETURN);  // closes the list on the choice
    TypeInto(dialog.Item(whole), L"");  // back in the amount, as the Enter below wants
  }
  Key(FindWindowExW(dialog.Item(whole), nullptr, L"Edit", nullptr), VK_RETURN);
}

// The text of a catalog file of the program (UTF-16, with or without its mark), as UTF-8 with its
// lines ended by "\n".
std::string FileText(const std::wstring& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return {};
  const size_t mark = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 0;
  std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data() + mark), (bytes.size() - mark) / 2);
  std::string text(wide.size() * 3, '\0');
  text.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                  static_cast<int>(text.size()), nullptr, nullptr));
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// The recipe page the evening imports: the structured data a recipe site writes.
constexpr char kSaladPage[] = R"(<html><head><title>Carrot salad</title>
<script type="application/ld+json">{"@context":"https://schema.org","@type":"Recipe",
"name":"Carrot salad","recipeYield":"2","recipeIngredient":["300 g carrot, orange","1 big onion"],
"recipeInstructions":[{"@type":"HowToStep","text":"Grate the carrots, chop the onion, mix."}]}</script>
</head><body><h1>Carrot salad</h1></body></html>)";

// The starter data beside the built program copied beside its copy in `folder`, as the program
// ships; whether there was any.
bool CopyStarterData(const std::wstring& folder) {
  std::wstring built = WinePath(MIREPAN_EXE);
  built.erase(built.find_last_of(L'\\') + 1);
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((built + L"NutrientData*.csv").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool copied = true;
  do
    copied =
        CopyFileW((built + found.cFileName).c_str(), (folder + found.cFileName).c_str(), FALSE) && copied;
  while (FindNextFileW(search, &found));
  FindClose(search);
  return copied;
}

class FirstEveningTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallProgramCopy(MIREPAN_EXE, PROFILE_DLL, folder, kProgramCopy));
    ASSERT_TRUE(CopyStarterData(folder));
    server_.Serve("/salad.html", kSaladPage);
    if (!FilePrinter::Available()) return;
    std::string error;
    ASSERT_TRUE(printer_.Install(printPath_, error)) << error;
  }
  void TearDown() override { FilePrinter::Remove(); }

  // The main window's tab `page` shown by clicks; the visible list's rows then.
  int ShowTab(int page) {
    EXPECT_TRUE(ClickTab(GetDlgItem(window_, kMainTabs), page)) << "tab " << page;
    return VisibleRows(window_);
  }
  // A dialog opened by the menu command `command` of the main window.
  HWND Open(int command, const std::wstring& caption) {
    PostMessageW(window_, WM_COMMAND, command, 0);
    return WaitForDialog(*run_, caption);
  }

  // The evening's steps, in order.
 public:
  void TypeRecipe();
  void LogThreeDays();
  void ViewThePeriod();
  void ShopForTheRecipe();

 protected:
  double ChartCalories(const std::wstring& from, const std::wstring& to, std::wstring& caption,
                       const char* shot);
  void AddNewIngredientLine(const test_support::DialogDriver& recipe);
  void AddCatalogLine(const test_support::DialogDriver& recipe, const std::wstring& food,
                      const std::wstring& amount, const std::wstring& unit = L"");
  void Print(int page, const char* what);
  void ImportThePage();

  test_support::ScratchFolder scratch_;
  const std::wstring folder = scratch_.Path();
  const std::wstring dataFolder = folder + L"profile\\Tallowmere\\Mirepan\\";
  const std::wstring printPath_ = folder + L"printed.ps";
  LoopbackHttpServer server_;
  FilePrinter printer_;
  RunningProgram* run_ = nullptr;
  HWND window_ = nullptr;
};

// Five lines typed from scratch: a new ingredient by "250 g", starter foods by their preset serving
// unit, and "1 1/2 cup" of milk with the unit chosen.
void FirstEveningTest::TypeRecipe() {
  ShowTab(1);
  const HWND editor = Open(IDM_ADD_RECIPE, L"Add Recipe");
  ASSERT_NE(editor, nullptr);
  const test_support::DialogDriver recipe(editor);
  TypeInto(recipe.Item(IDC_RECIPE_CATEGORY), L"Suppers");
  TypeInto(recipe.Item(IDC_RECIPE_NAME), L"Potato soup");
  EXPECT_EQ(WaitForText(recipe.Item(IDC_RECIPE_NAME), L"Potato soup"), L"Potato soup");
  Screenshot("02-recipe-general");
  ASSERT_TRUE(ClickTab(recipe.Item(IDC_RECIPE_TABS), 1)) << "the ingredients page";
  AddNewIngredientLine(recipe);
  if (HasFatalFailure()) return;
  AddCatalogLine(recipe, L"Milk, whole, Cow", L"1 1/2", L"cup");
  AddCatalogLine(recipe, L"Onion, big", L"150");
  AddCatalogLine(recipe, L"Carrot, orange", L"100");
  AddCatalogLine(recipe, L"Garlic, big clove", L"10");
  ASSERT_EQ(recipe.Count(IDC_RECIPE_LINES), 5) << "five lines";
  const std::wstring milk = recipe.RowText(IDC_RECIPE_LINES, 1);
  EXPECT_EQ(milk.substr(0, 5), L"1 1/2") << milk;
  EXPECT_NE(milk.find(L"cup Milk, whole, Cow"), std::wstring::npos) << milk;
  Screenshot("04-recipe-lines");
  PostMessageW(recipe.Item(IDOK), BM_CLICK, 0, 0);
  EXPECT_EQ(WaitForRows(window_, 1), 1) << "the recipe list shows the new recipe";
  EXPECT_FALSE(IsWindow(editor));
  Screenshot("05-recipe-list");
}

// The first line: a new ingredient made from the editor (its name typed there), then "250" typed;
// its serving unit is preset.
void FirstEveningTest::AddNewIngredientLine(const test_support::DialogDriver& recipe) {
  PostMessageW(recipe.Item(IDC_RECIPE_NEW_INGREDIENT), BM_CLICK, 0, 0);
  const HWND editor = WaitForDialog(*run_, L"Add Ingredient");
  ASSERT_NE(editor, nullptr);
  TypeInto(GetDlgItem(editor, IDC_EDITOR_CATEGORY), L"Vegetables");
  TypeInto(GetDlgItem(editor, IDC_EDITOR_NAME), L"Potatoes");
  TypeInto(GetDlgItem(editor, IDC_EDITOR_WHOLE), L"1");
  TypeInto(GetDlgItem(editor, IDC_EDITOR_OUNCES), L"6");
  Screenshot("03-new-ingredient");
  ASSERT_TRUE(Answer(editor, IDOK));
  EnterAmount(recipe, IDC_RECIPE_WHOLE, IDC_RECIPE_UNIT, L"250", L"g");
  ASSERT_EQ(WaitForCount(recipe, IDC_RECIPE_LINES, 1), 1);
  const std::wstring line = recipe.RowText(IDC_RECIPE_LINES, 0);
  EXPECT_EQ(line.substr(0, 3), L"250") << line;
  EXPECT_NE(line.find(L"g Potatoes"), std::wstring::npos) << line;
}

void FirstEveningTest::AddCatalogLine(const test_support::DialogDriver& recipe, const std::wstring& food,
                                      const std::wstring& amount, const std::wstring& unit) {
  const int before = recipe.Count(IDC_RECIPE_LINES);
  ASSERT_TRUE(PickFood(recipe, IDC_RECIPE_QUICK_SEARCH, IDC_RECIPE_CATALOG, food)) << food;
  EnterAmount(recipe, IDC_RECIPE_WHOLE, IDC_RECIPE_UNIT, amount, unit);
  EXPECT_EQ(WaitForCount(recipe, IDC_RECIPE_LINES, before + 1), before + 1) << food;
}

// A diary for one person, then three days of meals: a bowl of the soup a day, two on the last.
void FirstEveningTest::LogThreeDays() {
  ShowTab(2);
  Screenshot("06-diary-empty");
  const HWND named = Open(IDM_ADD_DIARY, L"Add Food Diary");
  ASSERT_NE(named, nullptr);
  TypeInto(GetDlgItem(named, IDC_DIARY_NAME), L"Sam");
  ASSERT_TRUE(Answer(named, IDOK));
  for (const wchar_t* day : {L"December 5, 2026", L"December 6, 2026", L"December 7, 2026"}) {
    const HWND dialog = Open(IDM_ADD_MEAL, L"Add Meal");
    ASSERT_NE(dialog, nullptr);
    const test_support::DialogDriver meal(dialog);
    TypeInto(meal.Item(IDC_MEAL_DATE), day);
    ASSERT_TRUE(ClickTab(meal.Item(IDC_MEAL_TABS), 1)) << "the meal page";
    ASSERT_TRUE(PickFood(meal, IDC_MEAL_FOOD, IDC_MEAL_CATALOG, L"Potato soup"));
    EnterAmount(meal, IDC_MEAL_WHOLE, IDC_MEAL_UNIT, day[9] == L'7' ? L"2" : L"1", L"");
    EXPECT_EQ(WaitForCount(meal, IDC_MEAL_EATEN, 1), 1) << day;
    if (day[9] == L'7') Screenshot("07-meal");
    ASSERT_TRUE(Answer(dialog, IDOK)) << day;
  }
  Screenshot("08-diary");
}

// The period's average calories as its chart reads them out ("Calories: 506, 25.3% of 2000") and
// the chart window's caption, the chart shot as `shot` when given; -1 when no chart shows.
double FirstEveningTest::ChartCalories(const std::wstring& from, const std::wstring& to,
                                       std::wstring& caption, const char* shot) {
  const HWND dialog = Open(IDM_NUTRITION, L"View Nutrition");
  if (!dialog) return -1;
  const test_support::DialogDriver period(dialog);
  TypeInto(period.Item(IDC_NUTRITION_FROM), from);
  TypeInto(period.Item(IDC_NUTRITION_TO), to);
  PostMessageW(period.Item(IDC_NUTRITION_VIEW), BM_CLICK, 0, 0);
  HWND chart = nullptr;
  for (DWORD waited = 0; waited < kPatience && !chart; waited += 50, Sleep(50))
    for (const HWND shown : run_->VisibleWindows(L"#32770"))
      if (shown != dialog) chart = shown;
  const HWND bars = chart ? FindWindowExW(chart, nullptr, L"MirepanChart", nullptr) : nullptr;
  const std::wstring text = bars ? ShownText(bars) : L"";
  caption = chart ? test_support::DialogDriver::WindowText(chart) : L"";
  if (shot) Screenshot(shot);
  if (chart) {
    EXPECT_TRUE(Answer(chart, IDCANCEL));
  }
  EXPECT_TRUE(Answer(dialog, IDCANCEL));
  const size_t at = text.find(L"Calories: ");
  return at == std::wstring::npos ? -1 : _wtof(text.c_str() + at + 10);
}

// The period's chart, From the first day To the last: the To day counts, so the last day's two
// bowls raise the average of the three days to 4/3 of the first two days' bowl.
void FirstEveningTest::ViewThePeriod() {
  std::wstring caption;
  const double twoDays = ChartCalories(L"12/05/2026", L"12/06/2026", caption, nullptr);
  ASSERT_GT(twoDays, 0) << "the chart of two days";
  const double threeDays = ChartCalories(L"12/05/2026", L"12/07/2026", caption, "09-period-chart");
  EXPECT_NEAR(threeDays, twoDays * 4 / 3, 1);
  EXPECT_NE(caption.find(L"12-07-2026"), std::wstring::npos) << caption;
}

// A shopping list of the recipe, which puts its foods on the list, and the potatoes changed to 500 g.
void FirstEveningTest::ShopForTheRecipe() {
  ShowTab(3);
  const HWND dialog = Open(IDM_ADD_SHOPLIST, L"Add Shopping List");
  ASSERT_NE(dialog, nullptr);
  const test_support::DialogDriver list(dialog);
  TypeInto(list.Item(IDC_SHOPLIST_NAME), L"Saturday");
  ASSERT_TRUE(ClickTab(list.Item(IDC_SHOPLIST_TABS), 1)) << "the items page";
  ASSERT_TRUE(PickFood(list, IDC_SHOPLIST_FOOD, IDC_SHOPLIST_FOODS, L"Potato soup"));
  EnterAmount(list, IDC_SHOPLIST_WHOLE, IDC_SHOPLIST_UNIT, L"1", L"");
  ASSERT_EQ(WaitForCount(list, IDC_SHOPLIST_ITEMS, 5), 5) << "the recipe's five foods";
  Click(list.Item(IDC_SHOPLIST_ITEMS), 10, 5);
  TypeInto(list.Item(IDC_SHOPLIST_WHOLE), L"500");
  PostMessageW(list.Item(IDC_SHOPLIST_CHANGE), BM_CLICK, 0, 0);
  for (DWORD waited = 0; waited < kPatience && list.RowText(IDC_SHOPLIST_ITEMS, 0).rfind(L"500", 0);
       waited += 50)
    Sleep(50);
  const std::wstring item = list.RowText(IDC_SHOPLIST_ITEMS, 0);
  EXPECT_EQ(item.substr(0, 3), L"500") << item;
  EXPECT_NE(item.find(L"Potatoes"), std::wstring::npos) << item;
  Screenshot("10-shopping-list");
  ASSERT_TRUE(Answer(dialog, IDOK));
  EXPECT_EQ(WaitForRows(window_, 5), 5) << "the recipe's five foods to buy";
  Screenshot("11-shopping-rows");
}

// The tab's Print command through the program's print options, where it has them, and the
// system's printer dialog to the file printer; a PostScript file of at least one page.
void FirstEveningTest::Print(int page, const char* what) {
  if (!FilePrinter::Available()) return;
  DeleteFileW(printPath_.c_str());
  ShowTab(page);
  PostMessageW(window_, WM_COMMAND, IDM_FILE_PRINT, 0);
  HWND options = WaitForDialog(*run_, L"Print Recipes");
  if (options) {
    ASSERT_TRUE(Answer(options, IDOK)) << what;
  }
  const HWND system = WaitForDialog(*run_, L"Print");
  ASSERT_NE(system, nullptr) << what;
  Screenshot(page == 1 ? "12-print-card" : "13-print-list");
  ASSERT_TRUE(Answer(system, IDOK)) << what;
  int pages = -1;
  for (DWORD waited = 0; waited < kPatience && pages < 1; waited += 100, Sleep(100))
    pages = PostScriptPages(printPath_);
  EXPECT_GE(pages, 1) << what;
}

// A recipe page from a web server, reviewed and added.
void FirstEveningTest::ImportThePage() {
  ShowTab(1);
  const HWND address = Open(IDM_IMPORT_WEB_PAGE, L"Import from Web Page");
  ASSERT_NE(address, nullptr);
  TypeInto(GetDlgItem(address, IDC_WEB_ADDRESS), server_.Url("/salad.html"));
  PostMessageW(address, WM_COMMAND, IDOK, 0);
  const HWND review = WaitForDialog(*run_, L"Import Recipe");
  ASSERT_NE(review, nullptr);
  Screenshot("14-web-review");
  EXPECT_EQ(test_support::DialogDriver(review).Count(IDC_REVIEW_LINES), 2);
  ASSERT_TRUE(Answer(review, IDOK));
  EXPECT_EQ(WaitForRows(window_, 2), 2) << "the typed and the imported recipe";
}

TEST_F(FirstEveningTest, AHouseholdsFirstEveningIsAllThereAtTheSecondStart) {
  {
    RunningProgram run(folder, kProgramCopy, kPatience);
    ASSERT_TRUE(run.Start());
    run_ = &run;
    window_ = run.MainWindow();
    ASSERT_NE(window_, nullptr);
    EXPECT_NE(test_support::DialogDriver::WindowText(window_).find(L"Mirepan"), std::wstring::npos);
    Screenshot("01-first-start");
    for (void (FirstEveningTest::*step)() :
         {&FirstEveningTest::TypeRecipe, &FirstEveningTest::LogThreeDays, &FirstEveningTest::ViewThePeriod,
          &FirstEveningTest::ShopForTheRecipe}) {
      (this->*step)();
      if (HasFatalFailure()) return;
    }
    Print(1, "the recipe card");
    Print(3, "the shopping list");
    ImportThePage();
    if (HasFatalFailure()) return;
    PostMessageW(window_, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(run.WaitForExit(), 0);
  }
  const std::string recipes = FileText(dataFolder + L"Recipes.xml");
  EXPECT_NE(recipes.find("Potato soup"), std::string::npos);
  EXPECT_NE(recipes.find("Carrot salad"), std::string::npos);
  for (const char* line : {"<AMOUNT>250</AMOUNT>\n<TYPE>4</TYPE>", "<AMOUNT>1.5</AMOUNT>\n<TYPE>2</TYPE>"})
    EXPECT_NE(recipes.find(line), std::string::npos) << line;  // 250 g, 1 1/2 cup
  const std::string diary = FileText(dataFolder + L"FoodDiary.xml");
  EXPECT_NE(diary.find("Sam"), std::string::npos);
  EXPECT_NE(FileText(dataFolder + L"ShoppingList.xml").find("Saturday"), std::string::npos);

  RunningProgram second(folder, kProgramCopy, kPatience);
  ASSERT_TRUE(second.Start());
  run_ = &second;
  window_ = second.MainWindow();
  ASSERT_NE(window_, nullptr);
  for (const auto& [tab, rows, what] : {std::tuple{1, 2, "both recipes"}, std::tuple{2, 3, "three meals"},
                                        std::tuple{3, 5, "five foods to buy"}}) {
    ShowTab(tab);
    EXPECT_EQ(WaitForRows(window_, rows), rows) << what;
    if (tab == 1) Screenshot("15-second-start");
  }
  PostMessageW(window_, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_EQ(second.WaitForExit(), 0);
}

}  // namespace
