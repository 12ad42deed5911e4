#pragma once
// A recipe: a food whose values are the nutrition of one serving, computed from its ingredient
// lines when the editor confirms it, plus times, servings, instructions and a custom text.
#include <cstdint>
#include <vector>

#include "food/Food.h"

class CategoryList;

// One ingredient line: an amount in a unit of a catalog ingredient the line does not own.
struct RecipeLine {
  double amount = 0.0;
  int32_t unit = static_cast<int32_t>(kUnitBlank);
  WString displayName;  // the line's own text; empty shows amount, unit and the ingredient's name
  Ingredient* ingredient = nullptr;
};

class Recipe : public Food {
 public:
  explicit Recipe(const FoodOwner* owner = nullptr) : Food(owner) {}
  ~Recipe() override = default;

  void ColumnText(WString& out, uint32_t column, const CategoryList& categories, const NutrientFormat& format,
                  bool csv, bool raw) const override;

  // Writes one RECIPE element. Embedding writes each ingredient's whole FOOD element and the
  // category names (exports and uploads); otherwise lines refer to ingredients by ID.
  void WriteRecipeElement(XMLDoc& doc, bool embedIngredients, const CategoryList& recipeCategories,
                          const CategoryList& ingredientCategories) const;
  // Reads the children of a RECIPE element whose start tag the caller consumed. Embedded
  // ingredients link to the catalog's ingredient of the same name or are added to the catalog;
  // lines without an ingredient or a positive amount are dropped. The result is that of the
  // recipe's own FOOD element (false when there is none).
  bool ReadRecipeElement(XMLDoc& doc, CategoryList& recipeCategories, uint32_t& recipeIdCounter,
                         IngredientCatalog& catalog);

  // The per-serving values from the editor's lines: serving 1 in the blank unit, and each value
  // the sum over the lines of the ingredient's value times its servings in the line, divided by
  // serves (0 counts as 1, see Food::AddServings). The lines become the recipe's lines.
  void ComputeNutrition(std::vector<RecipeLine> editorLines, int32_t serves);

  // Food::ImportCsvRow, then the recipe columns: durations, serves, instructions, custom and the
  // ingredient list, whose pieces name catalog ingredients (unknown ones are skipped). The
  // nutrient values stay those of the row.
  bool ImportCsvRecipeRow(const CsvRow& row, CategoryList& categories, const NamedIdList& unitNames,
                          uint32_t& idCounter, const CsvColumnMap& map, IngredientCatalog& catalog);

  std::vector<RecipeLine> lines;
  WString custom;
  WString instructions;  // lines end with CR LF
  int32_t cookHours = 0;
  int32_t cookMinutes = 0;
  int32_t prepHours = 0;
  int32_t prepMinutes = 0;
  int32_t serves = 1;
  int32_t ingredientId = 0;         // FOODID of the linked ingredient, 0 when none
  bool notOnIngredientList = true;  // editor state, never stored

 private:
  void ReadCsvIngredients(const WString& cell, const NamedIdList& unitNames, IngredientCatalog& catalog);
};

// "1h 30m", "45m", "2h ", "" (strings 4824 and 4825 give the suffixes).
WString DurationText(int32_t hours, int32_t minutes);

// The Ingredients column: per line with an ingredient, TAB-separated, the amount (six significant
// digits), a blank, the unit name (Serving for a blank-unit line of a food measured in a unit), a
// blank and the ingredient's name. ImportCsvRecipeRow reads each piece back: ParseServing, or, for a
// piece with two blanks after its amount, the blank unit and the name after them.
WString FormatIngredientList(const std::vector<RecipeLine>& lines);
