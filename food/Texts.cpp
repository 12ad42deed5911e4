#include "food/Texts.h"

#include <algorithm>
#include <iterator>

namespace {

struct NumberedText {
  uint32_t id;
  const char* text;
};

// Sorted by number.
constexpr NumberedText kEnglish[] = {
    {4200, "--All--"},
    {4201, "Edit Category"},
    {4202, "Change Category"},
    {4800, "Serving"},
    {4802, "cup"},
    {4803, "dash"},
    {4804, "g"},
    {4805, "gallon"},
    {4806, "kg"},
    {4807, "jigger"},
    {4808, "L"},
    {4809, "Lb"},
    {4810, "mL"},
    {4811, "oz"},
    {4812, "pinch"},
    {4813, "pint"},
    {4814, "quart"},
    {4815, "Tbl"},
    {4816, "tsp"},
    {4817, "clove"},
    {4818, "strip"},
    {4819, "bag"},
    {4820, "slice"},
    {4821, "stalk"},
    {4824, "h "},
    {4825, "m"},
    {5100, "Calories"},
    {5101, "Total Fat (g)"},
    {5102, "Saturated Fat (g)"},
    {5103, "Cholesterol (mg)"},
    {5104, "Sodium (mg)"},
    {5105, "Potassium (mg)"},
    {5106, "Carbohydrates (g)"},
    {5107, "Fiber (g)"},
    {5108, "Sugar (g)"},
    {5109, "Protein (g)"},
    {5110, "Vitamin A (mcg)"},
    {5111, "Vitamin B1 (mg)"},
    {5112, "Vitamin B2 (mg)"},
    {5113, "Vitamin B3 (mg)"},
    {5114, "Vitamin B6 (mg)"},
    {5115, "Vitamin B12 (mcg)"},
    {5116, "Vitamin C (mg)"},
    {5117, "Vitamin D (mcg)"},
    {5118, "Vitamin E (mg)"},
    {5119, "Pantothenic Acid (mg)"},
    {5120, "Folic Acid (mcg)"},
    {5121, "Calcium (mg)"},
    {5122, "Iron (mg)"},
    {5123, "Phosphorus (mg)"},
    {5124, "Magnesium (mg)"},
    {5125, "Zinc (mg)"},
    {5126, "Copper (mcg)"},
    {5127, "Manganese (mg)"},
    {5128, "Selenium (mcg)"},
    {5129, "Category"},
    {5130, "Name"},
    {5131, "Serving Size"},
    {5132, "Ounces Per Serving"},
    {5133, "Picture"},
    {5134, "Cooking Time"},
    {5135, "Prep Time"},
    {5136, "Serves"},
    {5137, "Instructions"},
    {5138, "Ingredients"},
    {5139, "Custom"},
    {5140, "Household Measures"},
    {5229, "Meal"},
    {5230, "Name"},
    {5231, "Date"},
    {5232, "Food"},
    {5233, "Comment"},
};

}  // namespace

WString EnglishTextById(uint32_t id) {
  // The diary repeats the nutrient headers of the ingredient lists.
  if (id >= 5200 && id < 5229) id -= 100;
  const auto it = std::lower_bound(std::begin(kEnglish), std::end(kEnglish), id,
                                   [](const NumberedText& t, uint32_t n) { return t.id < n; });
  return it != std::end(kEnglish) && it->id == id ? FromAscii(it->text) : WString();
}

TextLoader LoadTextById = EnglishTextById;
