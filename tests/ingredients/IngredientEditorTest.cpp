// The ingredient editor (dialog 2701) and Find Ingredient (dialog 2600), driven through the
// Ingredients view's commands with scripts that run once each dialog shows.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "ViewTestSupport.h"
#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "food/FoodEditor.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "views/IngredientList/IngredientEditor.h"
#include "views/IngredientList/IngredientList.h"

namespace {

using storage_test::ReadFile;
using storage_test::ScriptedPrompts;
using storage_test::WriteFile;
using view_test::DialogScripts;
using view_test::Press;
using view_test::WindowText;

class EditedIngredientList : public IngredientList {
 public:
  using IngredientList::IngredientList;
  using View::catalogPath;
  using View::FillCategorySelector;
  using View::imagesFolder;
  using View::lastId;
  using View::modified;
  using View::readOnly;
  using View::selectedCategory;
};

WString ItemText(HWND dialog, int id) {
  return WindowText(GetDlgItem(dialog, id));
}

void SelectData(HWND dialog, int comboId, LPARAM data) {
  const HWND combo = GetDlgItem(dialog, comboId);
  for (int i = 0; i < ComboBox_GetCount(combo); ++i)
    if (ComboBox_GetItemData(combo, i) == data) ComboBox_SetCurSel(combo, i);
}

void ShowTab(HWND dialog, int tab) {
  const HWND tabs = GetDlgItem(dialog, IDC_EDITOR_TABS);
  TabCtrl_SetCurSel(tabs, tab);
  NMHDR header{tabs, IDC_EDITOR_TABS, static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(dialog, WM_NOTIFY, IDC_EDITOR_TABS, reinterpret_cast<LPARAM>(&header));
}

bool Visible(HWND dialog, int id) {
  return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

// Types a nutrient as the user does: focus in, text, focus out.
void TypeNutrient(HWND dialog, uint32_t nutrient, const wchar_t* text) {
  const HWND edit = GetDlgItem(dialog, kNutrientEditIds[nutrient]);
  SetFocus(edit);
  SetWindowTextW(edit, text);
  SetFocus(GetDlgItem(dialog, IDC_EDITOR_TABS));
}

class IngredientEditorTest : public view_test::ViewTest {
 protected:
  static constexpr int kMenu = 9910;
  static constexpr int kPopup = 9911;

  IngredientEditorTest() {
    view_.Hide();
    EXPECT_TRUE(ingredients_.Create(tabs_.Window(), kMenu, kPopup));
    ingredients_.OpenCatalog(Catalog(), false, 0, 100, nullptr);
    ingredients_.BuildColumns();
  }
  ~IngredientEditorTest() override { ingredients_.WaitForBackgroundSaves(); }

  WString Catalog() const { return folder_.Path() + L"Ingredients.xml"; }
  uint32_t AddCategory(const WString& name) {
    DataLockGuard lock;
    return ingredients_.Categories().AddNew(name, ingredients_.IdCounter());
  }
  Ingredient* Add(const WString& name, uint32_t catId, const WString& picture = WString()) {
    Ingredient record;
    record.name = name;
    record.catId = catId;
    record.size = 1.5;
    record.type = kUnitCup;
    record.ounces = 4;
    record.picture = picture;
    record.nutrients[Nutrient::kCalories] = 52;
    return ingredients_.AddIngredient(record);
  }
  // Lists the records and selects the row of `name`.
  void SelectRow(const WString& name) {
    ingredients_.FillList();
    for (int row = 0; row < ingredients_.List().ItemCount(); ++row)
      if (ingredients_.List().ItemText(row, 0) == name) ingredients_.List().Select(row);
  }
  WString Picture(const wchar_t* name) const { return ingredients_.imagesFolder + name; }

  EditedIngredientList ingredients_{app_, status_, toolbar_, options_};
  DialogScripts dialogs_;
  ScriptedPrompts prompts_;
};

// ---- editing ----

TEST_F(IngredientEditorTest, EditShowsTheRecordAndPercentagesBecomeAmountsOfTheDailyValue) {
  const uint32_t fruit = AddCategory(L"Fruit");
  AddCategory(L"Spice");
  Ingredient* apple = Add(L"Apple", fruit);
  SelectRow(L"Apple");
  WString caption, whole, fraction, unit, calories, iron;
  bool ironShown = false;
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    caption = WindowText(dialog);
    whole = ItemText(dialog, IDC_EDITOR_WHOLE);
    fraction = ItemText(dialog, IDC_EDITOR_FRACTION);
    unit = ItemText(dialog, IDC_EDITOR_UNIT);
    EXPECT_EQ(ItemText(dialog, IDC_EDITOR_CATEGORY), L"Fruit");
    EXPECT_EQ(ItemText(dialog, IDC_EDITOR_OUNCES), L"4");
    EXPECT_EQ(ItemText(dialog, IDC_EDITOR_PICTURE_PATH), L"nopicture");
    EXPECT_TRUE(Visible(dialog, IDC_EDITOR_GRAMS_TO_OUNCES));
    EXPECT_FALSE(Visible(dialog, IDC_EDITOR_DONE));
    ShowTab(dialog, 1);
    EXPECT_TRUE(Visible(dialog, kNutrientEditIds[Nutrient::kCalories]));
    EXPECT_FALSE(Visible(dialog, IDC_EDITOR_NAME));
    TypeNutrient(dialog, Nutrient::kCalories, L"10%");
    calories = ItemText(dialog, kNutrientEditIds[Nutrient::kCalories]);
    ShowTab(dialog, 3);
    ironShown = Visible(dialog, kNutrientEditIds[Nutrient::kIron]);
    TypeNutrient(dialog, Nutrient::kIron, L"50 %");
    iron = ItemText(dialog, kNutrientEditIds[Nutrient::kIron]);
    SetDlgItemTextW(dialog, kNutrientEditIds[Nutrient::kProtein], L"10%");  // the focus never left it
    SetDlgItemTextW(dialog, IDC_EDITOR_NAME, L"Green apple");
    Press(dialog, IDOK);
  });
  ingredients_.EditItem(nullptr);
  EXPECT_EQ(caption, L"Edit Ingredient");
  EXPECT_EQ(whole, L"1");
  EXPECT_EQ(fraction, L"1/2 ");
  EXPECT_EQ(unit, L"cup");
  EXPECT_EQ(calories, L"200");
  EXPECT_TRUE(ironShown);
  EXPECT_EQ(iron, L"6.5");
  EXPECT_EQ(apple->name, L"Green apple");
  EXPECT_DOUBLE_EQ(apple->nutrients[Nutrient::kCalories], 200);
  EXPECT_DOUBLE_EQ(apple->nutrients[Nutrient::kIron], 6.5);
  EXPECT_DOUBLE_EQ(apple->nutrients[Nutrient::kProtein], 6);
  EXPECT_DOUBLE_EQ(apple->size, 1.5);
  EXPECT_EQ(apple->catId, fruit);
  EXPECT_EQ(ingredients_.List().ItemText(0, 0), L"Green apple");
  EXPECT_EQ(ingredients_.List().ItemText(0, 2), L"200");
  ingredients_.WaitForBackgroundSaves();
  WString saved;
  FileHandle(Catalog()).ReadAllText(saved);
  EXPECT_NE(saved.find(L"<FOODNAME>Green apple</FOODNAME>"), WString::npos);  // the edit reached the file
}

TEST_F(IngredientEditorTest, CancelLeavesTheRecordAlone) {
  Ingredient* apple = Add(L"Apple", AddCategory(L"Fruit"));
  SelectRow(L"Apple");
  dialogs_.On(IDD_INGREDIENT_EDITOR, [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_EDITOR_NAME, L"Pear");
    Press(dialog, IDCANCEL);
  });
  ingredients_.EditItem(nullptr);
  EXPECT_EQ(apple->name, L"Apple");
}

TEST_F(IngredientEditorTest, AddAsksForTheServingAndTheOuncesUnlessTheUnitIsTheOunce) {
  const uint32_t fruit = AddCategory(L"Fruit");
  const uint32_t cheeses = AddCategory(L"Cheese");
  ingredients_.selectedCategory = fruit;
  ingredients_.FillCategorySelector(fruit);
  ingredients_.FillList();
  prompts_.answers = {Prompt::kAnswerOk, Prompt::kAnswerOk};
  WString caption, category;
  int questionsWhileOpen = -1;
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    caption = WindowText(dialog);
    category = ItemText(dialog, IDC_EDITOR_CATEGORY);
    SetDlgItemTextW(dialog, IDC_EDITOR_NAME, L"Cheddar");
    SelectData(dialog, IDC_EDITOR_CATEGORY, cheeses);
    Press(dialog, IDOK);  // no serving
    SelectData(dialog, IDC_EDITOR_WHOLE, 2);
    SelectData(dialog, IDC_EDITOR_UNIT, kUnitCup);
    Press(dialog, IDOK);  // no ounces
    questionsWhileOpen = static_cast<int>(prompts_.questions.size());
    SelectData(dialog, IDC_EDITOR_UNIT, kUnitOunce);
    Press(dialog, IDOK);
  });
  const uint32_t id = ingredients_.AddItem(nullptr);
  EXPECT_EQ(caption, L"Add Ingredient");
  EXPECT_EQ(category, L"Fruit");  // the filter's category
  EXPECT_EQ(questionsWhileOpen, 2);
  ASSERT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(prompts_.questions[0].text, L"Please enter the serving size.");
  EXPECT_EQ(prompts_.questions[1].text, L"Please enter the number of ounces per serving.");
  EXPECT_EQ(prompts_.questions[1].caption, L"Mirepan");
  EXPECT_EQ(prompts_.questions[1].style & 0xF0, Prompt::kIconInformation);
  ASSERT_EQ(ingredients_.Records().size(), 1u);
  const Ingredient& cheddar = *ingredients_.Records()[0];
  EXPECT_EQ(id, cheddar.foodId);
  EXPECT_EQ(id, ingredients_.lastId);
  EXPECT_EQ(cheddar.type, kUnitOunce);
  EXPECT_DOUBLE_EQ(cheddar.size, 2);
  EXPECT_DOUBLE_EQ(cheddar.ounces, 2);
  // Outside the shown category: the filter follows the new record.
  EXPECT_EQ(ingredients_.selectedCategory, cheeses);
  EXPECT_EQ(ingredients_.List().ItemCount(), 1);
}

TEST_F(IngredientEditorTest, NumbersBeyondTheRangeOfDoublesReadAsNone) {
  AddCategory(L"Fruit");
  prompts_.answers = {Prompt::kAnswerOk};
  int questionsWhileOpen = -1;
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_EDITOR_NAME, L"Plum");
    SelectData(dialog, IDC_EDITOR_WHOLE, 1);
    SelectData(dialog, IDC_EDITOR_UNIT, kUnitCup);
    SetDlgItemTextW(dialog, IDC_EDITOR_OUNCES, L"1e400");
    SetDlgItemTextW(dialog, kNutrientEditIds[Nutrient::kCalories], L"1e400");
    Press(dialog, IDOK);  // no ounces
    questionsWhileOpen = static_cast<int>(prompts_.questions.size());
    SetDlgItemTextW(dialog, IDC_EDITOR_OUNCES, L"5");
    Press(dialog, IDOK);
  });
  ingredients_.AddItem(nullptr);
  EXPECT_EQ(questionsWhileOpen, 1);
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"Please enter the number of ounces per serving.");
  ASSERT_EQ(ingredients_.Records().size(), 1u);
  EXPECT_EQ(ingredients_.Records()[0]->ounces, 5);
  EXPECT_EQ(ingredients_.Records()[0]->nutrients[Nutrient::kCalories], 0);  // as a non-numeric edit
}

TEST_F(IngredientEditorTest, GramsToOuncesDividesTheOuncesEdit) {
  AddCategory(L"Fruit");
  WString ounces;
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_EDITOR_OUNCES, L"56.699");
    Press(dialog, IDC_EDITOR_GRAMS_TO_OUNCES);
    ounces = ItemText(dialog, IDC_EDITOR_OUNCES);
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(ingredients_.AddItem(nullptr), 0u);
  EXPECT_EQ(ounces, L"2");
  EXPECT_TRUE(ingredients_.Records().empty());
}

TEST_F(IngredientEditorTest, WithoutCategoriesTheEditorClosesAtOnce) {
  EXPECT_EQ(ingredients_.AddItem(nullptr), 0u);
  EXPECT_EQ(dialogs_.Opened(IDD_INGREDIENT_EDITOR), 1);
  EXPECT_TRUE(ingredients_.Records().empty());
}

TEST_F(IngredientEditorTest, ReadOnlyCatalogOpensNoEditor) {
  Add(L"Apple", AddCategory(L"Fruit"));
  SelectRow(L"Apple");
  ingredients_.readOnly = true;
  ingredients_.EditItem(nullptr);
  EXPECT_EQ(ingredients_.AddItem(nullptr), 0u);
  EXPECT_EQ(dialogs_.Opened(IDD_INGREDIENT_EDITOR), 0);
}

// ---- the modes ----

TEST_F(IngredientEditorTest, NutritionIsViewOnlyAndClosesWithDone) {
  Ingredient* apple = Add(L"Apple", AddCategory(L"Fruit"));
  SelectRow(L"Apple");
  WString caption;
  bool done = false, ok = true, nameEnabled = true, caloriesEnabled = true, grams = true;
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    caption = WindowText(dialog);
    done = Visible(dialog, IDC_EDITOR_DONE);
    ok = Visible(dialog, IDOK);
    grams = Visible(dialog, IDC_EDITOR_GRAMS_TO_OUNCES);
    nameEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_EDITOR_NAME));
    caloriesEnabled = IsWindowEnabled(GetDlgItem(dialog, kNutrientEditIds[Nutrient::kCalories]));
    SetDlgItemTextW(dialog, kNutrientEditIds[Nutrient::kCalories], L"10%");
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kNutrientEditIds[Nutrient::kCalories], EN_KILLFOCUS), 0);
    EXPECT_EQ(ItemText(dialog, kNutrientEditIds[Nutrient::kCalories]), L"10%");
    Press(dialog, IDOK);  // hidden: nothing happens
    EXPECT_TRUE(IsWindow(dialog));
    Press(dialog, IDC_EDITOR_DONE);
  });
  ingredients_.ShowNutrition();
  EXPECT_EQ(caption, L"Apple");
  EXPECT_TRUE(done);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(grams);
  EXPECT_FALSE(nameEnabled);
  EXPECT_FALSE(caloriesEnabled);
  EXPECT_DOUBLE_EQ(apple->nutrients[Nutrient::kCalories], 52);
  EXPECT_FALSE(ingredients_.modified);
}

TEST_F(IngredientEditorTest, DiaryModeHasNoServingNoPictureTabAndItsOwnLabel) {
  CategoryList diaries;
  diaries.Add(L"Mine", 1);
  Ingredient totals;
  totals.catId = 1;
  totals.name = L"Week";
  totals.nutrients[Nutrient::kProtein] = 61.5;
  int tabCount = 0;
  WString label, protein;
  bool nameShown = true, servingShown = true;
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    tabCount = TabCtrl_GetItemCount(GetDlgItem(dialog, IDC_EDITOR_TABS));
    EXPECT_TRUE(Visible(dialog, IDC_CHART_ALLOWANCE));  // the chart comes first
    ShowTab(dialog, 1);
    EXPECT_FALSE(Visible(dialog, IDC_CHART_ALLOWANCE));
    label = ItemText(dialog, IDC_EDITOR_CATEGORY_LABEL);
    nameShown = Visible(dialog, IDC_EDITOR_NAME);
    servingShown = Visible(dialog, IDC_EDITOR_WHOLE);
    EXPECT_TRUE(Visible(dialog, IDC_EDITOR_CATEGORY));
    protein = ItemText(dialog, kNutrientEditIds[Nutrient::kProtein]);
    Press(dialog, IDC_EDITOR_DONE);
  });
  const IngredientEditor::Context context{app_, diaries, totals, NutrientFormat{}, WString()};
  EXPECT_FALSE(
      IngredientEditor::Open(main_, context, IngredientEditor::kDiary | IngredientEditor::kViewOnly));
  EXPECT_EQ(tabCount, 5);  // Chart, General, Nutrition, Vitamins, Minerals; a trend only for a period
  EXPECT_EQ(label, L"Food Diary:");
  EXPECT_FALSE(nameShown);
  EXPECT_FALSE(servingShown);
  EXPECT_EQ(protein, L"61.5");
}

// ---- the picture ----

TEST_F(IngredientEditorTest, ClearThenOkRemovesThePictureFileAndClearThenCancelKeepsIt) {
  const uint32_t fruit = AddCategory(L"Fruit");
  ASSERT_TRUE(CreateFolders(ingredients_.imagesFolder, false));
  WriteFile(Picture(L"apple.png"), "apple");
  Ingredient* apple = Add(L"Apple", fruit, L"apple.png");
  SelectRow(L"Apple");
  prompts_.answers = {Prompt::kAnswerYes, Prompt::kAnswerYes};
  dialogs_.On(IDD_INGREDIENT_EDITOR, [](HWND dialog) {
    EXPECT_EQ(ItemText(dialog, IDC_EDITOR_PICTURE_PATH), L"apple.png");
    ShowTab(dialog, 4);
    EXPECT_TRUE(Visible(dialog, IDC_EDITOR_BROWSE));
    Press(dialog, IDC_EDITOR_CLEAR);
    EXPECT_EQ(ItemText(dialog, IDC_EDITOR_PICTURE_PATH), L"nopicture");
    Press(dialog, IDCANCEL);
  });
  ingredients_.EditItem(nullptr);
  EXPECT_EQ(apple->picture, L"apple.png");
  EXPECT_TRUE(FileExists(Picture(L"apple.png")));

  dialogs_.On(IDD_INGREDIENT_EDITOR, [](HWND dialog) {
    Press(dialog, IDC_EDITOR_CLEAR);
    Press(dialog, IDOK);
  });
  ingredients_.EditItem(nullptr);
  ASSERT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(prompts_.questions[0].text, L"Are you sure you want to remove this image?");
  EXPECT_EQ(apple->picture, L"");
  EXPECT_FALSE(FileExists(Picture(L"apple.png")));
}

TEST_F(IngredientEditorTest, BrowsedPictureIsCopiedInAndTheOldOneGoesUnlessAnotherRecordNamesIt) {
  const uint32_t fruit = AddCategory(L"Fruit");
  ASSERT_TRUE(CreateFolders(ingredients_.imagesFolder, false));
  WriteFile(Picture(L"pear.png"), "pear");
  const WString chosen = folder_.Path() + L"apple.png";
  WriteFile(chosen, "apple");
  Ingredient* first = Add(L"Pear", fruit, L"pear.png");
  Add(L"Pear copy", fruit, L"pear.png");
  SelectRow(L"Pear");
  prompts_.chosenPaths = {chosen};
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    Press(dialog, IDC_EDITOR_BROWSE);
    EXPECT_EQ(ItemText(dialog, IDC_EDITOR_PICTURE_PATH), chosen);
    Press(dialog, IDOK);
  });
  ingredients_.EditItem(nullptr);
  ASSERT_EQ(prompts_.requests.size(), 1u);
  EXPECT_EQ(prompts_.requests[0].title, L"Select a picture");
  EXPECT_EQ(
      prompts_.requests[0].filter,
      L"Image Files (*.bmp *.gif *.jpg *.jpeg *.png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|All Files (*.*)|*.*");
  EXPECT_EQ(prompts_.requests[0].initialPath, L"C:\\");
  EXPECT_EQ(first->picture, L"apple.png");
  EXPECT_EQ(ReadFile(Picture(L"apple.png")), "apple");
  EXPECT_TRUE(FileExists(Picture(L"pear.png")));  // the copy still shows it
}

// ---- Find Ingredient ----

TEST_F(IngredientEditorTest, FindIngredientListsMatchesUnderItsFiltersAndReturnsTheChoice) {
  const uint32_t spice = AddCategory(L"Spice");
  const uint32_t fruit = AddCategory(L"Fruit");
  Add(L"Pepper", spice);
  const uint32_t peach = Add(L"Peach", fruit)->foodId;
  Add(L"Sweet pepper", fruit);
  std::vector<int> counts;
  WString selectedText;
  dialogs_.On(IDD_FIND_INGREDIENT, [&](HWND dialog) {
    const HWND results = GetDlgItem(dialog, IDC_FIND_RESULTS);
    selectedText = ItemText(dialog, IDC_FIND_TEXT);
    counts.push_back(ListBox_GetCount(results));  // "pe" everywhere
    SelectData(dialog, IDC_FIND_CATEGORY, fruit);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_FIND_CATEGORY, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_FIND_CATEGORY)));
    counts.push_back(ListBox_GetCount(results));
    SetDlgItemTextW(dialog, IDC_FIND_TEXT, L"peach");
    counts.push_back(ListBox_GetCount(results));
    ListBox_SetCurSel(results, 0);
    Press(dialog, IDOK);
  });
  EXPECT_EQ(ingredients_.FindIngredient(main_, L"pe"), peach);
  EXPECT_EQ(selectedText, L"pe");
  EXPECT_EQ(counts, (std::vector<int>{3, 2, 1}));

  dialogs_.On(IDD_FIND_INGREDIENT, [](HWND dialog) {
    ListBox_SetCurSel(GetDlgItem(dialog, IDC_FIND_RESULTS), 0);
    Press(dialog, IDCANCEL);
  });
  EXPECT_EQ(ingredients_.FindIngredient(main_, L"pepper"), 0u);
  EXPECT_EQ(ingredients_.selectedCategory, 0u);  // the view's own filter is untouched
}

// ---- the nutrient data beside the program ----

TEST_F(IngredientEditorTest, NutrientDataJoinsTheCatalogAndIsSavedAtOnce) {
  Ingredient* rice = Add(L"RICE", AddCategory(L"Grains"));
  const uint32_t riceId = rice->foodId;
  ingredients_.WaitForBackgroundSaves();
  const WString data = folder_.Path() + L"NutrientData0001.csv";
  WriteFile(data,
            "\"Calories\",\"Category\",\"Name\",\"Serving Size\",\"Ounces Per Serving\"\r\n"
            "\"130\",\"Grains\",\"Rice\",\"100  g\",\"3.5274\"\r\n"
            "\"52\",\"Fruit\",\"Apple\",\"100  g\",\"3.5274\"\r\n");
  EXPECT_TRUE(ingredients_.TakeNutrientData(data));
  EXPECT_EQ(ingredients_.catalogPath, Catalog());
  ASSERT_EQ(ingredients_.Records().size(), 2u);
  EXPECT_EQ(ingredients_.Records()[0]->foodId, riceId);
  EXPECT_DOUBLE_EQ(ingredients_.Records()[0]->nutrients[Nutrient::kCalories], 130);
  EXPECT_EQ(ingredients_.Records()[1]->type, kUnitGram);
  EXPECT_FALSE(ingredients_.modified);
  const std::string saved = ReadFile(Catalog());
  EXPECT_NE(saved.find("A\0p\0p\0l\0e\0", 0, 10), std::string::npos);
}

TEST_F(IngredientEditorTest, ShippedNutrientDataBringsItsFoodsAndCategories) {
  // A copy: with backups on, the read leaves a ".bak" beside the file it read.
  const WString data = folder_.Path() + L"NutrientData0001.csv";
  ASSERT_TRUE(CopyFileTo(MIREPAN_DATA_DIR L"NutrientData0001.csv", data));
  ASSERT_TRUE(ingredients_.TakeNutrientData(data));
  ASSERT_EQ(ingredients_.Records().size(), 542u);
  EXPECT_EQ(ingredients_.Categories().Entries().Count(), 20u);
  const Ingredient* amaranth = ingredients_.FindByName(L"Amaranth seed, black");
  ASSERT_NE(amaranth, nullptr);
  EXPECT_EQ(amaranth->type, kUnitGram);
  EXPECT_DOUBLE_EQ(amaranth->size, 100);
  EXPECT_NEAR(amaranth->nutrients[Nutrient::kCalories], 356.119, 1e-9);
  EXPECT_EQ(*ingredients_.Categories().NameById(amaranth->catId), L"Cereals and Millets");
  EXPECT_TRUE(FileExists(Catalog()));
  EXPECT_EQ(FileExists(data + L".bak"), options_.autoBackup);
}

}  // namespace
