#include "app/AppViews.h"

#include "views/Diary/Diary.h"
#include "views/IngredientList/IngredientList.h"
#include "views/ShopList/ShopList.h"
#include "views/RecipeList/RecipeList.h"

namespace {

template <class ViewClass>
std::unique_ptr<View> Make(const ViewServices& s) {
  return std::make_unique<ViewClass>(s.app, s.statusBar, s.toolbar, s.options);
}

}  // namespace

std::unique_ptr<View> NewIngredientList(const ViewServices& s) {
  return Make<IngredientList>(s);
}

std::unique_ptr<View> NewRecipeList(const ViewServices& s) {
  return std::make_unique<RecipeList>(s.app, s.statusBar, s.toolbar, s.options,
                                      static_cast<IngredientList&>(*s.made[0]));
}

std::unique_ptr<View> NewDiary(const ViewServices& s) {
  return std::make_unique<Diary>(s.app, s.statusBar, s.toolbar, s.options,
                                 static_cast<IngredientList&>(*s.made[0]));
}

std::unique_ptr<View> NewShopList(const ViewServices& s) {
  return std::make_unique<ShopList>(s.app, s.statusBar, s.toolbar, s.options,
                                    static_cast<IngredientList&>(*s.made[0]));
}

bool ImportNutrientData(View& ingredients, const WString& csvPath) {
  auto* list = dynamic_cast<IngredientList*>(&ingredients);
  return list && list->TakeNutrientData(csvPath);
}

bool HoldsFoods(const View& ingredients) {
  const auto* list = dynamic_cast<const IngredientList*>(&ingredients);
  return list && !list->Records().empty();
}
