// mirepan-recipe-dump [--catalog CATALOG] FILE [PAGE-ADDRESS]: prints as JSON what the recipe
// readers take from a web page (or, when the file holds "Meal-Master", from a MealMaster file): one
// object for a page, an array for a MealMaster file. With a catalog (the program's Ingredients.xml
// or an ingredient CSV export) it also prints what the import would make of each line and the
// recipe's nutrition per serving. Exits 0 with a recipe, 1 without one, 2 when a file cannot be
// read or reading it fails (out of memory, say), with the reason on standard error.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

#include "webrecipe/CatalogFile.h"
#include "webrecipe/RecipeReport.h"
#include "webrecipe/RecipeText.h"

namespace {

std::optional<std::string> ReadBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Reads the files named and prints what the page holds; returns the exit status.
int Dump(const char* path, const char* address, const char* catalogPath) {
  CatalogFile catalog;
  if (catalogPath && !catalog.Load(FromUtf8(catalogPath))) {
    std::fprintf(stderr, "mirepan-recipe-dump: cannot read the catalog %s\n", catalogPath);
    return 2;
  }
  const std::optional<std::string> bytes = ReadBytes(path);
  if (!bytes) {
    std::fprintf(stderr, "mirepan-recipe-dump: cannot read %s\n", path);
    return 2;
  }
  CatalogFile* matched = catalogPath ? &catalog : nullptr;
  bool found = false;
  std::cout << (FindNoCaseAscii(*bytes, "meal-master") != std::string::npos
                    ? MealMasterReport(*bytes, matched, found)
                    : PageReport(*bytes, address ? address : "", matched, found))
            << "\n";
  return found ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const char* catalog = nullptr;
  if (argc > 2 && std::strcmp(argv[1], "--catalog") == 0) {
    catalog = argv[2];
    argc -= 2;
    argv += 2;
  }
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: mirepan-recipe-dump [--catalog CATALOG] FILE [PAGE-ADDRESS]\n");
    return 2;
  }
  try {
    return Dump(argv[1], argc > 2 ? argv[2] : nullptr, catalog);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mirepan-recipe-dump: cannot read %s: %s\n", argv[1], e.what());
    return 2;
  }
}
