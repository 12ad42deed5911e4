// What can go wrong between the four catalogs: a deleted, imported or restored ingredient that a
// recipe line, a meal item or a shopping-list item still refers to. Each case ends with a restart:
// a fresh set of views reading the files the first set wrote.
#include <windows.h>

#include <algorithm>
#include <array>
#include <map>

#include "ingredients/FoodViewSupport.h"
#include "views/Diary/Diary.h"
#include "views/RecipeList/RecipeList.h"
#include "views/ShopList/ShopList.h"

namespace {

using storage_test::WriteFile;
using Names = std::vector<WString>;

using food_view_test::Opened;

// The four views over one data folder, opened as the program's start opens them.
struct Household {
  Household(DAVavador::ERApp& app, DAVavador::ERStatusBar& status, DAVavador::ERToolbar& toolbar,
            Options& options, HWND tabs, const WString& folder)
      : ingredients(app, status, toolbar, options),
        recipes(app, status, toolbar, options, ingredients),
        diary(app, status, toolbar, options, ingredients),
        lists(app, status, toolbar, options, ingredients) {
    const wchar_t* files[] = {L"Ingredients.xml", L"Recipes.xml", L"FoodDiary.xml", L"ShoppingList.xml"};
    const int menus[][2] = {{IDM_MAIN_INGREDIENTS, IDM_POPUP_INGREDIENTS},
                            {IDM_MAIN_RECIPES, IDM_POPUP_RECIPES},
                            {IDM_MAIN_DIARY, IDM_POPUP_DIARY},
                            {IDM_MAIN_SHOPLIST, IDM_POPUP_SHOPLIST}};
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(Views()[i]->Create(tabs, menus[i][0], menus[i][1]));
      Views()[i]->OpenCatalog(folder + files[i], true, 0, 100, nullptr);
      Views()[i]->Hide();
    }
    ingredients.BuildColumns();
    ingredients.selectedCategory = 0;  // every category listed
    ingredients.FillList();
  }
  ~Household() {
    for (int i = 3; i >= 0; --i) {
      Views()[i]->SaveIfModified(true);
      Views()[i]->WaitForBackgroundSaves();
    }
  }
  std::array<View*, 4> Views() { return {&ingredients, &recipes, &diary, &lists}; }

  Names ListedIngredients() const {
    Names names;
    for (const auto& record : ingredients.Records())
      if (!record->hidden) names.push_back(record->name);
    std::sort(names.begin(), names.end());
    return names;
  }
  static Names FoodsOf(const Meal& meal) {
    Names names;
    for (const MealItem& item : meal.items) names.push_back(item.food ? item.food->name : L"(none)");
    return names;
  }
  Names LineFoods() const {
    Names names;
    for (const RecipeLine& line : recipes.Records().at(0)->lines)
      names.push_back(line.ingredient ? line.ingredient->name : L"(none)");
    return names;
  }
  const Ingredient* Linked() const {
    return const_cast<Opened<IngredientList>&>(ingredients)
        .FindById(static_cast<uint32_t>(recipes.Records().at(0)->ingredientId));
  }

  Opened<IngredientList> ingredients;
  Opened<RecipeList> recipes;
  Opened<Diary> diary;
  Opened<ShopList> lists;
};

class HouseholdTest : public view_test::ViewTest {
 protected:
  // Flour and Milk make the recipe Bread (on the ingredient list); Rice and Bread are eaten at a
  // meal; Salt and Milk are on the shopping list.
  HouseholdTest() {
    view_.Hide();
    {
      Household first = Open();
      for (const wchar_t* name : {L"Flour", L"Milk", L"Rice", L"Salt"}) Food(first, name);
      const uint32_t baking = [&first] {
        DataLockGuard lock;
        return first.recipes.Categories()->AddNew(L"Baking", first.recipes.lastId);
      }();
      const auto food = [&first, this](const wchar_t* name) {
        return first.ingredients.FindById(ids_.at(name));
      };
      ids_[L"Bread"] = static_cast<uint32_t>(
          food_view_test::StoreRecipe(first.recipes, first.ingredients, L"Bread", 1,
                                      {{food(L"Flour"), 2}, {food(L"Milk"), 2}}, baking, true)
              .ingredientId);
    }
    WriteFile(Path(L"FoodDiary.xml"), food_view_test::DiaryFile(food_view_test::MealXml(
                                          2, 1, 0, 3, 4, 0,
                                          food_view_test::ItemXml(ids_.at(L"Rice"), "1") +
                                              food_view_test::ItemXml(ids_.at(L"Bread"), "2"))));
    std::string items;
    for (const auto& [name, amount] : {std::pair{L"Salt", "2"}, std::pair{L"Milk", "1"}})
      items += std::string("<ITEM>\n<AMOUNT>") + amount +
               "</AMOUNT>\n<SERVINGTYPE>1</SERVINGTYPE>\n<FOOD>\n<FOODID>" + std::to_string(ids_.at(name)) +
               "</FOODID>\n<FOODNAME>" + ToUtf8(name) + "</FOODNAME>\n</FOOD>\n</ITEM>\n";
    WriteFile(Path(L"ShoppingList.xml"),
              "<SHOPLISTLIST>\n<LISTS>\n<SHOPLIST>\n<LISTID>4</LISTID>\n<LISTNAME>Weekly</LISTNAME>\n" +
                  items + "</SHOPLIST>\n</LISTS>\n</SHOPLISTLIST>\n");
  }

  WString Path(const wchar_t* name) const { return folder_.Path() + name; }
  Household Open() { return Household(app_, status_, toolbar_, options_, tabs_.Window(), folder_.Path()); }
  void Food(Household& house, const wchar_t* name) {
    ids_[name] = food_view_test::AddFood(house.ingredients, name, 100)->foodId;
  }
  // Every reference the household started with, as a restart reads them back.
  static void ExpectEveryReference(const Household& house) {
    ASSERT_EQ(
        std::tuple(house.recipes.Records().size(), house.diary.Meals().size(), house.lists.Lists().size()),
        std::tuple(1u, 1u, 1u));
    ASSERT_NE(house.Linked(), nullptr);
    EXPECT_EQ(
        std::tuple(house.LineFoods(), house.Linked()->name, Household::FoodsOf(*house.diary.Meals()[0]),
                   Household::FoodsOf(*house.lists.Lists()[0])),
        std::tuple(Names{L"Flour", L"Milk"}, L"Bread", Names{L"Rice", L"Bread"}, Names{L"Salt", L"Milk"}));
  }

  std::map<WString, uint32_t> ids_;
  storage_test::ScriptedPrompts prompts_;
};

TEST_F(HouseholdTest, ADeletedIngredientAShoppingListHoldsStaysHiddenForItThroughARestart) {
  const Names listed = {L"Bread", L"Flour", L"Milk", L"Rice", L"Sugar"};
  {
    Household house = Open();
    house.ingredients.List().ClearSelection();
    house.ingredients.List().Select(house.ingredients.List().FindItem(static_cast<LPARAM>(ids_.at(L"Salt"))));
    prompts_.answers = {Prompt::kAnswerYes};
    house.ingredients.DeleteItem(&house.recipes, &house.diary);
    ASSERT_EQ(prompts_.questions.size(), 1u);
    Food(house, L"Sugar");  // a new ingredient may take the memory a freed record had
    EXPECT_EQ(Household::FoodsOf(*house.lists.Lists()[0]), (Names{L"Salt", L"Milk"}));
    EXPECT_EQ(house.ListedIngredients(), listed);
  }
  const Household restarted = Open();
  ExpectEveryReference(restarted);
  EXPECT_EQ(restarted.ListedIngredients(), listed);
}

TEST_F(HouseholdTest, ImportAnsweredYesListsTheFilesFoodsAndKeepsEveryReferenceThroughARestart) {
  // An exchange file of three foods; Rice and Bread come back under new ids.
  WriteFile(Path(L"foods.csv"),
            "\"Name\",\"Calories\"\r\n\"Oats\",\"380\"\r\n\"Rice\",\"130\"\r\n\"Bread\",\"250\"\r\n");
  {
    Household house = Open();
    prompts_.chosenPaths = {Path(L"foods.csv")};
    prompts_.answers = {Prompt::kAnswerYes};
    house.ingredients.Import();
    EXPECT_EQ(house.ListedIngredients(), (Names{L"Bread", L"Oats", L"Rice"}));
    EXPECT_EQ(house.Linked()->nutrients[Nutrient::kCalories], 250);  // the link follows Bread's new record
  }
  const Household restarted = Open();
  ExpectEveryReference(restarted);
  EXPECT_EQ(restarted.ListedIngredients(), (Names{L"Bread", L"Oats", L"Rice"}));
  EXPECT_FALSE(restarted.Linked()->hidden);  // "Add to ingredient list" stays ticked
}

TEST_F(HouseholdTest, RestoreListsTheBackupsFoodsAndKeepsALaterOneForWhatRefersToIt) {
  const Names backedUp = {L"Bread", L"Flour", L"Milk", L"Rice", L"Salt"};
  const Names lines = {L"Flour", L"Milk", L"Yeast"};
  {
    Household house = Open();  // the backup taken here holds Flour, Milk, Rice, Salt and Bread
    Food(house, L"Yeast");
    {
      DataLockGuard lock;
      house.recipes.Records()[0]->lines.push_back(
          {1, kUnitBlank, WString(), house.ingredients.FindById(ids_.at(L"Yeast"))});
      house.recipes.modified = true;
    }
    house.recipes.SaveIfModified(false);
    prompts_.answers = {Prompt::kAnswerYes};
    house.ingredients.RestoreBackup();
    EXPECT_EQ(prompts_.questions.at(0).text.substr(0, 50),
              L"You are about to restore your last saved ingredien");
    EXPECT_EQ(house.ListedIngredients(), backedUp);
    EXPECT_EQ(house.LineFoods(), lines);
  }
  const Household restarted = Open();
  EXPECT_EQ(restarted.LineFoods(), lines);
  EXPECT_EQ(restarted.ListedIngredients(), backedUp);
}

// A read-only catalog asks nothing and takes nothing in; pictures named by foreign files stay plain
// file names.
TEST_F(HouseholdTest, AReadOnlyCatalogRefusesImportAndRestoreAndForeignFilesNameOnlyPlainPictureFiles) {
  WriteFile(
      Path(L"shared.xml"),
      "<RECIPELIST>\n<RECIPES>\n<RECIPE>\n<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Pie</FOODNAME>\n"
      "<PICTURE>..\\..\\Documents\\thesis.doc</PICTURE>\n</FOOD>\n</RECIPE>\n</RECIPES>\n</RECIPELIST>\n");
  WriteFile(Path(L"foods.xml"),
            "<INGREDIENTLIST>\n<INGREDIENTS>\n<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Kale</FOODNAME>\n"
            "<PICTURE>C:\\Windows\\win.ini</PICTURE>\n</FOOD>\n</INGREDIENTS>\n</INGREDIENTLIST>\n");
  WriteFile(Path(L"foods.csv"), "\"Name\",\"Picture\"\r\n\"Leek\",\"../../.ssh/id_rsa\"\r\n");
  Household house = Open();
  house.ingredients.readOnly = house.recipes.readOnly = house.diary.readOnly = house.lists.readOnly = true;
  for (View* view : house.Views()) {
    view->Import();
    view->RestoreBackup();
  }
  EXPECT_EQ(std::tuple(prompts_.questions.size(), prompts_.requests.size(), house.ListedIngredients()),
            std::tuple(0u, 0u, Names{L"Bread", L"Flour", L"Milk", L"Rice", L"Salt"}));

  house.ingredients.readOnly = house.recipes.readOnly = false;
  house.recipes.LoadFrom(Path(L"shared.xml"), nullptr, 0, 100);
  house.ingredients.LoadFrom(Path(L"foods.xml"), nullptr, 0, 100);
  house.ingredients.LoadFrom(Path(L"foods.csv"), nullptr, 0, 100);
  EXPECT_EQ(std::tuple(house.recipes.Records().back()->name, house.recipes.Records().back()->picture,
                       house.ingredients.FindByName(L"Kale")->picture,
                       house.ingredients.FindByName(L"Leek")->picture),
            std::tuple(L"Pie", L"thesis.doc", L"win.ini", L"id_rsa"));
}

}  // namespace
