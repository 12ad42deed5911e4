#include "views/Charts/NutritionCharts.h"

#include <optional>

#include "printing/ShoppingListLayout.h"
#include "resources/resource.h"
#include "storage/UserPrompts.h"
#include "toolkit/ScopedGdi.h"

using namespace nutrition_chart;

namespace {

constexpr int kTrendControls[] = {IDC_CHART_NUTRIENT_LABEL, IDC_CHART_NUTRIENT};

HWND Create(HWND dialog, const wchar_t* className, const WString& text, DWORD style, int id) {
  const HWND control =
      CreateWindowExW(0, className, text.c_str(), WS_CHILD | style, 0, 0, 10, 10, dialog,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return control;
}

// The pages' controls above the tab control, whose page they stand on, and in the order they read,
// which is the order Tab takes and the one that takes the label's key to the combo after it.
void StackInReadingOrder(HWND dialog) {
  HWND above = HWND_TOP;
  for (const int id : {IDC_CHART_NUTRIENT_LABEL, IDC_CHART_NUTRIENT, IDC_CHART_SAVE, IDC_CHART_PRINT}) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) continue;
    SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control;
  }
}

void Place(HWND dialog, int id, int x, int y, int width, int height) {
  MoveWindow(GetDlgItem(dialog, id), x, y, width, height, TRUE);
}

// The face and character height of the dialog's font, which the charts' text never goes below.
// The face is the one the font came to be drawn with, not a substitute's name such as
// "MS Shell Dlg", which larger and bold sizes may map elsewhere.
void UseDialogFont(HWND dialog, ChartTexts& texts) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  if (!font) return;
  const DAVavador::ScopedDC dc = DAVavador::ScopedDC::Compatible(nullptr);
  const DAVavador::ScopedSelection selected(dc.Get(), font);
  TEXTMETRICW metrics{};
  wchar_t face[LF_FACESIZE] = {};
  if (!GetTextMetricsW(dc.Get(), &metrics) || !GetTextFaceW(dc.Get(), LF_FACESIZE, face)) return;
  texts.fontFace = face;
  texts.smallestTextHeight = metrics.tmHeight - metrics.tmInternalLeading;
}

ChartColours ColoursFor(bool onScreen) {
  return onScreen ? ScreenColours() : ChartColours();
}

}  // namespace

NutritionCharts::NutritionCharts(const DAVavador::ERApp& app, const Food& record, int32_t days, TrendOf trend)
    : app_(app), bars_(AllowanceBars(record, days)), trend_(std::move(trend)) {
  for (uint32_t n = 0; n < Nutrient::kCount; ++n)
    texts_.nutrientNames.push_back(app.String(IDS_COLUMN_FIRST + n));
  // The group names are those of the ingredient editor's tabs after General.
  for (UINT g = 0; g < 3; ++g) texts_.groupNames.push_back(app.String(IDS_INGREDIENT_TAB_FIRST + 1 + g));
  texts_.noMeals = app.String(IDS_CHART_NO_MEALS);
  texts_.averagePerDay = app.String(IDS_CHART_AVERAGE);
}

void NutritionCharts::Create(HWND dialog) {
  dialog_ = dialog;
  UseDialogFont(dialog, texts_);
  allowance_.Create(dialog, IDC_CHART_ALLOWANCE);
  allowance_.Show(
      [this](HDC dc, const RECT& area, bool onScreen) {
        DrawAllowanceChart(dc, area, bars_, texts_, ColoursFor(onScreen));
      },
      [this](const RECT& area) {
        const AllowanceLayout layout = LayoutAllowanceChart(area, bars_);
        std::vector<std::pair<RECT, WString>> parts;
        for (size_t i = 0; i < bars_.size(); ++i)
          parts.emplace_back(layout.lines[i], AllowanceBarText(bars_[i], texts_));
        return parts;
      });
  ::Create(dialog, L"BUTTON", app_.String(IDS_CHART_SAVE), BS_PUSHBUTTON | WS_TABSTOP, IDC_CHART_SAVE);
  ::Create(dialog, L"BUTTON", app_.String(IDS_CHART_PRINT), BS_PUSHBUTTON | WS_TABSTOP, IDC_CHART_PRINT);
  if (trend_) CreateTrend();
  StackInReadingOrder(dialog);
}

void NutritionCharts::CreateTrend() {
  trendChart_.Create(dialog_, IDC_CHART_TREND);
  ::Create(dialog_, L"STATIC", app_.String(IDS_CHART_NUTRIENT), SS_LEFT, IDC_CHART_NUTRIENT_LABEL);
  const HWND combo =
      ::Create(dialog_, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_CHART_NUTRIENT);
  for (const WString& name : texts_.nutrientNames)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(combo, CB_SETCURSEL, Nutrient::kCalories, 0);
  ShowTrend();
}

void NutritionCharts::ShowTrend() {
  const auto nutrient =
      static_cast<uint32_t>(SendDlgItemMessageW(dialog_, IDC_CHART_NUTRIENT, CB_GETCURSEL, 0, 0));
  auto trend = std::make_shared<NutrientTrend>(trend_(nutrient < Nutrient::kCount ? nutrient : 0));
  trendChart_.Show(
      [this, trend](HDC dc, const RECT& area, bool onScreen) {
        DrawTrendChart(dc, area, *trend, texts_, ColoursFor(onScreen));
      },
      [this, trend](const RECT& area) {
        std::vector<std::pair<RECT, WString>> parts;
        const TrendLayout layout = LayoutTrendChart(area, *trend);
        parts.emplace_back(RECT{area.left, area.top, area.right, layout.plot.top},
                           TrendAverageText(*trend, texts_));
        for (size_t i = 0; i < trend->days.size(); ++i)
          parts.emplace_back(layout.days[i], DayBarText(trend->days[i]));
        return parts;
      });
}

void NutritionCharts::Show(Page page, bool show) {
  if (show) shown_ = page;
  const int state = show ? SW_SHOW : SW_HIDE;
  ShowWindow(Chart(page).Window(), state);
  for (const int id : {IDC_CHART_SAVE, IDC_CHART_PRINT}) ShowWindow(GetDlgItem(dialog_, id), state);
  if (page == kTrendPage)
    for (const int id : kTrendControls) ShowWindow(GetDlgItem(dialog_, id), state);
  if (show) Layout(area_);
}

void NutritionCharts::Layout(const RECT& area) {
  area_ = area;
  RECT units{0, 0, 4, 14};  // a button's height and a margin in dialog units
  MapDialogRect(dialog_, &units);
  const int margin = units.right, row = units.bottom;
  const int width = area.right - area.left;
  int top = area.top;
  if (shown_ == kTrendPage) {
    Place(dialog_, IDC_CHART_NUTRIENT_LABEL, area.left, top + row / 5, width / 4 - margin, row);
    Place(dialog_, IDC_CHART_NUTRIENT, area.left + width / 4, top, width / 2, row * 12);
    top += row + margin;
  }
  const int buttonsTop = area.bottom - row;
  const RECT chart{area.left, top, area.right, buttonsTop - margin};
  (shown_ == kChartPage ? allowance_ : trendChart_).Move(chart);
  const int buttonWidth = width / 4;
  Place(dialog_, IDC_CHART_SAVE, area.left, buttonsTop, buttonWidth, row);
  Place(dialog_, IDC_CHART_PRINT, area.left + buttonWidth + margin, buttonsTop, buttonWidth, row);
}

bool NutritionCharts::OnCommand(int id, int code) {
  switch (id) {
    case IDC_CHART_SAVE:
      if (code == BN_CLICKED) SaveAsPng();
      return true;
    case IDC_CHART_PRINT:
      if (code == BN_CLICKED) Print();
      return true;
    case IDC_CHART_NUTRIENT:
      if (code == CBN_SELCHANGE) ShowTrend();
      return true;
    default:
      return false;
  }
}

void NutritionCharts::SaveAsPng() {
  const std::optional<WString> path =
      ChooseSaveFile(dialog_, app_.String(IDS_CHART_SAVE_TITLE), app_.String(IDS_CHART_PNG_FILES) + L"|*.png",
                     L"png", WString());
  if (path && !Chart(shown_).SaveAsPng(*path))
    app_.ShowMessage(app_.String(IDS_CHART_NOT_SAVED) + *path, MB_OK | MB_ICONWARNING);
}

void NutritionCharts::Print() {
  const DAVavador::ScopedDC printer = DAVavador::ScopedDC::Adopt(ChooseListPrinter(dialog_));
  if (!printer) return;
  Chart(shown_).Print(printer.Get(), app_.ProductName());
}
