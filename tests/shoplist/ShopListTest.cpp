// The Shopping List view in the view tests' host window: its file, the list commands through the
// real dialogs and scripted prompts, and the printed columns on a Letter bitmap.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "PrintTestSupport.h"
#include "ViewTestSupport.h"
#include "app/DataLockGuard.h"
#include "food/ShoppingList.h"
#include "printing/ShoppingListLayout.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "views/IngredientList/IngredientList.h"
#include "views/ShopList/ShopList.h"

namespace {

using storage_test::ReadFile;
using storage_test::ScriptedPrompts;
using storage_test::WriteFile;
using view_test::DialogScripts;
using view_test::Press;

WString ListBoxText(HWND box, int row) {
  wchar_t text[256] = {};
  ListBox_GetText(box, row, text);
  return text;
}

class OpenShopList : public ShopList {
 public:
  using ShopList::ShopList;
  using View::lastId;
  using View::modified;
  using View::selectedCategory;
  using View::workerMode;
  using View::workPath;
};

// One recipe the list dialog can expand.
class OneRecipe : public TestView, public RecipeLookup {
 public:
  using TestView::TestView;
  const Recipe* FindRecipeNamed(WStringView name) const override {
    return name == recipe.name ? &recipe : nullptr;
  }
  Recipe recipe;
};

class ShopListTest : public view_test::ViewTest {
 protected:
  ShopListTest() {
    view_.Hide();
    EXPECT_TRUE(ingredients_.Create(tabs_.Window(), 9920, 9921));
    ingredients_.OpenCatalog(folder_.Path() + L"Ingredients.xml", false, 0, 100, nullptr);
    EXPECT_TRUE(shop_.Create(tabs_.Window(), 9920, 9921));
    Open();
  }
  ~ShopListTest() override {
    shop_.WaitForBackgroundSaves();
    ingredients_.WaitForBackgroundSaves();
  }

  WString Catalog() const { return folder_.Path() + L"ShoppingList.xml"; }
  void Open() {
    shop_.WaitForBackgroundSaves();
    shop_.OpenCatalog(Catalog(), false, 0, 100, nullptr);
    shop_.BuildColumns();
    shop_.FillList();
  }
  Ingredient* Food(const WString& name, double size, ServingUnit unit) {
    Ingredient record;
    record.name = name;
    record.size = size;
    record.type = unit;
    record.ounces = 1;
    return ingredients_.AddIngredient(record);
  }
  std::vector<WString> Rows() const {
    std::vector<WString> rows;
    for (int row = 0; row < shop_.List().ItemCount(); ++row) rows.push_back(shop_.List().ItemText(row, 0));
    return rows;
  }
  std::vector<WString> ListNames() const {
    std::vector<WString> names;
    for (const auto& list : shop_.Lists()) names.push_back(list->name);
    return names;
  }

  // The Ingredients view, with its filter reachable.
  struct FilteredIngredients : IngredientList {
    using IngredientList::IngredientList;
    using View::FillCategorySelector;
    using View::SelectFilterFor;
  } ingredients_{app_, status_, toolbar_, options_};
  OpenShopList shop_{app_, status_, toolbar_, options_, ingredients_};
  DialogScripts dialogs_;
  ScriptedPrompts prompts_;
};

// ---- the file ----

TEST_F(ShopListTest, WithoutAFileThereIsOneEmptyShoppingList) {
  EXPECT_EQ(ListNames(), std::vector<WString>{L"Shopping List"});
  ASSERT_NE(shop_.SelectedList(), nullptr);
  EXPECT_TRUE(shop_.SelectedList()->items.empty());
  EXPECT_EQ(shop_.Categories()->Entries().Count(), 1u);
}

TEST_F(ShopListTest, LoadingDropsItemsWhoseIngredientIsMissing) {
  Food(L"Flour", 1, kUnitCup);
  ingredients_.WaitForBackgroundSaves();
  WriteFile(Catalog(),
            "<SHOPLISTLIST>\n<LISTS>\n<SHOPLIST>\n<LISTID>4</LISTID>\n<LISTNAME>Weekly</LISTNAME>\n"
            "<ITEM>\n<AMOUNT>2</AMOUNT>\n<SERVINGTYPE>2</SERVINGTYPE>\n"
            "<FOOD>\n<FOODID>9</FOODID>\n<FOODNAME>flour</FOODNAME>\n</FOOD>\n</ITEM>\n"
            "<ITEM>\n<AMOUNT>1</AMOUNT>\n<SERVINGTYPE>2</SERVINGTYPE>\n"
            "<FOOD>\n<FOODID>10</FOODID>\n<FOODNAME>Unicorn</FOODNAME>\n</FOOD>\n</ITEM>\n"
            "</SHOPLIST>\n</LISTS>\n</SHOPLISTLIST>\n");
  Open();
  ASSERT_EQ(ListNames(), std::vector<WString>{L"Weekly"});
  EXPECT_EQ(shop_.selectedCategory, 4u);
  EXPECT_EQ(Rows(), std::vector<WString>{L"2  cup Flour"});
  EXPECT_EQ(ingredients_.FindByName(L"Unicorn"), nullptr);  // not added to the catalog
  EXPECT_FALSE(shop_.modified);
}

TEST_F(ShopListTest, RowsStayInItemOrderWhateverTheStoredSort) {
  Food(L"Zucchini", 1, kUnitCup);
  Food(L"Apple", 1, kUnitCup);
  Food(L"Milk", 1, kUnitCup);
  ingredients_.WaitForBackgroundSaves();
  std::string items;
  for (const char* name : {"Zucchini", "Apple", "Milk"})
    items += "<ITEM>\n<AMOUNT>1</AMOUNT>\n<SERVINGTYPE>2</SERVINGTYPE>\n<FOOD>\n<FOODNAME>" +
             std::string(name) + "</FOODNAME>\n</FOOD>\n</ITEM>\n";
  WriteFile(Catalog(),
            "<SHOPLISTLIST>\n<VIEW>\n<SORTCOL>0</SORTCOL>\n<SORTREVERSE>1</SORTREVERSE>\n</VIEW>\n"
            "<LISTS>\n<SHOPLIST>\n<LISTID>4</LISTID>\n<LISTNAME>Weekly</LISTNAME>\n" +
                items + "</SHOPLIST>\n</LISTS>\n</SHOPLISTLIST>\n");
  Open();
  const std::vector<WString> inOrder{L"1  cup Zucchini", L"1  cup Apple", L"1  cup Milk"};
  EXPECT_EQ(Rows(), inOrder);
  shop_.SortByColumn(0);  // a click on the header
  EXPECT_EQ(Rows(), inOrder);
}

TEST_F(ShopListTest, SavedListsReadBackWithTheirIngredientsAndSaveByteForByte) {
  Ingredient* milk = Food(L"Milk & <Cream>", 0.5, kUnitCup);
  Ingredient* salt = Food(L"Salt", 1, kUnitTeaspoon);
  {
    DataLockGuard lock;
    Meal& list = *shop_.SelectedList();
    list.AddItem(MealItem{1.5, static_cast<int32_t>(kUnitCup), milk});
    list.AddItem(MealItem{2, static_cast<int32_t>(kUnitServing), salt});
  }
  ASSERT_TRUE(shop_.Save());
  const std::string saved = ReadFile(Catalog());
  const std::wstring text(reinterpret_cast<const wchar_t*>(saved.data()), saved.size() / sizeof(wchar_t));
  EXPECT_NE(text.find(L"<SERVINGTYPE/>"), std::wstring::npos);  // unit 0 is an empty element
  Open();
  ASSERT_EQ(shop_.Lists().size(), 1u);
  const Meal& read = *shop_.Lists()[0];
  ASSERT_EQ(read.items.size(), 2u);
  EXPECT_EQ(read.items[0].food, milk);
  EXPECT_DOUBLE_EQ(read.items[0].amount, 1.5);
  EXPECT_EQ(read.items[1].servingType, static_cast<int32_t>(kUnitServing));
  ASSERT_TRUE(shop_.Save());
  EXPECT_EQ(ReadFile(Catalog()), saved);
}

TEST_F(ShopListTest, ImportReplacesTheListOfTheSameNameAndKeepsTheOthers) {
  Ingredient* bread = Food(L"Bread", 1, kUnitSlice);
  const WString exchange = folder_.Path() + L"Import.xml";
  WriteFile(
      exchange,
      "<SHOPLISTLIST>\n<VIEW>\n<COLS/>\n<COLWIDTHS>250</COLWIDTHS>\n<SELECTEDCATEGORY>77</SELECTEDCATEGORY>\n"
      "</VIEW>\n<LISTS>\n<SHOPLIST>\n<LISTID>77</LISTID>\n"
      "<LISTNAME>Shopping List</LISTNAME>\n<ITEM>\n<AMOUNT>3</AMOUNT>\n<SERVINGTYPE>20</SERVINGTYPE>\n"
      "<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Bread</FOODNAME>\n</FOOD>\n</ITEM>\n</SHOPLIST>\n"
      "</LISTS>\n</SHOPLISTLIST>\n");
  dialogs_.On(IDD_INPUT_BOX, [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_INPUT_TEXT, L"Party");
    Press(dialog, IDOK);
  });
  shop_.CopyItem();
  ASSERT_EQ(ListNames(), (std::vector<WString>{L"Shopping List", L"Party"}));
  prompts_.chosenPaths = {exchange};
  shop_.Import();
  ASSERT_EQ(ListNames(), (std::vector<WString>{L"Party", L"Shopping List"}));
  const Meal& imported = *shop_.Lists()[1];
  EXPECT_EQ(ShoppingListId(imported), 77u);
  ASSERT_EQ(imported.items.size(), 1u);
  EXPECT_EQ(imported.items[0].food, bread);
  EXPECT_EQ(shop_.Categories()->Entries().Count(), 2u);
  // The file's view settings come along; the view keeps its one column whatever they name.
  EXPECT_EQ(shop_.List().ColumnCount(), 1);
  EXPECT_EQ(ListView_GetColumnWidth(shop_.List().Window(), 0), 250);
  EXPECT_EQ(shop_.SelectedList(), &imported);
  EXPECT_EQ(Rows(), std::vector<WString>{L"3  slice Bread"});
}

TEST_F(ShopListTest, ExportWritesTheSelectedListOnlyAfterTheOverwriteQuestion) {
  Ingredient* salt = Food(L"Salt", 1, kUnitTeaspoon);
  dialogs_.On(IDD_INPUT_BOX, [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_INPUT_TEXT, L"Party");
    Press(dialog, IDOK);
  });
  shop_.CopyItem();
  {
    DataLockGuard lock;
    shop_.SelectedList()->AddItem(MealItem{2, static_cast<int32_t>(kUnitTeaspoon), salt});
  }
  const WString exchange = folder_.Path() + L"Export.xml";
  WriteFile(exchange, "old");
  prompts_.chosenPaths = {exchange, exchange};
  prompts_.answers = {IDNO, IDYES};
  shop_.Export();
  EXPECT_EQ(ReadFile(exchange), "old");
  shop_.Export();
  ASSERT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(prompts_.questions[1].text,
            L"An export file with that name already exists, do you want to overwrite the existing file?");
  EXPECT_EQ(prompts_.requests[0].title, L"Export shopping list to:");

  // Read back into a fresh view: only "Party" with its salt.
  OpenShopList other{app_, status_, toolbar_, options_, ingredients_};
  other.OpenCatalog(exchange, false, 0, 100, nullptr);
  ASSERT_EQ(other.Lists().size(), 1u);
  EXPECT_EQ(other.Lists()[0]->name, L"Party");
  ASSERT_EQ(other.Lists()[0]->items.size(), 1u);
  EXPECT_EQ(other.Lists()[0]->items[0].food, salt);
}

TEST_F(ShopListTest, RestoreBringsBackTheBackupsLists) {
  {
    DataLockGuard lock;
    shop_.SelectedList()->name = L"Saved";
  }
  dialogs_.On(IDD_INPUT_BOX, [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_INPUT_TEXT, L"Party");
    Press(dialog, IDOK);
  });
  shop_.CopyItem();  // the copy is the list shown when the backup is made
  const uint32_t party = ShoppingListId(*shop_.SelectedList());
  ASSERT_TRUE(shop_.Save());
  ASSERT_TRUE(CopyFileTo(Catalog(), Catalog() + L".bak"));
  for (int deleted = 0; deleted < 2; ++deleted) {
    prompts_.answers = {IDYES};
    shop_.DeleteItem(nullptr, nullptr);
  }
  ASSERT_EQ(ListNames(), std::vector<WString>{L"Shopping List"});
  prompts_.answers = {IDYES};
  shop_.RestoreBackup();
  EXPECT_EQ(ListNames(), (std::vector<WString>{L"Saved", L"Party"}));
  EXPECT_EQ(shop_.Categories()->Entries().Count(), 2u);
  EXPECT_EQ(ShoppingListId(*shop_.SelectedList()), party);  // the backup's own view settings
}

// ---- the list commands ----

TEST_F(ShopListTest, DeletingTheOnlyListLeavesAnEmptyShoppingList) {
  Ingredient* salt = Food(L"Salt", 1, kUnitTeaspoon);
  {
    DataLockGuard lock;
    shop_.SelectedList()->name = L"Old";
    shop_.SelectedList()->AddItem(MealItem{1, static_cast<int32_t>(kUnitTeaspoon), salt});
  }
  const uint32_t oldId = shop_.selectedCategory;
  prompts_.answers = {IDNO, IDYES};
  shop_.DeleteItem(nullptr, nullptr);
  EXPECT_EQ(ListNames(), std::vector<WString>{L"Old"});
  shop_.DeleteItem(nullptr, nullptr);
  ASSERT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(prompts_.questions[1].text, L"Would you like to delete the shopping list: Old");
  ASSERT_EQ(ListNames(), std::vector<WString>{L"Shopping List"});
  EXPECT_TRUE(shop_.Lists()[0]->items.empty());
  EXPECT_GT(shop_.selectedCategory, oldId);
  EXPECT_FALSE(shop_.IsFoodUsed(salt->foodId));
  EXPECT_TRUE(Rows().empty());
}

TEST_F(ShopListTest, ListDialogMergesServingsAndExpandsRecipes) {
  Ingredient* milk = Food(L"Milk", 0.5, kUnitCup);
  Ingredient* flour = Food(L"Flour", 1, kUnitCup);
  Food(L"Pancakes", 1, kUnitBlank);
  OneRecipe recipes{app_, status_, toolbar_, options_};
  recipes.recipe.name = L"Pancakes";
  recipes.recipe.lines.push_back(RecipeLine{2, static_cast<int32_t>(kUnitCup), WString(), flour});
  recipes.recipe.lines.push_back(RecipeLine{1, static_cast<int32_t>(kUnitCup), WString(), milk});

  WString caption;
  dialogs_.On(IDD_SHOPLIST, [&](HWND dialog) {
    caption = view_test::WindowText(dialog);
    const auto put = [dialog](const wchar_t* food) {
      SetDlgItemTextW(dialog, IDC_SHOPLIST_FOOD, food);  // refills the food list
      ListBox_SetCurSel(GetDlgItem(dialog, IDC_SHOPLIST_FOODS), 0);
      Press(dialog, IDC_SHOPLIST_ADD);
    };
    put(L"Milk");  // 1 of the first unit (the blank one): one serving, half a cup
    put(L"Milk");
    put(L"Pancakes");
    Press(dialog, IDOK);  // no name yet: the dialog stays
    SetDlgItemTextW(dialog, IDC_SHOPLIST_NAME, L"Breakfast");
    Press(dialog, IDOK);
  });
  prompts_.answers = {IDOK};
  const uint32_t id = shop_.AddItem(&recipes);
  EXPECT_EQ(caption, L"Add Shopping List");
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"Please enter the name of this shopping list");
  ASSERT_NE(id, 0u);
  EXPECT_EQ(shop_.selectedCategory, id);
  const Meal& list = *shop_.SelectedList();
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list.items[0].food, milk);
  EXPECT_EQ(list.name, L"Breakfast");
  EXPECT_EQ(Rows(), (std::vector<WString>{L"2  cup Milk", L"2  cup Flour"}));  // in item order
  EXPECT_TRUE(shop_.IsFoodUsed(flour->foodId));
}

TEST_F(ShopListTest, SearchPresetsTheFoodsServingAndChangeRewritesTheSelectedItem) {
  Food(L"Milk", 0.5, kUnitCup);
  // The Ingredients tab shows another category; Find Ingredient starts over the whole catalog.
  uint32_t spices;
  {
    DataLockGuard lock;
    spices = ingredients_.Categories().AddNew(L"Spices", ingredients_.IdCounter());
  }
  ingredients_.FillCategorySelector(spices);
  ingredients_.SelectFilterFor(spices, L"S");
  int found = 0;
  WString changed, zeroed;
  dialogs_.On(IDD_FIND_INGREDIENT, [&found](HWND find) {
    found = static_cast<int>(SendDlgItemMessageW(find, IDC_FIND_RESULTS, LB_GETCOUNT, 0, 0));
    SendDlgItemMessageW(find, IDC_FIND_RESULTS, LB_SETCURSEL, 0, 0);
    Press(find, IDOK);
  });
  dialogs_.On(IDD_SHOPLIST, [&](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_SHOPLIST_FOOD, L"milk");
    Press(dialog, IDC_SHOPLIST_SEARCH);  // Find Ingredient: Milk, with half a cup
    Press(dialog, IDC_SHOPLIST_ADD);
    const HWND items = GetDlgItem(dialog, IDC_SHOPLIST_ITEMS);
    const auto select = [&] {
      ListBox_SetCurSel(items, 0);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SHOPLIST_ITEMS, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(items));
    };
    select();
    ComboBox_SetCurSel(GetDlgItem(dialog, IDC_SHOPLIST_WHOLE), 2);  // 2 and the half a cup taken over
    Press(dialog, IDC_SHOPLIST_CHANGE);
    changed = ListBoxText(items, 0);
    // No amount at all is taken too, and the confirmed list has nothing of it to buy.
    select();
    ComboBox_SetCurSel(GetDlgItem(dialog, IDC_SHOPLIST_WHOLE), 0);
    ComboBox_SetCurSel(GetDlgItem(dialog, IDC_SHOPLIST_FRACTION), 0);
    Press(dialog, IDC_SHOPLIST_CHANGE);
    zeroed = ListBoxText(items, 0);
    SetDlgItemTextW(dialog, IDC_SHOPLIST_NAME, L"Milk run");
    Press(dialog, IDOK);
  });
  ASSERT_NE(shop_.AddItem(nullptr), 0u);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(changed, L"2 1/2  cup Milk");
  EXPECT_EQ(zeroed, L" cup Milk");  // shown without an amount
  EXPECT_TRUE(shop_.SelectedList()->items.empty());
}

// ---- printing ----

TEST(ShoppingListPrint, FiftyOneLinesMakeTwoColumnsOfTwentyFiveAndOneInTheThird) {
  print_test::LetterBitmap page;
  print_test::RecordingSurface surface(page, L"Arial", true);
  std::vector<WString> lines;
  for (int n = 1; n <= 51; ++n) lines.push_back(L"Item " + std::to_wstring(n));
  ASSERT_TRUE(PrintShoppingList(surface, L"Weekly", lines));
  EXPECT_EQ(surface.pages, 1);

  const int dpi = print_test::kDpi;
  const int line = surface.LineHeight();
  const int firstLine = dpi / 2 + 2 * line;
  const print_test::Drawn* title = surface.Find(L"Weekly");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->align, PrintSurface::Align::Centre);
  EXPECT_EQ(title->x, dpi / 2);
  EXPECT_EQ(title->right, 15 * dpi / 2);
  const int columnWidth = 13 * dpi / 2 / 2;
  const struct {
    const wchar_t* text;
    int x, y;
  } expected[] = {{L"Item 1", dpi / 2, firstLine},
                  {L"Item 25", dpi / 2, firstLine + 24 * line},
                  {L"Item 26", dpi / 2 + columnWidth, firstLine},
                  {L"Item 50", dpi / 2 + columnWidth, firstLine + 24 * line},
                  {L"Item 51", dpi / 2 + 2 * columnWidth, firstLine}};
  for (const auto& item : expected) {
    const print_test::Drawn* drawn = surface.Find(item.text);
    ASSERT_NE(drawn, nullptr) << item.text;
    EXPECT_EQ(drawn->x, item.x) << item.text;
    EXPECT_EQ(drawn->y, item.y) << item.text;
  }
  // On the bitmap: ink at the start of the third column on the first line only.
  const auto inked = [&](int left, int top) {
    for (int y = top; y < top + line; ++y)
      for (int x = left; x < left + 30; ++x)
        if (GetPixel(page.Dc(), x, y) == RGB(0, 0, 0)) return true;
    return false;
  };
  EXPECT_TRUE(inked(dpi / 2 + 2 * columnWidth, firstLine));
  EXPECT_FALSE(inked(dpi / 2 + 2 * columnWidth, firstLine + line));
  EXPECT_TRUE(inked(dpi / 2 + columnWidth, firstLine + 24 * line));
}

TEST(ShoppingListPrint, AThirdFullColumnTurnsThePageAndRepeatsTheTitle) {
  print_test::LetterBitmap page;
  print_test::RecordingSurface surface(page, L"Arial", true);
  std::vector<WString> lines;
  for (int n = 1; n <= 101; ++n) lines.push_back(L"Item " + std::to_wstring(n));
  ASSERT_TRUE(PrintShoppingList(surface, L"Big", lines));  // 3 columns of 33, then a page
  EXPECT_EQ(surface.pages, 2);
  EXPECT_EQ(surface.endedPages, 1);
  const int line = surface.LineHeight();
  const int firstLine = print_test::kDpi / 2 + 2 * line;
  const print_test::Drawn* last = surface.Find(L"Item 100");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->page, 2);
  EXPECT_EQ(last->x, print_test::kDpi / 2);
  EXPECT_EQ(last->y, firstLine + line);
  int titles = 0;
  for (const auto& drawn : surface.drawn)
    titles += drawn.text == L"Big" && drawn.page == 2 && drawn.y == firstLine;
  EXPECT_EQ(titles, 1);
  EXPECT_EQ(ShoppingListColumns(50), 1);
  EXPECT_EQ(ShoppingListColumns(100), 2);
}

}  // namespace
