#pragma once
// "Find Ingredient" (dialog 2600): the search of the ingredient catalog that the recipe editor, the
// meal dialog and the shopping-list dialog use to pick one ingredient.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

class CategoryList;
class Ingredient;

// Selects the entry of `ingredient` in an editor's list box of catalog ingredients, adding the entry
// when the list does not hold it yet (a search may choose what the quick filter left out).
void SelectIngredientEntry(HWND listBox, const Ingredient& ingredient);

class FindIngredientDialog : private DAVavador::ERDialog {
 public:
  // Fills the result list box with the ingredients matching a text under a category and a letter
  // (each 0 for "--All--").
  using Search = std::function<void(HWND listBox, const WString& text, uint32_t categoryId, uint32_t letter)>;

  FindIngredientDialog(const DAVavador::ERApp& app, const CategoryList& categories, Search search)
      : app_(app), categories_(categories), search_(std::move(search)) {}

  // Runs the dialog over `owner` with the edit holding `text` and the selectors preset; the FOODID
  // of the entry chosen with OK or a double click, 0 when none was.
  uint32_t Run(HWND owner, const WString& text, uint32_t categoryId, uint32_t letter);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnOK() override;
  void Refill() const;
  void Choose();

  const DAVavador::ERApp& app_;
  const CategoryList& categories_;
  Search search_;
  WString text_;
  uint32_t categoryId_ = 0;
  uint32_t letter_ = 0;
  uint32_t chosen_ = 0;
};
