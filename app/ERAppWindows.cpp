#include "app/ERAppWindows.h"

#include <commctrl.h>
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>
#include <shellapi.h>
#include <shlobj.h>

#include "app/AppViews.h"
#include "app/HelpTopics.h"
#include "food/CalendarDate.h"
#include "net/UpdateCheck.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/Paths.h"
#include "storage/UserPrompts.h"
#include "toolkit/Dpi.h"
#include "toolkit/ERDialog.h"
#include "toolkit/ScopedGdi.h"

namespace DAVavador {

namespace {

struct ViewSetup {
  std::unique_ptr<View> (*make)(const ViewServices&);
  int menuId;
  int popupMenuId;
};

// Tab order.
constexpr ViewSetup kViewSetups[ERAppWindows::kTabCount] = {
    {&NewIngredientList, IDM_MAIN_INGREDIENTS, IDM_POPUP_INGREDIENTS},
    {&NewRecipeList, IDM_MAIN_RECIPES, IDM_POPUP_RECIPES},
    {&NewDiary, IDM_MAIN_DIARY, IDM_POPUP_DIARY},
    {&NewShopList, IDM_MAIN_SHOPLIST, IDM_POPUP_SHOPLIST},
};

// Toolbar buttons by image index: command and whether the button starts enabled.
struct ToolbarButton {
  int command;
  bool enabled;
};
constexpr ToolbarButton kToolbarButtons[ERAppWindows::kToolbarButtonCount] = {
    {IDM_ADD_CATEGORY, false},
    {IDM_DELETE_CATEGORY, false},
    {IDM_EDIT_CATEGORY, false},
    {IDM_ABOUT, true},
    {IDM_HELP, true},
    {IDM_HOME_PAGE, true},
    {IDM_SUPPORT_MAIL, true},
    {IDM_CHECK_UPDATE, true},
    {IDM_EXIT, true},
    {IDM_FILE_EXPORT, true},
    {IDM_FILE_IMPORT, true},
    {IDM_TOOLS_OPTIONS, true},
    {IDM_ADD_INGREDIENT, false},
    {IDM_DELETE_INGREDIENT, false},
    {IDM_EDIT_INGREDIENT, false},
    {IDM_ADD_RECIPE, false},
    {IDM_DELETE_RECIPE, false},
    {IDM_EDIT_RECIPE, false},
    {IDM_ADD_DIARY, false},
    {IDM_DELETE_DIARY, false},
    {IDM_EDIT_DIARY, false},
};

constexpr int kToolbarTop = 45;
constexpr int kEmptyToolbarTop = 5;
constexpr int kMargin = 5;
constexpr int kTabLeft = 10;
constexpr int kSplitterOffset = 10;
constexpr int kSplitterWidth = 5;
constexpr int kListInset = 10;
constexpr int kListTop = 33;
constexpr int kPictureLeft = 15;
constexpr int kPictureTop = 22;
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED, newer than the headers' target

// True when the arrangement shows at least one button, not only separators.
bool ShowsButton(const std::vector<uint8_t>& layout) {
  for (uint8_t entry : layout)
    if (entry != DAVavador::ERToolbar::kSeparator) return true;
  return false;
}

}  // namespace

ERAppWindows::ERAppWindows(HINSTANCE instance, HWND mainWindow)
    : ERApp(instance), progress(*this), statusBar({25, 50, 25}), options(*this), savedOptions(options) {
  SetMainWindow(mainWindow);
}

ERAppWindows::~ERAppWindows() {
  if (instanceMutex) {
    ReleaseMutex(instanceMutex.Get());
    instanceMutex.Reset();
  }
  HWND window = MainWindow();
  if (window) {
    KillTimer(window, kStartTimer);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

bool ERAppWindows::Start() {
  if (!ClaimSingleInstance()) return false;
  // The options file comes first only because it may name the server the update check asks;
  // an installer that was started takes over from here.
  options.Read();
  if (CheckForUpdate(*this, Site(), false)) return false;
  options.DerivePaths();
  savedOptions = options;
  ApplyCommandLine();
  if (!CreateWindows()) return false;
  LoadCatalogs();
  tabs.SetPopupMenu(LoadMenuResource(IDM_POPUP_TABS), nullptr, nullptr);
  toolbar.SetPopupMenu(LoadMenuResource(IDM_POPUP_TOOLBAR), nullptr, nullptr);
  SetUpToolbar();
  Layout();
  tabs.Select(static_cast<int>(options.curTab % kTabCount));
  news = std::make_unique<NewsPopup>(*this, Site());
  return SetTimer(MainWindow(), kStartTimer, kStartTimerPeriod, nullptr) != 0;
}

bool ERAppWindows::ClaimSingleInstance() {
  const HANDLE mutex = CreateMutexW(nullptr, TRUE, ProductName().c_str());
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  instanceMutex.Reset(mutex);
  if (instanceMutex && !existed) return true;
  instanceMutex.Reset();
  HWND window = MainWindow();
  SetMainWindow(nullptr);  // the hidden window must not own the box
  ShowMessage(IDS_ALREADY_RUNNING, MB_OK | MB_ICONEXCLAMATION);
  SetMainWindow(window);
  BringRunningWindowForward();
  return false;
}

// The window of the program already running comes to the front, restored when minimized.
void ERAppWindows::BringRunningWindowForward() const {
  struct Search {
    const wchar_t* className;
    HWND found = nullptr;
  } search{ProductName().c_str()};
  EnumWindows(
      [](HWND candidate, LPARAM arg) {
        auto* s = reinterpret_cast<Search*>(arg);
        DWORD process = 0;
        GetWindowThreadProcessId(candidate, &process);
        wchar_t name[32] = {};
        GetClassNameW(candidate, name, 32);
        if (process == GetCurrentProcessId() || lstrcmpW(name, s->className) != 0) return TRUE;
        s->found = candidate;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (!search.found) return;
  if (IsIconic(search.found)) ShowWindow(search.found, SW_RESTORE);
  SetForegroundWindow(search.found);
}

// "/f<folder>", "-F<folder>" or the switch and the folder as two arguments store a new data
// folder; this run keeps the folder it read.
void ERAppWindows::ApplyCommandLine() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return;
  for (int i = 1; i < count; ++i) {
    const wchar_t* argument = arguments[i];
    if ((argument[0] != L'/' && argument[0] != L'-') || (argument[1] != L'f' && argument[1] != L'F'))
      continue;
    if (argument[2] != 0)
      options.baseFolder = argument + 2;
    else if (i + 1 < count)
      options.baseFolder = arguments[++i];
  }
  LocalFree(arguments);
}

bool ERAppWindows::CreateWindows() {
  HWND window = MainWindow();
  if (!splitter.Create(window, IDC_SPLITTER, 0, 0, kSplitterWidth, 10) ||
      !statusBar.Create(window, IDC_STATUS, options.showStatus) || !tabs.Create(window, IDC_TABS) ||
      !toolbar.Create(window, IDC_TOOLBAR))
    return false;
  splitter.SetCallback(&ERAppWindows::OnSplitterDrop, this);
  tabs.AddCommandHandler(&ERAppWindows::ForwardTabCommand, this);
  SetWindowSubclass(tabs.Window(), &ERAppWindows::TabSubclass, 0, reinterpret_cast<DWORD_PTR>(this));
  ViewServices services{*this, statusBar, toolbar, options};
  for (int i = 0; i < kTabCount; ++i) {
    views[i] = kViewSetups[i].make(services);
    services.made[i] = views[i].get();
    if (!views[i]->Create(tabs.Window(), kViewSetups[i].menuId, kViewSetups[i].popupMenuId)) return false;
    if (tabs.AddTab(String(IDS_VIEW_TAB_FIRST + i)) < 0) return false;
  }
  return true;
}

// The four catalogs one after another behind the progress window, a quarter of the bar each.
bool ERAppWindows::LoadCatalogs() {
  return progress.Run(nullptr, IDS_LOADING_PROGRAM, &ERAppWindows::LoadCatalogsWorker, this);
}

DWORD WINAPI ERAppWindows::LoadCatalogsWorker(void* arg) {
  auto* self = static_cast<ERAppWindows*>(arg);
  const Options& o = self->options;
  const WString* paths[kTabCount] = {&o.ingredientsPath, &o.recipesPath, &o.diaryPath, &o.shopListPath};
  // Recipes, meals and lists name ingredients by id: read without the whole ingredient catalog
  // they would lose every line they cannot resolve, so they are then only shown.
  bool ingredientsWhole = true;
  for (int i = 0; i < kTabCount; ++i) {
    View& view = *self->views[i];
    view.OpenCatalog(*paths[i], o.autoBackup && ingredientsWhole, i * 25, (i + 1) * 25, &self->progress);
    if (i == 0)
      ingredientsWhole = view.LoadProblem().empty();
    else if (!ingredientsWhole)
      view.HoldReadOnly();
  }
  self->progress.Finish(false);
  return 0;
}

// Each catalog file that is there but could not be read is named with the reason; the others
// wait for the ingredients.
void ERAppWindows::ReportLoadProblems() const {
  for (const auto& view : views) {
    if (view->LoadProblem().empty()) continue;
    WString text = String(IDS_VIEW_LOAD_FAILED) + view->CatalogPath() + TXT(":\r\n\r\n") +
                   view->LoadProblem() + TXT("\r\n\r\n") + String(IDS_VIEW_LOAD_KEPT);
    if (view->ViewIndex() == 0 && views[1]->IsHeld()) text += TXT("\r\n\r\n") + String(IDS_VIEW_HELD);
    ShowMessage(text, MB_OK | MB_ICONWARNING);
  }
}

// A restore that made the ingredients whole again brings back the catalogs held for them.
void ERAppWindows::ReopenHeldCatalogs() {
  if (!views[0]->LoadProblem().empty()) return;
  for (const auto& view : views)
    if (view->IsHeld()) view->Reopen();
}

void ERAppWindows::SetUpToolbar() {
  if (toolbar.LoadImages(Instance(), kToolbarButtonCount)) {
    for (int i = 0; i < kToolbarButtonCount; ++i)
      toolbar.RegisterButton(static_cast<uint8_t>(i), kToolbarButtons[i].command, kToolbarButtons[i].enabled);
  }
  toolbar.Arrange(options.toolbarLayout);
}

void ERAppWindows::OnFirstTick() {
  HWND window = MainWindow();
  KillTimer(window, kStartTimer);
  if (options.track && options.width > 0 && options.height > 0)
    SetWindowPos(window, nullptr, options.x, options.y, options.width, options.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  // The window shows before the nutrient data question, so that the question stands over the
  // program it is about and not over an empty screen; only the current tab's controls show.
  for (const auto& view : views)
    if (view.get() != &Current()) view->Hide();
  ShowWindow(window, SW_SHOW);
  ReportLoadProblems();
  // New nutrient data would be saved over an ingredient file that could not be read. A writable
  // catalog without foods (the first start) takes it unasked: nothing there could be upgraded.
  View& foods = *views[0];
  const bool ask = foods.IsReadOnly() || HoldsFoods(foods);
  const WString nutrientData =
      foods.LoadProblem().empty() ? options.OfferNutrientData(Options::ProgramFolder(), ask) : WString();
  if (!nutrientData.empty()) ImportNutrientData(foods, nutrientData);
  for (const auto& view : views) {
    view->BuildColumns();
    view->FillList();
    if (view.get() != &Current()) view->Hide();
  }
  ShowCurrentView();
  started = true;
  // The news shows over the program's window, once it is on screen.
  news->NewsCheck();
}

UpdateSite ERAppWindows::Site() const {
  return UpdateSite::ForProgram(*this, ProgramServer(*this, options.server));
}

// An update that was started replaces this program, which closes once the command returns.
void ERAppWindows::CheckForUpdateNow() {
  if (CheckForUpdate(*this, Site(), true)) PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
}

void ERAppWindows::SelectTab(int index) {
  const int previous = static_cast<int>(options.curTab % kTabCount);
  options.curTab = static_cast<uint32_t>(index);
  if (tabs.Selected() != index) tabs.Select(index);
  if (previous != index) views[previous]->Hide();
  ShowCurrentView();
}

void ERAppWindows::ShowCurrentView() {
  View& view = Current();
  view.InstallMenu();
  view.UpdateCategoryMenu(MainMenu());
  view.UpdateStatus();
  InvalidateRect(MainWindow(), nullptr, TRUE);
}

void ERAppWindows::Layout() {
  HWND window = MainWindow();
  RECT client;
  if (!tabs.Window() || !::GetClientRect(window, &client)) return;
  const UINT dpi = WindowDpi(window);
  const auto px = [dpi](int pixels) { return Scaled(pixels, dpi); };
  const int width = client.right, height = client.bottom;
  toolbar.AutoSize();
  statusBar.Layout();
  const int top = px(ShowsButton(toolbar.Layout()) ? kToolbarTop : kEmptyToolbarTop);
  const int status = statusBar.IsVisible() ? statusBar.Height() : 0;
  const int reserved = px(options.splitter);  // the option keeps pixels at 96 DPI
  const int tabHeight = height - status - top - px(kMargin);
  tabs.Move(px(kTabLeft), top, width - reserved, tabHeight);
  splitter.Move(width - reserved + px(kSplitterOffset), top, px(kSplitterWidth), tabHeight);
  RECT list;
  ::GetClientRect(tabs.Window(), &list);
  list.left += px(kListInset);
  list.right -= px(kListInset);
  list.top += px(kListTop);
  const RECT picture{width - reserved + px(kPictureLeft), top + px(kPictureTop), width - px(kMargin),
                     height - status - px(kMargin)};
  for (const auto& view : views) view->Layout(list, picture);
  InvalidateRect(window, nullptr, TRUE);
}

// Moved to a monitor of another DPI (or the DPI changed): the system suggests the window's new
// rectangle; the fonts and the layout follow.
void ERAppWindows::OnDpiChanged(UINT dpi, const RECT& suggested) {
  HWND window = MainWindow();
  RefontChildren(window, dpi);
  toolbar.ReloadImages();
  if (started)  // the columns are built at the first tick
    for (const auto& view : views) view->RescaleColumns();
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

void ERAppWindows::RecordPlacement() {
  HWND window = MainWindow();
  if (started && !IsZoomed(window) && !IsIconic(window)) options.RecordWindow(window);
}

void ERAppWindows::Paint() {
  HWND window = MainWindow();
  const ScopedDC dc = ScopedDC::ForPaint(window);
  RECT client;
  ::GetClientRect(window, &client);
  const ScopedDC memory = ScopedDC::Compatible(dc.Get());
  const ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc.Get(), client.right, client.bottom));
  const ScopedSelection selected(memory.Get(), bitmap.Get());
  FillRect(memory.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
  if (views[0]) Current().PaintPicture(memory.Get());
  BitBlt(dc.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

bool ERAppWindows::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_MOVE:
      RecordPlacement();
      return true;
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED && wp != SIZE_MAXHIDE) {
        Layout();
        if (wp == SIZE_RESTORED) RecordPlacement();
      }
      return false;
    case WM_PAINT:
      Paint();
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case kDpiChangedMessage:
      OnDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return true;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lp), result);
    case WM_LBUTTONDOWN:
      if (views[0])
        Current().ClickPicture(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return true;
    case WM_TIMER:
      if (wp != kStartTimer) return false;
      OnFirstTick();
      return true;
    case WM_COMMAND:
      return OnCommand(wp, lp);
    default:
      return false;
  }
}

bool ERAppWindows::OnNotify(const NMHDR* header, LRESULT& result) {
  if (header->idFrom == IDC_VIEW_LIST && views[0]) {
    View& view = Current();
    if (header->code == LVN_ITEMACTIVATE && !view.IsReadOnly()) view.EditItem(views[1].get());
    if (header->code == LVN_COLUMNCLICK)
      view.SortByColumn(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
    // A range selected with Shift comes as one state change of an owner-data list.
    if (header->code == LVN_ITEMCHANGED || header->code == LVN_ODSTATECHANGED)
      view.OnSelectionChanged(MainMenu());
    return true;
  }
  if (header->idFrom == IDC_TABS && header->code == TCN_SELCHANGE) {
    SelectTab(tabs.Selected());
    return true;
  }
  return toolbar.OnNotify(header, result);
}

// The list view lives inside the tab control, which passes the list's notifications up here.
LRESULT CALLBACK ERAppWindows::TabSubclass(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR data) {
  if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->idFrom == IDC_VIEW_LIST) {
    LRESULT result = 0;
    if (reinterpret_cast<ERAppWindows*>(data)->OnNotify(reinterpret_cast<const NMHDR*>(lp), result))
      return result;
  }
  // The labels on the page show the page's own background, not a box of the dialog colour.
  wchar_t className[16] = {};
  if (msg == WM_CTLCOLORSTATIC && GetClassNameW(reinterpret_cast<HWND>(lp), className, 16) &&
      lstrcmpiW(className, L"Static") == 0) {
    SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  return DefSubclassProc(window, msg, wp, lp);
}

bool ERAppWindows::ForwardTabCommand(void* arg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<ERAppWindows*>(arg);
  return self->views[0] && self->Current().HandleCommand(wp, lp, self->MainMenu());
}

void ERAppWindows::OnSplitterDrop(void* arg, int x) {
  auto* self = static_cast<ERAppWindows*>(arg);
  RECT client;
  ::GetClientRect(self->MainWindow(), &client);
  const int reserved = MulDiv(client.right - x, kDesignDpi, WindowDpi(self->MainWindow()));
  self->options.splitter = std::max<int32_t>(Options::kMinSplitter, reserved);
  self->Layout();
}

bool ERAppWindows::OnCommand(WPARAM wp, LPARAM lp) {
  const int command = LOWORD(wp);
  if (lp && reinterpret_cast<HWND>(lp) != toolbar.Window()) return false;
  switch (command) {
    case IDM_NEXT_TAB:
      SelectTab(static_cast<int>((options.curTab + 1) % kTabCount));
      return true;
    case IDM_SELECT_ALL: {
      ListView_SetItemState(Current().List().Window(), -1, LVIS_SELECTED, LVIS_SELECTED);
      return true;
    }
    case IDM_DOWNLOAD_RECIPES:
      if (views[1]->IsReadOnly()) return true;
      if (views[1]->Download(options.lastDownload)) options.lastDownload = CalendarDate::Now();
      return true;
    case IDM_EXIT:
      PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
      return true;
    case IDM_TOOLS_OPTIONS:
      RunOptions();
      return true;
    case IDM_FILE_PRINT:
      Current().Print(options);
      return true;
    case IDM_CUSTOMIZE_TOOLBAR:
      RunCustomizeToolbar();
      return true;
    case IDM_UPLOAD_RECIPE:
      views[1]->Upload();
      return true;
    case IDM_VIEW_FIND:
      Current().FocusFind();
      return true;
    case IDM_IMPORT_WEB_PAGE:
      if (!views[1]->IsReadOnly()) views[1]->ImportFromWebPage();
      return true;
    case IDM_ABOUT:
      RunAbout();
      return true;
    case IDM_HELP:
      ShowHelp();
      return true;
    case IDM_HOME_PAGE:
      OpenAddress(IDS_HOME_PAGE);
      return true;
    case IDM_SUPPORT_MAIL:
      OpenAddress(IDS_SUPPORT_MAIL);
      return true;
    case IDM_CHECK_UPDATE:
      CheckForUpdateNow();
      return true;
    default:
      return RunViewCommand(command);
  }
}

namespace {

// The commands that change the current view's catalog: a read-only one does nothing on them, from
// the menu, the pop-up, the toolbar, the keyboard or a double click alike.
bool ChangesCatalog(int command) {
  switch (command) {
    case IDM_ADD_CATEGORY:
    case IDM_ADD_DIARY:
    case IDM_DELETE_CATEGORY:
    case IDM_DELETE_DIARY:
    case IDM_EDIT_CATEGORY:
    case IDM_EDIT_DIARY:
    case IDM_FILE_IMPORT:
    case IDM_ADD_INGREDIENT:
    case IDM_ADD_MEAL:
    case IDM_ADD_RECIPE:
    case IDM_ADD_SHOPLIST:
    case IDM_COPY_INGREDIENT:
    case IDM_COPY_RECIPE:
    case IDM_COPY_SHOPLIST:
    case IDM_DELETE_INGREDIENT:
    case IDM_DELETE_MEAL:
    case IDM_DELETE_RECIPE:
    case IDM_DELETE_SHOPLIST:
    case IDM_EDIT_INGREDIENT:
    case IDM_EDIT_MEAL:
    case IDM_EDIT_RECIPE:
    case IDM_EDIT_SHOPLIST:
    case IDM_MOVE_INGREDIENT:
    case IDM_MOVE_RECIPE:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The commands of one group call the same operation of the current view whichever of the
// group's identifiers arrived; the asterisked ones refresh the status afterwards.
bool ERAppWindows::RunViewCommand(int command) {
  View& view = Current();
  View* recipes = views[1].get();
  if (ChangesCatalog(command) && view.IsReadOnly()) return true;
  switch (command) {
    case IDM_ADD_CATEGORY:
    case IDM_ADD_DIARY:
      view.AddCategory();
      view.UpdateMenu(MainMenu());
      view.UpdateCategoryMenu(MainMenu());
      break;
    case IDM_DELETE_CATEGORY:
    case IDM_DELETE_DIARY:
      view.DeleteCategory();
      view.UpdateMenu(MainMenu());
      view.UpdateCategoryMenu(MainMenu());
      break;
    case IDM_EDIT_CATEGORY:
    case IDM_EDIT_DIARY:
      view.EditCategory();
      break;
    case IDM_CUSTOMIZE_COLUMNS:
      view.CustomizeColumns();
      return true;
    case IDM_FILE_EXPORT:
      view.Export();
      return true;
    case IDM_FILE_IMPORT:
      view.Import();
      break;
    case IDM_NUTRITION:
      view.ShowNutrition();
      return true;
    case IDM_RESTORE:
      if (ShowMessage(IDS_RESTORE_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES) return true;
      view.RestoreBackup();
      ReopenHeldCatalogs();
      break;
    case IDM_ADD_INGREDIENT:
    case IDM_ADD_MEAL:
    case IDM_ADD_RECIPE:
    case IDM_ADD_SHOPLIST:
      view.AddItem(recipes);
      break;
    case IDM_COPY_INGREDIENT:
    case IDM_COPY_RECIPE:
    case IDM_COPY_SHOPLIST:
      view.CopyItem();
      break;
    case IDM_DELETE_INGREDIENT:
    case IDM_DELETE_MEAL:
    case IDM_DELETE_RECIPE:
    case IDM_DELETE_SHOPLIST:
      view.DeleteItem(recipes, views[2].get());
      break;
    case IDM_EDIT_INGREDIENT:
    case IDM_EDIT_MEAL:
    case IDM_EDIT_RECIPE:
    case IDM_EDIT_SHOPLIST:
      view.EditItem(recipes);
      break;
    case IDM_MOVE_INGREDIENT:
    case IDM_MOVE_RECIPE:
      view.MoveToCategory();
      break;
    case IDM_COMPONENT_INFO:
      view.ShowComponentInfo();
      return true;
    default:
      return false;
  }
  view.UpdateStatus();
  return true;
}

void ERAppWindows::RunOptions() {
  if (!options.RunDialog(news.get())) return;
  statusBar.Show(options.showStatus);
  Layout();
  if (options.reloadNow) {
    options.reloadNow = false;
    for (const auto& view : views) view->Clear();
    LoadCatalogs();
    // The catalogs just read bring their own columns, as at startup and after a restore.
    for (const auto& view : views) view->BuildColumns();
    ReportLoadProblems();
  }
  for (const auto& view : views) view->FillList();
  Current().UpdateStatus();
}

void ERAppWindows::RunCustomizeToolbar() {
  toolbar.Customize();
  options.toolbarLayout = toolbar.Layout();
  Layout();
}

namespace {

// A value of the version resource's English string block.
WString VersionValue(const void* block, const wchar_t* name) {
  const WString query = WString(TXT("\\StringFileInfo\\040904B0\\")) + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block, query.c_str(), &value, &length) || !length) return WString();
  return WString(static_cast<const wchar_t*>(value));
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* block = loaded ? LockResource(loaded) : nullptr;
    if (block) {
      // VerQueryValueW needs a writable copy of the block.
      std::vector<BYTE> copy(static_cast<const BYTE*>(block),
                             static_cast<const BYTE*>(block) + SizeofResource(nullptr, found));
      SetDlgItemTextW(dialog, IDC_ABOUT_NAME, VersionValue(copy.data(), L"ProductName").c_str());
      SetDlgItemTextW(dialog, IDC_ABOUT_VERSION,
                      (TXT("Version ") + VersionValue(copy.data(), L"ProductVersion")).c_str());
      SetDlgItemTextW(dialog, IDC_ABOUT_DESCRIPTION, VersionValue(copy.data(), L"FileDescription").c_str());
      SetDlgItemTextW(dialog, IDC_ABOUT_MAKER, VersionValue(copy.data(), L"LegalCopyright").c_str());
    }
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wp));
    return TRUE;
  }
  return FALSE;
}

// Writes the embedded help file into `folder`; its path, or empty on failure.
WString WriteHelpFile(const WString& folder) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_HELP_FILE), MAKEINTRESOURCEW(10));
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return WString();
  const WString path = folder + TXT("Mirepan.chm");
  FileHandle file(path);
  if (!file.OpenWrite() || !file.Write(data, SizeofResource(nullptr, found))) return WString();
  return path;
}

// The help file goes below the common application-data folder (readable by every user), or into
// the temporary folder when that cannot be written; its path, or empty on failure.
WString PlaceHelpFile(const ERApp& app) {
  wchar_t path[MAX_PATH] = {};
  if (app.FolderPath() && SUCCEEDED(app.FolderPath()(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, path))) {
    const WString folder =
        EnsureTrailing(path, TXT('\\')) + app.MakerName() + TXT("\\") + app.ProductName() + TXT("\\");
    if (CreateFolders(folder, true)) {
      const WString written = WriteHelpFile(folder);
      if (!written.empty()) return written;
    }
  }
  return GetTempPathW(MAX_PATH, path) ? WriteHelpFile(EnsureTrailing(path, TXT('\\'))) : WString();
}

}  // namespace

void ERAppWindows::RunAbout() {
  RunDialog(IDD_ABOUT, &AboutProc, 0);
}

void ERAppWindows::ShowHelp() const {
  OpenHelpPage(TabHelpPage(static_cast<size_t>(Current().ViewIndex())));
}

void ERAppWindows::ShowDialogHelp(int dialogId) const {
  const wchar_t* page = DialogHelpPage(dialogId);
  OpenHelpPage(page ? page : kHelpContentsPage);
}

// The help file is written once a run: the help window holds it open, and each page asked for
// later opens in that window.
void ERAppWindows::OpenHelpPage(const wchar_t* page) const {
  if (helpFile.empty()) helpFile = PlaceHelpFile(*this);
  static HMODULE helpLibrary = LoadLibraryW(L"hhctrl.ocx");
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  auto htmlHelp = helpLibrary ? reinterpret_cast<HtmlHelpFunction>(
                                    reinterpret_cast<void*>(GetProcAddress(helpLibrary, "HtmlHelpW")))
                              : nullptr;
  // The main window owns the help window, which so stays open when the dialog that asked closes.
  const WString topic = helpFile + TXT("::/") + page;
  if (htmlHelp && !helpFile.empty()) htmlHelp(MainWindow(), topic.c_str(), 0 /* HH_DISPLAY_TOPIC */, 0);
}

void ERAppWindows::OpenAddress(UINT stringId) const {
  ShellExecuteW(MainWindow(), L"open", String(stringId).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

namespace {

// Asked when a catalog cannot be saved as the program closes: IDRETRY, IDC_SAVE_AT_EXIT_COPY,
// IDABORT (quit without saving) or IDCANCEL (stay).
class SaveAtExitDialog : public ERDialog {
 public:
  explicit SaveAtExitDialog(WString text) : text_(std::move(text)) {}
  int Run(const ERApp& app) { return static_cast<int>(RunModal(app, IDD_SAVE_AT_EXIT)); }

 private:
  bool OnInit() override {
    SetItemText(IDC_SAVE_AT_EXIT_TEXT, text_);
    return true;
  }
  bool OnCommand(int id, int) override {
    if (id != IDRETRY && id != IDABORT && id != IDC_SAVE_AT_EXIT_COPY) return false;
    End(id);
    return true;
  }

  WString text_;
};

}  // namespace

bool ERAppWindows::Shutdown() {
  if (options.Differs(savedOptions)) options.Write();
  for (const auto& view : views)
    if (view && !SaveAtExit(*view)) return false;
  return true;
}

// A failed save is never a silent quit: the user tries again, saves a copy elsewhere, quits
// without saving, or stays. False when the program stays.
bool ERAppWindows::SaveAtExit(View& view) {
  while (!view.SaveIfModified(true)) {
    const WString text = String(IDS_VIEW_SAVE_FAILED) + view.CatalogPath() + TXT(":\r\n\r\n") +
                         SystemMessage(view.LastSaveError()) + TXT("\r\n\r\n") + String(IDS_SAVE_AT_EXIT);
    switch (SaveAtExitDialog(text).Run(*this)) {
      case IDRETRY:
        break;
      case IDC_SAVE_AT_EXIT_COPY:
        if (const std::optional<WString> folder = ChooseFolder(MainWindow()))
          if (view.SaveCopyInto(*folder)) return true;
        break;
      case IDABORT:
        return true;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace DAVavador
