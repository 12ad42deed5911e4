#pragma once
// The nutrition charts drawn with GDI on any device context (window, printer, bitmap): the bars of
// the 29 nutrients against the daily allowance, and a diary period's days for one nutrient. Every
// size follows the area drawn into, so the charts scale with the window and the device's DPI.
#include <windows.h>

#include <vector>

#include "food/NutrientChart.h"
#include "storage/Text.h"

namespace nutrition_chart {

constexpr COLORREF kLowColour = RGB(232, 163, 23);      // below half the allowance
constexpr COLORREF kEnoughColour = RGB(58, 145, 74);    // from half of it up
constexpr COLORREF kTooMuchColour = RGB(200, 43, 43);   // over the allowance of a nutrient to limit
constexpr COLORREF kAllowanceColour = RGB(32, 32, 32);  // the 100% line and the allowance line
constexpr COLORREF kBackgroundColour = RGB(255, 255, 255);
COLORREF BandColour(ChartBand band);

// The ground, the text and the allowance lines of a chart: on paper and in a saved picture the
// chart's own, on screen the system's window colours, so that High Contrast reads as well. A band
// is told by its pattern as well as its colour: low bars are hatched one way in the text colour,
// bars over a limit crossed, bars of enough solid.
struct ChartColours {
  COLORREF background = kBackgroundColour;
  COLORREF text = RGB(0, 0, 0);
  COLORREF allowance = kAllowanceColour;
};
ChartColours ScreenColours();

// The texts the charts show besides numbers, from the string table.
struct ChartTexts {
  std::vector<WString> nutrientNames;  // 29, in the nutrients' order, with their units
  std::vector<WString> groupNames;     // "Nutrition", "Vitamins", "Minerals"
  WString noMeals;                     // "No meals in this period"
  WString averagePerDay;               // "Average per day: "
  // The face of the text and its smallest character height in pixels: the dialog's, so that the
  // chart reads as well as the window around it. Arial, as small as the chart's lines make it,
  // without them.
  WString fontFace;
  int smallestTextHeight = 0;
};

// Where the allowance chart puts things: one line a group heading or a nutrient, the bars on a
// track from `barLeft`, `barWidth` long, for `scalePercent` percent.
struct AllowanceLayout {
  int lineHeight = 0;
  int barLeft = 0;
  int barWidth = 0;
  double scalePercent = 150;
  int hundredX = 0;         // the 100% line
  std::vector<RECT> bars;   // each nutrient's bar at full track length, in bar order
  std::vector<RECT> lines;  // each nutrient's whole line, for its tooltip
};
AllowanceLayout LayoutAllowanceChart(const RECT& area, const std::vector<AllowanceBar>& bars);
// The drawn length of a bar: the percentage on the track, at most the whole track.
int BarLength(const AllowanceLayout& layout, double percent);
void DrawAllowanceChart(HDC dc, const RECT& area, const std::vector<AllowanceBar>& bars,
                        const ChartTexts& texts, const ChartColours& colours = ChartColours());
// "Total Fat (g): 45.2, 69% of 65": the text of a bar, also its tooltip.
WString AllowanceBarText(const AllowanceBar& bar, const ChartTexts& texts);

// The trend chart: one column per day from `plot.left`, `dayWidth` apart, heights on `scale`.
struct TrendLayout {
  RECT plot{};
  int dayWidth = 0;
  double scale = 1;  // the amount at the top of the plot
  int allowanceY = 0;
  std::vector<RECT> days;  // each day's column at full height
};
TrendLayout LayoutTrendChart(const RECT& area, const NutrientTrend& trend);
int ColumnHeight(const TrendLayout& layout, double amount);
void DrawTrendChart(HDC dc, const RECT& area, const NutrientTrend& trend, const ChartTexts& texts,
                    const ChartColours& colours = ChartColours());
// "03-07-2010: 1200" for a day with meals, the date alone for one without.
WString DayBarText(const DayBar& bar);
// "Average per day: 450 (18% of 2500)".
WString TrendAverageText(const NutrientTrend& trend, const ChartTexts& texts);

}  // namespace nutrition_chart
