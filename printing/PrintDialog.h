#pragma once
// The "Print Recipes" dialog (3100): which recipes, full pages or index cards, what is printed,
// the font and the full-page margin.
#include <windows.h>

#include "food/CategoryList.h"
#include "printing/RecipeLayout.h"
#include "toolkit/ERDialog.h"

// The system's printer dialog over `owner`, centred on it as the program's own dialogs are; the
// chosen printer's device context (the caller's to delete), null when cancelled. `offerSelection`:
// whether "Selection" is among the ranges to print.
HDC ChoosePrinter(HWND owner, bool offerSelection);

class PrintDialog : public DAVavador::ERDialog {
 public:
  // category: the category shown in the Recipes view on the way in (0 for "--All--"), the chosen
  // one after "Print". Without `anySelected` "Selected" is not offered and "All" is chosen.
  PrintDialog(const DAVavador::ERApp& app, PrintSettings& settings, const CategoryList& categories,
              uint32_t& category, bool anySelected = true);
  // True after "Print", which takes over every setting; Cancel changes nothing.
  bool Run(HWND owner);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnOK() override;
  void FillFonts();
  void FillMargins();
  void FillCategories();
  void EnableControls();

  const DAVavador::ERApp& app_;
  PrintSettings& settings_;
  const CategoryList& categories_;
  bool anySelected_;
  uint32_t& category_;
};
