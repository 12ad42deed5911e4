// The Shopping List view in the view tests' host window: its file, the list commands through the
// real dialogs and scripted prompts, and the printed columns on a Letter bitmap.
#include <windows.h>

#include <commctrl.h>

#include "PrintTestSupport.h"
#include "food/ShoppingList.h"
#include "ingredients/FoodViewSupport.h"
#include "printing/ShoppingListLayout.h"
#include "views/ShopList/ShopList.h"

namespace {

using food_view_test::DialogDriver;
using food_view_test::Texts;
using storage_test::ReadFile;
using storage_test::WriteFile;

using OpenShopList = food_view_test::Opened<ShopList>;

// One recipe the list dialog can expand.
class OneRecipe : public TestView, public RecipeLookup {
 public:
  using TestView::TestView;
  const Recipe* FindRecipeNamed(WStringView name) const override {
    return name == recipe.name ? &recipe : nullptr;
  }
  Recipe recipe;
};

// A SHOPLIST element of id 4 named Weekly holding one cup of each food named, by a food id no
// ingredient has.
std::string Weekly(std::initializer_list<const char*> foods) {
  std::string items;
  for (const char* food : foods)
    items +=
        "<ITEM>\n<AMOUNT>1</AMOUNT>\n<SERVINGTYPE>2</SERVINGTYPE>\n<FOOD>\n<FOODID>9</FOODID>\n<FOODNAME>" +
        std::string(food) + "</FOODNAME>\n</FOOD>\n</ITEM>\n";
  return "<SHOPLIST>\n<LISTID>4</LISTID>\n<LISTNAME>Weekly</LISTNAME>\n" + items + "</SHOPLIST>\n";
}

class ShopListTest : public food_view_test::FoodViewTest {
 protected:
  ShopListTest() {
    EXPECT_TRUE(shop_.Create(tabs_.Window(), IDM_MAIN_SHOPLIST, IDM_POPUP_SHOPLIST));
    Open();
  }
  ~ShopListTest() override { shop_.WaitForBackgroundSaves(); }

  WString Catalog() const { return folder_ / L"ShoppingList.xml"; }
  void Open() {
    shop_.WaitForBackgroundSaves();
    shop_.OpenCatalog(Catalog(), false, 0, 100, nullptr);
    shop_.BuildColumns();
    shop_.FillList();
  }
  Ingredient* Food(const WString& name, double size = 1, ServingUnit unit = kUnitCup) {
    Ingredient record;
    record.name = name;
    record.size = size;
    record.type = unit;
    record.ounces = 1;
    return ingredients_.AddIngredient(record);
  }
  void AddTo(Meal& list, Ingredient* food, double amount, ServingUnit unit) {
    DataLockGuard lock;
    list.AddItem(MealItem{amount, static_cast<int32_t>(unit), food});
  }
  // Copies the selected list as `name`, which is selected then.
  void CopyAs(const wchar_t* name) {
    Answer(IDD_INPUT_BOX, IDC_INPUT_TEXT, name);
    shop_.CopyItem();
  }
  Texts Rows() const { return view_test::ListTexts(shop_.List()); }
  // An item as its food, amount and unit.
  using Item = std::tuple<const Ingredient*, double, int32_t>;
  static std::vector<Item> Items(const Meal& list) {
    std::vector<Item> items;
    for (const MealItem& item : list.items) items.emplace_back(item.food, item.amount, item.servingType);
    return items;
  }
  Texts ListNames() const {
    Texts names;
    for (const auto& list : shop_.Lists()) names.push_back(list->name);
    return names;
  }

  OpenShopList shop_{app_, status_, toolbar_, options_, ingredients_};
};

// ---- the file ----

// Items whose ingredient is missing are dropped, not added to the catalog; the rows follow the
// items whatever sort the file stores or a click on the header asks for.
TEST_F(ShopListTest, LoadingDropsItemsWithoutTheirIngredientAndKeepsTheItemOrder) {
  for (const wchar_t* food : {L"Flour", L"Zucchini", L"Apple", L"Milk"}) Food(food);
  ingredients_.WaitForBackgroundSaves();
  WriteFile(Catalog(),
            "<SHOPLISTLIST>\n<VIEW>\n<SORTCOL>0</SORTCOL>\n<SORTREVERSE>1</SORTREVERSE>\n</VIEW>\n<LISTS>\n" +
                Weekly({"Zucchini", "Unicorn", "flour", "Apple", "Milk"}) + "</LISTS>\n</SHOPLISTLIST>\n");
  Open();
  EXPECT_EQ(std::tuple(ListNames(), shop_.selectedCategory), std::tuple(Texts{L"Weekly"}, 4u));
  const Texts inOrder{L"1  cup Zucchini", L"1  cup Flour", L"1  cup Apple", L"1  cup Milk"};
  EXPECT_EQ(Rows(), inOrder);
  EXPECT_EQ(std::tuple(ingredients_.FindByName(L"Unicorn"), shop_.modified), std::tuple(nullptr, false));
  shop_.SortByColumn(0);
  EXPECT_EQ(Rows(), inOrder);
}

TEST_F(ShopListTest, SavedListsReadBackWithTheirIngredientsAndSaveByteForByte) {
  Ingredient* milk = Food(L"Milk & <Cream>", 0.5);
  Ingredient* salt = Food(L"Salt", 1, kUnitTeaspoon);
  AddTo(*shop_.SelectedList(), milk, 1.5, kUnitCup);
  AddTo(*shop_.SelectedList(), salt, 2, kUnitServing);
  ASSERT_TRUE(shop_.Save());
  const std::string saved = ReadFile(Catalog());
  EXPECT_NE(view_test::FileText(Catalog()).find(L"<SERVINGTYPE/>"), std::wstring::npos);  // unit 0 is empty
  Open();
  ASSERT_EQ(shop_.Lists().size(), 1u);
  EXPECT_EQ(Items(*shop_.Lists()[0]), (std::vector<Item>{{milk, 1.5, kUnitCup}, {salt, 2, kUnitServing}}));
  ASSERT_TRUE(shop_.Save());
  EXPECT_EQ(ReadFile(Catalog()), saved);
}

TEST_F(ShopListTest, ImportReplacesTheListOfTheSameNameAndKeepsTheOthers) {
  Ingredient* bread = Food(L"Bread", 1, kUnitSlice);
  const WString exchange = folder_ / L"Import.xml";
  WriteFile(
      exchange,
      "<SHOPLISTLIST>\n<VIEW>\n<COLS/>\n<COLWIDTHS>250</COLWIDTHS>\n<SELECTEDCATEGORY>77</SELECTEDCATEGORY>\n"
      "</VIEW>\n<LISTS>\n<SHOPLIST>\n<LISTID>77</LISTID>\n"
      "<LISTNAME>Shopping List</LISTNAME>\n<ITEM>\n<AMOUNT>3</AMOUNT>\n<SERVINGTYPE>20</SERVINGTYPE>\n"
      "<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Bread</FOODNAME>\n</FOOD>\n</ITEM>\n</SHOPLIST>\n"
      "</LISTS>\n</SHOPLISTLIST>\n");
  CopyAs(L"Party");
  prompts_.chosenPaths = {exchange};
  shop_.Import();
  ASSERT_EQ(ListNames(), (Texts{L"Party", L"Shopping List"}));
  const Meal& imported = *shop_.Lists()[1];
  EXPECT_EQ(std::tuple(ShoppingListId(imported), Items(imported), shop_.Categories()->Entries().Count()),
            std::tuple(77u, std::vector<Item>{{bread, 3, kUnitSlice}}, 2u));
  // The file's view settings come along; the view keeps its one column whatever they name.
  EXPECT_EQ(std::tuple(shop_.List().ColumnCount(), ListView_GetColumnWidth(shop_.List().Window(), 0),
                       shop_.SelectedList()),
            std::tuple(1, 250, &imported));
}

TEST_F(ShopListTest, ExportWritesTheSelectedListOnlyAfterTheOverwriteQuestion) {
  Ingredient* salt = Food(L"Salt", 1, kUnitTeaspoon);
  CopyAs(L"Party");
  AddTo(*shop_.SelectedList(), salt, 2, kUnitTeaspoon);
  const WString exchange = folder_ / L"Export.xml";
  WriteFile(exchange, "old");
  prompts_.chosenPaths = {exchange, exchange};
  prompts_.answers = {IDNO, IDYES};
  shop_.Export();
  EXPECT_EQ(ReadFile(exchange), "old");
  shop_.Export();
  EXPECT_EQ(
      view_test::Asked(prompts_),
      Texts(2, L"An export file with that name already exists, do you want to overwrite the existing file?"));
  EXPECT_EQ(prompts_.requests[0].title, L"Export shopping list to:");

  // Read back into a fresh view: only "Party" with its salt.
  OpenShopList other{app_, status_, toolbar_, options_, ingredients_};
  other.OpenCatalog(exchange, false, 0, 100, nullptr);
  ASSERT_EQ(other.Lists().size(), 1u);
  EXPECT_EQ(std::tuple(other.Lists()[0]->name, Items(*other.Lists()[0])),
            std::tuple(L"Party", std::vector<Item>{{salt, 2, kUnitTeaspoon}}));
}

// ---- the list commands ----

// Without a file, and after the last list is deleted, there is one empty shopping list; Restore
// brings back the backup's lists with the backup's own view settings.
TEST_F(ShopListTest, WithoutAFileOrAfterTheLastIsDeletedThereIsOneEmptyShoppingListRestoreBringsTheBackups) {
  EXPECT_EQ(
      std::tuple(ListNames(), shop_.SelectedList()->items.size(), shop_.Categories()->Entries().Count()),
      std::tuple(Texts{L"Shopping List"}, 0u, 1u));
  Ingredient* salt = Food(L"Salt", 1, kUnitTeaspoon);
  {
    DataLockGuard lock;
    shop_.SelectedList()->name = L"Old";
  }
  AddTo(*shop_.SelectedList(), salt, 1, kUnitTeaspoon);
  CopyAs(L"Party");  // the copy is the list shown when the backup is made
  const uint32_t party = ShoppingListId(*shop_.SelectedList());
  ASSERT_TRUE(shop_.Save());
  ASSERT_TRUE(CopyFileTo(Catalog(), Catalog() + L".bak"));
  prompts_.answers = {IDYES, IDNO, IDYES, IDYES};
  shop_.DeleteItem(nullptr, nullptr);
  const uint32_t oldId = shop_.selectedCategory;
  shop_.DeleteItem(nullptr, nullptr);
  shop_.DeleteItem(nullptr, nullptr);
  EXPECT_EQ(view_test::Asked(prompts_), (Texts{L"Would you like to delete the shopping list: Party",
                                               L"Would you like to delete the shopping list: Old",
                                               L"Would you like to delete the shopping list: Old"}));
  ASSERT_EQ(ListNames(), Texts{L"Shopping List"});
  EXPECT_EQ(std::tuple(shop_.Lists()[0]->items.empty(), shop_.IsFoodUsed(salt->foodId), Rows().empty()),
            std::tuple(true, false, true));
  EXPECT_GT(shop_.selectedCategory, oldId);

  shop_.RestoreBackup();
  EXPECT_EQ(
      std::tuple(ListNames(), shop_.Categories()->Entries().Count(), ShoppingListId(*shop_.SelectedList())),
      std::tuple(Texts{L"Old", L"Party"}, 2u, party));
}

TEST_F(ShopListTest, ListDialogMergesServingsAndExpandsRecipes) {
  Ingredient* milk = Food(L"Milk", 0.5);
  Ingredient* flour = Food(L"Flour");
  Food(L"Pancakes", 1, kUnitBlank);
  OneRecipe recipes{app_, status_, toolbar_, options_};
  recipes.recipe.name = L"Pancakes";
  recipes.recipe.lines.push_back(RecipeLine{2, static_cast<int32_t>(kUnitCup), WString(), flour});
  recipes.recipe.lines.push_back(RecipeLine{1, static_cast<int32_t>(kUnitCup), WString(), milk});

  dialogs_.Drive(IDD_SHOPLIST, [&](const DialogDriver& d) {
    EXPECT_EQ(d.Caption(), L"Add Shopping List");
    // 1 of the first unit (the blank one): one serving, half a cup of milk.
    for (const wchar_t* food : {L"Milk", L"Milk", L"Pancakes"}) {
      d.Type(IDC_SHOPLIST_FOOD, food);  // refills the food list
      d.Pick(IDC_SHOPLIST_FOODS, 0);
      d.Press(IDC_SHOPLIST_ADD);
    }
    d.Press(IDOK);  // no name yet: the dialog stays
    d.Type(IDC_SHOPLIST_NAME, L"Breakfast");
    d.Press(IDOK);
  });
  prompts_.answers = {IDOK};
  const uint32_t id = shop_.AddItem(&recipes);
  EXPECT_EQ(view_test::Asked(prompts_), Texts{L"Please enter the name of this shopping list"});
  ASSERT_NE(id, 0u);
  EXPECT_EQ(std::tuple(shop_.SelectedList()->name, Items(*shop_.SelectedList())),
            std::tuple(L"Breakfast", std::vector<Item>{{milk, 2, kUnitCup}, {flour, 2, kUnitCup}}));
  EXPECT_TRUE(shop_.IsFoodUsed(flour->foodId));
}

TEST_F(ShopListTest, SearchPresetsTheFoodsServingAndChangeRewritesTheSelectedItem) {
  Food(L"Milk", 0.5);
  // The Ingredients tab shows another category; Find Ingredient starts over the whole catalog.
  const uint32_t spices = IngredientCategory(L"Spices");
  ingredients_.FillCategorySelector(spices);
  ingredients_.SelectFilterFor(spices, L"S");
  dialogs_.Drive(IDD_FIND_INGREDIENT, [](const DialogDriver& find) {
    EXPECT_EQ(find.Count(IDC_FIND_RESULTS), 1);
    find.Pick(IDC_FIND_RESULTS, 0);
    find.Press(IDOK);
  });
  dialogs_.Drive(IDD_SHOPLIST, [&](const DialogDriver& d) {
    d.Type(IDC_SHOPLIST_FOOD, L"milk");
    d.Press(IDC_SHOPLIST_SEARCH);  // Find Ingredient: Milk, with half a cup
    d.Press(IDC_SHOPLIST_ADD);
    d.Pick(IDC_SHOPLIST_ITEMS, 0);
    d.Pick(IDC_SHOPLIST_WHOLE, 2);  // 2 and the half a cup taken over
    d.Press(IDC_SHOPLIST_CHANGE);
    EXPECT_EQ(d.RowText(IDC_SHOPLIST_ITEMS, 0), L"2 1/2  cup Milk");
    // No amount at all is taken too, and the confirmed list has nothing of it to buy.
    d.Pick(IDC_SHOPLIST_ITEMS, 0);
    d.Pick(IDC_SHOPLIST_WHOLE, 0);
    d.Pick(IDC_SHOPLIST_FRACTION, 0);
    d.Press(IDC_SHOPLIST_CHANGE);
    EXPECT_EQ(d.RowText(IDC_SHOPLIST_ITEMS, 0), L" cup Milk");  // no amount at all shown without one
    d.Type(IDC_SHOPLIST_NAME, L"Milk run");
    d.Press(IDOK);
  });
  ASSERT_NE(shop_.AddItem(nullptr), 0u);
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_FIND_INGREDIENT), shop_.SelectedList()->items.empty()),
            std::tuple(1, true));
}

// Amounts are typed and Enter adds the food picked, with its serving unit preset; after an item to
// buy is picked, Enter changes it to the amount typed.
TEST_F(ShopListTest, TypedAmountsAddFoodsWithEnterAndChangeThePickedItem) {
  Ingredient* milk = Food(L"Milk", 0.5);
  Ingredient* flour = Food(L"Flour", 100, kUnitGram);
  dialogs_.Drive(IDD_SHOPLIST, [&](const DialogDriver& d) {
    d.Type(IDC_SHOPLIST_NAME, L"Baking");
    d.ShowTab(IDC_SHOPLIST_TABS, 1);
    const auto pick = [&d](const wchar_t* food) {
      d.Type(IDC_SHOPLIST_FOOD, food);
      d.Pick(IDC_SHOPLIST_FOODS, 0);
    };
    pick(L"Milk");  // half a cup: the fraction beside an empty box, which typing replaces
    EXPECT_EQ(
        std::tuple(d.Text(IDC_SHOPLIST_WHOLE), d.Text(IDC_SHOPLIST_FRACTION), d.Text(IDC_SHOPLIST_UNIT)),
        std::tuple(L"", L"1/2 ", L"cup"));
    d.Keys(IDC_SHOPLIST_WHOLE, L"1 1/2");
    d.Enter();
    pick(L"Flour");
    d.Keys(IDC_SHOPLIST_WHOLE, L"250");
    d.Enter();
    EXPECT_EQ(d.Rows(IDC_SHOPLIST_ITEMS), (Texts{L"1 1/2  cup Milk", L"250  g Flour"}));
    d.Pick(IDC_SHOPLIST_ITEMS, 0);
    d.Keys(IDC_SHOPLIST_WHOLE, L"2");
    d.Enter();
    d.Press(IDOK);
  });
  ASSERT_NE(shop_.AddItem(nullptr), 0u);
  EXPECT_EQ(Items(*shop_.SelectedList()), (std::vector<Item>{{milk, 2, kUnitCup}, {flour, 250, kUnitGram}}));
}

// ---- printing ----

// Fifty-one lines make two columns of 25 and one in the third; 101 fill three columns of 33 and
// turn the page.
TEST(ShoppingListPrint, LinesFillTheColumnsInTurnAndAFullPageTurnsWithItsTitle) {
  print_test::LetterBitmap page;
  print_test::RecordingSurface surface(page, L"Arial", true);
  Texts lines;
  for (int n = 1; n <= 51; ++n) lines.push_back(L"Item " + std::to_wstring(n));
  ASSERT_TRUE(PrintShoppingList(surface, L"Weekly", lines));
  EXPECT_EQ(surface.pages, 1);

  const int dpi = print_test::kDpi, line = surface.LineHeight(), firstLine = dpi / 2 + 2 * line;
  const print_test::Drawn* title = surface.Find(L"Weekly");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(std::tuple(title->align, title->x, title->right),
            std::tuple(PrintSurface::Align::Centre, dpi / 2, 15 * dpi / 2));
  const int columnWidth = 13 * dpi / 2 / 2;
  const struct {
    const wchar_t* text;
    int column, row;
  } expected[] = {
      {L"Item 1", 0, 0}, {L"Item 25", 0, 24}, {L"Item 26", 1, 0}, {L"Item 50", 1, 24}, {L"Item 51", 2, 0}};
  for (const auto& item : expected) {
    const print_test::Drawn* drawn = surface.Find(item.text);
    ASSERT_NE(drawn, nullptr) << item.text;
    EXPECT_EQ(std::tuple(drawn->x, drawn->y),
              std::tuple(dpi / 2 + item.column * columnWidth, firstLine + item.row * line))
        << item.text;
  }
  for (int n = 52; n <= 101; ++n) lines.push_back(L"Item " + std::to_wstring(n));
  print_test::RecordingSurface big(page, L"Arial", true);
  ASSERT_TRUE(PrintShoppingList(big, L"Big", lines));  // 3 columns of 33, then a page
  EXPECT_EQ(std::tuple(big.pages, big.endedPages), std::tuple(2, 1));
  const print_test::Drawn* last = big.Find(L"Item 100");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(std::tuple(last->page, last->x, last->y), std::tuple(2, dpi / 2, firstLine + line));
  int titles = 0;
  for (const auto& drawn : big.drawn)
    titles += drawn.text == L"Big" && drawn.page == 2 && drawn.y == firstLine;
  EXPECT_EQ(std::tuple(titles, ShoppingListColumns(50), ShoppingListColumns(100)), std::tuple(1, 1, 2));
}

}  // namespace
