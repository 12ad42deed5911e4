// The nutrition charts drawn into bitmaps: bar lengths against their percentages within a pixel,
// the 100% line, the colours and patterns of the bands, the colours the chart is given, one column
// a day with empty days left empty, and the text of an empty period.
#include <windows.h>
#include <gtest/gtest.h>

#include "ChartPixels.h"
#include "views/Charts/NutritionChart.h"

using chart_test::Canvas;
using namespace nutrition_chart;

namespace {

ChartTexts Texts() {
  ChartTexts texts;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n)
    texts.nutrientNames.push_back(L"Nutrient " + std::to_wstring(n));
  texts.groupNames = {L"Nutrition", L"Vitamins", L"Minerals"};
  texts.noMeals = L"No meals in this period";
  texts.averagePerDay = L"Average per day: ";
  return texts;
}

constexpr COLORREF kCue = RGB(0, 0, 0);  // a band's pattern, in the text colour

// The length of the run of `colour` and its pattern from `x` along row `y`, stepping over the 100%
// line where the bar goes on behind it.
int RunLength(const Canvas& canvas, int x, int y, int end, COLORREF colour) {
  const auto inBar = [&](int at) { return canvas.At(at, y) == colour || canvas.At(at, y) == kCue; };
  int length = 0;
  while (x + length < end) {
    if (inBar(x + length)) {
      ++length;
      continue;
    }
    int line = 0;
    while (x + length + line < end && canvas.At(x + length + line, y) == kAllowanceColour) ++line;
    if (line == 0 || x + length + line >= end || !inBar(x + length + line)) break;
    length += line;
  }
  return length;
}

TEST(ChartRender, AllowanceBarsAreAsLongAsTheirPercentagesInTheirBandsColour) {
  for (const SIZE size : {SIZE{640, 720}, SIZE{1600, 2000}}) {  // a window and a printed page
    Canvas canvas(size.cx, size.cy);
    std::vector<AllowanceBar> bars;
    for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
      const double percent = (n * 37 % 29) * 11.5;  // 0 .. 322% in a shuffled order, past the longest track
      bars.push_back(AllowanceBar{n, percent, 100, percent, BandOf(n, percent)});
    }
    DrawAllowanceChart(canvas.Dc(), canvas.Area(), bars, Texts());
    const AllowanceLayout layout = LayoutAllowanceChart(canvas.Area(), bars);
    EXPECT_EQ(layout.scalePercent, 300);
    EXPECT_NEAR(layout.hundredX, layout.barLeft + layout.barWidth / 3.0, 1);
    for (const AllowanceBar& bar : bars) {
      const RECT& track = layout.bars[bar.nutrient];
      const int y = (track.top + track.bottom) / 2;
      const double expected = layout.barWidth * std::min(bar.percent, 300.0) / 300;
      const COLORREF colour = BandColour(bar.band);
      EXPECT_NEAR(RunLength(canvas, layout.barLeft, y, track.right, colour), expected, 1)
          << "bar " << bar.nutrient << " at " << size.cx;
      EXPECT_EQ(canvas.At(layout.hundredX, y), kAllowanceColour) << bar.nutrient;
    }
    // The bands: a nutrient to limit over its allowance warns, others never do.
    const auto colourOf = [&](uint32_t nutrient) {
      const RECT& track = layout.bars[nutrient];
      for (int x = layout.barLeft;; ++x)
        if (canvas.At(x, (track.top + track.bottom) / 2) != kCue)
          return canvas.At(x, (track.top + track.bottom) / 2);
    };
    // Saturated fat at 184%, protein at 161%, sugar at 69%, sodium at 34.5%.
    EXPECT_EQ((std::vector{colourOf(Nutrient::kSaturatedFat), colourOf(Nutrient::kProtein),
                           colourOf(Nutrient::kSugar), colourOf(Nutrient::kSodium)}),
              (std::vector{kTooMuchColour, kEnoughColour, kEnoughColour, kLowColour}));
  }
}

// High Contrast: the ground, the names and the 100% line in the colours given. A low bar is hatched
// one way and one over a limit crossed in the text colour; a bar of enough is plain.
TEST(ChartRender, BandsAreToldApartByPatternAndTheChartTakesTheColoursGiven) {
  Canvas canvas(640, 720);
  const ChartColours contrast{RGB(0, 0, 0), RGB(255, 255, 128), RGB(0, 255, 255)};
  std::vector<AllowanceBar> bars;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
    const double percent = n == Nutrient::kCalories ? 30 : n == Nutrient::kTotalFat ? 140 : 80;
    bars.push_back(AllowanceBar{n, percent, 100, percent, BandOf(n, percent)});
  }
  DrawAllowanceChart(canvas.Dc(), canvas.Area(), bars, Texts(), contrast);
  const AllowanceLayout layout = LayoutAllowanceChart(canvas.Area(), bars);
  const RECT& line = layout.lines[Nutrient::kProtein];
  EXPECT_EQ(std::tuple(canvas.At(1, line.top), canvas.At(layout.hundredX, (line.top + line.bottom) / 2)),
            std::tuple(contrast.background, contrast.allowance));
  // Whether the bar holds pattern pixels, and whether any of them runs down to the right (a cross).
  const auto pattern = [&](uint32_t nutrient) {
    const RECT& track = layout.bars[nutrient];
    const RECT bar{track.left, track.top, track.left + BarLength(layout, bars[nutrient].percent),
                   track.bottom};
    bool any = false, crossed = false;
    for (int y = bar.top; y + 1 < bar.bottom; ++y)
      for (int x = bar.left; x + 1 < bar.right && x + 1 < layout.hundredX - 2; ++x) {
        if (canvas.At(x, y) != contrast.text) continue;
        any = true;
        crossed = crossed || canvas.At(x + 1, y + 1) == contrast.text;
      }
    return std::pair(any, crossed);
  };
  EXPECT_EQ(
      (std::vector{pattern(Nutrient::kCalories), pattern(Nutrient::kTotalFat), pattern(Nutrient::kProtein)}),
      (std::vector{std::pair(true, false), std::pair(true, true), std::pair(false, false)}));
}

TEST(ChartRender, TrendHasAColumnForEachDayWithMealsAndTheAllowanceAsALine) {
  Canvas canvas(700, 400);
  NutrientTrend trend;
  trend.allowance = 2000;
  const double amounts[] = {1500, 0, 2600, 900};
  for (int i = 0; i < 4; ++i) trend.days.push_back(DayBar{CalendarDate(2010, 3, 7 + i), amounts[i], i != 1});
  trend.average = 5000.0 / 4;
  DrawTrendChart(canvas.Dc(), canvas.Area(), trend, Texts());
  const TrendLayout layout = LayoutTrendChart(canvas.Area(), trend);
  EXPECT_DOUBLE_EQ(layout.scale, 2600 * 1.1);
  const int plotHeight = layout.plot.bottom - layout.plot.top;
  for (int i = 0; i < 4; ++i) {
    const RECT& column = layout.days[i];
    const int x = (column.left + column.right) / 2;
    int height = 0;
    while (height < plotHeight && canvas.At(x, layout.plot.bottom - 1 - height) != kBackgroundColour)
      ++height;
    if (i == 1) {
      EXPECT_LE(height, 1) << "a day without meals stays empty";
      continue;
    }
    EXPECT_NEAR(height, plotHeight * amounts[i] / layout.scale, 2) << "day " << i;
  }
  EXPECT_NEAR(layout.allowanceY, layout.plot.bottom - plotHeight * 2000 / layout.scale, 1);
  const int gapX = (layout.days[1].left + layout.days[1].right) / 2;
  EXPECT_EQ(canvas.At(gapX, layout.allowanceY), kAllowanceColour);
  EXPECT_EQ(
      std::tuple(TrendAverageText(trend, Texts()), DayBarText(trend.days[0]), DayBarText(trend.days[1])),
      std::tuple(L"Average per day: 1250 (62.5% of 2000)", L"03-07-2010: 1500", L"03-08-2010"));
}

TEST(ChartRender, AnEmptyPeriodSaysSoAndDrawsNoColumns) {
  Canvas canvas(500, 300);
  NutrientTrend trend;
  trend.allowance = 2000;
  for (int i = 0; i < 3; ++i) trend.days.push_back(DayBar{CalendarDate(2010, 3, 7 + i)});
  DrawTrendChart(canvas.Dc(), canvas.Area(), trend, Texts());
  for (const COLORREF band : {kLowColour, kEnoughColour, kTooMuchColour}) EXPECT_FALSE(canvas.Has(band));
  bool textInTheMiddle = false;
  for (int x = 100; x < 400 && !textInTheMiddle; ++x)
    for (int y = 130; y < 170 && !textInTheMiddle; ++y)
      textInTheMiddle = canvas.At(x, y) != kBackgroundColour;
  EXPECT_TRUE(textInTheMiddle);
}

}  // namespace
