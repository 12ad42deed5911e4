// The ingredient editor (dialog 2701) and Find Ingredient (dialog 2600), driven through the
// Ingredients view's commands with scripts that run once each dialog shows.
#include <windows.h>

#include "FoodViewSupport.h"
#include "food/FoodEditor.h"
#include "views/IngredientList/IngredientEditor.h"

namespace {

using food_view_test::DialogDriver;
using food_view_test::Texts;
using storage_test::ReadFile;
using storage_test::WriteFile;

int NutrientEdit(uint32_t nutrient) {
  return kNutrientEditIds[nutrient];
}

// Types a nutrient as the user does: focus in, text, focus out.
void TypeNutrient(const DialogDriver& dialog, uint32_t nutrient, const wchar_t* text) {
  SetFocus(dialog.Item(NutrientEdit(nutrient)));
  SetWindowTextW(dialog.Item(NutrientEdit(nutrient)), text);
  SetFocus(dialog.Item(IDC_EDITOR_TABS));
}

class IngredientEditorTest : public food_view_test::FoodViewTest {
 protected:
  // One and a half cups of four ounces and 52 calories.
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
};

// ---- editing ----

// Nutrition is view-only and closes with Done, and a cancelled edit changes nothing; a confirmed one
// reaches the record, the list and the file.
TEST_F(IngredientEditorTest,
       NutritionIsViewOnlyEditShowsTheRecordAndPercentagesBecomeAmountsOfTheDailyValue) {
  const uint32_t fruit = IngredientCategory(L"Fruit");
  IngredientCategory(L"Spice");
  Ingredient* apple = Add(L"Apple", fruit);
  SelectRow(L"Apple");
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [](const DialogDriver& dialog) {
    EXPECT_EQ(std::tuple(dialog.Caption(), dialog.Visible(IDC_EDITOR_DONE)), std::tuple(L"Apple", true));
    EXPECT_FALSE(dialog.Visible(IDOK) || dialog.Visible(IDC_EDITOR_GRAMS_TO_OUNCES));
    EXPECT_FALSE(dialog.Enabled(IDC_EDITOR_NAME) || dialog.Enabled(NutrientEdit(Nutrient::kCalories)));
    dialog.Type(NutrientEdit(Nutrient::kCalories), L"10%");
    dialog.Notify(NutrientEdit(Nutrient::kCalories), EN_KILLFOCUS);
    EXPECT_EQ(dialog.Text(NutrientEdit(Nutrient::kCalories)), L"10%");
    dialog.Notify(IDOK, BN_CLICKED);  // hidden: nothing happens
    EXPECT_TRUE(IsWindow(dialog.Dialog()));
    dialog.Press(IDC_EDITOR_DONE);
  });
  ingredients_.ShowNutrition();
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [](const DialogDriver& dialog) {
    dialog.Type(IDC_EDITOR_NAME, L"Pear");
    dialog.Press(IDCANCEL);
  });
  ingredients_.EditItem(nullptr);
  EXPECT_EQ(std::tuple(apple->name, apple->nutrients[Nutrient::kCalories], ingredients_.modified),
            std::tuple(L"Apple", 52.0, false));

  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [](const DialogDriver& dialog) {
    std::vector<std::wstring> texts = {dialog.Caption()};
    for (int id : {IDC_EDITOR_WHOLE, IDC_EDITOR_FRACTION, IDC_EDITOR_UNIT, IDC_EDITOR_CATEGORY,
                   IDC_EDITOR_OUNCES, IDC_EDITOR_PICTURE_PATH})
      texts.push_back(dialog.Text(id));
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Edit Ingredient", L"1", L"1/2 ", L"cup", L"Fruit", L"4",
                                                L"nopicture"}));
    EXPECT_EQ(std::tuple(dialog.Visible(IDC_EDITOR_GRAMS_TO_OUNCES), dialog.Visible(IDC_EDITOR_DONE)),
              std::tuple(true, false));
    dialog.ShowTab(IDC_EDITOR_TABS, 1);
    TypeNutrient(dialog, Nutrient::kCalories, L"10%");
    EXPECT_EQ(dialog.Text(NutrientEdit(Nutrient::kCalories)), L"200");
    dialog.ShowTab(IDC_EDITOR_TABS, 3);
    TypeNutrient(dialog, Nutrient::kIron, L"50 %");
    EXPECT_EQ(dialog.Text(NutrientEdit(Nutrient::kIron)), L"6.5");
    dialog.Type(NutrientEdit(Nutrient::kProtein), L"10%");  // the focus never left it
    dialog.Type(IDC_EDITOR_NAME, L"Green apple");
    dialog.Press(IDOK);
  });
  ingredients_.EditItem(nullptr);
  EXPECT_EQ(dialogs_.Opened(IDD_INGREDIENT_EDITOR), 3);
  EXPECT_EQ(std::tuple(apple->name, apple->nutrients[Nutrient::kCalories], apple->nutrients[Nutrient::kIron],
                       apple->nutrients[Nutrient::kProtein], apple->size, apple->catId),
            std::tuple(L"Green apple", 200.0, 6.5, 6.0, 1.5, fruit));
  EXPECT_EQ(std::tuple(ingredients_.List().ItemText(0, 0), ingredients_.List().ItemText(0, 2)),
            std::tuple(L"Green apple", L"200"));
  ingredients_.WaitForBackgroundSaves();
  EXPECT_NE(view_test::FileText(IngredientCatalog()).find(L"<FOODNAME>Green apple</FOODNAME>"),
            WString::npos);
}

TEST_F(IngredientEditorTest, AddAsksForTheServingAndTheOuncesUnlessTheUnitIsTheOunce) {
  const uint32_t fruit = IngredientCategory(L"Fruit");
  const uint32_t cheeses = IngredientCategory(L"Cheese");
  ingredients_.selectedCategory = fruit;
  ingredients_.FillCategorySelector(fruit);
  ingredients_.FillList();
  prompts_.answers = {Prompt::kAnswerOk, Prompt::kAnswerOk};
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& dialog) {
    // The filter's category.
    EXPECT_EQ(std::tuple(dialog.Caption(), dialog.Text(IDC_EDITOR_CATEGORY)),
              std::tuple(L"Add Ingredient", L"Fruit"));
    dialog.Type(IDC_EDITOR_NAME, L"Cheddar");
    dialog.PickData(IDC_EDITOR_CATEGORY, cheeses);
    dialog.Press(IDOK);  // no serving
    dialog.PickData(IDC_EDITOR_WHOLE, 2);
    dialog.PickData(IDC_EDITOR_UNIT, kUnitCup);
    dialog.Press(IDOK);  // no ounces
    dialog.PickData(IDC_EDITOR_UNIT, kUnitOunce);
    dialog.Press(IDOK);
  });
  const uint32_t id = ingredients_.AddItem(nullptr);
  EXPECT_EQ(Questions(), (std::vector<WString>{L"Please enter the serving size.",
                                               L"Please enter the number of ounces per serving."}));
  EXPECT_EQ(std::tuple(prompts_.questions[1].caption, prompts_.questions[1].style & 0xF0),
            std::tuple(L"Mirepan", Prompt::kIconInformation));
  ASSERT_EQ(ingredients_.Records().size(), 1u);
  const Ingredient& cheddar = *ingredients_.Records()[0];
  EXPECT_EQ(std::tuple(id, id, cheddar.type, cheddar.size, cheddar.ounces),
            std::tuple(cheddar.foodId, ingredients_.lastId, kUnitOunce, 2.0, 2.0));
  // Outside the shown category: the filter follows the new record.
  EXPECT_EQ(std::tuple(ingredients_.selectedCategory, ingredients_.List().ItemCount()),
            std::tuple(cheeses, 1));
}

// The food's household measures are listed; one typed below the list is added, a picked one removed,
// and OK keeps them. The serving amount is typed as a cook writes it.
TEST_F(IngredientEditorTest, MeasuresAreListedAddedAndRemovedAndTheServingIsTyped) {
  Ingredient* butter = Add(L"Butter", IngredientCategory(L"Dairy"));
  butter->measures = ReadMeasures(L"1 cup = 227 g|1 tbsp = 14.2 g");
  SelectRow(L"Butter");
  prompts_.answers = {Prompt::kAnswerOk};
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [](const DialogDriver& dialog) {
    EXPECT_EQ(dialog.Rows(IDC_EDITOR_MEASURES),
              (std::vector<std::wstring>{L"1 cup = 227 g", L"1 tbsp = 14.2 g"}));
    dialog.Type(IDC_EDITOR_MEASURE_AMOUNT, L"1/2");
    dialog.Type(IDC_EDITOR_MEASURE_NAME, L"stick");
    dialog.Press(IDC_EDITOR_MEASURE_ADD);  // no grams: refused
    dialog.Type(IDC_EDITOR_MEASURE_GRAMS, L"56.5");
    dialog.Press(IDC_EDITOR_MEASURE_ADD);
    dialog.Pick(IDC_EDITOR_MEASURES, 0);
    dialog.Press(IDC_EDITOR_MEASURE_REMOVE);
    EXPECT_EQ(dialog.Rows(IDC_EDITOR_MEASURES),
              (std::vector<std::wstring>{L"1 tbsp = 14.2 g", L"0.5 stick = 56.5 g"}));
    dialog.Keys(IDC_EDITOR_WHOLE, L"2 1/4");
    dialog.Press(IDOK);
  });
  ingredients_.EditItem(nullptr);
  EXPECT_EQ(Questions(),
            (std::vector<WString>{L"Please enter the measure's amount, its name and its weight in grams."}));
  EXPECT_EQ(std::tuple(MeasuresText(butter->measures), butter->size),
            std::tuple(L"1 tbsp = 14.2 g | 0.5 stick = 56.5 g", 2.25));
  ingredients_.WaitForBackgroundSaves();
  EXPECT_NE(view_test::FileText(IngredientCatalog()).find(L"<MEASURE>0.5 stick = 56.5 g</MEASURE>"),
            WString::npos);
}

// A first ingredient brings its category: a name typed into the empty category box becomes one
// on OK, a name the list has (in any case, blanks around it) is that category, and an empty box is
// refused with a message. Only the confirmed editor adds the category.
TEST_F(IngredientEditorTest, ATypedCategoryNameIsTheListedCategoryOfThatNameOrANewOne) {
  const struct {
    const wchar_t *name, *typed;
    bool ok;
    const wchar_t* category;  // of the added ingredient, null for none added
    Texts categories;
  } cases[] = {{L"Apple", L"", true, nullptr, {}},
               {L"Apple", L" Fruit ", true, L"Fruit", {L"Fruit"}},
               {L"Pear", L"fruit", true, L"Fruit", {L"Fruit"}},
               {L"Walnut", L"Nuts", false, nullptr, {L"Fruit"}},
               {L"Walnut", L"Nuts", true, L"Nuts", {L"Fruit", L"Nuts"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << ToUtf8(c.name) << " " << ToUtf8(c.typed) << " " << c.ok);
    prompts_.questions.clear();
    prompts_.answers = {Prompt::kAnswerOk};
    const NamedIdList& listed = ingredients_.Categories().Entries();
    const WString first = listed.Empty() ? WString() : listed[0].name;  // shown under "--All--"
    dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& dialog) {
      EXPECT_EQ(dialog.Text(IDC_EDITOR_CATEGORY), first);
      dialog.Type(IDC_EDITOR_NAME, c.name);
      dialog.PickData(IDC_EDITOR_WHOLE, 1);
      dialog.PickData(IDC_EDITOR_UNIT, kUnitOunce);
      dialog.Type(IDC_EDITOR_CATEGORY, c.typed);
      dialog.Press(c.ok ? IDOK : IDCANCEL);
      if (c.ok && !c.category) dialog.Press(IDCANCEL);  // refused: the dialog stayed
    });
    const Ingredient* added = ingredients_.FindById(ingredients_.AddItem(nullptr));
    EXPECT_EQ(Questions(),
              *c.typed ? Texts{} : Texts{L"Please choose a category, or type the name of a new one."});
    Texts names;
    for (const NamedId& entry : ingredients_.Categories().Entries()) names.push_back(entry.name);
    EXPECT_EQ(names, c.categories);
    EXPECT_EQ(ingredients_.categoryCombo.Count(), static_cast<int>(names.size()) + 1) << "with --All--";
    const WString* category = added ? ingredients_.Categories().NameById(added->catId) : nullptr;
    EXPECT_EQ(category ? *category : WString(), c.category ? c.category : L"");
  }
  EXPECT_EQ(Listed(), (Texts{L"Apple", L"Pear", L"Walnut"}));
}

// Grams to Ounces divides the ounces edit; a number beyond the range of doubles reads as none, and
// a cancelled Add adds nothing. A read-only catalog opens no editor.
TEST_F(IngredientEditorTest, GramsToOuncesDividesHugeNumbersReadAsNoneAndReadOnlyOpensNoEditor) {
  IngredientCategory(L"Fruit");
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& dialog) {
    dialog.Type(IDC_EDITOR_OUNCES, L"56.699");
    dialog.Press(IDC_EDITOR_GRAMS_TO_OUNCES);
    EXPECT_EQ(dialog.Text(IDC_EDITOR_OUNCES), L"2");
    dialog.Press(IDCANCEL);
  });
  EXPECT_EQ(ingredients_.AddItem(nullptr), 0u);
  EXPECT_TRUE(ingredients_.Records().empty());

  prompts_.answers = {Prompt::kAnswerOk};
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& dialog) {
    dialog.Type(IDC_EDITOR_NAME, L"Plum");
    dialog.PickData(IDC_EDITOR_WHOLE, 1);
    dialog.PickData(IDC_EDITOR_UNIT, kUnitCup);
    dialog.Type(IDC_EDITOR_OUNCES, L"1e400");
    dialog.Type(NutrientEdit(Nutrient::kCalories), L"1e400");
    dialog.Press(IDOK);  // no ounces
    dialog.Type(IDC_EDITOR_OUNCES, L"5");
    dialog.Press(IDOK);
  });
  ingredients_.AddItem(nullptr);
  EXPECT_EQ(dialogs_.Opened(IDD_INGREDIENT_EDITOR), 2);
  EXPECT_EQ(Questions(), (std::vector<WString>{L"Please enter the number of ounces per serving."}));
  ASSERT_EQ(ingredients_.Records().size(), 1u);
  // The calories as a non-numeric edit.
  EXPECT_EQ(std::tuple(ingredients_.Records()[0]->ounces,
                       ingredients_.Records()[0]->nutrients[Nutrient::kCalories]),
            std::tuple(5.0, 0.0));

  SelectRow(L"Plum");
  ingredients_.readOnly = true;
  ingredients_.EditItem(nullptr);
  EXPECT_EQ(ingredients_.AddItem(nullptr), 0u);
  EXPECT_EQ(dialogs_.Opened(IDD_INGREDIENT_EDITOR), 2);
}

// ---- the picture ----

// A browsed picture is copied in, and the old one goes unless another record names it.
TEST_F(IngredientEditorTest, ClearThenOkRemovesThePictureFileClearThenCancelKeepsItABrowsedOneIsCopiedIn) {
  const uint32_t fruit = IngredientCategory(L"Fruit");
  ASSERT_TRUE(CreateFolders(ingredients_.imagesFolder, false));
  WriteFile(Picture(L"apple.png"), "apple");
  WriteFile(Picture(L"pear.png"), "pear");
  const WString chosen = folder_ / L"plum.png";
  WriteFile(chosen, "plum");
  Ingredient* apple = Add(L"Apple", fruit, L"apple.png");
  Ingredient* pear = Add(L"Pear", fruit, L"pear.png");
  Add(L"Pear copy", fruit, L"pear.png");
  SelectRow(L"Apple");
  prompts_.answers = {Prompt::kAnswerYes, Prompt::kAnswerYes};
  for (const int close : {IDCANCEL, IDOK}) {
    dialogs_.Drive(IDD_INGREDIENT_EDITOR, [close](const DialogDriver& dialog) {
      EXPECT_EQ(dialog.Text(IDC_EDITOR_PICTURE_PATH), L"apple.png");
      dialog.ShowTab(IDC_EDITOR_TABS, 4);
      dialog.Press(IDC_EDITOR_CLEAR);
      EXPECT_EQ(dialog.Text(IDC_EDITOR_PICTURE_PATH), L"nopicture");
      dialog.Press(close);
    });
    ingredients_.EditItem(nullptr);
    EXPECT_EQ(apple->picture, close == IDOK ? L"" : L"apple.png");
    EXPECT_EQ(FileExists(Picture(L"apple.png")), close == IDCANCEL);
  }
  EXPECT_EQ(Questions(), std::vector<WString>(2, L"Are you sure you want to remove this image?"));

  SelectRow(L"Pear");
  prompts_.chosenPaths = {chosen};
  dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& dialog) {
    dialog.Press(IDC_EDITOR_BROWSE);
    EXPECT_EQ(dialog.Text(IDC_EDITOR_PICTURE_PATH), chosen);
    dialog.Press(IDOK);
  });
  ingredients_.EditItem(nullptr);
  ASSERT_EQ(prompts_.requests.size(), 1u);
  EXPECT_EQ(
      std::tuple(prompts_.requests[0].title, prompts_.requests[0].filter, prompts_.requests[0].initialPath),
      std::tuple(
          L"Select a picture",
          L"Image Files (*.bmp *.gif *.jpg *.jpeg *.png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|All Files (*.*)|*.*",
          L"C:\\"));
  EXPECT_EQ(std::tuple(pear->picture, ReadFile(Picture(L"plum.png"))), std::tuple(L"plum.png", "plum"));
  EXPECT_TRUE(FileExists(Picture(L"pear.png")));  // the copy still shows it
}

// ---- Find Ingredient ----

TEST_F(IngredientEditorTest, FindIngredientListsMatchesUnderItsFiltersAndReturnsTheChoice) {
  const uint32_t spice = IngredientCategory(L"Spice");
  const uint32_t fruit = IngredientCategory(L"Fruit");
  Add(L"Pepper", spice);
  const uint32_t peach = Add(L"Peach", fruit)->foodId;
  Add(L"Sweet pepper", fruit);
  dialogs_.Drive(IDD_FIND_INGREDIENT, [&](const DialogDriver& dialog) {
    EXPECT_EQ(dialog.Text(IDC_FIND_TEXT), L"pe");
    std::vector<int> counts = {dialog.Count(IDC_FIND_RESULTS)};  // "pe" everywhere
    dialog.PickData(IDC_FIND_CATEGORY, fruit);
    counts.push_back(dialog.Count(IDC_FIND_RESULTS));
    dialog.Type(IDC_FIND_TEXT, L"peach");
    counts.push_back(dialog.Count(IDC_FIND_RESULTS));
    EXPECT_EQ(counts, (std::vector<int>{3, 2, 1}));
    dialog.Pick(IDC_FIND_RESULTS, 0);
    dialog.Press(IDOK);
  });
  EXPECT_EQ(ingredients_.FindIngredient(main_, L"pe"), peach);
  dialogs_.Drive(IDD_FIND_INGREDIENT, [](const DialogDriver& dialog) {
    dialog.Pick(IDC_FIND_RESULTS, 0);
    dialog.Press(IDCANCEL);
  });
  // The view's own filter is untouched.
  EXPECT_EQ(ingredients_.FindIngredient(main_, L"pepper"), 0u);
  EXPECT_EQ(ingredients_.selectedCategory, 0u);
  // A name from a web page that no listed name holds opens on the word of it that finds one.
  dialogs_.Drive(IDD_FIND_INGREDIENT, [](const DialogDriver& dialog) {
    EXPECT_EQ(std::tuple(dialog.Text(IDC_FIND_TEXT), dialog.Count(IDC_FIND_RESULTS)),
              std::tuple(L"peach", 1));
    dialog.Press(IDCANCEL);
  });
  ingredients_.FindIngredient(main_, L"ripe yellow peaches, halved");
}

// ---- the nutrient data beside the program ----

TEST_F(IngredientEditorTest, NutrientDataJoinsTheCatalogAndIsSavedAtOnce) {
  const uint32_t riceId = Add(L"RICE", IngredientCategory(L"Grains"))->foodId;
  ingredients_.WaitForBackgroundSaves();
  const WString data = folder_ / L"NutrientData0001.csv";
  WriteFile(data,
            "\"Calories\",\"Category\",\"Name\",\"Serving Size\",\"Ounces Per Serving\"\r\n"
            "\"130\",\"Grains\",\"Rice\",\"100  g\",\"3.5274\"\r\n"
            "\"52\",\"Fruit\",\"Apple\",\"100  g\",\"3.5274\"\r\n");
  EXPECT_TRUE(ingredients_.TakeNutrientData(data));
  EXPECT_EQ(ingredients_.catalogPath, IngredientCatalog());
  ASSERT_EQ(ingredients_.Records().size(), 2u);
  EXPECT_EQ(
      std::tuple(ingredients_.Records()[0]->foodId, ingredients_.Records()[0]->nutrients[Nutrient::kCalories],
                 ingredients_.Records()[1]->type, ingredients_.modified),
      std::tuple(riceId, 130.0, kUnitGram, false));
  EXPECT_NE(ReadFile(IngredientCatalog()).find("A\0p\0p\0l\0e\0", 0, 10), std::string::npos);
}

}  // namespace
