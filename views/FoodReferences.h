#pragma once
// A view whose records point at ingredients of the catalog (recipe lines, meal items, shopping-list
// items). When the catalog is replaced by an import or a restore, it shows the catalog each such
// pointer, which the catalog may then move to the ingredient that takes the old one's place.
#include <functional>

class Ingredient;

class FoodReferences {
 public:
  virtual void VisitFoodPointers(const std::function<void(Ingredient*& food)>& visit) = 0;

 protected:
  ~FoodReferences() = default;
};
