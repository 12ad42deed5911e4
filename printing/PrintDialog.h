#pragma once
// The "Print Recipes" dialog (3100): which recipes, full pages or index cards, what is printed,
// the font and the full-page margin.
#include <windows.h>

#include "food/CategoryList.h"
#include "printing/RecipeLayout.h"

namespace DAVavador {
class ERApp;
}

class PrintDialog {
 public:
  // category: the category shown in the Recipes view on the way in (0 for "--All--"), the chosen
  // one after "Print".
  PrintDialog(const DAVavador::ERApp& app, PrintSettings& settings, const CategoryList& categories,
              uint32_t& category);
  // True after "Print", which takes over every setting; Cancel changes nothing.
  bool Run(HWND owner);

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void Init();
  void FillFonts();
  void FillMargins();
  void FillCategories();
  void AddTips();
  void EnableControls();
  void TakeOver();
  bool Checked(int id) const;
  void Check(int id, bool on);

  const DAVavador::ERApp& app_;
  PrintSettings& settings_;
  const CategoryList& categories_;
  uint32_t& category_;
  HWND dialog_ = nullptr;
};
