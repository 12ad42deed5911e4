#pragma once
// The "Chart" and "Trend" pages of a nutrition window: the allowance bars of the record shown
// (averaged over a diary period's days), and for a diary period the days of one nutrient chosen in
// a combo. Both can be saved as PNG or printed. The window owning the pages places them.
#include <windows.h>

#include <functional>

#include "food/NutrientChart.h"
#include "toolkit/ERApp.h"
#include "views/Charts/ChartWindow.h"
#include "views/Charts/NutritionChart.h"

class NutritionCharts {
 public:
  enum Page { kChartPage, kTrendPage };
  // The trend of one nutrient over the diary period; null outside the diary.
  using TrendOf = std::function<NutrientTrend(uint32_t nutrient)>;

  NutritionCharts(const DAVavador::ERApp& app, const Food& record, int32_t days, TrendOf trend);

  bool HasTrend() const { return static_cast<bool>(trend_); }
  // Creates the pages' controls, hidden, in `dialog`.
  void Create(HWND dialog);
  void Show(Page page, bool show);
  // Places the shown page's controls inside `area` of the dialog.
  void Layout(const RECT& area);
  // True when the command was one of the pages'.
  bool OnCommand(int id, int code);

  const ChartWindow& Chart(Page page) const { return page == kChartPage ? allowance_ : trendChart_; }

 private:
  void CreateTrend();
  void ShowTrend();
  void SaveAsPng();
  void Print();

  const DAVavador::ERApp& app_;
  HWND dialog_ = nullptr;
  nutrition_chart::ChartTexts texts_;
  std::vector<AllowanceBar> bars_;
  TrendOf trend_;
  ChartWindow allowance_;
  ChartWindow trendChart_;
  Page shown_ = kChartPage;
  RECT area_{};
};
