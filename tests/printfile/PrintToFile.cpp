// Prints the sample recipes as index cards (or full pages with "full") on Wine's PostScript driver
// into a file, through the program's print document:
//   print_to_file.exe out.ps [full]
// tools/recipe-card-png.sh turns the first page into the documentation's PNG.
#include <windows.h>

#include <cstdio>
#include <string>

#include "FilePrinter.h"
#include "SampleRecipes.h"
#include "printing/PrintRecipes.h"
#include "toolkit/ERApp.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || !FilePrinter::Available()) return 2;
  wchar_t full[MAX_PATH];
  GetFullPathNameW(argv[1], MAX_PATH, full, nullptr);
  std::string error;
  if (!FilePrinter().Install(full, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  DAVavador::ERApp app(GetModuleHandleW(nullptr));
  const std::vector<Recipe> recipes = SampleRecipes();
  CategoryList categories;
  PrintSource source;
  for (const Recipe& recipe : recipes) source.selected.push_back(&recipe);
  source.all = source.selected;
  source.categories = &categories;
  PrintSettings settings;
  settings.details = argc > 2 && std::wstring(argv[2]) == L"full";
  const HDC dc = CreateDCW(L"WINSPOOL", FilePrinter::kName, nullptr, nullptr);
  if (!dc) return 1;
  const bool printed = PrintDocument(dc, PrintDevice::Of(dc), app, source.selected, settings, source);
  DeleteDC(dc);
  FilePrinter::Remove();
  return printed ? 0 : 1;
}
