// mirepan-recipe-dump FILE [PAGE-ADDRESS]: prints as JSON what the recipe readers take from a web
// page (or, when the file holds "Meal-Master", from a MealMaster file): one object for a page, an
// array for a MealMaster file. Exits 0 with a recipe, 1 without one, 2 when the file cannot be read
// or reading it fails (out of memory, say), with the reason on standard error.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "webrecipe/RecipeText.h"
#include "webrecipe/WebRecipe.h"

using json = nlohmann::ordered_json;

namespace {

std::string UnitName(ServingUnit unit) {
  if (unit == kUnitBlank) return "";
  const WString* name = UnitNames().NameById(unit);
  return name ? ToUtf8(*name) : "";
}

json LinesJson(const std::vector<ImportedLine>& lines) {
  json out = json::array();
  for (const ImportedLine& line : lines) {
    json entry = {{"text", ToUtf8(line.original)}, {"name", ToUtf8(line.name)}};
    if (line.isHeading) {
      entry["heading"] = true;
    } else {
      entry["amount"] = line.amount;
      entry["unit"] = UnitName(line.unit);
    }
    out.push_back(std::move(entry));
  }
  return out;
}

json StepsJson(const WString& instructions) {
  json out = json::array();
  const std::string text = ToUtf8(instructions);
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

json RecipeJson(const ImportedRecipe& recipe) {
  return {{"name", ToUtf8(recipe.name)},
          {"serves", recipe.serves},
          {"prepMinutes", recipe.prepHours * 60 + recipe.prepMinutes},
          {"cookMinutes", recipe.cookHours * 60 + recipe.cookMinutes},
          {"category", ToUtf8(recipe.category)},
          {"picture", ToUtf8(recipe.pictureUrl)},
          {"ingredients", LinesJson(recipe.lines)},
          {"instructions", StepsJson(recipe.instructions)}};
}

// Reads the file named and prints what it holds; returns the exit status.
int Dump(int argc, char** argv) {
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "mirepan-recipe-dump: cannot read %s\n", argv[1]);
    return 2;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  json out;
  bool found = false;
  if (FindNoCaseAscii(bytes, "meal-master") != std::string::npos) {
    const MealMasterFile file = ReadMealMaster(bytes);
    out = json::array();
    for (const ImportedRecipe& recipe : file.recipes) out.push_back(RecipeJson(recipe));
    found = file.error == RecipeImportError::kNone;
  } else {
    const ImportedRecipe recipe = ReadRecipePage(bytes, argc > 2 ? argv[2] : "");
    found = recipe.error == RecipeImportError::kNone;
    out = found ? RecipeJson(recipe) : json{{"error", "no recipe"}};
  }
  std::cout << out.dump(2) << "\n";
  return found ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: mirepan-recipe-dump FILE [PAGE-ADDRESS]\n");
    return 2;
  }
  try {
    return Dump(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mirepan-recipe-dump: cannot read %s: %s\n", argv[1], e.what());
    return 2;
  }
}
