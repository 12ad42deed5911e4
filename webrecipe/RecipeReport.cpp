// The dump's JSON.
#include "webrecipe/RecipeReport.h"

#include <nlohmann/json.hpp>

#include "storage/XMLDoc.h"
#include "webrecipe/CatalogFile.h"
#include "webrecipe/CatalogMatch.h"
#include "webrecipe/WebRecipe.h"

using json = nlohmann::ordered_json;

namespace {

// The nutrients' names in the output, in the program's nutrient order.
constexpr const char* kNutrientNames[Nutrient::kCount] = {
    "calories",  "fat",        "saturatedFat", "cholesterol", "sodium",    "potassium",       "carbohydrates",
    "fiber",     "sugar",      "protein",      "vitaminA",    "vitaminB1", "vitaminB2",       "vitaminB3",
    "vitaminB6", "vitaminB12", "vitaminC",     "vitaminD",    "vitaminE",  "pantothenicAcid", "folicAcid",
    "calcium",   "iron",       "phosphorus",   "magnesium",   "zinc",      "copper",          "manganese",
    "selenium"};

// A value as the catalog files keep it: six significant digits.
double Stored(double value) {
  WChar text[48] = {};
  FormatReal(value, text);
  return ParseReal(text);
}

std::string UnitName(ServingUnit unit) {
  if (unit == kUnitBlank) return "";
  const WString* name = UnitNames().NameById(unit);
  return name ? ToUtf8(*name) : "";
}

// The matched food of a line, its servings of that food and their weight.
void AddMatch(const ReviewLine& line, json& entry) {
  if (!line.ingredient) {
    entry["food"] = nullptr;
    return;
  }
  const Food& food = *line.ingredient;
  const double servings = line.Kept() ? ServingsOf(food, line.read.unit, line.read.amount) : 0;
  entry["food"] = ToUtf8(food.name);
  // In the program's ounce, the one its units convert grams by.
  entry["grams"] = Stored(servings * food.ounces * UnitTable[kUnitGram].factor);
  entry["servings"] = Stored(servings);
}

json LinesJson(const std::vector<ReviewLine>& lines, bool matched) {
  json out = json::array();
  for (const ReviewLine& line : lines) {
    json entry = {{"text", ToUtf8(line.read.original)}, {"name", ToUtf8(line.read.name)}};
    if (line.read.isHeading) {
      entry["heading"] = true;
    } else {
      entry["amount"] = line.read.amount;
      entry["unit"] = UnitName(line.read.unit);
      if (matched) AddMatch(line, entry);
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

json PerServing(const std::vector<ReviewLine>& lines, int32_t serves) {
  const Recipe recipe = ImportedNutrition(lines, serves);
  json out = json::object();
  for (uint32_t n = 0; n < Nutrient::kCount; ++n) out[kNutrientNames[n]] = Stored(recipe.nutrients[n]);
  return out;
}

json RecipeJson(const ImportedRecipe& recipe, CatalogFile* catalog) {
  std::vector<ReviewLine> lines;
  if (catalog) {
    lines = MatchLines(recipe.lines, CatalogMatcher(catalog->Records()), *catalog);
  } else {
    for (const ImportedLine& line : recipe.lines) lines.push_back(ReviewLine{line});
  }
  json out = {{"name", ToUtf8(recipe.name)}, {"serves", recipe.serves}};
  if (!recipe.batchYield.empty()) out["batchYield"] = ToUtf8(recipe.batchYield);
  out["statedCalories"] = recipe.statedCalories > 0 ? json(recipe.statedCalories) : json(nullptr);
  out["prepMinutes"] = recipe.prepHours * 60 + recipe.prepMinutes;
  out["cookMinutes"] = recipe.cookHours * 60 + recipe.cookMinutes;
  out["category"] = ToUtf8(recipe.category);
  out["picture"] = ToUtf8(recipe.pictureUrl);
  out["ingredients"] = LinesJson(lines, catalog != nullptr);
  out["instructions"] = StepsJson(recipe.instructions);
  if (catalog) out["perServing"] = PerServing(lines, recipe.serves);
  return out;
}

}  // namespace

std::string PageReport(std::string_view bytes, std::string_view baseUrl, CatalogFile* catalog, bool& found) {
  const ImportedRecipe recipe = ReadRecipePage(bytes, baseUrl);
  found = recipe.error == RecipeImportError::kNone;
  return (found ? RecipeJson(recipe, catalog) : json{{"error", "no recipe"}}).dump(2);
}

std::string MealMasterReport(std::string_view bytes, CatalogFile* catalog, bool& found) {
  const MealMasterFile file = ReadMealMaster(bytes);
  json out = json::array();
  for (const ImportedRecipe& recipe : file.recipes) out.push_back(RecipeJson(recipe, catalog));
  found = file.error == RecipeImportError::kNone;
  return out.dump(2);
}
