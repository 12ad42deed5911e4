// The Ingredients view in the view tests' host window: its catalog file, the list and search
// list, and the item commands through the real dialogs and scripted prompts.
#include <windowsx.h>

#include "ViewTestSupport.h"
#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/XMLDoc.h"
#include "views/IngredientList/IngredientList.h"

namespace {

using storage_test::ReadFile;
using storage_test::ScriptedPrompts;
using storage_test::WriteFile;
using view_test::DialogScripts;
using view_test::Press;

// The view with its state opened up for the tests.
class OpenIngredientList : public IngredientList {
 public:
  using IngredientList::IngredientList;
  using FoodCatalogView<Ingredient>::records_;
  using View::exportAllData;
  using View::filterCategoryId;
  using View::imagesFolder;
  using View::lastId;
  using View::LoadFrom;
  using View::modified;
  using View::preserveUnicode;
  using View::readOnly;
  using View::selectedCategory;
  using View::workerMode;
  using View::workPath;
};

// A neighbour view that answers the questions a delete asks.
class AnsweringView : public TestView {
 public:
  using TestView::TestView;
  bool IsFoodUsed(uint32_t foodId) override { return foodId == used; }
  bool HasLinkedId(uint32_t foodId) override { return foodId == linked; }
  uint32_t used = 0;
  uint32_t linked = 0;
};

class IngredientListTest : public view_test::ViewTest {
 protected:
  static constexpr int kMenu = 9910;
  static constexpr int kPopup = 9911;

  IngredientListTest() {
    view_.Hide();
    EXPECT_TRUE(ingredients_.Create(tabs_.Window(), kMenu, kPopup));
    ingredients_.OpenCatalog(Catalog(), false, 0, 100, nullptr);
    ingredients_.BuildColumns();
  }
  ~IngredientListTest() override { ingredients_.WaitForBackgroundSaves(); }

  WString Catalog() const { return folder_.Path() + L"Ingredients.xml"; }

  uint32_t AddCategory(const WString& name) {
    DataLockGuard lock;
    return ingredients_.Categories().AddNew(name, ingredients_.IdCounter());
  }
  Ingredient* Add(const WString& name, uint32_t catId = 0, double calories = 0) {
    Ingredient record;
    record.name = name;
    record.catId = catId;
    record.size = 1;
    record.nutrients[Nutrient::kCalories] = calories;
    return ingredients_.AddIngredient(record);
  }
  std::vector<WString> Names() const {
    std::vector<WString> names;
    for (int row = 0; row < ingredients_.List().ItemCount(); ++row)
      names.push_back(ingredients_.List().ItemText(row, 0));
    return names;
  }
  std::vector<WString> SearchList(const WString& text, bool includeHidden = false) {
    const HWND box = CreateWindowW(L"LISTBOX", L"", WS_CHILD | LBS_SORT, 0, 0, 100, 100, main_, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ingredients_.FillSearchList(box, text, false, includeHidden);
    std::vector<WString> names;
    for (int i = 0; i < ListBox_GetCount(box); ++i) {
      wchar_t name[256] = {};
      ListBox_GetText(box, i, name);
      names.push_back(name);
      EXPECT_NE(ListBox_GetItemData(box, i), 0);
    }
    DestroyWindow(box);
    return names;
  }
  // Rereads the catalog file into a fresh view, as the next start of the program would.
  void Reopen() {
    ingredients_.WaitForBackgroundSaves();
    ingredients_.Clear();
    ingredients_.OpenCatalog(Catalog(), false, 0, 100, nullptr);
  }

  OpenIngredientList ingredients_{app_, status_, toolbar_, options_};
  DialogScripts dialogs_;
  ScriptedPrompts prompts_;
};

// ---- the catalog file ----

TEST_F(IngredientListTest, SavedCatalogReadsBackAndSavesByteForByte) {
  const uint32_t fruit = AddCategory(L"Fruit");
  Ingredient* apple = Add(L"Apple \"Gala\" & <Co>", fruit, 52);
  apple->picture = L"apple.jpg";
  apple->hidden = true;
  Add(L"Pear", fruit, 57.5);
  ingredients_.WaitForBackgroundSaves();
  ASSERT_TRUE(ingredients_.Save());
  const std::string saved = ReadFile(Catalog());

  Reopen();
  ASSERT_EQ(ingredients_.Records().size(), 2u);
  const Ingredient& read = *ingredients_.Records()[0];
  EXPECT_EQ(read.name, L"Apple \"Gala\" & <Co>");
  EXPECT_EQ(read.catId, fruit);
  EXPECT_TRUE(read.hidden);
  EXPECT_EQ(read.picture, L"apple.jpg");
  EXPECT_DOUBLE_EQ(ingredients_.Records()[1]->nutrients[Nutrient::kCalories], 57.5);
  EXPECT_EQ(ingredients_.lastId, 3u);  // the category took 1
  ASSERT_TRUE(ingredients_.Save());
  EXPECT_EQ(ReadFile(Catalog()), saved);
}

TEST_F(IngredientListTest, CatalogCutShortInItsEndTagKeepsTheRecordsReadSoFar) {
  WriteFile(Catalog(),
            "<INGREDIENTLIST>\n<INGREDIENTS>\n<FOOD>\n<FOODID>7</FOODID>\n<FOODNAME>Salt</FOODNAME>\n"
            "</FOOD>\n<FOOD>\n<FOODNAME>No id</FOODNAME>\n</FOOD>\n</INGREDIENTLIST");
  ingredients_.Clear();
  EXPECT_FALSE(ingredients_.OpenCatalog(Catalog(), false, 0, 100, nullptr));
  ASSERT_EQ(ingredients_.Records().size(), 1u);
  EXPECT_EQ(ingredients_.Records()[0]->name, L"Salt");
  EXPECT_EQ(ingredients_.lastId, 7u);
}

TEST_F(IngredientListTest, ImportRenumbersAClashingIdAndCopiesThePicture) {
  Ingredient* salt = Add(L"Salt");
  const WString importFolder = folder_.Path() + L"import/";
  ASSERT_TRUE(CreateFolders(importFolder + L"Images", false));
  ASSERT_TRUE(CreateFolders(ingredients_.imagesFolder, false));
  WriteFile(importFolder + L"Images/pepper.png", "picture");
  WriteFile(
      importFolder + L"in.xml",
      "<INGREDIENTLIST>\n<INGREDIENTS>\n<FOOD>\n<FOODID>" + std::to_string(salt->foodId) +
          "</FOODID>\n<FOODNAME>Pepper</FOODNAME>\n<PICTURE>pepper.png</PICTURE>\n</FOOD>\n<FOOD>\n"
          "<FOODID>40</FOODID>\n<FOODNAME>Sugar</FOODNAME>\n</FOOD>\n</INGREDIENTS>\n</INGREDIENTLIST>\n");
  EXPECT_TRUE(ingredients_.LoadFrom(importFolder + L"in.xml", nullptr, 0, 100));
  ASSERT_EQ(ingredients_.Records().size(), 3u);
  const Ingredient& pepper = *ingredients_.Records()[1];
  EXPECT_EQ(pepper.name, L"Pepper");
  EXPECT_EQ(pepper.foodId, salt->foodId + 1);
  EXPECT_EQ(ingredients_.Records()[2]->foodId, 40u);
  EXPECT_EQ(ingredients_.lastId, 40u);
  EXPECT_TRUE(ingredients_.modified);
  EXPECT_EQ(ReadFile(ingredients_.imagesFolder + L"pepper.png"), "picture");
}

// A save started just before a large fill (Add, Edit or Copy of a recipe saves the ingredients,
// then refills their list behind the progress window) after a one-category export.
TEST_F(IngredientListTest, ASaveRacingAFillAfterAOneCategoryExportWritesEveryRecord) {
  const uint32_t spices = AddCategory(L"Spices");
  {
    DataLockGuard lock;
    for (int i = 0; i < 300; ++i) {
      auto record = std::make_unique<Ingredient>();
      record->name = L"Food " + std::to_wstring(i);
      record->catId = i < 3 ? spices : 0;
      record->foodId = ++ingredients_.lastId;
      ingredients_.records_.push_back(std::move(record));
    }
  }
  ingredients_.filterCategoryId = spices;
  ASSERT_TRUE(ingredients_.StartExport(4505, folder_.Path() + L"Spices.xml"));
  const auto foodsIn = [](const WString& path) {
    WString text;
    FileHandle(path).ReadAllText(text);
    size_t count = 0;
    for (size_t at = text.find(L"<FOOD>"); at != WString::npos; at = text.find(L"<FOOD>", at + 1)) ++count;
    return count;
  };
  EXPECT_EQ(foodsIn(folder_.Path() + L"Spices.xml"), 3u);
  for (int attempt = 0; attempt < 4; ++attempt) {
    ingredients_.modified = true;
    ingredients_.SaveIfModified(false);
    ingredients_.FillList();
    ingredients_.WaitForBackgroundSaves();
    ASSERT_EQ(foodsIn(Catalog()), 300u) << "attempt " << attempt;
  }
}

// ---- the list and the search list ----

TEST_F(IngredientListTest, ListLeavesHiddenRecordsOutAndFollowsTheCategory) {
  const uint32_t fruit = AddCategory(L"Fruit");
  Add(L"Apple", fruit);
  Add(L"Bread");
  Add(L"Cherry", fruit)->hidden = true;
  ingredients_.FillList();
  EXPECT_EQ(Names(), (std::vector<WString>{L"Apple", L"Bread"}));
  ingredients_.selectedCategory = fruit;
  ingredients_.FillList();
  EXPECT_EQ(Names(), (std::vector<WString>{L"Apple"}));
  EXPECT_TRUE(ingredients_.IsCategoryUsed(fruit));
}

TEST_F(IngredientListTest, TwoHundredFiftyRecordsFillAtOnceAndTwoHundredFiftyOneBehindTheProgressWindow) {
  for (int i = 0; i < 250; ++i) Add(L"Item " + std::to_wstring(i));
  ingredients_.FillList();
  EXPECT_EQ(dialogs_.Opened(IDD_PROGRESS), 0);
  EXPECT_EQ(ingredients_.List().ItemCount(), 250);
  Add(L"Hidden")->hidden = true;  // counted, never shown
  ingredients_.FillList();
  EXPECT_EQ(dialogs_.Opened(IDD_PROGRESS), 1);
  EXPECT_EQ(ingredients_.List().ItemCount(), 250);
}

TEST_F(IngredientListTest, SearchListPutsNamesStartingWithTheTextFirstInCatalogOrder) {
  Add(L"Salt");
  Add(L"Sea salt");
  Add(L"salted butter");
  Add(L"Basalt crumbs");
  Add(L"Pepper");
  Add(L"Salty hidden")->hidden = true;
  EXPECT_EQ(SearchList(L"SALT"),
            (std::vector<WString>{L"Salt", L"salted butter", L"Basalt crumbs", L"Sea salt"}));
  EXPECT_EQ(SearchList(L"salty", true), (std::vector<WString>{L"Salty hidden"}));
  EXPECT_TRUE(SearchList(L"").empty());
}

TEST_F(IngredientListTest, FindByNameIgnoresCaseOverTheWholeName) {
  Ingredient* salt = Add(L"Salt");
  EXPECT_EQ(ingredients_.FindByName(L"SALT"), salt);
  EXPECT_EQ(ingredients_.FindByName(L"Sal"), nullptr);
  EXPECT_EQ(ingredients_.FindById(salt->foodId), salt);
}

// ---- the item commands ----

TEST_F(IngredientListTest, DeleteHidesLinkedIngredientsKeepsUsedOnesAndErasesTheRest) {
  AnsweringView recipes{app_, status_, toolbar_, options_};
  const uint32_t linked = Add(L"Linked")->foodId;
  const uint32_t used = Add(L"Used")->foodId;
  Add(L"Plain");
  recipes.linked = linked;
  recipes.used = used;
  ingredients_.FillList();
  ingredients_.List().SelectAll();
  prompts_.answers = {Prompt::kAnswerYes};
  ingredients_.DeleteItem(&recipes, nullptr);
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text, L"Would you like to delete the selected ingredients?");
  EXPECT_EQ(prompts_.questions[0].caption, L"Mirepan");
  EXPECT_EQ(Names(), (std::vector<WString>{L"Used"}));
  EXPECT_EQ(ingredients_.List().SelectedCount(), 0);
  ASSERT_EQ(ingredients_.Records().size(), 2u);
  EXPECT_TRUE(ingredients_.FindById(linked)->hidden);
  EXPECT_TRUE(SearchList(L"Linked").empty());
  EXPECT_EQ(SearchList(L"Linked", true), (std::vector<WString>{L"Linked"}));
}

TEST_F(IngredientListTest, DeleteAnsweredNoChangesNothing) {
  Add(L"Salt");
  ingredients_.FillList();
  ingredients_.List().SelectAll();
  prompts_.answers = {Prompt::kAnswerNo};
  ingredients_.DeleteItem(nullptr, nullptr);
  EXPECT_EQ(ingredients_.Records().size(), 1u);
  EXPECT_EQ(Names(), (std::vector<WString>{L"Salt"}));
}

TEST_F(IngredientListTest, CopyTakesTheNameFromTheInputBox) {
  Ingredient* salt = Add(L"Salt", 0, 3);
  ingredients_.FillList();
  ingredients_.List().Select(0);
  WString prefilled;
  dialogs_.On(IDD_INPUT_BOX, [&](HWND dialog) {
    prefilled = view_test::WindowText(GetDlgItem(dialog, IDC_INPUT_TEXT));
    SetDlgItemTextW(dialog, IDC_INPUT_TEXT, L"Sea salt");
    Press(dialog, IDOK);
  });
  ingredients_.CopyItem();
  EXPECT_EQ(prefilled, L"Salt");
  ASSERT_EQ(ingredients_.Records().size(), 2u);
  const Ingredient& copy = *ingredients_.Records()[1];
  EXPECT_EQ(copy.name, L"Sea salt");
  EXPECT_EQ(copy.foodId, salt->foodId + 1);
  EXPECT_DOUBLE_EQ(copy.nutrients[Nutrient::kCalories], 3);
  EXPECT_EQ(Names(), (std::vector<WString>{L"Salt", L"Sea salt"}));
}

TEST_F(IngredientListTest, EditCopyAndNutritionActOnTheFocusedRowOfExactlyOneSelected) {
  const uint32_t fruit = AddCategory(L"Fruit");  // the editor needs one to open
  for (const wchar_t* name : {L"Apple", L"Pear", L"Plum"}) Add(name, fruit);
  ingredients_.FillList();
  WString edited;
  dialogs_.On(IDD_INGREDIENT_EDITOR, [&](HWND dialog) {
    edited = view_test::WindowText(GetDlgItem(dialog, IDC_EDITOR_NAME));
    Press(dialog, IDCANCEL);
  });
  dialogs_.On(IDD_INPUT_BOX, [&](HWND dialog) {
    edited = L"copy of " + view_test::WindowText(GetDlgItem(dialog, IDC_INPUT_TEXT));
    Press(dialog, IDCANCEL);
  });
  const auto actOn = [&](void (IngredientList::*command)()) {
    edited.clear();
    (ingredients_.*command)();
    return edited;
  };
  const auto edit = [&] {
    edited.clear();
    ingredients_.EditItem(nullptr);  // also what Enter and a double-click run
    return edited;
  };
  // Several rows selected: none of them is meant.
  ingredients_.List().Select(0);
  ingredients_.List().Select(2);
  EXPECT_EQ(edit(), L"");
  EXPECT_EQ(actOn(&IngredientList::CopyItem), L"");
  EXPECT_EQ(actOn(&IngredientList::ShowNutrition), L"");
  // One row selected and the focus moved on without selecting: the focused row is meant.
  ingredients_.List().Select(0, false);
  ListView_SetItemState(ingredients_.List().Window(), 1, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(edit(), L"Pear");
  EXPECT_EQ(actOn(&IngredientList::CopyItem), L"copy of Pear");
  EXPECT_EQ(actOn(&IngredientList::ShowNutrition), L"Pear");
}

TEST_F(IngredientListTest, MoveTakesTheSelectionOutOfTheShownCategory) {
  const uint32_t fruit = AddCategory(L"Fruit");
  const uint32_t spice = AddCategory(L"Spice");
  Add(L"Apple", fruit);
  Add(L"Pepper", fruit);
  ingredients_.selectedCategory = fruit;
  ingredients_.FillList();
  ingredients_.List().Select(1);
  dialogs_.On(IDD_CATEGORY, [](HWND dialog) {
    const HWND combo = GetDlgItem(dialog, IDC_CATEGORY_COMBO);
    SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Spice"));
    Press(dialog, IDOK);
  });
  ingredients_.MoveToCategory();
  EXPECT_EQ(ingredients_.Records()[1]->catId, spice);
  EXPECT_EQ(Names(), (std::vector<WString>{L"Apple"}));
  EXPECT_EQ(ingredients_.Records()[0]->catId, fruit);
}

TEST_F(IngredientListTest, MenuFollowsTheSelectionAndTheReadOnlyCatalog) {
  const auto enabled = [this](UINT command) {
    return !(GetMenuState(ingredients_.Menu(), command, MF_BYCOMMAND) & MF_GRAYED);
  };
  Add(L"Apple");
  Add(L"Pear");
  ingredients_.FillList();
  ingredients_.UpdateMenu(ingredients_.Menu());
  EXPECT_FALSE(enabled(IngredientList::kAddIngredient));  // no category yet
  EXPECT_FALSE(enabled(IngredientList::kDeleteIngredient));
  AddCategory(L"Fruit");
  ingredients_.List().Select(0);
  ingredients_.UpdateMenu(ingredients_.Menu());
  for (UINT command : {1400u, 1401u, 1402u, 1403u, 1404u, 1205u}) EXPECT_TRUE(enabled(command)) << command;
  EXPECT_FALSE(enabled(1208));  // no backup
  ingredients_.List().SelectAll();
  ingredients_.UpdateMenu(ingredients_.Menu());
  EXPECT_FALSE(enabled(IngredientList::kCopyIngredient));
  EXPECT_FALSE(enabled(IngredientList::kEditIngredient));
  EXPECT_TRUE(enabled(IngredientList::kMoveIngredient));
  ingredients_.readOnly = true;
  ingredients_.UpdateMenu(ingredients_.Menu());
  for (UINT command : {1400u, 1401u, 1402u, 1403u, 1404u}) EXPECT_FALSE(enabled(command)) << command;
}

TEST_F(IngredientListTest, PublishedRecipeKeepsItsLinkIdAndCreatesItsCategory) {
  Ingredient values;
  values.name = L"Soup";
  values.nutrients[Nutrient::kCalories] = 120;
  Ingredient& first = ingredients_.UpsertLinkedIngredient(0, values, true, L"Recipes");
  const uint32_t linkId = first.foodId;
  EXPECT_NE(ingredients_.Categories().IdByName(L"Recipes"), 0u);
  EXPECT_TRUE(first.hidden);
  values.nutrients[Nutrient::kCalories] = 90;
  Ingredient& again = ingredients_.UpsertLinkedIngredient(linkId, values, false, L"Recipes");
  EXPECT_EQ(&again, &first);
  EXPECT_EQ(again.foodId, linkId);
  EXPECT_FALSE(again.hidden);
  EXPECT_DOUBLE_EQ(again.nutrients[Nutrient::kCalories], 90);
  EXPECT_EQ(ingredients_.Records().size(), 1u);
}

}  // namespace

// ---- exchange files ----

namespace {

std::string Utf16Bytes(const std::wstring& text) {
  std::string bytes;
  for (const wchar_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

class ExchangeTest : public IngredientListTest {
 protected:
  // Imports `file` as the Import command does after its questions.
  bool ImportFile(const WString& file) { return ingredients_.LoadFrom(file, nullptr, 0, 100); }
  WString Exchange(const wchar_t* name) const { return folder_.Path() + name; }
};

}  // namespace

TEST_F(ExchangeTest, CsvHeadersMatchWithoutSpacesCaseOrBracketedUnits) {
  WriteFile(Exchange(L"in.csv"), Utf16Bytes(L"\"name\",\" total fat (g)\",\"CALORIES (kcal)\",\"Unknown\"\r\n"
                                            L"\"Butter\",\"81\",\"717\",\"x\"\r\n\"\",\"\",\"\",\"\"\r\n"));
  EXPECT_TRUE(ImportFile(Exchange(L"in.csv")));
  ASSERT_EQ(ingredients_.Records().size(), 1u);
  const Ingredient& butter = *ingredients_.Records()[0];
  EXPECT_EQ(butter.name, L"Butter");
  EXPECT_DOUBLE_EQ(butter.nutrients[Nutrient::kCalories], 717);
  EXPECT_DOUBLE_EQ(butter.nutrients[Nutrient::kCalories + 1], 81);  // Total Fat (g)
}

TEST_F(ExchangeTest, CsvWithoutAKnownColumnImportsNothing) {
  WriteFile(Exchange(L"in.csv"), Utf16Bytes(L"\"Colour\",\"Size\"\r\n\"red\",\"1\"\r\n"));
  EXPECT_FALSE(ImportFile(Exchange(L"in.csv")));
  EXPECT_TRUE(ingredients_.Records().empty());
}

TEST_F(ExchangeTest, EightBitCsvImportsThroughTheSecondReading) {
  WriteFile(Exchange(L"in.csv"),
            "\"Name\",\"Calories\"\r\n\"Cr\xE8me fra\xEE"
            "che\",\"292\"\r\n\"Odd\",\"1\"\r\n");
  EXPECT_TRUE(ImportFile(Exchange(L"in.csv")));
  ASSERT_EQ(ingredients_.Records().size(), 2u);
  EXPECT_EQ(ingredients_.Records()[0]->name, L"Cr\u00E8me fra\u00EEche");
  EXPECT_DOUBLE_EQ(ingredients_.Records()[0]->nutrients[Nutrient::kCalories], 292);
}

TEST_F(ExchangeTest, CsvNameInAnyCaseReplacesThatRecordKeepingItsId) {
  Add(L"Salt", 0, 1);
  const uint32_t pepper = Add(L"Pepper", 0, 2)->foodId;
  WriteFile(Exchange(L"in.csv"), "\"Name\",\"Calories\"\r\n\"PEPPER\",\"9\"\r\n\"Sugar\",\"387\"\r\n");
  EXPECT_TRUE(ImportFile(Exchange(L"in.csv")));
  ASSERT_EQ(ingredients_.Records().size(), 3u);
  const Ingredient& replaced = *ingredients_.Records()[1];
  EXPECT_EQ(replaced.name, L"PEPPER");
  EXPECT_EQ(replaced.foodId, pepper);
  EXPECT_DOUBLE_EQ(replaced.nutrients[Nutrient::kCalories], 9);
  EXPECT_EQ(ingredients_.Records()[2]->name, L"Sugar");
}

TEST_F(ExchangeTest, CsvExportWritesRawNumbersAndReadsBackNamesWithDoubleQuotes) {
  options_.displayPercent = true;
  options_.roundNumbers = true;
  const uint32_t dairy = AddCategory(L"Dairy");
  Add(L"Milk \"whole\"", dairy, 61.5);
  ingredients_.WaitForBackgroundSaves();
  ingredients_.workerMode = true;
  ingredients_.workPath = Exchange(L"out.csv");
  ASSERT_TRUE(ingredients_.Save());
  const std::string written = ReadFile(Exchange(L"out.csv"));
  EXPECT_EQ(written.find("\"Calories\",\"Total Fat (g)\","), 0u);
  EXPECT_NE(written.find("\"61.5\""), std::string::npos);
  EXPECT_NE(written.find("\"Dairy\",\"Milk \xB4whole\xB4\""), std::string::npos);

  ingredients_.Clear();
  EXPECT_TRUE(ImportFile(Exchange(L"out.csv")));
  ASSERT_EQ(ingredients_.Records().size(), 1u);
  EXPECT_EQ(ingredients_.Records()[0]->name, L"Milk \"whole\"");
  EXPECT_DOUBLE_EQ(ingredients_.Records()[0]->nutrients[Nutrient::kCalories], 61.5);
  const WString* category = ingredients_.Categories().NameById(ingredients_.Records()[0]->catId);
  ASSERT_NE(category, nullptr);
  EXPECT_EQ(*category, L"Dairy");
}

TEST_F(ExchangeTest, SelectedColumnsExportKeepsTheDisplayOrderInUnicode) {
  Add(L"Salt", 0, 4);
  ingredients_.WaitForBackgroundSaves();
  ingredients_.exportAllData = false;
  ingredients_.preserveUnicode = true;
  ingredients_.workerMode = true;
  ingredients_.workPath = Exchange(L"out.CSV");
  ASSERT_TRUE(ingredients_.Save());
  EXPECT_EQ(ReadFile(Exchange(L"out.CSV")),
            Utf16Bytes(L"\"Name\",\"Serving Size\",\"Calories\"\r\n\"Salt\",\"1  Serving\",\"4\"\r\n"));
}

TEST_F(ExchangeTest, ImportAnsweredYesReplacesTheCatalogAndNoAddsToIt) {
  Add(L"Salt");
  WriteFile(Exchange(L"in.csv"), "\"Name\",\"Calories\"\r\n\"Sugar\",\"387\"\r\n");
  prompts_.chosenPaths = {Exchange(L"in.csv"), Exchange(L"in.csv"), std::nullopt};
  prompts_.answers = {Prompt::kAnswerNo, Prompt::kAnswerYes};
  ingredients_.Import();
  EXPECT_EQ(Names(), (std::vector<WString>{L"Salt", L"Sugar"}));
  EXPECT_EQ(prompts_.questions[0].caption, L"Mirepan");
  EXPECT_EQ(prompts_.requests[0].title, L"Select an ingredients file to import");
  ingredients_.Import();
  EXPECT_EQ(Names(), (std::vector<WString>{L"Sugar"}));
  ingredients_.Import();  // the chooser cancelled: no question
  EXPECT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(ingredients_.CatalogPath(), Catalog());
}

TEST_F(ExchangeTest, RestoreReadsTheBackupInsteadOfTheCatalog) {
  Add(L"Salt");
  ingredients_.WaitForBackgroundSaves();
  ASSERT_TRUE(CopyFileTo(Catalog(), ingredients_.BackupPath()));
  Add(L"Pepper");
  prompts_.answers = {Prompt::kAnswerYes};
  ingredients_.RestoreBackup();
  ASSERT_EQ(prompts_.questions.size(), 1u);
  EXPECT_EQ(prompts_.questions[0].text.substr(0, 50), L"You are about to restore your last saved ingredien");
  EXPECT_EQ(Names(), (std::vector<WString>{L"Salt"}));
  ingredients_.WaitForBackgroundSaves();
  Reopen();
  EXPECT_EQ(ingredients_.Records().size(), 1u);
}

TEST_F(ExchangeTest, ExportDialogLimitsXmlFilesToAllDataAndWritesTheChosenCategory) {
  const uint32_t dairy = AddCategory(L"Dairy");
  Add(L"Milk", dairy, 61);
  Add(L"Salt");
  ingredients_.WaitForBackgroundSaves();
  bool xmlRadiosEnabled = true, csvRadiosEnabled = false;
  dialogs_.On(IDD_INGREDIENT_EXPORT, [&](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_INGREDIENT_EXPORT_PATH, Exchange(L"out.xml").c_str());
    xmlRadiosEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_INGREDIENT_EXPORT_SELECTED));
    SetDlgItemTextW(dialog, IDC_INGREDIENT_EXPORT_PATH, Exchange(L"out.csv").c_str());
    csvRadiosEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_INGREDIENT_EXPORT_SELECTED));
    CheckRadioButton(dialog, IDC_INGREDIENT_EXPORT_ALL, IDC_INGREDIENT_EXPORT_SELECTED,
                     IDC_INGREDIENT_EXPORT_SELECTED);
    SendDlgItemMessageW(dialog, IDC_INGREDIENT_EXPORT_CATEGORY, CB_SETCURSEL, 1, 0);  // "Dairy"
    Press(dialog, IDOK);
  });
  ingredients_.Export();
  EXPECT_FALSE(xmlRadiosEnabled);
  EXPECT_TRUE(csvRadiosEnabled);
  EXPECT_EQ(ReadFile(Exchange(L"out.csv")),
            "\"Name\",\"Serving Size\",\"Calories\"\r\n\"Milk\",\"1  Serving\",\"61\"\r\n");
  EXPECT_EQ(ingredients_.CatalogPath(), Catalog());
  EXPECT_FALSE(ingredients_.workerMode);
}
