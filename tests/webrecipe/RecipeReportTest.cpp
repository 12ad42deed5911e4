// The dump's report with a catalog: each line's matched food, grams and servings, and the recipe's
// nutrition per serving as the import stores it, from a catalog file in either of its forms.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <tuple>

#include "webrecipe/CatalogFile.h"
#include "webrecipe/RecipeReport.h"

namespace {

const char kPage[] = R"(<script type="application/ld+json">{"@type":"Recipe","name":"Sweet Bread",
  "recipeYield":["2","4 servings"],"nutrition":{"calories":"300 kcal"},
  "recipeIngredient":["2 cups flour","1 egg","For the top:","Salt to taste","50 g sugar"]}</script>)";

// The same three foods as the program's catalog file and as an ingredient CSV export.
const char* const kCatalogs[] = {
    "<INGREDIENTLIST>\r\n<INGREDIENTS>\r\n"
    "<FOOD>\r\n<FOODID>7</FOODID>\r\n<FOODNAME>Flour</FOODNAME>\r\n<SIZE>1</SIZE>\r\n<TYPE>2</TYPE>\r\n"
    "<OUNCES>4.4</OUNCES>\r\n<CAL>455</CAL>\r\n<FAT>1.2</FAT>\r\n<CARB>95</CARB>\r\n<PROTEIN>13</"
    "PROTEIN>\r\n</FOOD>\r\n"
    "<FOOD>\r\n<FOODID>8</FOODID>\r\n<FOODNAME>Egg</FOODNAME>\r\n<SIZE>1</SIZE>\r\n<TYPE>1</TYPE>\r\n"
    "<OUNCES>1.76</OUNCES>\r\n<CAL>72</CAL>\r\n<FAT>4.8</FAT>\r\n<PROTEIN>6.3</PROTEIN>\r\n<FE>0.9</FE>\r\n</"
    "FOOD>\r\n"
    "<FOOD>\r\n<FOODID>9</FOODID>\r\n<FOODNAME>Sugar</FOODNAME>\r\n<SIZE>100</SIZE>\r\n<TYPE>4</TYPE>\r\n"
    "<OUNCES>3.34448</OUNCES>\r\n<CAL>387</CAL>\r\n<CARB>100</CARB>\r\n</FOOD>\r\n"
    "</INGREDIENTS>\r\n</INGREDIENTLIST>\r\n",
    "\"Calories\",\"Total Fat (g)\",\"Carbohydrates (g)\",\"Protein (g)\",\"Iron (mg)\",\"Name\",\"Serving "
    "Size\",\"Ounces Per Serving\"\r\n"
    "\"455\",\"1.2\",\"95\",\"13\",\"\",\"Flour\",\"1 cup\",\"4.4\"\r\n"
    "\"72\",\"4.8\",\"\",\"6.3\",\"0.9\",\"Egg\",\"1\",\"1.76\"\r\n"
    "\"387\",\"\",\"100\",\"\",\"\",\"Sugar\",\"100 g\",\"3.34448\"\r\n",
};

TEST(RecipeReport, LinesAndNutritionPerServingAsTheImportStoresThem) {
  for (const char* text : kCatalogs) {
    CatalogFile catalog;
    ASSERT_TRUE(catalog.Read(FromUtf8(text))) << text;
    bool found = false;
    const nlohmann::json report = nlohmann::json::parse(PageReport(kPage, "", &catalog, found));
    EXPECT_TRUE(found);
    // Each line's food (none for a heading, null when none matched), grams and servings.
    std::string lines;
    for (const auto& line : report["ingredients"])
      for (const char* member : {"food", "grams", "servings"})
        lines += (line.contains(member) ? line[member].dump() : "-") + (*member == 's' ? "|" : " ");
    EXPECT_EQ(R"("Flour" 263.12 2.0|"Egg" 52.624 1.0|- - -|null - -|"Sugar" 50.0 0.5|)", lines) << text;
    // (2 x 455 + 72 + 387 / 2) / 4 calories; six significant digits, as the files keep them.
    const nlohmann::json& perServing = report["perServing"];
    EXPECT_EQ(29u, perServing.size());
    EXPECT_EQ("293.875 8.075 1.8 60.0 0.225 0.0",
              perServing["calories"].dump() + " " + perServing["protein"].dump() + " " +
                  perServing["fat"].dump() + " " + perServing["carbohydrates"].dump() + " " +
                  perServing["iron"].dump() + " " + perServing["selenium"].dump());
    EXPECT_EQ(std::tuple(4, 300.0),
              std::tuple(report["serves"].get<int>(), report["statedCalories"].get<double>()));
  }
}

}  // namespace
