#pragma once
// View Component Information: dialog 3400, titled with the recipe's name, listing each line with
// the nutrients it contributes to the whole recipe (not divided among the servings).
#include <windows.h>

#include "food/Recipe.h"
#include "toolkit/ERApp.h"

void ShowRecipeComponents(const DAVavador::ERApp& app, HWND owner, const Recipe& recipe);

// The row texts of one line: the line as amount, unit and name, then each nutrient's contribution
// with two decimals.
std::vector<WString> ComponentRow(const RecipeLine& line);
