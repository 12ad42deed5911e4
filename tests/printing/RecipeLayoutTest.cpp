// The printed layout, in the program's texts, on a Letter bitmap at 100 pixels per inch: areas,
// ingredient columns, card slots, instruction breaks and the nutrition block.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "PrintTestSupport.h"
#include "support/ScratchFolder.h"
#include "toolkit/ERApp.h"

using print_test::Drawn;
using print_test::kDpi;
using print_test::LetterBitmap;
using print_test::RecordingSurface;

namespace {

Recipe MakeRecipe(const WString& name, size_t lineCount, const WString& instructions = WString()) {
  Recipe recipe;
  recipe.name = name;
  for (size_t i = 0; i < lineCount; ++i) {
    RecipeLine line;
    line.displayName = TXT("line ") + FromAscii(std::to_string(i + 1));
    recipe.lines.push_back(line);
  }
  recipe.instructions = instructions;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) recipe.nutrients[n] = n + 1;
  return recipe;
}

WString ManyWords(int count) {
  WString text;
  for (int i = 0; i < count; ++i) text += TXT("word") + FromAscii(std::to_string(i)) + TXT(" ");
  return text;
}

class LayoutTest : public testing::Test {
 protected:
  // Prints the recipes with the settings and returns the surface's record.
  RecordingSurface& Print(const std::vector<Recipe>& recipes, int failEndAt = 0) {
    surface_.emplace(page_, TXT("Arial"), settings.details);
    surface_->failEndAt = failEndAt;
    std::vector<const Recipe*> list;
    for (const Recipe& recipe : recipes) list.push_back(&recipe);
    RecipePrinter printer(*surface_, settings, texts_, format_, imagesFolder);
    result = printer.PrintAll(list);
    return *surface_;
  }
  // The distinct left edges of the ingredient lines, and how many lines each column holds.
  std::vector<int> ColumnSizes(const RecordingSurface& surface) const {
    std::map<int, int> columns;
    for (const Drawn& item : surface.drawn)
      if (item.text.rfind(L"line ", 0) == 0) ++columns[item.x];
    std::vector<int> sizes;
    for (const auto& column : columns) sizes.push_back(column.second);
    return sizes;
  }
  // A nutrient's name as the nutrition block writes it before the value.
  std::wstring Name(uint32_t nutrient) const { return texts_.nutrientNames[nutrient] + L" - "; }

  PrintSettings settings;
  WString imagesFolder = TXT("C:\\images");
  bool result = false;

 private:
  LetterBitmap page_;
  DAVavador::ERApp app_{GetModuleHandleW(nullptr)};
  PrintTexts texts_ = LoadPrintTexts(app_);  // the program's texts
  NutrientFormat format_;
  std::optional<RecordingSurface> surface_;
};

// The amount's own text (the blank unit's too) is Units.FormatAmountWholeFractionAndUnit's.
TEST(PrintedLineTextTest, AmountUnitThenABlankThenTheName) {
  Ingredient flour;
  flour.name = L"Flour";
  flour.type = kUnitCup;
  const auto text = [](Ingredient& food, ServingUnit unit, double amount, const wchar_t* own = L"") {
    RecipeLine line;
    line.ingredient = &food;
    line.unit = static_cast<int32_t>(unit);
    line.amount = amount;
    line.displayName = own;
    return PrintedLineText(line);
  };
  EXPECT_EQ(text(flour, kUnitCup, 1.5), L"1 1/2  cup Flour");
  EXPECT_EQ(text(flour, kUnitCup, 1.5, L"flour, sifted"), L"flour, sifted");
}

TEST(PrintAreaTest, FullPageMarginsAndCardSlots) {
  // left, top, right, bottom, and the text width 17 × dpi / 2 − k × left (k = 3, then 2).
  const std::pair<uint32_t, std::vector<int>> margins[] = {
      {0, {50, 50, 800, 1050, 700}}, {1, {100, 100, 750, 1000, 650}}, {3, {200, 200, 550, 800, 450}}};
  for (const auto& [margin, expected] : margins) {
    const PrintArea a = FullPageArea(kDpi, kDpi, margin);
    EXPECT_EQ(expected, (std::vector<int>{a.left, a.top, a.right, a.bottom, a.width})) << margin;
  }
  for (int slot = 1; slot <= 3; ++slot) {
    const PrintArea card = CardArea(kDpi, kDpi, slot);
    EXPECT_EQ((std::vector<int>{175, 100 + 300 * (slot - 1), 600, 375 + 300 * (slot - 1)}),
              (std::vector<int>{card.left, card.top, card.right, card.bottom}));
  }
  EXPECT_EQ(16, PrintFontHeight(11 * kDpi, kDpi, true));
  EXPECT_EQ(12, PrintFontHeight(11 * kDpi, kDpi, false));
}

// Cards split five lines two and three; full pages start a second column at ten lines.
TEST_F(LayoutTest, IngredientColumnsOnCardsAndFullPages) {
  EXPECT_EQ(std::vector<int>({4}), ColumnSizes(Print({MakeRecipe(TXT("A"), 4)})));
  EXPECT_EQ(std::vector<int>({2, 3}), ColumnSizes(Print({MakeRecipe(TXT("A"), 5)})));
  settings.details = true;
  EXPECT_EQ(std::vector<int>({9}), ColumnSizes(Print({MakeRecipe(TXT("A"), 9)})));
  EXPECT_EQ(std::vector<int>({5, 5}), ColumnSizes(Print({MakeRecipe(TXT("A"), 10)})));
  const RecordingSurface& eleven = Print({MakeRecipe(TXT("A"), 11)});
  EXPECT_EQ(std::vector<int>({5, 6}), ColumnSizes(eleven));
  EXPECT_EQ(50 + 700 / 2, eleven.Find(L"line 6")->x);  // half the text width, not of right - left
  EXPECT_EQ(eleven.Find(L"line 1")->y, eleven.Find(L"line 6")->y);
  EXPECT_EQ(std::vector<int>({7, 8, 8}), ColumnSizes(Print({MakeRecipe(TXT("A"), 23)})));
}

TEST_F(LayoutTest, ThreeCardsFillOnePageAndAFourthUsesTheFirstSlotOfTheNext) {
  const RecordingSurface& three =
      Print({MakeRecipe(TXT("R1"), 1), MakeRecipe(TXT("R2"), 1), MakeRecipe(TXT("R3"), 1)});
  EXPECT_EQ(std::make_pair(1, 1), std::make_pair(three.pages, three.endedPages));
  const RecordingSurface& surface = Print({MakeRecipe(TXT("R1"), 1), MakeRecipe(TXT("R2"), 1),
                                           MakeRecipe(TXT("R3"), 1), MakeRecipe(TXT("R4"), 1)});
  EXPECT_TRUE(result);
  const int tops[] = {100, 400, 700, 100};
  for (int i = 0; i < 4; ++i) {
    const Drawn* title = surface.Find(L"R" + std::to_wstring(i + 1));
    ASSERT_NE(nullptr, title);
    EXPECT_EQ(tops[i], title->y);
    EXPECT_EQ(i < 3 ? 1 : 2, title->page);
    EXPECT_EQ(PrintSurface::Align::Centre, title->align);
  }
  EXPECT_EQ(std::make_pair(2, 2), std::make_pair(surface.pages, surface.endedPages));
}

// The serves line follows the title and the custom text; a time appears only when set.
TEST_F(LayoutTest, CustomTextMovesTheServesLineDownOneLineAndTimesAppearOnlyWhenSet) {
  settings.details = true;
  const int plain = Print({MakeRecipe(TXT("A"), 1)}).Find(L"Serves: 1")->y;
  Recipe recipe = MakeRecipe(TXT("A"), 1);
  recipe.custom = TXT("From grandmother");
  recipe.prepMinutes = 45;
  const RecordingSurface& surface = Print({recipe});
  EXPECT_EQ(50 + 2 * surface.LineHeight(), plain);
  EXPECT_EQ(surface.LineHeight(), surface.Find(L"Serves: 1")->y - plain);
  ASSERT_NE(nullptr, surface.Find(L"Preparation Time: 45m"));
  EXPECT_EQ(surface.Find(L"Serves: 1")->y + surface.LineHeight(), surface.Find(L"Preparation Time: 45m")->y);
  for (const Drawn& item : surface.drawn) EXPECT_EQ(std::wstring::npos, item.text.find(L"Cooking"));
}

// A card shows serves and the times that are set on the line below its title and custom text.
TEST_F(LayoutTest, CardsShowServesAndTimesOnOneLineUnderTheTitle) {
  Recipe recipe = MakeRecipe(TXT("A"), 1);
  recipe.serves = 4;
  recipe.prepMinutes = 15;
  recipe.cookHours = 1;
  recipe.cookMinutes = 30;
  const RecordingSurface& plain = Print({recipe});
  const Drawn* times = plain.Find(L"Serves: 4  Preparation Time: 15m  Cooking Time: 1h 30m");
  ASSERT_NE(nullptr, times);
  const int line = plain.LineHeight();
  EXPECT_EQ((std::vector<int>{100 + line, times->y + 2 * line}),
            (std::vector<int>{times->y, plain.Find(L"INGREDIENTS")->y}));
  recipe.custom = TXT("From grandmother");
  recipe.cookHours = recipe.cookMinutes = 0;
  EXPECT_EQ(100 + 2 * line, Print({recipe}).Find(L"Serves: 4  Preparation Time: 15m")->y);
}

// Two columns of a card: a long name goes on in the rows below, indented, and a word too long
// for its column ends in an ellipsis. Nothing runs into the next column; the next line of the
// column follows the wrapped rows.
TEST_F(LayoutTest, LongIngredientNamesWrapOrEndInAnEllipsisInsideTheirColumn) {
  Recipe recipe = MakeRecipe(TXT("A"), 5);
  const std::wstring chicken = L"1 1/2 Lb chicken breast, skinless and boneless, cut in strips";
  recipe.lines[0].displayName = chicken;
  recipe.lines[3].displayName = L"2 Tbl " + std::wstring(60, L'w') + L" oil";
  settings.nutrition = false;  // nothing below the lines
  const RecordingSurface& surface = Print({recipe});
  const int secondColumn = 175 + 425 / 2;
  const int heading = surface.Find(L"INGREDIENTS")->y;
  std::wstring firstColumn;
  std::vector<const Drawn*> rows;
  for (const Drawn& item : surface.drawn) {
    if (item.y <= heading || item.text.empty() || item.align != PrintSurface::Align::Left) continue;
    const int end = item.x < secondColumn ? secondColumn : 600;
    EXPECT_LT(item.x + surface.Measure(item.text).cx, end) << item.text;
    EXPECT_LE(item.x + surface.Measure(item.text).cx, item.right) << item.text;
    if (item.x >= secondColumn || item.text == L"line 2") continue;
    firstColumn += (firstColumn.empty() ? L"" : L" ") + item.text;
    rows.push_back(&item);
  }
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(firstColumn, chicken);
  EXPECT_GT(rows[1]->x, rows[0]->x);
  const Drawn* second = surface.Find(L"line 2");
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(rows.back()->y + surface.LineHeight(), second->y);
  const Drawn* oil = nullptr;
  for (const Drawn& item : surface.drawn)
    if (item.text.rfind(L"www", 0) == 0) oil = &item;
  ASSERT_NE(nullptr, oil);
  EXPECT_EQ(oil->text.back(), L'\u2026');
  EXPECT_EQ(oil->y, surface.Find(L"2 Tbl")->y + surface.LineHeight());
}

TEST_F(LayoutTest, InstructionsWrapAtTheRightEdgeAndFollowLineFeeds) {
  const RecordingSurface& surface = Print({MakeRecipe(TXT("A"), 1, TXT("one two\r\nthree\tfour"))});
  const Drawn* one = surface.Find(L"one");
  const Drawn* two = surface.Find(L"two");
  const Drawn* three = surface.Find(L"three");
  const Drawn* four = surface.Find(L"four");
  ASSERT_TRUE(one && two && three && four);
  EXPECT_EQ(175, one->x);
  EXPECT_EQ(one->x + surface.Measure(TXT("one")).cx + surface.Measure(TXT(" ")).cx, two->x);
  EXPECT_EQ(175, three->x);
  EXPECT_EQ(one->y + surface.LineHeight(), three->y);
  EXPECT_EQ(three->x + surface.Measure(TXT("three")).cx + 8 * surface.Measure(TXT(" ")).cx, four->x);
  for (const Drawn& item : surface.drawn)
    if (item.page == 1 && item.x == item.right) {
      EXPECT_LT(item.x + surface.Measure(item.text).cx, 600) << item.text;
    }
}

TEST_F(LayoutTest, CardBreakPrintsMoreAndStopsWithFirstPageOnlyOrContinuesOnTheNextSlotsAndPage) {
  settings.nutrition = true;
  const RecordingSurface& cut = Print({MakeRecipe(TXT("Long"), 2, ManyWords(400))});
  const Drawn* more = cut.Find(L"(more)");
  ASSERT_NE(nullptr, more);
  EXPECT_EQ(PrintSurface::Align::Right, more->align);
  EXPECT_LT(more->y, 375);
  EXPECT_EQ(L"(more)", cut.drawn.back().text);  // no continuation follows
  settings.nutrition = false;
  settings.firstOnly = false;
  // As many words as fill three cards and part of a fourth with the machine's font, whatever its
  // widths: the slots and pages they take are the layout's, not the font's.
  const RecordingSurface* printed = nullptr;
  for (int words = 100; words <= 3000 && !printed; words += 25) {
    const RecordingSurface& surface =
        Print({MakeRecipe(TXT("Long"), 2, ManyWords(words)), MakeRecipe(TXT("Next"), 1)});
    if (surface.Find(L"Long (4)") && !surface.Find(L"Long (5)")) printed = &surface;
  }
  ASSERT_NE(nullptr, printed);
  const RecordingSurface& surface = *printed;
  const Drawn* second = surface.Find(L"Long (2)");
  const Drawn* third = surface.Find(L"Long (3)");
  const Drawn* fourth = surface.Find(L"Long (4)");
  ASSERT_TRUE(second && third && fourth);
  // The second card's top and left, the third's top, the fourth's top and page, the next recipe's top.
  EXPECT_EQ(
      (std::vector<int>{400, 0, 700, 100, 2, 400}),
      (std::vector<int>{second->y, second->x, third->y, fourth->y, fourth->page, surface.Find(L"Next")->y}));
  const Drawn* firstWordAfter = nullptr;
  for (const Drawn& item : surface.drawn)
    if (item.y > second->y && item.y < 700 && item.x == item.right && !firstWordAfter) firstWordAfter = &item;
  ASSERT_NE(nullptr, firstWordAfter);
  EXPECT_EQ(400 + 2 * surface.LineHeight(), firstWordAfter->y);
}

TEST_F(LayoutTest, FullPageBreakContinuesHalfAnInchFromTheTopAndAFailedPageEndStopsTheJob) {
  settings.details = true;
  const RecordingSurface& surface = Print({MakeRecipe(TXT("Long"), 2, ManyWords(1500))});
  const Drawn* second = surface.Find(L"Long (2)");
  ASSERT_NE(nullptr, second);
  EXPECT_EQ(std::make_pair(2, kDpi / 2), std::make_pair(second->page, second->y));
  EXPECT_EQ(nullptr, surface.Find(L"(more)"));
  EXPECT_LE(3, surface.pages);
  EXPECT_EQ(surface.pages, surface.endedPages);
  // A failed page end stops the job.
  const RecordingSurface& failed = Print({MakeRecipe(TXT("R1"), 1), MakeRecipe(TXT("R2"), 1)}, 1);
  EXPECT_FALSE(result);
  EXPECT_EQ(nullptr, failed.Find(L"R2"));
}

TEST_F(LayoutTest, FullPagePictureIsCentredBelowTheTextAndPushesTheNutritionDownUnlessMissing) {
  settings.details = true;
  const test_support::ScratchFolder folder;
  imagesFolder = folder.Path();
  print_test::WriteBitmapFile(folder / L"print-test.bmp", 120, 80);
  Recipe recipe = MakeRecipe(TXT("A"), 1, TXT("Stir."));
  recipe.picture = TXT("print-test.bmp");
  const RecordingSurface& surface = Print({recipe});
  const Drawn* picture = surface.Find(L"<picture>");
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ((800 - 120) / 2, picture->x);
  EXPECT_EQ(surface.Find(L"Stir.")->y + surface.LineHeight(), picture->y);
  EXPECT_EQ(picture->y + 80 + 2 * surface.LineHeight(),
            surface.Find(L"NUTRITION INFORMATION (per serving)")->y);

  recipe.picture = TXT("missing.bmp");  // leaves only its line
  const RecordingSurface& missing = Print({recipe});
  EXPECT_EQ(missing.Find(L"Stir.")->y + 3 * missing.LineHeight(),
            missing.Find(L"NUTRITION INFORMATION (per serving)")->y);
}

TEST_F(LayoutTest, NutritionBlockOnCardsOnlyWhenAskedAndInFullOnFullPages) {
  settings.nutrition = false;
  const RecordingSurface& without = Print({MakeRecipe(TXT("A"), 1, TXT("Stir."))});
  EXPECT_EQ(L"Stir.", without.drawn.back().text);  // nothing follows the instructions
  settings.nutrition = true;
  const RecordingSurface& with = Print({MakeRecipe(TXT("A"), 1, TXT("Stir."))});
  const Drawn* heading = with.Find(L"NUTRITION INFORMATION (per serving)");
  ASSERT_NE(nullptr, heading);
  EXPECT_EQ(with.Find(L"Stir.")->y + 2 * with.LineHeight(), heading->y);
  const Drawn& block = with.drawn.back();
  EXPECT_EQ(heading->y + with.LineHeight(), block.y);
  EXPECT_EQ(0u, block.text.find(L"Calories - "));
  EXPECT_NE(std::wstring::npos, block.text.find(L"  " + Name(4)));
  EXPECT_EQ(std::wstring::npos, block.text.find(Name(5)));
  // The full block prints six lines on full pages even without the card option.
  settings.details = true;
  settings.nutrition = false;
  settings.nutritionFull = true;
  const std::wstring text = Print({MakeRecipe(TXT("A"), 1)}).drawn.back().text;
  size_t lines = 1;
  for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2)) ++lines;
  EXPECT_EQ(6u, lines);
  EXPECT_NE(std::wstring::npos, text.find(L"\r\n" + Name(5)));
  EXPECT_NE(std::wstring::npos, text.find(L"\r\n" + Name(19)));
  EXPECT_NE(std::wstring::npos, text.find(L"Selenium (mcg) - "));
}

}  // namespace
