#pragma once
// A view whose records point at ingredients of the catalog (recipe lines, meal items, shopping-list
// items) or name them by id (the recipes' linked ingredients). The catalog asks it whether a record
// is still referred to before freeing it, and moves its references when the catalog is replaced by
// an import or a restore, so that no reference ever outlives its record.
#include <cstdint>
#include <functional>

class Ingredient;

class FoodReferences {
 public:
  using PointerVisitor = std::function<void(Ingredient*& food)>;
  using IdVisitor = std::function<void(uint32_t& foodId)>;

  // Calls `visit` with every pointer at an ingredient; `visit` may move it to another ingredient of
  // the catalog. A view whose pointers moved is marked modified.
  virtual void VisitFoodPointers(const PointerVisitor& visit) = 0;
  // The same for the ids of linked ingredients; only the recipes hold any.
  virtual void VisitLinkedIds(const IdVisitor& visit) {}

 protected:
  ~FoodReferences() = default;
  // Visits one reference; true when `visit` changed it.
  template <class Reference, class Visitor>
  static bool Moved(Reference& reference, const Visitor& visit) {
    const Reference before = reference;
    visit(reference);
    return reference != before;
  }
};
