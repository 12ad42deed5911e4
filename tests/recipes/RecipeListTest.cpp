// The Recipes view beside a real Ingredients view in the view tests' host window: recipes made
// and changed through the real recipe editor, their linked ingredients, deletes, the catalog file,
// imports and exports through the real dialogs and scripted prompts.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <set>

#include "ingredients/FoodViewSupport.h"
#include "support/LoopbackHttpServer.h"
#include "views/RecipeList/RecipeEditor.h"
#include "views/RecipeList/RecipeList.h"

namespace {

using food_view_test::DialogDriver;
using food_view_test::MenuEnabled;
using food_view_test::Outline;
using storage_test::WriteFile;

constexpr uint32_t kCalories = Nutrient::kCalories;
using food_view_test::Texts;

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
  uint32_t whole, fortyEighths;
  ServingUnit unit;
};

struct RecipeChoice {
  WString name;
  int serves = 1;
  std::vector<LineChoice> lines;
  bool onList = false;
};

void AddLineIn(const DialogDriver& dialog, const LineChoice& line) {
  dialog.Type(IDC_RECIPE_QUICK_SEARCH, line.search);  // refills the catalog list
  dialog.Pick(IDC_RECIPE_CATALOG, 0);
  dialog.PickData(IDC_RECIPE_WHOLE, line.whole);
  dialog.PickData(IDC_RECIPE_FRACTION, line.fortyEighths);
  dialog.PickData(IDC_RECIPE_UNIT, line.unit);
  dialog.Press(IDC_RECIPE_ADD_LINE);
}

class RecipeListTest : public food_view_test::FoodViewTest {
 protected:
  RecipeListTest() {
    EXPECT_TRUE(recipes_.Create(tabs_.Window(), IDM_MAIN_RECIPES, IDM_POPUP_RECIPES));
    recipes_.OpenCatalog(Catalog(), false, 0, 100, nullptr);
    recipes_.BuildColumns();
  }
  ~RecipeListTest() override { recipes_.WaitForBackgroundSaves(); }

  WString Catalog() const { return folder_.Path() + L"Recipes.xml"; }
  WString Exchange(const wchar_t* name) const { return folder_.Path() + name; }

  uint32_t RecipeCategory(const WString& name) {
    DataLockGuard lock;
    return recipes_.Categories()->AddNew(name, recipes_.lastId);
  }
  // Add Recipe with the editor filled from `choice` and confirmed; the new FOODID.
  uint32_t AddRecipe(const RecipeChoice& choice) {
    dialogs_.Drive(IDD_RECIPE_EDITOR, [&](const DialogDriver& dialog) {
      dialog.Type(IDC_RECIPE_NAME, choice.name);
      dialog.Type(IDC_RECIPE_SERVES, std::to_wstring(choice.serves));
      dialog.Tick(IDC_RECIPE_ON_LIST, choice.onList);
      dialog.ShowTab(IDC_RECIPE_TABS, 1);
      for (const LineChoice& line : choice.lines) AddLineIn(dialog, line);
      dialog.Press(IDOK);
    });
    return recipes_.AddItem(nullptr);
  }
  Recipe& Stored(const WString& name, int serves, const std::vector<std::pair<Ingredient*, double>>& servings,
                 uint32_t catId, bool onList = false) {
    return food_view_test::StoreRecipe(recipes_, ingredients_, name, serves, servings, catId, onList);
  }
  // Broth of two servings of Stock (100 calories), two servings, in Soups.
  Recipe& Broth(int serves = 2) {
    stock_ = Food(L"Stock", 100);
    return Stored(L"Broth", serves, {{stock_, 2}}, RecipeCategory(L"Soups"));
  }
  uint32_t LinkOf(uint32_t recipeId) const {
    return static_cast<uint32_t>(recipes_.FindById(recipeId)->ingredientId);
  }
  Ingredient* Linked(uint32_t recipeId) { return ingredients_.FindById(LinkOf(recipeId)); }
  void SelectOnly(uint32_t foodId) {
    recipes_.List().ClearSelection();
    recipes_.List().Select(recipes_.List().FindItem(static_cast<LPARAM>(foodId)));
  }
  // Edit Recipe on `foodId`, running `script` in the editor.
  void Edit(uint32_t foodId, std::function<void(const DialogDriver&)> script) {
    SelectOnly(foodId);
    dialogs_.Drive(IDD_RECIPE_EDITOR, std::move(script));
    recipes_.EditItem(nullptr);
  }
  static void Confirm(const DialogDriver& dialog) { dialog.Press(IDOK); }
  Texts Names() const { return view_test::ListTexts(recipes_.List()); }
  // Rereads the recipe file, as the next start of the program would.
  void Reopen() { food_view_test::Reopen(recipes_, Catalog()); }

  Ingredient* stock_ = nullptr;
  food_view_test::Opened<RecipeList> recipes_{app_, status_, toolbar_, options_, ingredients_};
};

// ---- the editor and the nutrition ----

TEST_F(RecipeListTest,
       ServesTwoWithTwoServingsOfAHundredCalorieIngredientStoresAHundredCaloriesAndPublishesThem) {
  RecipeCategory(L"Soups");
  const Ingredient* stock = Food(L"Stock", 100);
  const uint32_t id = AddRecipe({L"Broth", 2, {{L"Stock", 2, 0, kUnitServing}}});
  const Recipe* broth = recipes_.FindById(id);
  ASSERT_NE(broth, nullptr);
  ASSERT_EQ(Outline(*broth), L"Broth serves 2, 100 cal: 2 x0 Stock");

  // Published as a hidden ingredient of the same name and values, in a category named like its own.
  const Ingredient* linked = Linked(id);
  ASSERT_NE(linked, nullptr);
  EXPECT_EQ(std::tuple(linked->hidden, linked->name, linked->nutrients[kCalories], linked->catId),
            std::tuple(true, WString(L"Broth"), 100.0, ingredients_.Categories().IdByName(L"Soups")));
  const uint32_t linkId = linked->foodId;  // the reopen frees the record
  Reopen();
  ASSERT_EQ(recipes_.Records().size(), 1u);
  const Recipe& read = *recipes_.Records()[0];
  ASSERT_EQ(Outline(read), L"Broth serves 2, 100 cal: 2 x0 Stock");
  EXPECT_EQ(std::tuple(read.foodId, LinkOf(id), read.lines[0].ingredient), std::tuple(id, linkId, stock));

  // Put on the ingredient list at the next edit, with the values of four servings: the same record.
  Edit(id, [](const DialogDriver& dialog) {
    dialog.Type(IDC_RECIPE_SERVES, L"4");
    dialog.Tick(IDC_RECIPE_ON_LIST);
    dialog.Press(IDOK);
  });
  EXPECT_EQ(std::tuple(LinkOf(id), Linked(id)->hidden, Linked(id)->nutrients[kCalories]),
            std::tuple(linkId, false, 50.0));
}

TEST_F(RecipeListTest,
       EditorLinesTakeFractionsTheirOwnTextsAndOrderAnEmptyRecipeIsRefusedAPictureIsCopiedIn) {
  RecipeCategory(L"Bread");
  Food(L"Flour", 364);
  Food(L"Water", 0);
  WriteFile(Exchange(L"loaf.png"), "picture");
  prompts_.chosenPaths = {Exchange(L"loaf.png")};
  prompts_.answers = {Prompt::kAnswerOk, Prompt::kAnswerNo};
  std::wstring waterRow;
  dialogs_.Drive(IDD_RECIPE_EDITOR, [&](const DialogDriver& dialog) {
    dialog.Press(IDOK);  // no line yet: the message, and the dialog stays
    dialog.Type(IDC_RECIPE_NAME, L"Loaf");
    dialog.ShowTab(IDC_RECIPE_TABS, 1);
    AddLineIn(dialog, {L"Flour", 1, 24, kUnitCup});
    AddLineIn(dialog, {L"Water", 0, 0, kUnitCup});  // amount 0: nothing
    AddLineIn(dialog, {L"Water", 2, 0, kUnitCup});
    const auto retext = [&dialog](const wchar_t* text) {
      dialog.Pick(IDC_RECIPE_LINES, 0);
      dialog.Type(IDC_RECIPE_LINE_TEXT, text);
      dialog.Press(IDC_RECIPE_UPDATE);
      return dialog.RowText(IDC_RECIPE_LINES, 0);
    };
    EXPECT_EQ(retext(L"flour, sifted"), L"flour, sifted");
    dialog.Press(IDC_RECIPE_DOWN);       // flour below water
    waterRow = retext(L"");              // an empty text shows amount, unit and name again
    dialog.ShowTab(IDC_RECIPE_TABS, 3);  // the picture, taken into the images folder
    dialog.Press(IDC_RECIPE_BROWSE);
    dialog.Press(IDC_RECIPE_CLEAR);  // answered No: the picture stays
    EXPECT_EQ(dialog.Text(IDC_RECIPE_PICTURE_PATH), Exchange(L"loaf.png"));
    dialog.Press(IDOK);
  });
  const Recipe* loaf = recipes_.FindById(recipes_.AddItem(nullptr));
  EXPECT_EQ(Questions(), (Texts{L"Please select at least one ingredient for this recipe.",
                                L"Are you sure you want to remove this image?"}));
  ASSERT_EQ(prompts_.requests.size(), 1u);
  EXPECT_EQ(std::tuple(prompts_.requests[0].title, prompts_.requests[0].initialPath),
            std::tuple(L"Select a picture", L"C:\\"));
  ASSERT_NE(loaf, nullptr);
  EXPECT_EQ(std::tuple(loaf->picture, storage_test::ReadFile(folder_.Path() + L"Images\\loaf.png")),
            std::tuple(L"loaf.png", "picture"));
  ASSERT_EQ(Outline(*loaf), L"Loaf serves 1, 0 cal: 2 x2 Water; 1.5 x2 Flour \"flour, sifted\"");
  EXPECT_EQ(waterRow, RecipeEditor::LineText(loaf->lines[0]));
  EXPECT_NE(waterRow.find(L"Water"), WString::npos);
}

// A first recipe needs no category beforehand: the name typed into the editor's empty category
// box becomes the recipe category on OK (an empty box is refused), and the recipe is listed.
TEST_F(RecipeListTest, AFirstRecipeBringsTheCategoryTypedIntoTheEditor) {
  Food(L"Stock", 100);
  prompts_.answers = {Prompt::kAnswerOk};
  dialogs_.Drive(IDD_RECIPE_EDITOR, [](const DialogDriver& dialog) {
    EXPECT_EQ(std::tuple(dialog.Text(IDC_RECIPE_CATEGORY), dialog.Count(IDC_RECIPE_CATEGORY)),
              std::tuple(L"", 0));
    wchar_t cue[64] = {};  // the empty box says that a name may be typed
    COMBOBOXINFO box = {sizeof(box)};
    GetComboBoxInfo(dialog.Item(IDC_RECIPE_CATEGORY), &box);
    SendMessageW(box.hwndItem, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
    EXPECT_NE(cue[0], L'\0');
    dialog.Type(IDC_RECIPE_NAME, L"Broth");
    dialog.ShowTab(IDC_RECIPE_TABS, 1);
    AddLineIn(dialog, {L"Stock", 2, 0, kUnitServing});
    dialog.Press(IDOK);  // no category: the message, and the dialog stays
    dialog.ShowTab(IDC_RECIPE_TABS, 0);
    dialog.Type(IDC_RECIPE_CATEGORY, L"Soups");
    dialog.Press(IDOK);
  });
  const Recipe* broth = recipes_.FindById(recipes_.AddItem(nullptr));
  EXPECT_EQ(Questions(), (Texts{L"Please choose a category, or type the name of a new one."}));
  ASSERT_NE(broth, nullptr);
  EXPECT_EQ(std::tuple(recipes_.Categories()->Entries().Count(), recipes_.Categories()->IdByName(L"Soups")),
            std::tuple(size_t{1}, broth->catId));
  EXPECT_EQ(Names(), (Texts{L"Broth"}));
}

// A recipe's category joins the ingredient categories for its linked ingredient, but the
// Ingredients tab keeps showing what the user chose.
TEST_F(RecipeListTest, ARecipesCategoryJoinsTheIngredientCategoriesAndLeavesTheIngredientSelectionAlone) {
  const uint32_t fruit = IngredientCategory(L"Fruit");
  Ingredient* apple = Food(L"Apple", 50, fruit);
  const struct {
    uint32_t shown;
    const wchar_t* recipe;
    Texts listed;
  } cases[] = {{0, L"Pie", {L"Apple", L"Pie"}}, {fruit, L"Tart", {L"Apple"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.recipe));
    ingredients_.selectedCategory = c.shown;
    ingredients_.FillCategorySelector(c.shown);
    ingredients_.FillList();
    Stored(c.recipe, 1, {{apple, 1}}, RecipeCategory(WString(L"Baking ") + c.recipe), true);
    EXPECT_NE(ingredients_.Categories().IdByName(WString(L"Baking ") + c.recipe), 0u);
    EXPECT_EQ(std::tuple(ingredients_.selectedCategory, ingredients_.categoryCombo.SelectedId()),
              std::tuple(c.shown, c.shown));
    EXPECT_EQ(Listed(), c.listed);
  }
}

// An amount is typed as a cook writes it and Enter adds the line: a food, an amount, Enter. The food
// picked presets its serving, or only its unit once an amount was typed; a text that is no amount
// adds nothing. The fraction list names each fraction once.
TEST_F(RecipeListTest, TypedAmountsReadAsTheAmountTheFoodPresetsItsUnitEnterAddsTheLine) {
  RecipeCategory(L"Bread");
  Ingredient flour;  // per 100 g, as every starter food
  flour.name = L"Flour";
  flour.size = 100;
  flour.type = kUnitGram;
  flour.nutrients[kCalories] = 364;
  ingredients_.AddIngredient(flour);
  Food(L"Milk", 100, 0, kUnitCup);
  Texts rows;
  dialogs_.Drive(IDD_RECIPE_EDITOR, [&](const DialogDriver& dialog) {
    dialog.Type(IDC_RECIPE_NAME, L"Loaf");
    dialog.ShowTab(IDC_RECIPE_TABS, 1);
    wchar_t cue[64] = {};  // the empty box says that an amount is typed there
    COMBOBOXINFO box = {sizeof(box)};
    GetComboBoxInfo(dialog.Item(IDC_RECIPE_WHOLE), &box);
    SendMessageW(box.hwndItem, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64);
    EXPECT_NE(cue[0], L'\0');
    const Texts fractions = dialog.Rows(IDC_RECIPE_FRACTION);
    EXPECT_EQ(std::set<std::wstring>(fractions.begin(), fractions.end()).size(), fractions.size());
    EXPECT_EQ(std::count(fractions.begin(), fractions.end(), L"1/2 "), 1);
    const auto pick = [&dialog](const wchar_t* food) {
      dialog.Type(IDC_RECIPE_QUICK_SEARCH, food);
      dialog.Pick(IDC_RECIPE_CATALOG, 0);
    };
    pick(L"Flour");
    EXPECT_EQ(std::tuple(dialog.Text(IDC_RECIPE_WHOLE), dialog.Text(IDC_RECIPE_UNIT)),
              std::tuple(L"100", L"g"));
    dialog.Keys(IDC_RECIPE_WHOLE, L"250");
    dialog.Enter();
    pick(L"Milk");
    dialog.Keys(IDC_RECIPE_WHOLE, L"1 1/2");
    dialog.Enter();
    dialog.Keys(IDC_RECIPE_WHOLE, L"\u00BD");  // the amount first, then the food
    pick(L"Milk");
    dialog.Enter();
    pick(L"Milk");
    dialog.Keys(IDC_RECIPE_WHOLE, L"2 cups");
    EXPECT_FALSE(dialog.Enabled(IDC_RECIPE_ADD_LINE));
    dialog.Enter();  // nothing, and the editor stays
    rows = dialog.Rows(IDC_RECIPE_LINES);
    dialog.Press(IDOK);
  });
  const Recipe* loaf = recipes_.FindById(recipes_.AddItem(nullptr));
  ASSERT_NE(loaf, nullptr);
  EXPECT_EQ(Outline(*loaf), L"Loaf serves 1, 1110 cal: 250 x4 Flour; 1.5 x2 Milk; 0.5 x2 Milk");
  EXPECT_EQ(rows, (Texts{L"250  g Flour", L"1 1/2  cup Milk", L"1/2  cup Milk"}));
}

// A line's text follows its amount and unit: after Change the line text shows the new amount and
// Update keeps it; a text the user typed stays theirs through Change.
// Labels on the editor's tab pages draw on the page, without boxes of the dialog's grey; its
// drop-downs show whole rows.
TEST_F(RecipeListTest, TheEditorsLabelsStandOnTheirTabPagesAndItsListsDropInWholeRows) {
  RecipeCategory(L"Soups");
  dialogs_.Drive(IDD_RECIPE_EDITOR, [&](const DialogDriver& dialog) {
    for (int tab = 0; tab < 3; ++tab) {
      dialog.ShowTab(IDC_RECIPE_TABS, tab);
      EXPECT_EQ(dialog.LabelsOffThePage(IDC_RECIPE_TABS), std::vector<int>()) << "tab " << tab;
    }
    // The unit list drops in whole rows, its last one in full.
    SendMessageW(dialog.Item(IDC_RECIPE_UNIT), CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO parts = {sizeof(parts)};
    GetComboBoxInfo(dialog.Item(IDC_RECIPE_UNIT), &parts);
    RECT list{};
    GetClientRect(parts.hwndList, &list);
    SendMessageW(dialog.Item(IDC_RECIPE_UNIT), CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(list.bottom % SendMessageW(dialog.Item(IDC_RECIPE_UNIT), CB_GETITEMHEIGHT, 0, 0), 0);
    dialog.Press(IDCANCEL);
  });
  recipes_.AddItem(nullptr);
}

TEST_F(RecipeListTest, ALineTextFollowsItsChangedAmountUnlessTheUserTypedTheirOwn) {
  RecipeCategory(L"Sides");
  Food(L"Potato", 80);
  Food(L"Leek", 30);
  dialogs_.Drive(IDD_RECIPE_EDITOR, [&](const DialogDriver& dialog) {
    dialog.Type(IDC_RECIPE_NAME, L"Mash");
    dialog.ShowTab(IDC_RECIPE_TABS, 1);
    AddLineIn(dialog, {L"Potato", 2, 0, kUnitServing});
    AddLineIn(dialog, {L"Leek", 1, 0, kUnitServing});
    dialog.Pick(IDC_RECIPE_LINES, 0);
    EXPECT_EQ(std::tuple(dialog.Text(IDC_RECIPE_LINE_TEXT), dialog.Text(IDC_RECIPE_WHOLE)),
              std::tuple(L"2  Serving Potato", L"2"));
    dialog.Keys(IDC_RECIPE_WHOLE, L"3");
    dialog.Press(IDC_RECIPE_CHANGE);
    EXPECT_EQ(dialog.Text(IDC_RECIPE_LINE_TEXT), L"3  Serving Potato");
    dialog.Press(IDC_RECIPE_UPDATE);
    dialog.Pick(IDC_RECIPE_LINES, 1);
    dialog.Keys(IDC_RECIPE_LINE_TEXT, L"a leek, sliced");
    dialog.Keys(IDC_RECIPE_WHOLE, L"2");
    dialog.Enter();  // in the amount, after picking the line: Change
    dialog.Press(IDC_RECIPE_UPDATE);
    dialog.Press(IDOK);
  });
  const Recipe* mash = recipes_.FindById(recipes_.AddItem(nullptr));
  ASSERT_NE(mash, nullptr);
  EXPECT_EQ(Outline(*mash),
            L"Mash serves 1, 300 cal: 3 x0 Potato \"3  Serving Potato\"; 2 x0 Leek \"a leek, sliced\"");
}

// Search hands the quick-search text to Find Ingredient and selects its choice without listing it
// twice; New Ingredient runs the ingredient editor and offers what it added.
TEST_F(RecipeListTest, SearchAndNewIngredientOfferTheirIngredientInTheCatalogList) {
  RecipeCategory(L"Soups");
  Food(L"Rice", 130);
  IngredientCategory(L"Basics");
  dialogs_.Drive(IDD_FIND_INGREDIENT, [](const DialogDriver& find) {
    find.Pick(IDC_FIND_RESULTS, 0);
    find.Press(IDOK);
  });
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& editor) {
    editor.Type(IDC_EDITOR_NAME, L"Leek");
    editor.PickText(IDC_EDITOR_CATEGORY, L"Basics");
    editor.PickData(IDC_EDITOR_WHOLE, 1);
    editor.PickData(IDC_EDITOR_UNIT, kUnitOunce);
    editor.Press(IDOK);
  });
  dialogs_.Drive(IDD_RECIPE_EDITOR, [&](const DialogDriver& dialog) {
    EXPECT_EQ(dialog.TipText(IDC_RECIPE_REMOVE_LINE),
              L"Remove selected ingredient from the list of ingredients");
    dialog.Type(IDC_RECIPE_NAME, L"Leek soup");
    dialog.ShowTab(IDC_RECIPE_TABS, 1);
    dialog.Type(IDC_RECIPE_QUICK_SEARCH, L"ric");  // the quick search lists Rice
    dialog.Press(IDC_RECIPE_SEARCH);
    EXPECT_EQ(std::tuple(dialog.Rows(IDC_RECIPE_CATALOG), dialog.Selected(IDC_RECIPE_CATALOG)),
              std::tuple(Texts{L"Rice"}, 0));
    dialog.Press(IDC_RECIPE_NEW_INGREDIENT);
    EXPECT_EQ(dialog.RowText(IDC_RECIPE_CATALOG, dialog.Selected(IDC_RECIPE_CATALOG)), L"Leek");
    dialog.PickData(IDC_RECIPE_WHOLE, 3);  // of the new ingredient's own unit, preset
    dialog.Press(IDC_RECIPE_ADD_LINE);
    dialog.Press(IDOK);
  });
  const Recipe* soup = recipes_.FindById(recipes_.AddItem(nullptr));
  EXPECT_EQ(dialogs_.Opened(IDD_FIND_INGREDIENT), 1);
  ASSERT_NE(soup, nullptr);
  EXPECT_EQ(Outline(*soup), L"Leek soup serves 1, 0 cal: 3 x11 Leek");
}

// A recipe once put on the ingredient list stays there, and its edits never update another food
// that took its linked ingredient's id.
TEST_F(RecipeListTest, EditingKeepsAVisibleLinkedIngredientTickedNeverUpdatesAnotherFoodACopyLinksItsOwn) {
  const uint32_t id = Stored(L"Pesto", 4, {{Food(L"Basil", 20), 1}}, RecipeCategory(L"Sauces"), true).foodId;
  const uint32_t linkId = LinkOf(id);
  Reopen();  // the in-memory state starts unticked after a load
  Edit(id, [](const DialogDriver& dialog) {
    EXPECT_EQ(
        std::tuple(dialog.Checked(IDC_RECIPE_ON_LIST), dialog.Enabled(IDC_RECIPE_ON_LIST), dialog.Caption()),
        std::tuple(true, false, L"Edit Recipe"));
    dialog.Press(IDOK);
  });
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_RECIPE_EDITOR), LinkOf(id), ingredients_.FindById(linkId)->hidden),
            std::tuple(1, linkId, false));

  ingredients_.FindById(linkId)->name = L"Banana";  // as a replacing import may leave it
  Edit(id, Confirm);
  EXPECT_EQ(ingredients_.FindById(linkId)->name, L"Banana");
  EXPECT_NE(LinkOf(id), linkId);
  EXPECT_EQ(Linked(id)->name, L"Pesto");

  // A copy gets a linked ingredient of its own and the original's editor state: unticked after a
  // load, whatever the original's own linked ingredient shows, ticked once the editor confirmed it.
  Answer(IDD_INPUT_BOX, IDC_INPUT_TEXT, L"Strong pesto");
  for (const bool ticked : {false, true}) {
    SCOPED_TRACE(ticked);
    recipes_.FindById(id)->notOnIngredientList = !ticked;
    SelectOnly(id);
    recipes_.CopyItem();
    const Recipe& copy = *recipes_.Records().back();
    EXPECT_GT(copy.foodId, id);
    const Ingredient* linked = Linked(copy.foodId);
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(std::tuple(copy.name, linked->name, linked->hidden, copy.notOnIngredientList),
              std::tuple(WString(L"Strong pesto"), WString(L"Strong pesto"), !ticked, !ticked));
    EXPECT_EQ(Linked(id)->name, L"Pesto");  // the original's own linked ingredient is untouched
  }
}

TEST_F(RecipeListTest, ARecipeServesAsAnIngredientOfAnotherAndExpandsOnAShoppingList) {
  RecipeCategory(L"Sauces");
  Food(L"Tomato", 20);
  const uint32_t sauce = AddRecipe({L"Sauce", 1, {{L"Tomato", 5, 0, kUnitServing}}, true});
  const uint32_t pizza = AddRecipe({L"Pizza", 2, {{L"Sauce", 4, 0, kUnitServing}}});
  const uint32_t sauceLink = LinkOf(sauce);
  ASSERT_EQ(Outline(*recipes_.FindById(pizza)), L"Pizza serves 2, 200 cal: 4 x0 Sauce");
  EXPECT_EQ(std::tuple(recipes_.FindById(pizza)->lines[0].ingredient->foodId, recipes_.IsFoodUsed(sauceLink)),
            std::tuple(sauceLink, true));

  // A shopping list expands the recipe its food is named after exactly (the expansion itself:
  // ShoppingLinesTest).
  const RecipeLookup& lookup = recipes_;
  EXPECT_EQ(std::tuple(lookup.FindRecipeNamed(L"Sauce"), lookup.FindRecipeNamed(L"sauce")),
            std::tuple(recipes_.FindById(sauce), nullptr));

  // Deleting the inner recipe leaves its visible ingredient, and so the outer recipe's line.
  SelectOnly(sauce);
  prompts_.answers = {Prompt::kAnswerYes};
  recipes_.DeleteItem(nullptr, nullptr);
  ASSERT_NE(ingredients_.FindById(sauceLink), nullptr);
  Reopen();
  ASSERT_EQ(recipes_.Records().size(), 1u);
  ASSERT_EQ(Outline(*recipes_.Records()[0]), L"Pizza serves 2, 200 cal: 4 x0 Sauce");
  EXPECT_EQ(recipes_.Records()[0]->lines[0].ingredient->foodId, sauceLink);
}

TEST_F(RecipeListTest, ComponentInformationNutritionAndPrintOpenOverTheSelectedRecipe) {
  SelectOnly(Broth(4).foodId);
  dialogs_.Drive(IDD_COMPONENT_INFO, [](const DialogDriver& dialog) {
    // Not divided by the four servings.
    EXPECT_EQ(std::tuple(dialog.Caption(), dialog.Count(IDC_COMPONENT_LIST),
                         dialog.RowText(IDC_COMPONENT_LIST, 0, 1)),
              std::tuple(L"Broth", 1, L"200.00"));
    dialog.Press(IDOK);
  });
  recipes_.ShowComponentInfo();
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [](const DialogDriver& dialog) {
    EXPECT_EQ(dialog.Text(IDC_EDITOR_NAME), L"Broth");
    dialog.Press(IDC_EDITOR_DONE);
  });
  recipes_.ShowNutrition();
  // While the print dialog waits for the user, a save on another thread can take the data lock.
  dialogs_.Drive(IDD_PRINT, [](const DialogDriver& dialog) {
    const auto save = [](void*) -> DWORD { return DataLockGuard(), 0; };
    HANDLE saver = CreateThread(nullptr, 0, save, nullptr, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(saver, 2000), WAIT_OBJECT_0);
    dialog.Press(IDCANCEL);
    WaitForSingleObject(saver, INFINITE);
    CloseHandle(saver);
  });
  recipes_.Print(options_);
  for (int dialog : {IDD_COMPONENT_INFO, IDD_INGREDIENT_EDITOR, IDD_PRINT})
    EXPECT_EQ(dialogs_.Opened(dialog), 1);
}

// ---- copy, delete, move, menus ----

// Moved rows stay while the list shows every category (deselected) or the target one, and leave a
// list that shows another.
TEST_F(RecipeListTest, MoveKeepsARowOnlyWhereTheListStillShowsIt) {
  const uint32_t soups = RecipeCategory(L"Soups");
  const uint32_t mains = RecipeCategory(L"Mains");
  Answer(IDD_CATEGORY, IDC_CATEGORY_COMBO, L"Mains", true);
  const struct {
    uint32_t shown;
    bool stays;
    int selected;
  } cases[] = {{0, true, 0}, {soups, false, 0}, {mains, true, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    const uint32_t id = Stored(L"Broth", 1, {}, c.shown == mains ? mains : soups).foodId;
    recipes_.selectedCategory = c.shown;
    recipes_.FillList();
    SelectOnly(id);
    recipes_.MoveToCategory();
    EXPECT_EQ(std::tuple(recipes_.FindById(id)->catId, recipes_.List().FindItem(static_cast<LPARAM>(id)) >= 0,
                         recipes_.List().SelectedCount()),
              std::tuple(mains, c.stays, c.selected));
  }
}

TEST_F(RecipeListTest, DeleteKeepsWhatTheDiaryUsesAndHiddenIngredientsOthersStillHold) {
  const uint32_t mains = RecipeCategory(L"Mains");
  Ingredient* rice = Food(L"Rice", 130);
  const uint32_t eatenLink = LinkOf(Stored(L"Eaten", 1, {{rice, 1}}, mains).foodId);
  const uint32_t listedLink = LinkOf(Stored(L"Listed", 1, {{rice, 1}}, mains).foodId);
  const uint32_t plainLink = LinkOf(Stored(L"Plain", 1, {{rice, 1}}, mains).foodId);
  food_view_test::NeighbourView diary{app_, status_, toolbar_, options_};
  diary.used = eatenLink;
  HeldFoods shopLists(ingredients_, {ingredients_.FindById(listedLink)});
  recipes_.List().SelectAll();
  prompts_.answers = {Prompt::kAnswerYes};
  recipes_.DeleteItem(nullptr, &diary);
  EXPECT_EQ(
      std::tuple(Questions(), prompts_.questions.at(0).caption, Names(), recipes_.List().SelectedCount()),
      std::tuple(Texts{L"Would you like to delete the selected recipes?\r\n\r\n3 selected"}, L"Mirepan",
                 Texts{L"Eaten"}, 0));
  ASSERT_NE(ingredients_.FindById(listedLink), nullptr);  // the shopping list still holds it
  EXPECT_EQ(std::tuple(ingredients_.FindById(eatenLink) != nullptr, ingredients_.FindById(listedLink)->hidden,
                       ingredients_.FindById(plainLink)),
            std::tuple(true, true, nullptr));
}

// Add needs no category (the editor takes the name of a first one), Delete and Move a selection,
// the others exactly one selected row; Download stands in the File menu and the pop-up alike.
TEST_F(RecipeListTest, MenusAndToolbarFollowTheCategoriesAndTheSelectionCount) {
  toolbar_.RegisterButton(15, RecipeList::kAddRecipe, false);
  toolbar_.Arrange({0, 1, 2, 15});
  recipes_.UpdateToolbar();
  recipes_.UpdateMenu(recipes_.Menu());
  EXPECT_TRUE(toolbar_.IsButtonEnabled(RecipeList::kAddRecipe));
  EXPECT_TRUE(MenuEnabled(recipes_.Menu(), RecipeList::kAddRecipe));
  Answer(IDD_CATEGORY, IDC_CATEGORY_EDIT, L"Mains");
  recipes_.AddCategory();
  EXPECT_TRUE(toolbar_.IsButtonEnabled(RecipeList::kAddRecipe));
  const uint32_t mains = recipes_.Categories()->IdByName(L"Mains");
  Ingredient* rice = Food(L"Rice", 130);
  Stored(L"One", 1, {{rice, 1}}, mains);
  Stored(L"Two", 1, {{rice, 1}}, mains);
  const HMENU popup = app_.LoadMenuResource(IDM_POPUP_RECIPES);
  const struct {
    int selected;
    bool one, any;
  } cases[] = {{0, false, false}, {1, true, true}, {2, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selected);
    recipes_.List().ClearSelection();
    for (int row = 0; row < c.selected; ++row) recipes_.List().Select(row);
    for (const HMENU menu : {recipes_.Menu(), GetSubMenu(popup, 0)}) {
      recipes_.UpdateMenu(menu);
      for (UINT command : {RecipeList::kAddRecipe, RecipeList::kDownload})
        EXPECT_TRUE(MenuEnabled(menu, command)) << command;
      for (UINT command : {RecipeList::kDeleteRecipe, RecipeList::kMoveRecipe})
        EXPECT_EQ(MenuEnabled(menu, command), c.any) << command;
      for (UINT command : {RecipeList::kComponentInfo, RecipeList::kCopyRecipe, RecipeList::kEditRecipe,
                           RecipeList::kNutrition, RecipeList::kUpload})
        EXPECT_EQ(MenuEnabled(menu, command), c.one) << command;
    }
  }
  DestroyMenu(popup);
  EXPECT_FALSE(MenuEnabled(recipes_.Menu(), IDM_RESTORE));  // no backup
}

// ---- the catalog file and the exchange files ----

TEST_F(RecipeListTest, ImportWithNoRenumbersAboveTheHighestIdAndDropsTheForeignLink) {
  Broth();
  const Ingredient* unrelated = Food(L"Unrelated", 5);
  const uint32_t highest = recipes_.lastId;
  // Gumbo of a line of Stock, linked to the unrelated food by the id its own catalog gave it.
  WriteFile(Exchange(L"in.xml"),
            "<RECIPELIST>\n<RECIPES>\n<RECIPE>\n<INGREDIENTLIST>\n<INGREDIENT>\n<AMOUNT>1</AMOUNT>\n"
            "<TYPE>0</TYPE>\n<ID>" +
                std::to_string(stock_->foodId) + "</ID>\n</INGREDIENT>\n</INGREDIENTLIST>\n<INGREDIENTID>" +
                std::to_string(unrelated->foodId) +
                "</INGREDIENTID>\n<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Gumbo</FOODNAME>\n"
                "</FOOD>\n</RECIPE>\n</RECIPES>\n</RECIPELIST>\n");
  prompts_.chosenPaths = {Exchange(L"in.xml")};
  prompts_.answers = {Prompt::kAnswerNo};
  recipes_.Import();
  EXPECT_EQ(std::tuple(prompts_.questions.size(), prompts_.questions.at(0).text.substr(0, 36),
                       prompts_.requests.at(0).title),
            std::tuple(1u, L"Import a recipe catalog. Do you want", L"Select a recipe file to import"));
  ASSERT_EQ(recipes_.Records().size(), 2u);
  const Recipe& gumbo = *recipes_.Records()[1];
  EXPECT_EQ(std::tuple(gumbo.name, gumbo.foodId, gumbo.ingredientId, Names()),
            std::tuple(L"Gumbo", highest + 1, 0, Texts{L"Broth", L"Gumbo"}));

  // Its first confirmed edit publishes an ingredient of its own; the unrelated one stays as it was.
  Edit(gumbo.foodId, Confirm);
  EXPECT_NE(static_cast<uint32_t>(gumbo.ingredientId), unrelated->foodId);
  EXPECT_EQ(std::tuple(unrelated->name, unrelated->nutrients[kCalories]), std::tuple(L"Unrelated", 5.0));

  prompts_.chosenPaths = {Exchange(L"in.xml")};
  prompts_.answers = {Prompt::kAnswerYes};
  recipes_.Import();
  EXPECT_EQ(Names(), (Texts{L"Gumbo"}));
}

// Imported recipes whose picture shares its name with the user's own: the user's file stays, and
// the records name the stranger's bytes under a free name (the second import reuses that file).
TEST_F(RecipeListTest, ImportedPicturesKeepTheUsersOwnFilesOfTheSameName) {
  const WString images = folder_.Path() + L"Images\\";
  const WString from = folder_.Path() + L"import\\";
  ASSERT_TRUE(CreateFolders(images, false));
  ASSERT_TRUE(CreateFolders(from + L"Images", false));
  WriteFile(images + L"cake.jpg", "mine");
  WriteFile(from + L"Images\\cake.jpg", "theirs");
  WriteFile(from + L"in.xml",
            "<RECIPELIST>\n<RECIPES>\n<RECIPE>\n<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Cake</FOODNAME>\n"
            "<PICTURE>cake.jpg</PICTURE>\n</FOOD>\n</RECIPE>\n</RECIPES>\n</RECIPELIST>\n");
  WriteFile(from + L"in.csv", "\"Name\",\"Picture\"\r\n\"Tart\",\"cake.jpg\"\r\n");
  recipes_.LoadFrom(from + L"in.xml", nullptr, 0, 100);
  recipes_.LoadFrom(from + L"in.csv", nullptr, 0, 100);
  std::vector<WString> pictures;
  for (const auto& record : recipes_.Records()) pictures.push_back(record->picture);
  EXPECT_EQ(
      std::tuple(pictures, storage_test::ReadFile(images + L"cake.jpg"),
                 storage_test::ReadFile(images + L"cake (2).jpg"), FileExists(images + L"cake (3).jpg")),
      std::tuple(std::vector<WString>{L"cake (2).jpg", L"cake (2).jpg"}, std::string("mine"),
                 std::string("theirs"), false));
}

// The ingredients an imported file embeds join the catalog together: one save for the file.
TEST_F(RecipeListTest, IngredientsAnImportEmbedsJoinTheCatalogWithOneSave) {
  std::string recipes;
  for (const char* name : {"Pilaf", "Risotto", "Paella"})
    recipes += std::string(
                   "<RECIPE>\n<INGREDIENTLIST>\n<INGREDIENT>\n<AMOUNT>1</AMOUNT>\n<FOOD>\n"
                   "<FOODNAME>Rice for ") +
               name + "</FOODNAME>\n</FOOD>\n</INGREDIENT>\n</INGREDIENTLIST>\n<FOOD>\n<FOODNAME>" + name +
               "</FOODNAME>\n</FOOD>\n</RECIPE>\n";
  WriteFile(Exchange(L"in.xml"), "<RECIPELIST>\n<RECIPES>\n" + recipes + "</RECIPES>\n</RECIPELIST>\n");
  ingredients_.WaitForBackgroundSaves();
  const int before = ingredients_.saves;
  recipes_.LoadFrom(Exchange(L"in.xml"), nullptr, 0, 100);
  ingredients_.WaitForBackgroundSaves();
  EXPECT_EQ(std::tuple(ingredients_.saves - before, recipes_.Records().size()), std::tuple(1, 3u));
  food_view_test::Reopen(ingredients_, IngredientCatalog());
  EXPECT_EQ(ingredients_.Records().size(), 3u);
}

TEST_F(RecipeListTest, ExportingOneCategoryLeavesTheCatalogFileComplete) {
  const uint32_t breads = RecipeCategory(L"Breads");
  Broth();
  Stored(L"Rye", 1, {{Food(L"Rye flour", 330), 3}}, breads);
  dialogs_.Drive(IDD_INGREDIENT_EXPORT, [&](const DialogDriver& dialog) {
    EXPECT_EQ(dialog.Caption(), L"Export Recipes");
    dialog.Type(IDC_INGREDIENT_EXPORT_PATH, Exchange(L"soups.xml"));
    dialog.PickText(IDC_INGREDIENT_EXPORT_CATEGORY, L"Soups");
    dialog.Tick(IDC_EXPORT_INGREDIENTS);
    dialog.Press(IDOK);
  });
  recipes_.Export();
  const WString exported = view_test::FileText(Exchange(L"soups.xml"));
  // The ingredient went along.
  EXPECT_EQ(
      std::tuple(view_test::Occurrences(exported, L"Broth") > 0, view_test::Occurrences(exported, L"Rye"),
                 view_test::Occurrences(exported, L"<FOODNAME>Stock</FOODNAME>") > 0, recipes_.CatalogPath()),
      std::tuple(true, 0u, true, Catalog()));
  // The next change rewrites the catalog file with every recipe.
  Stored(L"Spelt", 1, {}, breads);
  Reopen();
  EXPECT_EQ(Names(), (Texts{L"Broth", L"Rye", L"Spelt"}));
}

TEST_F(RecipeListTest, CsvExportReadsBackTimesServesAndIngredientLines) {
  Recipe& broth =
      Stored(L"Broth \"clear\"", 2, {{stock_ = Food(L"Stock", 100), 1.5}}, RecipeCategory(L"Soups"));
  broth.cookHours = 1;
  broth.cookMinutes = 30;
  broth.prepMinutes = 45;
  broth.instructions = L"Simmer \"slowly\".";
  recipes_.exportAllData = true;
  ASSERT_TRUE(recipes_.StartExport(4505, Exchange(L"out.csv")));
  recipes_.Clear();
  recipes_.LoadFrom(Exchange(L"out.csv"), nullptr, 0, 100);
  ASSERT_EQ(recipes_.Records().size(), 1u);
  const Recipe& read = *recipes_.Records()[0];
  ASSERT_EQ(Outline(read), L"Broth \"clear\" serves 2, 75 cal: 1.5 x0 Stock");
  EXPECT_EQ(std::tuple(read.lines[0].ingredient, read.cookHours, read.cookMinutes, read.prepHours,
                       read.prepMinutes, read.instructions, read.ingredientId),
            std::tuple(stock_, 1, 30, 0, 45, L"Simmer \u00B4slowly\u00B4.", 0));
}

// Restore keeps the links of the backup.
TEST_F(RecipeListTest, AnEmptiedIngredientCatalogLeavesTheRecipeLinesReadableRestoreKeepsTheBackupsLinks) {
  const int32_t link = Broth().ingredientId;
  const uint32_t stockId = stock_->foodId;
  recipes_.WaitForBackgroundSaves();
  ASSERT_TRUE(CopyFileTo(Catalog(), recipes_.BackupPath()));
  ingredients_.WaitForBackgroundSaves();
  ingredients_.Clear();  // as an ingredient import that replaces the catalog does
  ASSERT_TRUE(recipes_.Save());
  EXPECT_NE(view_test::FileText(Catalog()).find(L"<ID>" + std::to_wstring(stockId) + L"</ID>"),
            WString::npos);

  // The restored catalog's record of the same id takes the line over at the next edit.
  ingredients_.OpenCatalog(IngredientCatalog(), false, 0, 100, nullptr);
  const Ingredient* restored = ingredients_.FindById(stockId);
  ASSERT_NE(restored, nullptr);
  recipes_.FillList();
  Edit(recipes_.Records()[0]->foodId, Confirm);
  EXPECT_EQ(recipes_.Records()[0]->lines[0].ingredient, restored);

  Stored(L"Later", 1, {{ingredients_.FindById(stockId), 1}}, recipes_.Records()[0]->catId);
  prompts_.answers = {Prompt::kAnswerYes};
  recipes_.RestoreBackup();
  EXPECT_EQ(prompts_.questions.at(0).text.substr(0, 46), L"You are about to restore your last saved recip");
  ASSERT_EQ(recipes_.Records().size(), 1u);
  EXPECT_EQ(std::tuple(recipes_.Records()[0]->ingredientId, Names()), std::tuple(link, Texts{L"Broth"}));
}

// ---- recipes from web pages and MealMaster files ----

// A page as recipe sites publish it: the recipe in a JSON-LD @graph beside the page's own data.
const char kSoupPage[] = R"(<!DOCTYPE html><html><head><title>Leek soup | A blog</title>
<script type="application/ld+json">{"@context":"https://schema.org","@graph":[
 {"@type":"WebPage","name":"Leek soup"},
 {"@type":["Recipe"],"name":"Leek &amp; Stock Soup","recipeYield":["4","4 servings"],"prepTime":"PT15M",
  "cookTime":"PT1H10M","recipeCategory":"Soups","image":{"@type":"ImageObject","url":"/img/soup.jpg"},
  "recipeIngredient":["2 cups stock","3 leeks, sliced","1 pinch of saffron","For the topping:"],
  "recipeInstructions":[{"@type":"HowToStep","text":"Slice the leeks."},{"@type":"HowToStep","text":"Simmer."}]}]}
</script></head><body><h1>Leek soup</h1></body></html>)";

class WebImportTest : public RecipeListTest {
 protected:
  // Import from Web Page with `address` typed, the review confirmed as it comes; the review's rows.
  std::vector<Texts> Import(const WString& address,
                            std::function<void(const DialogDriver&)> review = nullptr) {
    std::vector<Texts> rows;
    Answer(IDD_WEB_ADDRESS, IDC_WEB_ADDRESS, address);
    dialogs_.Drive(IDD_RECIPE_REVIEW, [&rows, review](const DialogDriver& dialog) {
      for (int row = 0; row < dialog.Count(IDC_REVIEW_LINES); ++row) {
        rows.emplace_back();
        for (int column = 0; column < 4; ++column)
          rows.back().push_back(dialog.RowText(IDC_REVIEW_LINES, row, column));
      }
      if (review) review(dialog);
      dialog.Press(IDOK);
    });
    recipes_.ImportFromWebPage();
    return rows;
  }
  LoopbackHttpServer server_;
};

TEST_F(WebImportTest, APagesRecipeArrivesWithMatchedLinesTimesInstructionsPictureNutritionAlsoFromAnArray) {
  RecipeCategory(L"Mains");
  Food(L"Chicken stock", 100, 0, kUnitCup);
  Food(L"Leeks, raw", 30, 0, kUnitBlank);
  Food(L"Crocus threads", 4, 0, kUnitBlank);
  server_.Serve("/recipes/leek-soup.html", kSoupPage);
  server_.Serve("/img/soup.jpg", std::string("\xFF\xD8\xFF picture bytes", 17));
  // The saffron the catalog knows by another name is chosen with Find Ingredient.
  dialogs_.Drive(IDD_FIND_INGREDIENT, [](const DialogDriver& find) {
    find.Type(IDC_FIND_TEXT, L"crocus");
    find.Pick(IDC_FIND_RESULTS, 0);
    find.Press(IDOK);
  });
  std::wstring chosen;
  const auto rows = Import(server_.Url("/recipes/leek-soup.html"), [&chosen](const DialogDriver& dialog) {
    dialog.Pick(IDC_REVIEW_LINES, 2);
    dialog.Press(IDC_REVIEW_FIND);
    chosen = dialog.RowText(IDC_REVIEW_LINES, 2, 3);
  });
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], (Texts{L"2 cups stock", L"2", L"cup", L"Chicken stock"}));
  // No saffron in the catalog by that name; the heading is no line.
  EXPECT_EQ(std::tuple(rows[1][3], rows[2][3], rows[3][1], chosen),
            std::tuple(L"Leeks, raw", L"(left out)", L"", L"Crocus threads"));

  ASSERT_EQ(recipes_.Records().size(), 1u);
  const Recipe& soup = *recipes_.Records()[0];
  // A pinch of a food served by the piece adds nothing: the two units do not convert.
  ASSERT_EQ(
      Outline(soup),
      L"Leek & Stock Soup serves 4, 72.5 cal: 2 x2 Chicken stock; 3 x1 Leeks, raw; 1 x12 Crocus threads");
  EXPECT_EQ(std::tuple(soup.prepHours, soup.prepMinutes, soup.cookHours, soup.cookMinutes),
            std::tuple(0, 15, 1, 10));
  // A category of the page's name is made; the recipe is linked as Add Recipe links it.
  const WString* category = recipes_.Categories()->NameById(soup.catId);
  EXPECT_EQ(std::tuple(soup.instructions, category ? *category : L"", soup.ingredientId != 0,
                       recipes_.List().SelectedCount()),
            std::tuple(L"1. Slice the leeks.\r\n2. Simmer.", L"Soups", true, 1));
  ASSERT_FALSE(soup.picture.empty());
  EXPECT_EQ(storage_test::ReadFile(folder_.Path() + L"Images\\" + soup.picture).size(), 17u);

  const uint32_t id = soup.foodId;
  Reopen();  // and it is in the catalog file
  ASSERT_NE(recipes_.FindById(id), nullptr);
  EXPECT_EQ(recipes_.FindById(id)->lines.size(), 3u);

  // A page may also give its recipe in an array of objects.
  Food(L"Rice", 200, 0, kUnitCup);
  server_.Serve("/array.html",
                "<script type='application/ld+json'>[{\"@type\":\"Organization\"},{\"@type\":"
                "\"Recipe\",\"name\":\"Rice Bowl\",\"recipeYield\":\"Serves 2\","
                "\"recipeIngredient\":[\"1 cup rice\"]}]</script>");
  Import(server_.Url("/array.html"));
  ASSERT_EQ(recipes_.Records().size(), 2u);
  EXPECT_EQ(Outline(*recipes_.Records()[1]), L"Rice Bowl serves 2, 100 cal: 1 x2 Rice");
}

// A batch yield without a serving count is asked for, and the review shows the calories per serving
// the lines come to beside those the page states, following the servings typed.
TEST_F(WebImportTest, ABatchYieldIsAskedForBesideTheComputedAndThePagesCalories) {
  Food(L"Flour", 400, 0, kUnitCup);
  server_.Serve("/bread.html",
                "<script type='application/ld+json'>{\"@type\":\"Recipe\",\"name\":\"Loaf\",\"recipeYield\":"
                "[\"1\",\"1 loaf\"],\"nutrition\":{\"calories\":\"210 kcal\"},\"recipeIngredient\":[\"2 cups "
                "flour\"]}</script>");
  Texts shown;
  prompts_.answers = {Prompt::kAnswerOk};
  Import(server_.Url("/bread.html"), [&](const DialogDriver& dialog) {
    shown = {dialog.Text(IDC_REVIEW_SERVES), dialog.Text(IDC_REVIEW_YIELD), dialog.Text(IDC_REVIEW_CALORIES)};
    dialog.Press(IDOK);  // refused without servings
    dialog.Keys(IDC_REVIEW_SERVES, L"4");
    shown.push_back(dialog.Text(IDC_REVIEW_CALORIES));
  });
  EXPECT_EQ(shown, (Texts{L"", L"The page makes 1 loaf: how many servings?",
                          L"Calories per serving: 800; the page states 210",
                          L"Calories per serving: 200; the page states 210"}));
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"Please enter how many servings the recipe makes.");
  ASSERT_EQ(recipes_.Records().size(), 1u);
  EXPECT_EQ(Outline(*recipes_.Records()[0]), L"Loaf serves 4, 200 cal: 2 x2 Flour");
}

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
    SCOPED_TRACE(c.path);
    prompts_.questions.clear();
    prompts_.answers = {Prompt::kAnswerOk};
    const WString address = server_.Url(c.path);
    EXPECT_TRUE(Import(address).empty());
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_EQ(prompts_.questions[0].text, c.message + address);
  }
  EXPECT_TRUE(recipes_.Records().empty());
}

// A MealMaster file of two recipes goes in at once with the best matches when asked to.
TEST_F(WebImportTest, AMealMasterFileOfTwoRecipesGoesInWithTheBestMatches) {
  RecipeCategory(L"Breads");
  Food(L"Flour, wheat", 455, 0, kUnitCup);
  Food(L"Water", 0, 0, kUnitCup);
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
  ASSERT_EQ(recipes_.Records().size(), 2u);
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_RECIPE_REVIEW), Outline(*recipes_.Records()[0]),
                       recipes_.Records()[1]->name),
            std::tuple(0, L"Flat Bread serves 2, 455 cal: 2 x2 Flour, wheat; 1 x2 Water", L"Paste"));
}

}  // namespace
