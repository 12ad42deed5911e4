// The Recipes view beside a real Ingredients view in the view tests' host window: recipes made
// and changed through the real recipe editor, their linked ingredients, deletes, the catalog file,
// imports and exports through the real dialogs and scripted prompts.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <functional>

#include "ViewTestSupport.h"
#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/XMLDoc.h"
#include "views/IngredientList/IngredientList.h"
#include "views/RecipeList/ComponentInfo.h"
#include "views/RecipeList/RecipeEditor.h"
#include "views/RecipeList/RecipeList.h"
#include "support/LoopbackHttpServer.h"
#include "storage/Csv.h"

namespace {

using storage_test::ScriptedPrompts;
using storage_test::WriteFile;
using view_test::DialogScripts;
using view_test::Press;
using view_test::WindowText;

constexpr uint32_t kCalories = Nutrient::kCalories;

class OpenRecipeList : public RecipeList {
 public:
  using RecipeList::RecipeList;
  using View::exportAllData;
  using View::lastId;
  using View::modified;
  using View::selectedCategory;
  using View::workerMode;
  using View::workPath;
};

// A neighbour (the diary) that uses one food.
class UsingView : public TestView {
 public:
  using TestView::TestView;
  bool IsFoodUsed(uint32_t foodId) override { return foodId != 0 && foodId == used; }
  uint32_t used = 0;
};

// Items pointing at ingredients as a shopping list's do, known to the catalog while it lives.
struct HeldFoods : FoodReferences {
  HeldFoods(IngredientList& catalog, std::vector<Ingredient*> held)
      : catalog(catalog), foods(std::move(held)) {
    catalog.AddFoodReferences(this);
  }
  ~HeldFoods() { catalog.RemoveFoodReferences(this); }
  void VisitFoodPointers(const PointerVisitor& visit) override {
    for (Ingredient*& food : foods) visit(food);
  }
  IngredientList& catalog;
  std::vector<Ingredient*> foods;
};

// One line as the editor's Ingredients tab makes it: the quick-search text picks the first match.
struct LineChoice {
  WString search;
  uint32_t whole;
  uint32_t fortyEighths;
  ServingUnit unit;
};

struct RecipeChoice {
  WString name;
  int serves = 1;
  std::vector<LineChoice> lines;
  bool onList = false;
  WString category;  // empty: the editor's preset
};

void SelectData(HWND dialog, int id, LPARAM data) {
  const HWND combo = GetDlgItem(dialog, id);
  for (int i = 0; i < ComboBox_GetCount(combo); ++i) {
    if (ComboBox_GetItemData(combo, i) == data) ComboBox_SetCurSel(combo, i);
  }
}

void Notify(HWND dialog, int id, int code) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void AddLineIn(HWND dialog, const LineChoice& line) {
  SetDlgItemTextW(dialog, IDC_RECIPE_QUICK_SEARCH, line.search.c_str());  // refills the catalog list
  ListBox_SetCurSel(GetDlgItem(dialog, IDC_RECIPE_CATALOG), 0);
  SelectData(dialog, IDC_RECIPE_WHOLE, line.whole);
  SelectData(dialog, IDC_RECIPE_FRACTION, line.fortyEighths);
  SelectData(dialog, IDC_RECIPE_UNIT, line.unit);
  Press(dialog, IDC_RECIPE_ADD_LINE);
}

void FillEditor(HWND dialog, const RecipeChoice& recipe) {
  SetDlgItemTextW(dialog, IDC_RECIPE_NAME, recipe.name.c_str());
  SetDlgItemTextW(dialog, IDC_RECIPE_SERVES, std::to_wstring(recipe.serves).c_str());
  if (recipe.onList) CheckDlgButton(dialog, IDC_RECIPE_ON_LIST, BST_CHECKED);
  if (!recipe.category.empty())
    ComboBox_SelectString(GetDlgItem(dialog, IDC_RECIPE_CATEGORY), -1, recipe.category.c_str());
  for (const LineChoice& line : recipe.lines) AddLineIn(dialog, line);
}

WString ListBoxText(HWND dialog, int id, int row) {
  wchar_t text[256] = {};
  ListBox_GetText(GetDlgItem(dialog, id), row, text);
  return text;
}

WString FileText(const WString& path) {
  WString text;
  FileHandle(path).ReadAllText(text);
  return text;
}

class RecipeListTest : public view_test::ViewTest {
 protected:
  RecipeListTest() {
    view_.Hide();
    EXPECT_TRUE(ingredients_.Create(tabs_.Window(), 9922, 9923));
    ingredients_.OpenCatalog(folder_.Path() + L"Ingredients.xml", false, 0, 100, nullptr);
    EXPECT_TRUE(recipes_.Create(tabs_.Window(), 9920, 9921));
    recipes_.OpenCatalog(Catalog(), false, 0, 100, nullptr);
    recipes_.BuildColumns();
  }
  ~RecipeListTest() override {
    recipes_.WaitForBackgroundSaves();
    ingredients_.WaitForBackgroundSaves();
  }

  WString Catalog() const { return folder_.Path() + L"Recipes.xml"; }
  WString Exchange(const wchar_t* name) const { return folder_.Path() + name; }

  uint32_t RecipeCategory(const WString& name) {
    DataLockGuard lock;
    return recipes_.Categories()->AddNew(name, recipes_.lastId);
  }
  Ingredient* Food(const WString& name, double calories) {
    Ingredient record;
    record.name = name;
    record.size = 1;
    record.type = kUnitServing;
    record.nutrients[kCalories] = calories;
    return ingredients_.AddIngredient(record);
  }
  // Add Recipe with the editor filled from `choice` and confirmed; the new FOODID.
  uint32_t AddRecipe(const RecipeChoice& choice) {
    dialogs_.On(IDD_RECIPE_EDITOR, [&](HWND dialog) {
      FillEditor(dialog, choice);
      Press(dialog, IDOK);
    });
    return recipes_.AddItem(nullptr);
  }
  // A recipe made without the editor (each dialog costs seconds under Wine): the nutrition as the
  // editor's OK computes it, published as its linked ingredient as Add does.
  Recipe& Stored(const WString& name, int serves, const std::vector<std::pair<Ingredient*, double>>& servings,
                 uint32_t catId, bool onList = false) {
    auto recipe = std::make_unique<Recipe>();
    recipe->name = name;
    recipe->catId = catId;
    recipe->serves = serves;
    std::vector<RecipeLine> lines;
    for (const auto& [ingredient, amount] : servings) {
      RecipeLine line;
      line.amount = amount;
      line.unit = static_cast<int32_t>(kUnitServing);
      line.ingredient = ingredient;
      lines.push_back(line);
    }
    recipe->ComputeNutrition(lines, serves);
    Recipe& added = recipes_.AddForeignRecipe(std::move(recipe));
    const Ingredient& linked =
        ingredients_.UpsertLinkedIngredient(0, added, !onList, *recipes_.Categories()->NameById(catId));
    {
      DataLockGuard lock;
      added.ingredientId = static_cast<int32_t>(linked.foodId);
      recipes_.modified = true;
    }
    recipes_.SaveIfModified(false);
    return added;
  }
  void SelectOnly(uint32_t foodId) {
    recipes_.List().ClearSelection();
    recipes_.List().Select(recipes_.List().FindItem(static_cast<LPARAM>(foodId)));
  }
  // Edit Recipe on `foodId`, running `script` in the editor.
  void Edit(uint32_t foodId, DialogScripts::Script script) {
    SelectOnly(foodId);
    dialogs_.On(IDD_RECIPE_EDITOR, std::move(script));
    recipes_.EditItem(nullptr);
  }
  std::vector<WString> Names() const {
    std::vector<WString> names;
    for (int row = 0; row < recipes_.List().ItemCount(); ++row)
      names.push_back(recipes_.List().ItemText(row, 0));
    return names;
  }
  // Rereads the recipe file, as the next start of the program would.
  void Reopen() {
    recipes_.WaitForBackgroundSaves();
    recipes_.Clear();
    recipes_.OpenCatalog(Catalog(), false, 0, 100, nullptr);
    recipes_.FillList();
  }

  DialogScripts dialogs_;
  ScriptedPrompts prompts_;
  IngredientList ingredients_{app_, status_, toolbar_, options_};
  OpenRecipeList recipes_{app_, status_, toolbar_, options_, ingredients_};
};

// ---- the editor and the nutrition ----

TEST_F(RecipeListTest, ServesTwoWithTwoServingsOfAHundredCalorieIngredientStoresAHundredCalories) {
  RecipeCategory(L"Soups");
  const Ingredient* stock = Food(L"Stock", 100);
  const uint32_t id = AddRecipe({L"Broth", 2, {{L"Stock", 2, 0, kUnitServing}}});
  ASSERT_NE(id, 0u);
  const Recipe& broth = *recipes_.FindById(id);
  EXPECT_DOUBLE_EQ(broth.nutrients[kCalories], 100);
  EXPECT_EQ(broth.serves, 2);
  EXPECT_DOUBLE_EQ(broth.size, 1);
  ASSERT_EQ(broth.lines.size(), 1u);
  EXPECT_EQ(broth.lines[0].ingredient, stock);
  EXPECT_DOUBLE_EQ(broth.lines[0].amount, 2);
  EXPECT_EQ(Names(), (std::vector<WString>{L"Broth"}));

  // Published as a hidden ingredient of the same name and values, in a category named like its own.
  const Ingredient* linked = ingredients_.FindById(static_cast<uint32_t>(broth.ingredientId));
  ASSERT_NE(linked, nullptr);
  EXPECT_TRUE(linked->hidden);
  EXPECT_EQ(linked->name, L"Broth");
  EXPECT_DOUBLE_EQ(linked->nutrients[kCalories], 100);
  EXPECT_EQ(linked->catId, ingredients_.Categories().IdByName(L"Soups"));

  const auto linkedId = broth.ingredientId;  // the reopen frees the record
  Reopen();
  ASSERT_EQ(recipes_.Records().size(), 1u);
  const Recipe& read = *recipes_.Records()[0];
  EXPECT_EQ(read.foodId, id);
  EXPECT_EQ(read.ingredientId, linkedId);
  ASSERT_EQ(read.lines.size(), 1u);
  EXPECT_EQ(read.lines[0].ingredient, stock);
  EXPECT_DOUBLE_EQ(read.nutrients[kCalories], 100);
}

TEST_F(RecipeListTest, EditorLinesTakeFractionsTheirOwnTextsAndOrderAndAnEmptyRecipeIsRefused) {
  RecipeCategory(L"Bread");
  Food(L"Flour", 364);
  Food(L"Water", 0);
  prompts_.answers = {Prompt::kAnswerOk};
  WString updatedRow, waterRow;
  bool changeShownWithoutSelection = true;
  dialogs_.On(IDD_RECIPE_EDITOR, [&](HWND dialog) {
    Press(dialog, IDOK);  // no line yet: the message, and the dialog stays
    SetDlgItemTextW(dialog, IDC_RECIPE_NAME, L"Loaf");
    TabCtrl_SetCurSel(GetDlgItem(dialog, IDC_RECIPE_TABS), 1);
    NMHDR change = {GetDlgItem(dialog, IDC_RECIPE_TABS), IDC_RECIPE_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog, WM_NOTIFY, IDC_RECIPE_TABS, reinterpret_cast<LPARAM>(&change));
    changeShownWithoutSelection = IsWindowVisible(GetDlgItem(dialog, IDC_RECIPE_CHANGE));
    AddLineIn(dialog, {L"Flour", 1, 24, kUnitCup});
    AddLineIn(dialog, {L"Water", 0, 0, kUnitCup});  // amount 0: nothing
    AddLineIn(dialog, {L"Water", 2, 0, kUnitCup});
    ListBox_SetCurSel(GetDlgItem(dialog, IDC_RECIPE_LINES), 0);
    Notify(dialog, IDC_RECIPE_LINES, LBN_SELCHANGE);
    SetDlgItemTextW(dialog, IDC_RECIPE_LINE_TEXT, L"flour, sifted");
    Press(dialog, IDC_RECIPE_UPDATE);
    updatedRow = ListBoxText(dialog, IDC_RECIPE_LINES, 0);
    Press(dialog, IDC_RECIPE_DOWN);  // flour below water
    ListBox_SetCurSel(GetDlgItem(dialog, IDC_RECIPE_LINES), 0);
    Notify(dialog, IDC_RECIPE_LINES, LBN_SELCHANGE);
    SetDlgItemTextW(dialog, IDC_RECIPE_LINE_TEXT, L"");
    Press(dialog, IDC_RECIPE_UPDATE);  // an empty text shows amount, unit and name again
    waterRow = ListBoxText(dialog, IDC_RECIPE_LINES, 0);
    Press(dialog, IDOK);
  });
  const uint32_t id = recipes_.AddItem(nullptr);
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"Please select at least one ingredient for this recipe.");
  EXPECT_FALSE(changeShownWithoutSelection);
  EXPECT_EQ(updatedRow, L"flour, sifted");
  const Recipe* loaf = recipes_.FindById(id);
  ASSERT_NE(loaf, nullptr);
  ASSERT_EQ(loaf->lines.size(), 2u);
  EXPECT_EQ(loaf->lines[0].ingredient->name, L"Water");
  EXPECT_TRUE(loaf->lines[0].displayName.empty());
  EXPECT_EQ(waterRow, RecipeEditor::LineText(loaf->lines[0]));
  EXPECT_NE(waterRow.find(L"Water"), WString::npos);
  EXPECT_DOUBLE_EQ(loaf->lines[1].amount, 1.5);
  EXPECT_EQ(loaf->lines[1].unit, static_cast<int32_t>(kUnitCup));
  EXPECT_EQ(loaf->lines[1].displayName, L"flour, sifted");
}

// The tool tip window the editor owns, found among the thread's windows.
HWND OwnedTooltip(HWND dialog) {
  struct Search {
    HWND dialog, found;
  } search{dialog, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM arg) {
        auto* s = reinterpret_cast<Search*>(arg);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (GetWindow(window, GW_OWNER) == s->dialog && _wcsicmp(name, TOOLTIPS_CLASSW) == 0)
          s->found = window;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(RecipeListTest, NewIngredientRunsTheIngredientEditorAndOffersTheNewIngredient) {
  RecipeCategory(L"Soups");
  uint32_t basics;
  {
    DataLockGuard lock;
    basics = ingredients_.Categories().AddNew(L"Basics", ingredients_.IdCounter());
  }
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_EDITOR_NAME, L"Leek");
    SelectData(dialog, IDC_EDITOR_CATEGORY, basics);
    SelectData(dialog, IDC_EDITOR_WHOLE, 1);
    SelectData(dialog, IDC_EDITOR_UNIT, kUnitOunce);
    Press(dialog, IDOK);
  });
  WString offered, tip;
  LRESULT tools = 0;
  dialogs_.On(IDD_RECIPE_EDITOR, [&](HWND dialog) {
    const HWND tooltip = OwnedTooltip(dialog);
    tools = SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0);
    wchar_t text[128] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, IDC_RECIPE_REMOVE_LINE));
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    tip = text;
    SetDlgItemTextW(dialog, IDC_RECIPE_NAME, L"Leek soup");
    Press(dialog, IDC_RECIPE_NEW_INGREDIENT);
    const HWND catalog = GetDlgItem(dialog, IDC_RECIPE_CATALOG);
    offered = ListBoxText(dialog, IDC_RECIPE_CATALOG, ListBox_GetCurSel(catalog));
    SelectData(dialog, IDC_RECIPE_WHOLE, 3);
    Press(dialog, IDC_RECIPE_ADD_LINE);
    Press(dialog, IDOK);
  });
  const uint32_t id = recipes_.AddItem(nullptr);
  EXPECT_EQ(tools, 7);
  EXPECT_EQ(tip, L"Remove selected ingredient from the list of ingredients");
  EXPECT_EQ(offered, L"Leek");
  const Recipe* soup = recipes_.FindById(id);
  ASSERT_NE(soup, nullptr);
  ASSERT_EQ(soup->lines.size(), 1u);
  EXPECT_EQ(soup->lines[0].ingredient->name, L"Leek");
  EXPECT_DOUBLE_EQ(soup->lines[0].amount, 3);
}

TEST_F(RecipeListTest, EditingKeepsAVisibleLinkedIngredientTickedAndDisabled) {
  const uint32_t sauces = RecipeCategory(L"Sauces");
  const uint32_t id = Stored(L"Pesto", 4, {{Food(L"Basil", 20), 1}}, sauces, true).foodId;
  const auto linkId = static_cast<uint32_t>(recipes_.FindById(id)->ingredientId);
  ASSERT_NE(ingredients_.FindById(linkId), nullptr);
  EXPECT_FALSE(ingredients_.FindById(linkId)->hidden);

  {
    Reopen();  // the in-memory state starts unticked after a load
    bool ticked = false, enabled = true;
    WString caption;
    int hours = 0, minutes = 0;
    Edit(id, [&](HWND dialog) {
      hours = ComboBox_GetCount(GetDlgItem(dialog, IDC_RECIPE_PREP_HOURS));
      minutes = ComboBox_GetCount(GetDlgItem(dialog, IDC_RECIPE_COOK_MINUTES));
      ticked = IsDlgButtonChecked(dialog, IDC_RECIPE_ON_LIST) == BST_CHECKED;
      enabled = IsWindowEnabled(GetDlgItem(dialog, IDC_RECIPE_ON_LIST));
      caption = WindowText(dialog);
      Press(dialog, IDOK);
    });
    EXPECT_TRUE(ticked);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(caption, L"Edit Recipe");
    EXPECT_EQ(hours, 48);
    EXPECT_EQ(minutes, 60);
    EXPECT_EQ(static_cast<uint32_t>(recipes_.FindById(id)->ingredientId), linkId);
    EXPECT_FALSE(ingredients_.FindById(linkId)->hidden);
  }
}

TEST_F(RecipeListTest, EditingNeverUpdatesAnotherFoodThatTookTheLinkedIngredientsId) {
  const uint32_t sauces = RecipeCategory(L"Sauces");
  const uint32_t id = Stored(L"Pesto", 4, {{Food(L"Basil", 20), 1}}, sauces, true).foodId;
  const auto linkId = static_cast<uint32_t>(recipes_.FindById(id)->ingredientId);
  ingredients_.FindById(linkId)->name = L"Banana";  // as a replacing import may leave it
  Edit(id, [](HWND dialog) { Press(dialog, IDOK); });
  EXPECT_EQ(ingredients_.FindById(linkId)->name, L"Banana");
  const auto newLink = static_cast<uint32_t>(recipes_.FindById(id)->ingredientId);
  EXPECT_NE(newLink, linkId);
  EXPECT_EQ(ingredients_.FindById(newLink)->name, L"Pesto");
}

TEST_F(RecipeListTest, ARecipeServesAsAnIngredientOfAnotherWithItsStoredValues) {
  RecipeCategory(L"Sauces");
  Food(L"Tomato", 20);
  const uint32_t sauce = AddRecipe({L"Sauce", 1, {{L"Tomato", 5, 0, kUnitServing}}, true});
  const uint32_t pizza = AddRecipe({L"Pizza", 2, {{L"Sauce", 4, 0, kUnitServing}}});
  const Recipe& outer = *recipes_.FindById(pizza);
  EXPECT_DOUBLE_EQ(recipes_.FindById(sauce)->nutrients[kCalories], 100);
  EXPECT_DOUBLE_EQ(outer.nutrients[kCalories], 200);
  ASSERT_EQ(outer.lines.size(), 1u);
  const auto sauceLink = static_cast<uint32_t>(recipes_.FindById(sauce)->ingredientId);
  EXPECT_EQ(outer.lines[0].ingredient->foodId, sauceLink);
  EXPECT_TRUE(recipes_.IsFoodUsed(sauceLink));

  // Deleting the inner recipe leaves its visible ingredient, and so the outer recipe's line.
  SelectOnly(sauce);
  prompts_.answers = {Prompt::kAnswerYes};
  recipes_.DeleteItem(nullptr, nullptr);
  EXPECT_EQ(recipes_.FindById(sauce), nullptr);
  ASSERT_NE(ingredients_.FindById(sauceLink), nullptr);
  Reopen();
  ASSERT_EQ(recipes_.Records().size(), 1u);
  ASSERT_EQ(recipes_.Records()[0]->lines.size(), 1u);
  EXPECT_EQ(recipes_.Records()[0]->lines[0].ingredient->foodId, sauceLink);
}

TEST_F(RecipeListTest, AShoppingListExpandsTheRecipeItsFoodIsNamedAfterExactly) {
  RecipeCategory(L"Sauces");
  Food(L"Tomato", 20);
  const uint32_t sauce = AddRecipe({L"Sauce", 1, {{L"Tomato", 5, 0, kUnitServing}}, true});
  const RecipeLookup& lookup = recipes_;
  EXPECT_EQ(lookup.FindRecipeNamed(L"Sauce"), recipes_.FindById(sauce));
  EXPECT_EQ(lookup.FindRecipeNamed(L"sauce"), nullptr);

  std::vector<MealItem> lines;
  Ingredient& linked = *ingredients_.FindById(static_cast<uint32_t>(recipes_.FindById(sauce)->ingredientId));
  AddToShoppingLines(lines, linked, kUnitServing, 1, &lookup);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].food->name, L"Tomato");
}

TEST_F(RecipeListTest, ComponentInformationShowsEachLinesWholeContribution) {
  const uint32_t id = Stored(L"Broth", 4, {{Food(L"Stock", 100), 2}}, RecipeCategory(L"Soups")).foodId;
  SelectOnly(id);
  WString title, calories;
  int rows = 0;
  dialogs_.On(IDD_COMPONENT_INFO, [&](HWND dialog) {
    title = WindowText(dialog);
    const HWND list = GetDlgItem(dialog, IDC_COMPONENT_LIST);
    rows = ListView_GetItemCount(list);
    wchar_t text[64] = {};
    ListView_GetItemText(list, 0, 1, text, 64);
    calories = text;
    Press(dialog, IDOK);
  });
  recipes_.ShowComponentInfo();
  EXPECT_EQ(title, L"Broth");
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(calories, L"200.00");  // not divided by the four servings
}

TEST_F(RecipeListTest, NutritionAndPrintOpenTheirDialogsOverTheSelectedRecipe) {
  const uint32_t id = Stored(L"Broth", 4, {{Food(L"Stock", 100), 2}}, RecipeCategory(L"Soups")).foodId;
  SelectOnly(id);
  WString shownName;
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    shownName = WindowText(GetDlgItem(dialog, IDC_EDITOR_NAME));
    Press(dialog, IDC_EDITOR_DONE);
  });
  recipes_.ShowNutrition();
  EXPECT_EQ(shownName, L"Broth");
  // While the print dialog waits for the user, a save on another thread can take the data lock.
  bool lockFree = false;
  dialogs_.On(IDD_PRINT, [&lockFree](HWND dialog) {
    HANDLE saver = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
          DataLockGuard lock;
          return 0;
        },
        nullptr, 0, nullptr);
    lockFree = WaitForSingleObject(saver, 2000) == WAIT_OBJECT_0;
    Press(dialog, IDCANCEL);
    WaitForSingleObject(saver, INFINITE);
    CloseHandle(saver);
  });
  recipes_.Print(options_);
  EXPECT_EQ(dialogs_.Opened(IDD_PRINT), 1);
  EXPECT_TRUE(lockFree);
}

TEST_F(RecipeListTest, PictureTabTakesTheChosenFileIntoTheImagesFolder) {
  RecipeCategory(L"Soups");
  Food(L"Stock", 100);
  WriteFile(Exchange(L"broth.png"), "picture");
  prompts_.chosenPaths = {Exchange(L"broth.png")};
  prompts_.answers = {Prompt::kAnswerNo};
  WString chosen, afterNo, title;
  dialogs_.On(IDD_RECIPE_EDITOR, [&](HWND dialog) {
    FillEditor(dialog, {L"Broth", 2, {{L"Stock", 2, 0, kUnitServing}}});
    Press(dialog, IDC_RECIPE_BROWSE);
    chosen = WindowText(GetDlgItem(dialog, IDC_RECIPE_PICTURE_PATH));
    Press(dialog, IDC_RECIPE_CLEAR);  // answered No: the picture stays
    afterNo = WindowText(GetDlgItem(dialog, IDC_RECIPE_PICTURE_PATH));
    Press(dialog, IDOK);
  });
  const uint32_t id = recipes_.AddItem(nullptr);
  ASSERT_EQ(prompts_.requests.size(), 1u);
  EXPECT_EQ(prompts_.requests[0].title, L"Select a picture");
  EXPECT_EQ(prompts_.requests[0].initialPath, L"C:\\");
  EXPECT_EQ(prompts_.questions[0].text, L"Are you sure you want to remove this image?");
  EXPECT_EQ(chosen, Exchange(L"broth.png"));
  EXPECT_EQ(afterNo, chosen);
  EXPECT_EQ(recipes_.FindById(id)->picture, L"broth.png");
  EXPECT_EQ(storage_test::ReadFile(folder_.Path() + L"Images\\broth.png"), "picture");
}

// ---- copy, delete, move, menus ----

// The copy takes the original's editor state: unticked after a load, whatever the original's own
// linked ingredient shows, and ticked once the editor confirmed it ticked.
TEST_F(RecipeListTest, CopyGetsALinkedIngredientOfItsOwnAndTheOriginalsEditorState) {
  const uint32_t soups = RecipeCategory(L"Soups");
  const uint32_t id = Stored(L"Broth", 2, {{Food(L"Stock", 100), 2}}, soups, true).foodId;
  Reopen();
  dialogs_.On(IDD_INPUT_BOX, [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_INPUT_TEXT, L"Strong broth");
    Press(dialog, IDOK);
  });
  for (const bool ticked : {false, true}) {
    recipes_.FindById(id)->notOnIngredientList = !ticked;
    SelectOnly(id);
    recipes_.CopyItem();
    const Recipe& original = *recipes_.FindById(id);
    const Recipe& copy = *recipes_.Records().back();
    EXPECT_EQ(copy.name, L"Strong broth");
    EXPECT_GT(copy.foodId, original.foodId);
    EXPECT_NE(copy.ingredientId, original.ingredientId);
    const Ingredient* linked = ingredients_.FindById(static_cast<uint32_t>(copy.ingredientId));
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(linked->name, L"Strong broth");
    EXPECT_EQ(linked->hidden, !ticked);
    EXPECT_EQ(copy.notOnIngredientList, !ticked);
  }
  EXPECT_EQ(Names(), (std::vector<WString>{L"Broth", L"Strong broth", L"Strong broth"}));
}

// Moved rows stay while the list shows every category (deselected) or the target one, and leave a
// list that shows another.
TEST_F(RecipeListTest, MoveKeepsARowOnlyWhereTheListStillShowsIt) {
  const uint32_t soups = RecipeCategory(L"Soups");
  const uint32_t mains = RecipeCategory(L"Mains");
  dialogs_.On(IDD_CATEGORY, [](HWND dialog) {
    ComboBox_SelectString(GetDlgItem(dialog, IDC_CATEGORY_COMBO), -1, L"Mains");
    Press(dialog, IDOK);
  });
  struct Case {
    uint32_t shown;
    bool stays;
    int selected;
  };
  for (const Case& c : {Case{0, true, 0}, Case{soups, false, 0}, Case{mains, true, 1}}) {
    const uint32_t id = Stored(L"Broth", 1, {}, c.shown == mains ? mains : soups).foodId;
    recipes_.selectedCategory = c.shown;
    recipes_.FillList();
    SelectOnly(id);
    recipes_.MoveToCategory();
    EXPECT_EQ(recipes_.FindById(id)->catId, mains);
    EXPECT_EQ(recipes_.List().FindItem(static_cast<LPARAM>(id)) >= 0, c.stays) << c.shown;
    EXPECT_EQ(recipes_.List().SelectedCount(), c.selected) << c.shown;
  }
}

TEST_F(RecipeListTest, DeleteKeepsWhatTheDiaryUsesAndHiddenIngredientsOthersStillHold) {
  const uint32_t mains = RecipeCategory(L"Mains");
  Ingredient* rice = Food(L"Rice", 130);
  const uint32_t eaten = Stored(L"Eaten", 1, {{rice, 1}}, mains).foodId;
  const uint32_t listed = Stored(L"Listed", 1, {{rice, 1}}, mains).foodId;
  const uint32_t plain = Stored(L"Plain", 1, {{rice, 1}}, mains).foodId;
  const auto link = [this](uint32_t id) {
    return static_cast<uint32_t>(recipes_.FindById(id)->ingredientId);
  };
  const uint32_t eatenLink = link(eaten), listedLink = link(listed), plainLink = link(plain);
  UsingView diary{app_, status_, toolbar_, options_};
  diary.used = eatenLink;
  HeldFoods shopLists(ingredients_, {ingredients_.FindById(listedLink)});
  recipes_.List().SelectAll();
  prompts_.answers = {Prompt::kAnswerYes};
  recipes_.DeleteItem(nullptr, &diary);
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"Would you like to delete the selected recipes?");
  EXPECT_EQ(prompts_.questions[0].caption, L"Mirepan");
  EXPECT_EQ(Names(), (std::vector<WString>{L"Eaten"}));
  EXPECT_EQ(recipes_.List().SelectedCount(), 0);
  EXPECT_NE(ingredients_.FindById(eatenLink), nullptr);
  ASSERT_NE(ingredients_.FindById(listedLink), nullptr);  // the shopping list still holds it
  EXPECT_TRUE(ingredients_.FindById(listedLink)->hidden);
  EXPECT_EQ(ingredients_.FindById(plainLink), nullptr);
}

TEST_F(RecipeListTest, MenuFollowsTheSelectionCount) {
  const auto enabled = [this](UINT command) {
    return !(GetMenuState(recipes_.Menu(), command, MF_BYCOMMAND) & MF_GRAYED);
  };
  recipes_.UpdateMenu(recipes_.Menu());
  EXPECT_FALSE(enabled(RecipeList::kAddRecipe));  // no category yet
  const uint32_t mains = RecipeCategory(L"Mains");
  Ingredient* rice = Food(L"Rice", 130);
  Stored(L"One", 1, {{rice, 1}}, mains);
  Stored(L"Two", 1, {{rice, 1}}, mains);
  recipes_.List().ClearSelection();
  recipes_.UpdateMenu(recipes_.Menu());
  EXPECT_TRUE(enabled(RecipeList::kAddRecipe));
  for (UINT command : {1801u, 1802u, 1803u, 1804u, 1805u, 1205u, 1210u})
    EXPECT_FALSE(enabled(command)) << command;
  recipes_.List().Select(0);
  recipes_.UpdateMenu(recipes_.Menu());
  for (UINT command : {1800u, 1801u, 1802u, 1803u, 1804u, 1805u, 1205u, 1210u})
    EXPECT_TRUE(enabled(command)) << command;
  recipes_.List().SelectAll();
  recipes_.UpdateMenu(recipes_.Menu());
  for (UINT command : {1803u, 1805u}) EXPECT_TRUE(enabled(command)) << command;
  for (UINT command : {1801u, 1802u, 1804u, 1205u, 1210u}) EXPECT_FALSE(enabled(command)) << command;
  EXPECT_FALSE(enabled(1208));  // no backup
}

TEST_F(RecipeListTest, SearchSelectsTheChosenIngredientWithoutListingItTwice) {
  RecipeCategory(L"Soups");
  Food(L"Rice", 130);
  int listed = 0;
  WString selected;
  dialogs_.On(IDD_FIND_INGREDIENT, [](HWND find) {
    ListBox_SetCurSel(GetDlgItem(find, IDC_FIND_RESULTS), 0);
    Press(find, IDOK);
  });
  dialogs_.On(IDD_RECIPE_EDITOR, [&](HWND dialog) {
    TabCtrl_SetCurSel(GetDlgItem(dialog, IDC_RECIPE_TABS), 1);
    NMHDR change = {GetDlgItem(dialog, IDC_RECIPE_TABS), IDC_RECIPE_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog, WM_NOTIFY, IDC_RECIPE_TABS, reinterpret_cast<LPARAM>(&change));
    SetDlgItemTextW(dialog, IDC_RECIPE_QUICK_SEARCH, L"ric");  // the quick search lists Rice
    Press(dialog, IDC_RECIPE_SEARCH);                          // Find Ingredient chooses it
    const HWND catalog = GetDlgItem(dialog, IDC_RECIPE_CATALOG);
    listed = ListBox_GetCount(catalog);
    selected = ListBoxText(dialog, IDC_RECIPE_CATALOG, ListBox_GetCurSel(catalog));
    Press(dialog, IDCANCEL);
  });
  recipes_.AddItem(nullptr);
  EXPECT_EQ(dialogs_.Opened(IDD_FIND_INGREDIENT), 1);
  EXPECT_EQ(listed, 1);
  EXPECT_EQ(selected, L"Rice");
}

TEST_F(RecipeListTest, TheFirstCategoryEnablesTheAddRecipeButton) {
  toolbar_.RegisterButton(15, RecipeList::kAddRecipe, false);
  toolbar_.Arrange({0, 1, 2, 15});
  recipes_.UpdateToolbar();
  EXPECT_FALSE(toolbar_.IsButtonEnabled(RecipeList::kAddRecipe));
  dialogs_.On(IDD_CATEGORY, [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_CATEGORY_EDIT, L"Soups");
    Press(dialog, IDOK);
  });
  recipes_.AddCategory();
  EXPECT_TRUE(toolbar_.IsButtonEnabled(RecipeList::kAddRecipe));
}

TEST_F(RecipeListTest, DownloadAndUploadStandInTheFileMenuAndThePopUp) {
  for (int menuId : {IDM_MAIN_RECIPES, IDM_POPUP_RECIPES}) {
    const HMENU menu = app_.LoadMenuResource(menuId);
    const HMENU items = GetSubMenu(menu, 0);  // the File menu; the pop-up itself
    recipes_.List().ClearSelection();
    recipes_.UpdateMenu(items);
    EXPECT_EQ(GetMenuState(items, RecipeList::kDownload, MF_BYCOMMAND), static_cast<UINT>(MF_ENABLED))
        << menuId;
    EXPECT_EQ(GetMenuState(items, RecipeList::kUpload, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED)) << menuId;
    DestroyMenu(menu);
  }
}

// ---- the catalog file and the exchange files ----

std::string RecipesFile(size_t count) {
  std::string text = "<RECIPELIST>\n<RECIPES>\n";
  for (size_t i = 1; i <= count; ++i)
    text += "<RECIPE>\n<FOOD>\n<FOODID>" + std::to_string(i) + "</FOODID>\n<FOODNAME>Dish " +
            std::to_string(i) + "</FOODNAME>\n</FOOD>\n</RECIPE>\n";
  return text + "</RECIPES>\n</RECIPELIST>\n";
}

TEST_F(RecipeListTest, TwoHundredFiftyRecipesFillAtOnceAndTwoHundredFiftyOneBehindTheProgressWindow) {
  WriteFile(Catalog(), RecipesFile(250));
  Reopen();
  EXPECT_EQ(dialogs_.Opened(IDD_PROGRESS), 0);
  EXPECT_EQ(recipes_.List().ItemCount(), 250);
  WriteFile(Catalog(), RecipesFile(251));
  Reopen();
  EXPECT_EQ(dialogs_.Opened(IDD_PROGRESS), 1);
  EXPECT_EQ(recipes_.List().ItemCount(), 251);
  EXPECT_EQ(recipes_.lastId, 251u);
}

TEST_F(RecipeListTest, ImportWithNoRenumbersAboveTheHighestIdAndDropsTheForeignLink) {
  Ingredient* stock = Food(L"Stock", 100);
  Stored(L"Broth", 2, {{stock, 2}}, RecipeCategory(L"Soups"));
  const Ingredient* unrelated = Food(L"Unrelated", 5);
  const uint32_t highest = recipes_.lastId;
  const std::string file =
      "<RECIPELIST>\n<RECIPES>\n<RECIPE>\n<INGREDIENTLIST>\n<INGREDIENT>\n<AMOUNT>1</AMOUNT>\n<TYPE>0</"
      "TYPE>\n"
      "<ID>" +
      std::to_string(stock->foodId) + "</ID>\n</INGREDIENT>\n</INGREDIENTLIST>\n<INGREDIENTID>" +
      std::to_string(unrelated->foodId) +
      "</INGREDIENTID>\n<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Gumbo"
      "</FOODNAME>\n</FOOD>\n</RECIPE>\n</RECIPES>\n</RECIPELIST>\n";
  WriteFile(Exchange(L"in.xml"), file);
  prompts_.chosenPaths = {Exchange(L"in.xml")};
  prompts_.answers = {Prompt::kAnswerNo};
  recipes_.Import();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text.substr(0, 36), L"Import a recipe catalog. Do you want");
  EXPECT_EQ(prompts_.requests[0].title, L"Select a recipe file to import");
  ASSERT_EQ(recipes_.Records().size(), 2u);
  const Recipe& gumbo = *recipes_.Records()[1];
  EXPECT_EQ(gumbo.name, L"Gumbo");
  EXPECT_EQ(gumbo.foodId, highest + 1);
  EXPECT_EQ(gumbo.ingredientId, 0);
  EXPECT_EQ(Names(), (std::vector<WString>{L"Broth", L"Gumbo"}));

  // Its first confirmed edit publishes an ingredient of its own; the unrelated one stays as it was.
  Edit(gumbo.foodId, [](HWND dialog) { Press(dialog, IDOK); });
  EXPECT_NE(static_cast<uint32_t>(gumbo.ingredientId), unrelated->foodId);
  EXPECT_EQ(unrelated->name, L"Unrelated");
  EXPECT_DOUBLE_EQ(unrelated->nutrients[kCalories], 5);

  prompts_.chosenPaths = {Exchange(L"in.xml")};
  prompts_.answers = {Prompt::kAnswerYes};
  recipes_.Import();
  EXPECT_EQ(Names(), (std::vector<WString>{L"Gumbo"}));
}

TEST_F(RecipeListTest, ExportingOneCategoryLeavesTheCatalogFileComplete) {
  const uint32_t breads = RecipeCategory(L"Breads");
  Stored(L"Broth", 2, {{Food(L"Stock", 100), 2}}, RecipeCategory(L"Soups"));
  Stored(L"Rye", 1, {{Food(L"Rye flour", 330), 3}}, breads);
  recipes_.WaitForBackgroundSaves();
  bool offered = false;
  WString caption;
  dialogs_.On(IDD_INGREDIENT_EXPORT, [&](HWND dialog) {
    caption = WindowText(dialog);
    offered = IsWindowVisible(GetDlgItem(dialog, IDC_EXPORT_INGREDIENTS)) != FALSE;
    SetDlgItemTextW(dialog, IDC_INGREDIENT_EXPORT_PATH, Exchange(L"soups.xml").c_str());
    ComboBox_SelectString(GetDlgItem(dialog, IDC_INGREDIENT_EXPORT_CATEGORY), -1, L"Soups");
    CheckDlgButton(dialog, IDC_EXPORT_INGREDIENTS, BST_CHECKED);
    Press(dialog, IDOK);
  });
  recipes_.Export();
  EXPECT_EQ(caption, L"Export Recipes");
  EXPECT_TRUE(offered);
  const WString exported = FileText(Exchange(L"soups.xml"));
  EXPECT_NE(exported.find(L"Broth"), WString::npos);
  EXPECT_EQ(exported.find(L"Rye"), WString::npos);
  EXPECT_NE(exported.find(L"<FOODNAME>Stock</FOODNAME>"), WString::npos);  // the ingredient went along
  EXPECT_EQ(recipes_.CatalogPath(), Catalog());
  WString offeredPath;
  dialogs_.On(IDD_INGREDIENT_EXPORT, [&](HWND dialog) {
    offeredPath = WindowText(GetDlgItem(dialog, IDC_INGREDIENT_EXPORT_PATH));
    Press(dialog, IDCANCEL);
  });
  recipes_.Export();
  EXPECT_EQ(offeredPath, Exchange(L"soups.xml"));

  // The next change rewrites the catalog file with every recipe.
  Stored(L"Spelt", 1, {}, breads);
  Reopen();
  EXPECT_EQ(Names(), (std::vector<WString>{L"Broth", L"Rye", L"Spelt"}));
}

TEST_F(RecipeListTest, CsvExportReadsBackTimesServesAndIngredientLines) {
  Ingredient* stock = Food(L"Stock", 100);
  Recipe& broth = Stored(L"Broth \"clear\"", 2, {{stock, 1.5}}, RecipeCategory(L"Soups"));
  broth.cookHours = 1;
  broth.cookMinutes = 30;
  broth.prepMinutes = 45;
  broth.instructions = L"Simmer \"slowly\".";
  recipes_.WaitForBackgroundSaves();
  recipes_.exportAllData = true;
  recipes_.workerMode = true;
  recipes_.workPath = Exchange(L"out.csv");
  ASSERT_TRUE(recipes_.Save());
  recipes_.workerMode = false;

  recipes_.Clear();
  recipes_.workerMode = true;
  recipes_.workPath = Exchange(L"out.csv");
  recipes_.Load(nullptr, 0, 100);
  recipes_.workerMode = false;
  recipes_.workPath = Catalog();
  ASSERT_EQ(recipes_.Records().size(), 1u);
  const Recipe& read = *recipes_.Records()[0];
  EXPECT_EQ(read.name, L"Broth \"clear\"");
  EXPECT_EQ(read.cookHours, 1);
  EXPECT_EQ(read.cookMinutes, 30);
  EXPECT_EQ(read.prepHours, 0);
  EXPECT_EQ(read.prepMinutes, 45);
  EXPECT_EQ(read.serves, 2);
  EXPECT_EQ(read.instructions, L"Simmer \u00B4slowly\u00B4.");
  EXPECT_DOUBLE_EQ(read.nutrients[kCalories], 75);
  EXPECT_EQ(read.ingredientId, 0);
  ASSERT_EQ(read.lines.size(), 1u);
  EXPECT_EQ(read.lines[0].ingredient, stock);
  EXPECT_DOUBLE_EQ(read.lines[0].amount, 1.5);
}

TEST_F(RecipeListTest, AnEmptiedIngredientCatalogLeavesTheRecipeLinesReadable) {
  Ingredient* stock = Food(L"Stock", 100);
  const uint32_t stockId = stock->foodId;
  Stored(L"Broth", 2, {{stock, 2}}, RecipeCategory(L"Soups"));
  recipes_.WaitForBackgroundSaves();
  ingredients_.WaitForBackgroundSaves();
  ingredients_.Clear();  // as an ingredient import that replaces the catalog does
  ASSERT_TRUE(recipes_.Save());
  EXPECT_NE(FileText(Catalog()).find(L"<ID>" + std::to_wstring(stockId) + L"</ID>"), WString::npos);

  // The restored catalog's record of the same id takes the line over at the next edit.
  ingredients_.OpenCatalog(folder_.Path() + L"Ingredients.xml", false, 0, 100, nullptr);
  const Ingredient* restored = ingredients_.FindById(stockId);
  ASSERT_NE(restored, nullptr);
  recipes_.FillList();
  Edit(recipes_.Records()[0]->foodId, [](HWND dialog) { Press(dialog, IDOK); });
  EXPECT_EQ(recipes_.Records()[0]->lines[0].ingredient, restored);
}

TEST_F(RecipeListTest, RestoreKeepsTheLinksOfTheBackup) {
  const uint32_t soups = RecipeCategory(L"Soups");
  Ingredient* stock = Food(L"Stock", 100);
  const int32_t link = Stored(L"Broth", 2, {{stock, 2}}, soups).ingredientId;
  recipes_.WaitForBackgroundSaves();
  ASSERT_TRUE(CopyFileTo(Catalog(), recipes_.BackupPath()));
  Stored(L"Later", 1, {{stock, 1}}, soups);
  prompts_.answers = {Prompt::kAnswerYes};
  recipes_.RestoreBackup();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text.substr(0, 46), L"You are about to restore your last saved recip");
  ASSERT_EQ(recipes_.Records().size(), 1u);
  EXPECT_EQ(recipes_.Records()[0]->ingredientId, link);
  EXPECT_EQ(Names(), (std::vector<WString>{L"Broth"}));
}

}  // namespace

// ---- recipes from web pages and MealMaster files ----

namespace {

// A page as recipe sites publish it: the recipe in a JSON-LD @graph beside the page's own data.
const char kSoupPage[] = R"(<!DOCTYPE html><html><head><title>Leek soup | A blog</title>
<script type="application/ld+json">{"@context":"https://schema.org","@graph":[
 {"@type":"WebPage","name":"Leek soup"},
 {"@type":["Recipe"],"name":"Leek &amp; Stock Soup","recipeYield":["4","4 servings"],"prepTime":"PT15M",
  "cookTime":"PT1H10M","recipeCategory":"Soups","image":{"@type":"ImageObject","url":"/img/soup.jpg"},
  "recipeIngredient":["2 cups stock","3 leeks, sliced","1 pinch of saffron","For the topping:"],
  "recipeInstructions":[{"@type":"HowToStep","text":"Slice the leeks."},{"@type":"HowToStep","text":"Simmer."}]}]}
</script></head><body><h1>Leek soup</h1></body></html>)";

}  // namespace

class WebImportTest : public RecipeListTest {
 protected:
  Ingredient* FoodIn(const WString& name, double calories, ServingUnit unit) {
    Ingredient* food = Food(name, calories);
    DataLockGuard lock;
    food->type = unit;
    return food;
  }
  // Import from Web Page with `address` typed, the review confirmed as it comes; the review's rows.
  std::vector<std::vector<WString>> Import(const WString& address,
                                           std::function<void(HWND)> review = nullptr) {
    std::vector<std::vector<WString>> rows;
    dialogs_.On(IDD_WEB_ADDRESS, [address](HWND dialog) {
      SetDlgItemTextW(dialog, IDC_WEB_ADDRESS, address.c_str());
      Press(dialog, IDOK);
    });
    dialogs_.On(IDD_RECIPE_REVIEW, [&rows, review](HWND dialog) {
      const HWND list = GetDlgItem(dialog, IDC_REVIEW_LINES);
      for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        rows.emplace_back();
        for (int column = 0; column < 4; ++column) {
          wchar_t text[256] = {};
          ListView_GetItemText(list, row, column, text, 256);
          rows.back().push_back(text);
        }
      }
      if (review) review(dialog);
      Press(dialog, IDOK);
    });
    recipes_.ImportFromWebPage();
    return rows;
  }
  LoopbackHttpServer server_;
};

TEST_F(WebImportTest, APagesRecipeArrivesWithMatchedLinesTimesInstructionsPictureAndNutrition) {
  RecipeCategory(L"Mains");
  const Ingredient* stock = FoodIn(L"Chicken stock", 100, kUnitCup);
  const Ingredient* leek = FoodIn(L"Leeks, raw", 30, kUnitBlank);
  const Ingredient* crocus = FoodIn(L"Crocus threads", 4, kUnitBlank);
  server_.Serve("/recipes/leek-soup.html", kSoupPage);
  server_.Serve("/img/soup.jpg", std::string("\xFF\xD8\xFF picture bytes", 17));
  // The saffron the catalog knows by another name is chosen with Find Ingredient.
  dialogs_.On(IDD_FIND_INGREDIENT, [](HWND find) {
    SetDlgItemTextW(find, IDC_FIND_TEXT, L"crocus");
    ListBox_SetCurSel(GetDlgItem(find, IDC_FIND_RESULTS), 0);
    Press(find, IDOK);
  });
  WString chosen;
  const auto rows = Import(server_.Url("/recipes/leek-soup.html"), [&chosen](HWND dialog) {
    ListView_SetItemState(GetDlgItem(dialog, IDC_REVIEW_LINES), 2, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    Press(dialog, IDC_REVIEW_FIND);
    wchar_t text[64] = {};
    ListView_GetItemText(GetDlgItem(dialog, IDC_REVIEW_LINES), 2, 3, text, 64);
    chosen = text;
  });
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (std::vector<WString>{L"2 cups stock", L"2", L"cup", L"Chicken stock"}));
  EXPECT_EQ(rows[1][3], L"Leeks, raw");
  EXPECT_EQ(rows[2][3], L"(left out)");  // no saffron in the catalog by that name
  EXPECT_EQ(rows[3][1], L"");            // the heading is no line
  EXPECT_EQ(chosen, L"Crocus threads");

  ASSERT_EQ(recipes_.Records().size(), 1u);
  const Recipe& soup = *recipes_.Records()[0];
  EXPECT_EQ(soup.name, L"Leek & Stock Soup");
  EXPECT_EQ(soup.serves, 4);
  EXPECT_EQ(std::make_pair(soup.prepHours, soup.prepMinutes), std::make_pair(0, 15));
  EXPECT_EQ(std::make_pair(soup.cookHours, soup.cookMinutes), std::make_pair(1, 10));
  EXPECT_EQ(soup.instructions, L"1. Slice the leeks.\r\n2. Simmer.");
  EXPECT_EQ(recipes_.Categories()->NameById(soup.catId) ? *recipes_.Categories()->NameById(soup.catId) : L"",
            L"Soups");  // a category of the page's name is made
  ASSERT_EQ(soup.lines.size(), 3u);
  EXPECT_EQ(soup.lines[0].ingredient, stock);
  EXPECT_EQ(soup.lines[1].ingredient, leek);
  EXPECT_EQ(soup.lines[2].ingredient, crocus);
  // A pinch of a food served by the piece adds nothing: the two units do not convert.
  EXPECT_DOUBLE_EQ(soup.nutrients[kCalories], (2 * 100 + 3 * 30) / 4.0);
  EXPECT_NE(soup.ingredientId, 0);  // linked as Add Recipe links
  ASSERT_FALSE(soup.picture.empty());
  std::string picture;
  ASSERT_TRUE(ReadFileBytes(folder_.Path() + L"Images\\" + soup.picture, picture));
  EXPECT_EQ(picture.size(), 17u);
  EXPECT_EQ(recipes_.List().SelectedCount(), 1);

  const uint32_t id = soup.foodId;
  Reopen();  // and it is in the catalog file
  ASSERT_NE(recipes_.FindById(id), nullptr);
  EXPECT_EQ(recipes_.FindById(id)->lines.size(), 3u);
}

// The other shapes pages give their recipe in: a lone object, an array, a recipe as a page's main
// entity, and microdata without any JSON-LD.
TEST_F(WebImportTest, EveryShapeOfPageGivesItsRecipe) {
  RecipeCategory(L"Mains");
  FoodIn(L"Rice", 200, kUnitCup);
  const std::string recipe =
      R"("@type":"Recipe","name":"Rice Bowl","recipeYield":"Serves 2","recipeIngredient":["1 cup rice"])";
  const std::pair<const char*, std::string> pages[] = {
      {"/object.html", "<script type=\"application/ld+json\">{" + recipe + "}</script>"},
      {"/array.html",
       "<script type='application/ld+json'>[{\"@type\":\"Organization\"},{" + recipe + "}]</script>"},
      {"/entity.html", "<script type=\"application/ld+json\">{\"@type\":\"WebPage\",\"mainEntity\":{" +
                           recipe + "}}</script>"},
      {"/microdata.html",
       "<div itemscope itemtype=\"https://schema.org/Recipe\"><h1 itemprop=\"name\">Rice Bowl</h1>"
       "<span itemprop=\"recipeYield\">2 servings</span><li itemprop=\"recipeIngredient\">1 cup "
       "rice</li></div>"},
  };
  for (const auto& [path, page] : pages) {
    server_.Serve(path, page);
    const size_t before = recipes_.Records().size();
    Import(server_.Url(path));
    ASSERT_EQ(recipes_.Records().size(), before + 1) << path;
    const Recipe& bowl = *recipes_.Records().back();
    EXPECT_EQ(bowl.name, L"Rice Bowl") << path;
    EXPECT_EQ(bowl.serves, 2) << path;
    ASSERT_EQ(bowl.lines.size(), 1u) << path;
    EXPECT_DOUBLE_EQ(bowl.nutrients[kCalories], 100) << path;
  }
}

// What goes wrong says so and adds nothing.
TEST_F(WebImportTest, AMissingPageAPageWithoutARecipeOrBrokenJsonOrATooLargePageChangesNothing) {
  server_.Serve("/plain.html", "<html><body><p>Just a story about soup.</p></body></html>");
  server_.Serve("/broken.html",
                "<script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":</script>");
  LoopbackHttpServer::Reply huge;
  huge.body.assign(10 * 1024 * 1024 + 1, 'x');
  server_.Serve("/huge.html", huge);
  const struct {
    const char* path;
    const wchar_t* message;
  } cases[] = {{"/missing.html", L"The page could not be fetched: "},
               {"/plain.html", L"No recipe was found in "},
               {"/broken.html", L"No recipe was found in "},
               {"/huge.html", L"The page is larger than 10 MB: "}};
  for (const auto& c : cases) {
    prompts_.questions.clear();
    prompts_.answers = {Prompt::kAnswerOk};
    const WString address = server_.Url(c.path);
    EXPECT_TRUE(Import(address).empty()) << c.path;
    ASSERT_EQ(prompts_.questions.size(), 1u) << c.path;
    EXPECT_EQ(prompts_.questions[0].text, c.message + address);
  }
  EXPECT_TRUE(recipes_.Records().empty());
}

// A MealMaster file of two recipes goes in at once with the best matches when asked to.
TEST_F(WebImportTest, AMealMasterFileOfTwoRecipesGoesInWithTheBestMatches) {
  RecipeCategory(L"Breads");
  FoodIn(L"Flour, wheat", 455, kUnitCup);
  FoodIn(L"Water", 0, kUnitCup);
  const WString path = folder_.Path() + L"breads.mmf";
  WriteFile(
      path,
      "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n\r\n      Title: Flat Bread\r\n Categories: "
      "Breads\r\n      Yield: 2 servings\r\n\r\n      2 c  Flour\r\n      1 c  Water\r\n\r\n  Mix and bake."
      "\r\n\r\nMMMMM\r\n\r\nMMMMM----- Recipe via Meal-Master (tm) v8.05\r\n\r\n      Title: Paste\r\n "
      "Categories: Breads\r\n      Yield: 1 serving\r\n\r\n      1 c  Flour\r\n\r\n  Stir.\r\n\r\nMMMMM\r\n");
  prompts_.chosenPaths = {path};
  prompts_.answers = {Prompt::kAnswerYes};  // every recipe with its best matches
  recipes_.Import();
  EXPECT_EQ(dialogs_.Opened(IDD_RECIPE_REVIEW), 0);
  ASSERT_EQ(recipes_.Records().size(), 2u);
  const Recipe& bread = *recipes_.Records()[0];
  EXPECT_EQ(bread.name, L"Flat Bread");
  EXPECT_EQ(bread.serves, 2);
  ASSERT_EQ(bread.lines.size(), 2u);
  EXPECT_EQ(bread.lines[0].ingredient->name, L"Flour, wheat");
  EXPECT_DOUBLE_EQ(bread.nutrients[kCalories], 2 * 455 / 2.0);
  EXPECT_EQ(recipes_.Records()[1]->name, L"Paste");
}
