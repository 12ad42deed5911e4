// The real program at 100%, 150% and 200% (the system DPI it starts with): no text of a label, button or
// check box is cut off by its control, in the main window and in its dialogs, the toolbar's pictures and
// the list rows grow with the scale, and the list columns keep their width for the eye from one scale to
// the next (each start reads the catalog the previous one wrote).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "storage/StorageTestSupport.h"
#include "support/ScratchFolder.h"
#include "tests/support/RunningProgram.h"

namespace {

constexpr DWORD kPatience = 20000;
#define kProgramCopy L"MirepanUnderTest.exe"
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

template <class Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// This process sees the program's windows in their real pixels.
void BecomeDpiAware() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  if (const auto set = User32<SetContextFn>("SetProcessDpiAwarenessContext"))
    set(reinterpret_cast<HANDLE>(-4));  // per-monitor, version 2
}

// The system DPI that programs started from now on take; the previous one comes back afterwards.
class SystemDpi {
 public:
  explicit SystemDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                    &key_, nullptr);
    DWORD size = sizeof(previous_);
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_),
                            &size) == ERROR_SUCCESS;
    Set(dpi);
  }
  ~SystemDpi() {
    if (had_)
      Set(previous_);
    else
      RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
  }
  SystemDpi(const SystemDpi&) = delete;
  SystemDpi& operator=(const SystemDpi&) = delete;

 private:
  void Set(DWORD dpi) {
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  }
  HKEY key_ = nullptr;
  DWORD previous_ = 0;
  bool had_ = false;
};

// The controls' font at `dpi`: this process's GUI font, of the same size in points. Dialogs size
// their font in points too.
HFONT FontAt(UINT dpi) {
  LOGFONTW face{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
  const HDC screen = GetDC(nullptr);
  const int points = MulDiv(-face.lfHeight, 72, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  face.lfHeight = -MulDiv(points, dpi, 72);
  return CreateFontIndirectW(&face);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

// What of the control's text does not fit its client rectangle when drawn in `font`; empty when
// all of it fits (or the control shows no text of its own).
std::wstring Clipped(HWND control, HFONT font, UINT dpi) {
  const std::wstring name = ClassOf(control), text = TextOf(control);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const LONG type = style & BS_TYPEMASK;
  const bool isStatic = lstrcmpiW(name.c_str(), L"Static") == 0;
  const bool isButton =
      lstrcmpiW(name.c_str(), L"Button") == 0 && type != BS_GROUPBOX && type != BS_OWNERDRAW;
  const LONG staticType = style & SS_TYPEMASK;
  const bool isTextStatic =
      isStatic && (staticType <= SS_RIGHT || staticType == SS_SIMPLE || staticType == SS_LEFTNOWORDWRAP);
  if (text.empty() || !IsWindowVisible(control) || !(isTextStatic || isButton)) return L"";
  RECT client{};
  GetClientRect(control, &client);
  const bool isCheck = isButton && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON;
  // A check box draws its box and a gap before the text; a push button its edges around it.
  const int reserved = isCheck ? MulDiv(16, dpi, 96) : isButton ? MulDiv(4, dpi, 96) : 0;
  const bool wraps = isStatic && staticType <= SS_RIGHT;
  RECT needed{0, 0, client.right - reserved, 0};
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, font);
  DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  if (needed.right <= client.right - reserved && needed.bottom <= client.bottom) return L"";
  return text + L" needs " + std::to_wstring(needed.right + reserved) + L"x" +
         std::to_wstring(needed.bottom) + L", has " + std::to_wstring(client.right) + L"x" +
         std::to_wstring(client.bottom);
}

// The clipped texts among the children of `window`, one a line.
std::wstring ClippedTexts(HWND window, UINT dpi) {
  struct Walk {
    HFONT font;
    UINT dpi;
    std::wstring clipped;
  } walk{FontAt(dpi), dpi, L""};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM arg) {
        auto* walk = reinterpret_cast<Walk*>(arg);
        const std::wstring clipped = Clipped(child, walk->font, walk->dpi);
        if (!clipped.empty()) walk->clipped += clipped + L"\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  DeleteObject(walk.font);
  return walk.clipped;
}

// A list view's row height, near enough: the height below its header over the rows it shows.
int RowHeight(HWND list) {
  RECT client{}, header{};
  GetClientRect(list, &client);
  GetWindowRect(ListView_GetHeader(list), &header);
  const int rows = ListView_GetCountPerPage(list);
  return rows > 0 ? (client.bottom - (header.bottom - header.top)) / rows : 0;
}

int TextHeight(UINT dpi) {
  const HFONT font = FontAt(dpi);
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return metrics.tmHeight;
}

class DpiTest : public testing::Test {
 protected:
  void SetUp() override {
    BecomeDpiAware();
    ASSERT_TRUE(InstallProgramCopy(MIREPAN_EXE, PROFILE_DLL, folder, kProgramCopy));
  }

  // An ingredient catalog showing the name (id 30) and calorie (id 0) columns, 200 and 80 pixels
  // wide at 96 DPI.
  void WriteCatalog() const {
    std::wstring widths = L"80";
    for (int id = 1; id < 30; ++id) widths += L",-1";
    CreateFolders(dataFolder, false);
    storage_test::WriteText(
        dataFolder + L"Ingredients.xml",
        L"<INGREDIENTLIST>\r\n<VIEW>\r\n<COLS>30,0</COLS>\r\n<COLWIDTHS>" + widths +
            L",200</COLWIDTHS>\r\n</VIEW>\r\n<INGREDIENTS>\r\n<FOOD>\r\n<FOODID>1</FOODID>\r\n"
            L"<FOODNAME>Quince</FOODNAME>\r\n</FOOD>\r\n</INGREDIENTS>\r\n</INGREDIENTLIST>\r\n");
  }

  test_support::ScratchFolder scratch_;
  const std::wstring folder = scratch_.Path();
  const std::wstring dataFolder = folder + L"profile\\Tallowmere\\Mirepan\\";
};

TEST_F(DpiTest, TextsFitTheirControlsAndListRowsGrowAtEachScale) {
  constexpr UINT kScales[] = {96, 144, 192};
  constexpr WORD kDialogCommands[] = {IDM_TOOLS_OPTIONS, IDM_ABOUT, IDM_ADD_CATEGORY, IDM_CUSTOMIZE_COLUMNS,
                                      IDM_ADD_INGREDIENT};
  std::vector<int> rowHeights;
  WriteCatalog();
  for (const UINT dpi : kScales) {
    SCOPED_TRACE(dpi);
    const SystemDpi scale(dpi);
    RunningProgram run(folder, kProgramCopy, kPatience);
    const HWND window = run.Start() ? run.MainWindow() : nullptr;
    ASSERT_NE(window, nullptr);
    Sleep(500);  // laid out after the first tick
    EXPECT_EQ(ClippedTexts(window, dpi), L"");
    const LRESULT button = SendMessageW(GetDlgItem(window, IDC_TOOLBAR), TB_GETBUTTONSIZE, 0, 0);
    EXPECT_GE(HIWORD(button), MulDiv(32, dpi, 96)) << "toolbar pictures at the scale";
    const HWND list = VisibleList(window);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), MulDiv(200, dpi, 96));
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), MulDiv(80, dpi, 96));
    rowHeights.push_back(RowHeight(list));
    EXPECT_GE(rowHeights.back(), TextHeight(dpi));
    for (const WORD command : kDialogCommands) {
      SCOPED_TRACE(command);
      PostMessageW(window, WM_COMMAND, command, 0);
      const HWND dialog = run.WaitForWindow(L"#32770");
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(ClippedTexts(dialog, dpi), L"");
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      for (DWORD waited = 0; IsWindow(dialog) && waited < kPatience; waited += 50) Sleep(50);
    }
    EXPECT_EQ(run.Close(), 0);
  }
  for (size_t i = 1; i < rowHeights.size(); ++i) EXPECT_GT(rowHeights[i], rowHeights[i - 1]);
}

}  // namespace
