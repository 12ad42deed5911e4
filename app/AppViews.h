#pragma once
// The four catalog views in tab order. Each factory names the class that serves its tab, so a
// finished view replaces its stand-in by a change of one line in AppViews.cpp.
#include <array>
#include <memory>

#include "views/View.h"

struct ViewServices {
  DAVavador::ERApp& app;
  DAVavador::ERStatusBar& statusBar;
  DAVavador::ERToolbar& toolbar;
  Options& options;
  // The views made so far, in tab order: a later view reaches the earlier ones it works with
  // (recipes and shopping lists refer to the ingredients, shopping lists to the recipes).
  std::array<View*, 4> made{};
};

std::unique_ptr<View> NewIngredientList(const ViewServices& services);
std::unique_ptr<View> NewRecipeList(const ViewServices& services);
std::unique_ptr<View> NewDiary(const ViewServices& services);
std::unique_ptr<View> NewShopList(const ViewServices& services);

// The nutrient data the user chose to take over at the first start (a CSV file beside the
// program), imported into the ingredients; false when the ingredients view cannot import it.
bool ImportNutrientData(View& ingredients, const WString& csvPath);
// Whether the ingredients view holds any food, hidden or shown.
bool HoldsFoods(const View& ingredients);
