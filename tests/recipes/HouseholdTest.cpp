// What can go wrong between the four catalogs: a deleted, imported or restored ingredient that a
// recipe line, a meal item or a shopping-list item still refers to. Each case ends with a restart:
// a fresh set of views reading the files the first set wrote.
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>

#include "ViewTestSupport.h"
#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "storage/Files.h"
#include "views/Diary/Diary.h"
#include "views/IngredientList/IngredientList.h"
#include "views/RecipeList/RecipeList.h"
#include "views/ShopList/ShopList.h"

namespace {

using storage_test::ScriptedPrompts;
using storage_test::WriteFile;

// The views with what the tests reach into opened up.
template <class ViewClass>
struct Opened : ViewClass {
  using View::lastId;
  using View::LoadFrom;
  using View::modified;
  using View::readOnly;
  using View::selectedCategory;
  using ViewClass::ViewClass;
};

// The four views over one data folder, opened as the program's start opens them.
struct Household {
  Household(DAVavador::ERApp& app, DAVavador::ERStatusBar& status, DAVavador::ERToolbar& toolbar,
            Options& options, HWND tabs, const WString& folder)
      : ingredients(app, status, toolbar, options),
        recipes(app, status, toolbar, options, ingredients),
        diary(app, status, toolbar, options, ingredients),
        lists(app, status, toolbar, options, ingredients) {
    View* views[] = {&ingredients, &recipes, &diary, &lists};
    const wchar_t* files[] = {L"Ingredients.xml", L"Recipes.xml", L"FoodDiary.xml", L"ShoppingList.xml"};
    for (int i = 0; i < 4; ++i) {
      views[i]->Create(tabs, 9922, 9923);
      views[i]->OpenCatalog(folder + files[i], true, 0, 100, nullptr);
      views[i]->Hide();
    }
    ingredients.BuildColumns();
    ingredients.selectedCategory = 0;  // every category listed
    ingredients.FillList();
  }
  ~Household() {
    for (View* view : std::initializer_list<View*>{&lists, &diary, &recipes, &ingredients}) {
      view->SaveIfModified(true);
      view->WaitForBackgroundSaves();
    }
  }

  std::vector<WString> ListedIngredients() const {
    std::vector<WString> names;
    for (const auto& record : ingredients.Records())
      if (!record->hidden) names.push_back(record->name);
    std::sort(names.begin(), names.end());
    return names;
  }
  const Recipe& OnlyRecipe() const { return *recipes.Records().at(0); }
  static std::vector<WString> FoodsOf(const Meal& meal) {
    std::vector<WString> names;
    for (const MealItem& item : meal.items) names.push_back(item.food ? item.food->name : L"(none)");
    return names;
  }
  std::vector<WString> LineFoods() const {
    std::vector<WString> names;
    for (const RecipeLine& line : OnlyRecipe().lines)
      names.push_back(line.ingredient ? line.ingredient->name : L"(none)");
    return names;
  }
  const Ingredient* Linked() const {
    return const_cast<Opened<IngredientList>&>(ingredients)
        .FindById(static_cast<uint32_t>(OnlyRecipe().ingredientId));
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
      AddBread(first);
    }
    const auto id = [this](const wchar_t* name) { return std::to_string(ids_.at(name)); };
    WriteFile(Path(L"FoodDiary.xml"),
              "<DIARYLIST>\n<VIEW>\n<CATEGORIES>\n<DIARYNAME>\n<NAME>Ann</NAME>\n<ID>1</ID>\n</DIARYNAME>\n"
              "</CATEGORIES>\n</VIEW>\n<DIARIES>\n<DIARY>\n<FOODLIST>\n<FOODITEM>\n<ID>" +
                  id(L"Rice") + "</ID>\n<AMOUNT>1</AMOUNT>\n<TYPE>1</TYPE>\n</FOODITEM>\n<FOODITEM>\n<ID>" +
                  id(L"Bread") +
                  "</ID>\n<AMOUNT>2</AMOUNT>\n<TYPE>1</TYPE>\n</FOODITEM>\n</FOODLIST>\n<M>3</M>\n<D>4</D>\n"
                  "<Y>2026</Y>\n<FOOD>\n<CATID>1</CATID>\n<FOODID>2</FOODID>\n</FOOD>\n</DIARY>\n</DIARIES>\n"
                  "</DIARYLIST>\n");
    WriteFile(Path(L"ShoppingList.xml"),
              "<SHOPLISTLIST>\n<LISTS>\n<SHOPLIST>\n<LISTID>4</LISTID>\n<LISTNAME>Weekly</LISTNAME>\n"
              "<ITEM>\n<AMOUNT>2</AMOUNT>\n<SERVINGTYPE>1</SERVINGTYPE>\n<FOOD>\n<FOODID>" +
                  id(L"Salt") +
                  "</FOODID>\n<FOODNAME>Salt</FOODNAME>\n</FOOD>\n</ITEM>\n"
                  "<ITEM>\n<AMOUNT>1</AMOUNT>\n<SERVINGTYPE>1</SERVINGTYPE>\n<FOOD>\n<FOODID>" +
                  id(L"Milk") +
                  "</FOODID>\n<FOODNAME>Milk</FOODNAME>\n</FOOD>\n</ITEM>\n"
                  "</SHOPLIST>\n</LISTS>\n</SHOPLISTLIST>\n");
  }

  WString Path(const wchar_t* name) const { return folder_.Path() + name; }
  Household Open() { return Household(app_, status_, toolbar_, options_, tabs_.Window(), folder_.Path()); }

  void Food(Household& house, const wchar_t* name) {
    Ingredient record;
    record.name = name;
    record.size = 1;
    record.type = kUnitServing;
    record.nutrients[Nutrient::kCalories] = 100;
    ids_[name] = house.ingredients.AddIngredient(record)->foodId;
  }
  void AddBread(Household& house) {
    uint32_t category;
    {
      DataLockGuard lock;
      category = house.recipes.Categories()->AddNew(L"Baking", house.recipes.lastId);
    }
    auto bread = std::make_unique<Recipe>();
    bread->name = L"Bread";
    bread->catId = category;
    bread->serves = 1;
    for (const wchar_t* name : {L"Flour", L"Milk"}) {
      RecipeLine line;
      line.amount = 2;
      line.unit = static_cast<int32_t>(kUnitServing);
      line.ingredient = house.ingredients.FindById(ids_.at(name));
      bread->lines.push_back(line);
    }
    Recipe& added = house.recipes.AddForeignRecipe(std::move(bread));
    const Ingredient& linked = house.ingredients.UpsertLinkedIngredient(0, added, false, L"Baking");
    {
      DataLockGuard lock;
      added.ingredientId = static_cast<int32_t>(linked.foodId);
      house.recipes.modified = true;
    }
    house.recipes.SaveIfModified(false);
    ids_[L"Bread"] = linked.foodId;
  }
  // Every reference the household started with, as a restart reads them back.
  static void ExpectEveryReference(const Household& house) {
    ASSERT_EQ(house.recipes.Records().size(), 1u);
    EXPECT_EQ(house.LineFoods(), (std::vector<WString>{L"Flour", L"Milk"}));
    ASSERT_NE(house.Linked(), nullptr);
    EXPECT_EQ(house.Linked()->name, L"Bread");
    ASSERT_EQ(house.diary.Meals().size(), 1u);
    EXPECT_EQ(Household::FoodsOf(*house.diary.Meals()[0]), (std::vector<WString>{L"Rice", L"Bread"}));
    ASSERT_EQ(house.lists.Lists().size(), 1u);
    EXPECT_EQ(Household::FoodsOf(*house.lists.Lists()[0]), (std::vector<WString>{L"Salt", L"Milk"}));
  }

  std::map<WString, uint32_t> ids_;
  ScriptedPrompts prompts_;
};

TEST_F(HouseholdTest, ADeletedIngredientAShoppingListHoldsStaysHiddenForItThroughARestart) {
  {
    Household house = Open();
    house.ingredients.List().ClearSelection();
    house.ingredients.List().Select(house.ingredients.List().FindItem(static_cast<LPARAM>(ids_.at(L"Salt"))));
    prompts_.answers = {Prompt::kAnswerYes};
    house.ingredients.DeleteItem(&house.recipes, &house.diary);
    ASSERT_EQ(prompts_.questions.size(), 1u);
    // A new ingredient may take the memory a freed record had.
    Food(house, L"Sugar");
    EXPECT_EQ(Household::FoodsOf(*house.lists.Lists()[0]), (std::vector<WString>{L"Salt", L"Milk"}));
    EXPECT_EQ(house.ListedIngredients(),
              (std::vector<WString>{L"Bread", L"Flour", L"Milk", L"Rice", L"Sugar"}));
  }
  const Household restarted = Open();
  ExpectEveryReference(restarted);
  EXPECT_EQ(restarted.ListedIngredients(),
            (std::vector<WString>{L"Bread", L"Flour", L"Milk", L"Rice", L"Sugar"}));
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
    EXPECT_EQ(house.ListedIngredients(), (std::vector<WString>{L"Bread", L"Oats", L"Rice"}));
    EXPECT_EQ(house.Linked()->nutrients[Nutrient::kCalories],
              250);  // the link follows Bread to its new record
  }
  const Household restarted = Open();
  ExpectEveryReference(restarted);
  EXPECT_EQ(restarted.ListedIngredients(), (std::vector<WString>{L"Bread", L"Oats", L"Rice"}));
  EXPECT_FALSE(restarted.Linked()->hidden);  // "Add to ingredient list" stays ticked
}

TEST_F(HouseholdTest, RestoreListsTheBackupsFoodsAndKeepsALaterOneForWhatRefersToIt) {
  {
    Household house = Open();  // the backup taken here holds Flour, Milk, Rice, Salt and Bread
    Food(house, L"Yeast");
    {
      DataLockGuard lock;
      RecipeLine line;
      line.amount = 1;
      line.ingredient = house.ingredients.FindById(ids_.at(L"Yeast"));
      house.recipes.Records()[0]->lines.push_back(line);
      house.recipes.modified = true;
    }
    house.recipes.SaveIfModified(false);
    prompts_.answers = {Prompt::kAnswerYes};
    house.ingredients.RestoreBackup();
    EXPECT_EQ(house.ListedIngredients(),
              (std::vector<WString>{L"Bread", L"Flour", L"Milk", L"Rice", L"Salt"}));
    EXPECT_EQ(house.LineFoods(), (std::vector<WString>{L"Flour", L"Milk", L"Yeast"}));
  }
  const Household restarted = Open();
  EXPECT_EQ(restarted.LineFoods(), (std::vector<WString>{L"Flour", L"Milk", L"Yeast"}));
  EXPECT_EQ(restarted.ListedIngredients(),
            (std::vector<WString>{L"Bread", L"Flour", L"Milk", L"Rice", L"Salt"}));
}

TEST_F(HouseholdTest, RecordsFromForeignFilesNameOnlyPlainPictureFiles) {
  WriteFile(
      Path(L"shared.xml"),
      "<RECIPELIST>\n<RECIPES>\n<RECIPE>\n<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Pie</FOODNAME>\n"
      "<PICTURE>..\\..\\Documents\\thesis.doc</PICTURE>\n</FOOD>\n</RECIPE>\n</RECIPES>\n</RECIPELIST>\n");
  WriteFile(Path(L"foods.xml"),
            "<INGREDIENTLIST>\n<INGREDIENTS>\n<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Kale</FOODNAME>\n"
            "<PICTURE>C:\\Windows\\win.ini</PICTURE>\n</FOOD>\n</INGREDIENTS>\n</INGREDIENTLIST>\n");
  WriteFile(Path(L"foods.csv"), "\"Name\",\"Picture\"\r\n\"Leek\",\"../../.ssh/id_rsa\"\r\n");
  Household house = Open();
  house.recipes.LoadFrom(Path(L"shared.xml"), nullptr, 0, 100);
  house.ingredients.LoadFrom(Path(L"foods.xml"), nullptr, 0, 100);
  house.ingredients.LoadFrom(Path(L"foods.csv"), nullptr, 0, 100);
  EXPECT_EQ(house.recipes.Records().back()->name, L"Pie");
  EXPECT_EQ(house.recipes.Records().back()->picture, L"thesis.doc");
  EXPECT_EQ(house.ingredients.FindByName(L"Kale")->picture, L"win.ini");
  EXPECT_EQ(house.ingredients.FindByName(L"Leek")->picture, L"id_rsa");
}

TEST_F(HouseholdTest, AReadOnlyCatalogRefusesImportAndRestore) {
  WriteFile(Path(L"foods.csv"), "\"Name\",\"Calories\"\r\n\"Oats\",\"380\"\r\n");
  Household house = Open();
  house.ingredients.readOnly = house.recipes.readOnly = house.diary.readOnly = house.lists.readOnly = true;
  for (View* view :
       std::initializer_list<View*>{&house.ingredients, &house.recipes, &house.diary, &house.lists}) {
    view->Import();
    view->RestoreBackup();
  }
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_TRUE(prompts_.requests.empty());
  EXPECT_EQ(house.ListedIngredients(), (std::vector<WString>{L"Bread", L"Flour", L"Milk", L"Rice", L"Salt"}));
}

}  // namespace
