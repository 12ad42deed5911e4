#include "printing/PrintRecipes.h"

#include <commdlg.h>

#include "printing/GdiPrintSurface.h"
#include "printing/PrintDialog.h"
#include "toolkit/ERApp.h"
#include "toolkit/ScopedGdi.h"

std::vector<const Recipe*> RecipesToPrint(const PrintSource& source, bool selected, uint32_t category) {
  if (selected) return source.selected;
  std::vector<const Recipe*> recipes;
  for (const Recipe* recipe : source.all)
    if (category == 0 || recipe->catId == category) recipes.push_back(recipe);
  return recipes;
}

bool PrintDocument(HDC dc, const PrintDevice& device, const DAVavador::ERApp& app,
                   const std::vector<const Recipe*>& recipes, const PrintSettings& settings,
                   const PrintSource& source) {
  const WString name = app.ProductName();
  DOCINFOW document{};
  document.cbSize = sizeof(document);
  document.lpszDocName = name.c_str();
  if (StartDocW(dc, &document) <= 0) return false;
  if (StartPage(dc) <= 0) {
    EndDoc(dc);
    return false;
  }
  const PrintTexts texts = LoadPrintTexts(app);
  bool printed = false;
  {
    GdiPrintSurface surface(dc, device, settings.font, settings.details);
    RecipePrinter printer(surface, settings, texts, source.format, source.imagesFolder);
    printed = printer.PrintAll(recipes);
  }
  EndDoc(dc);
  return printed;
}

bool PrintRecipes(const DAVavador::ERApp& app, HWND owner, const PrintSource& source,
                  PrintSettings& settings) {
  static const CategoryList kNoCategories;
  uint32_t category = source.shownCategory;
  PrintDialog dialog(app, settings, source.categories ? *source.categories : kNoCategories, category,
                     !source.selected.empty());
  if (!dialog.Run(owner)) return false;
  const std::vector<const Recipe*> recipes = RecipesToPrint(source, settings.selected, category);
  if (recipes.empty()) return true;
  const DAVavador::ScopedDC dc = DAVavador::ScopedDC::Adopt(ChoosePrinter(owner, true));
  if (dc) PrintDocument(dc.Get(), PrintDevice::Of(dc.Get()), app, recipes, settings, source);
  return true;
}
