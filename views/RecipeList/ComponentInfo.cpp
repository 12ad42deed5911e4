#include "views/RecipeList/ComponentInfo.h"

#include <commctrl.h>

#include <cstdio>

#include "printing/RecipeLayout.h"
#include "resources/resource.h"
#include "toolkit/ERListView.h"

namespace {

struct ComponentDialog {
  const DAVavador::ERApp& app;
  const Recipe& recipe;
  DAVavador::ERListView list;
  std::vector<std::vector<WString>> rows;  // the cells of each row

  void Init(HWND dialog) {
    SetWindowTextW(dialog, recipe.name.c_str());
    list.Attach(GetDlgItem(dialog, IDC_COMPONENT_LIST));
    RECT client;
    GetClientRect(dialog, &client);
    // The list fills the window, leaving room for the OK button below it.
    MoveWindow(list.Window(), 5, 30, client.right - 10, client.bottom - 80, FALSE);
    list.InsertColumn(0, app.String(IDS_COLUMN_FIRST + kColumnName), 150);
    for (uint32_t n = 0; n < Nutrient::kCount; ++n)
      list.InsertColumn(static_cast<int>(n + 1), app.String(IDS_COLUMN_FIRST + n), 60, LVCFMT_RIGHT);
    for (const RecipeLine& line : recipe.lines)
      if (line.ingredient) rows.push_back(ComponentRow(line));
    list.SetSources([](const void* row, int column) {
      const auto& cells = *static_cast<const std::vector<WString>*>(row);
      return static_cast<size_t>(column) < cells.size() ? cells[column] : WString();
    });
    std::vector<DAVavador::ERListView::Row> shown;
    for (const auto& cells : rows) shown.push_back({0, &cells});
    list.SetRows(std::move(shown));
  }

  static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      reinterpret_cast<ComponentDialog*>(lp)->Init(dialog);
      return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
      EndDialog(dialog, LOWORD(wp));
      return TRUE;
    }
    return FALSE;
  }
};

}  // namespace

std::vector<WString> ComponentRow(const RecipeLine& line) {
  RecipeLine bare = line;
  bare.displayName.clear();
  std::vector<WString> cells{PrintedLineText(bare)};
  const Ingredient& food = *line.ingredient;
  const double servings =
      ServingsOf(food, static_cast<ServingUnit>(line.unit), line.amount, line.displayName);
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) {
    wchar_t text[64];
    swprintf(text, 64, L"%.2f", food.nutrients[n] * servings);
    cells.emplace_back(text);
  }
  return cells;
}

void ShowRecipeComponents(const DAVavador::ERApp& app, HWND owner, const Recipe& recipe) {
  ComponentDialog dialog{app, recipe, {}};
  app.RunDialog(IDD_COMPONENT_INFO, &ComponentDialog::Proc, reinterpret_cast<LPARAM>(&dialog), owner);
}
