#include "views/Charts/NutritionChart.h"

#include <algorithm>
#include <cmath>

#include "toolkit/ScopedGdi.h"

namespace nutrition_chart {

namespace {

// The first nutrient of each group of the editor's tabs: Nutrition, Vitamins, Minerals.
constexpr uint32_t kGroupStart[] = {0, 10, 21};

// A font of the given character height, at least the texts' smallest, selected into the DC while
// it lives.
class ScopedFont {
 public:
  ScopedFont(HDC dc, const ChartTexts& texts, int height, bool bold = false)
      : font_(CreateFontW(-std::max({height, texts.smallestTextHeight, 1}), 0, 0, 0,
                          bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                          texts.fontFace.empty() ? L"Arial" : texts.fontFace.c_str())),
        selected_(dc, font_.Get()) {}

 private:
  DAVavador::ScopedGdiObject<HFONT> font_;
  DAVavador::ScopedSelection selected_;  // declared after the font: deselects it before it goes
};

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  const DAVavador::ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.Get());
}

// A bar in its band's colour with the band's pattern over it in `cue`.
void FillBar(HDC dc, const RECT& rect, ChartBand band, COLORREF cue) {
  Fill(dc, rect, BandColour(band));
  if (band == ChartBand::kEnough) return;
  const DAVavador::ScopedGdiObject<HBRUSH> hatch(
      CreateHatchBrush(band == ChartBand::kLow ? HS_BDIAGONAL : HS_DIAGCROSS, cue));
  const int mode = SetBkMode(dc, TRANSPARENT);
  FillRect(dc, &rect, hatch.Get());
  SetBkMode(dc, mode);
}

void Text(HDC dc, RECT rect, const WString& text, UINT format) {
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool StartsGroup(uint32_t nutrient, size_t* group) {
  for (size_t g = 0; g < std::size(kGroupStart); ++g) {
    if (kGroupStart[g] != nutrient) continue;
    *group = g;
    return true;
  }
  return false;
}

}  // namespace

COLORREF BandColour(ChartBand band) {
  switch (band) {
    case ChartBand::kLow:
      return kLowColour;
    case ChartBand::kTooMuch:
      return kTooMuchColour;
    default:
      return kEnoughColour;
  }
}

ChartColours ScreenColours() {
  return ChartColours{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_HIGHLIGHT)};
}

// ---- the allowance chart ----

AllowanceLayout LayoutAllowanceChart(const RECT& area, const std::vector<AllowanceBar>& bars) {
  AllowanceLayout layout;
  const int width = area.right - area.left;
  const int lines = static_cast<int>(bars.size() + std::size(kGroupStart));
  layout.lineHeight = std::max(1, static_cast<int>((area.bottom - area.top) / std::max(lines, 1)));
  layout.barLeft = area.left + width * 36 / 100;
  layout.barWidth = width * 40 / 100;
  double most = 0;
  for (const AllowanceBar& bar : bars) most = std::max(most, bar.percent);
  layout.scalePercent = std::clamp(std::ceil(most / 50) * 50, 150.0, 300.0);
  layout.hundredX =
      layout.barLeft + static_cast<int>(std::lround(layout.barWidth * 100 / layout.scalePercent));
  int top = area.top;
  for (const AllowanceBar& bar : bars) {
    size_t group;
    if (StartsGroup(bar.nutrient, &group)) top += layout.lineHeight;
    const int inset = layout.lineHeight / 5;
    layout.lines.push_back(RECT{area.left, top, area.right, top + layout.lineHeight});
    layout.bars.push_back(
        RECT{layout.barLeft, top + inset, layout.barLeft + layout.barWidth, top + layout.lineHeight - inset});
    top += layout.lineHeight;
  }
  return layout;
}

int BarLength(const AllowanceLayout& layout, double percent) {
  const double shown = std::clamp(percent, 0.0, layout.scalePercent);
  return static_cast<int>(std::lround(layout.barWidth * shown / layout.scalePercent));
}

WString AllowanceBarText(const AllowanceBar& bar, const ChartTexts& texts) {
  WString text = texts.nutrientNames[bar.nutrient] + L": " + ChartNumber(bar.amount);
  if (bar.allowance > 0) text += L", " + ChartNumber(bar.percent) + L"% of " + ChartNumber(bar.allowance);
  return text;
}

void DrawAllowanceChart(HDC dc, const RECT& area, const std::vector<AllowanceBar>& bars,
                        const ChartTexts& texts, const ChartColours& colours) {
  Fill(dc, area, colours.background);
  const AllowanceLayout layout = LayoutAllowanceChart(area, bars);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours.text);
  const int gap = std::max(2, layout.lineHeight / 3);
  for (size_t i = 0; i < bars.size(); ++i) {
    const AllowanceBar& bar = bars[i];
    const RECT& line = layout.lines[i];
    size_t group;
    if (StartsGroup(bar.nutrient, &group)) {
      ScopedFont bold(dc, texts, layout.lineHeight * 7 / 10, true);
      Text(dc, RECT{area.left, line.top - layout.lineHeight, area.right, line.top}, texts.groupNames[group],
           DT_LEFT);
    }
    ScopedFont font(dc, texts, layout.lineHeight * 6 / 10);
    Text(dc, RECT{area.left + gap, line.top, layout.barLeft - gap, line.bottom},
         texts.nutrientNames[bar.nutrient], DT_LEFT);
    const RECT& track = layout.bars[i];
    FillBar(dc, RECT{track.left, track.top, track.left + BarLength(layout, bar.percent), track.bottom},
            bar.band, colours.text);
    // The amount and the percentage each right-aligned in half of what the track leaves.
    const int amountRight = (track.right + area.right) / 2;
    Text(dc, RECT{track.right + gap, line.top, amountRight, line.bottom}, ChartNumber(bar.amount), DT_RIGHT);
    if (bar.allowance > 0)
      Text(dc, RECT{amountRight + gap, line.top, area.right - gap, line.bottom},
           ChartNumber(bar.percent) + L"%", DT_RIGHT);
  }
  if (!layout.lines.empty()) {
    const int width = std::max(1, layout.lineHeight / 12);
    Fill(dc,
         RECT{layout.hundredX - width / 2, layout.lines.front().top, layout.hundredX - width / 2 + width,
              layout.lines.back().bottom},
         colours.allowance);
  }
}

// ---- the trend chart ----

TrendLayout LayoutTrendChart(const RECT& area, const NutrientTrend& trend) {
  TrendLayout layout;
  const int height = area.bottom - area.top;
  const int width = area.right - area.left;
  const int line = std::max(1, height / 16);
  layout.plot =
      RECT{area.left + width / 10, area.top + 2 * line, area.right - width / 40, area.bottom - 2 * line};
  double most = trend.allowance;
  for (const DayBar& day : trend.days) most = std::max(most, day.amount);
  layout.scale = most > 0 ? most * 1.1 : 1;
  const int days = static_cast<int>(std::max<size_t>(trend.days.size(), 1));
  layout.dayWidth = std::max(1, static_cast<int>((layout.plot.right - layout.plot.left) / days));
  layout.allowanceY = layout.plot.bottom - ColumnHeight(layout, trend.allowance);
  for (int i = 0; i < static_cast<int>(trend.days.size()); ++i) {
    const int left = layout.plot.left + i * layout.dayWidth;
    const int gap = layout.dayWidth / 5;
    layout.days.push_back(
        RECT{left + gap, layout.plot.top, left + layout.dayWidth - gap, layout.plot.bottom});
  }
  return layout;
}

int ColumnHeight(const TrendLayout& layout, double amount) {
  const double shown = std::clamp(amount / layout.scale, 0.0, 1.0);
  return static_cast<int>(std::lround((layout.plot.bottom - layout.plot.top) * shown));
}

WString DayBarText(const DayBar& bar) {
  CalendarDate day = bar.day;
  day.dateFormat = CalendarDate::kMonthDayYear;
  return bar.hasMeals ? day.DateText() + L": " + ChartNumber(bar.amount) : day.DateText();
}

WString TrendAverageText(const NutrientTrend& trend, const ChartTexts& texts) {
  WString text = texts.averagePerDay + ChartNumber(trend.average);
  if (trend.allowance > 0)
    text += L" (" + ChartNumber(trend.average * 100 / trend.allowance) + L"% of " +
            ChartNumber(trend.allowance) + L")";
  return text;
}

void DrawTrendChart(HDC dc, const RECT& area, const NutrientTrend& trend, const ChartTexts& texts,
                    const ChartColours& colours) {
  Fill(dc, area, colours.background);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colours.text);
  const int line = std::max(1, static_cast<int>((area.bottom - area.top) / 16));
  ScopedFont font(dc, texts, line * 7 / 10);
  const bool anyMeals =
      std::any_of(trend.days.begin(), trend.days.end(), [](const DayBar& day) { return day.hasMeals; });
  if (!anyMeals) {
    Text(dc, area, texts.noMeals, DT_CENTER);
    return;
  }
  const TrendLayout layout = LayoutTrendChart(area, trend);
  Text(dc, RECT{area.left, area.top, area.right, area.top + 2 * line}, TrendAverageText(trend, texts),
       DT_LEFT);
  Fill(dc, RECT{layout.plot.left - 1, layout.plot.top, layout.plot.left, layout.plot.bottom + 1},
       colours.text);
  Fill(dc, RECT{layout.plot.left - 1, layout.plot.bottom, layout.plot.right, layout.plot.bottom + 1},
       colours.text);
  Text(dc, RECT{area.left, layout.plot.top - line, layout.plot.left - line / 3, layout.plot.top + line},
       ChartNumber(layout.scale), DT_RIGHT);
  // A date label wants about three lines' width: on a narrow plot only every so many days get one.
  const size_t plotWidth = static_cast<size_t>(std::max<LONG>(1, layout.plot.right - layout.plot.left));
  const size_t labelEvery = trend.days.size() * 3 * static_cast<size_t>(line) / plotWidth + 1;
  for (size_t i = 0; i < trend.days.size(); ++i) {
    const DayBar& day = trend.days[i];
    const RECT& column = layout.days[i];
    if (day.hasMeals) {
      const double percent = trend.allowance > 0 ? day.amount * 100 / trend.allowance : 100;
      FillBar(
          dc,
          RECT{column.left, column.bottom - ColumnHeight(layout, day.amount), column.right, column.bottom},
          BandOf(trend.nutrient, percent), colours.text);
    }
    if (i % labelEvery == 0) {
      const WString label = std::to_wstring(day.day.month) + L"/" + std::to_wstring(day.day.day);
      Text(dc,
           RECT{column.left - line * 2, layout.plot.bottom, column.right + line * 2,
                layout.plot.bottom + line * 3 / 2},
           label, DT_CENTER);
    }
  }
  if (trend.allowance > 0) {
    const int width = std::max(1, line / 12);
    Fill(dc,
         RECT{layout.plot.left, layout.allowanceY - width / 2, layout.plot.right,
              layout.allowanceY - width / 2 + width},
         colours.allowance);
  }
}

}  // namespace nutrition_chart
