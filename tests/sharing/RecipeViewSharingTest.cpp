// Upload and Download of the Recipes view against the real sharing server: the selected recipe
// goes up, the search finds it and the download adds it to the catalog as a new recipe.
#include <gtest/gtest.h>
#include <windows.h>

#include "SharingServerProcess.h"
#include "ViewTestSupport.h"
#include "food/CategoryList.h"
#include "net/RecipeSharing.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "views/IngredientList/IngredientList.h"
#include "views/RecipeList/RecipeList.h"

namespace {

using test_support::DialogDriver;

class RecipeViewSharing : public view_test::ViewTest {
 protected:
  RecipeViewSharing() {
    view_.Hide();
    options_.baseFolder = folder_.Path();
    for (WChar& unit : options_.baseFolder)
      if (unit == '/') unit = '\\';
    options_.server = server_.Address().Text();
    storage_test::WriteFile(
        folder_.Path() + L"Recipes.xml",
        "<RECIPELIST>\n<RECIPES>\n<RECIPE>\n<SERVES>4</SERVES>\n<FOOD>\n<FOODID>3</FOODID>\n"
        "<CATEGORY>Soups</CATEGORY>\n<FOODNAME>Pea Soup</FOODNAME>\n</FOOD>\n</RECIPE>\n"
        "</RECIPES>\n</RECIPELIST>\n");
    EXPECT_TRUE(ingredients_.Create(tabs_.Window(), IDM_MAIN_INGREDIENTS, IDM_POPUP_INGREDIENTS));
    ingredients_.OpenCatalog(folder_.Path() + L"Ingredients.xml", false, 0, 100, nullptr);
    EXPECT_TRUE(recipes_.Create(tabs_.Window(), IDM_MAIN_RECIPES, IDM_POPUP_RECIPES));
    recipes_.OpenCatalog(folder_.Path() + L"Recipes.xml", false, 0, 100, nullptr);
    recipes_.BuildColumns();
    recipes_.FillList();
  }
  ~RecipeViewSharing() override {
    recipes_.WaitForBackgroundSaves();
    ingredients_.WaitForBackgroundSaves();
  }

  SharingServerProcess server_{folder_ / L"server"};
  view_test::DialogScripts dialogs_;
  storage_test::ScriptedPrompts prompts_;
  IngredientList ingredients_{app_, status_, toolbar_, options_};
  RecipeList recipes_{app_, status_, toolbar_, options_, ingredients_};
};

TEST_F(RecipeViewSharing, TheSelectedRecipeGoesUpAndComesBackAsANewRecipe) {
  ASSERT_TRUE(server_.Running()) << SHARING_SERVER;
  ASSERT_EQ(recipes_.Records().size(), 1u);

  recipes_.Upload();  // nothing selected: nothing asked
  EXPECT_TRUE(prompts_.questions.empty());
  recipes_.List().Select(0);
  prompts_.answers = {IDYES, IDOK};
  recipes_.Upload();
  ASSERT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(prompts_.questions[0].text, L"Upload this recipe: Pea Soup");
  EXPECT_EQ(prompts_.questions[1].text, L"Your recipe has been uploaded.") << server_.Log();

  dialogs_.Drive(IDD_DOWNLOAD_RECIPES, [](const DialogDriver& d) {
    d.PickText(IDC_DOWNLOAD_CATEGORY, L"Soups");
    d.Press(IDC_DOWNLOAD_FIND);  // since the last download, 1 January 2000
    d.Pick(IDC_DOWNLOAD_AVAILABLE, 0);
    d.Press(IDC_DOWNLOAD_ADD);
    d.Press(IDOK);
  });
  EXPECT_TRUE(recipes_.Download(CalendarDate(2000, 1, 1)));
  EXPECT_EQ(dialogs_.Opened(IDD_PROGRESS), 3);  // the upload, the search, then the fetch
  ASSERT_EQ(recipes_.Records().size(), 2u);
  const Recipe& fetched = *recipes_.Records()[1];
  EXPECT_EQ(fetched.name, L"Pea Soup");
  EXPECT_EQ(fetched.serves, 4);
  EXPECT_GT(fetched.foodId, 3u);
  EXPECT_EQ(fetched.catId, recipes_.Records()[0]->catId);
  EXPECT_EQ(recipes_.List().ItemCount(), 2);
  EXPECT_TRUE(FileExists(folder_.Path() + kDownloadFile));
  recipes_.WaitForBackgroundSaves();
  EXPECT_NE(view_test::FileText(folder_ / L"Recipes.xml")
                .find(L"<FOODID>" + std::to_wstring(fetched.foodId) + L"</FOODID>"),
            WString::npos);

  dialogs_.Drive(IDD_DOWNLOAD_RECIPES, [](const DialogDriver& d) { d.Press(IDCANCEL); });
  EXPECT_FALSE(recipes_.Download(CalendarDate(2000, 1, 1)));
  EXPECT_EQ(recipes_.Records().size(), 2u);
}

}  // namespace
