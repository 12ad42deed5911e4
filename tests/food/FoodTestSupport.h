#pragma once
// Shared helpers of the food tests: documents from line lists and a plain in-memory catalog.
#include <initializer_list>
#include <iomanip>
#include <list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "food/CategoryList.h"
#include "food/Meal.h"
#include "food/Recipe.h"
#include "storage/XMLDoc.h"

// The parts of a text joined by '|'.
inline std::vector<WString> Split(WStringView joined) {
  std::vector<WString> parts(1);
  for (WChar c : joined) c == '|' ? parts.emplace_back() : parts.back() += c;
  return parts;
}

// The lines, given joined by '|', each followed by CR LF as every file holds them.
inline WString Lines(WStringView joined) {
  WString text;
  for (const WString& line : Split(joined)) text += line + TXT("\r\n");
  return text;
}

// A document reading the text, positioned after its first tag (the record's start tag).
inline void StartReading(XMLDoc& doc, const WString& text) {
  doc.SetText(text);
  doc.NextTag();
}

// A CSV map with the given column codes at fields 0, 1, 2, ...
inline CsvColumnMap MapOf(std::initializer_list<uint32_t> columns) {
  CsvColumnMap map;
  uint32_t field = 0;
  for (uint32_t column : columns) map.position[column] = field++;
  return map;
}

inline WString Cell(const Food& food, uint32_t column, const CategoryList& categories,
                    NutrientFormat format = {}, bool csv = false, bool raw = false) {
  WString out;
  food.ColumnText(out, column, categories, format, csv, raw);
  return out;
}

// Sets a record's name, its serving (size of type, weighing ounces) and its calories.
inline void SetFood(Food& food, const WChar* name, double size, ServingUnit type, double ounces,
                    double calories = 0) {
  food.name = name;
  food.size = size;
  food.type = type;
  food.ounces = ounces;
  food.nutrients[Nutrient::kCalories] = calories;
}

// The stored fields of a record in one line, "catId/foodId[ hidden] name|picture size unit ounces"
// and then KEY=value for each nutrient that is not 0 (-0 shows as 0).
inline std::string Fields(const Food& food) {
  std::ostringstream out;
  out << std::setprecision(15) << food.catId << '/' << food.foodId << (food.hidden ? " hidden " : " ")
      << ToUtf8(food.name) << '|' << ToUtf8(food.picture) << ' ' << food.size + 0.0 << ' ' << food.type << ' '
      << food.ounces + 0.0;
  for (uint32_t n = 0; n < Nutrient::kCount; ++n)
    if (food.nutrients[n] != 0) out << ' ' << ToUtf8(Nutrient::Key(n)) << '=' << food.nutrients[n];
  return out.str();
}

inline std::unique_ptr<Meal> MealOn(uint32_t diary, int32_t type, const CalendarDate& date, double calories) {
  auto meal = std::make_unique<Meal>();
  meal->catId = diary;
  meal->mealType = type;
  meal->date = date;
  meal->nutrients[Nutrient::kCalories] = calories;
  return meal;
}

class MemoryCatalog : public IngredientCatalog {
 public:
  Ingredient& Add(const WChar* name, uint32_t id, double calories = 0) {
    Ingredient& food = foods.emplace_back();
    SetFood(food, name, 1, kUnitCup, 8, calories);
    food.foodId = id;
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
