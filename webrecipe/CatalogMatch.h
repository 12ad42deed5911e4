#pragma once
// An imported recipe's lines against the ingredient catalog: each line's matched ingredient, the
// lines the import keeps, and the recipe lines they make. The Windows import and review and the
// command-line dump share them, so the dump shows what the import stores.
#include <memory>
#include <vector>

#include "food/Recipe.h"
#include "webrecipe/IngredientMatcher.h"
#include "webrecipe/WebRecipe.h"

// One line of an imported recipe as the review shows it.
struct ReviewLine {
  ImportedLine read;
  Ingredient* ingredient = nullptr;  // the catalog's, matched or chosen
  bool leftOut = false;
  // Only a line with an ingredient and an amount becomes a recipe line.
  bool Kept() const { return !read.isHeading && !leftOut && ingredient && read.amount > 0; }
};

// The index of the catalog's ingredients that are not hidden, built once for the recipes matched
// while the catalog stays as it is.
IngredientMatcher CatalogMatcher(const std::vector<std::unique_ptr<Ingredient>>& records);
// Each line matched to those ingredients: the same name ignoring case, else the best word match;
// none below the matcher's threshold, and none for a heading.
std::vector<ReviewLine> MatchLines(const std::vector<ImportedLine>& lines, const IngredientMatcher& matcher,
                                   IngredientCatalog& catalog);
// The recipe lines of the kept lines, in their order.
std::vector<RecipeLine> KeptRecipeLines(const std::vector<ReviewLine>& lines);
// A recipe's per-serving values from those lines, as the import computes them: for `serves`
// servings (0 counting as 1), in the recipe's serving of 1 in the blank unit.
Recipe ImportedNutrition(const std::vector<ReviewLine>& lines, int32_t serves);
