// The Print Recipes dialog driven through the dialog observer, the recipes the command collects and
// the texts it prints.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "printing/GdiPrintSurface.h"
#include "printing/PrintDialog.h"
#include "printing/PrintRecipes.h"
#include "resource.h"
#include "toolkit/ERApp.h"

using DAVavador::ERApp;

namespace {

// Runs the test's actions inside the dialog as soon as it has been initialised.
class DialogUser : public DAVavador::DialogObserver {
 public:
  DialogUser() { ERApp::SetDialogObserver(this); }
  ~DialogUser() override { ERApp::SetDialogObserver(nullptr); }
  void OnDialogInit(int dialogId, HWND dialog) override {
    if (dialogId == IDD_PRINT) act(dialog);
  }
  std::function<void(HWND)> act;
};

bool Checked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
bool Enabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}
void Click(HWND dialog, int id) {
  SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
}

std::wstring ComboText(HWND dialog, int id, LRESULT index) {
  wchar_t text[LF_FACESIZE * 2] = {};
  SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

std::wstring Selected(HWND dialog, int id) {
  return ComboText(dialog, id, SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

HWND TipsOf(HWND dialog) {
  struct Search {
    HWND dialog;
    HWND found = nullptr;
  } search{dialog};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == s->dialog)
          s->found = window;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class PrintDialogTest : public testing::Test {
 protected:
  PrintDialogTest() {
    categories_.Add(TXT("Desserts"), 4);
    categories_.Add(TXT("Soups"), 7);
  }
  bool Run(uint32_t& category) {
    PrintDialog dialog(app_, settings, categories_, category);
    return dialog.Run(nullptr);
  }

  ERApp app_{GetModuleHandleW(nullptr)};
  CategoryList categories_;
  PrintSettings settings;
  DialogUser user;
};

TEST_F(PrintDialogTest, OpensWithTheSettingsAndTheShownCategory) {
  settings.font = TXT("No Such Face");
  settings.margin = 2;
  uint32_t category = 7;
  user.act = [&](HWND dialog) {
    EXPECT_TRUE(Checked(dialog, IDC_PRINT_SELECTED) && !Checked(dialog, IDC_PRINT_ALL));
    EXPECT_TRUE(Checked(dialog, IDC_PRINT_CARD) && !Checked(dialog, IDC_PRINT_FULL_PAGE));
    EXPECT_TRUE(Checked(dialog, IDC_PRINT_FIRST));
    EXPECT_TRUE(Checked(dialog, IDC_PRINT_NUTRITION));
    EXPECT_FALSE(Checked(dialog, IDC_PRINT_NUTRITION_FULL));
    EXPECT_EQ(L"No Such Face", Selected(dialog, IDC_PRINT_FONT));
    EXPECT_LT(1, SendDlgItemMessageW(dialog, IDC_PRINT_FONT, CB_GETCOUNT, 0, 0));
    ASSERT_EQ(4, SendDlgItemMessageW(dialog, IDC_PRINT_MARGIN, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L".5\"", ComboText(dialog, IDC_PRINT_MARGIN, 0));
    EXPECT_EQ(L"2\"", ComboText(dialog, IDC_PRINT_MARGIN, 3));
    EXPECT_EQ(L"1.5\"", Selected(dialog, IDC_PRINT_MARGIN));
    EXPECT_EQ(L"--All--", ComboText(dialog, IDC_PRINT_CATEGORY, 0));
    EXPECT_EQ(L"Soups", Selected(dialog, IDC_PRINT_CATEGORY));
    HWND tips = TipsOf(dialog);
    ASSERT_NE(nullptr, tips);
    EXPECT_EQ(3, SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
    wchar_t text[128] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, IDC_PRINT_NUTRITION));
    info.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(L"Show nutrition information on recipe card", text);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  EXPECT_FALSE(Run(category));
  EXPECT_EQ(7u, category);
  EXPECT_EQ(TXT("No Such Face"), settings.font);
}

TEST_F(PrintDialogTest, RadioButtonsEnableTheirOptionsAndPrintTakesEverythingOver) {
  uint32_t category = 0;
  user.act = [&](HWND dialog) {
    EXPECT_FALSE(Enabled(dialog, IDC_PRINT_CATEGORY));
    EXPECT_TRUE(Enabled(dialog, IDC_PRINT_FIRST) && Enabled(dialog, IDC_PRINT_NUTRITION));
    EXPECT_FALSE(Enabled(dialog, IDC_PRINT_NUTRITION_FULL));
    Click(dialog, IDC_PRINT_FULL_PAGE);
    EXPECT_FALSE(Enabled(dialog, IDC_PRINT_FIRST) || Enabled(dialog, IDC_PRINT_NUTRITION));
    EXPECT_TRUE(Enabled(dialog, IDC_PRINT_NUTRITION_FULL));
    Click(dialog, IDC_PRINT_ALL);
    EXPECT_TRUE(Enabled(dialog, IDC_PRINT_CATEGORY));
    Click(dialog, IDC_PRINT_NUTRITION_FULL);
    SendDlgItemMessageW(dialog, IDC_PRINT_CATEGORY, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageW(dialog, IDC_PRINT_MARGIN, CB_SETCURSEL, 3, 0);
    Click(dialog, IDC_PRINT_CARD);
    EXPECT_TRUE(Enabled(dialog, IDC_PRINT_FIRST) && !Enabled(dialog, IDC_PRINT_NUTRITION_FULL));
    Click(dialog, IDC_PRINT_FULL_PAGE);
    Click(dialog, IDC_PRINT_SELECTED);
    EXPECT_FALSE(Enabled(dialog, IDC_PRINT_CATEGORY));
    Click(dialog, IDC_PRINT_ALL);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  };
  ASSERT_TRUE(Run(category));
  EXPECT_FALSE(settings.selected);
  EXPECT_TRUE(settings.details);
  EXPECT_TRUE(settings.nutritionFull);
  EXPECT_TRUE(settings.firstOnly);
  EXPECT_EQ(3u, settings.margin);
  EXPECT_EQ(4u, category);
  EXPECT_EQ(TXT("Arial"), settings.font);
}

TEST(PrintCommandTest, CollectsSelectedRowsOrTheChosenCategoryInCatalogOrder) {
  Recipe soup, cake, stew;
  soup.catId = 7;
  cake.catId = 4;
  stew.catId = 7;
  PrintSource source;
  source.all = {&soup, &cake, &stew};
  source.selected = {&stew, &soup};
  EXPECT_EQ(std::vector<const Recipe*>({&stew, &soup}), RecipesToPrint(source, true, 4));
  EXPECT_EQ(std::vector<const Recipe*>({&soup, &stew}), RecipesToPrint(source, false, 7));
  EXPECT_EQ(source.all, RecipesToPrint(source, false, 0));
  EXPECT_TRUE(RecipesToPrint(source, false, 9).empty());
}

TEST(PrintCommandTest, TextsComeFromTheStringTable) {
  ERApp app(GetModuleHandleW(nullptr));
  const PrintTexts texts = LoadPrintTexts(app);
  EXPECT_EQ(TXT("(more)"), texts.more);
  EXPECT_EQ(TXT("Serves: "), texts.serves);
  EXPECT_EQ(TXT("NUTRITION INFORMATION (per serving)"), texts.nutrition);
  EXPECT_FALSE(texts.nutrientNames[0].empty());
  EXPECT_FALSE(texts.nutrientNames[28].empty());
}

}  // namespace
