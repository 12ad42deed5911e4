#pragma once
// The Print command of the Recipes tab: the print dialog, the recipes it chose, the printer dialog
// and the print job.
#include <windows.h>

#include <vector>

#include "food/CategoryList.h"
#include "printing/GdiPrintSurface.h"

namespace DAVavador {
class ERApp;
}

// What the Recipes view hands the command, read under the data lock its caller holds.
struct PrintSource {
  std::vector<const Recipe*> selected;  // the selected rows in row order
  std::vector<const Recipe*> all;       // the catalog in catalog order
  const CategoryList* categories = nullptr;
  uint32_t shownCategory = 0;  // the category the view shows, 0 for "--All--"
  WString imagesFolder;
  NutrientFormat format;
};

// The selected recipes, or those of the category (every recipe for category 0).
std::vector<const Recipe*> RecipesToPrint(const PrintSource& source, bool selected, uint32_t category);

// Prints on a device context whose document the caller has not started: the document "Mirepan",
// its pages and its end. False when the document could not be started or a page not ended.
bool PrintDocument(HDC dc, const PrintDevice& device, const DAVavador::ERApp& app,
                   const std::vector<const Recipe*>& recipes, const PrintSettings& settings,
                   const PrintSource& source);

// The whole command. settings are in/out: after "Print" in the print dialog they hold the choices
// (the caller stores them in the options when they differ), and the result is true; Cancel leaves
// them unchanged and gives false. No recipe, a cancelled printer dialog or a failed document end the
// command quietly.
bool PrintRecipes(const DAVavador::ERApp& app, HWND owner, const PrintSource& source,
                  PrintSettings& settings);
