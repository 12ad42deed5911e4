#pragma once
// What every recipe the readers return promises, whatever the input: numbers in their ranges,
// instruction lines ending in CR LF only, headings without amounts, and a "no recipe" result
// carrying nothing else.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "webrecipe/WebRecipe.h"

inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

inline void CheckLine(const ImportedLine& line) {
  Require(std::isfinite(line.amount) && line.amount >= 0, "an amount is finite and not negative");
  Require(line.unit < kUnitCount, "a unit is one of the serving units");
  Require(!line.isHeading || (line.amount == 0 && line.unit == kUnitBlank), "a heading has no amount");
}

inline void CheckRecipe(const ImportedRecipe& recipe) {
  if (recipe.error != RecipeImportError::kNone) {
    Require(recipe.name.empty() && recipe.lines.empty() && recipe.instructions.empty(),
            "no recipe, no content");
    return;
  }
  Require(recipe.serves >= 1 && recipe.serves <= 100000, "serves from 1 to 100000");
  for (const int32_t minutes : {recipe.prepMinutes, recipe.cookMinutes})
    Require(minutes >= 0 && minutes < 60, "minutes below an hour");
  for (const int32_t hours : {recipe.prepHours, recipe.cookHours})
    Require(hours >= 0 && hours <= 9999, "hours");
  const WString& text = recipe.instructions;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') Require(i > 0 && text[i - 1] == '\r', "instruction lines end in CR LF");
    if (text[i] == '\r') Require(i + 1 < text.size() && text[i + 1] == '\n', "a CR starts a line end");
  }
  for (const ImportedLine& line : recipe.lines) CheckLine(line);
}
