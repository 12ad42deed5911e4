// The Food Diary view in the view tests' host window, with the real ingredient view as its
// catalog: the diary file, the meal and nutrition dialogs, deleting, export and import.
#include <windows.h>

#include <commctrl.h>

#include <sstream>
#include <string>

#include "ChartPixels.h"
#include "food/FoodEditor.h"
#include "ingredients/FoodViewSupport.h"
#include "views/Charts/NutritionChart.h"
#include "views/Diary/Diary.h"

namespace {

using chart_test::Canvas;
using food_view_test::DialogDriver;
using namespace nutrition_chart;
using storage_test::WriteFile;
using view_test::FileText;

struct OpenDiary : food_view_test::Opened<Diary> {
  using Diary::lastMealId;
  using Opened::Opened;
};

using food_view_test::DiaryFile;
using food_view_test::ItemXml;
using food_view_test::MealXml;

// Meals of Ann's diary, one a day from 7 March on, of the given ids.
std::string AnnsMeals(std::initializer_list<int> ids) {
  std::string meals;
  for (const int id : ids) meals += MealXml(id, 1, 0, 3, 6 + id, 10);
  return meals;
}

// "id d<diary> t<type> y-m-d <calories> '<comment>'" and " <food>*<amount>/<unit>" per item.
std::string Describe(const Meal& meal) {
  std::ostringstream out;
  out << meal.foodId << " d" << meal.catId << " t" << meal.mealType << " " << meal.date.year << "-"
      << meal.date.month << "-" << meal.date.day << " " << meal.nutrients[Nutrient::kCalories] << " '"
      << ToUtf8(meal.comment) << "'";
  for (const MealItem& item : meal.items)
    out << " " << ToUtf8(item.food->name) << "*" << item.amount << "/" << item.servingType;
  return out.str();
}

class DiaryTest : public food_view_test::FoodViewTest {
 protected:
  DiaryTest() {
    ingredients_.Hide();
    EXPECT_TRUE(diary_.Create(tabs_.Window(), IDM_MAIN_DIARY, IDM_POPUP_DIARY));
    diary_.SetShowTotals([this](HWND, FoodRDA& totals, const NutritionPeriod&) { shown_.push_back(totals); });
  }
  ~DiaryTest() override { diary_.WaitForBackgroundSaves(); }

  WString Catalog() const { return folder_ / L"FoodDiary.xml"; }
  void Open(const std::string& xml) {
    WriteFile(Catalog(), xml);
    Reopen();
  }
  // Reads the catalog file into the emptied view, as the next start of the program would.
  void Reopen() { OpenIn(diary_); }
  void OpenIn(Diary& diary) { food_view_test::Reopen(diary, Catalog()); }
  // A food counted by the piece.
  Ingredient* AddFood(const WString& name, double calories) { return Food(name, calories, 0, kUnitBlank); }
  std::vector<std::string> Described() const {
    std::vector<std::string> meals;
    for (const auto& meal : diary_.Meals()) meals.push_back(Describe(*meal));
    return meals;
  }
  std::vector<uint32_t> MealIds() const {
    std::vector<uint32_t> ids;
    for (const auto& meal : diary_.Meals()) ids.push_back(meal->foodId);
    return ids;
  }
  int RowOf(uint32_t mealId) const { return diary_.List().FindItem(static_cast<LPARAM>(mealId)); }
  void SelectDiary(uint32_t id) {
    diary_.categoryCombo.SelectById(id);
    diary_.UpdateCategoryMenu(nullptr);
  }
  // A diary's person: name, sex, age band, and the diary the selector shows.
  std::tuple<WString, uint32_t, uint32_t, uint32_t> Person(uint32_t id) const {
    const DiaryName& person = diary_.Diaries().Find(id);
    return {person.name, person.sex, person.ageBand, diary_.categoryCombo.SelectedId()};
  }
  // The totals shown: title, calories and diary.
  std::tuple<WString, double, uint32_t> Totals(size_t i) const {
    return {shown_[i].name, shown_[i].nutrients[Nutrient::kCalories], shown_[i].catId};
  }
  bool Greyed(UINT command) const { return view_test::Greyed(diary_.Menu(), command); }

  OpenDiary diary_{app_, status_, toolbar_, options_, ingredients_};
  std::vector<FoodRDA> shown_;
};

// ---- the diary file ----

// A diary file that brings 300 foods whole adds them to the catalog as one batch: the catalog is
// saved once, not once a food, and holds every one of them at the next start.
TEST_F(DiaryTest, FoodsTheFileBringsJoinTheCatalogWithOneSave) {
  AddFood(L"Apple", 50);
  std::string items;
  for (int n = 0; n < 300; ++n)
    items += "<FOODITEM>\n<FOOD>\n<FOODID>7</FOODID>\n<FOODNAME>Food " + std::to_string(n) +
             "</FOODNAME>\n</FOOD>\n<AMOUNT>1</AMOUNT>\n<TYPE>1</TYPE>\n</FOODITEM>\n";
  ingredients_.WaitForBackgroundSaves();
  const int before = ingredients_.saves;
  Open(DiaryFile(MealXml(1, 1, 0, 3, 7, 0, items)));
  ingredients_.WaitForBackgroundSaves();
  EXPECT_EQ(std::tuple(ingredients_.saves - before, diary_.Meals().at(0)->items.size()), std::tuple(1, 300u));
  food_view_test::Reopen(ingredients_, IngredientCatalog());
  EXPECT_EQ(ingredients_.Records().size(), 301u);
}

// A CSV path, in capitals too, neither loads nor saves. Repeated meal ids take the next free ones;
// unknown foods and missing amounts are dropped; a food given whole joins the catalog; the saved file
// refers to foods by id and reads back the same.
TEST_F(DiaryTest, CsvPathsNeitherLoadNorSaveTheFileKeepsGoodItemsFreeIdsAndReadsBackAndSavesTheSameText) {
  WriteFile(folder_ / L"Diary.CSV", DiaryFile(MealXml(1, 1, 0, 3, 7, 100)));
  diary_.workPath = folder_ / L"Diary.CSV";
  EXPECT_FALSE(diary_.Load(nullptr, 0, 100));
  EXPECT_TRUE(diary_.Meals().empty());
  diary_.workPath = folder_ / L"Out.csv";
  EXPECT_FALSE(diary_.Save());
  EXPECT_FALSE(FileExists(folder_ / L"Out.csv"));

  const Ingredient* apple = AddFood(L"Apple", 50);
  const std::string cheeseXml =
      "<FOODITEM>\n<FOOD>\n<FOODID>77</FOODID>\n<FOODNAME>Cheese</FOODNAME>\n<CAL>80</CAL>\n</FOOD>\n"
      "<AMOUNT>1.5</AMOUNT>\n<TYPE>4</TYPE>\n</FOODITEM>\n";
  const std::string noOwnFood = "<DIARY>\n<FOODLIST>\n</FOODLIST>\n<MEAL>1</MEAL>\n</DIARY>\n";
  Open(DiaryFile(MealXml(5, 1, 1, 3, 7, 100,
                         ItemXml(apple->foodId, "2.5") + ItemXml(99, "1") + ItemXml(apple->foodId, "")) +
                     MealXml(3, 1, 3, 3, 8, 80, cheeseXml) + noOwnFood + MealXml(3, 2, 0, 12, 31, 0),
                 MealXml(50, 1, 1, 1, 1, 1)));

  // The stored totals, not recomputed; the empty MEAL leaf is no meal type.
  const std::vector<std::string> meals{"5 d1 t1 2010-3-7 100 'meal 5' Apple*2.5/1",
                                       "6 d1 t3 2010-3-8 80 'meal 3' Cheese*1.5/4",
                                       "7 d2 t0 2010-12-31 0 'meal 3'"};
  ASSERT_EQ(Described(), meals);
  const Ingredient* cheese = ingredients_.FindByName(L"Cheese");
  ASSERT_NE(cheese, nullptr);
  EXPECT_EQ(std::tuple(diary_.lastMealId, diary_.Meals()[0]->items[0].food, diary_.Meals()[1]->items[0].food,
                       diary_.List().ItemCount(), diary_.IsFoodUsed(apple->foodId),
                       diary_.IsFoodUsed(apple->foodId + 100)),
            std::tuple(7u, apple, cheese, 3, true, false));

  diary_.WaitForBackgroundSaves();
  ASSERT_TRUE(diary_.Save());
  const WString saved = FileText(Catalog());
  EXPECT_EQ(view_test::Occurrences(saved, L"<FOODNAME>Cheese"), 0u);
  Reopen();
  ASSERT_EQ(Described(), meals);
  EXPECT_EQ(std::tuple(diary_.Meals()[1]->items[0].food, diary_.Diaries().Find(2).sex,
                       diary_.Diaries().Find(2).ageBand),
            std::tuple(cheese, 1u, 6u));
  ASSERT_TRUE(diary_.Save());
  EXPECT_EQ(FileText(Catalog()), saved);
}

// ---- the filters and the diaries ----

TEST_F(DiaryTest, NameAndMealSelectorsFilterTheMeals) {
  Open(DiaryFile(MealXml(1, 1, 3, 3, 7, 10) + MealXml(2, 1, 5, 3, 7, 10) + MealXml(3, 2, 3, 3, 8, 10)));
  // "--All--" and the seven meals.
  EXPECT_EQ(std::tuple(view_test::WindowText(diary_.categoryLabel.Window()),
                       view_test::WindowText(diary_.letterLabel.Window()), diary_.letterCombo.Count(),
                       diary_.letterCombo.ItemText(0), diary_.List().ItemCount()),
            std::tuple(L"Name:", L"Meal:", 8, L"--All--", 3));

  diary_.letterCombo.Select(kMealLunch);
  diary_.HandleCommand(MAKEWPARAM(IDC_VIEW_LETTER, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(diary_.letterCombo.Window()), nullptr);
  EXPECT_EQ(diary_.List().ItemCount(), 2);
  SelectDiary(2);
  ASSERT_EQ(diary_.List().ItemCount(), 1);
  EXPECT_EQ(std::tuple(diary_.List().ItemData(0), toolbar_.IsButtonEnabled(Diary::kEditDiary),
                       toolbar_.IsButtonEnabled(1001)),
            std::tuple(3, true, false));
  SelectDiary(0);
  EXPECT_EQ(
      std::tuple(toolbar_.IsButtonEnabled(Diary::kEditDiary), toolbar_.IsButtonEnabled(Diary::kAddDiary)),
      std::tuple(false, true));
}

TEST_F(DiaryTest, DiaryDialogGivesANewDiaryItsPersonAndEditsIt) {
  Open(DiaryFile(""));
  dialogs_.Drive(IDD_DIARY_NAME, [](const DialogDriver& d) {
    d.Notify(IDOK, BN_CLICKED);  // no name: the dialog stays open
    d.Type(IDC_DIARY_NAME, L"Grandpa");
    d.Pick(IDC_DIARY_SEX, 2);
    d.Pick(IDC_DIARY_AGE, 6);
    d.Press(IDOK);
  });
  diary_.AddCategory();
  const uint32_t id = diary_.Diaries().IdByName(L"Grandpa");
  ASSERT_GT(id, 2u);
  EXPECT_EQ(Person(id), std::tuple(L"Grandpa", 2u, 6u, id));

  dialogs_.Drive(IDD_DIARY_NAME, [](const DialogDriver& d) {
    EXPECT_EQ(std::tuple(d.Caption(), d.Text(IDC_DIARY_AGE)), std::tuple(L"Edit Food Diary", L"70+"));
    d.Type(IDC_DIARY_NAME, L"Grandmother");
    d.Pick(IDC_DIARY_SEX, 1);
    d.Press(IDOK);
  });
  diary_.EditCategory();
  EXPECT_EQ(Person(id), std::tuple(L"Grandmother", 1u, 6u, id));
  Reopen();
  EXPECT_EQ(std::get<0>(Person(id)), L"Grandmother");
}

// ---- nutrition over a period ----

// The preset period is the meal's day; a "To:" day counts whole. The totals carry the diary's
// person (her allowances by sex and age: Nutrients.AllowanceRowsBySexAndAgeBand).
TEST_F(DiaryTest, NutritionOfAPeriodCountsItsDaysThroughTheToDayAgainstThePersonsAllowances) {
  Open(DiaryFile(MealXml(1, 1, 0, 3, 6, 1) + MealXml(2, 1, 0, 3, 7, 10) + MealXml(3, 1, 3, 3, 7, 20) +
                 MealXml(4, 1, 0, 3, 8, 100) + MealXml(5, 2, 5, 3, 7, 450) + MealXml(6, 1, 3, 3, 10, 1000)));
  diary_.List().Select(RowOf(2));
  dialogs_.Drive(IDD_DIARY_NUTRITION, [&](const DialogDriver& d) {
    EXPECT_EQ(std::tuple(d.Text(IDC_NUTRITION_FROM), d.Text(IDC_NUTRITION_TO)),
              std::tuple(L"03-07-2010", L"03-07-2010"));
    d.Press(IDC_NUTRITION_VIEW);
    d.Type(IDC_NUTRITION_TO, L"03-08-2010");
    d.Press(IDC_NUTRITION_VIEW);
    d.Type(IDC_NUTRITION_FROM, L"03-01-2010");  // a wider period, lunch only
    d.Type(IDC_NUTRITION_TO, L"March 9, 2010");
    d.Pick(IDC_NUTRITION_MEAL, kMealLunch);
    d.Press(IDC_NUTRITION_VIEW);
    prompts_.answers = {Prompt::kAnswerOk};
    d.Type(IDC_NUTRITION_TO, L"soon");  // reported, nothing shown
    d.Press(IDC_NUTRITION_VIEW);
    d.Press(IDCANCEL);
  });
  diary_.ShowNutrition();
  EXPECT_EQ(prompts_.questions.size(), 1u);
  ASSERT_EQ(shown_.size(), 3u);
  // Of Ann's diary: 03-07, then 03-07 and 03-08, then the lunches up to 03-09.
  EXPECT_EQ(std::tuple(Totals(0), Totals(1), Totals(2)),
            std::tuple(std::tuple(L"03-07-2010 - 03-07-2010", 30.0, 1u),
                       std::tuple(L"03-07-2010 - 03-08-2010", 130.0, 1u),
                       std::tuple(L"03-01-2010 - 03-09-2010 (Lunch)", 20.0, 1u)));

  diary_.List().ClearSelection();
  diary_.List().Select(RowOf(5));
  dialogs_.Drive(IDD_DIARY_NUTRITION, [](const DialogDriver& d) {
    d.Press(IDC_NUTRITION_VIEW);
    d.Press(IDCANCEL);
  });
  diary_.ShowNutrition();
  ASSERT_EQ(shown_.size(), 4u);
  EXPECT_EQ(std::tuple(Totals(3), shown_[3].sex, shown_[3].ageBand),
            std::tuple(std::tuple(L"03-07-2010 - 03-07-2010 (Dinner)", 450.0, 2u), 1u, 6u));
}

// Without a ShowTotals of its own the period's nutrition opens in the ingredient editor on its
// charts: the allowance bars, then the trend of a nutrient over the days, each readable as text
// and savable as a PNG picture.
TEST_F(DiaryTest, NutritionShowsTheChartsFirstInTheIngredientEditorForDiaries) {
  Open(DiaryFile(MealXml(1, 2, 0, 3, 7, 450)));
  Diary plain{app_, status_, toolbar_, options_, ingredients_};
  plain.Create(tabs_.Window(), IDM_MAIN_DIARY, IDM_POPUP_DIARY);
  OpenIn(plain);
  plain.List().Select(0);
  const WString png = folder_ / L"chart.png";
  prompts_.chosenPaths = {png};
  dialogs_.Drive(IDD_DIARY_NUTRITION, [&](const DialogDriver& d) {
    dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& editor) {
      EXPECT_EQ(editor.Text(IDC_EDITOR_CATEGORY_LABEL), L"&Food Diary:");
      EXPECT_EQ(editor.TabTexts(IDC_EDITOR_TABS),
                (std::vector<std::wstring>{L"Chart", L"Trend", L"General", L"Nutrition", L"Vitamins",
                                           L"Minerals"}));
      EXPECT_TRUE(editor.Visible(IDC_CHART_ALLOWANCE));
      EXPECT_EQ(editor.Text(IDC_CHART_ALLOWANCE).rfind(L"Calories: 450, ", 0), 0u);
      EXPECT_NE(editor.Text(IDC_CHART_TREND).find(L"03-07-2010: 450"), WString::npos);
      editor.ShowTab(IDC_EDITOR_TABS, 1);  // Trend: the label's key reaches the nutrient, Tab goes on down
      const auto next = [&](int id) { return GetNextDlgTabItem(editor.Dialog(), editor.Item(id), FALSE); };
      EXPECT_EQ((std::vector{GetWindow(editor.Item(IDC_CHART_NUTRIENT_LABEL), GW_HWNDNEXT),
                             next(IDC_CHART_NUTRIENT), next(IDC_CHART_SAVE)}),
                (std::vector{editor.Item(IDC_CHART_NUTRIENT), editor.Item(IDC_CHART_SAVE),
                             editor.Item(IDC_CHART_PRINT)}));
      editor.ShowTab(IDC_EDITOR_TABS, 2);  // General: no serving, no name
      EXPECT_FALSE(editor.Visible(IDC_CHART_ALLOWANCE) || editor.Visible(IDC_EDITOR_NAME) ||
                   editor.Visible(IDC_EDITOR_WHOLE));
      EXPECT_TRUE(editor.Visible(IDC_EDITOR_CATEGORY));
      editor.ShowTab(IDC_EDITOR_TABS, 3);  // Nutrition: the period's totals
      EXPECT_EQ(editor.Text(kNutrientEditIds[Nutrient::kCalories]), L"450");
      editor.ShowTab(IDC_EDITOR_TABS, 0);
      editor.Press(IDC_CHART_SAVE);
      EndDialog(editor.Dialog(), IDCANCEL);
    });
    d.Press(IDC_NUTRITION_VIEW);
    d.Press(IDCANCEL);
  });
  plain.ShowNutrition();
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(png, bytes));
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
}

// The nutrition window as its user sizes it, never below the size it opened at: at every size the
// chart shows its bars where the layout puts them at the chart's present size, not what an earlier
// size left, in the system's window colours, and "Done" is there and drawn inside the window. The
// chart's text is never smaller than the dialog's, and a bar's amount stands apart from its
// percentage.
TEST_F(DiaryTest, ChartWindowIsDrawnAgainAtEverySizeWithDoneInReachAndTextAsLargeAsTheDialogs) {
  std::string meals;
  for (int day = 1; day <= 7; ++day) meals += MealXml(day, 2, 1, 3, day, 1500);
  Open(DiaryFile(meals));
  Diary plain{app_, status_, toolbar_, options_, ingredients_};
  plain.Create(tabs_.Window(), IDM_MAIN_DIARY, IDM_POPUP_DIARY);
  OpenIn(plain);
  plain.List().Select(0);
  FoodRDA week(kSexFemale, 6);  // Grandma's week: 75% of her calories a day, nothing else
  week.nutrients[Nutrient::kCalories] = 7 * 1500;
  const std::vector<AllowanceBar> bars = AllowanceBars(week, 7);
  const auto pump = [] {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  };
  dialogs_.Drive(IDD_DIARY_NUTRITION, [&](const DialogDriver& d) {
    dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& editor) {
      RECT first;
      GetWindowRect(editor.Dialog(), &first);
      const SIZE start{first.right - first.left, first.bottom - first.top};
      MINMAXINFO limits{};  // sizing by hand stops at the size it opened at, where the text fits its lines
      SendMessageW(editor.Dialog(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
      EXPECT_EQ(std::pair(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y), std::pair(start.cx, start.cy));
      for (const SIZE size : {SIZE{start.cx + 300, start.cy + 250}, start, SIZE{start.cx + 150, start.cy}}) {
        SetWindowPos(editor.Dialog(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        pump();
        RECT client, done;
        GetClientRect(editor.Dialog(), &client);
        GetWindowRect(editor.Item(IDC_EDITOR_DONE), &done);
        MapWindowPoints(nullptr, editor.Dialog(), reinterpret_cast<POINT*>(&done), 2);
        RECT inside;
        IntersectRect(&inside, &done, &client);
        EXPECT_TRUE(EqualRect(&inside, &done)) << size.cx;
        const Canvas window = Canvas::Of(editor.Dialog());
        EXPECT_FALSE(window.Ink(done).empty()) << "Done is drawn at " << size.cx;

        const Canvas chart = Canvas::Of(editor.Item(IDC_CHART_ALLOWANCE));
        const AllowanceLayout layout = LayoutAllowanceChart(chart.Area(), bars);
        const RECT& calories = layout.bars[Nutrient::kCalories];
        const int y = (calories.top + calories.bottom) / 2;
        const int length = BarLength(layout, bars[Nutrient::kCalories].percent);
        const RECT& protein = layout.bars[Nutrient::kProtein];
        EXPECT_EQ(
            (std::vector{chart.At(calories.left + length / 2, y), chart.At(calories.left + length + 2, y),
                         chart.At(layout.hundredX, (protein.top + protein.bottom) / 2)}),
            (std::vector{kEnoughColour, ScreenColours().background, ScreenColours().allowance}))
            << size.cx;
        if (size.cx != start.cx || size.cy != start.cy) continue;

        // At the first size: the name as tall as the dialog's font writes it, "1500" and "75%" apart.
        const RECT& line = layout.lines[Nutrient::kCalories];
        Canvas dialogFont(200, 100);
        const HGDIOBJ font = SelectObject(
            dialogFont.Dc(), reinterpret_cast<HFONT>(SendMessageW(editor.Dialog(), WM_GETFONT, 0, 0)));
        TextOutW(dialogFont.Dc(), 10, 10, L"Calories", 8);
        SelectObject(dialogFont.Dc(), font);
        EXPECT_GE(chart.InkHeight(RECT{line.left, line.top, layout.barLeft, line.bottom}),
                  dialogFont.InkHeight(dialogFont.Area()));
        std::vector<LONG> columns;
        for (const POINT& ink : chart.Ink(RECT{calories.right, line.top, line.right, line.bottom}))
          columns.push_back(ink.x);
        std::sort(columns.begin(), columns.end());
        LONG widestGap = 0;
        for (size_t i = 1; i < columns.size(); ++i)
          widestGap = std::max(widestGap, columns[i] - columns[i - 1]);
        EXPECT_GE(widestGap, layout.lineHeight);
      }
      EndDialog(editor.Dialog(), IDCANCEL);
    });
    d.Press(IDC_NUTRITION_VIEW);
    d.Press(IDCANCEL);
  });
  plain.ShowNutrition();
}

// ---- the meal dialog ----

TEST_F(DiaryTest, MealAddedThroughTheDialogKeepsItsFoodsInOrderWithTheirTotals) {
  AddFood(L"Apple", 50);
  AddFood(L"Bread", 70);
  Open(DiaryFile(""));
  SelectDiary(2);
  dialogs_.On(IDD_DATE_PICKER, [](HWND picker) {
    NMSELCHANGE picked = {};
    picked.nmhdr = {GetDlgItem(picker, IDC_DATE_CALENDAR), IDC_DATE_CALENDAR, static_cast<UINT>(MCN_SELECT)};
    picked.stSelStart = picked.stSelEnd = SYSTEMTIME{2010, 3, 0, 7};
    SendMessageW(picker, WM_NOTIFY, IDC_DATE_CALENDAR, reinterpret_cast<LPARAM>(&picked));
  });
  dialogs_.Drive(IDD_MEAL, [&](const DialogDriver& d) {
    d.Press(IDC_MEAL_DATE_PICK);
    d.Pick(IDC_MEAL_TYPE, kMealLunch - 1);
    d.Type(IDC_MEAL_COMMENT, L"Picnic");
    d.Type(IDC_MEAL_FOOD, L"app");
    EXPECT_EQ(d.Count(IDC_MEAL_CATALOG), 1);  // the typed text filters the catalog list
    d.Pick(IDC_MEAL_CATALOG, 0);
    d.Pick(IDC_MEAL_WHOLE, 2);               // 2
    d.PickText(IDC_MEAL_FRACTION, L"1/2 ");  // and a half
    d.Press(IDC_MEAL_ADD);
    // "Search" opens Find Ingredient with the typed text; the food chosen there is selected with
    // its serving preset.
    d.Type(IDC_MEAL_FOOD, L"Bre");
    dialogs_.Drive(IDD_FIND_INGREDIENT, [](const DialogDriver& find) {
      EXPECT_EQ(find.Text(IDC_FIND_TEXT), L"Bre");
      find.Pick(IDC_FIND_RESULTS, 0);
      find.Press(IDOK);
    });
    d.Press(IDC_MEAL_SEARCH);
    d.Press(IDC_MEAL_ADD);
    d.Pick(IDC_MEAL_EATEN, 1);
    d.Press(IDC_MEAL_UP);
    EXPECT_EQ(std::tuple(d.Rows(IDC_MEAL_EATEN), d.Text(IDC_MEAL_DATE), d.Text(IDC_MEAL_FOOD)),
              std::tuple(std::vector<std::wstring>{L"1  Bread", L"2 1/2  Apple"}, L"03-07-2010", L""));
    d.Press(IDOK);
  });
  EXPECT_EQ(diary_.AddItem(nullptr), 1u);
  const std::vector<std::string> meals{"1 d2 t3 2010-3-7 195 'Picnic' Bread*1/1 Apple*2.5/1"};
  EXPECT_EQ(Described(), meals);
  Reopen();
  EXPECT_EQ(Described(), meals);
}

// Amounts are typed, Enter adds the food picked, which presets its serving unless an amount was
// typed first, and a text that is no amount adds nothing.
TEST_F(DiaryTest, MealAmountsAreTypedAndEnterAddsTheFoodPicked) {
  Ingredient* flour = Food(L"Flour", 364, 0, kUnitGram);
  flour->size = 100;
  Food(L"Milk", 100, 0, kUnitCup);
  Open(DiaryFile(""));
  SelectDiary(1);
  dialogs_.Drive(IDD_MEAL, [&](const DialogDriver& d) {
    d.ShowTab(IDC_MEAL_TABS, 1);
    const auto pick = [&d](const wchar_t* food) {
      d.Type(IDC_MEAL_FOOD, food);
      d.Pick(IDC_MEAL_CATALOG, 0);
    };
    pick(L"Flour");
    EXPECT_EQ(std::tuple(d.Text(IDC_MEAL_WHOLE), d.Text(IDC_MEAL_UNIT)), std::tuple(L"100", L"g"));
    d.Keys(IDC_MEAL_WHOLE, L"250");
    d.Enter();
    d.Keys(IDC_MEAL_WHOLE, L"1,5");
    pick(L"Milk");
    d.Enter();
    pick(L"Milk");
    d.Keys(IDC_MEAL_WHOLE, L"-1");
    d.Enter();
    EXPECT_EQ(d.Rows(IDC_MEAL_EATEN), (std::vector<std::wstring>{L"250  g Flour", L"1 1/2  cup Milk"}));
    d.Press(IDOK);
  });
  EXPECT_EQ(diary_.AddItem(nullptr), 1u);
  ASSERT_EQ(diary_.Meals().size(), 1u);
  const std::string meal = Describe(*diary_.Meals()[0]);  // today's
  EXPECT_NE(meal.find(" 1060 '' Flour*250/4 Milk*1.5/2"), std::string::npos) << meal;
}

// OK rebuilds the meal from its items and keeps the part of its stored totals they do not explain:
// meal 4 was stored without items, meal 5 with a food the catalog no longer has.
TEST_F(DiaryTest, EditingAMealRewritesItKeepsWhatItsItemsDoNotExplainAndCancelChangesNothing) {
  const Ingredient* apple = AddFood(L"Apple", 50);
  Open(DiaryFile(MealXml(4, 1, 1, 3, 7, 10) +
                 MealXml(5, 1, 1, 3, 8, 150, ItemXml(apple->foodId, "1") + ItemXml(99, "1"))));
  for (const auto& [meal, button] : {std::pair(4u, IDCANCEL), {4u, IDOK}, {5u, IDOK}}) {
    diary_.List().ClearSelection();
    diary_.List().Select(RowOf(meal));
    dialogs_.Drive(IDD_MEAL, [&](const DialogDriver& d) {
      EXPECT_EQ(d.Caption(), L"Edit Food Diary");
      d.Type(IDC_MEAL_DATE, L"12-24-2009");
      d.Press(button);
    });
    if (button == IDCANCEL) prompts_.answers = {Prompt::kAnswerYes};  // the changed date may go
    diary_.EditItem(nullptr);
    if (button == IDCANCEL) {
      EXPECT_EQ(diary_.Meals()[0]->date.year, 2010u);
      ASSERT_EQ(prompts_.questions.size(), 1u);
      EXPECT_EQ(prompts_.questions[0].text, L"Discard your changes?");
    }
  }
  EXPECT_EQ(Described(), (std::vector<std::string>{"4 d1 t1 2009-12-24 10 'meal 4'",
                                                   "5 d1 t1 2009-12-24 150 'meal 5' Apple*1/1"}));
  EXPECT_EQ(diary_.List().ItemText(RowOf(4), 0), L"12-24-2009");
  EXPECT_TRUE(diary_.modified);
}

// Without a diary no meal can be added; Delete needs a selection and Edit exactly one. A deleted
// diary takes its meals with it, and Restore brings back the backup's.
TEST_F(DiaryTest, DeleteRemovesTheSelectedMealsOnlyOnYesADiaryTakesItsMealsWithItRestoreReadsTheBackup) {
  diary_.UpdateMenu(diary_.Menu());
  EXPECT_TRUE(Greyed(Diary::kAddMeal));
  EXPECT_EQ(diary_.AddItem(nullptr), 0u);  // and no meal dialog

  Open(DiaryFile(AnnsMeals({1, 2, 3}) + MealXml(4, 2, 0, 3, 8, 10) + AnnsMeals({5})));
  ASSERT_TRUE(CopyFileTo(Catalog(), diary_.BackupPath()));
  diary_.UpdateMenu(diary_.Menu());
  EXPECT_EQ(std::tuple(Greyed(Diary::kAddMeal), Greyed(Diary::kDeleteMeal)), std::tuple(false, true));
  diary_.List().Select(RowOf(1));
  diary_.List().Select(RowOf(3));
  diary_.UpdateMenu(diary_.Menu());
  EXPECT_EQ(std::tuple(Greyed(Diary::kDeleteMeal), Greyed(Diary::kEditMeal)), std::tuple(false, true));
  prompts_.answers = {Prompt::kAnswerNo};
  diary_.DeleteItem(nullptr, nullptr);
  EXPECT_EQ(diary_.Meals().size(), 5u);

  prompts_.answers = {Prompt::kAnswerYes};
  diary_.DeleteItem(nullptr, nullptr);
  ASSERT_EQ(prompts_.questions.size(), 2u);
  EXPECT_EQ(prompts_.questions[1].text, L"Would you like to delete the selected meals?\r\n\r\n2 selected");
  EXPECT_EQ(diary_.List().ItemCount(), 3);
  Reopen();
  EXPECT_EQ(MealIds(), (std::vector<uint32_t>{2, 4, 5}));

  SelectDiary(1);
  prompts_.answers = {Prompt::kAnswerYes};
  diary_.DeleteCategory();
  ASSERT_EQ(prompts_.questions.size(), 3u);
  EXPECT_EQ(prompts_.questions[2].text, L"Are you sure you want to delete the food diary: Ann");
  EXPECT_EQ(prompts_.questions[2].caption, L"Delete Food Diary");
  EXPECT_EQ(std::tuple(MealIds(), diary_.Diaries().NameById(1), diary_.List().ItemCount()),
            std::tuple(std::vector<uint32_t>{4}, nullptr, 1));

  prompts_.answers = {Prompt::kAnswerYes};
  diary_.RestoreBackup();
  EXPECT_EQ(prompts_.questions.back().text,
            L"You are about to restore your last saved food diary.  Do you want to continue the import and "
            L"replace your current food diary?");
  EXPECT_EQ(MealIds(), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
}

// ---- export, import and restore ----

TEST_F(DiaryTest, ExportOfOneDiaryCarriesAllNamesAndImportReplacesOrAdds) {
  Open(DiaryFile(MealXml(1, 1, 0, 3, 7, 10) + MealXml(2, 2, 0, 3, 8, 20) + MealXml(3, 1, 0, 3, 9, 30)));
  const WString exported = folder_ / L"Grandma.xml";
  dialogs_.Drive(IDD_INGREDIENT_EXPORT, [&](const DialogDriver& d) {
    EXPECT_EQ(DialogDriver::WindowText(GetWindow(d.Item(IDC_INGREDIENT_EXPORT_CATEGORY), GW_HWNDPREV)),
              L"&Food Diary:");
    EXPECT_FALSE(d.Visible(IDC_INGREDIENT_EXPORT_PICTURES));
    d.Type(IDC_INGREDIENT_EXPORT_PATH, exported);
    d.Pick(IDC_INGREDIENT_EXPORT_CATEGORY, 2);  // "--All--", Ann, Grandma
    d.Press(IDOK);
  });
  diary_.Export();
  const WString text = FileText(exported);
  EXPECT_EQ(
      std::tuple(view_test::Occurrences(text, L"<DIARYNAME>"), view_test::Occurrences(text, L"<DIARY>")),
      std::tuple(2u, 1u));

  // No adds the exported meal with the next free id, Yes keeps the file's meals alone, Cancel
  // changes nothing.
  const struct {
    int answer;
    std::vector<uint32_t> meals;
  } imports[] = {{Prompt::kAnswerNo, {1, 2, 3, 4}}, {Prompt::kAnswerYes, {2}}, {Prompt::kAnswerCancel, {2}}};
  for (const auto& import : imports) {
    SCOPED_TRACE(import.answer);
    prompts_.chosenPaths = {exported};
    prompts_.answers = {import.answer};
    diary_.Import();
    // The last is Grandma's meal.
    EXPECT_EQ(std::tuple(MealIds(), diary_.Meals().back()->nutrients[Nutrient::kCalories],
                         diary_.Diaries().Entries().Count(), diary_.List().ItemCount()),
              std::tuple(import.meals, 20.0, 2u, static_cast<int>(import.meals.size())));
  }
  ASSERT_EQ(prompts_.questions.size(), 3u);
  EXPECT_EQ(
      prompts_.questions[0].text,
      L"Import a food diary. Do you want to continue and replace your current food diary?  Click 'Yes' to "
      L"replace your food diary, click 'No' to add the new entries to your existing diary, or click "
      L"'Cancel' to cancel this import.");
  EXPECT_EQ(prompts_.requests[0].title, L"Select a food diary file to import");
  Reopen();
  EXPECT_EQ(MealIds(), (std::vector<uint32_t>{2}));
}

TEST_F(DiaryTest, ReplacingTheIngredientCatalogMovesMealItemsToTheirSuccessorsAndLosesNone) {
  Ingredient* apple = AddFood(L"Apple", 50);
  Ingredient* pear = AddFood(L"Pear", 40);
  apple->catId = ingredients_.Categories().AddNew(L"Fruit", ingredients_.IdCounter());
  Open(DiaryFile(MealXml(1, 1, 1, 3, 7, 90, ItemXml(apple->foodId, "1") + ItemXml(pear->foodId, "2"))));
  // The new catalog gives the apple's id to another food and has the pear under another id.
  const WString file = folder_ / L"other.xml";
  WriteFile(file,
            "<INGREDIENTLIST>\r\n<INGREDIENTS>\r\n<FOOD>\r\n<FOODID>" + std::to_string(apple->foodId) +
                "</FOODID>\r\n<FOODNAME>Banana</FOODNAME>\r\n</FOOD>\r\n<FOOD>\r\n<FOODID>90</FOODID>\r\n"
                "<FOODNAME>pear</FOODNAME>\r\n</FOOD>\r\n</INGREDIENTS>\r\n</INGREDIENTLIST>\r\n");
  prompts_.chosenPaths = {file};
  prompts_.answers = {Prompt::kAnswerYes};
  ingredients_.Import();

  const Meal& meal = *diary_.Meals()[0];
  ASSERT_EQ(meal.items.size(), 2u);
  const Ingredient* kept = ingredients_.FindByName(L"Apple");
  ASSERT_NE(kept, nullptr) << "the apple the meal holds rejoins the catalog";
  EXPECT_NE(kept->foodId, ingredients_.FindByName(L"Banana")->foodId);
  // The pear moves to the new catalog's pear.
  EXPECT_EQ(
      std::tuple(meal.items[0].food, meal.items[1].food, *ingredients_.Categories().NameById(kept->catId),
                 ingredients_.Records().size(), diary_.IsFoodUsed(kept->foodId)),
      std::tuple(kept, ingredients_.FindById(90), L"Fruit", 3u, true));
}

// Not a test: tools/chart-screenshots.sh runs it to take the README's pictures of the charts, a
// week of Grandma's meals with most nutrients, some in traces, and a day without any among them.
TEST_F(DiaryTest, DISABLED_ChartScreenshots) {
  const char* const tags[] = {"FAT",  "SATFAT", "CHOL", "NA",   "K",  "CARB", "FIBER", "SUGAR", "PROTEIN",
                              "VITA", "VITB1",  "VITC", "VITD", "CA", "FE",   "MG",    "ZN"};
  const double perDay[] = {70, 24, 330, 2600, 2900, 250, 14, 60, 48, 600, 0.03, 70, 4, 900, 9, 240, 6};
  std::string meals;
  for (int day = 1; day <= 7; ++day) {
    for (int meal = 1; meal <= 3 && day != 4; ++meal) {
      const double share = (0.6 + 0.1 * ((day * 7 + meal * 3) % 9)) / 3;
      std::string values = "<CAL>" + std::to_string(static_cast<int>(1900 * share)) + "</CAL>\n";
      for (size_t n = 0; n < std::size(tags); ++n)
        values +=
            std::string("<") + tags[n] + ">" + std::to_string(perDay[n] * share) + "</" + tags[n] + ">\n";
      std::string xml = MealXml(day * 10 + meal, 2, meal * 2 - 1, 3, day, 0);
      xml.replace(xml.find("<CAL>"), xml.find("</FOOD>") - xml.find("<CAL>"), values);
      meals += xml;
    }
  }
  Open(DiaryFile(meals));
  Diary shown{app_, status_, toolbar_, options_, ingredients_};
  shown.Create(tabs_.Window(), IDM_MAIN_DIARY, IDM_POPUP_DIARY);
  OpenIn(shown);
  const WString folder = FromUtf8(getenv("CHART_SHOTS") ? getenv("CHART_SHOTS") : "Z:\\tmp");
  // Holds the window open, answering its messages, while a screenshot is taken from outside.
  const auto hold = [](const WString& marker) {
    SetCursorPos(0, 0);  // no tooltip in the picture
    FileHandle(marker).WriteAllText(L"shown");
    for (const DWORD end = GetTickCount() + 4000; GetTickCount() < end; Sleep(20)) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
  };
  dialogs_.Drive(IDD_DIARY_NUTRITION, [&](const DialogDriver& d) {
    dialogs_.Drive(IDD_INGREDIENT_EDITOR, [&](const DialogDriver& editor) {
      editor.ShowTab(IDC_EDITOR_TABS, 1);
      hold(folder + L"\\trend-shown");
      editor.ShowTab(IDC_EDITOR_TABS, 0);
      hold(folder + L"\\chart-shown");
      EndDialog(editor.Dialog(), IDCANCEL);
    });
    d.PickText(IDC_NUTRITION_DIARY, L"Grandma");
    d.Type(IDC_NUTRITION_FROM, L"03-01-2010");
    d.Type(IDC_NUTRITION_TO, L"03-07-2010");
    d.Press(IDC_NUTRITION_VIEW);
    d.Press(IDCANCEL);
  });
  shown.ShowNutrition();
}

}  // namespace
