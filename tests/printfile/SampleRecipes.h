#pragma once
// Three recipes with lines, instructions and nutrition, for the printed samples.
#include <vector>

#include "food/Recipe.h"

inline std::vector<Recipe> SampleRecipes() {
  struct Sample {
    const WChar* name;
    const WChar* custom;
    std::vector<const WChar*> lines;
    const WChar* instructions;
  };
  const Sample samples[] = {
      {TXT("Tomato Soup"),
       TXT("A winter favourite"),
       {TXT("6 tomatoes"), TXT("1 onion"), TXT("2 cups chicken stock, home-made or from cubes"),
        TXT("1 tbsp butter"), TXT("salt")},
       TXT("Chop the onion and soften it in the butter. Add the tomatoes and the stock and simmer for twenty "
           "minutes.\r\nBlend until smooth and season with salt.")},
      {TXT("Lemon Cake"),
       TXT(""),
       {TXT("2 cups flour"), TXT("1 cup sugar"), TXT("3 eggs"), TXT("2 lemons")},
       TXT("Beat the eggs with the sugar. Fold in the flour and the grated lemon peel. Bake for forty "
           "minutes.")},
      {TXT("Bean Stew"),
       TXT(""),
       {TXT("2 cups beans"), TXT("1 carrot"), TXT("1 onion")},
       TXT("Soak the beans overnight. Cook them slowly with the vegetables until tender. Serve hot with "
           "bread.")},
  };
  std::vector<Recipe> recipes;
  for (const Sample& sample : samples) {
    Recipe& recipe = recipes.emplace_back();
    recipe.name = sample.name;
    recipe.custom = sample.custom;
    recipe.serves = 4;
    recipe.prepMinutes = 15;
    recipe.cookMinutes = 40;
    for (const WChar* text : sample.lines) {
      RecipeLine line;
      line.displayName = text;
      recipe.lines.push_back(line);
    }
    recipe.instructions = sample.instructions;
    const double values[] = {320, 12.5, 4.2, 35, 410};
    for (uint32_t n = 0; n < 5; ++n) recipe.nutrients[n] = values[n];
  }
  return recipes;
}
