#pragma once
// What the Ingredients and Recipes view tests share: a real Ingredients view on its real menus in
// the view tests' host window, dialogs driven by scripts, prompts answered from one, foods added in
// one call, recipes stored without the editor, and short texts of what the tests compare.
#include <atomic>
#include <sstream>
#include <string>
#include <vector>

#include "ViewTestSupport.h"
#include "food/CategoryList.h"
#include "food/Recipe.h"
#include "resources/resource.h"
#include "views/IngredientList/IngredientList.h"

namespace food_view_test {

using test_support::DialogDriver;
using Texts = std::vector<WString>;

// A view with the base's state that the tests reach into opened up.
template <class ViewClass>
struct Opened : ViewClass {
  using View::catalogPath;
  using View::categoryCombo;
  using View::categoryLabel;
  using View::exportAllData;
  using View::FillCategorySelector;
  using View::filterCategoryId;
  using View::imagesFolder;
  using View::lastId;
  using View::letterCombo;
  using View::letterLabel;
  using View::LoadFrom;
  using View::modified;
  using View::preserveUnicode;
  using View::readOnly;
  using View::selectedCategory;
  using View::SelectFilterFor;
  using View::workerMode;
  using View::workPath;
  using ViewClass::ViewClass;
};

// The Ingredients view with its records opened up too, counting its saves (of the catalog file
// and of exports alike, on whichever thread).
struct OpenIngredientList : Opened<IngredientList> {
  using Opened::Opened;
  using FoodCatalogView<Ingredient>::records_;
  bool Save() override {
    ++saves;
    return Opened::Save();
  }
  std::atomic<int> saves{0};
};

// A food of `calories` a serving (one `unit`), added as the editor's OK adds it.
inline Ingredient* AddFood(IngredientList& catalog, const WString& name, double calories = 0,
                           uint32_t catId = 0, ServingUnit unit = kUnitServing) {
  Ingredient record;
  record.name = name;
  record.catId = catId;
  record.size = 1;
  record.type = unit;
  record.nutrients[Nutrient::kCalories] = calories;
  return catalog.AddIngredient(record);
}

// A neighbour view (the diary, the recipes) that uses one food and links another.
class NeighbourView : public TestView {
 public:
  using TestView::TestView;
  bool IsFoodUsed(uint32_t foodId) override { return foodId != 0 && foodId == used; }
  bool HasLinkedId(uint32_t foodId) override { return foodId != 0 && foodId == linked; }
  uint32_t used = 0;
  uint32_t linked = 0;
};

// Rereads `path` into the emptied `view` and lists it, as the next start of the program would.
inline void Reopen(View& view, const WString& path) {
  view.WaitForBackgroundSaves();
  view.Clear();
  view.OpenCatalog(path, false, 0, 100, nullptr);
  view.BuildColumns();
  view.FillList();
}

// Whether `command` is enabled; a command missing from the menu fails the test.
inline bool MenuEnabled(HMENU menu, UINT command) {
  const UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
  EXPECT_NE(state, static_cast<UINT>(-1)) << "no command " << command;
  return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

// A recipe made without the editor (each dialog costs seconds under Wine): the nutrition as the
// editor's OK computes it, published as its linked ingredient as Add Recipe does. `Recipes` opens
// up the view's `modified`.
template <class Recipes>
Recipe& StoreRecipe(Recipes& recipes, IngredientList& ingredients, const WString& name, int serves,
                    const std::vector<std::pair<Ingredient*, double>>& servings, uint32_t catId,
                    bool onList) {
  auto recipe = std::make_unique<Recipe>();
  recipe->name = name;
  recipe->catId = catId;
  recipe->serves = serves;
  std::vector<RecipeLine> lines;
  for (const auto& [ingredient, amount] : servings)
    lines.push_back({amount, static_cast<int32_t>(kUnitServing), WString(), ingredient});
  recipe->ComputeNutrition(lines, serves);
  Recipe& added = recipes.AddForeignRecipe(std::move(recipe));
  const Ingredient& linked =
      ingredients.UpsertLinkedIngredient(0, added, !onList, *recipes.Categories()->NameById(catId));
  {
    DataLockGuard lock;
    added.ingredientId = static_cast<int32_t>(linked.foodId);
    recipes.modified = true;
  }
  recipes.SaveIfModified(false);
  return added;
}

// What the tests compare of a recipe: "Loaf serves 2, 100 cal: 1.5 x2 Flour "sifted"; 2 x0 Water"
// (each line's amount, unit, ingredient and own text).
inline std::wstring Outline(const Recipe& recipe) {
  std::wostringstream out;
  out << recipe.name << L" serves " << recipe.serves << L", " << recipe.nutrients[Nutrient::kCalories]
      << L" cal:";
  for (const RecipeLine& line : recipe.lines) {
    out << (&line == &recipe.lines[0] ? L" " : L"; ") << line.amount << L" x" << line.unit << L" "
        << (line.ingredient ? line.ingredient->name : L"(none)");
    if (!line.displayName.empty()) out << L" \"" << line.displayName << L"\"";
  }
  return out.str();
}

// Diary files: one DIARY element, the meal's id, diary, type, date, calories and its FOODITEM elements.
inline std::string MealXml(int id, int diary, int mealType, int month, int day, double calories,
                           const std::string& items = "") {
  return "<DIARY>\n<FOODLIST>\n" + items + "</FOODLIST>\n<COMMENT>meal " + std::to_string(id) +
         "</COMMENT>\n<MEAL>" + (mealType ? std::to_string(mealType) : "") + "</MEAL>\n<M>" +
         std::to_string(month) + "</M>\n<D>" + std::to_string(day) + "</D>\n<Y>2010</Y>\n<FOOD>\n<CATID>" +
         std::to_string(diary) + "</CATID>\n<FOODID>" + std::to_string(id) + "</FOODID>\n<CAL>" +
         std::to_string(calories) + "</CAL>\n</FOOD>\n</DIARY>\n";
}

inline std::string ItemXml(int foodId, const std::string& amount) {
  return "<FOODITEM>\n<ID>" + std::to_string(foodId) + "</ID>\n<AMOUNT>" + amount +
         "</AMOUNT>\n<TYPE>1</TYPE>\n</FOODITEM>\n";
}

// Ann (1) has no person given; Grandma (2) is a woman past 70.
inline std::string DiaryFile(const std::string& meals, const std::string& outside = "") {
  return "<DIARYLIST>\n<VIEW>\n<CATEGORIES>\n<DIARYNAME>\n<NAME>Ann</NAME>\n<ID>1</ID>\n</DIARYNAME>\n"
         "<DIARYNAME>\n<NAME>Grandma</NAME>\n<ID>2</ID>\n<AGE>6</AGE>\n<SEX>1</SEX>\n</DIARYNAME>\n"
         "</CATEGORIES>\n</VIEW>\n" +
         outside + "<DIARIES>\n" + meals + "</DIARIES>\n</DIARYLIST>\n";
}

// A real Ingredients view beside the view tests' own, over the catalog Ingredients.xml.
class FoodViewTest : public view_test::ViewTest {
 protected:
  FoodViewTest() {
    view_.Hide();
    EXPECT_TRUE(ingredients_.Create(tabs_.Window(), IDM_MAIN_INGREDIENTS, IDM_POPUP_INGREDIENTS));
    ingredients_.OpenCatalog(IngredientCatalog(), false, 0, 100, nullptr);
    ingredients_.BuildColumns();
  }
  ~FoodViewTest() override { ingredients_.WaitForBackgroundSaves(); }

  WString IngredientCatalog() const { return folder_ / L"Ingredients.xml"; }
  uint32_t IngredientCategory(const WString& name) {
    DataLockGuard lock;
    return ingredients_.Categories().AddNew(name, ingredients_.IdCounter());
  }
  Ingredient* Food(const WString& name, double calories = 0, uint32_t catId = 0,
                   ServingUnit unit = kUnitServing) {
    return AddFood(ingredients_, name, calories, catId, unit);
  }
  // The rows of the ingredient list.
  Texts Listed() const { return view_test::ListTexts(ingredients_.List()); }
  // Answers the next dialog `dialogId` with `text` typed into `edit` or picked in the combo box
  // `edit`, then OK.
  void Answer(int dialogId, int edit, const WString& text, bool pick = false) {
    dialogs_.Drive(dialogId, [=](const DialogDriver& dialog) {
      if (pick)
        dialog.PickText(edit, text);
      else
        dialog.Type(edit, text);
      dialog.Press(IDOK);
    });
  }
  Texts Questions() const { return view_test::Asked(prompts_); }

  view_test::DialogScripts dialogs_;
  storage_test::ScriptedPrompts prompts_;
  OpenIngredientList ingredients_{app_, status_, toolbar_, options_};
};

}  // namespace food_view_test
