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
#include "support/DialogDriver.h"
#include "toolkit/ERApp.h"

using DAVavador::ERApp;

namespace {

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
  test_support::DialogActions user;
};

TEST_F(PrintDialogTest, OpensWithTheSettingsRadioButtonsEnableTheirOptionsAndPrintTakesEverythingOver) {
  settings.font = TXT("No Such Face");
  settings.margin = 2;
  uint32_t category = 7;
  user.On(IDD_PRINT, [&](const test_support::DialogDriver& dialog) {
    for (int id : {IDC_PRINT_SELECTED, IDC_PRINT_CARD, IDC_PRINT_FIRST, IDC_PRINT_NUTRITION})
      EXPECT_TRUE(dialog.Checked(id)) << id;
    for (int id : {IDC_PRINT_ALL, IDC_PRINT_FULL_PAGE, IDC_PRINT_NUTRITION_FULL})
      EXPECT_FALSE(dialog.Checked(id)) << id;
    EXPECT_EQ(L"No Such Face", dialog.Text(IDC_PRINT_FONT));
    EXPECT_LT(1, dialog.Count(IDC_PRINT_FONT));
    EXPECT_EQ(std::vector<std::wstring>({L".5\"", L"1\"", L"1.5\"", L"2\""}), dialog.Rows(IDC_PRINT_MARGIN));
    EXPECT_EQ(L"1.5\"", dialog.Text(IDC_PRINT_MARGIN));
    EXPECT_EQ(L"--All--", dialog.RowText(IDC_PRINT_CATEGORY, 0));
    EXPECT_EQ(L"Soups", dialog.Text(IDC_PRINT_CATEGORY));
    ASSERT_NE(nullptr, dialog.Tooltips());
    EXPECT_EQ(3, SendMessageW(dialog.Tooltips(), TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ(L"Show nutrition information on recipe card", dialog.TipText(IDC_PRINT_NUTRITION));
    dialog.Press(IDCANCEL);
  });
  EXPECT_FALSE(Run(category));
  EXPECT_EQ(7u, category);
  EXPECT_EQ(TXT("No Such Face"), settings.font);
  // The radio buttons enable their options; Print takes everything over.
  settings = PrintSettings();
  category = 0;
  user.On(IDD_PRINT, [&](const test_support::DialogDriver& dialog) {
    EXPECT_FALSE(dialog.Enabled(IDC_PRINT_CATEGORY));
    EXPECT_TRUE(dialog.Enabled(IDC_PRINT_FIRST) && dialog.Enabled(IDC_PRINT_NUTRITION));
    EXPECT_FALSE(dialog.Enabled(IDC_PRINT_NUTRITION_FULL));
    dialog.Press(IDC_PRINT_FULL_PAGE);
    EXPECT_FALSE(dialog.Enabled(IDC_PRINT_FIRST) || dialog.Enabled(IDC_PRINT_NUTRITION));
    EXPECT_TRUE(dialog.Enabled(IDC_PRINT_NUTRITION_FULL));
    dialog.Press(IDC_PRINT_ALL);
    EXPECT_TRUE(dialog.Enabled(IDC_PRINT_CATEGORY));
    dialog.Press(IDC_PRINT_NUTRITION_FULL);
    dialog.Pick(IDC_PRINT_CATEGORY, 1);
    dialog.Pick(IDC_PRINT_MARGIN, 3);
    dialog.Press(IDC_PRINT_CARD);
    EXPECT_TRUE(dialog.Enabled(IDC_PRINT_FIRST) && !dialog.Enabled(IDC_PRINT_NUTRITION_FULL));
    dialog.Press(IDC_PRINT_FULL_PAGE);
    dialog.Press(IDC_PRINT_SELECTED);
    EXPECT_FALSE(dialog.Enabled(IDC_PRINT_CATEGORY));
    dialog.Press(IDC_PRINT_ALL);
    PostMessageW(dialog.Dialog(), WM_COMMAND, IDOK, 0);
  });
  ASSERT_TRUE(Run(category));
  // All recipes of the chosen category on full pages with full nutrition; first pages kept from cards.
  EXPECT_EQ(
      (std::vector<bool>{false, true, true, true}),
      (std::vector<bool>{settings.selected, settings.details, settings.nutritionFull, settings.firstOnly}));
  EXPECT_EQ(std::make_pair(3u, 4u), std::make_pair(settings.margin, category));
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

}  // namespace
