// The ingredient editor's entry point for builds without the editor: shows nothing.
#include "views/IngredientList/IngredientEditor.h"

bool IngredientEditor::Open(HWND, const Context&, unsigned) {
  return false;
}
