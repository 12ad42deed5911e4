#pragma once
// An ingredient catalog read from a file outside the program, for the command-line tools: the
// program's Ingredients.xml or an ingredient CSV export (the nutrient data shipped beside the
// program is one).
#include <memory>
#include <vector>

#include "food/CategoryList.h"
#include "food/Food.h"

class CatalogFile : public IngredientCatalog {
 public:
  // Reads the text of such a file: XML when it holds an INGREDIENTLIST, else CSV with the column
  // headers of the English string table. False when it holds no ingredient.
  bool Read(const WString& text);
  // Reads the file, as UTF-16LE text and, when that gives no ingredient, as 8-bit text.
  bool Load(const WString& path);

  const std::vector<std::unique_ptr<Ingredient>>& Records() const { return records_; }

  Ingredient* FindById(uint32_t foodId) override;
  Ingredient* FindByName(WStringView name) override;
  Ingredient* AddIngredient(const Ingredient& ingredient) override;
  CategoryList& Categories() override { return categories_; }
  uint32_t& IdCounter() override { return counter_; }

 private:
  void ReadXml(const WString& text);
  void ReadCsv(const WString& text);

  std::vector<std::unique_ptr<Ingredient>> records_;
  CategoryList categories_;
  uint32_t counter_ = 0;
};
