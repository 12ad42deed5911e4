// Imported lines matched to the ingredient catalog.
#include "webrecipe/CatalogMatch.h"

IngredientMatcher CatalogMatcher(const std::vector<std::unique_ptr<Ingredient>>& records) {
  std::vector<CatalogName> names;
  for (const auto& record : records)
    if (!record->hidden) names.push_back(CatalogName{record->foodId, record->name});
  return IngredientMatcher(names);
}

std::vector<ReviewLine> MatchLines(const std::vector<ImportedLine>& lines, const IngredientMatcher& matcher,
                                   IngredientCatalog& catalog) {
  std::vector<ReviewLine> reviewed;
  for (const ImportedLine& line : lines) {
    ReviewLine entry{line};
    if (!line.isHeading)
      if (const auto match = matcher.Match(line.name, line.original)) entry.ingredient = catalog.FindById(match->id);
    reviewed.push_back(entry);
  }
  return reviewed;
}

std::vector<RecipeLine> KeptRecipeLines(const std::vector<ReviewLine>& lines) {
  std::vector<RecipeLine> kept;
  for (const ReviewLine& line : lines)
    if (line.Kept())
      kept.push_back(
          RecipeLine{line.read.amount, static_cast<int32_t>(line.read.unit), WString(), line.ingredient});
  return kept;
}

Recipe ImportedNutrition(const std::vector<ReviewLine>& lines, int32_t serves) {
  Recipe recipe;
  recipe.ComputeNutrition(KeptRecipeLines(lines), serves);
  return recipe;
}
