#pragma once
// Shared helpers of the food tests: documents from line lists and a plain in-memory catalog.
#include <initializer_list>
#include <list>

#include "food/CategoryList.h"
#include "food/Recipe.h"
#include "storage/XMLDoc.h"

// The lines joined with CR LF after each, as every file holds them.
inline WString Lines(std::initializer_list<const WChar*> lines) {
  WString text;
  for (const WChar* line : lines) text += WString(line) + TXT("\r\n");
  return text;
}

// A document reading the text, positioned after its first tag (the record's start tag).
inline void StartReading(XMLDoc& doc, const WString& text) {
  doc.SetText(text);
  doc.NextTag();
}

class MemoryCatalog : public IngredientCatalog {
 public:
  Ingredient& Add(const WChar* name, uint32_t id, double calories = 0) {
    Ingredient& food = foods.emplace_back();
    food.name = name;
    food.foodId = id;
    food.size = 1;
    food.type = kUnitCup;
    food.ounces = 8;
    food.nutrients[Nutrient::kCalories] = calories;
    if (id > counter) counter = id;
    return food;
  }
  Ingredient* FindById(uint32_t id) override {
    for (Ingredient& food : foods)
      if (food.foodId == id) return &food;
    return nullptr;
  }
  Ingredient* FindByName(WStringView name) override {
    for (Ingredient& food : foods)
      if (EqualsNoCase(food.name, name)) return &food;
    return nullptr;
  }
  Ingredient* AddIngredient(const Ingredient& ingredient) override {
    Ingredient& food = foods.emplace_back(ingredient);
    food.foodId = ++counter;
    return &food;
  }
  CategoryList& Categories() override { return categories; }
  uint32_t& IdCounter() override { return counter; }

  std::list<Ingredient> foods;  // stable addresses, as the catalog's records have
  CategoryList categories;
  uint32_t counter = 0;
};
