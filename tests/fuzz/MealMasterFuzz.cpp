// The MealMaster reader on any bytes: every recipe keeps the readers' promises, and a file is
// without recipe exactly when it says so.
#include <string_view>

#include "FuzzInput.h"
#include "ImportedRecipeCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const MealMasterFile file = ReadMealMaster(std::string_view(reinterpret_cast<const char*>(data), size));
  Require((file.error == RecipeImportError::kNoRecipe) == file.recipes.empty(),
          "no recipe exactly when none read");
  for (const ImportedRecipe& recipe : file.recipes) {
    Require(recipe.error == RecipeImportError::kNone, "a recipe read is no error");
    CheckRecipe(recipe);
  }
  return 0;
}
