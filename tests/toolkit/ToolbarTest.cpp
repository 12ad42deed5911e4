// The toolbar: its pictures from the resources, arrangement from the layout bytes, the layout read
// back after customizing, tool tips and the customize dialog's questions.
#include <gtest/gtest.h>

#include <tuple>

#include "ToolkitTestSupport.h"
#include "toolkit/ERToolbar.h"

using namespace DAVavador;
using toolkit_test::RecordingWindow;

namespace {

// The 21 buttons of the main window by image index: command, starts enabled.
const std::pair<int, bool> kButtons[] = {
    {1001, false}, {1002, false}, {1003, false}, {1300, true},  {1301, true},  {1302, true},  {1303, true},
    {1304, true},  {1202, true},  {1203, true},  {1204, true},  {1206, true},  {1400, false}, {1402, false},
    {1403, false}, {1800, false}, {1803, false}, {1804, false}, {1101, false}, {1102, false}, {1103, false}};

class ToolbarTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(toolbar.Create(parent.Handle(), 2104));
    ASSERT_TRUE(toolbar.LoadImages(GetModuleHandleW(nullptr), 21));
    for (uint8_t n = 0; n < 21; ++n) toolbar.RegisterButton(n, kButtons[n].first, kButtons[n].second);
    parent.onNotify = [this](const NMHDR* header, LRESULT& result) {
      return toolbar.OnNotify(header, result);
    };
  }

  std::vector<int> Shown() const {  // image indexes, -1 for a separator
    std::vector<int> shown;
    for (int i = 0; i < toolbar.ButtonCount(); ++i) {
      TBBUTTON button = {};
      toolbar.Send(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
      shown.push_back(button.fsStyle & BTNS_SEP ? -1 : button.iBitmap);
    }
    return shown;
  }

  RecordingWindow parent{600, 400};
  ERToolbar toolbar;
};

// Closes the customize dialog as soon as it is up, from inside its modal loop.
void CALLBACK CloseCustomizeDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"#32770", nullptr);
  if (dialog && GetWindowThreadProcessId(dialog, nullptr) == GetCurrentThreadId()) {
    KillTimer(nullptr, timer);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

}  // namespace

TEST_F(ToolbarTest, LayoutReadBackDropsExtraSeparatorsAndUnknownButtonsCustomizeAndResetKeepIt) {
  const struct {
    std::vector<uint8_t> arranged, readBack;
  } rows[] = {
      {{0, 1, 2, 255, 15, 16, 17, 255, 11, 4}, {0, 1, 2, 255, 15, 16, 17, 255, 11, 4}},  // the default
      {{0, 255, 255, 1}, {0, 255, 1}},
      {{255, 255, 3, 4, 255}, {255, 3, 4}},  // a trailing one has no button after it
      {{3, 99, 4}, {3, 4}},                  // 99 names no button
      {{255}, {}},                           // nothing to show hides the toolbar
      {{}, {}},
  };
  for (const auto& row : rows) {
    toolbar.Arrange(row.arranged);
    EXPECT_EQ(row.readBack, toolbar.Layout());
    EXPECT_EQ(!row.readBack.empty(), toolbar.IsVisible());
  }
  EXPECT_EQ(0, toolbar.ButtonCount());
  // Buttons start as registered and keep their state across arrangements, customizing and reset.
  toolbar.Arrange({0, 11});
  EXPECT_FALSE(toolbar.IsButtonEnabled(1001));
  EXPECT_TRUE(toolbar.IsButtonEnabled(1206));
  toolbar.EnableButton(1001, true);
  toolbar.Arrange({0, 255, 255, 1});
  EXPECT_EQ(std::vector<int>({0, -1, 1}), Shown()) << "one separator between the two buttons";
  SetTimer(nullptr, 0, 20, &CloseCustomizeDialog);
  toolbar.Customize();
  EXPECT_EQ(std::vector<uint8_t>({0, 255, 1}), toolbar.Layout());
  toolbar.Arrange({5});
  NMHDR reset = {toolbar.Window(), 0, static_cast<UINT>(TBN_RESET)};
  LRESULT result;
  ASSERT_TRUE(toolbar.OnNotify(&reset, result));
  EXPECT_EQ(std::vector<uint8_t>({0, 255, 1}), toolbar.Layout());
  EXPECT_TRUE(toolbar.IsButtonEnabled(1001));
}

// Every button has its command and a text, the string of its image, which is also its tool tip.
TEST_F(ToolbarTest, EveryButtonHasItsPicturesItsCommandAndItsTextOfferedToCustomizeAndAsTip) {
  wchar_t text[64];
  NMTOOLBARW info = {};
  info.hdr.code = TBN_GETBUTTONINFOW;
  info.pszText = text;
  info.cchText = 64;
  LRESULT result = 0;
  for (info.iItem = 0; info.iItem < 21; ++info.iItem) {
    text[0] = 0;
    ASSERT_TRUE(toolbar.OnNotify(&info.hdr, result));
    EXPECT_EQ(TRUE, result);
    EXPECT_EQ(kButtons[info.iItem].first, info.tbButton.idCommand);
    EXPECT_NE(0, text[0]) << info.iItem;
  }
  EXPECT_STREQ(L"Edit Diary", text);  // the last
  toolbar.OnNotify(&info.hdr, result);
  EXPECT_EQ(FALSE, result);  // no more buttons
  NMHDR query = {toolbar.Window(), 0, static_cast<UINT>(TBN_QUERYDELETE)};
  ASSERT_TRUE(toolbar.OnNotify(&query, result));
  EXPECT_EQ(TRUE, result);
  NMTTDISPINFOW tip = {};
  tip.hdr.code = TTN_GETDISPINFOW;
  tip.hdr.idFrom = 1804;  // Edit Recipe, image 17
  ASSERT_TRUE(toolbar.OnNotify(&tip.hdr, result));
  EXPECT_EQ(MAKEINTRESOURCEW(6017), tip.lpszText);
  LoadStringW(tip.hinst, 6017, text, 64);
  EXPECT_STREQ(L"Edit Recipe", text);
  tip.hdr.idFrom = 4242;
  EXPECT_FALSE(toolbar.OnNotify(&tip.hdr, result));
  // The pictures of every button come from the resources: LoadImages fails when one is missing.
  auto normal = reinterpret_cast<HIMAGELIST>(toolbar.Send(TB_GETIMAGELIST));
  auto disabled = reinterpret_cast<HIMAGELIST>(toolbar.Send(TB_GETDISABLEDIMAGELIST));
  ASSERT_TRUE(normal && disabled);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(normal, &cx, &cy);
  EXPECT_EQ(std::make_tuple(21, 21, 32, 32),
            std::make_tuple(ImageList_GetImageCount(normal), ImageList_GetImageCount(disabled), cx, cy));
  EXPECT_FALSE(toolbar.LoadImages(GetModuleHandleW(nullptr), 22));  // there is no icon 6121
}

// Every button picture and the program's icon are drawn at 100%, 150% and 200%, not stretched from
// one size: the icon group holds an image of each size.
TEST(ToolbarIconsTest, EveryIconIsDrawnAtEachScale) {
  std::vector<const wchar_t*> icons = {L"Mirepan"};
  for (int n = 0; n < 21; ++n) {
    icons.push_back(MAKEINTRESOURCEW(IDI_TOOLBAR_FIRST + n));
    icons.push_back(MAKEINTRESOURCEW(IDI_TOOLBAR_DISABLED_FIRST + n));
  }
  const HMODULE module = GetModuleHandleW(nullptr);
  for (const wchar_t* icon : icons) {
    const HRSRC group = FindResourceW(module, icon, RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    for (const int size : {32, 48, 64}) {
      const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
      const HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON);
      ASSERT_NE(image, nullptr);
      const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
      EXPECT_EQ(header->biWidth, size) << (IS_INTRESOURCE(icon) ? reinterpret_cast<UINT_PTR>(icon) : 0);
    }
  }
}
