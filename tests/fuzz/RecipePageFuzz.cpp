// The page reader on any bytes, the first line taken as the page's address, and the ingredient line
// parser on every line of the input.
#include <string_view>

#include "FuzzInput.h"
#include "ImportedRecipeCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t newline = input.find('\n');
  const std::string_view base =
      newline == std::string_view::npos ? std::string_view() : input.substr(0, newline);
  CheckRecipe(ReadRecipePage(input.substr(base.size()), base));
  for (size_t start = 0; start < input.size();) {
    const size_t end = std::min(input.find('\n', start), input.size());
    CheckLine(ParseIngredientLine(input.substr(start, end - start)));
    start = end + 1;
  }
  return 0;
}
