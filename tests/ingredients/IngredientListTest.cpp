// The Ingredients view in the view tests' host window: its catalog file, the list and search
// list, and the item commands through the real dialogs and scripted prompts.
#include <sstream>

#include "FoodViewSupport.h"

namespace {

using food_view_test::DialogDriver;
using food_view_test::MenuEnabled;
using storage_test::ReadFile;
using storage_test::WriteFile;
using Names = food_view_test::Texts;

class IngredientListTest : public food_view_test::FoodViewTest {
 protected:
  // The names FillSearchList puts in a sorted list box, each row carrying its record.
  Names SearchList(const WString& text, bool includeHidden = false) {
    constexpr int kBox = 9999;
    const HWND box = CreateWindowW(L"LISTBOX", L"", WS_CHILD | LBS_SORT, 0, 0, 100, 100, main_,
                                   reinterpret_cast<HMENU>(kBox), GetModuleHandleW(nullptr), nullptr);
    ingredients_.FillSearchList(box, text, false, includeHidden);
    const DialogDriver host(main_);
    const Names names = host.Rows(kBox);
    for (int row = 0; row < host.Count(kBox); ++row) EXPECT_NE(host.RowData(kBox, row), 0);
    DestroyWindow(box);
    return names;
  }
  // Each record as "name calories fat".
  Names Records() const {
    Names records;
    for (const auto& record : ingredients_.Records()) {
      std::wostringstream text;
      text << record->name << L" " << record->nutrients[Nutrient::kCalories] << L" "
           << record->nutrients[Nutrient::kCalories + 1];
      records.push_back(text.str());
    }
    return records;
  }
  // Rereads the catalog file into a fresh view, as the next start of the program would.
  void Reopen() { food_view_test::Reopen(ingredients_, Catalog()); }
  WString Catalog() const { return IngredientCatalog(); }
};

// ---- the catalog file ----

TEST_F(IngredientListTest, SavedCatalogReadsBackAndSavesByteForByte) {
  const uint32_t fruit = IngredientCategory(L"Fruit");
  Ingredient* apple = Food(L"Apple \"Gala\" & <Co>", 52, fruit);
  apple->picture = L"apple.jpg";
  apple->hidden = true;
  Food(L"Pear", 57.5, fruit);
  ingredients_.WaitForBackgroundSaves();
  ASSERT_TRUE(ingredients_.Save());
  const std::string saved = ReadFile(Catalog());

  Reopen();
  EXPECT_EQ(Records(), (Names{L"Apple \"Gala\" & <Co> 52 0", L"Pear 57.5 0"}));
  const Ingredient& read = *ingredients_.Records().at(0);
  // The category took id 1.
  EXPECT_EQ(std::tuple(read.catId, read.hidden, read.picture, ingredients_.lastId),
            std::tuple(fruit, true, WString(L"apple.jpg"), 3u));
  ASSERT_TRUE(ingredients_.Save());
  EXPECT_EQ(ReadFile(Catalog()), saved);
}

TEST_F(IngredientListTest, CatalogCutShortInItsEndTagKeepsTheRecordsReadSoFar) {
  WriteFile(Catalog(),
            "<INGREDIENTLIST>\n<INGREDIENTS>\n<FOOD>\n<FOODID>7</FOODID>\n<FOODNAME>Salt</FOODNAME>\n"
            "</FOOD>\n<FOOD>\n<FOODNAME>No id</FOODNAME>\n</FOOD>\n</INGREDIENTLIST");
  ingredients_.Clear();
  EXPECT_FALSE(ingredients_.OpenCatalog(Catalog(), false, 0, 100, nullptr));
  // The record without an id is kept with a new one.
  EXPECT_EQ(std::tuple(Records(), ingredients_.lastId), std::tuple(Names{L"Salt 0 0", L"No id 0 0"}, 8u));
}

// New nutrient data merges into the catalog by name and is saved to it; the data file beside the
// program is only read, so no backup of it is left there.
TEST_F(IngredientListTest, NutrientDataMergesByNameAndLeavesNoBackupBesideTheDataFile) {
  Food(L"Quince");
  const WString data = folder_ / L"program/NutrientData0001.csv";
  ASSERT_TRUE(CreateFolders(folder_ / L"program", false));
  WriteFile(data, "Name,Calories\r\nQuince,57\r\nSloe,40\r\n");
  options_.autoBackup = true;
  EXPECT_TRUE(ingredients_.TakeNutrientData(data));
  EXPECT_EQ(Records(), (Names{L"Quince 57 0", L"Sloe 40 0"}));
  EXPECT_FALSE(FileExists(data + L".bak"));
  Reopen();
  EXPECT_EQ(Records(), (Names{L"Quince 57 0", L"Sloe 40 0"}));
}

TEST_F(IngredientListTest, ImportRenumbersAClashingIdAndCopiesThePicture) {
  const uint32_t salt = Food(L"Salt")->foodId;
  const WString importFolder = folder_ / L"import/";
  ASSERT_TRUE(CreateFolders(importFolder + L"Images", false));
  ASSERT_TRUE(CreateFolders(ingredients_.imagesFolder, false));
  WriteFile(importFolder + L"Images/pepper.png", "picture");
  WriteFile(
      importFolder + L"in.xml",
      "<INGREDIENTLIST>\n<INGREDIENTS>\n<FOOD>\n<FOODID>" + std::to_string(salt) +
          "</FOODID>\n<FOODNAME>Pepper</FOODNAME>\n<PICTURE>pepper.png</PICTURE>\n</FOOD>\n<FOOD>\n"
          "<FOODID>40</FOODID>\n<FOODNAME>Sugar</FOODNAME>\n</FOOD>\n</INGREDIENTS>\n</INGREDIENTLIST>\n");
  EXPECT_TRUE(ingredients_.LoadFrom(importFolder + L"in.xml", nullptr, 0, 100));
  EXPECT_EQ(Records(), (Names{L"Salt 0 0", L"Pepper 0 0", L"Sugar 0 0"}));
  EXPECT_EQ(std::tuple(ingredients_.Records().at(1)->foodId, ingredients_.Records().at(2)->foodId,
                       ingredients_.lastId, ingredients_.modified),
            std::tuple(41u, 40u, 41u, true));  // renumbered once the file's highest id is known
  EXPECT_EQ(ReadFile(ingredients_.imagesFolder + L"pepper.png"), "picture");
}

// A stranger's picture arrives beside the user's picture of the same name, and the imported record
// names it; the same bytes reuse a file, and a restore from the backup beside the catalog copies
// nothing.
TEST_F(IngredientListTest, ImportedPicturesKeepTheUsersOwnFilesOfTheSameName) {
  const WString importFolder = folder_ / L"import/";
  const WString images = ingredients_.imagesFolder;
  ASSERT_TRUE(CreateFolders(importFolder + L"Images", false));
  ASSERT_TRUE(CreateFolders(images, false));
  WriteFile(images + L"cake.jpg", "mine");
  WriteFile(importFolder + L"Images/cake.jpg", "theirs");
  WriteFile(importFolder + L"in.xml",
            "<INGREDIENTLIST>\n<INGREDIENTS>\n<FOOD>\n<FOODID>1</FOODID>\n<FOODNAME>Cake</FOODNAME>\n"
            "<PICTURE>cake.jpg</PICTURE>\n</FOOD>\n</INGREDIENTS>\n</INGREDIENTLIST>\n");
  WriteFile(importFolder + L"in.csv", "\"Name\",\"Picture\"\r\n\"Tart\",\"cake.jpg\"\r\n");
  const auto pictures = [&] {
    std::vector<WString> names;
    for (const auto& record : ingredients_.Records()) names.push_back(record->picture);
    return std::tuple(names, ReadFile(images + L"cake.jpg"), ReadFile(images + L"cake (2).jpg"),
                      FileExists(images + L"cake (3).jpg"));
  };
  const auto expected = std::tuple(std::vector<WString>{L"cake (2).jpg", L"cake (2).jpg"},
                                   std::string("mine"), std::string("theirs"), false);
  EXPECT_TRUE(ingredients_.LoadFrom(importFolder + L"in.xml", nullptr, 0, 100));
  ingredients_.LoadFrom(importFolder + L"in.csv", nullptr, 0, 100);
  EXPECT_EQ(pictures(), expected);

  ingredients_.WaitForBackgroundSaves();
  ASSERT_TRUE(ingredients_.Save());
  ASSERT_TRUE(CopyFileTo(Catalog(), ingredients_.BackupPath()));
  ingredients_.Clear();
  ingredients_.LoadFrom(ingredients_.BackupPath(), nullptr, 0, 100);
  EXPECT_EQ(pictures(), expected);
}

// A save started just before a large fill (Add, Edit or Copy of a recipe saves the ingredients,
// then refills their list behind the progress window) after a one-category export.
TEST_F(IngredientListTest, ASaveRacingAFillAfterAOneCategoryExportWritesEveryRecord) {
  const uint32_t spices = IngredientCategory(L"Spices");
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
  ASSERT_TRUE(ingredients_.StartExport(4505, folder_ / L"Spices.xml"));
  const auto foodsIn = [](const WString& path) {
    return view_test::Occurrences(view_test::FileText(path), L"<FOOD>");
  };
  EXPECT_EQ(foodsIn(folder_ / L"Spices.xml"), 3u);
  for (int attempt = 0; attempt < 4; ++attempt) {
    ingredients_.modified = true;
    ingredients_.SaveIfModified(false);
    ingredients_.FillList();
    ingredients_.WaitForBackgroundSaves();
    ASSERT_EQ(foodsIn(Catalog()), 300u) << "attempt " << attempt;
  }
}

// ---- the list and the search list ----

// A move takes the selection out of the shown category.
TEST_F(IngredientListTest, ListLeavesHiddenRecordsOutAndFollowsTheCategoryAMovedRecordLeavesIt) {
  const uint32_t fruit = IngredientCategory(L"Fruit");
  const uint32_t spice = IngredientCategory(L"Spice");
  Food(L"Apple", 0, fruit);
  Food(L"Bread");
  Food(L"Cherry", 0, fruit)->hidden = true;
  Food(L"Pepper", 0, fruit);
  ingredients_.selectedCategory = fruit;
  ingredients_.FillList();
  EXPECT_EQ(std::tuple(Listed(), ingredients_.IsCategoryUsed(fruit)),
            std::tuple(Names{L"Apple", L"Pepper"}, true));

  ingredients_.List().Select(1);
  Answer(IDD_CATEGORY, IDC_CATEGORY_COMBO, L"Spice", true);
  ingredients_.MoveToCategory();
  EXPECT_EQ(std::tuple(ingredients_.Records()[0]->catId, ingredients_.Records()[3]->catId, Listed()),
            std::tuple(fruit, spice, Names{L"Apple"}));
}

TEST_F(IngredientListTest, TwoHundredFiftyShownAndOneHiddenRecordFillBehindTheProgressWindow) {
  for (int i = 0; i < 250; ++i) Food(L"Item " + std::to_wstring(i));
  Food(L"Hidden")->hidden = true;  // counted, never shown
  ingredients_.FillList();
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_PROGRESS), ingredients_.List().ItemCount()), std::tuple(1, 250));
}

TEST_F(IngredientListTest, SearchListPutsNamesStartingWithTheTextFirstAndFindByNameIgnoresCase) {
  Ingredient* salt = Food(L"Salt");
  for (const wchar_t* name : {L"Sea salt", L"salted butter", L"Basalt crumbs", L"Pepper"}) Food(name);
  Food(L"Salty hidden")->hidden = true;
  EXPECT_EQ(std::tuple(SearchList(L"SALT"), SearchList(L"salty", true), SearchList(L"")),
            std::tuple(Names{L"Salt", L"salted butter", L"Basalt crumbs", L"Sea salt"},
                       Names{L"Salty hidden"}, Names{}));
  // Over the whole name only.
  EXPECT_EQ(std::tuple(ingredients_.FindByName(L"SALT"), ingredients_.FindByName(L"Sal"),
                       ingredients_.FindById(salt->foodId)),
            std::tuple(salt, nullptr, salt));
}

// ---- the item commands ----

TEST_F(IngredientListTest, DeleteAnsweredYesHidesLinkedIngredientsKeepsUsedOnesAndErasesTheRest) {
  food_view_test::NeighbourView recipes{app_, status_, toolbar_, options_};
  recipes.linked = Food(L"Linked")->foodId;
  recipes.used = Food(L"Used")->foodId;
  Food(L"Plain");
  ingredients_.FillList();
  for (const int answer : {Prompt::kAnswerNo, Prompt::kAnswerYes}) {
    ingredients_.List().SelectAll();
    prompts_.answers = {answer};
    ingredients_.DeleteItem(&recipes, nullptr);
    if (answer == Prompt::kAnswerYes) break;
    EXPECT_EQ(Records(), (Names{L"Linked 0 0", L"Used 0 0", L"Plain 0 0"}));  // No changes nothing
  }
  EXPECT_EQ(Questions(), Names(2, L"Would you like to delete the selected ingredients?\r\n\r\n3 selected"));
  EXPECT_EQ(std::tuple(Listed(), ingredients_.List().SelectedCount(), Records(),
                       ingredients_.FindById(recipes.linked)->hidden),
            std::tuple(Names{L"Used"}, 0, Names{L"Linked 0 0", L"Used 0 0"}, true));
}

// Several rows selected mean none of them; one selected with the focus moved on means the focused
// row. The copy takes its name from the input box, which offers the original's.
TEST_F(IngredientListTest, EditCopyAndNutritionActOnTheFocusedRowOfExactlyOneSelected) {
  const uint32_t fruit = IngredientCategory(L"Fruit");  // the editor needs one to open
  Food(L"Apple", 0, fruit);
  const Ingredient* pear = Food(L"Pear", 3, fruit);
  const uint32_t plum = Food(L"Plum", 0, fruit)->foodId;
  ingredients_.FillList();
  std::wstring shown, copyName;
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& dialog) {
    shown = dialog.Text(IDC_EDITOR_NAME);
    dialog.Press(IDCANCEL);
  });
  dialogs_.Drive(IDD_INPUT_BOX, [&](const DialogDriver& dialog) {
    shown = L"copy of " + dialog.Text(IDC_INPUT_TEXT);
    dialog.Type(IDC_INPUT_TEXT, copyName);
    dialog.Press(copyName.empty() ? IDCANCEL : IDOK);
  });
  const std::function<void()> commands[] = {[this] { ingredients_.EditItem(nullptr); },  // also Enter
                                            [this] { ingredients_.CopyItem(); },
                                            [this] { ingredients_.ShowNutrition(); }};
  const auto shownBy = [&] {
    Names texts;
    for (const auto& command : commands) {
      shown.clear();
      command();
      texts.push_back(shown);
    }
    return texts;
  };
  ingredients_.List().Select(0);
  ingredients_.List().Select(2);
  EXPECT_EQ(shownBy(), Names(3, L""));
  ingredients_.List().Select(0, false);
  ListView_SetItemState(ingredients_.List().Window(), 1, LVIS_FOCUSED, LVIS_FOCUSED);
  EXPECT_EQ(shownBy(), (Names{L"Pear", L"copy of Pear", L"Pear"}));

  copyName = L"Sea pear";
  commands[1]();
  ASSERT_EQ(ingredients_.Records().size(), 4u);
  const Ingredient& copy = *ingredients_.Records()[3];
  EXPECT_EQ(std::tuple(copy.name, copy.foodId, copy.nutrients[Nutrient::kCalories]),
            std::tuple(WString(L"Sea pear"), plum + 1, pear->nutrients[Nutrient::kCalories]));
}

TEST_F(IngredientListTest, MenuFollowsTheSelectionAndTheReadOnlyCatalog) {
  const HMENU menu = ingredients_.Menu();
  Food(L"Apple");
  Food(L"Pear");
  ingredients_.FillList();
  ingredients_.UpdateMenu(menu);
  // No category yet, nothing selected: adding needs no category, the editor takes a first one.
  EXPECT_TRUE(MenuEnabled(menu, IngredientList::kAddIngredient));
  EXPECT_FALSE(MenuEnabled(menu, IngredientList::kDeleteIngredient));
  IngredientCategory(L"Fruit");
  ingredients_.List().Select(0);
  ingredients_.UpdateMenu(menu);
  const UINT items[] = {IDM_ADD_INGREDIENT,  IDM_COPY_INGREDIENT, IDM_DELETE_INGREDIENT,
                        IDM_EDIT_INGREDIENT, IDM_MOVE_INGREDIENT, IDM_NUTRITION};
  for (UINT command : items) EXPECT_TRUE(MenuEnabled(menu, command)) << command;
  EXPECT_FALSE(MenuEnabled(menu, IDM_RESTORE));  // no backup
  ingredients_.List().SelectAll();
  ingredients_.UpdateMenu(menu);
  EXPECT_FALSE(MenuEnabled(menu, IngredientList::kCopyIngredient) ||
               MenuEnabled(menu, IngredientList::kEditIngredient));
  EXPECT_TRUE(MenuEnabled(menu, IngredientList::kMoveIngredient));
  ingredients_.readOnly = true;
  ingredients_.UpdateMenu(menu);
  for (UINT command : items) {
    if (command != IDM_NUTRITION) {
      EXPECT_FALSE(MenuEnabled(menu, command)) << command;
    }
  }
}

// ---- exchange files ----

std::string Utf16Bytes(const std::wstring& text) {
  std::string bytes;
  for (const wchar_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  return bytes;
}

class ExchangeTest : public IngredientListTest {
 protected:
  WString Exchange(const wchar_t* name) const { return folder_ / name; }
  // Imports `bytes` as the Import command does after its questions.
  bool ImportFile(const std::string& bytes) {
    WriteFile(Exchange(L"in.csv"), bytes);
    return ingredients_.LoadFrom(Exchange(L"in.csv"), nullptr, 0, 100);
  }
};

// Imports into a catalog of Salt and Pepper: headers match without spaces, case or bracketed units,
// a file without a known column takes nothing, an eight-bit file reads through the second reading
// and a name in any case replaces that record, keeping its id.
TEST_F(ExchangeTest, CsvImportsMatchHeadersAndNamesLooselyAndReadEightBitFiles) {
  const struct {
    const char* name;
    std::string bytes;
    bool imported;
    Names records;
  } cases[] = {
      {"headers",
       Utf16Bytes(L"\"name\",\" total fat (g)\",\"CALORIES "
                  L"(kcal)\",\"Unknown\"\r\n\"Butter\",\"81\",\"717\",\"x\"\r\n"
                  L"\"\",\"\",\"\",\"\"\r\n"),
       true,
       {L"Salt 1 0", L"Pepper 2 0", L"Butter 717 81"}},
      {"no known column",
       Utf16Bytes(L"\"Colour\",\"Size\"\r\n\"red\",\"1\"\r\n"),
       false,
       {L"Salt 1 0", L"Pepper 2 0"}},
      {"eight-bit",
       "\"Name\",\"Calories\"\r\n\"Cr\xE8me fra\xEE"
       "che\",\"292\"\r\n\"Odd\",\"1\"\r\n",
       true,
       {L"Salt 1 0", L"Pepper 2 0", L"Cr\u00E8me fra\u00EEche 292 0", L"Odd 1 0"}},
      {"name in any case",
       "\"Name\",\"Calories\"\r\n\"PEPPER\",\"9\"\r\n\"Sugar\",\"387\"\r\n",
       true,
       {L"Salt 1 0", L"PEPPER 9 0", L"Sugar 387 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ingredients_.Clear();
    Food(L"Salt", 1);
    const uint32_t pepper = Food(L"Pepper", 2)->foodId;
    EXPECT_EQ(ImportFile(c.bytes), c.imported);
    EXPECT_EQ(Records(), c.records);
    EXPECT_EQ(ingredients_.Records().at(1)->foodId, pepper);
  }
}

TEST_F(ExchangeTest, CsvExportWritesRawNumbersAndReadsBackNamesWithDoubleQuotes) {
  options_.displayPercent = true;
  options_.roundNumbers = true;
  Food(L"Milk \"whole\"", 61.5, IngredientCategory(L"Dairy"));
  ASSERT_TRUE(ingredients_.StartExport(4505, Exchange(L"out.csv")));
  const std::string written = ReadFile(Exchange(L"out.csv"));
  EXPECT_EQ(std::tuple(written.find("\"Calories\",\"Total Fat (g)\","),
                       written.find("\"61.5\"") != std::string::npos,
                       written.find("\"Dairy\",\"Milk \xB4whole\xB4\"") != std::string::npos),
            std::tuple(0u, true, true));

  ingredients_.Clear();
  EXPECT_TRUE(ImportFile(written));
  EXPECT_EQ(Records(), (Names{L"Milk \"whole\" 61.5 0"}));
  const WString* category = ingredients_.Categories().NameById(ingredients_.Records().at(0)->catId);
  EXPECT_EQ(category ? *category : L"", L"Dairy");
}

TEST_F(ExchangeTest, ImportAnsweredYesReplacesTheCatalogAndNoAddsToIt) {
  Food(L"Salt");
  WriteFile(Exchange(L"in.csv"), "\"Name\",\"Calories\"\r\n\"Sugar\",\"387\"\r\n");
  prompts_.chosenPaths = {Exchange(L"in.csv"), Exchange(L"in.csv"), std::nullopt};
  prompts_.answers = {Prompt::kAnswerNo, Prompt::kAnswerYes};
  ingredients_.Import();
  EXPECT_EQ(std::tuple(Listed(), prompts_.questions[0].caption, prompts_.requests[0].title),
            std::tuple(Names{L"Salt", L"Sugar"}, L"Mirepan", L"Select an ingredients file to import"));
  ingredients_.Import();
  EXPECT_EQ(Listed(), (Names{L"Sugar"}));
  ingredients_.Import();  // the chooser cancelled: no question
  EXPECT_EQ(prompts_.questions.size(), 2u);
}

// The selected columns go out in the list's order, in Unicode when asked to.
TEST_F(ExchangeTest, ExportDialogLimitsXmlFilesToAllDataAndWritesTheChosenCategorysSelectedColumns) {
  Food(L"Milk", 61, IngredientCategory(L"Dairy"));
  Food(L"Salt");
  ingredients_.WaitForBackgroundSaves();
  ingredients_.preserveUnicode = true;
  dialogs_.Drive(IDD_INGREDIENT_EXPORT, [&](const DialogDriver& dialog) {
    dialog.Type(IDC_INGREDIENT_EXPORT_PATH, Exchange(L"out.xml"));
    EXPECT_FALSE(dialog.Enabled(IDC_INGREDIENT_EXPORT_SELECTED));
    dialog.Type(IDC_INGREDIENT_EXPORT_PATH, Exchange(L"out.CSV"));
    EXPECT_TRUE(dialog.Enabled(IDC_INGREDIENT_EXPORT_SELECTED));
    dialog.Press(IDC_INGREDIENT_EXPORT_SELECTED);
    dialog.PickText(IDC_INGREDIENT_EXPORT_CATEGORY, L"Dairy");
    dialog.Press(IDOK);
  });
  ingredients_.Export();
  EXPECT_EQ(ReadFile(Exchange(L"out.CSV")),
            Utf16Bytes(L"\"Name\",\"Serving Size\",\"Calories\"\r\n\"Milk\",\"1  Serving\",\"61\"\r\n"));
}

}  // namespace
